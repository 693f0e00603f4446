#include "core/common/inimente.h"

#include "core/common/atomicfile.h"
#include "core/common/win31j.h"

#include <QFile>
#include <QFileInfo>
#include <QIODevice>

#include <charconv>
#include <cmath>

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString KeySeparator = QStringLiteral(" = ");

bool isSpace(QChar c)
{
    return c == u' ';
}

// Only the space character is trimmed; tabs belong to the name or value.
QString withoutLeadingSpaces(const QString &text)
{
    qsizetype start = 0;
    while (start < text.size() && isSpace(text.at(start)))
        ++start;
    return text.mid(start);
}

QString withoutSurroundingSpaces(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && isSpace(text.at(end - 1)))
        --end;
    return withoutLeadingSpaces(text.left(end));
}

bool isVerbatimLine(const QString &line)
{
    if (!line.contains(u'='))
        return true;
    const QChar first = line.at(0); // not empty: it holds "="
    return first == u';' || first == u'#' || first == u'/' || first == u'[';
}

// Plain decimals in the usual range (6999.875, 0.5, 1440), the exponent form
// only for values no settings file holds; the shortest text that reads back
// as the same number, in the value's own precision.
template<typename Real>
QString realText(Real value)
{
    if (value == 0)
        return QStringLiteral("0"); // also for -0
    if (!std::isfinite(value))
        return QString::number(double(value));
    const Real magnitude = std::fabs(value);
    const auto format =
        (magnitude >= Real(1e-4) && magnitude < Real(1e15)) ? std::chars_format::fixed : std::chars_format::general;
    char buffer[400];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// A CR inside a name or value would end the line early when the file is read
// again, and could make a value (a path, say) forge further keys. A lone LF
// stays inside a line on reading, so line breaks are written as LF.
QString withoutCarriageReturns(QString line)
{
    if (line.contains(u'\r')) {
        line.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        line.replace(u'\r', u'\n');
    }
    return line;
}

// The whole content of the device; false when it failed before its end.
bool readAll(QIODevice &device, QByteArray &bytes)
{
    constexpr qsizetype Chunk = 64 * 1024;
    if (!device.isSequential()) {
        const qint64 remaining = device.size() - device.pos();
        if (remaining > 0)
            bytes.reserve(qsizetype(remaining) + 1);
    }
    for (;;) {
        const qsizetype before = bytes.size();
        bytes.resize(before + Chunk);
        const qint64 n = device.read(bytes.data() + before, Chunk);
        if (n < 0) {
            bytes.resize(before);
            return false;
        }
        bytes.resize(before + qsizetype(n));
        if (n == 0)
            return true;
    }
}

} // namespace

iniMente::iniMente(Build build) : m_build(build) {}

bool iniMente::iniLoader(const QString &Filename)
{
    m_fileName = Filename;
    // A folder at the name counts as no file: there is nothing to read.
    if (!QFileInfo(Filename).isFile())
        return false;
    return iniParser(Filename);
}

bool iniMente::iniParser(const QString &Filename)
{
    reset();
    QFile file(Filename);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    return iniLoaderFromDevice(file);
}

bool iniMente::iniLoaderFromDevice(QIODevice &Source)
{
    reset();
    QByteArray bytes;
    const bool complete = readAll(Source, bytes);

    Win31J::DecodeStats stats;
    qsizetype start = 0;
    while (start < bytes.size()) {
        const qsizetype cr = bytes.indexOf('\r', start);
        if (cr < 0) {
            // A last line without line end is a line, unless the read broke
            // off inside it.
            if (complete)
                parseLine(Win31J::decode(QByteArrayView(bytes).sliced(start), &stats, start));
            break;
        }
        parseLine(Win31J::decode(QByteArrayView(bytes).sliced(start, cr - start), &stats, start));
        start = cr + 1;
        if (start < bytes.size() && bytes.at(start) == '\n')
            ++start;
    }
    m_lastLoadInvalid = stats.invalidCount;
    return complete;
}

void iniMente::reset()
{
    m_names.clear();
    m_values.clear();
    m_lastLoadInvalid = 0;
}

void iniMente::parseLine(const QString &line)
{
    if (isVerbatimLine(line)) {
        m_names.append(RemMarker);
        m_values.append(line);
        return;
    }
    const qsizetype equals = line.indexOf(u'=');
    m_names.append(withoutSurroundingSpaces(line.left(equals)));
    m_values.append(withoutLeadingSpaces(line.mid(equals + 1)));
}

void iniMente::SetiniFilename(const QString &FilenameofINI)
{
    m_fileName = FilenameofINI;
}

QString iniMente::GetiniFilename() const
{
    return m_fileName;
}

