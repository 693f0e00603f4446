#include "core/common/win31j.h"

#include "support/sandbox.h"

#include <QHash>
#include <QList>
#include <QRandomGenerator>
#include <QSet>

#include <gtest/gtest.h>

#include <cstdio>

// The reference is tests/data/win31j/cp932.txt, derived from Python's cp932
// (characters) and glibc's CP932 (forms written back) independently of the
// codec's own table generator.

namespace {

struct Entry {
    QByteArray bytes; // a byte sequence Windows-31J reads as a character
    char16_t ch = 0;
    QByteArray written; // the form written back for ch when it is not bytes
};

struct Reference {
    QList<Entry> entries;
    QHash<char16_t, QByteArray> formOf;   // every character the code page holds
    QHash<char16_t, QByteArray> variants; // characters written one way
};

QByteArray hexBytes(const QByteArray &hex)
{
    return QByteArray::fromHex(hex);
}

const Reference &reference()
{
    static const Reference ref = [] {
        Reference r;
        const QByteArray text = Sandbox::readBytes(QStringLiteral(QLT_TEST_DATA "/win31j/cp932.txt"));
        for (const QByteArray &line : text.split('\n')) {
            if (line.isEmpty() || line.startsWith('#'))
                continue;
            const QList<QByteArray> f = line.split(' ');
            if (f[0] == ">") {
                r.variants.insert(char16_t(f[1].toUInt(nullptr, 16)), hexBytes(f[2]));
                continue;
            }
            Entry e{hexBytes(f[0]), char16_t(f[1].toUInt(nullptr, 16)), f.size() > 2 ? hexBytes(f[2]) : QByteArray()};
            if (e.written.isEmpty())
                r.formOf.insert(e.ch, e.bytes);
            r.entries.append(e);
        }
        return r;
    }();
    return ref;
}

QString str(char16_t c)
{
    return QString(QChar(c));
}

} // namespace

// Readable failure messages: the text with every non-ASCII unit as \uXXXX.
static void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"';
    for (const QChar c : s) {
        if (c.unicode() >= 0x20 && c.unicode() < 0x7F) {
            *os << char(c.unicode());
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\u%04X", unsigned(c.unicode()));
            *os << buf;
        }
    }
    *os << '"';
}

