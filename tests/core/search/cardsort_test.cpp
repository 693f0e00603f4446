// Sorting: header clicks and their marks, NoSort, the sort and cancel
// commands, the stored sort and its restore, the collation.
#include "core/search/cardsort.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"

#include "support/sandbox.h"
#include "support/searchtestutil.h"

#include <QCollator>
#include <QDir>
#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

namespace {

using State = CardSorting::State;

std::array<QString, 3> captions(const char *a, const char *b, const char *c)
{
    return {QString::fromUtf8(a), QString::fromUtf8(b), QString::fromUtf8(c)};
}

class SortTest : public ::testing::Test
{
protected:
    SortTest() : settings(dir() + QStringLiteral("/QLTWIN.ini"))
    {
        settings.loadGeneralSettings();
        main.reset({
            makeCard("K0", "b", "3", "x"),
            makeCard("K1", "a", "1", "z"),
            makeCard("K2", "c", "2", "y"),
        });
        extraction.reset({makeCard("K2", "c", "2", "y"), makeCard("K1", "a", "1", "z")});
        sorting.setCaptions(captions("題名", "備考", "内容"));
        sorting.onCaptionsChanged = [this](int list) { ++captionChanges[list]; };
    }
    static QString dir()
    {
        static int n = 0;
        const QString d = Sandbox::root() + QStringLiteral("/sort%1").arg(++n);
        QDir().mkpath(d);
        return d;
    }
    void perFileSettings()
    {
        settings.loadFile(dir() + QStringLiteral("/memo.ini"));
        ASSERT_TRUE(settings.FileSettingsActive());
    }
    QString stored(const QString &key) { return settings.iniData().GetiniValue(key).toString(); }

