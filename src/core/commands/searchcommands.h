#pragma once
// The search bar's commands, the group list and the sorting on the process's
// document: search from the top, upward and downward; extraction, narrowing
// and its end; the prompted variants; the group list's rebuild and clicks;
// the group change; the header clicks, sort and cancel sort, the sort of the
// applied settings and of refresh. Everything runs headless: the window is
// reached through SearchView, the regular-expression box and the paste
// command through MainCommands, the person through the document's Dialogs.
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

#include "core/search/cardsearch.h"
#include "core/search/cardsort.h"
#include "core/search/extraction.h"
#include "core/search/grouplist.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>

class Document;
class MainCommands;

// What the commands ask of the window.
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

    // lvData(1) shown in place of lvData(0) (the window's extraction mode), or back.
    virtual void showExtractionList(bool shown) = 0;
    // Scrolls the card at row of lvData(list) into view.
    virtual void showCard(int list, qsizetype row) = 0;
    virtual void focusList(int list) = 0;
    virtual void refreshPreview() = 0;

    // tvTree's entries, in order.
    virtual void showGroups(const QList<GroupList::Entry> &entries) = 0;
    // The header texts of lvData(list).
    virtual void showCaptions(int list, const std::array<QString, 3> &captions) = 0;

    // GroupChangeForm, modal: cmbGroup offers groups and starts with text.
    // The text of cmbGroup when confirmed with OK; none when cancelled.
    virtual std::optional<QString> askGroup(const QStringList &groups, const QString &text) = 0;
};

class SearchCommands
{
public:
    // document, commands and view outlive this. Takes over the document's
    // leave-extraction handler.
    SearchCommands(Document &document, MainCommands &commands, SearchView &view);
    ~SearchCommands();
    SearchCommands(const SearchCommands &) = delete;
    SearchCommands &operator=(const SearchCommands &) = delete;

    // Gives the commands above their handlers.
    void wire();

    // --- Search and extraction
    // The regular-expression box (the Regex command's check mark).
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

    // --- Group list
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
    // window took the other values.
    void applySettings(const AppliedSettings &values);
    // Refresh of lvData(list): a sorted list is sorted again.
    void refreshSort(int list);

private:
    CardList &currentList();
    CardTextCache &cacheOf(int list);
    void recordKeyword(const QString &keyword);
    void extractWith(const CardMatcher &matcher);
    void leaveExtraction();
    void setRegularExpression(bool on);

    Document &m_document;
    MainCommands &m_commands;
    SearchView &m_view;
    Extraction m_extraction;
    CardSorting m_sorting;
    QList<GroupList::Entry> m_groups;
};
