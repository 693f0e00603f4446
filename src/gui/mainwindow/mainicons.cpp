#include "gui/mainwindow/mainicons.h"

#include <QPainter>
#include <QPixmap>
#include <QSvgRenderer>

namespace MainIcons {

QIcon icon(const QString &fileName)
{
    QIcon result;
    QSvgRenderer renderer(QStringLiteral(":/icons/") + fileName);
    if (renderer.isValid()) {
        for (int size : {16, 20, 24, 32, 48, 64}) {
            QPixmap pixmap(size, size);
            pixmap.fill(Qt::transparent);
            QPainter painter(&pixmap);
            painter.setRenderHint(QPainter::Antialiasing);
            renderer.render(&painter);
            painter.end();
            result.addPixmap(pixmap);
        }
    }
    return result;
}

QIcon listIcon(int number)
{
    switch (number) {
    case 1: return icon(QStringLiteral("card.svg"));
    case 2: return icon(QStringLiteral("cardchanged.svg"));
    case 3: return icon(QStringLiteral("allcards.svg"));
    case 4: return icon(QStringLiteral("group.svg"));
    default: return QIcon();
    }
}

} // namespace MainIcons
