#pragma once
// Colour numbers (colours.h) as Qt colours. System-colour references take
// the matching role of a palette, so the lists follow the desktop theme.

#include <QColor>
#include <QPalette>

#include <cstdint>

namespace QtColours {

// A plain colour number as it stands; a system reference from palette.
QColor toQColor(std::uint32_t number, const QPalette &palette);
// The same with the application's palette.
QColor toQColor(std::uint32_t number);
// Always a plain 0x00BBGGRR number (alpha is dropped).
std::uint32_t fromQColor(const QColor &colour);

} // namespace QtColours
