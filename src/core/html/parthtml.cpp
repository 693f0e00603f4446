#include "core/html/parthtml.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"
#include "core/cards/titlefield.h"
#include "core/common/dialogs.h"
#include "core/common/inimente.h"
#include "core/common/tool.h"
#include "core/html/htmltext.h"
#include "core/settings/settingkeys.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>
#include <QSet>

namespace PartHtml {

namespace {

const QString Crlf = QStringLiteral("\r\n");
const QString Tab = QStringLiteral("\t");
const QString Extension = QStringLiteral(".html");
constexpr qsizetype MaxNameBytes = 255;

// One level of a path on disk: cleaned of what file systems refuse, never
// "." or "..", never empty, at most 255 bytes with its suffix.
QString diskLevel(const QString &text, const QString &suffix)
{
    QString level = Tool::CleanFileName(text, true);
    level.replace(QChar(0), QChar(0xFFFD));
    if (level.isEmpty())
        level = QStringLiteral("_");
    if (level.count(QLatin1Char('.')) == level.size())
        level.fill(QChar(0xFF0E)); // full-width dots
    const qsizetype room = MaxNameBytes - HtmlText::DiskBytes(suffix);
    return HtmlText::CutToDiskBytes(level, room) + suffix;
}

// Gives out names unique within one folder, letter case ignored.
class FolderNames
{
public:
    explicit FolderNames(const QStringList &reserved = {})
    {
        for (const QString &r : reserved)
            m_taken.insert(r.toCaseFolded());
    }
    // stem + extension, or stem + "_n" + extension for the n-th taker.
    QString take(const QString &stem, const QString &extension)
    {
        QString name = diskLevel(stem, extension);
        for (int n = 2; m_taken.contains(name.toCaseFolded()); ++n)
            name = diskLevel(stem, QStringLiteral("_%1").arg(n) + extension);
        m_taken.insert(name.toCaseFolded());
        return name;
    }

private:
    QSet<QString> m_taken;
};

QString join(const QString &folder, const QString &file)
{
    return folder.isEmpty() ? file : folder + QLatin1Char('/') + file;
}

// The way from a page in folder to a path relative to the root.
QString linkFrom(const QString &folder, const QString &target)
{
    const QString up = folder.isEmpty() ? QString() : QStringLiteral("../");
    return HtmlText::Href(up + target);
}

QString escaped(const QString &text)
{
    return HtmlText::EscapeMarkup(text);
}

} // namespace

QString SerialName(qsizetype row)
{
    return QStringLiteral("QLTW%1").arg(row + 1, 4, 10, QLatin1Char('0'));
}

PartGroups CollectPartGroups(const CardList &list, Kind kind, TitleMode mode)
{
    PartGroups groups;
    groups.append(PartGroup{});
    QHash<QString, qsizetype> byName;
    const CardStore &store = list.store();
    const bool help = kind == Kind::Help;
    if (help)
        mode = TitleMode::Name;

    // Names per folder; the root's are shared by its files and the groups' folders.
    QHash<QString, FolderNames> filesIn;
    filesIn.insert(QString(), FolderNames({Names::IndexPage, Names::StyleSheet, Names::Contents}));

    for (qsizetype row = 0; row < store.count(); ++row) {
        const Card &card = store.at(row);
        QString rest;
        const bool dated = SplitDatePrefix(card.title, &rest);
        const qsizetype mark = rest.indexOf(TitleField::GroupMark);
        PartCard part;
        part.row = row;
        part.selected = list.isSelected(row);
        QString group;
        if (mark >= 0) {
            group = rest.left(mark).trimmed();
            const qsizetype second = rest.indexOf(TitleField::GroupMark, mark + 1);
            const QString after = rest.mid(mark + 1);
            part.name = Tool::CleanFileName(second < 0 ? after : rest.mid(mark + 1, second - mark - 1), false);
            part.shownTitle = dated ? card.title.left(DatePrefixLength(card.title)) + after : after;
        } else {
            part.name = Tool::CleanFileName(card.title, false);
            part.shownTitle = card.title;
        }
        group = Tool::CleanFileName(group, false);

        qsizetype at = 0;
        if (!group.isEmpty()) {
            auto found = byName.constFind(group);
            if (found == byName.constEnd()) {
                PartGroup g;
                g.name = group;
                g.folder = filesIn[QString()].take(group, QString());
                groups.append(g);
                filesIn.insert(g.folder, FolderNames({Names::IndexPage, Names::StyleSheet}));
                found = byName.insert(group, groups.size() - 1);
            }
            at = *found;
        }
        PartGroup &g = groups[at];
        const QString folder = help ? QString() : g.folder;
        QString stem;
        switch (mode) {
        case TitleMode::Name: stem = part.name; break;
        case TitleMode::Serial: stem = SerialName(row); break;
        case TitleMode::Temp: stem = QStringLiteral("Temp"); break;
        }
        part.file = join(folder, filesIn[folder].take(stem, Extension));
        g.cards.append(part);
    }
    return groups;
}

QString PageHeader(const QString &title)
{
    return QStringLiteral("<!doctype html public \"-//W3C//DTD HTML 4.0 Transitional//EN\">\r\n"
                          "<HTML>\r\n"
                          "<HEAD>\r\n"
                          "<META name=\"generator\" content=\"QLT@WIN1.X\">\r\n"
                          "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=SHIFT_JIS\">\r\n"
                          "<STYLE>\r\n"
                          "<!--\r\n"
                          "//-->\r\n"
                          "</STYLE>\r\n"
                          "<TITLE>")
           + escaped(title)
           + QStringLiteral("</TITLE>\r\n"
                            "<link rel=stylesheet href=\"qlt_style.css\" type=\"text/css\">\r\n"
                            "</HEAD>\r\n"
                            "<body>");
}

QString PageFooter()
{
    return QStringLiteral("</BODY>\r\n</HTML>");
}

namespace {

// The header of a page in folder: its style sheet is the root's.
QString headerIn(const QString &folder, const QString &title)
{
    QString header = PageHeader(title);
    if (!folder.isEmpty())
        header.replace(QStringLiteral("href=\"qlt_style.css\""),
                       QStringLiteral("href=\"") + linkFrom(folder, Names::StyleSheet) + QLatin1Char('"'));
    return header;
}

QString folderOf(const QString &file)
{
    const qsizetype slash = file.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : file.left(slash);
}

} // namespace

QString CardPageText(const QString &shownTitle, const QString &remarks, const QString &content, const Job &job,
                     const QString &folder)
{
    QString body = content;
    if (body.endsWith(Crlf))
        body.chop(2);
    if (job.noHeader)
        return body;
    QString page = headerIn(folder, shownTitle) + Crlf;
    page += QStringLiteral("<a name=Title><h1 class=Title>") + escaped(shownTitle);
    if (!remarks.isEmpty() && !job.noRemarks)
        page += QStringLiteral(" - ") + remarks;
    page += QStringLiteral("</h1>") + Crlf + QStringLiteral("<p class=MainContent>") + Crlf;
    body.replace(Crlf, QStringLiteral("<BR>") + Crlf);
    page += body + Crlf + QStringLiteral("</p>") + Crlf + PageFooter();
    return page;
}

QString RootIndexText(const PartGroups &groups)
{
    QString page = PageHeader(QStringLiteral("目次")) + Crlf;
    page +=
        QStringLiteral("<h1 class=AllMokujiTitle>Index</h1>") + Crlf + QStringLiteral("<ul class=AllMokuji>") + Crlf;
    for (const PartGroup &g : groups) {
        if (g.cards.isEmpty())
            continue;
        if (!g.name.isEmpty())
            page += Tab + QStringLiteral("<li class=\"mokuji\"><a href=\"")
                    + HtmlText::Href(join(g.folder, Names::IndexPage)) + QStringLiteral("\">") + escaped(g.name)
                    + QStringLiteral("</a>") + Crlf;
        page += Tab + QStringLiteral("<ol class=Folder>") + Crlf;
        for (const PartCard &c : g.cards)
            page += Tab + Tab + QStringLiteral("<li class=Kobetsu><a href=\"") + HtmlText::Href(c.file)
                    + QStringLiteral("\">") + escaped(c.name) + QStringLiteral("</a>") + Crlf;
        page += Tab + QStringLiteral("</ol>") + Crlf;
    }
    page += QStringLiteral("</ul>") + Crlf + PageFooter();
    return page;
}

QString GroupIndexText(const PartGroups &groups, qsizetype group)
{
    const PartGroup &g = groups.at(group);
    QString page = headerIn(g.folder, g.name) + Crlf;
    if (!g.cards.isEmpty()) {
        page += Tab + QStringLiteral("<h1 class=TitleofMokuji>") + escaped(g.name) + QStringLiteral("</h1>") + Crlf;
        page += Tab + QStringLiteral("<ol class=Folder>") + Crlf;
        for (const PartCard &c : g.cards) {
            // A page in this folder is linked by its name, any other from the root.
            const QString href = folderOf(c.file) == g.folder ? HtmlText::Href(c.file.mid(g.folder.size() + 1))
                                                              : linkFrom(g.folder, c.file);
            page += Tab + Tab + QStringLiteral("<li class=Kobetsu><a href=\"") + href + QStringLiteral("\">")
                    + escaped(c.name) + QStringLiteral("</a>") + Crlf;
        }
        page += Tab + QStringLiteral("</ol>") + Crlf;
    }
    page += PageFooter();
    return page;
}

QString ContentsText(const PartGroups &groups)
{
    auto local = [](const QString &path) {
        QString p = path;
        p.replace(QLatin1Char('/'), QLatin1Char('\\'));
        return escaped(p);
    };
    QString text = QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">\r\n"
                                  "<HTML>\r\n"
                                  "<HEAD>\r\n"
                                  "<meta name=\"GENERATOR\" content=\"QLT@WIN1.X\">\r\n"
                                  "<!-- Sitemap 1.0 -->\r\n"
                                  "</HEAD><BODY>\r\n"
                                  "<ul>\r\n"
                                  "<LI> <OBJECT type=\"text/sitemap\">\r\n"
                                  "<param name=\"Name\" value=\"目次\">\r\n"
                                  "<param name=\"Local\" value=\"index.html\">\r\n"
                                  "</OBJECT>\r\n");
    for (const PartGroup &g : groups) {
        if (g.cards.isEmpty())
            continue;
        const bool named = !g.name.isEmpty();
        if (named) {
            text += Tab + QStringLiteral("<LI> <OBJECT type=\"text/sitemap\">") + Crlf;
            text +=
                Tab + QStringLiteral("<param name=\"Name\" value=\"") + escaped(g.name) + QStringLiteral("\">") + Crlf;
            text += Tab + QStringLiteral("<param name=\"Local\" value=\"") + local(join(g.folder, Names::IndexPage))
                    + QStringLiteral("\">") + Crlf;
            text += Tab + QStringLiteral("</OBJECT>") + Crlf + Tab + QStringLiteral("<UL>") + Crlf;
        }
        for (const PartCard &c : g.cards) {
            text += Tab + Tab + QStringLiteral("<LI> <OBJECT type=\"Text/sitemap\">") + Crlf;
            text += Tab + Tab + QStringLiteral("<param name=\"Name\" value=\"") + escaped(c.name)
                    + QStringLiteral("\">") + Crlf;
            text += Tab + Tab + QStringLiteral("<param name=\"Local\" value=\"") + local(c.file) + QStringLiteral("\">")
                    + Crlf;
            text += Tab + Tab + QStringLiteral("</OBJECT>") + Crlf;
        }
        if (named)
            text += Tab + QStringLiteral("</ul>") + Crlf;
    }
    text += QStringLiteral("</ul>\r\n</BODY></HTML>");
    return text;
}

