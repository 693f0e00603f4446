// Placeholder; the services are being written.
#include "qtservices.h"
bool QtProcesses::startDetached(const QString &, const QStringList &, const QString &) { return false; }
Processes::Outcome QtProcesses::startAndWait(const QString &, const QStringList &, int) { return {}; }
bool QtProcesses::anotherInstanceRunning() { return false; }
std::optional<QString> QSettingsUserStore::value(const QString &) { return std::nullopt; }
void QSettingsUserStore::setValue(const QString &, const QString &) {}
