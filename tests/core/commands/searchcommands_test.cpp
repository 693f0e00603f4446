// The search bar's, group list's and sort commands on a document without a
// window: the flows of search, extraction and its end, the prompted
// variants, group clicks and the group change, the sort commands.
#include "core/cards/nativeformat.h"
#include "core/commands/searchcommands.h"
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "core/search/searchtexts.h"
#include "core/settings/settingkeys.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/viewcontroller.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"
#include "support/searchtestutil.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The search bar and the group dialog answered from a script; what the
// window shows recorded from the signals of the document and the commands.
class RecordingSearchView : public SearchView
{
public:
    QString box;
    QStringList history;
    int keywordSelected = 0;
    bool extractionShown = false;
    QList<std::pair<int, qsizetype>> shownCards;
    QList<int> focused;
    // Announced changes to the active card list (what the preview follows).
    int previews = 0;
    QList<GroupList::Entry> groups;
    std::array<std::array<QString, 3>, 2> captions;
    // The answers of GroupChangeForm; an empty queue cancels.
    QList<std::optional<QString>> groupAnswers;
    QList<std::pair<QStringList, QString>> groupAsks;
    // What the box showed when the extraction list was shown.
    std::function<void()> onShowExtraction;

    QString keyword() const override { return box; }
    void setKeyword(const QString &keyword) override { box = keyword; }
    QStringList searchHistory() const override { return history; }
    void setSearchHistory(const QStringList &entries) override { history = entries; }
    void selectKeyword() override { ++keywordSelected; }
    void focusList(int list) override { focused.append(list); }
    std::optional<QString> askGroup(const QStringList &offered, const QString &text) override
    {
        groupAsks.append({offered, text});
        return groupAnswers.isEmpty() ? std::nullopt : groupAnswers.takeFirst();
    }

    void follow(Document &document, SearchCommands &search)
    {
        QObject::connect(&document, &Document::extractionChanged, &m_receiver, [this](bool shown) {
            extractionShown = shown;
            if (onShowExtraction)
                onShowExtraction();
        });
        QObject::connect(&document, &Document::cardShown, &m_receiver, [this](int list, qsizetype row) {
            shownCards.append({list, row});
        });
        QObject::connect(&document, &Document::listChanged, &m_receiver, [this, &document](int list) {
            if (list == document.ActiveListIndex())
                ++previews;
        });
        QObject::connect(&search, &SearchCommands::groupsChanged, &m_receiver,
                         [this](const QList<GroupList::Entry> &entries) { groups = entries; });
        QObject::connect(&search, &SearchCommands::captionsChanged, &m_receiver,
                         [this](int list, const std::array<QString, 3> &c) { captions[list] = c; });
    }

private:
    QObject m_receiver;
};

class SearchCommandsTest : public ::testing::Test, public FakeSystem
{
protected:
    SearchCommandsTest()
    {
        // A click on chkSeiki flips the box and stores it.
        viewState.setSettingWriter([this](const QString &key, const QVariant &value) {
            if (key == QLatin1String("SeikiHyougen"))
                stored.append(value.toInt());
        });
        commands.wire(Cmd::Paste, [] {});
        document.settings().loadGeneralSettings();
        document.cards().reset({
            makeCard("K0", "2001/05/06：旅行＠京都", "寺", "金閣"),
            makeCard("K1", "仕事＠会議", "本社", "予算の見直し"),
            makeCard("K2", "メモ", "", "買い物"),
            makeCard("K3", "2001/05/06(14:05:09)［題］：旅行＠奈良", "", "鹿"),
            makeCard("K4", "仕事＠報告", "支社", "予算"),
        });
        view.follow(document, search);
        search.wire();
    }

    // The changes to the card lists made so far, announced as the event
    // loop would announce them.
    void settle() { document.flushListChanges(); }

    CardList &mainList() { return document.lvData(0); }
    CardList &extractionList() { return document.lvData(1); }
    void extract(const char *keyword)
    {
        view.box = QString::fromUtf8(keyword);
        commands.trigger(Cmd::Extract);
    }
    const GroupList::Entry &group(const char *name)
    {
        for (const GroupList::Entry &e : view.groups)
            if (e.text == QString::fromUtf8(name))
                return e;
        static GroupList::Entry none;
        ADD_FAILURE() << "no group " << name;
        return none;
    }

