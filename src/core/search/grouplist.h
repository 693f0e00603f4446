#pragma once
// The group list tvTree: "全て" (key "Root") first, then one entry per
// distinct group of the main card list in the order of the first card that
// carries it (names compared exactly). A click on an entry extracts the
// cards of that group with a generated regular expression; the group change
// moves cards into another group or out of any.

#include <QList>
#include <QString>
#include <QStringList>

class CardStore;

namespace GroupList {

// The keys a click handler knows besides the generated ones.
QString rootKey();     // "Root": every card (ends extraction)
QString notGroupKey(); // "notGroup": cards without a group (no entry is made for it)

struct Entry {
    QString key;
    QString text;
    int image = 4; // 3 for "全て", 4 for a group

    friend bool operator==(const Entry &, const Entry &) = default;
};

// The whole list, rebuilt from scratch: "全て", then the groups, each under a
// fresh key from NewGroupKey.
QList<Entry> Build(const CardStore &main);
// The same over the groups already gathered (GroupsOf or a GroupIndex).
QList<Entry> Build(const QStringList &groups);

// The pattern a click on group extracts with: the group, then "＠", at the
// start of the title field or right after a short ("yyyy/mm/dd：") or long
// ("yyyy/mm/dd(hh:nn:ss)［題］：") date prefix. Characters of the name that
// mean something in a pattern are escaped, so the entry of "メモ(仮)" or
// "仕事\会議" lists exactly that group's cards.
QString Pattern(const QString &group);

// The name with the pattern characters \ ^ $ . | ? * + ( ) [ ] { } escaped.
QString EscapedName(const QString &group);

// The title field of a card moved into group (empty: out of any group); the
// date prefix stays in front. Unchanged when both the old and the new group
// are none.
QString TitleInGroup(const QString &title, const QString &group);

// A group name may not hold "＠".
bool IsAllowedName(const QString &group);

} // namespace GroupList
