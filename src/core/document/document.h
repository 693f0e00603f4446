#pragma once
// The one document of a QLTWIN process and the state around it: the main
// card list and the extraction list (lvData 0 and 1), which of them is
// active, the document path and the modified flag with the window title they
// make, the active settings store iniData, the recent-file list
// iniRecentFile and the file-in-use guard. The file commands that change
// all of this live in FileCommands. The document announces every change by
// a signal, so a window (or a test) follows it without being asked; what it
// must ask the window goes through the small DocumentWindow.
//
//     Document document(services);
//     connect(&document, &Document::titleChanged, &window, &QWidget::setWindowTitle);
//     FileCommands files(document);
//     files.OpenDocument("/data/memo.qlw");

#include "core/cards/cardfile.h"
#include "core/cards/cardlist.h"
#include "core/common/services.h"
#include "core/document/documentwindow.h"
#include "core/document/openguard.h"
#include "core/settings/appliedsettings.h"
#include "core/settings/recentfiles.h"
#include "core/settings/settingsmodel.h"
#include "core/settings/uservalues.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <memory>

// "memo.qlw(変更) - QLT@WIN Ver.1.0.0": the file name of path, "(変更)"
// while modified, then the product and its version.
QString DocumentTitle(const QString &path, bool modified);
// The document is untitled exactly when the base name of its path is "(無題)".
bool IsUntitledPath(const QString &path);

class Document : public QObject
{
    Q_OBJECT
public:
    // What changed in a card list (the flags of listChanged).
    enum ListChange {
        CardsChanged = 1,     // cards were added, removed, changed, sorted or replaced
        SelectionChanged = 2, // the selection or the current card moved
    };

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
                      int recentLastIndex = UserValues::DefaultMaxOfRecentFile - 1, QObject *parent = nullptr);

    const Services &services() const { return m_services; }
    Dialogs &dialogs() const { return *m_services.dialogs; }

    // The window, for what only it can answer; null: none (no state to store).
    void setWindow(DocumentWindow *window) { m_window = window; }
    DocumentWindow *window() const { return m_window; }
    // The open card editors; null: none.
    void setEditors(OpenEditors *editors) { m_editors = editors; }
    OpenEditors *editors() const { return m_editors; }

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
    // Extraction switches the mode on (and the handler below off again);
    // extractionChanged tells when it changed.
    void setExtractionActive(bool on);
    // What leaving extraction mode does (write the extraction list back to
    // the main card list, show it again); run by LeaveExtractionMode.
    void setLeaveExtractionHandler(std::function<void()> handler) { m_leaveExtraction = std::move(handler); }
    // Ends extraction mode when it is on: the handler runs, then the main
    // card list is the active one.
    void LeaveExtractionMode();

    // --- Requests to whoever shows the card lists
    // Scrolls the card at row of lvData(list) into view (cardShown).
    void ShowCard(int list, qsizetype row);
    // Opens the current card of lvData(list) in an editor (editRequested).
    void RequestEdit(int list);
    // The changes to both card lists since the last call, announced now by
    // listChanged (they are announced on their own once control returns to
    // the event loop).
    void flushListChanges();

    // --- Path, flag, title
    QString DocumentPath() const { return m_path; }
    // Stores the path; pathChanged and titleChanged tell when they changed
    // (reload is enabled unless untitled; the HTML wizard forgets its output
    // folder).
    void SetDocumentPath(const QString &path);
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified);
    bool IsUntitled() const { return IsUntitledPath(m_path); }
    QString title() const { return DocumentTitle(m_path, m_modified); }
    bool reloadEnabled() const { return !m_path.isEmpty() && !IsUntitled(); }
    // Icon 1 for every card of the main card list (after a save).
    void ResetCardIcons();
    // The process ends: both card lists are emptied without freeing their
    // cards (CardStore::releaseForExit). Call once the window has closed.
    void releaseCardsForExit();

    // --- Settings
    SettingsModel &settings() { return m_settings; }
    iniMente &iniData() { return m_settings.iniData(); }
    // ApplySettings: the values of iniData announced to the window (settingsApplied).
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
    // recentFilesChanged with the menu captions, when they changed.
    void BuildRecentMenu();
    // How many recent-file menu items have been made visible so far.
    int recentMenuVisibleCount() const { return m_recentVisible; }

    // --- File-in-use guard
    OpenGuard &guard() { return m_guard; }

    // A card file was opened into the window (read, or new under its path):
    // called by the file commands once the document is in place.
    void announceOpened(const QString &path) { emit opened(path); }
    // The main card list is about to be emptied for another card file.
    void announceCardsReplacing() { emit cardsAboutToBeReplaced(); }

signals:
    void pathChanged(const QString &path);
    void modifiedChanged(bool modified);
    // The window title: the file name, "(変更)" while modified, the product.
    void titleChanged(const QString &title);
    // Extraction mode began (lvData(1) is the active list) or ended.
    void extractionChanged(bool active);
    // ApplySettings: the window takes the values property by property.
    void settingsApplied(const AppliedSettings &values);
    // The recent-file entries: menu item n shows captions[n]. Items past the
    // end keep whatever they showed (once shown, an item stays visible).
    void recentFilesChanged(const QStringList &captions);
    void opened(const QString &path);
    void cardsAboutToBeReplaced();
    // The cards or the selection of lvData(list) changed (changes: ListChange
    // flags). Announced once per turn of the event loop, however many rows
    // a command touched.
    void listChanged(int list, int changes);
    void cardShown(int list, qsizetype row);
    void editRequested(int list);

private:
    void followList(int list);
    void noteListChange(int list, int change);
    void setTitleFrom(const QString &oldTitle);

    Services m_services;
    DocumentWindow *m_window = nullptr;
    OpenEditors *m_editors = nullptr;
    std::array<std::unique_ptr<CardList>, 2> m_lists;
    std::array<int, 2> m_pendingChanges{};
    bool m_flushPosted = false;
    bool m_extractionActive = false;
    std::function<void()> m_leaveExtraction;
    QString m_path;
    bool m_modified = false;
    SettingsModel m_settings;
    QString m_recentFile;
    RecentFileList m_recent;
    int m_recentVisible = 0;
    QStringList m_recentCaptions;
    bool m_recentShown = false;
    OpenGuard m_guard;
};
