// Speed of the Windows-31J codec on typical card text, against glibc's
// iconv run as a process on the same bytes. Target: decode at least twice
// as fast as iconv.
#include "core/common/win31j.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QList>
#include <QRandomGenerator>
#include <QString>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

// Card-like prose: kanji and kana sentences with some ASCII (dates, numbers,
// addresses, English words), in CR LF lines of varying length.
QString makeCardText(qsizetype targetUnits)
{
    static const char16_t *const phrases[] = {
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
        u"①第一項目　②第二項目　③第三項目",
        u"株式会社㈱と№の記号",
        u"電話 03-1234-5678 ",
        u"http://www.example.co.jp/index.html ",
        u"2024/04/01：",
        u"Meeting notes ",
        u"TODO: ",
        u"合計 12,345円",
        u"（注）",
        u"…",
    };
    constexpr int phraseCount = int(sizeof phrases / sizeof phrases[0]);
    QRandomGenerator rng(31);
    QString text;
    text.reserve(targetUnits + 256);
    while (text.size() < targetUnits) {
        const int words = 1 + int(rng.bounded(8));
        for (int w = 0; w < words; ++w)
            text += QString::fromUtf16(phrases[rng.bounded(phraseCount)]);
        text += QStringLiteral("\r\n");
    }
    return text;
}

template<typename F>
double bestSeconds(int runs, F &&f)
{
    double best = 1e30;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = Clock::now();
        f();
        const std::chrono::duration<double> d = Clock::now() - t0;
        best = std::min(best, d.count());
    }
    return best;
}

// Runs iconv on input, its output going to outputPath; false when it could
// not be started or failed.
bool runIconv(const QByteArray &input, const QByteArray &outputPath)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outputPath.constData(), O_WRONLY | O_CREAT | O_TRUNC,
                                     0600);
    char arg0[] = "iconv", arg1[] = "-f", arg2[] = "WINDOWS-31J", arg3[] = "-t", arg4[] = "UTF-16LE";
    QByteArray in = input;
    char *argv[] = {arg0, arg1, arg2, arg3, arg4, in.data(), nullptr};
    pid_t pid = 0;
    const int rc = posix_spawnp(&pid, "iconv", &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (rc != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

double mbPerSecond(qsizetype bytes, double seconds)
{
    return double(bytes) / 1e6 / seconds;
}

} // namespace

int main()
{
    const QString text = makeCardText(2'500'000);
    Win31J::EncodeStats encodeStats;
    const QByteArray bytes = Win31J::encode(text, &encodeStats);
    if (encodeStats.unmappableCount != 0) {
        std::printf("FAIL: sample text has unmappable characters\n");
        return 1;
    }

    QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/codec_bench-XXXXXX"));
    const QByteArray inputPath = QFile::encodeName(dir.filePath(QStringLiteral("cards.txt")));
    const QByteArray outputPath = QFile::encodeName(dir.filePath(QStringLiteral("cards.utf16")));
    {
        QFile f(QFile::decodeName(inputPath));
        if (!dir.isValid() || !f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size()) {
            std::printf("FAIL: cannot write the sample file\n");
            return 1;
        }
    }
    std::printf("sample: %.2f MB Windows-31J, %lld characters, CR LF lines\n", double(bytes.size()) / 1e6,
                static_cast<long long>(text.size()));

    // Correctness first: the same characters as the code page's reference.
    QString decoded = Win31J::decode(bytes);
    if (decoded != text) {
        std::printf("FAIL: decode(encode(text)) differs from text\n");
        return 1;
    }

    const int runs = 9;
    const double decodeSec = bestSeconds(runs, [&] { decoded = Win31J::decode(bytes); });
    // As the line readers use it: one call per line, the line ends split off.
    QList<QByteArrayView> lines;
    for (qsizetype from = 0, i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            lines.append(QByteArrayView(bytes).sliced(from, i - 1 - from));
            from = i + 1;
        }
    }
    QList<QString> lineTexts(lines.size());
    const double linesSec = bestSeconds(runs, [&] {
        for (qsizetype i = 0; i < lines.size(); ++i)
            lineTexts[i] = Win31J::decode(lines[i]);
    });
    QByteArray encoded;
    const double encodeSec = bestSeconds(runs, [&] { encoded = Win31J::encode(text); });

    bool iconvOk = runIconv(inputPath, outputPath);
    if (iconvOk) {
        QFile out(QFile::decodeName(outputPath));
        const QByteArray utf16 = out.open(QIODevice::ReadOnly) ? out.readAll() : QByteArray();
        const bool same = utf16.size() == decoded.size() * 2
                          && std::equal(utf16.cbegin(), utf16.cend(), reinterpret_cast<const char *>(decoded.utf16()));
        std::printf("iconv output identical: %s\n", same ? "yes" : "no");
    }
    double iconvSec = 0;
    if (iconvOk)
        iconvSec = bestSeconds(runs, [&] { iconvOk = runIconv(inputPath, outputPath) && iconvOk; });

    std::printf("decode whole buffer:  %8.2f ms  %8.1f MB/s\n", decodeSec * 1e3, mbPerSecond(bytes.size(), decodeSec));
    std::printf("decode line by line:  %8.2f ms  %8.1f MB/s (%lld lines)\n", linesSec * 1e3,
                mbPerSecond(bytes.size(), linesSec), static_cast<long long>(lines.size()));
    std::printf("encode:               %8.2f ms  %8.1f MB/s (of Windows-31J output)\n", encodeSec * 1e3,
                mbPerSecond(encoded.size(), encodeSec));
    if (!iconvOk) {
        std::printf("iconv: could not run `iconv -f WINDOWS-31J -t UTF-16LE`: SKIP\n");
        return 0;
    }
    const double ratio = iconvSec / decodeSec;
    std::printf("iconv:                %8.2f ms  %8.1f MB/s (process, best of %d)\n", iconvSec * 1e3,
                mbPerSecond(bytes.size(), iconvSec), runs);
    std::printf("decode (whole buffer) is %.1fx as fast as iconv (target >= 2.0x): %s\n", ratio,
                ratio >= 2.0 ? "PASS" : "FAIL");
    return ratio >= 2.0 ? 0 : 1;
}
