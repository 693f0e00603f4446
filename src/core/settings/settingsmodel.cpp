#include "core/settings/settingsmodel.h"

#include "core/common/colours.h"
#include "core/common/programfolder.h"
#include "core/common/tool.h"
#include "core/common/version.h"
#include "core/settings/externaleditor.h"
#include "core/settings/filepaths.h"

#include <QDebug>
#include <QFileInfo>

#include <cmath>
#include <limits>

namespace {

using SettingKeys::Arrival;
using SettingKeys::Computed;
using SettingKeys::Kind;

// Missing, empty or deleted: nothing to convert.
bool isAbsent(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return true;
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString();
        return text.trimmed().isEmpty() || text == iniMente::DelMarker;
    }
    return false;
}

bool isNumericType(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort: return true;
    default: return false;
    }
}

// Names the settings files must never be taken for: the shared lists beside
// the program. A card file "Recent.qlw" in the program folder would otherwise
// make "Recent.ini" its per-file settings and fill the recent list with
// settings keys (and write closed files back into "OpenCheck.ini").
bool isSharedListFile(const QString &path)
{
    for (const char *name : {"Recent.ini", "OpenCheck.ini"})
        if (FilePaths::same(path, ProgramFolder::file(QString::fromLatin1(name))))
            return true;
    return false;
}

} // namespace

SettingsModel::SettingsModel(const QString &generalFile)
    : m_generalFile(generalFile.isEmpty() ? defaultGeneralSettingsFile() : generalFile),
      m_externalEditorDefault(ExternalEditor::defaultCommand()), m_store(iniMente::Build::QltWin)
{}

QString SettingsModel::defaultGeneralSettingsFile()
{
    return ProgramFolder::file(ProgramFolder::executableBaseName() + QStringLiteral(".ini"));
}

QString SettingsModel::perFileSettingsPath(const QString &cardPath)
{
    const QString path = Tool::NormaliseLongPath(cardPath);
    return Tool::JoinPath(Tool::ParentFolderOf(path), Tool::BaseNameOf(path) + QStringLiteral(".ini"));
}

bool SettingsModel::FileSettingsActive() const
{
    return m_store.GetiniFilename() != m_generalFile;
}

QString SettingsModel::defaultText(const QString &key) const
{
    const SettingKeys::Key *k = SettingKeys::find(key);
    if (!k)
        return QString();
    switch (k->computed) {
    case Computed::None: return k->defaultText;
    case Computed::Version: return Version::dotted();
    case Computed::ExternalEditor: return m_externalEditorDefault;
    case Computed::BrowserTemplate: return SettingKeys::browserTemplatePath(ProgramFolder::path());
    }
    return k->defaultText;
}

void SettingsModel::FillDefaultSettings()
{
    m_store.SetiniValue(SettingKey::VerNo, Version::dotted());
    for (const SettingKeys::Key &key : SettingKeys::table())
        if (key.arrival == Arrival::Filled)
            m_store.MakeiniItem(key.name, defaultText(key.name));
}

bool SettingsModel::SelectSettingsFile(const QString &cardPath)
{
    const QString perFile = perFileSettingsPath(cardPath);
    QString chosen;
    if (QFileInfo(perFile).isFile() && !isSharedListFile(perFile))
        chosen = perFile;
    else if (FilePaths::same(m_store.GetiniFilename(), m_generalFile))
        return false; // the general settings are active already
    else
        chosen = m_generalFile;
    loadFile(chosen);
    return true;
}

void SettingsModel::loadFile(const QString &path)
{
    m_store = iniMente(iniMente::Build::QltWin);
    // A missing or unreadable file leaves the store empty, named path: the
    // defaults fill it, as on the very first start.
    (void)m_store.iniLoader(path);
    FillDefaultSettings();
}

void SettingsModel::loadKeepingValues(const QString &path)
{
    (void)m_store.iniLoader(path); // as in loadFile
    FillDefaultSettings();
}

bool SettingsModel::save()
{
    const QString name = m_store.GetiniFilename();
    return !name.isEmpty() && m_store.iniSaver(name);
}

void SettingsModel::saveOrLog()
{
    // Before a settings file is chosen there is nowhere to write, and no
    // failure to report: the first open of a window stores the state of the
    // window that had no file yet.
    if (m_store.GetiniFilename().isEmpty())
        return;
    if (!save())
        qWarning("QLTWIN: the settings could not be written to %s", qUtf8Printable(fileName()));
}

