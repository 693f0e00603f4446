// Opening card files: new files, unsupported extensions, failed reads, the
// guard, the settings chosen, AUTOOPEN cards and the date prefixes.
#include "lifecyclefixture.h"

#include "core/cards/cardmessages.h"
#include "core/cards/csvformat.h"
#include "core/cards/textformat.h"
#include "core/common/version.h"
#include "core/document/documenttexts.h"
#include "core/document/openguard.h"
#include "core/settings/settingkeys.h"

#include <sys/stat.h>

namespace {

const QString kNewFile = QStringLiteral("新規ファイルです。");
const QString kUnsupported = QStringLiteral("不正なファイルか、拡張子が異常なファイルを読み込ませようとしました。");
const QString kCannotOpen = QStringLiteral("ファイルが開けません");
const QString kCannotWrite = QStringLiteral("ファイルが書き込めません");
const QString kInUse = QStringLiteral("このファイルはすでに開かれている可能性があります。\n強行しますか？");

QString titleFor(const QString &fileName, bool modified)
{
    return fileName + (modified ? QStringLiteral("(変更) - ") : QStringLiteral(" - ")) + QStringLiteral("QLT@WIN Ver.")
           + Version::dotted();
}

using DocumentOpenTest = LifecycleTest;

TEST_F(DocumentOpenTest, MissingFileBecomesAnEmptyNewDocumentUnderThatPath)
{
    document.cards().append(MakeCard(QStringLiteral("old")));
    document.SetModified(true);
    const QString path = cardFile(QStringLiteral("memo.qlw"));

    EXPECT_EQ(files.OpenDocument(path), OpenOutcome::NewFile);

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kNewFile);
    EXPECT_EQ(messages()[0].icon, MsgIcon::Information);
    EXPECT_TRUE(document.cards().isEmpty());
    EXPECT_EQ(document.DocumentPath(), path);
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(view.titles.last(), titleFor(QStringLiteral("memo.qlw"), false));
    EXPECT_TRUE(view.reloadEnabled);
    EXPECT_FALSE(QFileInfo::exists(path)) << "the first save creates the file";
    EXPECT_EQ(listedInGuard(), QStringList{path});
    EXPECT_EQ(document.recentFiles().entry(0), path);
}

TEST_F(DocumentOpenTest, ExistingFileFillsTheListAndPreparesTheWindow)
{
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("one"), QStringLiteral("two")});

    EXPECT_EQ(files.OpenDocument(path), OpenOutcome::Opened);
    settle();

    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(titlesInList(), (QStringList{QStringLiteral("one"), QStringLiteral("two")}));
    EXPECT_EQ(document.cards().at(0).icon, CardIcon::Saved);
    EXPECT_EQ(view.titles.last(), titleFor(QStringLiteral("memo.qlw"), false));
    EXPECT_EQ(view.sortsCancelled, 1);
    EXPECT_GE(view.applied, 1);
    EXPECT_EQ(view.searchFocus, 1);
    EXPECT_EQ(view.groupRebuilds, 1);
    EXPECT_GE(view.previewRefreshes, 1);
    // The first card is current, selected and scrolled into view.
    EXPECT_EQ(document.lvData(0).currentRow(), 0);
    EXPECT_EQ(document.lvData(0).selectedRows(), QList<qsizetype>{0});
    EXPECT_EQ(view.madeVisible.last(), (std::pair<int, qsizetype>{0, 0}));
    EXPECT_EQ(document.recentFiles().entry(0), path);
    ASSERT_FALSE(view.recentMenus.isEmpty());
    EXPECT_TRUE(view.recentMenus.last().value(0).startsWith(QStringLiteral("&A memo.qlw\t")));
}

