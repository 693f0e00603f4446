// Speed of extraction on a card file of Japanese prose (32,767 cards, the
// most a card file holds), against glibc's iconv piped into grep.
// Targets:
//  - a plain-text and a regular-expression extraction over the whole main
//    card list, in process, each under 50 ms, also the first one, which
//    folds every card;
//  - `qltcard grep` (plain and --regex) as a whole process at most as slow as
//    `iconv -f WINDOWS-31J -t UTF-8 FILE | grep -c PATTERN` on the same file.
// Sorting the list is timed for information.
#include "benchsupport.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"
#include "core/cards/nativeformat.h"
#include "core/common/win31j.h"
#include "core/search/cardmatch.h"
#include "core/search/cardsort.h"
#include "core/search/extraction.h"
#include "core/search/grouplist.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using BenchSupport::bestSeconds;
using BenchSupport::ChildRun;
using BenchSupport::makeCardFile;
using BenchSupport::runChild;
using BenchSupport::SteadyClock;

// The fastest of several runs of each command, run in turns so that both
// meet the same load of the machine; status of the last run of each.
std::pair<ChildRun, ChildRun> bestOfBoth(const std::vector<QByteArray> &a, const std::vector<QByteArray> &b, int runs)
{
    ChildRun bestA, bestB;
    bestA.seconds = bestA.cpuSeconds = bestB.seconds = bestB.cpuSeconds = 1e30;
    auto keep = [](ChildRun &best, const ChildRun &r) {
        best.seconds = std::min(best.seconds, r.seconds);
        best.cpuSeconds = std::min(best.cpuSeconds, r.cpuSeconds);
        best.status = r.status;
    };
    for (int i = 0; i < runs; ++i) {
        keep(bestA, runChild(a));
        keep(bestB, runChild(b));
    }
    return {bestA, bestB};
}

bool report(const char *what, double value, double limit, const char *unit = "")
{
    return BenchSupport::report(62, what, value, limit, unit);
}

struct ExtractionTimes {
    double cold = 0; // a fresh list: every card folded (plain) first
    double warm = 0; // again on the same list
    qsizetype kept = 0;
};

