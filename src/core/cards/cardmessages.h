#pragma once
// The messages of the card formats, shown through Dialogs. The readers and
// writers only report; the document's commands decide when to show these.

#include "core/cards/cardfile.h"

#include <QString>

class CardStore;
class Dialogs;

namespace CardMessages {

inline const QString CannotWrite = QStringLiteral("ファイルが書き込めません");
inline const QString BinaryTransferText =
    QStringLiteral("0x01コードの含まれた不正なデータです。\r\n\r\nバイナリデータは扱えません。");

// How a card is named in a message: its position (from 1) and its title
// field, shortened.
QString CardLabel(const CardStore &store, qsizetype row);

// A field holding 0x01 cannot go into a native file.
QString FieldMarkRefusal(const CardStore &store, qsizetype row);
// Characters that Windows-31J cannot hold: the question before a save.
QString UnmappableQuestion(const CardStore &store, qsizetype count, qsizetype firstRow);
// Bytes that were no character on reading.
QString InvalidBytesWarning(const Win31J::DecodeStats &stats);

// Why a file could not be written, in the person's words, from the
// system's error number (AtomicFile::NotRegularFile included); the system's
// own text for a number without words of ours.
QString SystemReason(int code, const QString &systemText = QString());
// CannotWrite, the reason on a second line, and, when the folder took no new
// file, that the file was being rewritten where it lies (and where the old
// bytes are when they could not be put back).
QString CannotWriteBecause(const WriteResult &result);

// "ファイルが書き込めません" with an error icon, when there is no reason to
// give (no writer for the extension).
void ShowCannotWrite(Dialogs &dialogs);
// CannotWriteBecause with an error icon: a writer found the file not
// writable or the write failed. Shown once per failed save.
void ShowCannotWrite(Dialogs &dialogs, const WriteResult &result);
// The refusal of a native save whose card holds 0x01 (error icon).
void ShowFieldMarkRefusal(Dialogs &dialogs, const CardStore &store, qsizetype row);
// Asks (warning icon, Yes/No, No by default) whether to save although the
// characters of check become "?". True: save with lossyAllowed.
bool AskSaveWithUnmappable(Dialogs &dialogs, const CardStore &store, const SaveCheck &check);
// Warns after opening that saving would change the invalid bytes (warning
// icon); nothing when there were none.
void ShowInvalidBytesWarning(Dialogs &dialogs, const Win31J::DecodeStats &stats);
// The refusal of transfer text holding 0x01 (error icon).
void ShowBinaryTransferText(Dialogs &dialogs);

} // namespace CardMessages
