#pragma once
// A document without a window: the fakes of the seams, a recording view and
// helpers to lay down card files.

#include "core/cards/cardstore.h"
#include "core/cards/nativeformat.h"
#include "core/common/win31j.h"
#include "core/document/document.h"
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

// Records what the document announces and answers what it asks of the
// window, as a window following its signals would see it.
class RecordingView : public DocumentWindow, public OpenEditors
{
public:
    explicit RecordingView(Document &document) : m_document(document) { attach(); }

    QStringList titles;
    bool reloadEnabled = false;
    QList<QStringList> recentMenus;
    int htmlFolderForgotten = 0;
    int applied = 0;
    AppliedSettings lastApplied;
    std::optional<WindowState> state;
    int sortsCancelled = 0;
    // Announced changes to the active card list (what the preview follows)
    // and to the main card list's cards (what the group list follows).
    int previewRefreshes = 0;
    int searchFocus = 0;
    int groupRebuilds = 0;
    QList<std::pair<int, qsizetype>> madeVisible;
    // The titles of the selected cards each time an edit was asked for.
    QList<QStringList> editedSelections;
    int editors = 0;
    int editorsClosed = 0;

    std::optional<WindowState> windowState() const override { return state; }
    int openCount() const override { return editors; }
    void closeAll() override
    {
        ++editorsClosed;
        editors = 0;
    }

    // Stops following the document: it runs with no window at all.
    void detach()
    {
        m_document.disconnect(&m_receiver);
        m_document.setWindow(nullptr);
        m_document.setEditors(nullptr);
    }

private:
    void attach()
    {
        Document *doc = &m_document;
        m_document.setWindow(this);
        m_document.setEditors(this);
        QObject::connect(doc, &Document::titleChanged, &m_receiver, [this](const QString &t) { titles.append(t); });
        QObject::connect(doc, &Document::pathChanged, &m_receiver, [this] {
            reloadEnabled = m_document.reloadEnabled();
            ++htmlFolderForgotten;
        });
        QObject::connect(doc, &Document::recentFilesChanged, &m_receiver,
                         [this](const QStringList &captions) { recentMenus.append(captions); });
        QObject::connect(doc, &Document::settingsApplied, &m_receiver, [this](const AppliedSettings &values) {
            ++applied;
            lastApplied = values;
        });
        QObject::connect(doc, &Document::cardsAboutToBeReplaced, &m_receiver, [this] { ++sortsCancelled; });
        QObject::connect(doc, &Document::opened, &m_receiver, [this] { ++searchFocus; });
        QObject::connect(doc, &Document::listChanged, &m_receiver, [this](int list, int changes) {
            if (list == m_document.ActiveListIndex())
                ++previewRefreshes;
            if (list == 0 && (changes & Document::CardsChanged))
                ++groupRebuilds;
        });
        QObject::connect(doc, &Document::cardShown, &m_receiver, [this](int list, qsizetype row) {
            madeVisible.append({list, row});
        });
        QObject::connect(doc, &Document::editRequested, &m_receiver, [this] {
            QStringList keys;
            CardList &list = m_document.lvData(0);
            for (qsizetype row : list.selectedRows())
                keys.append(list.store().at(row).title);
            editedSelections.append(keys);
        });
    }

    Document &m_document;
    QObject m_receiver;
};

inline Card MakeCard(const QString &title, const QString &remarks = QString(), const QString &content = QString())
{
    static int n = 0;
    return Card{QStringLiteral("T%1").arg(++n), title, remarks, content, CardIcon::Saved};
}

class LifecycleTest : public ::testing::Test, public FakeSystem
{
protected:
    // Declared first: the document reads the program folder when it is made.
    ScopedProgramFolder folder;
    QTemporaryDir cardsDir;
    Services services{&dialogs, nullptr, &processes, nullptr, &userStore, &clock};
    Document document{services};
    RecordingView view{document};
    FileCommands files{document};

    // The changes to the card lists made so far, announced as the event
    // loop would announce them.
    void settle() { document.flushListChanges(); }

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
