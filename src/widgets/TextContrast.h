#pragma once
#include <QColor>

namespace widgets {

// Contrast of two colours as the web's accessibility rules measure it: (L1 + 0.05) / (L2 + 0.05) of
// their relative luminances, from 1 (the same) to 21 (black on white).
double contrastRatio(const QColor& a, const QColor& b);

// The text colour to use on a background: the preferred one while it stands out from the
// background by at least minimum; otherwise black or white (whichever stands out more) for grey
// text, and for a colour the colour mixed towards that just far enough to read well. So black text
// and the program's navy, maroon and red keep their colours on light backgrounds and turn light on
// dark ones.
QColor readableOn(const QColor& background, const QColor& preferred, double minimum = 3.0);

// The same choice for the program's bars: black or white, whichever stands out more.
QColor blackOrWhiteOn(const QColor& background);

} // namespace widgets
