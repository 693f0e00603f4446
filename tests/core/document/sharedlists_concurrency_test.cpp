// Several QLTWIN processes changing "OpenCheck.ini" and "Recent.ini" at the
// same moment: no entry may be lost or doubled.
#include "core/document/openguard.h"
#include "core/settings/recentfiles.h"

#include "support/fakedialogs.h"
#include "support/sandbox.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QSet>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

constexpr int kProcesses = 4;

class SharedListsConcurrency : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;

    // Starts kProcesses helpers with the arguments (the helper's id is put
    // after the mode), lets them go at once and waits for all.
    void runHelpers(const QString &mode, const QStringList &rest)
    {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QLT_HOME"), folder.path());
        std::vector<std::unique_ptr<QProcess>> processes;
        for (int id = 0; id < kProcesses; ++id) {
            auto p = std::make_unique<QProcess>();
            p->setProcessEnvironment(env);
            p->setProcessChannelMode(QProcess::ForwardedChannels);
            p->start(QStringLiteral(QLT_SHAREDLISTS_HELPER), QStringList{mode, QString::number(id)} + rest);
            ASSERT_TRUE(p->waitForStarted(10000));
            processes.push_back(std::move(p));
        }
        ASSERT_TRUE(Sandbox::writeBytes(folder.file(QStringLiteral("go")), "go"));
        for (auto &p : processes) {
            ASSERT_TRUE(p->waitForFinished(120000));
            EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(p->exitCode(), 0);
        }
    }
};

TEST_F(SharedListsConcurrency, OpenCheckLosesNoRegistrationAndNoRemoval)
{
    constexpr int count = 200;
    runHelpers(QStringLiteral("guard"), {QString::number(count)});

    FakeDialogs dialogs;
    OpenGuard guard(dialogs);
    QStringList listed;
    for (const QString &p : guard.listedSlots())
        if (!p.isEmpty())
            listed << p;

    QStringList expected;
    for (int id = 0; id < kProcesses; ++id) {
        for (int k = 0; k < count; k += 50)
            expected << QStringLiteral("/h%1/f%2.qlw").arg(id).arg(k);
        expected << QStringLiteral("/h%1/f%2.qlw").arg(id).arg(count - 1);
    }
    listed.sort();
    expected.sort();
    EXPECT_EQ(listed, expected);
}

TEST_F(SharedListsConcurrency, RecentListLosesAndDoublesNoEntry)
{
    constexpr int count = 12; // 4 x 12 = 48 distinct files fit into 51 entries
    runHelpers(QStringLiteral("recent"), {QString::number(count), QStringLiteral("8")});

    RecentFileList list(50);
    list.load();
    const QStringList entries = list.entries();
    ASSERT_EQ(entries.size(), kProcesses * count);
    EXPECT_EQ(QSet<QString>(entries.begin(), entries.end()).size(), entries.size());
    for (int id = 0; id < kProcesses; ++id) {
        // Each window's own files, newest first: its last round's order.
        QStringList own;
        for (const QString &e : entries)
            if (e.startsWith(QStringLiteral("/h%1/").arg(id)))
                own << e;
        QStringList expected;
        for (int k = count - 1; k >= 0; --k)
            expected << QStringLiteral("/h%1/r%2.qlw").arg(id).arg(k);
        EXPECT_EQ(own, expected) << "window " << id;
    }
}

} // namespace
