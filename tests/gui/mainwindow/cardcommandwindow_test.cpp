// The card commands in a real MainForm over a document, offscreen, with the
// editors wired: the edit in place with F2, the right click and left press
// rules, Space in browse mode, the keys and buttons of the commands.
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mainwindowtables.h"
#include "gui/editor/editform.h"
#include "gui/editor/editorcommands.h"
#include "gui/mainwindow/cardcommandwiring.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/mainform.h"
#include "gui/mainwindow/searchwiring.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"
#include "support/searchtestutil.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

class CardWindowTest : public ::testing::Test, public FakeSystem
{
protected:
    CardWindowTest()
    {
        document.settings().loadGeneralSettings();
        document.SetDocumentPath(QDir(cardsDir.path()).filePath(QStringLiteral("memo.qlw")));
        document.cards().reset({
            makeCard("K0", "2001/05/06：旅行＠京都", "寺", "金閣"),
            makeCard("K1", "仕事＠会議", "本社", "予算の見直し"),
            makeCard("K2", "メモ", "", "買い物"),
            makeCard("K3", "旅行＠奈良", "", "鹿"),
            makeCard("K4", "仕事＠報告", "支社", "予算"),
        });
        window.setSettingWriter(
            [this](const QString &key, const QVariant &value) { document.iniData().SetiniValue(key, value); });
        search = SearchWiring::wire(window, document);
        editors.install();
        cards = CardCommandWiring::wire(window, document, search->commands());
    }

    ~CardWindowTest() override
    {
        editors.closeAllEditors();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void show()
    {
        window.resize(800, 560);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        QApplication::processEvents();
    }

    CardList &mainList() { return document.lvData(0); }
    QAbstractItemView *view(int list = 0) { return window.cardList(list)->activeView(); }
    QPoint rowCentre(int row, int list = 0)
    {
        return view(list)->visualRect(view(list)->model()->index(row, 0)).center();
    }
    QPoint emptySpace(int list = 0)
    {
        QWidget *viewport = view(list)->viewport();
        return QPoint(viewport->width() / 2, viewport->height() - 4);
    }
    void select(std::initializer_list<qsizetype> rows, qsizetype current)
    {
        mainList().ClearSelection();
        for (qsizetype row : rows)
            mainList().setSelected(row);
        mainList().setCurrentRow(current);
    }
    void key(Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier, QWidget *target = nullptr)
    {
        QTest::keyClick(target ? target : view(), k, mods);
        QApplication::processEvents();
    }
    QLineEdit *titleEditor() { return view()->viewport()->findChild<QLineEdit *>(); }
    QStringList groupNames() const
    {
        QStringList names;
        for (int i = 0; i < window.groupList()->topLevelItemCount(); ++i)
            names.append(window.groupList()->topLevelItem(i)->text(0));
        return names;
    }
    QMenu *editMenu() { return window.menu(QStringLiteral("MenuEdit")); }
    // As the platform does it: the press, the context menu event, the release.
    void rightClick(const QPoint &at)
    {
        QWidget *viewport = view()->viewport();
        QTest::mousePress(viewport, Qt::RightButton, {}, at);
        QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
        QApplication::sendEvent(viewport, &menuEvent);
        QTest::mouseRelease(viewport, Qt::RightButton, {}, at);
        QApplication::processEvents();
    }
    void closeEditMenu()
    {
        editMenu()->hide();
        QApplication::processEvents();
    }

    ScopedProgramFolder folder;
    QTemporaryDir cardsDir;
    Services services{&dialogs, &shell, &processes, &clipboard, &userStore, &clock};
    Document document{services};
    FileCommands files{document};
    MainForm window{services};
    EditorCommands editors{window, document, files};
    SearchWiring *search = nullptr;
    CardCommandWiring *cards = nullptr;
};

// ---------------------------------------------------------------- F2

TEST_F(CardWindowTest, F2EditsTheTitleInPlaceAndTheCommitChangesTheCard)
{
    show();
    select({2}, 2);
    view()->setFocus();
    key(Qt::Key_F2);
    QLineEdit *editor = titleEditor();
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), QStringLiteral("メモ"));
    EXPECT_FALSE(document.IsModified());

    editor->setText(QStringLiteral("買物＠メモ"));
    key(Qt::Key_Return, Qt::NoModifier, editor);
    QApplication::processEvents(); // the group list follows the changed cards
    EXPECT_EQ(document.cards().at(2).title, QStringLiteral("買物＠メモ"));
    EXPECT_EQ(document.cards().at(2).icon, CardIcon::Changed);
    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(groupNames().contains(QStringLiteral("買物")));
    // Enter ended the edit; it searched nothing and left the card current.
    EXPECT_EQ(mainList().currentRow(), 2);
}

