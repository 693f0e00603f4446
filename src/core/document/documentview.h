#pragma once
// What the document lifecycle asks of the main window. Every call has a
// do-nothing default, so a document runs without a window (tests, tools);
// the window overrides what it shows. The lifecycle decides, the view only
// presents: it never changes the cards or the settings itself.

#include "core/settings/appliedsettings.h"

#include <QString>
#include <QStringList>

#include <array>
#include <optional>

// The window state the settings keep (sizes in twips).
struct WindowState {
    // The three columns of the main card list.
    std::array<double, 3> columnWidthsTwips{};
    // The outer size the window has (or returns to) in the normal state.
    double normalWidthTwips = 0;
    double normalHeightTwips = 0;
    // The window is in the normal state now (neither minimised nor maximised).
    bool normalState = true;
    // The view mode of the main card list (0 large icons .. 3 details).
    int listViewMode = 3;
};

class DocumentView
{
public:
    virtual ~DocumentView() = default;

    // --- Title and file menu
    virtual void showTitle(const QString &title) { (void)title; }
    // "再読込(&6)": disabled while the document is untitled.
    virtual void setReloadEnabled(bool enabled) { (void)enabled; }
    // The recent-file entries: menu item n shows captions[n]. Items past the
    // end keep whatever they showed (once shown, an item stays visible).
    virtual void showRecentFiles(const QStringList &captions) { (void)captions; }
    // The document path changed: the HTML wizard forgets its output folder.
    virtual void forgetHtmlOutputFolder() {}

    // --- Settings
    // ApplySettings: the window takes the values property by property.
    virtual void applySettings(const AppliedSettings &values) { (void)values; }
    // The state to store in the settings; none when there is no window.
    virtual std::optional<WindowState> windowState() { return std::nullopt; }

    // --- The card lists
    virtual void cancelSort() {}
    virtual void refreshPreview() {}
    virtual void focusSearchBox() {}
    virtual void rebuildGroupList() {}
    // Scrolls the card at row of lvData(listIndex) into view.
    virtual void ensureCardVisible(int listIndex, qsizetype row)
    {
        (void)listIndex;
        (void)row;
    }
    // "カードの編集(&E)...": opens the selected cards of the current list in
    // editors.
    virtual void editSelectedCards() {}

    // --- Editor windows
    virtual int openEditorCount() { return 0; }
    // Closes every editor window; their unapplied edits are dropped.
    virtual void closeAllEditors() {}
};
