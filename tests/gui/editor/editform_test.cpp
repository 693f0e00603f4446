// The editor window offscreen: what it carries, the boxes, the keys, apply,
// commit, discard, recovery, search, browse mode and most-front.
#include "editformfixture.h"

#include "core/common/version.h"
#include "core/editor/editortables.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"

#include <QLabel>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTextBlock>
#include <QToolBar>
#include <QToolButton>

namespace {

const QString kVersion = QStringLiteral(" - QLT@WIN Ver.") + Version::dotted();

QStringList captionsOf(QMenu *menu)
{
    QStringList out;
    for (QAction *action : menu->actions())
        out.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return out;
}

// ---------------------------------------------------------------- what it carries

TEST_F(EditFormTest, MenusToolbarSearchStripAndFunctionBar)
{
    EditForm *editor = open(addCard(QStringLiteral("t")));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->menu(QStringLiteral("MenuFile"))->title(), QString::fromUtf8("ファイル(&F)"));
    EXPECT_EQ(captionsOf(editor->menu(QStringLiteral("MenuFile"))),
              (QStringList{QString::fromUtf8("反映(&R)"), QString::fromUtf8("破棄(&C)")}));
    EXPECT_EQ(editor->menu(QStringLiteral("MenuEdit"))->title(), QString::fromUtf8("編集(&E)"));
    EXPECT_EQ(captionsOf(editor->menu(QStringLiteral("MenuEdit"))).filter(QRegularExpression(QStringLiteral("^[^-]"))),
              (QStringList{QString::fromUtf8("元に戻す(&U)"), QString::fromUtf8("切り取り(&T)"),
                           QString::fromUtf8("コピー(&C)"), QString::fromUtf8("貼り付け(&P)"),
                           QString::fromUtf8("削除(&D)"), QString::fromUtf8("すべて選択(&A)"),
                           QString::fromUtf8("グループの変更(&G)"), QString::fromUtf8("URLを開く(&O)"),
                           QString::fromUtf8("選択範囲で抽出(&S)"), QString::fromUtf8("外部エディタ(&E)")}));
    EXPECT_EQ(editor->menu(QStringLiteral("MenuDisp"))->title(), QString::fromUtf8("表示(&V)"));
    EXPECT_EQ(captionsOf(editor->menu(QStringLiteral("MenuDisp"))),
              (QStringList{QString::fromUtf8("最前面表示(&S)"), QString::fromUtf8("閲覧モード(&V)")}));
    EXPECT_NE(editor->menuAction(QStringLiteral("MenuEditOpen"), 0), nullptr);
    EXPECT_NE(editor->menuAction(QStringLiteral("MenuEditOpen"), 1), nullptr);

    struct Button {
        const char *key, *caption, *tip;
    };
    for (const Button &b : {Button{"tbOK", "反映", "変更を反映します"}, Button{"tbCancel", "破棄", "変更を破棄します"},
                            Button{"tbEditor", "エディタ", "外部エディタを呼び出します"},
                            Button{"tbViewMode", "閲覧", "閲覧モードに切り替えます"},
                            Button{"tbSetMostFront", "最前面", "ウインドウを最前面表示にします"}}) {
        QAction *action = editor->toolbarAction(QString::fromLatin1(b.key));
        ASSERT_NE(action, nullptr) << b.key;
        EXPECT_EQ(action->text(), QString::fromUtf8(b.caption));
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(b.tip));
    }
    EXPECT_TRUE(editor->toolbarAction(QStringLiteral("tbSetMostFront"))->isCheckable());
    EXPECT_EQ(editor->searchButton(0)->text(), QString::fromUtf8("▽"));
    EXPECT_EQ(editor->searchButton(1)->text(), QString::fromUtf8("△"));
    EXPECT_EQ(editor->searchBox()->parentWidget(), editor->toolbar());

    struct Panel {
        const char *text, *tip;
    };
    for (const Panel &p :
         {Panel{"ヘルプ", "ヘルプを表示します"}, Panel{"次検索", ""}, Panel{"反映", "カードに加えた変更を保存します"},
          Panel{"破棄", "カードに加えた変更を破棄します"}}) {
        QLabel *panel = editor->functionPanel(QString::fromUtf8(p.text));
        ASSERT_NE(panel, nullptr) << p.text;
        EXPECT_EQ(panel->toolTip(), QString::fromUtf8(p.tip));
    }
}

