#include "core/search/cardmatch.h"

#include "core/cards/cardstore.h"
#include "core/cards/titlefield.h"
#include "core/search/textfold.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Whether text holds a UTF-16 surrogate. Text without one is valid UTF-16,
// and the pattern engine may skip its own check of it: that check rescans
// every card, while this loop runs on vector instructions.
bool hasSurrogate(QStringView text)
{
    const char16_t *p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
#if defined(__SSE2__)
    // Units 0xD800..0xDFFF are those that, masked with 0xF800, equal 0xD800.
    const __m128i mask = _mm_set1_epi16(short(0xF800));
    const __m128i surrogate = _mm_set1_epi16(short(0xD800));
    for (; i + 8 <= n; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i *>(p + i));
        if (_mm_movemask_epi8(_mm_cmpeq_epi16(_mm_and_si128(v, mask), surrogate)))
            return true;
    }
#endif
    for (; i < n; ++i) {
        if ((p[i] & 0xF800) == 0xD800)
            return true;
    }
    return false;
}

bool patternMatches(const QRegularExpression &pattern, QStringView text)
{
    return pattern
        .match(text, 0, QRegularExpression::NormalMatch,
               hasSurrogate(text) ? QRegularExpression::NoMatchOption
                                  : QRegularExpression::DontCheckSubjectStringMatchOption)
        .hasMatch();
}

} // namespace

QString CardText(const Card &card)
{
    QString text;
    CardTextInto(card, text);
    return text;
}

void CardTextInto(const Card &card, QString &out)
{
    out.resize(0);
    out.reserve(card.title.size() + card.remarks.size() + card.content.size());
    out += card.title;
    out += card.remarks;
    out += card.content;
}

// ---------------------------------------------------------------- cache

CardTextCache::CardTextCache(const CardStore &store, QObject *parent) : QObject(parent), m_store(store)
{
    m_entries.resize(store.count());
    connect(&store, &QAbstractItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight, const QList<int> &roles) {
                // An icon change leaves the texts as they were.
                if (!roles.isEmpty() && !roles.contains(Qt::DisplayRole) && !roles.contains(Qt::EditRole))
                    return;
                invalidate(topLeft.row(), bottomRight.row());
            });
    connect(&store, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { rowsInserted(first, last); });
    connect(&store, &QAbstractItemModel::rowsRemoved, this,
            [this](const QModelIndex &, int first, int last) { rowsRemoved(first, last); });
    connect(&store, &QAbstractItemModel::modelReset, this, &CardTextCache::clear);
    connect(&store, &QAbstractItemModel::layoutAboutToBeChanged, this, &CardTextCache::layoutAboutToChange);
    connect(&store, &QAbstractItemModel::layoutChanged, this, &CardTextCache::layoutChanged);
    // Rows that move keep their texts, but the cache is by row.
    connect(&store, &QAbstractItemModel::rowsMoved, this, &CardTextCache::clear);
}

const QString &CardTextCache::folded(qsizetype row)
{
    // A store changed without telling (it never is, but a wrong size must
    // not read past the end) starts the cache afresh.
    if (m_entries.size() != m_store.count())
        clear();
    Entry &e = m_entries[row];
    if (!e.valid) {
        const Card &card = m_store.at(row);
        e.folded.resize(0);
        e.folded.reserve(card.title.size() + card.remarks.size() + card.content.size());
        TextFold::appendFolded(card.title, e.folded);
        TextFold::appendFolded(card.remarks, e.folded);
        TextFold::appendFolded(card.content, e.folded);
        e.folded.squeeze();
        e.valid = true;
    }
    return e.folded;
}

qsizetype CardTextCache::foldedCount() const
{
    qsizetype n = 0;
    for (const Entry &e : m_entries)
        n += e.valid ? 1 : 0;
    return n;
}

void CardTextCache::clear()
{
    m_entries.clear();
    m_entries.resize(m_store.count());
}

void CardTextCache::invalidate(qsizetype first, qsizetype last)
{
    if (m_entries.size() != m_store.count()) {
        clear();
        return;
    }
    for (qsizetype row = std::max<qsizetype>(first, 0); row <= last && row < m_entries.size(); ++row) {
        m_entries[row].valid = false;
        m_entries[row].folded = QString();
    }
}

