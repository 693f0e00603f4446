#include "core/common/inimente.h"
#include "core/common/win31j.h"

#include "support/sandbox.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

using Build = iniMente::Build;

namespace {

class IniFiles : public ::testing::Test
{
protected:
    QString path(const QString &name = QStringLiteral("test.ini")) const { return m_dir.filePath(name); }

    // A store of the given build loaded from bytes written to a file.
    iniMente loaded(const QByteArray &bytes, Build build = Build::QltWin)
    {
        EXPECT_TRUE(Sandbox::writeBytes(path(), bytes));
        iniMente ini(build);
        EXPECT_TRUE(ini.iniLoader(path()));
        return ini;
    }

    // The bytes a save of the store produces.
    QByteArray saved(iniMente &ini, const QString &name = QStringLiteral("out.ini"))
    {
        QFile::remove(path(name));
        EXPECT_TRUE(ini.iniSaver(path(name)));
        return Sandbox::readBytes(path(name));
    }

    QTemporaryDir m_dir;
};

QString text(const QVariant &v)
{
    return iniMente::textOf(v);
}

// A device that hands out its bytes and then fails, like a disk that breaks
// in the middle of a file.
class FailingDevice : public QIODevice
{
public:
    explicit FailingDevice(QByteArray good) : m_good(std::move(good))
    {
        open(QIODevice::ReadOnly | QIODevice::Unbuffered);
    }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char *data, qint64 maxSize) override
    {
        if (m_pos >= m_good.size()) {
            setErrorString(QStringLiteral("I/O error"));
            return -1;
        }
        const qint64 n = std::min<qint64>(maxSize, m_good.size() - m_pos);
        memcpy(data, m_good.constData() + m_pos, size_t(n));
        m_pos += n;
        return n;
    }
    qint64 writeData(const char *, qint64) override { return -1; }

private:
    QByteArray m_good;
    qint64 m_pos = 0;
};

