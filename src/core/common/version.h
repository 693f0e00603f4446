#pragma once
// The program's version, set once in the top CMakeLists.txt. EXEVer, VerNo and
// every window title derive from it.

#include <QString>

namespace Version {

inline constexpr int Major = QLT_VERSION_MAJOR;
inline constexpr int Minor = QLT_VERSION_MINOR;
inline constexpr int Revision = QLT_VERSION_REVISION;

inline const QString ProductName = QStringLiteral("QLT@WIN");

// "1.8.1"
inline QString dotted()
{
    return QStringLiteral("%1.%2.%3").arg(Major).arg(Minor).arg(Revision);
}
// major * 10000 + minor * 100 + revision: 1.8.1 gives 10801
inline constexpr int number()
{
    return Major * 10000 + Minor * 100 + Revision;
}

} // namespace Version
