#pragma once
// The page phase of an HTML run: each writer fills the template sections it
// needs with the prepared values of the output groups and puts its pages
// into a PageSink. A writer stops at its first failed page and says so
// through the dialogs (when given); pages already written stay.
//
// Placeholders are replaced in the order each section's table gives, one
// after the other over the whole growing text, so a value inserted earlier
// meets the later placeholders. "[root]" is replaced first, by the way up
// from the page's folder to the root ("", "../", "../../"), so pages in
// nested folders find the style sheet; a card text holding "[root]" stays
// as it is.
//
// A page is written in UTF-8 when its outer section declares charset=utf-8,
// else in Windows-31J with characters the code page lacks as "&#x...;".

#include "core/html/htmloptions.h"
#include "core/html/outputgroups.h"
#include "core/html/pagesink.h"

#include <QString>

class Dialogs;
class HtmlTemplate;

// What every page of a run shares.
struct PageContext {
    const HtmlTemplate &tmpl;
    QString fileName;           // "[filename]": the card file's name without folder and last extension
    bool escapeNames = true;    // names and group names with "&<>\"" escaped (EscapeTAG)
    Dialogs *dialogs = nullptr; // failures are reported here when set
    // Put before "#Card..." in the anchor links of the group pages: empty
    // (the Part's form), or "index.html" for HTML Help, whose compiler
    // takes a link of a bare "#..." for a file.
    QString anchorPage = {};
    // Told the name of every card before its page is written.
    std::function<void(const QString &name)> onCard = {};
    // How the texts of groups collected raw (OutputGroup::RawTexts) are
    // prepared: "[item3]" and "[item2]".
    HtmlText::Preparing contentRules = {};
    HtmlText::Preparing remarksRules = {};
};

// The preparing of a run's options: content, then remarks.
HtmlText::Preparing ContentRules(const HtmlOptions &options);
HtmlText::Preparing RemarksRules(const HtmlOptions &options);

// The value of "[filename]" for a document path: its base name, empty when
// the name begins with ".".
QString TemplateFileName(const QString &documentPath);

// Index lines, one per card with CR LF: style 0 links within the group's
// folder, 1 from the root, 2 and 3 to the cards' anchors ("#Card" G "-" C).
QString BuildIndexItems(const OutputGroup &group, int style, bool escapeNames = false,
                        const QString &anchorPage = QString());

bool WriteRootIndexPage(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink);
bool WriteGroupIndexPages(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink);
bool WriteCardPages(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink);
bool WriteSimpleRootPage(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink);
bool WriteSimpleGroupPages(const OutputGroups &groups, const QString &root, const PageContext &ctx, PageSink &sink);

QString BuildSinglePage(const OutputGroups &groups, const PageContext &ctx);
// Writes the single page to path; an empty page writes nothing and gives false.
bool WriteSinglePage(const QString &path, const OutputGroups &groups, const PageContext &ctx, PageSink &sink);

// "HTMLHELP.hhc" in root, always in Windows-31J; anchors (mode 4) points the
// entries at the cards' anchors in their group pages, else at the card pages.
// No message on failure.
bool WriteHelpContents(const OutputGroups &groups, const QString &root, bool anchors, const PageContext &ctx,
                       PageSink &sink);
// "HTMLHELP.hhp" beside it: the HTML Help project listing every page, so the
// tree compiles as it is.
bool WriteHelpProject(const OutputGroups &groups, const QString &root, bool anchors, bool withStyleSheet,
                      const PageContext &ctx, PageSink &sink);

// The style sheet text of the entry: the body of the first card whose title
// begins with it.
QString StyleSheetText(const HtmlTemplate &tmpl, const QString &styleSheetKey);
// "qlt_style.css" in folder; nothing when the style sheet is empty.
bool WriteStyleSheet(const QString &folder, const QString &styleSheetKey, const PageContext &ctx, PageSink &sink);
