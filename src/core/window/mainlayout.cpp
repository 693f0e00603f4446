#include "core/window/mainlayout.h"

#include "core/settings/appliedsettings.h"

#include <QtGlobal>

#include <algorithm>
#include <cmath>

namespace MainLayoutRules {

int availableHeight(int clientHeight, int toolbarHeight, int statusBarHeight)
{
    return clientHeight - toolbarHeight - statusBarHeight;
}

int previewHeight(PreviewMode mode, int availableHeight)
{
    if (availableHeight <= 0)
        return 0;
    switch (mode) {
    case PreviewMode::None: return 0;
    case PreviewMode::OneToTwo: return int(std::lround(availableHeight * 2.0 / 3.0));
    case PreviewMode::OneToOne: return int(std::lround(availableHeight / 2.0));
    case PreviewMode::TwoToOne: return int(std::lround(availableHeight / 3.0));
    }
    return 0;
}

int treeWidth(int designedWidth, int clientWidth)
{
    return std::clamp(designedWidth, 0, std::max(0, clientWidth / 2));
}

void stackPreviewBoxes(int paneWidth, int paneHeight, int lineHeight, int margin, QRect out[3])
{
    const int innerWidth = std::max(0, paneWidth - 2 * margin);
    int room = std::max(0, paneHeight - 2 * margin);
    int top = margin;
    const int heights[2] = {lineHeight, lineHeight};
    for (int i = 0; i < 2; ++i) {
        const int h = std::min(heights[i], room);
        out[i] = QRect(margin, top, innerWidth, h);
        top += h;
        room -= h;
    }
    out[2] = QRect(margin, top, innerWidth, room);
}

MainLayout compute(const MainLayoutInput &in)
{
    MainLayout out;
    const int available = availableHeight(in.clientHeight, in.toolbarHeight + in.searchRowHeight, in.statusBarHeight);
    if (available <= 0 || in.clientWidth <= 0)
        return out;
    out.laidOut = true;
    out.toolbar = QRect(0, 0, in.clientWidth, in.toolbarHeight);
    out.statusBar = QRect(0, in.clientHeight - in.statusBarHeight, in.clientWidth, in.statusBarHeight);

    const int previewH = previewHeight(in.previewMode, available);
    const int listH = available - previewH;
    const int top = in.toolbarHeight + in.searchRowHeight;

    out.treeShown = in.treeVisible;
    const int treeW = in.treeVisible ? treeWidth(in.treeWidth, in.clientWidth) : 0;
    if (in.treeVisible)
        out.tree = QRect(0, top, treeW, listH);
    out.lists = QRect(treeW, top, in.clientWidth - treeW, listH);

    out.previewShown = in.previewMode != PreviewMode::None;
    if (out.previewShown) {
        out.preview = QRect(0, top + listH, in.clientWidth, previewH);
        stackPreviewBoxes(in.clientWidth, previewH, in.previewLineHeight, in.previewMargin, out.previewBoxes);
    }
    return out;
}

QRect searchBar(const QRect &toolbar, int lastButtonLeft, int lastButtonWidth, int preferredWidth, int height)
{
    const int left = lastButtonLeft + lastButtonWidth;
    const int h = std::min(height, toolbar.height());
    const int top = toolbar.top() + (toolbar.height() - h) / 2;
    return QRect(left, top, std::max(0, preferredWidth), h);
}

int searchBarRowHeight(int buttonsRight, int preferredWidth, int height, int clientWidth)
{
    return buttonsRight + std::max(0, preferredWidth) <= clientWidth ? 0 : std::max(0, height);
}

QRect searchBarOnOwnRow(const QRect &toolbar, int rowHeight)
{
    return QRect(toolbar.left(), toolbar.bottom() + 1, toolbar.width(), rowHeight);
}

} // namespace MainLayoutRules

namespace WindowTwips {

int toPixels(double twips)
{
    if (!std::isfinite(twips))
        return 0;
    constexpr double Limit = 1.0e6 * Twips::PerInch / LogicalDpi;
    return Twips::toPixels(std::clamp(twips, -Limit, Limit), LogicalDpi);
}

double fromPixels(int pixels)
{
    return Twips::fromPixels(pixels, LogicalDpi);
}

} // namespace WindowTwips
