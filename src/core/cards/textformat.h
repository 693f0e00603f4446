#pragma once
// The line-oriented card text of .qlt, .txt and MyNote .stk files, also the
// record layout of the transfer text. One record:
//   @
//   title field (always with a date prefix)[ - remarks]
//   ------------------------------------------------------------------------------
//   content lines (none for empty content)
//   ==============================================================================
// Lines end with CR LF. The reader finds the title line by its "：".

#include "core/cards/cardfile.h"

#include <functional>

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

// Reads the layout line by line, skipping lines that do not fit: a line
// starting with "@" opens a record, the first line with "：" after it is the
// title line, the separator line starts the content, the end line ends it.
class RecordReader
{
public:
    std::function<void(const TitleLine &)> onTitle;
    // The content lines of the card, each followed by CR LF; complete is
    // false when the text ended inside them (see finish()).
    std::function<void(QString &&content, bool complete)> onContent;

    void line(const QString &line);
    // The end of the text: a record cut off inside its content hands over
    // the lines read so far.
    void finish();

    // Lines with text (not only blanks) that went into no card: text before,
    // between or after the records, the text after a start line's "@", a
    // start line that no title line followed.
    qsizetype strayLines() const { return m_strayLines; }

private:
    void stray(const QString &line);

    enum class State { Between, AfterStart, AfterTitle, InContent } m_state = State::Between;
    QString m_buffer;
    TitleLine m_title;
    qsizetype m_strayLines = 0;
};
} // namespace RecordLayout

// Replaces the cards of store; keys "Key0", "Key1", ... by record, icon 1.
// Lines that do not fit are skipped (and counted: ReadResult::strayLines). A
// record cut off by the end of the file keeps the content lines read so far.
ReadResult ReadTextFile(const QString &path, CardStore &store);
// The same cards handed to sink one by one, without a list of them.
ReadResult StreamTextFile(const QString &path, const CardSink &sink);

// How WriteTextFile lays one card down.
CardFile::CardEncoding TextCardEncoding(bool shortForm, const WriteOptions &options);

// Writes every card of store, atomically. An undated title field always
// gets a prefix (the title line needs its "："), whatever AddDateInfo says:
// the short form for .qlt and .txt (shortForm true), the long form with the
// current time for .stk.
WriteResult WriteTextFile(const QString &path, const CardStore &store, bool shortForm, const WriteOptions &options);
