#pragma once
// QLTWIN's entry routine: loads the main window hidden, publishes the
// program's place and version in the per-user values, hands over to the
// information wizard once per new version, clears the stale file-in-use
// list, opens the card file of the command line, loads the settings and the
// recent-file list, and shows the window.
//
// The first start of a new version ends after starting the wizard (which
// starts QLTWIN again with the same command line). When the wizard cannot be
// started, an error message names it and the process still ends without a
// window; the version is recorded already, so the next start goes on.
//
//     Startup startup(files, window);
//     if (startup.run(app.arguments().mid(1)) == Startup::Result::Exit)
//         return 0;
//     return app.exec();

#include <QString>
#include <QStringList>

class FileCommands;

// The main window as the start-up sees it.
class StartupWindow
{
public:
    virtual ~StartupWindow() = default;
    // Builds the window without showing it.
    virtual void loadHidden() {}
    // Shows it (modeless); the process then lives as long as the window.
    virtual void show() {}
};

class Startup
{
public:
    enum class Result {
        Run,  // the window is shown: run the event loop
        Exit, // end the process now; no window was shown
    };

    // The document's services need dialogs, processes and userStore.
    Startup(FileCommands &files, StartupWindow &window);

    // arguments: the program's arguments without the program name.
    // currentFolder: where a relative path and the untitled document lie;
    // empty means the current folder.
    Result run(const QStringList &arguments, const QString &currentFolder = QString());

    // The information wizard: "QLTReg" in the program folder, or beside the
    // executable when the program folder holds none.
    static QString wizardPath();

private:
    bool handOverToWizard(const QStringList &arguments);
    void clearStaleOpenList();
    void showFirstRunNotice();
    void loadGeneralSettings();

    FileCommands &m_files;
    StartupWindow &m_window;
};
