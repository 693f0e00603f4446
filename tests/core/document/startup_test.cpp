// The start-up sequence in a fresh program folder, and the command line.
#include "lifecyclefixture.h"

#include "core/common/programfolder.h"
#include "core/common/version.h"
#include "core/document/commandline.h"
#include "core/document/openguard.h"
#include "core/document/startup.h"

namespace {

const QString kWelcome =
    QStringLiteral("ようこそQLT@WINの世界へ！\r\n各バージョンごとに1度だけ情報ウイザードが起動します。");
const QString kNewFile = QStringLiteral("新規ファイルです。");
const QString kInUse = QStringLiteral("このファイルはすでに開かれている可能性があります。\n強行しますか？");

class RecordingWindow : public StartupWindow
{
public:
    QStringList calls;
    void loadHidden() override { calls.append(QStringLiteral("load")); }
    void show() override { calls.append(QStringLiteral("show")); }
};

class StartupTest : public LifecycleTest
{
protected:
    RecordingWindow window;
    Startup startup{files, window};
    QString here = cardsDir.path();

    void SetUp() override
    {
        LifecycleTest::SetUp();
        userStore.values.insert(QStringLiteral("EXEVer"), QString::number(Version::number()));
    }
    Startup::Result run(const QStringList &arguments = {}) { return startup.run(arguments, here); }
    QString openCheck() const { return folder.file(QStringLiteral("OpenCheck.ini")); }
    QString general() { return document.settings().generalSettingsFile(); }
    void haveGeneralSettings() { writeText(general(), QStringLiteral("[General]\r\n")); }
    bool untitled() const { return document.DocumentPath() == here + QStringLiteral("/(無題)"); }
};

TEST_F(StartupTest, NewVersionWelcomesAndHandsOverToTheWizard)
{
    userStore.values.remove(QStringLiteral("EXEVer"));
    const QStringList arguments{QStringLiteral("/data/My"), QStringLiteral("Documents/memo.qlw")};

    EXPECT_EQ(run(arguments), Startup::Result::Exit);

    ASSERT_EQ(messages().size(), 1);
    EXPECT_EQ(messages()[0].text, kWelcome);
    EXPECT_EQ(messages()[0].icon, MsgIcon::Information);
    ASSERT_EQ(processes.calls.size(), 1);
    EXPECT_EQ(processes.calls[0].program, folder.file(QStringLiteral("QLTReg")));
    EXPECT_EQ(processes.calls[0].arguments, arguments);
    EXPECT_EQ(userStore.values.value(QStringLiteral("EXEVer")), QString::number(Version::number()));
    EXPECT_EQ(window.calls, QStringList{QStringLiteral("load")}) << "the window is never shown";
    EXPECT_FALSE(QFileInfo::exists(general()));
}

TEST_F(StartupTest, WizardThatCannotStartIsReportedAndTheProcessStillEnds)
{
    userStore.values.remove(QStringLiteral("EXEVer"));
    processes.startSucceeds = false;

    EXPECT_EQ(run(), Startup::Result::Exit);

    ASSERT_EQ(messages().size(), 2);
    EXPECT_EQ(messages()[1].icon, MsgIcon::Error);
    EXPECT_TRUE(messages()[1].text.contains(QStringLiteral("QLTReg")));
    EXPECT_TRUE(messages()[1].text.contains(folder.file(QStringLiteral("QLTReg"))));
    EXPECT_EQ(window.calls, QStringList{QStringLiteral("load")});

    // The version is recorded: the next start goes on.
    dialogs.clear();
    EXPECT_EQ(run(), Startup::Result::Run);
}

TEST_F(StartupTest, PublishesThePathAndKeepsTheRecentFileCount)
{
    userStore.values.insert(QStringLiteral("MAXOFRECENTFILE"), QStringLiteral("5"));
    haveGeneralSettings();

    EXPECT_EQ(run(), Startup::Result::Run);

    EXPECT_EQ(userStore.values.value(QStringLiteral("Path")), ProgramFolder::executablePath());
    EXPECT_FALSE(userStore.values.value(QStringLiteral("Path")).endsWith(QStringLiteral(".exe")));
    EXPECT_EQ(userStore.values.value(QStringLiteral("MAXOFRECENTFILE")), QStringLiteral("5"));
    EXPECT_EQ(document.recentFiles().lastIndex(), 4);
}

TEST_F(StartupTest, FirstInstanceDeletesTheStaleOpenList)
{
    writeText(openCheck(), QStringLiteral("[General]\r\nFile0 = /data/crashed.qlw\r\n"));
    haveGeneralSettings();
    run();
    EXPECT_FALSE(QFileInfo::exists(openCheck()));
}

TEST_F(StartupTest, SecondInstanceKeepsTheOpenList)
{
    writeText(openCheck(), QStringLiteral("[General]\r\nFile0 = /data/live.qlw\r\n"));
    processes.otherInstance = true;
    haveGeneralSettings();
    run();
    EXPECT_TRUE(QFileInfo::exists(openCheck()));
    EXPECT_EQ(listedInGuard(), QStringList{QStringLiteral("/data/live.qlw")});
}

TEST_F(StartupTest, FirstRunShowsTheNoticeAndWritesTheGeneralSettings)
{
    EXPECT_EQ(run(), Startup::Result::Run);

    ASSERT_EQ(messages().size(), 1);
    const MessageRequest &notice = messages()[0];
    EXPECT_EQ(notice.icon, MsgIcon::Information);
    EXPECT_EQ(notice.buttons, MsgButtons::Ok);
    EXPECT_TRUE(notice.systemModal);
    EXPECT_EQ(notice.title, ProgramFolder::executableBaseName());
    EXPECT_TRUE(notice.text.contains(QStringLiteral("ありがとう")));
    EXPECT_TRUE(notice.text.contains(QStringLiteral("フリーソフト")));
    EXPECT_TRUE(notice.text.contains(QStringLiteral("責任")));

    const QString saved = Win31J::decode(bytes(general()));
    EXPECT_TRUE(saved.startsWith(QStringLiteral("[General]\r\nVerNo = ") + Version::dotted() + QStringLiteral("\r\n")));
    EXPECT_TRUE(saved.contains(QStringLiteral("\r\nListViewMode = 3\r\n")));
    EXPECT_EQ(view.applied, 1);
}

TEST_F(StartupTest, NoNoticeOnceTheGeneralSettingsExist)
{
    haveGeneralSettings();
    run();
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_TRUE(Win31J::decode(bytes(general())).contains(QStringLiteral("ListFont = ")))
        << "the defaults are filled in and saved at every start";
}

TEST_F(StartupTest, WithoutCommandLineTheWindowShowsAnUntitledDocument)
{
    haveGeneralSettings();

    EXPECT_EQ(run(), Startup::Result::Run);

    EXPECT_TRUE(untitled());
    EXPECT_EQ(view.titles.last(), QStringLiteral("(無題) - QLT@WIN Ver.") + Version::dotted());
    EXPECT_FALSE(view.reloadEnabled);
    EXPECT_EQ(document.settings().fileName(), general());
    EXPECT_EQ(window.calls, (QStringList{QStringLiteral("load"), QStringLiteral("show")}));
}

TEST_F(StartupTest, QuotedPathWithSpacesIsOpened)
{
    haveGeneralSettings();
    ASSERT_TRUE(QDir().mkpath(cardFile(QStringLiteral("My Documents"))));
    const QString path = writeNative(QStringLiteral("My Documents/memo.qlw"), {QStringLiteral("a")});

    EXPECT_EQ(run({QLatin1Char('"') + path + QLatin1Char('"')}), Startup::Result::Run);

    EXPECT_EQ(document.DocumentPath(), path);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("a")});
    EXPECT_EQ(listedInGuard(), QStringList{path});
    EXPECT_EQ(document.recentFiles().entry(0), path);
    EXPECT_EQ(window.calls.last(), QStringLiteral("show"));
}

