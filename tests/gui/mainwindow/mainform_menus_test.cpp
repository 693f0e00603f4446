// The window's menus, toolbar and keys against the one table they are built
// from: every entry with its caption, shortcut, visibility, check mark and
// enabled state, and the keys acting as the key map says.

#include "windowfixture.h"

#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mainwindowtables.h"

#include <QComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QHeaderView>

using namespace MainWindowTables;

namespace {

bool ownedByTheWindow(const QString &command)
{
    return windowCommandIds().contains(command);
}

} // namespace

using MenuTest = WindowTest;

TEST_F(MenuTest, TheMenuBarHoldsTheTopMenusInOrder)
{
    QStringList titles;
    QStringList visible;
    for (QAction *a : window->menuBar()->actions()) {
        titles << a->text();
        if (a->isVisible())
            visible << a->text();
    }
    QStringList expected;
    for (const MenuEntry &e : menuTree()) {
        if (e.level == 0)
            expected << e.caption;
    }
    EXPECT_EQ(titles, expected);
    expected.removeLast(); // the browser button's pop-up is hidden
    EXPECT_EQ(visible, expected);
}

TEST_F(MenuTest, EveryEntryExistsAsTheTableSays)
{
    const QList<MenuEntry> &tree = menuTree();
    for (int i = 0; i < tree.size(); ++i) {
        const MenuEntry &e = tree.at(i);
        if (e.isSeparator())
            continue;
        const std::string name = e.objectName().toStdString();
        QAction *action = window->menuAction(e.name, e.index);
        ASSERT_NE(action, nullptr) << name;
        EXPECT_EQ(action->objectName(), e.objectName());
        EXPECT_EQ(action->isVisible(), !e.hidden) << name;
        const bool holdsOthers = e.level == 0 || (i + 1 < tree.size() && tree.at(i + 1).level > e.level);
        if (holdsOthers) {
            ASSERT_NE(action->menu(), nullptr) << name;
            EXPECT_EQ(action->menu()->title(), e.caption) << name;
            EXPECT_EQ(window->menu(e.name), action->menu());
            continue;
        }
        EXPECT_EQ(action->text(), e.displayCaption()) << name;
        EXPECT_EQ(action->shortcut(), QKeySequence(e.shortcut, QKeySequence::PortableText)) << name;
        EXPECT_EQ(action->isCheckable(), e.checkable) << name;
        EXPECT_EQ(action->isChecked(), e.checked) << name;
        const bool enabled = !e.command.isEmpty() && ownedByTheWindow(e.command);
        EXPECT_EQ(window->commands().isEnabled(e.command), enabled) << name;
        if (!e.hidden) { // a hidden action also counts as disabled
            EXPECT_EQ(action->isEnabled(), enabled) << name;
        }
    }
}

TEST_F(MenuTest, EachMenuHoldsItsEntriesInTableOrder)
{
    QHash<QString, QStringList> expected;
    for (const MenuEntry &e : menuTree()) {
        if (!e.parent.isEmpty())
            expected[e.parent] << (e.isSeparator() ? QStringLiteral("-") : e.objectName());
    }
    for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
        QMenu *menu = window->menu(it.key());
        ASSERT_NE(menu, nullptr) << it.key().toStdString();
        QStringList actual;
        for (QAction *a : menu->actions())
            actual << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        EXPECT_EQ(actual, it.value()) << it.key().toStdString();
    }
}

TEST_F(MenuTest, WiringACommandEnablesEveryControlRunningIt)
{
    QAction *menu = window->menuAction("MenuMakeNewItem");
    QToolButton *button = window->toolbarButton("tbNewCard");
    ASSERT_TRUE(menu && button);
    EXPECT_FALSE(menu->isEnabled());
    EXPECT_FALSE(button->isEnabled());
    int runs = 0;
    window->commands().wire(Cmd::NewCard, [&] { ++runs; });
    EXPECT_TRUE(menu->isEnabled());
    EXPECT_TRUE(button->isEnabled());
    menu->trigger();
    button->click();
    EXPECT_EQ(runs, 2);
    window->commands().setEnabled(Cmd::NewCard, false);
    EXPECT_FALSE(menu->isEnabled());
    EXPECT_FALSE(button->isEnabled());
}