TEST_F(EditFormTest, EveryCommandOfTheTablesIsWired)
{
    EditForm *editor = open(addCard(QStringLiteral("t")));
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->commands().ids(), EditorTables::tables().commandIds());
    EXPECT_EQ(editor->commands().unwiredIds(), QStringList());
    for (const QString &id : editor->commands().ids())
        EXPECT_TRUE(editor->commands().isEnabled(id)) << id.toStdString();
}

TEST_F(EditFormTest, LabelsFontsColoursAndSizeComeFromTheSettings)
{
    document.settings().setText(SettingKey::Column1, QString::fromUtf8("見出し"));
    document.settings().setInteger(SettingKey::WindowEditSizeX, 9000);
    document.settings().setInteger(SettingKey::WindowEditSizeY, 6000);
    EditForm *editor = open(addCard(QStringLiteral("t")));
    EXPECT_EQ(editor->itemLabel(0)->text(), QString::fromUtf8("見出し"));
    EXPECT_EQ(editor->itemLabel(1)->text(), QString::fromUtf8("備考"));
    EXPECT_EQ(editor->itemLabel(2)->text(), QString::fromUtf8("内容"));
    EXPECT_EQ(editor->frameGeometry().size(), QSize(600, 400));
    // Color5 text (white) on Color6 (dark grey) in the boxes.
    EXPECT_EQ(editor->contentBox()->palette().color(QPalette::Base), QColor(0x55, 0x55, 0x55));
    EXPECT_EQ(editor->titleBox()->palette().color(QPalette::Text), QColor(255, 255, 255));
    EXPECT_EQ(editor->titleBox()->font().pointSizeF(), 9.0);
    // The labels share the width of the widest.
    EXPECT_EQ(editor->itemLabel(0)->width(), editor->LongestLabel());
    EXPECT_EQ(editor->itemLabel(2)->width(), editor->LongestLabel());
    // The group box takes a quarter of the row beside the labels.
    EXPECT_LT(editor->groupBox()->width(), editor->titleBox()->width());
    EXPECT_EQ(editor->remarksBox()->width(), editor->contentBox()->width());
}

// ---------------------------------------------------------------- opening

TEST_F(EditFormTest, OpeningTheSameCardTwiceBringsItsEditorForward)
{
    const QString key = addCard(QStringLiteral("a"));
    const QString other = addCard(QStringLiteral("b"));
    EditForm *first = open(key);
    EditForm *second = open(other);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->ArrayIndex(), 1);
    EXPECT_EQ(open(key), first);
    EXPECT_EQ(editors.openEditorCount(), 2);
    EXPECT_TRUE(first->isVisible());
}

TEST_F(EditFormTest, EditCommandWithoutCurrentCardDoesNothing)
{
    addCard(QStringLiteral("a"));
    document.lvData(0).clearCurrent();
    window.commands().trigger(Cmd::EditCard);
    EXPECT_EQ(editors.openEditorCount(), 0);
}

