// The external editor: the command from ExtEditor, the temporary file, the
// wait with the windows hidden, and taking the file back. Small /bin/sh
// scripts play the editor.
#include "editorfixture.h"

#include "core/common/qtservices.h"
#include "core/common/win31j.h"
#include "core/editor/externaledit.h"
#include "core/editor/externaleditcommand.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

namespace {

// ---------------------------------------------------------------- command

struct CommandCase {
    const char *setting;
    const char *program; // "" = nothing is started
    const char *commandLine;
};

class CommandFromSetting : public ::testing::TestWithParam<CommandCase>
{
};

TEST_P(CommandFromSetting, Builds)
{
    const CommandCase &c = GetParam();
    const QStringList existing{QStringLiteral("/usr/bin/ed"), QStringLiteral("/opt/My Editor/ed.exe"),
                               QStringLiteral("/opt/My -Tools/ed")};
    const auto command = ExternalEditCommand::build(QString::fromUtf8(c.setting),
                                                    [&](const QString &path) { return existing.contains(path); });
    if (!*c.program) {
        EXPECT_FALSE(command.has_value());
        return;
    }
    ASSERT_TRUE(command.has_value());
    EXPECT_EQ(command->program, QString::fromUtf8(c.program));
    EXPECT_EQ(command->commandLine, QString::fromUtf8(c.commandLine));
}

INSTANTIATE_TEST_SUITE_P(
    Settings, CommandFromSetting,
    ::testing::Values(CommandCase{"", "", ""},
                      // Quoted: used unchanged when the quoted program exists.
                      CommandCase{"\"/usr/bin/ed\" -s", "/usr/bin/ed", "\"/usr/bin/ed\" -s"},
                      CommandCase{"\"/usr/bin/none\" -s", "", ""}, CommandCase{"\"/usr/bin/ed", "", ""},
                      CommandCase{"\"", "", ""},
                      // A path with spaces and no quotes gets quoted.
                      CommandCase{"/opt/My Editor/ed.exe", "/opt/My Editor/ed.exe", "\"/opt/My Editor/ed.exe\""},
                      // Switches after " /" or " -" stay, unchanged, after the quoted path.
                      CommandCase{"/opt/My Editor/ed.exe /a /b", "/opt/My Editor/ed.exe",
                                  "\"/opt/My Editor/ed.exe\" /a /b"},
                      CommandCase{"/usr/bin/ed -p '*' --x", "/usr/bin/ed", "\"/usr/bin/ed\" -p '*' --x"},
                      // " -" inside the path: the first place whose left part exists.
                      CommandCase{"/opt/My -Tools/ed -q", "/opt/My -Tools/ed", "\"/opt/My -Tools/ed\" -q"},
                      CommandCase{"/opt/My -Tools/ed", "/opt/My -Tools/ed", "\"/opt/My -Tools/ed\""},
                      // No existing program: nothing.
                      CommandCase{"/usr/bin/none -s", "", ""}, CommandCase{"ed", "", ""},
                      // A switch at the very start is no switch.
                      CommandCase{" -s", "", ""}));

TEST(CommandLine, FileIsAppendedQuotedAndSplitsBack)
{
    const QString line =
        ExternalEditCommand::withFile(QStringLiteral("\"/opt/My Editor/ed\" -s"), QStringLiteral("/tmp/x y/Temp0.txt"));
    EXPECT_EQ(line, QStringLiteral("\"/opt/My Editor/ed\" -s \"/tmp/x y/Temp0.txt\""));
    EXPECT_EQ(
        ExternalEditCommand::splitCommandLine(line),
        (QStringList{QStringLiteral("/opt/My Editor/ed"), QStringLiteral("-s"), QStringLiteral("/tmp/x y/Temp0.txt")}));
}

TEST(TempExtension, LeadingDotGoesAndPathsAreRefused)
{
    EXPECT_EQ(ExternalEdit::extensionFrom(QStringLiteral("txt")), QStringLiteral("txt"));
    EXPECT_EQ(ExternalEdit::extensionFrom(QStringLiteral(".md")), QStringLiteral("md"));
    EXPECT_EQ(ExternalEdit::extensionFrom(QString()), QStringLiteral("txt"));
    EXPECT_EQ(ExternalEdit::extensionFrom(QStringLiteral("../../x")), QStringLiteral("txt"));
}

// ---------------------------------------------------------------- round trip

class RecordingWindows : public ExternalEditWindows
{
public:
    QStringList calls;
    void hideAll() override { calls.append(QStringLiteral("hide")); }
    void showAll() override { calls.append(QStringLiteral("show")); }
    void beginWait() override { calls.append(QStringLiteral("disable")); }
    void endWait() override { calls.append(QStringLiteral("enable")); }
};

class RoundTrip : public EditorTest
{
protected:
    QTemporaryDir scripts;
    RecordingWindows windows;
    QtProcesses realProcesses;

