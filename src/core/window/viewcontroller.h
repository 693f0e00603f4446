#pragma once
// The main window's own commands and the view state they keep, held here
// once: the list view mode of both card lists, the preview mode, the group
// tree, browse mode, most-front and the regular-expression box. Extraction
// mode (which list is current) is the document's once the controller
// follows one; a window shown without a document keeps it here. Every change
// is announced by a signal the window follows; the check marks of the
// command registry (ToggleTree, BrowseMode, MostFront and its toolbar button,
// Regex) are set from the state, never read back. The small list commands
// (refresh, select all, invert, Esc, the focus moves, the Edit menu at the
// list) are forwarded to the window as requests.

#include "core/common/services.h"
#include "core/window/viewmodes.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <functional>

class Document;
class MainCommands;

class MainViewController : public QObject
{
    Q_OBJECT
public:
    // Stores a value in the window's settings store (iniData) at once.
    using SettingWriter = std::function<void(const QString &key, const QVariant &value)>;

    // Wires the window's commands into commands and takes the initial check
    // marks from it. services.dialogs and services.userStore serve the
    // most-front notice (either may be null: no notice).
    MainViewController(MainCommands &commands, const Services &services, QObject *parent = nullptr);

    void setSettingWriter(SettingWriter writer) { m_writer = std::move(writer); }
    // Extraction mode from now on is document's (extractionModeChanged follows it).
    void follow(Document &document);

    ListViewMode listViewMode() const { return m_listViewMode; }
    // Both lists take the mode, then a refresh.
    void setListViewMode(ListViewMode mode);
    void stepListViewMode();

    PreviewMode previewMode() const { return m_previewMode; }
    // store = write PreView.
    void setPreviewMode(PreviewMode mode, bool store);
    void stepPreviewMode();

    bool treeVisible() const { return m_treeVisible; }
    void setTreeVisible(bool visible, bool store);
    void toggleTree();

    bool browseMode() const { return m_browseMode; }
    void toggleBrowseMode();

    bool mostFront() const { return m_mostFront; }
    // From the menu: no notice.
    void toggleMostFrontFromMenu();
    // From the toolbar button: the once-only notice first.
    void toggleMostFrontFromButton();

    bool regularExpression() const { return m_regularExpression; }
    // A click on chkSeiki: flip and store SeikiHyougen (0 or 1).
    void toggleRegularExpression();

    // Extraction mode: lvData(1) is shown and is the current list.
    bool extractionMode() const;
    void setExtractionMode(bool on);
    int currentListIndex() const { return extractionMode() ? 1 : 0; }

    void refresh();
    // In extraction mode: end extraction; else clear the main list's selection.
    void escape();

    // The settings' part of the state, applied without storing anything:
    // view mode, preview mode, tree, regular-expression box.
    void apply(int listViewMode, int previewMode, bool treeVisible, bool regularExpression);

signals:
    void listViewModeChanged(ListViewMode mode);
    void previewModeChanged(PreviewMode mode);
    void treeVisibleChanged(bool visible);
    void browseModeChanged(bool on);
    void mostFrontChanged(bool on);
    void regularExpressionChanged(bool on);
    // lvData(1) shown and lvData(0) hidden, or the other way round.
    void extractionModeChanged(bool on);

    // Requests to the window, on lvData(list).
    // Repaints the list (reflowColumns: re-flow the columns of the list
    // mode); a sorted list is sorted again.
    void refreshRequested(int list, bool reflowColumns);
    // Deselects every card and clears the current card.
    void clearSelectionRequested(int list);
    // Focuses the list and selects every card.
    void selectAllRequested(int list);
    void invertSelectionRequested(int list);
    // Focuses txtSearch (its text selected).
    void searchBoxFocusRequested();
    void listFocusRequested(int list);
    // The Edit menu as a pop-up at the list's top-left corner.
    void editMenuRequested(int list);

private:
    void wire();
    void store(const QString &key, const QVariant &value);
    void setMostFront(bool on);
    void setRegularExpression(bool on);

    MainCommands &m_commands;
    Services m_services;
    SettingWriter m_writer;
    QPointer<Document> m_document;
    ListViewMode m_listViewMode = ListViewMode::Details;
    PreviewMode m_previewMode = PreviewMode::None;
    bool m_treeVisible = true;
    bool m_browseMode = false;
    bool m_mostFront = false;
    bool m_regularExpression = false;
    bool m_extraction = false;
};
