#include "main/Bars.h"

#include "main/BarsSide.h"
#include "main/InfobaseDrag.h"
#include "settings/ErrorReport.h"
#include "widgets/SectionBar.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QVBoxLayout>
#include <QWidget>
#include <exception>

namespace mainwin {
namespace {

constexpr std::array<BarKind, 2> kKinds = {BarKind::Category, BarKind::Division};

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Puts a control into one of the window's places, filling it.
void fillPlace(QWidget* place, QWidget* control) {
    auto* layout = new QVBoxLayout(place);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(control);
}

} // namespace

Bars::Bars(const ClassificationHost& host, BarsServices services)
    : m_services(std::move(services)), m_nonParent(new QCheckBox(host.nonParentSlot)) {
    QWidget* window = host.categorySide ? host.categorySide->window() : nullptr;
    if (!m_services.showError) {
        m_services.showError = [window](const QString& text) {
            QMessageBox box(QMessageBox::Critical, qt(kErrorCaption), text, QMessageBox::Ok, window);
            box.exec();
        };
    }
    // Also called while the window is destroyed (a bar file not written): no parent then.
    if (!m_services.reportError)
        m_services.reportError = [](const std::string& message) { settings::showErrorReport(message, nullptr); };

    m_nonParent->setObjectName(QStringLiteral("cbxNonParent"));
    m_nonParent->setText(QStringLiteral(" только не отсортированные базы "));
    if (host.nonParentSlot)
        fillPlace(host.nonParentSlot, m_nonParent);
    connect(m_nonParent, &QCheckBox::clicked, this,
            [this](bool checked) { guarded([&] { m_logic->clickNonParent(checked); }); });

    for (BarKind kind : kKinds) {
        QWidget* place = kind == BarKind::Category ? host.categorySide : host.divisionSide;
        auto* side = new BarsSide(kind, place);
        if (place)
            fillPlace(place, side);
        m_sides[static_cast<std::size_t>(kind)] = side;
        side->attachFile(ClassificationFile(ClassificationFile::pathOf(m_services.directory, kind)),
                         m_services.reportError);
    }
    m_logic = std::make_unique<ClassificationRules>(*categorySide(), *divisionSide(), *m_services.data);
    m_logic->initCounters();
    for (BarKind kind : kKinds) {
        buildMenu(kind);
        wireSide(kind);
    }
    syncControls();
}

Bars::~Bars() = default;

void Bars::buildMenu(BarKind kind) {
    BarsSide* s = side(kind);
    BarMenu& m = m_menus[static_cast<std::size_t>(kind)];
    m.menu = new QMenu(s->bar());
    m.menu->setObjectName(kind == BarKind::Category ? QStringLiteral("pmuCategory") : QStringLiteral("pmuDivision"));
    auto add = [&](const char* name, const QString& text) {
        QAction* action = m.menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        return action;
    };
    m.addSection = add("pmiAddSection", QStringLiteral("Добавить секцию"));
    m.renameSection = add("pmiRenameSection", QStringLiteral("Переименовать секцию"));
    m.deleteSection = add("pmiDeleteSection", QStringLiteral("Удалить секцию"));
    m.menu->addSeparator();
    m.addItem = add("pmiAddItem", QStringLiteral("Добавить элемент"));
    m.renameItem = add("pmiRenameItem", QStringLiteral("Переименовать элемент"));
    m.deleteItem = add("pmiDeleteItem", QStringLiteral("Удалить элемент"));

    widgets::SectionBar* bar = s->bar();
    connect(m.addSection, &QAction::triggered, this,
            [this, kind, bar] { guarded([&] { bar->editSectionCaption(m_logic->addSection(kind)); }); });
    connect(m.renameSection, &QAction::triggered, this,
            [this, kind, bar] { bar->editSectionCaption(m_menus[static_cast<std::size_t>(kind)].section); });
    connect(m.deleteSection, &QAction::triggered, this, [this, kind] {
        guarded([&] { showRefusal(m_logic->removeSection(kind, m_menus[static_cast<std::size_t>(kind)].section)); });
    });
    connect(m.addItem, &QAction::triggered, this, [this, kind, bar] {
        guarded([&] {
            int item = m_logic->addItem(kind);
            if (item >= 0)
                bar->editItemCaption(bar->activeSection(), item);
        });
    });
    connect(m.renameItem, &QAction::triggered, this, [this, kind, bar] {
        bar->editItemCaption(bar->activeSection(), m_menus[static_cast<std::size_t>(kind)].item);
    });
    connect(m.deleteItem, &QAction::triggered, this, [this, kind] {
        guarded([&] { showRefusal(m_logic->removeItem(kind, m_menus[static_cast<std::size_t>(kind)].item)); });
    });

    bar->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(bar, &QWidget::customContextMenuRequested, this,
            [this, kind, bar](const QPoint& point) { prepareMenu(kind, point)->popup(bar->mapToGlobal(point)); });
}

void Bars::wireSide(BarKind kind) {
    BarsSide* s = side(kind);
    widgets::SectionBar* bar = s->bar();
    connect(bar, &widgets::SectionBar::itemClicked, this,
            [this, kind](int section, int item) { guarded([&] { m_logic->chooseItem(kind, section, item); }); });
    connect(s->filterBox(), &QCheckBox::clicked, this,
            [this, kind](bool checked) { guarded([&] { m_logic->clickBarSwitch(kind, checked); }); });
    bar->setDropFilter([](const QMimeData* mime, QObject*, const QPoint&) { return acceptsDrop(mime); });
    connect(bar, &widgets::SectionBar::dropped, this,
            [this, kind, bar](const QMimeData*, QObject*, const QPoint& point) {
                guarded([&] { m_logic->drop(kind, bar->sectionAt(point) < 0 ? bar->itemAt(point) : -1); });
            });
}

bool Bars::acceptsDrop(const QMimeData* data) {
    return data && data->hasFormat(QString::fromLatin1(kInfobaseMimeType));
}

QMenu* Bars::prepareMenu(BarKind kind, const QPoint& point) {
    widgets::SectionBar* bar = side(kind)->bar();
    BarMenu& m = m_menus[static_cast<std::size_t>(kind)];
    m.section = bar->sectionAt(point);
    m.item = m.section < 0 ? bar->itemAt(point) : -1;
    BarMenuState state = m_logic->menuState(kind, m.section, m.item);
    m.addSection->setEnabled(state.addSection);
    m.renameSection->setEnabled(state.renameSection);
    m.deleteSection->setEnabled(state.deleteSection);
    m.addItem->setEnabled(state.addItem);
    m.renameItem->setEnabled(state.renameItem);
    m.deleteItem->setEnabled(state.deleteItem);
    return m.menu;
}

void Bars::showRefusal(RemoveResult result) {
    std::string_view text;
    if (result == RemoveResult::SectionHasItems)
        text = kSectionHasItemsText;
    else if (result == RemoveResult::ItemInUse)
        text = kItemInUseText;
    else
        return;
    // The texts break their lines with CR LF; a label breaks on LF alone.
    m_services.showError(qt(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void Bars::setIdCounters() {
    m_logic->initCounters();
}

void Bars::restoreFilterState(const settings::IniFile& mainIni) {
    try {
        m_logic->restore(readFilterState(mainIni));
    } catch (...) {
        // The controls show what was restored before the error goes on to the caller.
        syncControls();
        throw;
    }
    syncControls();
}

void Bars::updateNonParentEnabling() {
    m_nonParent->setEnabled(m_logic->nonParentEnabled());
}

void Bars::saveFilterState(settings::IniFile& mainIni) {
    writeFilterState(mainIni, m_logic->filterState());
}

void Bars::setBarFill(bool gradient, std::uint32_t from, std::uint32_t to) {
    for (BarKind kind : kKinds) {
        if (gradient)
            side(kind)->bar()->setGradientFill(from, to);
        else
            side(kind)->bar()->setSolidFill(from);
    }
}

QWidget* Bars::nonParentBox() {
    return m_nonParent;
}

QWidget* Bars::categoryFilterBox() {
    return categorySide()->filterBox();
}

QWidget* Bars::divisionFilterBox() {
    return divisionSide()->filterBox();
}

void Bars::syncControls() {
    const FilterSwitches& switches = m_logic->switches();
    categorySide()->filterBox()->setChecked(switches.category);
    divisionSide()->filterBox()->setChecked(switches.division);
    m_nonParent->setChecked(switches.nonParent);
    m_nonParent->setEnabled(m_logic->nonParentEnabled());
    for (BarKind kind : kKinds)
        side(kind)->statusLabel()->setText(QString::fromStdString(m_logic->statusLine(kind)));
}

void Bars::guarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const std::exception& error) {
        m_services.reportError(error.what());
    }
    syncControls();
}

} // namespace mainwin
