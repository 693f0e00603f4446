// The Windows-31J codec: bytes cut at CR, LF and 0x01 decode piece by piece
// to the text decoded whole, with the same invalid sequences; the counting
// scan and the decoder into a buffer agree with it; and text that decoded
// without invalid sequences encodes to bytes that decode to it again.
#include "fuzzsupport.h"

#include "core/common/win31j.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char *>(data), qsizetype(size));
    Win31J::DecodeStats whole;
    const QString text = Win31J::decode(bytes, &whole);

    Win31J::DecodeStats pieces;
    QString joined;
    qsizetype start = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i < bytes.size() && bytes[i] != '\r' && bytes[i] != '\n' && bytes[i] != '\x01')
            continue;
        joined += Win31J::decode(bytes.sliced(start, i - start), &pieces, start);
        if (i < bytes.size())
            joined += QChar(uchar(bytes[i]));
        start = i + 1;
    }
    FUZZ_CHECK(joined == text);
    FUZZ_CHECK(pieces.invalidCount == whole.invalidCount);
    FUZZ_CHECK(pieces.firstInvalidOffset == whole.firstInvalidOffset);

    Win31J::DecodeStats scanned;
    FUZZ_CHECK(Win31J::validate(bytes, &scanned) == whole.invalidCount);
    FUZZ_CHECK(scanned.firstInvalidOffset == whole.firstInvalidOffset);

    std::vector<char16_t> into(size_t(bytes.size()) + 1);
    const qsizetype units = Win31J::decodeInto(bytes, into.data());
    FUZZ_CHECK(QStringView(into.data(), units) == text);

    if (whole.invalidCount == 0) {
        Win31J::EncodeStats encoded;
        const QByteArray back = Win31J::encode(text, &encoded);
        FUZZ_CHECK(encoded.unmappableCount == 0);
        FUZZ_CHECK(Win31J::decode(back) == text);
    }
    return 0;
}
