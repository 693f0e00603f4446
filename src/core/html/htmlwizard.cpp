#include "core/html/htmlwizard.h"

#include "core/cards/cardlist.h"
#include "core/common/dialogs.h"
#include "core/common/programfolder.h"
#include "core/common/services.h"
#include "core/common/tool.h"
#include "core/html/htmltexts.h"
#include "core/html/outputgroups.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"

#include <QFileInfo>

namespace HtmlWizardTexts {

const std::array<ModeText, 5> &modes()
{
    static const QString help = QStringLiteral("　MS HTML HELP Compiler用のデータを生成します。\r\n"
                                               "　VisualStudioなどに付属するHTML HELP　Compilerが必要です。");
    static const std::array<ModeText, 5> texts = {{
        {QStringLiteral("単純HTML(&T)"),
         QStringLiteral(
             "　いわゆるHTML形式にして保存します。\r\n"
             "　生成されるHTMLファイルは1つになります。データ量が少ない場合や、単一のファイルにしたい場合に利用"
             "します。")},
        {QStringLiteral("階層カード型HTML(&L)"),
         QStringLiteral("　Quilleryのカード単位にHTMLを出力します。\r\n"
                        "　出力されるファイル数が多くなりますが、カード型データベースのイメージをそのままHTMLにする事が"
                        "できます。")},
        {QStringLiteral("簡易階層カード型HTML(&E)"),
         QStringLiteral("　Quilleryのグループ(＠より左辺)を単位として、HTMLファイルに分割出力します。\r\n"
                        "　中規模なデータを出力する場合に最適な構造です。\r\n")},
        {QStringLiteral("HTML HELP(&H)"), help},
        {QStringLiteral("簡易HTML HELP(&I)"), help},
    }};
    return texts;
}

const std::array<OptionText, WizardOptionCount> &options()
{
    static const std::array<OptionText, WizardOptionCount> texts = {{
        {QStringLiteral("フォルダ名およびファイル名を連番にする\r\n(非選択時は項目1を使用)(&M)"),
         QStringLiteral("非選択時はファイル名に漢字が混じる可能性があります")},
        {QStringLiteral("選択中のデータのみ出力する(&S)"),
         QStringLiteral("特定のファイルだけHTML化する場合に使用します。")},
        {QStringLiteral("「＠」がない場合、項目2をグループ名として使用する(&A)"),
         QStringLiteral("「グループ＠項目」の形式でない場合は、項目2をグループ名とみなします。")},
        {QStringLiteral("行末に<BR>を付加しない(HTMLで記載されたカード)(&T)"),
         QStringLiteral("改行コードを<BR>に変換したくない場合(HTMLでかかれたカードの場合)に選択します。")},
        {QStringLiteral("TABコードを全角スペース2文字に(凶悪)(&Z)"),
         QStringLiteral("行頭のTABを再現したい場合に選択します(推奨しません)。")},
        {QStringLiteral("\"<\"などの文字をエスケープする(&E)"),
         QStringLiteral("<>&文字をエスケープします。HTMLでかかれたカードの場合は、非選択にしてください。")},
        {QStringLiteral("日付情報を出力しない(&D)"), QString()},
        {QStringLiteral("連番を逆順に"),
         QStringLiteral("日記など、上に行くほど新しいページの場合はチェックをつけます。")},
    }};
    return texts;
}

QString progress(qsizetype done, qsizetype total, const QString &card)
{
    QString text = QStringLiteral("%1 / %2 ページ").arg(done).arg(total);
    if (!card.isEmpty())
        text += QStringLiteral("　") + card;
    return text;
}

QString cancelled(qsizetype done, qsizetype total)
{
    return QStringLiteral("中止しました(%1 / %2 ページ)。").arg(done).arg(total);
}

} // namespace HtmlWizardTexts

namespace HtmlWizardMemory {
namespace {
QString &remembered()
{
    static QString path;
    return path;
}
} // namespace

QString rootPath()
{
    return remembered();
}
void setRootPath(const QString &path)
{
    remembered() = path;
}
void forget()
{
    remembered().clear();
}
} // namespace HtmlWizardMemory

namespace {

namespace T = HtmlWizardTexts;

bool *flagOf(HtmlOptions &o, WizardOption which)
{
    switch (which) {
    case WizardOption::Renban: return &o.renban;
    case WizardOption::OnlySelected: return &o.onlySelected;
    case WizardOption::UseItem2: return &o.useItem2;
    case WizardOption::NoBR: return &o.noBR;
    case WizardOption::FakeTab: return &o.fakeTab;
    case WizardOption::EscapeTag: return &o.escapeTag;
    case WizardOption::CutDateInfo: return &o.cutDateInfo;
    case WizardOption::ReverseNumber: return &o.reverseNumber;
    }
    return &o.renban;
}

} // namespace

