#pragma once
// The search bar's commands, the group list and the sorting on the process's
// document: search from the top, upward and downward; extraction, narrowing
// and its end; the prompted variants; the group list's rebuild and clicks;
// the group change; the header clicks, sort and cancel sort, the sort of the
// applied settings and of refresh. Everything runs headless. The group list
// follows the main card list's changes and the header captions the sort,
// both announced by signals; the extraction list, the shown card and the
// preview follow the document's signals. What only the window holds (the
// search box, the focus, the group dialog) is asked through SearchView, the
// paste command's state goes to MainCommands, the person is asked through
// the document's Dialogs.
//
// The commands (wire()):
//     SearchTop, SearchUp, SearchDown       btnSearch(0..2), Enter in txtSearch / a list
//     SearchTopPrompt, SearchDownPrompt     function bar "検索", F6
//     Extract, ExtractPrompt                btnSearchOnlyItem; F7, function bar "抽出"
//     ExtractAndSelect                      Ctrl+Enter
//     EndExtraction                         btnSearchOnlyItemQuit, F12, Esc, "解除"
//     ChangeGroup                           MenuEditChangeGroup
//     Sort, CancelSort                      MenuDispSort, MenuDispCancelSort
// Extraction mode is the document's: ending it is Document::LeaveExtractionMode,
// which save, open and close call too.

#include "core/cards/groupindex.h"
#include "core/search/cardsearch.h"
#include "core/search/cardsort.h"
#include "core/search/extraction.h"
#include "core/search/grouplist.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class Document;
class MainCommands;
class MainViewController;

// What the commands ask of the window: what only it holds.
class SearchView
{
public:
    virtual ~SearchView() = default;

    // txtSearch and its drop-down list (the history, most recent first).
    virtual QString keyword() const = 0;
    virtual void setKeyword(const QString &keyword) = 0;
    virtual QStringList searchHistory() const = 0;
    virtual void setSearchHistory(const QStringList &entries) = 0;
    // Focuses txtSearch with its whole text selected.
    virtual void selectKeyword() = 0;
    virtual void focusList(int list) = 0;

    // GroupChangeForm, modal: cmbGroup offers groups and starts with text.
    // The text of cmbGroup when confirmed with OK; none when cancelled.
    virtual std::optional<QString> askGroup(const QStringList &groups, const QString &text) = 0;
};

class SearchCommands : public QObject
{
    Q_OBJECT
public:
    // document, commands, viewState (the regular-expression box) and view
    // outlive this. Takes over the document's leave-extraction handler,
    // follows its card lists and cancels the sort before another card file
    // replaces the cards.
    SearchCommands(Document &document, MainCommands &commands, MainViewController &viewState, SearchView &view,
                   QObject *parent = nullptr);
    ~SearchCommands() override;

    // Gives the commands above their handlers.
    void wire();

    // --- Search and extraction
    // The regular-expression box of the view state.
    MatchMode matchMode() const;
    void search(SearchDirection direction);
    // The input box "検索キーワードを指定してください。" (default: the keyword),
    // then search. Cancel changes nothing.
    void searchWithPrompt(SearchDirection direction);
    // Fresh extraction, or narrowing while extraction mode is on.
    void extract();
    // The input box "抽出キーワードを指定してください。", then txtSearch
    // focused and selected, then extract. Cancel changes nothing.
    void extractWithPrompt();
    // Ctrl+Enter: extract, then select the text of txtSearch.
    void extractAndSelect();
    // Ends extraction mode when it is on (through the document).
    void endExtraction();
    bool extractionActive() const;
    // The new-card marks live here: the card commands mark a card created in
    // extraction mode with extraction().markNewCard(key).
    Extraction &extraction() { return m_extraction; }

    // --- Group list (rebuilt whenever the main card list's cards changed)
    void rebuildGroupList();
    const QList<GroupList::Entry> &groups() const { return m_groups; }
    // A click on the entry with key ("Root", "notGroup" or a group's key).
    void groupClicked(const QString &key);
    // MenuEditChangeGroup.
    void changeGroup();

    // --- Sorting
    CardSorting &sorting() { return m_sorting; }
    // A click on the header of column (0 to 2) of lvData(list).
    void headerClicked(int list, int column);
    void sort();
    // Cancel sort on the current list (the menu, and the document before it
    // reads a file).
    void cancelSort();
    // Step 6 of applying settings (the captions first): call after the
    // window took the other values (settingsApplied).
    void applySettings(const AppliedSettings &values);
    // Refresh of lvData(list): a sorted list is sorted again.
    void refreshSort(int list);

signals:
    // tvTree's entries, in order.
    void groupsChanged(const QList<GroupList::Entry> &entries);
    // The header texts of lvData(list).
    void captionsChanged(int list, const std::array<QString, 3> &captions);

private:
    CardList &currentList();
    CardTextCache &cacheOf(int list);
    void recordKeyword(const QString &keyword);
    void extractWith(const CardMatcher &matcher);
    void leaveExtraction();
    void setRegularExpression(bool on);

    Document &m_document;
    MainCommands &m_commands;
    MainViewController &m_viewState;
    SearchView &m_view;
    Extraction m_extraction;
    CardSorting m_sorting;
    QList<GroupList::Entry> m_groups;
    GroupIndex m_groupIndex; // the main card list's groups
};
