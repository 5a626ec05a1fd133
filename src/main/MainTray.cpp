#include "main/MainTray.h"

#include "widgets/TrayHost.h"
#include "widgets/TrayIcon.h"

#include <QMenu>

namespace mainwin {

MainTray::MainTray(std::unique_ptr<widgets::TrayHost> host, QObject* parent)
    : QObject(parent), m_menu(std::make_unique<QMenu>()) {
    m_menu->setObjectName(QStringLiteral("pmuTray"));
    QAction* setup = addEntry("pmiTraySetup", QStringLiteral("Настройки..."), &MainTray::settingsRequested);
    QFont bold = setup->font();
    bold.setBold(true);
    setup->setFont(bold);
    m_menu->setDefaultAction(setup);
    addEntry("pmiTrayRestore", QStringLiteral("Восстановить"), &MainTray::restoreRequested);
    addEntry("pmiTrayMinimize", QStringLiteral("Свернуть"), &MainTray::minimizeRequested);
    m_menu->addSeparator();
    addEntry("pmiTrayClose", QStringLiteral("Закрыть"), &MainTray::terminateRequested);

    m_icon = host ? new widgets::TrayIcon(std::move(host), this) : new widgets::TrayIcon(this);
    m_icon->setObjectName(QStringLiteral("TrayIcon"));
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon, &widgets::TrayIcon::clicked, this, &MainTray::restoreRequested);
    connect(m_icon, &widgets::TrayIcon::doubleClicked, this, &MainTray::settingsRequested);
}

MainTray::~MainTray() {
    delete m_icon; // before the menu it shows
}

QAction* MainTray::addEntry(const char* name, const QString& text, void (MainTray::*signal)()) {
    QAction* action = m_menu->addAction(text);
    action->setObjectName(QString::fromLatin1(name));
    connect(action, &QAction::triggered, this, signal);
    return action;
}

} // namespace mainwin
