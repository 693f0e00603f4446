// The window's controls, the function bar, the view modes of both lists,
// the preview pane and its layout, most-front, settings in and state out.

#include "windowfixture.h"

#include "core/common/version.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mainlayout.h"
#include "core/window/mainwindowtables.h"
#include "gui/common/functionbar.h"
#include "gui/mainwindow/previewpane.h"

#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

using FormTest = WindowTest;

TEST_F(FormTest, CaptionedWithTheProductAndVersion)
{
    EXPECT_EQ(window->windowTitle(), QStringLiteral("QLT@WIN Ver.") + Version::dotted());
    EXPECT_FALSE(window->isVisible());
}

TEST_F(FormTest, TheSearchBarsControls)
{
    auto *bar = child<QWidget>("picSearch");
    ASSERT_NE(bar, nullptr);
    auto *box = child<QComboBox>("txtSearch");
    ASSERT_NE(box, nullptr);
    EXPECT_TRUE(box->isEditable());
    EXPECT_EQ(box->toolTip(), q("検索キーワードを入力します(Enterで検索・Ctrl+Enterで抽出)"));
    EXPECT_TRUE(bar->isAncestorOf(box));
    for (const SearchBarControl &c : MainWindowTables::searchBar()) {
        const std::string name = c.objectName().toStdString();
        QWidget *w = window->findChild<QWidget *>(c.objectName());
        ASSERT_NE(w, nullptr) << name;
        EXPECT_TRUE(bar->isAncestorOf(w)) << name;
        EXPECT_EQ(w->toolTip(), c.tooltip) << name;
        if (auto *button = qobject_cast<QToolButton *>(w)) {
            EXPECT_EQ(button->text(), c.caption) << name;
        } else {
            EXPECT_NE(qobject_cast<QCheckBox *>(w), nullptr) << name;
        }
    }
}

TEST_F(FormTest, SearchButtonsRunTheirCommandsOnceWired)
{
    QStringList ran;
    auto *top = child<QToolButton>("btnSearch_0");
    EXPECT_FALSE(top->isEnabled());
    window->commands().wire(Cmd::SearchTop, [&] { ran << "top"; });
    window->commands().wire(Cmd::Extract, [&] { ran << "extract"; });
    EXPECT_TRUE(top->isEnabled());
    top->click();
    child<QToolButton>("btnSearchOnlyItem")->click();
    child<QToolButton>("btnSearchOnlyItemQuit")->click(); // not wired: nothing
    EXPECT_EQ(ran, (QStringList{"top", "extract"}));
}

TEST_F(FormTest, TheRegularExpressionBoxStoresEveryClick)
{
    auto *box = child<QCheckBox>("chkSeiki");
    box->click();
    EXPECT_TRUE(box->isChecked());
    EXPECT_TRUE(window->viewState().regularExpression());
    box->click();
    EXPECT_FALSE(box->isChecked());
    EXPECT_EQ(stored, (QList<QPair<QString, QVariant>>{{"SeikiHyougen", 1}, {"SeikiHyougen", 0}}));
    // A change from the core shows in the box.
    window->commands().setChecked(Cmd::Regex, true);
    EXPECT_TRUE(box->isChecked());
}

TEST_F(FormTest, TheGroupListStartsWithAllAndReportsClicks)
{
    auto *tree = child<QTreeWidget>("tvTree");
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->columnCount(), 1);
    EXPECT_EQ(tree->headerItem()->text(0), q("グループ名"));
    ASSERT_EQ(tree->topLevelItemCount(), 1);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), q("全て"));
    EXPECT_EQ(window->groupKeys(), QStringList{"Root"});

    window->setGroups({q("旅行"), q("仕事")});
    ASSERT_EQ(tree->topLevelItemCount(), 3);
    EXPECT_EQ(tree->topLevelItem(0)->text(0), q("全て"));
    EXPECT_EQ(tree->topLevelItem(2)->text(0), q("仕事"));
    const QStringList keys = window->groupKeys();
    EXPECT_EQ(keys.first(), QStringLiteral("Root"));
    EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), 3);

    QList<QPair<QString, QString>> clicks;
    QObject::connect(window.get(), &MainForm::groupClicked, [&](const QString &key, const QString &name) {
        clicks.append({key, name});
    });
    showWindow();
    const QRect rect = tree->visualItemRect(tree->topLevelItem(1));
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, rect.center());
    ASSERT_EQ(clicks.size(), 1);
    EXPECT_EQ(clicks[0], (QPair<QString, QString>{keys[1], q("旅行")}));
}

