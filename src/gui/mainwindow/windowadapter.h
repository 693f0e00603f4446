#pragma once
// The main window as the document lifecycle and the start-up see it: turns
// DocumentView and StartupWindow calls into MainForm calls. The parts that
// belong to later subsystems (groups, sorting, editors) are hooks their
// wiring fills in.

#include "core/document/documentview.h"
#include "core/document/startup.h"

#include <functional>

class Document;
class MainForm;

class WindowAdapter : public DocumentView, public StartupWindow
{
public:
    WindowAdapter(MainForm &window, Document &document);

    // Hooks of the subsystems wired after the lifecycle; empty ones do nothing.
    std::function<void()> onCancelSort;
    std::function<void()> onRebuildGroupList;
    std::function<void()> onEditSelectedCards;
    std::function<int()> onOpenEditorCount;
    std::function<void()> onCloseAllEditors;
    std::function<void()> onForgetHtmlOutputFolder;
    // After the window took the settings (the sort restore, say).
    std::function<void(const AppliedSettings &)> onSettingsApplied;

    // DocumentView
    void showTitle(const QString &title) override;
    void setReloadEnabled(bool enabled) override;
    void showRecentFiles(const QStringList &captions) override;
    void forgetHtmlOutputFolder() override;
    void applySettings(const AppliedSettings &values) override;
    std::optional<WindowState> windowState() override;
    void cancelSort() override;
    void refreshPreview() override;
    void focusSearchBox() override;
    void rebuildGroupList() override;
    void ensureCardVisible(int listIndex, qsizetype row) override;
    void editSelectedCards() override;
    int openEditorCount() override;
    void closeAllEditors() override;

    // StartupWindow
    void loadHidden() override;
    void show() override;

private:
    MainForm &m_window;
    Document &m_document;
};
