#pragma once
// What every editor of a document shares: the document (its two card lists,
// the modified flag, the settings), the table of open editors, the main
// window's view state (browse mode), the program's windows for the external
// editor, and the two requests an editor makes of the main window, as
// signals its wiring connects.

#include "core/common/services.h"
#include "core/editor/editwindows.h"

#include <QObject>
#include <QString>

class Document;
class ExternalEditWindows;
class MainViewController;

class EditorContext : public QObject
{
    Q_OBJECT
public:
    // viewState: the main window's view state (browse mode); null: none.
    explicit EditorContext(Document &document, MainViewController *viewState = nullptr, QObject *parent = nullptr)
        : QObject(parent), m_document(document), m_viewState(viewState)
    {}

    Document &document() const { return m_document; }
    MainViewController *viewState() const { return m_viewState; }
    EditWindows &windows() { return m_windows; }
    const EditWindows &windows() const { return m_windows; }

    // Hidden and disabled around the external editor; null: none.
    ExternalEditWindows *programWindows = nullptr;

    void requestSave() { emit saveRequested(); }
    void requestExtraction(const QString &keyword) { emit extractionRequested(keyword); }

signals:
    // The main window's save command "上書き保存(&4)".
    void saveRequested();
    // MenuEditOpen(1): end the current extraction, put the keyword into the
    // main window's search box, extract by it, bring the main window forward.
    void extractionRequested(const QString &keyword);

private:
    Document &m_document;
    MainViewController *m_viewState;
    EditWindows m_windows;
};
