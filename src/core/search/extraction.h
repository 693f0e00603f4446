#pragma once
// Extraction: the extraction list holds copies of the matching cards of the
// main card list, under the same keys, and is shown in its place. A further
// extraction narrows it. Edits made in the extraction list reach the main
// card list by key when the list is written back (before narrowing and when
// extraction ends); cards created meanwhile carry a new-card mark and are
// added to the main card list then.
//
//     Extraction ex(document.lvData(0), document.lvData(1));
//     ex.start(matcher);        // fresh
//     ex.narrow(otherMatcher);  // only cards matching both remain
//     ex.finish();              // written back, selection carried over

#include "core/search/cardmatch.h"

#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

class CardList;
class CardStore;

// Rows of the cards of store that match, in order.
QList<qsizetype> MatchingRows(const CardStore &store, const CardMatcher &matcher, CardTextCache *cache = nullptr);

class Extraction
{
public:
    // main: the main card list; list: the extraction list. Both outlive this.
    Extraction(CardList &main, CardList &list);

    CardList &mainList() { return m_main; }
    CardList &list() { return m_list; }
    // The folded texts of each list, kept while their cards stay unchanged.
    CardTextCache &mainCache() { return m_mainCache; }
    CardTextCache &listCache() { return m_listCache; }

    // --- New-card marks: a card created while extraction mode is on lives
    // in the extraction list only until the write back adds it to the main
    // card list.
    void markNewCard(const QString &key) { m_marks.insert(key, 1); }
    bool isNewCard(const QString &key) const { return m_marks.value(key) == 1; }
    void unmarkNewCard(const QString &key) { m_marks.remove(key); }
    qsizetype markCount() const { return m_marks.size(); }

    // Fresh extraction: the marks emptied, the extraction list replaced by
    // copies of the matching cards of the main card list, in its order.
    // Returns how many cards the list holds.
    qsizetype start(const CardMatcher &matcher);
    // Narrowing: write back, then every card of the extraction list that does
    // not match leaves it (the others keep their selection).
    qsizetype narrow(const CardMatcher &matcher);

    // Every card of the extraction list to the main card list: an unmarked
    // card's texts and icon into the card with the same key (skipped when
    // there is none), a marked one appended as a new card (icon 2) and
    // unmarked. carrySelection: the main card of each selected card becomes
    // selected too.
    void writeBack(bool carrySelection);
    // Ending extraction: the main card list deselected, the write back with
    // the selection carried over (the current card too), the extraction list
    // emptied. Returns the main card list's new current row, -1 when none.
    qsizetype finish();

private:
    CardList &m_main;
    CardList &m_list;
    // The main card list's row of the card at each row of the extraction
    // list, as it was when the list was filled: tried before the key hash,
    // and only trusted when the card there has the key.
    qsizetype mainRowOf(qsizetype row, const QString &key) const;
    // Notes the lists' change counts: m_mainRows was just made exact.
    void noteInStep();
    // Whether neither list changed since then: m_mainRows is still exact.
    bool inStep() const;

    CardTextCache m_mainCache;
    CardTextCache m_listCache;
    QHash<QString, int> m_marks;
    QList<qsizetype> m_mainRows;
    // The change counts of the main card list and the extraction list when
    // m_mainRows was made from rows known exact; none when they are not.
    std::optional<std::pair<quint64, quint64>> m_inStep;
};
