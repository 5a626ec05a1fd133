#pragma once
#include "widgets/FolderRoots.h"

#include <QTreeView>

#include <string>
#include <vector>

namespace widgets {

class FolderTreeModel;

// A view of its own FolderTreeModel: one column without a header, one folder selected at a
// time, nothing edited in place. A right click selects the folder under the pointer.
class FolderTreeView : public QTreeView {
    Q_OBJECT
public:
    explicit FolderTreeView(std::vector<FolderRoot> roots, QWidget* parent = nullptr);

    FolderTreeModel* folderModel() const { return m_model; }

    // Host path of the selected folder; empty when none is selected.
    std::string selectedHostPath() const;
    // Opens the tree down to a host folder, selects it and scrolls to it. A folder no longer on
    // disk selects its deepest existing ancestor; a path that no top entry holds leaves nothing
    // selected. True when the folder itself was found.
    bool selectHostPath(const std::string& hostPath, int preferredRoot = -1);

private:
    FolderTreeModel* m_model;
};

} // namespace widgets