QString DefaultStyleSheet()
{
    return QStringLiteral(
        "@charset \"Shift_JIS\";\r\n"
        "body { margin: 1em 2em; line-height: 1.7; font-family: sans-serif; }\r\n"
        "h1.Title, h1.AllMokujiTitle, h1.TitleofMokuji { font-size: 1.4em; border-bottom: 1px solid #888; }\r\n"
        "p.MainContent { margin: 1em 0; }\r\n"
        "ul.AllMokuji { list-style: none; padding-left: 0; }\r\n"
        "li.mokuji { font-weight: bold; margin-top: .8em; }\r\n"
        "ol.Folder { margin: .3em 0 .3em 1.5em; }\r\n"
        "li.Kobetsu { margin: .1em 0; }");
}

Result Export(const CardList &list, const Job &job)
{
    Result result;
    const PartGroups groups = CollectPartGroups(list, job.kind, job.titleMode);
    PageSink sink;
    using Enc = HtmlText::Encoding;
    const QString root = QDir::cleanPath(job.root);

    QSet<QString> failedFolders;
    auto ensureFolder = [&](const QString &relative) {
        const QString path = relative.isEmpty() ? root : root + QLatin1Char('/') + relative;
        if (failedFolders.contains(path))
            return false;
        if (QFileInfo(path).isDir() || QDir().mkpath(path))
            return true;
        failedFolders.insert(path);
        QString reason = QStringLiteral("フォルダを作成できません");
        if (QFileInfo(path).exists())
            reason = QStringLiteral("同じ名前のファイルがあります");
        result.failures.append({path, reason});
        return false;
    };
    auto put = [&](const QString &relative, const QString &text, Enc encoding) {
        if (!ensureFolder(folderOf(relative)))
            return;
        (void)sink.put(root + QLatin1Char('/') + relative, text, encoding, PageSink::Rule::IfChanged);
    };

    const CardStore &store = list.store();
    for (const PartGroup &g : groups) {
        for (const PartCard &c : g.cards) {
            if (job.kind == Kind::Selected && !c.selected)
                continue;
            const Card &card = store.at(c.row);
            const QString text = CardPageText(c.shownTitle, card.remarks, card.content, job, folderOf(c.file));
            put(c.file, text, job.noHeader ? HtmlText::DeclaredEncoding(text) : Enc::Win31J);
        }
    }
    for (qsizetype i = 1; i < groups.size(); ++i)
        put(join(groups[i].folder, Names::IndexPage), GroupIndexText(groups, i), Enc::Win31J);
    put(Names::IndexPage, RootIndexText(groups), Enc::Win31J);
    if (job.kind == Kind::Help)
        put(Names::Contents, ContentsText(groups), Enc::Win31J);
    // The pages refer to the root's style sheet; one the person keeps there stays.
    if (ensureFolder(QString()) && !QFileInfo::exists(root + QLatin1Char('/') + Names::StyleSheet))
        (void)sink.put(root + QLatin1Char('/') + Names::StyleSheet, DefaultStyleSheet(), Enc::Win31J,
                       PageSink::Rule::IfChanged, HtmlText::Fallback::CssEscape);

    result.written = sink.written();
    result.unchanged = sink.unchanged();
    result.failures += sink.failures();
    return result;
}

