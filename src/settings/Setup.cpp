#include "settings/Setup.h"

#include "engine/CodePage.h"
#include "platform/PathMapper.h"
#include "settings/AppearanceTarget.h"
#include "settings/ColorEnabling.h"
#include "settings/ControlMap.h"
#include "settings/ErrorReport.h"
#include "settings/IniFile.h"
#include "settings/IniWriteError.h"
#include "settings/KeyGrid.h"
#include "settings/SettingsFile.h"
#include "settings/SetupControls.h"
#include "settings/SetupPages.h"
#include "widgets/Cp1251Validator.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QFileDialog>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <exception>

namespace settings {
namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

QPushButton* boldButton(const char* name, const char* caption) {
    auto* button = new QPushButton(text(caption));
    button->setObjectName(QString::fromLatin1(name));
    QFont bold = button->font();
    bold.setBold(true);
    button->setFont(bold);
    return button;
}

std::string askForPrmFile(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setNameFilter(text("Пакетный файл (*.prm)"));
    dialog.setDefaultSuffix(QStringLiteral("prm"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst().toStdString();
}

} // namespace

TfrmSetup::TfrmSetup(const std::filesystem::path& iniPath, SetupServices services, QWidget* parent)
    : QDialog(parent), m_services(std::move(services)),
      m_map(m_services.controlMap ? *m_services.controlMap : ControlMap) {
    setObjectName(QStringLiteral("frmSetup"));
    setWindowTitle(text("Настройки"));
    QFont sans(QStringLiteral("DejaVu Sans"));
    sans.setStyleHint(QFont::SansSerif);
    sans.setPointSize(9);
    setFont(sans);

    m_grid = new KeyGrid(m_map);
    m_pages = new QTabWidget;
    m_pages->setObjectName(QStringLiteral("pgcSetup"));
    m_pages->addTab(buildGeneralPage(), text("Общие"));
    m_pages->addTab(buildLaunchPage(), text("Запуск 1С"));
    m_pages->addTab(buildControlPage(m_grid), text("Управление"));
    m_pages->addTab(buildAppearancePage(), text("Оформление"));
    m_pages->setCurrentIndex(0);
    m_grid->fitFont();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pages);
    layout->addWidget(buildButtons());
    // A fixed-size window: exactly the room its pages need.
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_ini = std::make_unique<IniFile>(iniPath);
    m_controls = std::make_unique<SetupControls>(*this, *m_grid, m_map);
    connectRules();

    LoadSettings();
    UpdateEnabling();
    ApplyAppearance();
}

TfrmSetup::~TfrmSetup() = default;

QWidget* TfrmSetup::buildButtons() {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* ok = boldButton("btnOk", "OK");
    auto* cancel = boldButton("btnCancel", "Отмена");
    auto* apply = boldButton("btnApply", "Применить");
    ok->setDefault(true);
    ok->setAutoDefault(true);
    cancel->setAutoDefault(false);
    apply->setAutoDefault(false);
    layout->addStretch();
    layout->addWidget(ok);
    layout->addWidget(cancel);
    layout->addWidget(apply);
    connect(ok, &QPushButton::clicked, this, &TfrmSetup::onOk);
    connect(cancel, &QPushButton::clicked, this, &TfrmSetup::reject);
    connect(apply, &QPushButton::clicked, this, &TfrmSetup::onApply);
    return row;
}

void TfrmSetup::connectRules() {
    auto* tray = findChild<QCheckBox*>(QStringLiteral("cbxSysTray"));
    connect(tray, &QCheckBox::toggled, this, [this](bool on) { m_controls->setEnabled("cbxAnimate", on); });
    // A check group box enables or disables everything inside on every change of its tick, also
    // what was disabled one by one.
    for (const char* name : {"cgbAutoStart", "cgbPrmFile"}) {
        auto* group = findChild<QGroupBox*>(QString::fromLatin1(name));
        connect(group, &QGroupBox::toggled, this, [group](bool on) {
            for (QWidget* inside : group->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                inside->setEnabled(on);
        });
    }
    auto* control = findChild<QCheckBox*>(QStringLiteral("cbxControl"));
    connect(control, &QCheckBox::toggled, this, &TfrmSetup::onControlToggled);
    connect(m_grid, &KeyGrid::cellEdited, this, &TfrmSetup::onGridEdited);
    auto* prmEdit = findChild<QLineEdit*>(QStringLiteral("edtPrmFile"));
    if (auto* validator = qobject_cast<const widgets::Cp1251Validator*>(prmEdit->validator()))
        connect(validator, &widgets::Cp1251Validator::characterRefused, this, [this](const QString& character) {
            reportError(widgets::Cp1251Validator::refusalMessage(character).toStdString());
        });
    connect(findChild<QToolButton*>(QStringLiteral("btnPrmFile")), &QToolButton::clicked, this,
            &TfrmSetup::onBrowsePrmFile);
    for (const char* name : {"rbnStandardForm", "rbnDefaultForm", "rbnColorForm", "rbnStandard", "rbnSimple",
                             "rbnGradient", "rbnStandardButton", "rbnColorButton", "rbnSimpleButton"}) {
        auto* radio = findChild<QRadioButton*>(QString::fromLatin1(name));
        connect(radio, &QRadioButton::clicked, this, &TfrmSetup::updateColorEnabling);
    }
}

void TfrmSetup::LoadSettings() {
    readSettings(*m_ini, *m_controls);
}

bool TfrmSetup::SaveSettings() {
    try {
        writeSettings(*m_ini, *m_controls);
        return true;
    } catch (const IniWriteError& e) {
        reportError(e.what());
        return false;
    }
}

void TfrmSetup::UpdateEnabling() {
    m_controls->setEnabled("cbxAnimate", isChecked("cbxSysTray"));
    const bool autoStart = isChecked("cgbAutoStart");
    m_controls->setEnabled("grpAutoStartSource", autoStart);
    m_controls->setEnabled("grpAutoStartScope", autoStart);
    updateColorEnabling();
}

void TfrmSetup::updateColorEnabling() {
    const int form = m_controls->tickedIndex({"rbnStandardForm", "rbnDefaultForm", "rbnColorForm"});
    const int bars = m_controls->tickedIndex({"rbnStandard", "rbnSimple", "rbnGradient"});
    const int button = m_controls->tickedIndex({"rbnStandardButton", "rbnColorButton", "rbnSimpleButton"});
    for (const ColorEnabling& e : colorEnabling(form, bars, button))
        m_controls->setEnabled(e.control, e.enabled);
}

void TfrmSetup::ApplyAppearance() {
    if (m_services.appearance)
        m_services.appearance->applyAppearance(*this);
}

void TfrmSetup::ApplyAutoStart() {
    if (m_services.autoStart)
        m_services.autoStart->applyAutoStart(autoStartChoice());
}

bool TfrmSetup::applyAndSave() {
    try {
        ApplyAppearance();
        ApplyAutoStart();
    } catch (const std::exception& e) {
        reportError(e.what());
        return false;
    }
    SaveSettings();
    return true;
}

void TfrmSetup::onOk() {
    // A failed save has been reported; the window closes all the same.
    if (applyAndSave())
        accept();
}

void TfrmSetup::onApply() {
    applyAndSave();
}

void TfrmSetup::reject() {
    LoadSettings();
    QDialog::reject();
}

void TfrmSetup::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) {
        LoadSettings();
        UpdateEnabling();
        if (QScreen* s = screen())
            move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
    }
    QDialog::showEvent(event);
}

