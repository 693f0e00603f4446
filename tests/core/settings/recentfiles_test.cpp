// The recent-file list in "Recent.ini" and the captions of its menu items.
#include "core/common/win31j.h"
#include "core/settings/recentfiles.h"

#include "support/sandbox.h"

#include <gtest/gtest.h>

namespace {

QStringList fileLines(const QString &path)
{
    QStringList lines = Win31J::decode(Sandbox::readBytes(path)).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString card(int n)
{
    return QStringLiteral("/data/card%1.qlw").arg(n);
}

class RecentFilesTest : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;
    QString listFile = folder.file(QStringLiteral("Recent.ini"));
};

TEST_F(RecentFilesTest, FirstAddWritesEveryKeyNewestLast)
{
    RecentFileList list(25); // MAXOFRECENTFILE 26
    ASSERT_TRUE(list.AddRecentFile(QStringLiteral("/data/memo.qlw")));
    EXPECT_EQ(list.listFile(), listFile);

    QStringList expected{QStringLiteral("[General]")};
    for (int n = 25; n >= 1; --n)
        expected << QStringLiteral("RecentFile%1 = ").arg(n);
    expected << QStringLiteral("RecentFile0 = /data/memo.qlw");
    EXPECT_EQ(fileLines(listFile), expected);
    EXPECT_EQ(list.entries(), QStringList{QStringLiteral("/data/memo.qlw")});
}

TEST_F(RecentFilesTest, ListedFileMovesToTheTopAndLaterEntriesKeepTheirPlaces)
{
    RecentFileList list(25);
    for (int n = 5; n >= 0; --n)
        list.AddRecentFile(card(n)); // card0 newest ... card5 oldest
    ASSERT_TRUE(list.AddRecentFile(card(3)));
    EXPECT_EQ(list.entries(), (QStringList{card(3), card(0), card(1), card(2), card(4), card(5)}));
}

TEST_F(RecentFilesTest, TopEntryAddedAgainChangesNothingButIsSaved)
{
    RecentFileList list(25);
    list.AddRecentFile(card(1));
    list.AddRecentFile(card(0));
    ASSERT_TRUE(list.AddRecentFile(card(0)));
    EXPECT_EQ(list.entries(), (QStringList{card(0), card(1)}));
}

TEST_F(RecentFilesTest, TheTwentySeventhFilePushesTheOldestOut)
{
    RecentFileList list(25);
    for (int n = 0; n < 27; ++n)
        list.AddRecentFile(card(n));
    const QStringList entries = list.entries();
    ASSERT_EQ(entries.size(), 26);
    EXPECT_EQ(entries.first(), card(26));
    EXPECT_EQ(entries.last(), card(1));
    EXPECT_FALSE(entries.contains(card(0)));
    EXPECT_FALSE(Win31J::decode(Sandbox::readBytes(listFile)).contains(QStringLiteral("RecentFile26")));
}

TEST_F(RecentFilesTest, PathsDifferingOnlyInCaseAreTwoFiles)
{
    RecentFileList list(25);
    list.AddRecentFile(QStringLiteral("/data/memo.qlw"));
    list.AddRecentFile(QStringLiteral("/data/Memo.qlw"));
    EXPECT_EQ(list.entries(), (QStringList{QStringLiteral("/data/Memo.qlw"), QStringLiteral("/data/memo.qlw")}));
    // And the exact path still moves to the top instead of being doubled.
    list.AddRecentFile(QStringLiteral("/data/memo.qlw"));
    EXPECT_EQ(list.entries(), (QStringList{QStringLiteral("/data/memo.qlw"), QStringLiteral("/data/Memo.qlw")}));
}

TEST_F(RecentFilesTest, EveryAddReloadsSoOtherWindowsEntriesStay)
{
    RecentFileList first(25);
    RecentFileList second(25);
    first.AddRecentFile(card(1));
    second.AddRecentFile(card(2));
    first.AddRecentFile(card(3));
    EXPECT_EQ(first.entries(), (QStringList{card(3), card(2), card(1)}));
}

TEST_F(RecentFilesTest, MissingFileKeepsTheEntriesInMemoryAndIsCreated)
{
    RecentFileList list(25);
    list.AddRecentFile(card(1));
    ASSERT_TRUE(QFile::remove(listFile));
    ASSERT_TRUE(list.AddRecentFile(card(2)));
    EXPECT_EQ(list.entries(), (QStringList{card(2), card(1)}));
    EXPECT_TRUE(QFile::exists(listFile));
}

TEST_F(RecentFilesTest, LoadReadsTheSharedFileAndStopsAtTheFirstEmptyEntry)
{
    Sandbox::writeBytes(listFile, Win31J::encode(QStringLiteral("[General]\r\nRecentFile0 = /a.qlw\r\n"
                                                                "RecentFile1 = /b.qlw\r\nRecentFile2 = \r\n"
                                                                "RecentFile3 = /hidden.qlw\r\n")));
    RecentFileList list(25);
    list.load();
    EXPECT_EQ(list.entries(), (QStringList{QStringLiteral("/a.qlw"), QStringLiteral("/b.qlw")}));
    EXPECT_EQ(list.entry(3), QStringLiteral("/hidden.qlw"));
}

TEST_F(RecentFilesTest, PathsTheFileCannotHoldAreNotAdded)
{
    RecentFileList list(25);
    list.AddRecentFile(card(1));
    EXPECT_FALSE(list.AddRecentFile(QStringLiteral("/data/a\nRecentFile0 = /evil.qlw")));
    EXPECT_FALSE(list.AddRecentFile(QString()));
    EXPECT_EQ(list.entries(), QStringList{card(1)});
}

TEST_F(RecentFilesTest, SmallerListKeepsItsLength)
{
    RecentFileList list(2); // MAXOFRECENTFILE 3
    for (int n = 0; n < 5; ++n)
        list.AddRecentFile(card(n));
    EXPECT_EQ(list.entries(), (QStringList{card(4), card(3), card(2)}));
}

TEST(RecentMenuCaptions, AcceleratorsAThroughZThenTwoSpaces)
{
    QStringList paths;
    for (int n = 0; n < 28; ++n)
        paths << QStringLiteral("/d/f%1.qlw").arg(n);
    const QStringList captions = RecentFiles::BuildRecentMenuCaptions(paths, 50, 50);
    ASSERT_EQ(captions.size(), 28);
    EXPECT_EQ(captions.at(0), QStringLiteral("&A f0.qlw\t/d/f0.qlw"));
    EXPECT_EQ(captions.at(25), QStringLiteral("&Z f25.qlw\t/d/f25.qlw"));
    EXPECT_EQ(captions.at(26), QStringLiteral("  f26.qlw\t/d/f26.qlw"));
    EXPECT_EQ(captions.at(27), QStringLiteral("  f27.qlw\t/d/f27.qlw"));
}

TEST(RecentMenuCaptions, ShortenAtFiftyForTheWindowAndThirtyForTheLauncher)
{
    const QString fifty = QStringLiteral("/") + QString(45, u'x') + QStringLiteral(".qlw");
    ASSERT_EQ(fifty.size(), 50);
    const QString fiftyOne = QStringLiteral("/y") + QString(45, u'x') + QStringLiteral(".qlw");
    ASSERT_EQ(fiftyOne.size(), 51);
    const QString name = QString(45, u'x') + QStringLiteral(".qlw");

    EXPECT_EQ(RecentFiles::MenuCaption(0, fifty, RecentFiles::MainWindowShortening),
              QStringLiteral("&A ") + name + QLatin1Char('\t') + fifty);
    EXPECT_EQ(RecentFiles::MenuCaption(1, fiftyOne, RecentFiles::MainWindowShortening),
              QStringLiteral("&B y") + name + QLatin1Char('\t') + fiftyOne.left(50) + QStringLiteral("..."));

    const QString thirtyOne = QStringLiteral("/data/") + QString(21, u'z') + QStringLiteral(".qlw");
    ASSERT_EQ(thirtyOne.size(), 31);
    EXPECT_EQ(RecentFiles::MenuCaption(2, thirtyOne, RecentFiles::LauncherShortening),
              QStringLiteral("&C ") + QString(21, u'z') + QStringLiteral(".qlw\t") + thirtyOne.left(30)
                  + QStringLiteral("..."));
}

TEST(RecentMenuCaptions, StopAtTheFirstEmptyEntryTheLastIndexAndFiftyOneItems)
{
    EXPECT_EQ(
        RecentFiles::BuildRecentMenuCaptions({QStringLiteral("/a.qlw"), QString(), QStringLiteral("/c.qlw")}, 25, 50)
            .size(),
        1);
    QStringList many;
    for (int n = 0; n < 60; ++n)
        many << QStringLiteral("/f%1.qlw").arg(n);
    EXPECT_EQ(RecentFiles::BuildRecentMenuCaptions(many, 1, 50).size(), 2);
    EXPECT_EQ(RecentFiles::BuildRecentMenuCaptions(many, 80, 50).size(), 51);
}

TEST(RecentMenuCaptions, AmpersandsAreShownNotTakenForAccelerators)
{
    EXPECT_EQ(RecentFiles::MenuCaption(0, QStringLiteral("/R&D/a&b.qlw"), 50),
              QStringLiteral("&A a&&b.qlw\t/R&&D/a&&b.qlw"));
}

TEST(RecentMenuCaptions, FromTheStoreOfTheLauncherBuild)
{
    iniMente store(iniMente::Build::QltLaunch);
    store.SetiniValue(QStringLiteral("RecentFile0"), QStringLiteral("/a/one.qlw"));
    store.SetiniValue(QStringLiteral("RecentFile1"), QStringLiteral("/a/two.qlw"));
    const QStringList captions = RecentFiles::BuildRecentMenuCaptions(store, 25, RecentFiles::LauncherShortening);
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("&A one.qlw\t/a/one.qlw"), QStringLiteral("&B two.qlw\t/a/two.qlw")}));
    // Reading the list added no key to the store.
    EXPECT_EQ(store.lastIndex(), 1);
}

} // namespace
