#include "gui/common/windowgeometry.h"

#include <QEvent>
#include <QScreen>
#include <QWidget>

#include <algorithm>

WindowGeometry::WindowGeometry(QWidget &window) : QObject(&window), m_window(window)
{
    window.installEventFilter(this);
}

void WindowGeometry::restoreOuterSize(QSize outer)
{
    if (outer.width() <= 0 || outer.height() <= 0)
        return;
    const QRect area = availableArea();
    if (area.isValid())
        outer = outer.boundedTo(area.size());
    applyOuterSize(outer);
}

void WindowGeometry::restoreOuterGeometry(const QRect &outer)
{
    if (outer.width() <= 0 || outer.height() <= 0)
        return;
    const QRect area = availableArea();
    const QRect placed = area.isValid() ? clamped(outer, area) : outer;
    applyOuterSize(placed.size());
    // For a window, the position is its frame's.
    m_window.move(placed.topLeft());
}

void WindowGeometry::applyOuterSize(QSize outer)
{
    const QSize frame = frameExtra();
    const QSize inner = outer - frame;
    if (inner.width() <= 0 || inner.height() <= 0)
        return;
    m_window.resize(inner);
    m_pendingOuterSize = frame.isNull() ? outer : QSize();
    m_pendingInnerSize = inner;
}

QSize WindowGeometry::frameExtra() const
{
    if (!m_window.isVisible())
        return QSize(0, 0);
    return m_window.frameGeometry().size() - m_window.geometry().size();
}

QSize WindowGeometry::outerNormalSize() const
{
    return outerNormalGeometry().size();
}

QRect WindowGeometry::outerNormalGeometry() const
{
    const bool normal = !(m_window.isMinimized() || m_window.isMaximized() || m_window.isFullScreen());
    const QRect inner = normal ? m_window.geometry() : m_window.normalGeometry();
    if (!m_window.isVisible())
        return QRect(m_window.pos(), inner.size());
    // The frame around the inner rectangle, as it is around the window now.
    const QRect frame = m_window.frameGeometry();
    const QRect now = m_window.geometry();
    return inner.adjusted(frame.left() - now.left(), frame.top() - now.top(), frame.right() - now.right(),
                          frame.bottom() - now.bottom());
}

QRect WindowGeometry::clamped(const QRect &outer, const QRect &area)
{
    if (!area.isValid())
        return outer;
    const QSize size = outer.size().boundedTo(area.size());
    const int x = std::clamp(outer.x(), area.left(), area.left() + area.width() - size.width());
    const int y = std::clamp(outer.y(), area.top(), area.top() + area.height() - size.height());
    return QRect(QPoint(x, y), size);
}

QRect WindowGeometry::availableArea() const
{
    const QScreen *screen = m_window.screen();
    return screen ? screen->availableGeometry() : QRect();
}

bool WindowGeometry::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != &m_window)
        return false;
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        // Someone else sized the window meanwhile: that size stands.
        if (m_pendingOuterSize.isValid() && m_window.size() != m_pendingInnerSize)
            m_pendingOuterSize = QSize();
        if (m_pendingOuterSize.isValid() && !frameExtra().isNull()) {
            const QSize outer = m_pendingOuterSize;
            m_pendingOuterSize = QSize();
            if (!m_window.isMaximized() && !m_window.isFullScreen() && !m_window.isMinimized())
                applyOuterSize(outer);
        }
        break;
    default: break;
    }
    return false;
}
