#include "main/Main.h"

#include "app/Common.h"
#include "main/About.h"
#include "main/AppearancePlan.h"
#include "main/ApplicationWindows.h"
#include "main/InfobaseDrag.h"
#include "main/MainCommands.h"
#include "main/MainPictures.h"
#include "main/MainTray.h"
#include "main/WindowPosition.h"
#include "settings/ControlMap.h"
#include "settings/IniFile.h"
#include "settings/Setup.h"
#include "widgets/ColorValue.h"
#include "widgets/ShapeButton.h"
#include "widgets/TextContrast.h"
#include "widgets/TrayHost.h"
#include "widgets/TrayIcon.h"

#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDragEnterEvent>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QStyledItemDelegate>
#include <QSystemTrayIcon>
#include <QToolButton>
#include <QUrl>

#include <exception>

namespace mainwin {

namespace {

constexpr int kClientWidth = 513;
constexpr int kClientHeight = 424;

void setTextColor(QWidget* widget, const QColor& color) {
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, color);
    widget->setPalette(palette);
}

// The labels' own colours, as on the default light background.
const QColor kPathColor(0, 0, 128); // navy
const QColor kUserColor(128, 0, 0); // maroon
const QColor kExclusiveColor(Qt::red);

} // namespace

TfrmMain::TfrmMain(MainContext context, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint),
      m_context(std::move(context)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Tarvesk"));
    setFixedSize(kClientWidth, kClientHeight);
    setFont(QFont(QStringLiteral("DejaVu Sans"), 8));
    setAcceptDrops(true);

    // 1. The application's minimise handling.
    ApplicationWindows::Rules rules;
    rules.sysTray = [this] { return m_settingsView && m_settingsView->sysTray(); };
    rules.trayAvailable = m_context.trayAvailable
                              ? m_context.trayAvailable
                              : std::function<bool()>([] { return QSystemTrayIcon::isSystemTrayAvailable(); });
    rules.terminate =
        m_context.terminate ? m_context.terminate : std::function<void()>([] { QCoreApplication::exit(0); });
    rules.otherWindows = [this] { return QList<QWidget*>{m_explorer, m_registry}; };
    m_app = new ApplicationWindows(this, std::move(rules), this);
    m_tray = new MainTray(std::move(m_context.trayHost), this);
    connect(m_tray, &MainTray::settingsRequested, this, &TfrmMain::openSettings);
    connect(m_tray, &MainTray::restoreRequested, this, &TfrmMain::RestoreApplication);
    connect(m_tray, &MainTray::minimizeRequested, m_app, &ApplicationWindows::minimizeApplication);
    connect(m_tray, &MainTray::terminateRequested, m_app, &ApplicationWindows::terminateApplication);

    buildActions();
    buildTopStrip();
    buildProgramGroup();
    buildFolderGroup();
    buildBottom();
    buildMenus();
    if (m_context.classification)
        m_classification = m_context.classification(m_host);

    // 2. The place of the window.
    placeWindow();
    // 3. "Предприятие", without the list's change handling.
    {
        const QSignalBlocker block(m_cmbStartRegime);
        m_cmbStartRegime->setCurrentIndex(0);
    }
    // 4.-6. The bars: id counters, the remembered filter, cbxNonParent's enabling.
    if (m_classification) {
        guarded([this] {
            m_classification->setIdCounters();
            if (m_context.mainIni && m_context.mainIni->readBool("Common", "cbxFilter_Checked", false))
                m_classification->restoreFilterState(*m_context.mainIni);
            m_classification->updateNonParentEnabling();
        });
    }
    setFocusOrder();
    qApp->installEventFilter(this);
    m_cmbStartRegime->setFocus();
    updateRowTexts();
}

TfrmMain::~TfrmMain() {
    qApp->removeEventFilter(this);
    setAcceptDrops(false);
}

// ---------------------------------------------------------------------------------------------
// Layout

widgets::ShapeButton* TfrmMain::addShapeButton(QWidget* parent, const char* name, const QString& text, bool bold) {
    auto* button = new widgets::ShapeButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setBold(bold);
    return button;
}

