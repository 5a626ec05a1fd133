#pragma once
#include "platform/fake/FakePathMapper.h"
#include "settings/AppearanceTarget.h"
#include "settings/AutoStart.h"
#include "settings/Setup.h"
#include "support/TempDir.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace setuptest {

inline QApplication& qtApp() {
    static int argc = 1;
    static char name[] = "test_settings_window";
    static char* argv[] = {name, nullptr};
    // Never destroyed: it must outlive every window of every test, and Qt's own globals too.
    static QApplication* app = new QApplication(argc, argv);
    return *app;
}

// Records the order of the OK/Apply steps; the autostart step can be told to fail.
struct StepLog : settings::AppearanceTarget, settings::AutoStart {
    void applyAppearance(const settings::TfrmSetup& setup) override {
        steps.push_back("appearance");
        lastStandardBars = setup.standardBars();
    }
    void applyAutoStart(const Choice& choice) override {
        steps.push_back("autostart");
        lastChoice = choice;
        if (!autoStartError.empty())
            throw std::runtime_error(autoStartError);
    }
    std::vector<std::string> steps;
    std::string autoStartError;
    bool lastStandardBars = false;
    Choice lastChoice;
};

class SetupFixture : public ::testing::Test {
protected:
    SetupFixture() { qtApp(); }

    std::string iniPath() const { return m_dir.file("Tarvesk.ini"); }
    // Writes the settings file (UTF-8 test text is plain ASCII here).
    void writeIni(const std::string& text) const { testsupport::writeFile(iniPath(), text); }

    // The window as the program creates it: hidden, on the temporary settings file.
    settings::TfrmSetup& create(const std::string& path = {}) {
        settings::SetupServices services;
        services.appearance = &m_log;
        services.autoStart = &m_log;
        services.pathMapper = &m_mapper;
        services.reportError = [this](const std::string& message) { m_errors.push_back(message); };
        services.choosePrmFile = [this] { return m_chosenFile; };
        services.controlMap = &m_map;
        m_window = std::make_unique<settings::TfrmSetup>(path.empty() ? iniPath() : path, services);
        return *m_window;
    }
    // Opens the window (non-modal here so the test can drive it).
    void open() {
        m_window->show();
        QApplication::processEvents();
    }

    template <typename W = QWidget> W* control(const char* name) const {
        W* w = m_window->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    bool checked(const char* name) const {
        QWidget* w = control(name);
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            return b->isChecked();
        if (auto* g = qobject_cast<QGroupBox*>(w))
            return g->isChecked();
        ADD_FAILURE() << name << " has no tick";
        return false;
    }
    bool enabled(const char* name) const { return control(name)->isEnabled(); }

    // Clicks a tab of the page control.
    void showPage(int index) {
        auto* pages = control<QTabWidget>("pgcSetup");
        QTabBar* bar = pages->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        ASSERT_EQ(pages->currentIndex(), index);
    }
    // Clicks a check box or radio on its indicator (the page holding it must be shown).
    void click(const char* name) {
        auto* b = control<QAbstractButton>(name);
        ASSERT_TRUE(b->isVisible()) << name << " is not on the page shown";
        QTest::mouseClick(b, Qt::LeftButton, {}, QPoint(8, b->height() / 2));
    }
    // Ticks or unticks a check group box by the keyboard, as the user can.
    void toggleGroup(const char* name) {
        auto* g = control<QGroupBox>(name);
        ASSERT_TRUE(g->isVisible()) << name << " is not on the page shown";
        QTest::keyClick(g, Qt::Key_Space);
    }
    // Types text, characters beyond ASCII included.
    void type(QWidget* w, const QString& text) {
        for (QChar c : text)
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
    void pressButton(const char* name) { QTest::mouseClick(control<QAbstractButton>(name), Qt::LeftButton); }

    testsupport::TempDir m_dir;
    StepLog m_log;
    platform::FakePathMapper m_mapper; // Z: is "/"
    std::vector<std::string> m_errors;
    std::string m_chosenFile;
    std::string m_map = "not loaded";
    std::unique_ptr<settings::TfrmSetup> m_window;
};

} // namespace setuptest
