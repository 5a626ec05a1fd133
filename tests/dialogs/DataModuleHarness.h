#pragma once
#include "DialogTestSupport.h"
#include "app/Common.h"
#include "data/DMU.h"
#include "launch/FakeSettingsView.h"
#include "platform/fake/MemoryRegistry.h"
#include "support/TempDir.h"

#include <memory>
#include <string>

namespace dialogtest {

// A data module on real tables in a temporary program directory, with the dialogs' harness.
class DataModuleFixture : public ::testing::Test {
protected:
    DataModuleFixture() {
        app::NewBaseCounter = 0;
        app::CurrentCategoryId = 0;
        app::CurrentDivisionId = 0;
        m_dm = std::make_unique<data::TDM>(m_dir.path().string() + "/", m_registry);
        m_dm->setSettingsView(&m_settings);
        m_dm->DataModuleCreate();
    }
    ~DataModuleFixture() override {
        m_dm->DataModuleDestroy();
        app::NewBaseCounter = 0;
    }

    // Stores a user as the user list does: the password scrambled.
    void addUser(const std::string& name, const std::string& password) {
        m_dm->dbfUser.insert();
        m_dm->dbfUser.setFieldText("USERNAME", name);
        m_dm->dbfUser.setFieldText("PASSWORD", app::ScramblePassword(password));
        m_dm->dbfUser.post();
    }
    // USERNAME and PASSWORD of every user, in the list's order, read afresh from the files.
    std::vector<std::pair<std::string, std::string>> storedUsers() {
        engine::DataSet users(m_dm->engine(), "user");
        users.open();
        users.selectTag("USERNAME");
        std::vector<std::pair<std::string, std::string>> rows;
        for (users.first(); !users.eof(); users.next())
            rows.emplace_back(users.fieldText("USERNAME"), users.fieldText("PASSWORD"));
        return rows;
    }

    testsupport::TempDir m_dir;
    platform::MemoryRegistry m_registry;
    testsupport::FakeSettingsView m_settings;
    std::unique_ptr<data::TDM> m_dm;
    Harness m_harness;
};

} // namespace dialogtest