    ScopedProgramFolder folder;
    QTemporaryDir cardsDir;
    Services services{&dialogs, nullptr, nullptr, nullptr, nullptr, &clock};
    Document document{services};
    MainCommands commands;
    MainViewController viewState{commands, services};
    RecordingSearchView view;
    QList<int> stored; // SeikiHyougen as the box stored it
    SearchCommands search{document, commands, viewState, view};
};

// ---------------------------------------------------------------- wiring

TEST_F(SearchCommandsTest, WiresEveryCommandItOwns)
{
    for (const QString &id : {QString(Cmd::SearchTop), QString(Cmd::SearchUp), QString(Cmd::SearchDown),
                              QString(Cmd::SearchTopPrompt), QString(Cmd::SearchDownPrompt), QString(Cmd::Extract),
                              QString(Cmd::ExtractPrompt), QString(Cmd::ExtractAndSelect), QString(Cmd::EndExtraction),
                              QString(Cmd::ChangeGroup), QString(Cmd::Sort), QString(Cmd::CancelSort)})
        EXPECT_TRUE(commands.isEnabled(id)) << id.toStdString();
}

// ---------------------------------------------------------------- search

TEST_F(SearchCommandsTest, SearchSelectsShowsAndFocusesTheCardAndRecordsTheKeyword)
{
    view.box = QStringLiteral("予算");
    commands.trigger(Cmd::SearchTop);
    EXPECT_EQ(mainList().selectedRows(), rows({1}));
    EXPECT_EQ(mainList().currentRow(), 1);
    EXPECT_EQ(view.shownCards.last(), (std::pair<int, qsizetype>{0, 1}));
    EXPECT_EQ(view.focused.last(), 0);
    EXPECT_EQ(view.history, QStringList({"予算"}));
    EXPECT_EQ(view.box, QStringLiteral("予算")); // search keeps the keyword

    commands.trigger(Cmd::SearchDown);
    EXPECT_EQ(mainList().currentRow(), 4);
    commands.trigger(Cmd::SearchDown);
    EXPECT_EQ(mainList().currentRow(), 4);
    EXPECT_TRUE(mainList().selectedRows().isEmpty());
    commands.trigger(Cmd::SearchUp);
    EXPECT_EQ(mainList().currentRow(), 1);
    EXPECT_EQ(view.history, QStringList({"予算"}));
}

TEST_F(SearchCommandsTest, AnEmptyKeywordDoesNothing)
{
    mainList().setSelected(2);
    view.box.clear();
    for (const char *id : {"SearchTop", "SearchUp", "SearchDown", "Extract"})
        commands.trigger(QString::fromLatin1(id));
    EXPECT_EQ(mainList().selectedRows(), rows({2}));
    EXPECT_TRUE(view.history.isEmpty());
    EXPECT_FALSE(document.extractionActive());
    EXPECT_TRUE(commands.isEnabled(Cmd::Paste));
}

TEST_F(SearchCommandsTest, SearchWorksOnTheExtractionListInExtractionMode)
{
    extract("旅行");
    view.box = QStringLiteral("奈良");
    commands.trigger(Cmd::SearchTop);
    EXPECT_EQ(extractionList().selectedRows(), rows({1}));
    EXPECT_EQ(view.shownCards.last(), (std::pair<int, qsizetype>{1, 1}));
    EXPECT_TRUE(mainList().selectedRows().isEmpty());
}

TEST_F(SearchCommandsTest, RegularExpressionModeFollowsTheBox)
{
    view.box = QStringLiteral("^仕事");
    commands.trigger(Cmd::SearchTop);
    EXPECT_EQ(mainList().currentRow(), -1); // as plain text nothing holds "^仕事"
    commands.trigger(Cmd::Regex);
    commands.trigger(Cmd::SearchTop);
    EXPECT_EQ(mainList().currentRow(), 1);
}

