#pragma once
// The HTML output wizard in the main window: "HTMLウイザード(&7)", the
// toolbar button and the save button's "HTML形式" show it modally;
// "HTMLウイザード再実行" (Ctrl+M) runs it straight through with the choices
// remembered. Both do nothing while the current card list is empty. The
// process-wide output folder is forgotten whenever the document's path is
// set.
//
//     HtmlWizardWiring::wire(window, document);

class Document;
class MainForm;

namespace HtmlWizardWiring {
void wire(MainForm &window, Document &document);
// Shows the wizard over window for the document's current list; again: run
// straight through.
void run(MainForm &window, Document &document, bool again);
} // namespace HtmlWizardWiring
