#pragma once
// Search: moves the selection of a card list to the next card whose card
// text holds the keyword, from the top, upward or downward, without wrapping
// around; and the search history of the keyword box.

#include "core/search/cardmatch.h"

#include <QStringList>

class CardList;

enum class SearchDirection {
    FromTop, // the first card to the last
    Up,      // from the card before the current one (the last card when none) to the first
    Down,    // from the card after the current one (the first card when none) to the last
};

// Deselects every card of list, then walks it in direction; the first card
// that matches becomes the selected and current card. Returns its row, or -1
// (only the deselection happened). An empty list is left alone.
qsizetype SearchCardList(CardList &list, const CardMatcher &matcher, SearchDirection direction,
                         CardTextCache *cache = nullptr);

namespace SearchHistory {

// The history after keyword was used, most recent first: a keyword already
// first changes nothing, one further down moves to the top, a new one is put
// on top. Entries compare exactly. An empty keyword changes nothing.
QStringList recorded(const QStringList &history, const QString &keyword);

} // namespace SearchHistory
