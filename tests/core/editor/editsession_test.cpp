// An edit session on the cards of a document: loading, change tracking,
// apply and commit with their recovery, sizes, MenuEditOpen, most-front.
#include "editorfixture.h"

#include "core/common/version.h"

#include <QSignalSpy>

namespace {

const QString kVersion = QStringLiteral(" - QLT@WIN Ver.") + Version::dotted();

class Session : public EditorTest
{
};

TEST_F(Session, LoadSplitsTheTitleAndCollectsTheGroupsOfTheMainList)
{
    addCard(QString::fromUtf8("私用＠x"));
    const QString key =
        addCard(QString::fromUtf8("2001/01/02：仕事＠会議"), QStringLiteral("r"), QStringLiteral("c\r\n"));
    addCard(QString::fromUtf8("抽出だけ＠y"), {}, {}, 1);
    EditSession session(context, 0, key, 3);
    ASSERT_TRUE(session.load());
    EXPECT_EQ(session.group(), QString::fromUtf8("仕事"));
    EXPECT_EQ(session.title(), QString::fromUtf8("2001/01/02：会議"));
    EXPECT_EQ(session.remarks(), QStringLiteral("r"));
    EXPECT_EQ(session.content(), QStringLiteral("c\r\n"));
    EXPECT_EQ(session.groupChoices(), (QStringList{QString::fromUtf8("私用"), QString::fromUtf8("仕事")}));
    EXPECT_EQ(session.titleSelection(), (EditorTitle::Selection{11, 2}));
    EXPECT_EQ(session.ArrayIndex(), 3);
    EXPECT_EQ(session.Index(), 0);
    EXPECT_FALSE(session.ChangeCard());
    EXPECT_EQ(session.windowTitle(), QString::fromUtf8("2001/01/02：会議") + kVersion);
}

TEST_F(Session, LoadFailsForAKeyTheListDoesNotHold)
{
    addCard(QStringLiteral("a"));
    EditSession session(context, 0, QStringLiteral("nope"), 0);
    EXPECT_FALSE(session.load());
    // The card is looked up in the list it was opened from.
    const QString key = addCard(QStringLiteral("b"));
    EXPECT_FALSE(EditSession(context, 1, key, 0).load());
}

TEST_F(Session, ChangesCountOnlyWhileTrackingAndMarkTheWindowTitle)
{
    const QString key = addCard(QString::fromUtf8("会議"));
    EditSession session(context, 0, key, 0);
    ASSERT_TRUE(session.load());
    QSignalSpy titles(&session, &EditSession::windowTitleChanged);
    session.setTitle(QString::fromUtf8("会議2")); // still loading
    EXPECT_FALSE(session.ChangeCard());
    session.setTracking(true);
    session.setRemarks(QString()); // equal text: no change
    EXPECT_FALSE(session.ChangeCard());
    session.setRemarks(QStringLiteral("r"));
    EXPECT_TRUE(session.ChangeCard());
    EXPECT_EQ(session.windowTitle(), QString::fromUtf8("会議2(変更) - QLT@WIN Ver.") + Version::dotted());
    ASSERT_FALSE(titles.isEmpty());
    EXPECT_EQ(titles.last().at(0).toString(), session.windowTitle());
}

TEST_F(Session, GroupPickAndContentEditCount)
{
    const QString key = addCard(QString::fromUtf8("仕事＠会議"), {}, QStringLiteral("old"));
    auto picked = openSession(key);
    picked->groupPicked();
    EXPECT_TRUE(picked->ChangeCard());

    auto edited = openSession(key, 0, 1);
    QString box = QStringLiteral("new\r\n");
    int fetched = 0;
    edited->setContentSource([&] {
        ++fetched;
        return box;
    });
    edited->contentEdited();
    EXPECT_TRUE(edited->ChangeCard());
    EXPECT_EQ(fetched, 0);
    EXPECT_EQ(edited->content(), QStringLiteral("new\r\n"));
    EXPECT_EQ(edited->content(), QStringLiteral("new\r\n"));
    EXPECT_EQ(fetched, 1);
}

TEST_F(Session, LeavingTitleOrRemarksRemovesLineBreaksContentKeepsThem)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    QSignalSpy replaced(session.get(), &EditSession::boxReplaced);
    session->setTitle(QStringLiteral("a\r\nb"));
    session->setRemarks(QStringLiteral("x\ny\rz"));
    session->setContent(QStringLiteral("1\r\n2"));
    session->leaveBox(EditBox::Title);
    session->leaveBox(EditBox::Remarks);
    session->leaveBox(EditBox::Content);
    EXPECT_EQ(session->title(), QStringLiteral("ab"));
    EXPECT_EQ(session->remarks(), QStringLiteral("xyz"));
    EXPECT_EQ(session->content(), QStringLiteral("1\r\n2"));
    ASSERT_EQ(replaced.size(), 2);
    EXPECT_EQ(replaced[0].at(1).toString(), QStringLiteral("ab"));
    EXPECT_EQ(replaced[1].at(1).toString(), QStringLiteral("xyz"));
}

