#pragma once
// The one document of a QLTWIN process and the state around it: the main
// card list and the extraction list (lvData 0 and 1), which of them is
// active, the document path and the modified flag with the window title they
// make, the active settings store iniData, the recent-file list
// iniRecentFile and the file-in-use guard. The file commands that change
// all of this live in FileCommands; the window follows through DocumentView.
//
//     Document document(services);
//     document.setView(&windowAdapter);
//     FileCommands files(document);
//     files.OpenDocument("/data/memo.qlw");

#include "core/cards/cardfile.h"
#include "core/cards/cardlist.h"
#include "core/common/services.h"
#include "core/document/documentview.h"
#include "core/document/openguard.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settingsmodel.h"
#include "core/settings/uservalues.h"

#include <QString>

#include <array>
#include <functional>
#include <memory>

// "memo.qlw(変更) - QLT@WIN Ver.1.0.0": the file name of path, "(変更)"
// while modified, then the product and its version.
QString DocumentTitle(const QString &path, bool modified);
// The document is untitled exactly when the base name of its path is "(無題)".
bool IsUntitledPath(const QString &path);

class Document
{
public:
    // Where the shared files lie; an empty name means the usual file in the
    // program folder (read when the document is made).
    struct Files {
        QString generalSettings; // executable base name + ".ini"
        QString openCheck;       // "OpenCheck.ini"
        QString recentList;      // "Recent.ini"
    };

    // services.dialogs is required; services.clock serves the writers' date
    // prefixes (the system clock when null); services.processes the new
    // window; services.userStore the start-up. They must outlive the document.
    explicit Document(const Services &services, const Files &files = {},
                      int recentLastIndex = UserValues::DefaultMaxOfRecentFile - 1);
    Document(const Document &) = delete;
    Document &operator=(const Document &) = delete;

    const Services &services() const { return m_services; }
    Dialogs &dialogs() const { return *m_services.dialogs; }

    // The window; null detaches it (every call then does nothing).
    void setView(DocumentView *view);
    DocumentView &view() const { return *m_view; }

    // --- Card lists
    // lvData(0): the main card list, the card store itself. lvData(1): the
    // extraction list.
    CardList &lvData(int index) { return *m_lists.at(index); }
    const CardList &lvData(int index) const { return *m_lists.at(index); }
    CardStore &cards() { return lvData(0).store(); }
    const CardStore &cards() const { return lvData(0).store(); }

    // 1 while the extraction list is shown, else 0.
    int ActiveListIndex() const { return m_extractionActive ? 1 : 0; }
    CardList &activeList() { return lvData(ActiveListIndex()); }
    bool extractionActive() const { return m_extractionActive; }
    // Extraction switches the mode on (and the handler below off again).
    void setExtractionActive(bool on) { m_extractionActive = on; }
    // What leaving extraction mode does (write the extraction list back to
    // the main card list, show it again); run by LeaveExtractionMode.
    void setLeaveExtractionHandler(std::function<void()> handler) { m_leaveExtraction = std::move(handler); }
    // Ends extraction mode when it is on: the handler runs, then the main
    // card list is the active one.
    void LeaveExtractionMode();

    // --- Path, flag, title
    QString DocumentPath() const { return m_path; }
    // Stores the path, rebuilds the title, enables reload unless untitled,
    // and makes the HTML wizard forget its output folder.
    void SetDocumentPath(const QString &path);
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified);
    bool IsUntitled() const { return IsUntitledPath(m_path); }
    QString title() const { return DocumentTitle(m_path, m_modified); }
    bool reloadEnabled() const { return !m_path.isEmpty() && !IsUntitled(); }
    // Icon 1 for every card of the main card list (after a save).
    void ResetCardIcons();

    // --- Settings
    SettingsModel &settings() { return m_settings; }
    iniMente &iniData() { return m_settings.iniData(); }
    // ApplySettings: the values of iniData into the window.
    void ApplySettings();
    // What the writers need from the settings: AddDateInfo and the clock.
    WriteOptions writeOptions();
    // Stores window size (when SaveWindowSize is 1 and the window is in the
    // normal state) and ListViewMode in iniData and saves it: before another
    // card file replaces this one.
    void StoreStateBeforeReplacing();
    // Stores column widths (when SaveColumnWidth is 1), the normal window
    // size and ListViewMode in iniData and saves it: when the window closes.
    void StoreStateOnClose();

    // --- Recent files
    RecentFileList &recentFiles() { return m_recent; }
    iniMente &iniRecentFile() { return m_recent.iniRecentFile(); }
    // "MAXOFRECENTFILE" - 1, set at start-up before the list is used.
    void setRecentLastIndex(int lastIndex);
    // Loads "Recent.ini" and shows the menu (start-up).
    void LoadRecentFiles();
    // The path to the top of the list, saved, and the menu rebuilt.
    void AddRecentFile(const QString &path);
    void BuildRecentMenu();
    // How many recent-file menu items have been made visible so far.
    int recentMenuVisibleCount() const { return m_recentVisible; }

    // --- File-in-use guard
    OpenGuard &guard() { return m_guard; }

private:
    Services m_services;
    DocumentView m_noView;
    DocumentView *m_view = &m_noView;
    std::array<std::unique_ptr<CardList>, 2> m_lists;
    bool m_extractionActive = false;
    std::function<void()> m_leaveExtraction;
    QString m_path;
    bool m_modified = false;
    SettingsModel m_settings;
    QString m_recentFile;
    RecentFileList m_recent;
    int m_recentVisible = 0;
    OpenGuard m_guard;
};
