#pragma once
// The maker's pages as Internet-shortcut files in the person's Favorites
// folder: $XDG_DATA_HOME/QLTWIN/Favorites (~/.local/share/QLTWIN/Favorites),
// most of them in its subfolder "QLT@WIN".

#include <QList>
#include <QString>

namespace Favorites {

inline const QString SubFolder = QStringLiteral("QLT@WIN");

struct Shortcut {
    QString subFolder; // "" for the Favorites folder itself
    QString title;     // the file is title + ".url"
    QString address;
};

// The Favorites folder below a data home.
QString folder(const QString &dataHome);

// The shortcuts the wizard adds, in the order they are written.
QList<Shortcut> shortcuts();

// Writes title + ".url" into folder/subFolder, making the folders as needed.
// The title is made a safe file name first (no "/" can lead elsewhere).
[[nodiscard]] bool AddFavorite(const QString &favoritesFolder, const QString &subFolder, const QString &title,
                               const QString &address);
// Replaces path with the two lines of an Internet shortcut to address.
[[nodiscard]] bool WriteUrlShortcut(const QString &path, const QString &address);

} // namespace Favorites
