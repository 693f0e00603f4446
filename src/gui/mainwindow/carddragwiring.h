#pragma once
// Wires drag and drop of both card lists of a MainForm to the document's
// CardDragDrop: the lists' drags become a QDrag of the cards' transfer text
// (and, when the target asks for files, the drag file), drags over and drops
// on the lists are read from their QMimeData into DropData, and the drop
// runs once the drop event is answered. Every decision is CardDragDrop's.
//
//     CardDragWiring::wire(window, document, files);

#include "core/dragdrop/carddragdrop.h"
#include "gui/mainwindow/cardlistview.h"

#include <QObject>
#include <QPointer>

#include <array>

class Document;
class FileCommands;
class MainForm;
class QMimeData;

class CardDragWiring : public QObject, public CardDragHandler
{
    Q_OBJECT
public:
    // The mime type that marks a drag of cards out of this program's lists.
    static const QString CardsMimeType;

    // The wiring of window and document, owned by window.
    static CardDragWiring *wire(MainForm &window, Document &document, FileCommands &files);
    CardDragWiring(MainForm &window, Document &document, FileCommands &files);
    ~CardDragWiring() override;

    CardDragDrop &dragDrop() { return m_dragDrop; }

    // What the drop decisions see of data; without readText the text is
    // only announced (empty).
    static DropData dropDataOf(const QMimeData *data, bool readText = true);

    bool dragOver(CardListView &list, const QMimeData *data, int row) override;
    // Reads data now and drops it at the next turn of the event loop.
    bool drop(CardListView &list, const QMimeData *data, int row) override;

    // The drag of the selected cards of the current list, run until it ends.
    void runDrag(CardListView &list);

private:
    MainForm &m_window;
    CardDragDrop m_dragDrop;
    std::array<QPointer<CardListView>, 2> m_lists; // the two card lists, while they stand
    int m_drags = 0;                               // drags started so far
};