void TfrmMain::buildTopStrip() {
    m_toolPanel = new QWidget(this);
    m_toolPanel->setObjectName(QStringLiteral("pnlTool"));
    m_toolPanel->setAutoFillBackground(true);
    m_toolPanel->setGeometry(0, 0, 88, 32);
    struct Tool {
        const char* name;
        MainPictures::Tool picture;
        const char* hint;
        void (TfrmMain::*slot)();
    };
    const Tool tools[] = {
        {"btnSetup", MainPictures::Tool::Settings, " Настройки программы", &TfrmMain::openSettings},
        {"btnReestr", MainPictures::Tool::Registry, " Импорт зарегистрированных\n в реестре информационных баз",
         &TfrmMain::showRegistry},
        {"btnAbout", MainPictures::Tool::About, " О программе", &TfrmMain::showAbout},
    };
    int x = 3;
    for (const Tool& tool : tools) {
        auto* button = new QToolButton(m_toolPanel);
        button->setObjectName(QString::fromLatin1(tool.name));
        button->setAutoRaise(true);
        button->setIcon(MainPictures::toolIcon(tool.picture));
        button->setIconSize(QSize(20, 20));
        button->setToolTip(QString::fromUtf8(tool.hint));
        button->setGeometry(x, 3, 26, 26);
        button->setFocusPolicy(Qt::TabFocus);
        connect(button, &QToolButton::clicked, this, tool.slot);
        x += 28;
    }

    auto* lblRegime = new QLabel(QStringLiteral("Режим"), this);
    lblRegime->setObjectName(QStringLiteral("lblRegime"));
    lblRegime->setGeometry(94, 6, 40, 20);
    m_cmbStartRegime = new QComboBox(this);
    m_cmbStartRegime->setObjectName(QStringLiteral("cmbStartRegime"));
    m_cmbStartRegime->setEditable(false);
    const char* regimes[] = {"Предприятие", "Конфигуратор", "Отладчик", "Монитор", "Пакетный"};
    for (int i = 0; i < 5; ++i)
        m_cmbStartRegime->addItem(MainPictures::regimeIcon(i), QString::fromUtf8(regimes[i]));
    // Wide enough to show the longest regime ("Конфигуратор") whole when closed; what follows on
    // the row moves along, and the Start button takes the rest.
    m_cmbStartRegime->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    m_cmbStartRegime->setGeometry(134, 5, std::max(126, m_cmbStartRegime->sizeHint().width()), 22);
    // Items drawn as list rows, not as menu entries with a check-mark column: the drop-down is made
    // as wide as its longest caption ("Конфигуратор") and nothing is cut.
    m_cmbStartRegime->setItemDelegate(new QStyledItemDelegate(m_cmbStartRegime));
    lblRegime->setBuddy(m_cmbStartRegime);
    connect(m_cmbStartRegime, &QComboBox::currentIndexChanged, this, &TfrmMain::cmbStartRegimeChange);

    m_cbxStartMode = new QCheckBox(QStringLiteral(" Монопольно "), this);
    m_cbxStartMode->setObjectName(QStringLiteral("cbxStartMode"));
    m_cbxStartMode->setToolTip(QStringLiteral(" Клавиша М - изменение режима"));
    const int afterRegime = m_cmbStartRegime->geometry().right() + 7;
    m_cbxStartMode->setGeometry(afterRegime, 6, std::max(104, m_cbxStartMode->sizeHint().width()), 20);
    connect(m_cbxStartMode, &QCheckBox::toggled, this, &TfrmMain::cbxStartModeClick);

    auto* start = addShapeButton(this, "btnStart", QStringLiteral("Старт"), true);
    const int startLeft = std::max(374, m_cbxStartMode->geometry().right() + 5);
    start->setGeometry(startLeft, 4, kClientWidth - 4 - startLeft, 24);
    start->installEventFilter(this);
    connect(start, &QAbstractButton::clicked, this, &TfrmMain::btnStartClick);
    m_buttons[static_cast<int>(MainButton::Start)] = start;
}

void TfrmMain::buildProgramGroup() {
    m_gbxProgram = new QGroupBox(QStringLiteral(" 1С:Предприятие "), this);
    m_gbxProgram->setObjectName(QStringLiteral("gbxProgram"));
    m_gbxProgram->setGeometry(128, 34, 257, 128);

    m_dbgProgram = new QListView(m_gbxProgram);
    m_dbgProgram->setObjectName(QStringLiteral("dbgProgram"));
    m_dbgProgram->setToolTip(QStringLiteral("Клавиша Space - редактирование модуля"));
    m_dbgProgram->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dbgProgram->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dbgProgram->setGeometry(6, 18, 245, 58);
    m_dbgProgram->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_dbgProgram, &QListView::doubleClicked, this, &TfrmMain::dbgProgramDblClick);
    connect(m_dbgProgram, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_pmuProgram->popup(m_dbgProgram->viewport()->mapToGlobal(pos)); });

    m_dbtProgram = new QLabel(m_gbxProgram);
    m_dbtProgram->setObjectName(QStringLiteral("dbtProgram"));
    m_dbtProgram->setGeometry(6, 78, 245, 16);
    setTextColor(m_dbtProgram, kPathColor);

    const char* names[] = {"btnAddProgram", "btnEditProgram", "btnDeleteProgram"};
    const char* captions[] = {"Добавить", "Изменить", "Удалить"};
    QAction* actions[] = {m_actAddProgram, m_actEditProgram, m_actDeleteProgram};
    for (int i = 0; i < 3; ++i) {
        auto* button = addShapeButton(m_gbxProgram, names[i], QString::fromUtf8(captions[i]), false);
        button->setGeometry(6 + i * 83, 98, 79, 22);
        connect(button, &QAbstractButton::clicked, actions[i], &QAction::trigger);
        m_buttons[static_cast<std::size_t>(i)] = button;
    }
}

