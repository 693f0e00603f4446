// The card commands of the Edit menu on documents without a window: where
// new cards go, delete and cut in both lists, the clipboard between two
// documents, paste and its refusals, the date commands, remarks as an
// address, content to a file, rename and the print notice.
#include "core/commands/cardcommands.h"
#include "core/commands/cardcommandtexts.h"
#include "core/commands/searchcommands.h"
#include "core/document/document.h"
#include "core/settings/settingkeys.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/viewcontroller.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"
#include "support/searchtestutil.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace {

const QString Separator = QString(78, QLatin1Char('-'));
const QString EndLine = QString(78, QLatin1Char('='));

// The search bar as far as extraction needs it.
class QuietSearchView : public SearchView
{
public:
    QString box;
    QString keyword() const override { return box; }
    void setKeyword(const QString &keyword) override { box = keyword; }
    QStringList searchHistory() const override { return {}; }
    void setSearchHistory(const QStringList &) override {}
    void selectKeyword() override {}
    void focusList(int) override {}
    std::optional<QString> askGroup(const QStringList &, const QString &) override { return std::nullopt; }
};

// What the window is told: recorded from the signals of the document, the
// search commands (the group list) and the card commands.
class RecordingCardView
{
public:
    explicit RecordingCardView(Document &document) : m_document(document) {}
    // Announced changes to the active card list (what the preview follows).
    int previews = 0;
    int groupRebuilds = 0;
    QList<std::pair<int, qsizetype>> shownCards;
    // The current card of the current list each time an edit was asked for.
    QList<qsizetype> editedRows;
    QList<std::pair<int, qsizetype>> renames;

    void follow(SearchCommands &search, CardCommands &cards)
    {
        QObject::connect(&m_document, &Document::listChanged, &m_receiver, [this](int list) {
            if (list == m_document.ActiveListIndex())
                ++previews;
        });
        QObject::connect(&m_document, &Document::cardShown, &m_receiver, [this](int list, qsizetype row) {
            shownCards.append({list, row});
        });
        QObject::connect(&m_document, &Document::editRequested, &m_receiver,
                         [this] { editedRows.append(m_document.activeList().currentRow()); });
        QObject::connect(&search, &SearchCommands::groupsChanged, &m_receiver, [this] { ++groupRebuilds; });
        QObject::connect(&cards, &CardCommands::renameRequested, &m_receiver, [this](int list, qsizetype row) {
            renames.append({list, row});
        });
    }

private:
    Document &m_document;
    QObject m_receiver;
};

// One window's worth of document and commands.
struct Window {
    explicit Window(const Services &services) : document(services)
    {
        document.settings().loadGeneralSettings();
        view.follow(search, cards);
        search.wire();
        cards.wire();
    }
    // The changes to the card lists made so far, announced as the event
    // loop would announce them.
    void settle() { document.flushListChanges(); }
    CardList &list(int index) { return document.lvData(index); }
    CardStore &store(int index = 0) { return document.lvData(index).store(); }
    void select(std::initializer_list<qsizetype> rows, int index = 0)
    {
        list(index).ClearSelection();
        for (qsizetype row : rows)
            list(index).setSelected(row);
    }
    void extract(const char *keyword)
    {
        searchView.box = QString::fromUtf8(keyword);
        commands.trigger(Cmd::Extract);
    }

    Document document;
    MainCommands commands;
    // The window's own commands on a registry of their own: the card
    // commands must wire theirs alone.
    MainCommands windowCommands;
    MainViewController viewState{windowCommands, Services{}};
    QuietSearchView searchView;
    SearchCommands search{document, commands, viewState, searchView};
    RecordingCardView view{document};
    CardCommands cards{document, commands, search.extraction()};
};

class CardCommandsTest : public ::testing::Test, public FakeSystem
{
protected:
    CardCommandsTest()
    {
        w.store().reset({
            makeCard("K0", "2001/05/06：旅行＠京都", "寺", "金閣"),
            makeCard("K1", "仕事＠会議", "本社", "予算の見直し\r\n"),
            makeCard("K2", "メモ", "", "買い物"),
            makeCard("K3", "2001/05/06(14:05:09)［題］：旅行＠奈良", "", "鹿"),
            makeCard("K4", "仕事＠報告", "支社", "予算"),
        });
        w.document.SetDocumentPath(QDir(cardsDir.path()).filePath(QStringLiteral("memo.qlw")));
    }

    void setAddDateInfo(bool on) { w.document.settings().setSwitch(SettingKey::AddDateInfo, on); }
    void setInsertAtNext(int value) { w.document.settings().setInteger(SettingKey::InsertCardAtNextCard, value); }
    QList<int> iconsOf(const CardStore &store)
    {
        QList<int> icons;
        for (const Card &card : store.cards())
            icons.append(card.icon);
        return icons;
    }

