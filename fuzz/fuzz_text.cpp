// The text reader (qlt, txt, stk): stat counts what the full reader reads;
// once saved (which gives every title a date prefix), the cards survive a
// save and a read unchanged.
#include "fuzzsupport.h"

#include "core/cards/cardfilestats.h"
#include "core/cards/textformat.h"
#include "core/common/services.h"

namespace {

class FixedClock : public Clock
{
public:
    QDate today() override { return QDate(2001, 5, 3); }
    QDateTime now() override { return QDateTime(today(), QTime(14, 5, 9)); }
};

QList<Fuzz::Texts> saveAndRead(const CardStore &store, CardStore &into)
{
    FixedClock clock;
    const QString out = Fuzz::scratchPath("out", "qlt");
    FUZZ_CHECK(WriteTextFile(out, store, true, WriteOptions{false, &clock, true}).ok());
    FUZZ_CHECK(ReadTextFile(out, into).ok);
    return Fuzz::textsOf(into);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = Fuzz::writeInput(data, size, "qlt");
    CardStore store;
    const ReadResult read = ReadTextFile(path, store);
    FUZZ_CHECK(read.ok);

    const CardFileStats stats = StatCardFile(path, CardFormat::Text);
    FUZZ_CHECK(stats.ok);
    FUZZ_CHECK(stats.cardCount == store.count());
    FUZZ_CHECK(stats.groupCount == GroupsOf(store).size());

    if (read.decode.invalidCount == 0) {
        CardStore once;
        CardStore twice;
        const QList<Fuzz::Texts> first = saveAndRead(store, once);
        FUZZ_CHECK(first.size() == store.count());
        FUZZ_CHECK(saveAndRead(once, twice) == first);
    }
    return 0;
}
