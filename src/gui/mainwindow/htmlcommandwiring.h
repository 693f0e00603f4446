#pragma once
// Wires the HTML commands that need no wizard into a MainForm over the
// document: the browser preview of the selected or of all cards, the web
// view of the current card, and the partial hierarchical export. The rules
// live in core/html; this only hands them the document's lists, settings
// and services.

class Document;
class MainForm;

namespace HtmlCommandWiring {

void wire(MainForm &window, Document &document);

} // namespace HtmlCommandWiring