    ScopedProgramFolder folder;
    QTemporaryDir cardsDir;
    Services services{&dialogs, &shell, nullptr, &clipboard, nullptr, &clock};
    Window w{services};
};

// ---------------------------------------------------------------- wiring

TEST_F(CardCommandsTest, WiresEveryCardCommand)
{
    for (const QString &id :
         {QString(Cmd::NewCard), QString(Cmd::DeleteCard), QString(Cmd::Cut), QString(Cmd::Copy),
          QString(Cmd::CopyContentOnly), QString(Cmd::Paste), QString(Cmd::CutDateInfo), QString(Cmd::RenewDate),
          QString(Cmd::OpenRemarksUrl), QString(Cmd::CopyContentToFile), QString(Cmd::RenameCard), QString(Cmd::Print)})
        EXPECT_TRUE(w.commands.isEnabled(id)) << id.toStdString();
    // Select all, invert, edit and browse-mode Space belong to others.
    EXPECT_FALSE(w.commands.isWired(Cmd::SelectAll));
    EXPECT_FALSE(w.commands.isWired(Cmd::EditCard));
    EXPECT_FALSE(w.commands.isWired(Cmd::BrowseSpace));
}

TEST_F(CardCommandsTest, WiringDuringExtractionLeavesPasteDisabled)
{
    w.extract("旅行");
    CardCommands late(w.document, w.commands, w.search.extraction());
    late.wire();
    EXPECT_FALSE(w.commands.isEnabled(Cmd::Paste));
}

// ---------------------------------------------------------------- new card

struct NewCardCase {
    const char *name;
    int insertAtNext;
    qsizetype current; // -1: none
    qsizetype expectedRow;
};

class NewCardPosition : public CardCommandsTest, public ::testing::WithParamInterface<NewCardCase>
{
};

TEST_P(NewCardPosition, FollowsInsertCardAtNextCard)
{
    const NewCardCase &c = GetParam();
    setInsertAtNext(c.insertAtNext);
    w.select({0, 4});
    w.list(0).setCurrentRow(c.current);

    EXPECT_TRUE(w.commands.trigger(Cmd::NewCard));
    w.settle();

    const CardStore &store = w.store();
    ASSERT_EQ(store.count(), 6);
    const Card &card = store.at(c.expectedRow);
    EXPECT_EQ(card.title, QStringLiteral("新規データ"));
    EXPECT_EQ(card.icon, CardIcon::Changed);
    EXPECT_TRUE(card.remarks.isEmpty());
    EXPECT_TRUE(card.content.isEmpty());
    EXPECT_TRUE(card.key.startsWith(QStringLiteral("Key")));
    EXPECT_EQ(w.list(0).selectedRows(), rows({c.expectedRow}));
    EXPECT_EQ(w.list(0).currentRow(), c.expectedRow);
    EXPECT_TRUE(w.document.IsModified());
    // Shown, then opened in an editor as the current card, then the preview.
    EXPECT_EQ(w.view.shownCards, (QList<std::pair<int, qsizetype>>{{0, c.expectedRow}}));
    EXPECT_EQ(w.view.editedRows, QList<qsizetype>{c.expectedRow});
    EXPECT_EQ(w.view.previews, 1);
}

INSTANTIATE_TEST_SUITE_P(Positions, NewCardPosition,
                         ::testing::Values(NewCardCase{"AtCurrent", 0, 2, 2}, NewCardCase{"AfterCurrent", 1, 2, 3},
                                           NewCardCase{"AnyOtherValueIsAfter", 7, 2, 3},
                                           NewCardCase{"NoCurrentAppends", 0, -1, 5},
                                           NewCardCase{"NoCurrentAppendsToo", 1, -1, 5},
                                           NewCardCase{"AfterTheLast", 1, 4, 5}),
                         [](const auto &test) { return std::string(test.param.name); });

TEST_F(CardCommandsTest, NewCardAtTheThirdCardPushesItDown)
{
    setInsertAtNext(0);
    w.list(0).setCurrentRow(2);
    w.cards.newCard();
    EXPECT_EQ(w.store().at(3).key, QStringLiteral("K2"));
    EXPECT_EQ(w.store().at(2).title, QStringLiteral("新規データ"));
}

TEST_F(CardCommandsTest, NewCardInAnEmptyList)
{
    w.store().clear();
    EXPECT_EQ(w.cards.newCard(), 0);
    ASSERT_EQ(w.store().count(), 1);
    EXPECT_EQ(w.list(0).currentRow(), 0);
    EXPECT_TRUE(w.list(0).isSelected(0));
}

