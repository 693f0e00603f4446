#pragma once
// A card list as the commands see it: the store, which cards are selected,
// and the current card (the focused row, kept by the selection model and
// moved along when rows are inserted or removed before it). The main card
// list and the extraction list are one CardList each; views use store() as
// their model and selectionModel() as their selection model.

#include "core/cards/cardstore.h"

#include <QItemSelectionModel>
#include <QObject>

class CardList : public QObject
{
    Q_OBJECT
public:
    explicit CardList(QObject *parent = nullptr);

    CardStore &store() { return m_store; }
    const CardStore &store() const { return m_store; }
    QItemSelectionModel &selectionModel() { return m_selection; }
    const QItemSelectionModel &selectionModel() const { return m_selection; }

    // The current card's row, -1 when there is none.
    qsizetype currentRow() const;
    const Card *currentCard() const;
    // Moves the current card without touching the selection (-1 clears it).
    void setCurrentRow(qsizetype row);
    void clearCurrent() { setCurrentRow(-1); }

    bool isSelected(qsizetype row) const;
    void setSelected(qsizetype row, bool selected = true);
    // Deselects every card (the current card stays).
    void ClearSelection();
    void selectAll();
    void invertSelection();
    // Selected rows in ascending order.
    QList<qsizetype> selectedRows() const;
    qsizetype firstSelectedRow() const;
    bool hasSelection() const { return m_selection.hasSelection(); }

private:
    CardStore m_store;
    QItemSelectionModel m_selection;
};
