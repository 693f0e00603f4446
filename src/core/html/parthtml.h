#pragma once
// The quick hierarchical export that needs no template: one page per card
// in a fixed layout, one index page per group, one overall index page and,
// for the HTML Help kind, the contents file "index.hhc".
//
// Names on disk are decided once per run, and every link and contents entry
// points at the file its card was really written to:
//  - a card's group is the text before its first "＠" without the date
//    prefix and without surrounding spaces, so " A " and "A" are one group
//    whose folder is "A";
//  - a folder or file level is cleaned of the characters file systems
//    refuse ("\" included: no level nests), a level of dots only gets
//    full-width dots, a level over 255 bytes is shortened;
//  - two cards (or groups) that would take one name in the same folder,
//    letter case ignored, get "_2", "_3", ...; "index.html" belongs to the
//    folder's own index page;
//  - a page lies in its group's folder, or in the root for cards without a
//    group and for every card of the HTML Help kind.
// Every file goes through a PageSink: a page that already holds the same
// bytes is left alone, so a second run writes only what changed. Pages are
// Windows-31J (what their header declares) with characters the code page
// lacks as "&#x...;".

#include "core/html/pagesink.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class CardList;
class Dialogs;
class iniMente;

namespace PartHtml {

enum class Kind {
    All = 0,      // 全カードを階層型HTML
    Selected = 1, // 選択カードを階層型HTML: only the selected cards' pages
    Help = 2,     // HTMLヘルプ形式: every page in the root, and "index.hhc"
};

// How card pages are named (the setting PartHTMLTitleMode).
enum class TitleMode {
    Name = 0,   // after the card's name
    Serial = 1, // "QLTW" and the card's position from 1, at least four digits
    Temp = 2,   // "Temp", numbered on from the second card
};

struct Job {
    QString root;
    Kind kind = Kind::All;
    TitleMode titleMode = TitleMode::Name;
    bool noHeader = false;  // NoHTMLHeader: card pages hold only the raw content
    bool noRemarks = false; // NoWriteColumn2: no " - " remarks in the heading
};

// One card as the export writes and links it.
struct PartCard {
    qsizetype row = 0;  // position in the list
    QString name;       // shown in the indexes and the contents
    QString shownTitle; // S: page title and heading
    QString file;       // path relative to the root, "/" between levels
    bool selected = false;
};

struct PartGroup {
    QString name;   // the group text; the first group has the empty name
    QString folder; // relative folder of its index page; empty for the first group
    QList<PartCard> cards;
};
using PartGroups = QList<PartGroup>;

// The file names of the export.
namespace Names {
inline const QString IndexPage = QStringLiteral("index.html");
inline const QString Contents = QStringLiteral("index.hhc");
inline const QString StyleSheet = QStringLiteral("qlt_style.css");
} // namespace Names

// "QLTW0007" for the card at row 6.
QString SerialName(qsizetype row);

// Groups in order of first appearance, the first one always the group
// without name; every name on disk decided.
PartGroups CollectPartGroups(const CardList &list, Kind kind, TitleMode mode);

// The page texts (without the final CR LF the sink adds).
QString PageHeader(const QString &title);
QString PageFooter();
// A card page in folder (relative to the root) refers to the root's style sheet.
QString CardPageText(const QString &shownTitle, const QString &remarks, const QString &content, const Job &job,
                     const QString &folder = QString());
QString RootIndexText(const PartGroups &groups);
QString GroupIndexText(const PartGroups &groups, qsizetype group);
QString ContentsText(const PartGroups &groups);
// The style sheet written into the root when it holds none yet.
QString DefaultStyleSheet();

struct Result {
    qsizetype written = 0;
    qsizetype unchanged = 0;
    QList<PageFailure> failures; // what could not be written, and why
    bool complete() const { return failures.isEmpty(); }
};

// Writes the export of list into job.root (created when missing). Failures
// are collected, not shown.
[[nodiscard]] Result Export(const CardList &list, const Job &job);

// The message that tells what went wrong and what was written.
QString FailureMessage(const Result &result, const QString &root);

// The menu command on the main card list: asks for the root folder
// (starting at the card file's folder) and the overwrite confirmation,
// ends extraction mode first for the "all cards" kind (leaveExtraction),
// reads PartHTMLTitleMode, NoHTMLHeader and NoWriteColumn2 from settings,
// exports and says what failed. Nothing happens on an empty list.
struct CommandContext {
    CardList &mainList;
    iniMente &settings;
    Dialogs &dialogs;
    QString documentPath;
    std::function<void()> leaveExtraction = {};
};
void RunCommand(Kind kind, const CommandContext &ctx);

namespace Texts {
inline const QString FolderPrompt = QStringLiteral("階層HTMLを保存するフォルダを指定してください。");
inline const QString OverwriteQuestion =
    QStringLiteral("同名のファイルが存在すると、無条件で上書きされます。\r\nよろしいですか？");
inline const QString FolderError = QStringLiteral("フォルダの作成時にエラーが発生しました。");
inline const QString WriteError = QStringLiteral("階層HTMLの出力中にエラーが発生しました。");
} // namespace Texts

} // namespace PartHtml
