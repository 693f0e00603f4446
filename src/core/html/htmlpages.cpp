#include "core/html/htmlpages.h"

#include "core/common/dialogs.h"
#include "core/common/tool.h"
#include "core/html/htmltemplate.h"
#include "core/html/htmltexts.h"

#include <QHash>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

QString preparedText(const QString &text, HtmlText::Preparing rules)
{
    HtmlOptions options;
    options.fakeTab = rules.fakeTab;
    options.escapeTag = rules.escapeTag;
    options.noBR = !rules.lineBreaks;
    return PreparedContent(text, options);
}

// Where a page is built as text.
struct TextOut {
    QString text;
    void append(QStringView piece) { text += piece; }
    void prepared(const QString &piece, HtmlText::Preparing rules) { text += preparedText(piece, rules); }
};

// Where a page is built straight as bytes in its encoding: in one buffer
// for a page at a time, or, given a file, in chunks written to the file as
// they fill, so that a page of every card is never held whole.
class BytesOut
{
public:
    explicit BytesOut(Encoding encoding, AtomicFile::QuickFile *file = nullptr) : m_encoding(encoding), m_file(file) {}

    void append(QStringView piece)
    {
        char *const at = room(piece.size()); // may move the buffer
        m_used = HtmlText::EncodeInto(piece, m_encoding, at) - m_bytes.constData();
    }
    void prepared(QStringView piece, HtmlText::Preparing rules)
    {
        char *const at = room(piece.size()); // may move the buffer
        m_used = HtmlText::PrepareInto(piece, rules, m_encoding, at) - m_bytes.constData();
    }
    void clear() { m_used = 0; }
    // The page built since clear() (without a file).
    QByteArray &bytes()
    {
        m_bytes.truncate(m_used);
        return m_bytes;
    }
    // Bytes made so far.
    qsizetype size() const { return m_flushed + m_used; }
    // Writes what the buffer holds to the file; false once a write failed.
    bool flush()
    {
        if (m_ok && m_used > 0)
            m_ok = m_file->append(QByteArrayView(m_bytes.constData(), m_used));
        m_flushed += m_used;
        m_used = 0;
        return m_ok;
    }

private:
    static constexpr qsizetype Chunk = 256 * 1024;

    // Room for units UTF-16 units at the end of the buffer.
    char *room(qsizetype units)
    {
        const qsizetype need = HtmlText::RoomFor(units);
        if (m_file && m_used + need > Chunk && m_used > 0)
            flush();
        if (m_bytes.size() < m_used + need)
            m_bytes.resize(std::max(m_used + need, 2 * m_bytes.size()));
        return m_bytes.data() + m_used;
    }

    Encoding m_encoding;
    AtomicFile::QuickFile *m_file;
    QByteArray m_bytes;
    qsizetype m_used = 0;
    qsizetype m_flushed = 0;
    bool m_ok = true;
};

// Whether text holds "[" or "]", eight units at a time.
bool hasBracket(QStringView text)
{
    const char16_t *p = text.utf16();
    const char16_t *const end = p + text.size();
#if defined(__SSE2__)
    const __m128i open = _mm_set1_epi16(short(u'['));
    const __m128i close = _mm_set1_epi16(short(u']'));
    for (; end - p >= 8; p += 8) {
        const __m128i units = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p));
        if (_mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi16(units, open), _mm_cmpeq_epi16(units, close))) != 0)
            return true;
    }
#endif
    for (; p < end; ++p) {
        if (*p == u'[' || *p == u']')
            return true;
    }
    return false;
}