namespace {

bool isLead(unsigned b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
bool isTrail(unsigned b)
{
    return (b >= 0x40 && b <= 0x7E) || (b >= 0x80 && b <= 0xFC);
}

} // namespace

// ---- The whole code page ---------------------------------------------------

TEST(Win31JCodePage, ReferenceIsComplete)
{
    const Reference &ref = reference();
    qsizetype singles = 0, pairs = 0, userDefined = 0, duplicates = 0;
    for (const Entry &e : ref.entries) {
        (e.bytes.size() == 1 ? singles : pairs)++;
        if (e.ch >= 0xE000 && e.ch <= 0xE757)
            ++userDefined;
        if (!e.written.isEmpty())
            ++duplicates;
    }
    EXPECT_EQ(singles, 196); // 00-7F, 80, A0-DF, FD-FF
    EXPECT_EQ(pairs, 9604);
    EXPECT_EQ(userDefined, 1880);
    EXPECT_EQ(duplicates, 398);
    EXPECT_EQ(ref.variants.size(), 7);
}

TEST(Win31JCodePage, EverySequenceDecodesToItsCharacter)
{
    for (const Entry &e : reference().entries) {
        Win31J::DecodeStats stats;
        EXPECT_EQ(Win31J::decode(e.bytes, &stats), str(e.ch)) << e.bytes.toHex().constData();
        EXPECT_EQ(stats.invalidCount, 0) << e.bytes.toHex().constData();
    }
}

TEST(Win31JCodePage, EveryOtherPairIsInvalid)
{
    QSet<QByteArray> valid;
    for (const Entry &e : reference().entries)
        valid.insert(e.bytes);
    for (unsigned lead = 0x80; lead <= 0xFF; ++lead) {
        if (!isLead(lead))
            continue;
        for (unsigned trail = 0; trail <= 0xFF; ++trail) {
            QByteArray pair;
            pair.append(char(lead)).append(char(trail));
            if (valid.contains(pair))
                continue;
            Win31J::DecodeStats stats;
            const QString got = Win31J::decode(pair, &stats);
            EXPECT_EQ(stats.invalidCount, 1) << pair.toHex().constData();
            EXPECT_EQ(stats.firstInvalidOffset, 0);
            // A trail byte is taken with its lead; any other byte stays itself.
            const QString want = isTrail(trail) ? QStringLiteral(u"\uFFFD") : u'\uFFFD' + Win31J::decode(pair.mid(1));
            EXPECT_EQ(got, want) << pair.toHex().constData();
        }
    }
}

TEST(Win31JCodePage, WrittenFormsReadBackAndWriteOutByteForByte)
{
    for (const Entry &e : reference().entries) {
        const QByteArray want = e.written.isEmpty() ? e.bytes : e.written;
        Win31J::EncodeStats stats;
        EXPECT_EQ(Win31J::encode(str(e.ch), &stats), want) << e.bytes.toHex().constData();
        EXPECT_EQ(stats.unmappableCount, 0);
        EXPECT_EQ(stats.substitutedCount, 0);
        EXPECT_EQ(Win31J::encode(Win31J::decode(want)), want);
    }
}

TEST(Win31JCodePage, WholeCodePageInOneBuffer)
{
    // The bulk paths (ASCII runs, back-to-back pairs, resizing) on the whole
    // code page at once, with and without ASCII between the characters.
    QByteArray bytes, mixed;
    QString text, mixedText;
    int n = 0;
    for (const Entry &e : reference().entries) {
        if (e.ch == 0)
            continue;
        bytes += e.bytes;
        text += QChar(e.ch);
        mixed += e.bytes;
        mixedText += QChar(e.ch);
        if (++n % 7 == 0) {
            mixed += "Line text\r\n";
            mixedText += QStringLiteral("Line text\r\n");
        }
    }
    Win31J::DecodeStats stats;
    EXPECT_EQ(Win31J::decode(bytes, &stats), text);
    EXPECT_EQ(Win31J::decode(mixed, &stats), mixedText);
    EXPECT_EQ(stats.invalidCount, 0);
}

TEST(Win31JCodePage, ShortAndLongInputsDecodeAlike)
{
    // Around every size where decode changes its buffer or its bulk step,
    // with a pair, a katakana byte or a lone lead byte at the very end.
    for (qsizetype size = 1; size <= 4200; size += (size < 40 || (size > 2030 && size < 2070)) ? 1 : 97) {
        const QByteArray ascii(size, 'k');
        const struct {
            QByteArray tail;
            QString text;
            qsizetype invalid;
        } tails[] = {
            {"\x88\x9F", QStringLiteral(u"\u4E9C"), 0},
            {"\xB1", QStringLiteral(u"\uFF71"), 0},
            {"\x88", QStringLiteral(u"\uFFFD"), 1},
        };
        for (const auto &t : tails) {
            Win31J::DecodeStats stats;
            EXPECT_EQ(Win31J::decode(ascii + t.tail, &stats), QString(size, u'k') + t.text) << size;
            EXPECT_EQ(stats.invalidCount, t.invalid) << size;
            EXPECT_EQ(stats.firstInvalidOffset, t.invalid ? size : -1) << size;
        }
        QByteArray kanji;
        QString kanjiText;
        for (qsizetype i = 0; i < size; ++i) {
            kanji += "\x8A\xBF";
            kanjiText += u'\u6F22';
        }
        EXPECT_EQ(Win31J::decode(kanji), kanjiText) << size;
    }
}

TEST(Win31JCodePage, DuplicatesReadAsOneCharacterAndWriteWindowsForm)
{
    struct Case {
        const char *bytes;
        char16_t ch;
        const char *written;
    };
    const Case cases[] = {
        {"8790", 0x2252, "81E0"}, // ≒ NEC row 13 -> JIS row 2
        {"879A", 0x2235, "81E6"}, // ∵ NEC row 13 -> JIS row 2
        {"FA5B", 0x2235, "81E6"}, // ∵ IBM extension -> JIS row 2
        {"FA4A", 0x2160, "8754"}, // Ⅰ IBM extension -> NEC row 13
        {"FA58", 0x3231, "878A"}, // ㈱ IBM extension -> NEC row 13
        {"EEEF", 0x2170, "FA40"}, // ⅰ NEC-selected IBM -> IBM extension
        {"EEF9", 0xFFE2, "81CA"}, // ￢ NEC-selected IBM -> JIS row 2
        {"FA54", 0xFFE2, "81CA"}, // ￢ IBM extension -> JIS row 2
        {"ED40", 0x7E8A, "FA5C"}, // 纊 NEC-selected IBM -> IBM extension
        {"EEEC", 0x9ED1, "FC4B"}, // 黑 last NEC-selected IBM kanji
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Win31J::decode(hexBytes(c.bytes)), str(c.ch)) << c.bytes;
        EXPECT_EQ(Win31J::encode(str(c.ch)), hexBytes(c.written)) << c.bytes;
    }
}

