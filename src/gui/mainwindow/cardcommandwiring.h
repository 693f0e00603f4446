#pragma once
// Wires the card commands of the Edit menu (CardCommands) into a MainForm
// over the document: the commands on the window's registry, the edit in
// place of a title field (F2) in both card lists, and the left press that
// clears the current card before the list handles the click. The right click
// (selection rule, then the Edit menu at the mouse) is the card lists' own.
//
//     MainForm window(services);
//     Document document(services);
//     SearchWiring *search = SearchWiring::wire(window, document);
//     EditorCommands editors(window, document, files);
//     editors.attach(adapter);
//     CardCommandWiring::wire(window, document, search->commands(),
//                             [&editors] { editors.editSelectedCards(); });

#include "core/commands/cardcommands.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>

class Document;
class MainForm;
class QAbstractItemDelegate;
class QAbstractItemView;
class SearchCommands;

class CardCommandWiring : public QObject, private CardCommandView
{
    Q_OBJECT
public:
    // Opens the current card of the current list in an editor.
    using EditCurrentCard = std::function<void()>;

    // The wiring of window and document, owned by window. search gives the
    // new-card marks and the group list; editCurrentCard opens new cards (when
    // empty, the window's EditCard command does). A window that shows no
    // cards yet is given the document's stores and selections.
    static CardCommandWiring *wire(MainForm &window, Document &document, SearchCommands &search,
                                   EditCurrentCard editCurrentCard = {});

    CardCommandWiring(MainForm &window, Document &document, SearchCommands &search,
                      EditCurrentCard editCurrentCard = {});
    ~CardCommandWiring() override;

    CardCommands &commands() { return *m_commands; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // CardCommandView
    void refreshPreview() override;
    void showCard(int list, qsizetype row) override;
    void editCurrentCard() override;
    void rebuildGroupList() override;
    void beginRename(int list, qsizetype row) override;

    void installRenameDelegates(int list);

    MainForm &m_window;
    Document &m_document;
    SearchCommands &m_search;
    EditCurrentCard m_editCurrentCard;
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
