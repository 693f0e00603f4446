// The kept group index against a fresh GroupsOf after every kind of change
// a card store goes through.
#include "core/cards/cardstore.h"
#include "core/cards/groupindex.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

#include <numeric>

namespace {

QString randomTitle(QRandomGenerator &rng)
{
    static const QStringList groups{"仕事", "料理", "旅行", "読書", "a", "A", " 仕事", "仕事 ", ""};
    static const QStringList prefixes{"", "", "2024/02/01：", "2024/02/01(10:00:00)［題］："};
    QString title = prefixes[rng.bounded(int(prefixes.size()))];
    if (rng.bounded(4) != 0)
        title += groups[rng.bounded(int(groups.size()))] + QChar(0xFF20);
    title += QStringLiteral("名前%1").arg(rng.bounded(5));
    if (rng.bounded(8) == 0)
        title += QChar(0xFF20) + QStringLiteral("後");
    return title;
}

Card randomCard(QRandomGenerator &rng, int &serial)
{
    Card card;
    card.key = QStringLiteral("K%1").arg(serial++);
    card.title = randomTitle(rng);
    return card;
}

TEST(GroupIndex, FollowsEveryChangeOfTheStoreAsAFreshScanSeesIt)
{
    QRandomGenerator rng(11);
    int serial = 0;
    for (int round = 0; round < 20; ++round) {
        CardStore store;
        QList<Card> cards;
        for (int i = rng.bounded(40); i > 0; --i)
            cards.append(randomCard(rng, serial));
        store.reset(cards);
        GroupIndex index(store);
        ASSERT_EQ(index.groups(), GroupsOf(store));
        for (int step = 0; step < 200; ++step) {
            const qsizetype n = store.count();
            QString what;
            switch (rng.bounded(10)) {
            case 0:
            case 1:
                what = QStringLiteral("insert");
                store.insert(n ? rng.bounded(int(n) + 1) : 0, randomCard(rng, serial));
                break;
            case 2:
            case 3:
                if (n) {
                    const int row = rng.bounded(int(n));
                    what = QStringLiteral("remove");
                    store.remove(row, 1 + rng.bounded(int(std::min<qsizetype>(3, n - row))));
                }
                break;
            case 4:
                if (n) {
                    what = QStringLiteral("retitle");
                    store.setTitle(rng.bounded(int(n)), randomTitle(rng));
                }
                break;
            case 5:
                if (n) {
                    what = QStringLiteral("fields");
                    Card from = randomCard(rng, serial);
                    store.setFields(rng.bounded(int(n)), from);
                }
                break;
            case 6:
                what = QStringLiteral("sort");
                store.sortByColumn(CardStore::TitleColumn, rng.bounded(2) ? Qt::AscendingOrder : Qt::DescendingOrder);
                break;
            case 8: {
                what = QStringLiteral("shuffle");
                QList<qsizetype> order(n);
                std::iota(order.begin(), order.end(), qsizetype(0));
                for (qsizetype i = n - 1; i > 0; --i)
                    std::swap(order[i], order[rng.bounded(int(i) + 1)]);
                store.reorder(order);
                break;
            }
            case 7:
                what = QStringLiteral("strip");
                store.stripDatePrefixes();
                store.setAllIcons(rng.bounded(2) + 1);
                break;
            default:
                if (rng.bounded(10) == 0) {
                    what = QStringLiteral("reset");
                    QList<Card> fresh;
                    for (int i = rng.bounded(30); i > 0; --i)
                        fresh.append(randomCard(rng, serial));
                    if (rng.bounded(2)) {
                        // As a reader resets it: with the groups it noted,
                        // which the index takes over and keeps from then on.
                        what = QStringLiteral("reset with notes");
                        ReadNotes notes;
                        for (const Card &card : std::as_const(fresh))
                            notes.append(card);
                        store.reset(fresh, CardStore::Keys::Check, std::move(notes));
                    } else {
                        store.reset(fresh);
                    }
                }
                break;
            }
            // Asked now and then only, so that changes pile up between asks.
            if (rng.bounded(3) == 0 || step == 199) {
                ASSERT_EQ(index.groups(), GroupsOf(store))
                    << "round " << round << ", step " << step << ": " << qPrintable(what);
            }
        }
    }
}

// A file of many groups: the index keeps finding each name it met before
// while its table of names grows and moves, and a group that comes back
// after all its cards went keeps its place in the order of the rows.
TEST(GroupIndex, ManyGroupsKeepTheirNamesAsTheTableGrows)
{
    QList<Card> cards;
    for (int i = 0; i < 3000; ++i) {
        Card card;
        card.key = QStringLiteral("K%1").arg(i);
        card.title = QStringLiteral("群%1").arg((i * 7) % 1000) + QChar(0xFF20) + QStringLiteral("名");
        cards.append(card);
    }
    CardStore store;
    store.reset(std::move(cards)); // the store's titles are the only ones
    GroupIndex index(store);
    ASSERT_EQ(index.groups().size(), 1000);
    EXPECT_EQ(index.groups(), GroupsOf(store));
    store.setTitle(0, QStringLiteral("新しい群") + QChar(0xFF20) + QStringLiteral("名"));
    store.setTitle(1, QStringLiteral("群0") + QChar(0xFF20) + QStringLiteral("名"));
    store.insert(2, Card{QStringLiteral("X"), QStringLiteral("群999＠名"), {}, {}, 1});
    EXPECT_EQ(index.groups(), GroupsOf(store));
}

TEST(GroupIndex, NotesOfAReaderServeUntilTheFirstChangeAndTheGroupsOnlyOnce)
{
    const QStringList titles{QStringLiteral("仕事＠a"), QStringLiteral("2001/05/03：AutoOpen"),
                             QStringLiteral("料理＠b"), QStringLiteral("仕事＠c"), QStringLiteral("AUTOOPEN")};
    auto read = [&](CardStore &store) {
        QList<Card> cards;
        ReadNotes notes;
        for (const QString &title : titles) {
            cards.append(Card{QStringLiteral("K%1").arg(cards.size()), title, {}, {}, 1});
            notes.append(cards.constLast());
        }
        store.reset(std::move(cards), CardStore::Keys::Unique, std::move(notes));
    };
    CardStore store;
    read(store);
    ASSERT_NE(store.notedAutoOpenRows(), nullptr);
    EXPECT_EQ(*store.notedAutoOpenRows(), (QList<qsizetype>{1, 4}));
    std::optional<GroupRows> groups = store.takeNotedGroups();
    ASSERT_TRUE(groups);
    EXPECT_EQ(groups->groups(), (QStringList{QStringLiteral("仕事"), QStringLiteral("料理")}));
    EXPECT_EQ(groups->rowGroup, (QList<int>{0, -1, 1, 0, -1}));
    EXPECT_FALSE(store.takeNotedGroups()) << "handed out once";
    EXPECT_NE(store.notedAutoOpenRows(), nullptr) << "the rows stay while nothing changed";

    // Any change of the cards ends the notes, an icon's as well.
    read(store);
    store.setIcon(0, CardIcon::Changed);
    EXPECT_FALSE(store.takeNotedGroups());
    EXPECT_EQ(store.notedAutoOpenRows(), nullptr);
    // A reset without notes forgets the old ones.
    read(store);
    store.reset(store.cards());
    EXPECT_FALSE(store.takeNotedGroups());
    EXPECT_EQ(store.notedAutoOpenRows(), nullptr);

    // Notes of a card that shows another icon leave the icons to be walked.
    {
        QList<Card> cards{Card{QStringLiteral("a"), QStringLiteral("a"), {}, {}, CardIcon::Saved},
                          Card{QStringLiteral("b"), QStringLiteral("b"), {}, {}, CardIcon::Changed}};
        ReadNotes notes;
        for (const Card &card : std::as_const(cards))
            notes.append(card);
        EXPECT_FALSE(notes.allSaved);
        CardStore other;
        other.reset(cards, CardStore::Keys::Unique, std::move(notes));
        other.setAllIcons(CardIcon::Saved);
        EXPECT_EQ(other.at(1).icon, CardIcon::Saved);
    }

    // An index that takes the notes goes on from them as from its own scan.
    read(store);
    GroupIndex index(store);
    EXPECT_EQ(index.groups(), GroupsOf(store));
    store.setTitle(1, QStringLiteral("旅行＠d"));
    store.remove(0);
    EXPECT_EQ(index.groups(), GroupsOf(store));
    EXPECT_EQ(index.groups(), (QStringList{QStringLiteral("旅行"), QStringLiteral("料理"), QStringLiteral("仕事")}));
}

} // namespace
