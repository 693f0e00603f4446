// The writers' quick ways (card texts prepared while they are encoded, the
// single page and the card blocks appended piece by piece, the cards
// collected from a stream) against filling in turn as the rules say, byte
// for byte, on random cards with every option mix in both page encodings.
#include "htmltestutil.h"

#include "core/html/htmlpages.h"
#include "core/html/htmlrun.h"
#include "core/html/htmltemplate.h"
#include "core/html/htmltext.h"
#include "core/html/htmltexts.h"
#include "core/html/outputgroups.h"

#include "support/fakedialogs.h"

#include <QRandomGenerator>

namespace {

// Pieces random texts are made of: Japanese, what the options replace,
// brackets and placeholders, and characters Windows-31J lacks.
const QStringList Alphabet{
    QStringLiteral("あ"),      QStringLiteral("漢字"),       QStringLiteral("ｶﾀｶﾅ"),    QStringLiteral("a"),
    QStringLiteral("Z9"),      QStringLiteral(" "),          QStringLiteral("  "),      QStringLiteral("\t"),
    QStringLiteral("&"),       QStringLiteral("<"),          QStringLiteral(">"),       QStringLiteral("\""),
    QStringLiteral("\r\n"),    QStringLiteral("\r"),         QStringLiteral("\n"),      QStringLiteral("①髙"),
    QStringLiteral("\u2603"),  QStringLiteral("\U0001F600"), QStringLiteral("[item3]"), QStringLiteral("[contents]"),
    QStringLiteral("[index]"), QStringLiteral("[root]"),     QStringLiteral("[mark]"),  QStringLiteral("["),
    QStringLiteral("]"),       QStringLiteral("é"),          QStringLiteral("\uFF5E"),  QStringLiteral("/"),
};

QString randomText(QRandomGenerator &rng, int most, bool brackets)
{
    QString text;
    const int n = int(rng.bounded(most + 1));
    for (int i = 0; i < n; ++i) {
        const QString &piece = Alphabet.at(rng.bounded(int(Alphabet.size())));
        if (brackets || (!piece.contains(u'[') && !piece.contains(u']')))
            text += piece;
    }
    return text;
}

QList<CardTexts> randomCards(QRandomGenerator &rng, bool brackets)
{
    static const QStringList groups{QStringLiteral("仕事＠"), QStringLiteral("趣味＠"), QString(),
                                    QStringLiteral("A&<B>＠"), QStringLiteral("2024/02/20：日記＠")};
    QList<CardTexts> cards;
    const int n = 1 + int(rng.bounded(12));
    for (int i = 0; i < n; ++i) {
        cards.append({groups.at(rng.bounded(int(groups.size()))) + randomText(rng, 4, brackets),
                      rng.bounded(3) == 0 ? QStringLiteral("仕事") : randomText(rng, 3, brackets),
                      randomText(rng, 40, brackets)});
    }
    return cards;
}

QString meta(bool utf8)
{
    return utf8 ? QStringLiteral("<meta charset=\"utf-8\">")
                : QStringLiteral("<meta http-equiv=\"Content-Type\" content=\"text/html; charset=Shift_JIS\">");
}

// Sections with every placeholder; odd ones put placeholders inside brackets
// of their own, where replacing in turn fills what the values and the
// template spell together.
QList<Section> sections(bool utf8, bool odd)
{
    const QString m = meta(utf8);
    const QString card =
        odd ? QStringLiteral("[mark][[groupname]item2] [filename][banner]<h3>[item1]</h3>[item2]|[item3]")
            : QStringLiteral("[mark]</a>[groupname] [filename] [banner]<h3>[item1]</h3>"
                             "<p>[item2]</p>\r\n[item3]\r\n");
    return {
        {QStringLiteral("1-1"), m + QStringLiteral("<link href=\"[root]qlt_style.css\">") + card},
        {QStringLiteral("2-1"), m
                                    + (odd ? QStringLiteral("[filename][[banner]index]|[index]")
                                           : QStringLiteral("<body>[filename] [banner]\r\n[index]</body>"))},
        {QStringLiteral("2-2"),
         odd ? QStringLiteral("<h2>[groupname]</h2>[filename][index]]")
             : QStringLiteral("<h2>[groupname]</h2>[filename] [banner]\r\n<ul>\r\n[index]</ul>\r\n")},
        {QStringLiteral("4-1"),
         m
             + (odd ? QStringLiteral("[filename] [[banner]index] [index][contents]<hr>[contents]")
                    : QStringLiteral("[filename] [banner]\r\n[index]<hr>\r\n[contents]</body>"))},
        {QStringLiteral("4-2"), odd ? QStringLiteral("<h2>[groupname]</h2>[index]]")
                                    : QStringLiteral("<h2>[groupname]</h2><ul>\r\n[index]</ul>\r\n")},
        {QStringLiteral("4-3"), card},
        {QStringLiteral("4-4"), odd ? QStringLiteral("<div>[groupname][contents][contents]</div>")
                                    : QStringLiteral("<div>[groupname] [filename] [banner]\r\n[contents]</div>\r\n")},
    };
}

QString shown(const QString &name, bool escape)
{
    return escape ? HtmlText::EscapeMarkup(name) : name;
}

QString fillInTurn(QString text, const QList<std::pair<const char *, QString>> &values)
{
    for (const auto &[name, value] : values)
        text.replace(QLatin1String(name), value);
    return text;
}

// What a card block gives, filled in turn from groups collected prepared.
QString cardBlock(QString text, const OutputGroup &g, qsizetype k, const QString &fileName, bool escape, bool mark)
{
    QList<std::pair<const char *, QString>> values{
        {"[groupname]", shown(g.GroupName, escape)}, {"[filename]", fileName},     {"[banner]", HtmlTexts::Banner},
        {"[item1]", shown(g.Names.at(k), escape)},   {"[item2]", g.Remarks.at(k)}, {"[item3]", g.Contents.at(k)}};
    if (mark)
        values.append({"[mark]", QStringLiteral("<a name=Card") + g.GroupNumber + u'-' + g.CardNumbers.at(k) + u'>'});
    return fillInTurn(std::move(text), values);
}

QByteArray singlePage(const HtmlTemplate &tmpl, const OutputGroups &groups, const QString &fileName, bool escape)
{
    auto section = [&](const char *key) {
        return tmpl.section(QString::fromLatin1(key)).replace(QLatin1String("[root]"), QString());
    };
    QString index;
    for (const OutputGroup &g : groups)
        index += fillInTurn(section("4-2"),
                            {{"[groupname]", shown(g.GroupName, escape)}, {"[index]", BuildIndexItems(g, 2, escape)}});
    const QString page =
        fillInTurn(section("4-1"), {{"[filename]", fileName}, {"[banner]", HtmlTexts::Banner}, {"[index]", index}});
    QString all;
    for (const OutputGroup &g : groups) {
        QString cards;
        for (qsizetype k = 0; k < g.CardCount; ++k)
            cards += cardBlock(section("4-3"), g, k, fileName, escape, true);
        const QString block = fillInTurn(
            section("4-4"),
            {{"[groupname]", shown(g.GroupName, escape)}, {"[filename]", fileName}, {"[banner]", HtmlTexts::Banner}});
        all += block.split(QLatin1String("[contents]")).join(cards);
    }
    const QString text = page.split(QLatin1String("[contents]")).join(all);
    return HtmlText::Encoded(text, HtmlText::DeclaredEncoding(section("4-1"))) + "\r\n";
}

QByteArray rootIndex(const HtmlTemplate &tmpl, const OutputGroups &groups, const QString &fileName, bool escape)
{
    auto section = [&](const char *key) {
        return tmpl.section(QString::fromLatin1(key)).replace(QLatin1String("[root]"), QString());
    };
    QString list;
    for (const OutputGroup &g : groups) {
        const QString link = QStringLiteral("<a href=\"") + HtmlText::Href(g.FolderName)
                             + QStringLiteral("/index.html\">") + shown(g.GroupName, escape) + QStringLiteral("</a>");
        list += fillInTurn(section("2-2"), {{"[groupname]", link},
                                            {"[filename]", fileName},
                                            {"[banner]", HtmlTexts::Banner},
                                            {"[index]", BuildIndexItems(g, 1, escape)}});
    }
    const QString page =
        fillInTurn(section("2-1"), {{"[filename]", fileName}, {"[banner]", HtmlTexts::Banner}, {"[index]", list}});
    return HtmlText::Encoded(page, HtmlText::DeclaredEncoding(section("2-1"))) + "\r\n";
}

} // namespace

