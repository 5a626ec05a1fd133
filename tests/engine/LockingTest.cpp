#include "EngineTestUtil.h"
#include "engine/DataSet.h"
#include "engine/EngineError.h"
#include "engine/PosixFile.h"
#include "engine/TableLocks.h"

#include <gtest/gtest.h>

#include <csignal>
#include <set>
#include <sys/wait.h>
#include <unistd.h>

using engine::DataSet;
using engine::Engine;
using engine::EngineError;
using enginetest::addFolder;

namespace {

namespace locks = engine::locks;

class Locking : public enginetest::EngineInTempDir<> {
protected:
    void SetUp() override {
        enginetest::createFolder(engine);
        engine.setLockRetry(3, std::chrono::milliseconds(1));
    }
    // The table file opened separately: its locks are another program's.
    engine::PosixFile other() { return engine::PosixFile(engine.tablePath("folder"), false); }
};

TEST(LockOffsets, FollowTheFoxProSchemes) {
    EXPECT_EQ(locks::recordLock(true, 1, 290, 1007), 0x7FFFFFFDu);
    EXPECT_EQ(locks::recordLock(true, 1000, 290, 1007), 0x7FFFFFFEu - 1000);
    EXPECT_EQ(locks::headerLock(true), 0x7FFFFFFEu);
    EXPECT_EQ(locks::recordLock(false, 1, 290, 1007), 0x40000000u + 290);
    EXPECT_EQ(locks::recordLock(false, 3, 290, 1007), 0x40000000u + 290 + 2 * 1007);
    EXPECT_EQ(locks::headerLock(false), 0x40000000u);
}

TEST_F(Locking, APostWaitsForTheRecordLockAndGivesUpWithAMessage) {
    DataSet ds(engine, "folder");
    ds.open();
    addFolder(ds, "a", "p");
    engine::PosixFile foreign = other();
    ASSERT_TRUE(foreign.tryLock(locks::recordLock(true, 1, 0, 0), 1, true));
    ds.edit();
    ds.setFieldText("NAME", "b");
    try {
        ds.post();
        FAIL() << "posted over a foreign lock";
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("Record 1"), std::string::npos) << e.what();
    }
    EXPECT_EQ(ds.state(), engine::DataSetState::Edit);
    // Editing itself takes no lock.
    DataSet second(engine, "folder");
    second.open();
    second.edit();
    second.cancel();
    foreign.unlock(locks::recordLock(true, 1, 0, 0), 1);
    ds.post();
    EXPECT_EQ(ds.fieldText("NAME"), "b");
}

TEST_F(Locking, AppendsWaitForTheHeaderLockAndIndexUpdatesForTheIndexLock) {
    DataSet ds(engine, "folder");
    ds.open();
    engine::PosixFile foreign = other();
    ASSERT_TRUE(foreign.tryLock(locks::headerLock(true), 1, true));
    EXPECT_THROW(addFolder(ds, "a", "p"), EngineError);
    ds.cancel();
    foreign.unlock(locks::headerLock(true), 1);

    engine::PosixFile index(engine.indexPath("folder"), false);
    ASSERT_TRUE(index.tryLock(locks::kIndexLock, 1, true));
    EXPECT_THROW(addFolder(ds, "a", "p"), EngineError);
    ds.cancel();
    index.unlock(locks::kIndexLock, 1);
    addFolder(ds, "a", "p");
    ds.refresh();
    EXPECT_EQ(enginetest::column(ds, "NAME"), std::vector<std::string>{"a"});
    EXPECT_EQ(ds.checkIndex(), "");
}

// An index that is only busy is not an unusable one: a table opened without it would be written
// without keeping it current, and the rows written then would be missing from its tag order.
TEST_F(Locking, AnIndexBusyAtOpenFailsTheOpenEvenWithoutTheIndex) {
    engine::PosixFile index(engine.indexPath("folder"), false);
    ASSERT_TRUE(index.tryLock(locks::kIndexLock, 1, true));
    DataSet plain(engine, "folder");
    try {
        plain.open({.withIndex = false});
        addFolder(plain, "a", "p");
    } catch (const EngineError& e) {
        EXPECT_NE(std::string(e.what()).find("folder.cdx"), std::string::npos) << e.what();
    }
    index.unlock(locks::kIndexLock, 1);
    plain.close();
    plain.open({.withIndex = false});
    addFolder(plain, "b", "q");
    DataSet ds(engine, "folder");
    ds.open();
    ds.selectTag("NAME");
    EXPECT_EQ(enginetest::column(ds, "NAME"), enginetest::column(plain, "NAME"));
    EXPECT_EQ(ds.checkIndex(), "");
}

