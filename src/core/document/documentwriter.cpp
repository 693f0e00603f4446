#include "core/document/documentwriter.h"

#include "core/cards/cardformats.h"
#include "core/cards/cardmessages.h"
#include "core/common/dialogs.h"
#include "core/document/document.h"
#include "core/document/documenttexts.h"

WriteOutcome WriteDocumentFile(Document &document, const QString &path)
{
    const CardFormat format = CardFormatOfPath(path);
    if (format == CardFormat::Html) {
        document.dialogs().message(DocumentTexts::UseHtmlWizard, MsgIcon::Warning);
        return WriteOutcome::Html;
    }
    if (!CanWriteFormat(format))
        return WriteOutcome::NoFormat;

    const CardStore &cards = document.cards();
    WriteOptions options = document.writeOptions();
    // One pass over the cards: the writer encodes them and counts what the
    // format cannot hold, and writes nothing when anything would be lost.
    WriteResult result = WriteCardFile(path, format, cards, options);
    if (result.status == WriteStatus::NotWritable) {
        // Refused before the cards were looked at: what they would lose is
        // still told first.
        const SaveCheck check = CheckCardsForSave(cards, format);
        if (check.fieldMarkRow >= 0) {
            CardMessages::ShowFieldMarkRefusal(document.dialogs(), cards, check.fieldMarkRow);
            return WriteOutcome::Declined;
        }
        if (check.unmappableCount > 0 && !CardMessages::AskSaveWithUnmappable(document.dialogs(), cards, check))
            return WriteOutcome::Declined;
    } else if (result.status == WriteStatus::Unmappable) {
        SaveCheck check;
        check.unmappableCount = result.unmappableCount;
        check.firstUnmappableRow = result.firstUnmappableRow;
        if (!CardMessages::AskSaveWithUnmappable(document.dialogs(), cards, check))
            return WriteOutcome::Declined;
        options.lossyAllowed = true;
        result = WriteCardFile(path, format, cards, options);
    }
    switch (result.status) {
    case WriteStatus::Ok: return WriteOutcome::Written;
    case WriteStatus::NotWritable:
    case WriteStatus::WriteFailed:
        // Once, with the system's reason on a second line.
        CardMessages::ShowCannotWrite(document.dialogs(), result);
        return WriteOutcome::Failed;
    case WriteStatus::FieldMark:
        CardMessages::ShowFieldMarkRefusal(document.dialogs(), cards, result.fieldMarkRow);
        return WriteOutcome::Declined;
    case WriteStatus::Unmappable: // the check above found none; the cards cannot have changed since
        CardMessages::ShowCannotWrite(document.dialogs());
        return WriteOutcome::Failed;
    case WriteStatus::Unsupported: return WriteOutcome::NoFormat;
    }
    return WriteOutcome::Failed;
}
