#include "gui/mainwindow/cardcommandwiring.h"

#include "core/commands/searchcommands.h"
#include "core/window/maincommands.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/documentwiring.h"
#include "gui/mainwindow/htmlcommandwiring.h"
#include "gui/mainwindow/mainform.h"

#include <QAbstractItemView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QHeaderView>

namespace {

// The card lists' delegate, but an edit in place of a title field ends in
// the card commands instead of going straight into the model.
class TitleEditDelegate : public CardItemDelegate
{
public:
    using Commit = std::function<void(int row, const QString &title)>;
    TitleEditDelegate(Commit commit, QObject *parent) : CardItemDelegate(parent), m_commit(std::move(commit)) {}

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        auto *line = qobject_cast<QLineEdit *>(editor);
        if (!line || index.column() != 0) {
            CardItemDelegate::setModelData(editor, model, index);
            return;
        }
        m_commit(index.row(), line->text());
    }

private:
    Commit m_commit;
};

QList<QAbstractItemView *> viewsOf(CardListView *list)
{
    return {list->iconView(), list->detailsView()};
}

} // namespace

CardCommandWiring *CardCommandWiring::wire(MainForm &window, Document &document, SearchCommands &search)
{
    return new CardCommandWiring(window, document, search);
}

CardCommandWiring::CardCommandWiring(MainForm &window, Document &document, SearchCommands &search)
    : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("CardCommandWiring"));
    DocumentWiring::attach(window, document);

    m_commands = std::make_unique<CardCommands>(document, window.commands(), search.extraction());
    m_commands->wire();
    HtmlCommandWiring::wire(window, document);
    connect(m_commands.get(), &CardCommands::renameRequested, this, &CardCommandWiring::beginRename);

    for (int i = 0; i < 2; ++i) {
        installRenameDelegates(i);
        for (QAbstractItemView *shown : viewsOf(window.cardList(i))) {
            shown->viewport()->installEventFilter(this);
            m_viewports.append({shown->viewport(), i});
        }
    }
}

CardCommandWiring::~CardCommandWiring()
{
    for (const ReplacedDelegate &r : std::as_const(m_replaced))
        if (r.view && r.original)
            r.view->setItemDelegate(r.original);
}

void CardCommandWiring::installRenameDelegates(int list)
{
    for (QAbstractItemView *shown : viewsOf(m_window.cardList(list))) {
        auto *delegate = new TitleEditDelegate(
            [this, list](int row, const QString &title) { m_commands->commitRename(list, row, title); }, this);
        m_replaced.append({shown, shown->itemDelegate()});
        shown->setItemDelegate(delegate);
    }
}

bool CardCommandWiring::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress) {
        auto *mouse = static_cast<QMouseEvent *>(event);
        // Shift+click extends from the current card, so it keeps it.
        if (mouse->button() == Qt::LeftButton && !(mouse->modifiers() & Qt::ShiftModifier)) {
            for (const auto &[viewport, list] : std::as_const(m_viewports)) {
                if (viewport != watched)
                    continue;
                // The click makes the card under the mouse current; on empty
                // space no card stays current.
                if (QItemSelectionModel *selection = m_window.cardList(list)->selectionModel())
                    selection->clearCurrentIndex();
                break;
            }
        }
    }
    return QObject::eventFilter(watched, event);
}

// ---------------------------------------------------------------- rename

void CardCommandWiring::beginRename(int list, qsizetype row)
{
    CardListView *view = m_window.cardList(list);
    QAbstractItemView *shown = view ? view->activeView() : nullptr;
    if (!shown || !shown->model() || row < 0 || row >= shown->model()->rowCount())
        return;
    const QModelIndex index = shown->model()->index(int(row), 0);
    shown->setFocus(Qt::OtherFocusReason);
    m_window.showCard(list, row);
    shown->edit(index);
}