void TfrmSetup::closeEvent(QCloseEvent* event) {
    // QDialog would take this as Cancel (reject reloads the file); the title-bar close only hides.
    if (isVisible())
        done(QDialog::Rejected);
    event->accept();
}

void TfrmSetup::onBrowsePrmFile() {
    const std::string chosen = m_services.choosePrmFile ? m_services.choosePrmFile() : askForPrmFile(this);
    if (chosen.empty())
        return;
    const std::string shown = m_services.pathMapper ? m_services.pathMapper->toWindows(chosen) : chosen;
    if (shown.empty())
        return;
    // The edit only ever holds text the settings file can store.
    if (!engine::isCp1251Text(shown)) {
        reportError(widgets::Cp1251Validator::refusalMessage(QString::fromStdString(engine::firstNonCp1251Char(shown)))
                        .toStdString());
        return;
    }
    m_controls->setText("edtPrmFile", shown);
}

void TfrmSetup::onGridEdited(int row) {
    if (!isChecked("cbxControl"))
        return;
    ClearCoincidingRows(m_map, row);
    m_grid->refresh();
}

void TfrmSetup::onControlToggled() {
    for (int row = 1; row <= ControlMapRows; ++row)
        ClearCoincidingRows(m_map, row);
    m_grid->refresh();
}

