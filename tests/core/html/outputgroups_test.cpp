// The collection phase: groups, names, numbers, prepared texts, and the
// names on disk every page gets.
#include "htmltestutil.h"

#include "core/html/htmltext.h"
#include "core/html/outputgroups.h"

#include <random>

namespace {

HtmlOptions plain()
{
    HtmlOptions o;
    o.renban = false;
    o.escapeTag = false;
    o.cutDateInfo = false;
    o.noBR = true;
    return o;
}

OutputGroups collect(const QList<CardTexts> &cards, const HtmlOptions &options)
{
    auto list = listOf(cards);
    OutputGroups groups;
    EXPECT_TRUE(CollectOutputGroups(*list, options, groups));
    return groups;
}

} // namespace

TEST(CollectOutputGroups, GroupsInOrderOfFirstAppearance)
{
    const OutputGroups g =
        collect({{QStringLiteral("A＠x")}, {QStringLiteral("B＠y")}, {QStringLiteral("A＠z")}}, HtmlOptions{});
    ASSERT_EQ(g.size(), 2);
    EXPECT_EQ(g[0].GroupName, QStringLiteral("A"));
    EXPECT_EQ(g[0].GroupNumber, QStringLiteral("000000"));
    EXPECT_EQ(g[0].Names, (QStringList{QStringLiteral("x"), QStringLiteral("z")}));
    EXPECT_EQ(g[0].CardNumbers, (QStringList{QStringLiteral("000000"), QStringLiteral("000001")}));
    EXPECT_EQ(g[0].FolderName, QStringLiteral("qlt000000"));
    EXPECT_EQ(g[0].FileNames, (QStringList{QStringLiteral("qlt000000.html"), QStringLiteral("qlt000001.html")}));
    EXPECT_EQ(g[1].GroupName, QStringLiteral("B"));
    EXPECT_EQ(g[1].GroupNumber, QStringLiteral("000001"));
    EXPECT_EQ(g[1].CardCount, 1);
}

TEST(CollectOutputGroups, GroupAndNameOfATitle)
{
    struct Row {
        QString title, remarks;
        bool useItem2, cutDate;
        QString group, name;
    };
    const QList<Row> rows = {
        {QStringLiteral("メモ"), QString(), true, false, QStringLiteral("総合"), QStringLiteral("メモ")},
        {QStringLiteral("メモ"), QStringLiteral("Memo"), true, false, QStringLiteral("Memo"), QStringLiteral("メモ")},
        {QStringLiteral("メモ"), QStringLiteral("Memo"), false, false, QStringLiteral("総合"), QStringLiteral("メモ")},
        {QStringLiteral("A＠B＠C"), QString(), false, false, QStringLiteral("A"), QStringLiteral("B")},
        {QStringLiteral("2001/05/03：Work＠Meeting"), QString(), false, false, QStringLiteral("Work"),
         QStringLiteral("2001/05/03:Meeting")},
        {QStringLiteral("2001/05/03：Work＠Meeting"), QString(), false, true, QStringLiteral("Work"),
         QStringLiteral("Meeting")},
        {QStringLiteral("2001/05/03(14:05:09)［題］：x"), QString(), false, false, QStringLiteral("総合"),
         QStringLiteral("2001/05/03(14:05:09)［題］:x")},
    };
    for (const Row &r : rows) {
        HtmlOptions o = plain();
        o.useItem2 = r.useItem2;
        o.cutDateInfo = r.cutDate;
        const OutputGroups g = collect({{r.title, r.remarks}}, o);
        EXPECT_EQ(g[0].GroupName, r.group) << r.title.toStdString();
        EXPECT_EQ(g[0].Names[0], r.name) << r.title.toStdString();
    }
}

TEST(CollectOutputGroups, PreparesTheTextsInOrder)
{
    HtmlOptions o = plain();
    o.fakeTab = true;
    o.escapeTag = true;
    o.noBR = false;
    const OutputGroups g =
        collect({{QStringLiteral("x"), QStringLiteral("a<b>&c"), QStringLiteral("\t|  |   |<i>\r\ny")}}, o);
    EXPECT_EQ(g[0].Remarks[0], QStringLiteral("a&lt;b&gt;&amp;c"));
    EXPECT_EQ(g[0].Contents[0], QStringLiteral("　|　|　 |&lt;i&gt;<BR>\r\ny"));
    o.noBR = true;
    o.fakeTab = false;
    o.escapeTag = false;
    EXPECT_EQ(collect({{QStringLiteral("x"), QString(), QStringLiteral("x\r\n<y>")}}, o)[0].Contents[0],
              QStringLiteral("x\r\n<y>"));
}