// Saves in a child process whose files may not grow past limit bytes, as on
// a full disk. Exit status 0: the save reported success, 1: failure.
int saveUnderSizeLimit(iniMente &ini, const QString &path, rlim_t limit)
{
    const pid_t pid = fork();
    if (pid == 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit rl{limit, limit};
        setrlimit(RLIMIT_FSIZE, &rl);
        _exit(ini.iniSaver(path) ? 0 : 1);
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

// ---------------------------------------------------------------- parsing

struct LineCase {
    const char *label;
    QByteArray line;
    QString name;
    QString value;
};

static void PrintTo(const LineCase &c, std::ostream *os)
{
    *os << c.label;
}

class IniLineParsing : public IniFiles, public ::testing::WithParamInterface<LineCase>
{
};

TEST_P(IniLineParsing, GivesNameAndValue)
{
    const LineCase &c = GetParam();
    iniMente ini = loaded(c.line);
    ASSERT_EQ(ini.lastIndex(), 0);
    EXPECT_EQ(ini.nameAt(0), c.name);
    EXPECT_EQ(text(ini.valueAt(0)), c.value);
    EXPECT_EQ(ini.valueAt(0).typeId(), QMetaType::QString) << "values read from a file are texts";
}

INSTANTIATE_TEST_SUITE_P(
    KeyLines, IniLineParsing,
    ::testing::Values(LineCase{"Plain", "key=value", "key", "value"},
                      LineCase{"SpacesAroundNameLeadingOfValue", "  key  =   value  ", "key", "value  "},
                      LineCase{"SplitAtFirstEquals", "a=b=c", "a", "b=c"}, LineCase{"EmptyName", "=x", "", "x"},
                      LineCase{"EmptyValue", "key =", "key", ""}, LineCase{"AllSpacesValue", "key=    ", "key", ""},
                      LineCase{"TabsAreKept", "\tkey\t=\tvalue\t", "\tkey\t", "\tvalue\t"},
                      LineCase{"SpaceBeforeCommentMakesAKey", "  ;x=1", ";x", "1"},
                      LineCase{"SpaceInsideName", "my key = my value", "my key", "my value"}),
    [](const auto &row) { return std::string(row.param.label); });

INSTANTIATE_TEST_SUITE_P(VerbatimLines, IniLineParsing,
                         ::testing::Values(LineCase{"Semicolon", ";k=v", "*REM*", ";k=v"},
                                           LineCase{"Hash", "#k=v", "*REM*", "#k=v"},
                                           LineCase{"Slash", "//k=v", "*REM*", "//k=v"},
                                           LineCase{"SectionHeader", "[Section]", "*REM*", "[Section]"},
                                           LineCase{"SectionWithEquals", "[a=b]", "*REM*", "[a=b]"},
                                           LineCase{"GeneralHeader", "[General]", "*REM*", "[General]"},
                                           LineCase{"NoEquals", "  just some words  ", "*REM*", "  just some words  "},
                                           LineCase{"Blank", "\r\n", "*REM*", ""},
                                           LineCase{"OnlySpaces", "   ", "*REM*", "   "}),
                         [](const auto &row) { return std::string(row.param.label); });

struct FileCase {
    const char *label;
    QByteArray bytes;
    QStringList names;
    QStringList values;
};

static void PrintTo(const FileCase &c, std::ostream *os)
{
    *os << c.label;
}

class IniLineEnds : public IniFiles, public ::testing::WithParamInterface<FileCase>
{
};

TEST_P(IniLineEnds, SplitsLinesAtCrOrCrLf)
{
    const FileCase &c = GetParam();
    iniMente ini = loaded(c.bytes);
    ASSERT_EQ(ini.lastIndex() + 1, c.names.size());
    for (int i = 0; i <= ini.lastIndex(); ++i) {
        EXPECT_EQ(ini.nameAt(i), c.names.at(i)) << i;
        EXPECT_EQ(text(ini.valueAt(i)), c.values.at(i)) << i;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, IniLineEnds,
                         ::testing::Values(FileCase{"EmptyFile", "", {}, {}},
                                           FileCase{"LastLineWithoutEnd", "a=1\r\nb=2", {"a", "b"}, {"1", "2"}},
                                           FileCase{
                                               "EndingWithCrLfAddsNoLine", "a=1\r\nb=2\r\n", {"a", "b"}, {"1", "2"}},
                                           FileCase{"LoneCr", "a=1\rb=2\r", {"a", "b"}, {"1", "2"}},
                                           FileCase{"LoneLfStaysInLine", "a=1\nb=2\r\n", {"a"}, {"1\nb=2"}},
                                           FileCase{"BlankLastLine", "a=1\r\n\r\n", {"a", "*REM*"}, {"1", ""}},
                                           FileCase{"CrBeforeCrLf", "a=1\r\r\n", {"a", "*REM*"}, {"1", ""}},
                                           FileCase{"OnlyLineEnd", "\r\n", {"*REM*"}, {""}}),
                         [](const auto &row) { return std::string(row.param.label); });

TEST_F(IniFiles, EmptyFileGivesEmptyStoreThatWritesNothing)
{
    iniMente ini = loaded("");
    EXPECT_EQ(ini.lastIndex(), -1);
    ASSERT_TRUE(ini.iniSaver(path()));
    EXPECT_EQ(Sandbox::readBytes(path()), QByteArray()) << "the empty file stays as it was";
}

TEST_F(IniFiles, SameKeyTwiceReadsAndWritesTheFirst)
{
    iniMente ini = loaded("k=1\r\nk=2\r\n");
    EXPECT_EQ(text(ini.GetiniValue("k")), "1");
    ini.SetiniValue("K", "9");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nk = 9\r\nk = 2\r\n"));
}

TEST_F(IniFiles, SectionsShareOneNameSpace)
{
    iniMente ini = loaded("[A]\r\nk=1\r\n[B]\r\nk=2\r\n");
    EXPECT_EQ(text(ini.GetiniValue("k")), "1");
}

TEST_F(IniFiles, SuccessfulLoadReplacesAllEntries)
{
    iniMente ini;
    ini.SetiniValue("Old", "1");
    ASSERT_TRUE(Sandbox::writeBytes(path(), "New=2\r\n"));
    ASSERT_TRUE(ini.iniLoader(path()));
    EXPECT_EQ(ini.lastIndex(), 0);
    EXPECT_EQ(ini.nameAt(0), "New");
    EXPECT_EQ(ini.GetiniFilename(), path());
}

// ------------------------------------------------------------- load failures

TEST_F(IniFiles, MissingFileKeepsEntriesAndNameSoALaterSaveCreatesIt)
{
    iniMente ini;
    ini.SetiniValue("Kept", "yes");
    EXPECT_FALSE(ini.iniLoader(path("missing.ini")));
    EXPECT_EQ(text(ini.GetiniValue("Kept")), "yes");
    EXPECT_EQ(ini.GetiniFilename(), path("missing.ini"));
    EXPECT_TRUE(ini.iniSaverSameFilename());
    EXPECT_EQ(Sandbox::readBytes(path("missing.ini")), QByteArray("[General]\r\nKept = yes\r\n"));
}

TEST_F(IniFiles, FolderInPlaceOfFileCountsAsMissing)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("folder.ini"));
    iniMente ini;
    ini.SetiniValue("Kept", "yes");
    EXPECT_FALSE(ini.iniLoader(path("folder.ini")));
    EXPECT_EQ(ini.lastIndex(), 0);
}

TEST_F(IniFiles, UnreadableFileGivesFalseAndAnEmptyStore)
{
    ASSERT_TRUE(Sandbox::writeBytes(path(), "a=1\r\n"));
    QFile::setPermissions(path(), QFileDevice::Permissions());
    if (QFile f(path()); f.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "this user (root) reads any file, so no file is unreadable";
    iniMente ini;
    ini.SetiniValue("Old", "1");
    EXPECT_FALSE(ini.iniLoader(path()));
    EXPECT_EQ(ini.lastIndex(), -1);
}

TEST(IniDevice, ReadErrorInTheMiddleKeepsTheCompleteLinesRead)
{
    FailingDevice device("a=1\r\nb=2\r\nc=trunc");
    iniMente ini;
    ini.SetiniValue("Old", "1");
    EXPECT_FALSE(ini.iniLoaderFromDevice(device));
    ASSERT_EQ(ini.lastIndex(), 1);
    EXPECT_EQ(text(ini.GetiniValue("a")), "1");
    EXPECT_EQ(text(ini.GetiniValue("b")), "2");
    EXPECT_FALSE(ini.GetiniValue("c").isValid()) << "a line cut off by the error is not taken";
    EXPECT_FALSE(ini.GetiniValue("Old").isValid());
}

TEST(IniDevice, CompleteDeviceReadsLikeAFile)
{
    QByteArray bytes("[General]\r\nx=1");
    QBuffer buffer(&bytes);
    ASSERT_TRUE(buffer.open(QIODevice::ReadOnly));
    iniMente ini;
    EXPECT_TRUE(ini.iniLoaderFromDevice(buffer));
    EXPECT_EQ(ini.lastIndex(), 1);
    EXPECT_EQ(text(ini.GetiniValue("X")), "1");
}

// ------------------------------------------------------- saving and header

TEST_F(IniFiles, HeaderIsWrittenOnceAndEqualsGainsSpaces)
{
    iniMente ini = loaded("[General]\r\nKey=1\r\n");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nKey = 1\r\n"));
}

TEST_F(IniFiles, HeaderIsAddedToAFileWithoutOne)
{
    iniMente ini = loaded("Key=1");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nKey = 1\r\n"));
}

TEST_F(IniFiles, VerbatimLinesComeBackUnchangedInPlace)
{
    const QByteArray file = "; comment = 1\r\n"
                            "\r\n"
                            "[Other]\r\n"
                            "k=v\r\n"
                            "  no equals here\r\n"
                            "#x=y\r\n"
                            "/path=z\r\n"
                            "   \r\n"
                            "last=  keep trailing  \r\n";
    iniMente ini = loaded(file);
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\n"
                                     "; comment = 1\r\n"
                                     "\r\n"
                                     "[Other]\r\n"
                                     "k = v\r\n"
                                     "  no equals here\r\n"
                                     "#x=y\r\n"
                                     "/path=z\r\n"
                                     "   \r\n"
                                     "last = keep trailing  \r\n"));
}

