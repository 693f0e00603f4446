#pragma once
// One card list of the main window (lvData(0) or lvData(1)) over any item
// model with the three columns title, remarks and content. It shows the model
// in the four view modes: large icons, small icons and list in a QListView,
// details in a table of the three columns; both views share one
// selection, so switching modes keeps the selection and the current card.
//
// The views show the card model itself, with the selection model the
// commands work on (CardList's), so that a selection made by a command and
// one made by a click are the same thing. The item delegate shows every text
// on one line and turns an icon number (the decoration role, or the card
// store's icon role, 1 to 4) into the window's icon; the column captions go
// into the model's header data.

#include "core/window/viewmodes.h"

#include <QHash>
#include <QIcon>
#include <QPointer>
#include <QStackedWidget>
#include <QStyledItemDelegate>
#include <QTableView>

#include <array>

class CardListView;
class QAbstractItemModel;
class QAbstractItemView;
class QMimeData;
class QItemSelectionModel;
class QListView;

// The details: the three columns in a table whose rows are selected whole,
// with no grid, no row header and one row height. A table rather than a
// tree view: a tree view lays every row out again after each insertion or
// removal, which a list of a million cards would wait for at every cut.
class CardDetailsView : public QTableView
{
    Q_OBJECT
public:
    explicit CardDetailsView(QWidget *parent = nullptr);
    // The column captions.
    QHeaderView *header() const { return horizontalHeader(); }

    // Scrolls up or down only: the columns stay where the person put them.
    void scrollTo(const QModelIndex &index, ScrollHint hint = EnsureVisible) override;

protected:
    void changeEvent(QEvent *event) override;
    // Keys move as in a list: Home and End go to the first and the last card,
    // left and right scroll the columns.
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    // The current card's whole row is framed, not one of its cells.
    void paintEvent(QPaintEvent *event) override;

private:
    // Row height for the view's font: a text line or a list icon, with the
    // item's margins.
    void fitRowHeight();
};

class CardItemDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    // A row shows its texts on one line: line breaks become spaces.
    static QString oneLine(QString text);
    QString displayText(const QVariant &value, const QLocale &locale) const override;
    // In the icon views every card takes its grid cell: the views ask the
    // first card only (uniform sizes, for lists of a million cards), and a
    // short first title must not narrow every other label.
    QSize sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const override;

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override;

private:
    mutable QHash<int, QIcon> m_icons;
};

// What a card list does with drags and drops; the window's drag and drop
// wiring answers. row is the card under the pointer, -1 below the last card
// or on empty space.
class CardDragHandler
{
public:
    virtual ~CardDragHandler() = default;
    // A drag enters or moves over list: true takes it (copy), false refuses.
    virtual bool dragOver(CardListView &list, const QMimeData *data, int row) = 0;
    // Dropped on list: true when it was taken.
    virtual bool drop(CardListView &list, const QMimeData *data, int row) = 0;
};

class CardListView : public QStackedWidget
{
    Q_OBJECT
public:
    explicit CardListView(QWidget *parent = nullptr);

    // The cards and, when given, the selection model over them that the
    // commands use (else the list makes its own); null shows an empty list.
    // Neither is owned.
    void setCardModel(QAbstractItemModel *model, QItemSelectionModel *selection = nullptr);
    QAbstractItemModel *cardModel() const { return m_model; }
    // The model the views show: the card model itself.
    QAbstractItemModel *viewModel() const { return m_model; }
    QItemSelectionModel *selectionModel() const;

    void setMode(ListViewMode mode);
    ListViewMode mode() const { return m_mode; }
    // The view showing the current mode.
    QAbstractItemView *activeView() const;
    QListView *iconView() const { return m_icons; }
    CardDetailsView *detailsView() const { return m_details; }

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

    // Who answers drags over the list and drops on it (not owned; null
    // refuses every drop).
    void setDragHandler(CardDragHandler *handler) { m_dragHandler = handler; }
    // The card under a point of the active view's viewport, -1 when none.
    int rowAt(const QPoint &viewportPos) const;

signals:
    // The current card or the selection changed.
    void cardSelectionChanged();
    void cardDoubleClicked(int row);
    // A right click (row -1 on empty space), at a global position.
    void contextMenuAt(const QPoint &globalPos, int row);
    // The list lost the keyboard focus.
    void focusLeft();
    // The person began dragging the selected cards.
    void dragStartRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void connectSelection();
    void applyIconMode();

    void applyCaptions();
    // Drag enter, move, leave and drop on a viewport, handed to the drag
    // handler; false for any other event.
    bool handleDrag(QEvent *event);

    QPointer<QAbstractItemModel> m_model;
    QList<QMetaObject::Connection> m_modelConnections;
    std::array<QString, 3> m_captions;
    CardItemDelegate *m_delegate;
    QListView *m_icons;
    CardDetailsView *m_details;
    ListViewMode m_mode = ListViewMode::Details;
    int m_listColumnWidth = 160;
    std::array<int, 3> m_widths{467, 200, 96};
    bool m_resetting = false;
    CardDragHandler *m_dragHandler = nullptr;
};
