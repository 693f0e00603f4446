// The wizard's window over its rules: the buttons walk the steps, the boxes
// survive back and next, cancel and the close box register nothing, the last
// "次へ" hands the boxes to the finish.
#include "gui/registration/pagefetcher.h"
#include "gui/registration/regwizardform.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBrowser>

#include <gtest/gtest.h>

#include <optional>

namespace {

class FakePages : public PageSource
{
public:
    QStringList fetched;
    int cancels = 0;
    void fetch(const QString &address, std::function<void(const QString &)> done) override
    {
        fetched << address;
        done(QStringLiteral("<p>page of %1</p>").arg(address));
    }
    void cancel() override { ++cancels; }
};

class RegWizardFormTest : public ::testing::Test
{
protected:
    FakeDialogs dialogs;
    FakeShell shell;
    FakePages pages;
    RegWizard wizard{dialogs, shell};
    std::optional<RegistrationChoices> finished;
    RegWizardForm form{wizard, pages, shell, [this](const RegistrationChoices &c) { finished = c; }};
};

TEST_F(RegWizardFormTest, NextWalksTheStepsAndFinishesWithTheBoxesAsSet)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("QLT@WIN Infomation Wizard - QLT@WINサポート情報"));
    EXPECT_EQ(form.nextButton()->text(), QStringLiteral("次へ(&N) >>"));
    EXPECT_EQ(form.backButton()->text(), QStringLiteral("<< 戻る(&B)"));
    EXPECT_EQ(form.cancelButton()->text(), QStringLiteral("キャンセル(&C)"));
    EXPECT_EQ(form.visibleFrame(), 0);

    const int frames[] = {2, 1, 3, 1};
    for (int frame : frames) {
        form.nextButton()->click();
        EXPECT_EQ(form.visibleFrame(), frame);
    }
    EXPECT_EQ(pages.fetched.size(), 2);
    EXPECT_TRUE(form.browser()->toPlainText().contains(QStringLiteral("notice.html")));

    form.backButton()->click(); // to the file types
    form.extensionBox(0)->setChecked(false);
    form.extensionBox(2)->setChecked(true);
    form.favoriteBox()->setChecked(false);
    form.nextButton()->click();
    form.backButton()->click();
    EXPECT_FALSE(form.extensionBox(0)->isChecked());
    EXPECT_TRUE(form.extensionBox(2)->isChecked());
    form.nextButton()->click();
    EXPECT_FALSE(finished);
    form.nextButton()->click();
    ASSERT_TRUE(finished);
    EXPECT_EQ(finished->tickedExtensions(), (QStringList{QStringLiteral("qlt"), QStringLiteral("stk")}));
    EXPECT_FALSE(finished->favorites);
    // The finish shows no cancel notice.
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(RegWizardFormTest, BackOnTheFirstStepStaysThere)
{
    form.backButton()->click();
    EXPECT_EQ(wizard.step(), 0);
    EXPECT_EQ(form.visibleFrame(), 0);
}

TEST_F(RegWizardFormTest, CancelAndTheCloseBoxShowTheNoticeOnceAndFinishNothing)
{
    form.show();
    for (int i = 0; i < 3; ++i)
        form.nextButton()->click();
    form.extensionBox(3)->setChecked(true);
    form.cancelButton()->click();
    EXPECT_FALSE(finished);
    EXPECT_EQ(dialogs.messageTexts(),
              QStringList{QStringLiteral("このウイザードは、スタートメニューからいつでも呼び出せます。")});

    FakeDialogs otherDialogs;
    RegWizard other(otherDialogs, shell);
    RegWizardForm closing(other, pages, shell, [this](const RegistrationChoices &c) { finished = c; });
    closing.show();
    closing.close();
    EXPECT_FALSE(finished);
    EXPECT_EQ(otherDialogs.messageTexts().size(), 1);
}

TEST(NetworkPageSourceTest, AnUnreachablePageComesBackAsTheLocalNotice)
{
    NetworkPageSource source;
    std::optional<QString> html;
    // Nothing listens on port 1: the connection is refused at once.
    const QString address = QStringLiteral("http://127.0.0.1:1/notice.html");
    source.fetch(address, [&html](const QString &page) { html = page; });
    QElapsedTimer timer;
    timer.start();
    while (!html && timer.elapsed() < 2 * NetworkPageSource::TimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    ASSERT_TRUE(html);
    EXPECT_EQ(*html, RegWizardTexts::unreachablePage(address));
    EXPECT_TRUE(html->contains(QStringLiteral("ページを表示できません")));

    // A fetch replaced by another is never answered.
    int answers = 0;
    source.fetch(QStringLiteral("http://127.0.0.1:1/a"), [&answers](const QString &) { answers += 10; });
    source.fetch(QStringLiteral("http://127.0.0.1:1/b"), [&answers](const QString &) { answers += 1; });
    timer.restart();
    while (answers == 0 && timer.elapsed() < 2 * NetworkPageSource::TimeoutMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QCoreApplication::processEvents(QEventLoop::AllEvents, 100);
    EXPECT_EQ(answers, 1);
}

} // namespace
