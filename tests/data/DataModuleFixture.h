#pragma once
#include "app/Common.h"
#include "data/DMU.h"
#include "engine/FaultFile.h"
#include "engine/PosixFile.h"
#include "launch/FakeSettingsView.h"
#include "platform/fake/MemoryRegistry.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Dialogs and questions with scripted answers; every call is recorded. An unscripted dialog is
// cancelled and an unscripted question answered No.
struct ScriptedUi : data::DataModuleUi {
    std::deque<data::InfobaseDialogResult> infobaseAnswers;
    std::deque<data::ExecutableDialogResult> executableAnswers;
    std::deque<bool> yesNoAnswers;
    std::optional<std::string> typedUserPassword;
    std::vector<int> infobaseModes, executableModes;
    std::vector<std::string> questions;

    data::InfobaseDialogResult runInfobaseDialog(int mode) override {
        infobaseModes.push_back(mode);
        return take(infobaseAnswers);
    }
    data::ExecutableDialogResult runExecutableDialog(int mode) override {
        executableModes.push_back(mode);
        return take(executableAnswers);
    }
    bool askYesNo(const std::string& question) override {
        questions.push_back(question);
        return !yesNoAnswers.empty() && take(yesNoAnswers);
    }
    std::optional<std::string> editedUserPassword() override { return typedUserPassword; }
    bool untouched() const { return infobaseModes.empty() && executableModes.empty() && questions.empty(); }

private:
    template <class T> static T take(std::deque<T>& answers) {
        if (answers.empty())
            return T{};
        T answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// A data module on real files in a temporary directory; restart() ends it and starts a new one
// on the same files, as the next run of the program would.
class DataModuleTest : public ::testing::Test {
protected:
    DataModuleTest() {
        app::CurrentCategoryId = 0;
        app::CurrentDivisionId = 0;
        start();
    }
    ~DataModuleTest() override {
        app::CurrentCategoryId = 0;
        app::CurrentDivisionId = 0;
    }

    void start() {
        m_dm = std::make_unique<data::TDM>(m_dir.path().string() + "/", m_registry);
        // Every file goes through the fault plan, which fails nothing until a test asks.
        m_faults->failAt = 0;
        m_dm->engine().setFileFactory([plan = m_faults](const std::string& path, bool create) {
            return std::make_unique<engine::FaultFile>(engine::PosixFile::open(path, create), plan);
        });
        m_dm->setUi(&m_ui);
        m_dm->setSettingsView(&m_settings);
        m_dm->DataModuleCreate();
    }
    void restart() {
        m_dm->DataModuleDestroy();
        m_dm.reset();
        start();
    }
    // The next write, truncation or flush of any table or index file fails (once).
    void failNextWrite() {
        m_faults->onlyWrites = true;
        m_faults->sticky = false;
        m_faults->failAt = m_faults->operations + 1;
    }
    std::filesystem::path file(const std::string& name) const { return m_dir.path() / name; }

    static data::InfobaseDialogResult infobase(std::string name, std::string path, std::string user = "",
                                               std::string password = "", std::string userPath = "",
                                               std::string prmFile = "") {
        return {true,
                std::move(name),
                std::move(path),
                std::move(user),
                std::move(password),
                std::move(userPath),
                std::move(prmFile)};
    }
    // Adds an infobase through the dialog.
    void addInfobase(const data::InfobaseDialogResult& answer) {
        m_ui.infobaseAnswers.push_back(answer);
        m_dm->AddInfobase();
    }
    // The values of one field over the visible rows, in the data set's order.
    static std::vector<std::string> column(engine::DataSet& dataSet, const char* field) {
        std::vector<std::string> values;
        for (dataSet.first(); !dataSet.eof(); dataSet.next())
            values.push_back(dataSet.fieldText(field));
        return values;
    }

    TempDir m_dir;
    platform::MemoryRegistry m_registry;
    ScriptedUi m_ui;
    FakeSettingsView m_settings;
    std::shared_ptr<engine::FaultPlan> m_faults = std::make_shared<engine::FaultPlan>();
    std::unique_ptr<data::TDM> m_dm;
};

} // namespace testsupport
