// Closing and replacing the document: ConfirmClose with its questions, the
// new, open, reload and recent-file commands, a new window and the close of
// the window.
#include "lifecyclefixture.h"

#include "core/common/programfolder.h"
#include "core/common/version.h"

namespace {

const QString kEditorsOpen =
    QStringLiteral("編集画面が開いています。編集中のデータは破棄されます。\r\nよろしいですか?");
const QString kSaveChanges = QStringLiteral("ファイルが変更されています。保存しますか？");
const QString kOpenTitle = QStringLiteral("カードファイルを開く");
const QString kOpenFilter = QStringLiteral(
    "全ての対応ファイル(*.qlw;*.csv;*.qlt;*.stk;*.txt)|*.qlw;*.csv;*.qlt;*.stk;*.txt|QLW形式(*.qlw)|*.qlw|"
    "CSV形式(*.csv)|*.csv|QLT形式(*.qlt;*.txt)|*.qlt;*.txt|MyNote形式(*.stk)|*.stk|その他 (*.*)|*.*");
const QString kNewWindowFailed = QStringLiteral("ウインドウを作成時にエラーが発生しました。");

class DocumentCloseTest : public LifecycleTest
{
protected:
    QString memo;
    void SetUp() override
    {
        LifecycleTest::SetUp();
        memo = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("one")});
        files.OpenDocument(memo);
        dialogs.clear();
    }
    void changeCard()
    {
        document.cards().setTitle(0, QStringLiteral("changed"));
        document.SetModified(true);
    }
};

TEST_F(DocumentCloseTest, UnchangedDocumentClosesWithoutAsking)
{
    EXPECT_TRUE(files.ConfirmClose());
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_TRUE(listedInGuard().isEmpty());
}

