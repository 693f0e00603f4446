#pragma once
// The texts the document lifecycle and the start-up show: messages, dialog
// titles and the chooser filters ("description|pattern|..." form).

#include <QString>

namespace DocumentTexts {

// The file name of an untitled document.
inline const QString Untitled = QStringLiteral("(無題)");
// Title: file name + ModifiedMark + " - " while the flag is set.
inline const QString ModifiedMark = QStringLiteral("(変更)");

// Opening
inline const QString NewFile = QStringLiteral("新規ファイルです。");
inline const QString UnsupportedFile =
    QStringLiteral("不正なファイルか、拡張子が異常なファイルを読み込ませようとしました。");
inline const QString CannotOpen = QStringLiteral("ファイルが開けません");
// Second lines of CannotOpen.
inline const QString NotRegularFile = QStringLiteral("通常のファイルではありません。");
inline const QString TooLargeForMemory = QStringLiteral("ファイルが大きすぎて、メモリに読み込めません。");
inline const QString NoReadPermission = QStringLiteral("読み込む権限がありません。");
// A text card file (qlt, txt, stk) with lines that went into no card; %1 is
// their number. Shown after opening (warning icon).
inline const QString StrayTextWarning =
    QStringLiteral("このファイルには、カードとして読み込めない文章が%1行あります。\r\n"
                   "上書き保存すると、これらの行は失われます。");
inline const QString NoCardWarning =
    QStringLiteral("このファイルからはカードが1枚も読み込めませんでした"
                   "（カードとして読み込めない文章が%1行あります）。\r\n"
                   "カードファイルではない可能性があります。上書き保存すると、元の文章は失われます。");
// Asked before such a file is saved over (warning icon, Yes/No, No by default).
inline const QString OverwriteStrayTextQuestion =
    QStringLiteral("このファイルには、カードとして読み込めなかった文章が含まれています。\r\n"
                   "上書き保存すると、その文章は失われます。保存しますか？");
inline const QString OpenTitle = QStringLiteral("カードファイルを開く");
inline const QString OpenFilter =
    QStringLiteral("全ての対応ファイル(*.qlw;*.csv;*.qlt;*.stk;*.txt)|*.qlw;*.csv;*.qlt;*.stk;*.txt|"
                   "QLW形式(*.qlw)|*.qlw|CSV形式(*.csv)|*.csv|QLT形式(*.qlt;*.txt)|*.qlt;*.txt|"
                   "MyNote形式(*.stk)|*.stk|その他 (*.*)|*.*");

// Saving ("ファイルが書き込めません" is CardMessages::CannotWrite)
inline const QString UseHtmlWizard = QStringLiteral("「HTML出力ウイザード」を使用してください。");
inline const QString SaveAsTitle = QStringLiteral("名前を付けてカードファイルの保存");
inline const QString SaveAsFilter =
    QStringLiteral("QLW形式(*.qlw)|*.qlw|CSV形式(*.csv)|*.csv|QLT形式(*.qlt;*.txt)|*.qlt;*.txt|"
                   "MyNote形式(*.stk)|*.stk|その他 (*.*)|*.*");
// The entries of the two lists above that the toolbar's "QLW形式" and
// "CSV形式" choose, with the extension a save proposes.
struct FormatFilter {
    int openIndex;
    int saveIndex;
    QString extension;
};
inline const FormatFilter QlwFormat{1, 0, QStringLiteral(".qlw")};
inline const FormatFilter CsvFormat{2, 1, QStringLiteral(".csv")};
inline const QString NeedFileName = QStringLiteral("ファイル名を付けてください。");

// Closing
inline const QString EditorsOpen =
    QStringLiteral("編集画面が開いています。編集中のデータは破棄されます。\r\nよろしいですか?");
inline const QString SaveChanges = QStringLiteral("ファイルが変更されています。保存しますか？");

// New window
inline const QString NewWindowFailed = QStringLiteral("ウインドウを作成時にエラーが発生しました。");

// Start-up
inline const QString Welcome =
    QStringLiteral("ようこそQLT@WINの世界へ！\r\n各バージョンごとに1度だけ情報ウイザードが起動します。");
inline const QString FirstRunNotice =
    QStringLiteral("QLT@WINをお選びいただき、ありがとうございます。\r\n\r\n"
                   "このソフトはフリーソフトです。料金はかかりません。\r\n"
                   "このソフトの使用によって生じたデータの消失、その他のいかなる損害についても、"
                   "作者は一切の責任を負いません。");
// The information wizard could not be started; %1 is its path.
inline const QString WizardFailed = QStringLiteral("情報ウイザード「QLTReg」を起動できませんでした。\r\n%1");

} // namespace DocumentTexts