    SettingsModel settings;
    CardStore main;
    CardStore extraction;
    CardSorting sorting{main, extraction, settings};
    int captionChanges[2] = {0, 0};
};

TEST_F(SortTest, ClickingTheTitleHeaderThreeTimesTurnsTheOrderRound)
{
    sorting.headerClicked(0, 0);
    EXPECT_EQ(titlesOf(main), QStringList({"a", "b", "c"}));
    EXPECT_EQ(sorting.captions(0), captions("題名▽", "備考", "内容"));
    EXPECT_EQ(sorting.state(0), (State{true, 0, 0}));

    sorting.headerClicked(0, 0);
    EXPECT_EQ(titlesOf(main), QStringList({"c", "b", "a"}));
    EXPECT_EQ(sorting.captions(0), captions("題名△", "備考", "内容"));

    sorting.headerClicked(0, 0);
    EXPECT_EQ(titlesOf(main), QStringList({"a", "b", "c"}));
    EXPECT_EQ(sorting.captions(0), captions("題名▽", "備考", "内容"));
}

TEST_F(SortTest, AnotherColumnAlwaysStartsAscendingAndTakesTheOnlyMark)
{
    sorting.headerClicked(0, 0);
    sorting.headerClicked(0, 0); // descending by title
    sorting.headerClicked(0, 1);
    EXPECT_EQ(keysOf(main), QStringList({"K1", "K2", "K0"}));
    EXPECT_EQ(sorting.captions(0), captions("題名", "備考▽", "内容"));
    sorting.headerClicked(0, 2);
    EXPECT_EQ(keysOf(main), QStringList({"K0", "K2", "K1"}));
    EXPECT_EQ(sorting.captions(0), captions("題名", "備考", "内容▽"));
}

TEST_F(SortTest, AClickOnTheMainListSortsTheExtractionListTheSameWay)
{
    sorting.headerClicked(0, 0);
    EXPECT_EQ(titlesOf(extraction), QStringList({"a", "c"}));
    EXPECT_EQ(sorting.captions(1), captions("題名▽", "備考", "内容"));
    sorting.headerClicked(0, 0);
    EXPECT_EQ(titlesOf(extraction), QStringList({"c", "a"}));
    EXPECT_EQ(sorting.state(1), (State{true, 0, 1}));
}

TEST_F(SortTest, AClickOnTheExtractionListSortsOnlyItAndStoresNothing)
{
    perFileSettings();
    sorting.headerClicked(1, 0);
    EXPECT_EQ(titlesOf(extraction), QStringList({"a", "c"}));
    EXPECT_EQ(titlesOf(main), QStringList({"b", "a", "c"}));
    EXPECT_FALSE(sorting.state(0).sorted);
    EXPECT_EQ(sorting.captions(0), captions("題名", "備考", "内容"));
    EXPECT_EQ(stored(SettingKey::SortColumn), QStringLiteral("-1"));
}

TEST_F(SortTest, NoSortStopsHeaderClicksOnTheMainListOnly)
{
    settings.setInteger(SettingKey::NoSort, 1);
    sorting.headerClicked(0, 0);
    EXPECT_EQ(titlesOf(main), QStringList({"b", "a", "c"}));
    EXPECT_FALSE(sorting.state(0).sorted);
    EXPECT_EQ(sorting.captions(0), captions("題名", "備考", "内容"));
    EXPECT_EQ(titlesOf(extraction), QStringList({"c", "a"}));

    sorting.headerClicked(1, 0);
    EXPECT_EQ(titlesOf(extraction), QStringList({"a", "c"}));
    EXPECT_EQ(sorting.captions(1), captions("題名▽", "備考", "内容"));

    sorting.sortCommand();
    EXPECT_EQ(titlesOf(main), QStringList({"b", "a", "c"}));
}

TEST_F(SortTest, TheSortIsStoredOnlyWhilePerFileSettingsAreActive)
{
    sorting.headerClicked(0, 2);
    EXPECT_EQ(stored(SettingKey::SortColumn), QStringLiteral("-1")); // the general default
    perFileSettings();
    sorting.headerClicked(0, 2); // the second click on the column: descending
    EXPECT_EQ(stored(SettingKey::SortColumn), QStringLiteral("2"));
    EXPECT_EQ(stored(SettingKey::SortStyle), QStringLiteral("1"));
    sorting.cancelSort(0);
    EXPECT_EQ(stored(SettingKey::SortColumn), QStringLiteral("-1"));
    EXPECT_EQ(stored(SettingKey::SortStyle), QStringLiteral("0"));
    sorting.sortCommand();
    EXPECT_EQ(stored(SettingKey::SortColumn), QStringLiteral("0"));
    EXPECT_EQ(stored(SettingKey::SortStyle), QStringLiteral("0"));
}

TEST_F(SortTest, SortCommandSortsBothListsAscendingByTitle)
{
    sorting.headerClicked(0, 1);
    sorting.sortCommand();
    EXPECT_EQ(titlesOf(main), QStringList({"a", "b", "c"}));
    EXPECT_EQ(titlesOf(extraction), QStringList({"a", "c"}));
    for (int list = 0; list < 2; ++list) {
        EXPECT_EQ(sorting.captions(list), captions("題名▽", "備考", "内容"));
        EXPECT_EQ(sorting.state(list), (State{true, 0, 0}));
    }
}

TEST_F(SortTest, CancelKeepsTheSortedOrderAndRemovesTheMarksOfThatListOnly)
{
    sorting.headerClicked(0, 0);
    sorting.cancelSort(0);
    EXPECT_EQ(titlesOf(main), QStringList({"a", "b", "c"}));
    EXPECT_FALSE(sorting.state(0).sorted);
    EXPECT_EQ(sorting.captions(0), captions("題名", "備考", "内容"));
    EXPECT_TRUE(sorting.state(1).sorted);
    EXPECT_EQ(sorting.captions(1), captions("題名▽", "備考", "内容"));
    // The next click on the same column starts ascending again.
    main.reorder({2, 1, 0});
    sorting.headerClicked(0, 0);
    EXPECT_EQ(titlesOf(main), QStringList({"a", "b", "c"}));
    EXPECT_EQ(sorting.captions(0), captions("題名▽", "備考", "内容"));
}

TEST_F(SortTest, ACaptionEndingInAMarkLosesItOnTheNextSortChange)
{
    sorting.setCaptions(captions("題名▽", "備考△", "内容"));
    EXPECT_EQ(sorting.captions(0), captions("題名▽", "備考△", "内容"));
    sorting.headerClicked(0, 2);
    EXPECT_EQ(sorting.captions(0), captions("題名", "備考", "内容▽"));
    // Only one final mark is removed.
    sorting.setCaptions(captions("題名▽▽", "備考", "内容"));
    sorting.headerClicked(0, 1);
    EXPECT_EQ(sorting.captions(0), captions("題名▽", "備考▽", "内容"));
}

TEST_F(SortTest, RestoreSortsBothListsByTheStoredColumnAndStyle)
{
    sorting.restore(2, 1);
    EXPECT_EQ(keysOf(main), QStringList({"K1", "K2", "K0"}));
    EXPECT_EQ(keysOf(extraction), QStringList({"K1", "K2"}));
    for (int list = 0; list < 2; ++list) {
        EXPECT_EQ(sorting.captions(list), captions("題名", "備考", "内容△"));
        EXPECT_EQ(sorting.state(list), (State{true, 2, 1}));
    }
}

TEST_F(SortTest, RestoringColumnMinusOneLeavesBothListsUnsortedAndUnmarked)
{
    sorting.restore(-1, 0);
    sorting.restore(3, 0);
    EXPECT_EQ(keysOf(main), QStringList({"K0", "K1", "K2"}));
    for (int list = 0; list < 2; ++list) {
        EXPECT_FALSE(sorting.state(list).sorted);
        EXPECT_EQ(sorting.captions(list), captions("題名", "備考", "内容"));
    }
}

TEST_F(SortTest, ApplyingSettingsTakesTheCaptionsThenRestoresOrCancels)
{
    AppliedSettings values;
    values.columnCaptions = captions("Title", "Note", "Body");
    values.sort = AppliedSettings::SortAction::Restore;
    values.sortColumn = 0;
    values.sortStyle = 1;
    sorting.applySettings(values, 0);
    EXPECT_EQ(titlesOf(main), QStringList({"c", "b", "a"}));
    EXPECT_EQ(sorting.captions(0), captions("Title△", "Note", "Body"));
    EXPECT_EQ(sorting.captions(1), captions("Title△", "Note", "Body"));

    values.sort = AppliedSettings::SortAction::Cancel;
    sorting.applySettings(values, 0);
    EXPECT_FALSE(sorting.state(0).sorted);
    EXPECT_EQ(sorting.captions(0), captions("Title", "Note", "Body"));
    // The extraction list stays sorted and shows its mark on the new captions.
    EXPECT_TRUE(sorting.state(1).sorted);
    EXPECT_EQ(sorting.captions(1), captions("Title△", "Note", "Body"));
}

TEST_F(SortTest, ResortReestablishesTheOrderAfterEdits)
{
    sorting.headerClicked(0, 0);
    main.setTitle(0, QStringLiteral("z"));
    main.append(makeCard("K9", "0"));
    EXPECT_EQ(titlesOf(main), QStringList({"z", "b", "c", "0"}));
    sorting.resort(0);
    EXPECT_EQ(titlesOf(main), QStringList({"0", "b", "c", "z"}));
    sorting.cancelSort(0);
    main.setTitle(0, QStringLiteral("y"));
    sorting.resort(0);
    EXPECT_EQ(titlesOf(main).first(), QStringLiteral("y"));
}

TEST_F(SortTest, ListenersHearOfEveryCaptionChange)
{
    captionChanges[0] = captionChanges[1] = 0;
    sorting.headerClicked(0, 0);
    EXPECT_EQ(captionChanges[0], 1);
    EXPECT_EQ(captionChanges[1], 1);
    sorting.headerClicked(1, 1);
    EXPECT_EQ(captionChanges[1], 2);
}

// ---------------------------------------------------------------- collation

TEST(SortCardStore, IgnoresCaseAndKeepsEqualTextsInTheirOrder)
{
    CardStore store;
    store.reset({makeCard("1", "b"), makeCard("2", "B"), makeCard("3", "a"), makeCard("4", "b"), makeCard("5", "A")});
    SortCardStore(store, 0, Qt::AscendingOrder);
    EXPECT_EQ(keysOf(store), QStringList({"3", "5", "1", "2", "4"}));
    SortCardStore(store, 0, Qt::DescendingOrder);
    EXPECT_EQ(keysOf(store), QStringList({"1", "2", "4", "3", "5"}));
}

TEST(SortCardStore, OrdersJapaneseTextByTheJapaneseCollation)
{
    CardStore store;
    store.reset(cardsTitled({"さくら", "あさひ", "漢字", "かめ", "Zebra", "apple", "10", "2"}));
    SortCardStore(store, 0, Qt::AscendingOrder);
    const QStringList t = titlesOf(store);
    // Digits, then Latin letters, then kana in gojūon order, then kanji.
    EXPECT_EQ(t, QStringList({"10", "2", "apple", "Zebra", "あさひ", "かめ", "さくら", "漢字"}));
}

TEST(SortCardStore, AnOrderThatHoldsAlreadyLeavesTheStoreAlone)
{
    CardStore store;
    store.reset(cardsTitled({"a", "b", "c"}));
    int layouts = 0;
    QObject::connect(&store, &QAbstractItemModel::layoutChanged, [&] { ++layouts; });
    SortCardStore(store, 0, Qt::AscendingOrder);
    EXPECT_EQ(layouts, 0);
    SortCardStore(store, 0, Qt::DescendingOrder);
    EXPECT_EQ(layouts, 1);
}

} // namespace

