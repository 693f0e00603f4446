// The HTML output wizard's rules: pages and labels, the template and its
// style sheets, the options, the destination, what is stored when, and the
// process-wide output folder.
#include "htmltestutil.h"

#include "core/common/programfolder.h"
#include "core/html/htmltexts.h"
#include "core/html/htmlwizard.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"

#include <QFileInfo>

namespace {

namespace T = HtmlWizardTexts;
namespace K = SettingKey;
using Step = HtmlWizard::Step;

// A template with an options card, two style sheets and a description.
QString wizardTemplate(const QString &folder, const QString &options = QStringLiteral("Renban=0\r\nNoBR=1"))
{
    return writeTemplate(folder + QStringLiteral("/HinaTest.qlw"),
                         {{QStringLiteral("*"), options},
                          {QStringLiteral("HELP"), QStringLiteral("試験用の雛形です。")},
                          {QStringLiteral("0-1 標準"), QStringLiteral("body { color: black; }")},
                          {QStringLiteral("0-2 暗い"), QStringLiteral("body { color: white; }")},
                          {QStringLiteral("4-1"), QStringLiteral("<html>[index][main]</html>")},
                          {QStringLiteral("2-1"), QStringLiteral("<html>[index]</html>")},
                          {QStringLiteral("3-1"), QStringLiteral("<html>[index]</html>")},
                          {QStringLiteral("1-1"), QStringLiteral("<html>[item1][item3]</html>")}});
}

class HtmlWizardTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HtmlWizardMemory::forget();
        folder = freshFolder(QStringLiteral("wizard"));
        settings = std::make_unique<SettingsModel>(folder + QStringLiteral("/QLTWIN.ini"));
        settings->loadGeneralSettings();
        list = listOf({{QStringLiteral("仕事＠会議"), QStringLiteral("毎週"), QStringLiteral("議事録")},
                       {QStringLiteral("料理＠肉じゃが"), QString(), QStringLiteral("じゃがいも")}});
        tmpl = wizardTemplate(folder);
    }

    // Per-file settings for the card file, as opening a file with its own settings does.
    void usePerFileSettings() { settings->loadFile(SettingsModel::perFileSettingsPath(document)); }

    std::unique_ptr<HtmlWizard> make()
    {
        auto w = std::make_unique<HtmlWizard>(HtmlWizard::Context{*settings, dialogs, &shell, *list, document});
        w->load();
        return w;
    }

    QString folder;
    QString document = QStringLiteral("/data/cards/memo.qlw");
    std::unique_ptr<SettingsModel> settings;
    std::unique_ptr<CardList> list;
    QString tmpl;
    FakeDialogs dialogs;
    FakeShell shell;
};

TEST_F(HtmlWizardTest, PagesButtonsAndDestinationLabelsFollowThePageAndMode)
{
    auto w = make();
    EXPECT_EQ(w->page(), 0);
    EXPECT_EQ(w->mode(), HtmlMode::Single); // never stored: the single page
    EXPECT_FALSE(w->backEnabled());
    EXPECT_EQ(w->nextCaption(), T::Next);
    w->back();
    EXPECT_EQ(w->page(), 0);
    EXPECT_EQ(w->next(), Step::Moved);
    EXPECT_TRUE(w->backEnabled());
    EXPECT_EQ(w->nextCaption(), T::Next);
    EXPECT_EQ(w->next(), Step::Moved);
    EXPECT_EQ(w->page(), 2);
    EXPECT_EQ(w->nextCaption(), QStringLiteral("完了(&F)"));
    EXPECT_EQ(w->saveMessage(), QStringLiteral("保存ファイル名"));
    EXPECT_EQ(w->saveMessageDetail(), QStringLiteral("　HTMLのファイル名を指定してください。"));
    w->back();
    w->back();
    w->setMode(HtmlMode::Cards);
    w->next();
    w->next();
    EXPECT_EQ(w->saveMessage(), QStringLiteral("保存先"));
    EXPECT_EQ(w->saveMessageDetail(), QStringLiteral("　データを生成するフォルダ(ルートフォルダ)を指定してください。"));
}

