// QLTLaunch's rules: finding QLTWIN, MAXOFRECENTFILE, the menu built from
// "Recent.ini" and what each item starts.
#include "core/common/win31j.h"
#include "core/launch/launcher.h"

#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

void writeRecent(const QString &path, const QStringList &entries, int lastIndex = 25)
{
    QString text = QStringLiteral("[General]\r\n");
    for (int n = lastIndex; n >= 0; --n)
        text += QStringLiteral("RecentFile%1 = %2\r\n").arg(n).arg(n < entries.size() ? entries.at(n) : QString());
    ASSERT_TRUE(Sandbox::writeBytes(path, Win31J::encode(text)));
}

QString makeProgram(const QString &path)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    Sandbox::writeBytes(path, "#!/bin/sh\n");
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return path;
}

class LauncherTest : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;
    QString launcherFolder = folder.file(QStringLiteral("launcher"));
    QString recent = folder.file(QStringLiteral("Recent.ini"));
    FakeUserStore store;
    FakeProcesses processes;
    Launcher launcher{store, processes, launcherFolder};

    QList<LauncherMenuItem> visibleItems()
    {
        QList<LauncherMenuItem> out;
        for (const LauncherMenuItem &item : launcher.menu())
            if (item.visible)
                out.append(item);
        return out;
    }
};

TEST_F(LauncherTest, ArgumentsGoToQltwinUnchangedAndNoMenuIsBuilt)
{
    const QString qltwin = makeProgram(folder.file(QStringLiteral("bin/QLTWIN")));
    store.values.insert(QStringLiteral("Path"), qltwin);
    writeRecent(recent, {QStringLiteral("/data/a.qlw")});

    const QStringList args{QStringLiteral("/home/me/My Cards/メモ 1.qlw")};
    EXPECT_TRUE(launcher.start(args));
    ASSERT_EQ(processes.calls.size(), 1);
    EXPECT_EQ(processes.calls[0].program, qltwin);
    EXPECT_EQ(processes.calls[0].arguments, args); // one argument, no quotes added
    EXPECT_FALSE(processes.calls[0].waited);
    EXPECT_TRUE(launcher.recentEntries().isEmpty());

    // Several arguments pass as they came, quotes included.
    FakeProcesses more;
    Launcher second(store, more, launcherFolder);
    const QStringList several{QStringLiteral("\"/a b.qlw\""), QStringLiteral("x")};
    EXPECT_TRUE(second.start(several));
    EXPECT_EQ(more.calls.at(0).arguments, several);
}

TEST_F(LauncherTest, QltwinComesFromPathElseBesideTheLauncher)
{
    // Missing "Path": beside the launcher.
    EXPECT_EQ(Launcher::findQltwin(store, launcherFolder), launcherFolder + QStringLiteral("/QLTWIN"));
    // A "Path" naming a program that exists.
    const QString qltwin = makeProgram(folder.file(QStringLiteral("elsewhere/QLTWIN")));
    store.values.insert(QStringLiteral("Path"), qltwin);
    EXPECT_EQ(Launcher::findQltwin(store, launcherFolder), qltwin);
    // A "Path" left by a removed copy: beside the launcher again.
    store.values.insert(QStringLiteral("Path"), folder.file(QStringLiteral("gone/QLTWIN")));
    EXPECT_EQ(Launcher::findQltwin(store, launcherFolder), launcherFolder + QStringLiteral("/QLTWIN"));
}

TEST_F(LauncherTest, MaxOfRecentFileIsReadAndWrittenBack)
{
    writeRecent(recent, {});
    EXPECT_FALSE(launcher.start({}));
    EXPECT_EQ(store.values.value(QStringLiteral("MAXOFRECENTFILE")), QStringLiteral("26"));
    EXPECT_EQ(launcher.lastIndex(), 25);

    store.values.insert(QStringLiteral("MAXOFRECENTFILE"), QStringLiteral("3"));
    writeRecent(recent, {QStringLiteral("/a.qlw"), QStringLiteral("/b.qlw"), QStringLiteral("/c.qlw"),
                         QStringLiteral("/d.qlw")});
    Launcher three(store, processes, launcherFolder);
    three.start({});
    EXPECT_EQ(store.values.value(QStringLiteral("MAXOFRECENTFILE")), QStringLiteral("3"));
    EXPECT_EQ(three.recentEntries(),
              (QStringList{QStringLiteral("/a.qlw"), QStringLiteral("/b.qlw"), QStringLiteral("/c.qlw")}));
}