TEST_F(IniFiles, GeneralHeaderLaterInTheFileIsDroppedToo)
{
    iniMente ini = loaded("[A]\r\na=1\r\n[General]\r\nb=2\r\n");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\n[A]\r\na = 1\r\nb = 2\r\n"));
}

TEST_F(IniFiles, KeyHoldingTheHeaderTextIsKept)
{
    iniMente ini = loaded("[General]\r\nTitle=[General]\r\n");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nTitle = [General]\r\n"));
}

TEST_F(IniFiles, LauncherWritesNoHeaderButKeepsStoredHeaderLines)
{
    iniMente ini = loaded("[General]\r\nRecentFile0=C:/a.qlw\r\nRecentFile1=\r\n", Build::QltLaunch);
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nRecentFile0 = C:/a.qlw\r\nRecentFile1 = \r\n"));

    iniMente bare(Build::QltLaunch);
    bare.SetiniValue("k", "v");
    bare.SetiniValue("gone", "x");
    bare.DeliniValue("gone");
    EXPECT_EQ(saved(bare), QByteArray("k = v\r\n"));
}

TEST_F(IniFiles, ValuesAreWrittenInTheirTextForm)
{
    iniMente ini;
    ini.SetiniValue("TreeViewVisible", true);
    ini.SetiniValue("SeikiHyougen", false);
    ini.SetiniValue("Column1Width", 6999.875);
    ini.SetiniValue("Column2Width", 3000.189);
    ini.SetiniValue("SingleWidth", 3000.189f);
    ini.SetiniValue("Column3Width", 1440.0);
    ini.SetiniValue("Color1", -2147483630);
    ini.SetiniValue("Big", qlonglong(4294967296));
    ini.SetiniValue("Fraction", -0.5);
    ini.SetiniValue("Empty", QString());
    ini.SetiniValue("Nothing", QVariant());
    ini.SetiniValue("Text", QStringLiteral("C:/x y.qlw"));
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\n"
                                     "TreeViewVisible = True\r\n"
                                     "SeikiHyougen = False\r\n"
                                     "Column1Width = 6999.875\r\n"
                                     "Column2Width = 3000.189\r\n"
                                     "SingleWidth = 3000.189\r\n"
                                     "Column3Width = 1440\r\n"
                                     "Color1 = -2147483630\r\n"
                                     "Big = 4294967296\r\n"
                                     "Fraction = -0.5\r\n"
                                     "Empty = \r\n"
                                     "Nothing = \r\n"
                                     "Text = C:/x y.qlw\r\n"));
}

