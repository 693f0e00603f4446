// The verbs of the main window's group list and extraction: groups lists the
// groups as the group list shows them, grep prints the cards a fresh
// extraction keeps. The file is read as dump reads it (qlt, txt and stk
// cards keep their date prefixes).
#include "cardoutput.h"
#include "verb.h"

#include "core/cards/cardstore.h"
#include "core/search/cardmatch.h"
#include "core/search/grouplist.h"

namespace {

int runGroups(const QStringList &arguments, VerbIo &io)
{
    const QString verb = QStringLiteral("groups");
    if (CardOutput::wantsHelp(arguments)) {
        io.out << "Usage: qltcard groups FILE\n\n"
                  "Prints the groups of FILE, one name per line, in the order of the group list of\n"
                  "QLTWIN without its first entry \"全て\": each distinct group (the text before the\n"
                  "first \"＠\" of a title field, without date prefix; names compared exactly) in the\n"
                  "order of the first card that carries it. A title field starting with \"＠\" is in\n"
                  "the group \"\", printed as an empty line. The file is read as dump reads it.\n";
        return Exit::Ok;
    }
    if (arguments.size() != 1 || arguments.first().startsWith(QLatin1String("--")))
        return CardOutput::usage(io, verb, QStringLiteral("expects exactly one FILE"));
    CardStore store;
    ReadResult read;
    if (const int status = CardOutput::readCards(io, verb, arguments.first(), store, &read))
        return status;
    QString out;
    for (const GroupList::Entry &e : GroupList::Build(store)) {
        if (e.key == GroupList::rootKey())
            continue;
        out += e.text;
        out += QLatin1Char('\n');
    }
    io.out << out;
    return Exit::Ok;
}

int runGrep(const QStringList &arguments, VerbIo &io)
{
    const QString verb = QStringLiteral("grep");
    if (CardOutput::wantsHelp(arguments)) {
        io.out << "Usage: qltcard grep [--regex] KEYWORD FILE\n\n"
                  "Prints the cards of FILE that an extraction with KEYWORD keeps, in list order and\n"
                  "exactly as dump prints them (one JSON object per card and line). A card is tested\n"
                  "on its title field, remarks and content joined with nothing between them.\n"
                  "  plain text (default)  KEYWORD occurs in the card, regardless of letter case and of\n"
                  "                        the width of letters, digits and katakana (Ａ = a, ｶﾞ = ガ);\n"
                  "                        hiragana and katakana stay distinct\n"
                  "  --regex               KEYWORD is a regular expression (case-insensitive) with at\n"
                  "                        least one match in the card\n"
                  "A pattern the engine rejects matches no card: nothing is printed, the reason goes\n"
                  "to standard error and the exit status is 1. Finding no card is a success (0).\n"
                  "A KEYWORD starting with \"-\" follows \"--\".\n";
        return Exit::Ok;
    }
    bool regex = false;
    bool optionsEnded = false;
    QStringList operands;
    for (const QString &a : arguments) {
        if (!optionsEnded && a == QLatin1String("--")) {
            optionsEnded = true;
        } else if (!optionsEnded && a == QLatin1String("--regex")) {
            regex = true;
        } else if (!optionsEnded && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            return CardOutput::usage(io, verb, QStringLiteral("unknown option %1").arg(a));
        } else {
            operands.append(a);
        }
    }
    if (operands.size() != 2)
        return CardOutput::usage(io, verb, QStringLiteral("expects KEYWORD and FILE"));
    const QString &keyword = operands[0];
    if (keyword.isEmpty())
        return CardOutput::usage(io, verb, QStringLiteral("KEYWORD is empty (an empty keyword extracts nothing)"));
    const CardMatcher matcher(keyword, regex ? MatchMode::RegularExpression : MatchMode::PlainText);
    if (matcher.matchesNothing()) {
        QRegularExpression pattern(keyword);
        io.err << "qltcard grep: the pattern \"" << keyword << "\" is rejected (" << pattern.errorString()
               << " at offset " << pattern.patternErrorOffset() << "); it matches no card\n";
        return Exit::Refused;
    }

    // Card by card as the file is read, as dump prints: the cards of a big
    // file are never all held, and the text decoded from the file is valid
    // UTF-16 (the pattern engine need not check it again).
    CardOutput::CardLineWriter lines(io);
    return CardOutput::streamCards(io, verb, operands[1], [&](Card &&card) {
        if (matcher.matches(card))
            lines.add(card);
    });
}

} // namespace

QList<Verb> searchVerbs()
{
    return {
        {QStringLiteral("groups"), QStringLiteral("groups FILE"),
         QStringLiteral("list the groups, one per line, in the order of the group list"), runGroups},
        {QStringLiteral("grep"), QStringLiteral("grep [--regex] KEYWORD FILE"),
         QStringLiteral("print the cards an extraction keeps, as dump prints them"), runGrep},
    };
}