QVariant SettingsModel::read(const QString &key)
{
    const SettingKeys::Key *k = SettingKeys::find(key);
    if (k && k->arrival == Arrival::OnRead)
        return m_store.GetiniValue(key, defaultText(key));
    return m_store.GetiniValue(key);
}

QString SettingsModel::text(const QString &key)
{
    const QVariant value = read(key);
    if (!value.isValid() || value.toString() == iniMente::DelMarker)
        return defaultText(key);
    return value.toString();
}

int SettingsModel::integer(const QString &key)
{
    if (const auto v = toInteger(read(key)))
        return *v;
    return toInteger(defaultText(key)).value_or(0);
}

double SettingsModel::number(const QString &key)
{
    if (const auto v = toNumber(read(key)))
        return *v;
    return toNumber(defaultText(key)).value_or(0.0);
}

bool SettingsModel::isOn(const QString &key)
{
    const QVariant value = read(key);
    if (isAbsent(value))
        return false;
    if (const auto v = toNumber(value))
        return *v == 1.0;
    return toNumber(defaultText(key)).value_or(0.0) == 1.0;
}

bool SettingsModel::boolean(const QString &key)
{
    if (const auto v = toBoolean(read(key)))
        return *v;
    return toBoolean(defaultText(key)).value_or(false);
}

std::uint32_t SettingsModel::colour(const QString &key)
{
    if (const auto v = toColour(read(key)))
        return *v;
    return toColour(defaultText(key)).value_or(0);
}

void SettingsModel::setText(const QString &key, const QString &value)
{
    m_store.SetiniValue(key, value);
}

void SettingsModel::setInteger(const QString &key, int value)
{
    m_store.SetiniValue(key, QString::number(value));
}

void SettingsModel::setNumber(const QString &key, double value)
{
    m_store.SetiniValue(key, QString::number(value, 'g', QLocale::FloatingPointShortest));
}

void SettingsModel::setSwitch(const QString &key, bool on)
{
    m_store.SetiniValue(key, on ? QStringLiteral("1") : QStringLiteral("0"));
}

void SettingsModel::setBoolean(const QString &key, bool value)
{
    m_store.SetiniValue(key, value ? QStringLiteral("True") : QStringLiteral("False"));
}

void SettingsModel::setColour(const QString &key, std::uint32_t number)
{
    m_store.SetiniValue(key, Colours::toSettingText(number));
}

std::optional<double> SettingsModel::toNumber(const QVariant &value)
{
    if (isAbsent(value))
        return std::nullopt;
    double d = 0;
    if (isNumericType(value)) {
        d = value.toDouble();
    } else if (value.typeId() == QMetaType::QString) {
        bool ok = false;
        d = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return std::nullopt;
    } else {
        return std::nullopt;
    }
    if (!std::isfinite(d))
        return std::nullopt;
    return d;
}

std::optional<int> SettingsModel::toInteger(const QVariant &value)
{
    const auto d = toNumber(value);
    if (!d)
        return std::nullopt;
    const double rounded = std::nearbyint(*d); // half to even
    if (rounded < double(std::numeric_limits<int>::min()) || rounded > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return int(rounded);
}

std::optional<bool> SettingsModel::toBoolean(const QVariant &value)
{
    if (isAbsent(value))
        return std::nullopt;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (value.typeId() == QMetaType::QString) {
        const QString text = value.toString().trimmed();
        if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("False"), Qt::CaseInsensitive) == 0)
            return false;
    }
    if (const auto d = toNumber(value))
        return *d != 0.0;
    return std::nullopt;
}

bool SettingsModel::isUsableColour(std::uint32_t number)
{
    if (!Colours::isSystemColour(number))
        return number <= 0xFFFFFFu;
    // A system reference is 0x800000nn with a defined index (25 is unused).
    const int index = Colours::systemIndexOf(number);
    return (number & 0x7FFFFF00u) == 0 && index <= 30 && index != 25;
}

std::optional<std::uint32_t> SettingsModel::toColour(const QVariant &value)
{
    const auto d = toNumber(value);
    if (!d || *d != std::floor(*d) || *d < -2147483648.0 || *d > 4294967295.0)
        return std::nullopt;
    const auto number = std::uint32_t(std::int64_t(*d));
    if (!isUsableColour(number))
        return std::nullopt;
    return number;
}
