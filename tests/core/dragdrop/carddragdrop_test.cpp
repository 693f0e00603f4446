// Drag and drop on the card lists without a window: the drag's text and
// file, which drags a list takes, where dropped text and files go, which
// files open as card files (here or in a new process), the question for
// ".txt", the addresses of ".mht" and ".url", and the refusals.
#include "core/cards/cardlist.h"
#include "core/cards/nativeformat.h"
#include "core/common/programfolder.h"
#include "core/common/win31j.h"
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "core/dragdrop/carddragdrop.h"
#include "core/dragdrop/dragdroptexts.h"
#include "core/settings/settingkeys.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"
#include "support/searchtestutil.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString Separator = QString(78, QLatin1Char('-'));
const QString EndLine = QString(78, QLatin1Char('='));

QString record(const QString &titleLine, const QString &content)
{
    return QStringLiteral("@\r\n") + titleLine + CrLf + Separator + CrLf + content + CrLf + EndLine + CrLf;
}

QStringList remarksOf(const CardStore &store)
{
    QStringList out;
    for (const Card &card : store.cards())
        out.append(card.remarks);
    return out;
}

class CardDragDropTest : public ::testing::Test, public FakeSystem
{
protected:
    CardDragDropTest()
    {
        document.settings().loadGeneralSettings();
        document.cards().reset({
            makeCard("K0", "2001/05/06：旅行＠京都", "寺", "金閣"),
            makeCard("K1", "仕事＠会議", "本社", "予算\r\n"),
            makeCard("K2", "メモ", "", "買い物"),
        });
    }

    // A document under a name: file drops start new processes.
    void nameDocument() { document.SetDocumentPath(dropDir.filePath(QStringLiteral("memo.qlw"))); }
    QString dropFile(const QString &name, const QByteArray &bytes)
    {
        const QString path = dropDir.filePath(name);
        EXPECT_TRUE(Sandbox::writeBytes(path, bytes));
        return path;
    }
    static DropData textDrop(const QString &text)
    {
        DropData data;
        data.text = text;
        return data;
    }
    DropData filesDrop(const QStringList &paths)
    {
        DropData data;
        data.hasFileList = true;
        data.files = [this, paths] {
            ++filesAsked;
            return paths;
        };
        return data;
    }
    QStringList titles() { return titlesOf(document.cards()); }
    CardList &main() { return document.lvData(0); }

    ScopedProgramFolder folder;
    QTemporaryDir dropDir;
    Services services_ = services();
    Document document{services_};
    FileCommands files{document};
    CardDragDrop dnd{document, files};
    int filesAsked = 0;
};

// ---------------------------------------------------------------- drag

TEST_F(CardDragDropTest, DragOffersSelectedCardsAndMakesOneFileNamedAfterTheCurrentCard)
{
    main().setSelected(0);
    main().setSelected(2);
    main().setCurrentRow(2);
    const QString text = dnd.beginDrag();
    EXPECT_EQ(text, record(QStringLiteral("2001/05/06：旅行＠京都 - 寺"), QStringLiteral("金閣"))
                        + record(QStringLiteral("2001/05/03：メモ"), QStringLiteral("買い物")));
    EXPECT_TRUE(dnd.dragging());

    const QString path = dnd.dragFile();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("メモ.qlt"));
    EXPECT_EQ(QFileInfo(path).absolutePath().section(QLatin1Char('/'), 0, -2), QDir::tempPath());
    EXPECT_EQ(Sandbox::readBytes(path), Win31J::encode(QString(text + CrLf)));
    // Asked again within the same drag: the same file.
    EXPECT_EQ(dnd.dragFile(), path);

    // The drag ended; a target may still ask for the file.
    const QString folderOfFile = QFileInfo(path).absolutePath();
    dnd.endDrag();
    EXPECT_FALSE(dnd.dragging());
    EXPECT_EQ(dnd.dragFile(), path);
    EXPECT_TRUE(QFileInfo::exists(path));
    dnd.removeDragFile();
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_FALSE(QFileInfo::exists(folderOfFile));
    EXPECT_TRUE(dnd.dragFile().isEmpty());

    // The next drag removes what the last one left.
    ASSERT_FALSE(dnd.beginDrag().isEmpty());
    const QString first = dnd.dragFile();
    dnd.endDrag();
    ASSERT_FALSE(dnd.beginDrag().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(first));
    EXPECT_TRUE(QFileInfo::exists(dnd.dragFile()));
}