TEST_F(IniFiles, VerbatimLinesAddedByCallerAlwaysAppend)
{
    iniMente ini = loaded("; first\r\n");
    ini.SetiniValue(iniMente::RemMarker, "; second");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\n; first\r\n; second\r\n"));
}

TEST_F(IniFiles, CarriageReturnInValueCannotForgeKeys)
{
    iniMente ini;
    ini.SetiniValue("RecentFile0", "/tmp/a\rEvil=1\r\nMore=2");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nRecentFile0 = /tmp/a\nEvil=1\nMore=2\r\n"));
    iniMente back;
    ASSERT_TRUE(back.iniLoader(path("out.ini")));
    EXPECT_EQ(back.lastIndex(), 1);
    EXPECT_FALSE(back.GetiniValue("Evil").isValid());
}

TEST_F(IniFiles, EmptyStoreWritesNothingAndSucceeds)
{
    for (Build build : {Build::QltWin, Build::QltLaunch}) {
        iniMente ini(build);
        EXPECT_TRUE(ini.iniSaver(path("never.ini")));
        EXPECT_FALSE(QFile::exists(path("never.ini")));
        EXPECT_EQ(ini.GetiniFilename(), path("never.ini"));

        ASSERT_TRUE(Sandbox::writeBytes(path("old.ini"), "old=1\r\n"));
        EXPECT_TRUE(ini.iniSaver(path("old.ini")));
        EXPECT_EQ(Sandbox::readBytes(path("old.ini")), QByteArray("old=1\r\n"));
    }
}