QString FailureMessage(const Result &result, const QString &root)
{
    QString text = Texts::WriteError + Crlf + Crlf;
    text += QStringLiteral("保存先: ") + QDir::toNativeSeparators(root) + Crlf;
    const qsizetype shown = qMin<qsizetype>(result.failures.size(), 5);
    for (qsizetype i = 0; i < shown; ++i)
        text += QStringLiteral("・") + result.failures[i].path + QStringLiteral(" (") + result.failures[i].error
                + QStringLiteral(")") + Crlf;
    if (result.failures.size() > shown)
        text += QStringLiteral("ほか %1 件").arg(result.failures.size() - shown) + Crlf;
    text += Crlf
            + QStringLiteral("書き込んだファイル: %1 件、変更がなく書き込まなかったファイル: %2 件、"
                             "書き込めなかったもの: %3 件")
                  .arg(result.written)
                  .arg(result.unchanged)
                  .arg(result.failures.size());
    return text;
}

void RunCommand(Kind kind, const CommandContext &ctx)
{
    if (ctx.mainList.store().isEmpty())
        return;
    if (kind == Kind::All && ctx.leaveExtraction)
        ctx.leaveExtraction();
    const QString start = ctx.documentPath.isEmpty() ? QString() : QFileInfo(ctx.documentPath).absolutePath();
    const QString root = Tool::BrowseForFolder(ctx.dialogs, start, Texts::FolderPrompt);
    if (root.isEmpty())
        return;
    if (ctx.dialogs.message(Texts::OverwriteQuestion, MsgIcon::Information, MsgButtons::YesNo) != MsgAnswer::Yes)
        return;
    Job job;
    job.root = root;
    job.kind = kind;
    const int mode = kind == Kind::Help ? 0 : ctx.settings.GetiniValue(SettingKey::PartHTMLTitleMode).toInt();
    job.titleMode = mode == 1 ? TitleMode::Serial : mode == 2 ? TitleMode::Temp : TitleMode::Name;
    job.noHeader = ctx.settings.GetiniValue(SettingKey::NoHTMLHeader).toInt() == 1;
    job.noRemarks = ctx.settings.GetiniValue(SettingKey::NoWriteColumn2).toInt() == 1;
    const Result result = Export(ctx.mainList, job);
    if (!result.complete())
        ctx.dialogs.message(FailureMessage(result, root), MsgIcon::Error);
}

} // namespace PartHtml
