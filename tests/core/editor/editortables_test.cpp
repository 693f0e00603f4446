// The card editor's tables headless: which command each menu entry, button
// and panel runs, and every key of the window and its boxes, as the editor
// window has always had them.

#include "core/editor/editortables.h"
#include "core/window/commandregistry.h"

#include "support/tablechecks.h"

#include <gtest/gtest.h>

namespace {

constexpr Qt::KeyboardModifiers None = Qt::NoModifier;
constexpr Qt::KeyboardModifiers Ctrl = Qt::ControlModifier;
constexpr Qt::KeyboardModifiers Alt = Qt::AltModifier;
constexpr Qt::KeyboardModifiers Shift = Qt::ShiftModifier;

QString commandFor(KeyScope focus, Qt::KeyboardModifiers modifiers, Qt::Key key, bool browseMode = false)
{
    KeyContext context;
    context.browseMode = browseMode;
    return EditorTables::keys().commandFor(QKeyCombination(modifiers, key), focus, context);
}

const KeyScope AllScopes[] = {KeyScope::Window,     KeyScope::TitleBox, KeyScope::RemarksBox,
                              KeyScope::ContentBox, KeyScope::GroupBox, KeyScope::SearchBox};
const KeyScope Boxes[] = {KeyScope::TitleBox, KeyScope::RemarksBox, KeyScope::ContentBox, KeyScope::GroupBox};

} // namespace

TEST(EditorTables, EveryControlRunsItsCommand)
{
    QStringList rows;
    for (const MenuEntry &e : EditorTables::menus()) {
        if (e.level == 1 && !e.isSeparator())
            rows << e.parent + QLatin1Char('/') + e.objectName() + QLatin1Char('>') + e.command;
    }
    for (const ToolbarButton &b : EditorTables::toolbar())
        rows << b.key + QLatin1Char('>') + b.command;
    for (const FunctionBarPanel &p : EditorTables::functionBar())
        rows << p.text + QLatin1Char('>') + p.command;
    for (const SearchBarControl &c : EditorTables::searchButtons())
        rows << c.objectName() + QLatin1Char('>') + c.command;
    EXPECT_EQ(rows, (QStringList{
                        "MenuFile/MenuGo>Go",
                        "MenuFile/MenuCancel>Cancel",
                        "MenuEdit/MenuEditUndo>Undo",
                        "MenuEdit/MenuEditCut>Cut",
                        "MenuEdit/MenuEditCopy>Copy",
                        "MenuEdit/MenuEditPaste>Paste",
                        "MenuEdit/MenuEditDel>Delete",
                        "MenuEdit/MenuEditAllSelect>SelectAll",
                        "MenuEdit/MenuEditChangeGroup>ChangeGroup",
                        "MenuEdit/MenuEditOpen_0>OpenUrl",
                        "MenuEdit/MenuEditOpen_1>ExtractSelection",
                        "MenuEdit/MenuEditEditor>ExternalEditor",
                        "MenuDisp/MenuDispSetMostFront>MostFront",
                        "MenuDisp/MenuDispViewMode>BrowseMode",
                        "tbOK>Go",
                        "tbCancel>Cancel",
                        "tbEditor>ExternalEditor",
                        "tbViewMode>BrowseMode",
                        "tbSetMostFront>MostFrontButton",
                        QString::fromUtf8("ヘルプ>"),
                        QString::fromUtf8("次検索>SearchForward"),
                        QString::fromUtf8("反映>Go"),
                        QString::fromUtf8("破棄>Cancel"),
                        "btnSearchDown_0>SearchForward",
                        "btnSearchDown_1>SearchBackward",
                    }));
    EXPECT_EQ(EditorTables::functionBarCommand(QString::fromUtf8("反映")), QStringLiteral("Go"));
    EXPECT_TRUE(EditorTables::functionBarCommand(QString::fromUtf8("ヘルプ")).isEmpty());
}

