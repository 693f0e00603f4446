#pragma once
// qltcard is a set of verbs. Each verb parses its own arguments and returns
// one of the exit statuses below; failures say why on standard error.

#include <QList>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

namespace Exit {
inline constexpr int Ok = 0;
inline constexpr int Refused = 1;   // e.g. characters Windows-31J cannot hold, a field holding 0x01
inline constexpr int FileError = 2; // a file that cannot be read or written
inline constexpr int Usage = 64;    // wrong usage
} // namespace Exit

struct VerbIo {
    QTextStream &out;
    QTextStream &err;
};

struct Verb {
    QString name;
    QString synopsis;    // "dump FILE"
    QString description; // one line
    // arguments: everything after the verb name
    std::function<int(const QStringList &arguments, VerbIo &io)> run;
};

// The verbs of each group, registered in main.cpp.
QList<Verb> cardVerbs();
QList<Verb> searchVerbs();
QList<Verb> htmlVerbs();
QList<Verb> partHtmlVerbs();
