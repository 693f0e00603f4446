// Speed and memory of the card store and the native format on a card file of
// Japanese prose, against glibc's iconv converting the same file.
// Targets:
//  - `qltcard stat` as a whole process at most half the time of
//    `iconv -f WINDOWS-31J -t UTF-16LE` on a file of 32,767 cards (~10 MB);
//  - saving (WriteNativeFile after a read) at most half the iconv time too,
//    judged on the program's own work: building the bytes, writing them and
//    the rename, without the fdatasync that makes the save durable (iconv
//    does none; its cost is the disk's). The durable save and the phases
//    are printed beside it;
//  - time per card (read, write) grows at most 20% from 32,767 to 1,000,000 cards;
//  - peak memory of `qltcard stat` at most three times the file size above
//    the baseline of `qltcard --version`.
// `cards_bench --quick` leaves out the million-card file. Times per card
// compare whole processes, each starting with an empty heap; a run inside
// this process would reuse memory freed by the run before it and flatter the
// small file.
#include "benchsupport.h"

#include "core/cards/cardstore.h"
#include "core/cards/nativeformat.h"
#include "core/common/win31j.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

using BenchSupport::bestSeconds;
using BenchSupport::ChildRun;
using BenchSupport::makeCardFile;
using BenchSupport::runChild;
using BenchSupport::SteadyClock;

// Peak memory of a child. A child started from this process (vfork and exec)
// inherits this process's high-water mark, so the measuring is done by a
// fresh copy of this program (--peak), which starts the child itself.
long peakKb(const QByteArray &self, const QList<QByteArray> &argv)
{
    QList<QByteArray> helper{self, "--peak"};
    helper += argv;
    QTemporaryDir dir;
    const QByteArray out = dir.filePath(QStringLiteral("peak")).toLocal8Bit();
    helper.insert(2, out);
    if (runChild(helper).status != 0)
        return -1;
    QFile f(QString::fromLocal8Bit(out));
    return f.open(QIODevice::ReadOnly) ? f.readAll().trimmed().toLong() : -1;
}

// --peak OUT PROGRAM ARGS...: runs PROGRAM and writes its peak memory (KB) to OUT.
int peakMode(int argc, char **argv)
{
    QList<QByteArray> child;
    for (int i = 3; i < argc; ++i)
        child.append(argv[i]);
    const ChildRun r = runChild(child);
    if (r.status != 0)
        return 1;
    FILE *f = std::fopen(argv[2], "w");
    if (!f)
        return 1;
    std::fprintf(f, "%ld\n", r.maxRssKb);
    std::fclose(f);
    return 0;
}

// The fastest of several runs (and the largest peak memory seen).
ChildRun bestChild(const QList<QByteArray> &argv, int runs)
{
    ChildRun best;
    best.seconds = 1e30;
    for (int i = 0; i < runs; ++i) {
        const ChildRun r = runChild(argv);
        best.status = r.status;
        best.seconds = std::min(best.seconds, r.seconds);
        best.maxRssKb = std::max(best.maxRssKb, r.maxRssKb);
    }
    return best;
}

bool report(const char *what, double value, double limit, const char *unit = "")
{
    return BenchSupport::report(58, what, value, limit, unit);
}

struct InProcess {
    double readPerCard = 0;
    double writePerCard = 0;
    double writeSeconds = 0; // WriteNativeFile as the program saves: durable
    // The phases of a save, timed one by one on the same bytes: building
    // them (NativeFileBytes), writing them to a new file beside the target,
    // fdatasync, renaming it over the target. AtomicFile::write does these
    // steps through QSaveFile.
    double buildSeconds = 0;
    double plainWriteSeconds = 0;
    double syncSeconds = 0;
    double renameSeconds = 0;
    double ownSeconds = 0; // one save without its fdatasync (best run)
};

// Writes bytes to path + ".new" and renames it over path, timing the phases
// of a save; false when a step failed.
bool savePhases(const QByteArray &bytes, const QByteArray &path, double *write, double *sync, double *rename)
{
    const QByteArray temp = path + ".new";
    const auto t0 = SteadyClock::now();
    const int fd = ::open(temp.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n <= 0)
            break;
        done += n;
    }
    const auto t1 = SteadyClock::now();
    const bool synced = ::fdatasync(fd) == 0;
    const auto t2 = SteadyClock::now();
    const bool closed = ::close(fd) == 0;
    const bool renamed = std::rename(temp.constData(), path.constData()) == 0;
    const auto t3 = SteadyClock::now();
    *write = std::chrono::duration<double>(t1 - t0).count();
    *sync = std::chrono::duration<double>(t2 - t1).count();
    *rename = std::chrono::duration<double>(t3 - t2).count();
    return done == bytes.size() && synced && closed && renamed;
}

