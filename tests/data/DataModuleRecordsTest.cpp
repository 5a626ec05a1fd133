#include "data/DataModuleFixture.h"

#include "engine/CodePage.h"

namespace {

using platform::RegistryRoot;
using testsupport::DataModuleTest;

const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";
constexpr auto HKCU = RegistryRoot::CurrentUser;

// ---- executables

TEST_F(DataModuleTest, ExecutablesKeepTheOrderTheyWereAddedInWithoutDeletedOnes) {
    for (const char* name : {"Зеленый", "Alpha", "Beta"}) {
        m_ui.executableAnswers.push_back({name, std::string(R"(C:\1C\)") + name + ".exe"});
        m_dm->AddExecutable();
    }
    m_dm->dbfProgram.first();
    m_dm->dbfProgram.next();
    m_ui.yesNoAnswers.push_back(true);
    m_dm->DeleteExecutable();
    EXPECT_EQ(m_ui.questions, std::vector<std::string>{"Удалить выделенный исполняемый модуль?"});
    EXPECT_EQ(m_ui.executableModes, (std::vector<int>{0, 0, 0}));
    EXPECT_EQ(column(m_dm->dbfProgram, "NAME"), (std::vector<std::string>{"Зеленый", "Beta"}));
    restart();
    EXPECT_EQ(column(m_dm->dbfProgram, "NAME"), (std::vector<std::string>{"Зеленый", "Beta"}));
}

TEST_F(DataModuleTest, ExecutableDialogCancelledOrAnsweredNoChangesNothing) {
    m_ui.executableAnswers.push_back({"Имя", ""}); // confirmed without a file name
    m_dm->AddExecutable();
    m_dm->AddExecutable(); // cancelled
    EXPECT_TRUE(m_dm->dbfProgram.isEmpty());

    m_ui.executableAnswers.push_back({"1C", R"(C:\1cv7s.exe)"});
    m_dm->AddExecutable();
    m_dm->DeleteExecutable(); // answered No
    EXPECT_EQ(m_dm->ExecutablePath(), R"(C:\1cv7s.exe)");
}

TEST_F(DataModuleTest, EditExecutableUpdatesTheCurrentRow) {
    m_ui.executableAnswers.push_back({"1C", R"(C:\old.exe)"});
    m_dm->AddExecutable();
    m_ui.executableAnswers.push_back({"1C новый", R"(C:\new.exe)"});
    m_dm->EditExecutable();
    EXPECT_EQ(m_ui.executableModes, (std::vector<int>{0, 1}));
    EXPECT_EQ(column(m_dm->dbfProgram, "PATH"), std::vector<std::string>{R"(C:\new.exe)"});
    EXPECT_EQ(m_dm->dbfProgram.fieldText("NAME"), "1C новый");
}

// ---- infobases

TEST_F(DataModuleTest, AddInfobaseStoresTheRowAndReplacesTheTitle) {
    m_registry.plantString(HKCU, kTitles, R"(C:\Bases\Trade)", "Старое");
    addInfobase(infobase("Торговля", R"(C:\Bases\Trade)", "Operator", "секрет", R"(D:\Users\Op)", R"(C:\u.prm)"));
    EXPECT_EQ(m_ui.infobaseModes, std::vector<int>{0});
    EXPECT_EQ(m_registry.stringValue(HKCU, kTitles, R"(C:\Bases\Trade)"), "Торговля");
    restart();
    EXPECT_EQ(m_dm->InfobaseName(), "Торговля");
    EXPECT_EQ(m_dm->InfobasePath(), R"(C:\Bases\Trade)");
    EXPECT_EQ(m_dm->InfobaseUserName(m_dm->dbfFolder), "Operator");
    EXPECT_EQ(m_dm->InfobaseUserPath(m_dm->dbfFolder), R"(D:\Users\Op)");
    EXPECT_EQ(m_dm->InfobasePrmFile(m_dm->dbfFolder), R"(C:\u.prm)");
}

TEST_F(DataModuleTest, StoredPasswordIsScrambledAndTheGettersGiveItPlain) {
    for (const std::string password : {"secret", "Пароль!", "a b"}) {
        m_dm->dbfFolder.setFiltered(false);
        addInfobase(infobase("База", R"(C:\B)", "Иванов", password, R"(C:\U)"));
        ASSERT_TRUE(m_dm->dbfFolder.locate("PATH", R"(C:\B)", false));
        EXPECT_EQ(m_dm->dbfFolder.fieldText("PASSWORD"), app::ScramblePassword(password)) << password;
        EXPECT_NE(m_dm->dbfFolder.fieldText("PASSWORD"), password);
        EXPECT_EQ(m_dm->InfobasePassword(m_dm->dbfFolder), password);
        EXPECT_EQ(m_dm->UserSwitches(true, m_dm->dbfFolder), R"( /nИванов /p)" + password + R"( /uC:\U)");
        EXPECT_EQ(m_dm->UserSwitches(false, m_dm->dbfFolder), R"( /nИванов /uC:\U)");
        m_ui.yesNoAnswers.push_back(true);
        m_dm->DeleteInfobase();
    }
}

// Every character a password may hold survives storing, scrambled, in the OEM table and reading.
TEST_F(DataModuleTest, EveryWindowsCharacterOfAPasswordSurvivesTheTable) {
    std::string bytes; // every defined Windows-1251 byte but the blank (trailing blanks are not kept)
    for (int b = 0x21; b <= 0xFF; ++b)
        if (b != 0x98)
            bytes += static_cast<char>(b);
    std::vector<std::string> passwords;
    for (std::size_t i = 0; i < bytes.size(); i += 10) {
        passwords.push_back(engine::utf8FromCp1251(bytes.substr(i, 10)));
        const std::string n = std::to_string(passwords.size());
        addInfobase(infobase("П" + n, R"(C:\P)" + n, "", passwords.back()));
    }
    restart();
    for (std::size_t n = 0; n < passwords.size(); ++n) {
        ASSERT_TRUE(m_dm->dbfFolder.locate("PATH", R"(C:\P)" + std::to_string(n + 1), false));
        EXPECT_EQ(m_dm->InfobasePassword(m_dm->dbfFolder), passwords[n]) << n;
    }
}

TEST_F(DataModuleTest, EditInfobaseUpdatesTheCurrentRowAndKeepsItsClassification) {
    app::CurrentCategoryId = 3;
    app::CurrentDivisionId = 5;
    addInfobase(infobase("Склад", R"(C:\Stock)", "U", "pw"));
    app::CurrentCategoryId = 9;
    app::CurrentDivisionId = 9;
    m_ui.infobaseAnswers.push_back(infobase("Склад 2", R"(C:\Stock2)", "", "", "", ""));
    m_dm->EditInfobase();
    EXPECT_EQ(m_ui.infobaseModes, (std::vector<int>{0, 1}));
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), std::vector<std::string>{"Склад 2"});
    m_dm->dbfFolder.first();
    EXPECT_EQ(m_dm->dbfFolder.fieldInt("CATEGORY"), 3);
    EXPECT_EQ(m_dm->dbfFolder.fieldInt("DIVISION"), 5);
    EXPECT_EQ(m_dm->UserSwitches(true, m_dm->dbfFolder), "");
    EXPECT_EQ(m_registry.stringValue(HKCU, kTitles, R"(C:\Stock2)"), std::nullopt); // no Titles key here
}

