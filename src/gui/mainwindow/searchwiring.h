#pragma once
// Wires the search bar, the group list and the sorting of a MainForm to the
// document: SearchCommands on the window's command registry, the group
// list and the header captions following the commands, the group list's
// clicks, the header clicks of both card lists, the sort of refresh and of
// the applied settings, and GroupChangeForm for the group change. The window
// follows the document (DocumentWiring) first.
//
//     Document document(services);    // outlives the window
//     MainForm window(services);
//     SearchWiring *search = SearchWiring::wire(window, document);

#include "core/commands/searchcommands.h"

#include <QObject>

#include <functional>
#include <memory>

class Document;
class MainForm;

class SearchWiring : public QObject, private SearchView
{
    Q_OBJECT
public:
    // The wiring of window and document, owned by window (and deleted with
    // it, never before). A window that shows no cards yet is given the
    // document's stores and selections.
    static SearchWiring *wire(MainForm &window, Document &document);

    SearchWiring(MainForm &window, Document &document);
    ~SearchWiring() override;

    SearchCommands &commands() { return *m_commands; }
    MainForm &window() const { return m_window; }

    // Replaces GroupChangeForm (tests): the text of cmbGroup, none when cancelled.
    using GroupAsker = std::function<std::optional<QString>(const QStringList &groups, const QString &text)>;
    void setGroupAsker(GroupAsker asker) { m_asker = std::move(asker); }

private:
    // SearchView
    QString keyword() const override;
    void setKeyword(const QString &keyword) override;
    QStringList searchHistory() const override;
    void setSearchHistory(const QStringList &entries) override;
    void selectKeyword() override;
    void focusList(int list) override;
    std::optional<QString> askGroup(const QStringList &groups, const QString &text) override;

    MainForm &m_window;
    Document &m_document;
    std::unique_ptr<SearchCommands> m_commands;
    GroupAsker m_asker;

    void showGroups(const QList<GroupList::Entry> &entries);
};