void TfrmSetup::reportError(const std::string& message) {
    if (m_services.reportError)
        m_services.reportError(message);
    else
        showErrorReport(message, this);
}

bool TfrmSetup::isChecked(const char* control) const {
    return m_controls->checked(control);
}

std::uint32_t TfrmSetup::colorOf(const char* control) const {
    return m_controls->color(control);
}

bool TfrmSetup::sysTray() const {
    return isChecked("cbxSysTray");
}
bool TfrmSetup::animate() const {
    return isChecked("cbxAnimate");
}
bool TfrmSetup::clearRegistryOnDelete() const {
    return isChecked("cbxReestr");
}
bool TfrmSetup::rememberFilter() const {
    return isChecked("cbxFilter");
}
int TfrmSetup::shortcutMatchMode() const {
    return m_controls->itemIndex("cmbShortCut");
}
bool TfrmSetup::defaultBatchFileOn() const {
    return isChecked("cgbPrmFile");
}
std::string TfrmSetup::defaultBatchFile() const {
    return m_controls->text("edtPrmFile");
}
bool TfrmSetup::batchFileIfAbsent() const {
    return isChecked("cbxPrmFileAbsent");
}
bool TfrmSetup::batchFileIfPresent() const {
    return isChecked("cbxPrmFilePresent");
}
bool TfrmSetup::locateInExplorer() const {
    return isChecked("cbxLocate");
}
bool TfrmSetup::minimizeAfterLaunch() const {
    return isChecked("rbnMinimize");
}
bool TfrmSetup::closeAfterLaunch() const {
    return isChecked("rbnClose");
}
bool TfrmSetup::minimizeOnEscape() const {
    return isChecked("cbxMinimize");
}

bool TfrmSetup::standardForm() const {
    return isChecked("rbnStandardForm");
}
bool TfrmSetup::defaultForm() const {
    return isChecked("rbnDefaultForm");
}
bool TfrmSetup::colorForm() const {
    return isChecked("rbnColorForm");
}
std::uint32_t TfrmSetup::defaultFormColor() const {
    return colorOf("cbnDefaultForm");
}
std::uint32_t TfrmSetup::colorFormColor() const {
    return colorOf("cbnColorForm");
}
bool TfrmSetup::standardBars() const {
    return isChecked("rbnStandard");
}
bool TfrmSetup::simpleBars() const {
    return isChecked("rbnSimple");
}
bool TfrmSetup::gradientBars() const {
    return isChecked("rbnGradient");
}
std::uint32_t TfrmSetup::simpleColor() const {
    return colorOf("cbnSimple");
}
std::uint32_t TfrmSetup::fromColor() const {
    return colorOf("cbnFrom");
}
std::uint32_t TfrmSetup::toColor() const {
    return colorOf("cbnTo");
}
bool TfrmSetup::standardButtons() const {
    return isChecked("rbnStandardButton");
}
bool TfrmSetup::colorButtons() const {
    return isChecked("rbnColorButton");
}
bool TfrmSetup::simpleButtons() const {
    return isChecked("rbnSimpleButton");
}
std::uint32_t TfrmSetup::buttonColor() const {
    return colorOf("cbnButtonColor");
}

AutoStart::Choice TfrmSetup::autoStartChoice() const {
    return {isChecked("cgbAutoStart"), isChecked("rbnSysRegistry"), isChecked("rbnStartUpMenu"),
            isChecked("rbnAllUser"), isChecked("rbnCurUser")};
}

} // namespace settings
