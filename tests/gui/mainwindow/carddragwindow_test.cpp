// Drag and drop on the card lists of a real MainForm, offscreen: drag
// events with QMimeData posted to the lists' viewports, what the window
// reads from the mime data, and the press and move that start a drag.
#include "core/cards/cardlist.h"
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "gui/mainwindow/carddragwiring.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/mainform.h"
#include "gui/mainwindow/searchwiring.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"
#include "support/searchtestutil.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class CardDragWindowTest : public ::testing::Test, public FakeSystem
{
protected:
    CardDragWindowTest()
    {
        document.settings().loadGeneralSettings();
        document.SetDocumentPath(QDir(cardsDir.path()).filePath(QStringLiteral("memo.qlw")));
        document.cards().reset({
            makeCard("K0", "旅行＠京都", "寺", "金閣"),
            makeCard("K1", "仕事＠会議", "本社", "予算"),
            makeCard("K2", "メモ", "", "買い物"),
        });
        SearchWiring::wire(window, document);
        dnd = CardDragWiring::wire(window, document, files);
        window.resize(800, 560);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
        QApplication::processEvents();
    }

    QAbstractItemView *view(int list = 0) { return window.cardList(list)->activeView(); }
    QPoint rowCentre(int row) { return view()->visualRect(view()->model()->index(row, 0)).center(); }
    QPoint belowLastCard()
    {
        QWidget *viewport = view()->viewport();
        return QPoint(viewport->width() / 2, viewport->height() - 4);
    }
    // Enter, move, drop at a point of a list's viewport, as the platform
    // sends them; whether the move was accepted.
    bool dragTo(const QPoint &at, const QMimeData &data, int list = 0, bool dropIt = true)
    {
        QWidget *viewport = view(list)->viewport();
        QDragEnterEvent enter(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &enter);
        QDragMoveEvent move(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        const bool accepted = enter.isAccepted() && move.isAccepted();
        if (accepted) {
            EXPECT_EQ(move.dropAction(), Qt::CopyAction);
        }
        if (dropIt) {
            QDropEvent drop(at, Qt::CopyAction | Qt::MoveAction, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(viewport, &drop);
        }
        QApplication::processEvents();
        return accepted;
    }
    QStringList titles() { return titlesOf(document.cards()); }

    ScopedProgramFolder folder;
    QTemporaryDir cardsDir;
    Services services_ = services();
    Document document{services_};
    FileCommands files{document};
    MainForm window{services_};
    CardDragWiring *dnd = nullptr;
};

TEST_F(CardDragWindowTest, DraggedTextIsHighlightedWhereItGoesAndDroppedThere)
{
    QMimeData data;
    data.setText(QStringLiteral("hello\nworld"));
    EXPECT_TRUE(dragTo(rowCentre(2), data, 0, false));
    // The card the text will go before is the one shown selected.
    EXPECT_EQ(document.lvData(0).selectedRows(), QList<qsizetype>{2});
    EXPECT_EQ(document.lvData(0).currentRow(), 2);

    dragTo(rowCentre(1), data);
    EXPECT_EQ(titles(), (QStringList{QStringLiteral("旅行＠京都"), QStringLiteral("hello"),
                                     QStringLiteral("仕事＠会議"), QStringLiteral("メモ")}));
    EXPECT_EQ(document.cards().at(1).content, QStringLiteral("hello\r\nworld"));

    dragTo(belowLastCard(), data);
    EXPECT_EQ(titles().last(), QStringLiteral("hello"));
}

TEST_F(CardDragWindowTest, FileListOfAFileManagerBecomesCards)
{
    const QString path = cardsDir.filePath(QStringLiteral("note.log"));
    ASSERT_TRUE(Sandbox::writeBytes(path, "line"));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    data.setText(path);
    EXPECT_TRUE(dragTo(rowCentre(0), data));
    EXPECT_EQ(titles().first(), QStringLiteral("note"));
    EXPECT_EQ(document.cards().at(0).remarks, QStringLiteral("note.log"));
    EXPECT_EQ(document.cards().at(0).content, QStringLiteral("line"));
}

TEST_F(CardDragWindowTest, OwnDragAndExtractionModeAreRefused)
{
    QMimeData data;
    data.setText(QStringLiteral("x"));
    document.lvData(0).setSelected(0);
    ASSERT_FALSE(dnd->dragDrop().beginDrag().isEmpty());
    EXPECT_FALSE(dragTo(rowCentre(1), data));
    dnd->dragDrop().endDrag();
    EXPECT_EQ(document.cards().count(), 3);

    document.setExtractionActive(true);
    QApplication::processEvents();
    ASSERT_EQ(window.currentListIndex(), 1);
    QMimeData fileList;
    fileList.setUrls({QUrl::fromLocalFile(cardsDir.filePath(QStringLiteral("x.log")))});
    EXPECT_FALSE(dragTo(QPoint(10, 10), fileList, 1));
    EXPECT_FALSE(dragTo(QPoint(10, 10), data, 1));
    EXPECT_EQ(document.cards().count(), 3);
    EXPECT_EQ(document.lvData(1).store().count(), 0);
}

TEST_F(CardDragWindowTest, WhatTheWindowReadsFromMimeData)
{
    QMimeData fileManager;
    fileManager.setUrls({QUrl::fromLocalFile(QStringLiteral("/a/b c.qlw")), QUrl(QStringLiteral("https://x.org/"))});
    DropData read = CardDragWiring::dropDataOf(&fileManager);
    EXPECT_TRUE(read.hasFileList);
    EXPECT_FALSE(read.cardsFromProgram);
    ASSERT_TRUE(read.files);
    // Local files only.
    EXPECT_EQ(read.files(), QStringList{QStringLiteral("/a/b c.qlw")});

    QMimeData cards;
    cards.setText(QStringLiteral("@\r\n"));
    cards.setData(CardDragWiring::CardsMimeType, QByteArray());
    read = CardDragWiring::dropDataOf(&cards);
    EXPECT_TRUE(read.cardsFromProgram);
    EXPECT_EQ(read.text, QStringLiteral("@\r\n"));
    EXPECT_FALSE(read.hasFileList);
}

// The views of a list of its own, without the drag wiring (a real drag
// would run the platform's drag loop).
class CardListDragStartTest : public ::testing::Test
{
protected:
    CardListDragStartTest()
    {
        cards.store().reset({makeCard("K0", "a"), makeCard("K1", "b"), makeCard("K2", "c")});
        list.setCardModel(&cards.store(), &cards.selectionModel());
        list.resize(400, 300);
        list.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&list));
    }
    QPoint rowCentre(int row)
    {
        QAbstractItemView *view = list.activeView();
        return view->visualRect(view->model()->index(row, 0)).center();
    }

    CardList cards;
    CardListView list;
};