    void SetUp() override
    {
        EditorTest::SetUp();
        // An extension of its own, so no other test's files are in the way.
        document.settings().setText(SettingKey::ExtEditorEXT, QStringLiteral("rtt"));
    }

    // An executable /bin/sh script; body gets the file as its last argument.
    QString script(const QString &name, const QByteArray &body, bool executable = true)
    {
        const QString path = scripts.filePath(name);
        QDir().mkpath(QFileInfo(path).absolutePath());
        EXPECT_TRUE(Sandbox::writeBytes(path, "#!/bin/sh\n" + body + "\n"));
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (executable)
            permissions |= QFile::ExeOwner;
        QFile::setPermissions(path, permissions);
        return path;
    }
    void useEditor(const QString &setting) { document.settings().setText(SettingKey::ExtEditor, setting); }

    ExternalEdit realEdit()
    {
        Services real = services;
        real.processes = &realProcesses;
        return ExternalEdit(document.settings(), real, &windows);
    }
    static QStringList tempFiles(const QString &ext)
    {
        return QDir(QDir::tempPath()).entryList({QStringLiteral("Temp*.") + ext}, QDir::Files);
    }
};

TEST_F(RoundTrip, ChangeWithinTheSameSecondIsTakenBack)
{
    // Writes the file and gives it back the very last-write time it had.
    useEditor(script(QStringLiteral("same-second.sh"), "touch -r \"$1\" \"$1.stamp\"\n"
                                                       "printf 'edited\\r\\n' > \"$1\"\n"
                                                       "touch -r \"$1.stamp\" \"$1\"\n"
                                                       "rm \"$1.stamp\""));
    ExternalEdit edit = realEdit();
    const std::optional<QString> edited = edit.run(QStringLiteral("original"));
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(*edited, QStringLiteral("edited\r\n"));
    EXPECT_EQ(edit.lastRun().status, WaitShell::Ended);
    EXPECT_TRUE(edit.lastRun().changed);
    EXPECT_FALSE(QFileInfo::exists(edit.lastRun().tempFile));
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("hide"), QStringLiteral("disable"), QStringLiteral("enable"),
                                          QStringLiteral("show")}));
}