TEST_F(FormTest, TwoCardListsOfWhichOnlyTheMainOneShows)
{
    showWindow();
    auto *main = child<CardListView>("lvData_0");
    auto *extract = child<CardListView>("lvData_1");
    ASSERT_TRUE(main && extract);
    EXPECT_TRUE(main->isVisible());
    EXPECT_FALSE(extract->isVisible());
    EXPECT_EQ(window->currentListIndex(), 0);
    EXPECT_EQ(main->viewModel()->rowCount(), SampleCards::count());
    EXPECT_EQ(main->viewModel()->columnCount(), 3);

    window->setExtractionMode(true);
    EXPECT_FALSE(main->isVisible());
    EXPECT_TRUE(extract->isVisible());
    EXPECT_EQ(window->currentListIndex(), 1);
    EXPECT_EQ(extract->geometry(), main->geometry());
    window->setExtractionMode(false);
    EXPECT_TRUE(main->isVisible());
}

TEST_F(FormTest, AViewModeChangeAffectsBothLists)
{
    struct Case {
        int index;
        ListViewMode mode;
        bool details;
        QListView::ViewMode listMode;
        QListView::Flow flow;
    };
    const Case cases[] = {
        {0, ListViewMode::LargeIcons, false, QListView::IconMode, QListView::LeftToRight},
        {1, ListViewMode::SmallIcons, false, QListView::ListMode, QListView::LeftToRight},
        {2, ListViewMode::List, false, QListView::ListMode, QListView::TopToBottom},
        {3, ListViewMode::Details, true, QListView::ListMode, QListView::TopToBottom},
    };
    for (const Case &c : cases) {
        window->menuAction("MenuDispChange", c.index)->trigger();
        for (int list = 0; list < 2; ++list) {
            CardListView *view = window->cardList(list);
            EXPECT_EQ(view->mode(), c.mode) << c.index << " list " << list;
            if (c.details) {
                EXPECT_EQ(view->activeView(), view->detailsView());
                continue;
            }
            EXPECT_EQ(view->activeView(), view->iconView());
            EXPECT_EQ(view->iconView()->viewMode(), c.listMode);
            EXPECT_EQ(view->iconView()->flow(), c.flow);
        }
    }
}

TEST_F(FormTest, SteppingFromDetailsWrapsToLargeIconsOnBothLists)
{
    EXPECT_EQ(window->cardList(0)->mode(), ListViewMode::Details);
    window->menuAction("MenuDispChange", 4)->trigger();
    EXPECT_EQ(window->cardList(0)->mode(), ListViewMode::LargeIcons);
    EXPECT_EQ(window->cardList(1)->mode(), ListViewMode::LargeIcons);
}

TEST_F(FormTest, TheSelectionSurvivesAModeChange)
{
    CardListView *list = window->cardList(0);
    list->selectOnly(4);
    window->menuAction("MenuDispChange", 0)->trigger();
    EXPECT_EQ(list->selectedRows(), QList<int>{4});
    EXPECT_EQ(list->currentRow(), 4);
}

// ---------------------------------------------------------------- function bar

