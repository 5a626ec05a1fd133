#include "widgets/RadioGroup.h"

#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <vector>

using widgets::RadioGroup;

namespace {

struct Radios {
    Radios() {
        auto* layout = new QVBoxLayout(&box);
        for (const char* caption : {"Сворачивать", "Закрывать", "Не изменять"}) {
            auto* radio = new QRadioButton(caption, &box);
            layout->addWidget(radio);
            group.addButton(radio);
            radios.push_back(radio);
        }
    }
    std::vector<bool> states() const {
        std::vector<bool> result;
        for (auto* radio : radios)
            result.push_back(radio->isChecked());
        return result;
    }

    QWidget box;
    RadioGroup group;
    std::vector<QRadioButton*> radios;
};

} // namespace

TEST(RadioGroupTest, SettingsSequencesGiveOneOrNoneTicked) {
    struct Step {
        int radio;
        bool checked;
    };
    struct Case {
        const char* name;
        std::vector<Step> steps;
        int ticked;
    };
    const Case cases[] = {
        {"nothing set", {}, -1},
        {"the later set wins", {{0, true}, {1, true}}, 1},
        {"all false", {{0, false}, {1, false}, {2, false}}, -1},
        {"ticked, then unticked", {{2, true}, {2, false}}, -1},
        {"unticking another leaves the ticked one", {{0, true}, {1, false}, {2, false}}, 0},
        {"loaded in table order: 1, 0, 1", {{0, true}, {1, false}, {2, true}}, 2},
        {"ticked again after none", {{1, true}, {1, false}, {0, true}}, 0},
    };
    for (const Case& c : cases) {
        Radios r;
        for (const Step& step : c.steps)
            r.group.setChecked(r.radios[step.radio], step.checked);
        EXPECT_EQ(r.group.checkedIndex(), c.ticked) << c.name;
        int count = 0;
        for (bool on : r.states())
            count += on ? 1 : 0;
        EXPECT_EQ(count, c.ticked < 0 ? 0 : 1) << c.name;
    }
}

TEST(RadioGroupTest, UserClicksSwitchButNeverUntick) {
    Radios r;
    r.box.show();
    QTest::mouseClick(r.radios[1], Qt::LeftButton);
    EXPECT_EQ(r.group.checkedIndex(), 1) << "a click ticks one when none was";
    QTest::mouseClick(r.radios[1], Qt::LeftButton);
    EXPECT_EQ(r.group.checkedIndex(), 1) << "a click on the ticked one keeps it";
    QTest::mouseClick(r.radios[2], Qt::LeftButton);
    EXPECT_EQ(r.states(), (std::vector<bool>{false, false, true}));
}

TEST(RadioGroupTest, ReportsTheTickedRadioAndNone) {
    Radios r;
    QSignalSpy changed(&r.group, &RadioGroup::checkedChanged);
    r.group.setChecked(r.radios[0], true);
    r.group.setChecked(r.radios[2], true);
    r.group.clear();
    ASSERT_EQ(changed.count(), 3);
    EXPECT_EQ(changed.at(1).at(0).value<QAbstractButton*>(), r.radios[2]);
    EXPECT_EQ(changed.at(2).at(0).value<QAbstractButton*>(), nullptr);
}

TEST(RadioGroupTest, RadiosTickedBeforeAddingKeepTheLastOne) {
    QWidget box;
    QRadioButton a("a", &box);
    QRadioButton b("b", &box);
    a.setAutoExclusive(false);
    b.setAutoExclusive(false);
    a.setChecked(true);
    b.setChecked(true);
    RadioGroup group;
    group.addButton(&a);
    group.addButton(&b);
    EXPECT_FALSE(a.isChecked());
    EXPECT_EQ(group.checkedButton(), &b);
}
