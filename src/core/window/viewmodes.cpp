#include "core/window/viewmodes.h"

namespace ViewModes {

ListViewMode next(ListViewMode mode)
{
    return ListViewMode((int(mode) + 1) % 4);
}

ListViewMode listViewModeFrom(int value)
{
    if (value < 0 || value > 3)
        return ListViewMode::Details;
    return ListViewMode(value);
}

PreviewMode next(PreviewMode mode)
{
    return PreviewMode((int(mode) + 1) % 4);
}

PreviewMode previewModeFrom(int value)
{
    if (value < 0 || value > 3)
        return PreviewMode::None;
    return PreviewMode(value);
}

QString previewModeText(PreviewMode mode)
{
    switch (mode) {
    case PreviewMode::None: return QStringLiteral("なし");
    case PreviewMode::OneToTwo: return QStringLiteral("1:2");
    case PreviewMode::OneToOne: return QStringLiteral("1:1");
    case PreviewMode::TwoToOne: return QStringLiteral("2:1");
    }
    return QString();
}

} // namespace ViewModes
