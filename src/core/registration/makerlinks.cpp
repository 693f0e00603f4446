#include "core/registration/makerlinks.h"

namespace MakerLinks {

QString mailto(const QString &address)
{
    return QStringLiteral("mailto:") + address;
}

QString mailtoWithQuery(const QString &address)
{
    return mailto(address) + QStringLiteral("?subject=このまま送信してください&body=このまま送信してください");
}

} // namespace MakerLinks
