#pragma once
namespace engine {
class DataSet;
}

namespace dialogs {

// The record commands of the user list over one data set, with the rules a bound list follows:
// moving off a row that is being changed posts it when something was typed, else drops the
// change; typing into a bound field starts editing (a new row when there is none); closing posts
// whatever is pending. Engine failures reach the caller as EngineError, except on closing.
class RecordActions {
public:
    explicit RecordActions(engine::DataSet& dataSet);

    bool changing() const; // inserting or editing
    bool modified() const { return m_modified; }

    void insert(); // a pending row is ended first
    void remove(); // drops a pending insert; otherwise deletes the current row, asking nothing
    void edit();
    void post();
    void cancel();
    void refresh(); // a pending row is ended first

    // Ends a pending insert or edit before the current row moves.
    void leaveEditing();
    // Something was typed into a bound field: starts editing when the data set browses.
    void startTyping();
    // Posts a pending insert or edit; when that fails the change is cancelled, silently.
    void postOnClose();

private:
    engine::DataSet& m_dataSet;
    bool m_modified = false;
};

} // namespace dialogs