TEST_F(CardDragDropTest, NothingSelectedStartsNoDrag)
{
    EXPECT_TRUE(dnd.beginDrag().isEmpty());
    EXPECT_FALSE(dnd.dragging());
    EXPECT_TRUE(dnd.dragFile().isEmpty());
    EXPECT_TRUE(QDir(QDir::tempPath()).entryList({QStringLiteral("QLTWIN-*")}, QDir::Dirs).isEmpty());
}

TEST_F(CardDragDropTest, DragFileOfATakenNameGetsAFreshPlaceAndLeavesTheOtherFile)
{
    const QString taken = QDir(QDir::tempPath()).filePath(QStringLiteral("メモ.qlt"));
    ASSERT_TRUE(Sandbox::writeBytes(taken, "keep"));
    main().setSelected(2);
    ASSERT_FALSE(dnd.beginDrag().isEmpty());
    const QString path = dnd.dragFile();
    ASSERT_FALSE(path.isEmpty());
    EXPECT_NE(path, taken);
    EXPECT_EQ(QFileInfo(path).fileName(), QStringLiteral("メモ.qlt"));
    dnd.endDrag();
    dnd.removeDragFile();
    EXPECT_EQ(Sandbox::readBytes(taken), QByteArray("keep"));
}

TEST_F(CardDragDropTest, DragFileNames)
{
    const struct {
        QString title;
        QString name;
    } cases[] = {
        {QStringLiteral("仕事＠会議"), QStringLiteral("仕事＠会議.qlt")},
        {QStringLiteral("a/b?c*d|e"), QStringLiteral("a／b？c＊d｜e.qlt")},
        {QStringLiteral("dir\\name"), QStringLiteral("dir\\name.qlt")},
        // 80 characters: the first 70, without the extension.
        {QString(80, QChar(0x3042)), QString(70, QChar(0x3042))},
        {QString(67, QLatin1Char('x')), QString(67, QLatin1Char('x')) + QStringLiteral(".ql")},
        {QString(), QStringLiteral("(無題のカード).qlt")},
    };
    for (const auto &c : cases)
        EXPECT_EQ(CardDragDrop::DragFileName(c.title), c.name) << c.title.toStdString();
}

// ---------------------------------------------------------------- what is taken

TEST_F(CardDragDropTest, OwnDragAndExtractionModeAreRefused)
{
    EXPECT_TRUE(dnd.accepts(textDrop(QStringLiteral("x"))));
    EXPECT_TRUE(dnd.accepts(filesDrop({})));
    EXPECT_FALSE(dnd.accepts(DropData{}));

    main().setSelected(0);
    ASSERT_FALSE(dnd.beginDrag().isEmpty());
    EXPECT_FALSE(dnd.accepts(textDrop(QStringLiteral("x"))));
    EXPECT_EQ(dnd.drop(textDrop(QStringLiteral("x")), 0), 0);
    dnd.endDrag();

    // Files too: cards dropped into the extraction list alone would be lost
    // when it ends.
    document.setExtractionActive(true);
    const QString other = dropFile(QStringLiteral("note.dat"), "text");
    EXPECT_FALSE(dnd.accepts(textDrop(QStringLiteral("x"))));
    EXPECT_FALSE(dnd.accepts(filesDrop({other})));
    EXPECT_EQ(dnd.drop(filesDrop({other}), -1), 0);
    EXPECT_EQ(document.cards().count(), 3);
    EXPECT_EQ(document.lvData(1).store().count(), 0);
    EXPECT_EQ(filesAsked, 0);
}

TEST_F(CardDragDropTest, DragOverSelectsTheCardUnderThePointerAlone)
{
    main().setSelected(0);
    main().setSelected(1);
    dnd.dragOver(2);
    EXPECT_EQ(main().selectedRows(), QList<qsizetype>{2});
    EXPECT_EQ(main().currentRow(), 2);
    dnd.dragOver(-1);
    EXPECT_TRUE(main().selectedRows().isEmpty());
    EXPECT_EQ(main().currentRow(), -1);
}

// ---------------------------------------------------------------- text

TEST_F(CardDragDropTest, TextGoesBeforeTheCardUnderThePointerOrAtTheEnd)
{
    EXPECT_EQ(dnd.drop(textDrop(QStringLiteral("hello\nworld")), 1), 1);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("2001/05/06：旅行＠京都"), QStringLiteral("hello"),
                                     QStringLiteral("仕事＠会議"), QStringLiteral("メモ")}));
    const Card &card = document.cards().at(1);
    EXPECT_EQ(card.content, QStringLiteral("hello\r\nworld"));
    EXPECT_EQ(card.icon, 2);
    EXPECT_TRUE(card.remarks.isEmpty());
    EXPECT_EQ(main().selectedRows(), QList<qsizetype>{1});
    EXPECT_EQ(main().currentRow(), 1);
    EXPECT_TRUE(document.IsModified());

    // Below the last card: two records, in their order, both selected.
    const QString two = record(QStringLiteral("2001/05/06：A＠x - r"), QStringLiteral("1"))
                        + record(QStringLiteral("2001/05/06：y"), QStringLiteral("2"));
    EXPECT_EQ(dnd.drop(textDrop(two), -1), 2);
    EXPECT_EQ(titles().mid(4), (QStringList{QStringLiteral("A＠x"), QStringLiteral("y")}));
    EXPECT_EQ(document.cards().at(4).remarks, QStringLiteral("r"));
    EXPECT_EQ(main().selectedRows(), (QList<qsizetype>{4, 5}));
}

