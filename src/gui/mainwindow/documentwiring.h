#pragma once
// The main window following the process's document: the card lists show the
// document's stores and selections, and the window takes what the document
// announces (title, reload entry, recent files, settings, extraction mode,
// the card to show, the focus after opening). The document asks the window
// only for its state, and the start-up only to show it.
//
//     Document document(services);
//     MainForm window(services);
//     DocumentWiring::attach(window, document);

#include "core/document/documentwindow.h"
#include "core/document/startup.h"

#include <QObject>

class Document;
class MainForm;

class DocumentWiring : public QObject, public DocumentWindow, public StartupWindow
{
    Q_OBJECT
public:
    // The wiring of window and document, made once and owned by window.
    static DocumentWiring *attach(MainForm &window, Document &document);

    // DocumentWindow
    std::optional<WindowState> windowState() const override;

    // StartupWindow
    void show() override;

private:
    DocumentWiring(MainForm &window, Document &document);
    ~DocumentWiring() override;
    void showRecentFiles(const QStringList &captions);

    MainForm &m_window;
    Document &m_document;
};
