#pragma once
#include <QObject>
#include <QProxyStyle>

namespace app {

// The hint timing of the whole application: a hint shows 300 ms after the pointer rests on a
// control, stays 3000 ms, and shows after 20 ms when the pointer moves on while hints are shown
// (the toolkit waits 20 ms while its "fall asleep" time after the last hint runs).
inline constexpr int kHintPauseMs = 300;
inline constexpr int kHintHideMs = 3000;

class HintStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int styleHint(StyleHint hint, const QStyleOption* option = nullptr, const QWidget* widget = nullptr,
                  QStyleHintReturn* returnData = nullptr) const override;
};

// Shows every control's hint for kHintHideMs.
class HintDuration : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

// Installs both on the running application.
void installHintTiming(QObject* owner);

} // namespace app
