#pragma once
// Colour numbers as the settings files hold them: 0x00BBGGRR for a plain
// colour, 0x800000nn for a reference to system colour nn (negative when
// read as a signed 32-bit number, as the files write it).

#include <QString>

#include <cstdint>
#include <optional>

namespace Colours {

// Windows system-colour indices the settings refer to.
enum SystemColour : int {
    ScrollBar = 0,
    Background = 1,
    ActiveCaption = 2,
    InactiveCaption = 3,
    Menu = 4,
    Window = 5,
    WindowFrame = 6,
    MenuText = 7,
    WindowText = 8,
    CaptionText = 9,
    ActiveBorder = 10,
    InactiveBorder = 11,
    AppWorkspace = 12,
    Highlight = 13,
    HighlightText = 14,
    ButtonFace = 15,
    ButtonShadow = 16,
    GrayText = 17,
    ButtonText = 18,
    InactiveCaptionText = 19,
    ButtonHighlight = 20,
    DarkShadow3D = 21,
    Light3D = 22,
    InfoText = 23,
    InfoBackground = 24,
    HotLight = 26,
    GradientActiveCaption = 27,
    GradientInactiveCaption = 28,
    MenuHighlight = 29,
    MenuBar = 30,
};

constexpr std::uint32_t kSystemFlag = 0x80000000u;

constexpr std::uint32_t fromRgb(int red, int green, int blue)
{
    return std::uint32_t(red & 0xFF) | (std::uint32_t(green & 0xFF) << 8) | (std::uint32_t(blue & 0xFF) << 16);
}
constexpr int redOf(std::uint32_t number)
{
    return int(number & 0xFF);
}
constexpr int greenOf(std::uint32_t number)
{
    return int((number >> 8) & 0xFF);
}
constexpr int blueOf(std::uint32_t number)
{
    return int((number >> 16) & 0xFF);
}

constexpr bool isSystemColour(std::uint32_t number)
{
    return (number & kSystemFlag) != 0;
}
constexpr std::uint32_t systemColour(int index)
{
    return kSystemFlag | std::uint32_t(index & 0xFF);
}
// The system-colour index of a reference (its low byte).
constexpr int systemIndexOf(std::uint32_t number)
{
    return int(number & 0xFF);
}

// The signed decimal form of the settings files ("-2147483643") and back.
// Text that is no 32-bit number (signed or unsigned) gives none.
QString toSettingText(std::uint32_t number);
std::optional<std::uint32_t> fromSettingText(const QString &text);

} // namespace Colours