TEST_F(DocumentCloseTest, YesSavesTheChangesFirst)
{
    changeCard();
    answer({MsgAnswer::Yes});

    EXPECT_TRUE(files.ConfirmClose());

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kSaveChanges);
    EXPECT_EQ(messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(messages()[0].buttons, MsgButtons::YesNoCancel);
    EXPECT_EQ(bytes(memo), QByteArray("changed\x01r\x01"
                                      "c\x01"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(listedInGuard().isEmpty());
}

TEST_F(DocumentCloseTest, NoDropsTheChanges)
{
    const QByteArray before = bytes(memo);
    changeCard();
    answer({MsgAnswer::No});

    EXPECT_TRUE(files.ConfirmClose());

    EXPECT_EQ(bytes(memo), before);
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(listedInGuard().isEmpty());
}

TEST_F(DocumentCloseTest, CancelKeepsTheDocument)
{
    changeCard();
    answer({MsgAnswer::Cancel});

    EXPECT_FALSE(files.ConfirmClose());

    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(listedInGuard(), QStringList{memo});
}

TEST_F(DocumentCloseTest, FailedSaveKeepsTheDocumentOpen)
{
    changeCard();
    document.cards().setContent(0, QStringLiteral("x\x01"));
    answer({MsgAnswer::Yes});

    EXPECT_FALSE(files.ConfirmClose());

    EXPECT_EQ(messages().size(), 2); // the question, then the field-mark refusal
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(listedInGuard(), QStringList{memo});
}

TEST_F(DocumentCloseTest, OpenEditorsAreAskedAboutFirst)
{
    view.editors = 2;
    answer({MsgAnswer::No});

    EXPECT_FALSE(files.ConfirmClose());

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kEditorsOpen);
    EXPECT_EQ(messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages()[0].defaultButton, MsgAnswer::No);
    EXPECT_EQ(view.editorsClosed, 0);

    changeCard();
    answer({MsgAnswer::Yes, MsgAnswer::No});
    EXPECT_TRUE(files.ConfirmClose());
    EXPECT_EQ(view.editorsClosed, 1);
    EXPECT_EQ(dialogs.messageTexts().mid(1), (QStringList{kEditorsOpen, kSaveChanges}));
}

TEST_F(DocumentCloseTest, CancelledSaveAsOfAnUntitledDocumentKeepsTheWindowOpen)
{
    files.NewDocument();
    document.cards().append(MakeCard(QStringLiteral("draft")));
    document.SetModified(true);
    dialogs.clear();
    answer({MsgAnswer::Yes}); // save, then cancel the dialog (nothing queued)

    EXPECT_FALSE(files.WindowClosing());

    EXPECT_EQ(choosers(QStringLiteral("saveFile")).size(), 1);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(view.titles.last(), QStringLiteral("(無題)(変更) - QLT@WIN Ver.") + Version::dotted());
}

TEST_F(DocumentCloseTest, ClosingTheWindowStoresItsStateAndSavesTheSettings)
{
    WindowState state;
    state.columnWidthsTwips = {1000.5, 2000, 3000};
    state.windowWidthTwips = 7000;
    state.windowHeightTwips = 4000;
    state.normalState = false; // maximised: the normal size is what is stored
    state.listViewMode = 1;
    view.state = state;

    EXPECT_TRUE(files.WindowClosing());

    const QString saved = Win31J::decode(bytes(document.settings().generalSettingsFile()));
    EXPECT_TRUE(saved.startsWith(QStringLiteral("[General]\r\n")));
    for (const char *line : {"Column1Width = 1000.5", "Column2Width = 2000", "Column3Width = 3000",
                             "WindowListSizeX = 7000", "WindowListSizeY = 4000", "ListViewMode = 1"})
        EXPECT_TRUE(saved.contains(QStringLiteral("\r\n") + QString::fromLatin1(line) + QStringLiteral("\r\n")))
            << line;
}

TEST_F(DocumentCloseTest, ColumnWidthsStayWhenTheyAreNotToBeSaved)
{
    document.settings().setSwitch(QStringLiteral("SaveColumnWidth"), false);
    document.settings().setSwitch(QStringLiteral("SaveWindowSize"), false);
    WindowState state;
    state.columnWidthsTwips = {1, 2, 3};
    state.windowWidthTwips = 7000;
    state.windowHeightTwips = 4000;
    view.state = state;

    EXPECT_TRUE(files.WindowClosing());

    const QString saved = Win31J::decode(bytes(document.settings().generalSettingsFile()));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nColumn1Width = 6999.875\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nWindowListSizeX = 7000\r\n")))
        << "sizes are written on close anyway";
}

TEST_F(DocumentCloseTest, ClosingRefusedKeepsTheSettingsFileUntouched)
{
    changeCard();
    answer({MsgAnswer::Cancel});
    const QString general = document.settings().generalSettingsFile();
    EXPECT_FALSE(files.WindowClosing());
    EXPECT_FALSE(QFileInfo::exists(general));
}

TEST_F(DocumentCloseTest, NewDocumentStartsUntitledOnTheGeneralSettings)
{
    const QString perFile = cardFile(QStringLiteral("memo.ini"));
    writeText(perFile, QStringLiteral("[General]\r\n"));
    files.ReplaceDocument(memo);
    ASSERT_TRUE(document.settings().FileSettingsActive());
    changeCard();
    answer({MsgAnswer::No});

    files.NewDocument();

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kSaveChanges});
    EXPECT_TRUE(document.cards().isEmpty());
    EXPECT_EQ(document.DocumentPath(), QStringLiteral("(無題)"));
    EXPECT_TRUE(document.IsUntitled());
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(view.reloadEnabled);
    EXPECT_EQ(view.titles.last(), QStringLiteral("(無題) - QLT@WIN Ver.") + Version::dotted());
    EXPECT_FALSE(document.settings().FileSettingsActive());
    EXPECT_TRUE(listedInGuard().isEmpty());
}

TEST_F(DocumentCloseTest, NewDocumentKeepsTheCardsWhenTheCloseIsCancelled)
{
    changeCard();
    answer({MsgAnswer::Cancel});
    files.NewDocument();
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("changed")});
    EXPECT_EQ(document.DocumentPath(), memo);
}

TEST_F(DocumentCloseTest, OpenAsksForTheFileWithTheCardFileFilters)
{
    const QString other = writeNative(QStringLiteral("other.qlw"), {QStringLiteral("two")});
    dialogs.files.enqueue(other);

    files.OpenWithDialog();

    const QList<FakeDialogs::Record> asked = choosers(QStringLiteral("openFile"));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].file.title, kOpenTitle);
    EXPECT_EQ(asked[0].file.filter, kOpenFilter);
    EXPECT_EQ(document.DocumentPath(), other);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("two")});
    EXPECT_EQ(listedInGuard(), QStringList{other});
}

TEST_F(DocumentCloseTest, CancelledOpenKeepsTheDocumentGuarded)
{
    files.OpenWithDialog(); // nothing queued: cancelled

    EXPECT_EQ(document.DocumentPath(), memo);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("one")});
    EXPECT_EQ(listedInGuard(), QStringList{memo});
}

