#pragma once
#include "main/Classification.h"
#include "main/ClassificationRules.h"

#include <QObject>
#include <array>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QCheckBox;
class QMenu;
class QMimeData;
class QWidget;

namespace settings {
class IniFile;
}

namespace mainwin {

class BarsSide;

// What the bars are given by the main window.
struct BarsServices {
    ClassificationData* data = nullptr; // the data module (required)
    // Keeps the data module's view alive as long as the bars, when they are its only user.
    std::shared_ptr<ClassificationData> dataOwner;
    // Folder of category.cfg and division.cfg; empty: the current directory (the program's).
    std::filesystem::path directory;
    // The refusal boxes (caption "Error", error icon, OK); a message box when empty.
    std::function<void(const QString& text)> showError;
    // The application's general error report (an engine error, a bar file that cannot be written);
    // the "Tarvesk" message box when empty.
    std::function<void(const std::string& message)> reportError;
};

// The category and division bars of the main window as one component: the two sides (caption
// strip with the filter box, bar, status line), the box cbxNonParent, the context menus, drops of
// infobases, and the bar files. The controls fill the window's places and belong to them; each
// side writes its bar file when it is destroyed, so the files are written however the program
// ends, also after this object is gone.
class Bars : public QObject, public Classification {
    Q_OBJECT
public:
    // Builds the controls into the places and loads both bar files.
    Bars(const ClassificationHost& host, BarsServices services);
    ~Bars() override;

    // Classification
    void setIdCounters() override;
    void restoreFilterState(const settings::IniFile& mainIni) override;
    void updateNonParentEnabling() override;
    void saveFilterState(settings::IniFile& mainIni) override;
    void setBarFill(bool gradient, std::uint32_t from, std::uint32_t to) override;
    QWidget* nonParentBox() override;
    QWidget* categoryFilterBox() override;
    QWidget* divisionFilterBox() override;

    BarsSide* side(BarKind kind) const { return m_sides[static_cast<std::size_t>(kind)]; }
    BarsSide* categorySide() const { return side(BarKind::Category); }
    BarsSide* divisionSide() const { return side(BarKind::Division); }
    QCheckBox* nonParent() const { return m_nonParent; }
    QMenu* menu(BarKind kind) const { return m_menus[static_cast<std::size_t>(kind)].menu; }
    ClassificationRules& logic() { return *m_logic; }

    // Drops are accepted only when they carry an infobase of the infobase list (kInfobaseMimeType).
    static bool acceptsDrop(const QMimeData* data);

    // Sets the enabling of the bar's context menu for a point in the bar's coordinates and
    // remembers the section and item under it; what a right click does before the menu pops up.
    QMenu* prepareMenu(BarKind kind, const QPoint& point);

private:
    struct BarMenu {
        QMenu* menu = nullptr;
        QAction* addSection = nullptr;
        QAction* renameSection = nullptr;
        QAction* deleteSection = nullptr;
        QAction* addItem = nullptr;
        QAction* renameItem = nullptr;
        QAction* deleteItem = nullptr;
        int section = -1; // under the point where the menu was opened
        int item = -1;
    };

    void buildMenu(BarKind kind);
    void wireSide(BarKind kind);
    void syncControls();
    void showRefusal(RemoveResult result);
    // Runs a handler; an error it raises goes to the general error report.
    void guarded(const std::function<void()>& handler);

    BarsServices m_services;
    std::array<BarsSide*, 2> m_sides{};
    QCheckBox* m_nonParent;
    std::array<BarMenu, 2> m_menus;
    std::unique_ptr<ClassificationRules> m_logic;
};

} // namespace mainwin
