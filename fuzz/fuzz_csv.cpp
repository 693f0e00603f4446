// The CSV reader: stat counts what the full reader reads, and after one
// save (which gives every field its quotes) a save and a read change nothing.
#include "fuzzsupport.h"

#include "core/cards/cardfilestats.h"
#include "core/cards/csvformat.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeInput(data, size, "csv");
    CardStore store;
    const ReadResult read = ReadCsvFile(path, store);
    FUZZ_CHECK(read.ok);

    const CardFileStats stats = StatCardFile(path, CardFormat::Csv);
    FUZZ_CHECK(stats.ok);
    FUZZ_CHECK(stats.cardCount == store.count());
    FUZZ_CHECK(stats.groupCount == GroupsOf(store).size());
    FUZZ_CHECK(stats.decode.invalidCount == read.decode.invalidCount);
    return 0;
}
