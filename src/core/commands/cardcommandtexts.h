#pragma once
// The texts the card commands of the lists show.

#include <QString>

namespace CardCommandTexts {

// The title field of a new card, before its date prefix.
inline const QString NewCardTitle = QStringLiteral("新規データ");

inline const QString DeleteQuestion = QStringLiteral("選択されたカードを削除してよろしいですか?");
inline const QString CutDateInfoQuestion = QStringLiteral("全カードの日付情報が失われます。よろしいですか？");
// The question of "日付を削除(又は今日に)(&Y)": AddDateInfo off removes, on renews.
inline const QString RemoveDateQuestion = QStringLiteral("日付情報を削除します。\r\nよろしいですか？");
inline const QString RenewDateQuestion =
    QStringLiteral("日付情報が失われ、現在の日付がセットされます。\r\nよろしいですか？");

// The save chooser of "ファイルに出力(&F)".
inline const QString WriteContentTitle = QStringLiteral("テキストファイルの書出");
inline const QString WriteContentFilter = QStringLiteral("*.*|*.*");
// The proposed file name when neither remarks nor title leave one.
inline const QString WriteContentFallbackName = QStringLiteral("QLTデータ.txt");

inline const QString PrintNotice =
    QStringLiteral("QLT@WIN単体では印刷することはできません。\r\n"
                   "印刷したいカードを選択して、Ctrl+Bを押してください｡\r\n"
                   "オプション>基本設定で、ひな形を変更することでデザインを変更できます。");

} // namespace CardCommandTexts
