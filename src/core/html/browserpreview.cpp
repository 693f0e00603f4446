#include "core/html/browserpreview.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"
#include "core/common/dialogs.h"
#include "core/common/inimente.h"
#include "core/common/programfolder.h"
#include "core/common/tool.h"
#include "core/html/htmlrun.h"
#include "core/html/htmltemplate.h"
#include "core/html/outputgroups.h"
#include "core/settings/settingkeys.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <optional>

namespace PreviewFiles {

QStringList DefaultFolders()
{
    QStringList folders{ProgramFolder::path()};
    const QString cache = QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation);
    if (!cache.isEmpty())
        folders.append(cache + QStringLiteral("/QLTWIN"));
    return folders;
}

QString WritableFolder(const QStringList &folders)
{
    for (const QString &folder : folders) {
        if (folder.isEmpty() || !QDir().mkpath(folder))
            continue;
        QTemporaryFile probe(folder + QStringLiteral("/.qlt-probe-XXXXXX"));
        if (probe.open())
            return folder;
    }
    return {};
}

} // namespace PreviewFiles

namespace BrowserPreview {

namespace {

// A switch of the options card: absent is off, a number is on unless 0, a
// truth word is what it says; anything else is an error.
std::optional<bool> switchOf(iniMente &options, const QString &key, QString *error)
{
    const QVariant value = options.GetiniValue(key);
    if (!value.isValid())
        return false;
    const QString text = iniMente::textOf(value).trimmed();
    bool number = false;
    const double n = text.toDouble(&number);
    if (number)
        return n != 0;
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
        return false;
    *error = QStringLiteral("雛形のオプション %1 の値「%2」は、数値でも True/False でもありません。").arg(key, text);
    return std::nullopt;
}

} // namespace

QString ErrorMessage(const QString &description)
{
    return QStringLiteral("エラーが発生しました。\r\n雛形ファイルの指定・存在や設定を確認してください。\r\n\r\n")
           + description;
}

Outcome Run(Which which, const Context &ctx)
{
    CardList &list = ctx.list;
    const qsizetype first = list.firstSelectedRow();
    if (first >= 0)
        list.setCurrentRow(first);

    auto fail = [&](const QString &description) {
        ctx.dialogs.message(ErrorMessage(description), MsgIcon::Error);
        return Outcome::Failed;
    };
    const QString &key = which == Which::Selected ? SettingKey::BrowserHina1 : SettingKey::BrowserHina0;
    const QString templatePath = iniMente::textOf(ctx.settings.GetiniValue(key));
    if (templatePath.isEmpty())
        return fail(QStringLiteral("設定 %1 に雛形ファイルが指定されていません。").arg(key));
    if (!QFileInfo(templatePath).isFile())
        return fail(QStringLiteral("雛形ファイル「%1」が見つかりません。").arg(templatePath));
    HtmlTemplate tmpl;
    if (!tmpl.load(templatePath))
        return fail(QStringLiteral("雛形ファイル「%1」を読み込めません。").arg(templatePath));
    iniMente options = ReadBrowserTemplateOptions(tmpl);

    if (which == Which::Selected ? !list.hasSelection() || !list.currentCard() : list.store().isEmpty())
        return Outcome::Nothing;

    HtmlJob job;
    job.templatePath = templatePath;
    job.styleSheet = TemplateKey::FirstStyleSheet;
    job.documentPath = ctx.documentPath;
    job.options.onlySelected = which == Which::Selected;
    job.options.reverseNumber = false;
    QString error;
    const std::pair<const QString *, bool *> switches[] = {
        {&HtmlOptionName::UseItem2, &job.options.useItem2},   {&HtmlOptionName::Renban, &job.options.renban},
        {&HtmlOptionName::NoBR, &job.options.noBR},           {&HtmlOptionName::FakeTab, &job.options.fakeTab},
        {&HtmlOptionName::EscapeTag, &job.options.escapeTag}, {&HtmlOptionName::CutDateInfo, &job.options.cutDateInfo},
    };
    for (const auto &[name, flag] : switches) {
        const std::optional<bool> on = switchOf(options, *name, &error);
        if (!on)
            return fail(error);
        *flag = *on;
    }

    const QString folder = PreviewFiles::WritableFolder(ctx.folders);
    if (folder.isEmpty())
        return fail(QStringLiteral("プレビューを書き込めるフォルダがありません（%1）。")
                        .arg(QDir::toNativeSeparators(ctx.folders.join(QStringLiteral("、")))));
    QString page;
    switch (ctx.settings.GetiniValue(SettingKey::BrowserHinaMode).toInt()) {
    case 1:
    case 2: {
        job.mode =
            ctx.settings.GetiniValue(SettingKey::BrowserHinaMode).toInt() == 1 ? HtmlMode::Cards : HtmlMode::Simple;
        job.target = Tool::JoinPath(folder, PreviewFiles::TreeFolder);
        page = Tool::JoinPath(job.target, HtmlNames::IndexPage);
        break;
    }
    default:
        job.mode = HtmlMode::Single;
        job.target = Tool::JoinPath(folder, PreviewFiles::Page);
        page = job.target;
        break;
    }
    if (job.mode == HtmlMode::Single && !tmpl.hasSection(QStringLiteral("4-1")))
        return fail(QStringLiteral("雛形ファイル「%1」に 4-1 のカードがありません。").arg(templatePath));

    // The writers report their own failures.
    const HtmlRunResult result = RunHtmlOutput(list, job, tmpl, ctx.dialogs);
    if (!result.complete())
        return Outcome::Failed;
    if (!Tool::OpenWithShell(ctx.shell, page))
        return Outcome::Failed;
    return Outcome::Opened;
}

} // namespace BrowserPreview
