#include "settings/SetupPages.h"

#include "widgets/CheckGroupBox.h"
#include "widgets/ColorButton.h"
#include "widgets/ColorList.h"
#include "widgets/Cp1251Validator.h"
#include "widgets/RadioGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <initializer_list>
#include <utility>

namespace settings {
namespace {

QString text(const char* utf8) {
    return QString::fromUtf8(utf8);
}

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QCheckBox* checkBox(const char* name, const char* caption) {
    return named(new QCheckBox(text(caption)), name);
}

QRadioButton* radio(const char* name, const char* caption) {
    return named(new QRadioButton(text(caption)), name);
}

QGroupBox* checkGroup(const char* name, const char* caption) {
    return named(new widgets::CheckGroupBox(text(caption)), name);
}

// Makes the radios of a group box one exclusive group that may have none ticked.
void makeExclusive(QGroupBox* box, std::initializer_list<QRadioButton*> radios) {
    auto* group = new widgets::RadioGroup(box);
    for (QRadioButton* r : radios)
        group->addButton(r);
}

// A group box of radios, one exclusive group, in a column or a row.
QGroupBox* radioGroup(const char* title, std::initializer_list<std::pair<const char*, const char*>> radios,
                      bool inRow = false) {
    auto* box = new QGroupBox(text(title));
    QBoxLayout* layout = inRow ? static_cast<QBoxLayout*>(new QHBoxLayout(box)) : new QVBoxLayout(box);
    auto* group = new widgets::RadioGroup(box);
    for (const auto& [name, caption] : radios) {
        QRadioButton* r = radio(name, caption);
        layout->addWidget(r);
        group->addButton(r);
    }
    if (!inRow)
        layout->addStretch();
    return box;
}

QWidget* colorList(const char* name) {
    return named(new widgets::ColorList, name);
}

QWidget* colorButton(const char* name) {
    return named(new widgets::ColorButton, name);
}

} // namespace

QWidget* buildGeneralPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* common = new QGroupBox(text(" Общие "));
    auto* commonLayout = new QVBoxLayout(common);
    commonLayout->addWidget(checkBox("cbxSysTray", "Сворачивать в Системную панель задач"));
    auto* animateRow = new QHBoxLayout;
    animateRow->addSpacing(20);
    animateRow->addWidget(checkBox("cbxAnimate", "Анимированные иконки"));
    commonLayout->addLayout(animateRow);
    commonLayout->addWidget(checkBox("cbxReestr", "Очищать записи реестра при удалении ИБ"));
    commonLayout->addWidget(checkBox("cbxFilter", "Запоминать состояние фильтрации между сеансами"));
    auto* shortcutRow = new QHBoxLayout;
    shortcutRow->addWidget(
        named(new QLabel(text("При совпадении добавляемых ярлыков\nc зарегистрированными ИБ")), "lblShortCut"));
    auto* shortcut = named(new QComboBox, "cmbShortCut");
    shortcut->addItems({text("Не добавлять"), text("Обновлять"), text("Добавлять")});
    shortcutRow->addWidget(shortcut);
    commonLayout->addLayout(shortcutRow);
    layout->addWidget(common);

    auto* autoStart = checkGroup("cgbAutoStart", "Загружать при старте Windows");
    auto* autoStartLayout = new QHBoxLayout(autoStart);
    auto* source = radioGroup(" Источник автозагрузки ",
                              {{"rbnSysRegistry", "Системный реестр"}, {"rbnStartUpMenu", "Меню автозагрузки"}});
    source->setObjectName(QStringLiteral("grpAutoStartSource"));
    auto* scope =
        radioGroup(" От имени ", {{"rbnAllUser", "Всех пользователей"}, {"rbnCurUser", "Текущего пользователя"}});
    scope->setObjectName(QStringLiteral("grpAutoStartScope"));
    // The Startup folder row of each scope.
    scope->findChild<QRadioButton*>(QStringLiteral("rbnAllUser"))->setProperty("tag", 8);
    scope->findChild<QRadioButton*>(QStringLiteral("rbnCurUser"))->setProperty("tag", 28);
    autoStartLayout->addWidget(source);
    autoStartLayout->addWidget(scope);
    layout->addWidget(autoStart);
    layout->addStretch();
    return page;
}

QWidget* buildLaunchPage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* prmFile = checkGroup("cgbPrmFile", "Пакетный режим по умолчанию");
    auto* prmLayout = new QVBoxLayout(prmFile);
    prmLayout->addWidget(named(new QLabel(text("Файл пакетного режима по умолчанию")), "lblPrmFile"));
    auto* fileRow = new QHBoxLayout;
    auto* prmEdit = named(new QLineEdit, "edtPrmFile");
    // The path goes into the settings file, which is Windows-1251.
    prmEdit->setValidator(new widgets::Cp1251Validator(prmEdit));
    fileRow->addWidget(prmEdit);
    auto* browse = named(new QToolButton, "btnPrmFile");
    browse->setText(QStringLiteral("..."));
    fileRow->addWidget(browse);
    prmLayout->addLayout(fileRow);
    auto* apply = named(new QGroupBox(text(" Применять файл пакетного режима по умолчанию ")), "grpPrmFileApply");
    auto* applyLayout = new QVBoxLayout(apply);
    applyLayout->addWidget(checkBox("cbxPrmFileAbsent", "Если отсутствует предопределенный в свойствах ИБ"));
    applyLayout->addWidget(checkBox("cbxPrmFilePresent", "Если присутствует предопределенный в свойствах ИБ"));
    prmLayout->addWidget(apply);
    layout->addWidget(prmFile);

    auto* locateFrame = new QFrame;
    locateFrame->setFrameShape(QFrame::StyledPanel);
    auto* locateLayout = new QVBoxLayout(locateFrame);
    auto* locate = checkBox("cbxLocate", "Синхронизировать список информационных баз с выбранным");
    locateLayout->addWidget(locate);
    auto* secondLine = named(new QLabel(text("в проводнике каталогом при запуске 1С:Предприятия")), "lblLocate");
    // The second line starts where the check box's caption starts.
    const int indent = locate->sizeHint().width() - locate->fontMetrics().horizontalAdvance(locate->text());
    secondLine->setContentsMargins(indent > 0 ? indent - 4 : 0, 0, 0, 0);
    locateLayout->addWidget(secondLine);
    layout->addWidget(locateFrame);

    layout->addWidget(
        radioGroup(" При запуске 1С:Предприятия ",
                   {{"rbnMinimize", "Сворачивать"}, {"rbnClose", "Закрывать"}, {"rbnNotning", "Не изменять"}}, true));
    layout->addStretch();
    return page;
}

