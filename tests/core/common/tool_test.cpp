#include "core/common/tool.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <unistd.h>

using namespace Tool;

namespace {

struct TwoArgCase {
    const char *a;
    const char *b;
    const char *expected;
};

struct OneArgCase {
    const char *in;
    const char *expected;
};

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

// Runs a test body with the current folder changed, and changes it back.
class ScopedCurrentFolder
{
public:
    explicit ScopedCurrentFolder(const QString &folder) : m_previous(QDir::currentPath()) { QDir::setCurrent(folder); }
    ~ScopedCurrentFolder() { QDir::setCurrent(m_previous); }

private:
    QString m_previous;
};

} // namespace

// ---------------------------------------------------------------- path parts

TEST(ToolPaths, JoinPath)
{
    const TwoArgCase cases[] = {
        {"C:", "x.txt", "C:/x.txt"},
        {"C:/a/", "b", "C:/a/b"},
        {"/a", "b", "/a/b"},
        {"/a/", "b", "/a/b"},
        {"/a", "/b", "/a/b"},
        {"/a/", "/b", "/a/b"},
        {"/", "b", "/b"},
        {"a", "", "a/"},
        {"", "b", "b"},
        {"abc", "x", "abc/x"}, // not a drive: three characters
    };
    for (const auto &c : cases)
        EXPECT_EQ(JoinPath(q(c.a), q(c.b)), q(c.expected)) << c.a << " + " << c.b;
}

TEST(ToolPaths, IsDriveSpec)
{
    EXPECT_TRUE(IsDriveSpec("C:"));
    EXPECT_TRUE(IsDriveSpec("C:/"));
    EXPECT_FALSE(IsDriveSpec("C"));
    EXPECT_FALSE(IsDriveSpec("C:/a"));
    EXPECT_FALSE(IsDriveSpec("/a"));
    EXPECT_FALSE(IsDriveSpec(""));
}

