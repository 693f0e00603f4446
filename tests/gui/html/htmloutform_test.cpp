// The HTML output wizard's window over its rules: captions and tips, the
// pages the buttons show, the remembered values in the boxes, the run
// straight through with and without a remembered folder, and the cancel
// button that stops a run between two pages.
#include "core/cards/cardlist.h"
#include "core/document/document.h"
#include "core/html/htmltestutil.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/html/htmloutform.h"
#include "gui/html/htmlwizardwiring.h"
#include "gui/mainwindow/mainform.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStackedWidget>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

namespace K = SettingKey;

class HtmlOutFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        HtmlWizardMemory::forget();
        folder = freshFolder(QStringLiteral("form"));
        document = folder + QStringLiteral("/memo.qlw");
        settings = std::make_unique<SettingsModel>(folder + QStringLiteral("/QLTWIN.ini"));
        settings->loadGeneralSettings();
        QList<CardTexts> cards;
        for (int i = 0; i < 300; ++i)
            cards.append(
                {QStringLiteral("組%1＠カード%2").arg(i % 7).arg(i), QString(), QStringLiteral("本文%1").arg(i)});
        list = listOf(cards);
        tmpl = writeTemplate(folder + QStringLiteral("/HinaForm.qlw"),
                             {{QStringLiteral("0-1 標準"), QStringLiteral("body {}")},
                              {QStringLiteral("0-2 暗い"), QStringLiteral("body { color: white; }")},
                              {QStringLiteral("4-1"), QStringLiteral("<html>[index][main]</html>")},
                              {QStringLiteral("2-1"), QStringLiteral("<html>[index]</html>")},
                              {QStringLiteral("3-1"), QStringLiteral("<html>[index]</html>")},
                              {QStringLiteral("1-1"), QStringLiteral("<html>[item1]</html>")}});
    }

    void open()
    {
        wizard = std::make_unique<HtmlWizard>(HtmlWizard::Context{*settings, dialogs, &shell, *list, document});
        wizard->load();
        form = std::make_unique<HTMLOutForm>(*wizard);
    }

    // Stored choices of an earlier run on per-file settings.
    void storeRun(const QString &root)
    {
        settings->loadFile(SettingsModel::perFileSettingsPath(document));
        settings->setInteger(K::HTMLMode, 1);
        settings->setText(K::HinagataFileName, tmpl);
        settings->setText(K::StyleSheet, QStringLiteral("0-2 暗い"));
        if (!root.isEmpty())
            settings->setText(K::RootPath, root);
    }

    QString folder, document, tmpl;
    std::unique_ptr<SettingsModel> settings;
    std::unique_ptr<CardList> list;
    FakeDialogs dialogs;
    FakeShell shell;
    std::unique_ptr<HtmlWizard> wizard;
    std::unique_ptr<HTMLOutForm> form;
};

TEST_F(HtmlOutFormTest, CaptionsTipsAndPages)
{
    open();
    EXPECT_EQ(form->windowTitle(), QStringLiteral("HTML出力 ウイザード"));
    EXPECT_EQ(form->backButton()->text(), QStringLiteral("< 戻る(&B)"));
    EXPECT_EQ(form->nextButton()->text(), QStringLiteral("次へ(&N) >"));
    EXPECT_EQ(form->cancelButton()->text(), QStringLiteral("キャンセル"));
    EXPECT_EQ(form->modeButton(2)->text(), QStringLiteral("簡易階層カード型HTML(&E)"));
    EXPECT_TRUE(form->modeButton(0)->isChecked());
    EXPECT_EQ(form->unifyButton()->text(), QStringLiteral("統一(&Q)"));
    EXPECT_EQ(form->detailsButton()->text(), QStringLiteral("詳細(&H)"));
    EXPECT_EQ(form->styleSheetBox()->toolTip(),
              QStringLiteral("雛形に収録されたスタイルシートから使用するものを選択します。"));
    EXPECT_EQ(form->optionBox(WizardOption::Renban)->text(),
              QStringLiteral("フォルダ名およびファイル名を連番にする\n(非選択時は項目1を使用)(&M)"));
    EXPECT_EQ(form->optionBox(WizardOption::ReverseNumber)->toolTip(),
              QStringLiteral("日記など、上に行くほど新しいページの場合はチェックをつけます。"));
    // The initial boxes: numbered names, escaping and no date information.
    const bool initial[] = {true, false, false, false, false, true, true, false};
    for (int i = 0; i < WizardOptionCount; ++i)
        EXPECT_EQ(form->optionBox(WizardOption(i))->isChecked(), initial[i]) << i;
    EXPECT_FALSE(form->backButton()->isEnabled());

    form->nextButton()->click();
    EXPECT_EQ(form->frames()->currentIndex(), 1);
    form->nextButton()->click();
    EXPECT_EQ(form->frames()->currentIndex(), 2);
    EXPECT_EQ(form->nextButton()->text(), QStringLiteral("完了(&F)"));
    EXPECT_EQ(form->saveMessage()->text(), QStringLiteral("保存ファイル名"));
    form->backButton()->click();
    form->backButton()->click();
    form->modeButton(1)->click();
    form->nextButton()->click();
    form->nextButton()->click();
    EXPECT_EQ(form->saveMessage()->text(), QStringLiteral("保存先"));

    // The selected-only box refuses to go on without a selection.
    form->backButton()->click();
    form->optionBox(WizardOption::OnlySelected)->click();
    EXPECT_FALSE(form->optionBox(WizardOption::OnlySelected)->isChecked());
    EXPECT_EQ(dialogs.messageTexts(), QStringList({QStringLiteral("カードが1つも選択されていません。")}));
}