TEST_F(CardCommandsTest, NewCardsGetTodaysPrefixWithAddDateInfo)
{
    setAddDateInfo(true);
    w.list(0).clearCurrent();
    w.cards.newCard();
    EXPECT_EQ(w.store().at(5).title, QStringLiteral("2001/05/03：新規データ"));

    w.document.SetDocumentPath(QDir(cardsDir.path()).filePath(QStringLiteral("notes.STK")));
    w.list(0).clearCurrent();
    w.cards.newCard();
    EXPECT_EQ(w.store().at(6).title, QStringLiteral("2001/05/03(14:05:09)［題］：新規データ"));
}

TEST_F(CardCommandsTest, NewCardsHaveKeysOfTheirOwn)
{
    w.cards.newCard();
    w.cards.newCard();
    QStringList keys = keysOf(w.store());
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 7);
}

TEST_F(CardCommandsTest, NewCardInExtractionModeJoinsTheMainListWhenExtractionEnds)
{
    w.extract("旅行");
    ASSERT_EQ(w.document.ActiveListIndex(), 1);
    ASSERT_EQ(w.store(1).count(), 2);
    w.list(1).setCurrentRow(0);

    const qsizetype row = w.cards.newCard();
    EXPECT_EQ(row, 0);
    EXPECT_EQ(w.store(1).count(), 3);
    EXPECT_EQ(w.store(0).count(), 5);
    const QString key = w.store(1).at(0).key;
    EXPECT_TRUE(w.search.extraction().isNewCard(key));
    EXPECT_FALSE(w.store(0).containsKey(key));
    EXPECT_EQ(w.view.editedRows, QList<qsizetype>{0});

    w.commands.trigger(Cmd::EndExtraction);
    ASSERT_EQ(w.store(0).count(), 6);
    EXPECT_EQ(w.store(0).at(5).key, key);
    EXPECT_EQ(w.store(0).at(5).icon, CardIcon::Changed);
}

// ---------------------------------------------------------------- delete

TEST_F(CardCommandsTest, DeleteAsksThenRemovesTheSelectedCards)
{
    w.select({3, 1});
    w.list(0).setCurrentRow(4);
    w.cards.deleteCards();
    w.settle();

    ASSERT_EQ(dialogs.messages().size(), 1);
    const MessageRequest &ask = dialogs.messages().first();
    EXPECT_EQ(ask.text, QStringLiteral("選択されたカードを削除してよろしいですか?"));
    EXPECT_EQ(ask.icon, MsgIcon::Question);
    EXPECT_EQ(ask.buttons, MsgButtons::YesNo);
    EXPECT_EQ(keysOf(w.store()), QStringList({"K0", "K2", "K4"}));
    EXPECT_TRUE(w.document.IsModified());
    EXPECT_FALSE(w.list(0).hasSelection());
    EXPECT_GE(w.view.previews, 1);
}

TEST_F(CardCommandsTest, DeleteAnsweredNoChangesNothingButTheCurrentCard)
{
    w.select({3, 1});
    w.list(0).setCurrentRow(4);
    dialogs.answers.enqueue(MsgAnswer::No);
    w.cards.deleteCards();
    EXPECT_EQ(w.store().count(), 5);
    EXPECT_FALSE(w.document.IsModified());
    // The first selected card became current before the question.
    EXPECT_EQ(w.list(0).currentRow(), 1);
}

TEST_F(CardCommandsTest, DeleteWithoutSelectionAsksNothing)
{
    w.list(0).setCurrentRow(2);
    w.commands.trigger(Cmd::DeleteCard);
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(w.store().count(), 5);
}

TEST_F(CardCommandsTest, DeleteInExtractionModeRemovesTheOriginalsToo)
{
    w.extract("旅行"); // K0 and K3
    w.select({1}, 1);
    w.cards.deleteCards();
    EXPECT_EQ(keysOf(w.store(1)), QStringList({"K0"}));
    EXPECT_EQ(keysOf(w.store(0)), QStringList({"K0", "K1", "K2", "K4"}));

    w.commands.trigger(Cmd::EndExtraction);
    EXPECT_EQ(keysOf(w.store(0)), QStringList({"K0", "K1", "K2", "K4"}));
}