TEST_F(RoundTrip, EditorThatCrashesAfterSavingIsTakenBackWithoutAStartError)
{
    useEditor(script(QStringLiteral("crash.sh"), "printf 'saved\\r\\n' > \"$1\"\nkill -KILL $$"));
    ExternalEdit edit = realEdit();
    const std::optional<QString> edited = edit.run(QStringLiteral("original"));
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(*edited, QStringLiteral("saved\r\n"));
    EXPECT_EQ(edit.lastRun().status, WaitShell::Ended);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(RoundTrip, FileSavedUnchangedOrNotAtAllIsNotTakenBack)
{
    for (const QByteArray &body : {QByteArray("exit 0"), QByteArray("sleep 1; touch \"$1\"")}) {
        useEditor(script(QStringLiteral("noop.sh"), body));
        ExternalEdit edit = realEdit();
        EXPECT_EQ(edit.run(QString::fromUtf8("日本語\r\n二行目")), std::nullopt) << body.constData();
        EXPECT_TRUE(edit.lastRun().started);
        EXPECT_FALSE(edit.lastRun().changed);
        EXPECT_FALSE(QFileInfo::exists(edit.lastRun().tempFile));
    }
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(RoundTrip, FileHoldsContentAndOneLineEndInWindows31J)
{
    const QString copy = scripts.filePath(QStringLiteral("seen.bin"));
    useEditor(script(QStringLiteral("copy.sh"), "cp \"$1\" '" + copy.toUtf8() + "'"));
    ExternalEdit edit = realEdit();
    edit.run(QString::fromUtf8("表\r\n示"));
    EXPECT_EQ(Sandbox::readBytes(copy), Win31J::encode(QString::fromUtf8("表\r\n示\r\n")));
    EXPECT_TRUE(QFileInfo(edit.lastRun().tempFile).fileName().startsWith(QStringLiteral("Temp")));
    EXPECT_TRUE(edit.lastRun().tempFile.endsWith(QStringLiteral(".rtt")));
}

TEST_F(RoundTrip, LineEndRemovedByTheEditorStaysRemoved)
{
    useEditor(script(QStringLiteral("strip.sh"), "printf 'abc' > \"$1\""));
    EXPECT_EQ(realEdit().run(QStringLiteral("abc")), QStringLiteral("abc"));
}

TEST_F(RoundTrip, FileSavedAsUtf8IsReadAsUtf8)
{
    useEditor(script(QStringLiteral("utf8.sh"), "printf '\\346\\227\\245\\346\\234\\254\\r\\n' > \"$1\""));
    EXPECT_EQ(realEdit().run(QStringLiteral("x")), QString::fromUtf8("日本\r\n"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(RoundTrip, BytesThatAreNoCharacterAreReported)
{
    // 0x81 0x20: a lead byte without its trail, and no UTF-8 either.
    useEditor(script(QStringLiteral("broken.sh"), "printf 'a\\201 b' > \"$1\""));
    const std::optional<QString> edited = realEdit().run(QStringLiteral("x"));
    ASSERT_TRUE(edited.has_value());
    EXPECT_EQ(*edited, QStringLiteral("a\uFFFD b"));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(dialogs.messages()[0].text.contains(QString::fromUtf8("1箇所")));
}

TEST_F(RoundTrip, ReadOnlyTemporaryFileIsDeletedAnyway)
{
    useEditor(script(QStringLiteral("ro.sh"), "printf 'new' > \"$1\"; chmod a-w \"$1\""));
    ExternalEdit edit = realEdit();
    EXPECT_EQ(edit.run(QStringLiteral("old")), QStringLiteral("new"));
    EXPECT_FALSE(QFileInfo::exists(edit.lastRun().tempFile));
}

TEST_F(RoundTrip, SwitchesReachTheProgramBeforeTheFile)
{
    const QString args = scripts.filePath(QStringLiteral("args.txt"));
    const QString program =
        script(QStringLiteral("My Editor/ed.sh"), "printf '%s\\n' \"$@\" > '" + args.toUtf8() + "'");
    useEditor(program + QStringLiteral(" -n -x"));
    ExternalEdit edit = realEdit();
    edit.run(QStringLiteral("x"));
    EXPECT_EQ(QString::fromUtf8(Sandbox::readBytes(args)),
              QStringLiteral("-n\n-x\n") + edit.lastRun().tempFile + QLatin1Char('\n'));
}

TEST_F(RoundTrip, MissingProgramStartsNothingAndPointsToTheOptions)
{
    const QString missing = scripts.filePath(QStringLiteral("no-such-editor")) + QStringLiteral(" -s");
    useEditor(missing);
    const QStringList before = tempFiles(QStringLiteral("rtt"));
    ExternalEdit edit = realEdit();
    EXPECT_EQ(edit.run(QStringLiteral("x")), std::nullopt);
    EXPECT_FALSE(edit.lastRun().started);
    const QString options = QStringLiteral(
        "\r\nメインウインドウの「オプション」メニューの「基本設定」で、使う外部エディタを指定してください。");
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text,
              QStringLiteral("外部エディタ「%1」が見つかりません。").arg(missing) + options);
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Warning);
    EXPECT_TRUE(windows.calls.isEmpty());
    EXPECT_EQ(tempFiles(QStringLiteral("rtt")), before);

    // No editor was found on this machine: the setting stayed empty.
    dialogs.clear();
    useEditor(QString());
    EXPECT_EQ(realEdit().run(QStringLiteral("x")), std::nullopt);
    EXPECT_EQ(dialogs.messageTexts(), QStringList{QStringLiteral("外部エディタが設定されていません。") + options});
}

TEST_F(RoundTrip, LineFeedsOfTheEditorComeBackAsCardLineEnds)
{
    useEditor(script(QStringLiteral("lf.sh"), "printf 'one\\ntwo\\n' > \"$1\""));
    ExternalEdit edit = realEdit();
    EXPECT_EQ(edit.run(QStringLiteral("x")), QStringLiteral("one\r\ntwo\r\n"));
}

TEST_F(RoundTrip, ProgramThatCannotRunIsReportedAndTheRestStillRuns)
{
    const QString program = script(QStringLiteral("not-executable.sh"), "exit 0", false);
    useEditor(program);
    ExternalEdit edit = realEdit();
    EXPECT_EQ(edit.run(QStringLiteral("x")), std::nullopt);
    EXPECT_EQ(edit.lastRun().status, WaitShell::NotStarted);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text,
              QString::fromUtf8("外部エディタ起動時に以下のエラーが発生しました。\r\n\r\n「") + program
                  + QString::fromUtf8("」は実行できるプログラムではありません。"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(windows.calls, (QStringList{QStringLiteral("hide"), QStringLiteral("show")}));
    EXPECT_FALSE(QFileInfo::exists(edit.lastRun().tempFile));
}

TEST_F(RoundTrip, StartFailureOfTheProcessServiceIsReported)
{
    const QString program = script(QStringLiteral("ed.sh"), "exit 0");
    useEditor(program);
    processes.startSucceeds = false;
    ExternalEdit edit(document.settings(), services, &windows);
    EXPECT_EQ(edit.run(QStringLiteral("x")), std::nullopt);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text,
              QString::fromUtf8("外部エディタ起動時に以下のエラーが発生しました。\r\n\r\n「") + program
                  + QString::fromUtf8("」を起動できませんでした。"));
    EXPECT_FALSE(QFileInfo::exists(edit.lastRun().tempFile));
    EXPECT_EQ(windows.calls.last(), QStringLiteral("show"));
}

TEST_F(RoundTrip, FirstFreeTempNameIsUsedAndOnlyItIsDeleted)
{
    document.settings().setText(SettingKey::ExtEditorEXT, QStringLiteral("txt"));
    useEditor(script(QStringLiteral("ed.sh"), "exit 0"));
    const QString temp0 = QDir(QDir::tempPath()).filePath(QStringLiteral("Temp0.txt"));
    const QString temp1 = QDir(QDir::tempPath()).filePath(QStringLiteral("Temp1.txt"));
    const QString temp2 = QDir(QDir::tempPath()).filePath(QStringLiteral("Temp2.txt"));
    ASSERT_TRUE(Sandbox::writeBytes(temp0, "0"));
    ASSERT_TRUE(Sandbox::writeBytes(temp1, "1"));
    bool existedDuringTheWait = false;
    processes.onWait = [&](const FakeProcesses::Call &) { existedDuringTheWait = QFileInfo::exists(temp2); };

    ExternalEdit edit(document.settings(), services, &windows);
    edit.run(QStringLiteral("x"));
    ASSERT_EQ(processes.calls.size(), 1);
    EXPECT_EQ(processes.calls[0].arguments, QStringList{temp2});
    EXPECT_TRUE(processes.calls[0].waited);
    EXPECT_TRUE(existedDuringTheWait);
    EXPECT_FALSE(QFileInfo::exists(temp2));
    EXPECT_TRUE(QFileInfo::exists(temp0));
    EXPECT_TRUE(QFileInfo::exists(temp1));
    QFile::remove(temp0);
    QFile::remove(temp1);
}

TEST_F(RoundTrip, UnmappableCharactersAreAskedAboutFirst)
{
    useEditor(script(QStringLiteral("ed.sh"), "exit 0"));
    ExternalEdit edit(document.settings(), services, &windows);
    const QString content = QStringLiteral("ab\U0001F600c");
    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_EQ(edit.run(content), std::nullopt);
    EXPECT_TRUE(processes.calls.isEmpty());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(
        dialogs.messages()[0].text,
        QString::fromUtf8("内容に、外部エディタに渡せない文字が1文字あります（最初は3文字目）。\r\n"
                          "これらの文字は「?」に置き換えて渡され、外部エディタで保存するとその文字は失われます。\r\n"
                          "外部エディタを起動しますか？"));
    EXPECT_EQ(dialogs.messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(dialogs.messages()[0].defaultButton, MsgAnswer::No);

    dialogs.answers.enqueue(MsgAnswer::Yes);
    edit.run(content);
    EXPECT_EQ(processes.calls.size(), 1);
}

// ---------------------------------------------------------------- in a session

TEST_F(RoundTrip, SessionTakesTheEditedContentAndMarksTheChange)
{
    context.programWindows = &windows;
    const QString key = addCard(QStringLiteral("t"), {}, QStringLiteral("before"));
    auto session = openSession(key);

    // The fake process service plays an editor that saves nothing.
    useEditor(script(QStringLiteral("noop.sh"), "exit 0"));
    EXPECT_FALSE(session->runExternalEditor());
    EXPECT_FALSE(session->ChangeCard());
    EXPECT_EQ(session->content(), QStringLiteral("before"));

    // The fake process service plays an editor that appends a line.
    processes.onWait = [](const FakeProcesses::Call &call) {
        QFile file(call.arguments.last());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write("after\r\n");
    };
    EXPECT_TRUE(session->runExternalEditor());
    EXPECT_TRUE(session->ChangeCard());
    EXPECT_EQ(session->content(), QStringLiteral("before\r\nafter\r\n"));
    session->applyAndClose();
    EXPECT_EQ(card(key)->content, QStringLiteral("before\r\nafter\r\n"));
}

} // namespace
