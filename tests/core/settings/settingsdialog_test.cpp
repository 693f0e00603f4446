// The options dialog's rules: filling from the active store, the pickers,
// general and per-file saving with their questions, discarding per-file
// settings, and the title and save buttons that follow the active file.
#include "core/common/version.h"
#include "core/common/win31j.h"
#include "core/settings/settingsdialog.h"
#include "core/settings/settingsmodel.h"

#include "support/fakedialogs.h"
#include "support/sandbox.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <gtest/gtest.h>

#include <functional>
namespace {

namespace S = SettingKey;
namespace T = SettingsDialogTexts;

const QString kEditor = QStringLiteral("\"/usr/bin/gedit\" -s");

class FakeHost : public SettingsDialogHost
{
public:
    QString path;
    std::optional<std::array<double, 3>> widths;
    std::optional<std::array<double, 2>> size;
    int applied = 0;
    std::function<void()> onApply;

    QString cardFilePath() const override { return path; }
    void applySettings() override
    {
        ++applied;
        if (onApply)
            onApply();
    }
    std::optional<std::array<double, 3>> columnWidthsTwips() const override { return widths; }
    std::optional<std::array<double, 2>> normalWindowSizeTwips() const override { return size; }
};

// The value of key in a settings file as written (empty when missing).
QString fileValue(const QString &path, const QString &key)
{
    const QStringList lines = Win31J::decode(Sandbox::readBytes(path)).split(QStringLiteral("\r\n"));
    for (const QString &line : lines)
        if (line.startsWith(key + QStringLiteral(" = ")))
            return line.mid(key.size() + 3);
    return QString();
}

void writeLines(const QString &path, const QStringList &lines)
{
    ASSERT_TRUE(Sandbox::writeBytes(path, Win31J::encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"))));
}

class SettingsDialogTest : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;
    QString general = folder.file(QStringLiteral("QLTWIN.ini"));
    QString cards = folder.file(QStringLiteral("cards"));
    QString card = cards + QStringLiteral("/memo.qlw");
    QString perFile = cards + QStringLiteral("/memo.ini");
    SettingsModel settings{general};
    FakeDialogs dialogs;
    FakeHost host;
    SettingsDialogModel model{settings, dialogs, host};

    void SetUp() override
    {
        QDir().mkpath(cards);
        settings.setExternalEditorDefault(kEditor);
        settings.loadGeneralSettings();
        ASSERT_TRUE(settings.save());
        host.path = card;
    }
    // Per-file settings active for the card, as opening it would make them.
    void openWithPerFile(const QStringList &lines)
    {
        writeLines(perFile, lines);
        settings.loadFile(perFile);
    }
};

TEST_F(SettingsDialogTest, FillsEveryControlFromTheActiveStore)
{
    writeLines(general,
               {QStringLiteral("[General]"), QStringLiteral("Column1 = 件名"), QStringLiteral("ListFont = IPAGothic"),
                QStringLiteral("ListFontSize = 10.5"), QStringLiteral("EditorFontSize = 11.5"),
                QStringLiteral("NoSort = 1.0"), QStringLiteral("AutoSort = 0"), QStringLiteral("Color3 = 255"),
                QStringLiteral("InsertCardAtNextCard = 1"), QStringLiteral("ExtEditorEXT = md"),
                QStringLiteral("BrowserHinaMode = 2")});
    settings.loadGeneralSettings();
    model.fill();
    const SettingsDialogValues &v = model.values();
    EXPECT_EQ(v.columns[0], QStringLiteral("件名"));
    EXPECT_EQ(v.columns[1], QStringLiteral("備考"));
    EXPECT_TRUE(v.noSort);
    EXPECT_FALSE(v.autoSort);
    EXPECT_TRUE(v.insertCardAtNextCard);
    EXPECT_TRUE(v.noFunctionBarClickEvent); // its default is 1
    EXPECT_EQ(v.fontNames[0], QStringLiteral("IPAGothic"));
    EXPECT_EQ(v.fontSizes[0], 10); // whole points, half to even
    EXPECT_EQ(v.fontSizes[1], 12);
    EXPECT_EQ(v.fontNames[1], QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(model.fontLabel(1), QStringLiteral("ＭＳ Ｐゴシック　12pt"));
    EXPECT_EQ(v.colours[0], 0x80000012u);
    EXPECT_EQ(v.colours[2], 255u);
    EXPECT_EQ(v.extEditor, kEditor);
    EXPECT_EQ(v.extEditorExt, QStringLiteral("md"));
    EXPECT_EQ(v.browserHinaMode, 2);
}

TEST_F(SettingsDialogTest, TitleAndSaveButtonsFollowTheActiveFile)
{
    const QString version = QStringLiteral("QLT@WIN Ver.") + Version::dotted();
    EXPECT_EQ(model.title(), QStringLiteral("(全般設定) ") + version);
    EXPECT_EQ(model.defaultButton(), SettingsDialogModel::GeneralButton);
    EXPECT_EQ(model.saveButtonColour(SettingsDialogModel::GeneralButton), 0xC0FFC0u);
    EXPECT_EQ(model.saveButtonColour(SettingsDialogModel::PerFileButton), 0x808080u);

    openWithPerFile({QStringLiteral("[General]")});
    EXPECT_EQ(model.title(), QStringLiteral("(個別設定) ") + version);
    EXPECT_EQ(model.defaultButton(), SettingsDialogModel::PerFileButton);
    EXPECT_EQ(model.saveButtonColour(SettingsDialogModel::PerFileButton), 0xC0FFC0u);
    EXPECT_EQ(model.saveButtonColour(SettingsDialogModel::GeneralButton), 0x808080u);
}

TEST_F(SettingsDialogTest, GeneralSaveWritesTheValuesSavesBeforeApplyingAndCleansTheExtension)
{
    model.fill();
    model.values().columns[2] = QStringLiteral("本文");
    model.values().autoSort = true;
    model.values().extEditorExt = QStringLiteral(".txt");
    model.values().browserHinaMode = 1;
    model.values().colours[1] = 0x123456;
    QString atApply;
    host.onApply = [&] { atApply = fileValue(general, S::Column3); };

    EXPECT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(host.applied, 1);
    EXPECT_EQ(atApply, QStringLiteral("本文"));
    EXPECT_EQ(fileValue(general, S::Column3), QStringLiteral("本文"));
    EXPECT_EQ(fileValue(general, S::AutoSort), QStringLiteral("1"));
    EXPECT_EQ(fileValue(general, S::ExtEditorEXT), QStringLiteral("txt"));
    EXPECT_EQ(fileValue(general, S::BrowserHinaMode), QStringLiteral("1"));
    EXPECT_EQ(fileValue(general, S::Color2), QStringLiteral("1193046"));
    EXPECT_EQ(fileValue(general, S::Color1), QStringLiteral("-2147483630"));

    EXPECT_EQ(SettingsDialogModel::cleanExtension(QStringLiteral(".txt")), QStringLiteral("txt"));
    EXPECT_EQ(SettingsDialogModel::cleanExtension(QStringLiteral("txt")), QStringLiteral("txt"));
}

TEST_F(SettingsDialogTest, ColumnWidthsAndWindowSizeAreTakenOnlyWhenTheirSwitchesAreOn)
{
    host.widths = std::array<double, 3>{1500, 2500, 3500};
    host.size = std::array<double, 2>{9000.4, 7000.6};
    model.fill();
    model.values().saveColumnWidth = false;
    model.values().saveWindowSize = false;
    ASSERT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_EQ(fileValue(general, S::Column1Width), QStringLiteral("6999.875"));
    EXPECT_EQ(fileValue(general, S::WindowListSizeX), QStringLiteral("9480"));
    EXPECT_EQ(fileValue(general, S::SaveWindowSize), QStringLiteral("0"));

    model.values().saveColumnWidth = true;
    model.values().saveWindowSize = true;
    ASSERT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_EQ(fileValue(general, S::Column1Width), QStringLiteral("1500"));
    EXPECT_EQ(fileValue(general, S::Column3Width), QStringLiteral("3500"));
    EXPECT_EQ(fileValue(general, S::WindowListSizeX), QStringLiteral("9000"));
    EXPECT_EQ(fileValue(general, S::WindowListSizeY), QStringLiteral("7001"));

    // Maximised: the size stays as it was.
    host.size.reset();
    host.widths = std::array<double, 3>{100, 200, 300};
    ASSERT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_EQ(fileValue(general, S::WindowListSizeX), QStringLiteral("9000"));
    EXPECT_EQ(fileValue(general, S::Column2Width), QStringLiteral("200"));
}

TEST_F(SettingsDialogTest, PerFileSaveStartsAsACopyOfTheGeneralValuesWithTheDialogsChanges)
{
    writeLines(general, {QStringLiteral("[General]"), QStringLiteral("Column2 = メモ")});
    settings.loadGeneralSettings();
    model.fill();
    model.values().columns[0] = QStringLiteral("件名");
    dialogs.answers.enqueue(MsgAnswer::Yes);

    EXPECT_TRUE(model.save(SettingsDialogModel::PerFileButton));
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("個別設定を規定しますか？"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(settings.fileName(), perFile);
    EXPECT_TRUE(model.perFileActive());
    EXPECT_TRUE(model.title().startsWith(QStringLiteral("(個別設定) ")));
    EXPECT_EQ(fileValue(perFile, S::Column1), QStringLiteral("件名"));
    EXPECT_EQ(fileValue(perFile, S::Column2), QStringLiteral("メモ"));
    // The general file keeps its values and gets every default.
    EXPECT_EQ(fileValue(general, S::Column1), QStringLiteral("題名"));
    EXPECT_EQ(fileValue(general, S::Column2), QStringLiteral("メモ"));
    EXPECT_EQ(host.applied, 1);

    // Saving again as per-file asks nothing more.
    dialogs.clear();
    model.values().columns[0] = QStringLiteral("見出し");
    EXPECT_TRUE(model.save(SettingsDialogModel::PerFileButton));
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(fileValue(perFile, S::Column1), QStringLiteral("見出し"));
}

TEST_F(SettingsDialogTest, PerFileSaveStopsOnNoAndForAnUntitledCardFile)
{
    model.fill();
    model.values().columns[0] = QStringLiteral("件名");
    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_FALSE(model.save(SettingsDialogModel::PerFileButton));
    EXPECT_FALSE(QFileInfo::exists(perFile));
    EXPECT_FALSE(model.perFileActive());
    EXPECT_EQ(fileValue(general, S::Column1), QStringLiteral("題名"));
    EXPECT_EQ(host.applied, 0);

    for (const QString &path : {QStringLiteral(""), cards + QStringLiteral("/(無題).qlw")}) {
        dialogs.clear();
        host.path = path;
        EXPECT_FALSE(model.save(SettingsDialogModel::PerFileButton));
        ASSERT_EQ(dialogs.messages().size(), 1);
        EXPECT_EQ(dialogs.messages()[0].text,
                  QStringLiteral("個別設定をするためには、先にカードファイルを保存する必要があります。"));
        EXPECT_FALSE(model.perFileActive());
    }
}

TEST_F(SettingsDialogTest, GeneralSaveWithPerFileActiveDeletesItAndKeepsWhatWasTyped)
{
    openWithPerFile({QStringLiteral("[General]"), QStringLiteral("Column1 = 個別")});
    model.fill();
    ASSERT_EQ(model.values().columns[0], QStringLiteral("個別"));
    model.values().columns[1] = QStringLiteral("全体へ");

    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_FALSE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_TRUE(QFileInfo::exists(perFile));
    EXPECT_TRUE(model.perFileActive());

    dialogs.clear();
    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_EQ(dialogs.messageTexts(), (QStringList{QStringLiteral("個別設定が失われますが、よろしいですか？"),
                                                   QStringLiteral("個別設定を破棄しました。")}));
    EXPECT_FALSE(QFileInfo::exists(perFile));
    EXPECT_FALSE(model.perFileActive());
    EXPECT_EQ(fileValue(general, S::Column1), QStringLiteral("個別"));
    EXPECT_EQ(fileValue(general, S::Column2), QStringLiteral("全体へ"));
    EXPECT_TRUE(model.title().startsWith(QStringLiteral("(全般設定) ")));
}

TEST_F(SettingsDialogTest, DiscardReloadsTheGeneralSettingsRefillsAndDeletes)
{
    // Nothing to discard: no question, success.
    EXPECT_TRUE(model.discardPerFile());
    EXPECT_TRUE(dialogs.records.isEmpty());

    openWithPerFile({QStringLiteral("[General]"), QStringLiteral("Column1 = 個別")});
    model.fill();
    model.values().columns[2] = QStringLiteral("未保存");

    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_FALSE(model.discardPerFile());
    EXPECT_TRUE(QFileInfo::exists(perFile));
    EXPECT_EQ(model.values().columns[2], QStringLiteral("未保存"));

    dialogs.clear();
    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(model.discardPerFile());
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Question);
    EXPECT_EQ(dialogs.messages()[1].text, QStringLiteral("個別設定を破棄しました。"));
    EXPECT_EQ(dialogs.messages()[1].icon, MsgIcon::Information);
    EXPECT_FALSE(QFileInfo::exists(perFile));
    EXPECT_EQ(settings.fileName(), general);
    EXPECT_EQ(host.applied, 1);
    EXPECT_EQ(model.values().columns[0], QStringLiteral("題名"));
    EXPECT_EQ(model.values().columns[2], QStringLiteral("内容"));
}

TEST_F(SettingsDialogTest, ASettingsFileThatCannotBeDeletedIsReported)
{
    openWithPerFile({QStringLiteral("[General]")});
    model.fill();
    // A folder in the file's place cannot be removed as a file, whoever runs
    // the test.
    ASSERT_TRUE(QFile::remove(perFile));
    ASSERT_TRUE(QDir().mkpath(perFile + QStringLiteral("/inside")));
    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_FALSE(model.discardPerFile());
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages()[1].text, QStringLiteral("個別設定を削除できません。ファイルを確認してください。"));
    EXPECT_EQ(dialogs.messages()[1].icon, MsgIcon::Error);
}

TEST_F(SettingsDialogTest, RestoringColoursAsksAndChangesOnlyTheDialog)
{
    writeLines(general, {QStringLiteral("[General]"), QStringLiteral("Color1 = 1"), QStringLiteral("Color6 = 2")});
    settings.loadGeneralSettings();
    model.fill();

    dialogs.answers.enqueue(MsgAnswer::No);
    EXPECT_FALSE(model.restoreColours());
    EXPECT_EQ(model.values().colours[0], 1u);

    dialogs.answers.enqueue(MsgAnswer::Yes);
    EXPECT_TRUE(model.restoreColours());
    EXPECT_EQ(dialogs.messages()[0].text, QStringLiteral("カラー設定が破棄されます。\r\nよろしいですか？"));
    EXPECT_EQ(dialogs.messages()[0].buttons, MsgButtons::YesNo);
    const std::array<std::uint32_t, 6> expected = {0x80000012u, 0x80000005u, 0xFFFFFFu,
                                                   0x555555u,   0xFFFFFFu,   0x555555u};
    EXPECT_EQ(model.values().colours, expected);
    // Cancelling the dialog now leaves the store as it was.
    EXPECT_EQ(settings.colour(S::Color1), 1u);
    EXPECT_EQ(fileValue(general, S::Color6), QStringLiteral("2"));
}

TEST_F(SettingsDialogTest, FontAndColourPickersArePresetAndCancelLeavesThemAlone)
{
    model.fill();
    dialogs.fonts.enqueue(FontChoice{QStringLiteral("IPAPGothic"), 10.5});
    EXPECT_TRUE(model.chooseFont(0));
    EXPECT_EQ(dialogs.records.last().font.family, QStringLiteral("ＭＳ Ｐゴシック"));
    EXPECT_EQ(dialogs.records.last().font.pointSize, 9);
    EXPECT_EQ(model.fontLabel(0), QStringLiteral("IPAPGothic　10pt"));
    dialogs.fonts.enqueue(FontChoice{QStringLiteral("IPAMincho"), 11.5});
    EXPECT_TRUE(model.chooseFont(1));
    EXPECT_EQ(model.values().fontSizes[1], 12);
    EXPECT_FALSE(model.chooseFont(1)); // cancelled
    EXPECT_EQ(model.fontLabel(1), QStringLiteral("IPAMincho　12pt"));

    dialogs.colours.enqueue(0x00FF00u);
    EXPECT_TRUE(model.chooseColour(3));
    EXPECT_EQ(dialogs.records.last().defaultText, QString::number(0x555555));
    EXPECT_EQ(model.values().colours[3], 0x00FF00u);
    EXPECT_FALSE(model.chooseColour(3));
    EXPECT_EQ(model.values().colours[3], 0x00FF00u);

    ASSERT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_EQ(fileValue(general, S::ListFont), QStringLiteral("IPAPGothic"));
    EXPECT_EQ(fileValue(general, S::ListFontSize), QStringLiteral("10"));
    EXPECT_EQ(fileValue(general, S::Color4), QStringLiteral("65280"));
}

TEST_F(SettingsDialogTest, FileChoosersForTheEditorAndTheTemplates)
{
    model.fill();
    dialogs.files.enqueue(QStringLiteral("/opt/My Tools/edit"));
    EXPECT_TRUE(model.chooseExternalEditor());
    const FileRequest editor = dialogs.records.last().file;
    EXPECT_EQ(editor.title, QStringLiteral("外部エディタの指定"));
    EXPECT_TRUE(editor.firstFilterExecutables);
    EXPECT_TRUE(editor.filter.startsWith(QStringLiteral("外部アプリケーション")));
    EXPECT_EQ(editor.startPath, QStringLiteral("/usr/bin/gedit"));
    EXPECT_EQ(model.values().extEditor, QStringLiteral("\"/opt/My Tools/edit\""));
    EXPECT_FALSE(model.chooseExternalEditor());
    EXPECT_EQ(model.values().extEditor, QStringLiteral("\"/opt/My Tools/edit\""));

    model.values().browserHina[1] = QStringLiteral("/data/HinaA.qlw");
    dialogs.files.enqueue(QStringLiteral("/data/HinaB.qlw"));
    EXPECT_TRUE(model.chooseBrowserTemplate(1));
    const FileRequest hina = dialogs.records.last().file;
    EXPECT_EQ(hina.title, QStringLiteral("雛形(ブラウザボタン用)の指定"));
    EXPECT_EQ(hina.filter, QStringLiteral("雛形ファイル (Hina*.qlw)|Hina*.qlw|QLW形式 (*.qlw)|*.qlw|その他 (*.*)|*.*"));
    EXPECT_EQ(hina.startPath, QStringLiteral("/data/HinaA.qlw"));
    EXPECT_FALSE(hina.firstFilterExecutables);
    EXPECT_EQ(model.values().browserHina[1], QStringLiteral("/data/HinaB.qlw"));
    EXPECT_FALSE(model.chooseBrowserTemplate(1));
    EXPECT_EQ(model.values().browserHina[1], QStringLiteral("/data/HinaB.qlw"));
}

TEST_F(SettingsDialogTest, AnEmptyEditorStandsForTheDesktopsEditor)
{
    EXPECT_EQ(model.emptyEditorNote(), QStringLiteral("空欄のときは次のエディタを使います: ") + kEditor);
    model.fill();
    model.values().extEditor = QStringLiteral("\"/usr/bin/vim\" -f");
    ASSERT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_EQ(fileValue(general, S::ExtEditor), QStringLiteral("\"/usr/bin/vim\" -f"));
    model.values().extEditor = QStringLiteral("  ");
    ASSERT_TRUE(model.save(SettingsDialogModel::GeneralButton));
    EXPECT_EQ(fileValue(general, S::ExtEditor), kEditor);

    settings.setExternalEditorDefault(QString());
    EXPECT_EQ(model.emptyEditorNote(), QStringLiteral("空欄のときに使えるエディタが見つかりません"));
}

} // namespace
