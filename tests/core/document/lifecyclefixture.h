#pragma once
// A document without a window: the fakes of the seams, a recording view and
// helpers to lay down card files.

#include "core/cards/cardstore.h"
#include "core/cards/nativeformat.h"
#include "core/common/win31j.h"
#include "core/document/document.h"
#include "core/document/documentview.h"
#include "core/document/filecommands.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable failure output for texts and lists of texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Records what the lifecycle asks of the window.
class RecordingView : public DocumentView
{
public:
    explicit RecordingView(Document &document) : m_document(document) {}

    QStringList titles;
    bool reloadEnabled = false;
    QList<QStringList> recentMenus;
    int htmlFolderForgotten = 0;
    int applied = 0;
    AppliedSettings lastApplied;
    std::optional<WindowState> state;
    int sortsCancelled = 0;
    int previewRefreshes = 0;
    int searchFocus = 0;
    int groupRebuilds = 0;
    QList<std::pair<int, qsizetype>> madeVisible;
    // The titles of the selected cards each time the edit command ran.
    QList<QStringList> editedSelections;
    int editors = 0;
    int editorsClosed = 0;

    void showTitle(const QString &title) override { titles.append(title); }
    void setReloadEnabled(bool enabled) override { reloadEnabled = enabled; }
    void showRecentFiles(const QStringList &captions) override { recentMenus.append(captions); }
    void forgetHtmlOutputFolder() override { ++htmlFolderForgotten; }
    void applySettings(const AppliedSettings &values) override
    {
        ++applied;
        lastApplied = values;
    }
    std::optional<WindowState> windowState() override { return state; }
    void cancelSort() override { ++sortsCancelled; }
    void refreshPreview() override { ++previewRefreshes; }
    void focusSearchBox() override { ++searchFocus; }
    void rebuildGroupList() override { ++groupRebuilds; }
    void ensureCardVisible(int listIndex, qsizetype row) override { madeVisible.append({listIndex, row}); }
    void editSelectedCards() override
    {
        QStringList keys;
        CardList &list = m_document.lvData(0);
        for (qsizetype row : list.selectedRows())
            keys.append(list.store().at(row).title);
        editedSelections.append(keys);
    }
    int openEditorCount() override { return editors; }
    void closeAllEditors() override
    {
        ++editorsClosed;
        editors = 0;
    }

private:
    Document &m_document;
};

inline Card MakeCard(const QString &title, const QString &remarks = QString(), const QString &content = QString())
{
    static int n = 0;
    return Card{QStringLiteral("T%1").arg(++n), title, remarks, content, CardIcon::Saved};
}

class LifecycleTest : public ::testing::Test
{
protected:
    // Declared first: the document reads the program folder when it is made.
    ScopedProgramFolder folder;
    QTemporaryDir cardsDir;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeUserStore userStore;
    FakeProcesses processes;
    Services services{&dialogs, nullptr, &processes, nullptr, &userStore, &clock};
    Document document{services};
    RecordingView view{document};
    FileCommands files{document};

    void SetUp() override { document.setView(&view); }

    QString cardFile(const QString &name) const { return cardsDir.filePath(name); }

    // A native card file holding these titles (remarks "r", content "c").
    QString writeNative(const QString &name, const QStringList &titles)
    {
        CardStore store;
        for (const QString &title : titles)
            store.append(MakeCard(title, QStringLiteral("r"), QStringLiteral("c")));
        const QString path = cardFile(name);
        EXPECT_TRUE(WriteNativeFile(path, store, WriteOptions{}).ok());
        return path;
    }
    static QByteArray bytes(const QString &path) { return Sandbox::readBytes(path); }
    static void writeText(const QString &path, const QString &text)
    {
        ASSERT_TRUE(Sandbox::writeBytes(path, Win31J::encode(text)));
    }

    QStringList titlesInList()
    {
        QStringList out;
        for (const Card &card : document.cards().cards())
            out.append(card.title);
        return out;
    }
    QStringList listedInGuard()
    {
        QStringList out;
        for (const QString &path : document.guard().listedSlots())
            if (!path.isEmpty())
                out.append(path);
        return out;
    }
    // The message texts with their icons and buttons, for exact checks.
    const QList<MessageRequest> &messages() const { return dialogs.messages(); }
    QList<FakeDialogs::Record> choosers(const QString &kind) const
    {
        QList<FakeDialogs::Record> out;
        for (const FakeDialogs::Record &r : dialogs.records)
            if (r.kind == kind)
                out.append(r);
        return out;
    }
    void answer(std::initializer_list<MsgAnswer> answers)
    {
        for (MsgAnswer a : answers)
            dialogs.answers.enqueue(a);
    }
};