TEST_F(IniFiles, StoreOfDeletedKeysOnlyWritesTheHeader)
{
    iniMente ini;
    ini.SetiniValue("a", "1");
    ini.DeliniValue("a");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\n"));
}

// ------------------------------------------------------------ failed saves

TEST_F(IniFiles, SaveIntoReadOnlyFolderFailsAndKeepsOldFile)
{
    const QString folder = path("locked");
    ASSERT_TRUE(QDir(m_dir.path()).mkdir("locked"));
    const QString target = folder + "/settings.ini";
    ASSERT_TRUE(Sandbox::writeBytes(target, "[General]\r\nold = 1\r\n"));
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    const bool folderWritable = Sandbox::writeBytes(folder + "/probe", "x");
    if (!folderWritable) {
        iniMente ini;
        ini.SetiniValue("new", "2");
        EXPECT_FALSE(ini.iniSaver(target));
        EXPECT_EQ(Sandbox::readBytes(target), QByteArray("[General]\r\nold = 1\r\n"));
    }
    QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (folderWritable)
        GTEST_SKIP() << "this user (root) writes into any folder, so no folder is read-only";
}

TEST_F(IniFiles, SaveThatRunsOutOfSpaceKeepsOldFile)
{
    const QByteArray old("[General]\r\nold = 1\r\n");
    ASSERT_TRUE(Sandbox::writeBytes(path(), old));
    iniMente ini;
    for (int n = 0; n < 2000; ++n)
        ini.SetiniValue(QStringLiteral("Key%1").arg(n), QString(60, u'x'));
    EXPECT_EQ(saveUnderSizeLimit(ini, path(), 16 * 1024), 1);
    EXPECT_EQ(Sandbox::readBytes(path()), old);
}

TEST_F(IniFiles, SaveBelowAFileFails)
{
    ASSERT_TRUE(Sandbox::writeBytes(path("plain"), "x"));
    iniMente ini;
    ini.SetiniValue("a", "1");
    EXPECT_FALSE(ini.iniSaver(path("plain") + "/sub.ini"));
    EXPECT_EQ(ini.GetiniFilename(), path("plain") + "/sub.ini");
}

// -------------------------------------------------------- read with default

TEST(IniReadDefault, QltWinStoresAskedDefaults)
{
    iniMente ini(Build::QltWin);
    ini.SetiniValue("Present", "p");
    EXPECT_EQ(ini.GetiniValue("TreeViewVisible", true), QVariant(true));
    EXPECT_EQ(ini.GetiniValue("HTMLMode"), QVariant()) << "no default, nothing stored";
    EXPECT_EQ(text(ini.GetiniValue("Present", "other")), "p");
    EXPECT_EQ(text(ini.GetiniValue("EmptyDefault", QStringLiteral(""))), "");
    EXPECT_EQ(ini.iniSavertoVariable(), "Present = p\r\nTreeViewVisible = True\r\nEmptyDefault = \r\n");
}

