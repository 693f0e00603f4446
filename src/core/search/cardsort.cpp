#include "core/search/cardsort.h"

#include "core/cards/cardstore.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"

#include <QCollator>
#include <QLocale>
#include <QtEndian>

#include <algorithm>
#include <array>
#include <atomic>
#include <climits>
#include <cstring>
#include <ctime>
#include <memory>
#include <numeric>
#include <string>
#include <unicode/uchar.h>
#include <unicode/ucol.h>
#include <unicode/ucoleitr.h>
#include <unicode/uset.h>
#include <unicode/utf16.h>
#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace SortMark {

QString removed(const QString &caption)
{
    if (caption.endsWith(Ascending) || caption.endsWith(Descending))
        return caption.chopped(1);
    return caption;
}

} // namespace SortMark

namespace {

const QString &columnText(const CardStore &store, qsizetype row, int column)
{
    const Card &card = store.at(row);
    return column == CardStore::TitleColumn     ? card.title
           : column == CardStore::RemarksColumn ? card.remarks
                                                : card.content;
}

// The new order of the rows, or empty when they are in order already.
QList<qsizetype> changedOrder(QList<qsizetype> rows)
{
    for (qsizetype i = 0; i < rows.size(); ++i) {
        if (rows[i] != i)
            return rows;
    }
    return {};
}

double processSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct CollatorClose {
    void operator()(UCollator *c) const { ucol_close(c); }
};
using Collator = std::unique_ptr<UCollator, CollatorClose>;
struct ElementsClose {
    void operator()(UCollationElements *e) const { ucol_closeElements(e); }
};
using Elements = std::unique_ptr<UCollationElements, ElementsClose>;

// The collation of QCollator for QLocale::Japanese, case-insensitive and
// without numeric mode, straight from ICU; null when ICU refuses it.
Collator openJapaneseCollator()
{
    UErrorCode status = U_ZERO_ERROR;
    Collator collator(ucol_open("ja", &status));
    ucol_setAttribute(collator.get(), UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
    ucol_setAttribute(collator.get(), UCOL_STRENGTH, UCOL_SECONDARY, &status);
    ucol_setAttribute(collator.get(), UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
    ucol_setAttribute(collator.get(), UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
    if (U_FAILURE(status))
        return {};
    return collator;
}

Elements openElements(const UCollator *collator)
{
    UErrorCode status = U_ZERO_ERROR;
    Elements elements(ucol_openElements(collator, nullptr, 0, &status));
    if (U_FAILURE(status))
        return {};
    return elements;
}

// Calls take(p) with the 32-bit primary weight of each collation element of
// text that has one, as ICU's tables hold it (before the script reordering
// of the collator). The iterator hands out each element as two 32-bit
// halves: the first with the upper 16 bits of the primary, a continuation
// (low bits 0xC0) with the lower 16. False when ICU fails or take does.
template<typename Take>
bool forEachPrimary(UCollationElements *elements, const char16_t *text, qsizetype length, Take &&take)
{
    UErrorCode status = U_ZERO_ERROR;
    ucol_setText(elements, reinterpret_cast<const UChar *>(text), int32_t(length), &status);
    quint32 primary = 0;
    for (;;) {
        const int32_t element = ucol_next(elements, &status);
        if (U_FAILURE(status))
            return false;
        if (element == UCOL_NULLORDER)
            break;
        const auto half = quint32(element);
        if ((half & 0xC0) == 0xC0) {
            primary |= half >> 16;
            continue;
        }
        if (primary != 0 && !take(primary))
            return false;
        primary = half & 0xFFFF0000;
    }
    return primary == 0 || take(primary);
}

// The bytes of a weight without its trailing zero bytes; 0 when a zero byte
// lies inside it (no ICU weight has one).
int weightLength(quint32 weight)
{
    int length = 4;
    while (length > 0 && (weight & 0xFF) == 0) {
        weight >>= 8;
        --length;
    }
    for (int i = 0; i < length; ++i, weight >>= 8) {
        if ((weight & 0xFF) == 0)
            return 0;
    }
    return length;
}

// ICU moves whole scripts on the primary level when a collator reorders
// them (Japanese puts Latin, kana and kanji first): a primary weight's lead
// byte changes. The collation element iterator gives the weights before
// that move; a character's sort key shows it after. LeadBytes learns the
// move from characters of one collation element each.
class LeadBytes
{
public:
    LeadBytes() { m_shift.fill(Unknown); }

    // Learns from the sort key of a text whose first primary weight is
    // weight (as the iterator gave it): the key begins with the moved bytes
    // of that weight, whole (ICU shortens only the weights after it), and
    // with the level separator after them when it is the text's only one.
    // False when it contradicts what was learnt before.
    bool learn(quint32 weight, bool only, const uint8_t *key, int32_t keyLength)
    {
        const int length = weightLength(weight);
        if (length == 0 || keyLength <= length || (only && key[length] != 1))
            return true; // not a key of that form: nothing to learn
        for (int i = 1; i < length; ++i) {
            if (key[i] != uint8_t(weight >> (24 - 8 * i)))
                return true;
        }
        const int lead = int(weight >> 24);
        const int shift = int(key[0]) - lead;
        if (m_shift[std::size_t(lead)] == Unknown)
            m_shift[std::size_t(lead)] = shift;
        return m_shift[std::size_t(lead)] == shift;
    }

    // The weight as the collator compares it, 0 when its lead byte was
    // never seen.
    quint32 moved(quint32 weight) const
    {
        const int shift = m_shift[weight >> 24];
        if (shift == Unknown)
            return 0;
        return weight + (quint32(shift) << 24);
    }

private:
    static constexpr int Unknown = INT_MIN;
    std::array<int, 256> m_shift;
};

// The primary weights of every UTF-16 unit on its own, as the Japanese
// collation compares them, made once per process. A text whose units all
// weigh the same wherever they stand compares on the primary level as the
// concatenated bytes of its units' weights: ICU's primary weights have no
// zero byte inside and none is the beginning of another (which is also what
// its sort keys rest on; checked here on every weight of the table).
//
// A unit is contextual where its weights may depend on its neighbours: one
// unit of each contraction and prefix rule of the collator (the prolonged
// sound mark and the iteration marks after kana, the Thai vowels before a
// consonant...), chosen among the units of the rule as the one that stands in
// the most rules; every unit with a non-zero leading combining class (it may
// be reordered or joined with the character before it). Such texts are
// weighed by ICU's iterator as a whole.
class PrimaryTable
{
public:
    // Low byte of an entry: the number of weight bytes (0 to 7) that follow
    // in the higher bytes, or one of these.
    static constexpr quint64 Contextual = 0xFF;
    static constexpr quint64 Surrogate = 0xFE; // a pair is looked up as one code point
    static constexpr quint64 Long = 0xFD;      // the bytes lie in longBytes: offset << 24, length << 8
    static constexpr int MaxInline = 7;

    // Null when ICU refuses the collator or its weights are not as above.
    static const PrimaryTable *instance()
    {
        static const std::unique_ptr<PrimaryTable> table = [] {
            std::unique_ptr<PrimaryTable> made = build();
            s_made.store(true, std::memory_order_release);
            return made;
        }();
        return table.get();
    }
    // Whether instance() has made the table (or found it cannot be made).
    static bool made() { return s_made.load(std::memory_order_acquire); }

    quint64 unit(char16_t u) const { return m_units[u]; }
    const quint64 *units() const { return m_units.data(); }
    // True when every unit of text has its weights inline in its entry.
    bool weighsAlone(const QString &text) const
    {
        const auto *u = reinterpret_cast<const char16_t *>(text.constData());
        const auto *end = u + text.size();
        quint64 special = 0;
        for (; u != end; ++u)
            special |= m_special[*u >> 6] >> (*u & 63);
        return (special & 1) == 0;
    }
    const uint8_t *longBytes(quint64 entry) const { return m_longBytes.data() + (entry >> 24); }
    const LeadBytes &leadBytes() const { return m_lead; }
    // No contraction or prefix rule spans more units than this: one that
    // takes in a contextual unit ends at most this many units after it.
    std::size_t longestRule() const { return m_longestRule; }
    bool contextual(char32_t c) const
    {
        return u_getIntPropertyValue(UChar32(c), UCHAR_LEAD_CANONICAL_COMBINING_CLASS) != 0
               || std::binary_search(m_contextualAbove.begin(), m_contextualAbove.end(), c);
    }

private:
    static std::unique_ptr<PrimaryTable> build()
    {
        const Collator collator = openJapaneseCollator();
        const Elements elements = collator ? openElements(collator.get()) : Elements{};
        if (!elements)
            return {};
        auto table = std::make_unique<PrimaryTable>();
        const std::vector<char32_t> marked = contextualCodePoints(collator.get(), table->m_longestRule);
        if (marked.empty())
            return {};
        for (const char32_t c : marked) {
            if (c > 0xFFFF)
                table->m_contextualAbove.push_back(c);
        }
        // The raw weights of each unit, and what the keys of units of one
        // weight tell of the script moves.
        std::vector<quint32> weights;
        std::vector<quint32> firstWeight(0x10001, 0);
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            firstWeight[u] = quint32(weights.size());
            if (QChar::isSurrogate(u))
                continue;
            const char16_t unit = char16_t(u);
            if (!forEachPrimary(elements.get(), &unit, 1, [&](quint32 p) {
                    weights.push_back(p);
                    return true;
                }))
                return {};
            if (weights.size() - firstWeight[u] == 1) {
                uint8_t key[32];
                const int32_t length =
                    ucol_getSortKey(collator.get(), reinterpret_cast<const UChar *>(&unit), 1, key, sizeof key);
                if (!table->m_lead.learn(weights.back(), true, key, std::min<int32_t>(length, sizeof key)))
                    return {}; // a lead byte split between scripts: not handled here
            }
        }
        firstWeight[0x10000] = quint32(weights.size());
        std::vector<quint32> all; // every moved weight, for the check below
        table->m_units.assign(0x10000, Contextual);
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            quint64 &entry = table->m_units[u];
            if (QChar::isSurrogate(u)) {
                entry = Surrogate;
                continue;
            }
            if (table->contextual(u) || std::binary_search(marked.begin(), marked.end(), u))
                continue;
            std::vector<uint8_t> bytes;
            bool known = true;
            for (quint32 i = firstWeight[u]; i < firstWeight[u + 1]; ++i) {
                const quint32 moved = table->m_lead.moved(weights[i]);
                const int length = weightLength(moved);
                known = known && length > 0;
                all.push_back(moved);
                for (int b = 0; b < length; ++b)
                    bytes.push_back(uint8_t(moved >> (24 - 8 * b)));
            }
            if (!known)
                continue; // stays contextual: weighed by the iterator, which then gives up
            if (bytes.size() <= MaxInline) {
                entry = bytes.size();
                for (std::size_t b = 0; b < bytes.size(); ++b)
                    entry |= quint64(bytes[b]) << (8 * (b + 1));
            } else {
                entry = (quint64(table->m_longBytes.size()) << 24) | (quint64(bytes.size()) << 8) | Long;
                table->m_longBytes.insert(table->m_longBytes.end(), bytes.begin(), bytes.end());
            }
        }
        if (!prefixFree(all))
            return {};
        for (char32_t u = 0; u <= 0xFFFF; ++u) {
            if ((table->m_units[u] & 0xFF) > MaxInline)
                table->m_special[u >> 6] |= quint64(1) << (u & 63);
        }
        return table;
    }

    // One code point of each contraction and prefix rule of collator (its
    // strings hold the prefix and the character together), sorted.
    static std::vector<char32_t> contextualCodePoints(const UCollator *collator, std::size_t &longestRule)
    {
        longestRule = 1;
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<USet, decltype(&uset_close)> set(uset_openEmpty(), &uset_close);
        ucol_getContractionsAndExpansions(collator, set.get(), nullptr, true, &status);
        if (U_FAILURE(status))
            return {};
        std::vector<std::vector<char32_t>> rules;
        std::unordered_map<char32_t, int> rulesOf;
        std::vector<char32_t> marked;
        const int32_t items = uset_getItemCount(set.get());
        for (int32_t i = 0; i < items; ++i) {
            UChar32 start = 0, end = 0;
            UChar buffer[64];
            const int32_t length = uset_getItem(set.get(), i, &start, &end, buffer, 64, &status);
            if (U_FAILURE(status))
                return {};
            if (length == 0) { // single code points: take them all
                for (UChar32 c = start; c <= end; ++c)
                    marked.push_back(char32_t(c));
                continue;
            }
            longestRule = std::max(longestRule, std::size_t(length));
            std::vector<char32_t> rule;
            for (int32_t j = 0; j < length;) {
                UChar32 c = 0;
                U16_NEXT(buffer, j, length, c);
                rule.push_back(char32_t(c));
            }
            std::sort(rule.begin(), rule.end());
            rule.erase(std::unique(rule.begin(), rule.end()), rule.end());
            for (const char32_t c : rule)
                ++rulesOf[c];
            rules.push_back(std::move(rule));
        }
        // A rule applies only where all its code points stand in the text:
        // one of them marks it. Code points of many rules first, so that the
        // few marks of the prolonged sound and iteration marks cover the
        // kana's rules, and a noncharacter the index rules of 'か' and 'カ'.
        std::unordered_set<char32_t> chosen(marked.begin(), marked.end());
        for (const std::vector<char32_t> &rule : rules) {
            char32_t best = rule.front();
            bool covered = false;
            for (const char32_t c : rule) {
                covered = covered || chosen.count(c)
                          || u_getIntPropertyValue(UChar32(c), UCHAR_LEAD_CANONICAL_COMBINING_CLASS) != 0;
                if (rulesOf[c] > rulesOf[best])
                    best = c;
            }
            if (!covered)
                chosen.insert(best);
        }
        marked.assign(chosen.begin(), chosen.end());
        std::sort(marked.begin(), marked.end());
        return marked;
    }

    // True when no weight has a zero byte inside or is the beginning of
    // another.
    static bool prefixFree(std::vector<quint32> &weights)
    {
        std::sort(weights.begin(), weights.end());
        weights.erase(std::unique(weights.begin(), weights.end()), weights.end());
        for (std::size_t i = 0; i < weights.size(); ++i) {
            const int length = weightLength(weights[i]);
            if (length == 0)
                return false;
            // A longer weight that begins with this one follows it at once.
            if (i + 1 < weights.size() && length < 4) {
                const quint32 mask = ~quint32(0) << (8 * (4 - length));
                if ((weights[i + 1] & mask) == weights[i])
                    return false;
            }
        }
        return true;
    }

    std::vector<quint64> m_units;
    std::array<quint64, 1024> m_special{}; // a bit for every unit whose entry holds no weights
    std::vector<uint8_t> m_longBytes;
    std::vector<char32_t> m_contextualAbove; // marked code points above U+FFFF
    std::size_t m_longestRule = 1;           // UTF-16 units of the longest contraction or prefix rule
    LeadBytes m_lead;
    static inline std::atomic<bool> s_made{false};
};

// The keys of a sort in blocks that never move: a text's key is written at
// the end of the last block, or into a new block when it does not fit. Eight
// bytes after every key can be read (and are masked off).
class KeyArena
{
public:
    static constexpr std::size_t Slack = 8;

    uint8_t *begin()
    {
        m_text = m_next;
        return m_next;
    }
    // Room for n more bytes at out, within the text begun last; where out
    // lies now.
    uint8_t *room(uint8_t *out, std::size_t n)
    {
        if (out && std::size_t(m_end - out) >= n + Slack)
            return out;
        const std::size_t have = std::size_t(out - m_text);
        const std::size_t size = std::max<std::size_t>(BlockSize, 2 * (have + n) + Slack);
        m_blocks.push_back(std::make_unique<uint8_t[]>(size)); // zeroed: the slack is read
        uint8_t *block = m_blocks.back().get();
        if (have > 0)
            std::memcpy(block, m_text, have);
        m_text = m_next = block; // the text starts afresh here
        m_end = block + size;
        return block + have;
    }
    const uint8_t *begun() const { return m_text; }
    // Ends the text at out; where it starts, and its length.
    const uint8_t *finish(uint8_t *out, quint32 &length)
    {
        length = quint32(out - m_text);
        m_next = out;
        return m_text;
    }

private:
    static constexpr std::size_t BlockSize = std::size_t(4) << 20;
    std::vector<std::unique_ptr<uint8_t[]>> m_blocks;
    uint8_t *m_text = nullptr;
    uint8_t *m_next = nullptr;
    uint8_t *m_end = nullptr;
};

// A text's key among the keys being sorted, read 32 bytes (four words) at
// a time: the texts lie far apart, and every reach into one costs more than
// weighing its units. Most texts are weighed unit by unit from the table as
// the sort reaches deeper into their keys, so that no key is ever stored
// whole; the keys of the others are made beforehand (texts weighed by ICU's
// iterator, units of long weights or above U+FFFF, ICU's full sort keys).
struct KeyEntry {
    quint64 word;     // the key's eight bytes at the depth being sorted, big-endian, zeros after its end
    quint64 ahead[3]; // the words after it, as many as Ahead counts
    const void *next; // the next unit to weigh, or the next byte of a made key
    quint32 left;     // units or bytes from next on; above SkipShift, the bytes of next's weights already taken
    quint32 kind;     // the text's kind, MadeKey and the number of words ahead
};
// Below this many different texts a sort makes ICU's keys rather than the
// table of primary weights, unless the table exists already.
constexpr std::size_t TableWorthTexts = 40000;
constexpr quint32 MadeKey = 0x80000000u;
constexpr int AheadShift = 28;
constexpr quint32 Ahead = 3u << AheadShift;
constexpr quint32 KindBits = (1u << AheadShift) - 1;
constexpr int SkipShift = 29;
constexpr quint32 LeftBits = (1u << SkipShift) - 1;

// Sets the words of e from bytes (four words, big-endian, zeros after made).
inline void takeWords(KeyEntry &e, const uint8_t *bytes, std::size_t made)
{
    quint64 words[4];
    std::memcpy(words, bytes, sizeof words);
    e.word = qFromBigEndian(words[0]);
    for (int i = 0; i < 3; ++i)
        e.ahead[i] = qFromBigEndian(words[i + 1]);
    const quint32 ahead = made > 24 ? 3 : made > 16 ? 2 : made > 8 ? 1 : 0;
    e.kind = (e.kind & ~Ahead) | (ahead << AheadShift);
}

// The word of e's key after its present one; units is the table's entries.
// A word whose last byte is zero holds the key's end: keys have no zero
// byte.
inline void advance(KeyEntry &e, const quint64 *units)
{
    if (e.kind & Ahead) {
        e.word = e.ahead[0];
        e.ahead[0] = e.ahead[1];
        e.ahead[1] = e.ahead[2];
        e.kind -= 1u << AheadShift;
        return;
    }
    // The bytes are gathered in a buffer that holds zeros after them.
    uint8_t buffer[48] = {};
    if (e.kind & MadeKey) {
        const std::size_t take = std::min<std::size_t>(e.left, 32);
        std::memcpy(buffer, e.next, take);
        e.next = static_cast<const uint8_t *>(e.next) + take;
        e.left -= quint32(take);
        takeWords(e, buffer, take);
        return;
    }
    // The table's entries hold zeros after their bytes, and each write
    // starts where the last one's bytes end. A unit whose weights reach past
    // the four words is weighed again next time.
    const auto *unit = static_cast<const char16_t *>(e.next);
    quint32 left = e.left & LeftBits;
    std::size_t made = 0;
    std::size_t last = 0;
    if (const std::size_t skip = e.left >> SkipShift) {
        const quint64 entry = units[*unit++];
        --left;
        const quint64 bytes = qToLittleEndian((entry >> 8) >> (8 * skip));
        std::memcpy(buffer, &bytes, sizeof bytes);
        made = std::size_t(entry & 0xFF) - skip;
    }
    while (made < 32 && left > 0) {
        const quint64 entry = units[*unit++];
        --left;
        const quint64 bytes = qToLittleEndian(entry >> 8);
        std::memcpy(buffer + made, &bytes, sizeof bytes);
        last = std::size_t(entry & 0xFF);
        made += last;
    }
    takeWords(e, buffer, made);
    quint32 skip = 0;
    if (made > 32) {
        --unit;
        ++left;
        skip = quint32(last - (made - 32));
    }
    e.next = unit;
    e.left = left | (skip << SkipShift);
}

// Orders entries[begin, end) by their words when they hold few different
// ones (at most one in sixteen entries), and calls group(b, e) for each run
// of equal words. One pass counts the words, one moves each entry to its
// place (an American flag sort): where a long beginning is shared, a depth
// often holds a few hundred different words among a million entries, which
// a quicksort would pass over eight or nine times. False, and nothing moved,
// when the words are many.
template<typename Group>
bool distribute(std::vector<KeyEntry> &entries, std::size_t begin, std::size_t end, Group &&group)
{
    const std::size_t most = (end - begin) / 16;
    std::vector<quint64> words;
    std::vector<quint32> counts;
    std::vector<quint32> places(64, ~quint32(0)); // indexes into words, ~0 for none
    int bits = 6;
    auto slotOf = [&](quint64 word) {
        std::size_t slot = std::size_t((word * 0x9E3779B97F4A7C15ull) >> (64 - bits));
        while (places[slot] != ~quint32(0) && words[places[slot]] != word)
            slot = (slot + 1) & (places.size() - 1);
        return slot;
    };
    for (std::size_t i = begin; i < end; ++i) {
        const quint64 word = entries[i].word;
        std::size_t slot = slotOf(word);
        if (places[slot] == ~quint32(0)) {
            if (words.size() == most)
                return false;
            places[slot] = quint32(words.size());
            words.push_back(word);
            counts.push_back(0);
            if (words.size() * 2 > places.size()) {
                ++bits;
                places.assign(std::size_t(1) << bits, ~quint32(0));
                for (std::size_t w = 0; w < words.size(); ++w)
                    places[slotOf(words[w])] = quint32(w);
                slot = slotOf(word);
            }
        }
        ++counts[places[slot]];
    }
    // The groups in the order of their words; the places now name groups.
    std::vector<quint32> byWord(words.size());
    std::iota(byWord.begin(), byWord.end(), 0u);
    std::sort(byWord.begin(), byWord.end(), [&](quint32 a, quint32 b) { return words[a] < words[b]; });
    std::vector<quint32> groupOf(words.size());
    std::vector<std::size_t> next(words.size() + 1), stop(words.size());
    std::size_t at = begin;
    for (std::size_t g = 0; g < byWord.size(); ++g) {
        groupOf[byWord[g]] = quint32(g);
        next[g] = at;
        at += counts[byWord[g]];
        stop[g] = at;
    }
    next[words.size()] = end;
    auto groupOfWord = [&](quint64 word) { return groupOf[places[slotOf(word)]]; };
    for (std::size_t g = 0; g < byWord.size(); ++g) {
        while (next[g] < stop[g]) {
            KeyEntry held = entries[next[g]];
            for (quint32 h = groupOfWord(held.word); h != g; h = groupOfWord(held.word))
                std::swap(held, entries[next[h]++]);
            entries[next[g]++] = held;
        }
    }
    std::size_t first = begin;
    for (std::size_t g = 0; g < byWord.size(); ++g) {
        group(first, stop[g]);
        first = stop[g];
    }
    return true;
}

// Sorts entries by their keys, their first words loaded, and sets tied[i]
// where entry i's key equals entry i - 1's. A radix sort on eight-byte
// words: a range is sorted by its entries' words, and each run of equal
// words goes on at their next word, so a long beginning that many keys
// share is read once per key, not once per comparison.
void sortKeys(std::vector<KeyEntry> &entries, std::vector<uint8_t> &tied, const quint64 *units)
{
    struct Range {
        std::size_t begin, end;
    };
    std::vector<Range> ranges;
    auto goDeeper = [&](std::size_t begin, std::size_t end) {
        constexpr std::size_t Distance = 24;
        for (std::size_t i = begin; i < end; ++i) {
            if (i + Distance < end) {
                // The units of four words may reach into a second line.
                const auto *text = static_cast<const char *>(entries[i + Distance].next);
                __builtin_prefetch(text);
                __builtin_prefetch(text + 56);
            }
            advance(entries[i], units);
        }
    };
    // Entries of equal words: equal keys when the words hold their end,
    // else sorted on by their next words.
    auto equalWords = [&](std::size_t begin, std::size_t end) {
        if ((entries[begin].word & 0xFF) == 0) {
            for (std::size_t i = begin + 1; i < end; ++i)
                tied[i] = 1;
            return false;
        }
        goDeeper(begin, end);
        return true;
    };
    std::vector<std::pair<quint64, std::size_t>> keyed;
    if (entries.size() > 1)
        ranges.push_back({0, entries.size()});
    while (!ranges.empty()) {
        const Range r = ranges.back();
        ranges.pop_back();
        if (r.end - r.begin >= 256 && distribute(entries, r.begin, r.end, [&](std::size_t begin, std::size_t end) {
                if (end - begin > 1 && equalWords(begin, end))
                    ranges.push_back({begin, end});
            }))
            continue;
        const std::size_t size = r.end - r.begin;
        if (size <= 12) {
            for (std::size_t i = r.begin + 1; i < r.end; ++i) {
                const KeyEntry e = entries[i];
                std::size_t j = i;
                for (; j > r.begin && e.word < entries[j - 1].word; --j)
                    entries[j] = entries[j - 1];
                entries[j] = e;
            }
        } else {
            // Many different words: sorted as pairs of word and place, then
            // the entries follow their places in cycles.
            keyed.resize(size);
            for (std::size_t k = 0; k < size; ++k)
                keyed[k] = {entries[r.begin + k].word, k};
            std::sort(keyed.begin(), keyed.end());
            for (std::size_t start = 0; start < size; ++start) {
                if (keyed[start].second == start)
                    continue;
                const KeyEntry held = entries[r.begin + start];
                for (std::size_t k = start;;) {
                    const std::size_t from = keyed[k].second;
                    keyed[k].second = k;
                    if (from == start) {
                        entries[r.begin + k] = held;
                        break;
                    }
                    entries[r.begin + k] = entries[r.begin + from];
                    k = from;
                }
            }
        }
        for (std::size_t i = r.begin; i < r.end;) {
            std::size_t end = i + 1;
            while (end < r.end && entries[end].word == entries[i].word)
                ++end;
            if (end - i > 1 && equalWords(i, end))
                ranges.push_back({i, end});
            i = end;
        }
    }
}

// The rows of a store in the Japanese collation's order of one column's
// texts, stable. Each different text gets a key once: first the bytes of
// its primary weights from PrimaryTable, and only texts of equal primary
// weights are told apart by ICU's full sort key. Should the table not
// serve (an unknown script move), every text gets ICU's full sort key.
class JapaneseSortKeys
{
public:
    // The texts of a column without repeats, numbered ("kinds") in the
    // order they first appear. When the first rows show hardly any repeats,
    // looking for repeats would only cost: every later row is a kind of its
    // own, and neither list holds them.
    struct DistinctTexts {
        std::vector<quint32> kindOf;   // of the rows looked at
        std::vector<quint32> firstRow; // the first row of each kind among them
        qsizetype rows = 0;

        std::size_t kinds() const { return firstRow.size() + std::size_t(rows) - kindOf.size(); }
        qsizetype rowOf(std::size_t kind) const
        {
            return kind < firstRow.size() ? qsizetype(firstRow[kind])
                                          : qsizetype(kind - firstRow.size() + kindOf.size());
        }
        std::size_t kindOfRow(qsizetype row) const
        {
            return std::size_t(row) < kindOf.size() ? kindOf[std::size_t(row)]
                                                    : firstRow.size() + std::size_t(row) - kindOf.size();
        }
    };
    JapaneseSortKeys() : m_collator(openJapaneseCollator())
    {
        if (m_collator)
            m_elements = openElements(m_collator.get());
    }

    bool ok() const { return bool(m_collator); }

    QList<qsizetype> order(const CardStore &store, int column, Qt::SortOrder sortOrder, SortCardStoreReport *report)
    {
        const qsizetype n = store.count();
        double clock = report ? processSeconds() : 0;
        auto lap = [&](double SortCardStoreReport::*field) {
            if (!report)
                return;
            const double now = processSeconds();
            report->*field += now - clock;
            clock = now;
        };
        const DistinctTexts distinct = distinctTexts(store, column);
        const std::size_t kinds = distinct.kinds();
        auto textOf = [&](std::size_t kind) -> const QString & {
            return columnText(store, distinct.rowOf(kind), column);
        };

        std::vector<KeyEntry> entries;
        entries.reserve(kinds);
        auto arena = std::make_unique<KeyArena>();
        // The table costs about 20 ms, once per process: fewer texts are
        // keyed sooner by ICU alone, until some sort has made it.
        if (m_elements && (kinds >= TableWorthTexts || PrimaryTable::made())) {
            m_table = PrimaryTable::instance();
            if (m_table)
                m_lead = m_table->leadBytes();
        }
        bool primary = m_table != nullptr;
        qsizetype contextual = 0;
        const quint64 *units = primary ? m_table->units() : nullptr;
        for (std::size_t kind = 0; kind < kinds && primary; ++kind) {
            if (kind + PrefetchAhead < kinds)
                prefetch(textOf(kind + PrefetchAhead));
            const QString &text = textOf(kind);
            m_refused = m_refused || text.size() > qsizetype(LeftBits);
            KeyEntry e{0, {}, text.constData(), quint32(text.size()) & LeftBits, quint32(kind)};
            if (!m_table->weighsAlone(text)) {
                const int made = appendPrimary(text, *arena, e);
                contextual += made == 2;
                primary = made != 0;
            }
            advance(e, units);
            entries.push_back(e);
        }
        if (!primary) {
            entries.clear();
            arena = std::make_unique<KeyArena>();
            for (std::size_t kind = 0; kind < kinds; ++kind) {
                KeyEntry e{0, {}, nullptr, 0, quint32(kind)};
                appendFullKey(textOf(kind), *arena, e);
                advance(e, units);
                entries.push_back(e);
            }
        }
        if (m_refused)
            return {};
        lap(&SortCardStoreReport::keys);

        std::vector<uint8_t> tied(kinds, 0);
        sortKeys(entries, tied, units);
        lap(&SortCardStoreReport::sort);

        // Texts of equal primary weights in the order of their full keys,
        // and texts of equal keys in the order of their kinds (their first
        // rows); tied then marks equal full keys. Entries keep only their
        // kinds.
        qsizetype tiedTexts = 0;
        std::vector<std::pair<std::string, quint32>> run;
        for (std::size_t i = 0; i < kinds;) {
            std::size_t end = i + 1;
            while (end < kinds && tied[end])
                ++end;
            if (primary && end - i > 1) {
                tiedTexts += qsizetype(end - i);
                run.clear();
                for (std::size_t j = i; j < end; ++j)
                    run.emplace_back(fullKey(textOf(entries[j].kind & KindBits)), entries[j].kind & KindBits);
                std::sort(run.begin(), run.end());
                for (std::size_t j = 0; j < run.size(); ++j) {
                    entries[i + j].kind = run[j].second;
                    tied[i + j] = j > 0 && run[j].first == run[j - 1].first;
                }
            } else if (end - i > 1) {
                std::sort(
                    entries.begin() + qsizetype(i), entries.begin() + qsizetype(end),
                    [](const KeyEntry &a, const KeyEntry &b) { return (a.kind & KindBits) < (b.kind & KindBits); });
            }
            i = end;
        }
        arena.reset();
        if (report) {
            report->primaryWeights = primary;
            report->texts = qsizetype(kinds);
            report->contextual = contextual;
            report->tiedTexts = tiedTexts;
        }
        lap(&SortCardStoreReport::ties);
        QList<qsizetype> rows = std::size_t(n) == kinds ? rowsOfKinds(entries, tied, sortOrder)
                                                        : rowsByRank(entries, tied, distinct, sortOrder);
        lap(&SortCardStoreReport::ranks);
        return rows;
    }

private:
    // The rows when every row is a text of its own (its kind is its row):
    // the entries in order, or their groups of equal keys in reverse order;
    // a group's rows in their order (as the entries hold them).
    static QList<qsizetype> rowsOfKinds(const std::vector<KeyEntry> &entries, const std::vector<uint8_t> &tied,
                                        Qt::SortOrder sortOrder)
    {
        const std::size_t n = entries.size();
        QList<qsizetype> rows;
        rows.reserve(qsizetype(n));
        if (sortOrder == Qt::AscendingOrder) {
            for (const KeyEntry &e : entries)
                rows.append(qsizetype(e.kind & KindBits));
        } else {
            for (std::size_t end = n; end > 0;) {
                std::size_t i = end - 1;
                while (i > 0 && tied[i])
                    --i;
                for (std::size_t j = i; j < end; ++j)
                    rows.append(qsizetype(entries[j].kind & KindBits));
                end = i;
            }
        }
        return rows;
    }

    // The rows by the rank of their text, each rank's rows in their order (a
    // counting sort); texts of equal keys share their rank.
    static QList<qsizetype> rowsByRank(std::vector<KeyEntry> &entries, std::vector<uint8_t> &tied,
                                       const DistinctTexts &distinct, Qt::SortOrder sortOrder)
    {
        const std::size_t kinds = entries.size();
        std::vector<quint32> rankOf(kinds, 0);
        quint32 rank = 0;
        for (std::size_t i = 0; i < kinds; ++i) {
            rank += i > 0 && !tied[i];
            rankOf[entries[i].kind & KindBits] = rank;
        }
        const quint32 ranks = kinds == 0 ? 0 : rank + 1;
        entries = {};
        tied = {};
        std::vector<quint32> firstOfRank(std::size_t(ranks) + 1, 0);
        auto rankOfRow = [&](qsizetype row) {
            const quint32 r = rankOf[distinct.kindOfRow(row)];
            return sortOrder == Qt::AscendingOrder ? r : ranks - 1 - r;
        };
        for (qsizetype row = 0; row < distinct.rows; ++row)
            ++firstOfRank[std::size_t(rankOfRow(row)) + 1];
        for (std::size_t r = 1; r < firstOfRank.size(); ++r)
            firstOfRank[r] += firstOfRank[r - 1];
        QList<qsizetype> rows(distinct.rows);
        for (qsizetype row = 0; row < distinct.rows; ++row)
            rows[firstOfRank[std::size_t(rankOfRow(row))]++] = row;
        return rows;
    }

    static DistinctTexts distinctTexts(const CardStore &store, int column)
    {
        const qsizetype n = store.count();
        DistinctTexts d;
        d.rows = n;
        d.kindOf.reserve(std::size_t(n));
        std::size_t capacity = 1024;
        std::vector<qint64> table(capacity, -1); // kinds, -1 for none
        std::vector<quint64> hashes;
        for (qsizetype row = 0; row < n; ++row) {
            if (row + PrefetchAhead < n)
                prefetch(columnText(store, row + PrefetchAhead, column));
            const QString &text = columnText(store, row, column);
            const quint64 hash = textHash(text);
            std::size_t slot = std::size_t(hash) & (capacity - 1);
            qint64 kind = -1;
            while (table[slot] >= 0) {
                const auto k = std::size_t(table[slot]);
                if (hashes[k] == hash && columnText(store, d.firstRow[k], column) == text) {
                    kind = qint64(k);
                    break;
                }
                slot = (slot + 1) & (capacity - 1);
            }
            if (kind < 0) {
                kind = qint64(d.firstRow.size());
                d.firstRow.push_back(quint32(row));
                hashes.push_back(hash);
                table[slot] = kind;
                if (d.firstRow.size() * 2 > capacity) {
                    capacity *= 2;
                    table.assign(capacity, -1);
                    for (std::size_t k = 0; k < hashes.size(); ++k) {
                        std::size_t s = std::size_t(hashes[k]) & (capacity - 1);
                        while (table[s] >= 0)
                            s = (s + 1) & (capacity - 1);
                        table[s] = qint64(k);
                    }
                }
            }
            d.kindOf.push_back(quint32(kind));
            // Mostly different texts so far: give up looking.
            if (row == 4095 && d.firstRow.size() > 2048)
                break;
        }
        return d;
    }

    // Asks for a text's first units ahead of their use: the texts of a
    // million cards are far apart, and waiting for each cost more than the
    // rest of making its key.
    static void prefetch(const QString &text)
    {
        __builtin_prefetch(text.constData());
        __builtin_prefetch(reinterpret_cast<const char *>(text.constData()) + 64);
    }
    static constexpr qsizetype PrefetchAhead = 16;

    static quint64 textHash(const QString &text)
    {
        // 64-bit FNV-1a over four UTF-16 units at a time, mixed at the end.
        quint64 h = 0xcbf29ce484222325ull ^ quint64(text.size());
        const auto *p = reinterpret_cast<const char16_t *>(text.utf16());
        qsizetype i = 0;
        const qsizetype size = text.size();
        for (; i + 4 <= size; i += 4) {
            quint64 word;
            std::memcpy(&word, p + i, sizeof word);
            h = (h ^ word) * 0x100000001b3ull;
            h ^= h >> 29;
        }
        for (; i < size; ++i)
            h = (h ^ p[i]) * 0x100000001b3ull;
        h ^= h >> 33;
        h *= 0xff51afd7ed558ccdull;
        h ^= h >> 33;
        return h;
    }

    // Writes the bytes of text's primary weights as e's key. 1 when they
    // came from the table, 2 from ICU's iterator over the text or its head,
    // 0 when a weight's script move is unknown.
    int appendPrimary(const QString &text, KeyArena &arena, KeyEntry &e)
    {
        const auto *units = reinterpret_cast<const char16_t *>(text.utf16());
        const std::size_t size = std::size_t(text.size());
        return appendPrimaryFrom(units, size, 0, arena.room(arena.begin(), size * PrimaryTable::MaxInline), arena, e);
    }

    // The same for units[first, size), the bytes of those before written up
    // to out, which has room for the rest.
    int appendPrimaryFrom(const char16_t *units, std::size_t size, std::size_t first, uint8_t *out, KeyArena &arena,
                          KeyEntry &e)
    {
        constexpr std::size_t Most = PrimaryTable::MaxInline;
        for (std::size_t i = first; i < size; ++i) {
            const quint64 entry = m_table->unit(units[i]);
            const quint64 length = entry & 0xFF;
            if (length <= Most) {
                // Eight bytes written, length of them kept: the room holds them.
                const quint64 bytes = qToLittleEndian(entry >> 8);
                std::memcpy(out, &bytes, sizeof bytes);
                out += length;
                continue;
            }
            const uint8_t *from = nullptr;
            std::size_t count = 0;
            std::size_t next = i + 1;
            if (length == PrimaryTable::Long) {
                from = m_table->longBytes(entry);
                count = std::size_t((entry >> 8) & 0xFFFF);
            } else if (length == PrimaryTable::Surrogate && QChar::isHighSurrogate(units[i]) && next < size
                       && QChar::isLowSurrogate(units[next])) {
                const Supplementary *s = supplementary(QChar::surrogateToUcs4(units[i], units[next]));
                if (!s)
                    return 0;
                if (s->contextual)
                    return appendWholePrimary(units, size, arena, e);
                from = s->bytes.data();
                count = s->bytes.size();
                ++next;
            } else if (length == PrimaryTable::Contextual) {
                return appendContextualPrimary(units, size, arena, e);
            } else {
                return appendWholePrimary(units, size, arena, e); // an unpaired surrogate
            }
            out = arena.room(out, count + (size - next) * Most);
            std::memcpy(out, from, count);
            out += count;
            i = next - 1;
        }
        made(arena, out, e);
        return 1;
    }

    // The key written to the arena up to out is e's.
    void made(KeyArena &arena, uint8_t *out, KeyEntry &e)
    {
        const uint8_t *start = arena.begun();
        m_refused = m_refused || std::size_t(out - start) > LeftBits;
        quint32 length = 0;
        e.next = arena.finish(out, length);
        e.left = length & LeftBits;
        e.kind |= MadeKey;
    }

    // A text with a contextual unit. No rule reaches further than the
    // longest rule past the last contextual unit, so ICU's iterator weighs
    // the text up to there (its head) and the table the rest, unit by unit.
    // Heads met before come from m_heads: titles share beginnings (a date,
    // a group, a phrase), where the iterator costs a microsecond a text.
    int appendContextualPrimary(const char16_t *units, std::size_t size, KeyArena &arena, KeyEntry &e)
    {
        constexpr std::size_t Most = PrimaryTable::MaxInline;
        // The last unit that is contextual or may be: a surrogate's code
        // point may mark a rule of its own.
        std::size_t last = size;
        for (std::size_t i = size; i-- > 0;) {
            const quint64 kind = m_table->unit(units[i]) & 0xFF;
            if (kind == PrimaryTable::Contextual || kind == PrimaryTable::Surrogate) {
                last = i;
                break;
            }
        }
        const std::size_t head = last + m_table->longestRule();
        if (last == size || head >= size)
            return appendWholePrimary(units, size, arena, e);
        const std::u16string key(units, head);
        auto found = m_heads.find(key);
        if (found == m_heads.end()) {
            if (!weighByIterator(units, head))
                return 0;
            // A weight whose script move is not known yet is learnt from
            // the whole text's key.
            if (m_weights.empty() || m_lead.moved(m_weights.front()) == 0)
                return appendWholePrimary(units, size, arena, e);
            std::string bytes;
            if (!putMovedWeights(m_weights, [&](uint8_t b) { bytes.push_back(char(b)); }))
                return 0;
            if (m_heads.size() >= MostHeads)
                m_heads.clear();
            found = m_heads.emplace(key, std::move(bytes)).first;
        }
        const std::string &bytes = found->second;
        uint8_t *out = arena.room(arena.begin(), bytes.size() + (size - head) * Most);
        std::memcpy(out, bytes.data(), bytes.size());
        // No unit after the head is contextual or a surrogate: the table
        // weighs them.
        return appendPrimaryFrom(units, size, head, out + bytes.size(), arena, e) == 0 ? 0 : 2;
    }

    // The same through ICU's iterator over the whole text.
    int appendWholePrimary(const char16_t *units, std::size_t size, KeyArena &arena, KeyEntry &e)
    {
        // The script moves of the supplementary characters are learnt from
        // them alone.
        for (std::size_t i = 0; i + 1 < size; ++i) {
            if (QChar::isHighSurrogate(units[i]) && QChar::isLowSurrogate(units[i + 1])
                && !supplementary(QChar::surrogateToUcs4(units[i], units[i + 1])))
                return 0;
        }
        if (!weighByIterator(units, size))
            return 0;
        // A contraction may weigh more than its characters alone: its
        // script's move is learnt from the text's key when it comes first.
        if (!m_weights.empty() && m_lead.moved(m_weights.front()) == 0) {
            const std::string key = fullKey(QString::fromUtf16(units, qsizetype(size)));
            if (!m_lead.learn(m_weights.front(), m_weights.size() == 1, reinterpret_cast<const uint8_t *>(key.data()),
                              int32_t(key.size())))
                return 0;
        }
        uint8_t *out = arena.room(arena.begin(), m_weights.size() * 4);
        if (!putMovedWeights(m_weights, [&](uint8_t b) { *out++ = b; }))
            return 0;
        made(arena, out, e);
        return 2;
    }

    // The primary weights of units by ICU's iterator, into m_weights.
    bool weighByIterator(const char16_t *units, std::size_t size)
    {
        m_weights.clear();
        return forEachPrimary(m_elements.get(), units, qsizetype(size), [&](quint32 weight) {
            m_weights.push_back(weight);
            return true;
        });
    }

    // Hands put the bytes of weights as the collator compares them; false
    // when a weight's script move is unknown.
    template<typename Put>
    bool putMovedWeights(const std::vector<quint32> &weights, Put &&put) const
    {
        for (const quint32 weight : weights) {
            const quint32 moved = m_lead.moved(weight);
            const int length = weightLength(moved);
            if (length == 0)
                return false;
            for (int b = 0; b < length; ++b)
                put(uint8_t(moved >> (24 - 8 * b)));
        }
        return true;
    }

    // ICU's sort key of text as e's key, without its final zero.
    void appendFullKey(const QString &text, KeyArena &arena, KeyEntry &e)
    {
        std::size_t capacity = std::size_t(text.size()) * 4 + 16;
        uint8_t *out = arena.room(arena.begin(), capacity);
        for (;;) {
            const int32_t length = ucol_getSortKey(m_collator.get(), reinterpret_cast<const UChar *>(text.utf16()),
                                                   int32_t(text.size()), out, int32_t(capacity));
            if (length <= 0) { // no key (never for valid input): the empty key sorts first
                made(arena, out, e);
                return;
            }
            if (std::size_t(length) <= capacity) {
                made(arena, out + length - 1, e);
                return;
            }
            capacity = std::size_t(length);
            out = arena.room(out, capacity);
        }
    }

    std::string fullKey(const QString &text) const
    {
        std::string key(std::size_t(text.size()) * 4 + 16, '\0');
        for (;;) {
            const int32_t length =
                ucol_getSortKey(m_collator.get(), reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()),
                                reinterpret_cast<uint8_t *>(key.data()), int32_t(key.size()));
            if (length <= 0)
                return {};
            if (std::size_t(length) <= key.size()) {
                key.resize(std::size_t(length) - 1);
                return key;
            }
            key.resize(std::size_t(length));
        }
    }

    // The weights of a code point above U+FFFF, worked out when first met;
    // null when a script move is unknown or contradicts the table.
    struct Supplementary {
        bool contextual = false;
        std::vector<uint8_t> bytes;
    };
    const Supplementary *supplementary(char32_t c)
    {
        const auto found = m_supplementary.find(c);
        if (found != m_supplementary.end())
            return &found->second;
        const char16_t pair[2] = {QChar::highSurrogate(c), QChar::lowSurrogate(c)};
        std::vector<quint32> weights;
        if (!forEachPrimary(m_elements.get(), pair, 2, [&](quint32 weight) {
                weights.push_back(weight);
                return true;
            }))
            return nullptr;
        if (weights.size() == 1) {
            uint8_t key[64];
            const int32_t length = ucol_getSortKey(m_collator.get(), reinterpret_cast<const UChar *>(pair), 2, key, 64);
            if (!m_lead.learn(weights.front(), true, key, std::min<int32_t>(length, 64)))
                return nullptr;
        }
        Supplementary s;
        s.contextual = m_table->contextual(c);
        if (!putMovedWeights(weights, [&](uint8_t b) { s.bytes.push_back(b); }))
            return nullptr;
        return &m_supplementary.emplace(c, std::move(s)).first->second;
    }

    Collator m_collator;
    Elements m_elements;
    bool m_refused = false; // a text too long for a key entry
    const PrimaryTable *m_table = nullptr;
    LeadBytes m_lead; // the table's, and what supplementary characters and contractions add
    std::vector<quint32> m_weights;
    std::unordered_map<char32_t, Supplementary> m_supplementary;
    // The weight bytes of heads of contextual texts, by head; emptied when
    // full, so that a sort of texts that share none holds little.
    static constexpr std::size_t MostHeads = 1 << 14;
    std::unordered_map<std::u16string, std::string> m_heads;
};

// The same through QCollator, should ICU refuse the collator.
QList<qsizetype> collatorOrder(const CardStore &store, int column, Qt::SortOrder order)
{
    const qsizetype n = store.count();
    QCollator collator{QLocale(QLocale::Japanese)};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    collator.setNumericMode(false);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(std::size_t(n));
    for (qsizetype row = 0; row < n; ++row)
        keys.push_back(collator.sortKey(columnText(store, row, column)));
    QList<qsizetype> rows(n);
    std::iota(rows.begin(), rows.end(), qsizetype(0));
    if (order == Qt::AscendingOrder)
        std::stable_sort(rows.begin(), rows.end(), [&](qsizetype a, qsizetype b) {
            return keys[std::size_t(a)].compare(keys[std::size_t(b)]) < 0;
        });
    else
        std::stable_sort(rows.begin(), rows.end(), [&](qsizetype a, qsizetype b) {
            return keys[std::size_t(b)].compare(keys[std::size_t(a)]) < 0;
        });
    return rows;
}

} // namespace

