#include "gui/mainwindow/cardlistview.h"

#include "core/cards/cardstore.h"
#include "gui/mainwindow/mainicons.h"

#include <QApplication>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QListView>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QScrollBar>
#include <QStyleOptionViewItem>
#include <QStylePainter>

#include <algorithm>
#include <functional>

namespace {
// The card store's icon number (1 or 2).
constexpr int CardIconRole = CardStore::IconRole;

// A view whose selected cards can be dragged: a press on a selected card
// keeps the other selected cards (they may be about to be dragged) until the
// button goes up without a drag; a move past the drag distance from a press
// on a selected card starts the list's drag.
template<typename View>
class DraggingView : public View
{
public:
    DraggingView(std::function<void()> startDrag, QWidget *parent) : View(parent), m_startDrag(std::move(startDrag)) {}

protected:
    void mousePressEvent(QMouseEvent *event) override
    {
        const QModelIndex index = this->indexAt(event->position().toPoint());
        QItemSelectionModel *selection = this->selectionModel();
        m_pressRow = -1;
        m_keepOthers = false;
        if (event->button() == Qt::LeftButton && index.isValid() && selection) {
            m_pressRow = index.row();
            m_pressAt = event->position().toPoint();
            m_keepOthers = event->modifiers() == Qt::NoModifier && selection->isRowSelected(index.row(), QModelIndex());
        }
        const QItemSelection kept = m_keepOthers ? selection->selection() : QItemSelection();
        View::mousePressEvent(event);
        if (m_keepOthers && selection->selection() != kept)
            selection->select(kept, QItemSelectionModel::ClearAndSelect);
    }
    void mouseMoveEvent(QMouseEvent *event) override
    {
        QItemSelectionModel *selection = this->selectionModel();
        if (m_pressRow >= 0 && (event->buttons() & Qt::LeftButton) && selection
            && selection->isRowSelected(m_pressRow, QModelIndex())
            && (event->position().toPoint() - m_pressAt).manhattanLength() >= QApplication::startDragDistance()) {
            m_pressRow = -1;
            m_keepOthers = false;
            m_startDrag();
            this->setState(QAbstractItemView::NoState);
            return;
        }
        View::mouseMoveEvent(event);
    }
    void mouseReleaseEvent(QMouseEvent *event) override
    {
        View::mouseReleaseEvent(event);
        // A click without a drag on one of several selected cards selects it alone.
        QItemSelectionModel *selection = this->selectionModel();
        if (m_keepOthers && m_pressRow >= 0 && selection && this->model()) {
            const QModelIndex index = this->model()->index(m_pressRow, 0);
            selection->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            selection->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
        }
        m_pressRow = -1;
        m_keepOthers = false;
    }
    // Drags start above; the views' own (model mime data, moves) never.
    void startDrag(Qt::DropActions) override {}

private:
    std::function<void()> m_startDrag;
    int m_pressRow = -1;
    QPoint m_pressAt;
    bool m_keepOthers = false;
};

} // namespace

CardDetailsView::CardDetailsView(QWidget *parent) : QTableView(parent)
{
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    // Tab leaves the list, as from any other list.
    setTabKeyNavigation(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setMinimumSectionSize(1);
    horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    horizontalHeader()->setHighlightSections(false);
    fitRowHeight();
}

void CardDetailsView::fitRowHeight()
{
    QStyleOptionViewItem option;
    option.initFrom(this);
    option.font = font();
    option.fontMetrics = fontMetrics();
    option.features = QStyleOptionViewItem::HasDisplay | QStyleOptionViewItem::HasDecoration;
    option.text = QStringLiteral("Ag漢");
    option.decorationSize = QSize(16, 16);
    const int height = style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height();
    verticalHeader()->setDefaultSectionSize(std::max(height, 18));
}

void CardDetailsView::scrollTo(const QModelIndex &index, ScrollHint hint)
{
    const int x = horizontalScrollBar()->value();
    QTableView::scrollTo(index, hint);
    horizontalScrollBar()->setValue(x);
}

QModelIndex CardDetailsView::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    const QModelIndex current = currentIndex();
    const int rows = model() ? model()->rowCount(rootIndex()) : 0;
    const int column = current.isValid() ? current.column() : 0;
    switch (action) {
    case MoveHome: return rows ? model()->index(0, column, rootIndex()) : QModelIndex();
    case MoveEnd: return rows ? model()->index(rows - 1, column, rootIndex()) : QModelIndex();
    case MoveLeft:
    case MoveRight: {
        QScrollBar *bar = horizontalScrollBar();
        bar->setValue(bar->value() + (action == MoveLeft ? -bar->singleStep() : bar->singleStep()));
        return current;
    }
    default: return QTableView::moveCursor(action, modifiers);
    }
}