QWidget* buildControlPage(QWidget* keyGrid) {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* group = new QGroupBox(text(" Клавиатура и мышь "));
    auto* groupLayout = new QVBoxLayout(group);

    auto* heading = named(new QLabel(text("Определение реакции приложения на нажатие\n"
                                          "клавиши Enter и на двойной щелчок мышью\n"
                                          "в комбинации с клавишами сдвига.")),
                          "lblHeading");
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    heading->setAlignment(Qt::AlignCenter);
    groupLayout->addWidget(heading);
    groupLayout->addWidget(named(new QLabel(text("Для установки значения в требуемую ячейку - клавишу Space.\n"
                                                 "Для очистки значения в требуемой ячейке - клавишу Delete.\n"
                                                 "Для установки/очистки значения в требуемой ячейке -\n"
                                                 "двойной щелчок мышью.")),
                                 "lblHelp"));
    groupLayout->addWidget(keyGrid, 0, Qt::AlignHCenter);
    groupLayout->addWidget(checkBox("cbxControl", "Очищать совпадающие комбинации клавиш"));
    groupLayout->addWidget(checkBox("cbxMinimize", "Сворачивать главное окно при нажатии клавиши Escape"));
    layout->addWidget(group);
    layout->addStretch();
    return page;
}

QWidget* buildAppearancePage() {
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* form = named(new QGroupBox(text(" Оформление главного окна ")), "grpFormColor");
    auto* formLayout = new QGridLayout(form);
    auto* standardForm = radio("rbnStandardForm", "Стандартный цвет");
    auto* defaultForm = radio("rbnDefaultForm", "Предопределенные");
    auto* colorForm = radio("rbnColorForm", "Выбор цвета");
    makeExclusive(form, {standardForm, defaultForm, colorForm});
    formLayout->addWidget(standardForm, 0, 0);
    formLayout->addWidget(defaultForm, 1, 0);
    formLayout->addWidget(colorList("cbnDefaultForm"), 1, 1);
    formLayout->addWidget(colorForm, 2, 0);
    formLayout->addWidget(colorButton("cbnColorForm"), 2, 1, Qt::AlignLeft);
    formLayout->setColumnStretch(2, 1);
    layout->addWidget(form);

    auto* bars = named(new QGroupBox(text(" Оформление категорий и разделов ")), "grpBarColor");
    auto* barLayout = new QGridLayout(bars);
    auto* standard = radio("rbnStandard", "Стандартный цвет");
    auto* simple = radio("rbnSimple", "Один цвет");
    auto* gradient = radio("rbnGradient", "Градиентная заливка");
    makeExclusive(bars, {standard, simple, gradient});
    barLayout->addWidget(standard, 0, 0);
    barLayout->addWidget(simple, 1, 0);
    barLayout->addWidget(colorButton("cbnSimple"), 1, 1, Qt::AlignLeft);
    barLayout->addWidget(gradient, 2, 0);
    auto* gradientRow = new QHBoxLayout;
    gradientRow->addWidget(named(new QLabel(text("от")), "lblFrom"));
    gradientRow->addWidget(colorButton("cbnFrom"));
    gradientRow->addWidget(named(new QLabel(text("до")), "lblTo"));
    gradientRow->addWidget(colorButton("cbnTo"));
    gradientRow->addStretch();
    barLayout->addLayout(gradientRow, 2, 1);
    barLayout->setColumnStretch(2, 1);
    layout->addWidget(bars);

    auto* buttons = named(new QGroupBox(text(" Оформление кнопок ")), "grpButtonColor");
    auto* buttonLayout = new QGridLayout(buttons);
    auto* standardButton = radio("rbnStandardButton", "Стандартное");
    auto* colorButtons = radio("rbnColorButton", "Цветовое");
    auto* simpleButton = radio("rbnSimpleButton", "Выбор цвета");
    makeExclusive(buttons, {standardButton, colorButtons, simpleButton});
    buttonLayout->addWidget(standardButton, 0, 0);
    buttonLayout->addWidget(colorButtons, 1, 0);
    buttonLayout->addWidget(simpleButton, 2, 0);
    buttonLayout->addWidget(colorList("cbnButtonColor"), 2, 1);
    buttonLayout->setColumnStretch(2, 1);
    layout->addWidget(buttons);
    layout->addStretch();
    return page;
}

} // namespace settings