TEST(ToolPaths, FileNameOf)
{
    const OneArgCase cases[] = {
        {"/a/b/memo.qlw", "memo.qlw"},
        {"memo.qlw", "memo.qlw"},
        {"/a/b/", ""},
        {"", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(FileNameOf(q(c.in)), q(c.expected)) << c.in;
}

TEST(ToolPaths, ExtensionOf)
{
    const OneArgCase cases[] = {
        {"/a/memo.2001.qlw", "qlw"}, {"/a/README", ""}, {"/a.b/README", ""}, // a dot in a folder is no extension
        {"/a/.profile", "profile"},  {"/a/name.", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ExtensionOf(q(c.in)), q(c.expected)) << c.in;
}

TEST(ToolPaths, ParentFolderOf)
{
    const OneArgCase cases[] = {
        {"/a/b/memo.qlw", "/a/b"}, {"/a/b/", "/a/b"}, {"C:/x.txt", "C:"}, {"/memo.qlw", "/"}, {"memo.qlw", ""},
    };
    for (const auto &c : cases)
        EXPECT_EQ(ParentFolderOf(q(c.in)), q(c.expected)) << c.in;
}

TEST(ToolPaths, BaseNameOf)
{
    const OneArgCase cases[] = {
        {"C:/a/.profile", ""},     {"C:/a/memo.2001.qlw", "memo.2001"},
        {"C:/a/README", "README"}, {"/x.y/README", "README"},
        {"メモ.qlt", "メモ"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(BaseNameOf(q(c.in)), q(c.expected)) << c.in;
}

TEST(ToolTexts, ShortenWithEllipsis)
{
    const QString fifty(50, QLatin1Char('a'));
    EXPECT_EQ(ShortenWithEllipsis(fifty, 50), fifty);
    EXPECT_EQ(ShortenWithEllipsis(fifty + "b", 50), fifty + "...");
    EXPECT_EQ(ShortenWithEllipsis(q("あいうえお"), 2), q("あい..."));
    EXPECT_EQ(ShortenWithEllipsis("", 0), "");
}

TEST(ToolTexts, CutAtNul)
{
    EXPECT_EQ(CutAtNul(QString::fromLatin1("/a/b\0/junk", 10)), "/a/b");
    EXPECT_EQ(CutAtNul(QString::fromLatin1("\0x", 2)), "");
    EXPECT_EQ(CutAtNul("/a/b"), "/a/b");
}

TEST(ToolTexts, Unquote)
{
    const OneArgCase cases[] = {
        {"\"/a b/c.qlw\"", "/a b/c.qlw"},
        {"\"", "\""},
        {"\"\"", ""},
        {"\"abc", "\"abc"},
        {"abc\"", "abc\""},
        {"abc", "abc"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(Unquote(q(c.in)), q(c.expected)) << c.in;
}

TEST(ToolTexts, CleanFileNameReplacesEveryForbiddenCharacter)
{
    EXPECT_EQ(CleanFileName(q("a?b/c,d;e*f~g<h>i|j"), false), q("a？b／c，d；e＊f～g＜h＞i｜j"));
    EXPECT_EQ(CleanFileName(q("a\\b"), true), q("a￥b"));
    EXPECT_EQ(CleanFileName(q("a\\b"), false), q("a\\b"));
    EXPECT_EQ(CleanFileName(q("\"quoted\" & 'x'"), true), q("\"quoted\" & 'x'"));
    EXPECT_EQ(CleanFileName(q("題名＠グループ.qlt"), true), q("題名＠グループ.qlt"));
}

TEST(ToolTexts, CleanFileNameKeepsColonsOnlyWithinTheFirstTwoCharacters)
{
    EXPECT_EQ(CleanFileName(q("C:\\a:b"), false), q("C:\\a：b"));
    EXPECT_EQ(CleanFileName(q(":x:"), false), q(":x："));
    EXPECT_EQ(CleanFileName(q("ab:c"), false), q("ab：c"));
    EXPECT_EQ(CleanFileName(q("2001/05/03：メモ"), false), q("2001／05／03：メモ"));
}

// ------------------------------------------------------------------- files

TEST(ToolFiles, CanOpenForReading)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("a.txt");
    ASSERT_TRUE(Sandbox::writeBytes(file, "x"));
    EXPECT_TRUE(CanOpenForReading(file));
    EXPECT_FALSE(CanOpenForReading(dir.filePath("missing.txt")));
    EXPECT_FALSE(CanOpenForReading(dir.path()));
    EXPECT_FALSE(CanOpenForReading(""));
}

TEST(ToolFiles, CanOpenForAppendingCreatesAnEmptyFileAndKeepsContent)
{
    QTemporaryDir dir;
    const QString fresh = dir.filePath("new.txt");
    EXPECT_TRUE(CanOpenForAppending(fresh));
    ASSERT_TRUE(QFileInfo::exists(fresh));
    EXPECT_EQ(QFileInfo(fresh).size(), 0);

    const QString old = dir.filePath("old.txt");
    ASSERT_TRUE(Sandbox::writeBytes(old, "keep"));
    EXPECT_TRUE(CanOpenForAppending(old));
    EXPECT_EQ(Sandbox::readBytes(old), QByteArray("keep"));

    EXPECT_FALSE(CanOpenForAppending(dir.path()));
    EXPECT_FALSE(CanOpenForAppending(dir.filePath("missing/new.txt")));
}

TEST(ToolFiles, ReadWholeFileDecodesWindows31J)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("sjis.txt");
    // "メモ" CR LF "ABC" in Shift-JIS.
    ASSERT_TRUE(Sandbox::writeBytes(file, QByteArray("\x83\x81\x83\x82\r\nABC")));
    EXPECT_EQ(ReadWholeFile(file), q("メモ\r\nABC"));

    const QString empty = dir.filePath("empty.txt");
    ASSERT_TRUE(Sandbox::writeBytes(empty, ""));
    EXPECT_EQ(ReadWholeFile(empty), "");
    EXPECT_TRUE(ReadWholeFile(dir.filePath("missing.txt")).isEmpty());
    EXPECT_TRUE(ReadWholeFile(dir.path()).isEmpty());
}

// ----------------------------------------------------------------- folders

TEST(ToolEnsureFolder, ExistingFolderNeedsNoQuestion)
{
    QTemporaryDir dir;
    FakeDialogs dialogs;
    EXPECT_TRUE(EnsureFolder(dir.path(), true, &dialogs));
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST(ToolEnsureFolder, CreatesMissingLevelsWithoutAsking)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("out");
    ASSERT_TRUE(QDir().mkdir(out));
    FakeDialogs dialogs;
    EXPECT_TRUE(EnsureFolder(out + "/a/b", false, &dialogs));
    EXPECT_TRUE(QFileInfo(out + "/a").isDir());
    EXPECT_TRUE(QFileInfo(out + "/a/b").isDir());
    EXPECT_TRUE(dialogs.records.isEmpty());
}

TEST(ToolEnsureFolder, CreatesAFolderWithATrailingSeparator)
{
    QTemporaryDir dir;
    EXPECT_TRUE(EnsureFolder(dir.filePath("x/y/"), false));
    EXPECT_TRUE(QFileInfo(dir.filePath("x/y")).isDir());
}

TEST(ToolEnsureFolder, AsksBeforeCreating)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("出力/a");
    FakeDialogs dialogs;
    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(EnsureFolder(path, true, &dialogs));
    EXPECT_TRUE(QFileInfo(path).isDir());

    ASSERT_EQ(dialogs.messages().size(), 1);
    const MessageRequest m = dialogs.messages().first();
    EXPECT_EQ(m.text, q("フォルダ \"") + path + q("\" は存在しません。\n作成しますか？"));
    EXPECT_EQ(m.title, q("フォルダ作成"));
    EXPECT_EQ(m.icon, MsgIcon::Question);
    EXPECT_EQ(m.buttons, MsgButtons::YesNo);
}

TEST(ToolEnsureFolder, NoLeavesEverythingAlone)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a/b");
    FakeDialogs dialogs;
    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_FALSE(EnsureFolder(path, true, &dialogs));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("a")));
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST(ToolEnsureFolder, FailureIsReportedWithTheSeparatorAdded)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("plain.txt");
    ASSERT_TRUE(Sandbox::writeBytes(file, "x"));
    const QString path = file + "/sub";
    FakeDialogs dialogs;
    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_FALSE(EnsureFolder(path, true, &dialogs));

    ASSERT_EQ(dialogs.messages().size(), 2);
    const MessageRequest m = dialogs.messages().at(1);
    EXPECT_EQ(m.text, q("フォルダ \"") + path + q("/\" の作成に失敗しました"));
    EXPECT_EQ(m.title, q("エラー"));
    EXPECT_EQ(m.icon, MsgIcon::Warning);
    EXPECT_EQ(m.buttons, MsgButtons::Ok);
}

TEST(ToolEnsureFolder, FailureWithoutAskingIsSilent)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("plain.txt");
    ASSERT_TRUE(Sandbox::writeBytes(file, "x"));
    FakeDialogs dialogs;
    EXPECT_FALSE(EnsureFolder(file + "/a/b", false, &dialogs));
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_FALSE(EnsureFolder(file, false, &dialogs)); // a file is no folder
}

