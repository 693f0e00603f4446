#include "core/common/colours.h"
#include "gui/common/qtcolours.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/qtshell.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFontDatabase>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

using namespace QtDialogConversions;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

// ------------------------------------------------------------------ filters

TEST(QtDialogFilters, OnePairPerFilter)
{
    EXPECT_EQ(nameFilters(q("QLT@WINファイル|*.qlw|テキストファイル|*.txt")),
              (QStringList{q("QLT@WINファイル (*.qlw)"), q("テキストファイル (*.txt)")}));
}

TEST(QtDialogFilters, SeveralPatternsAndTheirOwnList)
{
    EXPECT_EQ(nameFilters(q("カードファイル (*.qlw;*.qlt)|*.qlw;*.qlt;*.stk|すべてのファイル (*.*)|*.*")),
              (QStringList{q("カードファイル (*.qlw *.qlt *.stk)"), q("すべてのファイル (*)")}));
}

TEST(QtDialogFilters, OddAndEmptyParts)
{
    EXPECT_TRUE(nameFilters("").isEmpty());
    EXPECT_EQ(nameFilters(q("すべて")), QStringList{q("すべて (*)")});
    EXPECT_EQ(nameFilters("|*.csv"), QStringList{"*.csv"});
    EXPECT_EQ(nameFilters(q("CSV| *.csv ; ;")), QStringList{"CSV (*.csv)"});
    // Parentheses that are no pattern list stay in the description.
    EXPECT_EQ(nameFilters(q("雛形(HTML)|Hina*.qlw")), QStringList{q("雛形(HTML) (Hina*.qlw)")});
}

TEST(QtDialogFilters, CardTypesAreNamedAfterTheirFilters)
{
    const QString open = q("全ての対応ファイル(*.qlw;*.csv;*.qlt;*.stk;*.txt)|*.qlw;*.csv;*.qlt;*.stk;*.txt|"
                           "QLW形式(*.qlw)|*.qlw|CSV形式(*.csv)|*.csv|QLT形式(*.qlt;*.txt)|*.qlt;*.txt|"
                           "MyNote形式(*.stk)|*.stk|その他 (*.*)|*.*");
    EXPECT_EQ(typeNameFor(open, q("メモ.qlw")), q("QLW形式"));
    EXPECT_EQ(typeNameFor(open, "DATA.CSV"), q("CSV形式"));
    EXPECT_EQ(typeNameFor(open, "notes.txt"), q("QLT形式"));
    EXPECT_EQ(typeNameFor(open, "old.stk"), q("MyNote形式"));
    EXPECT_EQ(typeNameFor(open, "photo.png"), QString()) << "left to the desktop";
    EXPECT_EQ(typeNameFor(q("雛形|Hina*.qlw"), "HinaBlue.qlw"), q("雛形"));
}

namespace {

// The names the open dialog lists in its folder once the folder is read.
QStringList listedNames(QFileDialog &dialog)
{
    auto *view = dialog.findChild<QListView *>(q("listView"));
    if (!view || !view->model())
        return {};
    QStringList names;
    for (int attempt = 0; attempt < 200; ++attempt) {
        QApplication::processEvents(QEventLoop::AllEvents, 10);
        names.clear();
        const QModelIndex root = view->rootIndex();
        for (int row = 0; row < view->model()->rowCount(root); ++row)
            names.append(view->model()->index(row, 0, root).data().toString());
        if (names.contains(q("sub")))
            break;
    }
    names.sort();
    return names;
}

} // namespace

