#pragma once
// Card transfer text: cards on the clipboard and in drag and drop, in the
// record layout of the text format (textformat.h). Differences from the
// file writer: the added date prefix is always the short form, and empty
// content is one empty line. Text holding the character 0x01 is refused.

#include "core/cards/titlefield.h"

#include <QDate>
#include <QString>

#include <functional>
#include <optional>

struct Card;
class CardList;
class CardStore;
class Dialogs;

// One record, every line ended by CR LF; an undated title field gets
// today's short prefix.
QString CardToText(const Card &card, const QDate &today);
// The records of every selected card of list, in list order (copy, cut, drag).
QString SelectedCardsToText(const CardList &list, const QDate &today);

// True when text holds no character with code 1.
bool HasNoFieldMark(QStringView text);

struct InsertOptions {
    bool keepDate = false;                    // keep the date carried in the title line
    qsizetype position = -1;                  // row of the first new card; -1: after the last
    bool select = false;                      // select the new cards
    std::optional<QString> title;             // for plain text; "(無題のカード)" when none
    std::optional<QString> remarks;           // for plain text
    DateStamp stamp;                          // StampDate for every new title field
    const CardStore *alsoAvoidKeys = nullptr; // keys must be new there too
};

// Inserts the cards text holds (icon 2, keys from the card counter) and
// returns how many. Text whose first line is not "@" is one card with the
// whole text as content; records without title line give nothing; a record
// cut off by the end of the text keeps the content lines read so far.
qsizetype InsertCardsFromText(const QString &text, CardList &list, const InsertOptions &options);

struct PasteOptions {
    bool pasteEnabled = true;          // the paste command is enabled (not in extraction mode)
    bool insertCardAtNextCard = false; // InsertCardAtNextCard is not 0
    DateStamp stamp;
    const CardStore *alsoAvoidKeys = nullptr;
    std::function<void(bool)> setModified; // called with true when cards were inserted
};

struct PasteResult {
    bool refused = false; // disabled, or the text held 0x01
    qsizetype count = 0;  // cards inserted
};

// Paste into the target (the active list): refuses text with 0x01 with the
// error message, then inserts before the current card (after it with
// insertCardAtNextCard; after the last card when none is current) with the
// selection replaced by the new cards.
PasteResult PasteCardText(const QString &text, CardList &target, Dialogs &dialogs, const PasteOptions &options,
                          const std::optional<QString> &title = std::nullopt,
                          const std::optional<QString> &remarks = std::nullopt);

// The default title of pasted plain text: its first line, stamped.
QString DefaultPasteTitle(const QString &text, const DateStamp &stamp);
