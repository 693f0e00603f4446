#include "core/window/helpcommands.h"

#include "core/common/dialogs.h"
#include "core/common/makeraddresses.h"
#include "core/common/programfolder.h"
#include "core/common/services.h"
#include "core/common/tool.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"

#include <QFileInfo>

namespace HelpCommands {

QStringList manualIndexCandidates()
{
    // The installed manual is the one of this version; the copy seeded into
    // the program folder may be an older one's.
    QStringList candidates;
    const QString installed = ProgramFolder::installedDataFolder();
    if (!installed.isEmpty())
        candidates.append(Tool::JoinPath(installed, ManualIndex));
    candidates.append(ProgramFolder::file(ManualIndex));
    return candidates;
}

Links defaultLinks()
{
    // The shell hands only http://, ftp:// and mailto: addresses on unchanged.
    return Links{
        MakerAddresses::OnlineHelp, MakerAddresses::HomePage,
        MakerAddresses::BoardRead,  QStringLiteral("mailto:") + MakerAddresses::AuthorMail,
        manualIndexCandidates(),
    };
}

QString helpTarget(const Links &links)
{
    for (const QString &page : links.manual) {
        if (QFileInfo(page).isFile())
            return page;
    }
    return links.onlineHelp;
}

QString mailQuestion()
{
    return QStringLiteral("　作者に連絡する場合は、できるだけ掲示板を使用してください。\r\n"
                          "共通の問題を抱えている人の間で情報を共有するためです。\r\n"
                          "　それでもまだ、メールで送信しますか？");
}

void wire(MainCommands &commands, const Services &services, const Links &links)
{
    Shell *shell = services.shell;
    Dialogs *dialogs = services.dialogs;
    auto open = [shell](const QString &target) {
        if (shell)
            Tool::OpenWithShell(*shell, target);
    };
    commands.wire(Cmd::HelpOnline, [open, links] { open(helpTarget(links)); });
    commands.wire(Cmd::HelpOld, [open, links] { open(helpTarget(links)); });
    // The entry is hidden and its command does nothing.
    commands.wire(Cmd::HelpKoshin, [] {});
    commands.wire(Cmd::HelpHomePage, [open, links] { open(links.homePage); });
    commands.wire(Cmd::HelpBoard, [open, links] { open(links.supportBoard); });
    commands.wire(Cmd::HelpMail, [&commands, dialogs, open, links] {
        const MsgAnswer answer =
            dialogs ? dialogs->message(mailQuestion(), MsgIcon::Warning, MsgButtons::YesNo) : MsgAnswer::Yes;
        if (answer == MsgAnswer::Yes)
            open(links.mail);
        else
            commands.trigger(Cmd::HelpBoard);
    });
}

} // namespace HelpCommands