TEST(IniReadDefault, QltLaunchNeverAddsOnRead)
{
    iniMente ini(Build::QltLaunch);
    EXPECT_EQ(ini.GetiniValue("MissingKey", 26), QVariant(26));
    EXPECT_EQ(text(ini.GetiniValue("EmptyDefault", QStringLiteral(""))), "");
    EXPECT_EQ(ini.lastIndex(), -1);
}

TEST(IniReadDefault, NamesMatchWithoutLetterCaseAndKeepTheFirstWritersCase)
{
    iniMente ini;
    ini.SetiniValue("ListFontSize", 9);
    ini.SetiniValue("LISTFONTSIZE", 12);
    ini.SetiniValue("ＡＢ", "wide");
    EXPECT_EQ(ini.lastIndex(), 1);
    EXPECT_EQ(ini.nameAt(0), "ListFontSize");
    EXPECT_EQ(text(ini.GetiniValue("listfontsize")), "12");
    EXPECT_EQ(text(ini.GetiniValue("ａｂ")), "wide");
}

// ---------------------------------------------------- deletion and revival

TEST_F(IniFiles, DeletedKeyReadsAsMarkerIsOmittedAndRevivesInPlace)
{
    iniMente ini = loaded("[General]\r\nA=1\r\nX=2\r\nB=3\r\n");
    EXPECT_TRUE(ini.DeliniValue("x"));
    EXPECT_EQ(text(ini.GetiniValue("X", "default")), "*DEL*");
    EXPECT_EQ(text(ini.GetiniValue("X")), "*DEL*");
    EXPECT_EQ(ini.lastIndex(), 3) << "the entry stays in the list";
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nA = 1\r\nB = 3\r\n"));

    ini.SetiniValue("X", "back");
    EXPECT_EQ(saved(ini), QByteArray("[General]\r\nA = 1\r\nX = back\r\nB = 3\r\n"));
}

TEST(IniDeletion, DeletingAMissingKeyWritesNothingForIt)
{
    iniMente ini;
    ini.SetiniValue("A", "1");
    ini.DeliniValue("Ghost");
    EXPECT_EQ(ini.iniSavertoVariable(), "A = 1\r\n");
}

TEST(IniMakeItem, SetsOnlyMissingOrEmptyKeys)
{
    iniMente ini;
    ini.SetiniValue("Empty", "");
    ini.SetiniValue("Set", "keep");
    ini.SetiniValue("Gone", "x");
    ini.DeliniValue("Gone");
    EXPECT_FALSE(ini.MakeiniItem("Missing", 9).isValid());
    ini.MakeiniItem("Empty", "filled");
    ini.MakeiniItem("Set", "other");
    ini.MakeiniItem("Gone", "revived?");
    EXPECT_EQ(text(ini.GetiniValue("Missing")), "9");
    EXPECT_EQ(text(ini.GetiniValue("Empty")), "filled");
    EXPECT_EQ(text(ini.GetiniValue("Set")), "keep");
    EXPECT_EQ(text(ini.GetiniValue("Gone")), "*DEL*");
}

// --------------------------------------------------------- numbered families

TEST(IniFamilies, DeliniGroupStopsAtTheFirstGap)
{
    iniMente ini;
    ini.SetiniValue("File0", "a");
    ini.SetiniValue("File1", "b");
    ini.SetiniValue("File3", "d");
    ini.SetiniValue("Other", "o");
    EXPECT_TRUE(ini.DeliniGroup("File"));
    EXPECT_EQ(ini.iniSavertoVariable(), "File3 = d\r\nOther = o\r\n");
}

TEST(IniFamilies, DeliniGroupPassesOverMembersDeletedBefore)
{
    iniMente ini;
    ini.SetiniValue("File0", "a");
    ini.SetiniValue("File1", "b");
    ini.SetiniValue("File2", "c");
    ini.DeliniValue("File1");
    ini.DeliniGroup("File");
    EXPECT_EQ(ini.iniSavertoVariable(), "");
}