TEST_F(SortTest, AFreshExtractionIsSortedUnlessTakenInOrderFromASortedMainList)
{
    sorting.headerClicked(CardSorting::MainList, 0);
    ASSERT_EQ(titlesOf(main), (QStringList{"a", "b", "c"}));
    // Taken in the main card list's order: already in the order shown.
    extraction.reset({main.at(0), main.at(2)});
    sorting.resortFreshExtraction();
    EXPECT_EQ(titlesOf(extraction), (QStringList{"a", "c"}));

    // An edit breaks the main card list's order: the fresh list is sorted.
    main.setTitle(0, QStringLiteral("d"));
    extraction.reset({main.at(0), main.at(1)});
    sorting.resortFreshExtraction();
    EXPECT_EQ(titlesOf(extraction), (QStringList{"b", "d"}));

    // A removal keeps the order.
    sorting.headerClicked(CardSorting::MainList, 0); // descending: d c b
    main.remove(1);
    extraction.reset({main.at(0), main.at(1)});
    sorting.resortFreshExtraction();
    EXPECT_EQ(titlesOf(extraction), (QStringList{"d", "b"}));
}

namespace {

// Sorts cards by title both ways and compares with QCollator's order (a
// stable sort by its keys: equal texts keep their order). The report of the
// ascending sort is returned.
SortCardStoreReport expectCollatorOrder(const QList<Card> &cards)
{
    QCollator collator{QLocale(QLocale::Japanese)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(cards.size()));
    for (const Card &card : cards)
        keys.push_back(collator.sortKey(card.title));
    SortCardStoreReport report;
    for (const Qt::SortOrder order : {Qt::AscendingOrder, Qt::DescendingOrder}) {
        std::vector<qsizetype> expected(std::size_t(cards.size()));
        std::iota(expected.begin(), expected.end(), qsizetype(0));
        std::stable_sort(expected.begin(), expected.end(), [&](qsizetype a, qsizetype b) {
            const int c = keys[std::size_t(a)].compare(keys[std::size_t(b)]);
            return order == Qt::AscendingOrder ? c < 0 : c > 0;
        });
        CardStore store;
        store.reset(cards);
        SortCardStoreReport r;
        SortCardStore(store, 0, order, &r);
        if (order == Qt::AscendingOrder)
            report = r;
        int shown = 0;
        for (qsizetype i = 0; i < store.count() && shown < 5; ++i) {
            const Card &want = cards[expected[std::size_t(i)]];
            if (store.at(i).key != want.key) {
                ADD_FAILURE() << (order == Qt::AscendingOrder ? "ascending" : "descending") << " row " << i << ": "
                              << qPrintable(store.at(i).title) << " (" << qPrintable(store.at(i).key) << ") where "
                              << qPrintable(want.title) << " (" << qPrintable(want.key) << ") belongs";
                ++shown;
            }
        }
    }
    return report;
}

QList<Card> cardsOf(const QStringList &titles)
{
    QList<Card> cards;
    cards.reserve(titles.size());
    for (qsizetype i = 0; i < titles.size(); ++i)
        cards.append(makeCard(QStringLiteral("K%1").arg(i), titles[i]));
    return cards;
}

} // namespace