// ------------------------------------------------------------ long names

TEST(ToolNormaliseLongPath, ExistingPathsKeepTheirStoredNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("Mixed Case/.hidden")));
    const QString file = dir.filePath("Mixed Case/.hidden/メモ File.qlw");
    ASSERT_TRUE(Sandbox::writeBytes(file, ""));
    EXPECT_EQ(NormaliseLongPath(file), file);
    EXPECT_EQ(NormaliseLongPath(dir.filePath("Mixed Case")), dir.filePath("Mixed Case"));
    EXPECT_EQ(NormaliseLongPath(dir.filePath("Mixed Case/")), dir.filePath("Mixed Case/"));
    EXPECT_EQ(NormaliseLongPath("/"), "/");
}

TEST(ToolNormaliseLongPath, NamesThatDifferInCaseOnlyKeepTheirOwn)
{
    // Two files, a second name of one file in another case (as a folder on a
    // case-insensitive file system would show it) and a dangling link.
    QTemporaryDir dir;
    ASSERT_TRUE(Sandbox::writeBytes(dir.filePath("Memo.qlw"), "a"));
    ASSERT_TRUE(Sandbox::writeBytes(dir.filePath("memo.qlw"), "b"));
    ASSERT_TRUE(Sandbox::writeBytes(dir.filePath("Notes.qlw"), "c"));
    ASSERT_EQ(::link(QFile::encodeName(dir.filePath("Notes.qlw")).constData(),
                     QFile::encodeName(dir.filePath("NOTES.qlw")).constData()),
              0);
    ASSERT_TRUE(QFile::link(dir.filePath("gone.qlw"), dir.filePath("Link.qlw")));
    for (const char *name : {"Memo.qlw", "memo.qlw", "Notes.qlw", "NOTES.qlw", "Link.qlw"})
        EXPECT_EQ(NormaliseLongPath(dir.filePath(name)), dir.filePath(name)) << name;
}

