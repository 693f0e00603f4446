#include "core/html/webaddress.h"

#include "core/common/tool.h"
#include "core/common/win31j.h"

#include <QFile>

namespace {

// Files from Linux programs end their lines with LF and are often UTF-8;
// both readers see the text as CR LF lines.
bool readText(const QString &path, QString *text)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return false;
    *text = Tool::WithCrLf(Win31J::decodeForeign(bytes));
    return true;
}

} // namespace

QString UrlOfShortcutText(QStringView text)
{
    for (QStringView line : text.split(u'\n')) {
        line = line.trimmed();
        if (line.isEmpty() || line.startsWith(u'[') || line.startsWith(u';'))
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals < 0)
            continue;
        if (line.left(equals).trimmed().compare(u"URL", Qt::CaseInsensitive) == 0)
            return line.mid(equals + 1).trimmed().toString();
    }
    return {};
}

QString UrlOfShortcutFile(const QString &path)
{
    QString text;
    if (!readText(path, &text))
        return {};
    return UrlOfShortcutText(text);
}

QString LocationOfMhtFile(const QString &path)
{
    QString text;
    if (!readText(path, &text))
        return {};
    static const QString Key = QStringLiteral("Content-Location:");
    for (QStringView line : QStringView(text).split(u"\r\n")) {
        if (line.startsWith(Key))
            return line.mid(Key.size()).trimmed().toString();
    }
    return {};
}