TEST_F(SearchCommandsTest, PromptedSearchAsksWithTheKeywordAsDefault)
{
    view.box = QStringLiteral("old");
    dialogs.inputs.enqueue(QStringLiteral("予算"));
    commands.trigger(Cmd::SearchDownPrompt);
    ASSERT_EQ(dialogs.records.size(), 1);
    EXPECT_EQ(dialogs.records[0].kind, QStringLiteral("inputBox"));
    EXPECT_EQ(dialogs.records[0].prompt, SearchTexts::SearchPrompt);
    EXPECT_EQ(dialogs.records[0].prompt, QStringLiteral("検索キーワードを指定してください。"));
    EXPECT_EQ(dialogs.records[0].defaultText, QStringLiteral("old"));
    EXPECT_EQ(view.box, QStringLiteral("予算"));
    EXPECT_EQ(mainList().currentRow(), 1);

    dialogs.inputs.enqueue(QStringLiteral("予算"));
    commands.trigger(Cmd::SearchDownPrompt);
    EXPECT_EQ(mainList().currentRow(), 4);
    dialogs.inputs.enqueue(QStringLiteral("予算"));
    commands.trigger(Cmd::SearchTopPrompt);
    EXPECT_EQ(mainList().currentRow(), 1);
}

TEST_F(SearchCommandsTest, CancellingThePromptChangesNothing)
{
    view.box = QStringLiteral("予算");
    mainList().setSelected(3);
    dialogs.inputs.enqueue(std::nullopt);
    commands.trigger(Cmd::SearchTopPrompt);
    dialogs.inputs.enqueue(std::nullopt);
    commands.trigger(Cmd::ExtractPrompt);
    EXPECT_EQ(view.box, QStringLiteral("予算"));
    EXPECT_EQ(mainList().selectedRows(), rows({3}));
    EXPECT_FALSE(document.extractionActive());
    EXPECT_TRUE(view.history.isEmpty());
    // An empty answer empties the keyword, and nothing runs.
    dialogs.inputs.enqueue(QString());
    commands.trigger(Cmd::SearchTopPrompt);
    EXPECT_TRUE(view.box.isEmpty());
    EXPECT_EQ(mainList().selectedRows(), rows({3}));
}

TEST_F(SearchCommandsTest, PromptedExtractionSelectsTheBoxThenExtracts)
{
    int selectedBeforeShowing = -1;
    view.onShowExtraction = [&] { selectedBeforeShowing = view.keywordSelected; };
    dialogs.inputs.enqueue(QStringLiteral("旅行"));
    commands.trigger(Cmd::ExtractPrompt);
    EXPECT_EQ(dialogs.records.last().prompt, QStringLiteral("抽出キーワードを指定してください。"));
    EXPECT_EQ(selectedBeforeShowing, 1);
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K0", "K3"}));
}

// ---------------------------------------------------------------- extraction

TEST_F(SearchCommandsTest, ExtractionShowsTheListDisablesPasteAndClearsTheBox)
{
    extract("旅行");
    settle();
    EXPECT_TRUE(document.extractionActive());
    EXPECT_EQ(document.ActiveListIndex(), 1);
    EXPECT_TRUE(view.extractionShown);
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K0", "K3"}));
    EXPECT_FALSE(commands.isEnabled(Cmd::Paste));
    EXPECT_TRUE(view.box.isEmpty());
    EXPECT_EQ(view.history, QStringList({"旅行"}));
    EXPECT_GE(view.previews, 1);

    // The same keyword again is not listed twice.
    extract("旅行");
    EXPECT_EQ(view.history, QStringList({"旅行"}));
}

TEST_F(SearchCommandsTest, ExtractingTwiceNarrows)
{
    extract("仕事");
    extract("支社");
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K4"}));
    EXPECT_EQ(view.history, QStringList({"支社", "仕事"}));
}

TEST_F(SearchCommandsTest, ACardCreatedInExtractionModeIsAddedWhenTheModeEnds)
{
    extract("仕事");
    extractionList().store().insert(0, makeCard("N1", "新規データ", "", "", 2));
    search.extraction().markNewCard("N1");
    extract("支社"); // narrowing writes back first
    EXPECT_EQ(keysOf(document.cards()), QStringList({"K0", "K1", "K2", "K3", "K4", "N1"}));
    commands.trigger(Cmd::EndExtraction);
    EXPECT_EQ(document.cards().count(), 6);
}

