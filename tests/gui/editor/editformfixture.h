#pragma once
// A main window over a document with the editor wiring attached, on the
// offscreen platform, and helpers to open cards in editors.

#include "core/cards/cardlist.h"
#include "core/cards/nativeformat.h"
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "core/settings/settingkeys.h"
#include "core/window/maincommands.h"
#include "gui/editor/editform.h"
#include "gui/editor/editorcommands.h"
#include "gui/mainwindow/documentwiring.h"
#include "gui/mainwindow/mainform.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

// Counts what the document announces to the main window.
class HookedView
{
public:
    // Announced changes to the main card list's cards (what the group list follows).
    int groupRebuilds = 0;
    QStringList titles;

    void follow(Document &document)
    {
        QObject::connect(&document, &Document::titleChanged, &m_receiver,
                         [this](const QString &title) { titles.append(title); });
        QObject::connect(&document, &Document::listChanged, &m_receiver, [this](int list, int changes) {
            if (list == 0 && (changes & Document::CardsChanged))
                ++groupRebuilds;
        });
    }

private:
    QObject m_receiver;
};

class EditFormTest : public ::testing::Test, public FakeSystem
{
protected:
    ScopedProgramFolder folder;
    QTemporaryDir cardsDir;
    Services services{&dialogs, &shell, &processes, &clipboard, &userStore, &clock};
    Document document{services};
    FileCommands files{document};
    HookedView view;
    MainForm window{services};
    EditorCommands editors{window, document, files};

    void SetUp() override
    {
        view.follow(document);
        document.settings().FillDefaultSettings();
        document.SetDocumentPath(cardsDir.filePath(QStringLiteral("memo.qlw")));
        DocumentWiring::attach(window, document);
        editors.install();
    }

    void TearDown() override
    {
        editors.closeAllEditors();
        flushDeletes();
    }

    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    CardStore &mainCards() { return document.lvData(0).store(); }
    const Card *card(const QString &key, int list = 0) { return document.lvData(list).store().cardWithKey(key); }

    QString addCard(const QString &title, const QString &remarks = QString(), const QString &content = QString(),
                    int list = 0)
    {
        const QString key = QStringLiteral("K%1").arg(++m_keys);
        EXPECT_TRUE(document.lvData(list).store().append(Card{key, title, remarks, content, CardIcon::Saved}));
        return key;
    }

    // Makes the card current (and alone selected) and runs the edit command.
    EditForm *open(const QString &key, int list = 0)
    {
        CardList &cards = document.lvData(list);
        const qsizetype row = cards.store().indexOfKey(key);
        EXPECT_GE(row, 0);
        cards.ClearSelection();
        cards.setCurrentRow(row);
        cards.setSelected(row);
        window.commands().trigger(QStringLiteral("EditCard"));
        EditForm *editor = editors.editorFor(key);
        if (editor) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(editor));
            QApplication::processEvents();
        }
        return editor;
    }

    static void press(QWidget *target, Qt::Key k, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(target, k, mods);
        QApplication::processEvents();
    }

private:
    int m_keys = 0;
};
