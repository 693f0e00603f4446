#pragma once
// The four values QLTWIN keeps in the per-user application settings
// (application "Orvale SoftWares", section "QLT@WIN"), shared with QLTLaunch
// and QLTReg.

#include <QString>

#include <optional>

class UserStore;

namespace UserValues {

inline const QString MaxOfRecentFileKey = QStringLiteral("MAXOFRECENTFILE");
inline const QString PathKey = QStringLiteral("Path");
inline const QString ExeVerKey = QStringLiteral("EXEVer");
inline const QString MostFrontKey = QStringLiteral("MostFront");

inline constexpr int DefaultMaxOfRecentFile = 26;
// Both programs show the list in a fixed array of 51 menu items, so more
// entries could never be shown, and a list needs at least one entry.
inline constexpr int MinMaxOfRecentFile = 1;
inline constexpr int MaxMaxOfRecentFile = 51;

// The number of recent-file entries a stored text gives: a number (rounded)
// kept within 1 to 51; a missing text or one that is no number gives 26.
int parseMaxOfRecentFile(const std::optional<QString> &stored);

// Reads "MAXOFRECENTFILE", writes the number in use back at once (so the
// value always exists and is sane for the other program too) and returns it.
// The last recent-file index is this number minus 1.
int ReadMaxOfRecentFile(UserStore &store);

// "Path": the running executable, which QLTLaunch and QLTReg start.
void PublishPath(UserStore &store, const QString &executablePath);
// The same with ProgramFolder::executablePath().
void PublishPath(UserStore &store);

// The running version as one decimal number, "10801" for 1.8.1.
QString exeVerText();
// Writes "EXEVer" when it differs from the running version (or is missing)
// and returns true then: the first start of a new version.
[[nodiscard]] bool UpdateExeVer(UserStore &store);

// "MostFront": whether the notice on the most-front setting was shown (the
// value is a non-zero number); set once it has been.
bool MostFrontNoticeShown(UserStore &store);
void SetMostFrontNoticeShown(UserStore &store);

} // namespace UserValues
