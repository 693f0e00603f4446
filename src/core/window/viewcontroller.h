#pragma once
// The main window's own commands and the state they keep: the list view
// mode of both card lists, the preview mode, the group tree, browse mode,
// most-front, extraction mode (which list is current), and the small list
// commands (refresh, select all, invert, Esc, search-box focus). The window
// shows the state through the MainView interface; tests use a recording view.
//
// The check marks live in MainCommands: tree shown = ToggleTree checked,
// browse mode = BrowseMode checked, most-front = MostFront checked (the
// toolbar button's MostFrontButton follows it), regular expression = Regex
// checked.

#include "core/common/services.h"
#include "core/window/viewmodes.h"

#include <QString>
#include <QVariant>

#include <functional>

class MainCommands;

// What the controller asks of the window.
class MainView
{
public:
    virtual ~MainView() = default;
    // Both card lists take the mode.
    virtual void showListViewMode(ListViewMode mode) = 0;
    // Lays the client area out again (tree, lists, preview pane).
    virtual void relayout() = 0;
    virtual void setTopmost(bool on) = 0;
    // lvData(1) shown and lvData(0) hidden, or the other way round.
    virtual void showExtractionList(bool shown) = 0;
    // Repaints a list; reflowColumns re-flows the columns of the list mode.
    virtual void refreshList(int listIndex, bool reflowColumns) = 0;
    // Deselects every card and clears the current card.
    virtual void clearSelection(int listIndex) = 0;
    // Focuses the list and selects every card.
    virtual void selectAll(int listIndex) = 0;
    virtual void invertSelection(int listIndex) = 0;
    // Focuses txtSearch (its text selected).
    virtual void focusSearchBox() = 0;
    virtual void focusList(int listIndex) = 0;
    virtual void refreshPreview() = 0;
    // The Edit menu as a pop-up at the list's top-left corner.
    virtual void showEditMenuAtList(int listIndex) = 0;
};

class MainViewController
{
public:
    // Stores a value in the window's settings store (iniData) at once.
    using SettingWriter = std::function<void(const QString &key, const QVariant &value)>;

    // Wires the window's commands into commands. services.dialogs and
    // services.userStore serve the most-front notice (either may be null: no
    // notice).
    MainViewController(MainCommands &commands, MainView &view, const Services &services);

    void setSettingWriter(SettingWriter writer) { m_writer = std::move(writer); }
    // Re-applies the sort of a sorted list on refresh (the sort commands set it).
    void setSortRefresher(std::function<void(int listIndex)> refresher) { m_sortRefresher = std::move(refresher); }

    ListViewMode listViewMode() const { return m_listViewMode; }
    // Both lists take the mode, then a refresh.
    void setListViewMode(ListViewMode mode);
    void stepListViewMode();

    PreviewMode previewMode() const { return m_previewMode; }
    // Lays out again and refreshes the preview; store = write PreView.
    void setPreviewMode(PreviewMode mode, bool store);
    void stepPreviewMode();

    bool treeVisible() const;
    void setTreeVisible(bool visible, bool store);
    void toggleTree();

    bool browseMode() const;
    void toggleBrowseMode();

    bool mostFront() const;
    // From the menu: no notice.
    void toggleMostFrontFromMenu();
    // From the toolbar button: the once-only notice first.
    void toggleMostFrontFromButton();

    bool regularExpression() const;
    // A click on chkSeiki: flip and store SeikiHyougen (0 or 1).
    void toggleRegularExpression();

    // Extraction mode: lvData(1) is shown and is the current list.
    bool extractionMode() const { return m_extraction; }
    void setExtractionMode(bool on);
    int currentListIndex() const { return m_extraction ? 1 : 0; }

    void refresh();
    // In extraction mode: end extraction; else clear the main list's selection.
    void escape();

    // The settings' part of the state, applied without storing anything:
    // view mode, preview mode, tree, regular-expression box.
    void apply(int listViewMode, int previewMode, bool treeVisible, bool regularExpression);

private:
    void wire();
    void store(const QString &key, const QVariant &value);
    void setMostFront(bool on);

    MainCommands &m_commands;
    MainView &m_view;
    Services m_services;
    SettingWriter m_writer;
    std::function<void(int)> m_sortRefresher;
    ListViewMode m_listViewMode = ListViewMode::Details;
    PreviewMode m_previewMode = PreviewMode::None;
    bool m_extraction = false;
};
