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

ReadResult StreamWithReader(const QString &path, CardFormat format, const CardSink &sink)
{
    switch (format) {
    case CardFormat::Native: return StreamNativeFile(path, sink);
    case CardFormat::Csv: return StreamCsvFile(path, sink);
    case CardFormat::Text:
    case CardFormat::MyNote: return StreamTextFile(path, sink);
    default: {
        ReadResult refused;
        refused.error = QStringLiteral("no reader for this extension");
        return refused;
    }
    }
}

// A file too large for the memory gives a result that says so instead of an
// abort. The cards built so far are freed on the way out.
ReadResult Guarded(const std::function<ReadResult()> &read)
{
    try {
        return read();
    } catch (const std::bad_alloc &) {
        ReadResult refused;
        refused.tooLarge = true;
        refused.code = ENOMEM;
        refused.error = QStringLiteral("the file is too large for the memory available");
        return refused;
    }
}

} // namespace

ReadResult ReadCardFile(const QString &path, CardFormat format, CardStore &store)
{
    // The store is touched only once every card was read.
    return Guarded([&] {
        return CardFile::Collect(store, [&](const CardSink &sink) { return StreamWithReader(path, format, sink); });
    });
}

ReadResult StreamCardFile(const QString &path, CardFormat format, const CardSink &sink)
{
    return Guarded([&] { return StreamWithReader(path, format, sink); });
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

CardFile::CardEncoding CardEncodingOf(CardFormat format, const WriteOptions &options)
{
    switch (format) {
    case CardFormat::Native: return NativeCardEncoding(options);
    case CardFormat::Csv: return CsvCardEncoding(options);
    case CardFormat::Text: return TextCardEncoding(true, options);
    case CardFormat::MyNote: return TextCardEncoding(false, options);
    default: return {};
    }
}

SaveCheck CheckCardsForSave(const CardStore &store, CardFormat format)
{
    return CardFile::Check(store, format == CardFormat::Native);
}
