#include "core/html/htmlpages.h"

#include "core/common/dialogs.h"
#include "core/common/tool.h"
#include "core/html/htmltemplate.h"
#include "core/html/htmltexts.h"

#include <QHash>

namespace {

using HtmlText::Encoding;
using Rule = PageSink::Rule;
using Result = PageSink::Result;

const QString CrLf = QStringLiteral("\r\n");

namespace P {
const QLatin1String Root("[root]");
const QLatin1String GroupName("[groupname]");
const QLatin1String FileName("[filename]");
const QLatin1String Banner("[banner]");
const QLatin1String Index("[index]");
const QLatin1String Item1("[item1]");
const QLatin1String Item2("[item2]");
const QLatin1String Item3("[item3]");
const QLatin1String Contents("[contents]");
const QLatin1String Mark("[mark]");
} // namespace P

void fill(QString &text, QLatin1String placeholder, const QString &value)
{
    text.replace(placeholder, value);
}

QString upTo(int depth)
{
    return QStringLiteral("../").repeated(depth);
}

// A section with "[root]" replaced for pages at one depth, read once per depth.
class Section
{
public:
    Section(const HtmlTemplate &tmpl, const QString &key) : m_text(tmpl.section(key)) {}
    Section(QString text) : m_text(std::move(text)) {}
    const QString &at(int depth)
    {
        auto it = m_byDepth.constFind(depth);
        if (it == m_byDepth.cend()) {
            QString text = m_text;
            fill(text, P::Root, upTo(depth));
            it = m_byDepth.insert(depth, text);
        }
        return *it;
    }
    const QString &raw() const { return m_text; }
    Encoding encoding() const { return HtmlText::DeclaredEncoding(m_text); }

private:
    QString m_text;
    QHash<int, QString> m_byDepth;
};

QString shown(const QString &name, bool escape)
{
    return escape ? HtmlText::EscapeMarkup(name) : name;
}

QString folderLink(const OutputGroup &g, bool escape)
{
    return QStringLiteral("<a href=\"") + HtmlText::Href(g.FolderName) + QStringLiteral("/index.html\">")
           + shown(g.GroupName, escape) + QStringLiteral("</a>");
}

QString anchorOf(const OutputGroup &g, qsizetype k)
{
    return QStringLiteral("<a name=Card") + g.GroupNumber + QLatin1Char('-') + g.CardNumbers.at(k) + QLatin1Char('>');
}

QString pathIn(const QString &root, const OutputGroup &g, const QString &file)
{
    return Tool::JoinPath(Tool::JoinPath(root, g.FolderName), file);
}

bool failed(const PageContext &ctx, const QString &message)
{
    if (ctx.dialogs)
        ctx.dialogs->message(message, MsgIcon::Warning);
    return false;
}

// true: go on; false: the writer stops (failure reported, or cancelled).
bool wrote(Result r, const PageContext &ctx, const QString &message)
{
    if (r == Result::Failed)
        return failed(ctx, message);
    return r != Result::Cancelled;
}

// "[groupname]", "[filename]", "[banner]", "[item1]", "[item2]", "[item3]"
// of a card block or page.
void fillCard(QString &text, const OutputGroup &g, qsizetype k, const PageContext &ctx)
{
    fill(text, P::GroupName, shown(g.GroupName, ctx.escapeNames));
    fill(text, P::FileName, ctx.fileName);
    fill(text, P::Banner, HtmlTexts::Banner);
    fill(text, P::Item1, shown(g.Names.at(k), ctx.escapeNames));
    fill(text, P::Item2, g.Remarks.at(k));
    fill(text, P::Item3, g.Contents.at(k));
}

} // namespace

QString TemplateFileName(const QString &documentPath)
{
    return Tool::BaseNameOf(documentPath);
}

QString BuildIndexItems(const OutputGroup &group, int style, bool escapeNames, const QString &anchorPage)
{
    QString out;
    const QString folder = HtmlText::Href(group.FolderName);
    for (qsizetype k = 0; k < group.CardCount; ++k) {
        const QString name = shown(group.Names.at(k), escapeNames);
        switch (style) {
        case 0:
            out += QStringLiteral("<Li class=\"mokuji0\"><a href=\"") + HtmlText::Href(group.FileNames.at(k))
                   + QStringLiteral("\">") + name + QStringLiteral("</a>");
            break;
        case 1:
            out += QStringLiteral("<Li class=\"mokuji1\"><a href=\"") + folder + QLatin1Char('/')
                   + HtmlText::Href(group.FileNames.at(k)) + QStringLiteral("\">") + name + QStringLiteral("</a>");
            break;
        default:
            out += (style == 2 ? QStringLiteral("<Li class=\"mokuji2\"><a href=")
                               : QStringLiteral("<Li class=\"mokuji3\"><a href="))
                   + anchorPage + QStringLiteral("#Card") + group.GroupNumber + QLatin1Char('-')
                   + group.CardNumbers.at(k) + QLatin1Char('>') + name + QStringLiteral("</a>");
            break;
        }
        out += CrLf;
    }
    return out;
}

