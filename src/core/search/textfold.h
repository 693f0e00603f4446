#pragma once
// The folding behind the plain-text keyword test: a text and a keyword
// match when the folded keyword occurs in the folded text. Folding makes the
// test insensitive to letter case and to the width of Latin letters, digits,
// ASCII signs and katakana, but keeps hiragana and katakana apart:
//   - full-width ASCII forms U+FF01..U+FF5E become ASCII ("Ａ１！" -> "A1!");
//   - half-width katakana U+FF61..U+FF9F become their full-width forms,
//     a sound mark joining the kana before it ("ｶﾞ" -> "ガ", "ﾊﾟ" -> "パ");
//   - then every character is case-folded ("A" -> "a", "Ω" -> "ω").
// A folded text may be shorter than its source (a kana and its sound mark
// become one character); only the yes/no of a match is meaningful.

#include <QString>
#include <QStringView>

namespace TextFold {

// Appends the folded form of text to out. A sound mark at the start of text
// joins a kana at the end of out, so the parts of one text can be folded one
// after another into the same string.
void appendFolded(QStringView text, QString &out);

QString folded(QStringView text);

// True when a folded text holds foldedKeyword exactly when the text itself
// does: every character of the keyword folds to itself, nothing else folds
// to it, and it neither takes nor is a sound mark (kanji, hiragana and most
// CJK signs). Such a keyword is searched for without folding the texts.
bool searchableUnfolded(QStringView foldedKeyword);

// The width fold of one UTF-16 unit alone (no sound-mark joining, no case
// fold): the table behind appendFolded.
char16_t widthFolded(char16_t c);

} // namespace TextFold
