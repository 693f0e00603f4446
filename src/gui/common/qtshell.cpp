#include "gui/common/qtshell.h"

#include <QDesktopServices>
#include <QFileInfo>

QUrl QtShell::urlFor(const QString &target)
{
    // A scheme of one letter would be a drive ("C:"), never an address.
    const qsizetype colon = target.indexOf(QLatin1Char(':'));
    if (colon > 1 && !target.startsWith(QLatin1Char('/'))) {
        const QUrl url(target, QUrl::TolerantMode);
        if (url.isValid() && !url.scheme().isEmpty())
            return url;
    }
    return QUrl::fromLocalFile(QFileInfo(target).absoluteFilePath());
}

bool QtShell::open(const QString &target)
{
    if (target.isEmpty())
        return false;
    return QDesktopServices::openUrl(urlFor(target));
}