TEST_F(DataModuleTest, DialogCancelledOrWithoutDirectoryStoresNothing) {
    m_registry.plantKey(HKCU, kTitles);
    m_ui.infobaseAnswers.push_back(infobase("Без каталога", ""));
    m_dm->AddInfobase();
    auto cancelled = infobase("Отменено", R"(C:\X)");
    cancelled.confirmed = false;
    m_ui.infobaseAnswers.push_back(cancelled);
    m_dm->AddInfobase();
    EXPECT_FALSE(m_dm->RegisterExplorerInfobase());
    EXPECT_TRUE(m_dm->dbfFolder.isEmpty());
    EXPECT_TRUE(m_registry.valueNames(HKCU, kTitles).empty());
    EXPECT_TRUE(m_registry.createdKeys().empty());
}

TEST_F(DataModuleTest, RegisterExplorerInfobaseRegistersTheTitleAndStoresTheRow) {
    m_registry.plantKey(HKCU, kTitles);
    app::CurrentCategoryId = 4;
    m_ui.infobaseAnswers.push_back(infobase("Новая ИБ 1", R"(C:\New\)", "Admin"));
    EXPECT_TRUE(m_dm->RegisterExplorerInfobase());
    EXPECT_EQ(m_ui.infobaseModes, std::vector<int>{2});
    EXPECT_EQ(m_registry.stringValue(HKCU, kTitles, R"(C:\New\)"), "Новая ИБ 1");
    EXPECT_TRUE(m_registry.keyExists(HKCU, R"(Software\1C\1Cv7\7.7\Новая ИБ 1)"));
    ASSERT_TRUE(m_dm->LocateInfobase(launch::FolderSet::dbfSearch, R"(c:\new\)"));
    EXPECT_EQ(m_dm->UserSwitches(true, launch::FolderSet::dbfSearch), " /nAdmin");
    EXPECT_EQ(m_dm->dbfSearch.fieldInt("CATEGORY"), 4);
}

