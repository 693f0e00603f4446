// The browser preview and the web view of a card, through the fake shell
// and dialogs.
#include "htmltestutil.h"

#include "core/common/inimente.h"
#include "core/html/browserpreview.h"
#include "core/html/webview.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"

#include <QFileInfo>

using namespace BrowserPreview;

namespace {

// A browser template: the single page lists the names and contents.
QString browserTemplate(const QString &folder, const QString &options)
{
    return writeTemplate(folder + QStringLiteral("/HinaBrowser.qlw"),
                         {{QStringLiteral("*"), options},
                          {QStringLiteral("0-1"), QStringLiteral("body { color: #000 }")},
                          {QStringLiteral("4-1"), QStringLiteral("<html>[index]\r\n[contents]</html>")},
                          {QStringLiteral("4-2"), QStringLiteral("[index]")},
                          {QStringLiteral("4-3"), QStringLiteral("[item1]:[item3]\r\n")},
                          {QStringLiteral("4-4"), QStringLiteral("[contents]")}});
}

struct Preview {
    QString folder = freshFolder(QStringLiteral("preview"));
    QString selectedTemplate = browserTemplate(freshFolder(QStringLiteral("sel")), QStringLiteral("NoBR=1"));
    QString allTemplate = browserTemplate(freshFolder(QStringLiteral("all")), QString());
    iniMente settings;
    FakeDialogs dialogs;
    FakeShell shell;
    Preview()
    {
        settings.SetiniValue(QStringLiteral("BrowserHina1"), selectedTemplate);
        settings.SetiniValue(QStringLiteral("BrowserHina0"), allTemplate);
    }
    Outcome run(CardList &list, Which which, QStringList folders = {})
    {
        if (folders.isEmpty())
            folders = {folder};
        return Run(which, Context{list, settings, dialogs, shell, QStringLiteral("/data/メモ.qlw"), folders});
    }
    QString page() const { return text(Sandbox::readBytes(folder + QStringLiteral("/Temp.html"))); }
};

std::unique_ptr<CardList> fourCards()
{
    return listOf({{QStringLiteral("A＠one"), QString(), QStringLiteral("1\r\n1")},
                   {QStringLiteral("two"), QString(), QStringLiteral("2")},
                   {QStringLiteral("A＠three"), QString(), QStringLiteral("3")},
                   {QStringLiteral("four"), QString(), QStringLiteral("4")}});
}

} // namespace

TEST(BrowserPreview, SelectedCardsThroughTheSelectedTemplateWithoutBr)
{
    Preview p;
    auto list = fourCards();
    list->setSelected(0);
    list->setSelected(2);
    list->setSelected(3);
    EXPECT_EQ(p.run(*list, Which::Selected), Outcome::Opened);
    EXPECT_EQ(p.shell.opened, QStringList{p.folder + QStringLiteral("/Temp.html")});
    EXPECT_EQ(list->currentRow(), 0);
    const QString page = p.page();
    EXPECT_TRUE(page.contains(QStringLiteral("one:1\r\n1")));
    EXPECT_TRUE(page.contains(QStringLiteral("three:3")));
    EXPECT_TRUE(page.contains(QStringLiteral("four:4")));
    EXPECT_FALSE(page.contains(QStringLiteral("two:")));
    EXPECT_FALSE(page.contains(QStringLiteral("<BR>")));
    EXPECT_EQ(Sandbox::readBytes(p.folder + QStringLiteral("/qlt_style.css")), QByteArray("body { color: #000 }\r\n"));
    EXPECT_TRUE(p.dialogs.records.isEmpty());
}

TEST(BrowserPreview, AllCardsThroughTheOtherTemplateKeepBr)
{
    Preview p;
    auto list = fourCards();
    EXPECT_EQ(p.run(*list, Which::All), Outcome::Opened);
    EXPECT_TRUE(p.page().contains(QStringLiteral("one:1<BR>\r\n1")));
    EXPECT_TRUE(p.page().contains(QStringLiteral("two:2")));
}

TEST(BrowserPreview, NothingToShowDoesNothing)
{
    Preview p;
    auto list = fourCards();
    EXPECT_EQ(p.run(*list, Which::Selected), Outcome::Nothing);
    auto empty = listOf({});
    EXPECT_EQ(p.run(*empty, Which::All), Outcome::Nothing);
    EXPECT_TRUE(p.shell.opened.isEmpty());
    EXPECT_TRUE(p.dialogs.records.isEmpty());
    EXPECT_FALSE(QFileInfo::exists(p.folder + QStringLiteral("/Temp.html")));
}

TEST(BrowserPreview, ErrorsSayWhyAndOpenNothing)
{
    struct Case {
        const char *what;
        QString options; // of the template for all cards; empty: the template is missing
        QString description;
    };
    const QString missing = freshFolder(QStringLiteral("missing")) + QStringLiteral("/Hina.qlw");
    const Case cases[] = {
        {"missing template", QString(), QStringLiteral("雛形ファイル「%1」が見つかりません。").arg(missing)},
        {"option neither number nor truth word", QStringLiteral("NoBR=yes"),
         QStringLiteral("雛形のオプション NoBR の値「yes」は、数値でも True/False でもありません。")},
    };
    for (const Case &c : cases) {
        Preview p;
        p.settings.SetiniValue(QStringLiteral("BrowserHina0"),
                               c.options.isEmpty() ? missing
                                                   : browserTemplate(freshFolder(QStringLiteral("bad")), c.options));
        auto list = fourCards();
        EXPECT_EQ(p.run(*list, Which::All), Outcome::Failed) << c.what;
        ASSERT_EQ(p.dialogs.messages().size(), 1) << c.what;
        EXPECT_EQ(p.dialogs.messages().at(0).text,
                  QStringLiteral("エラーが発生しました。\r\n雛形ファイルの指定・存在や設定を確認してください。\r\n\r\n")
                      + c.description)
            << c.what;
        EXPECT_EQ(p.dialogs.messages().at(0).icon, MsgIcon::Error) << c.what;
        EXPECT_TRUE(p.shell.opened.isEmpty()) << c.what;
    }
}

