// Placeholder; the store is being written.
#include "inimente.h"
iniMente::iniMente(Build build) : m_build(build) {}
bool iniMente::iniLoader(const QString &) { return false; }
void iniMente::SetiniFilename(const QString &f) { m_fileName = f; }
QString iniMente::GetiniFilename() const { return m_fileName; }
bool iniMente::iniSaver(const QString &) { return false; }
void iniMente::iniSaverSameFilename() {}
QVariant iniMente::GetiniValue(const QString &, const QVariant &d) { return d; }
bool iniMente::SetiniValue(const QString &, const QVariant &) { return true; }
bool iniMente::DeliniValue(const QString &) { return true; }
bool iniMente::DeliniGroup(const QString &) { return true; }
int iniMente::SearchinGroup(const QString &, const QVariant &, bool) { return -1; }
std::pair<QString, QString> iniMente::GetiniGroup2(const QString &) { return {}; }
QVariant iniMente::MakeiniItem(const QString &, const QVariant &) { return {}; }
QString iniMente::iniSavertoVariable() const { return {}; }