TEST_F(CardCommandsTest, DeletingACardOfThisExtractionLeavesTheMainListAlone)
{
    w.extract("旅行");
    w.list(1).clearCurrent();
    w.cards.newCard(); // appended to the extraction list, selected alone
    const QString key = w.store(1).at(2).key;
    w.cards.deleteCards();
    EXPECT_EQ(keysOf(w.store(1)), QStringList({"K0", "K3"}));
    EXPECT_EQ(w.store(0).count(), 5);
    EXPECT_FALSE(w.search.extraction().isNewCard(key));

    w.commands.trigger(Cmd::EndExtraction);
    EXPECT_EQ(keysOf(w.store(0)), QStringList({"K0", "K1", "K2", "K3", "K4"}));
}

TEST_F(CardCommandsTest, DeleteMixedInExtractionModeRemovesOnlyTheOriginalsFromTheMainList)
{
    w.extract("旅行");
    w.list(1).clearCurrent();
    w.cards.newCard();
    w.select({0, 2}, 1); // K0 and the new card
    w.cards.deleteCards();
    EXPECT_EQ(keysOf(w.store(1)), QStringList({"K3"}));
    EXPECT_EQ(keysOf(w.store(0)), QStringList({"K1", "K2", "K3", "K4"}));
}

// ---------------------------------------------------------------- clipboard

TEST_F(CardCommandsTest, CopyPutsTheRecordsOfTheSelectedCardsInListOrder)
{
    w.store().reset({makeCard("A", "2001/05/03：Work＠Memo", "r", "x"), makeCard("B", "plain", "", ""),
                     makeCard("C", "skipped", "", "y")});
    w.select({1, 0});
    w.commands.trigger(Cmd::Copy);
    const QString expected = "@\r\n2001/05/03：Work＠Memo - r\r\n" + Separator + "\r\nx\r\n" + EndLine + "\r\n"
                             + "@\r\n2001/05/03：plain\r\n" + Separator + "\r\n\r\n" + EndLine + "\r\n";
    EXPECT_EQ(clipboard.content, expected);
    EXPECT_EQ(w.list(0).currentRow(), 0);
    EXPECT_EQ(w.store().count(), 3);
    EXPECT_FALSE(w.document.IsModified());
}

TEST_F(CardCommandsTest, CopyWithoutSelectionLeavesTheClipboard)
{
    clipboard.content = QStringLiteral("before");
    w.list(0).setCurrentRow(1);
    w.cards.copy();
    w.cards.copyContentOnly();
    EXPECT_EQ(clipboard.writes, 0);
    EXPECT_EQ(clipboard.content, QStringLiteral("before"));
}

TEST_F(CardCommandsTest, CopyContentOnlyTakesTheCurrentCardAlone)
{
    w.select({0, 1, 4});
    w.list(0).setCurrentRow(4);
    w.commands.trigger(Cmd::CopyContentOnly);
    EXPECT_EQ(clipboard.content, QStringLiteral("予算"));
}

TEST_F(CardCommandsTest, ClipboardCommandsWithoutAClipboardKeepTheCards)
{
    Services none{&dialogs, &shell, nullptr, nullptr, nullptr, &clock};
    Window other(none);
    other.store().reset({makeCard("A", "a")});
    other.select({0});
    other.cards.copy();
    other.cards.cut();
    EXPECT_EQ(other.store().count(), 1);
    EXPECT_FALSE(other.document.IsModified());
    EXPECT_EQ(other.cards.paste(), 0);
}

TEST_F(CardCommandsTest, CutAndPasteCarryCardsToAnotherWindow)
{
    Window other(services);
    other.store().reset({makeCard("X0", "あ"), makeCard("X1", "い")});
    other.list(0).setCurrentRow(1);

    w.select({1, 4});
    w.commands.trigger(Cmd::Cut);
    EXPECT_TRUE(dialogs.records.isEmpty()); // no question
    EXPECT_EQ(keysOf(w.store()), QStringList({"K0", "K2", "K3"}));
    EXPECT_TRUE(w.document.IsModified());

    EXPECT_TRUE(other.commands.trigger(Cmd::Paste));
    other.settle();
    // Before the current card (InsertCardAtNextCard 0), in their order,
    // selected; the date the transfer text carries is dropped.
    EXPECT_EQ(titlesOf(other.store()), QStringList({"あ", "仕事＠会議", "仕事＠報告", "い"}));
    const Card &pasted = other.store().at(1);
    EXPECT_EQ(pasted.remarks, QStringLiteral("本社"));
    EXPECT_EQ(pasted.content, QStringLiteral("予算の見直し\r\n"));
    EXPECT_EQ(pasted.icon, CardIcon::Changed);
    EXPECT_EQ(other.store().at(2).content, QStringLiteral("予算\r\n"));
    EXPECT_EQ(other.list(0).selectedRows(), rows({1, 2}));
    EXPECT_EQ(other.list(0).currentRow(), 3);
    EXPECT_TRUE(other.document.IsModified());
    EXPECT_NE(other.store().at(1).key, other.store().at(2).key);
    EXPECT_EQ(other.view.shownCards.last(), (std::pair<int, qsizetype>{0, 3}));
    EXPECT_GE(other.view.groupRebuilds, 1);
}

