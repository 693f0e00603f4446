#pragma once
// The status bar sbStatusBar as a row of command panels (the function bar):
// one sunken panel per entry of the function-bar table, each with its
// tooltip. A click on a panel reports the panel's text; the window decides
// what, if anything, it runs.

#include <QStatusBar>

class QLabel;

class FunctionBar : public QStatusBar
{
    Q_OBJECT
public:
    explicit FunctionBar(QWidget *parent = nullptr);

    // One sunken, clickable panel of a function bar (this one or an editor's),
    // added to bar; clicks reach filter's event filter.
    static QLabel *addPanel(QStatusBar *bar, const QString &text, const QString &tooltip, QObject *filter);

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
