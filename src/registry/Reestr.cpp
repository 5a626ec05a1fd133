#include "registry/Reestr.h"

#include "app/Common.h"
#include "registry/FolderStore.h"
#include "registry/ReestrUi.h"
#include "registry/TitlesFile.h"
#include "registry/TitlesGrid.h"
#include "registry/TitlesImport.h"
#include "registry/UnaccountedList.h"
#include "registry/WindowPlacement.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QStyleOptionButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace registry {

namespace {

constexpr int ClientWidth = 472;
constexpr int ClientHeight = 333;
constexpr int TitlesHeight = 161;
constexpr int TitlesMinHeight = 82;

QToolButton* flatButton(const char* name, const QString& text, QWidget* parent) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setText(text);
    button->setIconSize(QSize(16, 16));
    // The five captions of the tool row fill the window's width: they go without pictures.
    button->setToolButtonStyle(text.isEmpty() ? Qt::ToolButtonIconOnly : Qt::ToolButtonTextOnly);
    return button;
}

// A 16x16 picture of a check box in the given state, drawn by the style, for the check buttons.
QIcon checkBoxIcon(QWidget* widget, QStyle::StateFlag state) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    QStyleOptionButton option;
    option.initFrom(widget);
    option.rect = QRect(1, 1, 14, 14);
    option.state = QStyle::State_Enabled | state;
    widget->style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &option, &painter, widget);
    return QIcon(pixmap);
}

QStringList toQt(const std::vector<std::string>& lines) {
    QStringList out;
    for (const auto& line : lines)
        out << QString::fromStdString(line);
    return out;
}

} // namespace

TfrmReestr::TfrmReestr(QWidget* mainWindow, platform::Registry& registry, FolderStore& folders, ReestrUi& ui)
    : QWidget(mainWindow, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint),
      m_registry(registry), m_folders(folders), m_ui(ui) {
    setObjectName(QStringLiteral("frmReestr"));
    setWindowTitle(QStringLiteral("Синхронизация информационных баз с реестром"));
    setFixedSize(ClientWidth, ClientHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->setSpacing(2);
    buildTools();
    buildLists();
    buildBottomRow();
    setTabOrder(m_titles, m_unaccounted);
}

TfrmReestr::~TfrmReestr() = default;

void TfrmReestr::buildTools() {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(2, 2, 2, 0);
    row->setSpacing(0);
    m_btnNew = flatButton("btnNewKey", QStringLiteral("Новый"), this);
    m_btnEdit = flatButton("btnEditKey", QStringLiteral("Изменить"), this);
    auto* remove = flatButton("btnDeleteKey", QStringLiteral("Удалить"), this);
    auto* exportKeys = flatButton("btnExportKeys", QStringLiteral("Экспорт в файл"), this);
    auto* importKeys = flatButton("btnImportKeys", QStringLiteral("Импорт из файла"), this);
    for (QToolButton* button : {m_btnNew, m_btnEdit, remove, exportKeys, importKeys})
        row->addWidget(button);
    row->addStretch();
    connect(m_btnNew, &QToolButton::clicked, this, &TfrmReestr::btnKeyEditClick);
    connect(m_btnEdit, &QToolButton::clicked, this, &TfrmReestr::btnKeyEditClick);
    connect(remove, &QToolButton::clicked, this, &TfrmReestr::btnDeleteClick);
    connect(exportKeys, &QToolButton::clicked, this, &TfrmReestr::btnExportClick);
    connect(importKeys, &QToolButton::clicked, this, &TfrmReestr::btnImportClick);
    static_cast<QVBoxLayout*>(this->layout())->addLayout(row);
}

void TfrmReestr::buildLists() {
    m_splitter = new QSplitter(Qt::Vertical, this);
    m_splitter->setObjectName(QStringLiteral("splReestr"));
    m_splitter->setChildrenCollapsible(false);
    m_titles = new TitlesGrid(m_splitter);
    m_titles->setObjectName(QStringLiteral("vedReestr"));
    m_titles->setMinimumHeight(TitlesMinHeight);

    auto* lower = new QWidget(m_splitter);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    auto* header = new QLabel(QStringLiteral("Неучтенные информационные базы"), lower);
    header->setObjectName(QStringLiteral("hdrReestr"));
    header->setFrameStyle(QFrame::Panel | QFrame::Raised);
    header->setContentsMargins(4, 1, 4, 1);
    lowerLayout->addWidget(header);

    auto* listRow = new QHBoxLayout;
    listRow->setSpacing(0);
    m_unaccounted = new UnaccountedList(lower);
    m_unaccounted->setObjectName(QStringLiteral("clbReestr"));
    listRow->addWidget(m_unaccounted, 1);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(1, 0, 1, 0);
    column->setSpacing(0);
    auto* checkAll = flatButton("btnCheckAll", QString(), lower);
    checkAll->setIcon(checkBoxIcon(lower, QStyle::State_On));
    checkAll->setToolTip(QStringLiteral(" Отметить все"));
    checkAll->setProperty("flag", 1);
    auto* uncheckAll = flatButton("btnUncheckAll", QString(), lower);
    uncheckAll->setIcon(checkBoxIcon(lower, QStyle::State_Off));
    uncheckAll->setToolTip(QStringLiteral(" Сбросить все"));
    uncheckAll->setProperty("flag", 0);
    auto* invert = flatButton("btnInvert", QString(), lower);
    invert->setIcon(checkBoxIcon(lower, QStyle::State_NoChange));
    invert->setToolTip(QStringLiteral(" Инвертировать"));
    for (QToolButton* button : {checkAll, uncheckAll, invert})
        column->addWidget(button);
    column->addStretch();
    listRow->addLayout(column);
    lowerLayout->addLayout(listRow, 1);

    m_splitter->addWidget(m_titles);
    m_splitter->addWidget(lower);
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({TitlesHeight, ClientHeight});
    static_cast<QVBoxLayout*>(layout())->addWidget(m_splitter, 1);

    connect(checkAll, &QToolButton::clicked, this, &TfrmReestr::btnCheckClick);
    connect(uncheckAll, &QToolButton::clicked, this, &TfrmReestr::btnCheckClick);
    connect(invert, &QToolButton::clicked, this, &TfrmReestr::Invert);
    connect(m_unaccounted, &UnaccountedList::buttonPressed, this,
            [this](Qt::MouseButton button) { DragImportMode = button == Qt::RightButton ? 1 : 0; });
}

void TfrmReestr::buildBottomRow() {
    auto* row = new QHBoxLayout;
    row->setContentsMargins(4, 2, 4, 0);
    row->addStretch();
    auto addButton = [this, row](const char* name, const QString& caption, auto handler) {
        auto* button = new QPushButton(caption, this);
        button->setObjectName(QString::fromLatin1(name));
        QFont font = button->font();
        font.setBold(true);
        button->setFont(font);
        row->addWidget(button);
        connect(button, &QPushButton::clicked, this, handler);
    };
    addButton("btnOK", QStringLiteral("OK"), [this] {
        guarded([this] {
            ImportChecked();
            close();
        });
    });
    addButton("btnCancel", QStringLiteral("Отмена"), [this] { close(); });
    addButton("btnApply", QStringLiteral("Применить"), [this] {
        guarded([this] {
            ImportChecked();
            RefreshTitles();
        });
    });
    addButton("btnRefresh", QStringLiteral("Обновить"), [this] { guarded([this] { RefreshTitles(); }); });
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

void TfrmReestr::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        m_ui.reportError(this, error.what());
    }
}

