#include "core/cards/cardformats.h"

#include "core/cards/csvformat.h"
#include "core/cards/nativeformat.h"
#include "core/cards/textformat.h"
#include "core/common/tool.h"

#include <cerrno>
#include <new>

CardFormat CardFormatOfExtension(const QString &extension)
{
    const QString ext = extension.toLower();
    if (ext == QLatin1String("qlw"))
        return CardFormat::Native;
    if (ext == QLatin1String("csv"))
        return CardFormat::Csv;
    if (ext == QLatin1String("qlt") || ext == QLatin1String("txt"))
        return CardFormat::Text;
    if (ext == QLatin1String("stk"))
        return CardFormat::MyNote;
    if (ext == QLatin1String("html") || ext == QLatin1String("htm"))
        return CardFormat::Html;
    return CardFormat::Unknown;
}

CardFormat CardFormatOfPath(const QString &path)
{
    return CardFormatOfExtension(Tool::ExtensionOf(path));
}

bool CanReadFormat(CardFormat format)
{
    return format == CardFormat::Native || format == CardFormat::Csv || format == CardFormat::Text
           || format == CardFormat::MyNote;
}

bool CanWriteFormat(CardFormat format)
{
    return CanReadFormat(format);
}

namespace {

ReadResult ReadWithReader(const QString &path, CardFormat format, CardStore &store)
{
    switch (format) {
    case CardFormat::Native: return ReadNativeFile(path, store);
    case CardFormat::Csv: return ReadCsvFile(path, store);
    case CardFormat::Text:
    case CardFormat::MyNote: return ReadTextFile(path, store);
    default: {
        ReadResult refused;
        refused.error = QStringLiteral("no reader for this extension");
        return refused;
    }
    }
}

} // namespace

ReadResult ReadCardFile(const QString &path, CardFormat format, CardStore &store)
{
    try {
        return ReadWithReader(path, format, store);
    } catch (const std::bad_alloc &) {
        // The cards read so far are freed on the way here; the store was
        // not touched (readers hand over their cards only at the end).
        ReadResult refused;
        refused.tooLarge = true;
        refused.code = ENOMEM;
        refused.error = QStringLiteral("the file is too large for the memory available");
        return refused;
    }
}

WriteResult WriteCardFile(const QString &path, CardFormat format, const CardStore &store, const WriteOptions &options)
{
    switch (format) {
    case CardFormat::Native: return WriteNativeFile(path, store, options);
    case CardFormat::Csv: return WriteCsvFile(path, store, options);
    case CardFormat::Text: return WriteTextFile(path, store, true, options);
    case CardFormat::MyNote: return WriteTextFile(path, store, false, options);
    default: {
        WriteResult refused;
        refused.status = WriteStatus::Unsupported;
        return refused;
    }
    }
}

SaveCheck CheckCardsForSave(const CardStore &store, CardFormat format)
{
    return CardFile::Check(store, format == CardFormat::Native);
}