void CardDetailsView::paintEvent(QPaintEvent *event)
{
    QTableView::paintEvent(event);
    const QModelIndex current = currentIndex();
    if (!current.isValid() || !hasFocus() || !model())
        return;
    const int last = model()->columnCount(rootIndex()) - 1;
    const QRect row = visualRect(model()->index(current.row(), 0, rootIndex()))
                          .united(visualRect(model()->index(current.row(), last, rootIndex())));
    if (!row.intersects(event->rect()))
        return;
    QStylePainter painter(viewport());
    QStyleOptionFocusRect frame;
    frame.initFrom(this);
    frame.rect = row;
    frame.backgroundColor = palette().color(
        selectionModel() && selectionModel()->isRowSelected(current.row(), rootIndex()) ? QPalette::Highlight
                                                                                        : QPalette::Base);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, frame);
}

void CardDetailsView::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange)
        fitRowHeight();
}

QString CardItemDelegate::oneLine(QString text)
{
    if (text.contains(QLatin1Char('\n')) || text.contains(QLatin1Char('\r'))) {
        text.replace(QLatin1String("\r\n"), QLatin1String(" "));
        text.replace(QLatin1Char('\n'), QLatin1Char(' '));
        text.replace(QLatin1Char('\r'), QLatin1Char(' '));
    }
    return text;
}

QString CardItemDelegate::displayText(const QVariant &value, const QLocale &locale) const
{
    if (value.typeId() == QMetaType::QString)
        return oneLine(value.toString());
    return QStyledItemDelegate::displayText(value, locale);
}

QSize CardItemDelegate::sizeHint(const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    if (const auto *list = qobject_cast<const QListView *>(option.widget);
        list && list->viewMode() == QListView::IconMode && list->gridSize().isValid())
        return list->gridSize() - QSize(2 * list->spacing() + 2, 2 * list->spacing() + 2);
    return QStyledItemDelegate::sizeHint(option, index);
}

void CardItemDelegate::initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const
{
    QStyledItemDelegate::initStyleOption(option, index);
    // The details table frames the current card's whole row itself.
    if (qobject_cast<const CardDetailsView *>(option->widget))
        option->state &= ~QStyle::State_HasFocus;
    if (index.column() != 0)
        return;
    QVariant number = index.data(Qt::DecorationRole);
    if (!number.isValid())
        number = index.data(CardIconRole);
    bool isNumber = false;
    const int icon = number.toInt(&isNumber);
    if (!isNumber || number.typeId() == QMetaType::QIcon)
        return;
    auto it = m_icons.constFind(icon);
    if (it == m_icons.constEnd())
        it = m_icons.insert(icon, MainIcons::listIcon(icon));
    option->icon = *it;
    option->features |= QStyleOptionViewItem::HasDecoration;
    option->decorationSize = option->decorationSize.isValid() ? option->decorationSize : QSize(16, 16);
}

CardListView::CardListView(QWidget *parent)
    : QStackedWidget(parent), m_delegate(new CardItemDelegate(this)),
      m_icons(new DraggingView<QListView>([this] { emit dragStartRequested(); }, this)),
      m_details(new DraggingView<CardDetailsView>([this] { emit dragStartRequested(); }, this))
{
    m_icons->setItemDelegate(m_delegate);
    m_details->setItemDelegate(m_delegate);

    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(m_icons), static_cast<QAbstractItemView *>(m_details)}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        // Titles are edited in place only on request (F2), never by a click.
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setContextMenuPolicy(Qt::CustomContextMenu);
        view->setTextElideMode(Qt::ElideRight);
        view->installEventFilter(this);
        // Drops are the list's drag handler's; the views' own (into the model) never run.
        view->setAcceptDrops(true);
        view->setDragDropMode(QAbstractItemView::NoDragDrop);
        view->viewport()->setAcceptDrops(true);
        view->viewport()->installEventFilter(this);
        connect(view, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex &index) {
            if (index.isValid())
                emit cardDoubleClicked(index.row());
        });
        connect(view, &QWidget::customContextMenuRequested, this, [this, view](const QPoint &pos) {
            const QModelIndex index = view->indexAt(pos);
            QItemSelectionModel *selection = selectionModel();
            if (!index.isValid()) {
                clearSelectionAndCurrent();
            } else if (!selection->isRowSelected(index.row(), index.parent())) {
                selectOnly(index.row());
            }
            emit contextMenuAt(view->viewport()->mapToGlobal(pos), index.isValid() ? index.row() : -1);
        });
    }
    m_details->header()->setStretchLastSection(false);
    m_details->header()->setSectionsMovable(false);
    m_icons->setUniformItemSizes(true);

    // The widths are the list's own: a model that rebuilds its columns (or a
    // new model) gets them again, and the person's resizing is kept.
    connect(m_details->header(), &QHeaderView::sectionResized, this, [this](int section, int, int size) {
        if (!m_resetting && section >= 0 && section < 3 && m_details->header()->count() >= 3)
            m_widths[section] = size;
    });
    addWidget(m_icons);
    addWidget(m_details);
    setCardModel(nullptr);
    setMode(ListViewMode::Details);
}