void TfrmMain::buildFolderGroup() {
    m_gbxFolder = new QGroupBox(QStringLiteral(" Информационные базы "), this);
    m_gbxFolder->setObjectName(QStringLiteral("gbxFolder"));
    m_gbxFolder->setGeometry(128, 164, 257, 226);

    m_host.nonParentSlot = new QWidget(m_gbxFolder);
    m_host.nonParentSlot->setObjectName(QStringLiteral("nonParentSlot"));
    m_host.nonParentSlot->setGeometry(6, 16, 245, 20);

    m_dbgFolder = new FolderListView(m_gbxFolder);
    m_dbgFolder->setObjectName(QStringLiteral("dbgFolder"));
    m_dbgFolder->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_dbgFolder->setSelectionMode(QAbstractItemView::SingleSelection);
    m_dbgFolder->setGeometry(6, 38, 245, 104);
    m_dbgFolder->setContextMenuPolicy(Qt::CustomContextMenu);
    m_dbgFolder->setDropFilter(m_context.registryDropFilter);
    m_dbgFolder->setDropHandler([this](const QMimeData* dropped) {
        if (m_context.registryDrop)
            guarded([&] { m_context.registryDrop(dropped); });
    });
    m_dbgFolder->setDragData([this]() -> QMimeData* {
        if (!m_context.commands || m_context.commands->infobaseRow() < 0)
            return nullptr;
        auto* payload = new QMimeData;
        payload->setData(QString::fromLatin1(kInfobaseMimeType),
                         QByteArray::fromStdString(m_context.commands->infobasePath()));
        return payload;
    });
    connect(m_dbgFolder, &FolderListView::doubleClickedWith, this, &TfrmMain::dbgFolderDblClick);
    connect(m_dbgFolder, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { m_pmuFolder->popup(m_dbgFolder->viewport()->mapToGlobal(pos)); });

    const char* names[] = {"btnAddFolder", "btnEditFolder", "btnDeleteFolder"};
    const char* captions[] = {"Добавить", "Изменить", "Удалить"};
    QAction* actions[] = {m_actAddFolder, m_actEditFolder, m_actDeleteFolder};
    for (int i = 0; i < 3; ++i) {
        auto* button = addShapeButton(m_gbxFolder, names[i], QString::fromUtf8(captions[i]), false);
        button->setGeometry(6 + i * 83, 146, 79, 22);
        connect(button, &QAbstractButton::clicked, actions[i], &QAction::trigger);
        m_buttons[static_cast<std::size_t>(3 + i)] = button;
    }

    m_dbtFolder = new QLabel(m_gbxFolder);
    m_dbtFolder->setObjectName(QStringLiteral("dbtFolder"));
    m_dbtFolder->setWordWrap(true);
    m_dbtFolder->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_dbtFolder->setGeometry(6, 172, 245, 28);
    setTextColor(m_dbtFolder, kPathColor);
    m_dbtUserName = new QLabel(m_gbxFolder);
    m_dbtUserName->setObjectName(QStringLiteral("dbtUserName"));
    m_dbtUserName->setWordWrap(true);
    m_dbtUserName->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_dbtUserName->setGeometry(6, 202, 245, 20);
    setTextColor(m_dbtUserName, kUserColor);
}

