#pragma once
#include "registry/TitlesSync.h"

#include <QWidget>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPushButton;
class QSplitter;
class QToolButton;

namespace platform {
class Registry;
}

namespace registry {

class FolderStore;
class ReestrUi;
class TitlesGrid;
class UnaccountedList;

// Unit Reestr: the registry synchronisation window. It shows 1C:Enterprise's Titles key (vedReestr)
// beside the entries whose directory table folder lacks (clbReestr), imports the ones the user
// picks and edits, exports and imports the key. Modeless and created once; every showing refreshes
// the lists, closing only hides. Command errors go to the general error report and end the command.
class TfrmReestr : public QWidget {
    Q_OBJECT
public:
    // mainWindow: owner and centre of the window; the registry, table folder and dialogs stay owned
    // by the caller and must outlive the window.
    TfrmReestr(QWidget* mainWindow, platform::Registry& registry, FolderStore& folders, ReestrUi& ui);
    ~TfrmReestr() override;

    // Rereads the Titles key and recomputes the unaccounted list. Raises what the registry (a
    // value that is not a string) or the table raise; both lists are then empty.
    void RefreshTitles();
    // Adds every checked item (ImportChecked) or the highlighted one (ImportSelected) to table
    // folder; rows that cannot be posted are dropped silently. The lists are left as they are.
    void ImportChecked();
    void ImportSelected();
    // Sets every check mark of the unaccounted list to the flag (1 checks, 0 unchecks).
    void CheckAll(int flag);
    void Invert();

    // What a drop on the infobase list imports: 0 the checked items, 1 the highlighted one. Set by
    // the last left (0) or right (1) press in the unaccounted list.
    std::uint8_t DragImportMode = 0;
    // True for a drag that started in the unaccounted list.
    bool isUnaccountedDrag(const QObject* source) const;
    // The drop on the main window's infobase list: the import DragImportMode chooses, then
    // RefreshTitles. Errors go to the general error report.
    void dropOnInfobaseList();

    // The Titles list as last refreshed, and the unaccounted lines as shown.
    const std::vector<TitleEntry>& titles() const;
    std::vector<std::string> unaccounted() const;

signals:
    // Rows were added to table folder: views of it should refresh.
    void foldersImported();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTools();
    void buildLists();
    void buildBottomRow();
    // Runs a command; an error reaches the general error report and ends it.
    void guarded(const std::function<void()>& command);
    void importLines(const QStringList& lines);

    void btnKeyEditClick();
    void btnDeleteClick();
    void btnExportClick();
    void btnImportClick();
    void btnCheckClick();

    platform::Registry& m_registry;
    FolderStore& m_folders;
    ReestrUi& m_ui;
    TitlesGrid* m_titles = nullptr;
    UnaccountedList* m_unaccounted = nullptr;
    QSplitter* m_splitter = nullptr;
    QToolButton* m_btnNew = nullptr;
    QToolButton* m_btnEdit = nullptr;
};

} // namespace registry