TEST(EditorTables, TheTablesPassTheChecksOfEveryWindow)
{
    const WindowTables &t = EditorTables::tables();
    EXPECT_EQ(t.window, QStringLiteral("EditForm"));
    EXPECT_EQ(TableChecks::keyFaults(t.keys), QStringList());
    EXPECT_EQ(TableChecks::menuFaults(t.menus), QStringList());
    EXPECT_EQ(TableChecks::unknownCommands(t), QStringList());
    // Only the display menu's entries carry check marks, none at the start.
    const CommandRegistry commands(t);
    for (const QString &id : commands.ids())
        EXPECT_FALSE(commands.isChecked(id)) << id.toStdString();
}

TEST(EditorKeys, WindowKeysActWhateverHasTheFocus)
{
    struct Case {
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        QLatin1String command;
    };
    const Case cases[] = {
        {None, Qt::Key_Escape, EditorCmd::Escape},
        {Shift, Qt::Key_Return, EditorCmd::Go},
        {Alt, Qt::Key_Return, EditorCmd::Go},
        {Shift | Qt::KeypadModifier, Qt::Key_Enter, EditorCmd::Go},
        {Ctrl, Qt::Key_W, EditorCmd::Go},
        {Ctrl, Qt::Key_S, EditorCmd::Commit},
        {Alt, Qt::Key_S, EditorCmd::CommitAndSave},
        {Ctrl | Shift, Qt::Key_S, EditorCmd::CommitAndSave},
        {Ctrl, Qt::Key_1, EditorCmd::FocusTitle},
        {Alt, Qt::Key_1, EditorCmd::FocusTitle},
        {Ctrl, Qt::Key_2, EditorCmd::FocusRemarks},
        {Alt, Qt::Key_2, EditorCmd::FocusRemarks},
        {Ctrl, Qt::Key_3, EditorCmd::FocusContent},
        {Alt, Qt::Key_3, EditorCmd::FocusContent},
        {None, Qt::Key_F3, EditorCmd::SearchForward},
        {Shift, Qt::Key_F3, EditorCmd::SearchBackward},
    };
    for (const Case &c : cases) {
        for (KeyScope focus : AllScopes) {
            for (bool browse : {false, true})
                EXPECT_EQ(commandFor(focus, c.modifiers, c.key, browse), c.command)
                    << c.command.data() << " in scope " << int(focus);
        }
    }
    // Near misses belong to the focused control.
    for (KeyScope focus : AllScopes) {
        EXPECT_TRUE(commandFor(focus, Ctrl | Alt, Qt::Key_1).isEmpty());
        EXPECT_TRUE(commandFor(focus, Shift, Qt::Key_Escape).isEmpty());
        EXPECT_TRUE(commandFor(focus, Ctrl, Qt::Key_4).isEmpty());
        EXPECT_TRUE(commandFor(focus, Ctrl | Alt, Qt::Key_S).isEmpty());
    }
}

