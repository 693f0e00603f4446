#include "core/cards/cardmessages.h"

#include "core/cards/cardstore.h"
#include "core/common/dialogs.h"
#include "core/common/tool.h"

#include <cerrno>
#include <cstring>

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

QString SystemReason(int code, const QString &systemText)
{
    switch (code) {
    case AtomicFile::NotRegularFile: return QStringLiteral("通常のファイルではありません。");
    case ENOSPC: return QStringLiteral("ディスクの空き容量が足りません。");
    case EDQUOT: return QStringLiteral("ディスクの使用量が上限に達しています。");
    case EACCES:
    case EPERM: return QStringLiteral("書き込む権限がありません。");
    case EROFS: return QStringLiteral("読み取り専用のファイルシステムです。");
    case ENAMETOOLONG: return QStringLiteral("ファイル名が長すぎます。");
    case ENOENT:
    case ENOTDIR: return QStringLiteral("保存先のフォルダがありません。");
    case EFBIG: return QStringLiteral("ファイルが大きすぎます。");
    case EIO: return QStringLiteral("ディスクの読み書きでエラーが発生しました。");
    case EBUSY:
    case ETXTBSY: return QStringLiteral("ファイルが使用中です。");
    default: break;
    }
    if (!systemText.isEmpty())
        return systemText;
    return code > 0 ? QString::fromLocal8Bit(std::strerror(code)) : QString();
}

QString CannotWriteBecause(const WriteResult &result)
{
    const AtomicFile::Failure &failure = result.failure;
    QString text = CannotWrite;
    const QString reason = SystemReason(failure.code, result.error);
    if (!reason.isEmpty())
        text += QStringLiteral("\r\n") + reason;
    if (failure.inPlace) {
        text += QStringLiteral("\r\n（フォルダに新しいファイルを作れないため、ファイルを直接書き換えようとしました。");
        text += failure.keptCopy.isEmpty()
                    ? QStringLiteral("元の内容はそのまま残っています。）")
                    : QStringLiteral("元の内容は「%1」に残してあります。）").arg(failure.keptCopy);
    }
    return text;
}

void ShowCannotWrite(Dialogs &dialogs)
{
    dialogs.message(CannotWrite, MsgIcon::Error);
}

void ShowCannotWrite(Dialogs &dialogs, const WriteResult &result)
{
    dialogs.message(CannotWriteBecause(result), MsgIcon::Error);
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