TEST_F(DocumentOpenTest, ExistingFileOfUnknownExtensionIsRefusedAndTheOldCardsStay)
{
    const QString old = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("kept")});
    files.OpenDocument(old);
    const QString doc = cardFile(QStringLiteral("notes.doc"));
    writeText(doc, QStringLiteral("not a card file"));
    dialogs.clear();

    EXPECT_EQ(files.OpenDocument(doc), OpenOutcome::Unsupported);

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kUnsupported);
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("kept")});
    EXPECT_EQ(document.DocumentPath(), old);
    EXPECT_EQ(listedInGuard(), QStringList{old}) << "the refused file is taken out of the list again";
}

TEST_F(DocumentOpenTest, RefusingAnUnknownFileLeavesAnotherWindowsEntry)
{
    const QString doc = cardFile(QStringLiteral("notes.doc"));
    writeText(doc, QStringLiteral("x"));
    FakeDialogs otherDialogs;
    OpenGuard other(otherDialogs);
    other.RegisterOpenFile(doc);
    answer({MsgAnswer::Yes}); // open it anyway

    EXPECT_EQ(files.OpenDocument(doc), OpenOutcome::Unsupported);
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{kInUse, kUnsupported}));
    EXPECT_EQ(listedInGuard(), QStringList{doc});
}

TEST_F(DocumentOpenTest, MissingFileOfUnknownExtensionOpensNewAndCannotBeSaved)
{
    const QString doc = cardFile(QStringLiteral("notes.doc"));
    EXPECT_EQ(files.OpenDocument(doc), OpenOutcome::NewFile);
    EXPECT_EQ(document.DocumentPath(), doc);
    document.cards().append(MakeCard(QStringLiteral("new")));
    document.SetModified(true);
    dialogs.clear();

    EXPECT_FALSE(files.Save());

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kCannotWrite);
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
    EXPECT_FALSE(QFileInfo::exists(doc));
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(view.titles.last(), titleFor(QStringLiteral("notes.doc"), true));
}

TEST_F(DocumentOpenTest, FailedReadLeavesAnEmptyDocumentNamedAfterTheFile)
{
    files.OpenDocument(writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("gone")}));
    const QString broken = cardFile(QStringLiteral("folder.qlw"));
    ASSERT_TRUE(QDir().mkpath(broken)); // exists, but no file to read
    dialogs.clear();

    EXPECT_EQ(files.OpenDocument(broken), OpenOutcome::ReadFailed);

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kCannotOpen + QStringLiteral("\r\n通常のファイルではありません。")});
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
    EXPECT_TRUE(document.cards().isEmpty());
    EXPECT_EQ(document.DocumentPath(), broken);
}

TEST_F(DocumentOpenTest, FileOpenInAnotherWindowAsksAndNoAbandonsTheOpen)
{
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("a")});
    FakeDialogs otherDialogs;
    Services otherServices{&otherDialogs, nullptr, &processes, nullptr, &userStore, &clock};
    Document otherWindow(otherServices);
    FileCommands otherFiles(otherWindow);
    ASSERT_EQ(otherFiles.OpenDocument(path), OpenOutcome::Opened);

    document.SetDocumentPath(QStringLiteral("/home/user/(無題)"));
    answer({MsgAnswer::No});
    EXPECT_EQ(files.OpenDocument(path), OpenOutcome::Declined);

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kInUse);
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_TRUE(document.cards().isEmpty());
    EXPECT_TRUE(document.IsUntitled());
    EXPECT_EQ(listedInGuard(), QStringList{path});

    answer({MsgAnswer::Yes});
    EXPECT_EQ(files.OpenDocument(path), OpenOutcome::Opened);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("a")});
    EXPECT_EQ(listedInGuard(), QStringList{path}) << "a forced open adds no second entry";
}

TEST_F(DocumentOpenTest, ClosingTakesTheFileOutOfTheGuardsList)
{
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("a")});
    files.OpenDocument(path);
    EXPECT_EQ(listedInGuard(), QStringList{path});
    EXPECT_TRUE(files.ConfirmClose());
    EXPECT_TRUE(listedInGuard().isEmpty());
}

