// Saving: the save command, save as with its dialog, the checks before a
// write, and where the guard, the recent list and the per-file settings go.
#include "lifecyclefixture.h"

#include "core/cards/cardmessages.h"
#include "core/common/version.h"

namespace {

const QString kCannotWrite = QStringLiteral("ファイルが書き込めません");
const QString kUseWizard = QStringLiteral("「HTML出力ウイザード」を使用してください。");
const QString kNeedName = QStringLiteral("ファイル名を付けてください。");
const QString kSaveAsTitle = QStringLiteral("名前を付けてカードファイルの保存");
const QString kSaveAsFilter =
    QStringLiteral("QLW形式(*.qlw)|*.qlw|CSV形式(*.csv)|*.csv|QLT形式(*.qlt;*.txt)|*.qlt;*.txt|MyNote形式(*.stk)|*.stk|"
                   "その他 (*.*)|*.*");

class DocumentSaveTest : public LifecycleTest
{
protected:
    QString memo;
    void SetUp() override
    {
        LifecycleTest::SetUp();
        memo = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("one")});
        files.OpenDocument(memo);
        dialogs.clear();
    }
    // A change the way a card command makes one.
    void changeCard(const QString &title)
    {
        document.cards().setTitle(0, title);
        document.cards().setIcon(0, CardIcon::Changed);
        document.SetModified(true);
    }
    void chooseOnSave(const QString &path) { dialogs.files.enqueue(path); }
};

TEST_F(DocumentSaveTest, SaveWritesTheFileClearsTheFlagAndResetsTheIcons)
{
    changeCard(QStringLiteral("changed"));
    EXPECT_EQ(view.titles.last(), QStringLiteral("memo.qlw(変更) - QLT@WIN Ver.") + Version::dotted());

    EXPECT_TRUE(files.Save());

    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_EQ(bytes(memo), QByteArray("changed\x01r\x01"
                                      "c\x01"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_EQ(document.cards().at(0).icon, CardIcon::Saved);
    EXPECT_EQ(view.titles.last(), QStringLiteral("memo.qlw - QLT@WIN Ver.") + Version::dotted());
}

TEST_F(DocumentSaveTest, SaveAddsTheFileToTheRecentListEvenWhenItFails)
{
    const QString other = writeNative(QStringLiteral("other.qlw"), {QStringLiteral("x")});
    document.AddRecentFile(other);
    ASSERT_EQ(document.recentFiles().entry(0), other);
    document.cards().setContent(0, QStringLiteral("bad\x01"));

    EXPECT_FALSE(files.Save());
    EXPECT_EQ(document.recentFiles().entry(0), memo);
}

TEST_F(DocumentSaveTest, UntitledDocumentSavesThroughTheDialog)
{
    files.NewDocument();
    document.cards().append(MakeCard(QStringLiteral("fresh")));
    document.SetModified(true);
    const QString target = cardFile(QStringLiteral("fresh.qlw"));
    chooseOnSave(target);

    EXPECT_TRUE(files.Save());

    const QList<FakeDialogs::Record> asked = choosers(QStringLiteral("saveFile"));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].file.title, kSaveAsTitle);
    EXPECT_EQ(asked[0].file.filter, kSaveAsFilter);
    EXPECT_TRUE(asked[0].file.promptOverwrite);
    EXPECT_EQ(asked[0].file.startPath, QStringLiteral("(無題)"));
    EXPECT_EQ(document.DocumentPath(), target);
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(QFileInfo::exists(target));
}

TEST_F(DocumentSaveTest, SaveAsProposesTheOldNameWithoutExtension)
{
    // Nothing queued: the dialog is cancelled.
    EXPECT_FALSE(files.SaveAs());
    const QList<FakeDialogs::Record> asked = choosers(QStringLiteral("saveFile"));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].file.startPath, cardFile(QStringLiteral("memo")));
    EXPECT_TRUE(dialogs.messages().isEmpty()) << "a cancelled dialog shows nothing";
    EXPECT_EQ(document.DocumentPath(), memo);
}

TEST_F(DocumentSaveTest, ToolbarFormatEntriesStartOnTheirFilter)
{
    // "CSV形式" under save: the CSV filter and the old name as a CSV file.
    chooseOnSave(cardFile(QStringLiteral("memo.csv")));
    EXPECT_TRUE(files.SaveAs(&DocumentTexts::CsvFormat));
    QList<FakeDialogs::Record> asked = choosers(QStringLiteral("saveFile"));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].file.filterIndex, 1);
    EXPECT_EQ(asked[0].file.startPath, cardFile(QStringLiteral("memo.csv")));
    EXPECT_EQ(document.DocumentPath(), cardFile(QStringLiteral("memo.csv")));
    EXPECT_TRUE(QFileInfo::exists(cardFile(QStringLiteral("memo.csv"))));

    // "QLW形式" under open: the QLW entry of the open list.
    dialogs.clear();
    files.OpenWithDialog(&DocumentTexts::QlwFormat);
    asked = choosers(QStringLiteral("openFile"));
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0].file.filterIndex, 1);
    EXPECT_TRUE(asked[0].file.filter.split(QLatin1Char('|')).at(2).startsWith(QStringLiteral("QLW形式")));
}