TEST(SortCardStore, OrdersAsTheJapaneseCollatorOfQtDoes)
{
    // Texts of every kind, many sharing long beginnings, some equal but
    // for case or width.
    const QStringList pieces{
        "a", "B", "ｂ", "Ａ", "あ", "ア", "ｱ", "か", "が", "カ", "ｶﾞ", "亜", "会議", "会議室", "1", "１", "10", "2",
        "-", " ", "・", "＠", "ー", "東京", "とうきょう", "ß", "é", "E", "z", "Ω", "ω", "",
        // Characters whose weights depend on their neighbours: prolonged
        // sound and iteration marks after kana, combining marks,
        // contractions, surrogate pairs, unpaired surrogates.
        "ゝ", "ゞ", "ヽ", "ヾ", "ｰ", "ﾞ", "\u3099", "\u309A", "e\u0301", "\u0301", "l·", "L·", "เก", "ก", "เ", "가",
        "\u1100\u1161", "😀", "𠮷", "①", "㈱", "ｶ\uFF9E", "\xef\xbf\xbe", "\t", "髙", "﨑"};
    QRandomGenerator rng(7);
    QList<Card> cards;
    for (int i = 0; i < 6000; ++i) {
        QString title;
        const int parts = rng.bounded(7);
        if (rng.bounded(3) == 0)
            title = QStringLiteral("2024/02/0%1：").arg(rng.bounded(10));
        for (int p = 0; p < parts; ++p)
            title += pieces[rng.bounded(int(pieces.size()))];
        if (rng.bounded(50) == 0)
            title += QChar(0xD800 + rng.bounded(0x800)); // an unpaired surrogate
        cards.append(makeCard(QStringLiteral("K%1").arg(i), title));
    }
    expectCollatorOrder(cards);
}