TEST_F(FormTest, TheFunctionBarShowsItsPanels)
{
    auto *bar = child<FunctionBar>("sbStatusBar");
    ASSERT_NE(bar, nullptr);
    QStringList texts;
    for (const FunctionBarPanel &p : MainWindowTables::functionBar()) {
        texts << p.text;
        ASSERT_NE(bar->panel(p.text), nullptr);
        EXPECT_EQ(bar->panel(p.text)->toolTip(), p.tooltip);
    }
    EXPECT_EQ(bar->panelTexts(), texts);
}

TEST_F(FormTest, FunctionBarClicksDoNothingWhileSwitchedOff)
{
    showWindow();
    auto *bar = child<FunctionBar>("sbStatusBar");
    QLabel *mode = bar->panel(q("表示ﾓｰﾄﾞ"));
    EXPECT_TRUE(window->functionBarClicksOff()); // the setting's default
    QTest::mouseClick(mode, Qt::LeftButton);
    EXPECT_EQ(window->viewState().listViewMode(), ListViewMode::Details);
    // The toolbar and the menus still work.
    window->toolbarButton("tbListMode")->click();
    EXPECT_EQ(window->viewState().listViewMode(), ListViewMode::LargeIcons);

    window->setFunctionBarClicksOff(false);
    QTest::mouseClick(mode, Qt::LeftButton);
    EXPECT_EQ(window->viewState().listViewMode(), ListViewMode::SmallIcons);
}

TEST_F(FormTest, FunctionBarPanelsRunTheirCommands)
{
    showWindow();
    window->setFunctionBarClicksOff(false);
    QStringList ran;
    window->commands().wire(Cmd::Cut, [&] { ran << "cut"; });
    window->commands().wire(Cmd::EndExtraction, [&] { ran << "end"; });
    auto *bar = child<FunctionBar>("sbStatusBar");
    QTest::mouseClick(bar->panel("CUT"), Qt::LeftButton);
    QTest::mouseClick(bar->panel(q("解除")), Qt::LeftButton);
    QTest::mouseClick(bar->panel(q("ヘルプ")), Qt::LeftButton);
    QTest::mouseClick(bar->panel("COPY"), Qt::LeftButton); // not wired
    QTest::mouseClick(bar->panel("CUT"), Qt::RightButton);
    EXPECT_EQ(ran, (QStringList{"cut", "end"}));
}

// ---------------------------------------------------------------- preview and layout

namespace {

struct Geometry {
    int available;
    QRect lists;
    QRect tree;
    QRect preview;
    bool previewShown;
    bool treeShown;
};

Geometry measure(MainForm &w)
{
    QWidget *client = w.centralWidget();
    const int toolbar = w.findChild<QToolBar *>("tbToolbar")->height();
    const int status = w.findChild<QWidget *>("sbStatusBar")->height();
    auto *preview = w.findChild<QWidget *>("picPreView");
    auto *tree = w.findChild<QWidget *>("tvTree");
    return {client->height() - toolbar - status,
            w.cardList(0)->geometry(),
            tree->geometry(),
            preview->geometry(),
            preview->isVisible(),
            tree->isVisible()};
}

} // namespace

