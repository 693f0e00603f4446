#include "gui/mainwindow/carddragwiring.h"

#include "gui/mainwindow/mainform.h"

#include <QDrag>
#include <QMimeData>
#include <QTimer>
#include <QUrl>

namespace {

const QString UriListMimeType = QStringLiteral("text/uri-list");
// How long the drag file outlives its drag.
constexpr int DragFileLifetimeMs = 30000;

// The cards' transfer text, and the drag file only when a target asks for
// the file list: a drop into another window or a text editor makes none.
class CardsMimeData : public QMimeData
{
public:
    explicit CardsMimeData(CardDragDrop &dragDrop) : m_dragDrop(dragDrop) {}

    QStringList formats() const override
    {
        QStringList list = QMimeData::formats();
        list.append(UriListMimeType);
        return list;
    }
    bool hasFormat(const QString &mimeType) const override { return formats().contains(mimeType); }

protected:
    QVariant retrieveData(const QString &mimeType, QMetaType type) const override
    {
        if (mimeType != UriListMimeType)
            return QMimeData::retrieveData(mimeType, type);
        const QString path = m_dragDrop.dragFile();
        if (path.isEmpty())
            return QVariant();
        return QVariant(QUrl::fromLocalFile(path).toEncoded() + "\r\n");
    }

private:
    CardDragDrop &m_dragDrop;
};

} // namespace

const QString CardDragWiring::CardsMimeType = QStringLiteral("application/x-qltwin-cards");

CardDragWiring *CardDragWiring::wire(MainForm &window, Document &document, FileCommands &files)
{
    return new CardDragWiring(window, document, files);
}

CardDragWiring::CardDragWiring(MainForm &window, Document &document, FileCommands &files)
    : QObject(&window), m_window(window), m_dragDrop(document, files)
{
    setObjectName(QStringLiteral("CardDragWiring"));
    for (int i = 0; i < 2; ++i) {
        CardListView *list = window.cardList(i);
        m_lists[i] = list;
        list->setDragHandler(this);
        connect(list, &CardListView::dragStartRequested, this, [this, list] { runDrag(*list); });
    }
}

// The wiring is a child of the window and usually goes while the window is
// half destroyed: only the lists that still stand are told.
CardDragWiring::~CardDragWiring()
{
    for (const QPointer<CardListView> &list : m_lists) {
        if (list)
            list->setDragHandler(nullptr);
    }
}

DropData CardDragWiring::dropDataOf(const QMimeData *data, bool readText)
{
    DropData drop;
    if (!data)
        return drop;
    if (data->hasText())
        drop.text = readText ? data->text() : QString();
    drop.hasFileList = data->hasFormat(UriListMimeType);
    drop.cardsFromProgram = data->hasFormat(CardsMimeType);
    if (drop.hasFileList) {
        drop.files = [data] {
            QStringList paths;
            for (const QUrl &url : data->urls()) {
                if (url.isLocalFile())
                    paths.append(url.toLocalFile());
            }
            return paths;
        };
    }
    return drop;
}

bool CardDragWiring::dragOver(CardListView &, const QMimeData *data, int row)
{
    // Whether there is text is enough here: another program's text would
    // be fetched at every move of the pointer.
    if (!m_dragDrop.accepts(dropDataOf(data, false)))
        return false;
    m_dragDrop.dragOver(row);
    return true;
}

bool CardDragWiring::drop(CardListView &, const QMimeData *data, int row)
{
    DropData dropData = dropDataOf(data);
    if (!m_dragDrop.accepts(dropData))
        return false;
    // The data lives as long as the drop event; the drop itself (questions,
    // a card file opened) runs once the event is answered, so the program
    // the drag came from is not kept waiting.
    if (dropData.files && !dropData.cardsFromProgram) {
        const QStringList paths = dropData.files();
        dropData.files = [paths] { return paths; };
    } else {
        dropData.files = nullptr;
    }
    QTimer::singleShot(0, this, [this, dropData, row] {
        if (m_dragDrop.accepts(dropData))
            m_dragDrop.drop(dropData, row);
    });
    return true;
}

void CardDragWiring::runDrag(CardListView &list)
{
    const QString text = m_dragDrop.beginDrag();
    if (text.isEmpty())
        return;
    auto *data = new CardsMimeData(m_dragDrop);
    data->setText(text);
    data->setData(CardsMimeType, QByteArray());
    auto *drag = new QDrag(&list);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction, Qt::CopyAction);
    m_dragDrop.endDrag();
    // The target (a file manager) may still be asking for the file: it goes
    // a while later, unless another drag has started meanwhile.
    const int number = ++m_drags;
    QTimer::singleShot(DragFileLifetimeMs, this, [this, number] {
        if (number == m_drags)
            m_dragDrop.removeDragFile();
    });
}
