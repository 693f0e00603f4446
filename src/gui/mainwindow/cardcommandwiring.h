#pragma once
// Wires the card commands of the Edit menu (CardCommands) into a MainForm
// over the document: the commands on the window's registry, the edit in
// place of a title field (F2) in both card lists, and the left press that
// clears the current card before the list handles the click. The right click
// (selection rule, then the Edit menu at the mouse) is the card lists' own.
// A new card opens in an editor through the document's edit request, which
// the editors' wiring follows.
//
//     MainForm window(services);
//     Document document(services);
//     SearchWiring *search = SearchWiring::wire(window, document);
//     CardCommandWiring::wire(window, document, search->commands());

#include "core/commands/cardcommands.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <memory>

class Document;
class MainForm;
class QAbstractItemDelegate;
class QAbstractItemView;
class SearchCommands;

class CardCommandWiring : public QObject
{
    Q_OBJECT
public:
    // The wiring of window and document, owned by window. search gives the
    // new-card marks.
    static CardCommandWiring *wire(MainForm &window, Document &document, SearchCommands &search);

    CardCommandWiring(MainForm &window, Document &document, SearchCommands &search);
    ~CardCommandWiring() override;

    CardCommands &commands() { return *m_commands; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void beginRename(int list, qsizetype row);

    void installRenameDelegates(int list);

    MainForm &m_window;
    std::unique_ptr<CardCommands> m_commands;
    // The viewports of both views of lvData(0) and lvData(1), by list index.
    QList<std::pair<QObject *, int>> m_viewports;
    // The delegates the title edit replaced, put back when the wiring goes.
    struct ReplacedDelegate {
        QPointer<QAbstractItemView> view;
        QPointer<QAbstractItemDelegate> original;
    };
    QList<ReplacedDelegate> m_replaced;
};