TEST_F(EditFormTest, EditorOfAMostFrontMainWindowIsMostFront)
{
    window.commands().trigger(Cmd::MostFront);
    ASSERT_TRUE(window.commands().isChecked(Cmd::MostFront));
    EditForm *editor = open(addCard(QStringLiteral("a")));
    EXPECT_TRUE(editor->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(editor->menuAction(QStringLiteral("MenuDispSetMostFront"))->isChecked());
    EXPECT_TRUE(editor->toolbarAction(QStringLiteral("tbSetMostFront"))->isChecked());
}

TEST_F(EditFormTest, AutoOpenCardsOpenWhenTheFileIsOpenedAndConfirmCloseClosesThem)
{
    CardStore store;
    store.append(Card{QStringLiteral("a"), QStringLiteral("x"), {}, {}, 1});
    store.append(Card{QStringLiteral("b"), QString::fromUtf8("2001/05/03：autoopen"), {}, QStringLiteral("c"), 1});
    const QString path = cardsDir.filePath(QStringLiteral("auto.qlw"));
    ASSERT_TRUE(WriteNativeFile(path, store, WriteOptions{}).ok());
    ASSERT_EQ(files.OpenDocument(path), OpenOutcome::Opened);
    ASSERT_EQ(editors.openEditorCount(), 1);
    EditForm *editor = editors.editorAt(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->titleBox()->text(), QString::fromUtf8("2001/05/03：autoopen"));

    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(files.ConfirmClose());
    EXPECT_EQ(dialogs.messageTexts().value(0),
              QString::fromUtf8("編集画面が開いています。編集中のデータは破棄されます。\r\nよろしいですか?"));
    EXPECT_EQ(editors.openEditorCount(), 0);
}

// ---------------------------------------------------------------- the boxes

TEST_F(EditFormTest, TitleIsSplitIntoGroupAndTitleBoxWithThePrefixSelectedAround)
{
    addCard(QString::fromUtf8("私用＠x"));
    EditForm *editor = open(
        addCard(QString::fromUtf8("2001/01/02：仕事＠会議"), QStringLiteral("r"), QStringLiteral("line1\r\nline2")));
    EXPECT_EQ(editor->groupBox()->currentText(), QString::fromUtf8("仕事"));
    EXPECT_EQ(editor->groupBox()->count(), 2);
    EXPECT_EQ(editor->groupBox()->itemText(0), QString::fromUtf8("私用"));
    EXPECT_EQ(editor->groupBox()->maxVisibleItems(), 25);
    EXPECT_EQ(editor->titleBox()->text(), QString::fromUtf8("2001/01/02：会議"));
    EXPECT_EQ(editor->titleBox()->selectedText(), QString::fromUtf8("会議"));
    EXPECT_TRUE(editor->titleBox()->hasFocus());
    EXPECT_EQ(editor->remarksBox()->text(), QStringLiteral("r"));
    EXPECT_EQ(editor->contentBox()->document()->blockCount(), 2);
    EXPECT_FALSE(editor->ChangeCard());
    EXPECT_EQ(editor->windowTitle(), QString::fromUtf8("2001/01/02：会議") + kVersion);
}

TEST_F(EditFormTest, TypingMarksTheWindowTitle)
{
    EditForm *editor = open(addCard(QString::fromUtf8("会議")));
    editor->titleBox()->end(false);
    QTest::keyClicks(editor->titleBox(), QStringLiteral("X"));
    EXPECT_TRUE(editor->ChangeCard());
    EXPECT_EQ(editor->windowTitle(), QString::fromUtf8("会議X(変更)") + kVersion);
}

TEST_F(EditFormTest, LineBreaksLeaveTitleAndRemarksWhenTheFocusMovesOn)
{
    EditForm *editor = open(addCard(QStringLiteral("t")));
    editor->titleBox()->setText(QStringLiteral("a\r\nb"));
    editor->remarksBox()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(editor->titleBox()->text(), QStringLiteral("ab"));

    editor->remarksBox()->setText(QStringLiteral("x\ny"));
    editor->contentBox()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(editor->remarksBox()->text(), QStringLiteral("xy"));

    editor->contentBox()->setPlainText(QStringLiteral("1\r\n2"));
    editor->titleBox()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(editor->session().content(), QStringLiteral("1\r\n2"));
}

TEST_F(EditFormTest, GroupPickCountsAsAChange)
{
    addCard(QString::fromUtf8("私用＠x"));
    EditForm *editor = open(addCard(QString::fromUtf8("会議")));
    editor->groupBox()->setCurrentIndex(0);
    emit editor->groupBox()->activated(0);
    EXPECT_TRUE(editor->ChangeCard());
    EXPECT_EQ(editor->session().group(), QString::fromUtf8("私用"));
}

// ---------------------------------------------------------------- keys

TEST_F(EditFormTest, EscapeClosesOnlyWithoutChanges)
{
    const QString key = addCard(QStringLiteral("t"));
    EditForm *editor = open(key);
    editor->contentBox()->setFocus();
    QTest::keyClicks(editor->contentBox(), QStringLiteral("typed"));
    press(editor->contentBox(), Qt::Key_Escape);
    EXPECT_EQ(editors.editorFor(key), editor);
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(dialogs.messages().isEmpty());

    // Without changes Esc discards.
    editor->session().setChangeCard(false);
    QPointer<EditForm> gone = editor;
    press(editor->contentBox(), Qt::Key_Escape);
    flushDeletes();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(editors.openEditorCount(), 0);
    EXPECT_EQ(card(key)->content, QString());
}

TEST_F(EditFormTest, ShiftEnterAppliesMarksTheCardAndCloses)
{
    const QString key = addCard(QString::fromUtf8("2001/01/02：仕事＠会議"));
    EditForm *editor = open(key);
    editor->contentBox()->setFocus();
    QTest::keyClicks(editor->contentBox(), QStringLiteral("body"));
    QPointer<EditForm> gone = editor;
    press(editor->contentBox(), Qt::Key_Return, Qt::ShiftModifier);
    flushDeletes();
    EXPECT_TRUE(gone.isNull());
    EXPECT_EQ(card(key)->content, QStringLiteral("body"));
    EXPECT_EQ(card(key)->title, QString::fromUtf8("2001/01/02：仕事＠会議"));
    EXPECT_EQ(card(key)->icon, CardIcon::Changed);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(view.titles.last(), QString::fromUtf8("memo.qlw(変更)") + kVersion);
    EXPECT_GE(view.groupRebuilds, 1);
}

TEST_F(EditFormTest, AltEnterAndCtrlWApplyToo)
{
    const QString a = addCard(QStringLiteral("a"));
    const QString b = addCard(QStringLiteral("b"));
    EditForm *first = open(a);
    first->remarksBox()->setText(QStringLiteral("1"));
    press(first->remarksBox(), Qt::Key_Enter, Qt::AltModifier);
    EditForm *second = open(b);
    second->remarksBox()->setText(QStringLiteral("2"));
    press(second->remarksBox(), Qt::Key_W, Qt::ControlModifier);
    flushDeletes();
    EXPECT_EQ(card(a)->remarks, QStringLiteral("1"));
    EXPECT_EQ(card(b)->remarks, QStringLiteral("2"));
    EXPECT_EQ(editors.openEditorCount(), 0);
}

TEST_F(EditFormTest, CtrlSAppliesAndStaysCtrlShiftSAlsoSavesTheFile)
{
    const QString key = addCard(QStringLiteral("t"));
    EditForm *editor = open(key);
    editor->remarksBox()->setText(QStringLiteral("first"));
    EXPECT_TRUE(editor->windowTitle().contains(QString::fromUtf8("(変更)")));
    press(editor->remarksBox(), Qt::Key_S, Qt::ControlModifier);
    EXPECT_EQ(editors.editorFor(key), editor);
    EXPECT_FALSE(editor->ChangeCard());
    EXPECT_EQ(editor->windowTitle(), QStringLiteral("t") + kVersion);
    EXPECT_EQ(card(key)->remarks, QStringLiteral("first"));
    EXPECT_TRUE(document.IsModified());
    EXPECT_FALSE(QFile::exists(document.DocumentPath()));

    editor->remarksBox()->setText(QStringLiteral("second"));
    press(editor->remarksBox(), Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(editors.editorFor(key), editor);
    EXPECT_EQ(card(key)->remarks, QStringLiteral("second"));
    EXPECT_TRUE(QFile::exists(document.DocumentPath()));
    EXPECT_FALSE(document.IsModified());

    editor->remarksBox()->setText(QStringLiteral("third"));
    press(editor->remarksBox(), Qt::Key_S, Qt::AltModifier);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(card(key)->remarks, QStringLiteral("third"));
}

TEST_F(EditFormTest, CloseBoxAndDiscardDropChangesWithoutAsking)
{
    const QString key = addCard(QStringLiteral("t"));
    EditForm *editor = open(key);
    editor->remarksBox()->setText(QStringLiteral("lost"));
    editor->close();
    EXPECT_EQ(editors.openEditorCount(), 0);

    EditForm *again = open(key);
    again->remarksBox()->setText(QStringLiteral("lost too"));
    again->toolbarAction(QStringLiteral("tbCancel"))->trigger();
    EXPECT_EQ(editors.openEditorCount(), 0);
    EXPECT_EQ(card(key)->remarks, QString());
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(EditFormTest, FocusKeysMoveBetweenTheBoxes)
{
    EditForm *editor = open(addCard(QStringLiteral("t")));
    press(editor->titleBox(), Qt::Key_3, Qt::ControlModifier);
    EXPECT_TRUE(editor->contentBox()->hasFocus());
    EXPECT_EQ(editor->NowSelectedText(), 2);
    press(editor->contentBox(), Qt::Key_2, Qt::AltModifier);
    EXPECT_TRUE(editor->remarksBox()->hasFocus());
    press(editor->remarksBox(), Qt::Key_Up);
    EXPECT_TRUE(editor->titleBox()->hasFocus());
    press(editor->titleBox(), Qt::Key_Up);
    EXPECT_TRUE(editor->groupBox()->hasFocus());
    editor->titleBox()->setFocus();
    press(editor->titleBox(), Qt::Key_Down);
    EXPECT_TRUE(editor->remarksBox()->hasFocus());
    press(editor->remarksBox(), Qt::Key_Down);
    EXPECT_TRUE(editor->contentBox()->hasFocus());
    press(editor->contentBox(), Qt::Key_1, Qt::ControlModifier);
    EXPECT_TRUE(editor->titleBox()->hasFocus());
    editor->searchBox()->setText(QStringLiteral("kw"));
    press(editor->titleBox(), Qt::Key_F, Qt::ControlModifier);
    EXPECT_TRUE(editor->searchBox()->hasFocus());
    EXPECT_EQ(editor->searchBox()->selectedText(), QStringLiteral("kw"));
}

TEST_F(EditFormTest, ClickOnALabelSelectsItsBox)
{
    EditForm *editor = open(addCard(QStringLiteral("t"), QStringLiteral("remarks")));
    QTest::mouseClick(editor->itemLabel(1), Qt::LeftButton);
    EXPECT_TRUE(editor->remarksBox()->hasFocus());
    EXPECT_EQ(editor->remarksBox()->selectedText(), QStringLiteral("remarks"));
}

TEST_F(EditFormTest, WideCaretFollowsTheFontSize)
{
    document.settings().setNumber(SettingKey::EditorFontSize, 20);
    EditForm *editor = open(addCard(QStringLiteral("t")));
    editor->contentBox()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(editor->contentBox()->cursorWidth(), 7);
    editor->titleBox()->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(editor->titleBox()->style()->pixelMetric(QStyle::PM_TextCursorWidth, nullptr, editor->titleBox()), 7);
}

// ---------------------------------------------------------------- recovery

TEST_F(EditFormTest, CardDeletedMeanwhileIsAddedAgainAndTheSizeIsStored)
{
    document.settings().setSwitch(SettingKey::SaveWindowSize, false);
    addCard(QStringLiteral("other"));
    const QString key = addCard(QString::fromUtf8("仕事＠会議"), QStringLiteral("r"));
    EditForm *editor = open(key);
    editor->resize(450, 300);
    QApplication::processEvents();
    const QSize outer = editor->frameGeometry().size();
    editor->contentBox()->setPlainText(QStringLiteral("kept"));
    ASSERT_TRUE(mainCards().removeKey(key));
    document.SetModified(false);

    editor->toolbarAction(QStringLiteral("tbOK"))->trigger();
    EXPECT_EQ(editors.openEditorCount(), 0);
    ASSERT_EQ(mainCards().count(), 2);
    const Card &back = mainCards().at(1);
    EXPECT_EQ(back.key, key);
    EXPECT_EQ(back.title, QString::fromUtf8("仕事＠会議"));
    EXPECT_EQ(back.content, QStringLiteral("kept"));
    EXPECT_EQ(back.icon, CardIcon::Changed);
    EXPECT_TRUE(document.IsModified());
    // Stored although SaveWindowSize is 0.
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeX), outer.width() * 15);
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeY), outer.height() * 15);
}

