// The active settings store: its files, the fill-in, the switch between
// per-file and general settings, and the typed reads.
#include "core/common/version.h"
#include "core/common/win31j.h"
#include "core/settings/settingsmodel.h"

#include "support/sandbox.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

namespace S = SettingKey;

const QString kEditor = QStringLiteral("\"/usr/bin/gedit\" -s");

QStringList fileLines(const QString &path)
{
    const QString text = Win31J::decode(Sandbox::readBytes(path));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

void writeLines(const QString &path, const QStringList &lines)
{
    ASSERT_TRUE(Sandbox::writeBytes(path, Win31J::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))));
}

class SettingsModelTest : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;
    QString general = folder.file(QStringLiteral("QLTWIN.ini"));

    SettingsModel make()
    {
        SettingsModel model(general);
        model.setExternalEditorDefault(kEditor);
        return model;
    }
    // A card folder of its own beside the program folder.
    QString cardFolder()
    {
        const QString dir = folder.file(QStringLiteral("cards"));
        QDir().mkpath(dir);
        return dir;
    }
};

QStringList g_warnings;

TEST_F(SettingsModelTest, SavingBeforeAnyFileIsChosenWritesNothingAndLogsNothing)
{
    g_warnings.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &, const QString &text) {
            if (type == QtWarningMsg)
                g_warnings.append(text);
        });
    SettingsModel model = make();
    model.setInteger(S::ListViewMode, 2);
    model.saveOrLog();
    EXPECT_TRUE(g_warnings.isEmpty()) << qPrintable(g_warnings.join(QLatin1Char('\n')));
    EXPECT_FALSE(QFile::exists(general));
    // Once a file is chosen, a failed save is still told.
    model.loadGeneralSettings();
    ASSERT_TRUE(QDir().mkpath(general + QStringLiteral(".d")));
    QFile::remove(general);
    ASSERT_TRUE(QDir().rename(general + QStringLiteral(".d"), general)); // a folder where the file goes
    model.saveOrLog();
    qInstallMessageHandler(previous);
    ASSERT_EQ(g_warnings.size(), 1);
    EXPECT_TRUE(g_warnings[0].contains(general)) << qPrintable(g_warnings[0]);
}

TEST_F(SettingsModelTest, FirstStartWritesEveryFilledKeyInTableOrder)
{
    SettingsModel model = make();
    model.loadGeneralSettings();
    ASSERT_TRUE(model.save());

    const QString hina = folder.path() + QStringLiteral("/雛形/HinaText(ごく普通のテキスト・Preタグ).qlw");
    const QStringList expected = {
        QStringLiteral("[General]"),
        QStringLiteral("VerNo = ") + Version::dotted(),
        QStringLiteral("ListFontSize = 9"),
        QStringLiteral("ListFont = ＭＳ Ｐゴシック"),
        QStringLiteral("EditorFontSize = 9"),
        QStringLiteral("EditorFont = ＭＳ Ｐゴシック"),
        QStringLiteral("Column1 = 題名"),
        QStringLiteral("Column2 = 備考"),
        QStringLiteral("Column3 = 内容"),
        QStringLiteral("AddDateInfo = 0"),
        QStringLiteral("NoSort = 0"),
        QStringLiteral("PartHTMLTitleMode = 0"),
        QStringLiteral("NoFunctionBarClickEvent = 1"),
        QStringLiteral("InsertCardAtNextCard = 0"),
        QStringLiteral("Color1 = -2147483630"),
        QStringLiteral("Color2 = -2147483643"),
        QStringLiteral("Color3 = 16777215"),
        QStringLiteral("Color4 = 5592405"),
        QStringLiteral("Color5 = 16777215"),
        QStringLiteral("Color6 = 5592405"),
        QStringLiteral("Column1Width = 6999.875"),
        QStringLiteral("Column2Width = 3000.189"),
        QStringLiteral("Column3Width = 1440"),
        QStringLiteral("SaveColumnWidth = 1"),
        QStringLiteral("SaveWindowSize = 1"),
        QStringLiteral("WindowListSizeX = 9480"),
        QStringLiteral("WindowListSizeY = 6315"),
        QStringLiteral("WindowEditSizeX = 8625"),
        QStringLiteral("WindowEditSizeY = 6330"),
        QStringLiteral("NoWriteColumn2 = 0"),
        QStringLiteral("ListViewMode = 3"),
        QStringLiteral("NoHTMLHeader = 0"),
        QStringLiteral("ExtEditor = ") + kEditor,
        QStringLiteral("ExtEditorEXT = txt"),
        QStringLiteral("AutoSort = 0"),
        QStringLiteral("SortColumn = -1"),
        QStringLiteral("SortStyle = 0"),
        QStringLiteral("BrowserHina0 = ") + hina,
        QStringLiteral("BrowserHina1 = ") + hina,
    };
    EXPECT_EQ(fileLines(general), expected);
}