TEST(ToolNormaliseLongPath, MissingLastComponentIsKept)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("not yet.qlw");
    EXPECT_EQ(NormaliseLongPath(path), path);
}

TEST(ToolNormaliseLongPath, MissingFolderOnTheWayGivesThePathUnchanged)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("gone/./memo.qlw");
    EXPECT_EQ(NormaliseLongPath(path), path);
}

TEST(ToolNormaliseLongPath, NetworkPathIsUnchanged)
{
    EXPECT_EQ(NormaliseLongPath("//server/share/Memo.qlw"), "//server/share/Memo.qlw");
}

TEST(ToolNormaliseLongPath, RelativePathIsLookedUpFromTheCurrentFolderAndStaysRelative)
{
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("sub")));
    ASSERT_TRUE(Sandbox::writeBytes(dir.filePath("sub/a.qlw"), ""));
    ScopedCurrentFolder cd(dir.path());
    EXPECT_EQ(NormaliseLongPath("sub/a.qlw"), "sub/a.qlw");
    EXPECT_EQ(NormaliseLongPath("./sub/a.qlw"), "./sub/a.qlw");
    EXPECT_EQ(NormaliseLongPath("missing/a.qlw"), "missing/a.qlw");
}

// ------------------------------------------------------- temporary files

TEST(ToolMakeTempFile, CountsUpFromZero)
{
    QTemporaryDir dir;
    TempFile first = MakeTempFile("drag", "qlt", dir.path());
    ASSERT_TRUE(first.ok());
    EXPECT_EQ(first.path, dir.filePath("drag0.qlt"));
    EXPECT_TRUE(first.file->isOpen());
    EXPECT_TRUE(first.file->isWritable());
    first.file->write("card");
    first.file->close();

    TempFile second = MakeTempFile("drag", "qlt", dir.path());
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(second.path, dir.filePath("drag1.qlt"));
    EXPECT_EQ(Sandbox::readBytes(first.path), QByteArray("card"));
}

TEST(ToolMakeTempFile, SkipsExistingCandidates)
{
    QTemporaryDir dir;
    ASSERT_TRUE(Sandbox::writeBytes(dir.filePath("Temp0.txt"), "a"));
    ASSERT_TRUE(Sandbox::writeBytes(dir.filePath("Temp1.txt"), "b"));
    TempFile t = MakeTempFile("Temp", "txt", dir.path());
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t.path, dir.filePath("Temp2.txt"));
    EXPECT_EQ(Sandbox::readBytes(dir.filePath("Temp0.txt")), QByteArray("a"));
    EXPECT_EQ(Sandbox::readBytes(dir.filePath("Temp1.txt")), QByteArray("b"));
}

