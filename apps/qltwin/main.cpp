// QLTWIN's entry: the services, the document and the main window, the
// commands of every subsystem wired into the window, then the start-up
// routine.
#include "core/heap/hugepageheap.h"
#include "core/common/qtservices.h"
#include "core/common/version.h"
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "core/document/startup.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/common/japaneseui.h"
#include "gui/common/qtclipboard.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/qtshell.h"
#include "gui/editor/editorcommands.h"
#include "gui/html/htmlwizardwiring.h"
#include "gui/mainwindow/cardcommandwiring.h"
#include "gui/mainwindow/carddragwiring.h"
#include "gui/mainwindow/documentwiring.h"
#include "gui/mainwindow/mainform.h"
#include "gui/mainwindow/searchwiring.h"
#include "gui/mainwindow/splashform.h"
#include "gui/settings/settingswiring.h"

#include <QApplication>
#include <QDir>

namespace {

void wireFileCommands(MainForm &window, FileCommands &files)
{
    MainCommands &c = window.commands();
    c.wire(Cmd::NewWindow, [&files] { files.NewWindow(); });
    c.wire(Cmd::NewDocument, [&files] { files.NewDocument(); });
    c.wire(Cmd::OpenDocument, [&files] { files.OpenWithDialog(); });
    // A failed save has told the person why; the menu has nothing to add.
    c.wire(Cmd::SaveDocument, [&files] { (void)files.Save(); });
    c.wire(Cmd::SaveDocumentAs, [&files] { (void)files.SaveAs(); });
    c.wire(Cmd::Reload, [&files] { files.Reload(); });
    c.wire(Cmd::LoadQlw, [&files] { files.OpenWithDialog(&DocumentTexts::QlwFormat); });
    c.wire(Cmd::LoadCsv, [&files] { files.OpenWithDialog(&DocumentTexts::CsvFormat); });
    c.wire(Cmd::SaveQlw, [&files] { (void)files.SaveAs(&DocumentTexts::QlwFormat); });
    c.wire(Cmd::SaveCsv, [&files] { (void)files.SaveAs(&DocumentTexts::CsvFormat); });
    for (int n = 0; n < Cmd::RecentFileCount; ++n)
        c.wire(Cmd::recentFile(n), [&files, n] { files.OpenRecentFile(n); });
    window.setCloseGuard([&files] { return files.WindowClosing(); });
}

void wireAbout(MainForm &window, Shell &shell)
{
    window.commands().wire(Cmd::About, [&window, &shell] {
        SplashForm about(shell, &window);
        about.exec();
    });
}

} // namespace

int main(int argc, char **argv)
{
    HugePageHeap::Use(argv);
    QApplication app(argc, argv);
    QtDialogConversions::setProgramName(QStringLiteral("QLTWIN"));
    QApplication::setApplicationVersion(Version::dotted());
    JapaneseUi::install(app);
    // Start-up may show messages before the window exists (welcome, first
    // run, the file-in-use question); closing one must not end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QtDialogs dialogs;
    QtShell shell;
    QtProcesses processes;
    QtClipboard clipboard;
    QSettingsUserStore userStore;
    SystemClock clock;
    const Services services{&dialogs, &shell, &processes, &clipboard, &userStore, &clock};

    Document document(services);
    FileCommands files(document);
    MainForm window(services);
    dialogs.setOwner(&window);
    window.setSettingWriter(
        [&document](const QString &key, const QVariant &value) { document.iniData().SetiniValue(key, value); });

    // The window follows the document first: it takes the applied settings
    // before the sort restores its header marks.
    DocumentWiring *shown = DocumentWiring::attach(window, document);
    wireFileCommands(window, files);
    SearchWiring *search = SearchWiring::wire(window, document);
    EditorCommands editors(window, document, files);
    editors.install();
    CardCommandWiring::wire(window, document, search->commands());
    CardDragWiring::wire(window, document, files);
    wireAbout(window, shell);
    SettingsWiring::wire(window.commands(), document, &window);
    HtmlWizardWiring::wire(window, document);

    Startup startup(files, *shown);
    if (startup.run(app.arguments().mid(1), QDir::currentPath()) == Startup::Result::Exit)
        return 0;
    QApplication::setQuitOnLastWindowClosed(true);
    const int code = app.exec();
    // The window closed, its cards saved or let go: the process gives their
    // memory back faster than freeing them card by card would.
    document.releaseCardsForExit();
    return code;
}
