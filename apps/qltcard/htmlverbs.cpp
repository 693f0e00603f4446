// The html verb: a card file through a template into HTML, as the HTML
// output wizard of QLTWIN writes it, without a window.
#include "cardoutput.h"
#include "verb.h"

#include "core/cards/card.h"
#include "core/cards/textfastread.h"
#include "core/common/dialogs.h"
#include "core/common/programfolder.h"
#include "core/html/htmlrun.h"
#include "core/html/htmltemplate.h"
#include "core/html/outputgroups.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <unistd.h>

namespace {

const QString VerbName = QStringLiteral("html");
const QString DefaultTemplate = QStringLiteral("HinaDefault.qlw");

// The engine's messages as lines on standard error; nothing is asked.
class StderrDialogs : public Dialogs
{
public:
    explicit StderrDialogs(QTextStream &err) : m_err(err) {}
    using Dialogs::message;
    MsgAnswer message(const MessageRequest &request) override
    {
        QString text = request.text;
        text.replace(QStringLiteral("\r\n\r\n"), QStringLiteral(" "));
        text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
        m_err << "qltcard html: " << text << '\n';
        m_err.flush();
        return request.buttons == MsgButtons::Ok ? MsgAnswer::Ok : MsgAnswer::No;
    }
    std::optional<QString> openFile(const FileRequest &) override { return std::nullopt; }
    std::optional<QString> saveFile(const FileRequest &) override { return std::nullopt; }
    std::optional<QString> chooseFolder(const QString &, const QString &) override { return std::nullopt; }
    std::optional<QString> inputBox(const QString &, const QString &, const QString &) override { return std::nullopt; }
    std::optional<FontChoice> chooseFont(const FontChoice &) override { return std::nullopt; }
    std::optional<std::uint32_t> chooseColour(std::uint32_t) override { return std::nullopt; }

private:
    QTextStream &m_err;
};

// "HinaDefault.qlw" in the program folder, else beside the executable.
QString defaultTemplatePath()
{
    const QString inProgramFolder = ProgramFolder::file(DefaultTemplate);
    if (QFileInfo::exists(inProgramFolder))
        return inProgramFolder;
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + DefaultTemplate;
}

bool *optionNamed(HtmlOptions &options, const QString &name)
{
    const std::pair<const QString *, bool *> table[] = {
        {&HtmlOptionName::Renban, &options.renban},       {&HtmlOptionName::UseItem2, &options.useItem2},
        {&HtmlOptionName::NoBR, &options.noBR},           {&HtmlOptionName::FakeTab, &options.fakeTab},
        {&HtmlOptionName::EscapeTag, &options.escapeTag}, {&HtmlOptionName::CutDateInfo, &options.cutDateInfo},
    };
    for (const auto &[key, flag] : table) {
        if (name.compare(*key, Qt::CaseInsensitive) == 0)
            return flag;
    }
    return nullptr;
}

void applyPresets(HtmlOptions &options, const OptionPresets &p)
{
    auto take = [](bool &flag, const std::optional<bool> &preset) {
        if (preset)
            flag = *preset;
    };
    take(options.renban, p.renban);
    take(options.useItem2, p.useItem2);
    take(options.noBR, p.noBR);
    take(options.fakeTab, p.fakeTab);
    take(options.escapeTag, p.escapeTag);
    take(options.cutDateInfo, p.cutDateInfo);
}

// A card file has its pieces in threes; an empty file or a file of another
// kind has not.
bool looksLikeCardFile(const QString &path)
{
    qsizetype pieces = 0;
    const LineSplit::Outcome outcome =
        LineSplit::SplitFileBytes(path, LineSplit::Separator::FieldMark, [&](QByteArrayView, qsizetype) { ++pieces; });
    return outcome.ok && pieces > 0 && pieces % 3 == 0;
}

int runHtml(const QStringList &arguments, VerbIo &io)
{
    if (CardOutput::wantsHelp(arguments)) {
        io.out << "Usage: qltcard html [--mode 0-4] [--template FILE] [--style KEY] [--set OPTION=0|1]... [--reverse]\n"
                  "                    CARDFILE OUT\n\n"
                  "Writes the cards of CARDFILE as HTML through a template, as the HTML output wizard does.\n"
                  "  --mode N      0 single page (OUT is the file; the default), 1 a page per card, 2 a page\n"
                  "                per group, 3 and 4 as 1 and 2 with HTML Help contents and project\n"
                  "                (OUT is the root folder for 1 to 4)\n"
                  "  --template F  the template card file (default: HinaDefault.qlw in the program folder)\n"
                  "  --style KEY   the style sheet, an entry of the template's list (default: its first)\n"
                  "  --set O=V     overrides an option of the template's options card (V 0 or 1): Renban,\n"
                  "                UseItem2, NoBR, FakeTAB, EscapeTAG, CutDateInfo (letter case ignored)\n"
                  "  --reverse     numbered names counted from the last card (連番を逆順に)\n"
                  "Options not set start as the wizard's: Renban, EscapeTAG and CutDateInfo on, then the\n"
                  "template's options card. Pages whose content is unchanged are left alone.\n"
                  "Prints \"pages: W written, U unchanged\"; progress goes to standard error when it is a\n"
                  "terminal. Exit status 0; 1 nothing to output, a template that is not a card file or,\n"
                  "in mode 0, has no single page (section \"4-1\"); 2 a file or folder that cannot be\n"
                  "read or written; 64 wrong usage.\n";
        return Exit::Ok;
    }
    HtmlJob job;
    QStringList files;
    QList<std::pair<QString, bool>> sets;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &a = arguments[i];
        auto value = [&](QString *out) {
            if (i + 1 >= arguments.size())
                return false;
            *out = arguments[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--mode")) {
            bool ok = false;
            const int mode = value(&v) ? v.toInt(&ok) : -1;
            if (!ok || mode < 0 || mode > 4)
                return CardOutput::usage(io, VerbName, QStringLiteral("--mode takes 0 to 4"));
            job.mode = HtmlMode(mode);
        } else if (a == QLatin1String("--template")) {
            if (!value(&job.templatePath) || job.templatePath.isEmpty())
                return CardOutput::usage(io, VerbName, QStringLiteral("--template needs a file"));
        } else if (a == QLatin1String("--style")) {
            if (!value(&job.styleSheet) || job.styleSheet.isEmpty())
                return CardOutput::usage(io, VerbName, QStringLiteral("--style needs an entry"));
        } else if (a == QLatin1String("--set")) {
            if (!value(&v))
                return CardOutput::usage(io, VerbName, QStringLiteral("--set needs OPTION=0|1"));
            const qsizetype eq = v.indexOf(QLatin1Char('='));
            const QString name = v.left(eq);
            const QString flag = eq < 0 ? QString() : v.mid(eq + 1);
            HtmlOptions probe;
            if (eq < 0 || !optionNamed(probe, name) || (flag != QLatin1String("0") && flag != QLatin1String("1")))
                return CardOutput::usage(
                    io, VerbName,
                    QStringLiteral("--set takes Renban, UseItem2, NoBR, FakeTAB, EscapeTAG or CutDateInfo = 0 or 1, "
                                   "not \"%1\"")
                        .arg(v));
            sets.append({name, flag == QLatin1String("1")});
        } else if (a == QLatin1String("--reverse")) {
            job.options.reverseNumber = true;
        } else if (a.startsWith(QLatin1String("--"))) {
            return CardOutput::usage(io, VerbName, QStringLiteral("unknown option %1").arg(a));
        } else {
            files.append(a);
        }
    }
    if (files.size() != 2)
        return CardOutput::usage(io, VerbName, QStringLiteral("expects CARDFILE and OUT"));
    job.documentPath = QFileInfo(files[0]).absoluteFilePath();
    job.target = files[1];
    if (job.templatePath.isEmpty())
        job.templatePath = defaultTemplatePath();

    HtmlTemplate tmpl;
    if (!tmpl.load(job.templatePath)) {
        io.err << "qltcard html: cannot read the template " << job.templatePath << '\n';
        return Exit::FileError;
    }
    if (!looksLikeCardFile(job.templatePath)) {
        io.err << "qltcard html: " << job.templatePath << " is not a card file (a template is a native .qlw file)\n";
        return Exit::Refused;
    }
    if (!job.styleSheet.isEmpty() && !tmpl.styleSheetEntries().contains(job.styleSheet)
        && !tmpl.hasSection(job.styleSheet))
        io.err << "qltcard html: warning: the template has no style sheet \"" << job.styleSheet
               << "\"; none is written\n";
    // The single page is the section "4-1" filled; without it there is no
    // page to write, which a script hears of instead of a quiet success.
    if (job.mode == HtmlMode::Single && tmpl.section(QStringLiteral("4-1")).isEmpty()) {
        io.err << "qltcard html: the template " << job.templatePath
               << " has no single page (its section \"4-1\" is empty or missing); nothing written\n";
        return Exit::Refused;
    }
    applyPresets(job.options, WizardOptionPresets(tmpl));
    job.options.onlySelected = false;
    for (const auto &[name, flag] : sets)
        *optionNamed(job.options, name) = flag;

    // The cards go into the output groups as the file is read: no card list is built.
    OutputCollector collector(job.options, TextForm::Raw);
    if (const int status = CardOutput::streamCards(io, VerbName, files[0], [&](Card &&card) { collector.add(card); }))
        return status;

    StderrDialogs dialogs(io.err);
    PageSink::Progress progress;
    if (::isatty(STDERR_FILENO)) {
        progress = [&io, last = qsizetype(-1)](qsizetype done, qsizetype total) mutable {
            if (total == 0)
                return true; // still collecting the cards
            const qsizetype percent = total ? done * 100 / total : 100;
            if (percent != last || done == total) {
                last = percent;
                io.err << "\rpages " << done << '/' << total << (done == total ? "\n" : "");
                io.err.flush();
            }
            return true;
        };
    }
    // The groups hold every card's texts; they go with the process, still
    // reachable (a leak checker does not count them), faster than freed one by one.
    static OutputGroups *const groups = new OutputGroups(collector.take());
    const HtmlRunResult result = WriteHtmlOutput(*groups, job, tmpl, dialogs, progress);
    if (result.status == HtmlRunResult::Status::NothingCollected)
        return Exit::Refused;
    for (const PageFailure &f : result.failures)
        io.err << "qltcard html: cannot write " << f.path << ": " << f.error << '\n';
    io.out << "pages: " << result.written << " written, " << result.unchanged << " unchanged\n";
    return result.failures.isEmpty() ? Exit::Ok : Exit::FileError;
}

} // namespace

QList<Verb> htmlVerbs()
{
    return {
        {VerbName, QStringLiteral("html [OPTIONS] CARDFILE OUT"),
         QStringLiteral("write the cards as HTML through a template (see html --help)"), runHtml},
    };
}