void TfrmReestr::RefreshTitles() {
    m_titles->setEntries({});
    m_unaccounted->setLines({});
    auto entries = readTitles(m_registry);
    const auto lines = unaccountedLines(entries, m_folders);
    m_titles->setEntries(entries);
    m_unaccounted->setLines(toQt(lines));
}

void TfrmReestr::importLines(const QStringList& lines) {
    bool added = false;
    try {
        for (const QString& line : lines)
            added = importLine(m_folders, line.toStdString()) || added;
    } catch (...) {
        if (added)
            emit foldersImported();
        throw;
    }
    if (added)
        emit foldersImported();
}

void TfrmReestr::ImportChecked() {
    importLines(m_unaccounted->checkedLines());
}

void TfrmReestr::ImportSelected() {
    if (const auto line = m_unaccounted->highlightedLine())
        importLines({*line});
}

void TfrmReestr::CheckAll(int flag) {
    m_unaccounted->setAllChecked(flag != 0);
}

void TfrmReestr::Invert() {
    m_unaccounted->invertChecks();
}

void TfrmReestr::btnCheckClick() {
    CheckAll(sender()->property("flag").toInt());
}

bool TfrmReestr::isUnaccountedDrag(const QObject* source) const {
    return source && source == m_unaccounted;
}

void TfrmReestr::dropOnInfobaseList() {
    guarded([this] {
        if (DragImportMode == 0)
            ImportChecked();
        else
            ImportSelected();
        RefreshTitles();
    });
}

const std::vector<TitleEntry>& TfrmReestr::titles() const {
    return m_titles->entries();
}

std::vector<std::string> TfrmReestr::unaccounted() const {
    std::vector<std::string> lines;
    for (int row = 0; row < m_unaccounted->count(); ++row)
        lines.push_back(m_unaccounted->item(row)->text().toStdString());
    return lines;
}

void TfrmReestr::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        centerOn(*this, parentWidget());
        guarded([this] { RefreshTitles(); });
        m_titles->setFocus();
    }
    QWidget::showEvent(event);
}

void TfrmReestr::btnKeyEditClick() {
    guarded([this, existing = sender() == m_btnEdit] {
        QString name;
        QString path;
        if (existing) {
            if (const TitleEntry* entry = m_titles->currentEntry()) {
                name = QString::fromStdString(entry->title);
                path = QString::fromStdString(entry->name);
            }
        }
        const auto result = m_ui.editKey(this, name, path);
        if (!result)
            return;
        app::TitleWrite(m_registry, result->path.toStdString(), result->name.toStdString());
        RefreshTitles();
    });
}

void TfrmReestr::btnDeleteClick() {
    guarded([this] {
        const TitleEntry* entry = m_titles->currentEntry();
        if (!entry || !m_ui.confirmDelete(this))
            return;
        app::TitleDelete(m_registry, entry->name);
        RefreshTitles();
    });
}

void TfrmReestr::btnExportClick() {
    guarded([this] {
        const QString file = m_ui.exportFileName(this);
        if (file.isEmpty())
            return;
        std::vector<std::string> lines;
        for (const auto& entry : m_titles->entries())
            lines.push_back(entry.line());
        saveTitlesFile(file.toStdString(), lines);
    });
}

void TfrmReestr::btnImportClick() {
    guarded([this] {
        const auto asker = m_ui.keyExistsAsker(this);
        const QString file = m_ui.importFileName(this);
        if (file.isEmpty())
            return;
        const auto entries = loadTitlesFile(file.toStdString());
        importTitles(m_registry, entries, *asker);
        RefreshTitles();
    });
}

} // namespace registry
