#include "WidgetTestSupport.h"

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QPixmap>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

namespace widgettest {
namespace {

// The window tests (widgets, dialogs and the windows built of them) need one QApplication for the
// whole run.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_widgets";
        static char* argv[] = {name, nullptr};
        m_app = new QApplication(argc, argv);
    }
    void TearDown() override {
        delete m_app;
        m_app = nullptr;
    }

private:
    QApplication* m_app = nullptr;
};

[[maybe_unused]] const auto* const kEnvironment = ::testing::AddGlobalTestEnvironment(new QtApplicationEnvironment);

} // namespace

void typeText(QWidget* widget, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        QString unit = text.mid(i, text.at(i).isHighSurrogate() ? 2 : 1);
        i += unit.size() - 1;
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, unit);
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, unit);
        QApplication::sendEvent(widget, &release);
    }
}

QColor pixelOf(QWidget* widget, int x, int y) {
    return widget->grab().toImage().pixelColor(x, y);
}

bool showActive(QWidget* window) {
    window->show();
    window->activateWindow();
    return QTest::qWaitForWindowActive(window);
}

} // namespace widgettest