void SortCardStore(CardStore &store, int column, Qt::SortOrder order, SortCardStoreReport *report)
{
    if (report)
        *report = {};
    const qsizetype n = store.count();
    if (column < 0 || column >= CardStore::ColumnCount || n < 2)
        return;
    QList<qsizetype> rows;
    {
        // ICU's collator refused, or texts too many or too long for a key
        // entry: QCollator's keys.
        JapaneseSortKeys icu;
        if (icu.ok() && n <= qsizetype(KindBits))
            rows = icu.order(store, column, order, report);
        rows = changedOrder(rows.isEmpty() ? collatorOrder(store, column, order) : std::move(rows));
    }
    if (!rows.isEmpty()) {
        const double start = report ? processSeconds() : 0;
        store.reorder(rows);
        if (report)
            report->reorder = processSeconds() - start;
    }
}

CardSorting::CardSorting(CardStore &main, CardStore &extraction, SettingsModel &settings) : m_settings(settings)
{
    m_lists[MainList].store = &main;
    m_lists[ExtractionList].store = &extraction;
    for (List &l : m_lists) {
        for (int c = 0; c < 3; ++c)
            l.captions[c] = l.store->headerData(c, Qt::Horizontal).toString();
    }
    follow(MainList);
    follow(ExtractionList);
}

