#pragma once

class QWidget;

namespace registry {

// Moves a top-level window so that its centre is the centre of the other window (of the screen
// when there is none).
void centerOn(QWidget& window, const QWidget* other);

} // namespace registry
