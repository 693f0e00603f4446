#pragma once
// The card editor wired into the main window and the document: the edit
// command "カードの編集(&E)..." (Ctrl+E, F3, Alt/Shift+Enter, a double click,
// the function-bar panel "編集", and the AUTOOPEN cards through DocumentView),
// Space in browse mode, the count and the closing of the open editors that
// the document lifecycle asks for, and the main-window hooks the editors use
// (save, extraction by a selection, browse mode, most-front).
//
//     EditorCommands editors(window, document, files);
//     editors.attach(adapter);   // the DocumentView hooks and the commands
//
// attach() takes any adapter with the members onEditSelectedCards,
// onOpenEditorCount and onCloseAllEditors (std::function), as the window
// adapter of the document lifecycle has.

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

    // The DocumentView hooks of adapter, then install().
    template<class Adapter>
    void attach(Adapter &adapter)
    {
        adapter.onEditSelectedCards = [this] { editSelectedCards(); };
        adapter.onOpenEditorCount = [this] { return openEditorCount(); };
        adapter.onCloseAllEditors = [this] { closeAllEditors(); };
        install();
    }

    // Wires Cmd::EditCard, and Cmd::BrowseSpace unless someone wired it.
    void install();

    // "カードの編集(&E)...": opens the current card of the current list in an
    // editor (or brings its open editor forward). Nothing without a current card.
    void editSelectedCards();
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
