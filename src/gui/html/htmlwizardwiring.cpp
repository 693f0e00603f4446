#include "gui/html/htmlwizardwiring.h"

#include "core/document/document.h"
#include "core/html/htmlwizard.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/html/htmloutform.h"
#include "gui/mainwindow/mainform.h"

namespace HtmlWizardWiring {

void run(MainForm &window, Document &document, bool again)
{
    const CardList &list = document.activeList();
    if (!HtmlWizard::CanRun(list))
        return;
    HtmlWizard wizard(
        {document.settings(), document.dialogs(), document.services().shell, list, document.DocumentPath()});
    wizard.load();
    HTMLOutForm form(wizard, &window);
    if (!again) {
        form.exec();
        return;
    }
    form.setWindowModality(Qt::ApplicationModal);
    form.show();
    if (!form.runStraightThrough() && !form.ended())
        form.exec(); // stopped on page 2 for the destination
}

void wire(MainForm &window, Document &document)
{
    MainCommands &c = window.commands();
    c.wire(Cmd::HtmlWizard, [&window, &document] { run(window, document, false); });
    c.wire(Cmd::SaveHtml, [&window, &document] { run(window, document, false); });
    c.wire(Cmd::HtmlWizardAgain, [&window, &document] { run(window, document, true); });
    QObject::connect(&document, &Document::pathChanged, &window, [] { HtmlWizardMemory::forget(); });
    QObject::connect(&document, &Document::opened, &window, [] { HtmlWizardMemory::forget(); });
}

} // namespace HtmlWizardWiring