TEST_F(EditFormTest, CloseStoresTheSizeOnlyWithSaveWindowSize)
{
    const QString key = addCard(QStringLiteral("t"));
    EditForm *editor = open(key);
    editor->resize(500, 320);
    QApplication::processEvents();
    // The outer size, frame included.
    const QSize outer = editor->frameGeometry().size();
    editor->discard();
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeX), outer.width() * 15);
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeY), outer.height() * 15);

    document.settings().setSwitch(SettingKey::SaveWindowSize, false);
    editor = open(key);
    editor->resize(200, 200);
    editor->discard();
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeX), outer.width() * 15);
}

// ---------------------------------------------------------------- search

TEST_F(EditFormTest, SearchForwardAndBackwardInTheContent)
{
    EditForm *editor = open(addCard(QStringLiteral("t"), {}, QStringLiteral("Apple\r\npie apple\r\nAPPLE")));
    QPlainTextEdit *content = editor->contentBox();
    editor->searchBox()->setText(QStringLiteral("apple"));

    // Enter in the search box: forward from the caret at the start.
    press(editor->searchBox(), Qt::Key_Return);
    EXPECT_TRUE(content->hasFocus());
    EXPECT_EQ(content->textCursor().selectionStart(), 0);
    EXPECT_EQ(content->textCursor().selectedText(), QStringLiteral("Apple"));
    press(content, Qt::Key_F3);
    EXPECT_EQ(content->textCursor().selectionStart(), 10);
    editor->searchButton(0)->click();
    EXPECT_EQ(content->textCursor().selectionStart(), 16);
    // No further hit: the selection stays, no message.
    press(content, Qt::Key_F3);
    EXPECT_EQ(content->textCursor().selectionStart(), 16);
    EXPECT_TRUE(dialogs.messages().isEmpty());

    press(content, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(content->textCursor().selectionStart(), 10);
    press(editor->searchBox(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(content->textCursor().selectionStart(), 0);
    editor->searchButton(1)->click();
    EXPECT_EQ(content->textCursor().selectionStart(), 0);
    EXPECT_EQ(content->textCursor().selectedText(), QStringLiteral("Apple"));
}

TEST_F(EditFormTest, BackwardSearchAtTheStartFindsNothing)
{
    EditForm *editor = open(addCard(QStringLiteral("t"), {}, QStringLiteral("abc abc")));
    editor->searchBox()->setText(QStringLiteral("abc"));
    editor->searchContent(false);
    EXPECT_FALSE(editor->contentBox()->textCursor().hasSelection());
    EXPECT_EQ(editor->contentBox()->textCursor().position(), 0);
}

TEST_F(EditFormTest, EmptySearchTextOnlyFocusesTheContent)
{
    EditForm *editor = open(addCard(QStringLiteral("t"), {}, QStringLiteral("abc")));
    editor->searchContent(true);
    EXPECT_TRUE(editor->contentBox()->hasFocus());
    EXPECT_FALSE(editor->contentBox()->textCursor().hasSelection());
}

// ---------------------------------------------------------------- browse mode, most-front, open

TEST_F(EditFormTest, BrowseModeSwallowsTypingSpacePagesTheContent)
{
    QString lines;
    for (int i = 0; i < 200; ++i)
        lines += QStringLiteral("line %1\r\n").arg(i);
    EditForm *editor = open(addCard(QStringLiteral("t"), {}, lines));
    window.commands().trigger(Cmd::BrowseMode);
    ASSERT_TRUE(window.commands().isChecked(Cmd::BrowseMode));

    editor->titleBox()->setFocus();
    QTest::keyClicks(editor->titleBox(), QStringLiteral("ab"));
    EXPECT_EQ(editor->titleBox()->text(), QStringLiteral("t"));
    press(editor->titleBox(), Qt::Key_Space);
    EXPECT_TRUE(editor->contentBox()->hasFocus());
    const int paged = editor->contentBox()->textCursor().blockNumber();
    EXPECT_GT(paged, 0);
    press(editor->contentBox(), Qt::Key_Z);
    EXPECT_LT(editor->contentBox()->textCursor().blockNumber(), paged);
    EXPECT_FALSE(editor->ChangeCard());

    // The editor's menu entry toggles the main window's mode.
    editor->menuAction(QStringLiteral("MenuDispViewMode"))->trigger();
    EXPECT_FALSE(window.commands().isChecked(Cmd::BrowseMode));
}

TEST_F(EditFormTest, MostFrontButtonNoticeOnceAndTheTopmostFlag)
{
    EditForm *editor = open(addCard(QStringLiteral("t")));
    editor->toolbarAction(QStringLiteral("tbSetMostFront"))->trigger();
    EXPECT_TRUE(editor->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(editor->menuAction(QStringLiteral("MenuDispSetMostFront"))->isChecked());
    EXPECT_TRUE(editor->isVisible());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Information);

    editor->menuAction(QStringLiteral("MenuDispSetMostFront"))->trigger();
    EXPECT_FALSE(editor->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(editor->toolbarAction(QStringLiteral("tbSetMostFront"))->isChecked());
    editor->toolbarAction(QStringLiteral("tbSetMostFront"))->trigger();
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST_F(EditFormTest, ExtractBySelectionEndsTheExtractionAndExtractsInTheMainWindow)
{
    QStringList runs;
    window.commands().wire(Cmd::EndExtraction, [&] { runs.append(QStringLiteral("end")); });
    window.commands().wire(Cmd::Extract, [&] { runs.append(QStringLiteral("extract:") + window.keyword()); });
    EditForm *editor = open(addCard(QStringLiteral("t"), {}, QString::fromUtf8("会議の議事録")));
    editor->titleBox()->deselect();
    editor->menuAction(QStringLiteral("MenuEditOpen"), 1)->trigger();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QString::fromUtf8("範囲選択しておく必要があります。")});

    QTextCursor cursor = editor->contentBox()->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(2, QTextCursor::KeepAnchor);
    editor->contentBox()->setTextCursor(cursor);
    editor->contentBox()->setFocus();
    QApplication::processEvents();
    editor->menuAction(QStringLiteral("MenuEditOpen"), 1)->trigger();
    EXPECT_EQ(runs, (QStringList{QStringLiteral("end"), QString::fromUtf8("extract:会議")}));

    editor->menuAction(QStringLiteral("MenuEditOpen"), 0)->trigger();
    EXPECT_EQ(shell.opened, QStringList{QString::fromUtf8("会議")});
}

TEST_F(EditFormTest, EditCommandsWorkOnTheLastFocusedBox)
{
    EditForm *editor = open(addCard(QStringLiteral("title"), QStringLiteral("remarks")));
    editor->remarksBox()->setFocus();
    QApplication::processEvents();
    editor->menuAction(QStringLiteral("MenuEditAllSelect"))->trigger();
    EXPECT_EQ(editor->remarksBox()->selectedText(), QStringLiteral("remarks"));
    editor->menuAction(QStringLiteral("MenuEditDel"))->trigger();
    EXPECT_EQ(editor->remarksBox()->text(), QString());
    editor->menuAction(QStringLiteral("MenuEditUndo"))->trigger();
    EXPECT_EQ(editor->remarksBox()->text(), QStringLiteral("remarks"));
    editor->menuAction(QStringLiteral("MenuEditChangeGroup"))->trigger();
    EXPECT_TRUE(editor->groupBox()->hasFocus());
}

TEST_F(EditFormTest, GroupWithMarkIsRefusedAndTheEditorStaysOpen)
{
    const QString key = addCard(QString::fromUtf8("会議"));
    EditForm *editor = open(key);
    editor->groupBox()->setEditText(QString::fromUtf8("A＠B"));
    editor->applyAndClose();
    EXPECT_EQ(editors.editorFor(key), editor);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QString::fromUtf8("「＠」を含めることはできません。")});
    EXPECT_EQ(card(key)->title, QString::fromUtf8("会議"));
}

// ---------------------------------------------------------------- drops

TEST_F(EditFormTest, DropOnAnyBoxInsertsAtTheContentCaretUnlessItHoldsTheFieldMark)
{
    EditForm *editor = open(addCard(QStringLiteral("t"), {}, QStringLiteral("ab")));
    QTextCursor cursor = editor->contentBox()->textCursor();
    cursor.setPosition(1);
    editor->contentBox()->setTextCursor(cursor);

    auto dropOnTitle = [&](const QString &text) {
        QMimeData data;
        data.setText(text);
        const QPoint at = editor->titleBox()->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor->titleBox(), &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(editor->titleBox(), &drop);
    };
    dropOnTitle(QStringLiteral("XY"));
    EXPECT_EQ(editor->session().content(), QStringLiteral("aXYb"));
    EXPECT_EQ(editor->titleBox()->text(), QStringLiteral("t"));
    dropOnTitle(QStringLiteral("bad\x01"));
    EXPECT_EQ(editor->session().content(), QStringLiteral("aXYb"));
}

} // namespace

