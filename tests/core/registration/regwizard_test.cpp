// The information wizard's steps, boxes, cancel and finish; the finish in a
// sandboxed XDG home with a recording process service.
#include "core/common/win31j.h"
#include "core/registration/desktopfiles.h"
#include "core/registration/desktopregistration.h"
#include "core/registration/makerlinks.h"
#include "core/registration/regwizard.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class RegWizardTest : public ::testing::Test
{
protected:
    FakeDialogs dialogs;
    FakeShell shell;
    RegWizard wizard{dialogs, shell};
};

TEST_F(RegWizardTest, StepsShowTheirFramesAndPages)
{
    struct Expect {
        int frame;
        RegWizard::Page page;
        QString address;
        QString comment;
    };
    const Expect steps[] = {
        {0, RegWizard::Page::RegInfo, {}, {}},
        {2, RegWizard::Page::MailingList, {}, {}},
        {1, RegWizard::Page::Browser, MakerLinks::PersonalPage, RegWizardTexts::PersonalPageComment},
        {3, RegWizard::Page::FileTypes, {}, {}},
        {1, RegWizard::Page::Browser, MakerLinks::NoticesPage, QStringLiteral("　作者から連絡事項です。")},
    };
    for (int step = 0; step <= 4; ++step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(wizard.step(), step);
        EXPECT_EQ(wizard.frame(), steps[step].frame);
        EXPECT_EQ(wizard.page(), steps[step].page);
        EXPECT_EQ(wizard.browserAddress(), steps[step].address);
        EXPECT_EQ(wizard.comment(), steps[step].comment);
        EXPECT_EQ(wizard.next(), step == 4);
    }
    // "次へ" on the last step finishes and stays there.
    EXPECT_EQ(wizard.step(), 4);
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST_F(RegWizardTest, BackNeverGoesBelowTheFirstStep)
{
    wizard.back();
    EXPECT_EQ(wizard.step(), 0);
    wizard.next();
    wizard.next();
    wizard.back();
    EXPECT_EQ(wizard.step(), 1);
    wizard.back();
    wizard.back();
    EXPECT_EQ(wizard.step(), 0);
}

TEST_F(RegWizardTest, BoxesStartAsDeliveredAndKeepTheirStatesAcrossSteps)
{
    EXPECT_EQ(wizard.choices().tickedExtensions(), (QStringList{QStringLiteral("qlw"), QStringLiteral("qlt")}));
    EXPECT_TRUE(wizard.choices().favorites);
    for (int i = 0; i < 4; ++i)
        wizard.next();
    wizard.choices().extensions = {false, true, true, false};
    wizard.choices().favorites = false;
    wizard.next();
    wizard.back();
    EXPECT_EQ(wizard.step(), 3);
    EXPECT_EQ(wizard.choices().tickedExtensions(), (QStringList{QStringLiteral("qlt"), QStringLiteral("stk")}));
    EXPECT_FALSE(wizard.choices().favorites);
}

TEST_F(RegWizardTest, MailingListButtonsHandTheirAddressesToTheShell)
{
    for (int i = 0; i < 3; ++i)
        wizard.mailingList(i);
    EXPECT_EQ(shell.opened, (QStringList{QStringLiteral("mailto:qltwin-subscribe@orvale-softwares.example"),
                                         QStringLiteral("mailto:qltwin-unsubscribe@orvale-softwares.example"),
                                         MakerLinks::ListSettingsPage}));
}

TEST_F(RegWizardTest, CancelShowsTheNotice)
{
    wizard.cancel();
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral("このウイザードは、スタートメニューからいつでも呼び出せます。"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Information);
}

TEST_F(RegWizardTest, RegInfoIsReadAsWindows31J)
{
    ScopedProgramFolder folder;
    EXPECT_EQ(RegWizard::regInfoText(), QString());
    ASSERT_TRUE(Sandbox::writeBytes(folder.file(QStringLiteral("RegInfo.txt")),
                                    Win31J::encode(QStringLiteral("リリースノート\r\n①②"))));
    EXPECT_EQ(RegWizard::regInfoText(), QStringLiteral("リリースノート\r\n①②"));
}

TEST(RegInfoFileTest, DeliveredNotesAreWindows31JWithCrLf)
{
    const QByteArray bytes = Sandbox::readBytes(QStringLiteral(QLT_SOURCE_DIR "/data/RegInfo.txt"));
    ASSERT_FALSE(bytes.isEmpty());
    Win31J::DecodeStats stats;
    const QString text = Win31J::decode(bytes, &stats);
    EXPECT_EQ(stats.invalidCount, 0);
    EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
    EXPECT_TRUE(text.contains(QStringLiteral("Ver.1.0.0")));
    EXPECT_TRUE(text.contains(QStringLiteral("リリースノート")));
}

// The finish with fakes: files in a fresh XDG home, QLTWIN started.
class FinishTest : public ::testing::Test
{
protected:
    QTemporaryDir home;
    XdgFolders folders{home.filePath(QStringLiteral("data")), home.filePath(QStringLiteral("config"))};
    FakeUserStore store;
    FakeProcesses processes;
    QString qltwin;

    void SetUp() override
    {
        qltwin = home.filePath(QStringLiteral("bin/QLTWIN"));
        QDir().mkpath(home.filePath(QStringLiteral("bin")));
        Sandbox::writeBytes(qltwin, "#!/bin/sh\n");
        QFile::setPermissions(qltwin, QFile::ReadOwner | QFile::ExeOwner);
        store.values.insert(QStringLiteral("Path"), qltwin);
    }
    bool finish(const RegistrationChoices &choices, const QStringList &args = {})
    {
        return FinishWizard(choices, args,
                            FinishServices{store, processes, folders, home.filePath(QStringLiteral("wizard"))});
    }
    QStringList started() const
    {
        QStringList out;
        for (const FakeProcesses::Call &c : processes.calls)
            if (!c.waited)
                out << c.program + QLatin1Char('|') + c.arguments.join(QLatin1Char('|'));
        return out;
    }
    QString favorites() const { return folders.dataHome + QStringLiteral("/QLTWIN/Favorites"); }
};

TEST_F(FinishTest, RegistersOnlyTheTickedTypesAndStartsQltwinWithTheWizardsArguments)
{
    RegistrationChoices choices;
    choices.extensions = {true, false, false, true};
    choices.favorites = false;
    ASSERT_TRUE(finish(choices, {QStringLiteral("/data/memo 1.qlw")}));

    DesktopRegistration desktop(folders, processes);
    EXPECT_EQ(Sandbox::readBytes(desktop.mimePackagePath()), DesktopFiles::mimePackageXml());
    EXPECT_EQ(
        Sandbox::readBytes(desktop.desktopEntryPath()),
        DesktopFiles::desktopEntry(qltwin, {QStringLiteral("application/x-qltwin-card"), QStringLiteral("text/csv")}));
    EXPECT_EQ(Sandbox::readBytes(desktop.mimeappsListPath()),
              QByteArray("[Default Applications]\napplication/x-qltwin-card=QLTWIN.desktop;\n"
                         "text/csv=QLTWIN.desktop;\n"));
    for (const char *icon : {"application-x-qltwin-card", "text-x-qltwin-card", "text-x-mynote-card"})
        EXPECT_TRUE(
            Sandbox::readBytes(desktop.iconPath(QStringLiteral("mimetypes"), QLatin1String(icon))).startsWith("<svg"))
            << icon;
    EXPECT_TRUE(
        Sandbox::readBytes(desktop.iconPath(QStringLiteral("apps"), QStringLiteral("qltwin"))).startsWith("<svg"));
    EXPECT_FALSE(QFileInfo::exists(favorites()));
    EXPECT_EQ(started(), QStringList{qltwin + QStringLiteral("|/data/memo 1.qlw")});
}

TEST_F(FinishTest, NothingTickedRegistersNothingAndFavoritesAreWritten)
{
    RegistrationChoices choices;
    choices.extensions = {false, false, false, false};
    ASSERT_TRUE(finish(choices));
    EXPECT_FALSE(QFileInfo::exists(folders.dataHome + QStringLiteral("/applications")));
    EXPECT_FALSE(QFileInfo::exists(folders.configHome + QStringLiteral("/mimeapps.list")));
    EXPECT_EQ(QDir(favorites() + QStringLiteral("/QLT@WIN")).entryList(QDir::Files).size(), 7);
    EXPECT_EQ(Sandbox::readBytes(favorites() + QStringLiteral("/QLT@WINのページ.url")),
              QByteArray("[InternetShortcut]\r\nURL=http://www.orvale-softwares.example/\r\n"));
    EXPECT_EQ(started(), QStringList{qltwin + QLatin1Char('|')});
}

TEST_F(FinishTest, RunningTwiceGivesTheSameFilesAndKeepsOtherDefaults)
{
    QDir().mkpath(folders.configHome);
    Sandbox::writeBytes(folders.configHome + QStringLiteral("/mimeapps.list"),
                        "[Default Applications]\ntext/x-mynote-card=other.desktop;\n");
    RegistrationChoices choices; // qlw and qlt
    finish(choices);
    DesktopRegistration desktop(folders, processes);
    const QByteArray list = Sandbox::readBytes(desktop.mimeappsListPath());
    const QByteArray entry = Sandbox::readBytes(desktop.desktopEntryPath());
    finish(choices);
    EXPECT_EQ(Sandbox::readBytes(desktop.mimeappsListPath()), list);
    EXPECT_EQ(Sandbox::readBytes(desktop.desktopEntryPath()), entry);
    EXPECT_EQ(list, QByteArray("[Default Applications]\ntext/x-mynote-card=other.desktop;\n"
                               "application/x-qltwin-card=QLTWIN.desktop;\ntext/x-qltwin-card=QLTWIN.desktop;\n"));
}

TEST_F(FinishTest, QltwinStartsEvenWhenNothingCanBeWritten)
{
    // The data home is a file: no folder can be made below it.
    Sandbox::writeBytes(home.filePath(QStringLiteral("blocked")), "x");
    XdgFolders blocked{home.filePath(QStringLiteral("blocked")), home.filePath(QStringLiteral("blocked"))};
    RegistrationChoices choices;
    EXPECT_TRUE(FinishWizard(choices, {QStringLiteral("a.qlw")}, FinishServices{store, processes, blocked, QString()}));
    EXPECT_EQ(started(), QStringList{qltwin + QStringLiteral("|a.qlw")});

    // QLTWIN missing from "Path": the one beside the wizard is started.
    store.values.clear();
    processes.calls.clear();
    processes.startSucceeds = false;
    EXPECT_FALSE(finish(choices));
    EXPECT_EQ(started(), QStringList{home.filePath(QStringLiteral("wizard/QLTWIN")) + QLatin1Char('|')});
}

} // namespace