TEST_F(CardWindowTest, EnterThatEndsTheEditInPlaceDoesNotSearch)
{
    show();
    // A keyword that the cards below the current one hold: Enter in the list
    // itself would search downward and move the selection there.
    window.setKeyword(QStringLiteral("仕事"));
    select({0}, 0);
    view()->setFocus();
    key(Qt::Key_F2);
    QLineEdit *editor = titleEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("改名"));
    key(Qt::Key_Return, Qt::NoModifier, editor);
    QApplication::processEvents();
    EXPECT_EQ(document.cards().at(0).title, QStringLiteral("改名"));
    EXPECT_EQ(mainList().currentRow(), 0);
    EXPECT_TRUE(mainList().isSelected(0));
    EXPECT_FALSE(mainList().isSelected(1));
}

TEST_F(CardWindowTest, EscapeCancelsTheEditInPlace)
{
    show();
    select({1}, 1);
    view()->setFocus();
    key(Qt::Key_F2);
    QLineEdit *editor = titleEditor();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("別名"));
    key(Qt::Key_Escape, Qt::NoModifier, editor);
    EXPECT_EQ(document.cards().at(1).title, QStringLiteral("仕事＠会議"));
    EXPECT_EQ(document.cards().at(1).icon, CardIcon::Saved);
    EXPECT_FALSE(document.IsModified());
    // Esc went to the edit, not to the window (which would deselect).
    EXPECT_TRUE(mainList().isSelected(1));
}

TEST_F(CardWindowTest, F2WorksInTheListModeAndInTheExtractionList)
{
    show();
    window.commands().trigger(Cmd::ViewList);
    select({3}, 3);
    key(Qt::Key_F2, Qt::NoModifier, view());
    ASSERT_NE(titleEditor(), nullptr);
    titleEditor()->setText(QStringLiteral("奈良"));
    key(Qt::Key_Return, Qt::NoModifier, titleEditor());
    EXPECT_EQ(document.cards().at(3).title, QStringLiteral("奈良"));

    window.commands().trigger(Cmd::ViewDetails);
    window.setKeyword(QStringLiteral("仕事"));
    window.commands().trigger(Cmd::Extract);
    ASSERT_EQ(document.ActiveListIndex(), 1);
    CardList &extracted = document.lvData(1);
    extracted.setSelected(1);
    extracted.setCurrentRow(1);
    key(Qt::Key_F2, Qt::NoModifier, view(1));
    QLineEdit *editor = view(1)->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("仕事＠日報"));
    key(Qt::Key_Return, Qt::NoModifier, editor);
    EXPECT_EQ(extracted.store().at(1).title, QStringLiteral("仕事＠日報"));
    window.commands().trigger(Cmd::EndExtraction);
    EXPECT_EQ(document.cards().at(4).title, QStringLiteral("仕事＠日報"));
}

// ---------------------------------------------------------------- mouse

TEST_F(CardWindowTest, RightClickOnAnUnselectedCardSelectsItAloneAndShowsTheEditMenu)
{
    show();
    select({0, 1}, 1);
    rightClick(rowCentre(3));
    EXPECT_EQ(mainList().selectedRows(), rows({3}));
    EXPECT_EQ(mainList().currentRow(), 3);
    EXPECT_TRUE(editMenu()->isVisible());
    closeEditMenu();
}

