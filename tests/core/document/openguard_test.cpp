// The file-in-use guard on "OpenCheck.ini".
#include "core/common/lockedinifile.h"
#include "core/common/win31j.h"
#include "core/document/openguard.h"

#include "support/fakedialogs.h"
#include "support/sandbox.h"

#include <QFile>
#include <QLockFile>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <chrono>

namespace {

const QString kInUse = QStringLiteral("このファイルはすでに開かれている可能性があります。\n強行しますか？");

QString card(int n)
{
    return QStringLiteral("/home/user/cards/card%1.qlw").arg(n);
}

class OpenGuardTest : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;
    QString listFile = folder.file(QStringLiteral("OpenCheck.ini"));
    FakeDialogs dialogs;
    OpenGuard guard{dialogs};

    QStringList lines()
    {
        QStringList out = Win31J::decode(Sandbox::readBytes(listFile)).split(QStringLiteral("\r\n"));
        if (!out.isEmpty() && out.last().isEmpty())
            out.removeLast();
        return out;
    }
    QStringList listed()
    {
        QStringList out;
        for (const QString &path : guard.listedSlots())
            if (!path.isEmpty())
                out << path;
        return out;
    }
};

TEST_F(OpenGuardTest, FirstOpenRegistersInTheSharedFileWithoutAsking)
{
    EXPECT_EQ(guard.listFile(), listFile);
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(card(1)));
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("[General]"), QStringLiteral("File0 = ") + card(1)}));
}

TEST_F(OpenGuardTest, SecondOpenWarnsAndNoKeepsTheListAsItWas)
{
    FakeDialogs otherDialogs;
    OpenGuard otherWindow(otherDialogs);
    ASSERT_FALSE(guard.CheckAndRegisterOpenFile(card(1)));
    const QByteArray before = Sandbox::readBytes(listFile);

    otherDialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_TRUE(otherWindow.CheckAndRegisterOpenFile(card(1)));
    ASSERT_EQ(otherDialogs.messages().size(), 1);
    const MessageRequest m = otherDialogs.messages().first();
    EXPECT_EQ(m.text, kInUse);
    EXPECT_EQ(m.icon, MsgIcon::Error);
    EXPECT_EQ(m.buttons, MsgButtons::YesNo);
    EXPECT_EQ(Sandbox::readBytes(listFile), before);
}

TEST_F(OpenGuardTest, ForcedOpenKeepsOneEntryWhichTheFirstCloseRemoves)
{
    FakeDialogs otherDialogs;
    OpenGuard otherWindow(otherDialogs);
    ASSERT_FALSE(guard.CheckAndRegisterOpenFile(card(1)));
    otherDialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_FALSE(otherWindow.CheckAndRegisterOpenFile(card(1)));
    EXPECT_EQ(listed(), QStringList{card(1)});

    otherWindow.UnregisterOpenFile(card(1));
    EXPECT_TRUE(listed().isEmpty());
    const QByteArray afterFirstClose = Sandbox::readBytes(listFile);
    guard.UnregisterOpenFile(card(1)); // finds nothing, writes nothing
    EXPECT_EQ(Sandbox::readBytes(listFile), afterFirstClose);
}

TEST_F(OpenGuardTest, PathsDifferingOnlyInCaseAreDifferentFiles)
{
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(QStringLiteral("/data/Memo.qlw")));
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(QStringLiteral("/data/memo.qlw")));
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("/data/Memo.qlw"), QStringLiteral("/data/memo.qlw")}));
    guard.UnregisterOpenFile(QStringLiteral("/data/MEMO.qlw"));
    EXPECT_EQ(listed().size(), 2);
}

TEST_F(OpenGuardTest, FiftyOneSlotsThenFilesOpenUnguarded)
{
    for (int n = 0; n < OpenGuard::SlotCount; ++n)
        ASSERT_FALSE(guard.CheckAndRegisterOpenFile(card(n)));
    const QStringList full = lines();
    ASSERT_EQ(full.size(), 52);
    EXPECT_EQ(full.last(), QStringLiteral("File50 = ") + card(50));

    const QByteArray before = Sandbox::readBytes(listFile);
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(card(51)));
    guard.RegisterOpenFile(card(52));
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(Sandbox::readBytes(listFile), before);

    // Every listed file still warns.
    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_TRUE(guard.CheckAndRegisterOpenFile(card(50)));
}

TEST_F(OpenGuardTest, FreedSlotIsTakenAgainFirst)
{
    for (int n = 0; n < 3; ++n)
        guard.RegisterOpenFile(card(n));
    guard.UnregisterOpenFile(card(1));
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("[General]"), QStringLiteral("File0 = ") + card(0),
                                    QStringLiteral("File2 = ") + card(2)}));
    guard.RegisterOpenFile(card(7));
    EXPECT_EQ(guard.listedSlots().mid(0, 3), (QStringList{card(0), card(7), card(2)}));
}

