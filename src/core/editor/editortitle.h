#pragma once
// How the card editor takes a title field apart into its group box and title
// box, and puts the two back together:
//   "2001/01/02：仕事＠会議"  <->  group "仕事", title box "2001/01/02：会議"
// The date prefix travels with the title box, so the person sees and may
// edit it there; the group stands in a box of its own.

#include <QString>
#include <QStringList>
#include <QStringView>

class CardStore;

struct EditorTitleParts {
    QString group; // the group box: the group, without date prefix
    QString title; // the title box: date prefix (when any) + name

    friend bool operator==(const EditorTitleParts &, const EditorTitleParts &) = default;
};

namespace EditorTitle {

// The title field split at its first "＠"; a date prefix in front of the
// group moves to the front of the title box.
EditorTitleParts split(QStringView titleField);

// The title field rebuilt from the boxes: the title box's date prefix, then
// the group trimmed of spaces + "＠" when not empty, then the title box
// without its prefix.
QString rebuild(QStringView group, QStringView titleBox);

// A group the title field cannot hold: one containing "＠".
bool groupRefused(QStringView group);

// Where the title box's text is selected after loading: everything after the
// date prefix and its separator, or the whole text. {start, length}.
struct Selection {
    qsizetype start = 0;
    qsizetype length = 0;
    friend bool operator==(const Selection &, const Selection &) = default;
};
Selection initialSelection(QStringView titleBox);

// The entries of the group box: the groups of the cards of store (its title
// fields before the first "＠", without date prefix), each once, in the
// order of the first card carrying it.
QStringList groupChoices(const CardStore &store);

// "会議(変更) - QLT@WIN Ver.1.0.0" or "会議 - QLT@WIN Ver.1.0.0".
QString windowTitle(const QString &titleBox, bool changed);

// Every CR LF, then every lone CR, then every lone LF removed (not replaced).
QString removeLineBreaks(const QString &text);

} // namespace EditorTitle