TEST(SortCardStore, OrdersCharactersThatDependOnTheirNeighboursAsQtDoes)
{
    // Every text of up to three of these: the prolonged sound mark and the
    // iteration marks take the weight of the kana before them, combining
    // marks join the letter before them, Thai vowels swap with the
    // consonant after them.
    const QStringList alphabet{"カ", "ー",     "ア", "イ", "ゝ", "か", "が", "\u3099",
                               "e",  "\u0301", "l",  "·",  "เ",  "ก",  "a"};
    QList<Card> cards;
    int n = 0;
    for (const QString &a : alphabet)
        for (const QString &b : alphabet)
            for (const QString &c : alphabet)
                cards.append(makeCard(QStringLiteral("K%1").arg(n++), a + b + c));
    expectCollatorOrder(cards);
}

TEST(SortCardStore, RepeatedTextsSortAsTheCollatorSaysAndKeepTheirOrder)
{
    // Few texts repeated many times, texts equal but for case or width among
    // them; then as many different texts first and the repeats after them.
    const QStringList few{"会議", "かいぎ", "カイギ", "a", "A", "ａ", "", "2024/02/01：日記", "2024/02/01：日記 "};
    QRandomGenerator rng(11);
    QList<Card> repeated;
    QList<Card> differentFirst;
    for (int i = 0; i < 9000; ++i) {
        const QByteArray key = QStringLiteral("K%1").arg(i).toUtf8();
        repeated.append(makeCard(key.constData(), few[rng.bounded(int(few.size()))].toUtf8().constData()));
        const QString title = i < 5000 ? QStringLiteral("題%1").arg(rng.bounded(1000000)) : few[i % few.size()];
        differentFirst.append(makeCard(key.constData(), title.toUtf8().constData()));
    }
    expectCollatorOrder(repeated);
    expectCollatorOrder(differentFirst);
}