TEST_F(DocumentOpenTest, AutoOpenCardsOpenInEditorsOneByOne)
{
    const QString path =
        writeNative(QStringLiteral("memo.qlw"),
                    {QStringLiteral("first"), QStringLiteral("aUtOoPeN"), QStringLiteral("Work＠AUTOOPEN"),
                     QStringLiteral("2001/05/03：AUTOOPEN"), QStringLiteral("AUTOOPEN later"),
                     QStringLiteral("2001/05/03(14:05:09)［題］：autoopen")});

    files.OpenDocument(path);

    EXPECT_EQ(view.editedSelections, (QList<QStringList>{{QStringLiteral("aUtOoPeN")},
                                                         {QStringLiteral("2001/05/03：AUTOOPEN")},
                                                         {QStringLiteral("2001/05/03(14:05:09)［題］：autoopen")}}));
    EXPECT_EQ(view.madeVisible.mid(0, 3), (QList<std::pair<int, qsizetype>>{{0, 1}, {0, 3}, {0, 5}}));
    // Afterwards the first card is the current one again.
    EXPECT_EQ(document.lvData(0).currentRow(), 0);
    EXPECT_EQ(document.lvData(0).selectedRows(), QList<qsizetype>{0});
}

// A text file loses its date prefixes as it opens, after the reader noted
// the titles: the cards that ask to be opened are found again.
TEST_F(DocumentOpenTest, AutoOpenCardsOfATextFileOpenAfterItsDatesAreGone)
{
    CardStore store;
    store.append(MakeCard(QStringLiteral("2001/05/03：first"), {}, {}));
    store.append(MakeCard(QStringLiteral("2001/05/03：autoOpen"), {}, {}));
    const QString qlt = cardFile(QStringLiteral("memo.qlt"));
    ASSERT_TRUE(WriteTextFile(qlt, store, true, WriteOptions{}).ok());

    files.OpenDocument(qlt);

    EXPECT_EQ(view.editedSelections, (QList<QStringList>{{QStringLiteral("autoOpen")}}));
}

TEST_F(DocumentOpenTest, TextFilesLoseTheirDatePrefixesUnlessDatesAreKept)
{
    CardStore store;
    store.append(MakeCard(QStringLiteral("2001/05/03：Work＠Meeting"), QStringLiteral("r"), QStringLiteral("c\r\n")));
    const QString qlt = cardFile(QStringLiteral("memo.qlt"));
    ASSERT_TRUE(WriteTextFile(qlt, store, true, WriteOptions{}).ok());
    const QString csv = cardFile(QStringLiteral("memo.csv"));
    ASSERT_TRUE(WriteCsvFile(csv, store, WriteOptions{}).ok());

    files.OpenDocument(qlt);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("Work＠Meeting")});
    EXPECT_FALSE(document.IsModified());

    files.ReplaceDocument(csv);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("2001/05/03：Work＠Meeting")});

    // Per-file settings of the text file switch the dates on.
    writeText(cardFile(QStringLiteral("memo.ini")), QStringLiteral("[General]\r\nAddDateInfo = 1\r\n"));
    files.ReplaceDocument(qlt);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("2001/05/03：Work＠Meeting")});
}

TEST_F(DocumentOpenTest, InvalidBytesWarnAfterTheFileIsOpen)
{
    const QString path = cardFile(QStringLiteral("broken.qlw"));
    ASSERT_TRUE(Sandbox::writeBytes(path, QByteArray("ab\x82\x01r\x01"
                                                     "c\x01",
                                                     8)));

    EXPECT_EQ(files.OpenDocument(path), OpenOutcome::Opened);

    ASSERT_EQ(messages().size(), 1);
    Win31J::DecodeStats stats;
    stats.invalidCount = 1;
    stats.firstInvalidOffset = 2;
    EXPECT_EQ(messages()[0].text, CardMessages::InvalidBytesWarning(stats));
    EXPECT_EQ(messages()[0].icon, MsgIcon::Warning);
    EXPECT_EQ(document.cards().count(), 1);
    EXPECT_EQ(document.lvData(0).currentRow(), 0) << "the warning comes once the file is in the window";
}

