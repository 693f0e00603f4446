// The group list's rebuild, its click pattern and the group change of a
// title field.
#include "core/cards/cardkeys.h"
#include "core/search/grouplist.h"

#include "support/searchtestutil.h"

#include <gtest/gtest.h>

namespace {

QStringList texts(const QList<GroupList::Entry> &entries)
{
    QStringList out;
    for (const GroupList::Entry &e : entries)
        out.append(e.text);
    return out;
}

TEST(GroupListBuild, AllCardsFirstThenEachGroupOnceInOrderOfFirstAppearance)
{
    CardStore store;
    store.reset(cardsTitled({
        "2001/05/06：旅行＠京都",
        "仕事＠会議",
        "メモ",
        "旅行＠奈良",
        "2001/05/06(14:05:09)［題］：日記＠一日目",
        "2001/05/07：仕事＠報告",
        "A＠B＠C",
    }));
    const QList<GroupList::Entry> entries = GroupList::Build(store);
    EXPECT_EQ(texts(entries), QStringList({"全て", "旅行", "仕事", "日記", "A"}));
    EXPECT_EQ(entries.first().key, QStringLiteral("Root"));
    EXPECT_EQ(entries.first().image, 3);
    for (qsizetype i = 1; i < entries.size(); ++i)
        EXPECT_EQ(entries[i].image, 4);
}

TEST(GroupListBuild, ComparesNamesExactly)
{
    CardStore store;
    store.reset(cardsTitled({"Work＠a", "work＠b", "ｗｏｒｋ＠c", "Work＠d"}));
    EXPECT_EQ(texts(GroupList::Build(store)), QStringList({"全て", "Work", "work", "ｗｏｒｋ"}));
}

TEST(GroupListBuild, AnEmptyStoreListsOnlyAllCards)
{
    CardStore store;
    EXPECT_EQ(texts(GroupList::Build(store)), QStringList({"全て"}));
}

TEST(GroupListBuild, KeysAreFreshCounterKeysAndDistinct)
{
    CardStore store;
    store.reset(cardsTitled({"a＠1", "b＠2", "c＠3"}));
    GroupKeyCounter().setValue(7);
    const QList<GroupList::Entry> entries = GroupList::Build(store);
    EXPECT_EQ(entries[1].key, QStringLiteral("Key00000007"));
    EXPECT_EQ(entries[2].key, QStringLiteral("Key00000008"));
    EXPECT_EQ(entries[3].key, QStringLiteral("Key00000009"));
    // A rebuild gives new keys.
    EXPECT_EQ(GroupList::Build(store)[1].key, QStringLiteral("Key00000010"));
}

TEST(GroupPattern, IsTheAnchoredGroupThenTheMark)
{
    EXPECT_EQ(
        GroupList::Pattern(QStringLiteral("旅行")),
        QStringLiteral(
            "^(([0-9]{4}/[0-9]{2}/[0-9]{2}：)|(^[0-9]{4}/[0-9]{2}/[0-9]{2}\\([0-9]{2}:[0-9]{2}:[0-9]{2}\\)［題］：)|^)旅行＠"));
    EXPECT_EQ(GroupList::EscapedName(QStringLiteral("a\\b^$.|?*+()[]{}-c")),
              QStringLiteral("a\\\\b\\^\\$\\.\\|\\?\\*\\+\\(\\)\\[\\]\\{\\}-c"));
}

struct ChangeCase {
    const char *title;
    const char *group;
    const char *result;
};

class GroupChangeTitles : public ::testing::TestWithParam<ChangeCase>
{
};

TEST_P(GroupChangeTitles, RebuildTheTitleFieldAroundTheDatePrefix)
{
    const ChangeCase &c = GetParam();
    EXPECT_EQ(GroupList::TitleInGroup(QString::fromUtf8(c.title), QString::fromUtf8(c.group)),
              QString::fromUtf8(c.result))
        << c.title << " -> " << c.group;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GroupChangeTitles,
    ::testing::Values(
        ChangeCase{"2001/05/06：旅行＠京都", "仕事", "2001/05/06：仕事＠京都"},
        ChangeCase{"2001/05/06：旅行＠京都", "", "2001/05/06：京都"},
        ChangeCase{"2001/05/06：京都", "仕事", "2001/05/06：仕事＠京都"}, ChangeCase{"京都", "仕事", "仕事＠京都"},
        ChangeCase{"京都", "", "京都"}, ChangeCase{"旅行＠京都", "", "京都"}, ChangeCase{"A＠B＠C", "X", "X＠B＠C"},
        ChangeCase{"A＠B＠C", "", "B＠C"}, ChangeCase{"＠名前", "仕事", "仕事＠名前"},
        ChangeCase{"2001/05/06(14:05:09)［題］：日記＠一日目", "旅行", "2001/05/06(14:05:09)［題］：旅行＠一日目"},
        ChangeCase{"2001/05/06(14:05:09)［題］：一日目", "旅行", "2001/05/06(14:05:09)［題］：旅行＠一日目"},
        ChangeCase{"2001/05/06：", "仕事", "2001/05/06：仕事＠"}, ChangeCase{"", "仕事", "仕事＠"}));

TEST(GroupName, MayNotHoldTheGroupMark)
{
    EXPECT_TRUE(GroupList::IsAllowedName(QStringLiteral("仕事")));
    EXPECT_TRUE(GroupList::IsAllowedName(QString()));
    EXPECT_TRUE(GroupList::IsAllowedName(QStringLiteral("a@b"))); // the half-width sign is allowed
    EXPECT_FALSE(GroupList::IsAllowedName(QStringLiteral("仕事＠会議")));
}

} // namespace