void CardListView::connectSelection()
{
    QItemSelectionModel *selection = selectionModel();
    if (!selection)
        return;
    m_modelConnections << connect(selection, &QItemSelectionModel::selectionChanged, this,
                                  &CardListView::cardSelectionChanged);
    m_modelConnections << connect(selection, &QItemSelectionModel::currentChanged, this,
                                  &CardListView::cardSelectionChanged);
}

void CardListView::setCardModel(QAbstractItemModel *model, QItemSelectionModel *selection)
{
    for (const QMetaObject::Connection &c : std::as_const(m_modelConnections))
        disconnect(c);
    m_modelConnections.clear();
    m_model = model;
    QItemSelectionModel *oldOwn = m_icons->selectionModel();
    const bool ownedOld = oldOwn && oldOwn->parent() == this;
    m_icons->setModel(model);
    m_details->setModel(model);
    QItemSelectionModel *madeByViews[] = {m_icons->selectionModel(), m_details->selectionModel()};
    if (!model) {
        // No cards: the views keep the selection over their empty model.
        selection = m_icons->selectionModel();
        madeByViews[0] = nullptr;
        m_details->setSelectionModel(selection);
    } else {
        if (!selection || selection->model() != model)
            selection = new QItemSelectionModel(model, this);
        // One selection for both views: the commands' own when given.
        m_icons->setSelectionModel(selection);
        m_details->setSelectionModel(selection);
    }
    for (QItemSelectionModel *made : madeByViews)
        if (made && made != selection && made != oldOwn)
            made->deleteLater();
    if (ownedOld && oldOwn != selection)
        oldOwn->deleteLater();
    if (model) {
        m_modelConnections << connect(model, &QAbstractItemModel::modelAboutToBeReset, this,
                                      [this] { m_resetting = true; });
        m_modelConnections << connect(model, &QAbstractItemModel::modelReset, this, [this] {
            m_resetting = false;
            setColumnWidths(m_widths);
        });
        m_modelConnections << connect(model, &QAbstractItemModel::columnsInserted, this,
                                      [this] { setColumnWidths(m_widths); });
    }
    connectSelection();
    applyCaptions();
    setColumnWidths(m_widths);
    emit cardSelectionChanged();
}

QItemSelectionModel *CardListView::selectionModel() const
{
    return m_icons->selectionModel();
}

QAbstractItemView *CardListView::activeView() const
{
    if (m_mode == ListViewMode::Details)
        return m_details;
    return m_icons;
}

void CardListView::applyIconMode()
{
    const int rowHeight = std::max(18, m_icons->fontMetrics().height() + 4);
    switch (m_mode) {
    case ListViewMode::LargeIcons:
        m_icons->setViewMode(QListView::IconMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setIconSize(QSize(32, 32));
        m_icons->setGridSize(QSize(std::max(88, 7 * m_icons->fontMetrics().averageCharWidth() * 2),
                                   32 + 2 * m_icons->fontMetrics().height() + 10));
        m_icons->setWordWrap(true);
        break;
    case ListViewMode::SmallIcons:
        // Packed left to right in cells of the icon and about a dozen
        // characters, not spread at the title column's width.
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::LeftToRight);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize(
            std::min(m_listColumnWidth, 24 + 12 * m_icons->fontMetrics().horizontalAdvance(QChar(0x3042))), rowHeight));
        m_icons->setWordWrap(false);
        break;
    case ListViewMode::List:
        m_icons->setViewMode(QListView::ListMode);
        m_icons->setFlow(QListView::TopToBottom);
        m_icons->setIconSize(QSize(16, 16));
        m_icons->setGridSize(QSize(m_listColumnWidth, rowHeight));
        m_icons->setWordWrap(false);
        break;
    case ListViewMode::Details: return;
    }
    m_icons->setWrapping(true);
    m_icons->setMovement(QListView::Static);
    m_icons->setResizeMode(QListView::Adjust);
    // The movement setting switches drops off with the views' own moves.
    m_icons->viewport()->setAcceptDrops(true);
}