void TfrmMain::buildBottom() {
    m_host.categorySide = new QWidget(this);
    m_host.categorySide->setObjectName(QStringLiteral("categorySide"));
    m_host.categorySide->setGeometry(4, 34, 120, 386);
    m_host.divisionSide = new QWidget(this);
    m_host.divisionSide->setObjectName(QStringLiteral("divisionSide"));
    m_host.divisionSide->setGeometry(389, 34, 120, 386);

    auto* explorer = addShapeButton(this, "btnExplorer", QStringLiteral("Проводник"), true);
    explorer->setGeometry(128, 396, 126, 24);
    connect(explorer, &QAbstractButton::clicked, this, &TfrmMain::showExplorer);
    auto* close = addShapeButton(this, "btnCloseApp", QStringLiteral("Закрыть"), true);
    close->setGeometry(259, 396, 126, 24);
    connect(close, &QAbstractButton::clicked, m_actCloseApp, &QAction::trigger);
    m_buttons[static_cast<int>(MainButton::Explorer)] = explorer;
    m_buttons[static_cast<int>(MainButton::CloseApp)] = close;

    // The design scheme; the appearance step at start-up replaces it.
    const ButtonScheme& scheme = colorButtonScheme();
    for (std::size_t i = 0; i < m_buttons.size(); ++i)
        m_buttons[i]->setColors(scheme[i].pressed, scheme[i].hover, scheme[i].normal);
}

QAction* TfrmMain::addAction(const char* name, const QString& text, void (TfrmMain::*slot)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, slot);
    return action;
}

void TfrmMain::buildActions() {
    m_actAddProgram =
        addAction("actAddProgram", QStringLiteral("Добавить исполняемый модуль"), &TfrmMain::actAddProgramExecute);
    m_actEditProgram =
        addAction("actEditProgram", QStringLiteral("Изменить исполняемый модуль"), &TfrmMain::actEditProgramExecute);
    m_actDeleteProgram =
        addAction("actDeleteProgram", QStringLiteral("Удалить исполняемый модуль"), &TfrmMain::actDeleteProgramExecute);
    m_actAddFolder =
        addAction("actAddFolder", QStringLiteral("Добавить информационную базу"), &TfrmMain::actAddFolderExecute);
    m_actEditFolder =
        addAction("actEditFolder", QStringLiteral("Изменить информационную базу"), &TfrmMain::actEditFolderExecute);
    m_actDeleteFolder =
        addAction("actDeleteFolder", QStringLiteral("Удалить информационную базу"), &TfrmMain::actDeleteFolderExecute);
    m_actCloseApp = addAction("actCloseApp", QStringLiteral("Закрыть"), &TfrmMain::actCloseAppExecute);
}

void TfrmMain::buildMenus() {
    m_pmuProgram = new QMenu(this);
    m_pmuProgram->setObjectName(QStringLiteral("pmuProgram"));
    m_pmuProgram->addAction(m_actAddProgram);
    m_pmuProgram->addAction(m_actEditProgram);
    m_pmuProgram->addSeparator();
    m_pmuProgram->addAction(m_actDeleteProgram);

    m_pmuFolder = new QMenu(this);
    m_pmuFolder->setObjectName(QStringLiteral("pmuFolder"));
    QMenu* open = m_pmuFolder->addMenu(QStringLiteral("Открыть каталог базы"));
    open->setObjectName(QStringLiteral("pmiOpenDirectory"));
    auto addEntry = [this](QMenu* menu, const char* name, const QString& text, std::function<void()> run) {
        QAction* action = menu->addAction(text);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, [this, run] { guarded(run); });
        return action;
    };
    addEntry(open, "pmiOpenWindow", QStringLiteral("в окне"), [this] {
        if (m_context.commands)
            m_context.commands->openInfobaseDirectory(false);
    });
    addEntry(open, "pmiOpenExplorer", QStringLiteral("в проводнике"), [this] {
        if (m_context.commands)
            m_context.commands->openInfobaseDirectory(true);
    });
    m_pmuFolder->addSeparator();
    addEntry(m_pmuFolder, "pmiFolderShortCut", QStringLiteral("Создать ярлык в каталоге..."), [this] {
        if (m_context.pmiFolderShortCutClick)
            m_context.pmiFolderShortCutClick();
    });
    QMenu* desktop = m_pmuFolder->addMenu(QStringLiteral("Создать ярлык на рабочем столе"));
    desktop->setObjectName(QStringLiteral("pmiDesktopShortCut"));
    // The two items share one handler; the Tag is the SpecialFolders row of the desktop.
    const std::pair<const char*, int> desktops[] = {{"pmiCommonDesktop", 4}, {"pmiCurrentDesktop", 11}};
    const char* desktopCaptions[] = {"всех пользователей", "текущего пользователя"};
    for (int i = 0; i < 2; ++i) {
        const int tag = desktops[i].second;
        QAction* item = addEntry(desktop, desktops[i].first, QString::fromUtf8(desktopCaptions[i]), [this, tag] {
            if (m_context.pmiDesktopClick)
                m_context.pmiDesktopClick(tag);
        });
        item->setData(tag);
    }
    m_pmuFolder->addSeparator();
    m_pmuFolder->addAction(m_actAddFolder);
    m_pmuFolder->addAction(m_actEditFolder);
    m_pmuFolder->addAction(m_actDeleteFolder);
    m_pmuFolder->addSeparator();
    QMenu* clear = m_pmuFolder->addMenu(QStringLiteral("Отключить принадлежность"));
    clear->setObjectName(QStringLiteral("pmiClearClassification"));
    const char* kinds[] = {"категориям", "разделам", "обоим разрезам"};
    const char* names[] = {"pmiClearCategory", "pmiClearDivision", "pmiClearBoth"};
    for (int kind = 1; kind <= 3; ++kind) {
        addEntry(clear, names[kind - 1], QString::fromUtf8(kinds[kind - 1]), [this, kind] {
            if (m_context.commands) {
                m_context.commands->clearClassification(kind);
                afterRecordCommand();
            }
        });
    }
}