TEST_F(CardDragDropTest, TextWithTheFieldMarkIsRefused)
{
    EXPECT_EQ(dnd.drop(textDrop(QStringLiteral("a\x01") + QStringLiteral("b")), 0), 0);
    EXPECT_EQ(
        dialogs.messageTexts(),
        QStringList{QStringLiteral("0x01コードの含まれた不正なデータです。\r\n\r\nバイナリデータは扱えません。")});
    EXPECT_EQ(dialogs.messages().at(0).icon, MsgIcon::Error);
    EXPECT_EQ(document.cards().count(), 3);
    EXPECT_FALSE(document.IsModified());
}

TEST_F(CardDragDropTest, CardsOfAnotherWindowComeAsTextWithoutMakingItsFile)
{
    DropData data = filesDrop({QStringLiteral("/nonexistent/メモ.qlt")});
    data.text = record(QStringLiteral("2001/05/06：z"), QStringLiteral("c"));
    data.cardsFromProgram = true;
    EXPECT_EQ(dnd.drop(data, 0), 1);
    EXPECT_EQ(titles().first(), QStringLiteral("z"));
    EXPECT_EQ(filesAsked, 0);
}

TEST_F(CardDragDropTest, AFileManagersListWinsOverThePathsItSendsAsText)
{
    const QString path = dropFile(QStringLiteral("note.dat"), "body");
    DropData data = filesDrop({path});
    data.text = path;
    EXPECT_EQ(dnd.drop(data, -1), 1);
    EXPECT_EQ(document.cards().at(3).content, QStringLiteral("body"));
    // A list of no local file (a web address) leaves the text.
    DropData web = filesDrop({});
    web.text = QStringLiteral("https://example.org/");
    EXPECT_EQ(dnd.drop(web, -1), 1);
    EXPECT_EQ(document.cards().at(4).content, QStringLiteral("https://example.org/"));
}

// ---------------------------------------------------------------- files

TEST_F(CardDragDropTest, CardFileOpensInAnUntouchedUntitledWindow)
{
    files.NewDocument();
    ASSERT_TRUE(document.IsUntitled());
    CardStore store;
    store.append(makeCard("X", "届いた", "", "c"));
    const QString path = dropDir.filePath(QStringLiteral("a.QLW"));
    ASSERT_TRUE(WriteNativeFile(path, store, WriteOptions{}).ok());

    dnd.drop(filesDrop({path}), -1);
    EXPECT_EQ(document.DocumentPath(), path);
    EXPECT_EQ(titles(), QStringList{QStringLiteral("届いた")});
    EXPECT_TRUE(processes.calls.isEmpty());
}

TEST_F(CardDragDropTest, CardFilesStartNewProcessesForANamedOrChangedDocument)
{
    const QString csv = dropFile(QStringLiteral("b.csv"), "x");
    const QString stk = dropFile(QStringLiteral("c.stk"), "x");
    nameDocument();
    dnd.drop(filesDrop({csv, stk}), -1);
    ASSERT_EQ(processes.calls.size(), 2);
    // From the last to the first.
    EXPECT_EQ(processes.calls.at(0).program, ProgramFolder::executablePath());
    EXPECT_EQ(processes.calls.at(0).arguments, QStringList{stk});
    EXPECT_EQ(processes.calls.at(1).arguments, QStringList{csv});

    processes.calls.clear();
    files.NewDocument();
    document.SetModified(true);
    dnd.drop(filesDrop({csv}), -1);
    EXPECT_EQ(processes.calls.size(), 1);
    EXPECT_TRUE(document.IsUntitled());

    processes.calls.clear();
    processes.startSucceeds = false;
    dnd.drop(filesDrop({csv}), -1);
    EXPECT_EQ(dialogs.messageTexts().last(),
              QStringLiteral("エラーが発生しました。\r\n\r\n新しいウインドウを開けませんでした。"));
    EXPECT_EQ(dialogs.messages().last().icon, MsgIcon::Warning);
}

