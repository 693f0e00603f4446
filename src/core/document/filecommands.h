#pragma once
// The file commands of the main window on the process's one document: open,
// the confirmation before a document is closed, save, save as, new, open
// with the chooser, reload, the recent-file entries, a new window, and the
// close of the window. Messages go through Dialogs, the window follows the
// document's signals, so every command runs without a window.
//
// Wiring in the window:
//     MenuFileOpenNewWindow "新しいウインドウ(&1)"  NewWindow()
//     MenuNewDocument       "新規作成(&2)"          NewDocument()
//     MenuOpenFile          "開く(&3)..."           OpenWithDialog()
//     MenuOverRideWrite     "上書き保存(&4)"        Save()
//     MenuSaveAs            "名前を付けて保存(&5)..." SaveAs()
//     MenuReload            "再読込(&6)"            Reload()
//     MenuFileRecent(n)                            OpenRecentFile(n)
//     a card file dropped on the window            ReplaceDocument(path)
//     the window's close guard ("終了(&0)", ×)      WindowClosing()

#include "core/document/documenttexts.h"

#include <QString>

class Document;

enum class OpenOutcome {
    Opened,      // read into the main card list
    NewFile,     // no file at the path: an empty document under it
    ReadFailed,  // the reader failed: an empty document under the path
    Unsupported, // an existing file of an extension no reader takes (or an empty path); nothing changed
    Declined,    // listed as open elsewhere and the person declined; nothing changed
    Kept,        // ReplaceDocument only: ConfirmClose kept the current document
};

// The document now names the path (opened, new, or read failed).
inline bool DocumentReplaced(OpenOutcome outcome)
{
    return outcome == OpenOutcome::Opened || outcome == OpenOutcome::NewFile || outcome == OpenOutcome::ReadFailed;
}

class FileCommands
{
public:
    explicit FileCommands(Document &document);

    Document &document() { return m_document; }

    // Opens a card file into the window: guard, leave extraction, store the
    // old document's window state, read (or start a new file), select and
    // apply the settings, then the recent list, opened (the focus), the
    // AUTOOPEN editors and the first card.
    OpenOutcome OpenDocument(const QString &path);

    // Asks about open editors and unsaved changes; true = the document may
    // be closed (its guard entry is then removed).
    bool ConfirmClose();

    // ConfirmClose, then OpenDocument(path): the recent-file entries, a
    // dropped card file and reload. When the new file is not opened after
    // all, the document that stays in the window is registered again.
    OpenOutcome ReplaceDocument(const QString &path);

    // "上書き保存(&4)": save as for an untitled document, else write the file
    // under its path. True when written.
    [[nodiscard]] bool Save();
    // The save dialog and the write; false (no message) when cancelled.
    // format: the dialog starts on that format's filter, proposing its extension.
    [[nodiscard]] bool SaveDocumentAs(const DocumentTexts::FormatFilter *format = nullptr);
    // "名前を付けて保存(&5)...": SaveDocumentAs, then the flag and the icons.
    // The toolbar's "QLW形式" and "CSV形式" under save give the format.
    [[nodiscard]] bool SaveAs(const DocumentTexts::FormatFilter *format = nullptr);

    // "新規作成(&2)"
    void NewDocument();
    // "開く(&3)..."; the toolbar's "QLW形式" and "CSV形式" under open start
    // the dialog on that format's filter.
    void OpenWithDialog(const DocumentTexts::FormatFilter *format = nullptr);
    // "再読込(&6)": reopens the document from its file.
    void Reload();
    // MenuFileRecent(index): reopens the recent-file entry.
    void OpenRecentFile(int index);
    // "新しいウインドウ(&1)": another process of this program, no arguments.
    bool NewWindow();

    // The window is about to close: ConfirmClose, then the window state into
    // iniData and iniData saved. False keeps the window open.
    bool WindowClosing();

private:
    void afterOpen(const QString &path);
    void autoOpenCards();
    void showFirstCard();
    // Steps 2 to 5 of the save command for a named document.
    [[nodiscard]] bool saveUnderDocumentPath();
    void registerAgain(const QString &path);
    // The document stays in the window after ConfirmClose let it go:
    // registered again, and marked modified again when its changes were
    // about to be discarded.
    void keepDocument(const QString &path);
    // False when path is the opened file that holds text outside its cards
    // and the person does not want it saved over.
    [[nodiscard]] bool mayOverwrite(const QString &path);

    Document &m_document;
    // ConfirmClose was answered "No": the changes go unless the document stays.
    bool m_changesDiscarded = false;
    // The opened text card file whose lines outside the records a save
    // would drop; empty when none.
    QString m_strayTextPath;
};
