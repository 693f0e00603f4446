#include "core/search/cardsort.h"

#include "core/cards/cardstore.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"

#include <QCollator>
#include <QLocale>

#include <algorithm>
#include <cstring>
#include <numeric>
#include <unicode/ucol.h>
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

// The collation of QCollator for QLocale::Japanese, case-insensitive and
// without numeric mode, straight from ICU: the sort keys of the different
// texts go into one buffer, and the sort compares their first eight bytes as
// one number before it reads on.
class JapaneseSortKeys
{
public:
    JapaneseSortKeys()
    {
        UErrorCode status = U_ZERO_ERROR;
        m_collator = ucol_open("ja", &status);
        ucol_setAttribute(m_collator, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
        ucol_setAttribute(m_collator, UCOL_STRENGTH, UCOL_SECONDARY, &status);
        ucol_setAttribute(m_collator, UCOL_NUMERIC_COLLATION, UCOL_OFF, &status);
        ucol_setAttribute(m_collator, UCOL_ALTERNATE_HANDLING, UCOL_NON_IGNORABLE, &status);
        m_ok = U_SUCCESS(status) && m_collator;
    }
    ~JapaneseSortKeys()
    {
        if (m_collator)
            ucol_close(m_collator);
    }
    JapaneseSortKeys(const JapaneseSortKeys &) = delete;
    JapaneseSortKeys &operator=(const JapaneseSortKeys &) = delete;

    bool ok() const { return m_ok; }

    // The rows of store in the order of their column's text. Equal texts
    // share one key: a column often holds the same text many times (empty
    // remarks, a title used day after day), and a key costs far more than
    // finding the text again. Cards with equal keys keep their order.
    QList<qsizetype> order(const CardStore &store, int column, Qt::SortOrder sortOrder)
    {
        const qsizetype n = store.count();
        const DistinctTexts distinct = distinctTexts(store, column);
        const qsizetype kinds = distinct.firstRow.size();

        struct Entry {
            quint64 head;    // the first eight bytes of the key, big-endian
            qsizetype start; // where the key lies in keys
            qsizetype kind;
        };
        std::vector<Entry> entries(std::size_t(kinds), Entry{});
        std::vector<char> keys;
        keys.reserve(std::size_t(kinds) * 48);
        for (qsizetype kind = 0; kind < kinds; ++kind) {
            const QString &text = columnText(store, distinct.firstRow[kind], column);
            entries[std::size_t(kind)] = Entry{0, appendKey(text, keys), kind};
        }
        // Eight bytes past the end are read below: keep them in the buffer.
        keys.resize(keys.size() + 8, 0);
        const char *base = keys.data();
        for (Entry &e : entries) {
            // The key ends in a zero byte; what follows it up to eight bytes
            // belongs to the next key and is masked off.
            const auto *p = reinterpret_cast<const unsigned char *>(base + e.start);
            quint64 head = 0;
            bool ended = false;
            for (int i = 0; i < 8; ++i) {
                const unsigned char b = ended ? 0 : p[i];
                ended = ended || b == 0;
                head = (head << 8) | b;
            }
            e.head = head;
        }
        // Two keys with the same first eight bytes are equal when those
        // hold the end of the key, else they compare on from there.
        auto compare = [base](const Entry &a, const Entry &b) {
            if (a.head != b.head)
                return a.head < b.head ? -1 : 1;
            if (hasZeroByte(a.head))
                return 0;
            return std::strcmp(base + a.start + 8, base + b.start + 8);
        };
        std::sort(entries.begin(), entries.end(), [&](const Entry &a, const Entry &b) {
            const int c = compare(a, b);
            return c != 0 ? c < 0 : a.kind < b.kind;
        });
        // The rank of each text: texts of equal keys share theirs.
        std::vector<qsizetype> rankOf(std::size_t(kinds), 0);
        qsizetype rank = 0;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            if (i > 0 && compare(entries[i - 1], entries[i]) != 0)
                ++rank;
            rankOf[std::size_t(entries[i].kind)] = rank;
        }
        const qsizetype ranks = kinds == 0 ? 0 : rank + 1;
        entries = {};
        keys = {};
        // The rows by rank, each rank's rows in their order (a counting sort).
        std::vector<qsizetype> firstOfRank(std::size_t(ranks) + 1, 0);
        auto rankOfRow = [&](qsizetype row) {
            const qsizetype r = rankOf[std::size_t(distinct.kindOf[std::size_t(row)])];
            return sortOrder == Qt::AscendingOrder ? r : ranks - 1 - r;
        };
        for (qsizetype row = 0; row < n; ++row)
            ++firstOfRank[std::size_t(rankOfRow(row)) + 1];
        for (std::size_t r = 1; r < firstOfRank.size(); ++r)
            firstOfRank[r] += firstOfRank[r - 1];
        QList<qsizetype> rows(n);
        for (qsizetype row = 0; row < n; ++row)
            rows[firstOfRank[std::size_t(rankOfRow(row))]++] = row;
        return rows;
    }

private:
    // The texts of a column without repeats: kindOf[row] numbers each row's
    // text, firstRow[kind] is the first row holding that text. When the
    // first rows show hardly any repeats, every row is a kind of its own:
    // looking for repeats would only cost.
    struct DistinctTexts {
        std::vector<qsizetype> kindOf;
        std::vector<qsizetype> firstRow;
    };
    static DistinctTexts distinctTexts(const CardStore &store, int column)
    {
        const qsizetype n = store.count();
        DistinctTexts d;
        d.kindOf.resize(std::size_t(n));
        std::size_t capacity = 1024;
        std::vector<qsizetype> table(capacity, -1); // kinds, -1 for none
        std::vector<quint64> hashes;
        for (qsizetype row = 0; row < n; ++row) {
            const QString &text = columnText(store, row, column);
            const quint64 hash = textHash(text);
            std::size_t slot = std::size_t(hash) & (capacity - 1);
            qsizetype kind = -1;
            while (table[slot] >= 0) {
                const qsizetype k = table[slot];
                if (hashes[std::size_t(k)] == hash && columnText(store, d.firstRow[std::size_t(k)], column) == text) {
                    kind = k;
                    break;
                }
                slot = (slot + 1) & (capacity - 1);
            }
            if (kind < 0) {
                kind = qsizetype(d.firstRow.size());
                d.firstRow.push_back(row);
                hashes.push_back(hash);
                table[slot] = kind;
                if (d.firstRow.size() * 2 > capacity) {
                    capacity *= 2;
                    table.assign(capacity, -1);
                    for (std::size_t k = 0; k < hashes.size(); ++k) {
                        std::size_t s = std::size_t(hashes[k]) & (capacity - 1);
                        while (table[s] >= 0)
                            s = (s + 1) & (capacity - 1);
                        table[s] = qsizetype(k);
                    }
                }
            }
            d.kindOf[std::size_t(row)] = kind;
            // Mostly different texts so far: give up looking.
            if (row == 4095 && d.firstRow.size() > 2048) {
                for (qsizetype r = row + 1; r < n; ++r) {
                    d.kindOf[std::size_t(r)] = qsizetype(d.firstRow.size());
                    d.firstRow.push_back(r);
                }
                break;
            }
        }
        return d;
    }

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

