#include "gui/common/functionbar.h"

#include <QLabel>
#include <QMouseEvent>

FunctionBar::FunctionBar(const QList<FunctionBarPanel> &panels, QWidget *parent) : QStatusBar(parent)
{
    setSizeGripEnabled(false);
    for (const FunctionBarPanel &p : panels) {
        auto *label = new QLabel(p.text, this);
        label->setToolTip(p.tooltip);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->setMargin(1);
        label->setMinimumWidth(label->fontMetrics().horizontalAdvance(p.text) + 16);
        label->installEventFilter(this);
        addWidget(label, 0);
        m_panels.append(label);
    }
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
