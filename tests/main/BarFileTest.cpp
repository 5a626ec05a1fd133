#include "main/BarFile.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <limits>

using mainwin::BarFile;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::testFixture;
using testsupport::writeFile;
using widgets::SectionBarData;

namespace {

SectionBarData cyrillicBar() {
    return SectionBarData{{
        {"Опт", {{"Склад", 1}, {"Магазин №1", 2}}},
        {"Розница", {{"Киоск", 3}}},
    }};
}

// True when `part` is what a reader may keep of `whole`: leading sections unchanged, the last kept
// section with a leading run of its items.
bool isLeadingPart(const SectionBarData& part, const SectionBarData& whole) {
    if (part.sections.size() > whole.sections.size())
        return false;
    for (std::size_t s = 0; s < part.sections.size(); ++s) {
        const auto& kept = part.sections[s];
        const auto& full = whole.sections[s];
        if (kept.caption != full.caption || kept.items.size() > full.items.size())
            return false;
        if (s + 1 < part.sections.size() && kept.items.size() != full.items.size())
            return false;
        for (std::size_t i = 0; i < kept.items.size(); ++i)
            if (!(kept.items[i] == full.items[i]))
                return false;
    }
    return true;
}

} // namespace

TEST(BarFileTest, RoundTripsCyrillicCaptionsAndIdsInWindows1251) {
    TempDir dir;
    SectionBarData bar = cyrillicBar();
    bar.sections.push_back(
        {"",
         {{"", std::numeric_limits<std::int32_t>::min()}, {"a\\b\r\nc\\r", std::numeric_limits<std::int32_t>::max()}}});
    bar.sections.push_back({"Пустая", {}});

    ASSERT_TRUE(BarFile::write(dir.file("category.cfg"), bar).ok);
    auto result = BarFile::read(dir.file("category.cfg"));

    EXPECT_FALSE(result.damaged) << result.problem;
    EXPECT_EQ(result.bar, bar);
    std::string bytes = readFile(dir.file("category.cfg"));
    EXPECT_NE(bytes.find("S \xCE\xEF\xF2\r\n"), std::string::npos) << "Опт in Windows-1251";
    EXPECT_FALSE(std::filesystem::exists(dir.file("category.cfg.tmp")));
}

TEST(BarFileTest, ReadsTheFixtureWrittenByHand) {
    auto result = BarFile::read(testFixture("bars/category-cyrillic.cfg"));
    EXPECT_FALSE(result.damaged) << result.problem;
    EXPECT_EQ(result.bar, cyrillicBar());
}

TEST(BarFileTest, MissingFileIsAnEmptyBarNotDamaged) {
    TempDir dir;
    auto result = BarFile::read(dir.file("division.cfg"));
    EXPECT_FALSE(result.damaged);
    EXPECT_TRUE(result.bar.sections.empty());
}

TEST(BarFileTest, TruncatedFixtureKeepsWholeItemsBeforeTheCut) {
    auto result = BarFile::read(testFixture("bars/truncated-inside-item.cfg"));
    EXPECT_TRUE(result.damaged);
    EXPECT_FALSE(result.newerVersion);
    EXPECT_EQ(result.bar, (SectionBarData{{{"Опт", {{"Склад", 1}}}}}));
}

TEST(BarFileTest, EveryCutOfAFileIsReportedDamagedAndKeepsALeadingPart) {
    std::string bytes;
    ASSERT_TRUE(BarFile::serialize(cyrillicBar(), bytes).ok);
    for (std::size_t cut = 0; cut < bytes.size(); ++cut) {
        auto result = BarFile::parse(std::string_view(bytes).substr(0, cut));
        EXPECT_TRUE(result.damaged) << "cut at " << cut;
        EXPECT_TRUE(isLeadingPart(result.bar, cyrillicBar())) << "cut at " << cut;
    }
    EXPECT_FALSE(BarFile::parse(bytes).damaged);
}