bool iniMente::iniSaver(const QString &Filename)
{
    m_fileName = Filename;
    m_lastSaveUnmappable = 0;
    if (m_names.isEmpty())
        return true; // nothing to write, and an existing file is kept as it is

    const bool qltWin = m_build == Build::QltWin;
    const QString text = render(qltWin, qltWin);
    QByteArray bytes;
    bytes.reserve(text.size() + text.size() / 2);
    Win31J::EncodeStats stats;
    Win31J::encodeAppend(text, bytes, &stats);
    m_lastSaveUnmappable = stats.unmappableCount;
    return AtomicFile::write(Filename, bytes);
}

bool iniMente::iniSaverSameFilename()
{
    return iniSaver(m_fileName);
}

QString iniMente::render(bool withHeader, bool dropHeaderLines) const
{
    QString out;
    if (withHeader)
        out += GeneralHeader + CrLf;
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        const QString value = textOf(m_values.at(i));
        if (value == DelMarker)
            continue;
        const bool verbatim = m_names.at(i) == RemMarker;
        // The header read back from the file is dropped so that it is not
        // doubled; a key that merely holds the text "[General]" is kept.
        if (dropHeaderLines && verbatim && value == GeneralHeader)
            continue;
        out += withoutCarriageReturns(verbatim ? value : m_names.at(i) + KeySeparator + value);
        out += CrLf;
    }
    return out;
}

QString iniMente::iniSavertoVariable() const
{
    return render(false, false);
}

int iniMente::indexOf(const QString &ItemName) const
{
    const QString wanted = ItemName.toLower();
    for (qsizetype i = 0; i < m_names.size(); ++i) {
        if (m_names.at(i).toLower() == wanted)
            return int(i);
    }
    return -1;
}

QVariant iniMente::GetiniValue(const QString &ItemName, const QVariant &Default)
{
    const int index = indexOf(ItemName);
    if (index >= 0)
        return m_values.at(index); // a deleted key reads as "*DEL*"
    if (m_build == Build::QltWin && Default.isValid())
        SetiniValue(ItemName, Default); // so that the next save writes every default asked for
    return Default;
}

bool iniMente::SetiniValue(const QString &ItemName, const QVariant &ItemValue)
{
    if (ItemName != RemMarker && !m_names.isEmpty()) {
        const int index = indexOf(ItemName);
        if (index >= 0) {
            m_values[index] = ItemValue;
            return true;
        }
    }
    m_names.append(ItemName);
    m_values.append(ItemValue);
    return true;
}

bool iniMente::DeliniValue(const QString &ItemName)
{
    return SetiniValue(ItemName, DelMarker);
}

bool iniMente::DeliniGroup(const QString &GroupName)
{
    for (int n = 0;; ++n) {
        const QString member = GroupName + QString::number(n);
        if (textOf(GetiniValue(member)).isEmpty())
            return true;
        SetiniValue(member, DelMarker);
    }
}

int iniMente::SearchinGroup(const QString &GroupName, const QVariant &SearchItem, bool NoCheckCase)
{
    const QString searched = NoCheckCase ? textOf(SearchItem).toLower() : textOf(SearchItem);
    for (int n = 0;; ++n) {
        const QString value = textOf(GetiniValue(GroupName + QString::number(n)));
        if (value.isEmpty())
            return -1;
        if ((NoCheckCase ? value.toLower() : value) == searched)
            return n;
    }
}

std::pair<QString, QString> iniMente::GetiniGroup2(const QString &GroupName)
{
    if (!GroupName.isEmpty()) {
        m_groupPrefix = GroupName;
        m_groupPosition = 0;
    }
    const int last = lastIndex();
    if (last >= 0 && m_groupPosition <= last) {
        const QString prefix = m_groupPrefix.toLower();
        for (int i = m_groupPosition; i <= last; ++i) {
            if (m_names.at(i).left(m_groupPrefix.size()).toLower() == prefix) {
                m_groupPosition = i + 1;
                return {m_names.at(i), textOf(m_values.at(i))};
            }
        }
    }
    return {QStringLiteral(""), QStringLiteral("")};
}

QVariant iniMente::MakeiniItem(const QString &ItemName, const QVariant &ItemValue)
{
    if (textOf(GetiniValue(ItemName)).isEmpty())
        SetiniValue(ItemName, ItemValue);
    return QVariant();
}

QString iniMente::textOf(const QVariant &value)
{
    switch (value.typeId()) {
    case QMetaType::QString: return value.toString();
    case QMetaType::Bool: return value.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    case QMetaType::Double: return realText(value.toDouble());
    case QMetaType::Float: return realText(value.toFloat());
    case QMetaType::UnknownType: return QStringLiteral("");
    default: return value.toString();
    }
}