TEST_F(DataModuleTest, DeleteInfobaseClearsTheTitleOnlyWhenTheSettingIsOn) {
    for (const bool clear : {false, true}) {
        m_registry.plantString(HKCU, kTitles, R"(C:\Trade)", "Торговля");
        addInfobase(infobase("Торговля", R"(C:\Trade)"));
        m_settings.clearRegistry = clear;
        m_ui.questions.clear();
        m_ui.yesNoAnswers.push_back(true);
        m_dm->DeleteInfobase();
        EXPECT_EQ(m_ui.questions, std::vector<std::string>{"Удалить выделенную информационную базу?"});
        EXPECT_TRUE(m_dm->dbfFolder.isEmpty());
        EXPECT_EQ(m_registry.stringValue(HKCU, kTitles, R"(C:\Trade)").has_value(), !clear) << clear;
    }
}

TEST_F(DataModuleTest, DeleteInfobaseAnsweredNoKeepsRowAndTitle) {
    m_settings.clearRegistry = true;
    m_registry.plantKey(HKCU, kTitles);
    addInfobase(infobase("Торговля", R"(C:\Trade)"));
    m_dm->DeleteInfobase();
    EXPECT_EQ(m_dm->InfobaseName(), "Торговля");
    EXPECT_TRUE(m_registry.stringValue(HKCU, kTitles, R"(C:\Trade)").has_value());
}

TEST_F(DataModuleTest, WithoutACurrentRowTheRowCommandsDoNothing) {
    m_dm->EditExecutable();
    m_dm->DeleteExecutable();
    m_dm->EditInfobase();
    m_dm->DeleteInfobase();
    m_dm->ClearClassification(3);
    m_dm->AssignClassification(1, 2);
    EXPECT_TRUE(m_ui.untouched());
    EXPECT_TRUE(m_dm->dbfProgram.isEmpty());
    EXPECT_TRUE(m_dm->dbfFolder.isEmpty());
    EXPECT_EQ(m_dm->ExecutablePath(), "");
    EXPECT_EQ(m_dm->InfobasePath(), "");
    EXPECT_EQ(m_dm->InfobasePassword(m_dm->dbfFolder), "");
    EXPECT_EQ(m_dm->UserSwitches(true, m_dm->dbfFolder), "");

    // The same with rows that the filter hides.
    addInfobase(infobase("Скрытая", R"(C:\H)"));
    m_dm->ApplyFilter(app::FilterMode::fmCategory);
    m_ui = {};
    m_dm->EditInfobase();
    m_dm->DeleteInfobase();
    m_dm->ClearClassification(3);
    EXPECT_TRUE(m_ui.untouched());
    m_dm->ApplyFilter(app::FilterMode::fmNone);
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), std::vector<std::string>{"Скрытая"});
}

