#pragma once
// The window state handed back when the main window closes. What applying
// the settings pushes into the window is AppliedSettings (settings folder).

#include "core/settings/appliedsettings.h"
#include "core/window/viewmodes.h"

#include <array>

// The caller stores it as Column1Width .. Column3Width when SaveColumnWidth
// is 1, and as WindowListSizeX/Y and ListViewMode.
struct MainWindowStoredState {
    std::array<double, 3> columnWidthsTwips{};
    double windowWidthTwips = 0;  // outer size in the normal (not minimised,
    double windowHeightTwips = 0; // not maximised) state
    int listViewMode = int(ListViewMode::Details);
};
