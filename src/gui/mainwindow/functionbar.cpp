#include "gui/mainwindow/functionbar.h"

#include "core/window/mainwindowtables.h"

#include <QLabel>
#include <QMouseEvent>

FunctionBar::FunctionBar(QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (const FunctionBarPanel &p : MainWindowTables::functionBar())
        m_panels.append(addPanel(this, p.text, p.tooltip, this));
}

QLabel *FunctionBar::addPanel(QStatusBar *bar, const QString &text, const QString &tooltip, QObject *filter)
{
    auto *label = new QLabel(text, bar);
    label->setToolTip(tooltip);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(1);
    label->setMinimumWidth(label->fontMetrics().horizontalAdvance(text) + 16);
    label->installEventFilter(filter);
    bar->addWidget(label, 0);
    return label;
}

QStringList FunctionBar::panelTexts() const
{
    QStringList texts;
    for (const QLabel *label : m_panels)
        texts.append(label->text());
    return texts;
}

QLabel *FunctionBar::panel(const QString &text) const
{
    for (QLabel *label : m_panels) {
        if (label->text() == text)
            return label;
    }
    return nullptr;
}

bool FunctionBar::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *label = qobject_cast<QLabel *>(watched);
        auto *mouse = static_cast<QMouseEvent *>(event);
        if (label && m_panels.contains(label) && mouse->button() == Qt::LeftButton
            && label->rect().contains(mouse->position().toPoint()))
            emit panelClicked(label->text());
    }
    return QStatusBar::eventFilter(watched, event);
}