// "いいえ" to the save question, then the open dialog cancelled: the
// changes are still in the window and still unsaved.
TEST_F(DocumentCloseTest, NoToTheSaveQuestionThenCancelledOpenKeepsTheChangesMarked)
{
    document.cards().append(MakeCard(QStringLiteral("changed")));
    document.SetModified(true);
    answer({MsgAnswer::No});

    files.OpenWithDialog(); // nothing queued: cancelled

    EXPECT_TRUE(document.IsModified());
    EXPECT_TRUE(view.titles.last().startsWith(QStringLiteral("memo.qlw(変更) - "))) << view.titles.last().toStdString();
    EXPECT_EQ(titlesInList(), (QStringList{QStringLiteral("one"), QStringLiteral("changed")}));
    // The next close asks again.
    dialogs.clear();
    answer({MsgAnswer::Cancel});
    EXPECT_FALSE(files.ConfirmClose());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("ファイルが変更されています。保存しますか？")});
}

TEST_F(DocumentCloseTest, DeclinedOpenKeepsTheDocumentGuarded)
{
    const QString other = writeNative(QStringLiteral("other.qlw"), {QStringLiteral("two")});
    FakeDialogs otherDialogs;
    OpenGuard otherWindow(otherDialogs);
    otherWindow.RegisterOpenFile(other);
    answer({MsgAnswer::No});

    EXPECT_EQ(files.ReplaceDocument(other), OpenOutcome::Declined);

    EXPECT_EQ(document.DocumentPath(), memo);
    EXPECT_EQ(listedInGuard().size(), 2);
    EXPECT_TRUE(listedInGuard().contains(memo));
}

TEST_F(DocumentCloseTest, ReloadReadsTheFileAgain)
{
    changeCard();
    CardStore onDisk;
    onDisk.append(MakeCard(QStringLiteral("from disk")));
    ASSERT_TRUE(WriteNativeFile(memo, onDisk, WriteOptions{}).ok());
    answer({MsgAnswer::No});

    files.Reload();

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kSaveChanges});
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("from disk")});
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(listedInGuard(), QStringList{memo});
}

TEST_F(DocumentCloseTest, ReloadDoesNothingForAnUntitledDocument)
{
    files.NewDocument();
    document.cards().append(MakeCard(QStringLiteral("draft")));
    files.Reload();
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("draft")});
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(DocumentCloseTest, RecentEntryOpensTheFileThatWasClicked)
{
    const QString a = writeNative(QStringLiteral("a.qlw"), {QStringLiteral("a")});
    const QString b = writeNative(QStringLiteral("b.qlw"), {QStringLiteral("b")});
    files.ReplaceDocument(a);
    files.ReplaceDocument(b);
    ASSERT_EQ(document.recentFiles().entries(), (QStringList{b, a, memo}));
    ASSERT_EQ(view.recentMenus.last().size(), 3);

    files.OpenRecentFile(2);

    EXPECT_EQ(document.DocumentPath(), memo);
    EXPECT_EQ(document.recentFiles().entries(), (QStringList{memo, b, a}));
}

TEST_F(DocumentCloseTest, RecentEntryIsReadBeforeTheSaveMovesTheList)
{
    const QString a = writeNative(QStringLiteral("a.qlw"), {QStringLiteral("a")});
    files.ReplaceDocument(a); // list: a, memo
    // Another window opened c since; this window's menu still shows a, memo.
    RecentFileList otherWindow(25);
    otherWindow.AddRecentFile(cardFile(QStringLiteral("c.qlw")));
    changeCard();
    // Saving a reloads the list (c, a, memo) and moves a to the top: entry 1
    // is then c.
    answer({MsgAnswer::Yes});

    files.OpenRecentFile(1);

    EXPECT_EQ(document.DocumentPath(), memo);
}

TEST_F(DocumentCloseTest, NewWindowStartsThisProgramWithoutArguments)
{
    EXPECT_TRUE(files.NewWindow());
    ASSERT_EQ(processes.calls.size(), 1);
    EXPECT_EQ(processes.calls[0].program, ProgramFolder::executablePath());
    EXPECT_TRUE(processes.calls[0].arguments.isEmpty());
    EXPECT_FALSE(processes.calls[0].waited);
    EXPECT_TRUE(dialogs.records.isEmpty());

    processes.startSucceeds = false;
    EXPECT_FALSE(files.NewWindow());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kNewWindowFailed});
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
}

} // namespace