void TfrmMain::setFocusOrder() {
    QList<QWidget*> chain{m_cmbStartRegime, m_cbxStartMode, m_dbgProgram};
    if (m_classification && m_classification->nonParentBox())
        chain.append(m_classification->nonParentBox());
    chain.append(m_dbgFolder);
    if (m_classification) {
        if (QWidget* w = m_classification->categoryFilterBox())
            chain.append(w);
        if (QWidget* w = m_classification->divisionFilterBox())
            chain.append(w);
    }
    for (widgets::ShapeButton* button : m_buttons)
        chain.append(button);
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain[i - 1], chain[i]);
}

void TfrmMain::placeWindow() {
    std::optional<WindowPoint> point;
    if (m_context.mainIni)
        point = readWindowPosition(*m_context.mainIni);
    if (!point) {
        QScreen* screen = QGuiApplication::primaryScreen();
        const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
        point = centredPosition({area.x(), area.y(), area.width(), area.height()}, frameGeometry().width(),
                                frameGeometry().height());
    }
    move(point->left, point->top);
}

void TfrmMain::showAtStart() {
    show();
    m_app->setStarted();
    m_cmbStartRegime->setFocus();
}

// ---------------------------------------------------------------------------------------------
// Collaborators

void TfrmMain::setSettingsWindow(settings::TfrmSetup* setup) {
    m_setup = setup;
    if (setup)
        m_settingsView = setup;
}

void TfrmMain::setListModels(QAbstractItemModel* programs, QAbstractItemModel* folders) {
    m_dbgProgram->setModel(programs);
    m_dbgFolder->setModel(folders);
    auto follow = [this](QListView* view, bool program) {
        if (!view->selectionModel())
            return;
        connect(view->selectionModel(), &QItemSelectionModel::currentChanged, this,
                [this, program](const QModelIndex& current) {
                    if (!m_context.commands || !current.isValid())
                        return;
                    guarded([&] {
                        if (program)
                            m_context.commands->setExecutableRow(current.row());
                        else
                            m_context.commands->setInfobaseRow(current.row());
                    });
                    updateRowTexts();
                });
    };
    follow(m_dbgProgram, true);
    follow(m_dbgFolder, false);
    for (QAbstractItemModel* model : {programs, folders}) {
        if (!model)
            continue;
        connect(model, &QAbstractItemModel::modelReset, this, &TfrmMain::syncSelection);
        connect(model, &QAbstractItemModel::rowsInserted, this, &TfrmMain::syncSelection);
        connect(model, &QAbstractItemModel::rowsRemoved, this, &TfrmMain::syncSelection);
        connect(model, &QAbstractItemModel::dataChanged, this, &TfrmMain::updateRowTexts);
    }
    syncSelection();
}

// The lists' selection follows the data sets' current rows.
void TfrmMain::syncSelection() {
    if (m_context.commands) {
        const auto select = [](QListView* view, int row) {
            QAbstractItemModel* model = view->model();
            if (!model || !view->selectionModel())
                return;
            const QModelIndex index = row >= 0 ? model->index(row, 0) : QModelIndex();
            const QSignalBlocker block(view->selectionModel());
            if (index.isValid())
                view->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
            else
                view->selectionModel()->clear();
            view->viewport()->update();
            if (index.isValid())
                view->scrollTo(index);
        };
        select(m_dbgProgram, m_context.commands->executableRow());
        select(m_dbgFolder, m_context.commands->infobaseRow());
    }
    updateRowTexts();
}