TEST_F(HtmlWizardTest, TemplateFillsNameOptionsAndStyleSheetsAndTheLabelLooksEntriesUp)
{
    auto w = make();
    // Nothing stored: HinaDefault.qlw in the program folder.
    EXPECT_EQ(w->templatePath(), ProgramFolder::file(QStringLiteral("HinaDefault.qlw")));
    EXPECT_EQ(w->templateName(), QStringLiteral("HinaDefault"));

    w->setTemplatePath(tmpl);
    EXPECT_EQ(w->templateName(), QStringLiteral("HinaTest"));
    EXPECT_EQ(w->styleSheetEntries(), QStringList({QStringLiteral("0-1 標準"), QStringLiteral("0-2 暗い")}));
    EXPECT_EQ(w->styleSheet(), QStringLiteral("0-1 標準"));
    EXPECT_EQ(w->styleSheetLabel(), QStringLiteral("0-1 標準 を使用します。"));
    EXPECT_FALSE(w->option(WizardOption::Renban)); // the options card
    EXPECT_TRUE(w->option(WizardOption::NoBR));
    EXPECT_TRUE(w->option(WizardOption::EscapeTag)); // not on the card: as it was

    w->setStyleSheet(QStringLiteral("0-2"));
    EXPECT_EQ(w->styleSheetLabel(), QStringLiteral("0-2 暗い を使用します。"));
    w->setStyleSheet(QStringLiteral("0-9"));
    EXPECT_EQ(w->styleSheetLabel(), QStringLiteral("HinaTest には 0-9 は存在しません。"));
    w->setTemplatePath(folder + QStringLiteral("/HinaGone.qlw"));
    EXPECT_EQ(w->styleSheetLabel(), QStringLiteral("HinaGone には 0-9 は存在しません。"));

    w->setTemplatePath(tmpl);
    w->showDescription();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages().at(0).text, QStringLiteral("試験用の雛形です。"));
    EXPECT_EQ(dialogs.messages().at(0).title, QStringLiteral("この雛形について"));
}

TEST_F(HtmlWizardTest, TemplateAndDestinationChoosers)
{
    auto w = make();
    dialogs.files.enqueue(tmpl);
    w->chooseTemplate();
    ASSERT_EQ(dialogs.records.size(), 1);
    EXPECT_EQ(dialogs.records.at(0).file.title, QStringLiteral("雛形ファイルを開く"));
    EXPECT_EQ(dialogs.records.at(0).file.filter,
              QStringLiteral("雛形ファイル(Hina*.qlw)|Hina*.qlw|QLWファイル(*.qlw)|*.qlw|その他 (*.*)|*.*"));
    EXPECT_EQ(dialogs.records.at(0).file.startPath, ProgramFolder::file(QStringLiteral("HinaDefault.qlw")));
    EXPECT_EQ(w->templatePath(), tmpl);
    w->chooseTemplate(); // cancelled: unchanged
    EXPECT_EQ(w->templatePath(), tmpl);

    // Mode 0: a save chooser proposing the card file's name.
    dialogs.clear();
    w->chooseDestination();
    ASSERT_EQ(dialogs.records.size(), 1);
    EXPECT_EQ(dialogs.records.at(0).kind, QStringLiteral("saveFile"));
    EXPECT_EQ(dialogs.records.at(0).file.title, QStringLiteral("HTMLファイルの保存"));
    EXPECT_EQ(dialogs.records.at(0).file.filter,
              QStringLiteral("HTMLファイル(*.html;*.htm)|*.html;*.htm|XMLファイル(*.xml)|*.xml|その他 (*.*)|*.*"));
    EXPECT_EQ(dialogs.records.at(0).file.startPath, QStringLiteral("/data/cards/memo.html"));
    EXPECT_EQ(w->rootPath(), QString());

    // Other modes: the card file's folder first, then the folder chooser.
    dialogs.clear();
    w->setMode(HtmlMode::Simple);
    w->chooseDestination();
    ASSERT_EQ(dialogs.records.size(), 1);
    EXPECT_EQ(dialogs.records.at(0).kind, QStringLiteral("chooseFolder"));
    EXPECT_EQ(dialogs.records.at(0).prompt, QStringLiteral("保存先にするルートフォルダを指定してください。"));
    EXPECT_EQ(w->rootPath(), QStringLiteral("/data/cards"));
    dialogs.folders.enqueue(QStringLiteral("/srv/www"));
    w->chooseDestination();
    EXPECT_EQ(w->rootPath(), QStringLiteral("/srv/www"));
}