TEST_F(StartupTest, UnquotedPathSplitIntoSeveralArgumentsIsOpenedWhole)
{
    haveGeneralSettings();
    ASSERT_TRUE(QDir().mkpath(cardFile(QStringLiteral("My Documents"))));
    const QString path = writeNative(QStringLiteral("My Documents/memo.qlw"), {QStringLiteral("a")});
    const qsizetype space = path.indexOf(QLatin1Char(' '));

    run({path.left(space), path.mid(space + 1)});

    EXPECT_EQ(document.DocumentPath(), path);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("a")});
}

TEST_F(StartupTest, RelativePathIsTakenFromTheCurrentFolder)
{
    haveGeneralSettings();
    const QString path = writeNative(QStringLiteral("memo.QLW"), {QStringLiteral("a")});
    run({QStringLiteral("./memo.QLW")});
    EXPECT_EQ(document.DocumentPath(), path);
}

TEST_F(StartupTest, MissingCardFileStartsAsANewFile)
{
    haveGeneralSettings();
    const QString path = cardFile(QStringLiteral("new.qlt"));
    EXPECT_EQ(run({path}), Startup::Result::Run);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kNewFile});
    EXPECT_EQ(document.DocumentPath(), path);
}

TEST_F(StartupTest, OtherExtensionsAreIgnored)
{
    haveGeneralSettings();
    for (const QString &name : {QStringLiteral("QLTWIN.ini"), QStringLiteral("page.htm"), QStringLiteral("memo")}) {
        const QString path = cardFile(name);
        writeText(path, QStringLiteral("x"));
        dialogs.clear();
        EXPECT_EQ(run({path}), Startup::Result::Run) << name.toStdString();
        EXPECT_TRUE(untitled()) << name.toStdString();
        EXPECT_TRUE(dialogs.records.isEmpty()) << name.toStdString();
    }
}

