#pragma once
// Sorting of the two card lists by one of their three columns. Each list
// keeps its own state (sorted or not, column, order) and its own header
// texts; the sort column's header ends in "▽" (ascending) or "△"
// (descending). Sorting reorders the cards themselves, so a sorted main card
// list is written in that order. A sorted list is sorted again when asked
// (header click, the sort command, refresh), not on every edit.
//
// Texts compare with a Japanese collation, case-insensitive; cards with
// equal texts keep their order.
//
//     CardSorting sorting(document.cards(), document.lvData(1).store(), document.settings());
//     sorting.onCaptionsChanged = [&](int list) { view.showCaptions(list, sorting.captions(list)); };
//     sorting.headerClicked(0, 0);   // main list by title: ascending, "題名▽"

#include "core/settings/appliedsettings.h"

#include <QObject>
#include <QString>

#include <array>
#include <functional>

class CardStore;
class SettingsModel;

namespace SortMark {
inline constexpr QChar Ascending = QChar(0x25BD);  // "▽"
inline constexpr QChar Descending = QChar(0x25B3); // "△"
// The caption without a final "▽" or "△".
QString removed(const QString &caption);
} // namespace SortMark

// What one SortCardStore did, for benchmarks and tests: processor seconds
// of each step and how the keys were made.
struct SortCardStoreReport {
    double keys = 0;             // finding the different texts and making their keys
    double sort = 0;             // sorting the keys
    double ties = 0;             // telling texts of equal primary weights apart
    double ranks = 0;            // ranking the rows
    double reorder = 0;          // moving the cards
    bool primaryWeights = false; // the keys were primary weights (else ICU's full sort keys)
    qsizetype texts = 0;         // different texts
    qsizetype contextual = 0;    // texts weighed by ICU's iterator, whole or up to their last contextual unit
    qsizetype tiedTexts = 0;     // texts among others of equal primary weights
};

// Orders store by column (0 title field, 1 remarks, 2 content): Japanese
// collation, case-insensitive, stable. The store is reordered only when the
// order changes.
void SortCardStore(CardStore &store, int column, Qt::SortOrder order, SortCardStoreReport *report = nullptr);

class CardSorting
{
public:
    static constexpr int MainList = 0;
    static constexpr int ExtractionList = 1;

    struct State {
        bool sorted = false;
        int column = 0; // 0, 1 or 2
        int order = 0;  // 0 ascending, 1 descending

        friend bool operator==(const State &, const State &) = default;
    };

    // settings: NoSort is read from it, SortColumn and SortStyle written to it
    // while per-file settings are active.
    CardSorting(CardStore &main, CardStore &extraction, SettingsModel &settings);

    const State &state(int list) const { return m_lists.at(list).state; }
    // The header texts of a list as shown, marks included.
    const std::array<QString, 3> &captions(int list) const { return m_lists.at(list).captions; }
    // Runs after the captions of a list changed.
    std::function<void(int list)> onCaptionsChanged;

    // The captions from the settings (Column1 to Column3), for both lists,
    // as they stand: the next sort change removes a final mark.
    void setCaptions(const std::array<QString, 3> &captions);

    // A click on the header of column (0 to 2) of a list. On the main card
    // list: nothing when NoSort is 1; else the same click on the extraction
    // list follows, and the new sort is stored.
    void headerClicked(int list, int column);
    // "ソート状態へ(&S)": both lists ascending by title (nothing when NoSort is 1).
    void sortCommand();
    // "ソートの中止(&C)": list unsorted and unmarked; its cards keep their order.
    void cancelSort(int list);
    // Both lists sorted by the stored column (0 to 2) and style (0 ascending,
    // 1 descending); column -1 (or out of range) changes nothing.
    void restore(int column, int style);
    // The sort part of applying settings: restore, or cancel on currentList.
    void applySettings(const AppliedSettings &values, int currentList);
    // Refresh: a sorted list is sorted again (after edits, new cards).
    void resort(int list);
    // The extraction list was just filled from the main card list, in its
    // order: sorted as its header shows, which costs nothing when the main
    // card list is known to be in that order already.
    void resortFreshExtraction();

private:
    struct List {
        CardStore *store = nullptr;
        State state;
        std::array<QString, 3> captions;
    };
    void click(int list, int column);
    void removeMarks(int list);
    void mark(int list, int column, int order);
    void sortNow(int list);
    void store(int column, int style);
    void changed(int list);

    void follow(int list);

    SettingsModel &m_settings;
    std::array<List, 2> m_lists;
    // The sort each list is known to be in since it was last sorted (sorted
    // false: not known); any change but a removal forgets it.
    std::array<State, 2> m_inOrder;
    QObject m_watch; // the store connections end with this
};