TEST_F(HtmlWizardTest, SelectedOnlyNeedsASelection)
{
    auto w = make();
    w->setOption(WizardOption::OnlySelected, true);
    EXPECT_FALSE(w->option(WizardOption::OnlySelected));
    EXPECT_EQ(dialogs.messageTexts(), QStringList({QStringLiteral("カードが1つも選択されていません。")}));
    EXPECT_EQ(dialogs.messages().at(0).icon, MsgIcon::Warning);
    list->setSelected(1);
    w->setOption(WizardOption::OnlySelected, true);
    EXPECT_TRUE(w->option(WizardOption::OnlySelected));
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST_F(HtmlWizardTest, UnifyingTheBrowserTemplateAsksOnGeneralSettings)
{
    auto w = make();
    w->setTemplatePath(tmpl);
    dialogs.answers.enqueue(MsgAnswer::No);
    w->unifyBrowserTemplates();
    EXPECT_EQ(dialogs.messageTexts(), QStringList({T::UnifyGeneralQuestion}));
    EXPECT_EQ(dialogs.messages().at(0).buttons, MsgButtons::YesNo);
    EXPECT_NE(settings->text(K::BrowserHina0), tmpl);

    dialogs.clear();
    dialogs.answers.enqueue(MsgAnswer::Yes);
    w->unifyBrowserTemplates();
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList({T::UnifyGeneralQuestion, QStringLiteral("ブラウザボタンなどの雛形を ") + tmpl
                                                        + QStringLiteral(" に統一しました。")}));
    EXPECT_EQ(settings->text(K::BrowserHina0), tmpl);
    EXPECT_EQ(settings->text(K::BrowserHina1), tmpl);

    // Per-file settings: no question; a missing template: nothing at all.
    usePerFileSettings();
    dialogs.clear();
    w->setTemplatePath(folder + QStringLiteral("/HinaGone.qlw"));
    w->unifyBrowserTemplates();
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(HtmlWizardTest, FinishWithoutDestinationGoesBackToTheChooser)
{
    auto w = make();
    w->setMode(HtmlMode::Cards);
    w->next();
    w->next();
    EXPECT_EQ(w->next(), Step::AskedDestination);
    EXPECT_EQ(w->page(), 2);
    ASSERT_EQ(dialogs.records.size(), 1);
    EXPECT_EQ(dialogs.records.at(0).kind, QStringLiteral("chooseFolder"));
    EXPECT_FALSE(settings->iniData().GetiniValue(K::HTMLMode).isValid()
                 && !settings->iniData().GetiniValue(K::HTMLMode).toString().isEmpty());
}

TEST_F(HtmlWizardTest, ARunWritesOpensAndStoresOnGeneralSettings)
{
    const QString root = folder + QStringLiteral("/out");
    auto w = make();
    w->setMode(HtmlMode::CardsHelp);
    w->setTemplatePath(tmpl);
    w->setStyleSheet(QStringLiteral("0-2 暗い"));
    w->setOption(WizardOption::ReverseNumber, true);
    w->setAutoOpen(true);
    w->setRootPath(root);
    QList<qsizetype> seen;
    QStringList cards;
    w->setProgress([&](qsizetype done, qsizetype) {
        seen << done;
        return true;
    });
    w->setCardObserver([&](const QString &card) { cards << card; });
    w->next();
    w->next();
    EXPECT_EQ(w->next(), Step::Finished);
    EXPECT_TRUE(w->lastResult().complete());
    EXPECT_EQ(seen.size(), w->lastResult().total);
    EXPECT_EQ(cards, QStringList({QStringLiteral("会議"), QStringLiteral("肉じゃが")}));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/index.html")));
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/HTMLHELP.hhc")));
    // The root index page, not the contents file.
    EXPECT_EQ(shell.opened, QStringList({root + QStringLiteral("/index.html")}));

    EXPECT_EQ(settings->integer(K::HTMLMode), 3);
    EXPECT_EQ(settings->text(K::HinagataFileName), tmpl);
    EXPECT_EQ(settings->text(K::StyleSheet), QStringLiteral("0-2 暗い"));
    // General settings: the folder is remembered by the process only.
    EXPECT_EQ(settings->text(K::RootPath), QString());
    EXPECT_EQ(HtmlWizardMemory::rootPath(), root);

    // The next wizard of this document restores everything but ReverseNumber.
    auto again = make();
    EXPECT_EQ(again->mode(), HtmlMode::CardsHelp);
    EXPECT_EQ(again->templatePath(), tmpl);
    EXPECT_EQ(again->styleSheet(), QStringLiteral("0-2 暗い"));
    EXPECT_EQ(again->rootPath(), root);
    EXPECT_FALSE(again->option(WizardOption::ReverseNumber));
    // Another document: forgotten.
    HtmlWizardMemory::forget();
    EXPECT_EQ(make()->rootPath(), QString());
}

TEST_F(HtmlWizardTest, PerFileSettingsKeepTheFolderAndReverseNumbering)
{
    usePerFileSettings();
    const QString file = folder + QStringLiteral("/single.html");
    auto w = make();
    w->setTemplatePath(tmpl);
    w->setRootPath(file);
    w->setOption(WizardOption::ReverseNumber, true);
    w->setAutoOpen(true);
    w->next();
    w->next();
    EXPECT_EQ(w->next(), Step::Finished);
    EXPECT_TRUE(QFileInfo::exists(file));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("/qlt_style.css")));
    EXPECT_EQ(shell.opened, QStringList({file}));
    EXPECT_EQ(settings->text(K::RootPath), file);
    EXPECT_TRUE(settings->isOn(K::ReverseNumber));

    // Straight through: the stored choices write again without a question.
    HtmlWizardMemory::forget();
    auto again = make();
    EXPECT_EQ(again->rootPath(), file);
    EXPECT_TRUE(again->option(WizardOption::ReverseNumber));
    dialogs.clear();
    again->next();
    again->next();
    EXPECT_EQ(again->next(), Step::Finished);
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(again->lastResult().unchanged, 1); // the style sheet; the single page is always written
}

