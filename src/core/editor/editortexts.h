#pragma once
// The texts the card editor shows: window-title pieces, messages and the
// external editor's messages. Captions and tooltips of the controls are in
// editortables.h.

#include <QString>

namespace EditorTexts {

// Window title: title box text + ChangedSeparator or Separator + the product
// and its version.
inline const QString ChangedSeparator = QStringLiteral("(変更) - ");
inline const QString Separator = QStringLiteral(" - ");

// The "＠" label between the group box and the title box.
inline const QString AtMark = QStringLiteral("＠");

// Opening an editor while every usable slot is taken; %1 is the limit.
inline const QString TooManyEditorsPattern = QStringLiteral("編集ウインドウは%1以上開けません。");
QString TooManyEditors(int limit);

// MenuEditOpen without selected text.
inline const QString NeedSelection = QStringLiteral("範囲選択しておく必要があります。");

// A group holding the group mark cannot be applied.
inline const QString GroupMarkRefused = QStringLiteral("「＠」を含めることはできません。");

// A drop that could not be read: DropError + CR LF CR LF + the reason.
inline const QString DropError = QStringLiteral("エラーが発生しました。");
// The reason when a dropped file cannot be read; %1 is its path.
inline const QString DropFileUnreadable = QStringLiteral("ファイル「%1」を読み込めませんでした。");

// External editor.
// No program to start: ExtEditor is empty (no editor was found on this
// machine) or names no existing program (%1). NoExternalEditor or
// ExternalEditorNotFound, CR LF, then ChooseExternalEditor.
inline const QString NoExternalEditor = QStringLiteral("外部エディタが設定されていません。");
inline const QString ExternalEditorNotFound = QStringLiteral("外部エディタ「%1」が見つかりません。");
inline const QString ChooseExternalEditor =
    QStringLiteral("メインウインドウの「オプション」メニューの「基本設定」で、使う外部エディタを指定してください。");
inline const QString TempFileFailed = QStringLiteral("一時ファイルが作成できませんでした。");
// ExternalEditorError + CR LF CR LF + the reason.
inline const QString ExternalEditorError = QStringLiteral("外部エディタ起動時に以下のエラーが発生しました。");
// Reasons; %1 is the program.
inline const QString ProgramNotExecutable = QStringLiteral("「%1」は実行できるプログラムではありません。");
inline const QString ProgramNotStarted = QStringLiteral("「%1」を起動できませんでした。");
inline const QString WaitFailed = QStringLiteral("外部エディタの終了を待てませんでした。");
// Content the temporary file cannot hold as it is: %1 characters, the first
// at character %2 (from 1). Asked before the file is written.
inline const QString UnmappableQuestionPattern =
    QStringLiteral("内容に、外部エディタに渡せない文字が%1文字あります（最初は%2文字目）。\r\n"
                   "これらの文字は「?」に置き換えて渡され、外部エディタで保存するとその文字は失われます。\r\n"
                   "外部エディタを起動しますか？");
QString UnmappableQuestion(qsizetype count, qsizetype firstIndex);
// The file came back with bytes that are no character: %1 places, the first
// at byte %2 (from 0).
inline const QString UnreadableBytesPattern =
    QStringLiteral("外部エディタで保存されたファイルに、文字に変換できないデータが%1箇所ありました"
                   "（最初は先頭から%2バイトの位置）。\r\nその部分は「\uFFFD」として取り込まれています。");
QString UnreadableBytes(qsizetype count, qsizetype firstOffset);

} // namespace EditorTexts