TEST_F(CardWindowTest, RightClickOnASelectedCardKeepsTheSelection)
{
    show();
    select({0, 1, 4}, 4);
    rightClick(rowCentre(1));
    EXPECT_EQ(mainList().selectedRows(), rows({0, 1, 4}));
    EXPECT_TRUE(editMenu()->isVisible());
    closeEditMenu();
}

TEST_F(CardWindowTest, RightClickOnEmptySpaceClearsSelectionAndCurrentCard)
{
    show();
    select({0, 1}, 1);
    rightClick(emptySpace());
    EXPECT_FALSE(mainList().hasSelection());
    EXPECT_EQ(mainList().currentRow(), -1);
    EXPECT_TRUE(editMenu()->isVisible());
    closeEditMenu();
}

TEST_F(CardWindowTest, LeftPressOnEmptySpaceLeavesNoCurrentCardSoANewCardGoesLast)
{
    show();
    select({1}, 1);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, emptySpace());
    QApplication::processEvents();
    EXPECT_FALSE(mainList().hasSelection());
    EXPECT_EQ(mainList().currentRow(), -1);

    key(Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
    ASSERT_EQ(document.cards().count(), 6);
    EXPECT_EQ(document.cards().at(5).title, QStringLiteral("新規データ"));
}

TEST_F(CardWindowTest, LeftClickOnACardMakesItCurrent)
{
    show();
    select({1}, 1);
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rowCentre(3));
    QApplication::processEvents();
    EXPECT_EQ(mainList().selectedRows(), rows({3}));
    EXPECT_EQ(mainList().currentRow(), 3);
}

TEST_F(CardWindowTest, ShiftClickStillExtendsTheSelection)
{
    show();
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, {}, rowCentre(1));
    QTest::mouseClick(view()->viewport(), Qt::LeftButton, Qt::ShiftModifier, rowCentre(3));
    QApplication::processEvents();
    EXPECT_EQ(mainList().selectedRows(), rows({1, 2, 3}));
}

// ---------------------------------------------------------------- editors

TEST_F(CardWindowTest, NewCardOpensItInAnEditor)
{
    show();
    select({1}, 1);
    key(Qt::Key_F2, Qt::ShiftModifier);
    ASSERT_EQ(document.cards().count(), 6);
    const QString key = document.cards().at(1).key;
    EXPECT_EQ(document.cards().at(1).title, QStringLiteral("新規データ"));
    EXPECT_NE(editors.editorFor(key), nullptr);
    EXPECT_EQ(window.cardList(0)->selectedRows(), QList<int>({1}));
    EXPECT_EQ(window.cardList(0)->currentRow(), 1);
}

TEST_F(CardWindowTest, SpaceInBrowseModeWalksThroughTheCardsInEditors)
{
    show();
    window.commands().trigger(Cmd::BrowseMode);
    mainList().ClearSelection();
    mainList().clearCurrent();
    view()->setFocus();
    key(Qt::Key_Space, Qt::NoModifier, view());
    EXPECT_NE(editors.editorFor(QStringLiteral("K0")), nullptr);
    EXPECT_EQ(mainList().currentRow(), 1);
    EXPECT_EQ(mainList().selectedRows(), rows({1}));
    key(Qt::Key_Space, Qt::NoModifier, view());
    EXPECT_NE(editors.editorFor(QStringLiteral("K1")), nullptr);
    EXPECT_EQ(mainList().currentRow(), 2);
}

TEST_F(CardWindowTest, SpaceOutsideBrowseModeOpensNothing)
{
    show();
    select({0}, 0);
    key(Qt::Key_Space, Qt::NoModifier, view());
    EXPECT_EQ(editors.openEditorCount(), 0);
}

// ---------------------------------------------------------------- keys and buttons

TEST_F(CardWindowTest, DelInAListAsksAndDeletes)
{
    show();
    select({0, 2}, 0);
    key(Qt::Key_Delete);
    ASSERT_EQ(dialogs.messageTexts(), QStringList({"選択されたカードを削除してよろしいですか?"}));
    EXPECT_EQ(keysOf(document.cards()), QStringList({"K1", "K3", "K4"}));
    EXPECT_TRUE(document.IsModified());
}

