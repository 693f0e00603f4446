#include "core/search/textfold.h"

#include <QChar>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// U+FF61..U+FF9F: half-width katakana and the half-width CJK signs, in
// their full-width forms.
constexpr char16_t HalfWidthKana[] = {
    0x3002, 0x300C, 0x300D, 0x3001, 0x30FB, 0x30F2, 0x30A1, 0x30A3, // ｡｢｣､･ｦｧｨ
    0x30A5, 0x30A7, 0x30A9, 0x30E3, 0x30E5, 0x30E7, 0x30C3, 0x30FC, // ｩｪｫｬｭｮｯｰ
    0x30A2, 0x30A4, 0x30A6, 0x30A8, 0x30AA, 0x30AB, 0x30AD, 0x30AF, // ｱｲｳｴｵｶｷｸ
    0x30B1, 0x30B3, 0x30B5, 0x30B7, 0x30B9, 0x30BB, 0x30BD, 0x30BF, // ｹｺｻｼｽｾｿﾀ
    0x30C1, 0x30C4, 0x30C6, 0x30C8, 0x30CA, 0x30CB, 0x30CC, 0x30CD, // ﾁﾂﾃﾄﾅﾆﾇﾈ
    0x30CE, 0x30CF, 0x30D2, 0x30D5, 0x30D8, 0x30DB, 0x30DE, 0x30DF, // ﾉﾊﾋﾌﾍﾎﾏﾐ
    0x30E0, 0x30E1, 0x30E2, 0x30E4, 0x30E6, 0x30E8, 0x30E9, 0x30EA, // ﾑﾒﾓﾔﾕﾖﾗﾘ
    0x30EB, 0x30EC, 0x30ED, 0x30EF, 0x30F3, 0x309B, 0x309C,         // ﾙﾚﾛﾜﾝﾞﾟ
};
static_assert(std::size(HalfWidthKana) == 0xFF9F - 0xFF61 + 1);

constexpr char16_t VoicedMark = 0xFF9E;     // ﾞ
constexpr char16_t SemiVoicedMark = 0xFF9F; // ﾟ

// The kana a voiced mark turns base into, 0 when it takes none.
char16_t voiced(char16_t base)
{
    switch (base) {
    case 0x30A6: return 0x30F4; // ウ -> ヴ
    case 0x30EF: return 0x30F7; // ワ -> ヷ
    case 0x30F2: return 0x30FA; // ヲ -> ヺ
    case 0x30AB:
    case 0x30AD:
    case 0x30AF:
    case 0x30B1:
    case 0x30B3: // カ行
    case 0x30B5:
    case 0x30B7:
    case 0x30B9:
    case 0x30BB:
    case 0x30BD: // サ行
    case 0x30BF:
    case 0x30C1:
    case 0x30C4:
    case 0x30C6:
    case 0x30C8: // タ行
    case 0x30CF:
    case 0x30D2:
    case 0x30D5:
    case 0x30D8:
    case 0x30DB: // ハ行
        return char16_t(base + 1);
    default: return 0;
    }
}

char16_t semiVoiced(char16_t base)
{
    switch (base) {
    case 0x30CF:
    case 0x30D2:
    case 0x30D5:
    case 0x30D8:
    case 0x30DB: // ハ行
        return char16_t(base + 2);
    default: return 0;
    }
}

// Ranges without case mappings: general punctuation, arrows to
// dingbats except the circled letters, and CJK to Hangul.
inline bool hasNoCase(char16_t c)
{
    return (c >= 0x2E80 && c < 0xA640) || (c >= 0xAC00 && c < 0xD800) || (c >= 0x2000 && c < 0x2100)
           || (c >= 0x2190 && c < 0x24B6) || (c >= 0x24EA && c < 0x2C00);
}

// Characters that fold to themselves and that nothing else folds to, that
// take no sound mark and are none: hiragana, kanji, Hangul and the CJK signs
// no half-width sign becomes.
bool foldsOnlyFromItself(char16_t c)
{
    if (c >= 0x4E00 && c <= 0x9FFF)
        return true; // CJK unified ideographs
    if ((c >= 0x3041 && c <= 0x3096) || (c >= 0x309D && c <= 0x309F))
        return true; // hiragana, without the sound marks ゛゜
    if (c >= 0x3400 && c <= 0x4DBF)
        return true; // CJK extension A
    if ((c >= 0x3003 && c <= 0x300B) || (c >= 0x300E && c <= 0x303F) || c == 0x3000)
        return true; // CJK signs but 、。「」
    return (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xAC00 && c <= 0xD7A3);
}

} // namespace

