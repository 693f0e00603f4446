#include "gui/mainwindow/documentwiring.h"

#include "core/document/document.h"
#include "core/settings/settingkeys.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/mainform.h"

DocumentWiring *DocumentWiring::attach(MainForm &window, Document &document)
{
    if (auto *wiring = window.findChild<DocumentWiring *>(QString(), Qt::FindDirectChildrenOnly))
        return wiring;
    return new DocumentWiring(window, document);
}

DocumentWiring::DocumentWiring(MainForm &window, Document &document)
    : QObject(&window), m_window(window), m_document(document)
{
    setObjectName(QStringLiteral("DocumentWiring"));
    window.setCardModels(&document.lvData(0).store(), &document.lvData(1).store(), &document.lvData(0).selectionModel(),
                         &document.lvData(1).selectionModel());
    window.viewState().follow(document);
    document.setWindow(this);

    MainForm *w = &window;
    connect(&document, &Document::titleChanged, w, &QWidget::setWindowTitle);
    connect(&document, &Document::pathChanged, this,
            [this] { m_window.commands().setEnabled(Cmd::Reload, m_document.reloadEnabled()); });
    connect(&document, &Document::recentFilesChanged, this, &DocumentWiring::showRecentFiles);
    connect(&document, &Document::settingsApplied, this, [this](const AppliedSettings &values) {
        m_window.setFunctionBarClicksOff(m_document.settings().isOn(SettingKey::NoFunctionBarClickEvent));
        m_window.applySettings(values);
    });
    connect(&document, &Document::cardShown, w, &MainForm::showCard);
    connect(&document, &Document::opened, w, &MainForm::focusKeyword);
    window.commands().setEnabled(Cmd::Reload, document.reloadEnabled());
}

DocumentWiring::~DocumentWiring()
{
    if (m_document.window() == this)
        m_document.setWindow(nullptr);
}

void DocumentWiring::showRecentFiles(const QStringList &captions)
{
    MainCommands &commands = m_window.commands();
    for (int n = 0; n < captions.size() && n < Cmd::RecentFileCount; ++n) {
        commands.setText(Cmd::recentFile(n), captions.at(n));
        commands.setVisible(Cmd::recentFile(n), true);
    }
}

std::optional<WindowState> DocumentWiring::windowState() const
{
    return m_window.storedState();
}

void DocumentWiring::show()
{
    m_window.show();
}