void TfrmMain::updateRowTexts() {
    if (!m_context.commands)
        return;
    guarded([this] {
        m_dbtProgram->setText(QString::fromStdString(m_context.commands->executablePath()));
        m_dbtFolder->setText(QString::fromStdString(m_context.commands->infobasePath()));
        m_dbtUserName->setText(QString::fromStdString(m_context.commands->infobaseUser()));
    });
}

void TfrmMain::guarded(const std::function<void()>& command) {
    try {
        command();
    } catch (const std::exception& error) {
        if (m_context.reportError)
            m_context.reportError(error.what());
    }
}

void TfrmMain::afterRecordCommand() {
    syncSelection();
}

// ---------------------------------------------------------------------------------------------
// Launch controls

int TfrmMain::startRegime() const {
    return m_cmbStartRegime->currentIndex();
}

bool TfrmMain::exclusiveChecked() const {
    return m_cbxStartMode->isChecked();
}

void TfrmMain::cmbStartRegimeChange() {
    m_cbxStartMode->setEnabled(m_cmbStartRegime->currentIndex() == 0);
}

void TfrmMain::cbxStartModeClick() {
    const QColor background = palette().color(QPalette::Window);
    if (m_cbxStartMode->isChecked())
        setTextColor(m_cbxStartMode, widgets::readableOn(background, kExclusiveColor));
    else
        setTextColor(m_cbxStartMode, palette().color(QPalette::WindowText));
}

// Text on the window's colour stays readable: black and the labels' own colours where they stand
// out from it, lighter ones on a dark colour (a navy window would hide black and navy text).
void TfrmMain::applyTextColors() {
    const QColor background = palette().color(QPalette::Window);
    for (QWidget* w : {static_cast<QWidget*>(this), m_toolPanel})
        setTextColor(w, widgets::readableOn(background, Qt::black));
    setTextColor(m_dbtProgram, widgets::readableOn(background, kPathColor));
    setTextColor(m_dbtFolder, widgets::readableOn(background, kPathColor));
    setTextColor(m_dbtUserName, widgets::readableOn(background, kUserColor));
    cbxStartModeClick();
}

void TfrmMain::StartEnterprise(app::LaunchSource source) {
    if (m_context.commands)
        guarded([&] { m_context.commands->startEnterprise(source); });
}

void TfrmMain::launchExecute() {
    StartEnterprise(app::LaunchSource::lsMainWindow);
}

void TfrmMain::btnStartClick() {
    if (m_startModifiersKnown)
        m_keys.setEventModifiers(m_startModifiers);
    const int mask = app::ShiftStateBits(m_keys);
    m_keys.clearEventModifiers();
    m_startModifiersKnown = false;
    if (mask != 0) {
        const int regime = startButtonRegime(m_map ? *m_map : settings::ControlMap, mask);
        if (regime >= 0) {
            m_cmbStartRegime->setCurrentIndex(regime);
            cmbStartRegimeChange();
        }
    }
    launchExecute();
}

void TfrmMain::DoMappedAction(int mask) {
    const MappedAction action = mappedAction(m_map ? *m_map : settings::ControlMap, mask);
    switch (action.kind) {
    case MappedAction::Kind::None:
        return;
    case MappedAction::Kind::EditFolder:
        m_actEditFolder->trigger();
        return;
    case MappedAction::Kind::Launch:
        m_cmbStartRegime->setCurrentIndex(action.regime);
        cmbStartRegimeChange();
        launchExecute();
        return;
    }
}

void TfrmMain::dbgFolderDblClick(Qt::KeyboardModifiers modifiers) {
    m_keys.setEventModifiers(modifiers);
    const int mask = app::ShiftStateBits(m_keys);
    m_keys.clearEventModifiers();
    DoMappedAction(mask);
}

void TfrmMain::dbgProgramDblClick() {
    m_actEditProgram->trigger();
}

// ---------------------------------------------------------------------------------------------
// Record commands

void TfrmMain::actAddProgramExecute() {
    if (m_context.commands)
        guarded([this] { m_context.commands->addExecutable(); });
    afterRecordCommand();
}

void TfrmMain::actEditProgramExecute() {
    if (m_context.commands)
        guarded([this] { m_context.commands->editExecutable(); });
    afterRecordCommand();
}

void TfrmMain::actDeleteProgramExecute() {
    if (m_context.commands)
        guarded([this] { m_context.commands->deleteExecutable(); });
    afterRecordCommand();
}

void TfrmMain::actAddFolderExecute() {
    if (m_context.commands)
        guarded([this] { m_context.commands->addInfobase(); });
    afterRecordCommand();
}

void TfrmMain::actEditFolderExecute() {
    if (m_context.commands)
        guarded([this] { m_context.commands->editInfobase(); });
    afterRecordCommand();
}