TEST_F(DataModuleTest, InfobaseListIsInUpperCasedNameOrderAndTakesDuplicates) {
    for (const char* name : {"delta", "Beta", "alpha", "beta", "Charlie"})
        addInfobase(infobase(name, R"(C:\Same)"));
    EXPECT_EQ(column(m_dm->dbfFolder, "NAME"), (std::vector<std::string>{"alpha", "Beta", "beta", "Charlie", "delta"}));
    // Equal keys are in record order ("Beta" before "beta"); the look-up set has no order but that.
    m_dm->dbfSearch.refresh();
    EXPECT_EQ(column(m_dm->dbfSearch, "NAME"), (std::vector<std::string>{"delta", "Beta", "alpha", "beta", "Charlie"}));
    m_dm->dbfSeek.refresh();
    EXPECT_TRUE(m_dm->dbfSeek.seek(R"(C:\SAME)"));
    int same = 0;
    for (; !m_dm->dbfSeek.eof() && m_dm->dbfSeek.fieldText("PATH") == R"(C:\Same)"; m_dm->dbfSeek.next())
        ++same;
    EXPECT_EQ(same, 5);
}

TEST_F(DataModuleTest, LocateMovesTheListOnlyWhenARowMatches) {
    addInfobase(infobase("A", R"(C:\A\)"));
    addInfobase(infobase("B", R"(C:\B\)"));
    EXPECT_TRUE(m_dm->LocateInfobase(launch::FolderSet::dbfFolder, R"(c:\a\)"));
    EXPECT_EQ(m_dm->InfobaseName(), "A");
    EXPECT_FALSE(m_dm->LocateInfobase(launch::FolderSet::dbfFolder, R"(C:\Z\)"));
    EXPECT_EQ(m_dm->InfobaseName(), "A");
    EXPECT_FALSE(m_dm->LocateInfobase(launch::FolderSet::dbfFolder, R"(C:\A)")); // the backslash counts
}

// ---- user list

TEST_F(DataModuleTest, UserListScramblesATypedPasswordAndKeepsAnUntouchedOne) {
    engine::DataSet& users = m_dm->dbfUser;
    users.insert();
    users.setFieldText("USERNAME", "Иванов");
    m_ui.typedUserPassword = "Пароль";
    users.post();
    EXPECT_EQ(users.fieldText("PASSWORD"), app::ScramblePassword("Пароль"));

    users.edit();
    users.setFieldText("USERNAME", "Петров");
    m_ui.typedUserPassword.reset();
    users.post();
    users.refresh();
    users.first();
    EXPECT_EQ(users.fieldText("USERNAME"), "Петров");
    EXPECT_EQ(app::ScramblePassword(users.fieldText("PASSWORD")), "Пароль");

    users.edit();
    m_ui.typedUserPassword = "";
    users.post();
    EXPECT_EQ(users.fieldText("PASSWORD"), "");
}

TEST_F(DataModuleTest, UserListTakesDuplicateNames) {
    for (const char* name : {"Иванов", "иванов", "Иванов"}) {
        m_dm->dbfUser.insert();
        m_dm->dbfUser.setFieldText("USERNAME", name);
        m_dm->dbfUser.post();
    }
    m_dm->dbfUser.refresh();
    EXPECT_EQ(column(m_dm->dbfUser, "USERNAME").size(), 3u);
}

} // namespace
