#include "core/search/grouplist.h"

#include "core/cards/cardkeys.h"
#include "core/cards/cardstore.h"
#include "core/cards/titlefield.h"
#include "core/search/searchtexts.h"

#include <QSet>

namespace GroupList {

QString rootKey()
{
    return SearchTexts::AllGroupsKey;
}

QString notGroupKey()
{
    return QStringLiteral("notGroup");
}

QList<Entry> Build(const CardStore &main)
{
    return Build(GroupsOf(main));
}

QList<Entry> Build(const QStringList &groups)
{
    QList<Entry> entries;
    entries.append(Entry{rootKey(), SearchTexts::AllGroups, 3});
    QSet<QString> keys{rootKey(), notGroupKey()};
    for (const QString &group : groups) {
        const QString key = NewGroupKey([&](const QString &k) { return keys.contains(k); });
        keys.insert(key);
        entries.append(Entry{key, group, 4});
    }
    return entries;
}

QString EscapedName(const QString &group)
{
    static const QString special = QStringLiteral("\\^$.|?*+()[]{}");
    QString out;
    out.reserve(group.size() + 8);
    for (const QChar c : group) {
        if (special.contains(c))
            out += QLatin1Char('\\');
        out += c;
    }
    return out;
}

QString Pattern(const QString &group)
{
    return QStringLiteral(
               "^(([0-9]{4}/[0-9]{2}/[0-9]{2}：)|(^[0-9]{4}/[0-9]{2}/[0-9]{2}\\([0-9]{2}:[0-9]{2}:[0-9]{2}\\)［題］：)|^)")
           + EscapedName(group) + TitleField::GroupMark;
}

QString TitleInGroup(const QString &title, const QString &group)
{
    const qsizetype prefixLength = DatePrefixLength(title);
    const QString prefix = title.left(prefixLength);
    const QString rest = title.mid(prefixLength);
    const qsizetype mark = rest.indexOf(TitleField::GroupMark);
    if (mark >= 0) {
        if (group.isEmpty())
            return prefix + rest.mid(mark + 1);
        return prefix + group + rest.mid(mark);
    }
    if (group.isEmpty())
        return title;
    return prefix + group + TitleField::GroupMark + rest;
}

bool IsAllowedName(const QString &group)
{
    return !group.contains(TitleField::GroupMark);
}

} // namespace GroupList