TEST_F(SearchCommandsTest, EndingExtractionKeepsEditsAndReselectsTheSelectedCards)
{
    mainList().setSelected(2);
    extract("予算");
    extractionList().store().setRemarks(1, QStringLiteral("本店"));
    extractionList().setSelected(1);
    extractionList().setCurrentRow(1);
    commands.trigger(Cmd::EndExtraction);

    EXPECT_FALSE(document.extractionActive());
    EXPECT_FALSE(view.extractionShown);
    EXPECT_TRUE(extractionList().store().isEmpty());
    EXPECT_EQ(document.cards().cardWithKey("K4")->remarks, QStringLiteral("本店"));
    EXPECT_EQ(mainList().selectedRows(), rows({4}));
    EXPECT_EQ(mainList().currentRow(), 4);
    EXPECT_EQ(view.shownCards.last(), (std::pair<int, qsizetype>{0, 4}));
    EXPECT_EQ(view.focused.last(), 0);
    EXPECT_TRUE(commands.isEnabled(Cmd::Paste));
}

TEST_F(SearchCommandsTest, EndingOutsideExtractionModeDoesNothing)
{
    mainList().setSelected(2);
    commands.trigger(Cmd::EndExtraction);
    EXPECT_EQ(mainList().selectedRows(), rows({2}));
    EXPECT_TRUE(view.focused.isEmpty());
}

TEST_F(SearchCommandsTest, TheDocumentLeavesExtractionModeThroughTheSameEnd)
{
    extract("旅行");
    extractionList().store().setContent(0, QStringLiteral("銀閣"));
    document.LeaveExtractionMode();
    EXPECT_FALSE(document.extractionActive());
    EXPECT_FALSE(view.extractionShown);
    EXPECT_EQ(document.cards().at(0).content, QStringLiteral("銀閣"));
    EXPECT_TRUE(commands.isEnabled(Cmd::Paste));
}

TEST_F(SearchCommandsTest, SavingInExtractionModeWritesTheEditsOfTheExtractionList)
{
    FileCommands files(document);
    const QString path = cardsDir.filePath(QStringLiteral("memo.qlw"));
    document.SetDocumentPath(path);
    extract("旅行");
    extractionList().store().setContent(1, QStringLiteral("若草山"));
    ASSERT_TRUE(files.Save());
    EXPECT_FALSE(document.extractionActive());
    CardStore read;
    ASSERT_TRUE(ReadNativeFile(path, read).ok);
    EXPECT_EQ(read.at(3).content, QStringLiteral("若草山"));
}

TEST_F(SearchCommandsTest, CtrlEnterExtractsThenSelectsTheBox)
{
    view.box = QStringLiteral("旅行");
    commands.trigger(Cmd::ExtractAndSelect);
    EXPECT_TRUE(document.extractionActive());
    EXPECT_EQ(view.keywordSelected, 1);
}

