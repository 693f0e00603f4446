// The document's own state: path, flag, title, reload, icons, extraction.
#include "lifecyclefixture.h"

#include "core/common/version.h"

namespace {

const QString kVer = QStringLiteral(" - QLT@WIN Ver.") + Version::dotted();

TEST(DocumentTitleTest, NamesTheFileAndMarksChangesWithoutASpace)
{
    EXPECT_EQ(DocumentTitle(QStringLiteral("/home/user/(無題)"), false), QStringLiteral("(無題)") + kVer);
    EXPECT_EQ(DocumentTitle(QStringLiteral("/data/memo.qlw"), false), QStringLiteral("memo.qlw") + kVer);
    EXPECT_EQ(DocumentTitle(QStringLiteral("/data/memo.qlw"), true), QStringLiteral("memo.qlw(変更)") + kVer);
    EXPECT_EQ(DocumentTitle(QStringLiteral("(無題)"), true), QStringLiteral("(無題)(変更)") + kVer);
}

TEST(DocumentTitleTest, UntitledIsDecidedByTheBaseName)
{
    EXPECT_TRUE(IsUntitledPath(QStringLiteral("(無題)")));
    EXPECT_TRUE(IsUntitledPath(QStringLiteral("/home/user/(無題)")));
    EXPECT_TRUE(IsUntitledPath(QStringLiteral("/home/user/(無題).qlw")));
    EXPECT_FALSE(IsUntitledPath(QStringLiteral("/home/user/memo(無題).qlw")));
    EXPECT_FALSE(IsUntitledPath(QStringLiteral("/home/(無題)/memo.qlw")));
}

using DocumentStateTest = LifecycleTest;

TEST_F(DocumentStateTest, PathAndFlagKeepTheTitleAndReloadInStep)
{
    document.SetDocumentPath(QStringLiteral("/home/user/(無題)"));
    EXPECT_EQ(view.titles.last(), QStringLiteral("(無題)") + kVer);
    EXPECT_FALSE(view.reloadEnabled);
    EXPECT_FALSE(document.reloadEnabled());

    document.SetDocumentPath(QStringLiteral("/data/memo.qlw"));
    EXPECT_TRUE(view.reloadEnabled);
    EXPECT_EQ(view.htmlFolderForgotten, 2);
    document.SetModified(true);
    EXPECT_EQ(view.titles.last(), QStringLiteral("memo.qlw(変更)") + kVer);
    EXPECT_EQ(document.title(), view.titles.last());
    document.SetModified(false);
    EXPECT_EQ(view.titles.last(), QStringLiteral("memo.qlw") + kVer);
}

TEST_F(DocumentStateTest, ResetCardIconsMarksEveryCardSaved)
{
    document.cards().append(MakeCard(QStringLiteral("a")));
    document.cards().append(MakeCard(QStringLiteral("b")));
    document.cards().setIcon(1, CardIcon::Changed);
    document.ResetCardIcons();
    EXPECT_EQ(document.cards().at(0).icon, CardIcon::Saved);
    EXPECT_EQ(document.cards().at(1).icon, CardIcon::Saved);
}

TEST_F(DocumentStateTest, LeavingExtractionRunsTheHandlerOnlyInExtractionMode)
{
    int runs = 0;
    document.setLeaveExtractionHandler([&] {
        ++runs;
        EXPECT_EQ(document.ActiveListIndex(), 1) << "the handler still sees the extraction list";
    });
    document.LeaveExtractionMode();
    EXPECT_EQ(runs, 0);

    document.setExtractionActive(true);
    EXPECT_EQ(&document.activeList(), &document.lvData(1));
    document.LeaveExtractionMode();
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(&document.activeList(), &document.lvData(0));
}

TEST_F(DocumentStateTest, DocumentWorksWithoutAView)
{
    view.detach();
    document.SetDocumentPath(cardFile(QStringLiteral("memo.qlw")));
    EXPECT_EQ(files.OpenDocument(cardFile(QStringLiteral("memo.qlw"))), OpenOutcome::NewFile);
    EXPECT_TRUE(files.WindowClosing());
    EXPECT_TRUE(view.titles.isEmpty());
}

} // namespace
