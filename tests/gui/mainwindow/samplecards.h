#pragma once
// A dozen sample cards in a plain item model with the card list's three
// columns (title field, remarks, content) and the icon number in the title's
// decoration role, for the screenshot tool and the widget tests until the card
// store's model takes its place.

#include <QStandardItemModel>

namespace SampleCards {

// A new model owned by parent, filled with the sample cards.
QStandardItemModel *makeModel(QObject *parent = nullptr);
// The same columns, filled with the sample cards whose rows are given.
QStandardItemModel *makeModel(const QList<int> &rows, QObject *parent = nullptr);
int count();

} // namespace SampleCards