TEST(HtmlQuickWays, PrepareIntoIsEncodingThePreparedText)
{
    // Besides the alphabet: the units where UTF-8 forms change length, and
    // lone surrogates, which are no characters.
    const QStringList edges{QStringLiteral("\x7F"),   QStringLiteral("\u0080"), QStringLiteral("\u07FF"),
                            QStringLiteral("\u0800"), QStringLiteral("\uD7FF"), QStringLiteral("\uE000"),
                            QStringLiteral("\uFFFF"), QString(QChar(0xD800)),   QString(QChar(0xDFFF)),
                            QString(QChar(0xDBFF)) + u'a'};
    QRandomGenerator rng(12);
    QByteArray buffer;
    for (int round = 0; round < 600; ++round) {
        QString text = randomText(rng, 60, true);
        if (round >= 400) {
            for (int i = int(rng.bounded(12)); i > 0; --i)
                text.insert(rng.bounded(int(text.size()) + 1), edges.at(rng.bounded(int(edges.size()))));
        }
        for (int mask = 0; mask < 8; ++mask) {
            const HtmlText::Preparing rules{(mask & 1) != 0, (mask & 2) != 0, (mask & 4) != 0};
            HtmlOptions options;
            options.fakeTab = rules.fakeTab;
            options.escapeTag = rules.escapeTag;
            options.noBR = !rules.lineBreaks;
            for (const auto encoding : {HtmlText::Encoding::Utf8, HtmlText::Encoding::Win31J}) {
                buffer.resize(HtmlText::RoomFor(text.size()));
                const char *end = HtmlText::PrepareInto(text, rules, encoding, buffer.data());
                ASSERT_EQ(QByteArray(buffer.constData(), end - buffer.constData()),
                          HtmlText::Encoded(PreparedContent(text, options), encoding))
                    << "rules " << mask << " text " << text.toStdString();
            }
        }
    }
}