namespace {

// Units of every kind the collation treats apart: kana small and voiced,
// the prolonged sound and iteration marks, half-width kana and their voicing
// marks, kanji, Latin of both cases and widths, digits, punctuation and
// spaces, circled numbers, combining marks, decomposed and precomposed
// letters, Greek and Cyrillic (which the Japanese collation moves behind the
// kanji), Thai vowels that swap with the consonant after them, Hangul jamo
// and syllables, expansions long and short, noncharacters, characters above
// U+FFFF and unpaired surrogates.
const QStringList &richPieces()
{
    static const QStringList pieces = [] {
        QStringList p;
        for (const char16_t *s :
             {u"あ",     u"ぁ",     u"か",     u"が",        u"き",       u"ぎ", u"は",     u"ぱ",     u"ば",
              u"ゔ",     u"ゕ",     u"ん",     u"ア",        u"ァ",       u"カ", u"ガ",     u"ヴ",     u"ヵ",
              u"ン",     u"ー",     u"ゝ",     u"ゞ",        u"ヽ",       u"ヾ", u"々",     u"〃",     u"ｱ",
              u"ｶ",      u"ﾊ",      u"ﾞ",      u"ﾟ",         u"ｰ",        u"亜", u"会",     u"議",     u"東",
              u"京",     u"髙",     u"﨑",     u"a",         u"A",        u"b",  u"B",      u"e",      u"E",
              u"z",      u"Z",      u"0",      u"1",         u"2",        u"9",  u"Ａ",     u"ａ",     u"１",
              u"２",     u" ",      u"　",     u"-",         u"・",       u"、", u"。",     u"!",      u"？",
              u"\t",     u"/",      u"：",     u"＠",        u"①",        u"②",  u"\u0301", u"\u0308", u"\u0323",
              u"\u3099", u"\u309A", u"é",      u"e\u0301",   u"か\u3099", u"ß",  u"æ",      u"Ω",      u"ω",
              u"Я",      u"я",      u"й",      u"и\u0306",   u"เ",        u"ก",  u"ข",      u"แ",      u"ั",
              u"가",     u"\u1100", u"\u1161", u"\u11A8",    u"㌀",       u"㍿", u"\uFDFA", u"\uFDD1", u"\uFFFE",
              u"\uFFFF", u"😀",      u"𠮷",     u"\U0001D11E"})
            p.append(QString::fromUtf16(s));
        p.append(QString(QChar(0xD800)));
        p.append(QString(QChar(0xDC00)));
        return p;
    }();
    return pieces;
}

} // namespace

