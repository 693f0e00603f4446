#include "core/settings/uservalues.h"

#include "core/common/programfolder.h"
#include "core/common/services.h"
#include "core/common/version.h"

#include <cmath>

namespace UserValues {

int parseMaxOfRecentFile(const std::optional<QString> &stored)
{
    if (!stored)
        return DefaultMaxOfRecentFile;
    bool ok = false;
    const double value = stored->trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return DefaultMaxOfRecentFile;
    const double rounded = std::nearbyint(value);
    if (rounded < MinMaxOfRecentFile)
        return MinMaxOfRecentFile;
    if (rounded > MaxMaxOfRecentFile)
        return MaxMaxOfRecentFile;
    return int(rounded);
}

int ReadMaxOfRecentFile(UserStore &store)
{
    const int count = parseMaxOfRecentFile(store.value(MaxOfRecentFileKey));
    store.setValue(MaxOfRecentFileKey, QString::number(count));
    return count;
}

void PublishPath(UserStore &store, const QString &executablePath)
{
    store.setValue(PathKey, executablePath);
}

void PublishPath(UserStore &store)
{
    PublishPath(store, ProgramFolder::executablePath());
}

QString exeVerText()
{
    return QString::number(Version::number());
}

bool UpdateExeVer(UserStore &store)
{
    const QString current = exeVerText();
    if (store.value(ExeVerKey) == current)
        return false;
    store.setValue(ExeVerKey, current);
    return true;
}

bool MostFrontNoticeShown(UserStore &store)
{
    const std::optional<QString> value = store.value(MostFrontKey);
    if (!value)
        return false;
    bool ok = false;
    const double number = value->trimmed().toDouble(&ok);
    return ok && number != 0.0;
}

void SetMostFrontNoticeShown(UserStore &store)
{
    store.setValue(MostFrontKey, QStringLiteral("1"));
}

} // namespace UserValues
