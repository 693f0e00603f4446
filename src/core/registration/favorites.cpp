#include "core/registration/favorites.h"

#include "core/common/atomicfile.h"
#include "core/common/tool.h"
#include "core/registration/desktopfiles.h"
#include "core/registration/makerlinks.h"

#include <QDir>

namespace Favorites {

QString folder(const QString &dataHome)
{
    return Tool::JoinPath(Tool::JoinPath(dataHome, QStringLiteral("QLTWIN")), QStringLiteral("Favorites"));
}

QList<Shortcut> shortcuts()
{
    using namespace MakerLinks;
    return {
        {SubFolder, QStringLiteral("作者のページ・最新版配布元"), HomePage},
        {SubFolder, QStringLiteral("掲示板を読む(e-groups)"), BoardRead},
        {SubFolder, QStringLiteral("掲示板に投稿(e-groups)"), BoardPost},
        {SubFolder, QStringLiteral("スポンサーを訪れたい"), PersonalPage},
        {QString(), QStringLiteral("QLT@WINのページ"), HomePage},
        {SubFolder, QStringLiteral("メーリングリストに参加する"), mailtoWithQuery(ListSubscribe)},
        {SubFolder, QStringLiteral("メーリングリストから退会する"), mailtoWithQuery(ListUnsubscribe)},
        {SubFolder, QStringLiteral("メーリングリストの配信方法を変更"), ListSettingsPage},
    };
}

bool AddFavorite(const QString &favoritesFolder, const QString &subFolder, const QString &title, const QString &address)
{
    const QString target =
        subFolder.isEmpty() ? favoritesFolder : Tool::JoinPath(favoritesFolder, Tool::CleanFileName(subFolder, true));
    if (!Tool::EnsureFolder(target, false))
        return false;
    return WriteUrlShortcut(Tool::JoinPath(target, Tool::CleanFileName(title, true) + QStringLiteral(".url")), address);
}

bool WriteUrlShortcut(const QString &path, const QString &address)
{
    return AtomicFile::write(path, DesktopFiles::urlShortcut(address));
}

} // namespace Favorites