TEST_F(HtmlWizardTest, CancelAndNothingCollectedStoreNothing)
{
    const QString root = folder + QStringLiteral("/cancelled");
    auto w = make();
    w->setMode(HtmlMode::Cards);
    w->setTemplatePath(tmpl);
    w->setRootPath(root);
    w->setProgress([](qsizetype done, qsizetype) { return done < 2; });
    w->next();
    w->next();
    EXPECT_EQ(w->next(), Step::Cancelled);
    EXPECT_EQ(w->lastResult().written, 2);
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList({QStringLiteral("中止しました(2 / %1 ページ)。").arg(w->lastResult().total)}));
    dialogs.clear();
    EXPECT_EQ(settings->text(K::HinagataFileName), QString());
    EXPECT_EQ(HtmlWizardMemory::rootPath(), QString());

    list->store().reset({});
    auto empty = make();
    empty->setRootPath(root + QStringLiteral(".html"));
    empty->next();
    empty->next();
    EXPECT_EQ(empty->next(), Step::NothingCollected);
    EXPECT_EQ(dialogs.messageTexts(), QStringList({HtmlTexts::NothingCollected}));
    EXPECT_EQ(settings->text(K::HinagataFileName), QString());
    EXPECT_FALSE(HtmlWizard::CanRun(*list));
}

} // namespace