TEST_F(OpenGuardTest, RegisterDoesNotLookForTheFileFirst)
{
    guard.RegisterOpenFile(card(1));
    guard.RegisterOpenFile(card(1));
    EXPECT_EQ(listed(), (QStringList{card(1), card(1)}));
    guard.UnregisterOpenFile(card(1));
    EXPECT_EQ(listed(), QStringList{card(1)});
}

TEST_F(OpenGuardTest, UnregisterOfAPathNotListedSavesNothing)
{
    // A file in another hand's layout: a save would rewrite it.
    ASSERT_TRUE(Sandbox::writeBytes(listFile, QByteArray("File0=/a.qlw\r\n")));
    guard.UnregisterOpenFile(QStringLiteral("/b.qlw"));
    EXPECT_EQ(Sandbox::readBytes(listFile), QByteArray("File0=/a.qlw\r\n"));
    guard.UnregisterOpenFile(QStringLiteral("/a.qlw"));
    EXPECT_EQ(Sandbox::readBytes(listFile), QByteArray("[General]\r\n"));
}

TEST_F(OpenGuardTest, DeletedListCountsAsEmptyEvenAfterEntriesWereSeen)
{
    ASSERT_FALSE(guard.CheckAndRegisterOpenFile(card(1)));
    ASSERT_TRUE(QFile::remove(listFile)); // start-up of the first window clears it
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(card(1)));
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(lines(), (QStringList{QStringLiteral("[General]"), QStringLiteral("File0 = ") + card(1)}));
}

TEST_F(OpenGuardTest, EntriesOfOtherWindowsAreSeenAtOnce)
{
    FakeDialogs otherDialogs;
    OpenGuard otherWindow(otherDialogs);
    guard.RegisterOpenFile(card(1));
    otherWindow.RegisterOpenFile(card(2));
    guard.RegisterOpenFile(card(3));
    EXPECT_EQ(listed(), (QStringList{card(1), card(2), card(3)}));
}

TEST_F(OpenGuardTest, EmptyAndUnlistablePathsAreNotRegistered)
{
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(QString()));
    // A line break would forge a second key when the list is read again.
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(QStringLiteral("/a.qlw\r\nFile1 = /b.qlw")));
    guard.RegisterOpenFile(QStringLiteral("/c.qlw\n"));
    EXPECT_FALSE(QFile::exists(listFile));
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(OpenGuardTest, LockLeftByACrashedProcessIsTakenOver)
{
    // The lock file of a process that no longer runs (pid far above any
    // running one, this host).
    const QByteArray stale = "2147483000\nQLTWIN\n" + QSysInfo::machineHostName().toUtf8() + "\n";
    ASSERT_TRUE(Sandbox::writeBytes(LockedIniFile::lockFilePath(listFile), stale));
    EXPECT_FALSE(guard.CheckAndRegisterOpenFile(card(1)));
    EXPECT_EQ(listed(), QStringList{card(1)});
    EXPECT_FALSE(QFile::exists(LockedIniFile::lockFilePath(listFile)));

    // The cycle ran under the lock it took over, not unlocked after waiting
    // out the time-out.
    ASSERT_TRUE(Sandbox::writeBytes(LockedIniFile::lockFilePath(listFile), stale));
    iniMente store;
    const LockedIniFile::Result r = LockedIniFile::update(store, listFile, [](iniMente &) { return false; });
    EXPECT_TRUE(r.locked);
}

TEST_F(OpenGuardTest, ALockThatIsNeverReleasedDelaysButDoesNotStopTheCycle)
{
    QLockFile holder(LockedIniFile::lockFilePath(listFile));
    ASSERT_TRUE(holder.tryLock(0));
    iniMente store;
    LockedIniFile::Options options;
    options.lockTimeoutMs = 50;
    const LockedIniFile::Result r = LockedIniFile::update(
        store, listFile,
        [](iniMente &s) {
            s.SetiniValue(QStringLiteral("File0"), QStringLiteral("/x.qlw"));
            return true;
        },
        options);
    EXPECT_FALSE(r.locked);
    EXPECT_TRUE(r.saved);
    holder.unlock(); // listed() reads under the lock with the usual time-out
    EXPECT_EQ(listed(), QStringList{QStringLiteral("/x.qlw")});
}

TEST_F(OpenGuardTest, StartUpClearsTheListUnderTheLock)
{
    guard.RegisterOpenFile(card(1));
    EXPECT_TRUE(LockedIniFile::remove(listFile));
    EXPECT_FALSE(QFile::exists(listFile));
    EXPECT_TRUE(LockedIniFile::remove(listFile)); // nothing there: nothing to do
    EXPECT_FALSE(QFile::exists(LockedIniFile::lockFilePath(listFile)));
}

} // namespace
