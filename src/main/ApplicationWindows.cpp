#include "main/ApplicationWindows.h"

#include <QApplication>

namespace mainwin {

ApplicationWindows::ApplicationWindows(QWidget* mainWindow, Rules rules, QObject* parent)
    : QObject(parent), m_main(mainWindow), m_rules(std::move(rules)) {}

bool ApplicationWindows::isMinimized() const {
    return m_hidden || m_main->isMinimized();
}

QList<QWidget*> ApplicationWindows::otherOpenWindows() const {
    QList<QWidget*> windows;
    if (!m_rules.otherWindows)
        return windows;
    for (QWidget* w : m_rules.otherWindows()) {
        if (w && w != m_main && w->isVisible() && !w->isModal())
            windows.append(w);
    }
    return windows;
}

void ApplicationWindows::minimizeApplication() {
    if (m_main->isMinimized() && !m_hidden) {
        afterMinimized();
        return;
    }
    if (!m_hidden)
        m_main->showMinimized(); // the window reports it through afterMinimized
}

void ApplicationWindows::afterMinimized() {
    if (m_hidden || !m_main->isMinimized())
        return;
    m_taken.clear();
    for (QWidget* w : otherOpenWindows()) {
        m_taken.append(w);
        w->showMinimized();
    }
    const bool tray = m_rules.sysTray && m_rules.sysTray();
    const bool area = m_rules.trayAvailable && m_rules.trayAvailable();
    if (tray && area) {
        m_hidden = true;
        for (const QPointer<QWidget>& w : m_taken) {
            if (w)
                w->hide();
        }
        m_main->hide();
    }
}

void ApplicationWindows::restoreApplication() {
    if (!m_started)
        return;
    const bool wasHidden = m_hidden;
    m_hidden = false;
    if (wasHidden || m_main->isMinimized()) {
        m_main->showNormal();
        for (const QPointer<QWidget>& w : m_taken) {
            if (w)
                w->showNormal();
        }
        m_taken.clear();
    }
    bringToFront();
}

void ApplicationWindows::activate() {
    if (!m_started)
        return;
    if (isMinimized())
        restoreApplication();
    else
        bringToFront();
}

void ApplicationWindows::bringToFront() {
    if (!m_main->isVisible())
        m_main->show();
    m_main->raise();
    m_main->activateWindow();
}

void ApplicationWindows::terminateApplication() {
    if (m_rules.terminate)
        m_rules.terminate();
}

} // namespace mainwin