// A text split once at the placeholders it is filled with, so that it can
// be appended piece by piece instead of being filled by replacing in turn.
// Replacing in turn would also fill a placeholder that a value, or a value
// next to template text, happens to spell; that can only be when a value
// holds "[" or "]", or when a placeholder stands inside an open "[" of the
// template (then safe() is false). A caller appends pieces only when it is
// safe and none of its values holds a bracket, and else fills in turn, so
// the output is the same.
class Filled
{
public:
    Filled(const QString &text, QList<QLatin1String> names) : m_text(text), m_names(std::move(names))
    {
        m_pieces.append({0, text.size(), -1});
        for (int slot = 0; slot < m_names.size(); ++slot) {
            const QLatin1String name = m_names[slot];
            QList<Piece> split;
            for (const Piece &piece : std::as_const(m_pieces)) {
                if (piece.slot >= 0) {
                    split.append(piece);
                    continue;
                }
                qsizetype from = piece.start;
                const qsizetype end = piece.start + piece.length;
                for (;;) {
                    const qsizetype at = QStringView(m_text).first(end).indexOf(name, from);
                    if (at < 0)
                        break;
                    split.append({from, at - from, -1});
                    split.append({0, 0, slot});
                    from = at + name.size();
                }
                split.append({from, end - from, -1});
            }
            m_pieces = split;
        }
        bool open = false;
        for (const Piece &piece : std::as_const(m_pieces)) {
            if (piece.slot >= 0) {
                m_safe = m_safe && !open;
                continue;
            }
            for (const QChar c : QStringView(m_text).sliced(piece.start, piece.length)) {
                if (c == u'[') {
                    m_bracketed = true;
                    open = true;
                } else if (c == u']') {
                    m_bracketed = true;
                    open = false;
                }
            }
        }
    }

    bool safe() const { return m_safe; }
    // Whether the text outside the placeholders holds a bracket.
    bool bracketed() const { return m_bracketed; }
    const QString &text() const { return m_text; }
    const QList<QLatin1String> &names() const { return m_names; }

    // Appends the text with each placeholder's value: value(out, slot).
    template<class Out, class Value>
    void append(Out &out, Value &&value) const
    {
        for (const Piece &piece : m_pieces) {
            if (piece.slot >= 0)
                value(out, piece.slot);
            else if (piece.length > 0)
                out.append(QStringView(m_text).sliced(piece.start, piece.length));
        }
    }

private:
    struct Piece {
        qsizetype start;
        qsizetype length;
        int slot; // -1: template text
    };

    QString m_text;
    QList<QLatin1String> m_names;
    QList<Piece> m_pieces;
    bool m_safe = true;
    bool m_bracketed = false;
};

// A card block, filled card by card.
class CardBlock
{
public:
    static constexpr int Slots = 7; // group, file, banner, items 1 to 3, mark

    // withMark: "[mark]" is filled too (the single page and the simple
    // group pages); a card page leaves it as it stands.
    CardBlock(const QString &text, bool withMark)
        : m_filled(text, withMark
                             ? QList<QLatin1String>{P::GroupName, P::FileName, P::Banner, P::Item1, P::Item2, P::Item3,
                                                    P::Mark}
                             : QList<QLatin1String>{P::GroupName, P::FileName, P::Banner, P::Item1, P::Item2, P::Item3})
    {}

    // Appends card k of g; group is its group name as shown.
    template<class Out>
    void append(Out &out, const OutputGroup &g, qsizetype k, const PageContext &ctx, const QString &group) const
    {
        const QString name = shown(g.Names.at(k), ctx.escapeNames);
        const QString &remarks = g.Remarks.at(k);
        const QString &contents = g.Contents.at(k);
        const bool plain = m_filled.safe() && !hasBracket(group) && !hasBracket(ctx.fileName)
                           && !hasBracket(HtmlTexts::Banner) && !hasBracket(name) && !hasBracket(remarks)
                           && !hasBracket(contents);
        if (!plain) {
            const std::array<QString, Slots> values{group,
                                                    ctx.fileName,
                                                    HtmlTexts::Banner,
                                                    name,
                                                    g.RawTexts ? preparedText(remarks, ctx.remarksRules) : remarks,
                                                    g.RawTexts ? preparedText(contents, ctx.contentRules) : contents,
                                                    m_filled.names().size() == Slots ? anchorOf(g, k) : QString()};
            QString text = m_filled.text();
            for (int slot = 0; slot < m_filled.names().size(); ++slot)
                fill(text, m_filled.names()[slot], values[size_t(slot)]);
            out.append(text);
            return;
        }
        m_filled.append(out, [&](Out &o, int slot) {
            switch (slot) {
            case 0: o.append(group); break;
            case 1: o.append(ctx.fileName); break;
            case 2: o.append(HtmlTexts::Banner); break;
            case 3: o.append(name); break;
            case 4:
                if (g.RawTexts)
                    o.prepared(remarks, ctx.remarksRules);
                else
                    o.append(remarks);
                break;
            case 5:
                if (g.RawTexts)
                    o.prepared(contents, ctx.contentRules);
                else
                    o.append(contents);
                break;
            default:
                o.append(u"<a name=Card");
                o.append(g.GroupNumber);
                o.append(u"-");
                o.append(g.CardNumbers.at(k));
                o.append(u">");
                break;
            }
        });
    }

private:
    Filled m_filled;
};