HtmlWizard::HtmlWizard(const Context &context, QObject *parent) : QObject(parent), m_ctx(context) {}

bool HtmlWizard::CanRun(const CardList &list)
{
    return list.store().count() > 0;
}

void HtmlWizard::load()
{
    SettingsModel &s = m_ctx.settings;
    const QString storedMode = s.iniData().GetiniValue(SettingKey::HTMLMode).toString();
    if (!storedMode.trimmed().isEmpty()) {
        const int mode = s.integer(SettingKey::HTMLMode);
        if (mode >= 0 && mode <= 4)
            m_mode = HtmlMode(mode);
    }
    const QString storedTemplate = s.text(SettingKey::HinagataFileName);
    setTemplatePath(storedTemplate.isEmpty() ? ProgramFolder::file(T::DefaultTemplate) : storedTemplate);
    const QString storedStyle = s.text(SettingKey::StyleSheet);
    if (!storedStyle.isEmpty())
        setStyleSheet(storedStyle);

    const QString storedRoot = s.FileSettingsActive() ? s.text(SettingKey::RootPath) : QString();
    if (!storedRoot.isEmpty()) {
        m_rootPath = storedRoot;
        m_options.reverseNumber = s.isOn(SettingKey::ReverseNumber);
    } else {
        m_rootPath = HtmlWizardMemory::rootPath();
    }
    emit changed();
}

void HtmlWizard::setMode(HtmlMode mode)
{
    if (mode == m_mode)
        return;
    m_mode = mode;
    emit changed();
}

void HtmlWizard::setTemplatePath(const QString &path)
{
    m_templatePath = path;
    m_template = HtmlTemplate();
    if (templateExists() && m_template.load(path)) {
        const OptionPresets p = WizardOptionPresets(m_template);
        auto take = [this](WizardOption which, const std::optional<bool> &preset) {
            if (preset)
                setOption(which, *preset);
        };
        take(WizardOption::Renban, p.renban);
        take(WizardOption::OnlySelected, p.onlySelected);
        take(WizardOption::UseItem2, p.useItem2);
        take(WizardOption::NoBR, p.noBR);
        take(WizardOption::FakeTab, p.fakeTab);
        take(WizardOption::EscapeTag, p.escapeTag);
        take(WizardOption::CutDateInfo, p.cutDateInfo);
        m_styleSheets = m_template.styleSheetEntries();
        m_styleSheet = m_styleSheets.value(0);
    }
    // A template that is missing keeps the list it had; the label tells.
    lookUpStyleSheet();
    emit changed();
}

QString HtmlWizard::templateName() const
{
    return Tool::BaseNameOf(Tool::FileNameOf(m_templatePath));
}

bool HtmlWizard::templateExists() const
{
    return !m_templatePath.isEmpty() && QFileInfo(m_templatePath).isFile();
}

void HtmlWizard::setStyleSheet(const QString &entry)
{
    m_styleSheet = entry;
    lookUpStyleSheet();
    emit changed();
}

void HtmlWizard::lookUpStyleSheet()
{
    if (templateExists() && !m_styleSheet.isEmpty() && m_template.hasSection(m_styleSheet))
        m_styleSheetLabel = T::styleSheetFound(m_template.section(m_styleSheet, TemplatePart::Title));
    else
        m_styleSheetLabel = T::styleSheetMissing(templateName(), m_styleSheet);
}

bool HtmlWizard::option(WizardOption which) const
{
    HtmlOptions o = m_options;
    return *flagOf(o, which);
}

void HtmlWizard::setOption(WizardOption which, bool on)
{
    if (which == WizardOption::OnlySelected && on && !m_ctx.list.hasSelection()) {
        m_ctx.dialogs.message(T::NoSelection, MsgIcon::Warning);
        on = false;
    }
    *flagOf(m_options, which) = on;
    emit changed();
}

void HtmlWizard::setRootPath(const QString &path)
{
    if (path == m_rootPath)
        return;
    m_rootPath = path;
    emit changed();
}

void HtmlWizard::setAutoOpen(bool on)
{
    if (on == m_autoOpen)
        return;
    m_autoOpen = on;
    emit changed();
}

QString HtmlWizard::nextCaption() const
{
    return m_page == 2 ? T::Finish : T::Next;
}

QString HtmlWizard::saveMessage() const
{
    return m_mode == HtmlMode::Single ? T::SaveFileLabel : T::SaveFolderLabel;
}

QString HtmlWizard::saveMessageDetail() const
{
    return m_mode == HtmlMode::Single ? T::SaveFileDetail : T::SaveFolderDetail;
}

