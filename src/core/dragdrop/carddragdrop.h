#pragma once
// Drag and drop on the card lists of the main window, decided without a
// window. The window translates the platform's events and mime data into the
// calls below and shows what the document then announces.
//
// Dragging cards out of the current list offers their transfer text and, on
// request, one ".qlt" file holding it, named after the current card's title;
// the file lies in a folder of its own in the temporary folder. A target
// may ask for the file after the drag has ended (the platform's drop is
// finished by the target), so the file goes a while later, when the next
// drag starts, or with this object. A window never takes its own drag.
//
// A drop onto the card lists takes text, which becomes cards like a paste,
// or a list of files: card files open (in this window while it holds an
// untouched untitled document, else in a new process of the program), ".txt"
// files after a question either open or become cards, ".mht" and ".url"
// files become cards with the address they hold as remarks, any other file
// becomes cards of its text. Dropped cards go before the card under the
// pointer, or after the last card when the pointer is below it; drag over
// selects that card so the person sees where they will go. Nothing is
// dropped in extraction mode: cards inserted into the extraction list alone
// would be lost when the extraction ends.
//
//     CardDragDrop dnd(document, files);
//     QString text = dnd.beginDrag();       // offered as text
//     QString file = dnd.dragFile();        // when the target asks for files
//     dnd.endDrag();                        // own drops are taken again
//     dnd.removeDragFile();                 // later: the file is gone
//     if (dnd.accepts(data)) dnd.dragOver(row);
//     dnd.drop(data, row);

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

class Document;
class FileCommands;

// What a drag offers, as the window reads it from the platform's mime data.
struct DropData {
    std::optional<QString> text;        // plain text
    bool hasFileList = false;           // a list of files is announced (text/uri-list)
    std::function<QStringList()> files; // its local files, asked for only when the drop takes files
    bool cardsFromProgram = false;      // dragged out of a card list of this program: the text is the cards
};

class CardDragDrop
{
public:
    // document and files outlive this.
    CardDragDrop(Document &document, FileCommands &files);
    ~CardDragDrop();
    CardDragDrop(const CardDragDrop &) = delete;
    CardDragDrop &operator=(const CardDragDrop &) = delete;

    // --- Dragging out of the current list
    // Starts a drag of the selected cards of the current list and returns
    // their transfer text; empty (and no drag) when no card is selected.
    // The file of an earlier drag is removed first.
    QString beginDrag();
    // This window's drag is in progress: its own lists refuse it.
    bool dragging() const { return m_dragging; }
    // The drag file, made on the first request after beginDrag: the
    // transfer text and one more line end in Windows-31J, named
    // DragFileName of the current card's title, in a new folder of the
    // temporary folder. Empty when it could not be made, or when no drag
    // was started since the last removeDragFile.
    QString dragFile();
    // The drag ended, dropped or not: this window takes drops again. The
    // drag file stays for a target that asks for it late.
    void endDrag();
    // Removes the drag file and its folder and forgets the drag's cards.
    // Failures are ignored.
    void removeDragFile();
    // The title + ".qlt" with the characters file names cannot hold made
    // full-width (backslashes kept), cut to its first 70 characters.
    static QString DragFileName(const QString &title);

    // --- Dropping onto the card lists
    // Whether data may be dropped: not this window's own drag, not in
    // extraction mode, and text or a file list.
    bool accepts(const DropData &data) const;
    // The pointer is over row of the main card list (-1: below the last
    // card): that card alone is selected and current, the drop target; with
    // none the current card is cleared.
    void dragOver(qsizetype row);
    // Drops data with the pointer over row (-1: below the last card).
    // Returns the number of cards inserted.
    qsizetype drop(const DropData &data, qsizetype row);

private:
    enum class Step { Next, Stop };
    void dropText(const QString &text);
    Step dropFile(const QString &path, bool emptyDocument);
    Step openCardFile(const QString &path, bool emptyDocument);
    void insertText(const QString &text, const std::optional<QString> &title, const std::optional<QString> &remarks);
    void showError(const QString &description);

    Document &m_document;
    FileCommands &m_files;

    bool m_dragging = false;
    QString m_dragText;
    QString m_dragTitle;
    QString m_dragFile;
    QString m_dragFolder;

    // During a drop: where the next cards go, the first of them, how many.
    qsizetype m_position = 0;
    qsizetype m_firstInserted = -1;
    qsizetype m_inserted = 0;
};
