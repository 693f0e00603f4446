#include "core/settings/filepaths.h"

namespace FilePaths {

Qt::CaseSensitivity caseSensitivity()
{
#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
    return Qt::CaseInsensitive;
#else
    return Qt::CaseSensitive;
#endif
}

bool same(const QString &a, const QString &b)
{
    return a.compare(b, caseSensitivity()) == 0;
}

} // namespace FilePaths