TEST_F(Session, ApplyWhileStillInTheTitleBoxRemovesItsLineBreaksToo)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    QSignalSpy replaced(session.get(), &EditSession::boxReplaced);
    session->setTitle(QStringLiteral("new\r\ntitle"));
    session->setRemarks(QStringLiteral("r\n"));
    session->applyAndClose();
    EXPECT_EQ(card(key)->title, QStringLiteral("newtitle"));
    EXPECT_EQ(card(key)->remarks, QStringLiteral("r"));
    EXPECT_EQ(replaced.size(), 2);
}

TEST_F(Session, ApplyWritesTheCardByKeyMarksItAndTheDocument)
{
    addCard(QStringLiteral("first"));
    const QString key = addCard(QString::fromUtf8("2001/01/02：仕事＠会議"), QStringLiteral("r"), QStringLiteral("c"));
    auto session = openSession(key);
    session->setContent(QStringLiteral("changed\r\n"));
    // The card moved meanwhile (a sort, say): found by key all the same.
    mainCards().reorder({1, 0});

    EXPECT_EQ(session->applyAndClose(), EditSession::Applied::Written);
    settle();
    const Card *c = card(key);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->title, QString::fromUtf8("2001/01/02：仕事＠会議"));
    EXPECT_EQ(c->remarks, QStringLiteral("r"));
    EXPECT_EQ(c->content, QStringLiteral("changed\r\n"));
    EXPECT_EQ(c->icon, CardIcon::Changed);
    EXPECT_EQ(mainCards().at(1).icon, CardIcon::Saved);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(view.titles.last(), QString::fromUtf8("memo.qlw(変更)") + kVersion);
    EXPECT_EQ(view.groupRebuilds, 1);
    EXPECT_EQ(view.previewRefreshes, 1);
    EXPECT_EQ(mainCards().count(), 2);
}

TEST_F(Session, ApplyWithoutChangesTouchesNothing)
{
    const QString key = addCard(QString::fromUtf8("仕事＠2001/01/02：会議"));
    auto session = openSession(key);
    EXPECT_EQ(session->applyAndClose(), EditSession::Applied::Unchanged);
    EXPECT_EQ(card(key)->title, QString::fromUtf8("仕事＠2001/01/02：会議"));
    EXPECT_EQ(card(key)->icon, CardIcon::Saved);
    EXPECT_FALSE(document.IsModified());
}

TEST_F(Session, ClearedGroupAndTrimmedGroupInTheTitleField)
{
    const QString key = addCard(QString::fromUtf8("2001/01/02：仕事＠会議"));
    auto session = openSession(key);
    session->setGroup(QString());
    session->applyAndClose();
    EXPECT_EQ(card(key)->title, QString::fromUtf8("2001/01/02：会議"));

    auto again = openSession(key);
    again->setGroup(QString::fromUtf8("  新しい 組  "));
    again->applyAndClose();
    EXPECT_EQ(card(key)->title, QString::fromUtf8("2001/01/02：新しい 組＠会議"));
}

