#include "gui/mainwindow/searchwiring.h"

#include "core/cards/cardlist.h"
#include "core/document/document.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/groupchangeform.h"
#include "gui/mainwindow/mainform.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QPointer>
#include <QTreeView>

SearchWiring *SearchWiring::wire(MainForm &window, Document &document)
{
    return new SearchWiring(window, document);
}

SearchWiring::SearchWiring(MainForm &window, Document &document)
    : QObject(&window), m_window(window), m_document(document)
{
    setObjectName(QStringLiteral("SearchWiring"));
    if (!window.cardList(0)->cardModel() && !window.cardList(1)->cardModel())
        window.setCardModels(&document.lvData(0).store(), &document.lvData(1).store(),
                             &document.lvData(0).selectionModel(), &document.lvData(1).selectionModel());

    SearchView &view = *this;
    m_commands = std::make_unique<SearchCommands>(document, window.commands(), view);
    m_commands->wire();

    connect(&window, &MainForm::groupClicked, this, [this](const QString &key) { m_commands->groupClicked(key); });
    for (int i = 0; i < 2; ++i) {
        QHeaderView *header = window.cardList(i)->detailsView()->header();
        header->setSectionsClickable(true);
        header->setSortIndicatorShown(false);
        connect(header, &QHeaderView::sectionClicked, this,
                [this, i](int section) { m_commands->headerClicked(i, section); });
    }
    // The window's view state outlives this only when this is deleted first.
    window.viewState().setSortRefresher([wiring = QPointer<SearchWiring>(this)](int list) {
        if (wiring)
            wiring->m_commands->refreshSort(list);
    });
    m_commands->rebuildGroupList();
}

// The window deletes this after its own members (the command registry, the
// view state) are gone: nothing of the window is touched here.
SearchWiring::~SearchWiring() = default;

QString SearchWiring::keyword() const
{
    return m_window.keyword();
}

void SearchWiring::setKeyword(const QString &keyword)
{
    m_window.setKeyword(keyword);
}

QStringList SearchWiring::searchHistory() const
{
    return m_window.searchHistory();
}

void SearchWiring::setSearchHistory(const QStringList &entries)
{
    m_window.setSearchHistory(entries);
}

void SearchWiring::selectKeyword()
{
    m_window.focusKeyword();
}

void SearchWiring::showExtractionList(bool shown)
{
    m_window.setExtractionMode(shown);
}

void SearchWiring::showCard(int list, qsizetype row)
{
    CardListView *view = m_window.cardList(list);
    QAbstractItemView *shown = view ? view->activeView() : nullptr;
    if (!shown || !shown->model() || row < 0 || row >= shown->model()->rowCount())
        return;
    shown->scrollTo(shown->model()->index(int(row), 0));
}

void SearchWiring::focusList(int list)
{
    if (CardListView *view = m_window.cardList(list))
        view->activeView()->setFocus(Qt::OtherFocusReason);
}

void SearchWiring::refreshPreview()
{
    m_window.refreshPreview();
}

void SearchWiring::showGroups(const QList<GroupList::Entry> &entries)
{
    QStringList names, keys;
    for (const GroupList::Entry &e : entries) {
        // The window puts its own "全て" first.
        if (e.key == GroupList::rootKey())
            continue;
        names.append(e.text);
        keys.append(e.key);
    }
    m_window.setGroups(names, keys);
}

void SearchWiring::showCaptions(int list, const std::array<QString, 3> &captions)
{
    if (CardListView *view = m_window.cardList(list))
        view->setColumnCaptions(captions);
}

std::optional<QString> SearchWiring::askGroup(const QStringList &groups, const QString &text)
{
    if (m_asker)
        return m_asker(groups, text);
    GroupChangeForm form(&m_window);
    return form.ask(groups, text);
}
