#pragma once
#include "dialogs/DialogServices.h"
#include "platform/fake/FakePathMapper.h"
#include "widgets/WidgetTestSupport.h"

#include <QDialog>
#include <QLineEdit>
#include <QString>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace dialogtest {

// Runs the modal dialogs of a test: each run takes the next scripted step, which may drive the
// real dialog and returns its result. With no step left a dialog is rejected. Everything the
// dialogs report is recorded.
struct Harness {
    std::deque<std::function<int(QDialog&)>> steps;
    std::vector<std::string> errors;
    std::vector<QString> refusals;
    std::vector<QString> shownDialogs; // object names, in the order they ran
    std::deque<std::string> chosenFiles;
    std::vector<QString> fileFilters;
    platform::FakePathMapper paths;

    dialogs::DialogServices services();
    void then(std::function<int(QDialog&)> step) { steps.push_back(std::move(step)); }
};

// A control of a dialog by its object name (fails the test when missing).
template <typename W = QWidget> W* child(const QWidget* parent, const char* name) {
    W* w = parent->findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

inline std::string text(const QWidget* parent, const char* name) {
    auto* edit = child<QLineEdit>(parent, name);
    return edit ? edit->text().toStdString() : std::string();
}

// Types text into a widget as key presses carrying the characters.
using widgettest::typeText;
// Replaces an edit's text as the user would: select all, type.
void retype(QLineEdit* edit, const QString& text);
// Clicks a button found by name.
void click(const QWidget* parent, const char* name);

} // namespace dialogtest

namespace dialogtest {
// Steps: press the dialog's own buttons, so its checks and closing rules run.
int pressOk(QDialog& dialog);
int pressCancel(QDialog& dialog);
} // namespace dialogtest

namespace dialogtest {
// A whole double click as a person makes it: press, release, double click, release.
void doubleClick(QWidget* widget, QPoint at);
} // namespace dialogtest