TEST_F(FormTest, ThePreviewPaneTakesItsShareBelowTheLists)
{
    showWindow();
    const QString commands[] = {Cmd::PreviewNone, Cmd::Preview12, Cmd::Preview11, Cmd::Preview21};
    const int clientWidth = window->centralWidget()->width();
    for (int mode = 0; mode < 4; ++mode) {
        window->commands().trigger(commands[mode]);
        const Geometry g = measure(*window);
        ASSERT_GT(g.available, 0);
        const int previewHeight = MainLayoutRules::previewHeight(PreviewMode(mode), g.available);
        EXPECT_EQ(g.previewShown, mode != 0) << mode;
        EXPECT_EQ(g.lists.height(), g.available - previewHeight) << mode;
        EXPECT_EQ(g.tree.height(), g.lists.height()) << mode;
        EXPECT_EQ(g.tree.top(), g.lists.top());
        EXPECT_EQ(g.lists.left(), g.tree.width());
        EXPECT_EQ(g.lists.right(), clientWidth - 1);
        if (mode == 0)
            continue;
        EXPECT_EQ(g.preview, QRect(0, g.lists.bottom() + 1, clientWidth, previewHeight)) << mode;
        // The boxes stand top to bottom, the content box filling the pane.
        auto *title = child<QLineEdit>("txtPreView_0");
        auto *remarks = child<QLineEdit>("txtPreView_1");
        auto *content = child<QPlainTextEdit>("txtPreView_2");
        ASSERT_TRUE(title && remarks && content);
        EXPECT_EQ(remarks->geometry().top(), title->geometry().bottom() + 1);
        EXPECT_EQ(content->geometry().top(), remarks->geometry().bottom() + 1);
        EXPECT_EQ(content->geometry().bottom(), previewHeight - 1 - PreviewPane::Margin);
    }
}

TEST_F(FormTest, TheListsFollowTheWindowSize)
{
    showWindow(QSize(700, 500));
    window->commands().trigger(Cmd::Preview11);
    const Geometry before = measure(*window);
    window->resize(900, 640);
    QApplication::processEvents();
    const Geometry after = measure(*window);
    EXPECT_GT(after.lists.width(), before.lists.width());
    EXPECT_EQ(after.lists.height(),
              after.available - MainLayoutRules::previewHeight(PreviewMode::OneToOne, after.available));
}

TEST_F(FormTest, ThePreviewDropDownLeavesTheStoredModeAlone)
{
    showWindow();
    window->toolbarAction("tbPV11")->trigger();
    EXPECT_EQ(window->viewState().previewMode(), PreviewMode::OneToOne);
    EXPECT_TRUE(measure(*window).previewShown);
    EXPECT_TRUE(stored.isEmpty());
    window->menuAction("MenuDispPreview")->trigger();
    EXPECT_EQ(window->viewState().previewMode(), PreviewMode::TwoToOne);
    EXPECT_EQ(stored, (QList<QPair<QString, QVariant>>{{"PreView", 3}}));
    window->toolbarButton("tbPreView")->click();
    EXPECT_EQ(window->viewState().previewMode(), PreviewMode::None);
    EXPECT_FALSE(measure(*window).previewShown);
}

TEST_F(FormTest, WithoutTheTreeTheListsTakeTheFullWidth)
{
    showWindow();
    window->menuAction("MenuDispTree")->trigger();
    const Geometry g = measure(*window);
    EXPECT_FALSE(g.treeShown);
    EXPECT_EQ(g.lists.left(), 0);
    EXPECT_EQ(g.lists.width(), window->centralWidget()->width());
    EXPECT_FALSE(window->menuAction("MenuDispTree")->isChecked());
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].first, QStringLiteral("TreeViewVisible"));
    EXPECT_FALSE(stored[0].second.toBool());
}

TEST_F(FormTest, TheSearchBarStandsRightOfTheLastToolbarButton)
{
    showWindow();
    QToolButton *last = window->toolbarButton("tbPreView");
    auto *bar = child<QWidget>("picSearch");
    const QPoint lastRight = last->mapTo(window->centralWidget(), QPoint(last->width(), 0));
    EXPECT_EQ(bar->geometry().left(), lastRight.x());
    EXPECT_GT(bar->width(), 0);
}

TEST_F(FormTest, AtTheDefaultSizeEveryPartOfTheSearchBarIsInTheWindow)
{
    showWindow(QSize(632, 421));
    QWidget *client = window->centralWidget();
    auto *bar = child<QWidget>("picSearch");
    const QRect inside = client->rect();
    for (QWidget *w : bar->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly)) {
        if (!w->isVisible())
            continue;
        const QRect r(w->mapTo(client, QPoint(0, 0)), w->size());
        EXPECT_TRUE(inside.contains(r)) << w->objectName().toStdString();
    }
    // The lists start under it.
    EXPECT_GE(window->cardList(0)->geometry().top(), bar->geometry().bottom());
}