TEST_F(CardCommandsTest, CopyAndPasteBackWithAddDateInfoStampsToday)
{
    Window other(services);
    other.document.settings().setSwitch(SettingKey::AddDateInfo, true);
    other.document.settings().setInteger(SettingKey::InsertCardAtNextCard, 1);
    other.store().reset({makeCard("X0", "あ"), makeCard("X1", "い")});
    other.list(0).setCurrentRow(0);

    w.select({0});
    w.cards.copy();
    other.cards.paste();
    EXPECT_EQ(titlesOf(other.store()), QStringList({"あ", "2001/05/03：旅行＠京都", "い"}));
    EXPECT_EQ(other.store().at(1).content, QStringLiteral("金閣\r\n"));
}

TEST_F(CardCommandsTest, PasteWithoutCurrentCardAppendsAndShowsThePastedCards)
{
    clipboard.content = QStringLiteral("hello\r\nworld");
    w.list(0).clearCurrent();
    EXPECT_EQ(w.cards.paste(), 1);
    const Card &card = w.store().at(5);
    EXPECT_EQ(card.title, QStringLiteral("hello"));
    EXPECT_EQ(card.content, QStringLiteral("hello\r\nworld"));
    EXPECT_TRUE(card.remarks.isEmpty());
    EXPECT_EQ(w.view.shownCards.last(), (std::pair<int, qsizetype>{0, 5}));
}

TEST_F(CardCommandsTest, PastedPlainTextIsTitledByItsFirstLineStamped)
{
    setAddDateInfo(true);
    clipboard.content = QStringLiteral("hello\r\nworld");
    w.list(0).setCurrentRow(0);
    w.cards.paste();
    EXPECT_EQ(w.store().at(0).title, QStringLiteral("2001/05/03：hello"));
    EXPECT_EQ(w.store().at(0).content, QStringLiteral("hello\r\nworld"));
}

// The platform's clipboard usually gives LF line ends: plain text is still
// titled by its first line, and cards copied by another program come back
// as cards.
TEST_F(CardCommandsTest, PastedTextWithLineFeedsIsSplitAsWithCrLf)
{
    clipboard.content = QStringLiteral("foo\nbar\n");
    w.list(0).setCurrentRow(0);
    EXPECT_EQ(w.cards.paste(), 1);
    EXPECT_EQ(w.store().at(0).title, QStringLiteral("foo"));
    EXPECT_EQ(w.store().at(0).content, QStringLiteral("foo\r\nbar\r\n"));

    w.select({2});
    const Card original = w.store().at(2);
    w.cards.copy();
    QString copied = clipboard.content;
    copied.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    clipboard.content = copied;
    EXPECT_EQ(w.cards.paste(), 1);
    ASSERT_EQ(w.list(0).selectedRows().size(), 1);
    const Card &card = w.store().at(w.list(0).selectedRows().first());
    EXPECT_EQ(card.title, original.title);
    EXPECT_EQ(card.remarks, original.remarks);
    EXPECT_EQ(card.content, original.content);
}

TEST_F(CardCommandsTest, PasteRefusesTextWithTheFieldMark)
{
    clipboard.content = QStringLiteral("bad\x01text");
    w.select({0});
    EXPECT_EQ(w.cards.paste(), 0);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first().text,
              QStringLiteral("0x01コードの含まれた不正なデータです。\r\n\r\nバイナリデータは扱えません。"));
    EXPECT_EQ(dialogs.messages().first().icon, MsgIcon::Error);
    EXPECT_EQ(w.store().count(), 5);
    EXPECT_FALSE(w.document.IsModified());
    EXPECT_TRUE(w.list(0).isSelected(0));
}

TEST_F(CardCommandsTest, PasteOfNothingOnlyClearsTheSelection)
{
    clipboard.content.clear();
    w.select({0, 1});
    EXPECT_EQ(w.cards.paste(), 0);
    EXPECT_EQ(w.store().count(), 5);
    EXPECT_FALSE(w.list(0).hasSelection());
    EXPECT_FALSE(w.document.IsModified());
}

TEST_F(CardCommandsTest, PasteDoesNothingInExtractionMode)
{
    clipboard.content = QStringLiteral("hello");
    w.extract("旅行");
    EXPECT_FALSE(w.commands.isEnabled(Cmd::Paste));
    EXPECT_FALSE(w.commands.trigger(Cmd::Paste));
    EXPECT_EQ(w.cards.paste(), 0);
    EXPECT_EQ(w.store(1).count(), 2);
    EXPECT_EQ(w.store(0).count(), 5);

    w.commands.trigger(Cmd::EndExtraction);
    EXPECT_TRUE(w.commands.isEnabled(Cmd::Paste));
}