TEST(EditorKeys, ControlKeysActOnlyWhereTheEditorHadThem)
{
    struct Case {
        KeyScope focus;
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        const char *command; // empty: the control's own key
    };
    const Case cases[] = {
        // The search box searches the content; nothing else is the window's there.
        {KeyScope::SearchBox, None, Qt::Key_Return, "SearchForward"},
        {KeyScope::SearchBox, Qt::KeypadModifier, Qt::Key_Enter, "SearchForward"},
        {KeyScope::SearchBox, Ctrl, Qt::Key_Return, "SearchBackward"},
        {KeyScope::SearchBox, Ctrl, Qt::Key_F, ""},
        {KeyScope::SearchBox, None, Qt::Key_Up, ""},
        {KeyScope::SearchBox, None, Qt::Key_Menu, ""},
        // Up and Down walk group, title, remarks, content.
        {KeyScope::TitleBox, None, Qt::Key_Up, "ChangeGroup"},
        {KeyScope::TitleBox, None, Qt::Key_Down, "FocusRemarks"},
        {KeyScope::RemarksBox, None, Qt::Key_Up, "FocusTitle"},
        {KeyScope::RemarksBox, None, Qt::Key_Down, "FocusContent"},
        {KeyScope::ContentBox, None, Qt::Key_Up, ""},
        {KeyScope::ContentBox, None, Qt::Key_Down, ""},
        {KeyScope::GroupBox, None, Qt::Key_Up, ""},
        {KeyScope::GroupBox, None, Qt::Key_Down, ""},
        {KeyScope::TitleBox, Shift, Qt::Key_Up, ""},
        // Page Down in the one-line boxes pages the content.
        {KeyScope::TitleBox, None, Qt::Key_PageDown, "PageDown"},
        {KeyScope::RemarksBox, None, Qt::Key_PageDown, "PageDown"},
        {KeyScope::ContentBox, None, Qt::Key_PageDown, ""},
        {KeyScope::TitleBox, None, Qt::Key_PageUp, ""},
        // Plain Enter stays the boxes' own.
        {KeyScope::TitleBox, None, Qt::Key_Return, ""},
        {KeyScope::ContentBox, None, Qt::Key_Return, ""},
        {KeyScope::ContentBox, Ctrl, Qt::Key_Return, ""},
        // Not a box: the window itself.
        {KeyScope::Window, Ctrl, Qt::Key_F, ""},
        {KeyScope::Window, None, Qt::Key_Menu, ""},
    };
    for (const Case &c : cases)
        EXPECT_EQ(commandFor(c.focus, c.modifiers, c.key), QLatin1String(c.command))
            << "scope " << int(c.focus) << " key " << c.key;
    // Ctrl+F and the menu key in every box and the group box.
    for (KeyScope focus : Boxes) {
        EXPECT_EQ(commandFor(focus, Ctrl, Qt::Key_F), EditorCmd::FocusSearch) << int(focus);
        EXPECT_EQ(commandFor(focus, None, Qt::Key_Menu), EditorCmd::EditMenuPopup) << int(focus);
    }
}

TEST(EditorKeys, BrowseModePagesWithSpaceAndZAndSwallowsTyping)
{
    for (KeyScope focus : Boxes) {
        for (Qt::KeyboardModifiers mods : {None, Shift}) {
            EXPECT_EQ(commandFor(focus, mods, Qt::Key_Space, true), EditorCmd::PageDown) << int(focus);
            EXPECT_EQ(commandFor(focus, mods, Qt::Key_Z, true), EditorCmd::PageUp) << int(focus);
            EXPECT_TRUE(commandFor(focus, mods, Qt::Key_Space, false).isEmpty()) << int(focus);
            EXPECT_TRUE(commandFor(focus, mods, Qt::Key_Z, false).isEmpty()) << int(focus);
        }
        EXPECT_TRUE(commandFor(focus, Ctrl, Qt::Key_Space, true).isEmpty());
    }
    EXPECT_TRUE(commandFor(KeyScope::SearchBox, None, Qt::Key_Space, true).isEmpty());

    struct Case {
        KeyScope focus;
        bool browseMode;
        const char *text;
        Qt::KeyboardModifiers modifiers;
        bool swallowed;
    };
    const Case cases[] = {
        {KeyScope::TitleBox, true, "a", None, true},
        {KeyScope::ContentBox, true, "A", Shift, true},
        {KeyScope::GroupBox, true, "1", None, true},
        {KeyScope::RemarksBox, true, "\xe3\x81\x82", None, true}, // あ
        {KeyScope::TitleBox, false, "a", None, false},
        {KeyScope::SearchBox, true, "a", None, false},
        {KeyScope::Window, true, "a", None, false},
        {KeyScope::TitleBox, true, "a", Ctrl, false},
        {KeyScope::TitleBox, true, "a", Alt, false},
        {KeyScope::TitleBox, true, "", None, false},     // a key without text (arrows, F2)
        {KeyScope::TitleBox, true, "\x08", None, false}, // Backspace is no character
    };
    for (const Case &c : cases) {
        KeyContext context;
        context.browseMode = c.browseMode;
        EXPECT_EQ(EditorTables::swallowsTyping(c.focus, context, QString::fromUtf8(c.text), c.modifiers), c.swallowed)
            << int(c.focus) << " '" << c.text << "'";
    }
}
