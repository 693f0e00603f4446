// The native reader: stat counts what the full reader reads, and cards
// written and read again are the cards read.
#include "fuzzsupport.h"

#include "core/cards/cardfilestats.h"
#include "core/cards/nativeformat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeInput(data, size, "qlw");
    CardStore store;
    const ReadResult read = ReadNativeFile(path, store);
    FUZZ_CHECK(read.ok);
    FUZZ_CHECK(read.cardCount == store.count());

    const CardFileStats stats = StatCardFile(path, CardFormat::Native);
    FUZZ_CHECK(stats.ok);
    FUZZ_CHECK(stats.cardCount == store.count());
    FUZZ_CHECK(stats.groupCount == GroupsOf(store).size());
    FUZZ_CHECK(stats.decode.invalidCount == read.decode.invalidCount);
    FUZZ_CHECK(stats.decode.firstInvalidOffset == read.decode.firstInvalidOffset);

    // Bytes that were no character come back as another one; everything
    // else survives a save.
    if (read.decode.invalidCount == 0) {
        const QString out = Fuzz::scratchPath("out", "qlw");
        const WriteResult written = WriteNativeFile(out, store, WriteOptions{false, nullptr, true});
        FUZZ_CHECK(written.ok());
        CardStore again;
        FUZZ_CHECK(ReadNativeFile(out, again).ok);
        FUZZ_CHECK(Fuzz::textsOf(again) == Fuzz::textsOf(store));
    }
    return 0;
}
