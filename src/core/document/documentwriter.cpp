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
    const SaveCheck check = CheckCardsForSave(cards, format);
    if (check.fieldMarkRow >= 0) {
        CardMessages::ShowFieldMarkRefusal(document.dialogs(), cards, check.fieldMarkRow);
        return WriteOutcome::Declined;
    }
    if (check.unmappableCount > 0) {
        if (!CardMessages::AskSaveWithUnmappable(document.dialogs(), cards, check))
            return WriteOutcome::Declined;
        options.lossyAllowed = true;
    }

    const WriteResult result = WriteCardFile(path, format, cards, options);
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