// ---------------------------------------------------------------- dates

TEST_F(CardCommandsTest, RemoveDateStripsThePrefixesOfTheSelectedCards)
{
    setAddDateInfo(false);
    w.select({0, 2, 3});
    w.list(0).setCurrentRow(4);
    w.commands.trigger(Cmd::RenewDate);

    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first().text, QStringLiteral("日付情報を削除します。\r\nよろしいですか？"));
    EXPECT_EQ(dialogs.messages().first().icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.messages().first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(titlesOf(w.store()), QStringList({"旅行＠京都", "仕事＠会議", "メモ", "旅行＠奈良", "仕事＠報告"}));
    // Only the cards that lost a prefix changed.
    EXPECT_EQ(iconsOf(w.store()), QList<int>({2, 1, 1, 2, 1}));
    EXPECT_EQ(w.list(0).currentRow(), 0);
    EXPECT_TRUE(w.document.IsModified());
}

TEST_F(CardCommandsTest, RenewDateGivesTheSelectedCardsTodaysPrefix)
{
    setAddDateInfo(true);
    w.select({0, 2, 3});
    w.cards.renewDate();
    EXPECT_EQ(dialogs.messages().first().text,
              QStringLiteral("日付情報が失われ、現在の日付がセットされます。\r\nよろしいですか？"));
    EXPECT_EQ(titlesOf(w.store()), QStringList({"2001/05/03：旅行＠京都", "仕事＠会議", "2001/05/03：メモ",
                                                "2001/05/03：旅行＠奈良", "仕事＠報告"}));
    EXPECT_EQ(iconsOf(w.store()), QList<int>({2, 1, 2, 2, 1}));
}

TEST_F(CardCommandsTest, RenewDateInAMyNoteFileUsesTheLongForm)
{
    setAddDateInfo(true);
    w.document.SetDocumentPath(QDir(cardsDir.path()).filePath(QStringLiteral("notes.stk")));
    w.select({0, 2});
    w.cards.renewDate();
    EXPECT_EQ(w.store().at(0).title, QStringLiteral("2001/05/03(14:05:09)［題］：旅行＠京都"));
    EXPECT_EQ(w.store().at(2).title, QStringLiteral("2001/05/03(14:05:09)［題］：メモ"));
}

TEST_F(CardCommandsTest, RenewDateAnsweredNoOrWithoutSelectionChangesNothing)
{
    w.cards.renewDate();
    EXPECT_TRUE(dialogs.records.isEmpty());

    w.select({0});
    dialogs.answers.enqueue(MsgAnswer::No);
    w.cards.renewDate();
    EXPECT_EQ(w.store().at(0).title, QStringLiteral("2001/05/06：旅行＠京都"));
    EXPECT_FALSE(w.document.IsModified());
}

TEST_F(CardCommandsTest, RenewDateActsOnTheExtractionList)
{
    w.extract("旅行");
    w.select({1}, 1);
    w.cards.renewDate();
    EXPECT_EQ(w.store(1).at(1).title, QStringLiteral("旅行＠奈良"));
    w.commands.trigger(Cmd::EndExtraction);
    EXPECT_EQ(w.store(0).at(3).title, QStringLiteral("旅行＠奈良"));
    EXPECT_EQ(w.store(0).at(0).title, QStringLiteral("2001/05/06：旅行＠京都"));
}

TEST_F(CardCommandsTest, RemoveAllDatePrefixesAsksThenStripsTheMainList)
{
    w.commands.trigger(Cmd::CutDateInfo);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first().text, QStringLiteral("全カードの日付情報が失われます。よろしいですか？"));
    EXPECT_EQ(dialogs.messages().first().icon, MsgIcon::Information);
    EXPECT_EQ(dialogs.messages().first().buttons, MsgButtons::YesNo);
    EXPECT_EQ(titlesOf(w.store()), QStringList({"旅行＠京都", "仕事＠会議", "メモ", "旅行＠奈良", "仕事＠報告"}));
    EXPECT_EQ(iconsOf(w.store()), QList<int>({2, 1, 1, 2, 1}));
    EXPECT_TRUE(w.document.IsModified());
}

TEST_F(CardCommandsTest, RemoveAllDatePrefixesAnsweredNoKeepsThem)
{
    dialogs.answers.enqueue(MsgAnswer::No);
    w.cards.cutDateInfo();
    EXPECT_EQ(w.store().at(0).title, QStringLiteral("2001/05/06：旅行＠京都"));
    EXPECT_FALSE(w.document.IsModified());
}

