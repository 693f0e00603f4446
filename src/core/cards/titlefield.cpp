#include "core/cards/titlefield.h"

#include "core/common/services.h"

#include <algorithm>

using namespace TitleField;

qsizetype DatePrefixLength(QStringView title)
{
    if (title.size() <= 10 || title[4] != QLatin1Char('/') || title[7] != QLatin1Char('/'))
        return 0;
    if (title[10] == DateColon)
        return 11;
    if (title.size() >= 24 && title.mid(20, 4) == LongPrefixEnd)
        return 24;
    return 0;
}

bool SplitDatePrefix(QStringView title, QString *rest)
{
    const qsizetype n = DatePrefixLength(title);
    if (rest)
        *rest = title.mid(n).toString();
    return n != 0;
}

QString DatePrefixOf(QStringView title)
{
    const qsizetype n = DatePrefixLength(title);
    return n == 0 ? QString() : title.left(n - 1).toString();
}

QString ShortDatePrefix(const QDate &date)
{
    return date.toString(QStringLiteral("yyyy/MM/dd")) + DateColon;
}

QString LongDatePrefix(const QDateTime &moment)
{
    return moment.toString(QStringLiteral("yyyy/MM/dd(HH:mm:ss)")) + LongPrefixEnd;
}

QString StampDate(const QString &title, bool addDateInfo, Clock &clock, QStringView documentExtension)
{
    if (!addDateInfo)
        return title;
    const QStringView rest = QStringView(title).mid(DatePrefixLength(title));
    QString stamped = documentExtension.compare(QLatin1String("stk"), Qt::CaseInsensitive) == 0
                          ? LongDatePrefix(clock.now())
                          : ShortDatePrefix(clock.today());
    stamped += rest;
    return stamped;
}

QString StampDate(const QString &title, const DateStamp &stamp)
{
    if (!stamp.addDateInfo || !stamp.clock)
        return title;
    return StampDate(title, true, *stamp.clock, stamp.documentExtension);
}

std::optional<QStringView> GroupViewOf(QStringView title)
{
    // A plain loop: titles are short, and the group list reads a million of
    // them after every change, where indexOf's set-up outweighed the scan.
    const QChar *begin = title.data();
    const QChar *end = begin + title.size();
    const QChar *at = std::find(begin, end, GroupMark);
    if (at == end)
        return std::nullopt;
    const qsizetype mark = at - begin;
    const QStringView before = title.left(mark);
    return before.mid(DatePrefixLength(before));
}

std::optional<QString> GroupOf(QStringView title)
{
    if (const std::optional<QStringView> group = GroupViewOf(title))
        return group->toString();
    return std::nullopt;
}

QString NameOf(QStringView title)
{
    const QStringView rest = title.mid(DatePrefixLength(title));
    const qsizetype mark = rest.indexOf(GroupMark);
    return (mark < 0 ? rest : rest.mid(mark + 1)).toString();
}

bool IsAutoOpenTitle(QStringView title)
{
    // Every title of a file passes here as it is read: only one of the
    // length of the word is compared (no upper case of a shorter text
    // spells it).
    static constexpr QLatin1StringView Word("AUTOOPEN");
    // Date prefixes are 11 or 24 long: any other length is not the word.
    const qsizetype n = title.size();
    if (n != Word.size() && n != Word.size() + 11 && n != Word.size() + 24)
        return false;
    const QStringView rest = title.mid(DatePrefixLength(title));
    return rest.size() == Word.size() && rest.compare(Word, Qt::CaseInsensitive) == 0;
}

static QStringView trimSpaces(QStringView text)
{
    qsizetype b = 0, e = text.size();
    while (b < e && text[b] == QLatin1Char(' '))
        ++b;
    while (e > b && text[e - 1] == QLatin1Char(' '))
        --e;
    return text.mid(b, e - b);
}

QString RebuildTitleField(QStringView oldTitle, QStringView group, QStringView name)
{
    QString title;
    const qsizetype prefix = DatePrefixLength(oldTitle);
    if (prefix)
        title += oldTitle.left(prefix);
    const QStringView g = trimSpaces(group);
    if (!g.isEmpty()) {
        title += g;
        title += GroupMark;
    }
    title += name;
    return title;
}