// The content is prepared in one pass; it must give what replacing in turn
// gives, for every mix of the three options and every neighbourhood of the
// characters they look at.
TEST(PreparedContent, AsReplacingInTurnOnRandomText)
{
    const char16_t alphabet[] = u"\t \r\n&<>a漢";
    std::mt19937 random(12345);
    for (int mask = 0; mask < 8; ++mask) {
        HtmlOptions o = plain();
        o.fakeTab = mask & 1;
        o.escapeTag = mask & 2;
        o.noBR = !(mask & 4);
        for (int round = 0; round < 400; ++round) {
            QString text;
            const int length = int(random() % 24);
            for (int i = 0; i < length; ++i)
                text += QChar(alphabet[random() % 9]);
            QString want = text;
            if (o.fakeTab) {
                want.replace(QLatin1Char('\t'), QChar(0x3000));
                want.replace(QLatin1String("  "), QString(QChar(0x3000)));
            }
            if (o.escapeTag) {
                want.replace(QLatin1Char('&'), QLatin1String("&amp;"));
                want.replace(QLatin1Char('<'), QLatin1String("&lt;"));
                want.replace(QLatin1Char('>'), QLatin1String("&gt;"));
            }
            if (!o.noBR)
                want.replace(QLatin1String("\r\n"), QLatin1String("<BR>\r\n"));
            ASSERT_EQ(PreparedContent(text, o), want) << "options " << mask;
        }
    }
}

TEST(CollectOutputGroups, OnlySelectedCards)
{
    auto list = listOf({{QStringLiteral("A＠1")}, {QStringLiteral("B＠2")}, {QStringLiteral("A＠3")}});
    HtmlOptions o;
    o.onlySelected = true;
    OutputGroups g;
    EXPECT_FALSE(CollectOutputGroups(*list, o, g));
    EXPECT_TRUE(g.isEmpty());
    list->setSelected(2);
    list->setSelected(1);
    ASSERT_TRUE(CollectOutputGroups(*list, o, g));
    ASSERT_EQ(g.size(), 2);
    EXPECT_EQ(g[0].GroupName, QStringLiteral("B"));
    EXPECT_EQ(g[1].Names, QStringList{QStringLiteral("3")});
}

TEST(ReverseNumbering, NumbersFromTheLastAndAlwaysGivesNumberedNames)
{
    OutputGroups g = collect({{QStringLiteral("A＠x")}, {QStringLiteral("B＠y")}, {QStringLiteral("A＠z")}}, plain());
    EXPECT_EQ(g[0].FolderName, QStringLiteral("A"));
    ReverseNumbering(g);
    EXPECT_EQ(g[0].GroupNumber, QStringLiteral("000001"));
    EXPECT_EQ(g[0].FolderName, QStringLiteral("qlt000001"));
    EXPECT_EQ(g[0].CardNumbers, (QStringList{QStringLiteral("000001"), QStringLiteral("000000")}));
    EXPECT_EQ(g[0].FileNames, (QStringList{QStringLiteral("qlt000001.html"), QStringLiteral("qlt000000.html")}));
    EXPECT_EQ(g[1].FolderName, QStringLiteral("qlt000000"));
    EXPECT_EQ(g[0].Names, (QStringList{QStringLiteral("x"), QStringLiteral("z")}));
}

TEST(NamesOnDisk, CleanedNamesAndNestedFolders)
{
    const OutputGroups g = collect(
        {{QStringLiteral("2001/05/03：A\\B＠Meeting")}, {QStringLiteral("C＠a/b:c?d*e~f<g>h|i\\j,k;l\"m")}}, plain());
    EXPECT_EQ(g[0].FolderName, QStringLiteral("A/B"));
    EXPECT_EQ(g[0].depth(), 2);
    EXPECT_EQ(g[0].FileNames[0], QStringLiteral("2001／05／03：Meeting.html"));
    EXPECT_EQ(g[1].FileNames[0], QStringLiteral("a／b：c？d＊e～f＜g＞h｜i￥j，k；l\"m.html"));
}

