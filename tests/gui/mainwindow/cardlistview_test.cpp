// The card list's icon views, offscreen.
#include "gui/mainwindow/cardlistview.h"

#include <QApplication>
#include <QListView>
#include <QStandardItemModel>

#include <gtest/gtest.h>

namespace {

QStandardItemModel *cardsTitled(const QStringList &titles, QObject *parent)
{
    auto *model = new QStandardItemModel(0, 3, parent);
    for (const QString &title : titles)
        model->appendRow({new QStandardItem(title), new QStandardItem(), new QStandardItem()});
    return model;
}

} // namespace

TEST(CardListIconViews, AShortFirstTitleDoesNotNarrowTheOtherLabels)
{
    for (const ListViewMode mode : {ListViewMode::LargeIcons, ListViewMode::SmallIcons, ListViewMode::List}) {
        CardListView list;
        list.resize(600, 400);
        list.setCardModel(
            cardsTitled({QStringLiteral("カ"), QStringLiteral("2026/11/02:仕事＠定例会議の議事録")}, &list));
        list.setMode(mode);
        list.show();
        QApplication::processEvents();
        QListView *view = list.iconView();
        // The label has its whole grid cell, not the width of "カ".
        const QModelIndex second = view->model()->index(1, 0);
        EXPECT_GE(view->visualRect(second).width(), view->gridSize().width() * 3 / 4) << int(mode);
    }
}

TEST(CardListIconViews, SmallIconsArePackedNotSpreadAtTheTitleColumnWidth)
{
    CardListView list;
    list.resize(900, 400);
    list.setCardModel(
        cardsTitled({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")}, &list));
    list.setColumnWidths({320, 100, 100});
    list.setMode(ListViewMode::SmallIcons);
    list.show();
    QApplication::processEvents();
    QListView *view = list.iconView();
    // More than two cards side by side on a 900 pixel wide list.
    EXPECT_EQ(view->visualRect(view->model()->index(2, 0)).top(), view->visualRect(view->model()->index(0, 0)).top());
    EXPECT_LT(view->gridSize().width(), 320);
}
