#pragma once
// What applying the settings does to the main window, computed from the
// active store as plain values; the window takes them property by property.
// Values that are out of range read as their defaults, so the window never
// receives a view mode 7 or a negative width.

#include <QString>

#include <array>
#include <cstdint>

class SettingsModel;

struct AppliedSettings {
    struct ListColours {
        std::uint32_t text = 0; // colour numbers (colours.h), system references included
        std::uint32_t back = 0;
    };
    enum class SortAction {
        Cancel,  // cancel the current sort (NoSort is 1, or AutoSort is not 1)
        Restore, // restore sortColumn/sortStyle; column -1 restores nothing
    };

    // Both card lists (main and extraction) take the same captions, widths,
    // font and view mode.
    std::array<QString, 3> columnCaptions;
    std::array<double, 3> columnWidthsTwips{};
    QString listFontName;
    double listFontSize = 9;
    ListColours mainList;    // Color1, Color2
    ListColours extractList; // Color3, Color4

    bool applyWindowSize = false; // SaveWindowSize is 1
    int windowWidthTwips = 0;
    int windowHeightTwips = 0;

    int viewMode = 3; // 0 large icons, 1 small icons, 2 list, 3 details

    SortAction sort = SortAction::Cancel;
    int sortColumn = -1; // 0-based, -1 none
    int sortStyle = 0;   // 0 ascending, 1 descending

    // The three preview boxes.
    QString previewFontName;
    double previewFontSize = 9;
    ListColours preview; // Color5, Color6

    int previewMode = 0; // 0 none, 1 "1:2", 2 "1:1", 3 "2:1"
    bool treeVisible = true;
    bool regularExpression = false;
};

// Reads the values in the order the window applies them. Reading PreView,
// TreeViewVisible and SeikiHyougen creates them with their defaults, so the
// next save writes them.
AppliedSettings ComputeAppliedSettings(SettingsModel &settings);

namespace Twips {

inline constexpr double PerInch = 1440.0;

// Screen pixels at dpi dots per inch, rounded.
int toPixels(double twips, double dpi);
double fromPixels(int pixels, double dpi);

} // namespace Twips
