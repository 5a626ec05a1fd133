#include "main/Bars.h"

#include "main/BarsSide.h"
#include "settings/ErrorReport.h"
#include "widgets/SectionBar.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QWidget>
#include <exception>

namespace mainwin {
namespace {

constexpr std::array<BarKind, 2> kKinds = {BarKind::Category, BarKind::Division};

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

} // namespace

Bars::Bars(QWidget* host, BarsServices services)
    : QObject(host), m_host(host), m_services(std::move(services)), m_nonParent(new QCheckBox(host)) {
    if (!m_services.showError) {
        m_services.showError = [host](const QString& text) {
            QMessageBox box(QMessageBox::Critical, qt(kErrorCaption), text, QMessageBox::Ok, host);
            box.exec();
        };
    }
    if (!m_services.reportError)
        m_services.reportError = [host](const std::string& message) { settings::showErrorReport(message, host); };

    m_nonParent->setObjectName(QStringLiteral("cbxNonParent"));
    m_nonParent->setText(QStringLiteral(" только не отсортированные базы "));
    connect(m_nonParent, &QCheckBox::clicked, this,
            [this](bool checked) { guarded([&] { m_logic->clickNonParent(checked); }); });

    for (BarKind kind : kKinds) {
        auto* side = new BarsSide(kind, host);
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
    bar->setDropFilter([this](const QMimeData*, QObject* source, const QPoint&) { return acceptsDragFrom(source); });
    connect(bar, &widgets::SectionBar::dropped, this,
            [this, kind, bar](const QMimeData*, QObject*, const QPoint& point) {
                guarded([&] { m_logic->drop(kind, bar->sectionAt(point) < 0 ? bar->itemAt(point) : -1); });
            });
}

bool Bars::acceptsDragFrom(const QObject* source) const {
    // A list view may start the drag from its viewport.
    return source && m_infobaseList && (source == m_infobaseList || source->parent() == m_infobaseList);
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

void Bars::startUp() {
    try {
        m_logic->startUp(*m_services.mainIni);
    } catch (...) {
        syncControls();
        throw;
    }
    syncControls();
}

void Bars::saveFilterState() {
    writeFilterState(*m_services.mainIni, m_logic->filterState());
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
