// Test helper: one "window" that hammers the shared lists of the program
// folder ($QLT_HOME). Started several times at once by the concurrency test.
//
//   qlt_sharedlists_helper guard <id> <count>
//     opens /h<id>/f<k>.qlw for k = 0 .. count-1 and closes the previous one
//     each time, except every 50th (k % 50 == 0) and the last one.
//   qlt_sharedlists_helper recent <id> <count> <rounds>
//     adds /h<id>/r<k>.qlw for k = 0 .. count-1, rounds times, to a recent
//     list of 51 entries.
//
// Both wait for the file "go" in the program folder so that every copy
// starts at the same moment. The exit code is the number of problems seen.
#include "core/common/dialogs.h"
#include "core/common/programfolder.h"
#include "core/document/openguard.h"
#include "core/settings/recentfiles.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>

namespace {

class CountingDialogs : public Dialogs
{
public:
    int messages = 0;
    MsgAnswer message(const MessageRequest &) override
    {
        ++messages;
        return MsgAnswer::Yes;
    }
    std::optional<QString> openFile(const FileRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest &) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<FontChoice> chooseFont(const FontChoice &) override { return std::nullopt; }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return std::nullopt; }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 4)
        return 100;
    const QString mode = args.at(1);
    const QString id = args.at(2);
    const int count = args.at(3).toInt();

    for (int waited = 0; !QFileInfo::exists(ProgramFolder::file(QStringLiteral("go"))); ++waited) {
        if (waited > 20000)
            return 101;
        QThread::usleep(500);
    }

    int problems = 0;
    if (mode == QLatin1String("guard")) {
        CountingDialogs dialogs;
        OpenGuard guard(dialogs);
        auto path = [&](int k) { return QStringLiteral("/h%1/f%2.qlw").arg(id).arg(k); };
        for (int k = 0; k < count; ++k) {
            if (guard.CheckAndRegisterOpenFile(path(k)))
                ++problems;
            if (k > 0 && (k - 1) % 50 != 0)
                guard.UnregisterOpenFile(path(k - 1));
        }
        problems += dialogs.messages;
    } else if (mode == QLatin1String("recent")) {
        const int rounds = args.size() > 4 ? args.at(4).toInt() : 1;
        RecentFileList list(50);
        for (int round = 0; round < rounds; ++round)
            for (int k = 0; k < count; ++k)
                if (!list.AddRecentFile(QStringLiteral("/h%1/r%2.qlw").arg(id).arg(k)))
                    ++problems;
    } else {
        return 102;
    }
    return problems;
}
