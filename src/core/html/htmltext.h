#pragma once
// Text rules shared by the page builders: the encoding a page is written
// in, characters the encoding cannot hold, escaping and hrefs.

#include <QByteArray>
#include <QString>
#include <QStringView>

namespace HtmlText {

enum class Encoding { Win31J, Utf8 };

// Utf8 when text declares "charset=utf-8" (a meta element, letter case and
// quotes as they come) or begins an "@charset "utf-8"" rule; else Win31J.
Encoding DeclaredEncoding(QStringView text);

// How a character the encoding cannot hold is written.
enum class Fallback {
    CharacterReference, // "&#x1F600;" (pages, the contents file)
    CssEscape,          // "\1F600 " (the style sheet)
};

// Appends text in the encoding to out. Nothing becomes "?": a character
// Windows-31J has no form for is written as a reference or escape (in UTF-8
// only a lone surrogate, which is no character, is).
void AppendEncoded(QStringView text, Encoding encoding, Fallback fallback, QByteArray &out);
QByteArray Encoded(QStringView text, Encoding encoding, Fallback fallback = Fallback::CharacterReference);

// What preparing does to a card's text on its way to a page (the options
// FakeTAB, EscapeTAG and the opposite of NoBR), in the order of a left to
// right pass: a tab or two spaces become one ideographic space, "&" "<" ">"
// their references, CR LF "<BR>" CR LF.
struct Preparing {
    bool fakeTab = false;
    bool escapeTag = false;
    bool lineBreaks = false;
};

// Room EncodeInto and PrepareInto may take for a text of units UTF-16
// units: no unit gives more than a character reference of eight bytes.
constexpr qsizetype RoomFor(qsizetype units)
{
    return 8 * units + 16;
}
// text, prepared as rules say, in the encoding, with character references
// for what Windows-31J lacks, written to out (room as above); returns the end.
// The same bytes as encoding the prepared text, in one pass.
char *PrepareInto(QStringView text, Preparing rules, Encoding encoding, char *out);
inline char *EncodeInto(QStringView text, Encoding encoding, char *out)
{
    return PrepareInto(text, Preparing{}, encoding, out);
}

// "&" "<" ">" '"' as "&amp;" "&lt;" "&gt;" "&quot;".
QString EscapeMarkup(const QString &text);

// A relative path on disk ("/" between levels) as an href: "%", "#", "?",
// "&", '"', space and control characters percent-encoded as UTF-8, every
// other character as it is.
QString Href(QStringView path);
// The same; a path with nothing to encode is given back as it is.
QString Href(const QString &path);

// Number of bytes the name takes on disk (UTF-8).
qsizetype DiskBytes(QStringView name);
// The longest start of name (whole characters) that takes at most maxBytes on disk.
QString CutToDiskBytes(const QString &name, qsizetype maxBytes);

} // namespace HtmlText