TEST(NamesOnDisk, NoTwoPagesShareAFile)
{
    const OutputGroups g = collect({{QStringLiteral("A＠x")},
                                    {QStringLiteral("A＠x")},
                                    {QStringLiteral("A＠X")},
                                    {QStringLiteral("A＠index")},
                                    {QStringLiteral("A＠x_2")},
                                    {QStringLiteral("a＠y")},
                                    {QStringLiteral("A？＠y")},
                                    {QStringLiteral("A?＠y")}},
                                   plain());
    ASSERT_EQ(g.size(), 4);
    EXPECT_EQ(g[0].FileNames,
              (QStringList{QStringLiteral("x.html"), QStringLiteral("x_2.html"), QStringLiteral("X_3.html"),
                           QStringLiteral("index_2.html"), QStringLiteral("x_2_2.html")}));
    EXPECT_EQ(g[1].FolderName, QStringLiteral("a_2"));
    EXPECT_EQ(g[2].FolderName, QStringLiteral("A？"));
    EXPECT_EQ(g[3].FolderName, QStringLiteral("A？_2"));
}

TEST(NamesOnDisk, FoldersStayInsideTheRootAndApartFromItsFiles)
{
    const OutputGroups g = collect({{QStringLiteral("..\\..\\etc＠x")},
                                    {QStringLiteral(".＠x")},
                                    {QStringLiteral("＠x")},
                                    {QStringLiteral("\\＠x")},
                                    {QStringLiteral("index.html＠x")},
                                    {QStringLiteral("qlt_style.css＠x")},
                                    {QStringLiteral("A\\y.HTML＠x")},
                                    {QStringLiteral(".hidden＠.x")}},
                                   plain());
    QStringList folders;
    for (const OutputGroup &group : g)
        folders.append(group.FolderName);
    EXPECT_EQ(folders,
              (QStringList{QStringLiteral("．．/．．/etc"), QStringLiteral("．"), QStringLiteral("qlt000002"),
                           QStringLiteral("qlt000003"), QStringLiteral("index.html_"), QStringLiteral("qlt_style.css_"),
                           QStringLiteral("A/y.HTML_"), QStringLiteral(".hidden")}));
    EXPECT_EQ(g[7].FileNames[0], QStringLiteral(".x.html"));
}

TEST(NamesOnDisk, LongNamesAreShortenedKeepingTheExtensionAndStayDistinct)
{
    const QString longName = QString(200, QChar(0x3042)); // 600 bytes in UTF-8
    const OutputGroups g = collect({{longName + QStringLiteral("＠") + longName},
                                    {longName + QStringLiteral("＠") + longName + QStringLiteral("x")}},
                                   plain());
    EXPECT_LE(HtmlText::DiskBytes(g[0].FolderName), 255);
    ASSERT_EQ(g[0].FileNames.size(), 2);
    for (const QString &f : g[0].FileNames) {
        EXPECT_LE(HtmlText::DiskBytes(f), 255);
        EXPECT_TRUE(f.endsWith(QStringLiteral(".html")));
    }
    EXPECT_NE(g[0].FileNames[0], g[0].FileNames[1]);
    EXPECT_TRUE(g[0].FileNames[1].endsWith(QStringLiteral("_2.html")));
    EXPECT_EQ(g[0].Names[0], longName);
}

TEST(CreateGroupFolders, MakesEveryLevelAndTheRoot)
{
    const QString root = freshFolder(QStringLiteral("f")) + QStringLiteral("/missing/root");
    const OutputGroups g = collect({{QStringLiteral("A\\B＠x")}, {QStringLiteral("C＠y")}}, plain());
    EXPECT_TRUE(CreateGroupFolders(g, root));
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/A/B")).isDir());
    EXPECT_TRUE(QFileInfo(root + QStringLiteral("/C")).isDir());
    Sandbox::writeBytes(root + QStringLiteral("/D"), "file");
    EXPECT_FALSE(CreateGroupFolders(collect({{QStringLiteral("D＠x")}}, plain()), root));
}
