#pragma once
// Rules of the editor's text boxes that do not depend on a window: the search
// in the content box, the size of the wide caret, and what a drop inserts.

#include <QSize>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

class Dialogs;

namespace EditorText {

struct Range {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const Range &, const Range &) = default;
};

// The next occurrence of needle, ignoring letter case. With a selection the
// search starts one character after the selection's start, so a hit that is
// selected is stepped over and the next one found; without a selection it
// starts at the caret, so text right at the caret (the very start, say) is
// found. None for an empty needle or no hit (no wrap-around).
std::optional<Range> findForward(QStringView text, QStringView needle, qsizetype selectionStart, bool hasSelection);
// The last occurrence lying wholly before position, ignoring letter case;
// none at the very start.
std::optional<Range> findBackward(QStringView text, QStringView needle, qsizetype position);

// The text of a multi-line box in the card's line ends: the box separates
// its lines by LF or by the paragraph separator U+2029; the card by CR LF.
QString toCardLineEnds(QStringView boxText);

// The wide caret for a font of fontSize points: height = fontSize x
// twipsPerPixelY / 10 rounded to the nearest integer (half to even), width a
// quarter of it rounded down but at least 3 pixels.
QSize caretSize(double fontSize, double twipsPerPixelY = 15.0);

// What a drop onto a text box inserts into the content box. files: local
// paths in drop order (the last one is read, whole, as Windows-31J text);
// otherwise text. None when nothing is to be inserted: no usable data, or
// text holding the field terminator 0x01 (card transfer data). A file that
// cannot be read is reported through dialogs ("エラーが発生しました。" with
// the reason, warning icon).
std::optional<QString> droppedText(const QStringList &files, const std::optional<QString> &text, Dialogs &dialogs);

} // namespace EditorText
