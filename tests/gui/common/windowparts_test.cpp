// The parts every window is made with, offscreen: the controls the
// ActionBuilder makes from a window's tables and how they follow and run the
// registry, and the stored size and place of a window (WindowGeometry).

#include "gui/common/actionbuilder.h"
#include "gui/common/functionbar.h"
#include "gui/common/windowgeometry.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

WindowTables tables()
{
    WindowTables t;
    t.window = QStringLiteral("PartsForm");
    t.menus = MenuBuilder()
                  .menu(QStringLiteral("MenuFile"), QStringLiteral("ファイル(&F)"))
                  .item(QStringLiteral("MenuRun"), QStringLiteral("実行(&R)"), QStringLiteral("Run"),
                        QStringLiteral("Ctrl+R"))
                  .separator()
                  .item(QStringLiteral("MenuTitle"), QStringLiteral("見出し"), QString())
                  .sub(QStringLiteral("MenuMore"), QStringLiteral("その他"))
                  .indexed(QStringLiteral("MenuRecent"), 0, QStringLiteral("Recent"), QStringLiteral("Recent0"))
                  .hidden()
                  .endSub()
                  .menu(QStringLiteral("MenuView"), QStringLiteral("表示(&V)"))
                  .item(QStringLiteral("MenuFront"), QStringLiteral("最前面(&S)"), QStringLiteral("Front"))
                  .checkable()
                  .take();
    ToolbarButton run;
    run.key = QStringLiteral("tbRun");
    run.caption = QStringLiteral("実行");
    run.tooltip = QStringLiteral("実行します");
    run.command = QStringLiteral("Run");
    run.dropDown = {{QStringLiteral("tbRunAll"), QStringLiteral("すべて"), QStringLiteral("RunAll")}};
    ToolbarButton front;
    front.key = QStringLiteral("tbFront");
    front.command = QStringLiteral("Front");
    front.twoState = true;
    front.separatorBefore = true;
    t.toolbar = {run, front};
    t.functionBar = {{QStringLiteral("実行"), QStringLiteral("実行します"), QStringLiteral("Run")},
                     {QStringLiteral("ヘルプ"), QString(), QString()}};
    t.searchBar = {{QStringLiteral("btnGo"), 0, QStringLiteral("▼"), QStringLiteral("次へ"), QStringLiteral("Run")},
                   {QStringLiteral("chkFront"), -1, QString(), QString(), QStringLiteral("Front"), true}};
    t.keys = KeyTable(t.window,
                      {KeyTable::window(QStringLiteral("F5"), QStringLiteral("Run")),
                       KeyTable::control(KeyScope::SearchBox, QStringLiteral("Enter"), QStringLiteral("RunAll"))},
                      t.menus);
    return t;
}

class PartsTest : public ::testing::Test
{
protected:
    PartsTest() : commands(t)
    {
        actions = new ActionBuilder(commands, &window);
        actions->buildMenus(window.menuBar(), t.menus);
        toolbar = window.addToolBar(QString());
        actions->buildToolbar(toolbar, t.toolbar);
        bar = actions->makeFunctionBar(t.functionBar, &window, [this] { return clicksOn; });
        window.setStatusBar(bar);
        go = actions->makeButton(t.searchBar[0], &window);
        front = qobject_cast<QCheckBox *>(actions->makeButton(t.searchBar[1], &window));
        commands.wire(QStringLiteral("Run"), [this] { runs << QStringLiteral("Run"); });
        commands.wire(QStringLiteral("RunAll"), [this] { runs << QStringLiteral("RunAll"); });
        commands.wire(QStringLiteral("Front"), [this] {
            runs << QStringLiteral("Front");
            if (!refuseFront)
                commands.setChecked(QStringLiteral("Front"), !commands.isChecked(QStringLiteral("Front")));
        });
    }

    const WindowTables t = tables();
    CommandRegistry commands;
    QMainWindow window;
    ActionBuilder *actions = nullptr;
    QToolBar *toolbar = nullptr;
    FunctionBar *bar = nullptr;
    QAbstractButton *go = nullptr;
    QCheckBox *front = nullptr;
    QStringList runs;
    bool clicksOn = true;
    bool refuseFront = false;
};

} // namespace