TEST_F(DocumentOpenTest, PerFileSettingsAreChosenAndGeneralOnesComeBack)
{
    const QString memo = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("a")});
    const QString perFile = cardFile(QStringLiteral("memo.ini"));
    writeText(perFile, QStringLiteral("[General]\r\nListViewMode = 1\r\n"));
    const QString plain = writeNative(QStringLiteral("plain.qlw"), {QStringLiteral("b")});

    files.OpenDocument(memo);
    EXPECT_EQ(document.settings().fileName(), perFile);
    EXPECT_TRUE(document.settings().FileSettingsActive());
    EXPECT_EQ(view.lastApplied.viewMode, 1);

    files.ReplaceDocument(plain);
    EXPECT_EQ(document.settings().fileName(), document.settings().generalSettingsFile());
    EXPECT_FALSE(document.settings().FileSettingsActive());
    EXPECT_EQ(view.lastApplied.viewMode, 3);
}

TEST_F(DocumentOpenTest, WindowStateGoesIntoTheOldSettingsBeforeAnotherFileOpens)
{
    const QString memo = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("a")});
    const QString perFile = cardFile(QStringLiteral("memo.ini"));
    writeText(perFile, QStringLiteral("[General]\r\n"));
    files.OpenDocument(memo);
    WindowState state;
    state.windowWidthTwips = 8000.4;
    state.windowHeightTwips = 5000;
    state.listViewMode = 2;
    view.state = state;

    files.ReplaceDocument(writeNative(QStringLiteral("other.qlw"), {QStringLiteral("b")}));

    const QString saved = Win31J::decode(bytes(perFile));
    EXPECT_TRUE(saved.startsWith(QStringLiteral("[General]\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nWindowListSizeX = 8000\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nWindowListSizeY = 5000\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nListViewMode = 2\r\n")));
}

TEST_F(DocumentOpenTest, MinimisedWindowStoresOnlyTheViewModeBeforeAnotherFileOpens)
{
    const QString memo = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("a")});
    const QString perFile = cardFile(QStringLiteral("memo.ini"));
    writeText(perFile, QStringLiteral("[General]\r\n"));
    files.OpenDocument(memo);
    WindowState state;
    state.windowWidthTwips = 1234;
    state.windowHeightTwips = 999;
    state.normalState = false;
    state.listViewMode = 0;
    view.state = state;

    files.ReplaceDocument(writeNative(QStringLiteral("other.qlw"), {QStringLiteral("b")}));

    const QString saved = Win31J::decode(bytes(perFile));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nWindowListSizeX = 9480\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nListViewMode = 0\r\n")));
}

TEST_F(DocumentOpenTest, OpeningLeavesExtractionModeFirst)
{
    int left = 0;
    document.setLeaveExtractionHandler([&] { ++left; });
    document.setExtractionActive(true);
    EXPECT_EQ(document.ActiveListIndex(), 1);

    files.OpenDocument(cardFile(QStringLiteral("memo.qlw")));

    EXPECT_EQ(left, 1);
    EXPECT_EQ(document.ActiveListIndex(), 0);
    EXPECT_FALSE(document.extractionActive());
}

} // namespace

// ------------------------------------------------- text that is no card file