// ---- Characters ------------------------------------------------------------

TEST(Win31JCharacters, EveryBmpCharacterRoundTripsOrBecomesQuestionMark)
{
    const Reference &ref = reference();
    qsizetype held = 0;
    for (unsigned u = 0; u <= 0xFFFF; ++u) {
        const char16_t c = char16_t(u);
        if (QChar::isSurrogate(c))
            continue;
        Win31J::EncodeStats stats;
        const QByteArray bytes = Win31J::encode(str(c), &stats);
        if (ref.formOf.contains(c)) {
            ++held;
            EXPECT_EQ(bytes, ref.formOf.value(c)) << std::hex << u;
            EXPECT_EQ(Win31J::decode(bytes), str(c)) << std::hex << u;
            EXPECT_EQ(stats.unmappableCount + stats.substitutedCount, 0) << std::hex << u;
        } else if (ref.variants.contains(c)) {
            EXPECT_EQ(bytes, ref.variants.value(c)) << std::hex << u;
            EXPECT_EQ(stats.substitutedCount, 1);
            EXPECT_EQ(stats.firstSubstitutedIndex, 0);
            EXPECT_EQ(stats.unmappableCount, 0);
            EXPECT_EQ(Win31J::countUnmappable(str(c)), 0);
        } else {
            EXPECT_EQ(bytes, "?") << std::hex << u;
            EXPECT_EQ(stats.unmappableCount, 1) << std::hex << u;
            EXPECT_EQ(stats.firstUnmappableIndex, 0);
            EXPECT_EQ(Win31J::countUnmappable(str(c)), 1) << std::hex << u;
        }
    }
    EXPECT_EQ(held, 128 + 1 + 64 + 3 + 9604 - 398);
}

TEST(Win31JCharacters, ControlCodesAndAsciiAreThemselves)
{
    QByteArray bytes;
    QString text;
    for (int b = 0; b < 0x80; ++b) {
        bytes += char(b);
        text += QChar(b);
    }
    EXPECT_EQ(Win31J::decode(bytes), text);
    EXPECT_EQ(Win31J::encode(text), bytes);
    // The bytes other converters get wrong.
    EXPECT_EQ(Win31J::decode("\x1A\x1C\x7F\x5C\x7E"), QStringLiteral(u"\u001A\u001C\u007F\\~"));
    EXPECT_EQ(Win31J::encode(u"\\~\u001A\u001C\u007F"), QByteArray("\x5C\x7E\x1A\x1C\x7F"));
}

