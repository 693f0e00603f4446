#pragma once
// The once-only notice shown the first time the most-front toolbar button is
// used. Whether it was shown is the per-user value "MostFront" (0 or missing:
// never shown), so it is shown once per user, not once per card file.

#include <QString>

class Dialogs;
class UserStore;

namespace MostFrontNotice {

inline const QString UserKey = QStringLiteral("MostFront");

// The three lines of the notice, joined by CR LF.
QString text();

// Shows the notice (information icon, OK) when the user has not seen it yet
// and records that it was shown. True when it was shown now.
bool showOnce(UserStore &store, Dialogs &dialogs);

} // namespace MostFrontNotice
