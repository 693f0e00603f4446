#pragma once
// The Help menu's commands: the maker's online help, web page and support
// board through the shell, the old help file beside the program, and the mail
// to the author, which first asks whether the board would not do.

#include <QString>

class MainCommands;
struct Services;

namespace HelpCommands {

struct Links {
    QString onlineHelp;
    QString homePage;
    QString supportBoard;
    QString mail; // a "mailto:" address
};
Links defaultLinks();

// The file the old help command opens, in the program folder.
inline const QString OldHelpFile = QStringLiteral("Qlt.chm");

// The question asked before a mail is written, lines joined by CR LF.
QString mailQuestion();

// Wires HelpOnline, HelpOld, HelpKoshin, HelpHomePage, HelpBoard and HelpMail.
// services.shell and services.dialogs must outlive the commands.
void wire(MainCommands &commands, const Services &services, const Links &links = defaultLinks());

} // namespace HelpCommands
