// The per-user values shared with QLTLaunch and QLTReg.
#include "core/common/version.h"
#include "core/settings/uservalues.h"

#include "support/fakeservices.h"

#include <gtest/gtest.h>

namespace {

using namespace UserValues;

struct MaxCase {
    std::optional<QString> stored;
    int expected;
};

class MaxOfRecentFile : public ::testing::TestWithParam<MaxCase>
{
};

TEST_P(MaxOfRecentFile, IsReadSanelyAndWrittenBack)
{
    FakeUserStore store;
    if (GetParam().stored)
        store.values.insert(MaxOfRecentFileKey, *GetParam().stored);
    EXPECT_EQ(ReadMaxOfRecentFile(store), GetParam().expected);
    EXPECT_EQ(store.values.value(MaxOfRecentFileKey), QString::number(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(UserValues, MaxOfRecentFile,
                         ::testing::Values(MaxCase{std::nullopt, 26}, MaxCase{QStringLiteral("26"), 26},
                                           MaxCase{QStringLiteral("10"), 10}, MaxCase{QStringLiteral(" 12 "), 12},
                                           MaxCase{QStringLiteral("many"), 26}, MaxCase{QString(), 26},
                                           MaxCase{QStringLiteral("0"), 1}, MaxCase{QStringLiteral("-3"), 1},
                                           MaxCase{QStringLiteral("51"), 51}, MaxCase{QStringLiteral("500"), 51},
                                           MaxCase{QStringLiteral("7.5"), 8}));

TEST(UserValues, ExeVerIsWrittenOnlyWhenItDiffers)
{
    FakeUserStore store;
    EXPECT_TRUE(UpdateExeVer(store));
    EXPECT_EQ(store.values.value(ExeVerKey), QString::number(Version::number()));
    EXPECT_FALSE(UpdateExeVer(store));
    store.values.insert(ExeVerKey, QStringLiteral("10800"));
    EXPECT_TRUE(UpdateExeVer(store));
}

TEST(UserValues, PathIsPublished)
{
    FakeUserStore store;
    PublishPath(store, QStringLiteral("/opt/qlt/QLTWIN"));
    EXPECT_EQ(store.values.value(PathKey), QStringLiteral("/opt/qlt/QLTWIN"));
}

TEST(UserValues, MostFrontNoticeIsDueUntilMarkedShown)
{
    FakeUserStore store;
    EXPECT_FALSE(MostFrontNoticeShown(store));
    store.values.insert(MostFrontKey, QStringLiteral("0"));
    EXPECT_FALSE(MostFrontNoticeShown(store));
    store.values.insert(MostFrontKey, QStringLiteral("junk"));
    EXPECT_FALSE(MostFrontNoticeShown(store));
    SetMostFrontNoticeShown(store);
    EXPECT_EQ(store.values.value(MostFrontKey), QStringLiteral("1"));
    EXPECT_TRUE(MostFrontNoticeShown(store));
}

} // namespace
