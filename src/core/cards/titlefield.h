#pragma once
// The title field of a card packs an optional date prefix, an optional group
// followed by "＠", and the card's name:
//   2001/05/03：Work＠Meeting                (short prefix)
//   2001/05/03(14:05:09)［題］：Meeting      (long prefix, MyNote files)
// Only the separator positions of a prefix are examined, never its digits.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringView>

#include <optional>

class Clock;

namespace TitleField {
inline constexpr QChar DateColon = QChar(0xFF1A); // "："
inline constexpr QChar GroupMark = QChar(0xFF20); // "＠"
inline const QString LongPrefixEnd = QStringLiteral("［題］：");
} // namespace TitleField

// True when title starts with a date prefix; *rest (optional) is the title
// without it, or the whole title when there is none.
bool SplitDatePrefix(QStringView title, QString *rest = nullptr);
// Length of the date prefix title starts with (11 or 24), 0 when none.
qsizetype DatePrefixLength(QStringView title);
// The prefix without its final "：" ("2001/05/03", "2001/05/03(14:05:09)［題］"), "" when none.
QString DatePrefixOf(QStringView title);

// "yyyy/mm/dd：" and "yyyy/mm/dd(hh:nn:ss)［題］：".
QString ShortDatePrefix(const QDate &date);
QString LongDatePrefix(const QDateTime &moment);

// What StampDate needs to know: the AddDateInfo switch (1 = on), the clock,
// and the extension of the document path ("stk" asks for the long form).
struct DateStamp {
    bool addDateInfo = false;
    Clock *clock = nullptr; // required when addDateInfo is on
    QString documentExtension;
};

// With AddDateInfo on: title without its old prefix, under today's prefix
// (long form with the current time for an "stk" document, any case).
// Otherwise the title unchanged.
QString StampDate(const QString &title, const DateStamp &stamp);
QString StampDate(const QString &title, bool addDateInfo, Clock &clock, QStringView documentExtension);

// The group: the text before the first "＠" without a date prefix. No value
// for a title without "＠" (a title "＠x" is in the group "").
std::optional<QString> GroupOf(QStringView title);
// The same as a view into title (no copy; title must outlive it).
std::optional<QStringView> GroupViewOf(QStringView title);
// The card's name: the title without date prefix and without group.
QString NameOf(QStringView title);
// A card that asks to be opened in an editor as its file opens: its title,
// without a date prefix, is "AUTOOPEN" in any case.
bool IsAutoOpenTitle(QStringView title);
// A title field rebuilt after an edit: the old date prefix survives, then the
// group (trimmed of spaces) + "＠" when one is set, then the name.
QString RebuildTitleField(QStringView oldTitle, QStringView group, QStringView name);
