#include "core/registration/regwizard.h"

#include "core/common/dialogs.h"
#include "core/common/programfolder.h"
#include "core/common/services.h"
#include "core/common/tool.h"
#include "core/launch/launcher.h"
#include "core/registration/desktopregistration.h"
#include "core/registration/favorites.h"
#include "core/registration/makerlinks.h"

#include <QFileInfo>

namespace RegWizardTexts {

const QString MailingListText = QStringLiteral(
    "　私のフリーソフトをサポートしているメーリングリストへ参加したい場合は、以下のボタンを押し、表示されたメール送信画面に何も入力せず、そのまま送信してください。フリーソフトのサポートは、このメーリングリスト以外では一切行っていません。私宛に直接メールを送信することはやめてください。");
const QString PersonalPageComment = QStringLiteral(
    "　作者のホームページです。上部のスポンサーの提供でソフトを提供することができています。時折ホームページを訪れて、気に入ったスポンサーサイトをご覧になっていただけると幸いです。収支はホームページで公開する予定です。");
const QString NoticesComment = QStringLiteral("　作者から連絡事項です。");
const QString FileTypesText = QStringLiteral(
    "　拡張子の関連づけの設定を行います。関連づけをすることで、カードファイル(QLWファイルなど)をダブルクリックするだけでQLT@WINが起動できるようになります(再起動するまで効果が現れないことがあります)。");
const QString FavoritesText = QStringLiteral(
    "　Internet Explorerのお気に入りにQLT@WINに関するホームページを追加します。これにより、サポートページ、最新版ダウンロードページ、などへ簡単にアクセスできるようになります。");

QString unreachablePage(const QString &address)
{
    const QString escaped = address.toHtmlEscaped();
    return QStringLiteral("<html><head><meta charset=\"utf-8\"><title>接続できません</title></head><body>"
                          "<h3>ページを表示できません</h3>"
                          "<p>次のページに接続できませんでした。ネットワークに接続されていないか、"
                          "ページが移動した可能性があります。</p>"
                          "<p><a href=\"%1\">%1</a></p>"
                          "<p>あとでブラウザから開いてみてください。ウイザードはこのまま続けられます。</p>"
                          "</body></html>")
        .arg(escaped);
}

} // namespace RegWizardTexts

QStringList RegistrationChoices::tickedExtensions() const
{
    QStringList out;
    for (size_t i = 0; i < extensions.size(); ++i)
        if (extensions[i])
            out.append(RegWizardTexts::Extensions[i]);
    return out;
}

RegWizard::RegWizard(Dialogs &dialogs, Shell &shell) : m_dialogs(dialogs), m_shell(shell) {}

RegWizard::Page RegWizard::page() const
{
    switch (m_step) {
    case 0: return Page::RegInfo;
    case 1: return Page::MailingList;
    case 3: return Page::FileTypes;
    default: return Page::Browser;
    }
}

int RegWizard::frame() const
{
    static constexpr int frames[] = {0, 2, 1, 3, 1};
    return frames[m_step];
}

QString RegWizard::browserAddress() const
{
    if (m_step == 2)
        return MakerLinks::PersonalPage;
    if (m_step == 4)
        return MakerLinks::NoticesPage;
    return QString();
}

QString RegWizard::comment() const
{
    if (m_step == 2)
        return RegWizardTexts::PersonalPageComment;
    if (m_step == 4)
        return RegWizardTexts::NoticesComment;
    return QString();
}

bool RegWizard::next()
{
    if (m_step >= LastStep)
        return true;
    ++m_step;
    return false;
}

void RegWizard::back()
{
    if (m_step > 0)
        --m_step;
}

void RegWizard::mailingList(int index)
{
    switch (index) {
    case 0: Tool::OpenWithShell(m_shell, MakerLinks::mailto(MakerLinks::ListSubscribe)); break;
    case 1: Tool::OpenWithShell(m_shell, MakerLinks::mailto(MakerLinks::ListUnsubscribe)); break;
    case 2: Tool::OpenWithShell(m_shell, MakerLinks::ListSettingsPage); break;
    default: break;
    }
}

void RegWizard::cancel()
{
    m_dialogs.message(RegWizardTexts::CancelMessage, MsgIcon::Information);
}

QString RegWizard::regInfoText()
{
    const QString own = ProgramFolder::file(RegWizardTexts::RegInfoFile);
    if (QFileInfo::exists(own))
        return Tool::ReadWholeFile(own);
    const QString delivered = ProgramFolder::installedDataFolder();
    if (delivered.isEmpty())
        return QString();
    return Tool::ReadWholeFile(Tool::JoinPath(delivered, RegWizardTexts::RegInfoFile));
}

bool FinishWizard(const RegistrationChoices &choices, const QStringList &arguments, const FinishServices &services)
{
    const QString program = Launcher::findQltwin(services.userStore, services.wizardFolder);

    if (choices.favorites) {
        const QString folder = Favorites::folder(services.folders.dataHome);
        for (const Favorites::Shortcut &s : Favorites::shortcuts())
            (void)Favorites::AddFavorite(folder, s.subFolder, s.title, s.address);
    }

    const QStringList ticked = choices.tickedExtensions();
    if (!ticked.isEmpty()) {
        DesktopRegistration desktop(services.folders, services.processes);
        // The defaults are set only over a complete registration: a default
        // naming a desktop entry that is missing would open nothing.
        if (desktop.installTypes(program, ticked))
            (void)desktop.makeDefault(ticked);
    }

    return services.processes.startDetached(program, arguments);
}
