// The options dialog offscreen over a document: its tabs and captions, and
// that what the person changes in a control reaches the settings store, its
// file and the main window.
#include "core/document/document.h"
#include "core/settings/settingsdialog.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/documentwiring.h"
#include "gui/mainwindow/mainform.h"
#include "gui/settings/settingform.h"
#include "gui/settings/settingswiring.h"

#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTest>
#include <QHeaderView>

#include <gtest/gtest.h>

#include <memory>

namespace {

namespace S = SettingKey;

class SettingFormTest : public ::testing::Test, public FakeSystem
{
protected:
    ScopedProgramFolder folder;
    Document document{services()};
    DocumentSettingsHost host{document};
    std::optional<AppliedSettings> applied;

    SettingFormTest()
    {
        document.settings().loadGeneralSettings();
        document.settings().saveOrLog();
        document.SetDocumentPath(folder.file(QStringLiteral("memo.qlw")));
        QObject::connect(&document, &Document::settingsApplied,
                         [this](const AppliedSettings &values) { applied = values; });
    }

    std::unique_ptr<SettingForm> open(SettingsDialogModel &model)
    {
        model.fill();
        return std::make_unique<SettingForm>(model);
    }

    // Types text as the person would (textEdited), Japanese included.
    static void type(QLineEdit *edit, const QString &text)
    {
        edit->selectAll();
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
        QApplication::sendEvent(edit, &press);
    }

