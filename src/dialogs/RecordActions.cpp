#include "dialogs/RecordActions.h"

#include "engine/DataSet.h"
#include "engine/EngineError.h"

namespace dialogs {

RecordActions::RecordActions(engine::DataSet& dataSet) : m_dataSet(dataSet) {}

bool RecordActions::changing() const {
    const auto state = m_dataSet.state();
    return state == engine::DataSetState::Insert || state == engine::DataSetState::Edit;
}

void RecordActions::insert() {
    leaveEditing();
    m_dataSet.insert();
    m_modified = false;
}

void RecordActions::remove() {
    const bool inserting = m_dataSet.state() == engine::DataSetState::Insert;
    if (changing())
        cancel();
    if (!inserting)
        m_dataSet.remove();
}

void RecordActions::edit() {
    if (changing())
        return;
    if (m_dataSet.isEmpty())
        m_dataSet.insert();
    else
        m_dataSet.edit();
    m_modified = false;
}

void RecordActions::post() {
    if (!changing())
        return;
    m_dataSet.post();
    m_modified = false;
}

void RecordActions::cancel() {
    if (changing())
        m_dataSet.cancel();
    m_modified = false;
}

void RecordActions::refresh() {
    leaveEditing();
    m_dataSet.refresh();
}

void RecordActions::leaveEditing() {
    if (!changing())
        return;
    if (m_modified)
        post();
    else
        cancel();
}

void RecordActions::startTyping() {
    if (!changing())
        edit();
    m_modified = true;
}

void RecordActions::postOnClose() {
    if (!changing())
        return;
    try {
        post();
    } catch (const engine::EngineError&) {
        try {
            cancel();
        } catch (const engine::EngineError&) {
        }
    }
}

} // namespace dialogs