TEST_F(LauncherTest, MenuHoldsLaunchCancelSeparatorAndOneItemPerEntry)
{
    const QString longPath = QStringLiteral("/home/someone/cards/2001/") + QStringLiteral("memo.qlw"); // 33 chars
    ASSERT_EQ(longPath.size(), 33);
    const QString exact = QStringLiteral("/home/me/cards/thirty-char.qlw");
    ASSERT_EQ(exact.size(), 30);
    writeRecent(recent, {longPath, exact, QStringLiteral("/data/A&B.qlw")});
    ASSERT_FALSE(launcher.start({}));
    EXPECT_TRUE(processes.calls.isEmpty());

    const QList<LauncherMenuItem> all = launcher.menu();
    ASSERT_EQ(all.size(), 3 + 51);
    EXPECT_EQ(all[0].caption, QStringLiteral("●Quillery Launcher(&1)"));
    EXPECT_EQ(all[0].name, QStringLiteral("MenuFileLaunchQLT"));
    EXPECT_EQ(all[1].caption, QStringLiteral("キャンセル(&0)"));
    EXPECT_EQ(all[2].kind, LauncherMenuItem::Kind::Separator);
    // Hidden placeholders keep their design captions.
    EXPECT_FALSE(all[3 + 3].visible);
    EXPECT_EQ(all[3 + 9].caption, QStringLiteral("最近使ったファイル"));
    EXPECT_EQ(all[3 + 10].caption, QStringLiteral("RecentFile"));
    EXPECT_EQ(all[3 + 50].index, 50);

    const QList<LauncherMenuItem> shown = visibleItems();
    ASSERT_EQ(shown.size(), 6);
    EXPECT_EQ(shown[3].caption, QStringLiteral("&A memo.qlw\t/home/someone/cards/2001/memo...."));
    EXPECT_EQ(shown[4].caption, QStringLiteral("&B thirty-char.qlw\t") + exact);
    EXPECT_EQ(shown[5].caption, QStringLiteral("&C A&&B.qlw\t/data/A&&B.qlw"));
}

TEST_F(LauncherTest, ThirtyOneCharactersShowThirtyAndAnEllipsis)
{
    const QString path = QStringLiteral("/abcdefghijklmnopqrstuvwxyz.qlw");
    ASSERT_EQ(path.size(), 31);
    writeRecent(recent, {path});
    launcher.start({});
    EXPECT_EQ(visibleItems().at(3).caption,
              QStringLiteral("&A abcdefghijklmnopqrstuvwxyz.qlw\t") + path.left(30) + QStringLiteral("..."));
}

TEST_F(LauncherTest, EntriesFromTheTwentySeventhOnHaveNoLetterAndTheListStopsAtAGap)
{
    QStringList entries;
    for (int n = 0; n < 30; ++n)
        entries << QStringLiteral("/c/%1.qlw").arg(n);
    store.values.insert(QStringLiteral("MAXOFRECENTFILE"), QStringLiteral("51"));
    writeRecent(recent, entries, 50);
    launcher.start({});
    const QList<LauncherMenuItem> shown = visibleItems();
    ASSERT_EQ(shown.size(), 3 + 30);
    EXPECT_EQ(shown[3 + 25].caption, QStringLiteral("&Z 25.qlw\t/c/25.qlw"));
    EXPECT_EQ(shown[3 + 26].caption, QStringLiteral("  26.qlw\t/c/26.qlw"));

    QStringList gap{QStringLiteral("/a.qlw"), QString(), QStringLiteral("/c.qlw")};
    writeRecent(recent, gap);
    Launcher again(store, processes, launcherFolder);
    again.start({});
    EXPECT_EQ(again.recentEntries(), QStringList{QStringLiteral("/a.qlw")});
}

TEST_F(LauncherTest, MissingOrEmptyListGivesTheFixedItemsOnly)
{
    launcher.start({});
    EXPECT_EQ(visibleItems().size(), 3);
    writeRecent(recent, {});
    Launcher empty(store, processes, launcherFolder);
    empty.start({});
    EXPECT_EQ(empty.menu().size(), 54);
    int visible = 0;
    for (const LauncherMenuItem &item : empty.menu())
        visible += item.visible;
    EXPECT_EQ(visible, 3);
    // The launcher's reads never add keys to the list.
    EXPECT_EQ(Sandbox::readBytes(recent).count("RecentFile"), 26);
}

TEST_F(LauncherTest, ItemsStartQltwinEmptyOrOnTheirEntryAndCancelStartsNothing)
{
    writeRecent(recent, {QStringLiteral("/data/with space.qlw"), QStringLiteral("/data/b.csv")});
    launcher.start({});
    const QList<LauncherMenuItem> items = launcher.menu();
    const QString qltwin = launcherFolder + QStringLiteral("/QLTWIN");

    launcher.choose(items[1]); // cancel
    launcher.choose(items[2]); // separator
    EXPECT_TRUE(processes.calls.isEmpty());

    launcher.choose(items[0]);
    launcher.choose(items[3 + 1]);
    launcher.choose(items[3 + 0]);
    launcher.choose(items[3 + 7]); // a hidden placeholder: no entry, nothing starts
    ASSERT_EQ(processes.calls.size(), 3);
    EXPECT_EQ(processes.calls[0].program, qltwin);
    EXPECT_TRUE(processes.calls[0].arguments.isEmpty());
    EXPECT_EQ(processes.calls[1].arguments, QStringList{QStringLiteral("/data/b.csv")});
    EXPECT_EQ(processes.calls[2].arguments, QStringList{QStringLiteral("/data/with space.qlw")});
}

} // namespace
