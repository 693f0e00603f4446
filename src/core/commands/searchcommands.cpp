#include "core/commands/searchcommands.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardstore.h"
#include "core/common/dialogs.h"
#include "core/document/document.h"
#include "core/search/searchtexts.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/viewcontroller.h"

SearchCommands::SearchCommands(Document &document, MainCommands &commands, MainViewController &viewState,
                               SearchView &view, QObject *parent)
    : QObject(parent), m_document(document), m_commands(commands), m_viewState(viewState), m_view(view),
      m_extraction(document.lvData(0), document.lvData(1)),
      m_sorting(document.lvData(0).store(), document.lvData(1).store(), document.settings()),
      m_groupIndex(document.cards())
{
    m_sorting.onCaptionsChanged = [this](int list) { emit captionsChanged(list, m_sorting.captions(list)); };
    m_document.setLeaveExtractionHandler([this] { leaveExtraction(); });
    connect(&document, &Document::listChanged, this, [this](int list, int changes) {
        if (list == 0 && (changes & Document::CardsChanged))
            rebuildGroupList();
    });
    connect(&document, &Document::cardsAboutToBeReplaced, this, &SearchCommands::cancelSort);
    // Nothing is pasted into the extraction list.
    connect(&document, &Document::extractionChanged, this,
            [this](bool active) { m_commands.setEnabled(Cmd::Paste, !active); });
}

SearchCommands::~SearchCommands()
{
    m_document.setLeaveExtractionHandler({});
}

void SearchCommands::wire()
{
    MainCommands &c = m_commands;
    c.wire(Cmd::SearchTop, [this] { search(SearchDirection::FromTop); });
    c.wire(Cmd::SearchUp, [this] { search(SearchDirection::Up); });
    c.wire(Cmd::SearchDown, [this] { search(SearchDirection::Down); });
    c.wire(Cmd::SearchTopPrompt, [this] { searchWithPrompt(SearchDirection::FromTop); });
    c.wire(Cmd::SearchDownPrompt, [this] { searchWithPrompt(SearchDirection::Down); });
    c.wire(Cmd::Extract, [this] { extract(); });
    c.wire(Cmd::ExtractPrompt, [this] { extractWithPrompt(); });
    c.wire(Cmd::ExtractAndSelect, [this] { extractAndSelect(); });
    c.wire(Cmd::EndExtraction, [this] { endExtraction(); });
    c.wire(Cmd::ChangeGroup, [this] { changeGroup(); });
    c.wire(Cmd::Sort, [this] { sort(); });
    c.wire(Cmd::CancelSort, [this] { cancelSort(); });
}

CardList &SearchCommands::currentList()
{
    return m_document.activeList();
}

CardTextCache &SearchCommands::cacheOf(int list)
{
    return list == 1 ? m_extraction.listCache() : m_extraction.mainCache();
}

bool SearchCommands::extractionActive() const
{
    return m_document.extractionActive();
}

// ---------------------------------------------------------------- search

MatchMode SearchCommands::matchMode() const
{
    return m_viewState.regularExpression() ? MatchMode::RegularExpression : MatchMode::PlainText;
}

void SearchCommands::setRegularExpression(bool on)
{
    // As a click on chkSeiki: SeikiHyougen is stored.
    if (m_viewState.regularExpression() != on)
        m_viewState.toggleRegularExpression();
}

void SearchCommands::recordKeyword(const QString &keyword)
{
    const QStringList history = m_view.searchHistory();
    const QStringList recorded = SearchHistory::recorded(history, keyword);
    if (recorded != history)
        m_view.setSearchHistory(recorded);
    m_view.setKeyword(keyword);
}

void SearchCommands::search(SearchDirection direction)
{
    const QString keyword = m_view.keyword();
    if (keyword.isEmpty())
        return;
    recordKeyword(keyword);
    const int index = m_document.ActiveListIndex();
    CardList &list = m_document.lvData(index);
    if (list.store().isEmpty())
        return;
    const CardMatcher matcher(keyword, matchMode());
    const qsizetype row = SearchCardList(list, matcher, direction, &cacheOf(index));
    if (row < 0)
        return;
    m_document.ShowCard(index, row);
    m_view.focusList(index);
}

