#include "explorer/Explorer.h"

#include "explorer/ExplorerImages.h"
#include "explorer/ExplorerPaths.h"
#include "explorer/FileListModel.h"
#include "platform/PathMapper.h"
#include "widgets/FolderTreeModel.h"
#include "widgets/FolderTreeView.h"

#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFileIconProvider>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QListView>
#include <QMenu>
#include <QScopedValueRollback>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace explorer {
namespace {

// The drop-down's items carry the index of the top entry they are under.
constexpr int kRootRole = Qt::UserRole + 1;

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

const char* const StartHints[2] = {" Режим запуска 1С:Предприятия: разделенный",
                                   " Режим запуска 1С:Предприятия: монопольный"};

// Shows picture `image` on a toolbar button and keeps its number for whoever looks.
void setImage(QToolButton* button, int image) {
    button->setIcon(explorerImage(image));
    button->setProperty("imageIndex", image);
}

QToolButton* toolButton(const char* name, const char* caption, const char* hint, int image) {
    auto* button = new QToolButton;
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text(caption));
    button->setToolTip(text(hint));
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus); // pressing a button never moves the focus off a shell control
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    setImage(button, image);
    return button;
}

void checkTag(QMenu* menu, int tag) {
    for (QAction* item : menu->actions())
        if (item->data().toInt() == tag)
            item->setChecked(true);
}

} // namespace

TfrmExplorer::TfrmExplorer(const platform::PathMapper& paths, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint),
      m_paths(paths), m_roots(widgets::folderRoots(paths)) {
    setObjectName(QStringLiteral("frmExplorer"));
    setWindowTitle(text("Проводник"));

    auto* toolbar = new QWidget;
    toolbar->setObjectName(QStringLiteral("tlbExplorer"));
    toolbar->setFixedHeight(25);
    buildToolbar(toolbar);
    buildViews();

    auto* splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("splExplorer"));
    splitter->setHandleWidth(2);
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(m_tvFolder);
    splitter->addWidget(m_stkFiles);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(toolbar);
    layout->addWidget(splitter, 1);

    resize(481, 360);
    splitter->setSizes({180, 481 - 180 - splitter->handleWidth()});
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - QPoint(width() / 2, height() / 2));

    if (!m_roots.empty())
        ShowFolder(m_roots.front().hostPath);
    m_tvFolder->setFocus();
}

TfrmExplorer::~TfrmExplorer() = default;

void TfrmExplorer::buildToolbar(QWidget* toolbar) {
    m_cmbFolder = new QComboBox;
    m_cmbFolder->setObjectName(QStringLiteral("cmbFolder"));
    m_cmbFolder->setFixedWidth(273);
    m_cmbFolder->setMaxVisibleItems(8);
    connect(m_cmbFolder, &QComboBox::activated, this, &TfrmExplorer::cmbFolderChange);

    m_btnUp = toolButton("btnUp", "Вверх", " Вверх", UpImage);
    connect(m_btnUp, &QToolButton::clicked, this, &TfrmExplorer::btnUpClick);

    m_pmuView = buildRadioMenu("pmuView", {"pmiLargeIcons", "pmiSmallIcons", "pmiList", "pmiReport"},
                               {"Крупные значки", "Мелкие значки", "Список", "Таблица"});
    m_btnView = toolButton("btnView", "Вид", " Вид", ViewImageBase);
    m_btnView->setMenu(m_pmuView);
    m_btnView->setPopupMode(QToolButton::InstantPopup);
    connect(m_pmuView, &QMenu::triggered, this, &TfrmExplorer::pmiViewClick);

    m_pmuStart = buildRadioMenu("pmuStart", {"pmiEnterprise", "pmiConfig", "pmiDebug", "pmiMonitor", "pmiBatch"},
                                {"Предприятие", "Конфигуратор", "Отладчик", "Монитор", "Пакетный"});
    m_btnStart = toolButton("btnStart", "Запуск 1С:Предприятия", " Запуск 1С:Предприятия", RegimeImageBase);
    m_btnStart->setProperty("tag", 0);
    m_btnStart->setMenu(m_pmuStart);
    m_btnStart->setPopupMode(QToolButton::MenuButtonPopup);
    connect(m_btnStart, &QToolButton::clicked, this, &TfrmExplorer::btnStartClick);
    connect(m_pmuStart, &QMenu::triggered, this, &TfrmExplorer::pmiStartClick);

    m_btnStartMode = toolButton("btnStartMode", "Режим запуска 1С:Предприятия", StartHints[0], SharedImage);
    m_btnStartMode->setCheckable(true);
    connect(m_btnStartMode, &QToolButton::toggled, this, &TfrmExplorer::btnStartModeClick);

    auto* row = new QHBoxLayout(toolbar);
    row->setContentsMargins(1, 0, 1, 0);
    row->setSpacing(1);
    row->addWidget(m_cmbFolder);
    for (QToolButton* button : {m_btnUp, m_btnView, m_btnStart, m_btnStartMode})
        row->addWidget(button);
    row->addStretch(1);
}