InProcess measureInProcess(const QString &file, qsizetype cards, const QString &out, int runs)
{
    InProcess m;
    double read = 1e30;
    for (int i = 0; i < runs; ++i) {
        CardStore fresh;
        const auto t0 = SteadyClock::now();
        const ReadResult r = ReadNativeFile(file, fresh);
        read = std::min(read, std::chrono::duration<double>(SteadyClock::now() - t0).count());
        if (!r.ok)
            std::printf("  ! %s\n", qPrintable(r.error));
    }
    CardStore store;
    if (const ReadResult r = ReadNativeFile(file, store); !r.ok)
        std::printf("  ! %s\n", qPrintable(r.error));
    if (store.count() != cards)
        std::printf("  ! read %lld cards, expected %lld\n", qlonglong(store.count()), qlonglong(cards));
    m.writeSeconds = bestSeconds(runs, [&] {
        if (!WriteNativeFile(out, store, {}).ok())
            std::printf("  ! WriteNativeFile failed\n");
    });
    m.readPerCard = read / double(cards);
    m.writePerCard = m.writeSeconds / double(cards);

    const QByteArray outPath = out.toLocal8Bit();
    m.buildSeconds = m.plainWriteSeconds = m.syncSeconds = m.renameSeconds = m.ownSeconds = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = SteadyClock::now();
        const QByteArray bytes = NativeFileBytes(store, {});
        const double build = std::chrono::duration<double>(SteadyClock::now() - t0).count();
        double write = 0, sync = 0, rename = 0;
        if (!savePhases(bytes, outPath, &write, &sync, &rename))
            std::printf("  ! writing %s failed\n", outPath.constData());
        m.buildSeconds = std::min(m.buildSeconds, build);
        m.plainWriteSeconds = std::min(m.plainWriteSeconds, write);
        m.syncSeconds = std::min(m.syncSeconds, sync);
        m.renameSeconds = std::min(m.renameSeconds, rename);
        m.ownSeconds = std::min(m.ownSeconds, build + write + rename);
    }
    return m;
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc > 3 && std::strcmp(argv[1], "--peak") == 0)
        return peakMode(argc, argv);
    QCoreApplication app(argc, argv);
    const bool quick = app.arguments().contains(QStringLiteral("--quick"));
    const QByteArray self = QCoreApplication::applicationFilePath().toLocal8Bit();
    const QByteArray qltcard =
        (QCoreApplication::applicationDirPath() + QStringLiteral("/../bin/qltcard")).toLocal8Bit();
    QTemporaryDir dir;
    if (!dir.isValid() || !QFile::exists(QString::fromLocal8Bit(qltcard))) {
        std::printf("cards_bench: needs a temporary folder and %s\n", qltcard.constData());
        return 1;
    }
    bool ok = true;
    const int runs = 7;
    const long baselineKb = peakKb(self, {qltcard, "--version"});

    const qsizetype small = 32767;
    const QString smallFile = dir.filePath(QStringLiteral("small.qlw"));
    const QByteArray smallBytes = makeCardFile(small);
    writeFile(smallFile, smallBytes);
    const QByteArray smallPath = smallFile.toLocal8Bit();
    const QByteArray copyPath = dir.filePath(QStringLiteral("copy.qlw")).toLocal8Bit();
    std::printf("native file of %lld cards, %.1f MB\n", qlonglong(small), smallBytes.size() / 1e6);
    // The saves measured make files: they start once the disk has settled
    // from what came before (a large removal slows every new file for
    // minutes).
    BenchSupport::awaitQuietDisk();

    const ChildRun iconv = bestChild({"iconv", "-f", "WINDOWS-31J", "-t", "UTF-16LE", smallPath}, runs);
    const ChildRun stat = bestChild({qltcard, "stat", smallPath}, runs);
    const ChildRun convert = bestChild({qltcard, "convert", smallPath, copyPath}, runs);
    const ChildRun version = bestChild({qltcard, "--version"}, runs);
    if (iconv.status != 0 || stat.status != 0 || convert.status != 0) {
        std::printf("cards_bench: a child failed (iconv %d, stat %d, convert %d)\n", iconv.status, stat.status,
                    convert.status);
        return 1;
    }
    std::printf(
        "  iconv %.1f ms, qltcard stat %.1f ms, qltcard convert x.qlw y.qlw %.1f ms, qltcard --version %.1f ms\n",
        iconv.seconds * 1e3, stat.seconds * 1e3, convert.seconds * 1e3, version.seconds * 1e3);
    ok &= report("qltcard stat / iconv (time)", stat.seconds / iconv.seconds, 0.5);

    const InProcess smallRun = measureInProcess(smallFile, small, dir.filePath(QStringLiteral("out.qlw")), runs);
    std::printf("  in process: read %.1f ms, write %.1f ms (WriteNativeFile, durable: fdatasync before the rename)\n",
                smallRun.readPerCard * small * 1e3, smallRun.writeSeconds * 1e3);
    std::printf("  phases of a save: build the bytes %.1f ms, write them %.1f ms, fdatasync %.1f ms, rename %.1f ms\n",
                smallRun.buildSeconds * 1e3, smallRun.plainWriteSeconds * 1e3, smallRun.syncSeconds * 1e3,
                smallRun.renameSeconds * 1e3);
    // iconv writes without a sync, and what a sync costs is the disk's: the
    // program's own work (build, write, rename) is judged; the durable save
    // is shown beside it.
    ok &= report("saving in process without the fdatasync / iconv (time)", smallRun.ownSeconds / iconv.seconds, 0.5);
    std::printf("  %-58s %8.3f   (for information)\n", "saving in process, durable (WriteNativeFile) / iconv (time)",
                smallRun.writeSeconds / iconv.seconds);
    std::printf("  %-58s %8.3f   (for information)\n", "qltcard convert x.qlw y.qlw / iconv (time)",
                convert.seconds / iconv.seconds);
    const long smallPeak = peakKb(self, {qltcard, "stat", smallPath});
    std::printf("  peak memory: qltcard --version %.1f MB, qltcard stat %.1f MB\n", baselineKb / 1024.0,
                smallPeak / 1024.0);
    ok &= report("qltcard stat peak memory above baseline / file size",
                 double(smallPeak - baselineKb) * 1024.0 / double(smallBytes.size()), 3.0);

    if (!quick) {
        const qsizetype large = 1000000;
        const QString largeFile = dir.filePath(QStringLiteral("large.qlw"));
        qsizetype largeSize = 0;
        {
            const QByteArray largeBytes = makeCardFile(large);
            largeSize = largeBytes.size();
            writeFile(largeFile, largeBytes);
        }
        const QByteArray largePath = largeFile.toLocal8Bit();
        std::printf("native file of %lld cards, %.1f MB\n", qlonglong(large), largeSize / 1e6);
        const ChildRun largeStat = bestChild({qltcard, "stat", largePath}, 3);
        const ChildRun largeConvert = bestChild({qltcard, "convert", largePath, copyPath}, 3);
        std::printf("  qltcard stat %.0f ms, qltcard convert x.qlw y.qlw %.0f ms\n", largeStat.seconds * 1e3,
                    largeConvert.seconds * 1e3);
        const double n = double(large) / double(small);
        ok &=
            report("qltcard stat, time per card, 1,000,000 / 32,767 cards", largeStat.seconds / n / stat.seconds, 1.2);
        ok &= report("qltcard convert, time per card, 1,000,000 / 32,767 cards",
                     largeConvert.seconds / n / convert.seconds, 1.2);
        const InProcess largeRun = measureInProcess(largeFile, large, dir.filePath(QStringLiteral("out.qlw")), 3);
        std::printf("  in process: read %.0f ms, write %.0f ms; per card against the small file: read %.2f, "
                    "write %.2f (for information)\n",
                    largeRun.readPerCard * large * 1e3, largeRun.writeSeconds * 1e3,
                    largeRun.readPerCard / smallRun.readPerCard, largeRun.writePerCard / smallRun.writePerCard);
        const long largePeak = peakKb(self, {qltcard, "stat", largePath});
        std::printf("  peak memory: qltcard stat %.0f MB\n", largePeak / 1024.0);
        ok &= report("qltcard stat peak memory above baseline / file size (1M)",
                     double(largePeak - baselineKb) * 1024.0 / double(largeSize), 3.0);
    }
    return ok ? 0 : 1;
}