TEST_F(SearchCommandsTest, ARejectedPatternExtractsNothingWithoutAMessage)
{
    commands.trigger(Cmd::Regex);
    extract("予算(");
    EXPECT_TRUE(document.extractionActive());
    EXPECT_TRUE(extractionList().store().isEmpty());
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(SearchCommandsTest, AFreshExtractionTakesTheExtractionListsSort)
{
    search.headerClicked(1, 2); // the extraction list alone, by content
    extract("予算");
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K4", "K1"}));
}

// ---------------------------------------------------------------- group list

TEST_F(SearchCommandsTest, TheGroupListIsRebuiltFromTheMainCardList)
{
    search.rebuildGroupList();
    QStringList texts;
    for (const GroupList::Entry &e : view.groups)
        texts.append(e.text);
    EXPECT_EQ(texts, QStringList({"全て", "旅行", "仕事"}));
}

TEST_F(SearchCommandsTest, AGroupClickExtractsTheGroupAndRestoresTheBox)
{
    search.rebuildGroupList();
    search.groupClicked(group("旅行").key);
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K0", "K3"}));
    EXPECT_FALSE(commands.isChecked(Cmd::Regex));
    // Ticked for the click and cleared again, each stored.
    EXPECT_EQ(stored, QList<int>({1, 0}));
    EXPECT_EQ(view.history, QStringList({GroupList::Pattern(QStringLiteral("旅行"))}));
    EXPECT_TRUE(view.box.isEmpty());
}

TEST_F(SearchCommandsTest, AGroupClickWithTheBoxTickedLeavesItTicked)
{
    commands.trigger(Cmd::Regex);
    stored.clear();
    search.rebuildGroupList();
    search.groupClicked(group("仕事").key);
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K1", "K4"}));
    EXPECT_TRUE(commands.isChecked(Cmd::Regex));
    EXPECT_TRUE(stored.isEmpty());
}

TEST_F(SearchCommandsTest, AGroupClickInExtractionModeNarrows)
{
    extract("予算");
    search.rebuildGroupList();
    search.groupClicked(group("仕事").key);
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K1", "K4"}));
    search.groupClicked(group("旅行").key);
    EXPECT_TRUE(extractionList().store().isEmpty());
}

TEST_F(SearchCommandsTest, AllCardsEndsExtractionAndDoesNothingOutsideIt)
{
    search.rebuildGroupList();
    mainList().setSelected(1);
    search.groupClicked(QStringLiteral("Root"));
    EXPECT_FALSE(document.extractionActive());
    EXPECT_EQ(mainList().selectedRows(), rows({1}));
    EXPECT_TRUE(view.history.isEmpty());
    EXPECT_TRUE(stored.isEmpty()); // not even the box was touched

    search.groupClicked(group("旅行").key);
    ASSERT_TRUE(document.extractionActive());
    search.groupClicked(QStringLiteral("Root"));
    EXPECT_FALSE(document.extractionActive());
    EXPECT_FALSE(commands.isChecked(Cmd::Regex));
}

TEST_F(SearchCommandsTest, TheNotGroupKeyExtractsTheCardsWithoutAGroup)
{
    search.groupClicked(QStringLiteral("notGroup"));
    EXPECT_EQ(keysOf(extractionList().store()), QStringList({"K2"}));
    EXPECT_FALSE(commands.isChecked(Cmd::Regex));
}

TEST_F(SearchCommandsTest, AnUnknownKeyDoesNothing)
{
    search.groupClicked(QStringLiteral("Key99999999"));
    EXPECT_FALSE(document.extractionActive());
    EXPECT_FALSE(commands.isChecked(Cmd::Regex));
}

// ---------------------------------------------------------------- group change

TEST_F(SearchCommandsTest, GroupChangeMovesTheSelectedCardsAndRebuildsTheList)
{
    mainList().setSelected(0);
    mainList().setSelected(2);
    view.groupAnswers = {QStringLiteral("仕事")};
    commands.trigger(Cmd::ChangeGroup);
    settle();
    ASSERT_EQ(view.groupAsks.size(), 1);
    EXPECT_EQ(view.groupAsks[0].first, QStringList({"旅行", "仕事"}));
    EXPECT_EQ(view.groupAsks[0].second, QString());
    EXPECT_EQ(document.cards().at(0).title, QStringLiteral("2001/05/06：仕事＠京都"));
    EXPECT_EQ(document.cards().at(2).title, QStringLiteral("仕事＠メモ"));
    EXPECT_EQ(document.cards().at(3).title, QStringLiteral("2001/05/06(14:05:09)［題］：旅行＠奈良"));
    EXPECT_EQ(mainList().currentRow(), 0);
    EXPECT_TRUE(document.IsModified());
    QStringList texts;
    for (const GroupList::Entry &e : view.groups)
        texts.append(e.text);
    EXPECT_EQ(texts, QStringList({"全て", "仕事", "旅行"}));
    EXPECT_GE(view.previews, 1);
}

TEST_F(SearchCommandsTest, AGroupWithTheMarkIsRefusedAndAskedAgain)
{
    mainList().setSelected(1);
    view.groupAnswers = {QStringLiteral("a＠b"), QStringLiteral("c＠"), QString()};
    commands.trigger(Cmd::ChangeGroup);
    ASSERT_EQ(dialogs.messages().size(), 2);
    for (const MessageRequest &m : dialogs.messages()) {
        EXPECT_EQ(m.text, QStringLiteral("「＠」を含めることはできません。"));
        EXPECT_EQ(m.icon, MsgIcon::Information);
        EXPECT_EQ(m.buttons, MsgButtons::Ok);
    }
    ASSERT_EQ(view.groupAsks.size(), 3);
    EXPECT_EQ(view.groupAsks[1].second, QStringLiteral("a＠b")); // shown again as typed
    // The empty group takes the card out of its group.
    EXPECT_EQ(document.cards().at(1).title, QStringLiteral("会議"));
}

TEST_F(SearchCommandsTest, CancellingTheGroupChangeChangesNothing)
{
    mainList().setSelected(1);
    view.groupAnswers = {QStringLiteral("a＠b")};
    commands.trigger(Cmd::ChangeGroup); // refused, then cancelled
    EXPECT_EQ(document.cards().at(1).title, QStringLiteral("仕事＠会議"));
    EXPECT_FALSE(document.IsModified());
}

TEST_F(SearchCommandsTest, AGroupChangeThatChangesNoTitleLeavesTheFlag)
{
    mainList().setSelected(2);
    view.groupAnswers = {QString()};
    commands.trigger(Cmd::ChangeGroup);
    EXPECT_EQ(document.cards().at(2).title, QStringLiteral("メモ"));
    EXPECT_FALSE(document.IsModified());
}

TEST_F(SearchCommandsTest, GroupChangeInExtractionModeActsOnTheExtractionList)
{
    extract("旅行");
    extractionList().setSelected(1);
    view.groupAnswers = {QStringLiteral("日記")};
    commands.trigger(Cmd::ChangeGroup);
    EXPECT_EQ(extractionList().store().at(1).title, QStringLiteral("2001/05/06(14:05:09)［題］：日記＠奈良"));
    EXPECT_EQ(document.cards().at(3).title, QStringLiteral("2001/05/06(14:05:09)［題］：旅行＠奈良"));
    commands.trigger(Cmd::EndExtraction);
    EXPECT_EQ(document.cards().at(3).title, QStringLiteral("2001/05/06(14:05:09)［題］：日記＠奈良"));
}

// ---------------------------------------------------------------- sorting

TEST_F(SearchCommandsTest, SortCommandsReachBothListsAndShowTheCaptions)
{
    extract("＠");
    commands.trigger(Cmd::Sort);
    EXPECT_EQ(view.captions[0][0], QStringLiteral("題名▽"));
    EXPECT_EQ(view.captions[1][0], QStringLiteral("題名▽"));
    EXPECT_EQ(keysOf(extractionList().store()).first(), QStringLiteral("K0"));
    EXPECT_EQ(keysOf(document.cards()).first(), QStringLiteral("K0"));
    // Cancel acts on the current list, here the extraction list.
    commands.trigger(Cmd::CancelSort);
    EXPECT_EQ(view.captions[1][0], QStringLiteral("題名"));
    EXPECT_EQ(view.captions[0][0], QStringLiteral("題名▽"));
    EXPECT_TRUE(search.sorting().state(0).sorted);
}

TEST_F(SearchCommandsTest, SortingReordersTheDocumentAndSaveWritesThatOrder)
{
    FileCommands files(document);
    const QString path = cardsDir.filePath(QStringLiteral("sorted.qlw"));
    document.SetDocumentPath(path);
    search.headerClicked(0, 2); // by content
    commands.trigger(Cmd::CancelSort);
    ASSERT_TRUE(files.Save());
    CardStore read;
    ASSERT_TRUE(ReadNativeFile(path, read).ok);
    QStringList contents;
    for (const Card &c : read.cards())
        contents.append(c.content);
    QStringList expected;
    for (const Card &c : document.cards().cards())
        expected.append(c.content);
    EXPECT_EQ(contents, expected);
    EXPECT_NE(keysOf(document.cards()), QStringList({"K0", "K1", "K2", "K3", "K4"}));
    // 予算 sorts right before the longer 予算の見直し.
    EXPECT_EQ(document.cards().indexOfKey("K1"), document.cards().indexOfKey("K4") + 1);
}

TEST_F(SearchCommandsTest, RefreshSortsASortedListAgain)
{
    search.headerClicked(0, 0);
    const QString last = document.cards().at(4).key;
    document.cards().setTitle(4, QStringLiteral("0"));
    search.refreshSort(0);
    EXPECT_EQ(document.cards().at(0).key, last);
}

TEST_F(SearchCommandsTest, AppliedSettingsRestoreTheStoredSort)
{
    AppliedSettings values;
    values.columnCaptions = {QStringLiteral("題名"), QStringLiteral("備考"), QStringLiteral("内容")};
    values.sort = AppliedSettings::SortAction::Restore;
    values.sortColumn = 1;
    values.sortStyle = 0;
    search.applySettings(values);
    EXPECT_EQ(view.captions[0][1], QStringLiteral("備考▽"));
    EXPECT_TRUE(search.sorting().state(1).sorted);
    values.sort = AppliedSettings::SortAction::Cancel;
    search.applySettings(values);
    EXPECT_EQ(view.captions[0][1], QStringLiteral("備考"));
}

} // namespace
