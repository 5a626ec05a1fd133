#pragma once
#include "widgets/FolderRoots.h"

#include <QTreeWidget>

#include <string>
#include <vector>

namespace dialogs {

// A tree of the file system's folders under a few top entries, read when a folder is first
// opened: folders only, hidden ones included, sorted by name without regard to case. A right
// click selects the folder under the pointer.
class FolderTree : public QTreeWidget {
    Q_OBJECT
public:
    explicit FolderTree(const std::vector<widgets::FolderRoot>& roots, QWidget* parent = nullptr);

    // Host path of the selected folder; empty when none is selected.
    std::string selectedHostPath() const;
    // Opens the tree down to a host folder and selects it; false when no top entry holds it.
    bool selectHostPath(const std::string& hostPath);

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    void populate(QTreeWidgetItem* item);
};

} // namespace dialogs
