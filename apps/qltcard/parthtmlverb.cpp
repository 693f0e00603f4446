// The parthtml verb: the quick hierarchical export of QLTWIN's "外部形式で出力"
// menu (a page per card in a fixed layout, the index pages and, with
// --contents, "index.hhc"), without a window.
#include "cardoutput.h"
#include "verb.h"

#include "core/cards/cardlist.h"
#include "core/html/parthtml.h"

namespace {

const QString VerbName = QStringLiteral("parthtml");

int runPartHtml(const QStringList &arguments, VerbIo &io)
{
    if (CardOutput::wantsHelp(arguments)) {
        io.out << "Usage: qltcard parthtml [--contents] [--title-mode 0|1] [--no-header] [--no-remarks]\n"
                  "                        CARDFILE ROOT\n\n"
                  "Writes every card of CARDFILE as a page of its own below ROOT, in a fixed layout without\n"
                  "template, with an index page per group and index.html at the root, as QLTWIN's\n"
                  "\"全カードを階層型HTML\" does.\n"
                  "  --contents      \"HTMLヘルプ形式\": every page in ROOT, and the contents file index.hhc\n"
                  "  --title-mode N  card pages named 0 after the card's name (the default), 1 QLTW0001.html...\n"
                  "  --no-header     card pages hold only the raw content (NoHTMLHeader)\n"
                  "  --no-remarks    headings without the remarks (NoWriteColumn2)\n"
                  "A style sheet qlt_style.css is written into ROOT when it holds none. Pages whose bytes\n"
                  "would not change are left alone. Prints \"pages: W written, U unchanged\".\n"
                  "Exit status 0; 1 no card to output; 2 a file or folder that cannot be read or written;\n"
                  "64 wrong usage.\n";
        return Exit::Ok;
    }
    PartHtml::Job job;
    QStringList files;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        if (a == QLatin1String("--contents")) {
            job.kind = PartHtml::Kind::Help;
        } else if (a == QLatin1String("--title-mode")) {
            const QString v = i + 1 < arguments.size() ? arguments[++i] : QString();
            if (v == QLatin1String("0"))
                job.titleMode = PartHtml::TitleMode::Name;
            else if (v == QLatin1String("1"))
                job.titleMode = PartHtml::TitleMode::Serial;
            else
                return CardOutput::usage(io, VerbName, QStringLiteral("--title-mode takes 0 or 1"));
        } else if (a == QLatin1String("--no-header")) {
            job.noHeader = true;
        } else if (a == QLatin1String("--no-remarks")) {
            job.noRemarks = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return CardOutput::usage(io, VerbName, QStringLiteral("unknown option %1").arg(a));
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2)
        return CardOutput::usage(io, VerbName, QStringLiteral("expects CARDFILE and ROOT"));
    if (job.kind == PartHtml::Kind::Help)
        job.titleMode = PartHtml::TitleMode::Name;
    job.root = files[1];

    CardList list;
    ReadResult read;
    if (const int status = CardOutput::readCards(io, VerbName, files[0], list.store(), &read))
        return status;
    if (list.store().isEmpty()) {
        io.err << "qltcard parthtml: " << files[0] << " holds no card\n";
        return Exit::Refused;
    }
    const PartHtml::Result result = PartHtml::Export(list, job);
    for (const PageFailure &f : result.failures)
        io.err << "qltcard parthtml: cannot write " << f.path << ": " << f.error << '\n';
    io.out << "pages: " << result.written << " written, " << result.unchanged << " unchanged\n";
    return result.complete() ? Exit::Ok : Exit::FileError;
}

} // namespace

QList<Verb> partHtmlVerbs()
{
    return {
        {VerbName, QStringLiteral("parthtml [OPTIONS] CARDFILE ROOT"),
         QStringLiteral("write a page per card and index pages without template (see parthtml --help)"), runPartHtml},
    };
}