void TfrmMain::actDeleteFolderExecute() {
    if (m_context.commands)
        guarded([this] { m_context.commands->deleteInfobase(); });
    afterRecordCommand();
}

void TfrmMain::actCloseAppExecute() {
    close();
}

void TfrmMain::AddInActiveList() {
    const MainFocus focus = focusRole(QApplication::focusWidget());
    if (focus == MainFocus::ProgramList)
        m_actAddProgram->trigger();
    else if (focus == MainFocus::FolderList)
        m_actAddFolder->trigger();
}

void TfrmMain::DeleteInActiveList() {
    const MainFocus focus = focusRole(QApplication::focusWidget());
    if (focus == MainFocus::ProgramList)
        m_actDeleteProgram->trigger();
    else if (focus == MainFocus::FolderList)
        m_actDeleteFolder->trigger();
}

// ---------------------------------------------------------------------------------------------
// Other windows

void TfrmMain::openSettings() {
    if (m_context.openSettings)
        m_context.openSettings();
    else if (m_setup)
        m_setup->exec();
}

void TfrmMain::showExplorer() {
    if (!m_explorer)
        return;
    m_explorer->show();
    m_explorer->raise();
    m_explorer->activateWindow();
}

void TfrmMain::showRegistry() {
    if (!m_registry)
        return;
    m_registry->show();
    m_registry->raise();
    m_registry->activateWindow();
}

void TfrmMain::showAbout() {
    TfrmAbout about(this);
    about.exec();
}

// ---------------------------------------------------------------------------------------------
// Window state

void TfrmMain::RestoreApplication() {
    m_app->restoreApplication();
}

void TfrmMain::ActivationMessage() {
    m_app->activate();
}

void TfrmMain::FormCloseQuery() {
    if (!m_context.mainIni)
        return;
    guarded([this] {
        writeWindowPosition(*m_context.mainIni, {x(), y()});
        if (m_classification)
            m_classification->saveFilterState(*m_context.mainIni);
    });
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    FormCloseQuery();
    event->accept();
    QWidget::closeEvent(event);
    m_app->terminateApplication(); // the main window's close ends the program
}

void TfrmMain::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // After the state change is complete: showMinimized shows the window once more after it.
    if (event->type() == QEvent::WindowStateChange && isMinimized())
        QMetaObject::invokeMethod(m_app, &ApplicationWindows::afterMinimized, Qt::QueuedConnection);
}

// ---------------------------------------------------------------------------------------------
// Appearance

void TfrmMain::applyAppearance(const settings::TfrmSetup& setup) {
    AppearanceChoice choice;
    choice.sysTray = setup.sysTray();
    choice.animate = setup.animate();
    choice.standardForm = setup.standardForm();
    choice.defaultForm = setup.defaultForm();
    choice.colorForm = setup.colorForm();
    choice.defaultFormColor = setup.defaultFormColor();
    choice.colorFormColor = setup.colorFormColor();
    choice.standardBars = setup.standardBars();
    choice.simpleBars = setup.simpleBars();
    choice.gradientBars = setup.gradientBars();
    choice.simpleColor = setup.simpleColor();
    choice.fromColor = setup.fromColor();
    choice.toColor = setup.toColor();
    choice.standardButtons = setup.standardButtons();
    choice.colorButtons = setup.colorButtons();
    choice.simpleButtons = setup.simpleButtons();
    choice.buttonColor = setup.buttonColor();
    applyAppearancePlan(planAppearance(choice));
}

void TfrmMain::applyAppearancePlan(const AppearancePlan& plan) {
    widgets::TrayIcon& icon = m_tray->icon();
    icon.setVisible(plan.trayVisible);
    icon.setAnimated(plan.trayAnimated);
    if (!plan.trayVisible)
        m_app->restoreApplication();
    if (plan.bars && m_classification)
        m_classification->setBarFill(plan.bars->gradient, plan.bars->from, plan.bars->to);
    if (plan.buttons) {
        for (std::size_t i = 0; i < m_buttons.size(); ++i) {
            const ButtonColors& c = (*plan.buttons)[i];
            m_buttons[i]->setColors(c.pressed, c.hover, c.normal);
        }
    }
    if (plan.background) {
        const QColor color = widgets::resolveColor(*plan.background);
        for (QWidget* w : {static_cast<QWidget*>(this), m_toolPanel}) {
            QPalette palette = w->palette();
            palette.setColor(QPalette::Window, color);
            w->setPalette(palette);
            w->setAutoFillBackground(true);
        }
        applyTextColors();
    }
}

