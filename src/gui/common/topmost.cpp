#include "gui/common/topmost.h"

#include <QWidget>

namespace Topmost {

void apply(QWidget &window, bool on)
{
    if (bool(window.windowFlags() & Qt::WindowStaysOnTopHint) == on)
        return;
    const bool wasVisible = window.isVisible();
    const QRect where = window.geometry();
    window.setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (wasVisible) {
        window.setGeometry(where);
        window.show();
    }
}

} // namespace Topmost
