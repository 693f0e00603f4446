#pragma once
// A status bar as a row of command panels (the function bar): one sunken
// panel per entry of a window's function-bar table, each with its tooltip.
// A click on a panel reports the panel's text; the window (ActionBuilder)
// decides what, if anything, it runs.

#include "core/window/windowtables.h"

#include <QStatusBar>

class QLabel;

class FunctionBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit FunctionBar(const QList<FunctionBarPanel> &panels, QWidget *parent = nullptr);

    QStringList panelTexts() const;
    // The panel with the text; null when there is none.
    QLabel *panel(const QString &text) const;

signals:
    void panelClicked(const QString &text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QList<QLabel *> m_panels;
};