TEST_F(Session, GroupWithTheMarkIsRefusedAndNothingIsWritten)
{
    const QString key = addCard(QString::fromUtf8("会議"));
    auto session = openSession(key);
    QSignalSpy focus(session.get(), &EditSession::groupFocusRequested);
    session->setGroup(QString::fromUtf8("A＠B"));
    EXPECT_EQ(session->applyAndClose(), EditSession::Applied::Refused);
    EXPECT_EQ(session->commit(true), EditSession::Applied::Refused);
    EXPECT_EQ(card(key)->title, QString::fromUtf8("会議"));
    EXPECT_FALSE(document.IsModified());
    EXPECT_TRUE(session->ChangeCard());
    EXPECT_EQ(saves, 0);
    EXPECT_EQ(focus.size(), 2);
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages()[0].text, QString::fromUtf8("「＠」を含めることはできません。"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Information);
}

TEST_F(Session, CommitKeepsTheSessionAndClearsTheFlagSaveOnlyWhenAsked)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    session->setRemarks(QStringLiteral("one"));
    EXPECT_EQ(session->commit(false), EditSession::Applied::Written);
    EXPECT_FALSE(session->ChangeCard());
    EXPECT_EQ(session->windowTitle(), QStringLiteral("t") + kVersion);
    EXPECT_EQ(card(key)->remarks, QStringLiteral("one"));
    EXPECT_EQ(saves, 0);

    session->setRemarks(QStringLiteral("two"));
    EXPECT_TRUE(session->ChangeCard());
    EXPECT_EQ(session->commit(true), EditSession::Applied::Written);
    EXPECT_EQ(card(key)->remarks, QStringLiteral("two"));
    EXPECT_EQ(saves, 1);
    // Nothing changed: still saved when asked.
    EXPECT_EQ(session->commit(true), EditSession::Applied::Unchanged);
    EXPECT_EQ(saves, 2);
}

TEST_F(Session, DeletedCardIsAddedAgainWithItsGroup)
{
    addCard(QStringLiteral("other"));
    const QString key = addCard(QString::fromUtf8("2001/01/02：仕事＠会議"), QStringLiteral("r"), QStringLiteral("c"));
    addCard(QStringLiteral("last"));
    auto session = openSession(key);
    session->setContent(QStringLiteral("kept"));
    ASSERT_TRUE(mainCards().removeKey(key));
    document.SetModified(false);

    EXPECT_EQ(session->applyAndClose(), EditSession::Applied::Recovered);
    settle();
    ASSERT_EQ(mainCards().count(), 3);
    const Card &back = mainCards().at(2);
    EXPECT_EQ(back.key, key);
    EXPECT_EQ(back.title, QString::fromUtf8("2001/01/02：仕事＠会議"));
    EXPECT_EQ(back.remarks, QStringLiteral("r"));
    EXPECT_EQ(back.content, QStringLiteral("kept"));
    EXPECT_EQ(back.icon, CardIcon::Changed);
    EXPECT_TRUE(document.IsModified());
    EXPECT_EQ(view.previewRefreshes, 1);
}

TEST_F(Session, CommitRecoversTooAndStaysOpen)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    session->setRemarks(QStringLiteral("r"));
    mainCards().removeKey(key);
    EXPECT_EQ(session->commit(false), EditSession::Applied::Recovered);
    EXPECT_FALSE(session->ChangeCard());
    ASSERT_NE(card(key), nullptr);
    // A second commit finds the re-added card instead of adding another.
    session->setRemarks(QStringLiteral("r2"));
    EXPECT_EQ(session->commit(false), EditSession::Applied::Written);
    EXPECT_EQ(mainCards().count(), 1);
}

TEST_F(Session, CardOpenedBeforeAnExtractionIsWrittenToItsExtractionCopy)
{
    const QString key = addCard(QStringLiteral("t"), QStringLiteral("r"), QStringLiteral("c"));
    auto session = openSession(key);
    // An extraction begins: the extraction list holds a copy under the same key.
    extractionCards().append(*card(key));
    document.setExtractionActive(true);
    session->setContent(QStringLiteral("new"));
    EXPECT_EQ(session->applyAndClose(), EditSession::Applied::Written);
    EXPECT_EQ(session->Index(), 1);
    EXPECT_EQ(card(key, 1)->content, QStringLiteral("new"));
    EXPECT_EQ(card(key, 1)->icon, CardIcon::Changed);
}

