#include "DialogTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>

namespace dialogtest {

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