TEST_F(PartsTest, MenusAsTheTableSays)
{
    QStringList titles;
    for (QAction *a : window.menuBar()->actions())
        titles << a->text();
    EXPECT_EQ(titles, (QStringList{QString::fromUtf8("ファイル(&F)"), QString::fromUtf8("表示(&V)")}));
    QStringList file;
    for (QAction *a : actions->menu(QStringLiteral("MenuFile"))->actions())
        file << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(file, (QStringList{"MenuRun", "-", "MenuTitle", "MenuMore"}));
    EXPECT_EQ(actions->menuAction(QStringLiteral("MenuRun"))->shortcut(), QKeySequence(QStringLiteral("Ctrl+R")));
    // An entry without a command is a title, never enabled.
    EXPECT_FALSE(actions->menuAction(QStringLiteral("MenuTitle"))->isEnabled());
    QAction *recent = actions->menuAction(QStringLiteral("MenuRecent"), 0);
    ASSERT_NE(recent, nullptr);
    EXPECT_FALSE(recent->isVisible());
    EXPECT_EQ(actions->menu(QStringLiteral("MenuMore"))->actions(), QList<QAction *>{recent});
}

TEST_F(PartsTest, ControlsFollowTheRegistryAndRunThroughIt)
{
    QAction *run = actions->menuAction(QStringLiteral("MenuRun"));
    QAction *all = actions->toolbarAction(QStringLiteral("tbRunAll"));
    QToolButton *button = actions->toolbarButton(QStringLiteral("tbRun"));
    ASSERT_TRUE(run && all && button);
    EXPECT_EQ(button->text(), QString::fromUtf8("実行"));
    EXPECT_EQ(button->toolTip(), QString::fromUtf8("実行します"));
    EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
    EXPECT_EQ(actions->toolbarButton(QStringLiteral("tbRunAll")), nullptr); // a drop-down entry has no button

    run->trigger();
    button->click();
    all->trigger();
    go->click();
    EXPECT_EQ(runs, (QStringList{"Run", "Run", "RunAll", "Run"}));

    commands.setEnabled(QStringLiteral("Run"), false);
    EXPECT_FALSE(run->isEnabled());
    EXPECT_FALSE(button->isEnabled());
    EXPECT_FALSE(go->isEnabled());
    EXPECT_TRUE(all->isEnabled());
    commands.unwire(QStringLiteral("RunAll"));
    EXPECT_FALSE(all->isEnabled());

    // Visibility and caption overrides reach the menu entries only.
    commands.setVisible(QStringLiteral("Recent0"), true);
    commands.setText(QStringLiteral("Recent0"), QStringLiteral("&A memo.qlw"));
    EXPECT_TRUE(actions->menuAction(QStringLiteral("MenuRecent"), 0)->isVisible());
    EXPECT_EQ(actions->menuAction(QStringLiteral("MenuRecent"), 0)->text(), QStringLiteral("&A memo.qlw"));
    commands.setText(QStringLiteral("Run"), QStringLiteral("x"));
    EXPECT_EQ(button->text(), QString::fromUtf8("実行"));
}

TEST_F(PartsTest, CheckMarksShowTheCommandsStateNotTheClick)
{
    QAction *menu = actions->menuAction(QStringLiteral("MenuFront"));
    QAction *button = actions->toolbarAction(QStringLiteral("tbFront"));
    ASSERT_TRUE(menu && button && front);
    menu->trigger();
    EXPECT_TRUE(menu->isChecked());
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(front->isChecked());
    front->click();
    EXPECT_FALSE(menu->isChecked());
    EXPECT_FALSE(front->isChecked());
    // A command that keeps its state keeps the marks, whatever was clicked.
    refuseFront = true;
    button->trigger();
    front->click();
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(front->isChecked());
    EXPECT_EQ(runs, (QStringList{"Front", "Front", "Front", "Front"}));
}