TEST(QtDialogFiles, TheProgramFilterListsExecutableFilesWhateverTheirNames)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    for (const char *name : {"editor", "notes.txt", "run.exe"}) {
        QFile file(dir.filePath(q(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(dir.filePath(q("editor")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ExeUser);
    ASSERT_TRUE(QDir(dir.path()).mkdir(q("sub")));

    QStringList programs, everything;
    QTimer::singleShot(0, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        programs = listedNames(*dialog);
        // The person picks the other filter in the type box.
        auto *types = dialog->findChild<QComboBox *>(q("fileTypeCombo"));
        if (!types)
            return;
        types->setCurrentIndex(1);
        emit types->activated(1);
        emit types->textActivated(types->currentText());
        everything = listedNames(*dialog);
        dialog->reject();
    });
    FileRequest request;
    request.title = q("外部エディタの指定");
    request.filter = q("外部アプリケーション (実行可能ファイル)|*|その他 (*.*)|*.*");
    request.startPath = dir.path();
    request.firstFilterExecutables = true;
    QtDialogs dialogs;
    EXPECT_FALSE(dialogs.openFile(request));
    EXPECT_EQ(programs, (QStringList{q("editor"), q("sub")}));
    EXPECT_EQ(everything, (QStringList{q("editor"), q("notes.txt"), q("run.exe"), q("sub")}));
}

TEST(QtDialogStartPlace, FolderOrFolderAndName)
{
    QTemporaryDir dir;
    const StartPlace folder = startPlace(dir.path());
    EXPECT_EQ(folder.folder, dir.path());
    EXPECT_TRUE(folder.fileName.isEmpty());
    const StartPlace named = startPlace(dir.filePath(q("メモ.qlw")));
    EXPECT_EQ(named.folder, dir.path());
    EXPECT_EQ(named.fileName, q("メモ.qlw"));
    const StartPlace bare = startPlace("memo.qlw");
    EXPECT_TRUE(bare.folder.isEmpty());
    EXPECT_EQ(bare.fileName, "memo.qlw");
    EXPECT_TRUE(startPlace("").folder.isEmpty());
}

// ------------------------------------------------------------------ colours

TEST(Colours, NumbersAreBlueGreenRed)
{
    EXPECT_EQ(Colours::fromRgb(0x12, 0x34, 0x56), 0x563412u);
    EXPECT_EQ(QtColours::fromQColor(QColor(0x12, 0x34, 0x56)), 0x563412u);
    EXPECT_EQ(QtColours::toQColor(0x563412u), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(QtColours::toQColor(5592405u), QColor(0x55, 0x55, 0x55));
    EXPECT_EQ(QtColours::toQColor(16777215u), QColor(Qt::white));
    EXPECT_EQ(QtColours::fromQColor(QColor(255, 0, 0, 10)), 0x0000FFu); // alpha dropped
    EXPECT_EQ(QtColours::fromQColor(QColor::fromHsv(0, 255, 255)), 0x0000FFu);
}

TEST(Colours, SystemReferencesFollowThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Base, QColor(1, 2, 3));
    palette.setColor(QPalette::ButtonText, QColor(4, 5, 6));
    palette.setColor(QPalette::Text, QColor(7, 8, 9));
    EXPECT_TRUE(Colours::isSystemColour(0x80000005u));
    EXPECT_FALSE(Colours::isSystemColour(0xFFFFFFu));
    EXPECT_EQ(QtColours::toQColor(0x80000005u, palette), QColor(1, 2, 3)); // window background
    EXPECT_EQ(QtColours::toQColor(0x80000012u, palette), QColor(4, 5, 6)); // button text
    EXPECT_EQ(QtColours::toQColor(Colours::systemColour(Colours::WindowText), palette), QColor(7, 8, 9));
}

TEST(Colours, SettingTextIsSignedDecimal)
{
    EXPECT_EQ(Colours::toSettingText(0x80000005u), "-2147483643");
    EXPECT_EQ(Colours::toSettingText(0x80000012u), "-2147483630");
    EXPECT_EQ(Colours::toSettingText(0xFFFFFFu), "16777215");
    EXPECT_EQ(Colours::fromSettingText("-2147483643"), 0x80000005u);
    EXPECT_EQ(Colours::fromSettingText(" 5592405 "), 0x555555u);
    EXPECT_EQ(Colours::fromSettingText("2147483653"), 0x80000005u);
    EXPECT_FALSE(Colours::fromSettingText("").has_value());
    EXPECT_FALSE(Colours::fromSettingText("red").has_value());
    EXPECT_FALSE(Colours::fromSettingText("4294967296").has_value());
}

// ------------------------------------------------------------------- fonts

TEST(QtDialogFonts, RoundTrip)
{
    FontChoice choice;
    choice.family = "Sans Serif";
    choice.pointSize = 10.5;
    choice.bold = true;
    choice.underline = true;
    const FontChoice back = fromQFont(toQFont(choice));
    EXPECT_EQ(back.family, choice.family);
    EXPECT_DOUBLE_EQ(back.pointSize, 10.5);
    EXPECT_TRUE(back.bold);
    EXPECT_FALSE(back.italic);
    EXPECT_TRUE(back.underline);
    EXPECT_FALSE(back.strikeOut);
}

TEST(QtDialogFonts, ThePickerStartsOnTheStoredFontOrItsJapaneseSubstitute)
{
    const QStringList japanese = {q("IPAGothic"), q("IPAPGothic"), q("IPAMincho")};
    EXPECT_EQ(presetFamily(q("IPAMincho"), japanese), q("IPAMincho"));
    EXPECT_EQ(presetFamily(q("ＭＳ Ｐゴシック"), japanese), q("IPAPGothic"));
    EXPECT_EQ(presetFamily(q("ＭＳ 明朝"), japanese), q("IPAMincho"));
    EXPECT_EQ(presetFamily(q("どこにもない書体"), japanese), q("IPAGothic"));
    EXPECT_EQ(presetFamily(q("ＭＳ Ｐゴシック"), QStringList()), q("ＭＳ Ｐゴシック"));
}

TEST(QtDialogFonts, ThePickerOffersOnlyFontsThatWriteJapanese)
{
    const QStringList offered = japaneseFamilies();
    if (offered.isEmpty())
        GTEST_SKIP() << "no font with Japanese glyphs is installed (fonts-ipafont)";
    const QStringList all = QFontDatabase::families(QFontDatabase::Japanese);
    for (const QString &family : offered)
        EXPECT_TRUE(all.contains(family)) << family.toStdString();
    EXPECT_FALSE(offered.contains(q("DejaVu Sans")));

    QStringList listed;
    QString current;
    QTimer::singleShot(0, [&] {
        QWidget *dialog = QApplication::activeModalWidget();
        if (!dialog)
            return;
        auto *families = dialog->findChild<QListWidget *>(q("lstFontFamily"));
        auto *size = dialog->findChild<QComboBox *>(q("cmbFontSize"));
        if (!families || !size)
            return;
        for (int i = 0; i < families->count(); ++i)
            listed.append(families->item(i)->text());
        current = families->currentItem() ? families->currentItem()->text() : QString();
        size->setCurrentText(q("10.5"));
        static_cast<QDialog *>(dialog)->accept();
    });
    QtDialogs dialogs;
    const std::optional<FontChoice> chosen = dialogs.chooseFont(FontChoice{q("ＭＳ Ｐゴシック"), 9});
    EXPECT_EQ(listed, offered);
    EXPECT_EQ(current, presetFamily(q("ＭＳ Ｐゴシック"), offered));
    ASSERT_TRUE(chosen);
    EXPECT_EQ(chosen->family, current);
    EXPECT_DOUBLE_EQ(chosen->pointSize, 10.5);
}

// ----------------------------------------------------------- message boxes

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QStringList buttons;
    QString defaultButton;
};

// Looks at the message box once it is up and then presses the key.
void inspectAndPress(SeenBox &seen, int key)
{
    QTimer::singleShot(0, [&seen, key] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        seen.title = box->windowTitle();
        seen.text = box->text();
        seen.icon = box->icon();
        for (QAbstractButton *b : box->buttons())
            seen.buttons.append(b->text());
        seen.buttons.sort();
        if (box->defaultButton())
            seen.defaultButton = box->defaultButton()->text();
        if (key == Qt::Key_Escape)
            box->reject();
        else if (box->defaultButton())
            box->defaultButton()->click();
    });
}

} // namespace