TEST_F(FormTest, ThePreviewShowsTheSelectedCardOfTheCurrentList)
{
    showWindow();
    window->commands().trigger(Cmd::Preview11);
    auto *title = child<QLineEdit>("txtPreView_0");
    auto *remarks = child<QLineEdit>("txtPreView_1");
    auto *content = child<QPlainTextEdit>("txtPreView_2");
    EXPECT_TRUE(title->text().isEmpty());

    window->cardList(0)->selectOnly(2);
    EXPECT_EQ(title->text(), q("仕事＠会議メモ"));
    EXPECT_EQ(remarks->text(), q("第3会議室"));
    // The content keeps its line breaks (the list shows it on one line).
    EXPECT_EQ(content->toPlainText(), q("議題：来期の予算\n・広告費の見直し\n・新製品の発売時期"));
    EXPECT_EQ(CardItemDelegate::oneLine(window->cardList(0)->viewModel()->index(2, 2).data().toString()),
              q("議題：来期の予算 ・広告費の見直し ・新製品の発売時期"));

    window->cardList(0)->clearSelectionAndCurrent();
    EXPECT_TRUE(title->text().isEmpty());
    EXPECT_TRUE(content->toPlainText().isEmpty());

    window->setExtractionMode(true);
    window->cardList(1)->selectOnly(1);
    EXPECT_EQ(title->text(), q("2001/05/06：旅行＠奈良"));
}

TEST_F(FormTest, ThePreviewFollowsAChangeToTheShownCard)
{
    window->commands().trigger(Cmd::Preview11);
    window->cardList(0)->selectOnly(3);
    cards->setData(cards->index(3, 1), q("月曜提出"));
    EXPECT_EQ(child<QLineEdit>("txtPreView_1")->text(), q("月曜提出"));
    cards->setData(cards->index(5, 1), q("別のカード"));
    EXPECT_EQ(child<QLineEdit>("txtPreView_1")->text(), q("月曜提出"));
}

TEST_F(FormTest, TheFocusLeavingAListHandsItsColumnWidthsToTheOther)
{
    showWindow();
    window->cardList(0)->detailsView()->header()->resizeSection(1, 123);
    window->cardList(0)->detailsView()->setFocus();
    child<QComboBox>("txtSearch")->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(window->cardList(1)->columnWidths()[1], 123);
}

TEST_F(FormTest, ARightClickSelectsTheCardUnderTheMouseAndShowsTheEditMenu)
{
    showWindow();
    CardListView *list = window->cardList(0);
    list->selectOnly(0);
    CardDetailsView *view = list->detailsView();
    const QRect row3 = view->visualRect(list->viewModel()->index(3, 0));
    QContextMenuEvent onCard(QContextMenuEvent::Mouse, row3.center(), view->viewport()->mapToGlobal(row3.center()));
    QApplication::sendEvent(view->viewport(), &onCard);
    EXPECT_EQ(list->selectedRows(), QList<int>{3});
    QMenu *edit = window->menu("MenuEdit");
    EXPECT_TRUE(edit->isVisible());
    edit->hide();

    const QPoint empty(5, view->viewport()->height() - 3);
    QContextMenuEvent onNothing(QContextMenuEvent::Mouse, empty, view->viewport()->mapToGlobal(empty));
    QApplication::sendEvent(view->viewport(), &onNothing);
    EXPECT_TRUE(list->selectedRows().isEmpty());
    EXPECT_EQ(list->currentRow(), -1);
    edit->hide();
}

