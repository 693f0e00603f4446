#pragma once
// The geometry of the main window's client area: toolbar on top, status bar
// (function bar) at the bottom, between them the group tree on the left, the
// two card lists (same place, one visible) and the preview pane below them.
// Plain arithmetic on sizes in logical pixels; the window only moves its
// controls to the rectangles computed here.

#include "core/window/viewmodes.h"

#include <QRect>

struct MainLayoutInput {
    int clientWidth = 0;
    int clientHeight = 0;
    int toolbarHeight = 0;
    int statusBarHeight = 0;
    bool treeVisible = true;
    int treeWidth = 0; // the tree's designed width
    PreviewMode previewMode = PreviewMode::None;
    // Heights of the two one-line preview boxes (title, remarks) and the
    // pane's inner margin on every side.
    int previewLineHeight = 0;
    int previewMargin = 0;
    // The height of the search bar's own row under the toolbar, 0 while it
    // fits beside the toolbar buttons (searchBarRowHeight).
    int searchRowHeight = 0;
};

struct MainLayout {
    // False when the client area has no room (minimised): nothing is moved.
    bool laidOut = false;
    QRect toolbar;
    QRect statusBar;
    bool treeShown = false;
    QRect tree;
    QRect lists; // both card lists
    bool previewShown = false;
    QRect preview;         // picPreView in client coordinates
    QRect previewBoxes[3]; // title, remarks, content, in pane coordinates
};

namespace MainLayoutRules {

// Client height less toolbar and status bar.
int availableHeight(int clientHeight, int toolbarHeight, int statusBarHeight);
// Preview height for the available height, rounded: 1:2 two thirds, 1:1 one
// half, 2:1 one third, none 0.
int previewHeight(PreviewMode mode, int availableHeight);
// The tree keeps its designed width but never takes more than half of the
// client width, so the card lists always keep room.
int treeWidth(int designedWidth, int clientWidth);

MainLayout compute(const MainLayoutInput &input);

// The three preview boxes stacked top to bottom inside a pane of the given
// size: title and remarks one line each, the content box fills what is left.
// A pane too low for all three shortens the content first, then the remarks.
void stackPreviewBoxes(int paneWidth, int paneHeight, int lineHeight, int margin, QRect out[3]);

// The search bar: its left edge at the last toolbar button's left + width,
// vertically centred in the toolbar, always as wide as it wants to be: in a
// narrow window the window's edge cuts off its right end, so the keyword box
// keeps a usable width instead of being squeezed to nothing.
QRect searchBar(const QRect &toolbar, int lastButtonLeft, int lastButtonWidth, int preferredWidth, int height);

// The search bar fits beside the toolbar buttons when it ends within the
// client width; then its row is 0 high. A window too narrow for it gives the
// search bar a row of its own under the toolbar (height high), so every part
// of it stays reachable.
int searchBarRowHeight(int buttonsRight, int preferredWidth, int height, int clientWidth);
// The search bar on its own row: the full client width under the toolbar.
QRect searchBarOnOwnRow(const QRect &toolbar, int rowHeight);

} // namespace MainLayoutRules

// Sizes in the settings files are twips; the window measures in logical
// pixels, 96 to the inch, so 15 twips make a pixel.
namespace WindowTwips {

inline constexpr double LogicalDpi = 96.0;
// Rounded; a value no window could have (a hand-edited 1e30) is held within
// a million pixels either way.
int toPixels(double twips);
double fromPixels(int pixels);

} // namespace WindowTwips
