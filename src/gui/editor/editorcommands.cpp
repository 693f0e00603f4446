#include "gui/editor/editorcommands.h"

#include "core/cards/cardlist.h"
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/editor/editform.h"
#include "gui/mainwindow/mainform.h"

#include <QApplication>

// The program's windows around the external editor: the main window and the
// open editors hidden while it runs, every window disabled while it is waited
// for, the hourglass shown.
class EditorCommands::ProgramWindows : public ExternalEditWindows
{
public:
    ProgramWindows(QWidget &mainWindow, EditWindows &editors) : m_main(mainWindow), m_editors(editors) {}

    void hideAll() override
    {
        m_mainWasVisible = m_main.isVisible();
        m_main.hide();
        m_editors.forEach([](EditorWindow &editor) { editor.setShown(false); });
    }

    void showAll() override
    {
        if (m_mainWasVisible)
            m_main.show();
        m_editors.forEach([](EditorWindow &editor) { editor.setShown(true); });
        m_main.raise();
        m_main.activateWindow();
    }

    void beginWait() override
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_disabled.clear();
        for (QWidget *window : QApplication::topLevelWidgets())
            if (window->isEnabled()) {
                m_disabled.append(window);
                window->setEnabled(false);
            }
    }

    void endWait() override
    {
        for (const QPointer<QWidget> &window : std::as_const(m_disabled))
            if (window)
                window->setEnabled(true);
        m_disabled.clear();
        QApplication::restoreOverrideCursor();
    }

private:
    QWidget &m_main;
    EditWindows &m_editors;
    bool m_mainWasVisible = true;
    QList<QPointer<QWidget>> m_disabled;
};

EditorCommands::EditorCommands(MainForm &window, Document &document, FileCommands &files, QObject *parent)
    : QObject(parent), m_window(window), m_document(document), m_files(files), m_context(document, &window.viewState()),
      m_programWindows(std::make_unique<ProgramWindows>(window, m_context.windows()))
{
    m_context.programWindows = m_programWindows.get();
    // A failed save has told the person why.
    connect(&m_context, &EditorContext::saveRequested, this, [this] { (void)m_files.Save(); });
    connect(&m_context, &EditorContext::extractionRequested, this, [this](const QString &keyword) {
        MainCommands &commands = m_window.commands();
        if (!commands.trigger(Cmd::EndExtraction))
            m_document.LeaveExtractionMode();
        m_window.setKeyword(keyword);
        commands.trigger(Cmd::Extract);
        m_window.raise();
        m_window.activateWindow();
    });
}

EditorCommands::~EditorCommands()
{
    if (m_document.editors() == &m_context.windows())
        m_document.setEditors(nullptr);
    closeAllEditors();
    // The editors delete themselves later; with the event loop gone, now.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void EditorCommands::install()
{
    MainCommands &commands = m_window.commands();
    commands.wire(Cmd::EditCard, [this] { editSelectedCards(); });
    if (!commands.isWired(Cmd::BrowseSpace))
        commands.wire(Cmd::BrowseSpace, [this] { browseSpace(); });
    m_document.setEditors(&m_context.windows());
    connect(&m_document, &Document::editRequested, this, &EditorCommands::editCurrentCard, Qt::UniqueConnection);
}

EditWindows::OpenResult EditorCommands::openEditor(int listIndex, const QString &key)
{
    const bool mostFront = m_window.viewState().mostFront();
    return m_context.windows().open(m_document.dialogs(), listIndex, key, mostFront,
                                    [this](int slot, int list, const QString &cardKey) {
                                        auto *editor = new EditForm(m_context, list, cardKey, slot);
                                        if (!editor->load()) {
                                            delete editor;
                                            return static_cast<EditorWindow *>(nullptr);
                                        }
                                        return static_cast<EditorWindow *>(editor);
                                    });
}

void EditorCommands::editSelectedCards()
{
    editCurrentCard(m_document.ActiveListIndex());
}

void EditorCommands::editCurrentCard(int listIndex)
{
    const Card *card = m_document.lvData(listIndex).currentCard();
    if (!card)
        return;
    openEditor(listIndex, card->key);
}

void EditorCommands::browseSpace()
{
    const int listIndex = m_document.ActiveListIndex();
    CardList &list = m_document.lvData(listIndex);
    if (list.store().isEmpty())
        return;
    if (list.currentRow() < 0)
        list.setCurrentRow(0);
    const qsizetype row = list.currentRow();
    openEditor(listIndex, list.store().at(row).key);
    if (row + 1 >= list.store().count())
        return; // the last card stays current
    list.setSelected(row, false);
    list.setCurrentRow(row + 1);
    list.setSelected(row + 1);
    m_document.ShowCard(listIndex, row + 1);
}

int EditorCommands::openEditorCount() const
{
    return m_context.windows().openCount();
}

void EditorCommands::closeAllEditors()
{
    m_context.windows().closeAll();
}

EditForm *EditorCommands::editorAt(int slot) const
{
    return dynamic_cast<EditForm *>(m_context.windows().at(slot));
}

EditForm *EditorCommands::editorFor(const QString &key) const
{
    return dynamic_cast<EditForm *>(m_context.windows().findByKey(key));
}
