#pragma once
// MainForm: the one window of a QLTWIN process. It presents the menus, the
// toolbar, the search bar, the group list, the two card lists, the preview
// pane and the function bar, all built from the window's tables, and forwards
// every trigger to the command registry. Decisions live in the core: the
// tables (mainwindowtables.h, keymap.h), the layout rules (mainlayout.h) and
// the view state (viewcontroller.h). The controls are made from the tables by
// the ActionBuilder and the stored size is kept by the WindowGeometry, as for
// every window of the program.
//
//     MainForm window(services);          // hidden, captioned "QLT@WIN Ver.x.y.z"
//     window.setCardModels(&cards, &extraction);
//     window.commands().wire(Cmd::NewDocument, [&] { ... });
//     window.applySettings(values);
//     window.show();

#include "core/common/services.h"
#include "core/document/windowstate.h"
#include "core/settings/appliedsettings.h"
#include "core/window/keymap.h"
#include "core/window/viewcontroller.h"

#include <QHash>
#include <QMainWindow>

#include <functional>
#include <memory>

class ActionBuilder;
class CardListView;
class FunctionBar;
class MainCommands;
class PreviewPane;
class QAbstractItemModel;
class QAction;
class QItemSelectionModel;
class QMenu;
class QToolBar;
class QToolButton;
class QTreeWidget;
class SearchBar;
class WindowGeometry;

class MainForm : public QMainWindow
{
    Q_OBJECT
public:
    // services.dialogs, services.shell and services.userStore serve the
    // window's own commands (help, the most-front notice); they must outlive
    // the window.
    explicit MainForm(const Services &services, QWidget *parent = nullptr);
    ~MainForm() override;

    MainCommands &commands() { return *m_commands; }
    MainViewController &viewState() { return *m_controller; }

    // --- Cards
    // lvData(0) shows mainList, lvData(1) extractionList (neither owned).
    // With the selection models the commands use (CardList's), a selection
    // made by a click and one made by a command are the same.
    void setCardModels(QAbstractItemModel *mainList, QAbstractItemModel *extractionList,
                       QItemSelectionModel *mainSelection = nullptr,
                       QItemSelectionModel *extractionSelection = nullptr);
    // lvData(index), index 0 or 1.
    CardListView *cardList(int index) const;
    // 1 while the extraction list is shown, else 0.
    int currentListIndex() const;
    CardListView *currentList() const { return cardList(currentListIndex()); }
    // Shows lvData(1) in place of lvData(0), or back (through the view
    // state, which follows the document once one is wired).
    void setExtractionMode(bool on);
    bool extractionMode() const;
    // Scrolls the card at row of lvData(list) into view.
    void showCard(int list, qsizetype row);

    // --- Settings (all but the sort, which the sort commands apply)
    void applySettings(const AppliedSettings &settings);
    // Column widths of the main card list, the outer window size in the normal
    // state, whether the window is in it, the view mode.
    WindowState storedState() const;
    // Where PreView, TreeViewVisible and SeikiHyougen go when they change.
    void setSettingWriter(MainViewController::SettingWriter writer);
    // NoFunctionBarClickEvent = 1: clicks on the function bar do nothing (the
    // default, as the key's default is 1).
    void setFunctionBarClicksOff(bool off) { m_functionBarClicksOff = off; }
    bool functionBarClicksOff() const { return m_functionBarClicksOff; }

    // --- Closing: the guard runs first (false keeps the window open; the
    // document lifecycle asks about unsaved changes there), then closing().
    void setCloseGuard(std::function<bool()> guard) { m_closeGuard = std::move(guard); }

    // --- Search bar
    SearchBar *searchBar() const { return m_searchBar; }
    QString keyword() const;
    void setKeyword(const QString &keyword);
    QStringList searchHistory() const;
    void setSearchHistory(const QStringList &entries);
    void focusKeyword();

    // --- Group list: "全て" (key "Root") first, then one entry per name.
    QTreeWidget *groupList() const { return m_tree; }
    void setGroups(const QStringList &names);
    // The same with the entries' keys (keys[n] for names[n]; missing keys are
    // generated).
    void setGroups(const QStringList &names, const QStringList &keys);
    // The keys of the entries, in order ("Root", then generated ones).
    QStringList groupKeys() const;

    // --- Preview: shows the selected card of the current list while the
    // preview mode is not none.
    void refreshPreview();
    PreviewPane *previewPane() const { return m_preview; }

    // --- Controls by their system names
    QAction *menuAction(const QString &name, int index = -1) const;
    QMenu *menu(const QString &name) const;
    QToolBar *toolbar() const { return m_toolbar; }
    QToolButton *toolbarButton(const QString &key) const;
    QAction *toolbarAction(const QString &key) const;
    FunctionBar *functionBar() const { return m_functionBar; }

signals:
    void groupClicked(const QString &key, const QString &name);
    // The close was allowed; the window is about to close.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void followViewState();
    void showListViewMode(ListViewMode mode);
    void relayout();
    void showExtractionList(bool shown);
    void showEditMenuAtList(int listIndex);

    void followModel(int listIndex);
    void buildMenus();
    void buildToolbar();
    void buildClientArea();
    void wireWindowCommands();
    bool handleKey(QWidget *receiver, QKeyEvent *event, bool overrideOnly);
    KeyScope scopeOf(QWidget *widget) const;
    void clientResized();

    std::unique_ptr<MainCommands> m_commands;
    Services m_services;
    std::unique_ptr<MainViewController> m_controller;

    QWidget *m_client = nullptr;
    QToolBar *m_toolbar = nullptr;
    SearchBar *m_searchBar = nullptr;
    QTreeWidget *m_tree = nullptr;
    CardListView *m_lists[2] = {nullptr, nullptr};
    QList<QMetaObject::Connection> m_modelConnections[2];
    PreviewPane *m_preview = nullptr;
    FunctionBar *m_functionBar = nullptr;

    ActionBuilder *m_actions = nullptr;
    WindowGeometry *m_geometry = nullptr;

    bool m_functionBarClicksOff = true;
    std::function<bool()> m_closeGuard;
};
