#pragma once
// What the benchmarks share: the card file of Japanese prose they measure on,
// and running a program as a whole process with its time and peak memory.

#include "core/common/win31j.h"

#include <QByteArray>
#include <QRandomGenerator>
#include <QString>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace BenchSupport {

using SteadyClock = std::chrono::steady_clock;

inline const char16_t *const Phrases[] = {
    u"今日は朝から雨が降っていたので、",
    u"会議の資料を作成しました。",
    u"次回の打ち合わせは来週の火曜日です。",
    u"東京都千代田区丸の内一丁目",
    u"お問い合わせは担当者までご連絡ください。",
    u"新しい企画について検討する必要がある。",
    u"図書館で借りた本を返却する。",
    u"予算の見直しと日程の調整",
    u"カード型データベースの使い方",
    u"ファイルを保存してから終了します。",
    u"重要：締め切りは金曜日の正午",
    u"「品質管理」の報告書を提出",
    u"ｶﾀｶﾅの半角文字も混ざることがある",
    u"①第一項目　②第二項目",
    u"電話 03-1234-5678 ",
    u"合計 12,345円",
};
inline const char16_t *const Groups[] = {u"仕事", u"旅行", u"読書", u"料理", u"日記", u"買い物", u"勉強", u"趣味"};

// A native card file of n cards, about 320 bytes each, always the same for
// the same n. Its titles repeat: a few thousand different ones, as dates,
// groups and phrases combine. With distinctTitles every title ends in a
// number of its own instead, the hardest case for a sort.
inline QByteArray makeCardFile(qsizetype n, bool distinctTitles = false)
{
    QRandomGenerator rng(20240229);
    auto phrase = [&] { return QString::fromUtf16(Phrases[rng.bounded(int(std::size(Phrases)))]); };
    QByteArray bytes;
    bytes.reserve(n * 340);
    QString card;
    for (qsizetype i = 0; i < n; ++i) {
        card.clear();
        if (rng.bounded(3))
            card += QStringLiteral("2024/02/%1：").arg(1 + rng.bounded(28), 2, 10, QLatin1Char('0'));
        card += QString::fromUtf16(Groups[rng.bounded(int(std::size(Groups)))]) + QChar(0xFF20) + phrase();
        if (distinctTitles)
            card += QStringLiteral(" No.%1").arg(i);
        card += QChar(1);
        card += phrase();
        card += QChar(1);
        for (int line = 0; line < 4; ++line)
            card += phrase() + phrase() + QStringLiteral("\r\n");
        card += QChar(1);
        Win31J::encodeAppend(card, bytes);
    }
    return bytes;
}

struct ChildRun {
    double seconds = 0;     // wall time
    double cpuSeconds = 0;  // user + system, its own children included
    double userSeconds = 0; // user alone: the program's own work, without the kernel's
    long maxRssKb = 0;      // peak memory
    int status = -1;        // exit status, -1 when it did not end normally
};

// Runs argv (argv[0] looked up in PATH) with standard output to /dev/null.
template<typename Arguments>
ChildRun runChild(const Arguments &argv)
{
    std::vector<char *> args;
    for (const QByteArray &a : argv)
        args.push_back(const_cast<char *>(a.constData()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    ChildRun run;
    const auto t0 = SteadyClock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) != 0) {
        posix_spawn_file_actions_destroy(&actions);
        return run;
    }
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    run.seconds = std::chrono::duration<double>(SteadyClock::now() - t0).count();
    auto secondsOf = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    run.userSeconds = secondsOf(usage.ru_utime);
    run.cpuSeconds = run.userSeconds + secondsOf(usage.ru_stime);
    run.maxRssKb = usage.ru_maxrss;
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

// The fastest of several runs of f, in seconds.
template<typename F>
double bestSeconds(int runs, F &&f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = SteadyClock::now();
        f();
        best = std::min(best, std::chrono::duration<double>(SteadyClock::now() - t0).count());
    }
    return best;
}

// The share of the last ten seconds in which some task waited for the disk
// (/proc/pressure/io, "some avg10"), in percent; -1 where the kernel does
// not tell.
inline double ioPressure()
{
    std::FILE *f = std::fopen("/proc/pressure/io", "r");
    if (!f)
        return -1;
    double avg10 = -1;
    if (std::fscanf(f, "some avg10=%lf", &avg10) != 1)
        avg10 = -1;
    std::fclose(f);
    return avg10;
}

// Waits, up to limitSeconds, until the disk has been all but idle for ten
// seconds: the write-back and the discards of files written or removed
// before (by an earlier benchmark, or another program) otherwise fall on the
// runs that follow. Says so when it waited, and when the disk stayed busy.
inline void awaitQuietDisk(double limitSeconds = 180)
{
    const double quiet = 2.0;
    const auto t0 = SteadyClock::now();
    double pressure = ioPressure();
    double waited = 0;
    while (pressure > quiet && waited < limitSeconds) {
        ::sleep(2);
        pressure = ioPressure();
        waited = std::chrono::duration<double>(SteadyClock::now() - t0).count();
    }
    if (pressure > quiet)
        std::printf("  the disk stayed busy (I/O pressure %.0f%% after %.0f s): figures of file writing are not firm\n",
                    pressure, waited);
    else if (waited > 0)
        std::printf("  waited %.0f s for the disk to settle\n", waited);
}

// One line "what value (limit) PASS|FAIL"; true when value is within limit.
inline bool report(int width, const char *what, double value, double limit, const char *unit)
{
    const bool pass = value <= limit;
    std::printf("  %-*s %8.3f%s (limit %.2f%s)  %s\n", width, what, value, unit, limit, unit, pass ? "PASS" : "FAIL");
    return pass;
}

} // namespace BenchSupport
