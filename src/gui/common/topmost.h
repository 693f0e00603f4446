#pragma once
// Keeping a window in front of the others (most-front).

class QWidget;

namespace Topmost {

// Sets or clears Qt::WindowStaysOnTopHint. Changing the flags hides the
// window; a visible one comes back where it was.
void apply(QWidget &window, bool on);

} // namespace Topmost
