// The schema of a window's tables: the key table with its scopes and
// conditions, a registry built from tables, and which key press the registry
// claims for the window; the main window's tables against the checks every
// window's tables must pass.

#include "core/window/commandids.h"
#include "core/window/commandregistry.h"
#include "core/window/keymap.h"
#include "core/window/maincommands.h"
#include "core/window/mainwindowtables.h"
#include "core/window/windowtables.h"

#include "support/tablechecks.h"

#include <QSet>

#include <gtest/gtest.h>

namespace {

QKeyCombination key(Qt::KeyboardModifiers modifiers, Qt::Key k)
{
    return QKeyCombination(modifiers, k);
}

// A small window: a menu with a checked entry and a shortcut, a toolbar
// button with a drop-down, a panel, a check box and keys in three scopes.
WindowTables smallWindow()
{
    WindowTables t;
    t.window = QStringLiteral("SmallForm");
    t.menus = MenuBuilder()
                  .menu(QStringLiteral("MenuFile"), QStringLiteral("ファイル(&F)"))
                  .item(QStringLiteral("MenuSave"), QStringLiteral("保存(&S)"), QStringLiteral("Save"),
                        QStringLiteral("Ctrl+S"))
                  .item(QStringLiteral("MenuTree"), QStringLiteral("ツリー(&T)"), QStringLiteral("Tree"))
                  .checkable(true)
                  .take();
    ToolbarButton open;
    open.key = QStringLiteral("tbOpen");
    open.command = QStringLiteral("Open");
    open.dropDown = {{QStringLiteral("tbOpenCsv"), QStringLiteral("CSV"), QStringLiteral("OpenCsv")}};
    t.toolbar = {open};
    t.functionBar = {{QStringLiteral("保存"), QString(), QStringLiteral("Save")}};
    t.searchBar = {{QStringLiteral("chkRegex"), -1, QString(), QString(), QStringLiteral("Regex"), true}};
    t.keys = KeyTable(t.window,
                      {
                          KeyTable::window(QStringLiteral("F5"), QStringLiteral("Refresh")),
                          KeyTable::control(KeyScope::CardList, QStringLiteral("Del"), QStringLiteral("Delete")),
                          KeyTable::control(KeyScope::SearchBox, QStringLiteral("Down"), QStringLiteral("ToList"),
                                            KeyCondition::KeywordEmpty),
                      },
                      t.menus);
    return t;
}

} // namespace

TEST(WindowSchema, CommandIdsComeOnceInTableOrder)
{
    const WindowTables t = smallWindow();
    EXPECT_EQ(t.commandIds(), (QStringList{"Save", "Tree", "Open", "OpenCsv", "Regex", "Refresh", "Delete", "ToList"}));
    EXPECT_EQ(t.initiallyChecked(), QStringList{"Tree"});
    EXPECT_EQ(t.functionBarCommand(QString::fromUtf8("保存")), QStringLiteral("Save"));
    EXPECT_TRUE(t.functionBarCommand(QStringLiteral("x")).isEmpty());
    ASSERT_NE(t.findMenuEntry(QStringLiteral("MenuTree")), nullptr);
    EXPECT_EQ(t.findMenuEntry(QStringLiteral("MenuTree"))->parent, QStringLiteral("MenuFile"));
}

TEST(WindowSchema, MenuShortcutsAreWindowKeysNamingTheWindow)
{
    const WindowTables t = smallWindow();
    const KeyBinding *save = t.keys.lookup(key(Qt::ControlModifier, Qt::Key_S), KeyScope::CardList, KeyContext{});
    ASSERT_NE(save, nullptr);
    EXPECT_TRUE(save->fromMenu);
    EXPECT_EQ(save->scope, KeyScope::Window);
    EXPECT_EQ(save->command, QStringLiteral("Save"));
    EXPECT_EQ(save->control(), QStringLiteral("SmallForm"));
    EXPECT_EQ(t.keys.bindings().at(1).control(), QStringLiteral("lvData"));
    EXPECT_EQ(t.keys.bindings().at(2).control(), QStringLiteral("txtSearch"));
}

