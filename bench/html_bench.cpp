// Speed of `qltcard html` as a whole process on the card file of Japanese
// prose, against public tools doing the bare file work:
//  - mode 1 (a page per card, numbered names) at most 1.5 times `cp -r` of
//    the tree it produced, measured side by side;
//  - a second run over unchanged cards (every page left alone) at most 0.3
//    times the first;
//  - mode 0 (one page) at most 2 times `iconv -f WINDOWS-31J -t UTF-8` of the
//    card file;
//  - time per card of mode 1 flat (within 20%) from 32,767 to 200,000 cards.
// Every figure is the best of several runs (mode 1 three at both sizes,
// mode 0 five).
// `html_bench --quick` leaves out the 200,000-card file; `html_bench --corpus
// N FILE` only writes the card file of N cards, for profiling by hand.
#include "benchsupport.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <unistd.h>

namespace {

using BenchSupport::makeCardFile;
using BenchSupport::runChild;

bool report(const char *what, double value, double limit)
{
    return BenchSupport::report(58, what, value, limit, "");
}

// One timed run of argv; 1e30 when it failed. user (when given) gets its
// user time.
double timed(const QList<QByteArray> &argv, double *user = nullptr)
{
    const BenchSupport::ChildRun r = runChild(argv);
    if (r.status != 0) {
        std::printf("  %s failed (status %d)\n", argv.first().constData(), r.status);
        return 1e30;
    }
    if (user)
        *user = r.userSeconds;
    return r.seconds;
}

double bestOf(int runs, const QList<QByteArray> &argv)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i)
        best = std::min(best, timed(argv));
    return best;
}

struct Mode1 {
    double first = 1e30; // fresh tree
    double again = 1e30; // the same cards again
    double copy = 1e30;  // cp -r of the tree
    double user = 0;     // user time of the fastest fresh tree
};

// The mode 1 runs on one card file: each writes a tree of its own into work,
// then `cp -r` copies the first tree.
class Mode1Runs
{
public:
    Mode1Runs(const QByteArray &qltcard, const QByteArray &tmpl, const QString &cards, const QString &work)
        : m_qltcard(qltcard), m_tmpl(tmpl), m_cards(cards), m_work(work)
    {
        QDir().mkpath(work);
    }

    // The i-th fresh tree and its copy, each once the files of the runs
    // before are on the disk: their write-back would otherwise take the
    // processor from the runs that follow.
    void runFresh(int i)
    {
        double user = 0;
        ::sync();
        const double seconds = timed(html(tree(i)), &user);
        if (seconds < m_m.first) {
            m_m.first = seconds;
            m_m.user = user;
        }
        ::sync();
        m_m.copy = std::min(m_m.copy, timed({"cp", "-r", QFile::encodeName(tree(0)),
                                             QFile::encodeName(m_work + QStringLiteral("/copy%1").arg(i))}));
    }

    // The first tree written again from the same cards.
    void runAgain(int runs) { m_m.again = bestOf(runs, html(tree(0))); }

    const Mode1 &figures() const { return m_m; }

private:
    QString tree(int i) const { return m_work + QStringLiteral("/tree%1").arg(i); }
    QList<QByteArray> html(const QString &out) const
    {
        return {
            m_qltcard, "html", "--mode", "1", "--template", m_tmpl, QFile::encodeName(m_cards), QFile::encodeName(out)};
    }

    QByteArray m_qltcard;
    QByteArray m_tmpl;
    QString m_cards;
    QString m_work;
    Mode1 m_m;
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const bool quick = argc > 1 && std::strcmp(argv[1], "--quick") == 0;
    if (argc == 4 && std::strcmp(argv[1], "--corpus") == 0) {
        QFile f(QString::fromLocal8Bit(argv[3]));
        return f.open(QIODevice::WriteOnly) && f.write(makeCardFile(std::atoll(argv[2]))) >= 0 ? 0 : 1;
    }
    const QString bin = QCoreApplication::applicationDirPath() + QStringLiteral("/../bin");
    const QByteArray qltcard = QFile::encodeName(bin + QStringLiteral("/qltcard"));
    const QByteArray tmpl = QFile::encodeName(bin + QStringLiteral("/HinaDefault.qlw"));
    QTemporaryDir dir;
    if (!dir.isValid() || !QFile::exists(QString::fromLocal8Bit(qltcard))
        || !QFile::exists(QString::fromLocal8Bit(tmpl))) {
        std::printf("html_bench: needs a temporary folder, %s and %s\n", qltcard.constData(), tmpl.constData());
        return 1;
    }
    auto cardFile = [&](qsizetype n) {
        const QString path = dir.filePath(QStringLiteral("cards%1.qlw").arg(n));
        QFile f(path);
        if (!f.open(QIODevice::WriteOnly) || f.write(makeCardFile(n)) < 0)
            return QString();
        return path;
    };
    bool ok = true;
    const qsizetype small = 32767;
    const QString smallCards = cardFile(small);
    std::printf("  %lld cards, %.1f MB\n", (long long)small, QFileInfo(smallCards).size() / 1e6);