namespace {

// A root page's frame: the card file's name, the banner and the index list.
void fillFrame(QString &text, const PageContext &ctx, const QString &index)
{
    fill(text, P::FileName, ctx.fileName);
    fill(text, P::Banner, HtmlTexts::Banner);
    fill(text, P::Index, index);
}

} // namespace

bool WriteRootIndexPage(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink)
{
    Section page(ctx.tmpl, QStringLiteral("2-1"));
    Section block(ctx.tmpl, QStringLiteral("2-2"));
    QString list;
    for (const OutputGroup &g : groups) {
        QString text = block.at(0);
        fill(text, P::GroupName, folderLink(g, ctx.escapeNames));
        fill(text, P::FileName, ctx.fileName);
        fill(text, P::Banner, HtmlTexts::Banner);
        fill(text, P::Index, BuildIndexItems(g, 1, ctx.escapeNames));
        list += text;
    }
    QString text = page.at(0);
    fillFrame(text, ctx, list);
    return wrote(sink.put(Tool::JoinPath(root, HtmlNames::IndexPage), text, page.encoding(), Rule::IfChanged), ctx,
                 HtmlTexts::IndexError);
}

bool WriteGroupIndexPages(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink)
{
    Section page(ctx.tmpl, QStringLiteral("3-1"));
    const Encoding encoding = page.encoding();
    for (const OutputGroup &g : groups) {
        QString text = page.at(g.depth());
        fill(text, P::GroupName, shown(g.GroupName, ctx.escapeNames));
        fill(text, P::FileName, ctx.fileName);
        fill(text, P::Banner, HtmlTexts::Banner);
        fill(text, P::Index, BuildIndexItems(g, 0, ctx.escapeNames));
        if (!wrote(sink.put(pathIn(root, g, HtmlNames::IndexPage), text, encoding, Rule::IfChanged), ctx,
                   HtmlTexts::GroupIndexError))
            return false;
    }
    return true;
}

bool WriteCardPages(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink)
{
    Section page(ctx.tmpl, QStringLiteral("1-1"));
    const Encoding encoding = page.encoding();
    for (const OutputGroup &g : groups) {
        const QString &section = page.at(g.depth());
        const QString folder = Tool::JoinPath(root, g.FolderName);
        for (qsizetype k = 0; k < g.CardCount; ++k) {
            QString text = section;
            fillCard(text, g, k, ctx);
            if (ctx.onCard)
                ctx.onCard(g.Names.at(k));
            if (!wrote(sink.put(Tool::JoinPath(folder, g.FileNames.at(k)), text, encoding, Rule::IfChanged), ctx,
                       HtmlTexts::CardPageError))
                return false;
        }
    }
    return true;
}

bool WriteSimpleRootPage(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink)
{
    Section page(ctx.tmpl, QStringLiteral("5-4"));
    Section block(ctx.tmpl, QStringLiteral("5-5"));
    QString list;
    for (const OutputGroup &g : groups) {
        QString text = block.at(0);
        fill(text, P::GroupName, folderLink(g, ctx.escapeNames));
        QString names;
        for (qsizetype k = 0; k < g.CardCount; ++k)
            names += QStringLiteral("<Li class=\"rootmokuji\">") + shown(g.Names.at(k), ctx.escapeNames) + CrLf;
        fill(text, P::Index, names);
        list += text;
    }
    QString text = page.at(0);
    fillFrame(text, ctx, list);
    return wrote(sink.put(Tool::JoinPath(root, HtmlNames::IndexPage), text, page.encoding(), Rule::Always), ctx,
                 HtmlTexts::IndexError);
}

bool WriteSimpleGroupPages(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink)
{
    Section page(ctx.tmpl, QStringLiteral("5-1"));
    Section indexBlock(ctx.tmpl, QStringLiteral("5-2"));
    Section cardBlock(ctx.tmpl, QStringLiteral("5-3"));
    const Encoding encoding = page.encoding();
    for (const OutputGroup &g : groups) {
        const int depth = g.depth();
        QString index = indexBlock.at(depth);
        fill(index, P::GroupName, shown(g.GroupName, ctx.escapeNames));
        fill(index, P::Index, BuildIndexItems(g, 3, ctx.escapeNames, ctx.anchorPage));
        QString cards;
        const QString &section = cardBlock.at(depth);
        for (qsizetype k = 0; k < g.CardCount; ++k) {
            QString text = section;
            fillCard(text, g, k, ctx);
            fill(text, P::Mark, anchorOf(g, k));
            cards += text;
        }
        QString text = page.at(depth);
        fill(text, P::Index, index);
        fill(text, P::Contents, cards);
        if (!wrote(sink.put(pathIn(root, g, HtmlNames::IndexPage), text, encoding, Rule::Always), ctx,
                   HtmlTexts::PageError))
            return false;
    }
    return true;
}