TEST(SortCardStore, OrdersTextsOfEveryKindAsQtDoesAndWeighsThemByTheTable)
{
    // Short texts, so that equal texts, texts equal but for case, width or
    // voicing, and texts that begin others are many; and as many again
    // behind long shared beginnings, where the sort reads deep into the
    // keys: one that ICU's iterator weighs (its prolonged sound marks; the
    // pieces after it are weighed by the table unless they hold contextual
    // units themselves), one the table weighs.
    const QStringList shared{QString(), QStringLiteral("2024/02/05：仕事＠カード型データベースの使い方 No."),
                             QStringLiteral("2024/02/05：仕事＠会議の資料を作成しました。予算の見直し No.")};
    const QStringList &pieces = richPieces();
    QRandomGenerator rng(2024);
    QStringList titles;
    for (int i = 0; i < 45000; ++i) {
        QString title = shared[i % 3];
        const int parts = 1 + rng.bounded(6);
        for (int p = 0; p < parts; ++p)
            title += pieces[rng.bounded(int(pieces.size()))];
        titles.append(title);
    }
    const SortCardStoreReport report = expectCollatorOrder(cardsOf(titles));
    EXPECT_TRUE(report.primaryWeights);
    EXPECT_GT(report.contextual, 0);
    EXPECT_GT(report.tiedTexts, 0);
}

TEST(SortCardStore, OrdersEveryTextOfOneOrTwoUnitsAsQtDoes)
{
    // Every text of one or two of some three hundred units, each pair in
    // both orders: every contraction and prefix rule among them, every
    // weight that ends where another begins.
    QList<char16_t> units;
    auto add = [&](char16_t first, char16_t last, int step) {
        for (int u = first; u <= last; u += step)
            units.append(char16_t(u));
    };
    add(0x20, 0x7E, 2);     // ASCII
    add(0xC0, 0xFF, 7);     // Latin-1 letters
    add(0x300, 0x308, 1);   // combining marks
    add(0x323, 0x323, 1);   //
    add(0x391, 0x3C9, 9);   // Greek
    add(0x410, 0x44F, 11);  // Cyrillic
    add(0xE01, 0xE4E, 5);   // Thai
    add(0x1100, 0x1112, 6); // Hangul jamo
    add(0x1161, 0x1175, 5); //
    add(0x11A8, 0x11C2, 9); //
    add(0x2460, 0x2463, 1); // circled numbers
    add(0x3000, 0x3007, 1); // CJK symbols, 々
    add(0x3041, 0x3096, 2); // hiragana
    add(0x304B, 0x304C, 1); // か が
    add(0x3099, 0x309E, 1); // voicing and iteration marks
    add(0x30A1, 0x30FA, 3); // katakana
    add(0x30AB, 0x30AC, 1); // カ ガ
    add(0x30FC, 0x30FE, 1); // ー ヽ ヾ
    add(0x3300, 0x3300, 1); // ㌀
    add(0x4E00, 0x4E0F, 5); // kanji
    add(0x9AD9, 0x9AD9, 1); // 髙
    add(0xAC00, 0xAC02, 1); // Hangul syllables
    add(0xD83D, 0xD83D, 1); // a high surrogate (with the low one below: 😀)
    add(0xDE00, 0xDE00, 1); //
    add(0xFDD0, 0xFDD1, 1); // noncharacters of the index rules
    add(0xFDFA, 0xFDFA, 1); // a long expansion
    add(0xFF01, 0xFF5E, 9); // full-width forms
    add(0xFF61, 0xFF9F, 3); // half-width kana
    add(0xFF70, 0xFF70, 1); // ｰ
    add(0xFF9E, 0xFF9F, 1); // ﾞ ﾟ
    add(0xFFFE, 0xFFFF, 1);
    ASSERT_GT(units.size(), 250);
    QStringList titles;
    for (const char16_t a : units) {
        titles.append(QString(QChar(a)));
        for (const char16_t b : units)
            titles.append(QString(QChar(a)) + QChar(b));
    }
    const SortCardStoreReport report = expectCollatorOrder(cardsOf(titles));
    EXPECT_TRUE(report.primaryWeights);
}