TEST_F(FormTest, TheDetailsKeysMoveByCardsAndLeaveTheColumnsWhereTheyWere)
{
    showWindow(QSize(500, 400));
    CardListView *list = window->cardList(0);
    CardDetailsView *view = list->detailsView();
    view->setFocus();
    list->selectOnly(1);
    const int rows = list->viewModel()->rowCount();
    ASSERT_GT(rows, 3);
    // Home and End go to the first and last card, not along the row's cells.
    QTest::keyClick(view, Qt::Key_End);
    EXPECT_EQ(list->currentRow(), rows - 1);
    EXPECT_EQ(list->selectedRows(), QList<int>{rows - 1});
    QTest::keyClick(view, Qt::Key_Home);
    EXPECT_EQ(list->currentRow(), 0);
    // Right scrolls the columns and keeps the card; moving on keeps the scroll.
    QTest::keyClick(view, Qt::Key_Right);
    QTest::keyClick(view, Qt::Key_Right);
    EXPECT_EQ(list->currentRow(), 0);
    const int scrolled = view->horizontalScrollBar()->value();
    EXPECT_GT(scrolled, 0);
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(list->currentRow(), 1);
    EXPECT_EQ(view->horizontalScrollBar()->value(), scrolled);
    QTest::keyClick(view, Qt::Key_Left);
    EXPECT_LT(view->horizontalScrollBar()->value(), scrolled);
    EXPECT_EQ(list->currentRow(), 1);
}

TEST_F(FormTest, ADoubleClickOnACardEditsIt)
{
    showWindow();
    int edits = 0;
    window->commands().wire(Cmd::EditCard, [&] { ++edits; });
    CardDetailsView *view = window->cardList(0)->detailsView();
    const QRect row = view->visualRect(window->cardList(0)->viewModel()->index(1, 0));
    // The platform's sequence of a double click: press, release, double click, release.
    const QPoint at = row.center();
    const QPoint global = view->viewport()->mapToGlobal(at);
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease, QEvent::MouseButtonDblClick,
                              QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, global, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(view->viewport(), &event);
    }
    EXPECT_EQ(edits, 1);
}

// ---------------------------------------------------------------- most-front

TEST_F(FormTest, TheMostFrontButtonWarnsOnceAndKeepsTheWindowOnTop)
{
    showWindow();
    const QRect where = window->geometry();
    QToolButton *button = window->toolbarButton("tbSetMostFront");
    button->click();
    EXPECT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_TRUE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry(), where);
    EXPECT_TRUE(button->isChecked());
    EXPECT_TRUE(window->menuAction("MenuDispSetMostFront")->isChecked());

    window->menuAction("MenuDispSetMostFront")->trigger();
    EXPECT_FALSE(window->windowFlags() & Qt::WindowStaysOnTopHint);
    EXPECT_FALSE(button->isChecked());
    button->click();
    EXPECT_EQ(dialogs.messageTexts().size(), 1);
    EXPECT_EQ(userStore.values.value("MostFront"), QStringLiteral("1"));
}

// ---------------------------------------------------------------- settings

TEST_F(FormTest, AppliedSettingsReachTheControls)
{
    AppliedSettings s = firstStartSettings();
    s.columnCaptions = {q("件名"), q("メモ"), q("本文")};
    s.viewMode = 2;
    s.previewMode = 1;
    s.treeVisible = false;
    s.regularExpression = true;
    s.extractList = {0x000000FFu, 0x0000FF00u}; // red on green
    window->applySettings(s);

    for (int list = 0; list < 2; ++list) {
        QAbstractItemModel *model = window->cardList(list)->viewModel();
        EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), q("件名"));
        EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), q("本文"));
        EXPECT_EQ(window->cardList(list)->columnWidths(), (std::array<int, 3>{467, 200, 96}));
        EXPECT_EQ(window->cardList(list)->detailsView()->header()->sectionSize(0), 467);
        EXPECT_EQ(window->cardList(list)->mode(), ListViewMode::List);
    }
    const QPalette extractionPalette = window->cardList(1)->iconView()->palette();
    EXPECT_EQ(extractionPalette.color(QPalette::Text), QColor(255, 0, 0));
    EXPECT_EQ(extractionPalette.color(QPalette::Base), QColor(0, 255, 0));
    EXPECT_EQ(window->viewState().previewMode(), PreviewMode::OneToTwo);
    EXPECT_FALSE(window->viewState().treeVisible());
    EXPECT_FALSE(window->menuAction("MenuDispTree")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chkSeiki")->isChecked());
    EXPECT_EQ(window->size(), QSize(632, 421));
    // Applying stores nothing.
    EXPECT_TRUE(stored.isEmpty());
}

