#pragma once
// One card list of the main window (lvData(0) or lvData(1)) over any item
// model with the three columns title, remarks and content. It shows the model
// in the four view modes: large icons, small icons and list in a QListView,
// details in a QTreeView with the three columns; both views share one
// selection, so switching modes keeps the selection and the current card.
//
// The list sees its model through an identity proxy that supplies the column
// captions, shows every text on one line and turns an icon number in the
// decoration role (1 to 4) into the window's icon; row numbers are the
// model's own.

#include "viewmodes.h"

#include <QIdentityProxyModel>
#include <QStackedWidget>

#include <array>

class QAbstractItemView;
class QItemSelectionModel;
class QListView;
class QTreeView;

class CardListProxy : public QIdentityProxyModel
{
    Q_OBJECT
public:
    using QIdentityProxyModel::QIdentityProxyModel;
    void setCaptions(const std::array<QString, 3> &captions);
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;

private:
    std::array<QString, 3> m_captions;
    mutable QHash<int, QIcon> m_icons;
};

class CardListView : public QStackedWidget
{
    Q_OBJECT
public:
    explicit CardListView(QWidget *parent = nullptr);

    // The cards; null shows an empty list. The model is not owned.
    void setCardModel(QAbstractItemModel *model);
    QAbstractItemModel *cardModel() const;
    // The model the views show (row numbers as in cardModel()).
    QAbstractItemModel *viewModel() const { return m_proxy; }
    QItemSelectionModel *selectionModel() const;

    void setMode(ListViewMode mode);
    ListViewMode mode() const { return m_mode; }
    // The view showing the current mode.
    QAbstractItemView *activeView() const;
    QListView *iconView() const { return m_icons; }
    QTreeView *detailsView() const { return m_details; }

    void setColumnCaptions(const std::array<QString, 3> &captions);
    void setColumnWidths(const std::array<int, 3> &pixels);
    std::array<int, 3> columnWidths() const;
    void setListFont(const QFont &font);
    void setColours(const QColor &text, const QColor &background);

    // Rows of the selected cards in ascending order; the current card's row
    // (-1 when none).
    QList<int> selectedRows() const;
    int currentRow() const;
    // Makes a row the current card, selected alone, and scrolls it into view.
    void selectOnly(int row);
    void clearSelectionAndCurrent();
    void selectAllCards();
    void invertSelection();
    // Repaints; reflowColumns lays the list mode's columns out again.
    void refresh(bool reflowColumns);

signals:
    // The current card or the selection changed.
    void cardSelectionChanged();
    void cardDoubleClicked(int row);
    // A right click (row -1 on empty space), at a global position.
    void contextMenuAt(const QPoint &globalPos, int row);
    // The list lost the keyboard focus.
    void focusLeft();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectSelection();
    void applyIconMode();

    CardListProxy *m_proxy;
    QListView *m_icons;
    QTreeView *m_details;
    ListViewMode m_mode = ListViewMode::Details;
    int m_listColumnWidth = 160;
    std::array<int, 3> m_widths{467, 200, 96};
    bool m_resetting = false;
};
