// View-mode and preview-mode stepping, the split of the client area, and the
// twips of the settings files.

#include "core/window/mainlayout.h"
#include "core/window/viewmodes.h"

#include <gtest/gtest.h>

#include <limits>

TEST(ViewModes, ListViewModeCycleWrapsFromDetailsToLargeIcons)
{
    EXPECT_EQ(ViewModes::next(ListViewMode::LargeIcons), ListViewMode::SmallIcons);
    EXPECT_EQ(ViewModes::next(ListViewMode::SmallIcons), ListViewMode::List);
    EXPECT_EQ(ViewModes::next(ListViewMode::List), ListViewMode::Details);
    EXPECT_EQ(ViewModes::next(ListViewMode::Details), ListViewMode::LargeIcons);
}

TEST(ViewModes, StoredViewNumbers)
{
    for (int v = 0; v < 4; ++v)
        EXPECT_EQ(int(ViewModes::listViewModeFrom(v)), v);
    for (int v : {-1, 4, 7, std::numeric_limits<int>::max()})
        EXPECT_EQ(ViewModes::listViewModeFrom(v), ListViewMode::Details) << v;
}

TEST(ViewModes, PreviewModeStepsThroughAllFourAndBack)
{
    PreviewMode m = PreviewMode::None;
    const PreviewMode expected[] = {PreviewMode::OneToTwo, PreviewMode::OneToOne, PreviewMode::TwoToOne,
                                    PreviewMode::None};
    for (PreviewMode e : expected) {
        m = ViewModes::next(m);
        EXPECT_EQ(m, e);
    }
    for (int v : {-1, 4, 99})
        EXPECT_EQ(ViewModes::previewModeFrom(v), PreviewMode::None) << v;
    EXPECT_EQ(ViewModes::previewModeFrom(2), PreviewMode::OneToOne);
    EXPECT_EQ(ViewModes::previewModeText(PreviewMode::OneToTwo), QStringLiteral("1:2"));
    EXPECT_EQ(ViewModes::previewModeText(PreviewMode::None), QString::fromUtf8("なし"));
}

TEST(MainLayout, PreviewHeightIsTheModesShareRounded)
{
    struct Case {
        PreviewMode mode;
        int available;
        int preview;
    };
    const Case cases[] = {
        {PreviewMode::None, 300, 0},       {PreviewMode::OneToTwo, 300, 200}, {PreviewMode::OneToOne, 300, 150},
        {PreviewMode::TwoToOne, 300, 100}, {PreviewMode::OneToTwo, 301, 201}, // 200.67
        {PreviewMode::OneToOne, 301, 151},                                    // 150.5
        {PreviewMode::TwoToOne, 301, 100},                                    // 100.33
        {PreviewMode::TwoToOne, 302, 101},                                    // 100.67
        {PreviewMode::OneToOne, 1, 1},     {PreviewMode::OneToOne, 0, 0},     {PreviewMode::OneToTwo, -20, 0},
    };
    for (const Case &c : cases)
        EXPECT_EQ(MainLayoutRules::previewHeight(c.mode, c.available), c.preview)
            << int(c.mode) << " of " << c.available;
}

namespace {

MainLayoutInput window(PreviewMode mode, bool tree)
{
    MainLayoutInput in;
    in.clientWidth = 640;
    in.clientHeight = 400;
    in.toolbarHeight = 30;
    in.statusBarHeight = 20;
    in.treeVisible = tree;
    in.treeWidth = 140;
    in.previewMode = mode;
    in.previewLineHeight = 22;
    in.previewMargin = 1;
    return in;
}

} // namespace

TEST(MainLayout, ListsAndTreeFillTheAvailableHeightWithoutPreview)
{
    const MainLayout l = MainLayoutRules::compute(window(PreviewMode::None, true));
    ASSERT_TRUE(l.laidOut);
    EXPECT_EQ(l.toolbar, QRect(0, 0, 640, 30));
    EXPECT_EQ(l.statusBar, QRect(0, 380, 640, 20));
    EXPECT_TRUE(l.treeShown);
    EXPECT_EQ(l.tree, QRect(0, 30, 140, 350));
    EXPECT_EQ(l.lists, QRect(140, 30, 500, 350));
    EXPECT_FALSE(l.previewShown);
}

TEST(MainLayout, PreviewPaneLiesBelowTheListsAtFullWidth)
{
    struct Case {
        PreviewMode mode;
        int listHeight;
        int previewHeight;
    };
    // Available height 350.
    const Case cases[] = {
        {PreviewMode::OneToTwo, 117, 233},
        {PreviewMode::OneToOne, 175, 175},
        {PreviewMode::TwoToOne, 233, 117},
    };
    for (const Case &c : cases) {
        const MainLayout l = MainLayoutRules::compute(window(c.mode, true));
        EXPECT_TRUE(l.previewShown);
        EXPECT_EQ(l.lists, QRect(140, 30, 500, c.listHeight)) << int(c.mode);
        EXPECT_EQ(l.tree, QRect(0, 30, 140, c.listHeight)) << int(c.mode);
        EXPECT_EQ(l.preview, QRect(0, 30 + c.listHeight, 640, c.previewHeight)) << int(c.mode);
        // Title and remarks one line each, the content box takes the rest.
        EXPECT_EQ(l.previewBoxes[0], QRect(1, 1, 638, 22));
        EXPECT_EQ(l.previewBoxes[1], QRect(1, 23, 638, 22));
        EXPECT_EQ(l.previewBoxes[2], QRect(1, 45, 638, c.previewHeight - 2 - 44));
        // Nothing overlaps the status bar.
        EXPECT_EQ(l.preview.bottom() + 1, l.statusBar.top());
    }
}