TEST(QtDialogsMessage, YesNoWithDefaultNo)
{
    QtDialogs dialogs;
    SeenBox seen;
    inspectAndPress(seen, Qt::Key_Return);
    const MsgAnswer answer =
        dialogs.message(q("削除しますか？"), MsgIcon::Question, MsgButtons::YesNo, q("確認"), MsgAnswer::No);
    EXPECT_EQ(answer, MsgAnswer::No);
    EXPECT_EQ(seen.title, q("確認"));
    EXPECT_EQ(seen.text, q("削除しますか？"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, (QStringList{q("いいえ(&N)"), q("はい(&Y)")}));
    EXPECT_EQ(seen.defaultButton, q("いいえ(&N)"));
}

TEST(QtDialogsMessage, EscapeRefusesAndTheTitleDefaultsToTheProgram)
{
    setProgramName("QLTWIN");
    QtDialogs dialogs;
    SeenBox seen;
    inspectAndPress(seen, Qt::Key_Escape);
    const MsgAnswer answer = dialogs.message(q("保存しますか？"), MsgIcon::Warning, MsgButtons::YesNoCancel);
    EXPECT_EQ(answer, MsgAnswer::Cancel);
    EXPECT_EQ(seen.title, "QLTWIN");
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.defaultButton, q("はい(&Y)"));
    EXPECT_EQ(seen.buttons.size(), 3);
}