TEST_F(MenuTest, RecentFileEntriesShowWhatTheirCommandsSay)
{
    QAction *first = window->menuAction("MenuFileRecent", 0);
    ASSERT_NE(first, nullptr);
    EXPECT_FALSE(first->isVisible());
    window->commands().wire(Cmd::recentFile(0), [] {});
    window->commands().setText(Cmd::recentFile(0), QStringLiteral("&A memo.qlw\t/data/memo.qlw"));
    window->commands().setVisible(Cmd::recentFile(0), true);
    EXPECT_TRUE(first->isVisible());
    EXPECT_TRUE(first->isEnabled());
    EXPECT_EQ(first->text(), QStringLiteral("&A memo.qlw\t/data/memo.qlw"));
    EXPECT_FALSE(window->menuAction("MenuFileRecent", 1)->isVisible());
    EXPECT_FALSE(window->menuAction("MenuFileRecentTitle")->isVisible());
}

TEST_F(MenuTest, ToolbarButtonsShowIconsAndTooltipsOnly)
{
    for (const ToolbarButton &b : toolbar()) {
        const std::string key = b.key.toStdString();
        QToolButton *button = window->toolbarButton(b.key);
        ASSERT_NE(button, nullptr) << key;
        EXPECT_EQ(button->objectName(), b.key);
        EXPECT_EQ(button->parentWidget(), window->toolbar());
        EXPECT_EQ(button->toolTip(), b.tooltip) << key;
        EXPECT_TRUE(button->text().isEmpty()) << key;
        EXPECT_FALSE(button->icon().isNull()) << key;
        EXPECT_EQ(button->isCheckable(), b.twoState) << key;
        EXPECT_EQ(button->isEnabled(), ownedByTheWindow(b.command)) << key;
        if (b.dropDown.isEmpty()) {
            EXPECT_EQ(button->menu(), nullptr) << key;
            continue;
        }
        ASSERT_NE(button->menu(), nullptr) << key;
        EXPECT_EQ(button->popupMode(), QToolButton::MenuButtonPopup);
        const QList<QAction *> entries = button->menu()->actions();
        ASSERT_EQ(entries.size(), b.dropDown.size()) << key;
        for (qsizetype i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(entries[i]->objectName(), b.dropDown[i].key);
            EXPECT_EQ(entries[i]->text(), b.dropDown[i].caption);
            EXPECT_EQ(entries[i], window->toolbarAction(b.dropDown[i].key));
            EXPECT_EQ(entries[i]->isEnabled(), ownedByTheWindow(b.dropDown[i].command))
                << b.dropDown[i].key.toStdString();
        }
    }
    EXPECT_EQ(window->toolbar()->objectName(), QStringLiteral("tbToolbar"));
}

TEST_F(MenuTest, TheBrowseButtonFollowsTheMenuCheckAndBack)
{
    QAction *menu = window->menuAction("MenuDispViewMode");
    QToolButton *button = window->toolbarButton("tbViewMode");
    menu->trigger();
    EXPECT_TRUE(menu->isChecked());
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(window->viewState().browseMode());
    button->click();
    EXPECT_FALSE(menu->isChecked());
    EXPECT_FALSE(button->isChecked());
    EXPECT_FALSE(window->viewState().browseMode());
}

TEST_F(MenuTest, TheListModeDropDownAndMenuRunTheSameModes)
{
    window->toolbarAction("tbSmallIcon")->trigger();
    EXPECT_EQ(window->viewState().listViewMode(), ListViewMode::SmallIcons);
    window->toolbarButton("tbListMode")->click();
    EXPECT_EQ(window->viewState().listViewMode(), ListViewMode::List);
    window->menuAction("MenuDispChange", 0)->trigger();
    EXPECT_EQ(window->viewState().listViewMode(), ListViewMode::LargeIcons);
}

TEST_F(MenuTest, TheBrowserButtonPopsUpTheBrowserMenuBelowItself)
{
    showWindow();
    QToolButton *button = window->toolbarButton("tbBrowser");
    button->click();
    QMenu *browser = window->menu("MenuDispBrowserF");
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->pos(), button->mapToGlobal(QPoint(0, button->height())));
    browser->hide();
}

// ---------------------------------------------------------------- keys

TEST_F(MenuTest, MenuShortcutKeysAct)
{
    showWindow();
    CardDetailsView *list = window->cardList(0)->detailsView();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F4);
    EXPECT_EQ(window->viewState().listViewMode(), ListViewMode::LargeIcons);
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_F4, Qt::ControlModifier);
    EXPECT_EQ(window->viewState().previewMode(), PreviewMode::OneToTwo);
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_F1);
    EXPECT_EQ(shell.opened.size(), 1);
}

