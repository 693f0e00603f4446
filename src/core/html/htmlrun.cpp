#include "core/html/htmlrun.h"

#include "core/common/dialogs.h"
#include "core/common/tool.h"
#include "core/html/htmlpages.h"
#include "core/html/htmltemplate.h"
#include "core/html/htmltext.h"
#include "core/html/htmltexts.h"
#include "core/html/outputgroups.h"
#include "core/html/pagerecord.h"

#include <QFileInfo>

#include <optional>

qsizetype PagesToWrite(const QList<OutputGroup> &groups, HtmlMode mode, bool withStyleSheet)
{
    qsizetype pages = withStyleSheet ? 1 : 0;
    if (mode == HtmlMode::Single)
        return pages + 1;
    pages += 1 + groups.size(); // root index, one page per group folder
    if (IsCardsMode(mode)) {
        for (const OutputGroup &g : groups)
            pages += g.CardCount;
    }
    if (IsHelpMode(mode))
        pages += 2;
    return pages;
}

QString StyleSheetKeyOf(const HtmlTemplate &tmpl, const QString &asked)
{
    if (!asked.isEmpty())
        return asked;
    return tmpl.styleSheetEntries().value(0);
}

HtmlRunResult RunHtmlOutput(const CardList &list, const HtmlJob &job, Dialogs &dialogs,
                            const PageSink::Progress &progress)
{
    HtmlTemplate tmpl;
    (void)tmpl.load(job.templatePath); // an unreadable template gives empty pages
    return RunHtmlOutput(list, job, tmpl, dialogs, progress);
}

HtmlRunResult RunHtmlOutput(const CardList &list, const HtmlJob &job, const HtmlTemplate &tmpl, Dialogs &dialogs,
                            const PageSink::Progress &progress)
{
    HtmlRunResult result;
    OutputGroups groups;
    // While the cards are collected there is no page to count yet: the
    // progress hears "0 of 0", and may stop the run already.
    bool cancelled = false;
    auto keepGoing = [&] { return !(cancelled = progress && !progress(0, 0)); };
    if (!CollectOutputGroups(list, job.options, groups, progress ? std::function<bool()>(keepGoing) : nullptr,
                             TextForm::Raw)) {
        if (cancelled) {
            result.status = HtmlRunResult::Status::Cancelled;
            return result;
        }
    }
    return WriteHtmlOutput(groups, job, tmpl, dialogs, progress);
}

HtmlRunResult WriteHtmlOutput(QList<OutputGroup> &groups, const HtmlJob &job, const HtmlTemplate &tmpl,
                              Dialogs &dialogs, const PageSink::Progress &progress)
{
    HtmlRunResult result;
    if (groups.isEmpty()) {
        dialogs.message(HtmlTexts::NothingCollected, MsgIcon::Warning);
        result.status = HtmlRunResult::Status::NothingCollected;
        return result;
    }
    if (job.options.reverseNumber)
        ReverseNumbering(groups);

    const QString styleKey = StyleSheetKeyOf(tmpl, job.styleSheet);
    const bool withStyleSheet = !styleKey.isEmpty() && !StyleSheetText(tmpl, styleKey).isEmpty();
    PageSink sink(PagesToWrite(groups, job.mode, withStyleSheet), progress);
    const QString name = TemplateFileName(job.documentPath);
    const PageContext ctx{tmpl,
                          job.options.escapeTag ? HtmlText::EscapeMarkup(name) : name,
                          job.options.escapeTag,
                          &dialogs,
                          job.mode == HtmlMode::SimpleHelp ? HtmlNames::IndexPage : QString(),
                          job.onCard,
                          ContentRules(job.options),
                          RemarksRules(job.options)};

    const QString &root = job.target;
    std::optional<PageRecord> record;
    if (job.keepRecord && job.mode != HtmlMode::Single) {
        const QString folder = job.recordFolder.isEmpty() ? PageRecord::DefaultFolder() : job.recordFolder;
        if (!folder.isEmpty()) {
            record.emplace(folder, root);
            record->load();
            sink.setRecord(&*record);
        }
    }
    auto writeStyleSheet = [&](const QString &folder) {
        if (withStyleSheet && !sink.cancelled())
            WriteStyleSheet(folder, styleKey, ctx, sink);
    };
    switch (job.mode) {
    case HtmlMode::Single:
        WriteSinglePage(root, groups, ctx, sink);
        writeStyleSheet(QFileInfo(root).absolutePath());
        break;
    case HtmlMode::Cards:
    case HtmlMode::CardsHelp:
        (void)CreateGroupFolders(groups, root); // a missing folder fails its pages, which say so
        if (!sink.cancelled())
            WriteRootIndexPage(groups, root, ctx, sink);
        if (!sink.cancelled())
            WriteGroupIndexPages(groups, root, ctx, sink);
        if (!sink.cancelled())
            WriteCardPages(groups, root, ctx, sink);
        if (job.mode == HtmlMode::CardsHelp && !sink.cancelled()) {
            WriteHelpContents(groups, root, false, ctx, sink);
            if (!sink.cancelled())
                WriteHelpProject(groups, root, false, withStyleSheet, ctx, sink);
        }
        writeStyleSheet(root);
        break;
    case HtmlMode::Simple:
    case HtmlMode::SimpleHelp:
        (void)CreateGroupFolders(groups, root);
        if (!sink.cancelled())
            WriteSimpleRootPage(groups, root, ctx, sink);
        if (!sink.cancelled())
            WriteSimpleGroupPages(groups, root, ctx, sink);
        if (job.mode == HtmlMode::SimpleHelp && !sink.cancelled()) {
            WriteHelpContents(groups, root, true, ctx, sink);
            if (!sink.cancelled())
                WriteHelpProject(groups, root, true, withStyleSheet, ctx, sink);
        }
        writeStyleSheet(root);
        break;
    }
    if (record)
        (void)record->save(); // without it the next run compares the files byte for byte
    result.status = sink.cancelled() ? HtmlRunResult::Status::Cancelled : HtmlRunResult::Status::Done;
    result.total = sink.total();
    result.written = sink.written();
    result.unchanged = sink.unchanged();
    result.failures = sink.failures();
    return result;
}
