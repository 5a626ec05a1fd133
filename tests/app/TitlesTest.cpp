#include "app/Common.h"

#include "platform/fake/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

using platform::MemoryRegistry;
using platform::RegistryRoot;

const std::string kTitles = R"(Software\1C\1Cv7\7.7\Titles)";
constexpr auto HKCU = RegistryRoot::CurrentUser;

class TitlesTest : public ::testing::Test {
protected:
    // A machine where 1C:Enterprise ran once: the Titles key exists with one entry.
    void plantTitles() { m_reg.plantString(HKCU, kTitles, R"(C:\Bases\Trade)", "Торговля"); }
    std::optional<std::string> title(const std::string& directory) const {
        return m_reg.stringValue(HKCU, kTitles, directory);
    }

    MemoryRegistry m_reg;
};

TEST_F(TitlesTest, ExistsComparesNamesWithoutCase) {
    plantTitles();
    m_reg.plantString(HKCU, kTitles, R"(C:\Базы\Склад)", "Склад");
    EXPECT_TRUE(app::TitleExists(m_reg, R"(c:\bases\TRADE)"));
    EXPECT_TRUE(app::TitleExists(m_reg, R"(c:\БАЗЫ\склад)"));
    EXPECT_FALSE(app::TitleExists(m_reg, R"(C:\Bases\Other)"));
}

TEST_F(TitlesTest, WriteIfAbsentKeepsAnExistingTitle) {
    plantTitles();
    app::TitleWriteIfAbsent(m_reg, R"(c:\bases\trade)", "Другое");
    EXPECT_EQ(title(R"(C:\Bases\Trade)"), "Торговля");
    app::TitleWriteIfAbsent(m_reg, R"(C:\Bases\New)", "Новая");
    EXPECT_EQ(title(R"(C:\Bases\New)"), "Новая");
    EXPECT_GE(m_reg.flushCount(), 1);
}

TEST_F(TitlesTest, WriteReplacesAnExistingTitle) {
    plantTitles();
    app::TitleWrite(m_reg, R"(C:\Bases\Trade)", "Торговля 2");
    EXPECT_EQ(title(R"(C:\Bases\Trade)"), "Торговля 2");
    EXPECT_EQ(m_reg.valueNames(HKCU, kTitles).size(), 1u);
}

TEST_F(TitlesTest, DeleteRemovesOnlyThatEntry) {
    plantTitles();
    m_reg.plantString(HKCU, kTitles, R"(C:\Bases\Stock)", "Склад");
    app::TitleDelete(m_reg, R"(C:\BASES\TRADE)");
    app::TitleDelete(m_reg, R"(C:\Bases\Missing)");
    EXPECT_EQ(m_reg.valueNames(HKCU, kTitles), std::vector<std::string>{R"(C:\Bases\Stock)"});
}

TEST_F(TitlesTest, RegisterCreatesTheInfobaseKeyEvenWhenTheEntryExists) {
    plantTitles();
    app::TitleRegister(m_reg, R"(C:\Bases\Trade)", "Торговля новая");
    EXPECT_EQ(title(R"(C:\Bases\Trade)"), "Торговля");
    EXPECT_EQ(m_reg.createdKeys(),
              (std::vector<MemoryRegistry::KeyId>{{HKCU, R"(Software\1C\1Cv7\7.7\Торговля новая)"}}));
}

TEST_F(TitlesTest, WithoutTheTitlesKeyNothingIsWrittenOrCreated) {
    EXPECT_FALSE(app::TitleExists(m_reg, R"(C:\Bases\Trade)"));
    app::TitleWrite(m_reg, R"(C:\Bases\Trade)", "Торговля");
    app::TitleWriteIfAbsent(m_reg, R"(C:\Bases\Trade)", "Торговля");
    app::TitleDelete(m_reg, R"(C:\Bases\Trade)");
    EXPECT_TRUE(m_reg.createdKeys().empty());
    EXPECT_FALSE(m_reg.keyExists(HKCU, kTitles));
}

TEST_F(TitlesTest, RegisterWithoutTheTitlesKeyStillCreatesTheInfobaseKeyFromTheRoot) {
    app::TitleRegister(m_reg, R"(C:\Bases\Trade)", "Торговля");
    EXPECT_FALSE(m_reg.keyExists(HKCU, kTitles));
    EXPECT_TRUE(m_reg.keyExists(HKCU, R"(Software\1C\1Cv7\7.7\Торговля)"));
    EXPECT_FALSE(m_reg.keyExists(HKCU, R"(Software\1C\1Cv7\7.7\Titles\Торговля)"));
    ASSERT_FALSE(m_reg.createdKeys().empty());
    EXPECT_EQ(m_reg.createdKeys().back(), (MemoryRegistry::KeyId{HKCU, R"(Software\1C\1Cv7\7.7\Торговля)"}));
}

TEST_F(TitlesTest, EmptyDirectoryNeverTouchesTheDefaultValue) {
    plantTitles();
    m_reg.plantString(HKCU, kTitles, "", "default");
    EXPECT_FALSE(app::TitleExists(m_reg, ""));
    app::TitleWrite(m_reg, "", "x");
    app::TitleWriteIfAbsent(m_reg, "", "x");
    app::TitleRegister(m_reg, "", "x");
    app::TitleDelete(m_reg, "");
    EXPECT_EQ(m_reg.stringValue(HKCU, kTitles, ""), "default");
    EXPECT_TRUE(m_reg.createdKeys().empty());
}

TEST_F(TitlesTest, AFailedWriteReachesTheCaller) {
    plantTitles();
    m_reg.setValuesWritable(false);
    try {
        app::TitleWrite(m_reg, R"(C:\Bases\New)", "Новая");
        FAIL() << "no error";
    } catch (const platform::RegistryError& e) {
        EXPECT_STREQ(e.what(), R"(Failed to set data for 'C:\Bases\New')");
    }
    EXPECT_THROW(app::TitleRegister(m_reg, R"(C:\Bases\New)", "Новая"), platform::RegistryError);
    // Deleting reports nothing.
    EXPECT_NO_THROW(app::TitleDelete(m_reg, R"(C:\Bases\Trade)"));
}

} // namespace