TEST(BrowserPreview, TruthWordsAndNumbersAreSwitches)
{
    Preview p;
    p.settings.SetiniValue(QStringLiteral("BrowserHina0"),
                           browserTemplate(freshFolder(QStringLiteral("words")), QStringLiteral("NoBR=True")));
    auto list = fourCards();
    EXPECT_EQ(p.run(*list, Which::All), Outcome::Opened);
    EXPECT_FALSE(p.page().contains(QStringLiteral("<BR>")));
}

TEST(BrowserPreview, AReadOnlyProgramFolderGivesWayToTheNextTogetherWithTheStyleSheet)
{
    Preview p;
    const QString blocked = freshFolder(QStringLiteral("blocked")) + QStringLiteral("/file");
    ASSERT_TRUE(Sandbox::writeBytes(blocked, "a file, no folder can be made below it"));
    auto list = fourCards();
    EXPECT_EQ(p.run(*list, Which::All, {blocked + QStringLiteral("/program"), p.folder}), Outcome::Opened);
    EXPECT_EQ(p.shell.opened, QStringList{p.folder + QStringLiteral("/Temp.html")});
    EXPECT_TRUE(QFileInfo::exists(p.folder + QStringLiteral("/qlt_style.css")));

    Preview nowhere;
    EXPECT_EQ(nowhere.run(*list, Which::All, {blocked + QStringLiteral("/program")}), Outcome::Failed);
    ASSERT_EQ(nowhere.dialogs.messages().size(), 1);
    EXPECT_TRUE(nowhere.dialogs.messages().at(0).text.endsWith(
        QStringLiteral("プレビューを書き込めるフォルダがありません（%1/program）。").arg(blocked)));
    EXPECT_TRUE(nowhere.shell.opened.isEmpty());
}

TEST(BrowserPreview, HierarchicalModesWriteATreeAndOpenItsRootIndex)
{
    for (const int mode : {1, 2}) {
        Preview p;
        p.settings.SetiniValue(QStringLiteral("BrowserHinaMode"), mode);
        p.settings.SetiniValue(QStringLiteral("BrowserHina0"), QStringLiteral(QLT_BIN_DIR "/HinaDefault.qlw"));
        auto list = fourCards();
        EXPECT_EQ(p.run(*list, Which::All), Outcome::Opened) << mode;
        const QString index = p.folder + QStringLiteral("/TempHTML/index.html");
        EXPECT_EQ(p.shell.opened, QStringList{index}) << mode;
        EXPECT_TRUE(QFileInfo::exists(index)) << mode;
        EXPECT_TRUE(QFileInfo::exists(p.folder + QStringLiteral("/TempHTML/qlt_style.css"))) << mode;
    }
}

// ---------------------------------------------------------------- web view

TEST(WebView, EachKindOfContentOpensItsWay)
{
    struct Case {
        const char *what;
        QString content;
        WebView::Kind kind;
        QString file; // written and opened; empty: the address is opened
        QString opened;
    };
    const QString mht = QStringLiteral("From: <Saved>\r\nContent-Type: multipart/related;\r\n\r\nbody ①");
    const QString html = QStringLiteral("<!doctype html>\r\n<HTML><body>あ</body></html>");
    const Case cases[] = {
        {"MHT archive", mht, WebView::Kind::Mht, QStringLiteral("Temp.mht"), QString()},
        {"HTML document", html, WebView::Kind::Html, QStringLiteral("Temp.html"), QString()},
        {"shortcut with a query", QStringLiteral("[InternetShortcut]\r\nURL = http://example.com/a?b=c&d=e \r\n"),
         WebView::Kind::Shortcut, QString(), QStringLiteral("http://example.com/a?b=c&d=e")},
        {"<html lang=ja> is not HTML", QStringLiteral("<html lang=ja><body>x</body></html>"), WebView::Kind::None,
         QString(), QString()},
        {"plain text", QStringLiteral("ただのメモ"), WebView::Kind::None, QString(), QString()},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(WebView::KindOf(c.content), c.kind) << c.what;
        const QString folder = freshFolder(QStringLiteral("webview"));
        FakeShell shell;
        const QString opened = WebView::Open(c.content, {folder}, shell);
        if (!c.file.isEmpty()) {
            const QString path = folder + QLatin1Char('/') + c.file;
            EXPECT_EQ(opened, path) << c.what;
            EXPECT_EQ(shell.opened, QStringList{path}) << c.what;
            EXPECT_EQ(Sandbox::readBytes(path), Win31J::encode(c.content)) << c.what; // no line end added
        } else if (!c.opened.isEmpty()) {
            EXPECT_EQ(shell.opened, QStringList{c.opened}) << c.what;
        } else {
            EXPECT_TRUE(shell.opened.isEmpty()) << c.what;
            EXPECT_TRUE(treeOf(folder).isEmpty()) << c.what;
        }
    }
}