TEST_F(SettingsModelTest, OnReadKeysArriveWithTheirFirstRead)
{
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_EQ(model.integer(S::PreView), 0);
    EXPECT_TRUE(model.boolean(S::TreeViewVisible));
    EXPECT_FALSE(model.boolean(S::SeikiHyougen));
    // Keys without a default are read but never written by a read.
    EXPECT_EQ(model.text(S::HinagataFileName), QString());
    EXPECT_EQ(model.integer(S::HTMLMode), 0);
    ASSERT_TRUE(model.save());

    const QStringList lines = fileLines(general);
    const QStringList tail = lines.mid(lines.size() - 3);
    EXPECT_EQ(tail, (QStringList{QStringLiteral("PreView = 0"), QStringLiteral("TreeViewVisible = True"),
                                 QStringLiteral("SeikiHyougen = False")}));
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("HinagataFileName")));
    EXPECT_FALSE(lines.join(u'\n').contains(QStringLiteral("HTMLMode")));
}

TEST_F(SettingsModelTest, VerNoIsRewrittenInAnOlderFileAndNothingElseChanges)
{
    writeLines(general, {QStringLiteral("[General]"), QStringLiteral("VerNo = 0.9.9"), QStringLiteral("; kept comment"),
                         QStringLiteral("ListFontSize = 12")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    ASSERT_TRUE(model.save());
    const QStringList lines = fileLines(general);
    ASSERT_GE(lines.size(), 4);
    EXPECT_EQ(lines.at(1), QStringLiteral("VerNo = ") + Version::dotted());
    EXPECT_EQ(lines.at(2), QStringLiteral("; kept comment"));
    EXPECT_EQ(lines.at(3), QStringLiteral("ListFontSize = 12"));
    EXPECT_EQ(lines.count(QStringLiteral("[General]")), 1);
}

TEST_F(SettingsModelTest, EmptyValuesAreFilledAgain)
{
    writeLines(general, {QStringLiteral("[General]"), QStringLiteral("Column1 = "), QStringLiteral("ExtEditor =")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("題名"));
    EXPECT_EQ(model.text(S::ExtEditor), kEditor);
}

TEST_F(SettingsModelTest, PartialPerFileSettingsAreFilledFromTheTableNotFromTheGeneralFile)
{
    writeLines(general, {QStringLiteral("[General]"), QStringLiteral("Column1 = 一般の題名"),
                         QStringLiteral("ListFontSize = 14")});
    const QString card = cardFolder() + QStringLiteral("/memo.qlw");
    writeLines(cardFolder() + QStringLiteral("/memo.ini"),
               {QStringLiteral("[General]"), QStringLiteral("Column2 = 個別備考")});

    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("一般の題名"));

    EXPECT_TRUE(model.SelectSettingsFile(card));
    EXPECT_TRUE(model.FileSettingsActive());
    EXPECT_EQ(model.fileName(), cardFolder() + QStringLiteral("/memo.ini"));
    EXPECT_EQ(model.text(S::Column2), QStringLiteral("個別備考"));
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("題名"));
    EXPECT_EQ(model.number(S::ListFontSize), 9.0);
}

TEST_F(SettingsModelTest, SwitchingBetweenPerFileAndGeneralSettings)
{
    writeLines(general, {QStringLiteral("[General]"), QStringLiteral("Column1 = 一般")});
    const QString withOwn = cardFolder() + QStringLiteral("/own.qlw");
    const QString withoutOwn = cardFolder() + QStringLiteral("/plain.qlw");
    writeLines(cardFolder() + QStringLiteral("/own.ini"), {QStringLiteral("Column1 = 個別")});

    SettingsModel model = make();
    // Start-up opening a card file without its own settings: general file.
    EXPECT_TRUE(model.SelectSettingsFile(withoutOwn));
    EXPECT_FALSE(model.FileSettingsActive());
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("一般"));

    // General settings active and another plain card: nothing reloaded,
    // unsaved changes in memory stay.
    model.setText(S::Column1, QStringLiteral("変更中"));
    EXPECT_FALSE(model.SelectSettingsFile(withoutOwn));
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("変更中"));

    EXPECT_TRUE(model.SelectSettingsFile(withOwn));
    EXPECT_TRUE(model.FileSettingsActive());
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("個別"));

    // Right after per-file settings, a plain card reloads the general file.
    EXPECT_TRUE(model.SelectSettingsFile(withoutOwn));
    EXPECT_FALSE(model.FileSettingsActive());
    EXPECT_EQ(model.fileName(), general);
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("一般"));
}