TEST(ToolMakeTempFile, NeverFollowsAPlantedLink)
{
    QTemporaryDir dir;
    QTemporaryDir elsewhere;
    // A dangling link would make a plain open create the file it points to.
    const QString victim = elsewhere.filePath("victim");
    ASSERT_TRUE(QFile::link(victim, dir.filePath("drag0.qlt")));
    // A link to an existing file would have it truncated and overwritten.
    const QString precious = elsewhere.filePath("precious");
    ASSERT_TRUE(Sandbox::writeBytes(precious, "keep"));
    ASSERT_TRUE(QFile::link(precious, dir.filePath("drag1.qlt")));

    TempFile t = MakeTempFile("drag", "qlt", dir.path());
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(t.path, dir.filePath("drag2.qlt"));
    t.file->write("mine");
    t.file->close();
    EXPECT_FALSE(QFileInfo(t.path).isSymLink());
    EXPECT_FALSE(QFileInfo::exists(victim));
    EXPECT_EQ(Sandbox::readBytes(precious), QByteArray("keep"));
}

TEST(ToolMakeTempFile, DefaultsToTheSystemTemporaryFolder)
{
    TempFile t = MakeTempFile("tooltest", "tmp");
    ASSERT_TRUE(t.ok());
    EXPECT_EQ(QFileInfo(t.path).absolutePath(), QFileInfo(QDir::tempPath()).absoluteFilePath());
    EXPECT_TRUE(t.path.startsWith(Sandbox::root())); // TMPDIR is in the sandbox
    t.file->close();
    QFile::remove(t.path);
}

TEST(ToolMakeTempFile, MissingFolderFailsAtOnce)
{
    QTemporaryDir dir;
    TempFile t = MakeTempFile("drag", "qlt", dir.filePath("missing"));
    EXPECT_FALSE(t.ok());
    EXPECT_TRUE(t.path.isEmpty());
}

// -------------------------------------------------------------- the shell

TEST(ToolOpenWithShell, AddressesGoToTheShellUnchanged)
{
    const char *addresses[] = {
        "mailto:info@example.jp",   "MAILTO:info@example.jp", "http://example.jp/",   "HTTP://example.jp/",
        "https://example.jp/a?b=c", "Https://example.jp/",    "ftp://example.jp/pub", "FTP://example.jp/",
    };
    for (const char *address : addresses) {
        FakeShell shell;
        shell.answer = false; // the shell's answer does not count for addresses
        EXPECT_TRUE(OpenWithShell(shell, address)) << address;
        EXPECT_EQ(shell.opened, QStringList{address});
    }
}

TEST(ToolOpenWithShell, ExistingFileGivesTheShellsAnswer)
{
    QTemporaryDir dir;
    const QString file = dir.filePath("Temp.html");
    ASSERT_TRUE(Sandbox::writeBytes(file, "<html>"));
    FakeShell shell;
    EXPECT_TRUE(OpenWithShell(shell, file));
    shell.answer = false;
    EXPECT_FALSE(OpenWithShell(shell, file));
    EXPECT_EQ(shell.opened, (QStringList{file, file}));
}

TEST(ToolOpenWithShell, AnythingElseDoesNothing)
{
    QTemporaryDir dir;
    const char *others[] = {"", "httpx://example.jp", "file:///etc/passwd", "www.example.jp", "mailto"};
    FakeShell shell;
    for (const char *other : others)
        EXPECT_FALSE(OpenWithShell(shell, other)) << other;
    EXPECT_FALSE(OpenWithShell(shell, dir.filePath("missing.html")));
    EXPECT_FALSE(OpenWithShell(shell, dir.path())); // a folder is no file
    EXPECT_TRUE(shell.opened.isEmpty());
}

// ------------------------------------------------------- rename and remove

