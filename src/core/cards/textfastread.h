#pragma once
// Whole-file line readers. A load reads the file, splits it once and hands
// the pieces out by index; no file stays open while the caller works.
// TextFastRead splits at CR LF (a lone CR or LF stays in its line) and
// serves the CSV and text formats; TextFastReadBinary splits at the byte
// 0x01 and serves the native format and the templates.
//
// The bytes are split before they are converted, piece by piece, with
// Win31J::decode: CR, LF and 0x01 never occur as the second byte of a
// Windows-31J character, so this gives the same text as converting first,
// without ever holding the file's bytes and its text at once. Invalid bytes
// met on the way are counted with their absolute file offsets.
//
// Both share the rules: an empty file yields no piece; a text ending with a
// separator loses the one empty piece after it (only one); a fresh object
// that was never loaded yields one empty piece; reading past the end gives
// empty strings.

#include "core/common/atomicfile.h"
#include "core/common/win31j.h"

#include <QString>
#include <QStringList>

#include <functional>

// The splitting core of both readers, for a caller that takes each piece
// once as it comes (the native reader builds its cards without a list of
// pieces in between).
namespace LineSplit {

enum class Separator { CrLf, FieldMark };

// Outcome::code for a path that names no regular file (a FIFO, a device,
// a folder): refused without reading.
inline constexpr int NotRegularFile = AtomicFile::NotRegularFile;

struct Outcome {
    bool ok = false; // false: not readable
    QString error;
    int code = 0;             // errno of the failure, or NotRegularFile
    bool empty = false;       // the file had no bytes
    bool droppedLast = false; // it ended with a separator
    Win31J::DecodeStats stats;
};

// Reads path block by block and hands every piece to sink, in file order,
// under the readers' rules: an empty file gives none, and the empty piece
// after a final separator is not given. On a read error some pieces may
// have been given already.
Outcome SplitFile(const QString &path, Separator separator, const std::function<void(QString &&)> &sink);

// The same split without decoding, for a caller that only scans the bytes:
// sink gets each piece's bytes (valid during the call only) and the file
// offset of its first byte. The outcome's stats stay empty.
Outcome SplitFileBytes(const QString &path, Separator separator,
                       const std::function<void(QByteArrayView bytes, qsizetype offset)> &sink);

} // namespace LineSplit

class LineReaderBase
{
public:
    bool EOFText() const { return m_lines.size() - 1 < m_position + 1; }
    void Class_Initialize();

    // The path of the last source ("##Variable##" for a string).
    QString fileName() const { return m_fileName; }
    qsizetype lineCount() const { return m_lines.size(); }
    // Invalid byte sequences met by the last file load.
    const Win31J::DecodeStats &decodeStats() const { return m_stats; }
    // Why the last failed load failed.
    QString errorString() const { return m_error; }

protected:
    using Separator = LineSplit::Separator;
    [[nodiscard]] bool load(const QString &path, Separator separator);
    QString nextPiece();

    QString m_fileName;
    QStringList m_lines{QString()};
    qsizetype m_position = -1;
    bool m_droppedLast = false;
    Win31J::DecodeStats m_stats;
    QString m_error;
};

class TextFastRead : public LineReaderBase
{
public:
    static inline const QString VariableName = QStringLiteral("##Variable##");

    TextFastRead() = default;
    [[nodiscard]] bool LoadTextFile(const QString &path);
    [[nodiscard]] bool LoadTextVariable(const QString &text);
    QString InputLine() { return nextPiece(); }
    // The whole text of the last load (rebuilt from the lines on request).
    QString text() const;

private:
    QString m_variable;
    bool m_fromVariable = false;
};

class TextFastReadBinary : public LineReaderBase
{
public:
    static constexpr QChar Separator = QChar(0x01);

    TextFastReadBinary() = default;
    [[nodiscard]] bool LoadTextFile(const QString &path);
    QString InputLine() { return nextPiece(); }
    // The next piece split at CR LF; an empty list at the end.
    QStringList GetOneLine();
};