// The compiled blocks of one section, one a depth.
class CardBlocks
{
public:
    CardBlocks(Section &section, bool withMark) : m_section(section), m_withMark(withMark) {}
    const CardBlock &at(int depth)
    {
        auto it = m_byDepth.find(depth);
        if (it == m_byDepth.end())
            it = m_byDepth.try_emplace(depth, m_section.at(depth), m_withMark).first;
        return it->second;
    }

private:
    Section &m_section;
    bool m_withMark;
    std::map<int, CardBlock> m_byDepth;
};

} // namespace

HtmlText::Preparing ContentRules(const HtmlOptions &options)
{
    return {options.fakeTab, options.escapeTag, !options.noBR};
}

HtmlText::Preparing RemarksRules(const HtmlOptions &options)
{
    return {false, options.escapeTag, false};
}

QString TemplateFileName(const QString &documentPath)
{
    return Tool::BaseNameOf(documentPath);
}

QString BuildIndexItems(const OutputGroup &group, int style, bool escapeNames, const QString &anchorPage)
{
    QString out;
    const QString folder = HtmlText::Href(group.FolderName);
    static const QString Class[] = {
        QStringLiteral("<Li class=\"mokuji0\"><a href=\""), QStringLiteral("<Li class=\"mokuji1\"><a href=\""),
        QStringLiteral("<Li class=\"mokuji2\"><a href="), QStringLiteral("<Li class=\"mokuji3\"><a href=")};
    const QString &start = Class[std::clamp(style, 0, 3)];
    for (qsizetype k = 0; k < group.CardCount; ++k) {
        out += start;
        switch (style) {
        case 0:
            out += HtmlText::Href(group.FileNames.at(k));
            out += QLatin1String("\">");
            break;
        case 1:
            out += folder;
            out += QLatin1Char('/');
            out += HtmlText::Href(group.FileNames.at(k));
            out += QLatin1String("\">");
            break;
        default:
            out += anchorPage;
            out += QLatin1String("#Card");
            out += group.GroupNumber;
            out += QLatin1Char('-');
            out += group.CardNumbers.at(k);
            out += QLatin1Char('>');
            break;
        }
        out += escapeNames ? HtmlText::EscapeMarkup(group.Names.at(k)) : group.Names.at(k);
        out += QLatin1String("</a>\r\n");
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

namespace {

// The root index appended piece by piece, as buildSinglePageInPieces does
// the single page; false, with nothing appended, where filling in turn is needed.
bool rootIndexInPieces(const OutputGroups &groups, const PageContext &ctx, const QString &pageText,
                       const QString &blockText, BytesOut &out)
{
    const Filled page(pageText, {P::FileName, P::Banner, P::Index});
    const Filled block(blockText, {P::GroupName, P::FileName, P::Banner, P::Index});
    if (!page.safe() || !block.safe() || block.bracketed() || hasBracket(ctx.fileName) || hasBracket(HtmlTexts::Banner))
        return false;
    QStringList links;
    QStringList folders;
    for (const OutputGroup &g : groups) {
        links.append(folderLink(g, ctx.escapeNames));
        folders.append(HtmlText::Href(g.FolderName));
        if (hasBracket(links.last()))
            return false;
        for (qsizetype k = 0; k < g.CardCount; ++k) {
            if (hasBracket(g.Names.at(k)) || hasBracket(g.FileNames.at(k)))
                return false;
        }
    }
    page.append(out, [&](BytesOut &o, int slot) {
        switch (slot) {
        case 0: o.append(ctx.fileName); break;
        case 1: o.append(HtmlTexts::Banner); break;
        default:
            for (qsizetype gi = 0; gi < groups.size(); ++gi) {
                const OutputGroup &g = groups.at(gi);
                block.append(o, [&](BytesOut &ob, int blockSlot) {
                    switch (blockSlot) {
                    case 0: ob.append(links.at(gi)); break;
                    case 1: ob.append(ctx.fileName); break;
                    case 2: ob.append(HtmlTexts::Banner); break;
                    default:
                        for (qsizetype k = 0; k < g.CardCount; ++k) {
                            ob.append(u"<Li class=\"mokuji1\"><a href=\"");
                            ob.append(folders.at(gi));
                            ob.append(u"/");
                            ob.append(HtmlText::Href(g.FileNames.at(k)));
                            ob.append(u"\">");
                            ob.append(shown(g.Names.at(k), ctx.escapeNames));
                            ob.append(u"</a>\r\n");
                        }
                        break;
                    }
                });
            }
            break;
        }
    });
    return true;
}

} // namespace

bool WriteRootIndexPage(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink)
{
    Section page(ctx.tmpl, QStringLiteral("2-1"));
    Section block(ctx.tmpl, QStringLiteral("2-2"));
    BytesOut out(page.encoding());
    if (!rootIndexInPieces(groups, ctx, page.at(0), block.at(0), out)) {
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
        out.append(text);
    }
    return wrote(sink.putEncoded(Tool::JoinPath(root, HtmlNames::IndexPage), out.bytes(), Rule::IfChanged), ctx,
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
    CardBlocks blocks(page, false);
    BytesOut out(page.encoding());
    for (const OutputGroup &g : groups) {
        const CardBlock &block = blocks.at(g.depth());
        const QString folder = Tool::JoinPath(root, g.FolderName);
        const QString group = shown(g.GroupName, ctx.escapeNames);
        for (qsizetype k = 0; k < g.CardCount; ++k) {
            out.clear();
            block.append(out, g, k, ctx, group);
            if (ctx.onCard)
                ctx.onCard(g.Names.at(k));
            if (!wrote(sink.putEncoded(Tool::JoinPath(folder, g.FileNames.at(k)), out.bytes(), Rule::IfChanged), ctx,
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
    CardBlocks cardBlocks(cardBlock, true);
    const Encoding encoding = page.encoding();
    for (const OutputGroup &g : groups) {
        const int depth = g.depth();
        QString index = indexBlock.at(depth);
        fill(index, P::GroupName, shown(g.GroupName, ctx.escapeNames));
        fill(index, P::Index, BuildIndexItems(g, 3, ctx.escapeNames, ctx.anchorPage));
        TextOut cards;
        const CardBlock &block = cardBlocks.at(depth);
        const QString group = shown(g.GroupName, ctx.escapeNames);
        for (qsizetype k = 0; k < g.CardCount; ++k)
            block.append(cards, g, k, ctx, group);
        QString text = page.at(depth);
        fill(text, P::Index, index);
        fill(text, P::Contents, cards.text);
        if (!wrote(sink.put(pathIn(root, g, HtmlNames::IndexPage), text, encoding, Rule::Always), ctx,
                   HtmlTexts::PageError))
            return false;
    }
    return true;
}

namespace {

// The single page appended piece by piece: the index and the cards are
// never held as one text. False, with nothing appended, when a value or the
// template could make replacing in turn give another page (see Filled).
template<class Out>
bool buildSinglePageInPieces(const OutputGroups &groups, const PageContext &ctx, const QString &pageText,
                             const QString &indexText, const QString &cardText, const QString &groupText, Out &out)
{
    const Filled page(pageText, {P::FileName, P::Banner, P::Index, P::Contents});
    const Filled index(indexText, {P::GroupName, P::Index});
    const Filled group(groupText, {P::GroupName, P::FileName, P::Banner, P::Contents});
    if (!page.safe() || !index.safe() || index.bracketed() || !group.safe() || hasBracket(ctx.fileName)
        || hasBracket(HtmlTexts::Banner))
        return false;
    QStringList shownGroups;
    for (const OutputGroup &g : groups) {
        shownGroups.append(shown(g.GroupName, ctx.escapeNames));
        if (hasBracket(shownGroups.last()))
            return false;
        for (const QString &name : g.Names) {
            if (hasBracket(name))
                return false;
        }
    }
    const CardBlock cards(cardText, true);
    auto items = [&](Out &o, const OutputGroup &g) {
        for (qsizetype k = 0; k < g.CardCount; ++k) {
            o.append(u"<Li class=\"mokuji2\"><a href=#Card");
            o.append(g.GroupNumber);
            o.append(u"-");
            o.append(g.CardNumbers.at(k));
            o.append(u">");
            o.append(ctx.escapeNames ? HtmlText::EscapeMarkup(g.Names.at(k)) : g.Names.at(k));
            o.append(u"</a>\r\n");
        }
    };
    page.append(out, [&](Out &o, int slot) {
        switch (slot) {
        case 0: o.append(ctx.fileName); break;
        case 1: o.append(HtmlTexts::Banner); break;
        case 2:
            for (qsizetype gi = 0; gi < groups.size(); ++gi) {
                index.append(o, [&](Out &oi, int indexSlot) {
                    if (indexSlot == 0)
                        oi.append(shownGroups.at(gi));
                    else
                        items(oi, groups.at(gi));
                });
            }
            break;
        default:
            for (qsizetype gi = 0; gi < groups.size(); ++gi) {
                const OutputGroup &g = groups.at(gi);
                group.append(o, [&](Out &og, int groupSlot) {
                    switch (groupSlot) {
                    case 0: og.append(shownGroups.at(gi)); break;
                    case 1: og.append(ctx.fileName); break;
                    case 2: og.append(HtmlTexts::Banner); break;
                    default:
                        for (qsizetype k = 0; k < g.CardCount; ++k)
                            cards.append(og, g, k, ctx, shownGroups.at(gi));
                        break;
                    }
                });
            }
            break;
        }
    });
    return true;
}

// The single page: the page section "4-1" with "[index]" filled, where every
// "[contents]" stands for the group blocks of all groups; a group block's
// "[contents]" stands for its cards. Each text is filled exactly as a page
// of its own would be, then appended; what stands twice is made twice.
template<class Out>
void buildSinglePage(const OutputGroups &groups, const PageContext &ctx, Out &out)
{
    Section page(ctx.tmpl, QStringLiteral("4-1"));
    Section indexBlock(ctx.tmpl, QStringLiteral("4-2"));
    Section cardBlock(ctx.tmpl, QStringLiteral("4-3"));
    QString groupText = ctx.tmpl.section(QStringLiteral("4-4"));
    if (groupText.isEmpty())
        groupText = QStringLiteral("[contents]");
    Section groupBlock(groupText);
    if (buildSinglePageInPieces(groups, ctx, page.at(0), indexBlock.at(0), cardBlock.at(0), groupBlock.at(0), out))
        return;

    QString index;
    for (const OutputGroup &g : groups) {
        QString items = indexBlock.at(0);
        fill(items, P::GroupName, shown(g.GroupName, ctx.escapeNames));
        fill(items, P::Index, BuildIndexItems(g, 2, ctx.escapeNames));
        index += items;
    }
    QString text = page.at(0);
    fill(text, P::FileName, ctx.fileName);
    fill(text, P::Banner, HtmlTexts::Banner);
    fill(text, P::Index, index);
    index.clear();
    const QStringList parts = text.split(P::Contents);
    text.clear();

    out.append(parts.first());
    if (parts.size() == 1)
        return;
    const CardBlock cards(cardBlock.at(0), true);
    QList<QStringList> around; // per group: its block split at "[contents]"
    QStringList shownGroups;
    for (const OutputGroup &g : groups) {
        QString block = groupBlock.at(0);
        shownGroups.append(shown(g.GroupName, ctx.escapeNames));
        fill(block, P::GroupName, shownGroups.last());
        fill(block, P::FileName, ctx.fileName);
        fill(block, P::Banner, HtmlTexts::Banner);
        around.append(block.split(P::Contents));
    }
    for (qsizetype i = 1; i < parts.size(); ++i) {
        for (qsizetype gi = 0; gi < groups.size(); ++gi) {
            const OutputGroup &g = groups.at(gi);
            const QStringList &pieces = around.at(gi);
            out.append(pieces.first());
            for (qsizetype j = 1; j < pieces.size(); ++j) {
                for (qsizetype k = 0; k < g.CardCount; ++k)
                    cards.append(out, g, k, ctx, shownGroups.at(gi));
                out.append(pieces.at(j));
            }
        }
        out.append(parts.at(i));
    }
}

} // namespace

QString BuildSinglePage(const OutputGroups &groups, const PageContext &ctx)
{
    TextOut out;
    buildSinglePage(groups, ctx, out);
    return out.text;
}

bool WriteSinglePage(const QString &path, const OutputGroups &groups, const PageContext &ctx, PageSink &sink)
{
    AtomicFile::QuickFile file;
    const Result opened = sink.open(path, file);
    if (opened != Result::Written)
        return wrote(opened, ctx, HtmlTexts::PageError);
    BytesOut out(HtmlText::DeclaredEncoding(ctx.tmpl.section(QStringLiteral("4-1"))), &file);
    buildSinglePage(groups, ctx, out);
    if (out.size() == 0)
        return false; // the file is discarded
    out.flush();
    return wrote(sink.finish(path, file), ctx, HtmlTexts::PageError);
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
