// The restart that gives a large card file a heap of huge pages: the
// restarted program sees the environment it was started with, and only the
// heap tunable differs in what glibc read.
#include "core/heap/hugepageheap.h"

#include <QMap>
#include <QProcess>
#include <QProcessEnvironment>

#include <gtest/gtest.h>

namespace {

struct Seen {
    QString tunables, started;
    int restarted = -1;
    int marks = -1;
};

Seen runProbe(const QMap<QString, QString> &set)
{
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.remove(QStringLiteral("GLIBC_TUNABLES"));
    env.remove(QStringLiteral("QLT_NO_HUGE_PAGES"));
    env.remove(QStringLiteral("LD_PRELOAD"));
    for (auto it = set.begin(); it != set.end(); ++it)
        env.insert(it.key(), it.value());
    QProcess p;
    p.setProcessEnvironment(env);
    p.start(QStringLiteral(QLT_HUGEPAGEHEAP_PROBE), {});
    Seen seen;
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return seen;
    for (const QString &line : QString::fromLocal8Bit(p.readAllStandardOutput()).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("tunables=")))
            seen.tunables = line.mid(9);
        else if (line.startsWith(QLatin1String("started=")))
            seen.started = line.mid(8);
        else if (line.startsWith(QLatin1String("restarted=")))
            seen.restarted = line.mid(10).toInt();
        else if (line.startsWith(QLatin1String("marks=")))
            seen.marks = line.mid(6).toInt();
    }
    return seen;
}

bool sanitized()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return true;
#else
    return false;
#endif
}

TEST(HugePageHeap, RestartsWithTheTunableAndPutsTheEnvironmentBack)
{
    if (sanitized())
        GTEST_SKIP() << "a sanitizer build keeps its own allocator and does not restart";
    const Seen fresh = runProbe({});
    EXPECT_EQ(fresh.restarted, 1);
    EXPECT_EQ(fresh.started, QStringLiteral("glibc.malloc.hugetlb=1"));
    EXPECT_EQ(fresh.tunables, QStringLiteral("(unset)"));
    EXPECT_EQ(fresh.marks, 0);

    // The caller's own tunables are kept, and are what children inherit.
    const Seen kept = runProbe({{QStringLiteral("GLIBC_TUNABLES"), QStringLiteral("glibc.malloc.arena_max=4")}});
    EXPECT_EQ(kept.restarted, 1);
    EXPECT_TRUE(kept.started.startsWith(QStringLiteral("glibc.malloc.arena_max=4"))) << qPrintable(kept.started);
    EXPECT_EQ(kept.tunables, QStringLiteral("glibc.malloc.arena_max=4"));
    EXPECT_EQ(kept.marks, 0);
}

TEST(HugePageHeap, LeavesAChosenHeapAlone)
{
    const Seen chosen = runProbe({{QStringLiteral("GLIBC_TUNABLES"), QStringLiteral("glibc.malloc.hugetlb=0")}});
    EXPECT_EQ(chosen.restarted, 0);
    EXPECT_EQ(chosen.tunables, QStringLiteral("glibc.malloc.hugetlb=0"));

    const Seen off = runProbe({{QStringLiteral("QLT_NO_HUGE_PAGES"), QStringLiteral("1")}});
    EXPECT_EQ(off.restarted, 0);
    EXPECT_EQ(off.started, QStringLiteral("(unset)"));
    EXPECT_EQ(off.marks, 0);
}

TEST(HugePageHeap, TunablesTooLongForTheBufferAreNotCut)
{
    char buffer[28];
    EXPECT_STREQ(HugePageHeap::TunablesWith(nullptr, buffer, sizeof buffer), "glibc.malloc.hugetlb=1");
    EXPECT_STREQ(HugePageHeap::TunablesWith("", buffer, sizeof buffer), "glibc.malloc.hugetlb=1");
    EXPECT_EQ(HugePageHeap::TunablesWith("glibc.malloc.arena_max=4", buffer, sizeof buffer), nullptr);
}

} // namespace
