#include "platform/fake/MemoryRegistry.h"

#include <gtest/gtest.h>

namespace {

using platform::MemoryRegistry;
using platform::RegistryError;
using platform::RegistryRoot;
constexpr auto HKCU = RegistryRoot::CurrentUser;

TEST(MemoryRegistry, KeysAndValuesIgnoreCaseCyrillicIncluded) {
    MemoryRegistry reg;
    reg.plantString(HKCU, R"(Software\Фирма)", "Каталог", "1");
    const auto key = reg.openKey(HKCU, R"(SOFTWARE\фИРМА\)");
    ASSERT_TRUE(key);
    EXPECT_TRUE(key->hasValue("каталог"));
    key->writeString("КАТАЛОГ", "2");
    EXPECT_EQ(key->valueNames(), std::vector<std::string>{"Каталог"});
    EXPECT_EQ(reg.stringValue(HKCU, R"(Software\Фирма)", "Каталог"), "2");
    EXPECT_FALSE(reg.openKey(RegistryRoot::LocalMachine, R"(Software\Фирма)"));
}

TEST(MemoryRegistry, CreateKeyMakesAndRecordsMissingParents) {
    MemoryRegistry reg;
    reg.plantKey(HKCU, "Software");
    ASSERT_TRUE(reg.createKey(HKCU, R"(software\A\B)"));
    EXPECT_EQ(reg.createdKeys(),
              (std::vector<MemoryRegistry::KeyId>{{HKCU, R"(software\A)"}, {HKCU, R"(software\A\B)"}}));
    ASSERT_TRUE(reg.createKey(HKCU, R"(Software\a\b)"));
    EXPECT_EQ(reg.createdKeys().size(), 2u);
}

TEST(MemoryRegistry, OpenKeysShareOneState) {
    MemoryRegistry reg;
    reg.plantKey(HKCU, "K");
    const auto a = reg.openKey(HKCU, "K");
    const auto b = reg.openKey(HKCU, "k");
    a->writeString("v", "1");
    EXPECT_EQ(b->readString("V"), "1");
    EXPECT_TRUE(b->deleteValue("v"));
    EXPECT_FALSE(a->hasValue("v"));
    EXPECT_FALSE(a->deleteValue("v"));
}

TEST(MemoryRegistry, ReadsAsTheAnsiCallsDo) {
    MemoryRegistry reg;
    reg.plantString(HKCU, "K", "s", "a✓б");
    reg.plantNonString(HKCU, "K", "n");
    const auto key = reg.openKey(HKCU, "K");
    EXPECT_EQ(key->readString("s"), "a?б");
    EXPECT_EQ(key->readString("missing"), std::nullopt);
    try {
        (void)key->readString("n");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Invalid data type for 'n'");
    }
}

TEST(MemoryRegistry, UnwritableValuesRaiseOnWriteAndFailOnDelete) {
    MemoryRegistry reg;
    reg.plantString(HKCU, "K", "v", "1");
    reg.setValuesWritable(false);
    const auto key = reg.openKey(HKCU, "K");
    try {
        key->writeString("v", "2");
        FAIL() << "no error";
    } catch (const RegistryError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'v'");
    }
    EXPECT_FALSE(key->deleteValue("v"));
    EXPECT_EQ(key->readString("v"), "1");
}

} // namespace