TEST_F(FormTest, WithoutSaveWindowSizeTheWindowKeepsItsSize)
{
    window->resize(700, 500);
    AppliedSettings s = firstStartSettings();
    s.applyWindowSize = false;
    window->applySettings(s);
    EXPECT_EQ(window->size(), QSize(700, 500));
}

TEST_F(FormTest, ThePreviewBoxesTakeTheirFontAndColours)
{
    AppliedSettings s = firstStartSettings();
    s.previewFontSize = 14;
    window->applySettings(s);
    auto *content = child<QPlainTextEdit>("txtPreView_2");
    EXPECT_EQ(content->font().pointSizeF(), 14.0);
    EXPECT_EQ(content->palette().color(QPalette::Base), QColor(0x55, 0x55, 0x55));
    EXPECT_EQ(content->palette().color(QPalette::Text), QColor(255, 255, 255));
}

TEST_F(FormTest, TheStateOnCloseComesBackInTwips)
{
    window->applySettings(firstStartSettings());
    window->cardList(0)->detailsView()->header()->resizeSection(2, 150);
    window->menuAction("MenuDispChange", 1)->trigger();
    const WindowState state = window->storedState();
    EXPECT_EQ(state.columnWidthsTwips, (std::array<double, 3>{467 * 15.0, 200 * 15.0, 150 * 15.0}));
    EXPECT_EQ(state.listViewMode, 1);
    EXPECT_EQ(state.windowWidthTwips, 632 * 15.0);
    EXPECT_EQ(state.windowHeightTwips, 421 * 15.0);
}

TEST_F(FormTest, AMaximisedWindowReportsItsNormalSize)
{
    showWindow(QSize(640, 480));
    const QSize normal = window->size();
    window->showMaximized();
    QApplication::processEvents();
    const WindowState state = window->storedState();
    const QSize frame = window->frameGeometry().size() - window->geometry().size();
    EXPECT_EQ(state.windowWidthTwips, (normal.width() + frame.width()) * 15.0);
    EXPECT_EQ(state.windowHeightTwips, (normal.height() + frame.height()) * 15.0);
}

TEST_F(FormTest, ColumnWidthsSurviveAModelReset)
{
    window->applySettings(firstStartSettings());
    cards->clear();
    cards->setColumnCount(3);
    EXPECT_EQ(window->cardList(0)->detailsView()->header()->sectionSize(0), 467);
}

// ---------------------------------------------------------------- closing

TEST_F(FormTest, TheCloseGuardDecides)
{
    showWindow();
    bool allow = false;
    int closings = 0;
    window->setCloseGuard([&] { return allow; });
    QObject::connect(window.get(), &MainForm::closing, [&] { ++closings; });
    window->menuAction("MenuQuitMe")->trigger();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(closings, 0);
    allow = true;
    window->menuAction("MenuQuitMe")->trigger();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(closings, 1);
}

TEST_F(FormTest, TheSearchBoxKeepsItsHistory)
{
    window->setSearchHistory({q("京都"), q("予算")});
    window->setKeyword(q("会議"));
    EXPECT_EQ(window->searchHistory(), (QStringList{q("京都"), q("予算")}));
    EXPECT_EQ(window->keyword(), q("会議"));
    window->setSearchHistory({q("会議")});
    EXPECT_EQ(window->keyword(), q("会議"));
}
