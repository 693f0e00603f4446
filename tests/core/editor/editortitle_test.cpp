// Taking a title field apart into the group box and the title box, and
// putting it back together.
#include "core/cards/cardstore.h"
#include "core/common/version.h"
#include "core/editor/editortitle.h"

#include <gtest/gtest.h>

namespace {

struct SplitCase {
    const char *titleField;
    const char *group;
    const char *titleBox;
};

class TitleSplit : public ::testing::TestWithParam<SplitCase>
{
};

TEST_P(TitleSplit, GroupAndTitleBox)
{
    const SplitCase &c = GetParam();
    const EditorTitleParts parts = EditorTitle::split(QString::fromUtf8(c.titleField));
    EXPECT_EQ(parts.group, QString::fromUtf8(c.group));
    EXPECT_EQ(parts.title, QString::fromUtf8(c.titleBox));
}

INSTANTIATE_TEST_SUITE_P(Fields, TitleSplit,
                         ::testing::Values(SplitCase{"2001/01/02：仕事＠会議", "仕事", "2001/01/02：会議"},
                                           SplitCase{"仕事＠会議", "仕事", "会議"},
                                           SplitCase{"2001/01/02：会議", "", "2001/01/02：会議"},
                                           SplitCase{"会議", "", "会議"},
                                           SplitCase{"2001/05/03(14:05:09)［題］：Work＠Meeting", "Work",
                                                     "2001/05/03(14:05:09)［題］：Meeting"},
                                           // Only the first "＠" separates.
                                           SplitCase{"A＠B＠C", "A", "B＠C"}, SplitCase{"＠名前", "", "名前"},
                                           // A prefix right before the mark leaves an empty group.
                                           SplitCase{"2001/01/02：＠x", "", "2001/01/02：x"},
                                           // A date in the name is the name's.
                                           SplitCase{"仕事＠2001/01/02：会議", "仕事", "2001/01/02：会議"},
                                           SplitCase{"", "", ""}));

struct RebuildCase {
    const char *group;
    const char *titleBox;
    const char *titleField;
};

class TitleRebuild : public ::testing::TestWithParam<RebuildCase>
{
};

TEST_P(TitleRebuild, FromTheBoxes)
{
    const RebuildCase &c = GetParam();
    EXPECT_EQ(EditorTitle::rebuild(QString::fromUtf8(c.group), QString::fromUtf8(c.titleBox)),
              QString::fromUtf8(c.titleField));
}

INSTANTIATE_TEST_SUITE_P(Boxes, TitleRebuild,
                         ::testing::Values(RebuildCase{"仕事", "2001/01/02：会議", "2001/01/02：仕事＠会議"},
                                           RebuildCase{"仕事", "会議", "仕事＠会議"},
                                           // The group cleared: no "＠" at all.
                                           RebuildCase{"", "2001/01/02：会議", "2001/01/02：会議"},
                                           RebuildCase{"", "会議", "会議"},
                                           // Spaces around the group go; spaces inside stay; a group of spaces is none.
                                           RebuildCase{"  仕 事 ", "会議", "仕 事＠会議"},
                                           RebuildCase{"   ", "会議", "会議"},
                                           RebuildCase{"Work", "2001/05/03(14:05:09)［題］：Meeting",
                                                       "2001/05/03(14:05:09)［題］：Work＠Meeting"},
                                           // A title box that is only a prefix.
                                           RebuildCase{"G", "2001/01/02：", "2001/01/02：G＠"}));

TEST(TitleRoundTrip, UnchangedBoxesGiveTheTitleFieldBack)
{
    for (const char *field : {"2001/01/02：仕事＠会議", "仕事＠会議", "2001/01/02：会議", "会議",
                              "2001/05/03(14:05:09)［題］：Work＠Meeting", "A＠B＠C"}) {
        const QString title = QString::fromUtf8(field);
        const EditorTitleParts parts = EditorTitle::split(title);
        EXPECT_EQ(EditorTitle::rebuild(parts.group, parts.title), title) << field;
    }
}

TEST(TitleRules, GroupWithMarkIsRefused)
{
    EXPECT_TRUE(EditorTitle::groupRefused(QString::fromUtf8("仕＠事")));
    EXPECT_FALSE(EditorTitle::groupRefused(QString::fromUtf8("仕事@")));
    EXPECT_FALSE(EditorTitle::groupRefused(QString()));
}

TEST(TitleRules, SelectionSkipsTheDatePrefix)
{
    EXPECT_EQ(EditorTitle::initialSelection(QString::fromUtf8("2001/01/02：会議")), (EditorTitle::Selection{11, 2}));
    EXPECT_EQ(EditorTitle::initialSelection(QString::fromUtf8("2001/05/03(14:05:09)［題］：M")),
              (EditorTitle::Selection{24, 1}));
    EXPECT_EQ(EditorTitle::initialSelection(QString::fromUtf8("会議")), (EditorTitle::Selection{0, 2}));
}

TEST(TitleRules, WindowTitle)
{
    const QString version = QStringLiteral("QLT@WIN Ver.") + Version::dotted();
    EXPECT_EQ(EditorTitle::windowTitle(QString::fromUtf8("会議"), false), QString::fromUtf8("会議 - ") + version);
    EXPECT_EQ(EditorTitle::windowTitle(QString::fromUtf8("会議"), true), QString::fromUtf8("会議(変更) - ") + version);
}

TEST(TitleRules, LineBreaksAreRemovedNotReplaced)
{
    EXPECT_EQ(EditorTitle::removeLineBreaks(QStringLiteral("a\r\nb\rc\nd\n\re")), QStringLiteral("abcde"));
    EXPECT_EQ(EditorTitle::removeLineBreaks(QStringLiteral("a b")), QStringLiteral("a b"));
}

TEST(TitleRules, GroupChoicesInCardOrderEachOnce)
{
    CardStore store;
    int n = 0;
    for (const char *title :
         {"2001/01/02：仕事＠a", "私用＠b", "なし", "仕事＠c", "2001/05/03(14:05:09)［題］：旅行＠d"})
        store.append(Card{QStringLiteral("k%1").arg(++n), QString::fromUtf8(title), {}, {}, 1});
    EXPECT_EQ(EditorTitle::groupChoices(store),
              (QStringList{QString::fromUtf8("仕事"), QString::fromUtf8("私用"), QString::fromUtf8("旅行")}));
}

} // namespace
