#include "dialogs/EditPrg.h"
#include "DialogTestSupport.h"

#include <QLineEdit>

namespace {

using namespace dialogtest;

data::ExecutableDialogResult run(Harness& harness, int mode, std::function<int(QDialog&)> step,
                                 dialogs::ExecutableRecord current = {}) {
    harness.then(std::move(step));
    dialogs::TfrmEditProgram dialog(harness.services());
    return dialog.Execute(mode, current);
}

TEST(EditProgram, ANewExecutableOffersTheDefaultNameAndNoFile) {
    Harness harness;
    std::string name, path;
    const auto result = run(harness, 0, [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QString::fromUtf8("Регистрация исполняемого модуля"));
        name = text(&d, "edtName");
        path = text(&d, "edtPath");
        retype(child<QLineEdit>(&d, "edtPath"), QStringLiteral("C:\\1cv77\\bin\\1cv7s.exe"));
        return pressCancel(d);
    });
    EXPECT_EQ(name, "1C:Предприятие 7.7");
    EXPECT_EQ(name.substr(0, 2), "1C"); // a Latin C
    EXPECT_EQ(path, "");
    EXPECT_EQ(result.name, "");
    EXPECT_EQ(result.path, "");
}

TEST(EditProgram, EditModeShowsTheRowAndOkReturnsTheTexts) {
    Harness harness;
    const auto result = run(harness, 1,
                            [](QDialog& d) {
                                EXPECT_EQ(text(&d, "edtName"), "Бухгалтерия");
                                retype(child<QLineEdit>(&d, "edtName"), QStringLiteral("Sales"));
                                return pressOk(d);
                            },
                            {"Бухгалтерия", "C:\\1C\\1cv7.exe"});
    EXPECT_EQ(result.name, "Sales");
    EXPECT_EQ(result.path, "C:\\1C\\1cv7.exe");
}

TEST(EditProgram, AChosenExecutableIsStoredAsItsWindowsPath) {
    Harness harness;
    harness.chosenFiles = {"/home/u/x"};
    const auto result = run(harness, 0, [](QDialog& d) {
        click(&d, "btnChoice");
        return pressOk(d);
    });
    EXPECT_EQ(result.path, "Z:\\home\\u\\x");
    EXPECT_EQ(harness.fileFilters, (std::vector<QString>{QString::fromUtf8("Приложение|*.exe|exe")}));
}

TEST(EditProgram, AChosenFileWhoseNameWindows1251CannotHoldIsRefused) {
    Harness harness;
    harness.chosenFiles = {"/opt/1С/日本/1cv7.exe"};
    const auto result = run(harness, 0, [](QDialog& d) {
        click(&d, "btnChoice");
        return pressOk(d);
    });
    EXPECT_EQ(result.path, "");
    ASSERT_EQ(harness.errors.size(), 1u);
    EXPECT_NE(harness.errors[0].find("Windows-1251"), std::string::npos);
}

} // namespace