void HtmlWizard::setPage(int page)
{
    m_page = page;
    emit changed();
}

void HtmlWizard::back()
{
    if (m_running || m_page >= WritingPage)
        return;
    setPage(qMax(0, m_page - 1));
}

HtmlWizard::Step HtmlWizard::next()
{
    if (m_running || m_page >= WritingPage)
        return Step::Moved;
    if (m_page < 2) {
        setPage(m_page + 1);
        return Step::Moved;
    }
    if (m_rootPath.isEmpty()) {
        chooseDestination();
        return Step::AskedDestination;
    }
    return finish();
}

HtmlWizard::Step HtmlWizard::finish()
{
    setPage(WritingPage);
    m_running = true;
    emit changed();
    HtmlJob j = job();
    j.onCard = m_cardObserver;
    m_result = RunHtmlOutput(m_ctx.list, j, m_ctx.dialogs, m_progress);
    m_running = false;
    emit changed();
    switch (m_result.status) {
    case HtmlRunResult::Status::NothingCollected: return Step::NothingCollected;
    case HtmlRunResult::Status::Cancelled:
        // The pages written are whole; the person learns how far it went.
        m_ctx.dialogs.message(T::cancelled(m_result.written + m_result.unchanged, m_result.total),
                              MsgIcon::Information);
        return Step::Cancelled;
    case HtmlRunResult::Status::Done: break;
    }
    if (m_autoOpen && m_ctx.shell)
        m_ctx.shell->open(resultPath());
    store();
    return Step::Finished;
}

void HtmlWizard::store()
{
    SettingsModel &s = m_ctx.settings;
    s.setInteger(SettingKey::HTMLMode, int(m_mode));
    s.setText(SettingKey::HinagataFileName, m_templatePath);
    s.setText(SettingKey::StyleSheet, m_styleSheet);
    HtmlWizardMemory::setRootPath(m_rootPath);
    if (s.FileSettingsActive()) {
        s.setText(SettingKey::RootPath, m_rootPath);
        s.setSwitch(SettingKey::ReverseNumber, m_options.reverseNumber);
    }
}

void HtmlWizard::chooseTemplate()
{
    FileRequest request;
    request.title = T::TemplateDialogTitle;
    request.filter = T::TemplateFilter;
    request.startPath = m_templatePath.isEmpty() ? ProgramFolder::file(QStringLiteral("Hina*.qlw")) : m_templatePath;
    if (const std::optional<QString> chosen = m_ctx.dialogs.openFile(request))
        setTemplatePath(*chosen);
}

void HtmlWizard::chooseDestination()
{
    const QString document = m_ctx.documentPath;
    const QString documentFolder = Tool::ParentFolderOf(document);
    if (m_mode == HtmlMode::Single) {
        FileRequest request;
        request.title = T::SaveDialogTitle;
        request.filter = T::SaveFilter;
        request.promptOverwrite = true;
        request.startPath = !m_rootPath.isEmpty()
                                ? m_rootPath
                                : Tool::JoinPath(documentFolder, Tool::BaseNameOf(Tool::FileNameOf(document))
                                                                     + QStringLiteral(".html"));
        if (const std::optional<QString> chosen = m_ctx.dialogs.saveFile(request))
            setRootPath(*chosen);
        return;
    }
    if (m_rootPath.isEmpty())
        setRootPath(documentFolder);
    if (const std::optional<QString> chosen = m_ctx.dialogs.chooseFolder(T::FolderPrompt, m_rootPath))
        setRootPath(*chosen);
}

void HtmlWizard::showDescription()
{
    m_ctx.dialogs.message(m_template.description(), MsgIcon::Information, MsgButtons::Ok, HtmlTexts::AboutTemplate);
}

void HtmlWizard::unifyBrowserTemplates()
{
    SettingsModel &s = m_ctx.settings;
    if (!s.FileSettingsActive()
        && m_ctx.dialogs.message(T::UnifyGeneralQuestion, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    if (!templateExists())
        return;
    s.setText(SettingKey::BrowserHina0, m_templatePath);
    s.setText(SettingKey::BrowserHina1, m_templatePath);
    m_ctx.dialogs.message(T::unified(m_templatePath), MsgIcon::Information);
}

HtmlJob HtmlWizard::job() const
{
    HtmlJob j;
    j.mode = m_mode;
    j.templatePath = m_templatePath;
    j.styleSheet = m_styleSheet;
    j.target = m_rootPath;
    j.documentPath = m_ctx.documentPath;
    j.options = m_options;
    return j;
}

QString HtmlWizard::resultPath() const
{
    if (m_mode == HtmlMode::Single)
        return m_rootPath;
    return Tool::JoinPath(m_rootPath, HtmlNames::IndexPage);
}
