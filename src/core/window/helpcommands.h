#pragma once
// The Help menu's commands: the manual, the maker's web page and support
// board through the shell, and the mail to the author, which first asks
// whether the board would not do.
//
// The manual is the page tree published from data/help.qlw into the folder
// "help" of the program folder. "オンラインヘルプ" (F1), "旧ヘルプ" and the
// function bar's "ヘルプ" open its index page; where the program has no
// manual beside it, they open the maker's help page on the web.

#include <QString>
#include <QStringList>

class MainCommands;
struct Services;

namespace HelpCommands {

struct Links {
    QString onlineHelp;
    QString homePage;
    QString supportBoard;
    QString mail;            // a "mailto:" address
    QStringList manual = {}; // index pages of the manual, the first that exists is opened
};
Links defaultLinks();

// The manual's folder in the program folder and its index page.
inline const QString ManualFolder = QStringLiteral("help");
inline const QString ManualIndex = QStringLiteral("help/index.html");
// Where the manual may be: the installed data, then the program folder.
QStringList manualIndexCandidates();

// The manual's index page when one exists, else the online help address.
QString helpTarget(const Links &links);

// The question asked before a mail is written, lines joined by CR LF.
QString mailQuestion();

// Wires HelpOnline, HelpOld, HelpKoshin, HelpHomePage, HelpBoard and HelpMail.
// services.shell and services.dialogs must outlive the commands.
void wire(MainCommands &commands, const Services &services, const Links &links = defaultLinks());

} // namespace HelpCommands