void CardTextCache::rowsInserted(qsizetype first, qsizetype last)
{
    const qsizetype n = last - first + 1;
    if (first < 0 || n <= 0 || first > m_entries.size() || m_entries.size() + n != m_store.count()) {
        clear();
        return;
    }
    m_entries.insert(first, n, Entry());
}

void CardTextCache::rowsRemoved(qsizetype first, qsizetype last)
{
    const qsizetype n = last - first + 1;
    if (first < 0 || n <= 0 || first + n > m_entries.size() || m_entries.size() - n != m_store.count()) {
        clear();
        return;
    }
    m_entries.remove(first, n);
}

void CardTextCache::layoutAboutToChange()
{
    m_byKey.clear();
    if (m_entries.size() != m_store.count())
        return;
    for (qsizetype row = 0; row < m_entries.size(); ++row) {
        if (m_entries[row].valid)
            m_byKey.insert(m_store.at(row).key, std::move(m_entries[row].folded));
    }
}

void CardTextCache::layoutChanged()
{
    m_entries.clear();
    m_entries.resize(m_store.count());
    if (!m_byKey.isEmpty()) {
        for (qsizetype row = 0; row < m_entries.size(); ++row) {
            auto it = m_byKey.find(m_store.at(row).key);
            if (it == m_byKey.end())
                continue;
            m_entries[row].folded = std::move(*it);
            m_entries[row].valid = true;
        }
    }
    m_byKey.clear();
}

// ---------------------------------------------------------------- matcher

CardMatcher::CardMatcher(const QString &keyword, MatchMode mode) : m_keyword(keyword), m_mode(mode)
{
    if (mode == MatchMode::WithoutGroup)
        return;
    if (keyword.isEmpty()) {
        m_nothing = true;
        return;
    }
    if (mode == MatchMode::PlainText) {
        m_foldedKeyword = TextFold::folded(keyword);
        m_matcher.setPattern(m_foldedKeyword);
        m_unfolded = TextFold::searchableUnfolded(m_foldedKeyword);
        return;
    }
    m_pattern.setPattern(keyword);
    m_pattern.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
    if (!m_pattern.isValid()) {
        m_nothing = true;
        return;
    }
    m_pattern.optimize();
}

bool CardMatcher::matchesText(QStringView cardText) const
{
    if (m_nothing || m_mode == MatchMode::WithoutGroup)
        return false;
    if (m_mode == MatchMode::PlainText && m_unfolded)
        return m_matcher.indexIn(cardText) >= 0;
    if (m_mode == MatchMode::PlainText) {
        const QString folded = TextFold::folded(cardText);
        return m_matcher.indexIn(folded) >= 0;
    }
    return patternMatches(m_pattern, cardText);
}

bool CardMatcher::matches(const Card &card) const
{
    if (m_nothing)
        return false;
    if (m_mode == MatchMode::WithoutGroup)
        return !card.title.contains(TitleField::GroupMark);
    if (m_mode == MatchMode::PlainText && !m_unfolded) {
        // Folded straight into the buffer: no string made per card.
        m_buffer.resize(0);
        TextFold::appendFolded(card.title, m_buffer);
        TextFold::appendFolded(card.remarks, m_buffer);
        TextFold::appendFolded(card.content, m_buffer);
        return m_matcher.indexIn(m_buffer) >= 0;
    }
    if (m_mode == MatchMode::PlainText) {
        // Field by field, without joining the card text: a keyword within one
        // field, or one running across a field's end, which lies within the
        // remarks and the keyword's length less one on either side of them.
        if (m_matcher.indexIn(card.title) >= 0 || m_matcher.indexIn(card.content) >= 0)
            return true;
        const qsizetype reach = m_foldedKeyword.size() - 1;
        m_buffer.resize(0);
        m_buffer += QStringView(card.title).right(reach);
        m_buffer += card.remarks;
        m_buffer += QStringView(card.content).left(reach);
        return m_matcher.indexIn(m_buffer) >= 0;
    }
    CardTextInto(card, m_buffer);
    return patternMatches(m_pattern, m_buffer);
}

bool CardMatcher::matches(const CardStore &store, qsizetype row, CardTextCache *cache) const
{
    if (m_nothing || row < 0 || row >= store.count())
        return false;
    if (m_mode == MatchMode::PlainText && !m_unfolded && cache && &cache->store() == &store)
        return m_matcher.indexIn(cache->folded(row)) >= 0;
    return matches(store.at(row));
}