namespace {

// ---------------------------------------------------------------- the table, with windows

TEST_F(EditFormTest, HundredEditorsAtMostThenTheMessage)
{
    QStringList keys;
    for (int n = 0; n < 101; ++n)
        keys.append(addCard(QStringLiteral("card %1").arg(n)));
    for (int n = 0; n < 100; ++n)
        ASSERT_EQ(editors.openEditor(0, keys[n]), EditWindows::OpenResult::Opened) << n;
    EXPECT_EQ(editors.openEditorCount(), 100);
    EXPECT_EQ(editors.editorAt(99)->EditingKey(), keys[99]);
    EXPECT_EQ(editors.editorAt(100), nullptr);
    EXPECT_EQ(editors.openEditor(0, keys[100]), EditWindows::OpenResult::Refused);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QString::fromUtf8("編集ウインドウは100以上開けません。")});
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Error);

    // A freed slot is used again.
    editors.editorAt(42)->discard();
    EXPECT_EQ(editors.openEditor(0, keys[100]), EditWindows::OpenResult::Opened);
    EXPECT_EQ(editors.editorAt(42)->EditingKey(), keys[100]);
}

TEST_F(EditFormTest, BrowseSpaceWalksThroughTheCards)
{
    const QString a = addCard(QStringLiteral("a"));
    const QString b = addCard(QStringLiteral("b"));
    document.lvData(0).clearCurrent();
    editors.browseSpace();
    EXPECT_NE(editors.editorFor(a), nullptr);
    EXPECT_EQ(document.lvData(0).currentRow(), 1);
    EXPECT_TRUE(document.lvData(0).isSelected(1));
    EXPECT_FALSE(document.lvData(0).isSelected(0));
    window.commands().trigger(Cmd::BrowseSpace);
    EXPECT_NE(editors.editorFor(b), nullptr);
    // At the last card the current card stays.
    EXPECT_EQ(document.lvData(0).currentRow(), 1);
}