// Mode 0 and mode 1 through the driver (cards collected raw, prepared while
// written, pages appended piece by piece where that gives the same) and
// through the qltcard way (cards collected one by one), against the pages
// filled in turn from cards collected prepared.
TEST(HtmlQuickWays, EscapeMarkupFindsMarkupAtEveryPlace)
{
    // Texts are searched several units at a time: each mark at each place
    // of texts around those widths, and texts without any.
    for (int length = 0; length <= 20; ++length) {
        const QString plain(length, QChar(u'字'));
        EXPECT_EQ(HtmlText::EscapeMarkup(plain), plain);
        for (int at = 0; at < length; ++at) {
            for (const auto &[mark, escaped] : {std::pair{u'&', "&amp;"}, std::pair{u'<', "&lt;"},
                                                std::pair{u'>', "&gt;"}, std::pair{u'"', "&quot;"}}) {
                QString text = plain;
                text[at] = QChar(mark);
                QString expected = plain;
                expected.replace(at, 1, QLatin1String(escaped));
                ASSERT_EQ(HtmlText::EscapeMarkup(text), expected) << length << " " << at;
            }
        }
    }
}

TEST(HtmlQuickWays, PagesAreThoseFilledInTurn)
{
    QRandomGenerator rng(7);
    for (int kind = 0; kind < 4; ++kind) {
        const bool utf8 = kind & 1;
        const bool odd = kind & 2;
        const QString folder = freshFolder(QStringLiteral("quick"));
        const QString tmplPath = writeTemplate(folder + QStringLiteral("/Hina.qlw"), sections(utf8, odd));
        HtmlTemplate tmpl;
        ASSERT_TRUE(tmpl.load(tmplPath));
        for (int mask = 0; mask < 32; ++mask) {
            HtmlOptions options;
            options.fakeTab = mask & 1;
            options.escapeTag = mask & 2;
            options.noBR = mask & 4;
            options.useItem2 = mask & 8;
            options.cutDateInfo = mask & 16;
            options.renban = rng.bounded(2) == 0;
            const auto list = listOf(randomCards(rng, rng.bounded(2) == 0));
            const QString document = rng.bounded(2) ? QStringLiteral("/d/メモ帳.qlw") : QStringLiteral("/d/[a]&b.qlw");
            const QString name = TemplateFileName(document);
            const QString fileName = options.escapeTag ? HtmlText::EscapeMarkup(name) : name;
            OutputGroups prepared;
            ASSERT_TRUE(CollectOutputGroups(*list, options, prepared));
            const std::string what = "kind " + std::to_string(kind) + " options " + std::to_string(mask);

            HtmlJob job;
            job.templatePath = tmplPath;
            job.documentPath = document;
            job.options = options;
            FakeDialogs dialogs;
            job.mode = HtmlMode::Single;
            job.target = folder + QStringLiteral("/single.html");
            ASSERT_TRUE(RunHtmlOutput(*list, job, tmpl, dialogs).complete()) << what;
            const QByteArray want = singlePage(tmpl, prepared, fileName, options.escapeTag);
            EXPECT_EQ(Sandbox::readBytes(job.target), want) << what;

            OutputCollector collector(options, TextForm::Raw);
            for (const Card &card : list->store().cards())
                collector.add(card);
            job.target = folder + QStringLiteral("/streamed.html");
            OutputGroups collected = collector.take();
            ASSERT_TRUE(WriteHtmlOutput(collected, job, tmpl, dialogs).complete()) << what;
            EXPECT_EQ(Sandbox::readBytes(job.target), want) << what;

            job.mode = HtmlMode::Cards;
            job.target = folder + QStringLiteral("/tree%1").arg(mask);
            ASSERT_TRUE(RunHtmlOutput(*list, job, tmpl, dialogs).complete()) << what;
            EXPECT_EQ(Sandbox::readBytes(job.target + QStringLiteral("/index.html")),
                      rootIndex(tmpl, prepared, fileName, options.escapeTag))
                << what;
            for (const OutputGroup &g : prepared) {
                const QString page = tmpl.section(QStringLiteral("1-1"))
                                         .replace(QLatin1String("[root]"), QStringLiteral("../").repeated(g.depth()));
                for (qsizetype k = 0; k < g.CardCount; ++k) {
                    const QString text = cardBlock(page, g, k, fileName, options.escapeTag, false);
                    EXPECT_EQ(Sandbox::readBytes(job.target + u'/' + g.FolderName + u'/' + g.FileNames.at(k)),
                              HtmlText::Encoded(text, HtmlText::DeclaredEncoding(page)) + "\r\n")
                        << what << " card " << k;
                }
            }
        }
    }
}