    template<typename W>
    static W *child(QWidget &form, const QString &name)
    {
        W *w = form.findChild<W *>(name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
};

TEST_F(SettingFormTest, FourTabsWithTheirControlsAndTheTitleOfTheActiveFile)
{
    SettingsDialogModel model(document.settings(), dialogs, host);
    auto form = open(model);
    QTabWidget *tabs = form->tabs();
    ASSERT_EQ(tabs->count(), 4);
    EXPECT_EQ(tabs->tabText(0), QStringLiteral("データ"));
    EXPECT_EQ(tabs->tabText(1), QStringLiteral("表示"));
    EXPECT_EQ(tabs->tabText(2), QStringLiteral("操作"));
    EXPECT_EQ(tabs->tabText(3), QStringLiteral("その他"));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_TRUE(form->windowTitle().startsWith(QStringLiteral("(全般設定) QLT@WIN Ver.")));

    const QList<std::pair<const char *, const char *>> checks = {
        {"chkNoSort", "データをソートを禁止する"},
        {"chkAddDateInfo", "項目1に日付情報を付加する"},
        {"chkPartHTMLTitleMode", "階層HTMLのファイル名を連番にする"},
        {"chkNoWriteColumn2", "HTML出力時「項目2」を出力しない"},
        {"chkNoHTMLHeader", "階層型HTMLファイル出力時に生データを出力"},
        {"chkAutoSort", "ソートを記憶する(ロード時に自動ソート)"},
        {"chkSaveWindowSize", "起動時にウインドウサイズを復元する"},
        {"chkSaveColumnWidth", "終了時に一覧画面の項目幅を保存する"},
        {"chkNoFunctionBarClickEvent", "ファンクションキー表示をクリックしても、反応しないようにする"},
        {"chkInsertCardAtNextCard", "新規カード作成時、カーソルの次の行に項目を挿入"},
    };
    for (const auto &[name, caption] : checks) {
        if (auto *box = child<QCheckBox>(*form, QString::fromLatin1(name))) {
            EXPECT_EQ(box->text(), QString::fromUtf8(caption)) << name;
        }
    }
    EXPECT_TRUE(child<QCheckBox>(*form, QStringLiteral("chkNoFunctionBarClickEvent"))->isChecked());

    EXPECT_EQ(child<QLineEdit>(*form, QStringLiteral("txtColumn_1"))->text(), QStringLiteral("備考"));
    EXPECT_EQ(child<QLabel>(*form, QStringLiteral("lblFontInfo_0"))->text(), QStringLiteral("ＭＳ Ｐゴシック　9pt"));
    EXPECT_EQ(child<QPushButton>(*form, QStringLiteral("btnRestoreColor"))->text(),
              QStringLiteral("カラー設定を初期状態に(&C)"));
    for (int n = 0; n < 6; ++n)
        child<QPushButton>(*form, QStringLiteral("PicColorInfo_%1").arg(n));
    QComboBox *mode = child<QComboBox>(*form, QStringLiteral("cmbBrowserHinaMode"));
    ASSERT_EQ(mode->count(), 3);
    EXPECT_EQ(mode->itemText(2), QStringLiteral("簡易階層型HTML"));
    EXPECT_EQ(mode->currentIndex(), 0);
    EXPECT_FALSE(child<QLabel>(*form, QStringLiteral("lblExtEditorDefault"))->text().isEmpty());

    EXPECT_EQ(form->saveButton(0)->text(), QStringLiteral("全般設定\nとして保存"));
    EXPECT_EQ(form->saveButton(1)->text(), QStringLiteral("個別設定\nとして保存"));
    EXPECT_TRUE(form->saveButton(0)->isDefault());
    EXPECT_FALSE(form->saveButton(1)->isDefault());
    EXPECT_TRUE(form->saveButton(0)->styleSheet().contains(QStringLiteral("#c0ffc0")));
    EXPECT_TRUE(form->saveButton(1)->styleSheet().contains(QStringLiteral("#808080")));
    EXPECT_EQ(child<QPushButton>(*form, QStringLiteral("btnKillDocumentINI"))->text(),
              QStringLiteral("個別設定を破棄する"));
    EXPECT_EQ(child<QPushButton>(*form, QStringLiteral("btnCancel"))->text(), QStringLiteral("Cancel"));
}

TEST_F(SettingFormTest, ChangedControlsReachTheStoreTheFileAndTheMainWindow)
{
    MainForm window(services());
    DocumentWiring::attach(window, document);
    SettingsDialogModel model(document.settings(), dialogs, host);
    auto form = open(model);
    form->show();

    QLineEdit *column = child<QLineEdit>(*form, QStringLiteral("txtColumn_0"));
    type(column, QStringLiteral("件名"));
    child<QCheckBox>(*form, QStringLiteral("chkAutoSort"))->click();
    dialogs.colours.enqueue(0x0000FFu);
    child<QPushButton>(*form, QStringLiteral("PicColorInfo_1"))->click();
    EXPECT_TRUE(child<QPushButton>(*form, QStringLiteral("PicColorInfo_1"))->styleSheet().contains("#ff0000"));
    dialogs.fonts.enqueue(FontChoice{QStringLiteral("IPAGothic"), 10.5});
    child<QPushButton>(*form, QStringLiteral("btnChangeFont_0"))->click();
    EXPECT_EQ(child<QLabel>(*form, QStringLiteral("lblFontInfo_0"))->text(), QStringLiteral("IPAGothic　10pt"));
    QLineEdit *ext = child<QLineEdit>(*form, QStringLiteral("txtExtEditorEXT"));
    type(ext, QStringLiteral(".txt"));
    emit ext->editingFinished();
    EXPECT_EQ(ext->text(), QStringLiteral("txt"));
    QComboBox *mode = child<QComboBox>(*form, QStringLiteral("cmbBrowserHinaMode"));
    emit mode->activated(2);

    form->saveButton(0)->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    SettingsModel &settings = document.settings();
    EXPECT_EQ(settings.text(S::Column1), QStringLiteral("件名"));
    EXPECT_TRUE(settings.isOn(S::AutoSort));
    EXPECT_EQ(settings.colour(S::Color2), 0x0000FFu);
    EXPECT_EQ(settings.text(S::ListFont), QStringLiteral("IPAGothic"));
    EXPECT_EQ(settings.text(S::ListFontSize), QStringLiteral("10"));
    EXPECT_EQ(settings.text(S::ExtEditorEXT), QStringLiteral("txt"));
    EXPECT_EQ(settings.integer(S::BrowserHinaMode), 2);

    // Written to the general file, and applied to the main window at once.
    SettingsModel reread(settings.generalSettingsFile());
    reread.loadGeneralSettings();
    EXPECT_EQ(reread.text(S::Column1), QStringLiteral("件名"));
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->columnCaptions[0], QStringLiteral("件名"));
    EXPECT_EQ(applied->mainList.back, 0x0000FFu);
    EXPECT_EQ(applied->listFontSize, 10);
    EXPECT_EQ(window.cardList(0)->detailsView()->font().pointSize(), 10);
    if (QFontDatabase::hasFamily(QStringLiteral("IPAGothic"))) {
        EXPECT_EQ(window.cardList(0)->detailsView()->font().family(), QStringLiteral("IPAGothic"));
    }
}

TEST_F(SettingFormTest, PerFileSavingAndDiscardingFollowInTheTitleAndButtons)
{
    SettingsDialogModel model(document.settings(), dialogs, host);
    auto form = open(model);
    QLineEdit *column = child<QLineEdit>(*form, QStringLiteral("txtColumn_2"));
    type(column, QStringLiteral("本文"));

    dialogs.answers.enqueue(MsgAnswer::Yes);
    form->saveButton(1)->click();
    EXPECT_EQ(form->result(), QDialog::Accepted);
    const QString perFile = folder.file(QStringLiteral("memo.ini"));
    EXPECT_TRUE(QFileInfo::exists(perFile));
    EXPECT_EQ(document.settings().fileName(), perFile);

    // Opened again: per-file settings, then thrown away.
    SettingsDialogModel again(document.settings(), dialogs, host);
    auto second = open(again);
    EXPECT_TRUE(second->windowTitle().startsWith(QStringLiteral("(個別設定) ")));
    EXPECT_TRUE(second->saveButton(1)->isDefault());
    EXPECT_EQ(child<QLineEdit>(*second, QStringLiteral("txtColumn_2"))->text(), QStringLiteral("本文"));
    dialogs.clear();
    dialogs.answers.enqueue(MsgAnswer::Yes);
    child<QPushButton>(*second, QStringLiteral("btnKillDocumentINI"))->click();
    EXPECT_EQ(dialogs.messageTexts().last(), QStringLiteral("個別設定を破棄しました。"));
    EXPECT_FALSE(QFileInfo::exists(perFile));
    EXPECT_TRUE(second->windowTitle().startsWith(QStringLiteral("(全般設定) ")));
    EXPECT_TRUE(second->saveButton(0)->isDefault());
    EXPECT_EQ(child<QLineEdit>(*second, QStringLiteral("txtColumn_2"))->text(), QStringLiteral("内容"));
    ASSERT_TRUE(applied);
    EXPECT_EQ(applied->columnCaptions[2], QStringLiteral("内容"));
}

TEST_F(SettingFormTest, CancelWritesNothing)
{
    SettingsDialogModel model(document.settings(), dialogs, host);
    auto form = open(model);
    dialogs.answers.enqueue(MsgAnswer::Yes);
    child<QPushButton>(*form, QStringLiteral("btnRestoreColor"))->click();
    child<QCheckBox>(*form, QStringLiteral("chkNoSort"))->click();
    child<QPushButton>(*form, QStringLiteral("btnCancel"))->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_FALSE(document.settings().isOn(S::NoSort));
    EXPECT_FALSE(applied);
}

TEST_F(SettingFormTest, AStoredFontThatIsNotInstalledIsShownInAJapaneseFont)
{
    const QStringList japanese = QFontDatabase::families(QFontDatabase::Japanese);
    if (japanese.isEmpty())
        GTEST_SKIP() << "no font with Japanese glyphs is installed (fonts-ipafont)";
    const QFont font = SettingForm::displayFont(QStringLiteral("ＭＳ Ｐゴシック"), 9);
    EXPECT_EQ(font.pointSize(), 9);
    const QFontInfo shown(font);
    EXPECT_TRUE(japanese.contains(shown.family(), Qt::CaseInsensitive)) << shown.family().toStdString();
    const QFont unknown = SettingForm::displayFont(QStringLiteral("どこにもない書体"), 12);
    EXPECT_TRUE(japanese.contains(QFontInfo(unknown).family(), Qt::CaseInsensitive))
        << QFontInfo(unknown).family().toStdString();
}

} // namespace
