// What a document with no window announces: open, change, extraction, save
// and close give the right signals in the right order, and nothing is
// announced when nothing changed.
#include "lifecyclefixture.h"

#include "core/common/tool.h"
#include "core/common/version.h"

#include <QSignalSpy>

namespace {

// Every signal of the document in one list, in the order they came.
class SignalLog
{
public:
    explicit SignalLog(Document &document)
    {
        auto note = [this](const QString &text) { entries.append(text); };
        QObject::connect(&document, &Document::pathChanged, &m_receiver,
                         [note](const QString &path) { note(QStringLiteral("path ") + Tool::FileNameOf(path)); });
        QObject::connect(&document, &Document::modifiedChanged, &m_receiver,
                         [note](bool on) { note(QStringLiteral("modified %1").arg(on)); });
        QObject::connect(&document, &Document::titleChanged, &m_receiver,
                         [note](const QString &) { note(QStringLiteral("title")); });
        QObject::connect(&document, &Document::extractionChanged, &m_receiver,
                         [note](bool on) { note(QStringLiteral("extraction %1").arg(on)); });
        QObject::connect(&document, &Document::settingsApplied, &m_receiver,
                         [note] { note(QStringLiteral("settings")); });
        QObject::connect(&document, &Document::recentFilesChanged, &m_receiver,
                         [note] { note(QStringLiteral("recent")); });
        QObject::connect(&document, &Document::opened, &m_receiver, [note] { note(QStringLiteral("opened")); });
        QObject::connect(&document, &Document::cardsAboutToBeReplaced, &m_receiver,
                         [note] { note(QStringLiteral("replacing")); });
        QObject::connect(&document, &Document::listChanged, &m_receiver,
                         [note](int list, int changes) { note(QStringLiteral("list %1 %2").arg(list).arg(changes)); });
        QObject::connect(&document, &Document::cardShown, &m_receiver,
                         [note](int list, qsizetype row) { note(QStringLiteral("show %1 %2").arg(list).arg(row)); });
        QObject::connect(&document, &Document::editRequested, &m_receiver,
                         [note](int list) { note(QStringLiteral("edit %1").arg(list)); });
    }

    QStringList take() { return std::exchange(entries, {}); }
    QStringList entries;

private:
    QObject m_receiver;
};

class DocumentSignalsTest : public LifecycleTest
{
protected:
    void SetUp() override
    {
        view.detach(); // no window at all
        settle();
        log.take();
    }
    SignalLog log{document};
};

TEST_F(DocumentSignalsTest, OpeningAFileAnnouncesEachStepInOrder)
{
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("one"), QStringLiteral("two")});
    QSignalSpy titles(&document, &Document::titleChanged);

    ASSERT_EQ(files.OpenDocument(path), OpenOutcome::Opened);
    settle();

    EXPECT_EQ(log.take(), (QStringList{"replacing", "path memo.qlw", "title", "settings", "recent", "opened",
                                       "show 0 0", "list 0 3"}));
    ASSERT_EQ(titles.count(), 1);
    EXPECT_EQ(titles.at(0).at(0).toString(), QStringLiteral("memo.qlw - QLT@WIN Ver.") + Version::dotted());
}

TEST_F(DocumentSignalsTest, AChangeAnnouncesTheFlagTheTitleAndOneListChange)
{
    document.SetDocumentPath(cardFile(QStringLiteral("memo.qlw")));
    log.take();
    QSignalSpy modified(&document, &Document::modifiedChanged);

    // Three rows in one command: one announcement once the command is done.
    for (const char *title : {"a", "b", "c"})
        document.cards().append(MakeCard(QString::fromUtf8(title)));
    document.SetModified(true);
    EXPECT_EQ(log.entries, (QStringList{"modified 1", "title"}));
    settle();
    EXPECT_EQ(log.take(), (QStringList{"modified 1", "title", "list 0 1"}));
    ASSERT_EQ(modified.count(), 1);
    EXPECT_TRUE(modified.at(0).at(0).toBool());

    // The same again changes nothing and announces nothing.
    document.SetModified(true);
    document.SetDocumentPath(cardFile(QStringLiteral("memo.qlw")));
    settle();
    EXPECT_TRUE(log.take().isEmpty());
    EXPECT_EQ(modified.count(), 1);
}

TEST_F(DocumentSignalsTest, TheEventLoopAnnouncesListChangesOnItsOwn)
{
    QSignalSpy lists(&document, &Document::listChanged);
    document.cards().append(MakeCard(QStringLiteral("a")));
    document.lvData(0).setSelected(0);
    EXPECT_EQ(lists.count(), 0) << "gathered until the command returns";
    QCoreApplication::processEvents();
    ASSERT_EQ(lists.count(), 1);
    EXPECT_EQ(lists.at(0).at(0).toInt(), 0);
    EXPECT_EQ(lists.at(0).at(1).toInt(), Document::CardsChanged | Document::SelectionChanged);
    QCoreApplication::processEvents();
    EXPECT_EQ(lists.count(), 1);
}

TEST_F(DocumentSignalsTest, ExtractionIsAnnouncedOnceEachWay)
{
    QStringList seenByHandler;
    document.setLeaveExtractionHandler([&] { seenByHandler = log.entries; });
    document.LeaveExtractionMode();
    EXPECT_TRUE(log.entries.isEmpty()) << "nothing to leave";

    document.setExtractionActive(true);
    document.setExtractionActive(true);
    EXPECT_EQ(log.take(), QStringList{"extraction 1"});
    document.LeaveExtractionMode();
    EXPECT_TRUE(seenByHandler.isEmpty()) << "the handler runs while extraction is still on";
    EXPECT_EQ(log.take(), QStringList{"extraction 0"});
}

TEST_F(DocumentSignalsTest, SavingClearsTheFlagAndAnnouncesTheIcons)
{
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("one")});
    ASSERT_EQ(files.OpenDocument(path), OpenOutcome::Opened);
    document.cards().setTitle(0, QStringLiteral("changed"));
    document.cards().setIcon(0, CardIcon::Changed);
    document.SetModified(true);
    settle();
    log.take();

    ASSERT_TRUE(files.Save());
    settle();
    // The recent list is unchanged (the file is at its top already).
    EXPECT_EQ(log.take(), (QStringList{"modified 0", "title", "list 0 1"}));
}

TEST_F(DocumentSignalsTest, ShowAndEditRequestsNameARealCard)
{
    document.cards().append(MakeCard(QStringLiteral("a")));
    document.ShowCard(0, 0);
    document.ShowCard(0, 1);
    document.ShowCard(2, 0);
    document.RequestEdit(1);
    document.RequestEdit(5);
    EXPECT_EQ(log.take(), (QStringList{"show 0 0", "edit 1"}));
}

TEST_F(DocumentSignalsTest, ClosingAnUnchangedDocumentAnnouncesNothing)
{
    const QString path = writeNative(QStringLiteral("memo.qlw"), {QStringLiteral("one")});
    ASSERT_EQ(files.OpenDocument(path), OpenOutcome::Opened);
    settle();
    log.take();
    EXPECT_TRUE(files.WindowClosing());
    settle();
    EXPECT_TRUE(log.take().isEmpty());
}

} // namespace
