#include "main/ClassificationFile.h"

#include "BarsFakes.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

using mainwin::BarKind;
using mainwin::ClassificationFile;
using testsupport::readFile;
using testsupport::TempDir;
using testsupport::testFixture;
using testsupport::writeFile;

namespace fs = std::filesystem;

TEST(ClassificationFileTest, NamesTheFilesOfBothBars) {
    EXPECT_EQ(ClassificationFile::pathOf({}, BarKind::Category), fs::path("category.cfg"));
    EXPECT_EQ(ClassificationFile::pathOf("/x", BarKind::Division), fs::path("/x/division.cfg"));
}

TEST(ClassificationFileTest, MissingFileIsAnEmptyBarAndSavingCreatesIt) {
    TempDir dir;
    ClassificationFile file(dir.path() / "category.cfg");
    EXPECT_TRUE(file.load().sections.empty());
    EXPECT_FALSE(file.damaged());
    ASSERT_TRUE(file.save(barstest::categorySample()).ok);
    EXPECT_EQ(ClassificationFile(file.path()).load(), barstest::categorySample());
    EXPECT_FALSE(fs::exists(dir.path() / "category.cfg.bad"));
}

// The bar files are written only when the bar differs from what the file holds; a file that cannot
// be written is named in the user's language and left as it is.
TEST(ClassificationFileTest, OnlyAChangedBarIsWrittenAndAReadOnlyFileIsLeft) {
    TempDir dir;
    const fs::path path = dir.path() / "category.cfg";
    ASSERT_TRUE(ClassificationFile(path).save(barstest::categorySample()).ok);
    struct stat before {};
    ::stat(path.c_str(), &before);
    ClassificationFile file(path);
    auto bar = file.load();
    ASSERT_TRUE(file.save(bar).ok);
    struct stat after {};
    ::stat(path.c_str(), &after);
    EXPECT_EQ(after.st_ino, before.st_ino) << "an unchanged bar is not written again";

    bar.sections.push_back({"Новый", {}});
    fs::permissions(path, fs::perms(0444));
    const std::string bytes = readFile(path);
    const auto status = file.save(bar);
    EXPECT_FALSE(status.ok);
    EXPECT_EQ(status.error, "Не удалось записать файл category.cfg: файл только для чтения");
    EXPECT_EQ(readFile(path), bytes);
    fs::permissions(path, fs::perms(0644));
    ASSERT_TRUE(file.save(bar).ok);
    EXPECT_EQ(ClassificationFile(path).load(), bar);
}

// A file cut inside a record, and one from a newer format: what can be read loads, and the
// original is kept byte for byte as .bad before the bar is written again; a later save does not
// touch that copy.
TEST(ClassificationFileTest, DamagedFileLoadsWhatItCanAndIsKeptBeforeTheBarIsWritten) {
    for (const char* fixture : {"truncated-inside-item.cfg", "newer-version-with-unknown-record.cfg"}) {
        TempDir dir;
        fs::path target = dir.path() / "division.cfg";
        std::string original = readFile(testFixture(std::string("bars/") + fixture));
        ASSERT_FALSE(original.empty()) << fixture;
        writeFile(target, original);

        ClassificationFile file(target);
        widgets::SectionBarData bar = file.load();
        EXPECT_TRUE(file.damaged()) << fixture;
        EXPECT_FALSE(bar.sections.empty()) << fixture;

        ASSERT_TRUE(file.save(bar).ok) << fixture;
        EXPECT_EQ(readFile(dir.path() / "division.cfg.bad"), original) << fixture;
        EXPECT_EQ(ClassificationFile(target).load(), bar) << fixture;

        bar.sections[0].caption = "Другая";
        ASSERT_TRUE(file.save(bar).ok);
        EXPECT_EQ(readFile(dir.path() / "division.cfg.bad"), original) << fixture;
        EXPECT_EQ(ClassificationFile(target).load(), bar);
    }
}

TEST(ClassificationFileTest, TruncatedFileKeepsTheItemsBeforeTheCut) {
    ClassificationFile file(testFixture("bars/truncated-inside-item.cfg"));
    widgets::SectionBarData bar = file.load();
    ASSERT_EQ(bar.sections.size(), 1u);
    EXPECT_EQ(bar.sections[0].caption, "Опт");
    ASSERT_GE(bar.sections[0].items.size(), 1u);
    EXPECT_EQ(bar.sections[0].items[0], (widgets::SectionBarItem{"Склад", 1}));
}

TEST(ClassificationFileTest, DamagedFileThatCannotBeKeptIsNotOverwritten) {
    TempDir dir;
    fs::path target = dir.path() / "category.cfg";
    writeFile(target, "TARVESK-BAR 1\r\nS broken");
    // A non-empty directory in the way of the .bad copy makes the rename fail.
    fs::create_directories(dir.path() / "category.cfg.bad" / "inside");

    ClassificationFile file(target);
    file.load();
    ASSERT_TRUE(file.damaged());
    EXPECT_FALSE(file.save(barstest::categorySample()).ok);
    EXPECT_EQ(readFile(target), "TARVESK-BAR 1\r\nS broken");
}
