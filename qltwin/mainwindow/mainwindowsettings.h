#pragma once
// The plain values the settings push into the main window when they are
// applied, and the window state handed back when it closes. Colours are
// colour numbers (0x00BBGGRR, or 0x800000nn for a system colour); sizes in
// twips, font sizes in points.

#include "dialogs.h"
#include "viewmodes.h"

#include <QString>

#include <array>
#include <cstdint>

struct MainWindowSettings {
    // Column1 .. Column3: the list column captions.
    std::array<QString, 3> columnCaptions{QStringLiteral("題名"), QStringLiteral("備考"), QStringLiteral("内容")};
    // Column1Width .. Column3Width, twips.
    std::array<double, 3> columnWidthsTwips{6999.875, 3000.189, 1440};

    // ListFont, ListFontSize.
    FontChoice listFont{QStringLiteral("ＭＳ Ｐゴシック"), 9};
    // Color1/Color2: main card list text and background; Color3/Color4: the
    // extraction list's.
    std::uint32_t mainListText = 0x80000012u;
    std::uint32_t mainListBackground = 0x80000005u;
    std::uint32_t extractionListText = 0x00FFFFFFu;
    std::uint32_t extractionListBackground = 0x00555555u;

    // SaveWindowSize = 1: the window takes WindowListSizeX/Y (outer size, twips).
    bool applyWindowSize = true;
    double windowWidthTwips = 9480;
    double windowHeightTwips = 6315;

    // ListViewMode for both lists.
    int listViewMode = int(ListViewMode::Details);

    // EditorFont, EditorFontSize, Color5 (text), Color6 (background): the
    // three preview boxes.
    FontChoice previewFont{QStringLiteral("ＭＳ Ｐゴシック"), 9};
    std::uint32_t previewText = 0x00FFFFFFu;
    std::uint32_t previewBackground = 0x00555555u;

    // PreView, TreeViewVisible, SeikiHyougen.
    int previewMode = 0;
    bool treeVisible = true;
    bool regularExpression = false;

    // NoFunctionBarClickEvent = 1: clicks on the function bar do nothing.
    bool functionBarClicksOff = true;
};

// What the window hands back when it closes (the caller stores it as
// Column1Width .. Column3Width when SaveColumnWidth is 1, WindowListSizeX/Y
// and ListViewMode).
struct MainWindowStoredState {
    std::array<double, 3> columnWidthsTwips{};
    double windowWidthTwips = 0;  // outer size in the normal (not minimised,
    double windowHeightTwips = 0; // not maximised) state
    int listViewMode = int(ListViewMode::Details);
};