QMenu* TfrmExplorer::buildRadioMenu(const char* name, const std::vector<const char*>& names,
                                    const std::vector<const char*>& captions) {
    auto* menu = new QMenu(this);
    menu->setObjectName(QString::fromLatin1(name));
    auto* group = new QActionGroup(menu);
    group->setExclusive(true);
    for (std::size_t tag = 0; tag < names.size(); ++tag) {
        QAction* item = menu->addAction(text(captions[tag]));
        item->setObjectName(QString::fromLatin1(names[tag]));
        item->setCheckable(true);
        item->setData(static_cast<int>(tag));
        item->setChecked(tag == 0);
        group->addAction(item);
    }
    return menu;
}

void TfrmExplorer::buildViews() {
    m_tvFolder = new widgets::FolderTreeView(m_roots);
    m_tvFolder->setObjectName(QStringLiteral("tvFolder"));
    m_tvFolder->setMinimumWidth(50);
    connect(m_tvFolder->selectionModel(), &QItemSelectionModel::currentChanged, this,
            [this](const QModelIndex& current) { tvFolderChange(current); });

    m_fileModel = new FileListModel(this);
    connect(m_fileModel, &QFileSystemModel::fileRenamed, this,
            [this](const QString& folder, const QString&, const QString&) { onFileRenamed(folder); });

    const auto editTriggers = QAbstractItemView::EditKeyPressed | QAbstractItemView::SelectedClicked;
    m_lvFiles = new QListView;
    m_lvFiles->setObjectName(QStringLiteral("lvFiles"));
    m_lvFiles->setModel(m_fileModel);
    m_lvFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lvFiles->setEditTriggers(editTriggers);

    m_tvFiles = new QTreeView;
    m_tvFiles->setObjectName(QStringLiteral("tvFiles"));
    m_tvFiles->setModel(m_fileModel);
    m_tvFiles->setSelectionModel(m_lvFiles->selectionModel()); // one selection in every view style
    m_tvFiles->setRootIsDecorated(false);
    m_tvFiles->setItemsExpandable(false);
    m_tvFiles->setUniformRowHeights(true);
    m_tvFiles->setSelectionMode(QAbstractItemView::SingleSelection);
    m_tvFiles->setEditTriggers(editTriggers);
    m_tvFiles->header()->resizeSection(0, 180);

    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_lvFiles), static_cast<QAbstractItemView*>(m_tvFiles)})
        connect(view, &QAbstractItemView::activated, this, &TfrmExplorer::lvFilesOpen);

    m_stkFiles = new QStackedWidget;
    m_stkFiles->setObjectName(QStringLiteral("stkFiles"));
    m_stkFiles->addWidget(m_lvFiles);
    m_stkFiles->addWidget(m_tvFiles);
    m_stkFiles->setMinimumWidth(50);
    setViewStyle(0);
}

void TfrmExplorer::setStartEnterprise(StartEnterpriseHandler handler) {
    m_startEnterprise = std::move(handler);
}

int TfrmExplorer::explorerRegime() const {
    return m_btnStart->property("tag").toInt();
}

bool TfrmExplorer::explorerExclusive() const {
    return m_btnStartMode->isChecked();
}

std::string TfrmExplorer::SelectedDirectory() const {
    const QWidget* focused = focusWidget();
    std::optional<std::string> item;
    ShellControl control = ShellControl::Other;
    if (focused && (focused == m_cmbFolder || m_cmbFolder->isAncestorOf(focused))) {
        control = ShellControl::FolderDropDown;
        if (m_cmbFolder->currentIndex() >= 0)
            item = m_cmbFolder->currentData().toString().toStdString();
    } else if (focused == m_tvFolder) {
        control = ShellControl::FolderTree;
        if (const QModelIndex current = m_tvFolder->currentIndex(); current.isValid())
            item = m_tvFolder->folderModel()->hostPath(current);
    } else if (isFileView(focused)) {
        control = ShellControl::FileList;
        for (const QModelIndex& selected : m_lvFiles->selectionModel()->selectedIndexes())
            if (selected.column() == 0)
                item = m_fileModel->filePath(selected).toStdString();
    }
    return selectedDirectory(control, item, m_paths);
}

void TfrmExplorer::ShowFolder(const std::string& hostPath, int root) {
    if (m_moving)
        return;
    QScopedValueRollback<bool> moving(m_moving, true);
    m_folder = QDir::cleanPath(QString::fromStdString(hostPath)).toStdString();
    m_root = widgets::containingRoot(m_roots, m_folder, root >= 0 ? root : m_root);

    const QModelIndex listRoot = m_fileModel->setRootPath(QString::fromStdString(m_folder));
    m_lvFiles->setRootIndex(listRoot);
    m_tvFiles->setRootIndex(listRoot);
    m_lvFiles->selectionModel()->clear();

    m_tvFolder->selectHostPath(m_folder, m_root);

    fillDropDown();
}

