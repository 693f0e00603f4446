#pragma once
// The card editor as data, in the schema of the windows (windowtables.h): its
// menus, toolbar buttons, function-bar panels, the buttons of its search
// strip and its keys, each naming one editor command. EditForm builds its
// controls from these tables and runs every trigger through its command
// registry, so a test of the tables is a test of what the window carries and
// which key does what where.

#include "core/window/windowtables.h"

#include <QLatin1String>

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
// Keys only
inline constexpr QLatin1String Escape{"Escape"}; // discard and close, only while nothing changed
inline constexpr QLatin1String FocusTitle{"FocusTitle"};
inline constexpr QLatin1String FocusRemarks{"FocusRemarks"};
inline constexpr QLatin1String FocusContent{"FocusContent"};
inline constexpr QLatin1String FocusSearch{"FocusSearch"};     // the search box, its text selected
inline constexpr QLatin1String EditMenuPopup{"EditMenuPopup"}; // the Edit menu at the title box
inline constexpr QLatin1String PageDown{"PageDown"};           // the content box one page on
inline constexpr QLatin1String PageUp{"PageUp"};
} // namespace EditorCmd

namespace EditorTables {

// All of the editor's tables, keys included.
const WindowTables &tables();

// The menus in display order: each menu (level 0) followed by its entries.
const QList<MenuEntry> &menus();
const QList<ToolbarButton> &toolbar();
const QList<FunctionBarPanel> &functionBar();
const QList<SearchBarControl> &searchButtons();
const KeyTable &keys();

// The function-bar command for a panel text; empty when it runs nothing.
QString functionBarCommand(const QString &panelText);

// A typed key no binding claimed: in browse mode the boxes swallow
// printable characters (Ctrl and Alt combinations are no typing), so the card
// cannot be changed by accident.
bool swallowsTyping(KeyScope focus, const KeyContext &context, const QString &text, Qt::KeyboardModifiers modifiers);

} // namespace EditorTables