// A sentence longer than half the screen stays on one line.
TEST(QtDialogsMessage, LongSentenceGetsTheWidthItNeeds)
{
    const QString sentence = q("このソフトの使用によって生じたデータの消失について、作者は一切の責任を負いません。");
    QtDialogs dialogs;
    int labelHeight = 0;
    int lineHeight = 0;
    int labelWidth = 0;
    int needed = 0;
    QTimer::singleShot(0, [&] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        if (auto *label = box->findChild<QLabel *>("qt_msgbox_label")) {
            labelHeight = label->height();
            labelWidth = label->width();
            lineHeight = label->fontMetrics().lineSpacing();
            needed = label->fontMetrics().horizontalAdvance(sentence);
        }
        box->defaultButton()->click();
    });
    dialogs.message(sentence, MsgIcon::Information);
    ASSERT_GT(lineHeight, 0);
    const int screenWidth = QGuiApplication::primaryScreen()->availableGeometry().width();
    ASSERT_GT(needed, screenWidth / 2) << "the sentence must be longer than the default wrap width";
    if (needed < screenWidth * 7 / 10) {
        EXPECT_GE(labelWidth, needed);
        EXPECT_LT(labelHeight, 2 * lineHeight) << "wrapped onto a second line";
    }
}

// Qt adds a display name that was set to every window title; the program's
// titles are built whole, so naming the program leaves it unset (an unset
// display name follows the application name).
TEST(QtDialogsProgramName, LeavesTheDisplayNameUnset)
{
    setProgramName("QLTWIN");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "QLTWIN");
    QCoreApplication::setApplicationName("renamed");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), "renamed") << "a display name was set";
    setProgramName("QLTWIN");
}

// -------------------------------------------------------------------- shell

TEST(QtShell, AddressesAsUrlsFilesAsLocalFiles)
{
    EXPECT_EQ(QtShell::urlFor("https://example.jp/a?b=c").toString(), "https://example.jp/a?b=c");
    EXPECT_EQ(QtShell::urlFor("mailto:info@example.jp").scheme(), "mailto");
    const QUrl file = QtShell::urlFor(q("/tmp/a b/プレビュー.html"));
    EXPECT_TRUE(file.isLocalFile());
    EXPECT_EQ(file.toLocalFile(), q("/tmp/a b/プレビュー.html"));
    const QUrl relative = QtShell::urlFor("Temp.html");
    EXPECT_TRUE(relative.isLocalFile());
    EXPECT_EQ(relative.toLocalFile(), QDir::current().absoluteFilePath("Temp.html"));
    EXPECT_TRUE(QtShell::urlFor("C:x").isLocalFile());
}