void TfrmExplorer::fillDropDown() {
    m_cmbFolder->clear();
    const int holder = m_root;
    const QFileIconProvider icons;
    int current = -1;
    for (std::size_t i = 0; i < m_roots.size(); ++i) {
        const auto& root = m_roots[i];
        m_cmbFolder->addItem(icons.icon(QFileIconProvider::Folder), QString::fromStdString(root.caption),
                             QString::fromStdString(root.hostPath));
        m_cmbFolder->setItemData(m_cmbFolder->count() - 1, static_cast<int>(i), kRootRole);
        if (static_cast<int>(i) != holder)
            continue;
        current = m_cmbFolder->count() - 1;
        const auto chain = widgets::folderChain(root.hostPath, m_folder);
        for (std::size_t depth = 1; depth < chain.size(); ++depth) {
            const QString name = QString::fromStdString(chain[depth]).section(QLatin1Char('/'), -1);
            m_cmbFolder->addItem(icons.icon(QFileIconProvider::Folder),
                                 QString(static_cast<int>(depth) * 3, u' ') + name,
                                 QString::fromStdString(chain[depth]));
            m_cmbFolder->setItemData(m_cmbFolder->count() - 1, static_cast<int>(i), kRootRole);
            current = m_cmbFolder->count() - 1;
        }
    }
    m_cmbFolder->setCurrentIndex(current);
}

void TfrmExplorer::btnStartClick() {
    if (m_startEnterprise)
        m_startEnterprise(app::LaunchSource::lsExplorer);
}

void TfrmExplorer::pmiStartClick(QAction* item) {
    const int tag = item->data().toInt();
    m_btnStart->setProperty("tag", tag);
    setImage(m_btnStart, tag + RegimeImageBase);
    checkTag(m_pmuStart, tag);
    btnStartClick();
}

void TfrmExplorer::btnStartModeClick(bool pressed) {
    setImage(m_btnStartMode, pressed ? ExclusiveImage : SharedImage);
    m_btnStartMode->setToolTip(text(StartHints[pressed ? 1 : 0]));
}

void TfrmExplorer::pmiViewClick(QAction* item) {
    const int tag = item->data().toInt();
    setViewStyle(tag);
    setImage(m_btnView, tag + ViewImageBase);
    checkTag(m_pmuView, tag);
}

void TfrmExplorer::setViewStyle(int style) {
    const bool hadFocus = isFileView(focusWidget());
    m_viewStyle = style;
    if (style == 3) {
        m_stkFiles->setCurrentWidget(m_tvFiles);
    } else {
        const bool icons = style == 0;
        m_lvFiles->setViewMode(icons ? QListView::IconMode : QListView::ListMode);
        m_lvFiles->setMovement(QListView::Static);
        m_lvFiles->setResizeMode(QListView::Adjust);
        m_lvFiles->setIconSize(icons ? QSize(32, 32) : QSize(16, 16));
        m_lvFiles->setFlow(style == 2 ? QListView::TopToBottom : QListView::LeftToRight);
        m_lvFiles->setWrapping(true);
        m_lvFiles->setWordWrap(icons);
        m_lvFiles->setGridSize(icons ? QSize(80, 64) : style == 1 ? QSize(150, 20) : QSize());
        m_lvFiles->setUniformItemSizes(style == 2);
        m_stkFiles->setCurrentWidget(m_lvFiles);
    }
    if (hadFocus)
        fileView()->setFocus();
}

void TfrmExplorer::btnUpClick() {
    ShowFolder(folderAbove(m_roots, m_folder));
}

void TfrmExplorer::tvFolderChange(const QModelIndex& current) {
    if (current.isValid())
        ShowFolder(m_tvFolder->folderModel()->hostPath(current), m_tvFolder->folderModel()->rootOf(current));
}

void TfrmExplorer::cmbFolderChange(int item) {
    if (item >= 0)
        ShowFolder(m_cmbFolder->itemData(item).toString().toStdString(),
                   m_cmbFolder->itemData(item, kRootRole).toInt());
}

void TfrmExplorer::lvFilesOpen(const QModelIndex& item) {
    if (item.isValid() && m_fileModel->isDir(item))
        ShowFolder(m_fileModel->filePath(item).toStdString());
}

void TfrmExplorer::onFileRenamed(const QString& folder) {
    m_tvFolder->folderModel()->reload(QDir::cleanPath(folder).toStdString());
}

QAbstractItemView* TfrmExplorer::fileView() const {
    return m_viewStyle == 3 ? static_cast<QAbstractItemView*>(m_tvFiles) : m_lvFiles;
}

bool TfrmExplorer::isFileView(const QWidget* widget) const {
    return widget && (widget == m_lvFiles || widget == m_tvFiles || m_lvFiles->isAncestorOf(widget) ||
                      m_tvFiles->isAncestorOf(widget));
}

} // namespace explorer
