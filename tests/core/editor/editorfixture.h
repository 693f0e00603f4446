#pragma once
// A document without a window for the editor's rules: the fakes of the
// seams, a view that counts what the editor asks of the main window, and an
// editor context over them.

#include "core/cards/cardlist.h"
#include "core/document/document.h"
#include "core/editor/editorcontext.h"
#include "core/editor/editsession.h"
#include "core/settings/settingkeys.h"
#include "core/window/maincommands.h"
#include "core/window/viewcontroller.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Counts what the document announces to the main window.
class CountingView
{
public:
    QStringList titles;
    // Announced changes to the main card list's cards (what the group list
    // follows) and to the active list (what the preview follows).
    int groupRebuilds = 0;
    int previewRefreshes = 0;

    void follow(Document &document)
    {
        QObject::connect(&document, &Document::titleChanged, &m_receiver,
                         [this](const QString &title) { titles.append(title); });
        QObject::connect(&document, &Document::listChanged, &m_receiver, [this, &document](int list, int changes) {
            if (list == 0 && (changes & Document::CardsChanged))
                ++groupRebuilds;
            if (list == document.ActiveListIndex())
                ++previewRefreshes;
        });
    }

private:
    QObject m_receiver;
};

class EditorTest : public ::testing::Test, public FakeSystem
{
protected:
    // Declared first: the document reads the program folder when it is made.
    ScopedProgramFolder folder;
    Services services{&dialogs, &shell, &processes, nullptr, &userStore, &clock};
    Document document{services};
    CountingView view;
    // The main window's view state (browse mode) on a registry of its own.
    MainCommands windowCommands;
    MainViewController viewState{windowCommands, services};
    EditorContext context{document, &viewState};
    int saves = 0;
    QStringList extracted;
    bool browse = false;

    void SetUp() override
    {
        view.follow(document);
        document.settings().FillDefaultSettings();
        document.SetDocumentPath(folder.file(QStringLiteral("memo.qlw")));
        QObject::connect(&context, &EditorContext::saveRequested, [this] { ++saves; });
        QObject::connect(&context, &EditorContext::extractionRequested,
                         [this](const QString &keyword) { extracted.append(keyword); });
        QObject::connect(&viewState, &MainViewController::browseModeChanged, [this](bool on) { browse = on; });
    }

    // The changes to the card lists made so far, announced as the event
    // loop would announce them.
    void settle() { document.flushListChanges(); }

    CardStore &mainCards() { return document.lvData(0).store(); }
    CardStore &extractionCards() { return document.lvData(1).store(); }

    // Appends a card (icon 1) and returns its key.
    QString addCard(const QString &title, const QString &remarks = QString(), const QString &content = QString(),
                    int list = 0)
    {
        const QString key = QStringLiteral("K%1").arg(++m_keys);
        EXPECT_TRUE(document.lvData(list).store().append(Card{key, title, remarks, content, CardIcon::Saved}));
        return key;
    }

    // A loaded session on the card, tracking as a visible window does.
    std::unique_ptr<EditSession> openSession(const QString &key, int list = 0, int slot = 0)
    {
        auto session = std::make_unique<EditSession>(context, list, key, slot);
        EXPECT_TRUE(session->load());
        session->setTracking(true);
        return session;
    }

    const Card *card(const QString &key, int list = 0) { return document.lvData(list).store().cardWithKey(key); }

private:
    int m_keys = 0;
};
