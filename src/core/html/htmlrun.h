#pragma once
// The one driver of an HTML run, shared by the wizard, the preview and
// `qltcard html`: collects the output groups of a card list, numbers them
// backwards when asked, and runs the writers of the mode in order, the
// style sheet last:
//   0  the single page, the style sheet beside it
//   1  group folders, root index, group index pages, card pages
//   2  group folders, root index, group pages
//   3  as 1, then the help contents and project
//   4  as 2, then the help contents and project
// A writer that fails reports itself and the next writer runs. Progress is
// reported after every page (pages done of pages to write); the callback
// can stop the run between two pages, and every page written stays whole.

#include "core/html/htmloptions.h"
#include "core/html/pagesink.h"

#include <QList>
#include <QString>

#include <functional>

class CardList;
class Dialogs;
class HtmlTemplate;

struct HtmlJob {
    HtmlMode mode = HtmlMode::Single;
    QString templatePath;
    QString styleSheet;   // an entry of the template's style-sheet list; empty: its first
    QString target;       // the output file (mode 0) or the root folder
    QString documentPath; // the card file, for "[filename]"
    HtmlOptions options;
    // Told the name of every card whose page is about to be written.
    std::function<void(const QString &name)> onCard = {};
    // A folder tree keeps a record of its pages between runs (PageRecord),
    // in recordFolder, or when that is empty in the user's cache folder.
    bool keepRecord = true;
    QString recordFolder = {};
};

struct HtmlRunResult {
    enum class Status {
        Done,             // every writer ran (some may have failed: see failures)
        NothingCollected, // no card to output: nothing written
        Cancelled,        // stopped between two pages
    };
    Status status = Status::Done;
    qsizetype total = 0; // pages to write
    qsizetype written = 0;
    qsizetype unchanged = 0;
    QList<PageFailure> failures;

    bool complete() const { return status == Status::Done && failures.isEmpty(); }
};

// The number of files the run writes for groups (the progress total).
struct OutputGroup;
qsizetype PagesToWrite(const QList<OutputGroup> &groups, HtmlMode mode, bool withStyleSheet);

// The style sheet a job writes: the entry asked for, else the template's first.
QString StyleSheetKeyOf(const HtmlTemplate &tmpl, const QString &asked);

// Runs job over the cards of list (the selected ones with onlySelected).
// Messages go to dialogs. The template is read once.
HtmlRunResult RunHtmlOutput(const CardList &list, const HtmlJob &job, Dialogs &dialogs,
                            const PageSink::Progress &progress = {});
// The same with a template already read.
HtmlRunResult RunHtmlOutput(const CardList &list, const HtmlJob &job, const HtmlTemplate &tmpl, Dialogs &dialogs,
                            const PageSink::Progress &progress = {});
// The page phase alone, over groups collected already (OutputCollector with
// job.options): the same run as above from the numbering on (groups are
// numbered backwards in place when asked). An empty groups says so and
// writes nothing.
HtmlRunResult WriteHtmlOutput(QList<OutputGroup> &groups, const HtmlJob &job, const HtmlTemplate &tmpl,
                              Dialogs &dialogs, const PageSink::Progress &progress = {});
