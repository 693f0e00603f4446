#include "core/search/textfind.h"

#include <cstring>

#if defined(__x86_64__)
#include <immintrin.h>
#endif

namespace {

// The rest of the pattern after its first unit, at at + 1; the last unit
// was compared already, and so was the first.
inline bool restMatches(const char16_t *at, const char16_t *pattern, qsizetype length)
{
    return length <= 2 || std::memcmp(at + 1, pattern + 1, std::size_t(length - 2) * sizeof(char16_t)) == 0;
}

qsizetype findScalar(const char16_t *text, qsizetype from, qsizetype size, const char16_t *pattern, qsizetype length)
{
    const char16_t first = pattern[0], last = pattern[length - 1];
    for (qsizetype i = from; i + length <= size; ++i) {
        if (text[i] == first && text[i + length - 1] == last && restMatches(text + i, pattern, length))
            return i;
    }
    return -1;
}

#if defined(__x86_64__)
// Eight places at a time, from from on.
qsizetype findSse2(const char16_t *text, qsizetype from, qsizetype size, const char16_t *pattern, qsizetype length)
{
    const __m128i first = _mm_set1_epi16(short(pattern[0]));
    const __m128i last = _mm_set1_epi16(short(pattern[length - 1]));
    qsizetype i = from;
    for (; i + length - 1 + 8 <= size; i += 8) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i *>(text + i + length - 1));
        unsigned mask = unsigned(_mm_movemask_epi8(_mm_and_si128(_mm_cmpeq_epi16(a, first), _mm_cmpeq_epi16(b, last))));
        while (mask) {
            const qsizetype lane = qsizetype(__builtin_ctz(mask)) / 2;
            if (restMatches(text + i + lane, pattern, length))
                return i + lane;
            mask &= mask - 1;
            mask &= mask - 1;
        }
    }
    return findScalar(text, i, size, pattern, length);
}

// Sixteen places at a time: the lanes where the first unit stands and the
// last one stands length - 1 further on.
__attribute__((target("avx2"))) qsizetype findAvx2(const char16_t *text, qsizetype size, const char16_t *pattern,
                                                   qsizetype length)
{
    const __m256i first = _mm256_set1_epi16(short(pattern[0]));
    const __m256i last = _mm256_set1_epi16(short(pattern[length - 1]));
    qsizetype i = 0;
    for (; i + length - 1 + 16 <= size; i += 16) {
        const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(text + i));
        const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i *>(text + i + length - 1));
        unsigned mask =
            unsigned(_mm256_movemask_epi8(_mm256_and_si256(_mm256_cmpeq_epi16(a, first), _mm256_cmpeq_epi16(b, last))));
        while (mask) {
            const qsizetype lane = qsizetype(__builtin_ctz(mask)) / 2;
            if (restMatches(text + i + lane, pattern, length))
                return i + lane;
            mask &= mask - 1; // both bytes of the lane
            mask &= mask - 1;
        }
    }
    return findSse2(text, i, size, pattern, length); // a title is often shorter than a step
}

qsizetype findSse2Only(const char16_t *text, qsizetype size, const char16_t *pattern, qsizetype length)
{
    return findSse2(text, 0, size, pattern, length);
}

using Find = qsizetype (*)(const char16_t *, qsizetype, const char16_t *, qsizetype);

Find fastFind()
{
    static const Find find = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx2") ? findAvx2 : findSse2Only;
    }();
    return find;
}
#endif

} // namespace

qsizetype TextFinder::indexIn(QStringView text) const
{
    const qsizetype length = m_pattern.size();
    if (length == 0)
        return 0;
    if (length > text.size())
        return -1;
#if defined(__x86_64__)
    return fastFind()(text.utf16(), text.size(), QStringView(m_pattern).utf16(), length);
#else
    return findScalar(text.utf16(), 0, text.size(), QStringView(m_pattern).utf16(), length);
#endif
}