TEST(WindowSchema, ControlKeysActInTheirScopeWhileTheirConditionHolds)
{
    const KeyTable keys = smallWindow().keys;
    struct Case {
        KeyScope focus;
        QKeyCombination key;
        bool keywordEmpty;
        const char *command;
    };
    const Case cases[] = {
        {KeyScope::Window, key(Qt::NoModifier, Qt::Key_F5), true, "Refresh"},
        {KeyScope::SearchBox, key(Qt::NoModifier, Qt::Key_F5), true, "Refresh"},
        {KeyScope::CardList, key(Qt::NoModifier, Qt::Key_Delete), true, "Delete"},
        {KeyScope::Window, key(Qt::NoModifier, Qt::Key_Delete), true, ""},
        {KeyScope::SearchBox, key(Qt::NoModifier, Qt::Key_Delete), true, ""},
        {KeyScope::SearchBox, key(Qt::NoModifier, Qt::Key_Down), true, "ToList"},
        {KeyScope::SearchBox, key(Qt::NoModifier, Qt::Key_Down), false, ""},
        {KeyScope::CardList, key(Qt::NoModifier, Qt::Key_Down), true, ""},
    };
    for (const Case &c : cases) {
        KeyContext context;
        context.keywordEmpty = c.keywordEmpty;
        EXPECT_EQ(keys.commandFor(c.key, c.focus, context), QLatin1String(c.command))
            << int(c.focus) << " " << c.key.toCombined();
    }
}

TEST(CommandRegistryFromTables, DefinesEveryCommandUnwiredWithTheMenusCheckMarks)
{
    const WindowTables t = smallWindow();
    CommandRegistry commands(t);
    EXPECT_EQ(commands.ids(), t.commandIds());
    EXPECT_EQ(commands.unwiredIds(), t.commandIds());
    EXPECT_TRUE(commands.isChecked(QStringLiteral("Tree")));
    EXPECT_FALSE(commands.isChecked(QStringLiteral("Save")));
    EXPECT_FALSE(commands.trigger(QStringLiteral("Save")));

    // The main window's registry is the same thing over its own tables.
    MainCommands main;
    EXPECT_EQ(main.ids(), MainWindowTables::tables().commandIds());
}

TEST(CommandRegistryFromTables, TheWindowClaimsItsKeysControlKeysOnlyWhileTheyCanRun)
{
    const WindowTables t = smallWindow();
    CommandRegistry commands(t);
    const KeyContext context;
    const QKeyCombination f5 = key(Qt::NoModifier, Qt::Key_F5);
    const QKeyCombination del = key(Qt::NoModifier, Qt::Key_Delete);

    // A window key is the window's even while its command cannot run.
    const KeyBinding *refresh = commands.claimKey(t.keys, f5, KeyScope::CardList, context);
    ASSERT_NE(refresh, nullptr);
    EXPECT_EQ(refresh->command, QStringLiteral("Refresh"));
    // A control's key stays the control's until its command can run.
    EXPECT_EQ(commands.claimKey(t.keys, del, KeyScope::CardList, context), nullptr);
    int deleted = 0;
    commands.wire(QStringLiteral("Delete"), [&] { ++deleted; });
    const KeyBinding *remove = commands.claimKey(t.keys, del, KeyScope::CardList, context);
    ASSERT_NE(remove, nullptr);
    EXPECT_TRUE(commands.trigger(remove->command));
    EXPECT_EQ(deleted, 1);
    commands.setEnabled(QStringLiteral("Delete"), false);
    EXPECT_EQ(commands.claimKey(t.keys, del, KeyScope::CardList, context), nullptr);
    // Keys no table names are never claimed.
    EXPECT_EQ(commands.claimKey(t.keys, key(Qt::NoModifier, Qt::Key_F11), KeyScope::Window, context), nullptr);
}

TEST(MainWindowSchema, TheTablesPassTheChecksOfEveryWindow)
{
    const WindowTables &t = MainWindowTables::tables();
    EXPECT_EQ(t.window, QStringLiteral("MainForm"));
    EXPECT_EQ(TableChecks::keyFaults(t.keys), QStringList());
    EXPECT_EQ(TableChecks::menuFaults(t.menus), QStringList());
    EXPECT_EQ(TableChecks::unknownCommands(t), QStringList());
    EXPECT_EQ(&t.keys.bindings(), &KeyMap::bindings());
}

TEST(MainWindowSchema, CommandsDisabledOnPurposeAreTableCommandsNoOwnerRuns)
{
    const QStringList ids = MainWindowTables::allCommandIds();
    const QStringList &disabled = MainWindowTables::disabledCommandIds();
    EXPECT_EQ(QSet<QString>(disabled.begin(), disabled.end()).size(), disabled.size());
    for (const QString &id : disabled) {
        EXPECT_TRUE(ids.contains(id)) << id.toStdString();
        EXPECT_FALSE(MainWindowTables::windowCommandIds().contains(id)) << id.toStdString();
    }
}