TEST_F(CardListDragStartTest, PressOnASelectedCardKeepsTheOthersForTheDrag)
{
    for (ListViewMode mode : {ListViewMode::Details, ListViewMode::LargeIcons}) {
        list.setMode(mode);
        QApplication::processEvents();
        cards.ClearSelection();
        cards.setSelected(0);
        cards.setSelected(2);
        QSignalSpy started(&list, &CardListView::dragStartRequested);
        QWidget *viewport = list.activeView()->viewport();
        const QPoint from = rowCentre(2);
        QTest::mousePress(viewport, Qt::LeftButton, {}, from);
        EXPECT_EQ(cards.selectedRows(), (QList<qsizetype>{0, 2}));
        QMouseEvent move(QEvent::MouseMove, from + QPoint(0, 30), viewport->mapToGlobal(from + QPoint(0, 30)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        EXPECT_EQ(started.count(), 1);
        EXPECT_EQ(cards.selectedRows(), (QList<qsizetype>{0, 2}));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, from + QPoint(0, 30));

        // A click without a move selects the card alone.
        QTest::mousePress(viewport, Qt::LeftButton, {}, rowCentre(0));
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, rowCentre(0));
        EXPECT_EQ(cards.selectedRows(), QList<qsizetype>{0});
        EXPECT_EQ(started.count(), 1);
    }
}

} // namespace
