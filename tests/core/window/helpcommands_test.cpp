// The Help menu's commands through the shell and the dialogs.

#include "core/window/commandids.h"
#include "core/window/helpcommands.h"
#include "core/window/maincommands.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

class HelpCommandsTest : public ::testing::Test
{
protected:
    HelpCommandsTest()
    {
        HelpCommands::wire(commands, Services{&dialogs, &shell, nullptr, nullptr, nullptr, nullptr}, links);
    }
    const HelpCommands::Links links{QStringLiteral("http://help.example/"), QStringLiteral("http://home.example/"),
                                    QStringLiteral("http://board.example/"),
                                    QStringLiteral("mailto:author@home.example")};
    MainCommands commands;
    FakeDialogs dialogs;
    FakeShell shell;
};

} // namespace

TEST_F(HelpCommandsTest, PagesOpenThroughTheShell)
{
    commands.trigger(Cmd::HelpOnline);
    commands.trigger(Cmd::HelpHomePage);
    commands.trigger(Cmd::HelpBoard);
    EXPECT_EQ(shell.opened, (QStringList{"http://help.example/", "http://home.example/", "http://board.example/"}));
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(HelpCommandsTest, MailAsksFirstAndYesWritesTheMail)
{
    dialogs.answers.enqueue(MsgAnswer::Yes);
    commands.trigger(Cmd::HelpMail);
    ASSERT_EQ(dialogs.messages().size(), 1);
    const MessageRequest question = dialogs.messages().first();
    EXPECT_EQ(question.text, QString::fromUtf8("　作者に連絡する場合は、できるだけ掲示板を使用してください。\r\n"
                                               "共通の問題を抱えている人の間で情報を共有するためです。\r\n"
                                               "　それでもまだ、メールで送信しますか？"));
    EXPECT_EQ(question.icon, MsgIcon::Warning);
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(shell.opened, QStringList{"mailto:author@home.example"});
}

TEST_F(HelpCommandsTest, NoToTheMailOpensTheBoardInstead)
{
    dialogs.answers.enqueue(MsgAnswer::No);
    commands.trigger(Cmd::HelpMail);
    EXPECT_EQ(shell.opened, QStringList{"http://board.example/"});
}

TEST(HelpManual, F1AndTheOldHelpOpenTheManualWhereItIsElseTheOnlineHelp)
{
    ScopedProgramFolder folder;
    const QString published = folder.file(QStringLiteral("help/index.html"));
    HelpCommands::Links links = HelpCommands::defaultLinks();
    EXPECT_EQ(links.manual.value(links.manual.size() - 1), published);
    links.manual.prepend(folder.file(QStringLiteral("missing/index.html")));

    MainCommands commands;
    FakeShell shell;
    HelpCommands::wire(commands, Services{nullptr, &shell, nullptr, nullptr, nullptr, nullptr}, links);
    commands.trigger(Cmd::HelpOnline); // no manual yet: the web
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("help"))));
    ASSERT_TRUE(Sandbox::writeBytes(published, "<html></html>"));
    commands.trigger(Cmd::HelpOnline);
    commands.trigger(Cmd::HelpOld);
    EXPECT_EQ(shell.opened, (QStringList{links.onlineHelp, published, published}));
}

TEST_F(HelpCommandsTest, TheHiddenKoshinEntryDoesNothing)
{
    EXPECT_TRUE(commands.trigger(Cmd::HelpKoshin));
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST(HelpLinks, DefaultsAreAddressesTheShellTakes)
{
    const HelpCommands::Links links = HelpCommands::defaultLinks();
    for (const QString &page : {links.onlineHelp, links.homePage, links.supportBoard})
        EXPECT_TRUE(page.startsWith(QLatin1String("http://"))) << page.toStdString();
    EXPECT_TRUE(links.mail.startsWith(QLatin1String("mailto:")));
}