namespace TextFold {

bool searchableUnfolded(QStringView foldedKeyword)
{
    if (foldedKeyword.isEmpty())
        return false;
    for (const QChar c : foldedKeyword) {
        if (!foldsOnlyFromItself(c.unicode()))
            return false;
    }
    return true;
}

char16_t widthFolded(char16_t c)
{
    if (c >= 0xFF01 && c <= 0xFF5E)
        return char16_t(c - 0xFF01 + 0x21);
    if (c >= 0xFF61 && c <= 0xFF9F)
        return HalfWidthKana[c - 0xFF61];
    return c;
}

void appendFolded(QStringView text, QString &out)
{
    const qsizetype start = out.size();
    const qsizetype n = text.size();
    out.resize(start + n);
    // Written through a raw pointer: folding runs over every card of a file.
    char16_t *const base = reinterpret_cast<char16_t *>(out.data());
    char16_t *w = base + start;
    const char16_t *r = reinterpret_cast<const char16_t *>(text.data());
    const char16_t *const end = r + n;
    while (r < end) {
#if defined(__SSE2__)
        // Eight units at a time while each folds to itself for certain:
        // kana, kanji and CJK signs (U+2E80..U+A63F, no case, no width
        // form) and ASCII other than capitals. Most of a Japanese text is
        // copied here. A sound mark after such a block is no such unit and
        // joins the unit before it below, as it would one by one.
        const __m128i flip = _mm_set1_epi16(short(0x8000));
        const __m128i cjkFrom = _mm_set1_epi16(0x2E80);
        const __m128i cjkSpan = _mm_set1_epi16(short((0xA640 - 0x2E80) ^ 0x8000));
        const __m128i asciiEnd = _mm_set1_epi16(short(0x80 ^ 0x8000));
        const __m128i capitalFrom = _mm_set1_epi16('A');
        const __m128i capitalSpan = _mm_set1_epi16(short(26 ^ 0x8000));
        while (end - r >= 8) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(r));
            // Unsigned a < b as signed (a ^ 0x8000) < (b ^ 0x8000).
            const __m128i cjk = _mm_cmplt_epi16(_mm_xor_si128(_mm_sub_epi16(v, cjkFrom), flip), cjkSpan);
            const __m128i ascii = _mm_cmplt_epi16(_mm_xor_si128(v, flip), asciiEnd);
            const __m128i capital = _mm_cmplt_epi16(_mm_xor_si128(_mm_sub_epi16(v, capitalFrom), flip), capitalSpan);
            const __m128i same = _mm_or_si128(cjk, _mm_andnot_si128(capital, ascii));
            if (_mm_movemask_epi8(same) != 0xFFFF)
                break;
            _mm_storeu_si128(reinterpret_cast<__m128i *>(w), v);
            w += 8;
            r += 8;
        }
        if (r >= end)
            break;
#endif
        char16_t c = *r++;
        if (c < 0x80) {
            *w++ = (c >= u'A' && c <= u'Z') ? char16_t(c + 0x20) : c;
            continue;
        }
        // Signs, CJK signs, kana, kanji and Hangul have no case: most of a
        // Japanese text is copied here without a table lookup.
        if (hasNoCase(c)) {
            *w++ = c;
            continue;
        }
        if (c >= 0xFF01) {
            if ((c == VoicedMark || c == SemiVoicedMark) && w > base) {
                const char16_t joined = c == VoicedMark ? voiced(w[-1]) : semiVoiced(w[-1]);
                if (joined) {
                    w[-1] = joined;
                    continue;
                }
            }
            c = widthFolded(c);
            if (c < 0x80) {
                *w++ = (c >= u'A' && c <= u'Z') ? char16_t(c + 0x20) : c;
                continue;
            }
        }
        if (QChar::isHighSurrogate(c) && r < end && QChar::isLowSurrogate(*r)) {
            const char32_t folded = QChar::toCaseFolded(QChar::surrogateToUcs4(c, *r++));
            *w++ = QChar::highSurrogate(folded);
            *w++ = QChar::lowSurrogate(folded);
            continue;
        }
        *w++ = char16_t(QChar::toCaseFolded(char32_t(c)));
    }
    out.resize(w - base);
}

QString folded(QStringView text)
{
    QString out;
    appendFolded(text, out);
    return out;
}

} // namespace TextFold
