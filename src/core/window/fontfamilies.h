#pragma once
// Settings files name the Japanese fonts of Windows ("ＭＳ Ｐゴシック").
// Where such a font is not installed, the nearest free font of the same
// design is used instead, so lists and text boxes keep proportional or
// fixed-width Gothic or Mincho faces. The stored setting is never changed.

#include <QString>
#include <QStringList>

namespace FontFamilies {

// The family to ask for: the named one when installed, else the first
// installed substitute of its design, else the name unchanged (the font
// system then picks a fallback).
QString resolve(const QString &family, const QStringList &installed);

// Substitutes in order of preference for a Windows family; empty for
// families without a known design.
QStringList substitutesFor(const QString &family);

} // namespace FontFamilies