namespace {

// The single page as its pieces: parts[0] + contents + parts[1] + contents
// ... + parts[n], which is what replacing every "[contents]" of the page
// gives, without copying the whole page once more. The group blocks are
// built the same way, straight into the text of all groups.
struct SinglePageParts {
    QStringList parts;
    QString contents;
};

SinglePageParts buildSinglePage(const OutputGroups &groups, const PageContext &ctx)
{
    Section page(ctx.tmpl, QStringLiteral("4-1"));
    Section indexBlock(ctx.tmpl, QStringLiteral("4-2"));
    Section cardBlock(ctx.tmpl, QStringLiteral("4-3"));
    QString groupText = ctx.tmpl.section(QStringLiteral("4-4"));
    if (groupText.isEmpty())
        groupText = QStringLiteral("[contents]");
    Section groupBlock(groupText);
    QString index;
    QString all;
    const QString &section = cardBlock.at(0);
    for (const OutputGroup &g : groups) {
        QString items = indexBlock.at(0);
        fill(items, P::GroupName, shown(g.GroupName, ctx.escapeNames));
        fill(items, P::Index, BuildIndexItems(g, 2, ctx.escapeNames));
        index += items;
        QString text = groupBlock.at(0);
        fill(text, P::GroupName, shown(g.GroupName, ctx.escapeNames));
        fill(text, P::FileName, ctx.fileName);
        fill(text, P::Banner, HtmlTexts::Banner);
        const QStringList around = text.split(P::Contents);
        all += around.first();
        if (around.size() == 1)
            continue;
        const qsizetype start = all.size();
        for (qsizetype k = 0; k < g.CardCount; ++k) {
            QString card = section;
            fillCard(card, g, k, ctx);
            fill(card, P::Mark, anchorOf(g, k));
            all += card;
        }
        const QString cards = around.size() > 2 ? all.mid(start) : QString();
        for (qsizetype i = 1; i < around.size(); ++i) {
            if (i > 1)
                all += cards;
            all += around.at(i);
        }
    }
    QString text = page.at(0);
    fill(text, P::FileName, ctx.fileName);
    fill(text, P::Banner, HtmlTexts::Banner);
    fill(text, P::Index, index);
    return {text.split(P::Contents), std::move(all)};
}

QList<QStringView> piecesOf(const SinglePageParts &page)
{
    QList<QStringView> pieces;
    for (qsizetype i = 0; i < page.parts.size(); ++i) {
        if (i > 0)
            pieces.append(page.contents);
        pieces.append(page.parts.at(i));
    }
    return pieces;
}

} // namespace

QString BuildSinglePage(const OutputGroups &groups, const PageContext &ctx)
{
    QString text;
    for (const QStringView piece : piecesOf(buildSinglePage(groups, ctx)))
        text += piece;
    return text;
}

bool WriteSinglePage(const QString &path, const OutputGroups &groups, const PageContext &ctx, PageSink &sink)
{
    const SinglePageParts page = buildSinglePage(groups, ctx);
    const QList<QStringView> pieces = piecesOf(page);
    bool empty = true;
    for (const QStringView piece : pieces)
        empty = empty && piece.isEmpty();
    if (empty)
        return false;
    const Encoding encoding = HtmlText::DeclaredEncoding(ctx.tmpl.section(QStringLiteral("4-1")));
    return wrote(sink.put(path, pieces, encoding, Rule::Always), ctx, HtmlTexts::PageError);
}

namespace {

// A value of a contents-file attribute: '"' can never stand in it raw.
QString attribute(const QString &text, bool escape)
{
    if (escape)
        return HtmlText::EscapeMarkup(text);
    QString out = text;
    return out.replace(QLatin1Char('"'), QLatin1String("&quot;"));
}

QString backslashed(QString path)
{
    return path.replace(QLatin1Char('/'), QLatin1Char('\\'));
}

// The contents file's target of card k: its page, or its anchor in the group page.
QString helpTarget(const OutputGroup &g, qsizetype k, bool anchors)
{
    const QString folder = backslashed(g.FolderName);
    if (anchors)
        return folder + QStringLiteral("\\index.html#Card") + g.GroupNumber + QLatin1Char('-') + g.CardNumbers.at(k);
    return folder + QLatin1Char('\\') + g.FileNames.at(k);
}

} // namespace

