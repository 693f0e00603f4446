#pragma once
// A window's stored size and position: restored as an outer size (frame
// included, as the settings keep it), clamped to the available area of the
// window's screen, and read back for storing as the outer size of the normal
// state, also while the window is minimised or maximised.
//
// The frame is known only once the window is on screen. A size restored
// before that is kept and applied as an outer size when the frame becomes
// known (the first show, move or resize), so that what is stored on close is
// what was restored and the window does not grow by its frame every session;
// a size someone else gave the window meanwhile stands.
//
//     m_geometry = new WindowGeometry(*this);
//     m_geometry->restoreOuterSize(stored);        // before or after show()
//     ...
//     store(m_geometry->outerNormalSize());        // on close

#include <QObject>
#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

class WindowGeometry : public QObject
{
    Q_OBJECT
public:
    // Follows the window's events; a child of the window.
    explicit WindowGeometry(QWidget &window);

    // Sizes the window so that its outer size is outer, at most the available
    // area. An empty size changes nothing.
    void restoreOuterSize(QSize outer);
    // The same, and moves the window's outer top-left corner to outer's,
    // shifted so that the window lies within the available area.
    void restoreOuterGeometry(const QRect &outer);

    // What to store: the outer size (and place) of the normal state.
    QSize outerNormalSize() const;
    QRect outerNormalGeometry() const;
    // The frame's share of the outer size; empty until the window is on screen.
    QSize frameExtra() const;

    // outer shrunk to fit area and then moved into it.
    static QRect clamped(const QRect &outer, const QRect &area);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QRect availableArea() const;
    void applyOuterSize(QSize outer);

    QWidget &m_window;
    QSize m_pendingOuterSize; // restored before the frame was known
    QSize m_pendingInnerSize; // the size given for it
};
