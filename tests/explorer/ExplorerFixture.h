#pragma once
#include "explorer/Explorer.h"
#include "platform/fake/FakePathMapper.h"
#include "support/TempDir.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QFileSystemModel>
#include <QThread>
#include <QTreeView>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace explorertest {

namespace fs = std::filesystem;

// Runs the event loop until the condition holds; the bound only keeps a broken test from hanging.
inline bool waitUntil(const std::function<bool()>& condition) {
    const auto give_up = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > give_up)
            return false;
        QApplication::processEvents();
        QThread::msleep(2);
    }
    return true;
}

// One launch as the launcher would see it: what the window answers at the moment of the call.
struct SeenLaunch {
    app::LaunchSource source;
    int regime;
    bool exclusive;
    std::string directory;
};

// A home folder and a Wine prefix's drive_c in a temporary directory; C: is drive_c, Z: is "/".
class ExplorerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        home = dir.path() / "home";
        c = dir.path() / "prefix" / "drive_c";
        fs::create_directories(home);
        fs::create_directories(c / "My Bases" / "Trade");
        fs::create_directories(c / "Bases" / "Trade");
        fs::create_directories(c / ".hidden");
        testsupport::writeFile(c / "Bases" / "readme.txt", "x");
        paths.addDrive('c', c.string());
        paths.addDrive('z', "/");

        const char* oldHome = std::getenv("HOME");
        const std::string saved = oldHome ? oldHome : "";
        setenv("HOME", home.c_str(), 1);
        window = std::make_unique<explorer::TfrmExplorer>(paths);
        setenv("HOME", saved.c_str(), 1);
        window->setStartEnterprise([this](app::LaunchSource source) {
            launches.push_back(
                {source, window->explorerRegime(), window->explorerExclusive(), window->SelectedDirectory()});
        });
    }

    template <class T> T* child(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    QTreeView* tree() const { return child<QTreeView>("tvFolder"); }
    QAbstractItemView* list() const { return child<QAbstractItemView>("lvFiles"); }
    QFileSystemModel* files() const { return qobject_cast<QFileSystemModel*>(list()->model()); }

    // The list's row of a host path, once the list has read its folder. Persistent: the list
    // sorts its rows after reading them.
    QPersistentModelIndex fileItem(const fs::path& host) const {
        QModelIndex found;
        waitUntil([&] {
            const QModelIndex root = list()->rootIndex();
            for (int row = 0; row < files()->rowCount(root); ++row) {
                const QModelIndex item = files()->index(row, 0, root);
                if (files()->filePath(item) == QString::fromStdString(host.string()))
                    found = item;
            }
            return found.isValid();
        });
        return QPersistentModelIndex(found);
    }

    // The tree's node of a host path, reached by expanding from the top like a user would.
    QModelIndex treeNode(const std::vector<QString>& captions) const {
        QAbstractItemModel* model = tree()->model();
        QModelIndex node;
        for (const QString& caption : captions) {
            if (model->canFetchMore(node))
                model->fetchMore(node);
            QModelIndex next;
            for (int row = 0; row < model->rowCount(node); ++row)
                if (model->index(row, 0, node).data().toString() == caption)
                    next = model->index(row, 0, node);
            if (!next.isValid())
                return {};
            node = next;
        }
        return node;
    }

    testsupport::TempDir dir;
    fs::path home;
    fs::path c;
    platform::FakePathMapper paths;
    std::unique_ptr<explorer::TfrmExplorer> window;
    std::vector<SeenLaunch> launches;
};

} // namespace explorertest