// ---------------------------------------------------------------------------------------------
// Keys and drops

MainFocus TfrmMain::focusRole(const QWidget* widget) const {
    if (!widget)
        return MainFocus::Other;
    if (widget == m_cmbStartRegime)
        return MainFocus::StartRegime;
    if (widget == m_cbxStartMode)
        return MainFocus::StartMode;
    if (widget == m_dbgProgram)
        return MainFocus::ProgramList;
    if (widget == m_dbgFolder)
        return MainFocus::FolderList;
    const QString name = widget->objectName();
    if (name == QLatin1String("cbxCategoryFilter"))
        return MainFocus::CategoryFilter;
    if (name == QLatin1String("cbxDivisionFilter"))
        return MainFocus::DivisionFilter;
    if (name == QLatin1String("cbxNonParent"))
        return MainFocus::NonParent;
    return MainFocus::Other;
}

namespace {

// M and V by the key they are, also where the layout puts Cyrillic letters on them ("Ь" and "М"
// on the Russian layout).
bool isStartModeKey(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_M:
    case Qt::Key_V:
    case 0x042C: // Ь, the key code Qt gives a Cyrillic letter
    case 0x041C: // М
        return true;
    default:
        break;
    }
    const QString text = event->text().toUpper();
    return text == QStringLiteral("Ь") || text == QStringLiteral("М");
}

MainKey keyOf(const QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return MainKey::Enter;
    case Qt::Key_Escape:
        return MainKey::Escape;
    case Qt::Key_Space:
        return MainKey::Space;
    case Qt::Key_Insert:
        return MainKey::Insert;
    case Qt::Key_Delete:
        return MainKey::Delete;
    default:
        return isStartModeKey(event) ? MainKey::M : MainKey::Other;
    }
}

} // namespace

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_buttons[static_cast<int>(MainButton::Start)] &&
        (event->type() == QEvent::MouseButtonRelease || event->type() == QEvent::KeyRelease)) {
        m_startModifiers = static_cast<QInputEvent*>(event)->modifiers();
        m_startModifiersKnown = true;
    }
    if (event->type() == QEvent::KeyPress) {
        auto* widget = qobject_cast<QWidget*>(watched);
        // Only the first delivery of the event, to the focused control (or to the window itself).
        const QWidget* focus = QApplication::focusWidget();
        if (widget && widget->window() == this && (widget == focus || (!focus && widget == this))) {
            auto* key = static_cast<QKeyEvent*>(event);
            handleKey(key);
            // M and V only toggle " Монопольно ": the lists' and the regime box's type-ahead would
            // also move to a row or regime starting with that letter (V is "м" on a Russian
            // layout), and the next Enter or Start would act on it.
            const MainFocus role = focusRole(widget);
            if (isStartModeKey(key) &&
                (role == MainFocus::ProgramList || role == MainFocus::FolderList || role == MainFocus::StartRegime))
                return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TfrmMain::handleKey(QKeyEvent* event) {
    const MainFocus focus = focusRole(QApplication::focusWidget());
    const bool minimizeOnEscape = m_settingsView && m_settingsView->minimizeOnEscape();
    switch (keyCommand(keyOf(event), focus, m_cbxStartMode->isEnabled(), minimizeOnEscape)) {
    case MainCommand::None:
        return;
    case MainCommand::MappedAction: {
        m_keys.setEventModifiers(event->modifiers());
        const int mask = app::ShiftStateBits(m_keys);
        m_keys.clearEventModifiers();
        DoMappedAction(mask);
        return;
    }
    case MainCommand::Minimize:
        m_app->minimizeApplication();
        return;
    case MainCommand::EditProgram:
        m_actEditProgram->trigger();
        return;
    case MainCommand::AddProgram:
    case MainCommand::AddFolder:
        AddInActiveList();
        return;
    case MainCommand::DeleteProgram:
    case MainCommand::DeleteFolder:
        DeleteInActiveList();
        return;
    case MainCommand::ToggleStartMode:
        m_cbxStartMode->toggle();
        return;
    }
}

void TfrmMain::dragEnterEvent(QDragEnterEvent* event) {
    if (event->mimeData()->hasUrls() && m_context.filesDropped)
        event->acceptProposedAction();
    else
        event->ignore();
}

void TfrmMain::dropEvent(QDropEvent* event) {
    QStringList files;
    for (const QUrl& url : event->mimeData()->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    event->acceptProposedAction();
    if (!files.isEmpty() && m_context.filesDropped)
        guarded([&] { m_context.filesDropped(files); });
}

} // namespace mainwin