TEST_F(EditFormTest, FunctionBarRunsItsPanelsOnlyWhenClicksAreOn)
{
    const QString key = addCard(QStringLiteral("t"));
    EditForm *editor = open(key);
    editor->remarksBox()->setText(QStringLiteral("r"));
    // NoFunctionBarClickEvent is 1 by default: nothing happens.
    QTest::mouseClick(editor->functionPanel(QString::fromUtf8("反映")), Qt::LeftButton);
    EXPECT_EQ(editors.editorFor(key), editor);

    document.settings().setSwitch(SettingKey::NoFunctionBarClickEvent, false);
    QTest::mouseClick(editor->functionPanel(QString::fromUtf8("反映")), Qt::LeftButton);
    EXPECT_EQ(editors.openEditorCount(), 0);
    EXPECT_EQ(card(key)->remarks, QStringLiteral("r"));
}

TEST_F(EditFormTest, PageDownInTheTitleBoxPagesTheContent)
{
    QString lines;
    for (int i = 0; i < 200; ++i)
        lines += QStringLiteral("line\r\n");
    EditForm *editor = open(addCard(QStringLiteral("t"), {}, lines));
    press(editor->titleBox(), Qt::Key_PageDown);
    EXPECT_TRUE(editor->contentBox()->hasFocus());
    EXPECT_GT(editor->contentBox()->textCursor().blockNumber(), 0);
}

