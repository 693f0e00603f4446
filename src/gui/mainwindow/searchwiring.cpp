#include "gui/mainwindow/searchwiring.h"

#include "core/cards/cardlist.h"
#include "core/document/document.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/documentwiring.h"
#include "gui/mainwindow/groupchangeform.h"
#include "gui/mainwindow/mainform.h"

#include <QAbstractItemView>
#include <QHeaderView>
#include <QHeaderView>

SearchWiring *SearchWiring::wire(MainForm &window, Document &document)
{
    return new SearchWiring(window, document);
}

SearchWiring::SearchWiring(MainForm &window, Document &document)
    : QObject(&window), m_window(window), m_document(document)
{
    setObjectName(QStringLiteral("SearchWiring"));
    // The window takes the applied settings before the sort restores its marks.
    DocumentWiring::attach(window, document);

    SearchView &view = *this;
    m_commands = std::make_unique<SearchCommands>(document, window.commands(), window.viewState(), view);
    m_commands->wire();
    connect(m_commands.get(), &SearchCommands::groupsChanged, this, &SearchWiring::showGroups);
    connect(m_commands.get(), &SearchCommands::captionsChanged, this,
            [this](int list, const std::array<QString, 3> &captions) {
                if (CardListView *shown = m_window.cardList(list))
                    shown->setColumnCaptions(captions);
            });
    connect(&document, &Document::settingsApplied, this,
            [this](const AppliedSettings &values) { m_commands->applySettings(values); });

    connect(&window, &MainForm::groupClicked, this, [this](const QString &key) { m_commands->groupClicked(key); });
    for (int i = 0; i < 2; ++i) {
        QHeaderView *header = window.cardList(i)->detailsView()->header();
        header->setSectionsClickable(true);
        header->setSortIndicatorShown(false);
        connect(header, &QHeaderView::sectionClicked, this,
                [this, i](int section) { m_commands->headerClicked(i, section); });
    }
    connect(&window.viewState(), &MainViewController::refreshRequested, this,
            [this](int list) { m_commands->refreshSort(list); });
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

void SearchWiring::focusList(int list)
{
    if (CardListView *view = m_window.cardList(list))
        view->activeView()->setFocus(Qt::OtherFocusReason);
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

std::optional<QString> SearchWiring::askGroup(const QStringList &groups, const QString &text)
{
    if (m_asker)
        return m_asker(groups, text);
    GroupChangeForm form(&m_window);
    return form.ask(groups, text);
}