TEST_F(Locking, ATableWithoutIndexLocksItsRecordsAtTheirOwnOffsets) {
    engine.createTable("program", {{"NAME", engine::FieldType::Character, 40, 0}});
    DataSet ds(engine, "program");
    ds.open();
    ds.insert();
    ds.post();
    ds.insert();
    ds.post();
    engine::PosixFile foreign(engine.tablePath("program"), false);
    std::size_t header = 32 + 32 + 1, length = 41;
    ASSERT_TRUE(foreign.tryLock(locks::recordLock(false, 2, header, length), 1, true));
    EXPECT_EQ(locks::recordLock(false, 2, header, length), 0x40000000u + header + length);
    ds.edit();
    ds.setFieldText("NAME", "x");
    EXPECT_THROW(ds.post(), EngineError);
    ds.cancel();
    ASSERT_TRUE(foreign.tryLock(locks::headerLock(false), 1, true));
    ds.insert();
    ds.setFieldText("NAME", "appended");
    EXPECT_THROW(ds.post(), EngineError);
    ds.cancel();
    foreign.unlock(0, 0x80000000u);
    ds.gotoRecord(2);
    ds.edit();
    ds.setFieldText("NAME", "x");
    ds.post();
}

TEST_F(Locking, NoLockIsLeftAfterAPost) {
    DataSet ds(engine, "folder");
    ds.open();
    addFolder(ds, "a", "p");
    ds.edit();
    ds.setFieldText("PATH", "q");
    ds.post();
    ds.remove();
    engine::PosixFile foreign = other();
    EXPECT_TRUE(foreign.tryLock(locks::kFileLockStart, locks::kFileLockLength, true));
    engine::PosixFile index(engine.indexPath("folder"), false);
    EXPECT_TRUE(index.tryLock(locks::kIndexLock, 1, true));
}

// Runs body in a child process; the child's exit code is 0 when body returned normally.
pid_t spawn(const std::function<void()>& body) {
    pid_t pid = fork();
    if (pid == 0) {
        int code = 0;
        try {
            body();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "child: %s\n", e.what());
            code = 1;
        }
        _exit(code);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

TEST_F(Locking, TwoProcessesPostingAtOnceLoseNoRowAndNoUpdate) {
    {
        DataSet ds(engine, "folder");
        ds.open();
        addFolder(ds, "shared row", "p");
    }
    constexpr int kRows = 150;
    auto worker = [&](const std::string& who, const char* field) {
        return [&, who, field] {
            Engine mine(dir.path().string()); // a fresh engine in the child
            mine.setLockRetry(200, std::chrono::milliseconds(5));
            DataSet ds(mine, "folder");
            ds.open();
            ds.selectTag("PATH");
            for (int i = 0; i < kRows; ++i) {
                addFolder(ds, who + std::to_string(i), "C:\\" + who + "\\" + std::to_string(i));
                // Both edit the shared row, each its own field.
                if (!ds.gotoRecord(1))
                    throw EngineError("row 1 lost");
                ds.edit();
                ds.setFieldText(field, who + std::to_string(i));
                ds.post();
            }
        };
    };
    pid_t a = spawn(worker("A", "USERNAME"));
    pid_t b = spawn(worker("B", "USERPATH"));
    ASSERT_EQ(waitFor(a), 0);
    ASSERT_EQ(waitFor(b), 0);

    DataSet ds(engine, "folder");
    ds.open();
    std::set<std::string> names;
    for (ds.first(); !ds.eof(); ds.next())
        names.insert(ds.fieldText("NAME"));
    EXPECT_EQ(names.size(), 2u * kRows + 1);
    EXPECT_TRUE(names.count("A" + std::to_string(kRows - 1)) && names.count("B0"));
    ds.gotoRecord(1);
    EXPECT_EQ(ds.fieldText("USERNAME"), "A" + std::to_string(kRows - 1));
    EXPECT_EQ(ds.fieldText("USERPATH"), "B" + std::to_string(kRows - 1));
    EXPECT_EQ(ds.checkIndex(), "");
    ds.selectTag("PATH");
    EXPECT_EQ(enginetest::column(ds, "PATH").size(), 2u * kRows + 1);
}

TEST_F(Locking, AKilledWriterLeavesEveryPostedRowAndAnIndexSoundOrKnownStale) {
    int pipeFds[2];
    ASSERT_EQ(pipe(pipeFds), 0);
    pid_t child = spawn([&] {
        close(pipeFds[0]);
        Engine mine(dir.path().string());
        DataSet ds(mine, "folder");
        ds.open();
        for (int i = 0;; ++i) {
            addFolder(ds, "row " + std::to_string(i), "C:\\ROWS\\" + std::to_string(i));
            char done = 'x';
            if (write(pipeFds[1], &done, 1) != 1)
                return;
        }
    });
    close(pipeFds[1]);
    int posted = 0;
    char byte;
    while (posted < 200 && read(pipeFds[0], &byte, 1) == 1)
        ++posted;
    kill(child, SIGKILL);
    EXPECT_EQ(waitFor(child), 100 + SIGKILL);
    close(pipeFds[0]);

    DataSet ds(engine, "folder");
    ds.open();
    for (int i = 0; i < posted; ++i) {
        ASSERT_TRUE(ds.gotoRecord(static_cast<std::uint32_t>(i + 1)));
        ASSERT_EQ(ds.fieldText("NAME"), "row " + std::to_string(i));
    }
    std::string problem = ds.checkIndex();
    if (!problem.empty()) {
        EXPECT_NE(problem.find("stale"), std::string::npos) << problem;
        ds.reindex();
    }
    EXPECT_EQ(ds.checkIndex(), "");
}

} // namespace
