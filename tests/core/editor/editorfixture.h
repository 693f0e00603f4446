#pragma once
// A document without a window for the editor's rules: the fakes of the
// seams, a view that counts what the editor asks of the main window, and an
// editor context over them.

#include "core/cards/cardlist.h"
#include "core/document/document.h"
#include "core/document/documentview.h"
#include "core/editor/editorcontext.h"
#include "core/editor/editsession.h"
#include "core/settings/settingkeys.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <gtest/gtest.h>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

class CountingView : public DocumentView
{
public:
    QStringList titles;
    int groupRebuilds = 0;
    int previewRefreshes = 0;
    void showTitle(const QString &title) override { titles.append(title); }
    void rebuildGroupList() override { ++groupRebuilds; }
    void refreshPreview() override { ++previewRefreshes; }
};

class EditorTest : public ::testing::Test
{
protected:
    // Declared first: the document reads the program folder when it is made.
    ScopedProgramFolder folder;
    FakeDialogs dialogs;
    FakeClock clock;
    FakeUserStore userStore;
    FakeProcesses processes;
    FakeShell shell;
    Services services{&dialogs, &shell, &processes, nullptr, &userStore, &clock};
    Document document{services};
    CountingView view;
    EditorContext context{document};
    int saves = 0;
    QStringList extracted;
    bool browse = false;

    void SetUp() override
    {
        document.setView(&view);
        document.settings().FillDefaultSettings();
        document.SetDocumentPath(folder.file(QStringLiteral("memo.qlw")));
        context.hooks.saveDocument = [this] { ++saves; };
        context.hooks.extractByKeyword = [this](const QString &keyword) { extracted.append(keyword); };
        context.hooks.browseMode = [this] { return browse; };
        context.hooks.toggleBrowseMode = [this] { browse = !browse; };
    }

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
