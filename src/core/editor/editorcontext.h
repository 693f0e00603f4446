#pragma once
// What every editor of a document shares: the document (its two card lists,
// the modified flag, the settings, the window through DocumentView), the
// table of open editors, the program's windows for the external editor, and
// the hooks into the main window that the wiring fills in.

#include "core/common/services.h"
#include "core/editor/editwindows.h"

#include <QString>

#include <functional>

class Document;
class ExternalEditWindows;

struct EditorHooks {
    // The main window's save command "上書き保存(&4)".
    std::function<void()> saveDocument;
    // MenuEditOpen(1): end the current extraction, put the keyword into the
    // main window's search box, extract by it, bring the main window forward.
    std::function<void(const QString &keyword)> extractByKeyword;
    // The main window's browse mode and its toggle (MenuDispViewMode).
    std::function<bool()> browseMode;
    std::function<void()> toggleBrowseMode;
};

class EditorContext
{
public:
    explicit EditorContext(Document &document) : m_document(document) {}
    EditorContext(const EditorContext &) = delete;
    EditorContext &operator=(const EditorContext &) = delete;

    Document &document() const { return m_document; }
    EditWindows &windows() { return m_windows; }
    const EditWindows &windows() const { return m_windows; }

    EditorHooks hooks;
    // Hidden and disabled around the external editor; null: none.
    ExternalEditWindows *programWindows = nullptr;

private:
    Document &m_document;
    EditWindows m_windows;
};
