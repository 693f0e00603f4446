#pragma once
// The card editor as data: its menus, toolbar buttons, function-bar panels and
// search strip, each naming one editor command. EditForm builds its controls
// from these tables, so a test of the tables is a test of what the window
// carries.

#include <QLatin1String>
#include <QList>
#include <QString>

namespace EditorCmd {
inline constexpr QLatin1String Go{"Go"};         // apply and close
inline constexpr QLatin1String Cancel{"Cancel"}; // discard and close
inline constexpr QLatin1String Undo{"Undo"};
inline constexpr QLatin1String Cut{"Cut"};
inline constexpr QLatin1String Copy{"Copy"};
inline constexpr QLatin1String Paste{"Paste"};
inline constexpr QLatin1String Delete{"Delete"}; // empties the selection
inline constexpr QLatin1String SelectAll{"SelectAll"};
inline constexpr QLatin1String ChangeGroup{"ChangeGroup"};           // focus the group box
inline constexpr QLatin1String OpenUrl{"OpenUrl"};                   // MenuEditOpen(0)
inline constexpr QLatin1String ExtractSelection{"ExtractSelection"}; // MenuEditOpen(1)
inline constexpr QLatin1String ExternalEditor{"ExternalEditor"};
inline constexpr QLatin1String MostFront{"MostFront"};             // the menu entry
inline constexpr QLatin1String MostFrontButton{"MostFrontButton"}; // the toolbar button
inline constexpr QLatin1String BrowseMode{"BrowseMode"};
inline constexpr QLatin1String SearchForward{"SearchForward"};
inline constexpr QLatin1String SearchBackward{"SearchBackward"};
inline constexpr QLatin1String Commit{"Commit"};               // apply without closing
inline constexpr QLatin1String CommitAndSave{"CommitAndSave"}; // the same, then the card file is saved
} // namespace EditorCmd

struct EditorMenuEntry {
    QString menu;    // control name of the menu holding it; empty for a menu
    QString name;    // control name; empty for a separator
    int index = -1;  // control-array index, -1 for a single control
    QString caption; // "-" for a separator
    QString command;
    bool checkable = false;

    bool isSeparator() const { return caption == QLatin1String("-"); }
    // "MenuEditOpen_1", "MenuGo".
    QString objectName() const;
};

struct EditorToolbarButton {
    QString key;
    QString caption;
    QString tooltip;
    QString command;
    bool twoState = false;
};

struct EditorFunctionPanel {
    QString text;
    QString tooltip;
    QString command; // empty: runs nothing
};

struct EditorSearchButton {
    int index;
    QString caption;
    QString command;
    QString objectName() const; // "btnSearchDown_0"
};

namespace EditorTables {

// The menus in display order: each menu (menu empty) followed by its entries.
const QList<EditorMenuEntry> &menus();
const QList<EditorToolbarButton> &toolbar();
const QList<EditorFunctionPanel> &functionBar();
const QList<EditorSearchButton> &searchButtons();

// The function-bar command for a panel text; empty when it runs nothing.
QString functionBarCommand(const QString &panelText);

} // namespace EditorTables
