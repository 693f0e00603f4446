#include "gui/common/qtclipboard.h"

#include <QClipboard>
#include <QGuiApplication>

QString QtClipboard::text()
{
    return QGuiApplication::clipboard()->text();
}

void QtClipboard::setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}