TEST_F(DocumentSaveTest, SaveAsWithoutExtensionFailsAndKeepsThePath)
{
    changeCard(QStringLiteral("changed"));
    chooseOnSave(cardFile(QStringLiteral("abc")));

    EXPECT_FALSE(files.SaveAs());

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kCannotWrite});
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(document.DocumentPath(), memo);
    EXPECT_FALSE(QFileInfo::exists(cardFile(QStringLiteral("abc"))));
    EXPECT_TRUE(document.IsModified());
}

TEST_F(DocumentSaveTest, SaveAsHtmlPointsToTheWizardAndWritesNothing)
{
    chooseOnSave(cardFile(QStringLiteral("page.html")));

    EXPECT_FALSE(files.SaveAs());

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kUseWizard});
    EXPECT_EQ(messages()[0].icon, MsgIcon::Warning);
    EXPECT_FALSE(QFileInfo::exists(cardFile(QStringLiteral("page.html"))));
    EXPECT_EQ(document.DocumentPath(), memo);
}

TEST_F(DocumentSaveTest, SavingAnHtmlDocumentPointsToTheWizardOnly)
{
    const QString page = cardFile(QStringLiteral("page.html"));
    files.ReplaceDocument(page); // no such file: a new document under that name
    document.cards().append(MakeCard(QStringLiteral("x")));
    document.SetModified(true);
    dialogs.clear();

    EXPECT_FALSE(files.Save());

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kUseWizard});
    EXPECT_FALSE(QFileInfo::exists(page));
    EXPECT_TRUE(document.IsModified());
}

TEST_F(DocumentSaveTest, SaveAsUntitledNameAsksForANameAndShowsTheDialogAgain)
{
    chooseOnSave(cardFile(QStringLiteral("(無題).qlw")));
    const QString target = cardFile(QStringLiteral("named.csv"));
    chooseOnSave(target);

    EXPECT_TRUE(files.SaveAs());

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kNeedName});
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(choosers(QStringLiteral("saveFile")).size(), 2);
    EXPECT_FALSE(QFileInfo::exists(cardFile(QStringLiteral("(無題).qlw"))));
    EXPECT_EQ(bytes(target), QByteArray("\"one\",\"r\",\"c\"\r\n"));
    EXPECT_EQ(document.DocumentPath(), target);
}

TEST_F(DocumentSaveTest, SaveAsMovesTheGuardEntryAndTheRecentList)
{
    const QString target = cardFile(QStringLiteral("moved.qlw"));
    chooseOnSave(target);

    EXPECT_TRUE(files.SaveAs());

    EXPECT_EQ(listedInGuard(), QStringList{target});
    EXPECT_EQ(document.recentFiles().entry(0), target);
    EXPECT_EQ(document.recentFiles().entry(1), memo);
    EXPECT_TRUE(view.reloadEnabled);
}

TEST_F(DocumentSaveTest, SaveAsToAnUnwritablePlaceTakesTheNameAndReportsOnceWithTheReason)
{
    // A folder that does not exist: the writer finds the file not writable.
    const QString target = cardFile(QStringLiteral("missing/sub.qlw"));
    chooseOnSave(target);
    changeCard(QStringLiteral("changed"));

    EXPECT_FALSE(files.SaveAs());

    EXPECT_EQ(dialogs.messageTexts(), QStringList{kCannotWrite + QStringLiteral("\r\n保存先のフォルダがありません。")});
    EXPECT_EQ(document.DocumentPath(), target);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(listedInGuard(), QStringList{target}) << "no entry is left behind for the old name";
}

