#include "DialogTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace dialogtest {
namespace {

// The dialog tests need one QApplication for the whole run.
class QtApplicationEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        static int argc = 1;
        static char name[] = "test_dialogs";
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

dialogs::DialogServices Harness::services() {
    dialogs::DialogServices s;
    s.pathMapper = &paths;
    s.reportError = [this](const std::string& message) { errors.push_back(message); };
    s.refused = [this](const QString& message) { refusals.push_back(message); };
    s.chooseFile = [this](const dialogs::FileRequest& request) {
        fileFilters.push_back(request.filterName + QLatin1Char('|') + request.pattern + QLatin1Char('|') +
                              request.defaultSuffix);
        if (chosenFiles.empty())
            return std::string();
        std::string file = chosenFiles.front();
        chosenFiles.pop_front();
        return file;
    };
    s.exec = [this](QDialog& dialog) {
        shownDialogs.push_back(dialog.objectName());
        if (steps.empty())
            return int(QDialog::Rejected);
        auto step = std::move(steps.front());
        steps.pop_front();
        return step(dialog);
    };
    return s;
}

void typeText(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(widget, &release);
    }
}

void retype(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    typeText(edit, text);
}

void click(const QWidget* parent, const char* name) {
    if (auto* button = child<QAbstractButton>(parent, name))
        button->click();
}

} // namespace dialogtest

namespace dialogtest {

int pressOk(QDialog& dialog) {
    dialog.setResult(-1);
    click(&dialog, "btnOk");
    return dialog.result();
}

int pressCancel(QDialog& dialog) {
    click(&dialog, "btnCancel");
    return dialog.result();
}

} // namespace dialogtest

namespace dialogtest {

void doubleClick(QWidget* widget, QPoint at) {
    const QPointF local(at);
    const QPointF global(widget->mapToGlobal(at));
    auto send = [&](QEvent::Type type, Qt::MouseButtons held) {
        QMouseEvent event(type, local, global, Qt::LeftButton, held, Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    send(QEvent::MouseButtonPress, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
    send(QEvent::MouseButtonDblClick, Qt::LeftButton);
    send(QEvent::MouseButtonRelease, Qt::NoButton);
}

} // namespace dialogtest