    // Appends the key of text and its end zero to keys; returns where it starts.
    qsizetype appendKey(const QString &text, std::vector<char> &keys) const
    {
        const qsizetype start = qsizetype(keys.size());
        std::size_t room = std::size_t(text.size()) * 4 + 16;
        for (;;) {
            keys.resize(std::size_t(start) + room);
            const int32_t length =
                ucol_getSortKey(m_collator, reinterpret_cast<const UChar *>(text.utf16()), int32_t(text.size()),
                                reinterpret_cast<uint8_t *>(&keys[std::size_t(start)]), int32_t(room));
            if (length <= 0) {
                // No key (never for valid input): the empty key sorts first.
                keys.resize(std::size_t(start) + 1);
                keys[std::size_t(start)] = 0;
                return start;
            }
            if (std::size_t(length) <= room) {
                keys.resize(std::size_t(start) + std::size_t(length));
                return start;
            }
            room = std::size_t(length);
        }
    }

    static bool hasZeroByte(quint64 v)
    {
        for (int i = 0; i < 8; ++i, v >>= 8) {
            if ((v & 0xFF) == 0)
                return true;
        }
        return false;
    }

    UCollator *m_collator = nullptr;
    bool m_ok = false;
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

void SortCardStore(CardStore &store, int column, Qt::SortOrder order)
{
    const qsizetype n = store.count();
    if (column < 0 || column >= CardStore::ColumnCount || n < 2)
        return;
    // A sort key per card, then byte comparisons: one collation per card
    // instead of one per comparison.
    JapaneseSortKeys icu;
    const QList<qsizetype> rows =
        changedOrder(icu.ok() ? icu.order(store, column, order) : collatorOrder(store, column, order));
    if (!rows.isEmpty())
        store.reorder(rows);
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
