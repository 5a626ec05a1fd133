#include "widgets/CheckGroupBox.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

using widgets::CheckGroupBox;

namespace {

// cgbAutoStart-like: an inner group with a radio, an inner check group with a check box, an edit.
struct Fixture {
    Fixture() {
        auto* layout = new QVBoxLayout(&outer);
        inner = new QGroupBox(" Источник автозагрузки ", &outer);
        radio = new QRadioButton("Системный реестр", inner);
        (new QVBoxLayout(inner))->addWidget(radio);
        nested = new CheckGroupBox("Пакетный режим", &outer);
        nestedCheck = new QCheckBox("Если отсутствует", nested);
        (new QVBoxLayout(nested))->addWidget(nestedCheck);
        nested->setChecked(true);
        edit = new QLineEdit(&outer);
        layout->addWidget(inner);
        layout->addWidget(nested);
        layout->addWidget(edit);
    }

    bool allEnabled() const { return radio->isEnabled() && nestedCheck->isEnabled() && edit->isEnabled(); }
    bool noneEnabled() const { return !radio->isEnabled() && !nestedCheck->isEnabled() && !edit->isEnabled(); }

    CheckGroupBox outer{"Загружать при старте Windows"};
    QGroupBox* inner;
    QRadioButton* radio;
    CheckGroupBox* nested;
    QCheckBox* nestedCheck;
    QLineEdit* edit;
};

} // namespace

TEST(CheckGroupBoxTest, TickFromCodeEnablesAndDisablesNestedControls) {
    Fixture f;
    EXPECT_TRUE(f.outer.isCheckable());
    EXPECT_FALSE(f.outer.isChecked());
    EXPECT_TRUE(f.noneEnabled());
    QSignalSpy toggled(&f.outer, &CheckGroupBox::toggled);

    f.outer.setChecked(true);
    EXPECT_TRUE(f.allEnabled());
    f.outer.setChecked(false);
    EXPECT_TRUE(f.noneEnabled());
    EXPECT_EQ(toggled.count(), 2);
}

TEST(CheckGroupBoxTest, TickByTheUserEnablesTheControls) {
    Fixture f;
    f.outer.resize(300, 200);
    f.outer.show();
    QStyleOptionGroupBox option;
    option.initFrom(&f.outer);
    option.text = f.outer.title();
    option.subControls = QStyle::SC_GroupBoxCheckBox | QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
    option.features = QStyleOptionFrame::None;
    option.state |= QStyle::State_Off;
    QRect check = f.outer.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxCheckBox, &f.outer);

    QTest::mouseClick(&f.outer, Qt::LeftButton, Qt::NoModifier, check.center());
    EXPECT_TRUE(f.outer.isChecked());
    EXPECT_TRUE(f.allEnabled());
}

TEST(CheckGroupBoxTest, ControlDisabledOnItsOwnStaysDisabled) {
    Fixture f;
    f.inner->setEnabled(false);
    f.outer.setChecked(true);
    EXPECT_FALSE(f.radio->isEnabled());
    EXPECT_TRUE(f.edit->isEnabled());
    f.nested->setChecked(false);
    EXPECT_FALSE(f.nestedCheck->isEnabled()) << "an unticked nested group keeps its controls off";
}
