#pragma once
// SplashForm: the about window. A borderless window cut to a rounded
// rectangle over a tiled background, with the version, an OK label that
// closes it, and two labels that open the maker's pages. Pressing the mouse
// anywhere else drags the window.

#include <QDialog>

class QLabel;
class Shell;

class SplashForm : public QDialog
{
    Q_OBJECT
public:
    explicit SplashForm(Shell &shell, QWidget *parent = nullptr);

    // " Ver.1.0.0"
    static QString versionText();

    QLabel *versionLabel() const { return m_version; }
    QLabel *okLabel() const { return m_ok; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLabel *makeLink(const QString &text, const QString &target);

    Shell &m_shell;
    QPixmap m_tile;
    QLabel *m_version = nullptr;
    QLabel *m_ok = nullptr;
    QPoint m_dragOffset;
    bool m_dragging = false;
};
