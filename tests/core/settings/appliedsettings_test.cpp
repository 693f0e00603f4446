// The values applying the settings hands to the main window.
#include "core/common/colours.h"
#include "core/common/win31j.h"
#include "core/settings/appliedsettings.h"
#include "core/settings/settingsmodel.h"

#include "support/sandbox.h"

#include <gtest/gtest.h>

namespace {

namespace S = SettingKey;
using Sort = AppliedSettings::SortAction;

class AppliedSettingsTest : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;
    QString general = folder.file(QStringLiteral("QLTWIN.ini"));

    AppliedSettings applyFile(const QStringList &lines)
    {
        Sandbox::writeBytes(general, Win31J::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")));
        model.loadGeneralSettings();
        return ComputeAppliedSettings(model);
    }

    SettingsModel model{general};
};

TEST_F(AppliedSettingsTest, DefaultsOfAFirstStart)
{
    const AppliedSettings a = applyFile({});
    EXPECT_EQ(a.columnCaptions[0], QStringLiteral("題名"));
    EXPECT_EQ(a.columnCaptions[1], QStringLiteral("備考"));
    EXPECT_EQ(a.columnCaptions[2], QStringLiteral("内容"));
    EXPECT_FLOAT_EQ(float(a.columnWidthsTwips[0]), 6999.875f);
    EXPECT_FLOAT_EQ(float(a.columnWidthsTwips[1]), 3000.189f);
    EXPECT_FLOAT_EQ(float(a.columnWidthsTwips[2]), 1440.0f);
    EXPECT_EQ(a.listFontName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(a.listFontSize, 9.0);
    // System colours: button text on window background.
    EXPECT_EQ(a.mainList.text, Colours::systemColour(Colours::ButtonText));
    EXPECT_EQ(a.mainList.back, Colours::systemColour(Colours::Window));
    EXPECT_EQ(a.extractList.text, Colours::fromRgb(255, 255, 255));
    EXPECT_EQ(a.extractList.back, Colours::fromRgb(0x55, 0x55, 0x55));
    EXPECT_TRUE(a.applyWindowSize);
    EXPECT_EQ(a.windowWidthTwips, 9480);
    EXPECT_EQ(a.windowHeightTwips, 6315);
    EXPECT_EQ(a.viewMode, 3);
    EXPECT_EQ(a.sort, Sort::Cancel);
    EXPECT_EQ(a.previewFontName, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(a.previewFontSize, 9.0);
    EXPECT_EQ(a.preview.text, Colours::fromRgb(255, 255, 255));
    EXPECT_EQ(a.preview.back, Colours::fromRgb(0x55, 0x55, 0x55));
    EXPECT_EQ(a.previewMode, 0);
    EXPECT_TRUE(a.treeVisible);
    EXPECT_FALSE(a.regularExpression);
}

TEST_F(AppliedSettingsTest, StoredValuesArePassedOn)
{
    const AppliedSettings a = applyFile({
        QStringLiteral("Column1 = 件名"),
        QStringLiteral("Column2Width = 2000.5"),
        QStringLiteral("ListFont = IPAGothic"),
        QStringLiteral("ListFontSize = 10.5"),
        QStringLiteral("Color1 = 255"),         // red
        QStringLiteral("Color2 = 16711680"),    // blue
        QStringLiteral("Color3 = -2147483635"), // system colour 13, highlight
        QStringLiteral("Color4 = -2147483634"), // 14, highlighted text
        QStringLiteral("Color5 = 65280"),       // green
        QStringLiteral("Color6 = -2147483624"), // 24, tooltip background
        QStringLiteral("WindowListSizeX = 12000"),
        QStringLiteral("WindowListSizeY = 8000"),
        QStringLiteral("ListViewMode = 1"),
        QStringLiteral("EditorFont = IPAMincho"),
        QStringLiteral("EditorFontSize = 12"),
        QStringLiteral("PreView = 2"),
        QStringLiteral("TreeViewVisible = False"),
        QStringLiteral("SeikiHyougen = True"),
    });
    EXPECT_EQ(a.columnCaptions[0], QStringLiteral("件名"));
    EXPECT_EQ(a.columnWidthsTwips[1], 2000.5);
    EXPECT_EQ(a.listFontName, QStringLiteral("IPAGothic"));
    EXPECT_EQ(a.listFontSize, 10.5);
    EXPECT_EQ(a.mainList.text, Colours::fromRgb(255, 0, 0));
    EXPECT_EQ(a.mainList.back, Colours::fromRgb(0, 0, 255));
    EXPECT_EQ(a.extractList.text, Colours::systemColour(Colours::Highlight));
    EXPECT_EQ(a.extractList.back, Colours::systemColour(Colours::HighlightText));
    EXPECT_EQ(a.preview.text, Colours::fromRgb(0, 255, 0));
    EXPECT_EQ(a.preview.back, Colours::systemColour(Colours::InfoBackground));
    EXPECT_EQ(a.windowWidthTwips, 12000);
    EXPECT_EQ(a.windowHeightTwips, 8000);
    EXPECT_EQ(a.viewMode, 1);
    EXPECT_EQ(a.previewFontName, QStringLiteral("IPAMincho"));
    EXPECT_EQ(a.previewFontSize, 12.0);
    EXPECT_EQ(a.previewMode, 2);
    EXPECT_FALSE(a.treeVisible);
    EXPECT_TRUE(a.regularExpression);
}

TEST_F(AppliedSettingsTest, WindowSizeIsAppliedOnlyWhenTheSwitchIsOne)
{
    EXPECT_FALSE(applyFile({QStringLiteral("SaveWindowSize = 0")}).applyWindowSize);
    EXPECT_TRUE(applyFile({QStringLiteral("SaveWindowSize = 1.0")}).applyWindowSize);
}

struct SortCase {
    const char *noSort;
    const char *autoSort;
    const char *column;
    const char *style;
    Sort action;
    int sortColumn;
    int sortStyle;
};

class AppliedSort : public AppliedSettingsTest, public ::testing::WithParamInterface<SortCase>
{
};

TEST_P(AppliedSort, FollowsNoSortThenAutoSort)
{
    const SortCase c = GetParam();
    const AppliedSettings a = applyFile({QStringLiteral("NoSort = ") + QLatin1String(c.noSort),
                                         QStringLiteral("AutoSort = ") + QLatin1String(c.autoSort),
                                         QStringLiteral("SortColumn = ") + QLatin1String(c.column),
                                         QStringLiteral("SortStyle = ") + QLatin1String(c.style)});
    EXPECT_EQ(a.sort, c.action);
    if (c.action == Sort::Restore) {
        EXPECT_EQ(a.sortColumn, c.sortColumn);
        EXPECT_EQ(a.sortStyle, c.sortStyle);
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, AppliedSort,
                         ::testing::Values(SortCase{"1", "1", "2", "1", Sort::Cancel, 0, 0},
                                           SortCase{"0", "0", "2", "1", Sort::Cancel, 0, 0},
                                           SortCase{"0", "1", "2", "1", Sort::Restore, 2, 1},
                                           SortCase{"0", "1.0", "0", "0", Sort::Restore, 0, 0},
                                           SortCase{"0", "1", "-1", "0", Sort::Restore, -1, 0},
                                           // Out of range: nothing to restore, ascending.
                                           SortCase{"0", "1", "7", "5", Sort::Restore, -1, 0}));

TEST_F(AppliedSettingsTest, OutOfRangeValuesReadAsDefaults)
{
    const AppliedSettings a = applyFile({QStringLiteral("ListViewMode = 9"), QStringLiteral("PreView = -1"),
                                         QStringLiteral("WindowListSizeX = 0"), QStringLiteral("WindowListSizeY = -5"),
                                         QStringLiteral("ListFontSize = 0"), QStringLiteral("Column3Width = -1"),
                                         QStringLiteral("Color5 = 4294967295")});
    EXPECT_EQ(a.viewMode, 3);
    EXPECT_EQ(a.previewMode, 0);
    EXPECT_EQ(a.windowWidthTwips, 9480);
    EXPECT_EQ(a.windowHeightTwips, 6315);
    EXPECT_EQ(a.listFontSize, 9.0);
    EXPECT_EQ(a.columnWidthsTwips[2], 1440.0);
    EXPECT_EQ(a.preview.text, Colours::fromRgb(255, 255, 255));
}

TEST_F(AppliedSettingsTest, ZeroColumnWidthHidesTheColumnAndIsKept)
{
    EXPECT_EQ(applyFile({QStringLiteral("Column2Width = 0")}).columnWidthsTwips[1], 0.0);
}

TEST(Twips, ConvertAtTheScreenResolution)
{
    EXPECT_EQ(Twips::toPixels(1440, 96), 96);
    EXPECT_EQ(Twips::toPixels(9480, 96), 632);
    EXPECT_DOUBLE_EQ(Twips::fromPixels(96, 96), 1440.0);
    EXPECT_EQ(Twips::fromPixels(10, 0), 0.0);
}

} // namespace