TEST_F(CardDragDropTest, TextFileAsksWhetherToOpenInsteadOfPasting)
{
    nameDocument();
    const QString txt = dropFile(QStringLiteral("memo.TXT"), Win31J::encode(QStringLiteral("一行目\r\n二行目")));
    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_EQ(dnd.drop(filesDrop({txt}), 0), 1);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().at(0).text, txt + QStringLiteral("を貼り付けずに開きますか？"));
    EXPECT_EQ(dialogs.messages().at(0).icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.messages().at(0).buttons, MsgButtons::YesNo);
    const Card &card = document.cards().at(0);
    EXPECT_EQ(card.title, QStringLiteral("memo"));
    EXPECT_EQ(card.remarks, QStringLiteral("memo.TXT"));
    EXPECT_EQ(card.content, QStringLiteral("一行目\r\n二行目"));

    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_EQ(dnd.drop(filesDrop({txt}), 0), 0);
    ASSERT_EQ(processes.calls.size(), 1);
    EXPECT_EQ(processes.calls.at(0).arguments, QStringList{txt});
}

TEST_F(CardDragDropTest, WebFilesBecomeCardsWithTheirAddressAsRemarks)
{
    const QString mht =
        dropFile(QStringLiteral("page.mht"), "From: x\r\nContent-Location:  file:///C:/x.htm \r\n\r\nbody");
    const QString url = dropFile(QStringLiteral("site.url"), "[InternetShortcut]\r\nURL=https://example.org/a?b=c\r\n");
    const QString other = dropFile(QStringLiteral("readme.md"), QStringLiteral("日本語\n次").toUtf8());
    EXPECT_EQ(dnd.drop(filesDrop({mht, url, other}), 1), 3);
    EXPECT_EQ(titles(),
              (QStringList{QStringLiteral("2001/05/06：旅行＠京都"), QStringLiteral("page"), QStringLiteral("site"),
                           QStringLiteral("readme"), QStringLiteral("仕事＠会議"), QStringLiteral("メモ")}));
    EXPECT_EQ(remarksOf(document.cards()).mid(1, 3),
              (QStringList{QStringLiteral("file:///C:/x.htm"), QStringLiteral("https://example.org/a?b=c"),
                           QStringLiteral("readme.md")}));
    // UTF-8 read as UTF-8, line ends made CR LF.
    EXPECT_EQ(document.cards().at(3).content, QStringLiteral("日本語\r\n次"));
    EXPECT_EQ(main().selectedRows(), (QList<qsizetype>{1, 2, 3}));
    EXPECT_EQ(main().currentRow(), 1);
}

TEST_F(CardDragDropTest, CardFileTextInsertedAsItsCardsAndWindows31JRead)
{
    const QString dat = dropFile(QStringLiteral("cards.dat"),
                                 Win31J::encode(record(QStringLiteral("2001/01/01：甲"), QStringLiteral("乙"))));
    EXPECT_EQ(dnd.drop(filesDrop({dat}), -1), 1);
    EXPECT_EQ(document.cards().at(3).title, QStringLiteral("甲"));
    EXPECT_EQ(document.cards().at(3).content, QStringLiteral("乙\r\n"));
}

TEST_F(CardDragDropTest, BinaryFileIsRefusedAndTheOthersStillGoIn)
{
    const QString binary = dropFile(QStringLiteral("image.png"), QByteArray("\x89PNG\0\0\x01", 7));
    const QString text = dropFile(QStringLiteral("a.log"), "ok");
    EXPECT_EQ(dnd.drop(filesDrop({text, binary}), -1), 1);
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{binary + QStringLiteral("\r\nバイナリファイルはカードにできません。")});
    EXPECT_EQ(dialogs.messages().at(0).icon, MsgIcon::Warning);
    EXPECT_EQ(document.cards().count(), 4);
    EXPECT_EQ(document.cards().at(3).content, QStringLiteral("ok"));
}

TEST_F(CardDragDropTest, UnreadableFileEndsTheDropWithTheError)
{
    const QString missing = dropDir.filePath(QStringLiteral("gone.log"));
    const QString text = dropFile(QStringLiteral("a.log"), "ok");
    // Handled from the last: the folder stops the drop before the others.
    EXPECT_EQ(dnd.drop(filesDrop({text, missing, dropDir.path()}), -1), 0);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("エラーが発生しました。\r\n\r\n") + dropDir.path()
                                                  + QStringLiteral("\r\nを読み込めません。")});
    EXPECT_EQ(document.cards().count(), 3);
    EXPECT_FALSE(document.IsModified());
}

} // namespace