void CardSorting::follow(int list)
{
    const CardStore *store = m_lists[list].store;
    auto forget = [this, list] { m_inOrder[list] = State{}; };
    QObject::connect(store, &QAbstractItemModel::dataChanged, &m_watch,
                     [forget](const QModelIndex &, const QModelIndex &, const QList<int> &roles) {
                         // An icon change leaves the texts, and so the order.
                         if (roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole))
                             forget();
                     });
    QObject::connect(store, &QAbstractItemModel::rowsInserted, &m_watch, forget);
    QObject::connect(store, &QAbstractItemModel::rowsMoved, &m_watch, forget);
    QObject::connect(store, &QAbstractItemModel::layoutChanged, &m_watch, forget);
    QObject::connect(store, &QAbstractItemModel::modelReset, &m_watch, forget);
}

void CardSorting::changed(int list)
{
    if (onCaptionsChanged)
        onCaptionsChanged(list);
}

void CardSorting::setCaptions(const std::array<QString, 3> &captions)
{
    for (int list = 0; list < 2; ++list) {
        m_lists[list].captions = captions;
        changed(list);
    }
}

void CardSorting::removeMarks(int list)
{
    for (QString &caption : m_lists[list].captions)
        caption = SortMark::removed(caption);
}

void CardSorting::mark(int list, int column, int order)
{
    m_lists[list].captions[column] += order == 0 ? SortMark::Ascending : SortMark::Descending;
}

