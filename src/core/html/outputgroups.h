#pragma once
// The collection phase of an HTML run: the cards of a list sorted into
// output groups, with every number, folder and file name decided and the
// three texts prepared for output.
//
// Names on disk are made so that every page of a run has a file of its own
// and every link finds it:
//  - a group's folder is its name after file-name cleaning, "\" making
//    nested folders ("A\B" is the folder A/B); levels that are empty are
//    dropped, a level of dots only gets full-width dots (never "." or ".."),
//    a level ending in ".html" or taking one of the root's file names gets
//    "_" appended, and a group whose name leaves nothing gets the numbered
//    name;
//  - a card's file is its name after file-name cleaning with "\" replaced,
//    and ".html";
//  - names that would coincide with an earlier one of the same folder
//    (letter case ignored, so that the tree also survives a file system or
//    help compiler that ignores it) get "_2", "_3", ...; "index.html" is
//    kept for the folder's own page;
//  - a level longer than 255 bytes is shortened, keeping ".html".

#include "core/html/htmloptions.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class CardList;
class Dialogs;
struct Card;

struct OutputGroup {
    QString GroupName;   // as collected, unescaped
    QString GroupNumber; // "000000"
    QString FolderName;  // relative folder on disk, "/" between levels
    qsizetype CardCount = 0;
    QStringList Names;       // per card: the name for indexes and "[item1]", unescaped
    QStringList CardNumbers; // per card: "000000"
    QStringList FileNames;   // per card: the file name of its card page
    QStringList Remarks;     // per card: "[item2]" as prepared
    QStringList Contents;    // per card: "[item3]" as prepared
    // Remarks and Contents are the cards' own texts, prepared by the page
    // writers as they write them (the options of the run in PageContext).
    bool RawTexts = false;

    // Levels of FolderName below the root (1 for "A", 2 for "A/B").
    int depth() const { return int(FolderName.count(QLatin1Char('/'))) + 1; }
};
using OutputGroups = QList<OutputGroup>;

namespace HtmlNames {
inline const QString DefaultGroup = QStringLiteral("総合");
inline const QString NumberPrefix = QStringLiteral("qlt");
inline const QString Extension = QStringLiteral(".html");
inline const QString IndexPage = QStringLiteral("index.html");
inline const QString StyleSheet = QStringLiteral("qlt_style.css");
inline const QString HelpContents = QStringLiteral("HTMLHELP.hhc");
inline const QString HelpProject = QStringLiteral("HTMLHELP.hhp");
inline constexpr qsizetype MaxNameBytes = 255;
} // namespace HtmlNames

// "000000" for n.
QString HtmlNumber(qsizetype n);

// Walks the list once, from the first card to the last (only the selected
// ones with onlySelected), and fills groups. True when at least one card was
// collected. reverseNumber is not applied here (ReverseNumbering).
// keepGoing, when given, is asked every few thousand cards, so that a window
// stays alive through a long list; false stops the walk (groups then hold
// what was collected so far, and the result is false).
// With TextForm::Raw the remarks and contents are taken as the cards hold
// them (OutputGroup::RawTexts), so that no prepared copy of every text is
// held through a run.
enum class TextForm { Prepared, Raw };
bool CollectOutputGroups(const CardList &list, const HtmlOptions &options, OutputGroups &groups,
                         const std::function<bool()> &keepGoing = {}, TextForm form = TextForm::Prepared);

// The same card by card, for cards that come from elsewhere than a list
// (a card file read as a stream): add() the cards in list order, then
// take() the groups.
class OutputCollector
{
public:
    OutputCollector(const HtmlOptions &options, TextForm form);
    ~OutputCollector();
    OutputCollector(const OutputCollector &) = delete;
    OutputCollector &operator=(const OutputCollector &) = delete;

    void add(const Card &card);
    OutputGroups take();

private:
    struct Private;
    std::unique_ptr<Private> d;
};

// Numbers groups and cards from the last: group i of n gets n - 1 - i, card
// k of c gets c - 1 - k; folder and file names become the numbered ones.
void ReverseNumbering(OutputGroups &groups);

// Creates root/FolderName for every group, every missing level on the way
// (the root too). True when all exist afterwards.
[[nodiscard]] bool CreateGroupFolders(const OutputGroups &groups, const QString &root);

// The texts of a card as prepared for output (FakeTAB, EscapeTAG, NoBR).
QString PreparedContent(QString content, const HtmlOptions &options);
QString PreparedRemarks(QString remarks, const HtmlOptions &options);