TEST_F(MenuTest, DisabledMenuShortcutsRunNothing)
{
    showWindow();
    int runs = 0;
    window->commands().wire(Cmd::OpenDocument, [&] { ++runs; });
    window->commands().setEnabled(Cmd::OpenDocument, false);
    window->cardList(0)->activeView()->setFocus();
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(runs, 0);
    window->commands().setEnabled(Cmd::OpenDocument, true);
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(runs, 1);
}

TEST_F(MenuTest, TheWindowSeesItsKeysBeforeTheSearchBox)
{
    showWindow();
    QComboBox *box = child<QComboBox>("txtSearch");
    box->setFocus();
    box->setEditText(QStringLiteral("abc"));
    QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
    // Ctrl+A selected every card, not the box's text.
    EXPECT_EQ(window->cardList(0)->selectedRows().size(), SampleCards::count());
    EXPECT_EQ(box->currentText(), QStringLiteral("abc"));

    QStringList ran;
    window->commands().wire(Cmd::ExtractAndSelect, [&] { ran << "extract"; });
    window->commands().wire(Cmd::SearchTop, [&] { ran << "search"; });
    box->setFocus();
    QTest::keyClick(box, Qt::Key_Return, Qt::ControlModifier);
    QTest::keyClick(box, Qt::Key_Return);
    EXPECT_EQ(ran, (QStringList{"extract", "search"}));
}

TEST_F(MenuTest, CtrlFFocusesTheSearchBoxAndUpLeavesItWhenEmpty)
{
    showWindow();
    window->cardList(0)->activeView()->setFocus();
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_F, Qt::ControlModifier);
    QComboBox *box = child<QComboBox>("txtSearch");
    EXPECT_TRUE(box->hasFocus());
    QTest::keyClick(box, Qt::Key_Up);
    EXPECT_TRUE(window->cardList(0)->activeView()->hasFocus());
}

TEST_F(MenuTest, EscClearsTheSelectionAndTheCurrentCard)
{
    showWindow();
    CardListView *list = window->cardList(0);
    list->selectOnly(3);
    list->activeView()->setFocus();
    QTest::keyClick(list->activeView(), Qt::Key_Escape);
    EXPECT_TRUE(list->selectedRows().isEmpty());
    EXPECT_EQ(list->currentRow(), -1);
}

TEST_F(MenuTest, EscInExtractionModeEndsTheExtraction)
{
    showWindow();
    window->commands().wire(Cmd::EndExtraction, [&] { window->setExtractionMode(false); });
    window->setExtractionMode(true);
    window->cardList(1)->activeView()->setFocus();
    QTest::keyClick(window->cardList(1)->activeView(), Qt::Key_Escape);
    EXPECT_FALSE(window->extractionMode());
    EXPECT_TRUE(window->cardList(0)->isVisible());
}

TEST_F(MenuTest, CardListKeysGoToTheListWhileTheirCommandCannotRun)
{
    showWindow();
    CardListView *list = window->cardList(0);
    list->selectOnly(0);
    list->activeView()->setFocus();
    // Delete is not wired: the list keeps the key and nothing happens.
    QTest::keyClick(list->activeView(), Qt::Key_Delete);
    EXPECT_EQ(cards->rowCount(), SampleCards::count());
    int deletes = 0;
    window->commands().wire(Cmd::DeleteCard, [&] { ++deletes; });
    QTest::keyClick(list->activeView(), Qt::Key_Delete);
    EXPECT_EQ(deletes, 1);
    // The same key in the search box is the box's own.
    child<QComboBox>("txtSearch")->setFocus();
    QTest::keyClick(child<QComboBox>("txtSearch"), Qt::Key_Delete);
    EXPECT_EQ(deletes, 1);
}

TEST_F(MenuTest, EditKeysRunTheEditCommand)
{
    showWindow();
    int edits = 0;
    window->commands().wire(Cmd::EditCard, [&] { ++edits; });
    QWidget *list = window->cardList(0)->activeView();
    list->setFocus();
    QTest::keyClick(list, Qt::Key_F3);
    QTest::keyClick(list, Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(list, Qt::Key_Return, Qt::ShiftModifier);
    QTest::keyClick(list, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(edits, 4);
}

TEST_F(MenuTest, CtrlWClosesTheWindowThroughTheGuard)
{
    showWindow();
    int asked = 0;
    window->setCloseGuard([&] {
        ++asked;
        return false;
    });
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_W, Qt::ControlModifier);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->isVisible());
}