TEST_F(HtmlOutFormTest, TheBoxesShowTheRememberedChoices)
{
    storeRun(folder + QStringLiteral("/site"));
    open();
    EXPECT_TRUE(form->modeButton(1)->isChecked());
    EXPECT_EQ(form->templateBox()->text(), tmpl);
    EXPECT_EQ(form->templateName()->text(), QStringLiteral("HinaForm"));
    EXPECT_EQ(form->styleSheetBox()->count(), 2);
    EXPECT_EQ(form->styleSheetBox()->currentText(), QStringLiteral("0-2 暗い"));
    EXPECT_EQ(form->styleSheetName()->text(), QStringLiteral("0-2 暗い を使用します。"));
    EXPECT_EQ(form->rootPathBox()->text(), folder + QStringLiteral("/site"));

    // Choosing another entry in the list.
    form->styleSheetBox()->textActivated(QStringLiteral("0-1 標準"));
    EXPECT_EQ(wizard->styleSheet(), QStringLiteral("0-1 標準"));
    EXPECT_EQ(form->styleSheetName()->text(), QStringLiteral("0-1 標準 を使用します。"));
}

TEST_F(HtmlOutFormTest, StraightThroughWritesWithARememberedFolder)
{
    const QString root = folder + QStringLiteral("/site");
    storeRun(root);
    open();
    form->show();
    EXPECT_TRUE(form->runStraightThrough());
    EXPECT_TRUE(form->ended());
    EXPECT_FALSE(form->isVisible());
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_TRUE(QFileInfo::exists(root + QStringLiteral("/index.html")));
    EXPECT_EQ(wizard->lastResult().written, wizard->lastResult().total);
    EXPECT_EQ(form->progressBar()->value(), form->progressBar()->maximum());
}

TEST_F(HtmlOutFormTest, StraightThroughWithoutAFolderStopsOnTheDestination)
{
    storeRun(QString());
    open();
    form->show();
    EXPECT_FALSE(form->runStraightThrough());
    EXPECT_FALSE(form->ended());
    EXPECT_EQ(form->frames()->currentIndex(), 2);
    ASSERT_EQ(dialogs.records.size(), 1);
    EXPECT_EQ(dialogs.records.at(0).kind, QStringLiteral("chooseFolder"));
    EXPECT_EQ(form->rootPathBox()->text(), folder); // the card file's folder was proposed
}

TEST_F(HtmlOutFormTest, CancelStopsTheRunBetweenPages)
{
    const QString root = folder + QStringLiteral("/stopped");
    storeRun(root);
    open();
    form->show();
    int clicks = 0;
    // Pressed as soon as the run lets the window handle events.
    QTimer::singleShot(0, form.get(), [&] {
        ++clicks;
        form->cancelButton()->click();
    });
    form->runStraightThrough();
    EXPECT_EQ(clicks, 1);
    EXPECT_TRUE(form->ended());
    EXPECT_EQ(wizard->lastResult().status, HtmlRunResult::Status::Cancelled);
    EXPECT_GT(wizard->lastResult().written, 0);
    EXPECT_LT(wizard->lastResult().written, wizard->lastResult().total);
    // Nothing remembered from a cancelled run.
    EXPECT_EQ(HtmlWizardMemory::rootPath(), QString());
}

// The commands in a real main window: nothing while the list is empty, the
// run straight through into the remembered folder, the folder forgotten
// when the document path is set.
TEST(HtmlWizardWindow, CommandsRunOnlyWithCardsAndAgainRunsStraightThrough)
{
    HtmlWizardMemory::forget();
    FakeSystem system;
    Document document(system.services());
    MainForm window(system.services());
    HtmlWizardWiring::wire(window, document);
    const QString folder = freshFolder(QStringLiteral("window"));
    document.settings().loadGeneralSettings();
    document.SetDocumentPath(folder + QStringLiteral("/memo.qlw"));

    EXPECT_TRUE(window.commands().trigger(Cmd::HtmlWizard));
    EXPECT_TRUE(window.commands().trigger(Cmd::HtmlWizardAgain));
    EXPECT_TRUE(window.commands().trigger(Cmd::SaveHtml));
    EXPECT_TRUE(system.dialogs.records.isEmpty());
    for (QWidget *w : QApplication::topLevelWidgets())
        EXPECT_FALSE(qobject_cast<HTMLOutForm *>(w) && w->isVisible());

    document.cards().reset(
        {Card{QStringLiteral("K0"), QStringLiteral("仕事＠会議"), QString(), QStringLiteral("議事録"), 1}});
    document.settings().setInteger(K::HTMLMode, 0);
    document.settings().setText(K::HinagataFileName,
                                writeTemplate(folder + QStringLiteral("/HinaOne.qlw"),
                                              {{QStringLiteral("4-1"), QStringLiteral("<html>[index][main]</html>")}}));
    const QString page = folder + QStringLiteral("/memo.html");
    HtmlWizardMemory::setRootPath(page);
    EXPECT_TRUE(window.commands().trigger(Cmd::HtmlWizardAgain));
    EXPECT_TRUE(QFileInfo::exists(page));
    EXPECT_EQ(HtmlWizardMemory::rootPath(), page);

    document.SetDocumentPath(folder + QStringLiteral("/other.qlw"));
    EXPECT_EQ(HtmlWizardMemory::rootPath(), QString());
}

} // namespace