TEST_F(CardCommandsTest, RemoveAllDatePrefixesDuringExtractionSurvivesItsEnd)
{
    w.extract("旅行");
    w.cards.cutDateInfo();
    w.commands.trigger(Cmd::EndExtraction);
    EXPECT_EQ(w.store(0).at(0).title, QStringLiteral("旅行＠京都"));
    EXPECT_EQ(w.store(0).at(3).title, QStringLiteral("旅行＠奈良"));
}

// ---------------------------------------------------------------- remarks as address

TEST_F(CardCommandsTest, OpenRemarksHandsAnAddressToTheShell)
{
    w.store().setRemarks(1, QStringLiteral("http://example.com/a"));
    w.list(0).setCurrentRow(1);
    w.commands.trigger(Cmd::OpenRemarksUrl);
    EXPECT_EQ(shell.opened, QStringList({"http://example.com/a"}));
}

TEST_F(CardCommandsTest, OpenRemarksOpensAnExistingFileOnly)
{
    const QString file = QDir(cardsDir.path()).filePath(QStringLiteral("doc.txt"));
    ASSERT_TRUE(Sandbox::writeBytes(file, "x"));
    w.store().setRemarks(0, file);
    w.store().setRemarks(1, file + QStringLiteral(".missing"));
    w.list(0).setCurrentRow(1);
    w.cards.openRemarksUrl();
    EXPECT_TRUE(shell.opened.isEmpty());
    w.list(0).setCurrentRow(0);
    w.cards.openRemarksUrl();
    EXPECT_EQ(shell.opened, QStringList({file}));
}

TEST_F(CardCommandsTest, OpenRemarksWithoutRemarksOrCardDoesNothing)
{
    w.list(0).setCurrentRow(2); // no remarks
    w.cards.openRemarksUrl();
    w.list(0).clearCurrent();
    w.cards.openRemarksUrl();
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_TRUE(dialogs.records.isEmpty());
}

// ---------------------------------------------------------------- content to a file

struct FileNameCase {
    const char *title;
    const char *remarks;
    const char *expected;
};

class ContentFileName : public ::testing::TestWithParam<FileNameCase>
{
};

TEST_P(ContentFileName, IsCleanedAndUndated)
{
    const FileNameCase &c = GetParam();
    EXPECT_EQ(CardCommands::contentFileName(QString::fromUtf8(c.title), QString::fromUtf8(c.remarks)),
              QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Names, ContentFileName,
                         ::testing::Values(FileNameCase{"2001/05/06：メモ", "", "メモ.txt"},
                                           FileNameCase{"2001/05/06(14:05:09)［題］：日記", "", "日記.txt"},
                                           FileNameCase{"題名", "2001/05/06：note", "note"},
                                           FileNameCase{"題名", "http://a/b?c", "http：／／a／b？c"},
                                           FileNameCase{"a*b<c>|d,e;f~g", "", "a＊b＜c＞｜d，e；f～g.txt"},
                                           FileNameCase{"C:x", "", "C:x.txt"},   // a colon within the first two stays
                                           FileNameCase{"a\\b", "", "a\\b.txt"}, // backslashes are kept
                                           FileNameCase{"2001/05/06：", "", "QLTデータ.txt"}, // only a date
                                           FileNameCase{"", "", "QLTデータ.txt"},
                                           FileNameCase{"題名", "..", "QLTデータ.txt"}),
                         [](const auto &test) { return "Case" + std::to_string(test.index); });

class WriteContentTest : public CardCommandsTest
{
protected:
    WriteContentTest()
    {
        w.store().reset({makeCard("A", "2001/05/06：メモ", "", "本文\r\n二行"), makeCard("B", "other", "", "y")});
        w.select({0});
        target = QDir(cardsDir.path()).filePath(QStringLiteral("out.txt"));
    }
    QString target;
};

TEST_F(WriteContentTest, WritesTheContentAndALineEndInWindows31J)
{
    dialogs.files.enqueue(target);
    EXPECT_TRUE(w.cards.copyContentToFile());

    ASSERT_EQ(dialogs.records.size(), 1);
    const FileRequest &request = dialogs.records.first().file;
    EXPECT_EQ(dialogs.records.first().kind, QStringLiteral("saveFile"));
    EXPECT_EQ(request.title, QStringLiteral("テキストファイルの書出"));
    EXPECT_EQ(request.filter, QStringLiteral("*.*|*.*"));
    EXPECT_EQ(request.startPath, QDir(cardsDir.path()).filePath(QStringLiteral("メモ.txt")));
    EXPECT_TRUE(request.promptOverwrite);
    EXPECT_EQ(Sandbox::readBytes(target), QByteArray("\x96{\x95\xb6\r\n\x93\xf1\x8ds\r\n"));
    EXPECT_FALSE(w.document.IsModified());
}

TEST_F(WriteContentTest, ReplacesAnExistingFile)
{
    ASSERT_TRUE(Sandbox::writeBytes(target, QByteArray(100, 'z')));
    w.select({1});
    dialogs.files.enqueue(target);
    EXPECT_TRUE(w.cards.copyContentToFile());
    EXPECT_EQ(Sandbox::readBytes(target), QByteArray("y\r\n"));
}

TEST_F(WriteContentTest, CancelEndsSilently)
{
    dialogs.files.enqueue(std::nullopt);
    EXPECT_FALSE(w.cards.copyContentToFile());
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_TRUE(QDir(cardsDir.path()).isEmpty());
}

TEST_F(WriteContentTest, NothingSelectedAsksNothing)
{
    w.list(0).ClearSelection();
    EXPECT_FALSE(w.cards.copyContentToFile());
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(WriteContentTest, UnmappableCharactersAreWrittenOnlyWhenAgreed)
{
    w.store().setContent(0, QStringLiteral("caf\u00e9"));
    dialogs.files.enqueue(target);
    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_FALSE(w.cards.copyContentToFile());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first().icon, MsgIcon::Warning);
    EXPECT_TRUE(dialogs.messages().first().text.startsWith(QStringLiteral("保存できない文字が1文字あります")));
    EXPECT_FALSE(QFile::exists(target));

    dialogs.files.enqueue(target);
    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(w.cards.copyContentToFile());
    EXPECT_EQ(Sandbox::readBytes(target), QByteArray("caf?\r\n"));
}

TEST_F(WriteContentTest, AFailedWriteIsReported)
{
    dialogs.files.enqueue(QDir(cardsDir.path()).filePath(QStringLiteral("missing/folder/out.txt")));
    EXPECT_FALSE(w.cards.copyContentToFile());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first().text, QStringLiteral("ファイルが書き込めません"));
    EXPECT_EQ(dialogs.messages().first().icon, MsgIcon::Error);
}

