#include "gui/mainwindow/previewpane.h"

#include "core/window/mainlayout.h"

#include <QLineEdit>
#include <QPlainTextEdit>

PreviewPane::PreviewPane(QWidget *parent)
    : QFrame(parent), m_title(new QLineEdit(this)), m_remarks(new QLineEdit(this)), m_content(new QPlainTextEdit(this))
{
    setObjectName(QStringLiteral("picPreView"));
    m_title->setObjectName(QStringLiteral("txtPreView_0"));
    m_remarks->setObjectName(QStringLiteral("txtPreView_1"));
    m_content->setObjectName(QStringLiteral("txtPreView_2"));
    m_title->setReadOnly(true);
    m_remarks->setReadOnly(true);
    m_content->setReadOnly(true);
    m_content->setLineWrapMode(QPlainTextEdit::WidgetWidth);
}

void PreviewPane::showCard(const QString &title, const QString &remarks, const QString &content)
{
    m_title->setText(title);
    m_title->setCursorPosition(0);
    m_remarks->setText(remarks);
    m_remarks->setCursorPosition(0);
    m_content->setPlainText(content);
}

void PreviewPane::clear()
{
    showCard(QString(), QString(), QString());
}

QString PreviewPane::title() const
{
    return m_title->text();
}

QString PreviewPane::remarks() const
{
    return m_remarks->text();
}

QString PreviewPane::content() const
{
    return m_content->toPlainText();
}

void PreviewPane::setPreviewFont(const QFont &font)
{
    m_title->setFont(font);
    m_remarks->setFont(font);
    m_content->setFont(font);
    layoutBoxes();
}

void PreviewPane::setColours(const QColor &text, const QColor &background)
{
    for (QWidget *box :
         {static_cast<QWidget *>(m_title), static_cast<QWidget *>(m_remarks), static_cast<QWidget *>(m_content)}) {
        QPalette palette = box->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            palette.setColor(group, QPalette::Text, text);
            palette.setColor(group, QPalette::Base, background);
        }
        box->setPalette(palette);
    }
}

int PreviewPane::lineHeight() const
{
    return m_title->sizeHint().height();
}

void PreviewPane::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutBoxes();
}

void PreviewPane::layoutBoxes()
{
    QRect boxes[3];
    MainLayoutRules::stackPreviewBoxes(width(), height(), lineHeight(), Margin, boxes);
    m_title->setGeometry(boxes[0]);
    m_remarks->setGeometry(boxes[1]);
    m_content->setGeometry(boxes[2]);
}
