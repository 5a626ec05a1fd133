#include "dialogs/EditFldr.h"

#include "dialogs/DialogParts.h"
#include "dialogs/Folder.h"
#include "dialogs/InfobaseFill.h"
#include "data/FieldWidths.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>

namespace dialogs {
namespace {

constexpr int kNameWidth = data::width::Name;
constexpr int kPathWidth = data::width::Path;
constexpr int kUserNameWidth = data::width::UserName;
constexpr int kPasswordWidth = data::width::Password;

QLineEdit* classificationBox(const char* name) {
    auto* box = namedEdit(name);
    box->setReadOnly(true);
    box->setAlignment(Qt::AlignCenter);
    box->setFocusPolicy(Qt::NoFocus);
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, Qt::blue);
    box->setPalette(palette);
    return box;
}

} // namespace

TfrmEditFolder::TfrmEditFolder(InfobaseSource& source, DialogServices services, QWidget* owner)
    : QDialog(owner), m_source(source), m_services(std::move(services)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildFolderGroup());
    layout->addWidget(buildUserGroup());

    m_prmFile = guardedEdit("edtPrmFile", kPathWidth, m_services);
    auto* packet = pictureButton("btnPacketChoice", QStyle::SP_FileIcon, "Выбрать файл пакетного режима");
    connect(packet, &QToolButton::clicked, this, &TfrmEditFolder::btnPacketChoiceClick);
    auto* prmRow = new QGridLayout;
    prmRow->addWidget(fieldLabel("Файл пакетного режима", m_prmFile), 0, 0, 1, 2);
    prmRow->addWidget(m_prmFile, 1, 0);
    prmRow->addWidget(packet, 1, 1);
    layout->addLayout(prmRow);

    m_category = classificationBox("stxCategory");
    m_division = classificationBox("stxDivision");
    auto* classification = new QGridLayout;
    classification->addWidget(fieldLabel("Категория", m_category), 0, 0);
    classification->addWidget(fieldLabel("Раздел", m_division), 0, 1);
    classification->addWidget(m_category, 1, 0);
    classification->addWidget(m_division, 1, 1);
    layout->addLayout(classification);
    layout->addLayout(okCancelRow(this));

    setUpFixedDialog(this, "frmEditFolder", "Регистрация информационной базы");
}

QWidget* TfrmEditFolder::buildFolderGroup() {
    auto* group = new QGroupBox(QString::fromUtf8(" Реквизиты информационной базы "));
    group->setObjectName(QStringLiteral("gbxFolder"));
    m_name = guardedEdit("edtName", kNameWidth, m_services);
    m_path = guardedEdit("edtPath", kPathWidth, m_services);
    auto* choice = pictureButton("btnFolderChoice", QStyle::SP_DirOpenIcon, "Выбрать каталог информационной базы");
    connect(choice, &QToolButton::clicked, this, [this] { btnChoiceClick(m_path); });

    auto* grid = new QGridLayout(group);
    addNamePathRows(grid, m_name, m_path, choice);
    return group;
}

QWidget* TfrmEditFolder::buildUserGroup() {
    auto* group = new QGroupBox(QString::fromUtf8(" Реквизиты пользователя "));
    group->setObjectName(QStringLiteral("gbxUser"));
    m_userName = guardedEdit("edtUserName", kUserNameWidth, m_services);
    m_password = guardedEdit("edtPassword", kPasswordWidth, m_services);
    m_password->setEchoMode(QLineEdit::Password);
    // Every character is shown as "*", as the stored form is counted in characters.
    m_password->setStyleSheet(QStringLiteral("lineedit-password-character: 42"));
    auto* user = pictureButton("btnUser", QStyle::SP_FileDialogListView, "Выбрать пользователя из списка");
    connect(user, &QToolButton::clicked, this, &TfrmEditFolder::btnUserClick);
    m_userPath = guardedEdit("edtUserPath", kPathWidth, m_services);
    auto* choice = pictureButton("btnUserFolderChoice", QStyle::SP_DirOpenIcon, "Выбрать каталог пользователя");
    connect(choice, &QToolButton::clicked, this, [this] { btnChoiceClick(m_userPath); });

    auto* grid = new QGridLayout(group);
    grid->addWidget(fieldLabel("Имя пользователя", m_userName), 0, 0);
    grid->addWidget(fieldLabel("Пароль", m_password), 0, 1, 1, 2);
    grid->addWidget(m_userName, 1, 0);
    grid->addWidget(m_password, 1, 1);
    grid->addWidget(user, 1, 2);
    grid->addWidget(fieldLabel("Каталог", m_userPath), 2, 0, 1, 3);
    grid->addWidget(m_userPath, 3, 0, 1, 2);
    grid->addWidget(choice, 3, 2);
    return group;
}

data::InfobaseDialogResult TfrmEditFolder::Execute(int mode) {
    const InfobaseFill fill = fillInfobaseDialog(mode, m_source);
    const std::pair<QLineEdit*, const std::string*> texts[] = {
        {m_name, &fill.name},         {m_path, &fill.path},         {m_userName, &fill.userName},
        {m_password, &fill.password}, {m_userPath, &fill.userPath}, {m_prmFile, &fill.prmFile},
        {m_category, &fill.category}, {m_division, &fill.division}};
    for (const auto& [edit, text] : texts)
        edit->setText(QString::fromStdString(*text));
    m_name->setFocus();

    data::InfobaseDialogResult result;
    if (runModal(m_services, *this) != QDialog::Accepted)
        return result;
    result.confirmed = true;
    result.name = m_name->text().toStdString();
    result.path = m_path->text().toStdString();
    result.userName = m_userName->text().toStdString();
    result.password = m_password->text().toStdString();
    result.userPath = m_userPath->text().toStdString();
    result.prmFile = m_prmFile->text().toStdString();
    return result;
}

void TfrmEditFolder::accept() {
    // Texts that arrived without typing (the explorer's directory) are checked once more: the
    // table could not store them unchanged.
    if (firstUnstorableEdit({m_name, m_path, m_userName, m_password, m_userPath, m_prmFile}, m_services))
        return;
    QDialog::accept();
}

void TfrmEditFolder::btnChoiceClick(QLineEdit* target) {
    TfrmFolder chooser(m_services.pathMapper, this);
    if (runModal(m_services, chooser) != QDialog::Accepted)
        return;
    const std::string directory = chooser.SelectedPath();
    if (directory.empty())
        return;
    setGuardedText(target, withTrailingBackslash(directory), m_services);
}

void TfrmEditFolder::btnUserClick() {
    const std::optional<UserChoice> user = m_source.chooseUser(this);
    if (!user)
        return;
    m_userName->setText(QString::fromStdString(user->userName));
    m_password->setText(QString::fromStdString(user->password));
}

void TfrmEditFolder::btnPacketChoiceClick() {
    const std::string chosen = chooseFile(
        m_services, {this, QString::fromUtf8("Пакетный файл"), QStringLiteral("*.prm"), QStringLiteral("prm")});
    if (!chosen.empty())
        setChosenFile(m_prmFile, chosen, m_services);
}

} // namespace dialogs