void CardListView::setMode(ListViewMode mode)
{
    const bool hadFocus = activeView()->hasFocus();
    m_mode = mode;
    applyIconMode();
    setCurrentWidget(activeView());
    const QModelIndex current = selectionModel()->currentIndex();
    if (current.isValid())
        activeView()->scrollTo(current);
    if (hadFocus)
        activeView()->setFocus();
}

void CardListView::setColumnCaptions(const std::array<QString, 3> &captions)
{
    m_captions = captions;
    applyCaptions();
}

void CardListView::applyCaptions()
{
    if (!m_model)
        return;
    for (int i = 0; i < 3 && i < m_model->columnCount(); ++i)
        if (!m_captions[i].isEmpty())
            m_model->setHeaderData(i, Qt::Horizontal, m_captions[i]);
}

void CardListView::setColumnWidths(const std::array<int, 3> &pixels)
{
    m_widths = pixels;
    QHeaderView *header = m_details->header();
    for (int i = 0; i < 3 && i < header->count(); ++i)
        header->resizeSection(i, std::max(0, pixels[i]));
    // The list modes line their columns up at the title column's width.
    m_listColumnWidth = std::clamp(pixels[0], 80, 320);
    if (m_mode == ListViewMode::SmallIcons || m_mode == ListViewMode::List)
        applyIconMode();
}

std::array<int, 3> CardListView::columnWidths() const
{
    return m_widths;
}

void CardListView::setListFont(const QFont &font)
{
    m_icons->setFont(font);
    m_details->setFont(font);
    applyIconMode();
}

void CardListView::setColours(const QColor &text, const QColor &background)
{
    for (QAbstractItemView *view :
         {static_cast<QAbstractItemView *>(m_icons), static_cast<QAbstractItemView *>(m_details)}) {
        QPalette palette = view->palette();
        for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
            palette.setColor(group, QPalette::Text, text);
            palette.setColor(group, QPalette::Base, background);
        }
        view->setPalette(palette);
    }
}

QList<int> CardListView::selectedRows() const
{
    QList<int> rows;
    for (const QModelIndex &index : selectionModel()->selectedRows())
        rows.append(index.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

int CardListView::currentRow() const
{
    const QModelIndex current = selectionModel()->currentIndex();
    return current.isValid() ? current.row() : -1;
}

void CardListView::selectOnly(int row)
{
    const QModelIndex index = m_model ? m_model->index(row, 0) : QModelIndex();
    if (!index.isValid())
        return;
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    activeView()->scrollTo(index);
}

void CardListView::clearSelectionAndCurrent()
{
    selectionModel()->clearSelection();
    selectionModel()->clearCurrentIndex();
}

void CardListView::selectAllCards()
{
    activeView()->setFocus();
    activeView()->selectAll();
}

void CardListView::invertSelection()
{
    if (!m_model)
        return;
    const int rows = m_model->rowCount();
    const int columns = m_model->columnCount();
    if (rows == 0 || columns == 0)
        return;
    const QItemSelection all(m_model->index(0, 0), m_model->index(rows - 1, columns - 1));
    selectionModel()->select(all, QItemSelectionModel::Toggle | QItemSelectionModel::Rows);
}

void CardListView::refresh(bool reflowColumns)
{
    if (reflowColumns)
        m_icons->doItemsLayout();
    activeView()->viewport()->update();
}

int CardListView::rowAt(const QPoint &viewportPos) const
{
    const QModelIndex index = activeView()->indexAt(viewportPos);
    return index.isValid() ? index.row() : -1;
}

bool CardListView::handleDrag(QEvent *event)
{
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *move = static_cast<QDragMoveEvent *>(event);
        const bool accepted =
            m_dragHandler && m_dragHandler->dragOver(*this, move->mimeData(), rowAt(move->position().toPoint()));
        if (accepted) {
            move->setDropAction(Qt::CopyAction);
            move->accept();
        } else {
            move->ignore();
        }
        return true;
    }
    case QEvent::DragLeave: event->accept(); return true;
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        if (m_dragHandler && m_dragHandler->drop(*this, drop->mimeData(), rowAt(drop->position().toPoint()))) {
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
        } else {
            drop->ignore();
        }
        return true;
    }
    default: return false;
    }
}

bool CardListView::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::FocusOut && (watched == m_icons || watched == m_details))
        emit focusLeft();
    if ((watched == m_icons->viewport() || watched == m_details->viewport()) && handleDrag(event))
        return true;
    return QStackedWidget::eventFilter(watched, event);
}
