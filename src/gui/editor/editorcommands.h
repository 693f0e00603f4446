#pragma once
// The card editor wired into the main window and the document: the edit
// command "カードの編集(&E)..." (Ctrl+E, F3, Alt/Shift+Enter, a double click,
// the function-bar panel "編集") and the document's edit requests (a new
// card, the AUTOOPEN cards), Space in browse mode, the table of open editors
// the document asks before it is closed, and what the editors ask of the
// main window (save, extraction by a selection; browse mode and most-front
// are the window's view state).
//
//     EditorCommands editors(window, document, files);
//     editors.install();

#include "core/editor/editorcontext.h"
#include "core/editor/externaledit.h"

#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class Document;
class EditForm;
class FileCommands;
class MainForm;

class EditorCommands : public QObject
{
    Q_OBJECT
public:
    EditorCommands(MainForm &window, Document &document, FileCommands &files, QObject *parent = nullptr);
    // Closes every open editor.
    ~EditorCommands() override;

    // Wires Cmd::EditCard, and Cmd::BrowseSpace unless someone wired it;
    // follows the document's edit requests and gives it the open editors.
    void install();

    // "カードの編集(&E)...": opens the current card of the current list in an
    // editor (or brings its open editor forward). Nothing without a current card.
    void editSelectedCards();
    // The same on the current card of lvData(listIndex).
    void editCurrentCard(int listIndex);
    // Opens the card with key of list listIndex; the result of the table.
    EditWindows::OpenResult openEditor(int listIndex, const QString &key);
    // Space in a card list in browse mode: the current card (the first when
    // there is none) opens, and the next card becomes current and selected,
    // so repeated Space walks through the cards.
    void browseSpace();

    int openEditorCount() const;
    // Closes every editor; unapplied changes are dropped.
    void closeAllEditors();

    EditorContext &context() { return m_context; }
    EditForm *editorAt(int slot) const;
    EditForm *editorFor(const QString &key) const;

private:
    class ProgramWindows;

    MainForm &m_window;
    Document &m_document;
    FileCommands &m_files;
    EditorContext m_context;
    std::unique_ptr<ProgramWindows> m_programWindows;
};
