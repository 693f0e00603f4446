// The INI store: after one save, a load and a save give the same text.
#include "fuzzsupport.h"

#include "core/common/inimente.h"
#include "core/common/win31j.h"

#include <QBuffer>

namespace {

QString loadAndSave(const QByteArray &bytes, iniMente::Build build, qsizetype *invalid)
{
    QByteArray copy = bytes;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    iniMente store(build);
    FUZZ_CHECK(store.iniLoaderFromDevice(buffer));
    if (invalid)
        *invalid = store.lastLoadInvalid();
    return store.iniSavertoVariable();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    for (const iniMente::Build build : {iniMente::Build::QltWin, iniMente::Build::QltLaunch}) {
        qsizetype invalid = 0;
        const QString once = loadAndSave(bytes, build, &invalid);
        if (invalid > 0 || Win31J::countUnmappable(once) > 0)
            continue;
        const QString twice = loadAndSave(Win31J::encode(once), build, nullptr);
        FUZZ_CHECK(loadAndSave(Win31J::encode(twice), build, nullptr) == twice);
    }
    return 0;
}
