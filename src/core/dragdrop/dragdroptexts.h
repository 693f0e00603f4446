#pragma once
// The texts drag and drop on the card lists shows.

#include <QString>

namespace DragDropTexts {

// Follows the path of a dropped ".txt" file: Yes opens it as a card file,
// No inserts its text as cards.
inline const QString OpenTextFileQuestion = QStringLiteral("を貼り付けずに開きますか？");
// Any failure of a drop: this, two line ends and what went wrong.
inline const QString ErrorHappened = QStringLiteral("エラーが発生しました。");
// What went wrong, after the path of the file.
inline const QString CannotRead = QStringLiteral("を読み込めません。");
inline const QString NewWindowFailed = QStringLiteral("新しいウインドウを開けませんでした。");
// A dropped file holding NUL bytes: follows its path and a line end.
inline const QString BinaryFileRefused = QStringLiteral("バイナリファイルはカードにできません。");
// The drag file's name when the current card has no title.
inline const QString UntitledDragFile = QStringLiteral("(無題のカード)");

} // namespace DragDropTexts