TEST(ToolRenameFile, RenamesWithinTheFolder)
{
    QTemporaryDir dir;
    const QString from = dir.filePath("QLTWIN0.qlt");
    ASSERT_TRUE(Sandbox::writeBytes(from, "x"));
    EXPECT_EQ(RenameFile(from, q("題名.qlt")), 0);
    EXPECT_FALSE(QFileInfo::exists(from));
    EXPECT_EQ(Sandbox::readBytes(dir.filePath(q("題名.qlt"))), QByteArray("x"));
}

TEST(ToolRenameFile, SameNameIsNoChange)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("a.qlt");
    ASSERT_TRUE(Sandbox::writeBytes(path, "x"));
    EXPECT_EQ(RenameFile(path, "a.qlt"), 0);
    EXPECT_EQ(RenameFile(path, path), 0);
    EXPECT_TRUE(QFileInfo::exists(path));
}

TEST(ToolRenameFile, ErrorsGiveOne)
{
    QTemporaryDir dir;
    const QString a = dir.filePath("a.qlt");
    const QString b = dir.filePath("b.qlt");
    ASSERT_TRUE(Sandbox::writeBytes(a, "a"));
    ASSERT_TRUE(Sandbox::writeBytes(b, "b"));
    EXPECT_EQ(RenameFile(a, "b.qlt"), 1); // never replaces another file
    EXPECT_EQ(Sandbox::readBytes(a), QByteArray("a"));
    EXPECT_EQ(Sandbox::readBytes(b), QByteArray("b"));
    EXPECT_EQ(RenameFile(dir.filePath("missing.qlt"), "c.qlt"), 1);
    EXPECT_EQ(RenameFile(a, ""), 1);
}

TEST(ToolRemoveFile, RemovesAndReportsFive)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("Temp0.txt");
    ASSERT_TRUE(Sandbox::writeBytes(path, "x"));
    EXPECT_EQ(RemoveFile(path, false), 0);
    EXPECT_FALSE(QFileInfo::exists(path));
    EXPECT_EQ(RemoveFile(path, false), 5);
    EXPECT_EQ(RemoveFile(dir.path(), true), 5);
    EXPECT_TRUE(QFileInfo(dir.path()).isDir());
}

TEST(ToolRemoveFile, ReadOnlyFileNeedsForce)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("ro.txt");
    ASSERT_TRUE(Sandbox::writeBytes(path, "x"));
    ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::ReadGroup));
    EXPECT_EQ(RemoveFile(path, false), 5);
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_EQ(RemoveFile(path, true), 0);
    EXPECT_FALSE(QFileInfo::exists(path));
}

TEST(ToolRemoveFile, RemovesALinkNotItsTarget)
{
    QTemporaryDir dir;
    const QString target = dir.filePath("target");
    const QString link = dir.filePath("link");
    ASSERT_TRUE(Sandbox::writeBytes(target, "x"));
    ASSERT_TRUE(QFile::link(target, link));
    EXPECT_EQ(RemoveFile(link, false), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    EXPECT_TRUE(QFileInfo::exists(target));
}

// ------------------------------------------------------ folder browsing

TEST(ToolBrowseForFolder, PassesPromptAndStartAndCutsAtNul)
{
    FakeDialogs dialogs;
    dialogs.folders.enqueue(QString::fromLatin1("/home/u/out\0garbage", 19));
    EXPECT_EQ(BrowseForFolder(dialogs, "/home/u", q("出力先フォルダを選択してください")), "/home/u/out");
    ASSERT_EQ(dialogs.records.size(), 1);
    EXPECT_EQ(dialogs.records.first().kind, "chooseFolder");
    EXPECT_EQ(dialogs.records.first().prompt, q("出力先フォルダを選択してください"));
    EXPECT_EQ(dialogs.records.first().defaultText, "/home/u");
}

TEST(ToolBrowseForFolder, CancelGivesEmpty)
{
    FakeDialogs dialogs;
    dialogs.folders.enqueue(std::nullopt);
    EXPECT_TRUE(BrowseForFolder(dialogs, "", "x").isEmpty());
}
