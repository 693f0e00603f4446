#pragma once
// Registers the card formats with the desktop for one person, the way the
// freedesktop standards have it: the MIME package, QLTWIN's desktop
// entry and the icons under the data home, the MIME and desktop databases
// brought up to date, and QLTWIN made the default application of the
// chosen formats in the config home's mimeapps.list. Nothing outside the
// person's own folders is touched.

#include <QString>
#include <QStringList>

class Processes;

struct XdgFolders {
    QString dataHome;   // $XDG_DATA_HOME, else ~/.local/share
    QString configHome; // $XDG_CONFIG_HOME, else ~/.config
    static XdgFolders fromEnvironment();
};

class DesktopRegistration
{
public:
    DesktopRegistration(const XdgFolders &folders, Processes &processes);

    // The MIME package, the desktop entry starting program on the types of
    // extensions, the application and MIME-type icons; then update-mime-database and
    // update-desktop-database on the folders written (a missing tool is
    // skipped: the desktop then reads the files at its next start). False
    // when a file could not be written.
    [[nodiscard]] bool installTypes(const QString &program, const QStringList &extensions);

    // QLTWIN.desktop as the default application of each extension's type
    // ("qlw", "csv", ...); other types' lines stay as they were.
    [[nodiscard]] bool makeDefault(const QStringList &extensions);

    QString mimePackagePath() const;
    QString desktopEntryPath() const;
    QString mimeappsListPath() const;
    QString iconPath(const QString &context, const QString &iconName) const;

    // The MIME types of extensions, unknown ones left out.
    static QStringList mimeTypesOf(const QStringList &extensions);

private:
    bool writeFile(const QString &path, const QByteArray &bytes);
    void runTool(const QString &tool, const QStringList &arguments);

    XdgFolders m_folders;
    Processes &m_processes;
};
