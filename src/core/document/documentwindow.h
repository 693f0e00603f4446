#pragma once
// What the document has to ask and cannot learn from its own state: the
// main window's size and view mode for the settings, and the card editors
// held open. Everything the window shows it learns from the document's
// signals; a document with no window and no editors (tests, tools) runs
// without either.

#include "core/document/windowstate.h"

#include <optional>

class DocumentWindow
{
public:
    virtual ~DocumentWindow() = default;
    // The state to store in the settings.
    virtual std::optional<WindowState> windowState() const = 0;
};

class OpenEditors
{
public:
    virtual ~OpenEditors() = default;
    virtual int openCount() const = 0;
    // Closes every editor window; their unapplied edits are dropped.
    virtual void closeAll() = 0;
};