TEST_F(CardWindowTest, CopyCutAndPasteFromKeysAndButtons)
{
    show();
    select({1}, 1);
    key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(clipboard.content.startsWith(QStringLiteral("@\r\n2001/05/03：仕事＠会議 - 本社\r\n")));

    clipboard.content.clear();
    window.toolbarAction(QStringLiteral("tbCopy"))->trigger();
    EXPECT_FALSE(clipboard.content.isEmpty());

    key(Qt::Key_F8);
    EXPECT_EQ(keysOf(document.cards()), QStringList({"K0", "K2", "K3", "K4"}));

    select({}, 0);
    key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(document.cards().count(), 5);
    EXPECT_EQ(document.cards().at(0).title, QStringLiteral("仕事＠会議"));
    EXPECT_EQ(window.cardList(0)->selectedRows(), QList<int>({0}));

    key(Qt::Key_F10);
    EXPECT_EQ(document.cards().count(), 6);
}

TEST_F(CardWindowTest, PasteIsDisabledInExtractionMode)
{
    show();
    clipboard.content = QStringLiteral("text");
    window.setKeyword(QStringLiteral("旅行"));
    window.commands().trigger(Cmd::Extract);
    ASSERT_EQ(document.ActiveListIndex(), 1);
    EXPECT_FALSE(window.menuAction(QStringLiteral("MenuEditPaste"))->isEnabled());
    EXPECT_FALSE(window.toolbarAction(QStringLiteral("tbPaste"))->isEnabled());
    key(Qt::Key_V, Qt::ControlModifier, view(1));
    key(Qt::Key_F10, Qt::NoModifier, view(1));
    EXPECT_EQ(document.lvData(1).store().count(), 2);
    EXPECT_EQ(document.cards().count(), 5);

    window.commands().trigger(Cmd::EndExtraction);
    EXPECT_TRUE(window.menuAction(QStringLiteral("MenuEditPaste"))->isEnabled());
}

TEST_F(CardWindowTest, MenuEntriesRunTheCommands)
{
    show();
    select({0, 2}, 2);
    window.menuAction(QStringLiteral("MenuEditCopyOnlyText"))->trigger();
    EXPECT_EQ(clipboard.content, QStringLiteral("買い物"));

    window.menuAction(QStringLiteral("MenuPrint"))->trigger();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_TRUE(
        dialogs.messages().first().text.startsWith(QStringLiteral("QLT@WIN単体では印刷することはできません。")));

    select({1}, 1);
    window.menuAction(QStringLiteral("MenuEditOpenURL"))->trigger();
    EXPECT_TRUE(shell.opened.isEmpty()); // "本社" is neither an address nor a file
    document.cards().setRemarks(1, QStringLiteral("https://example.com/"));
    window.menuAction(QStringLiteral("MenuEditOpenURL"))->trigger();
    EXPECT_EQ(shell.opened, QStringList({"https://example.com/"}));
}

// ---------------------------------------------------------------- every command

TEST_F(CardWindowTest, EveryCommandOfTheTablesRunsOrIsDisabledOnPurpose)
{
    // Wired besides by the program's main: the document lifecycle with the
    // format drop-downs, the about window, the HTML output wizard and the
    // options dialog.
    QStringList expected = {Cmd::NewWindow,       Cmd::NewDocument, Cmd::OpenDocument, Cmd::SaveDocument,
                            Cmd::SaveDocumentAs,  Cmd::Reload,      Cmd::About,        Cmd::LoadQlw,
                            Cmd::LoadCsv,         Cmd::SaveQlw,     Cmd::SaveCsv,      Cmd::HtmlWizard,
                            Cmd::HtmlWizardAgain, Cmd::SaveHtml,    Cmd::Settings};
    for (int n = 0; n < Cmd::RecentFileCount; ++n)
        expected << Cmd::recentFile(n);
    expected << MainWindowTables::disabledCommandIds();
    QStringList unwired = window.commands().unwiredIds();
    expected.sort();
    unwired.sort();
    EXPECT_EQ(unwired, expected);
}

} // namespace
