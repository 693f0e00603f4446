#include "core/registration/desktopregistration.h"

#include "core/common/atomicfile.h"
#include "core/common/services.h"
#include "core/registration/desktopfiles.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

// A tool that hangs (a stale lock) must not hold the wizard for ever.
constexpr int ToolTimeoutMs = 30000;

QString absoluteEnv(const char *name, const QString &fallback)
{
    const QString value = qEnvironmentVariable(name);
    return QDir::isAbsolutePath(value) ? QDir::cleanPath(value) : fallback;
}

QByteArray iconBytes(const QString &iconName)
{
    QFile f(QStringLiteral(":/registration/icons/") + iconName + QStringLiteral(".svg"));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

} // namespace

XdgFolders XdgFolders::fromEnvironment()
{
    const QString home = QDir::homePath();
    return {absoluteEnv("XDG_DATA_HOME", home + QStringLiteral("/.local/share")),
            absoluteEnv("XDG_CONFIG_HOME", home + QStringLiteral("/.config"))};
}

DesktopRegistration::DesktopRegistration(const XdgFolders &folders, Processes &processes)
    : m_folders(folders), m_processes(processes)
{}

QString DesktopRegistration::mimePackagePath() const
{
    return m_folders.dataHome + QStringLiteral("/mime/packages/") + DesktopFiles::MimePackageFile;
}

QString DesktopRegistration::desktopEntryPath() const
{
    return m_folders.dataHome + QStringLiteral("/applications/") + DesktopFiles::DesktopId;
}

QString DesktopRegistration::mimeappsListPath() const
{
    return m_folders.configHome + QStringLiteral("/mimeapps.list");
}

QString DesktopRegistration::iconPath(const QString &context, const QString &iconName) const
{
    return m_folders.dataHome + QStringLiteral("/icons/hicolor/scalable/") + context + QLatin1Char('/') + iconName
           + QStringLiteral(".svg");
}

bool DesktopRegistration::writeFile(const QString &path, const QByteArray &bytes)
{
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    // Unchanged files keep their time stamps, so running the wizard again
    // makes the desktop rebuild nothing.
    QFile existing(path);
    if (existing.open(QIODevice::ReadOnly) && existing.readAll() == bytes)
        return true;
    return AtomicFile::write(path, bytes);
}

void DesktopRegistration::runTool(const QString &tool, const QStringList &arguments)
{
    if (QStandardPaths::findExecutable(tool).isEmpty())
        return;
    m_processes.startAndWait(tool, arguments, ToolTimeoutMs);
}

QStringList DesktopRegistration::mimeTypesOf(const QStringList &extensions)
{
    QStringList types;
    for (const QString &ext : extensions)
        if (const DesktopFiles::CardType *type = DesktopFiles::typeOfExtension(ext))
            types.append(type->mimeType);
    return types;
}

bool DesktopRegistration::installTypes(const QString &program, const QStringList &extensions)
{
    bool ok = writeFile(mimePackagePath(), DesktopFiles::mimePackageXml());
    ok = writeFile(desktopEntryPath(), DesktopFiles::desktopEntry(program, mimeTypesOf(extensions))) && ok;
    ok = writeFile(iconPath(QStringLiteral("apps"), DesktopFiles::AppIconName), iconBytes(DesktopFiles::AppIconName))
         && ok;
    for (const DesktopFiles::CardType &type : DesktopFiles::cardTypes())
        if (type.ownType)
            ok = writeFile(iconPath(QStringLiteral("mimetypes"), type.iconName()), iconBytes(type.iconName())) && ok;

    runTool(QStringLiteral("update-mime-database"), {m_folders.dataHome + QStringLiteral("/mime")});
    runTool(QStringLiteral("update-desktop-database"), {m_folders.dataHome + QStringLiteral("/applications")});
    return ok;
}

bool DesktopRegistration::makeDefault(const QStringList &extensions)
{
    const QStringList types = mimeTypesOf(extensions);
    if (types.isEmpty())
        return true;
    const QString path = mimeappsListPath();
    QByteArray current;
    QFile file(path);
    if (file.exists()) {
        // An unreadable list is never replaced: the person's other defaults
        // would be lost.
        if (!file.open(QIODevice::ReadOnly))
            return false;
        current = file.readAll();
        file.close();
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return false;
    return AtomicFile::write(path, DesktopFiles::setDefaultApplications(current, types));
}