void CardSorting::sortNow(int list)
{
    const State s = m_lists[list].state;
    if (!s.sorted)
        return;
    SortCardStore(*m_lists[list].store, s.column, s.order == 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
    m_inOrder[list] = s;
}

void CardSorting::resortFreshExtraction()
{
    const State s = m_lists[ExtractionList].state;
    // A stable sort of cards taken in order from a list sorted the same way
    // leaves them as they are.
    if (s.sorted && m_inOrder[MainList] == s)
        m_inOrder[ExtractionList] = s;
    else
        sortNow(ExtractionList);
}

void CardSorting::store(int column, int style)
{
    if (!m_settings.FileSettingsActive())
        return;
    m_settings.setInteger(SettingKey::SortStyle, style);
    m_settings.setInteger(SettingKey::SortColumn, column);
}

void CardSorting::click(int list, int column)
{
    State &s = m_lists[list].state;
    removeMarks(list);
    // Only the column a list is sorted by turns round; any other (or the
    // first click after a cancel) starts ascending.
    if (s.sorted && s.column == column)
        s.order = s.order == 0 ? 1 : 0;
    else
        s.order = 0;
    mark(list, column, s.order);
    s.column = column;
    s.sorted = true;
    sortNow(list);
    changed(list);
}

void CardSorting::headerClicked(int list, int column)
{
    if ((list != MainList && list != ExtractionList) || column < 0 || column > 2)
        return;
    if (list == ExtractionList) {
        click(ExtractionList, column);
        return;
    }
    if (m_settings.isOn(SettingKey::NoSort))
        return;
    click(MainList, column);
    store(column, m_lists[MainList].state.order);
    click(ExtractionList, column);
}

void CardSorting::sortCommand()
{
    if (m_settings.isOn(SettingKey::NoSort))
        return;
    for (int list = 0; list < 2; ++list) {
        removeMarks(list);
        mark(list, 0, 0);
        m_lists[list].state = State{true, 0, 0};
        sortNow(list);
        changed(list);
    }
    store(0, 0);
}

void CardSorting::cancelSort(int list)
{
    if (list != MainList && list != ExtractionList)
        return;
    removeMarks(list);
    m_lists[list].state.sorted = false;
    changed(list);
    store(-1, 0);
}

void CardSorting::restore(int column, int style)
{
    if (column < 0 || column > 2)
        return;
    const int order = style == 1 ? 1 : 0;
    for (int list = 0; list < 2; ++list) {
        removeMarks(list);
        mark(list, column, order);
        m_lists[list].state = State{true, column, order};
        sortNow(list);
        changed(list);
    }
}

void CardSorting::applySettings(const AppliedSettings &values, int currentList)
{
    setCaptions(values.columnCaptions);
    if (values.sort == AppliedSettings::SortAction::Restore)
        restore(values.sortColumn, values.sortStyle);
    else
        cancelSort(currentList);
    // The captions came fresh from the settings: a list that stays sorted
    // shows its mark again.
    for (int list = 0; list < 2; ++list) {
        const State &s = m_lists[list].state;
        const QString &caption = m_lists[list].captions[s.column];
        const QChar wanted = s.order == 0 ? SortMark::Ascending : SortMark::Descending;
        if (s.sorted && !caption.endsWith(wanted)) {
            removeMarks(list);
            mark(list, s.column, s.order);
            changed(list);
        }
    }
}

void CardSorting::resort(int list)
{
    if (list == MainList || list == ExtractionList)
        sortNow(list);
}