TEST(BarFileTest, DamagedContentKeepsWhatCameBefore) {
    struct Case {
        const char* name;
        std::string bytes;
        std::size_t sections;
        std::size_t items;
    };
    const Case cases[] = {
        {"empty file", "", 0, 0},
        {"other magic", "BAR 1\r\nS a\r\nE 1 0\r\n", 0, 0},
        {"version not a number", "TARVESK-BAR x\r\nS a\r\nE 1 0\r\n", 0, 0},
        {"item before a section", "TARVESK-BAR 1\r\nI 1 a\r\nS b\r\nE 1 1\r\n", 0, 0},
        {"id not a number", "TARVESK-BAR 1\r\nS a\r\nI 1 b\r\nI x c\r\nE 1 2\r\n", 1, 1},
        {"id out of range", "TARVESK-BAR 1\r\nS a\r\nI 2147483648 b\r\nE 1 1\r\n", 1, 0},
        {"unknown record", "TARVESK-BAR 1\r\nS a\r\nQ b\r\nS c\r\nE 2 0\r\n", 1, 0},
        {"stray backslash", "TARVESK-BAR 1\r\nS a\r\nS b\\x\r\nE 2 0\r\n", 1, 0},
        {"counts disagree", "TARVESK-BAR 1\r\nS a\r\nI 1 b\r\nE 1 2\r\n", 1, 1},
        {"data after the end", "TARVESK-BAR 1\r\nS a\r\nE 1 0\r\nS b\r\n", 1, 0},
        {"no end record", "TARVESK-BAR 1\r\nS a\r\nI 1 b\r\n", 1, 1},
    };
    for (const Case& c : cases) {
        auto result = BarFile::parse(c.bytes);
        EXPECT_TRUE(result.damaged) << c.name;
        EXPECT_FALSE(result.problem.empty()) << c.name;
        EXPECT_EQ(result.bar.sections.size(), c.sections) << c.name;
        EXPECT_EQ(result.bar.itemCount(), c.items) << c.name;
    }
}

TEST(BarFileTest, AcceptsBareLineFeeds) {
    auto result = BarFile::parse("TARVESK-BAR 1\nS a\nI -5 b\nE 1 1\n");
    EXPECT_FALSE(result.damaged) << result.problem;
    EXPECT_EQ(result.bar, (SectionBarData{{{"a", {{"b", -5}}}}}));
}

TEST(BarFileTest, NewerVersionLoadsKnownRecordsAndIsReported) {
    auto result = BarFile::read(testFixture("bars/newer-version-with-unknown-record.cfg"));
    EXPECT_TRUE(result.newerVersion);
    EXPECT_TRUE(result.damaged);
    EXPECT_EQ(result.bar, (SectionBarData{{{"Опт", {{"Склад", 7}}}, {"Розница", {}}}}));
}

TEST(BarFileTest, RefusesCaptionsWindows1251CannotHoldAndKeepsTheOldFile) {
    TempDir dir;
    ASSERT_TRUE(BarFile::write(dir.file("category.cfg"), cyrillicBar()).ok);
    std::string before = readFile(dir.file("category.cfg"));

    for (const char* caption : {"Склад \xE2\x82\xAC\xE2\x98\x83", "bad \xFF utf-8"}) {
        SectionBarData section = cyrillicBar();
        section.sections[1].caption = caption;
        SectionBarData item = cyrillicBar();
        item.sections[0].items[1].caption = caption;
        for (const SectionBarData& bar : {section, item}) {
            auto status = BarFile::write(dir.file("category.cfg"), bar);
            EXPECT_FALSE(status.ok) << caption;
            EXPECT_FALSE(status.error.empty());
        }
    }
    EXPECT_EQ(readFile(dir.file("category.cfg")), before);
    EXPECT_FALSE(std::filesystem::exists(dir.file("category.cfg.tmp")));
}

TEST(BarFileTest, WriteThatCannotReplaceTheTargetFailsAndLeavesNoTemporaryFile) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / "category.cfg");
    std::filesystem::create_directory(dir.path() / "category.cfg" / "inside");

    auto status = BarFile::write(dir.file("category.cfg"), cyrillicBar());

    EXPECT_FALSE(status.ok);
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "category.cfg" / "inside"));
    EXPECT_FALSE(std::filesystem::exists(dir.file("category.cfg.tmp")));
}

TEST(BarFileTest, KeepAsBadPreservesTheDamagedFileBeforeANewWrite) {
    TempDir dir;
    const std::string damaged = "TARVESK-BAR 1\r\nS a\r\nI 1 b";
    writeFile(dir.file("category.cfg.bad"), "an older damaged copy");
    writeFile(dir.file("category.cfg"), damaged);
    ASSERT_TRUE(BarFile::read(dir.file("category.cfg")).damaged);

    ASSERT_TRUE(BarFile::keepAsBad(dir.file("category.cfg")).ok);
    ASSERT_TRUE(BarFile::write(dir.file("category.cfg"), cyrillicBar()).ok);

    EXPECT_EQ(readFile(dir.file("category.cfg.bad")), damaged);
    EXPECT_EQ(BarFile::read(dir.file("category.cfg")).bar, cyrillicBar());
    EXPECT_FALSE(BarFile::keepAsBad(dir.file("missing.cfg")).ok);
}