void SearchCommands::searchWithPrompt(SearchDirection direction)
{
    const std::optional<QString> answer =
        m_document.dialogs().inputBox(SearchTexts::SearchPrompt, QString(), m_view.keyword());
    if (!answer)
        return;
    m_view.setKeyword(*answer);
    search(direction);
}

void SearchCommands::extract()
{
    const QString keyword = m_view.keyword();
    if (keyword.isEmpty())
        return;
    recordKeyword(keyword);
    extractWith(CardMatcher(keyword, matchMode()));
}

void SearchCommands::extractWith(const CardMatcher &matcher)
{
    if (m_document.extractionActive()) {
        m_extraction.narrow(matcher);
    } else {
        m_extraction.start(matcher);
        m_document.setExtractionActive(true);
        // The fresh list takes the sort its header shows.
        m_sorting.resortFreshExtraction();
    }
    m_view.setKeyword(QString());
}

void SearchCommands::extractWithPrompt()
{
    const std::optional<QString> answer =
        m_document.dialogs().inputBox(SearchTexts::ExtractPrompt, QString(), m_view.keyword());
    if (!answer)
        return;
    m_view.setKeyword(*answer);
    m_view.selectKeyword();
    extract();
}

void SearchCommands::extractAndSelect()
{
    extract();
    m_view.selectKeyword();
}

void SearchCommands::endExtraction()
{
    m_document.LeaveExtractionMode();
}

void SearchCommands::leaveExtraction()
{
    const qsizetype current = m_extraction.finish();
    // The main card list is shown before its card is scrolled to and focused.
    m_document.setExtractionActive(false);
    if (current >= 0)
        m_document.ShowCard(0, current);
    m_view.focusList(0);
}

// ---------------------------------------------------------------- groups

void SearchCommands::rebuildGroupList()
{
    m_groups = GroupList::Build(m_groupIndex.groups());
    emit groupsChanged(m_groups);
}

void SearchCommands::groupClicked(const QString &key)
{
    // "全て" outside extraction mode changes nothing, the stored box included.
    if (key == GroupList::rootKey() && !m_document.extractionActive())
        return;
    const bool wasRegularExpression = m_viewState.regularExpression();
    setRegularExpression(true);
    if (key == GroupList::rootKey()) {
        endExtraction();
    } else if (key == GroupList::notGroupKey()) {
        extractWith(CardMatcher::withoutGroup());
    } else {
        for (const GroupList::Entry &e : std::as_const(m_groups)) {
            if (e.key == key && e.key != GroupList::rootKey()) {
                m_view.setKeyword(GroupList::Pattern(e.text));
                extract();
                break;
            }
        }
    }
    setRegularExpression(wasRegularExpression);
}

void SearchCommands::changeGroup()
{
    QString text;
    QString group;
    for (;;) {
        const std::optional<QString> answer = m_view.askGroup(m_groupIndex.groups(), text);
        if (!answer)
            return;
        if (GroupList::IsAllowedName(*answer)) {
            group = *answer;
            break;
        }
        m_document.dialogs().message(SearchTexts::GroupMarkRefused, MsgIcon::Information);
        text = *answer;
    }
    CardList &list = currentList();
    const qsizetype first = list.firstSelectedRow();
    if (first >= 0)
        list.setCurrentRow(first);
    CardStore &store = list.store();
    for (qsizetype row : list.selectedRows()) {
        const QString title = GroupList::TitleInGroup(store.at(row).title, group);
        if (title == store.at(row).title)
            continue;
        store.setTitle(row, title);
        m_document.SetModified(true);
    }
}

// ---------------------------------------------------------------- sorting

void SearchCommands::headerClicked(int list, int column)
{
    m_sorting.headerClicked(list, column);
}

void SearchCommands::sort()
{
    m_sorting.sortCommand();
}

void SearchCommands::cancelSort()
{
    m_sorting.cancelSort(m_document.ActiveListIndex());
}

void SearchCommands::applySettings(const AppliedSettings &values)
{
    m_sorting.applySettings(values, m_document.ActiveListIndex());
}

void SearchCommands::refreshSort(int list)
{
    m_sorting.resort(list);
}
