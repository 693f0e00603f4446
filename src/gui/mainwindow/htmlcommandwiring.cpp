#include "gui/mainwindow/htmlcommandwiring.h"

#include "core/cards/cardlist.h"
#include "core/common/services.h"
#include "core/document/document.h"
#include "core/html/browserpreview.h"
#include "core/html/parthtml.h"
#include "core/html/webview.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/mainwindow/mainform.h"

namespace HtmlCommandWiring {

void wire(MainForm &window, Document &document)
{
    MainCommands &c = window.commands();
    Document *doc = &document;
    auto preview = [doc](BrowserPreview::Which which) {
        Shell *shell = doc->services().shell;
        if (!shell)
            return;
        const BrowserPreview::Context ctx{doc->activeList(), doc->iniData(), doc->dialogs(), *shell,
                                          doc->DocumentPath()};
        (void)BrowserPreview::Run(which, ctx);
    };
    c.wire(Cmd::BrowserSelected, [preview] { preview(BrowserPreview::Which::Selected); });
    c.wire(Cmd::BrowserAll, [preview] { preview(BrowserPreview::Which::All); });
    c.wire(Cmd::BrowserHomePage, [doc] {
        const Card *card = doc->activeList().currentCard();
        Shell *shell = doc->services().shell;
        if (card && shell)
            (void)WebView::Open(card->content, PreviewFiles::DefaultFolders(), *shell);
    });
    auto partHtml = [doc](PartHtml::Kind kind) {
        PartHtml::RunCommand(kind,
                             PartHtml::CommandContext{doc->lvData(0), doc->iniData(), doc->dialogs(),
                                                      doc->DocumentPath(), [doc] { doc->LeaveExtractionMode(); }});
    };
    c.wire(Cmd::PartHtmlAll, [partHtml] { partHtml(PartHtml::Kind::All); });
    c.wire(Cmd::PartHtmlSelected, [partHtml] { partHtml(PartHtml::Kind::Selected); });
    c.wire(Cmd::PartHtmlHelp, [partHtml] { partHtml(PartHtml::Kind::Help); });
}

} // namespace HtmlCommandWiring
