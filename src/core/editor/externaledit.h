#pragma once
// The round trip through an external editor: the content goes into a new
// temporary file (Temp<n>.<ExtEditorEXT> in the system's temporary folder,
// Windows-31J, one CR LF added), the program of the ExtEditor setting is
// started on it while every window of the program is hidden and disabled,
// and when it has ended the file is taken back if it changed, then deleted.
//
// A change is noticed by comparing the file's bytes with the bytes written.
// A last-write time of whole seconds would miss an edit saved within the
// second the file was written (a quick editor, a script), and that edit would
// be lost without a word; comparing the bytes notices every change, and a
// file saved unchanged is not taken over.
//
// Content that Windows-31J cannot hold is asked about before the file is
// written (those characters would come back as "?"). The file is read back
// as Windows-31J, or as UTF-8 when it is valid UTF-8 holding more than ASCII
// (what editors here save by default); bytes that are no character in either
// are reported.
//
//     ExternalEdit edit(document.settings(), services, &windows);
//     if (std::optional<QString> edited = edit.run(content))
//         ... the content box takes *edited, ChangeCard becomes true

#include "core/common/services.h"

#include <QString>

#include <optional>

class SettingsModel;

// What the round trip and WaitShell ask of the program's windows.
class ExternalEditWindows
{
public:
    virtual ~ExternalEditWindows() = default;
    // The main window and every open editor (all 101 slots).
    virtual void hideAll() = 0;
    // The same shown again, then the main window brought to the foreground.
    virtual void showAll() = 0;
    // WaitShell: the hourglass; every enabled window of the program disabled.
    virtual void beginWait() = 0;
    // The windows disabled by beginWait enabled again; the pointer restored.
    virtual void endWait() = 0;
};

namespace WaitShell {

// The status of a wait.
enum Status : int {
    Ended = 0,       // the program ended
    Abandoned = 1,   // the wait was given up (a time-out)
    WaitFailed = -2, // waiting failed
    NotStarted = -1, // the program cannot be started
};

// Starts the command line (program and arguments split at spaces, double
// quotes grouping) and waits for the program to end, pumping events. windows
// (may be null) is disabled meanwhile. *reason (optional) says why for a
// negative status.
int run(Processes &processes, const QString &commandLine, ExternalEditWindows *windows, QString *reason = nullptr);

} // namespace WaitShell

class ExternalEdit
{
public:
    // services.processes and services.dialogs are required. windows may be
    // null (nothing is hidden).
    ExternalEdit(SettingsModel &settings, const Services &services, ExternalEditWindows *windows);

    // Runs the round trip for content. The edited text when the file came
    // back changed (line ends included, so the added CR LF comes back unless
    // the program removed it); none when nothing was started or the file is
    // unchanged.
    std::optional<QString> run(const QString &content);

    // What the last run did, for callers and tests.
    struct Report {
        bool started = false; // a program was run
        int status = WaitShell::NotStarted;
        QString tempFile; // the temporary file (deleted again)
        bool changed = false;
    };
    const Report &lastRun() const { return m_report; }

    // The extension of the temporary file: ExtEditorEXT without a leading
    // dot; "txt" when empty or when it would leave the temporary folder.
    static QString extensionFrom(const QString &setting);

private:
    void showError(const QString &reason);

    SettingsModel &m_settings;
    Services m_services;
    ExternalEditWindows *m_windows;
    Report m_report;
};