// ---------------------------------------------------------------- external editor

TEST_F(EditFormTest, ExternalEditorHidesAndDisablesTheWindowsWhileItRuns)
{
    const QString program = cardsDir.filePath(QStringLiteral("ed.sh"));
    ASSERT_TRUE(Sandbox::writeBytes(program, "#!/bin/sh\n"));
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    document.settings().setText(SettingKey::ExtEditor, program);
    window.show();
    const QString key = addCard(QStringLiteral("t"), {}, QStringLiteral("before"));
    EditForm *editor = open(key);
    EditForm *other = open(addCard(QStringLiteral("other")));

    bool hidden = false;
    bool disabled = false;
    processes.onWait = [&](const FakeProcesses::Call &call) {
        hidden = !window.isVisible() && !editor->isVisible() && !other->isVisible();
        disabled = !window.isEnabled() && !editor->isEnabled();
        QFile file(call.arguments.last());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("after\r\n");
    };
    editor->toolbarAction(QStringLiteral("tbEditor"))->trigger();
    EXPECT_TRUE(hidden);
    EXPECT_TRUE(disabled);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(other->isVisible());
    EXPECT_TRUE(editor->isEnabled());
    EXPECT_TRUE(window.isEnabled());
    EXPECT_EQ(editor->contentBox()->toPlainText(), QStringLiteral("after\n"));
    EXPECT_TRUE(editor->ChangeCard());
    editor->applyAndClose();
    EXPECT_EQ(card(key)->content, QStringLiteral("after\r\n"));
}

} // namespace
