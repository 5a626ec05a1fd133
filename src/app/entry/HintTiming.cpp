#include "app/entry/HintTiming.h"

#include <QApplication>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

namespace app {

int HintStyle::styleHint(StyleHint hint, const QStyleOption* option, const QWidget* widget,
                         QStyleHintReturn* returnData) const {
    if (hint == SH_ToolTip_WakeUpDelay)
        return kHintPauseMs;
    // How long after a hint showed the next one needs only the short pause (the toolkit's own
    // short pause is 20 ms): as long as a hint stays.
    if (hint == SH_ToolTip_FallAsleepDelay)
        return kHintHideMs;
    return QProxyStyle::styleHint(hint, option, widget, returnData);
}

bool HintDuration::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && !widget->toolTip().isEmpty()) {
            const auto* help = static_cast<QHelpEvent*>(event);
            QToolTip::showText(help->globalPos(), widget->toolTip(), widget, {}, kHintHideMs);
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

void installHintTiming(QObject* owner) {
    QApplication::setStyle(new HintStyle(QApplication::style()->name()));
    qApp->installEventFilter(new HintDuration(owner));
}

} // namespace app