TEST(IniFamilies, DeliniGroupStopsAtAnEmptyMember)
{
    iniMente ini;
    ini.SetiniValue("RecentFile0", "a");
    ini.SetiniValue("RecentFile1", "");
    ini.SetiniValue("RecentFile2", "c");
    ini.DeliniGroup("RecentFile");
    EXPECT_EQ(ini.iniSavertoVariable(), "RecentFile1 = \r\nRecentFile2 = c\r\n");
}

struct SearchCase {
    const char *label;
    QVariant item;
    bool noCheckCase;
    int expected;
};

static void PrintTo(const SearchCase &c, std::ostream *os)
{
    *os << c.label;
}

class IniSearchinGroup : public ::testing::TestWithParam<SearchCase>
{
};

TEST_P(IniSearchinGroup, FindsTheCounterOfTheFirstEqualMember)
{
    iniMente ini;
    ini.SetiniValue("RecentFile0", "C:/Data/Memo.qlw");
    ini.SetiniValue("RecentFile1", "C:/other.qlw");
    ini.SetiniValue("RecentFile3", "C:/beyond.qlw");
    ini.SetiniValue("RecentFile4", "C:/other.qlw");
    ini.SetiniValue("Count0", "10");
    const SearchCase &c = GetParam();
    const QString family = c.item.typeId() == QMetaType::Int ? "Count" : "RecentFile";
    EXPECT_EQ(ini.SearchinGroup(family, c.item, c.noCheckCase), c.expected);
    EXPECT_EQ(ini.lastIndex(), 4) << "searching adds nothing";
}

INSTANTIATE_TEST_SUITE_P(Cases, IniSearchinGroup,
                         ::testing::Values(SearchCase{"Exact", QVariant("C:/Data/Memo.qlw"), false, 0},
                                           SearchCase{"CaseDiffersExact", QVariant("c:/data/memo.qlw"), false, -1},
                                           SearchCase{"CaseDiffersNoCheck", QVariant("c:/data/memo.qlw"), true, 0},
                                           SearchCase{"SecondMember", QVariant("C:/OTHER.qlw"), true, 1},
                                           SearchCase{"NeverPastTheGap", QVariant("C:/beyond.qlw"), false, -1},
                                           SearchCase{"NumberAgainstText", QVariant(10), false, 0},
                                           SearchCase{"NotThere", QVariant("C:/nowhere.qlw"), true, -1}),
                         [](const auto &row) { return std::string(row.param.label); });

TEST(IniFamilies, SearchInEmptyFamilyGivesMinusOne)
{
    iniMente ini;
    EXPECT_EQ(ini.SearchinGroup("File", "x", true), -1);
}

TEST(IniFamilies, GetiniGroup2WalksThePrefixAndContinuesOnEmptyName)
{
    iniMente ini;
    ini.SetiniValue("Hina0", "a");
    ini.SetiniValue("Other", "o");
    ini.SetiniValue("hinaX", "b");
    ini.SetiniValue("HINA2", "c");
    ini.DeliniValue("HINA2");
    using Pair = std::pair<QString, QString>;
    EXPECT_EQ(ini.GetiniGroup2("Hina"), Pair("Hina0", "a"));
    EXPECT_EQ(ini.GetiniGroup2(""), Pair("hinaX", "b"));
    EXPECT_EQ(ini.GetiniGroup2(""), Pair("HINA2", "*DEL*")) << "deleted entries are not skipped";
    EXPECT_EQ(ini.GetiniGroup2(""), Pair("", ""));
    EXPECT_EQ(ini.GetiniGroup2(""), Pair("", ""));
    EXPECT_EQ(ini.GetiniGroup2("Oth"), Pair("Other", "o")) << "a new prefix starts over";
}

