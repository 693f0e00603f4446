#include "gui/common/qtcolours.h"

#include "core/common/colours.h"

#include <QGuiApplication>

namespace QtColours {

namespace {

QColor systemColour(int index, const QPalette &p)
{
    using namespace Colours;
    switch (index) {
    case ScrollBar:
    case ButtonFace: return p.color(QPalette::Button);
    case ActiveCaption:
    case Highlight:
    case GradientActiveCaption:
    case MenuHighlight: return p.color(QPalette::Highlight);
    case InactiveCaption:
    case GradientInactiveCaption: return p.color(QPalette::Inactive, QPalette::Highlight);
    case CaptionText:
    case HighlightText: return p.color(QPalette::HighlightedText);
    case Window: return p.color(QPalette::Base);
    case WindowText: return p.color(QPalette::Text);
    case MenuText:
    case InactiveCaptionText: return p.color(QPalette::WindowText);
    case WindowFrame:
    case DarkShadow3D: return p.color(QPalette::Shadow);
    case AppWorkspace: return p.color(QPalette::Mid);
    case ButtonShadow: return p.color(QPalette::Dark);
    case GrayText: return p.color(QPalette::Disabled, QPalette::Text);
    case ButtonText: return p.color(QPalette::ButtonText);
    case ButtonHighlight: return p.color(QPalette::Light);
    case Light3D: return p.color(QPalette::Midlight);
    case InfoText: return p.color(QPalette::ToolTipText);
    case InfoBackground: return p.color(QPalette::ToolTipBase);
    case HotLight: return p.color(QPalette::Link);
    case Background:
    case Menu:
    case ActiveBorder:
    case InactiveBorder:
    case MenuBar:
    default: return p.color(QPalette::Window);
    }
}

} // namespace

QColor toQColor(std::uint32_t number, const QPalette &palette)
{
    if (Colours::isSystemColour(number))
        return systemColour(Colours::systemIndexOf(number), palette);
    return QColor(Colours::redOf(number), Colours::greenOf(number), Colours::blueOf(number));
}

QColor toQColor(std::uint32_t number)
{
    return toQColor(number, QGuiApplication::palette());
}

std::uint32_t fromQColor(const QColor &colour)
{
    const QColor rgb = colour.toRgb();
    return Colours::fromRgb(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace QtColours