TEST_F(SettingsModelTest, PerFileSettingsPathUsesTheBaseNameWithoutTheLastExtension)
{
    const QString dir = cardFolder();
    EXPECT_EQ(SettingsModel::perFileSettingsPath(dir + QStringLiteral("/memo.2001.qlw")),
              dir + QStringLiteral("/memo.2001.ini"));
    EXPECT_EQ(SettingsModel::perFileSettingsPath(dir + QStringLiteral("/README")), dir + QStringLiteral("/README.ini"));
}

TEST_F(SettingsModelTest, CardFilesDifferingOnlyInCaseHaveTheirOwnSettings)
{
    // On a case-sensitive file system memo.qlw is another (new) file than
    // Memo.qlw, so it does not get Memo.qlw's settings.
    const QString dir = cardFolder();
    writeLines(dir + QStringLiteral("/Memo.ini"), {QStringLiteral("Column1 = 大文字")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_TRUE(model.SelectSettingsFile(dir + QStringLiteral("/Memo.qlw")));
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("大文字"));
    EXPECT_TRUE(model.SelectSettingsFile(dir + QStringLiteral("/memo.qlw")));
    EXPECT_FALSE(model.FileSettingsActive());
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("題名"));
}

TEST_F(SettingsModelTest, PerFileSettingsThatDifferFromTheGeneralFileOnlyInCaseAreNotTakenForIt)
{
    // "qltwin.ini" beside a card "qltwin.qlw" in the program folder is the
    // card's own file, not the general "QLTWIN.ini".
    const QString card = folder.file(QStringLiteral("qltwin.qlw"));
    writeLines(folder.file(QStringLiteral("qltwin.ini")), {QStringLiteral("Column1 = 個別")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_TRUE(model.SelectSettingsFile(card));
    EXPECT_TRUE(model.FileSettingsActive());
    // Next a card without settings: the general file comes back.
    EXPECT_TRUE(model.SelectSettingsFile(cardFolder() + QStringLiteral("/other.qlw")));
    EXPECT_EQ(model.fileName(), general);
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("題名"));
}

TEST_F(SettingsModelTest, SharedListsBesideTheProgramAreNeverTakenForPerFileSettings)
{
    writeLines(folder.file(QStringLiteral("Recent.ini")),
               {QStringLiteral("[General]"), QStringLiteral("RecentFile0 = /x.qlw")});
    writeLines(folder.file(QStringLiteral("OpenCheck.ini")),
               {QStringLiteral("[General]"), QStringLiteral("File0 = /x.qlw")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_FALSE(model.SelectSettingsFile(folder.file(QStringLiteral("Recent.qlw"))));
    EXPECT_FALSE(model.SelectSettingsFile(folder.file(QStringLiteral("OpenCheck.qlw"))));
    EXPECT_FALSE(model.FileSettingsActive());
}

TEST_F(SettingsModelTest, OptionsDialogCopyKeepsTheGeneralValuesUnderTheNewName)
{
    writeLines(general, {QStringLiteral("Column1 = 一般")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    const QString perFile = cardFolder() + QStringLiteral("/new.ini");
    model.loadKeepingValues(perFile);
    EXPECT_TRUE(model.FileSettingsActive());
    EXPECT_EQ(model.text(S::Column1), QStringLiteral("一般"));
    ASSERT_TRUE(model.save());
    EXPECT_TRUE(QFile::exists(perFile));
}

struct WrongType {
    const char *key;
    const char *stored;
};

class WrongTypedValues : public SettingsModelTest, public ::testing::WithParamInterface<WrongType>
{
};

TEST_P(WrongTypedValues, FallBackToTheTableDefault)
{
    const WrongType p = GetParam();
    const QString key = QString::fromLatin1(p.key);
    writeLines(general, {key + QStringLiteral(" = ") + QString::fromUtf8(p.stored)});
    SettingsModel model = make();
    model.loadGeneralSettings();
    const SettingKeys::Key *entry = SettingKeys::find(key);
    ASSERT_NE(entry, nullptr);
    switch (entry->kind) {
    case SettingKeys::Kind::Integer: EXPECT_EQ(model.integer(key), model.defaultText(key).toInt()); break;
    case SettingKeys::Kind::Number: EXPECT_EQ(model.number(key), model.defaultText(key).toDouble()); break;
    case SettingKeys::Kind::Switch: EXPECT_EQ(model.isOn(key), model.defaultText(key) == QLatin1String("1")); break;
    case SettingKeys::Kind::Boolean:
        EXPECT_EQ(model.boolean(key), model.defaultText(key) == QLatin1String("True"));
        break;
    case SettingKeys::Kind::Colour:
        EXPECT_EQ(model.colour(key), std::uint32_t(model.defaultText(key).toLongLong()));
        break;
    case SettingKeys::Kind::Text: FAIL() << "text has no wrong type";
    }
}

INSTANTIATE_TEST_SUITE_P(Settings, WrongTypedValues,
                         ::testing::Values(WrongType{"ListFontSize", "big"}, WrongType{"WindowListSizeX", "wide"},
                                           WrongType{"ListViewMode", "3x"}, WrongType{"SortColumn", "1e999"},
                                           WrongType{"NoFunctionBarClickEvent", "yes"},
                                           WrongType{"SaveWindowSize", "on"}, WrongType{"Color1", "red"},
                                           WrongType{"Color3", "16777215.5"}, WrongType{"Color4", "16777216"},
                                           WrongType{"Color2", "-2147483623"}, // system index 25: none
                                           WrongType{"TreeViewVisible", "maybe"}, WrongType{"Column1Width", "nan"}));

TEST_F(SettingsModelTest, SwitchCountsOnlyWhenItIsOneNumerically)
{
    writeLines(general,
               {QStringLiteral("NoSort = 1.0"), QStringLiteral("AutoSort =  1  "), QStringLiteral("SaveWindowSize = 2"),
                QStringLiteral("SaveColumnWidth = 0.5"), QStringLiteral("AddDateInfo = -1")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_TRUE(model.isOn(S::NoSort));
    EXPECT_TRUE(model.isOn(S::AutoSort));
    EXPECT_FALSE(model.isOn(S::SaveWindowSize));
    EXPECT_FALSE(model.isOn(S::SaveColumnWidth));
    EXPECT_FALSE(model.isOn(S::AddDateInfo));
    // A key that is not there at all is off.
    EXPECT_FALSE(model.isOn(S::ReverseNumber));
}

TEST_F(SettingsModelTest, ReadsConvertTheFormsTheFilesHold)
{
    writeLines(general, {QStringLiteral("TreeViewVisible = false"), QStringLiteral("SeikiHyougen = 1"),
                         QStringLiteral("WindowListSizeX = 9480.5"), QStringLiteral("WindowListSizeY = 6315.5"),
                         QStringLiteral("Color1 = 2147483666"), QStringLiteral("Color3 = 255")});
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_FALSE(model.boolean(S::TreeViewVisible));
    EXPECT_TRUE(model.boolean(S::SeikiHyougen));
    EXPECT_EQ(model.integer(S::WindowListSizeX), 9480); // half to even
    EXPECT_EQ(model.integer(S::WindowListSizeY), 6316);
    EXPECT_EQ(model.colour(S::Color1), 0x80000012u); // unsigned form of the reference
    EXPECT_EQ(model.colour(S::Color3), 0x0000FFu);
}

TEST_F(SettingsModelTest, WritesUseTheFormsOfTheFiles)
{
    SettingsModel model = make();
    model.loadGeneralSettings();
    model.setSwitch(S::NoSort, true);
    model.setBoolean(S::TreeViewVisible, false);
    model.setColour(S::Color2, 0x80000005u);
    model.setNumber(S::Column1Width, 1234.5);
    model.setInteger(S::SortColumn, 2);
    ASSERT_TRUE(model.save());
    const QStringList lines = fileLines(general);
    EXPECT_TRUE(lines.contains(QStringLiteral("NoSort = 1")));
    EXPECT_TRUE(lines.contains(QStringLiteral("TreeViewVisible = False")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Color2 = -2147483643")));
    EXPECT_TRUE(lines.contains(QStringLiteral("Column1Width = 1234.5")));
    EXPECT_TRUE(lines.contains(QStringLiteral("SortColumn = 2")));
}

TEST_F(SettingsModelTest, FileSettingsActiveComparesTheNameExactly)
{
    SettingsModel model = make();
    model.loadGeneralSettings();
    EXPECT_FALSE(model.FileSettingsActive());
    model.setFileName(folder.file(QStringLiteral("qltwin.ini")));
    EXPECT_TRUE(model.FileSettingsActive());
}

TEST_F(SettingsModelTest, DefaultGeneralFileIsTheExecutableNameBesideTheProgram)
{
    const QString name = SettingsModel::defaultGeneralSettingsFile();
    EXPECT_TRUE(name.startsWith(folder.path() + QLatin1Char('/')));
    EXPECT_TRUE(name.endsWith(QStringLiteral(".ini")));
}

} // namespace