TEST(IniFamilies, GetiniGroup2FindsVerbatimLinesByTheirMarker)
{
    iniMente ini;
    ini.SetiniValue(iniMente::RemMarker, "; note");
    ini.SetiniValue("key", "v");
    EXPECT_EQ(ini.GetiniGroup2("*rem"), std::make_pair(QString("*REM*"), QString("; note")));
    EXPECT_EQ(ini.GetiniGroup2(""), std::make_pair(QString(""), QString("")));
}

TEST(IniFamilies, GetiniGroup2OnEmptyStoreGivesEmptyPair)
{
    iniMente ini;
    EXPECT_EQ(ini.GetiniGroup2("File"), std::make_pair(QString(""), QString("")));
}

// ------------------------------------------------------- iniSavertoVariable

TEST_F(IniFiles, SavertoVariableHasNoHeaderButKeepsStoredOnes)
{
    iniMente ini = loaded("[General]\r\n;c\r\nk=v\r\nd=x\r\n");
    ini.DeliniValue("d");
    ini.SetiniValue("n", 2);
    EXPECT_EQ(ini.iniSavertoVariable(), "[General]\r\n;c\r\nk = v\r\nn = 2\r\n");
    EXPECT_EQ(iniMente().iniSavertoVariable(), "");
}

// ------------------------------------------------------------ Windows-31J

TEST_F(IniFiles, ShiftJisValueReadsAndWritesBackByteForByte)
{
    // 題名=ＭＳ Ｐゴシック, 表示=C:\雛形\HinaText.qlw (0x5C as trail and as
    // separator), ソフト=能
    const QByteArray file = "[General]\r\n"
                            + QByteArray::fromHex("91e896bc"
                                                  "3d"
                                                  "826c8272"
                                                  "20"
                                                  "826f835383568362834e")
                            + "\r\n"
                            + QByteArray::fromHex("955c8ea6"
                                                  "3d"
                                                  "433a5c"
                                                  "90978c60"
                                                  "5c")
                            + "HinaText.qlw\r\n"
                            + QByteArray::fromHex("835c83748367"
                                                  "3d"
                                                  "945c")
                            + "\r\n";
    iniMente ini = loaded(file);
    EXPECT_EQ(text(ini.GetiniValue(QStringLiteral("題名"))), QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(text(ini.GetiniValue(QStringLiteral("表示"))), QStringLiteral("C:\\雛形\\HinaText.qlw"));
    EXPECT_EQ(text(ini.GetiniValue(QStringLiteral("ソフト"))), QStringLiteral("能"));

    QByteArray expected = file;
    expected.replace("=", " = ");
    EXPECT_EQ(saved(ini), expected);
    EXPECT_EQ(ini.lastSaveUnmappable(), 0);
}

TEST_F(IniFiles, CharactersWindows31JCannotHoldAreCounted)
{
    if (Win31J::countUnmappable(u"\u00e9") == 0)
        GTEST_SKIP() << "the codec in this build does not count unmappable characters";
    iniMente ini;
    ini.SetiniValue("Name", QStringLiteral("caf\u00e9 \u00e9"));
    const QByteArray bytes = saved(ini);
    EXPECT_EQ(ini.lastSaveUnmappable(), 2);
    EXPECT_EQ(bytes, QByteArray("[General]\r\nName = caf? ?\r\n"));
}

TEST_F(IniFiles, InvalidBytesAreCountedOnLoad)
{
    Win31J::DecodeStats probe;
    Win31J::decode("\x81", &probe);
    if (probe.invalidCount == 0)
        GTEST_SKIP() << "the codec in this build does not count invalid bytes";
    iniMente ini = loaded("a=ok\r\nb=\x81\r\n");
    EXPECT_EQ(ini.lastLoadInvalid(), 1);
    EXPECT_EQ(text(ini.GetiniValue("a")), "ok");
}