    // Every run writes a tree of its own and nothing is removed until the
    // whole benchmark ends: for some minutes after a tree of thousands of
    // files is removed, ext4 makes each new file step over the inodes just
    // freed, which made a run after a removal up to ten times slower than the
    // same run later. The runs start once the disk has settled from what came
    // before (the benchmarks before this one write and remove files of
    // hundreds of megabytes). The two sizes and the copies take turns, so a
    // slow spell of the machine, and the file system's growing work for each
    // new file as the files made before add up, fall on both sizes alike.
    const qsizetype large = 200000;
    Mode1Runs smallRuns(qltcard, tmpl, smallCards, dir.filePath(QStringLiteral("small")));
    std::optional<Mode1Runs> largeRuns;
    if (!quick)
        largeRuns.emplace(qltcard, tmpl, cardFile(large), dir.filePath(QStringLiteral("large")));
    BenchSupport::awaitQuietDisk();
    for (int i = 0; i < 3; ++i) {
        smallRuns.runFresh(i);
        if (largeRuns)
            largeRuns->runFresh(i);
    }
    smallRuns.runAgain(3);
    const Mode1 &m = smallRuns.figures();
    std::printf("  mode 1: first run %.0f ms, unchanged run %.0f ms, cp -r of its tree %.0f ms\n", m.first * 1e3,
                m.again * 1e3, m.copy * 1e3);
    ok &= report("qltcard html --mode 1 / cp -r of the tree (time)", m.first / m.copy, 1.5);
    ok &= report("unchanged second run / first run (time)", m.again / m.first, 0.3);

    // Each run writes a new page, as each mode 1 run writes a new tree;
    // replacing the page of an earlier run also makes the file system put
    // the old one's blocks away, shown for information.
    const QString single = dir.filePath(QStringLiteral("single.html"));
    const QList<QByteArray> mode0Run{
        qltcard, "html", "--mode", "0", "--template", tmpl, QFile::encodeName(smallCards), QFile::encodeName(single)};
    const QList<QByteArray> iconvRun{"iconv", "-f", "WINDOWS-31J", "-t", "UTF-8", QFile::encodeName(smallCards)};
    // Both take a tenth of a second or less: they take turns, five times,
    // so that a slow spell of the machine falls on both alike.
    double mode0 = 1e30, replacing = 1e30, iconv = 1e30;
    for (int i = 0; i < 5; ++i) {
        QFile::remove(single);
        mode0 = std::min(mode0, timed(mode0Run));
        replacing = std::min(replacing, timed(mode0Run));
        iconv = std::min(iconv, timed(iconvRun));
    }
    std::printf("  mode 0 %.0f ms (replacing the page of the run before: %.0f ms), iconv %.0f ms\n", mode0 * 1e3,
                replacing * 1e3, iconv * 1e3);
    ok &= report("qltcard html --mode 0 / iconv of the card file (time)", mode0 / iconv, 2.0);

    if (largeRuns) {
        const Mode1 &l = largeRuns->figures();
        const double perSmall = m.first / double(small);
        const double perLarge = l.first / double(large);
        std::printf("  mode 1 per card: %.1f us at %lld cards, %.1f us at %lld cards (cp -r: %.1f and %.1f us)\n",
                    perSmall * 1e6, (long long)small, perLarge * 1e6, (long long)large, m.copy / double(small) * 1e6,
                    l.copy / double(large) * 1e6);
        std::printf("  of which the program's own work (user time): %.1f and %.1f us, %.2f times\n",
                    m.user / double(small) * 1e6, l.user / double(large) * 1e6,
                    (l.user / double(large)) / (m.user / double(small)));
        ok &= report("mode 1 time per card, 200,000 / 32,767 cards", perLarge / perSmall, 1.2);
    }
    return ok ? 0 : 1;
}
