#pragma once
// The line-oriented card text of .qlt, .txt and MyNote .stk files, also the
// record layout of the transfer text. One record:
//   @
//   title field (always with a date prefix)[ - remarks]
//   ------------------------------------------------------------------------------
//   content lines (none for empty content)
//   ==============================================================================
// Lines end with CR LF. The reader finds the title line by its "：".

#include "cardfile.h"

class CardStore;

namespace RecordLayout {
inline const QString StartLine = QStringLiteral("@");
inline const QString SeparatorLine = QString(78, QLatin1Char('-'));
inline const QString EndLine = QString(78, QLatin1Char('='));
inline const QString RemarksMark = QStringLiteral(" - ");

// A title line split at its first "：": the text before it, and after it the
// name and remarks (split at " - ": first and second piece, further pieces
// dropped; without " - " the whole rest is the name).
struct TitleLine {
    QString beforeColon;
    QString name;
    QString remarks;
};
// False when the line holds no "：" (then it is no title line).
bool ParseTitleLine(QStringView line, TitleLine *parts);
} // namespace RecordLayout

// Replaces the cards of store; keys "Key0", "Key1", ... by record, icon 1.
// Lines that do not fit are skipped. A record cut off by the end of the file
// keeps the content lines read so far.
ReadResult ReadTextFile(const QString &path, CardStore &store);

// Writes every card of store, atomically. An undated title field always
// gets a prefix (the title line needs its "："), whatever AddDateInfo says:
// the short form for .qlt and .txt (shortForm true), the long form with the
// current time for .stk.
WriteResult WriteTextFile(const QString &path, const CardStore &store, bool shortForm,
                          const WriteOptions &options);