TEST(Win31JCharacters, LoneSingleBytesKeepTheirBytes)
{
    EXPECT_EQ(Win31J::decode("\x80\xA0\xFD\xFE\xFF"), QStringLiteral(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"));
    EXPECT_EQ(Win31J::encode(u"\u0080\uF8F0\uF8F1\uF8F2\uF8F3"), QByteArray("\x80\xA0\xFD\xFE\xFF"));
    // Bytes of the trail range standing alone are characters of their own.
    Win31J::DecodeStats stats;
    EXPECT_EQ(Win31J::decode("\x40\xA1\xDF\x80", &stats), QStringLiteral(u"@\uFF61\uFF9F\u0080"));
    EXPECT_EQ(stats.invalidCount, 0);
}

TEST(Win31JCharacters, VariantsAreWrittenInTheirLookAlikeForm)
{
    Win31J::EncodeStats stats;
    EXPECT_EQ(Win31J::encode(u"a\u301Cb\u2212", &stats), QByteArray("a\x81\x60"
                                                                    "b\x81\x7C"));
    EXPECT_EQ(stats.substitutedCount, 2);
    EXPECT_EQ(stats.firstSubstitutedIndex, 1);
    EXPECT_EQ(stats.unmappableCount, 0);
    EXPECT_EQ(Win31J::decode("\x81\x60"), QStringLiteral(u"\uFF5E"));
    // Yen sign and overline would come back as backslash and tilde.
    EXPECT_EQ(Win31J::encode(u"\u00A5\u203E"), QByteArray("??"));
}

TEST(Win31JCharacters, RandomTextRoundTripsAndSplitsAtLineEnds)
{
    QList<char16_t> alphabet;
    for (auto it = reference().formOf.cbegin(); it != reference().formOf.cend(); ++it)
        alphabet.append(it.key());
    QRandomGenerator rng(932);
    QString text;
    for (int i = 0; i < 200000; ++i) {
        const int r = int(rng.bounded(10));
        if (r < 3)
            text += QChar(char16_t(u'a' + rng.bounded(26)));
        else if (r == 3)
            text += QStringLiteral("\r\n");
        else
            text += QChar(alphabet[rng.bounded(alphabet.size())]);
    }
    const QByteArray bytes = Win31J::encode(text);
    EXPECT_EQ(Win31J::decode(bytes), text);

    // Bytes split at CR or LF decode piece by piece to the same text.
    QString pieces;
    qsizetype from = 0;
    for (qsizetype i = 0; i <= bytes.size(); ++i) {
        if (i == bytes.size() || bytes[i] == '\r' || bytes[i] == '\n') {
            pieces += Win31J::decode(QByteArrayView(bytes).sliced(from, i - from));
            if (i < bytes.size())
                pieces += QChar(bytes[i]);
            from = i + 1;
        }
    }
    EXPECT_EQ(pieces, text);
}

// ---- Invalid input ---------------------------------------------------------

struct InvalidCase {
    const char *name;
    QByteArray bytes;
    QString text;
    qsizetype count;
    qsizetype first;
};

static void PrintTo(const InvalidCase &c, std::ostream *os)
{
    *os << c.name;
}

class Win31JInvalid : public ::testing::TestWithParam<InvalidCase>
{
};

TEST_P(Win31JInvalid, DecodesToReplacementAndCounts)
{
    const InvalidCase &c = GetParam();
    Win31J::DecodeStats stats;
    EXPECT_EQ(Win31J::decode(c.bytes, &stats), c.text);
    EXPECT_EQ(stats.invalidCount, c.count);
    EXPECT_EQ(stats.firstInvalidOffset, c.first);

    Win31J::DecodeStats counted;
    EXPECT_EQ(Win31J::validate(c.bytes, &counted), c.count);
    EXPECT_EQ(counted.invalidCount, c.count);
    EXPECT_EQ(counted.firstInvalidOffset, c.first);

    QList<char16_t> units(c.bytes.size() + 1, u'#');
    Win31J::DecodeStats into;
    const qsizetype n = Win31J::decodeInto(c.bytes, units.data(), &into);
    EXPECT_EQ(QStringView(units.constData(), n), c.text);
    EXPECT_EQ(units[c.bytes.size()], u'#'); // nothing written past the room
    EXPECT_EQ(into.invalidCount, c.count);
    EXPECT_EQ(into.firstInvalidOffset, c.first);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Win31JInvalid,
    ::testing::Values(
        InvalidCase{"LeadAtEnd", "ab\x82", QStringLiteral(u"ab\uFFFD"), 1, 2},
        InvalidCase{"OnlyALead", "\xE0", QStringLiteral(u"\uFFFD"), 1, 0},
        InvalidCase{"LeadBeforeLineEnd", "\x82\r\n", QStringLiteral(u"\uFFFD\r\n"), 1, 0},
        InvalidCase{"LeadBeforeFieldEnd", "\x88\x01x", QStringLiteral(u"\uFFFD\u0001x"), 1, 0},
        InvalidCase{"LeadBeforeQuoteAndComma", "\x9F\",\x9F,", QStringLiteral(u"\uFFFD\",\uFFFD,"), 2, 0},
        InvalidCase{"LeadBeforeDelete", "\x81\x7F", QStringLiteral(u"\uFFFD\u007F"), 1, 0},
        InvalidCase{"LeadBeforeHighSingle", "\x81\xFD", QStringLiteral(u"\uFFFD\uF8F1"), 1, 0},
        InvalidCase{"LeadIsTrailOfLead", "\x81\x81\x82", QStringLiteral(u"\uFF1D\uFFFD"), 1, 2},
        InvalidCase{"UnassignedPairTakesBoth", "\x82\xA0\x85\x40\x82\xA0", QStringLiteral(u"\u3042\uFFFD\u3042"), 1, 2},
        InvalidCase{"UnassignedPairWithAsciiTrail",
                    "\xEB\x41"
                    "B",
                    QStringLiteral(u"\uFFFDB"), 1, 0},
        InvalidCase{"GapInRowOne", "x\x81\xAD", QStringLiteral(u"x\uFFFD"), 1, 1},
        InvalidCase{"AfterIbmExtensions", "\xFC\x4C\xFC\xFC", QStringLiteral(u"\uFFFD\uFFFD"), 2, 0},
        InvalidCase{"LongAsciiThenLeadAtEnd", QByteArray(40, 'a') + "\x83", QString(40, u'a') + u'\uFFFD', 1, 40},
        InvalidCase{"Empty", "", QString(), 0, -1}),
    [](const ::testing::TestParamInfo<InvalidCase> &p) { return std::string(p.param.name); });

TEST(Win31JStats, DecodeStatsAccumulateAcrossPieces)
{
    Win31J::DecodeStats stats;
    Win31J::decode("ok", &stats, 0);
    EXPECT_EQ(stats.firstInvalidOffset, -1);
    Win31J::decode("\x82\xA0\x85\x40", &stats, 2); // invalid at 2 + 2
    Win31J::decode("z\x81", &stats, 100);          // invalid at 101
    EXPECT_EQ(stats.invalidCount, 2);
    EXPECT_EQ(stats.firstInvalidOffset, 4);
    Win31J::decode("\x81", nullptr); // no stats: nothing to report
}

TEST(Win31JStats, UnmappableCharactersBecomeOneQuestionMarkEach)
{
    struct Case {
        QString text;
        QByteArray bytes;
        qsizetype count;
        qsizetype first;
    };
    const Case cases[] = {
        {QStringLiteral(u"a\U0001F600b"), "a?b", 1, 1}, // surrogate pair: one character
        {QStringLiteral(u"\U00020B9F\U00020B9F"), "??", 2, 0},
        {QString(QChar(0xD800)) + u'x', "?x", 1, 0},             // lone high surrogate
        {u'x' + QString(QChar(0xDC00)), "x?", 1, 1},             // lone low surrogate
        {u'\u3042' + QString(QChar(0xD83D)), "\x82\xA0?", 1, 1}, // high surrogate at the end
        {QString(QChar(0xDC00)) + QChar(0xD800), "??", 2, 0},    // reversed pair
        {QStringLiteral(u"\uFFFD\u00E9\u4E9C"), "??\x88\x9F", 2, 0},
        {QStringLiteral(u"plain"), "plain", 0, -1},
    };
    for (const Case &c : cases) {
        Win31J::EncodeStats stats;
        EXPECT_EQ(Win31J::encode(c.text, &stats), c.bytes);
        EXPECT_EQ(stats.unmappableCount, c.count);
        EXPECT_EQ(stats.firstUnmappableIndex, c.first);
        qsizetype first = -7;
        EXPECT_EQ(Win31J::countUnmappable(c.text, &first), c.count);
        EXPECT_EQ(first, c.first);
    }
}

TEST(Win31JStats, EncodeAppendKeepsPrefixAndAccumulates)
{
    QByteArray out("head,");
    Win31J::EncodeStats stats;
    Win31J::encodeAppend(u"\u4E9C\u00E9", out, &stats, 10); // unmappable at 10 + 1
    Win31J::encodeAppend(u"\U0001F600", out, &stats, 20);   // at 20
    Win31J::encodeAppend(u"", out, &stats, 30);
    EXPECT_EQ(out, QByteArray("head,\x88\x9F??"));
    EXPECT_EQ(stats.unmappableCount, 2);
    EXPECT_EQ(stats.firstUnmappableIndex, 11);

    // Many small appends to one array stay linear and exact.
    QByteArray big;
    for (int i = 0; i < 20000; ++i)
        Win31J::encodeAppend(u"あいうabc\r\n", big);
    EXPECT_EQ(big.size(), 20000 * 11);
    EXPECT_TRUE(big.endsWith("\x82\xA0\x82\xA2\x82\xA4"
                             "abc\r\n"));
}

// ---- Counting without text, writing into a buffer ---------------------------

namespace {

// What validate must say: the counts decode gives.
void expectValidateAsDecode(const QByteArray &bytes, qsizetype base = 0)
{
    Win31J::DecodeStats want, got;
    Win31J::decode(bytes, &want, base);
    EXPECT_EQ(Win31J::validate(bytes, &got, base), want.invalidCount) << bytes.toHex(' ').constData();
    EXPECT_EQ(got.invalidCount, want.invalidCount) << bytes.toHex(' ').constData();
    EXPECT_EQ(got.firstInvalidOffset, want.firstInvalidOffset) << bytes.toHex(' ').constData();
}

} // namespace

TEST(Win31JValidate, CountsAsDecodeOnEveryPairInEveryContext)
{
    // Each pair alone, after a lead byte (which shifts it by one), before a
    // lead byte and between ASCII.
    QByteArray all;
    for (unsigned b = 0; b <= 0xFF; ++b) {
        for (unsigned t = 0; t <= 0xFF; ++t) {
            const QByteArray pair = QByteArray(1, char(b)).append(char(t));
            expectValidateAsDecode(pair);
            expectValidateAsDecode("\x82" + pair);
            expectValidateAsDecode(pair + "\x82");
            expectValidateAsDecode("ab" + pair + "c", 7);
            all += pair;
        }
    }
    expectValidateAsDecode(all);
    expectValidateAsDecode(all.mid(1));
}

TEST(Win31JValidate, CountsAsDecodeOnRandomBytes)
{
    // Bytes drawn mostly from the lead and trail ranges, where one byte more
    // or less before a pair changes how everything after it is read.
    QRandomGenerator rng(3132);
    for (int round = 0; round < 3000; ++round) {
        QByteArray bytes;
        const int n = int(rng.bounded(0, round < 2500 ? 40 : 3000));
        for (int i = 0; i < n; ++i) {
            switch (rng.bounded(6)) {
            case 0: bytes += char(rng.bounded(256)); break;
            case 1: bytes += char(rng.bounded(0x20, 0x80)); break;
            case 2: bytes += char(rng.bounded(0x81, 0xA0)); break;
            case 3: bytes += char(rng.bounded(0xE0, 0xFD)); break;
            default: bytes += char(rng.bounded(0x40, 0xFD)); break;
            }
        }
        expectValidateAsDecode(bytes, round);
    }
}

TEST(Win31JValidate, AccumulatesAndNeedsNoStats)
{
    Win31J::DecodeStats stats;
    EXPECT_EQ(Win31J::validate("ok", &stats, 0), 0);
    EXPECT_EQ(stats.firstInvalidOffset, -1);
    EXPECT_EQ(Win31J::validate("\x82\xA0\x85\x40", &stats, 2), 1); // invalid at 2 + 2
    EXPECT_EQ(Win31J::validate("z\x81", &stats, 100), 1);          // at 101
    EXPECT_EQ(stats.invalidCount, 2);
    EXPECT_EQ(stats.firstInvalidOffset, 4);
    EXPECT_EQ(Win31J::validate("\x81\x81\x81"), 1);
    EXPECT_EQ(Win31J::validate(QByteArrayView()), 0);
}

TEST(Win31JEncodeInto, WritesAsTheReferenceInEveryMixAndAtEveryLength)
{
    // Texts of every length up to 40 (the eight-unit ASCII step starts and
    // stops anywhere) mixing ASCII, katakana, double bytes, look-alikes,
    // unmappable characters and surrogates, against the reference forms.
    const Reference &ref = reference();
    QList<char16_t> held;
    for (auto it = ref.formOf.cbegin(); it != ref.formOf.cend(); ++it)
        held.append(it.key());
    const QList<char16_t> variants = ref.variants.keys();
    QRandomGenerator rng(2024);
    for (int round = 0; round < 4000; ++round) {
        QString text;
        QByteArray want;
        qsizetype unmappable = 0, firstUnmappable = -1, substituted = 0, firstSubstituted = -1;
        const int length = round % 41;
        while (text.size() < length) {
            const int kind = int(rng.bounded(round % 3 == 0 ? 3 : 12));
            if (kind < 5) {
                const char c = char(rng.bounded(0, 0x80));
                text += QLatin1Char(c);
                want += c;
            } else if (kind < 9) {
                const char16_t c = held[rng.bounded(held.size())];
                text += QChar(c);
                want += ref.formOf.value(c);
            } else if (kind == 9) {
                const char16_t c = variants[rng.bounded(variants.size())];
                if (substituted++ == 0)
                    firstSubstituted = text.size();
                text += QChar(c);
                want += ref.variants.value(c);
            } else {
                if (unmappable++ == 0)
                    firstUnmappable = text.size();
                text += kind == 10 ? QStringLiteral(u"\U0001F600") : QStringLiteral(u"\u00E9");
                want += '?';
            }
        }
        QByteArray room(2 * text.size() + 1, '#');
        Win31J::EncodeStats stats;
        const qsizetype n = Win31J::encodeInto(text, room.data(), &stats, 5);
        ASSERT_EQ(QByteArray(room.constData(), n), want) << round;
        EXPECT_EQ(room.back(), '#') << round; // nothing written past the room
        EXPECT_EQ(stats.unmappableCount, unmappable);
        EXPECT_EQ(stats.firstUnmappableIndex, unmappable ? firstUnmappable + 5 : -1);
        EXPECT_EQ(stats.substitutedCount, substituted);
        EXPECT_EQ(stats.firstSubstitutedIndex, substituted ? firstSubstituted + 5 : -1);
        EXPECT_EQ(Win31J::encode(text), want);
    }
}

TEST(Win31JDecodeForeign, Utf8OnlyWhenValidAndNotAscii)
{
    const QString japanese = QStringLiteral("日本語のテキスト");
    EXPECT_EQ(Win31J::decodeForeign(japanese.toUtf8()), japanese);
    EXPECT_EQ(Win31J::decodeForeign(QByteArray("\xEF\xBB\xBF") + japanese.toUtf8()), japanese);
    EXPECT_EQ(Win31J::decodeForeign(Win31J::encode(japanese)), japanese);
    EXPECT_EQ(Win31J::decodeForeign("plain ascii\r\n"), QStringLiteral("plain ascii\r\n"));

    Win31J::DecodeStats stats;
    EXPECT_EQ(Win31J::decodeForeign("\x82\xA0\x82", &stats), Win31J::decode("\x82\xA0\x82"));
    EXPECT_EQ(stats.invalidCount, 1); // a lone lead byte: not UTF-8 either
}