ExtractionTimes timeExtraction(const CardStore &cards, const CardMatcher &matcher, int runs)
{
    ExtractionTimes t;
    t.cold = 1e30;
    for (int i = 0; i < runs; ++i) {
        CardList main, list;
        main.store().reset(cards.cards(), CardStore::Keys::Unique);
        Extraction ex(main, list);
        const auto t0 = SteadyClock::now();
        t.kept = ex.start(matcher);
        t.cold = std::min(t.cold, std::chrono::duration<double>(SteadyClock::now() - t0).count());
    }
    CardList main, list;
    main.store().reset(cards.cards(), CardStore::Keys::Unique);
    Extraction ex(main, list);
    ex.start(matcher);
    t.warm = bestSeconds(runs, [&] { ex.start(matcher); });
    return t;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QByteArray qltcard =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/qltcard")).toLocal8Bit();
    QTemporaryDir dir;
    if (!dir.isValid() || !QFile::exists(QString::fromLocal8Bit(qltcard))) {
        std::printf("search_bench: needs a temporary folder and %s\n", qltcard.constData());
        return 1;
    }
    bool ok = true;
    const int runs = 7;
    const qsizetype n = 32767;
    // --write PATH: only lays the card file down there (for profiling by hand).
    const qsizetype writeAt = app.arguments().indexOf(QStringLiteral("--write"));
    const bool writeOnly = writeAt > 0 && writeAt + 1 < app.arguments().size();
    const QString file = writeOnly ? app.arguments().at(writeAt + 1) : dir.filePath(QStringLiteral("cards.qlw"));
    const QByteArray bytes = makeCardFile(n);
    {
        QFile f(file);
        if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::printf("search_bench: cannot write %s\n", qPrintable(file));
            return 1;
        }
    }
    if (writeOnly)
        return 0;
    const QByteArray path = file.toLocal8Bit();
    std::printf("native file of %lld cards, %.1f MB\n", qlonglong(n), bytes.size() / 1e6);

    CardStore cards;
    if (!ReadNativeFile(file, cards).ok || cards.count() != n) {
        std::printf("search_bench: the file did not read back as %lld cards\n", qlonglong(n));
        return 1;
    }

    const QString plainKeyword = QStringLiteral("打ち合わせ");
    const QString regexKeyword = QStringLiteral("予算.*調整");
    const QString groupPattern = GroupList::Pattern(QStringLiteral("旅行"));
    struct Case {
        const char *name;
        CardMatcher matcher;
    };
    const Case cases[] = {
        {"plain text \"打ち合わせ\"", CardMatcher(plainKeyword, MatchMode::PlainText)},
        {"plain text \"ｶﾀｶﾅ\" (width-folded)", CardMatcher(QStringLiteral("ｶﾀｶﾅ"), MatchMode::PlainText)},
        {"regular expression \"予算.*調整\"", CardMatcher(regexKeyword, MatchMode::RegularExpression)},
        {"regular expression of the group 旅行", CardMatcher(groupPattern, MatchMode::RegularExpression)},
    };
    std::printf("  extraction over the main card list, in process:\n");
    for (const Case &c : cases) {
        const ExtractionTimes t = timeExtraction(cards, c.matcher, runs);
        std::printf("    %-40s %6lld cards kept, first %.1f ms, again %.1f ms\n", c.name, qlonglong(t.kept),
                    t.cold * 1e3, t.warm * 1e3);
        char what[128];
        std::snprintf(what, sizeof what, "extraction, %s (first run)", c.name);
        ok &= report(what, t.cold * 1e3, 50, " ms");
    }

    const QByteArray plainUtf8 = plainKeyword.toUtf8();
    const QByteArray regexUtf8 = regexKeyword.toUtf8();
    const auto pipeline = [&](const QByteArray &grepArgs) {
        return std::vector<QByteArray>{"/bin/sh", "-c", "iconv -f WINDOWS-31J -t UTF-8 \"$0\" | grep -c " + grepArgs,
                                       path};
    };
    const int childRuns = 11;
    const auto [iconvPlain, grepPlain] =
        bestOfBoth(pipeline("-F -- '" + plainUtf8 + "'"), {qltcard, "grep", plainUtf8, path}, childRuns);
    const auto [iconvRegex, grepRegex] =
        bestOfBoth(pipeline("-E -- '" + regexUtf8 + "'"), {qltcard, "grep", "--regex", regexUtf8, path}, childRuns);
    if (iconvPlain.status != 0 || iconvRegex.status != 0 || grepPlain.status != 0 || grepRegex.status != 0) {
        std::printf("search_bench: a child failed (iconv|grep %d %d, qltcard grep %d %d)\n", iconvPlain.status,
                    iconvRegex.status, grepPlain.status, grepRegex.status);
        return 1;
    }
    std::printf("  iconv | grep -c: plain %.1f ms, -E %.1f ms; qltcard grep: plain %.1f ms, --regex %.1f ms\n",
                iconvPlain.seconds * 1e3, iconvRegex.seconds * 1e3, grepPlain.seconds * 1e3, grepRegex.seconds * 1e3);
    std::printf("  the same in processor time (user + system): iconv | grep -c %.0f ms, %.0f ms; qltcard grep %.0f ms, "
                "%.0f ms (for information)\n",
                iconvPlain.cpuSeconds * 1e3, iconvRegex.cpuSeconds * 1e3, grepPlain.cpuSeconds * 1e3,
                grepRegex.cpuSeconds * 1e3);
    ok &= report("qltcard grep / (iconv | grep -c), plain text (time)", grepPlain.seconds / iconvPlain.seconds, 1.0);
    ok &= report("qltcard grep --regex / (iconv | grep -c -E) (time)", grepRegex.seconds / iconvRegex.seconds, 1.0);

    for (int column = 0; column < 3; ++column) {
        const double seconds = bestSeconds(3, [&] {
            CardStore copy;
            copy.reset(cards.cards(), CardStore::Keys::Unique);
            SortCardStore(copy, column, Qt::AscendingOrder);
        });
        std::printf("  %-62s %8.1f ms   (for information)\n",
                    column == 0   ? "sorting by title field"
                    : column == 1 ? "sorting by remarks"
                                  : "sorting by content",
                    seconds * 1e3);
    }
    return ok ? 0 : 1;
}