TEST(MainLayout, WithoutTheTreeTheListsStartAtTheLeftEdge)
{
    const MainLayout l = MainLayoutRules::compute(window(PreviewMode::OneToOne, false));
    EXPECT_FALSE(l.treeShown);
    EXPECT_EQ(l.lists, QRect(0, 30, 640, 175));
    EXPECT_EQ(l.preview, QRect(0, 205, 640, 175));
}

TEST(MainLayout, NothingIsLaidOutWithoutRoom)
{
    MainLayoutInput in = window(PreviewMode::OneToOne, true);
    in.clientHeight = 50; // toolbar + status bar only
    EXPECT_FALSE(MainLayoutRules::compute(in).laidOut);
    in.clientHeight = 0;
    EXPECT_FALSE(MainLayoutRules::compute(in).laidOut);
    in = window(PreviewMode::None, true);
    in.clientWidth = 0;
    EXPECT_FALSE(MainLayoutRules::compute(in).laidOut);
    in.clientHeight = 51;
    in.clientWidth = 1;
    EXPECT_TRUE(MainLayoutRules::compute(in).laidOut);
}

TEST(MainLayout, TheTreeNeverTakesMoreThanHalfTheWidth)
{
    EXPECT_EQ(MainLayoutRules::treeWidth(140, 640), 140);
    EXPECT_EQ(MainLayoutRules::treeWidth(140, 200), 100);
    EXPECT_EQ(MainLayoutRules::treeWidth(140, 1), 0);
    EXPECT_EQ(MainLayoutRules::treeWidth(-5, 640), 0);
    MainLayoutInput in = window(PreviewMode::None, true);
    in.clientWidth = 200;
    const MainLayout l = MainLayoutRules::compute(in);
    EXPECT_EQ(l.tree.width(), 100);
    EXPECT_EQ(l.lists, QRect(100, 30, 100, 350));
}

TEST(MainLayout, ALowPaneShortensTheContentBoxFirst)
{
    QRect boxes[3];
    MainLayoutRules::stackPreviewBoxes(300, 30, 22, 1, boxes);
    EXPECT_EQ(boxes[0], QRect(1, 1, 298, 22));
    EXPECT_EQ(boxes[1], QRect(1, 23, 298, 6));
    EXPECT_EQ(boxes[2].height(), 0);
    MainLayoutRules::stackPreviewBoxes(0, 0, 22, 1, boxes);
    for (const QRect &r : boxes) {
        EXPECT_GE(r.width(), 0);
        EXPECT_GE(r.height(), 0);
    }
}

TEST(MainLayout, SearchBarFollowsTheLastToolbarButton)
{
    const QRect toolbar(0, 0, 640, 30);
    EXPECT_EQ(MainLayoutRules::searchBar(toolbar, 300, 28, 250, 24), QRect(328, 3, 250, 24));
    // A narrow window cuts the bar off at its edge instead of squeezing the
    // keyword box; never negative.
    EXPECT_EQ(MainLayoutRules::searchBar(toolbar, 500, 28, 250, 24), QRect(528, 3, 250, 24));
    EXPECT_EQ(MainLayoutRules::searchBar(toolbar, 700, 28, -5, 24).width(), 0);
    // A bar taller than the toolbar is cut to it.
    EXPECT_EQ(MainLayoutRules::searchBar(toolbar, 0, 0, 100, 40), QRect(0, 0, 100, 30));
}

TEST(MainLayout, ASearchBarThatDoesNotFitGetsARowOfItsOwn)
{
    // Beside the buttons while it ends within the client width.
    EXPECT_EQ(MainLayoutRules::searchBarRowHeight(400, 240, 24, 640), 0);
    EXPECT_EQ(MainLayoutRules::searchBarRowHeight(400, 240, 24, 639), 24);
    const QRect toolbar(0, 0, 632, 30);
    EXPECT_EQ(MainLayoutRules::searchBarOnOwnRow(toolbar, 24), QRect(0, 30, 632, 24));

    // The row pushes the tree, the lists and the preview down and shortens them.
    MainLayoutInput in;
    in.clientWidth = 632;
    in.clientHeight = 400;
    in.toolbarHeight = 30;
    in.statusBarHeight = 20;
    in.treeWidth = 140;
    in.previewMode = PreviewMode::OneToOne;
    const MainLayout beside = MainLayoutRules::compute(in);
    in.searchRowHeight = 24;
    const MainLayout below = MainLayoutRules::compute(in);
    EXPECT_EQ(below.lists.top(), 54);
    EXPECT_EQ(below.tree.top(), 54);
    EXPECT_EQ(below.lists.height() + below.preview.height(), beside.lists.height() + beside.preview.height() - 24);
    EXPECT_EQ(below.preview.bottom(), below.statusBar.top() - 1);
}

TEST(WindowTwips, FifteenTwipsMakeAPixel)
{
    EXPECT_EQ(WindowTwips::toPixels(9480), 632);
    EXPECT_EQ(WindowTwips::toPixels(6315), 421);
    EXPECT_EQ(WindowTwips::toPixels(6999.875), 467);
    EXPECT_EQ(WindowTwips::toPixels(3000.189), 200);
    EXPECT_EQ(WindowTwips::toPixels(1440), 96);
    EXPECT_EQ(WindowTwips::fromPixels(632), 9480.0);
    EXPECT_EQ(WindowTwips::toPixels(WindowTwips::fromPixels(467)), 467);
}

TEST(WindowTwips, AbsurdValuesStayWithinRange)
{
    EXPECT_EQ(WindowTwips::toPixels(1e30), 1000000);
    EXPECT_EQ(WindowTwips::toPixels(-1e30), -1000000);
    EXPECT_EQ(WindowTwips::toPixels(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(WindowTwips::toPixels(std::numeric_limits<double>::infinity()), 0);
}