TEST_F(StartupTest, DeclinedGuardEndsTheProcessWithoutAWindow)
{
    haveGeneralSettings();
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("a")});
    processes.otherInstance = true; // the first window runs and has the file open
    FakeDialogs otherDialogs;
    OpenGuard(otherDialogs).RegisterOpenFile(path);
    answer({MsgAnswer::No});

    EXPECT_EQ(run({path}), Startup::Result::Exit);

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kInUse});
    EXPECT_EQ(window.calls, QStringList{QStringLiteral("load")});
    EXPECT_EQ(listedInGuard(), QStringList{path});
}

TEST_F(StartupTest, CardFileNamedUntitledStillOpens)
{
    haveGeneralSettings();
    const QString path = writeNative(QStringLiteral("(無題).qlw"), {QStringLiteral("a")});
    EXPECT_EQ(run({path}), Startup::Result::Run);
    EXPECT_EQ(titlesInList(), QStringList{QStringLiteral("a")});
}

TEST_F(StartupTest, PerFileSettingsOfTheCommandLineFileAreKept)
{
    haveGeneralSettings();
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("a")});
    writeText(cardFile(QStringLiteral("memo.ini")), QStringLiteral("[General]\r\nListViewMode = 0\r\n"));

    run({path});

    EXPECT_EQ(document.settings().fileName(), cardFile(QStringLiteral("memo.ini")));
    EXPECT_EQ(view.lastApplied.viewMode, 0);
}

TEST_F(StartupTest, RecentFilesAreLoadedIntoTheMenu)
{
    haveGeneralSettings();
    writeText(
        folder.file(QStringLiteral("Recent.ini")),
        QStringLiteral("[General]\r\nRecentFile0 = /data/b.qlw\r\nRecentFile1 = /data/a.qlw\r\nRecentFile2 = \r\n"));

    run();

    ASSERT_FALSE(view.recentMenus.isEmpty());
    EXPECT_EQ(view.recentMenus.last(),
              (QStringList{QStringLiteral("&A b.qlw\t/data/b.qlw"), QStringLiteral("&B a.qlw\t/data/a.qlw")}));
    EXPECT_EQ(document.recentMenuVisibleCount(), 2);
}

TEST_F(StartupTest, StepsRunInOrderAroundTheWindow)
{
    // The welcome ends everything before the first-run notice would show.
    userStore.values.remove(QStringLiteral("EXEVer"));
    writeText(openCheck(), QStringLiteral("[General]\r\nFile0 = /data/x.qlw\r\n"));
    run();
    EXPECT_EQ(dialogs.messageTexts(), QStringList{kWelcome});
    EXPECT_TRUE(QFileInfo::exists(openCheck())) << "the hand-over comes before the list is cleared";
}

struct CommandLineCase {
    const char *name;
    QString commandLine;
    QString expected; // relative to the current folder; empty: ignored
};

TEST(StartupCommandLineTest, CardFilePathTakesOnePairOfQuotesAndFiveExtensions)
{
    QTemporaryDir dir;
    const QString here = dir.path();
    const QList<CommandLineCase> cases{
        {"empty", QString(), QString()},
        {"plain", QStringLiteral("/x/memo.qlw"), QStringLiteral("/x/memo.qlw")},
        {"quoted", QStringLiteral("\"/x/my memo.csv\""), QStringLiteral("/x/my memo.csv")},
        {"inner quotes stay", QStringLiteral("\"/x/\"a\".txt\""), QStringLiteral("/x/\"a\".txt")},
        // Without its pair the quote is part of the (then relative) path.
        {"one quote only", QStringLiteral("\"/x/memo.stk"), here + QStringLiteral("/\"/x/memo.stk")},
        {"lone quote", QStringLiteral("\""), QString()},
        {"upper case", QStringLiteral("/x/MEMO.QLT"), QStringLiteral("/x/MEMO.QLT")},
        {"ini", QStringLiteral("/x/QLTWIN.ini"), QString()},
        {"htm", QStringLiteral("/x/page.htm"), QString()},
        {"no extension", QStringLiteral("/x/memo"), QString()},
        {"dot in folder", QStringLiteral("/x.qlw/memo"), QString()},
        {"relative", QStringLiteral("sub/../memo.qlw"), here + QStringLiteral("/memo.qlw")},
    };
    for (const CommandLineCase &c : cases)
        EXPECT_EQ(CommandLine::CardFilePath(c.commandLine, here), c.expected) << c.name;
}

TEST(StartupCommandLineTest, ArgumentsJoinWithOneSpace)
{
    EXPECT_EQ(CommandLine::Join({}), QString());
    EXPECT_EQ(CommandLine::Join({QStringLiteral("/a/My"), QStringLiteral("Documents/m.qlw")}),
              QStringLiteral("/a/My Documents/m.qlw"));
}

} // namespace