bool WriteHelpContents(const OutputGroups &groups, const QString &root, bool anchors, const PageContext &ctx,
                       PageSink &sink)
{
    const QString tab = QStringLiteral("\t");
    QString t;
    for (const char *line :
         {"<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
          "<meta name=\"GENERATOR\" content=\"QLT@WIN1.X\">", "<!-- Sitemap 1.0 -->", "</HEAD><BODY>", "<ul>",
          "<LI> <OBJECT type=\"text/sitemap\">", "<param name=\"Name\" value=\"目次\">",
          "<param name=\"Local\" value=\"index.html\">", "</OBJECT>"})
        t += QString::fromUtf8(line) + CrLf;
    for (const OutputGroup &g : groups) {
        if (g.CardCount == 0)
            continue;
        const bool own = g.GroupName != HtmlNames::DefaultGroup;
        if (own) {
            t += tab + QStringLiteral("<LI> <OBJECT type=\"text/sitemap\">") + CrLf;
            t += tab + QStringLiteral("<param name=\"Name\" value=\"") + attribute(g.GroupName, ctx.escapeNames)
                 + QStringLiteral("\">") + CrLf;
            t += tab + QStringLiteral("<param name=\"Local\" value=\"") + attribute(backslashed(g.FolderName), false)
                 + QStringLiteral("\\index.html\">") + CrLf;
            t += tab + QStringLiteral("</OBJECT>") + CrLf;
            t += tab + QStringLiteral("<UL>") + CrLf;
        }
        for (qsizetype k = 0; k < g.CardCount; ++k) {
            t += tab + tab + QStringLiteral("<LI> <OBJECT type=\"Text/sitemap\">") + CrLf;
            t += tab + tab + QStringLiteral("<param name=\"Name\" value=\"") + attribute(g.Names.at(k), ctx.escapeNames)
                 + QStringLiteral("\">") + CrLf;
            t += tab + tab + QStringLiteral("<param name=\"Local\" value=\"")
                 + attribute(helpTarget(g, k, anchors), false) + QStringLiteral("\">") + CrLf;
            t += tab + tab + QStringLiteral("</OBJECT>") + CrLf;
        }
        if (own)
            t += tab + QStringLiteral("</ul>") + CrLf;
    }
    t += QStringLiteral("</ul>") + CrLf + QStringLiteral("</BODY></HTML>");
    return sink.put(Tool::JoinPath(root, HtmlNames::HelpContents), t, Encoding::Win31J, Rule::Always)
           == Result::Written;
}

bool WriteHelpProject(const OutputGroups &groups, const QString &root, bool anchors, bool withStyleSheet,
                      const PageContext &ctx, PageSink &sink)
{
    const QString title = ctx.fileName.isEmpty() ? QStringLiteral("HTMLHELP") : ctx.fileName;
    QString t = QStringLiteral("[OPTIONS]\r\n"
                               "Compatibility=1.1 or later\r\n"
                               "Compiled file=HTMLHELP.chm\r\n"
                               "Contents file=HTMLHELP.hhc\r\n"
                               "Default topic=index.html\r\n"
                               "Display compile progress=No\r\n"
                               "Language=0x411 Japanese\r\n"
                               "Title=")
                + title + QStringLiteral("\r\n\r\n[FILES]\r\nindex.html\r\n");
    for (const OutputGroup &g : groups) {
        const QString folder = backslashed(g.FolderName) + QLatin1Char('\\');
        t += folder + HtmlNames::IndexPage + CrLf;
        if (!anchors) {
            for (const QString &file : g.FileNames)
                t += folder + file + CrLf;
        }
    }
    if (withStyleSheet)
        t += HtmlNames::StyleSheet + CrLf;
    t.chop(2);
    return sink.put(Tool::JoinPath(root, HtmlNames::HelpProject), t, Encoding::Win31J, Rule::Always) == Result::Written;
}

QString StyleSheetText(const HtmlTemplate &tmpl, const QString &styleSheetKey)
{
    return tmpl.section(styleSheetKey);
}

bool WriteStyleSheet(const QString &folder, const QString &styleSheetKey, const PageContext &ctx, PageSink &sink)
{
    const QString text = StyleSheetText(ctx.tmpl, styleSheetKey);
    if (text.isEmpty())
        return true;
    const Result r = sink.put(Tool::JoinPath(folder, HtmlNames::StyleSheet), text, HtmlText::DeclaredEncoding(text),
                              Rule::IfChanged, HtmlText::Fallback::CssEscape);
    if (r == Result::Failed)
        return failed(ctx, HtmlTexts::styleSheetError(sink.lastError()));
    return r != Result::Cancelled;
}