TEST_F(DocumentSaveTest, PerFileSettingsFollowTheCardFileOnSaveAs)
{
    const QString perFile = cardFile(QStringLiteral("memo.ini"));
    writeText(perFile, QStringLiteral("[General]\r\nListViewMode = 1\r\n"));
    files.ReplaceDocument(memo);
    ASSERT_TRUE(document.settings().FileSettingsActive());
    document.settings().setInteger(QStringLiteral("ListViewMode"), 2);
    const QString target = cardFile(QStringLiteral("renamed.qlw"));
    chooseOnSave(target);

    EXPECT_TRUE(files.SaveAs());

    EXPECT_TRUE(Win31J::decode(bytes(perFile)).contains(QStringLiteral("\r\nListViewMode = 2\r\n")))
        << "the old settings file keeps what was changed";
    EXPECT_EQ(document.settings().fileName(), cardFile(QStringLiteral("renamed.ini")));
    EXPECT_FALSE(QFileInfo::exists(cardFile(QStringLiteral("renamed.ini")))) << "saved there later";
    EXPECT_TRUE(files.WindowClosing());
    EXPECT_TRUE(
        Win31J::decode(bytes(cardFile(QStringLiteral("renamed.ini")))).contains(QStringLiteral("ListViewMode = 2")));
}

TEST_F(DocumentSaveTest, GeneralSettingsStayWhereTheyAreOnSaveAs)
{
    chooseOnSave(cardFile(QStringLiteral("renamed.qlw")));
    EXPECT_TRUE(files.SaveAs());
    EXPECT_EQ(document.settings().fileName(), document.settings().generalSettingsFile());
}

TEST_F(DocumentSaveTest, UnmappableCharactersAskAndNoKeepsTheOldFileAndTheFlag)
{
    const QByteArray before = bytes(memo);
    changeCard(QStringLiteral("smile 😀"));
    answer({MsgAnswer::No});

    EXPECT_FALSE(files.Save());

    ASSERT_EQ(messages().size(), 1) << "a declined save is not reported as a failure";
    EXPECT_EQ(messages()[0].text, CardMessages::UnmappableQuestion(document.cards(), 1, 0));
    EXPECT_EQ(messages()[0].icon, MsgIcon::Warning);
    EXPECT_EQ(messages()[0].buttons, MsgButtons::YesNo);
    EXPECT_EQ(messages()[0].defaultButton, MsgAnswer::No);
    EXPECT_EQ(bytes(memo), before);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(document.cards().at(0).icon, CardIcon::Changed);
}

TEST_F(DocumentSaveTest, UnmappableCharactersBecomeQuestionMarksWhenAllowed)
{
    changeCard(QStringLiteral("smile 😀"));
    answer({MsgAnswer::Yes});

    EXPECT_TRUE(files.Save());

    EXPECT_EQ(bytes(memo), QByteArray("smile ?\x01r\x01"
                                      "c\x01"));
    EXPECT_FALSE(document.IsModified());
}

TEST_F(DocumentSaveTest, UnmappableQuestionDeclinedInSaveAsKeepsTheName)
{
    changeCard(QStringLiteral("smile 😀"));
    const QString target = cardFile(QStringLiteral("other.qlt"));
    chooseOnSave(target);
    answer({MsgAnswer::No});

    EXPECT_FALSE(files.SaveAs());

    EXPECT_EQ(messages().size(), 1);
    EXPECT_EQ(document.DocumentPath(), memo);
    EXPECT_FALSE(QFileInfo::exists(target));
    EXPECT_EQ(listedInGuard(), QStringList{memo});
}

TEST_F(DocumentSaveTest, NativeSaveRefusesAFieldHoldingTheFieldMark)
{
    const QByteArray before = bytes(memo);
    document.cards().setContent(0, QStringLiteral("a\x01"
                                                  "b"));
    document.SetModified(true);

    EXPECT_FALSE(files.Save());

    EXPECT_EQ(dialogs.messageTexts(), QStringList{CardMessages::FieldMarkRefusal(document.cards(), 0)});
    EXPECT_EQ(messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(bytes(memo), before);
    EXPECT_TRUE(document.IsModified());
}

TEST_F(DocumentSaveTest, WritersStampUndatedTitlesWhenDatesAreOn)
{
    const QString perFile = cardFile(QStringLiteral("memo.ini"));
    writeText(perFile, QStringLiteral("[General]\r\nAddDateInfo = 1\r\n"));
    files.ReplaceDocument(memo);

    EXPECT_TRUE(files.Save());

    EXPECT_EQ(Win31J::decode(bytes(memo)), QStringLiteral("2001/05/03：one\x01r\x01"
                                                          "c\x01"));
    EXPECT_EQ(document.cards().at(0).title, QStringLiteral("one")) << "the cards in memory stay as they are";
}

TEST_F(DocumentSaveTest, SaveLeavesExtractionModeBeforeWriting)
{
    document.setExtractionActive(true);
    document.setLeaveExtractionHandler([&] { document.cards().setTitle(0, QStringLiteral("written back")); });

    EXPECT_TRUE(files.Save());

    EXPECT_EQ(bytes(memo), QByteArray("written back\x01r\x01"
                                      "c\x01"));
    EXPECT_EQ(document.ActiveListIndex(), 0);
}

} // namespace
