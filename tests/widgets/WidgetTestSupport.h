#pragma once
#include <QColor>
#include <QString>

class QWidget;

namespace widgettest {

// Types text into a widget as key presses carrying the characters (QTest::keyClicks passes only
// Latin-1). A character outside the Basic Multilingual Plane goes as one event with both halves.
void typeText(QWidget* widget, const QString& text);
// Colour of one pixel of what the widget paints.
QColor pixelOf(QWidget* widget, int x, int y);
// Shows a window and waits until it is the active one, so focus changes send focus events.
bool showActive(QWidget* window);

} // namespace widgettest