TEST_F(Session, RecoveryInAnExtractionKeepsTheCardInTheMainListToo)
{
    const QString kept = addCard(QStringLiteral("kept"));
    const QString deleted = addCard(QStringLiteral("deleted"));
    auto onMainList = openSession(kept);
    auto onDeleted = openSession(deleted, 0, 1);
    document.setExtractionActive(true); // neither card matched the extraction
    mainCards().removeKey(deleted);

    onMainList->setRemarks(QStringLiteral("a"));
    onDeleted->setRemarks(QStringLiteral("b"));
    EXPECT_EQ(onMainList->applyAndClose(), EditSession::Applied::Recovered);
    EXPECT_EQ(onDeleted->applyAndClose(), EditSession::Applied::Recovered);
    // Both are in the extraction list now; the deleted one is back in the main
    // list as well, so ending the extraction cannot drop it.
    EXPECT_EQ(card(kept, 1)->remarks, QStringLiteral("a"));
    EXPECT_EQ(card(deleted, 1)->remarks, QStringLiteral("b"));
    EXPECT_EQ(mainCards().count(), 2);
    ASSERT_NE(card(deleted), nullptr);
    EXPECT_EQ(card(deleted)->remarks, QStringLiteral("b"));
    EXPECT_EQ(card(kept)->remarks, QString());
}

TEST_F(Session, EscapeDiscardsOnlyWithoutChanges)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    EXPECT_TRUE(session->escapeDiscards());
    session->setTitle(QStringLiteral("u"));
    EXPECT_FALSE(session->escapeDiscards());
}

TEST_F(Session, WindowSizeInTwipsFifteenPerPixel)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    EXPECT_EQ(session->storedWindowSize(), QSize(575, 422)); // 8625 x 6330 twips

    session->storeWindowSize(QSize(640, 480), false);
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeX), 9600);
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeY), 7200);

    document.settings().setSwitch(SettingKey::SaveWindowSize, false);
    session->storeWindowSize(QSize(100, 100), false);
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeX), 9600);
    session->storeWindowSize(QSize(100, 50), true);
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeX), 1500);
    EXPECT_EQ(document.settings().integer(SettingKey::WindowEditSizeY), 750);
}

TEST_F(Session, OpenSelectionNeedsTextThenShellOrExtraction)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    session->openSelection(0, QString());
    session->openSelection(1, QString());
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages()[0].text, QString::fromUtf8("範囲選択しておく必要があります。"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Information);
    EXPECT_TRUE(shell.opened.isEmpty());
    EXPECT_TRUE(extracted.isEmpty());

    session->openSelection(0, QStringLiteral("https://example.org/"));
    session->openSelection(1, QString::fromUtf8("会議"));
    EXPECT_EQ(shell.opened, QStringList{QStringLiteral("https://example.org/")});
    EXPECT_EQ(extracted, QStringList{QString::fromUtf8("会議")});
}

TEST_F(Session, MostFrontButtonShowsTheNoticeOnceMenuNever)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    QSignalSpy states(session.get(), &EditSession::mostFrontChanged);
    session->toggleMostFrontFromMenu();
    EXPECT_TRUE(session->mostFront());
    EXPECT_TRUE(dialogs.messages().isEmpty());

    session->toggleMostFrontFromButton();
    EXPECT_FALSE(session->mostFront());
    session->toggleMostFrontFromButton();
    EXPECT_TRUE(session->mostFront());
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text,
              QString::fromUtf8("　最前面の設定は、バグのため、簡単に狂ってしまいます。これは仕様とします。\r\n"
                                "　狂った場合は、再度設定し直してください。\r\n"
                                "　なお、このメッセージは二度と表示されません。"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Information);
    EXPECT_EQ(userStore.values.value(QStringLiteral("MostFront")), QStringLiteral("1"));
    EXPECT_EQ(states.size(), 3);
}

TEST_F(Session, BrowseModeIsTheMainWindows)
{
    const QString key = addCard(QStringLiteral("t"));
    auto session = openSession(key);
    EXPECT_FALSE(session->browseMode());
    session->toggleBrowseMode();
    EXPECT_TRUE(browse);
    EXPECT_TRUE(session->browseMode());
}

} // namespace
