#include "core/cards/cardmessages.h"

#include "core/cards/cardstore.h"
#include "core/common/dialogs.h"
#include "core/common/tool.h"

namespace CardMessages {

QString CardLabel(const CardStore &store, qsizetype row)
{
    QString title = row >= 0 && row < store.count() ? store.at(row).title : QString();
    title.replace(QChar(0x01), QStringLiteral("[0x01]"));
    title.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    return QString::number(row + 1) + QStringLiteral("番目のカード「") + Tool::ShortenWithEllipsis(title, 40)
           + QStringLiteral("」");
}

QString FieldMarkRefusal(const CardStore &store, qsizetype row)
{
    return CardLabel(store, row)
           + QStringLiteral("に0x01コードが含まれています。\r\n\r\n"
                            "QLW形式では、このカード以降のデータが正しく読み込めなくなるため保存できません。"
                            "0x01コードを取り除いてから保存してください。");
}

QString UnmappableQuestion(const CardStore &store, qsizetype count, qsizetype firstRow)
{
    return QStringLiteral("保存できない文字が%1文字あります（最初は%2）。\r\n"
                          "これらの文字は「?」に置き換えられます。保存しますか？")
        .arg(count)
        .arg(CardLabel(store, firstRow));
}

QString InvalidBytesWarning(const Win31J::DecodeStats &stats)
{
    return QStringLiteral(
               "このファイルには文字に変換できないデータが%1箇所あります（最初は先頭から%2バイトの位置）。\r\n"
               "保存すると、これらのデータは変更されます。")
        .arg(stats.invalidCount)
        .arg(stats.firstInvalidOffset);
}

void ShowCannotWrite(Dialogs &dialogs)
{
    dialogs.message(CannotWrite, MsgIcon::Error);
}

void ShowFieldMarkRefusal(Dialogs &dialogs, const CardStore &store, qsizetype row)
{
    dialogs.message(FieldMarkRefusal(store, row), MsgIcon::Error);
}

bool AskSaveWithUnmappable(Dialogs &dialogs, const CardStore &store, const SaveCheck &check)
{
    if (check.unmappableCount == 0)
        return true;
    return dialogs.message(UnmappableQuestion(store, check.unmappableCount, check.firstUnmappableRow), MsgIcon::Warning,
                           MsgButtons::YesNo, QString(), MsgAnswer::No)
           == MsgAnswer::Yes;
}

void ShowInvalidBytesWarning(Dialogs &dialogs, const Win31J::DecodeStats &stats)
{
    if (stats.invalidCount > 0)
        dialogs.message(InvalidBytesWarning(stats), MsgIcon::Warning);
}

void ShowBinaryTransferText(Dialogs &dialogs)
{
    dialogs.message(BinaryTransferText, MsgIcon::Error);
}

} // namespace CardMessages
