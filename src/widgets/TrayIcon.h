#pragma once
#include <QIcon>
#include <QList>
#include <QObject>
#include <QSystemTrayIcon>
#include <QTimer>
#include <memory>

class QMenu;

namespace widgets {

class TrayHost;

// The program's icon in the notification area: visibility, the tool tip "Tarvesk", a static
// picture or an animation of 8 pictures shown every 300 ms in a loop, and the mouse on it told
// apart: a left click is reported as clicked() only when the double-click interval passes without
// a second click; a double click is reported as doubleClicked() instead, never both.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    static constexpr int kFrameIntervalMs = 300;

    // On the desktop's notification area.
    explicit TrayIcon(QObject* parent = nullptr);
    // On the given notification area (tests pass a fake).
    explicit TrayIcon(std::unique_ptr<TrayHost> host, QObject* parent = nullptr);
    ~TrayIcon() override;

    bool isVisible() const { return m_visible; }
    void setVisible(bool visible);
    // Switching the animation on goes on from the picture it had reached; switching it off shows
    // the static picture at once.
    bool isAnimated() const { return m_animated; }
    void setAnimated(bool animated);
    // Index of the animation picture reached (0..7); the first picture at the start.
    int currentFrame() const { return m_frame; }
    bool isAnimationRunning() const { return m_frameTimer.isActive(); }
    // A single click waits for the double-click interval to pass.
    bool isClickPending() const { return m_clickPending; }
    void setContextMenu(QMenu* menu);

    QIcon staticIcon() const { return m_static; }
    QIcon frameIcon(int frame) const { return m_frames.value(frame); }
    QString toolTip() const;

public slots:
    // One step of the animation (the animation timer's tick): the next picture, after the last the first.
    void advanceFrame();
    // What the notification area reports, dispatched to the handlers below.
    void handleActivation(QSystemTrayIcon::ActivationReason reason);
    // A left click: starts the wait for a second one; a second click during the wait counts as a
    // double click (some notification areas report no double clicks of their own).
    void handleClick();
    void handleDoubleClick();
    void handleContextMenuRequest(const QPoint& globalPos);
    // The end of the wait: the click was a single click. Nothing when no click is waiting.
    void finishClick();

signals:
    void clicked();
    void doubleClicked();
    void contextMenuRequested(const QPoint& globalPos);

private:
    void init();
    void showPicture();
    void updateTimer();

    std::unique_ptr<TrayHost> m_host;
    QIcon m_static;
    QList<QIcon> m_frames;
    QTimer m_frameTimer;
    QTimer m_clickTimer;
    int m_frame = 0;
    bool m_visible = false;
    bool m_animated = false;
    bool m_clickPending = false;
};

} // namespace widgets