TEST_F(PartsTest, FunctionBarPanelsRunWhileClicksAreOn)
{
    EXPECT_EQ(bar->objectName(), QStringLiteral("sbStatusBar"));
    EXPECT_EQ(bar->panelTexts(), (QStringList{QString::fromUtf8("実行"), QString::fromUtf8("ヘルプ")}));
    EXPECT_EQ(bar->panel(QString::fromUtf8("実行"))->toolTip(), QString::fromUtf8("実行します"));
    QTest::mouseClick(bar->panel(QString::fromUtf8("ヘルプ")), Qt::LeftButton);
    QTest::mouseClick(bar->panel(QString::fromUtf8("実行")), Qt::LeftButton);
    clicksOn = false;
    QTest::mouseClick(bar->panel(QString::fromUtf8("実行")), Qt::LeftButton);
    EXPECT_EQ(runs, QStringList{"Run"});
}

TEST_F(PartsTest, KeysRunTheirCommandsAndAreClaimedOnly)
{
    QKeyEvent f5(QEvent::KeyPress, Qt::Key_F5, Qt::NoModifier);
    f5.ignore();
    EXPECT_TRUE(actions->runKey(t.keys, &f5, KeyScope::ContentBox, KeyContext{}));
    EXPECT_TRUE(f5.isAccepted());
    QKeyEvent enter(QEvent::ShortcutOverride, Qt::Key_Return, Qt::NoModifier);
    EXPECT_TRUE(actions->runKey(t.keys, &enter, KeyScope::SearchBox, KeyContext{}, true));
    QKeyEvent elsewhere(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    EXPECT_FALSE(actions->runKey(t.keys, &elsewhere, KeyScope::TitleBox, KeyContext{}));
    QKeyEvent menuKey(QEvent::KeyPress, Qt::Key_R, Qt::ControlModifier);
    EXPECT_TRUE(actions->runKey(t.keys, &menuKey, KeyScope::Window, KeyContext{}));
    EXPECT_EQ(runs, (QStringList{"Run", "Run"}));
}

TEST(WindowGeometryClamp, ShrinksThenMovesIntoTheArea)
{
    const QRect area(0, 20, 800, 580);
    struct Case {
        QRect outer, expected;
    };
    const Case cases[] = {
        {QRect(10, 30, 300, 200), QRect(10, 30, 300, 200)},     // inside
        {QRect(700, 500, 300, 200), QRect(500, 400, 300, 200)}, // past the right and bottom edges
        {QRect(-50, 0, 300, 200), QRect(0, 20, 300, 200)},      // past the left and top edges
        {QRect(100, 100, 1000, 900), QRect(0, 20, 800, 580)},   // larger than the area
        {QRect(5, 5, 900, 100), QRect(0, 20, 800, 100)},
    };
    for (const Case &c : cases)
        EXPECT_EQ(WindowGeometry::clamped(c.outer, area), c.expected);
    EXPECT_EQ(WindowGeometry::clamped(QRect(1, 2, 3, 4), QRect()), QRect(1, 2, 3, 4));
}

TEST(WindowGeometryRestore, ARestoredSizeIsWhatIsStoredAgain)
{
    QWidget window;
    auto *geometry = new WindowGeometry(window);
    geometry->restoreOuterSize(QSize(420, 300));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    EXPECT_EQ(window.frameGeometry().size(), QSize(420, 300));
    EXPECT_EQ(geometry->outerNormalSize(), QSize(420, 300));
    geometry->restoreOuterSize(QSize()); // nothing stored: nothing changes
    EXPECT_EQ(geometry->outerNormalSize(), QSize(420, 300));

    window.showMaximized();
    QApplication::processEvents();
    EXPECT_EQ(geometry->outerNormalSize(), QSize(420, 300));
}

TEST(WindowGeometryRestore, AStoredSizeOrPlaceBeyondTheScreenIsBroughtOnScreen)
{
    QWidget window;
    auto *geometry = new WindowGeometry(window);
    const QRect area = window.screen()->availableGeometry();
    geometry->restoreOuterGeometry(QRect(area.right() - 100, area.top() + 10, 300, 200));
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::processEvents();
    EXPECT_TRUE(area.contains(window.frameGeometry())) << window.frameGeometry().x();
    EXPECT_EQ(geometry->outerNormalGeometry().size(), QSize(300, 200));

    geometry->restoreOuterSize(area.size() + QSize(500, 500));
    QApplication::processEvents();
    EXPECT_EQ(geometry->outerNormalSize(), area.size());
}