TEST_F(DocumentOpenTest, PlainTextFileWarnsOnOpeningAndAsksBeforeItIsSavedOver)
{
    const QString path = cardFile(QStringLiteral("notes.txt"));
    const QByteArray text = Win31J::encode(QStringLiteral("買い物\r\n牛乳\r\n\r\nパン\r\n"));
    ASSERT_TRUE(Sandbox::writeBytes(path, text));

    EXPECT_EQ(files.OpenDocument(path), OpenOutcome::Opened);
    EXPECT_TRUE(document.cards().isEmpty());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, QStringLiteral("このファイルからはカードが1枚も読み込めませんでした"
                                                 "（カードとして読み込めない文章が3行あります）。\r\n"
                                                 "カードファイルではない可能性があります。"
                                                 "上書き保存すると、元の文章は失われます。"));
    EXPECT_EQ(messages()[0].icon, MsgIcon::Warning);

    // The first save asks, No by default, and keeps the text.
    const QString question = QStringLiteral("このファイルには、カードとして読み込めなかった文章が含まれています。\r\n"
                                            "上書き保存すると、その文章は失われます。保存しますか？");
    dialogs.clear();
    document.cards().append(MakeCard(QStringLiteral("new")));
    document.SetModified(true);
    EXPECT_FALSE(files.Save());
    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, question);
    EXPECT_EQ(messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages()[0].defaultButton, MsgAnswer::No);
    EXPECT_EQ(bytes(path), text);
    EXPECT_TRUE(document.IsModified());

    // Closing with "save" asks too, and No keeps the window open.
    dialogs.clear();
    answer({MsgAnswer::Yes, MsgAnswer::No});
    EXPECT_FALSE(files.ConfirmClose());
    EXPECT_EQ(dialogs.messageTexts().last(), question);
    EXPECT_EQ(bytes(path), text);

    // Yes writes, and the next save does not ask again.
    dialogs.clear();
    answer({MsgAnswer::Yes});
    EXPECT_TRUE(files.Save());
    EXPECT_NE(bytes(path), text);
    dialogs.clear();
    EXPECT_TRUE(files.Save());
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(DocumentOpenTest, TextOutsideTheRecordsIsCountedAndCardFilesWithoutItAreQuiet)
{
    const QString card = QStringLiteral("@\r\n2001/05/03：メモ\r\n") + RecordLayout::SeparatorLine
                         + QStringLiteral("\r\n内容\r\n") + RecordLayout::EndLine + QStringLiteral("\r\n");
    const QString clean = cardFile(QStringLiteral("clean.qlt"));
    writeText(clean, card + QStringLiteral("\r\n  \r\n") + card);
    EXPECT_EQ(files.OpenDocument(clean), OpenOutcome::Opened);
    EXPECT_EQ(document.cards().count(), 2);
    EXPECT_TRUE(dialogs.records.isEmpty()) << "blank lines between records are no text";
    document.SetModified(true);
    EXPECT_TRUE(files.Save());
    EXPECT_TRUE(dialogs.records.isEmpty());

    const QString mixed = cardFile(QStringLiteral("mixed.txt"));
    writeText(mixed, QStringLiteral("前書き\r\n") + card + QStringLiteral("後書き\r\n@\r\n"));
    EXPECT_TRUE(files.ConfirmClose());
    EXPECT_EQ(files.OpenDocument(mixed), OpenOutcome::Opened);
    EXPECT_EQ(document.cards().count(), 1);
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{QStringLiteral("このファイルには、カードとして読み込めない文章が3行あります。\r\n"
                                         "上書き保存すると、これらの行は失われます。")});
}

TEST_F(DocumentOpenTest, FifoIsRefusedWithAReasonInsteadOfBlocking)
{
    const QString fifo = cardFile(QStringLiteral("pipe.qlw"));
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(files.OpenDocument(fifo), OpenOutcome::ReadFailed);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kCannotOpen + QStringLiteral("\r\n通常のファイルではありません。")});

    // Nor is it written to.
    dialogs.clear();
    document.cards().append(MakeCard(QStringLiteral("x")));
    EXPECT_FALSE(files.Save());
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kCannotWrite + QStringLiteral("\r\n通常のファイルではありません。")});
}
