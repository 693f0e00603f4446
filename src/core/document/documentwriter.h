#pragma once
// Writing the main card list to a card file by the file's extension, as the
// save commands do: first the check for what the format would lose (a
// native file refuses a field holding 0x01; characters Windows-31J cannot
// hold are written as "?" only after the person agreed), then the writer.

#include <QString>

class Document;

enum class WriteOutcome {
    Written,
    // Nothing written: the file could not be written or the write broke off
    // (the old file is as it was); "ファイルが書き込めません" with the
    // system's reason was shown.
    Failed,
    // Nothing written: no writer for the extension (no message shown).
    NoFormat,
    // Nothing written: an HTML extension; the hint to use the HTML output
    // wizard was shown.
    Html,
    // Nothing written: the person declined to lose characters, or the field
    // mark refusal was shown. The message already said why.
    Declined,
};

WriteOutcome WriteDocumentFile(Document &document, const QString &path);
