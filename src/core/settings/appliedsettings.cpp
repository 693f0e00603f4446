#include "core/settings/appliedsettings.h"

#include "core/settings/settingsmodel.h"

#include <cmath>
#include <limits>

namespace {

namespace S = SettingKey;

int inRange(SettingsModel &settings, const QString &key, int low, int high)
{
    const int value = settings.integer(key);
    if (value >= low && value <= high)
        return value;
    return SettingsModel::toInteger(settings.defaultText(key)).value_or(low);
}

double positive(SettingsModel &settings, const QString &key, bool zeroAllowed)
{
    const double value = settings.number(key);
    if (value > 0 || (zeroAllowed && value == 0))
        return value;
    return SettingsModel::toNumber(settings.defaultText(key)).value_or(0);
}

} // namespace

AppliedSettings ComputeAppliedSettings(SettingsModel &settings)
{
    AppliedSettings out;

    // 1. Column captions; 2. font and colours of the lists.
    out.columnCaptions = {settings.text(S::Column1), settings.text(S::Column2), settings.text(S::Column3)};
    out.listFontName = settings.text(S::ListFont);
    out.listFontSize = positive(settings, S::ListFontSize, false);
    out.mainList = {settings.colour(S::Color1), settings.colour(S::Color2)};
    out.extractList = {settings.colour(S::Color3), settings.colour(S::Color4)};

    // 3. Column widths, read as single precision like the window stores them.
    for (int n = 1; n <= 3; ++n)
        out.columnWidthsTwips[n - 1] = double(float(positive(settings, S::columnWidth(n), true)));

    // 4. Window size.
    out.applyWindowSize = settings.isOn(S::SaveWindowSize);
    out.windowWidthTwips = inRange(settings, S::WindowListSizeX, 1, std::numeric_limits<int>::max());
    out.windowHeightTwips = inRange(settings, S::WindowListSizeY, 1, std::numeric_limits<int>::max());

    // 5. View mode.
    out.viewMode = inRange(settings, S::ListViewMode, 0, 3);

    // 6. Sorting.
    if (settings.isOn(S::NoSort) || !settings.isOn(S::AutoSort)) {
        out.sort = AppliedSettings::SortAction::Cancel;
    } else {
        out.sort = AppliedSettings::SortAction::Restore;
        out.sortColumn = inRange(settings, S::SortColumn, -1, 2);
        out.sortStyle = inRange(settings, S::SortStyle, 0, 1);
    }

    // 7. Preview boxes.
    out.previewFontName = settings.text(S::EditorFont);
    out.previewFontSize = positive(settings, S::EditorFontSize, false);
    out.preview = {settings.colour(S::Color5), settings.colour(S::Color6)};

    // 8. Preview mode, group tree, regular-expression box.
    out.previewMode = inRange(settings, S::PreView, 0, 3);
    out.treeVisible = settings.boolean(S::TreeViewVisible);
    out.regularExpression = settings.boolean(S::SeikiHyougen);
    return out;
}

namespace Twips {

int toPixels(double twips, double dpi)
{
    return int(std::lround(twips * dpi / PerInch));
}

double fromPixels(int pixels, double dpi)
{
    return dpi > 0 ? pixels * PerInch / dpi : 0.0;
}

} // namespace Twips