// ---------------------------------------------------------------- rename, print

TEST_F(CardCommandsTest, RenameStartsOnTheCurrentCardOfTheCurrentList)
{
    w.cards.rename();
    EXPECT_TRUE(w.view.renames.isEmpty());
    w.select({3});
    w.cards.rename(); // no current card: the selected one
    w.list(0).setCurrentRow(1);
    w.commands.trigger(Cmd::RenameCard);
    EXPECT_EQ(w.view.renames, (QList<std::pair<int, qsizetype>>{{0, 3}, {0, 1}}));

    w.extract("旅行");
    w.list(1).setCurrentRow(1);
    w.cards.rename();
    EXPECT_EQ(w.view.renames.last(), (std::pair<int, qsizetype>{1, 1}));
}

TEST_F(CardCommandsTest, ACommittedRenameChangesTheCard)
{
    EXPECT_TRUE(w.cards.commitRename(0, 2, QStringLiteral("買物＠メモ")));
    w.settle();
    EXPECT_EQ(w.store().at(2).title, QStringLiteral("買物＠メモ"));
    EXPECT_EQ(w.store().at(2).icon, CardIcon::Changed);
    EXPECT_TRUE(w.document.IsModified());
    EXPECT_EQ(w.view.groupRebuilds, 1);
    EXPECT_EQ(w.view.previews, 1);
}

TEST_F(CardCommandsTest, AnUnchangedRenameChangesNothing)
{
    EXPECT_FALSE(w.cards.commitRename(0, 2, QStringLiteral("メモ")));
    EXPECT_FALSE(w.cards.commitRename(0, 9, QStringLiteral("x")));
    EXPECT_EQ(w.store().at(2).icon, CardIcon::Saved);
    EXPECT_FALSE(w.document.IsModified());
}

TEST_F(CardCommandsTest, PrintShowsTheNotice)
{
    w.commands.trigger(Cmd::Print);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().first().text,
              QStringLiteral("QLT@WIN単体では印刷することはできません。\r\n"
                             "印刷したいカードを選択して、Ctrl+Bを押してください｡\r\n"
                             "オプション>基本設定で、ひな形を変更することでデザインを変更できます。"));
    EXPECT_EQ(dialogs.messages().first().icon, MsgIcon::Information);
    EXPECT_EQ(dialogs.messages().first().buttons, MsgButtons::Ok);
}

} // namespace
