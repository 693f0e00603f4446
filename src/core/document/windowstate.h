#pragma once
// What the main window hands back for the settings to keep (sizes in twips):
// the column widths of the main card list, the outer size of the window in
// the normal state, whether it is in the normal state now, and the view mode
// of the card lists. The document stores it before another card file
// replaces this one and when the window closes.

#include <array>

struct WindowState {
    // The three columns of the main card list (Column1Width .. Column3Width).
    std::array<double, 3> columnWidthsTwips{};
    // The outer size the window has (or returns to) in the normal state,
    // also while it is minimised or maximised (WindowListSizeX/Y).
    double windowWidthTwips = 0;
    double windowHeightTwips = 0;
    // The window is in the normal state now (neither minimised nor maximised).
    bool normalState = true;
    // The view mode of the card lists (0 large icons .. 3 details; ListViewMode).
    int listViewMode = 3;
};
