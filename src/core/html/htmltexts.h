#pragma once
// The messages of the HTML engine, as the person sees them.

#include "core/common/makeraddresses.h"

#include <QString>

namespace HtmlTexts {

inline const QString NothingCollected = QStringLiteral("処理にあたり何らかの障害が発生しました。");
inline const QString CollectError =
    QStringLiteral("目次情報収集中に、エラーが発生しました。\r\n\r\n処理を中止します。");
inline const QString FolderError = QStringLiteral(
    "フォルダ作成時にエラーが発生しました。\r\n\r\nドライブが存在するか、ライトプロテクトされていないかなどを確認してください。");

inline const QString CheckDisk = QStringLiteral("ディスクの容量・プロテクトなどを確認してください");
inline const QString IndexError = QStringLiteral("目次生成中にエラーが発生しました。\r\n\r\n") + CheckDisk;
inline const QString GroupIndexError = QStringLiteral("小目次生成中にエラーが発生しました。\r\n\r\n") + CheckDisk;
inline const QString CardPageError = QStringLiteral("カード(html)生成中にエラーが発生しました。\r\n\r\n") + CheckDisk;
inline const QString PageError = QStringLiteral("HTML生成中にエラーが発生しました。\r\n\r\n") + CheckDisk;

// The style sheet's message: this line, an empty line and the error's own description.
inline QString styleSheetError(const QString &description)
{
    return QStringLiteral("エラーが発生しました。\r\n\r\n") + description;
}

// The caption of the template description.
inline const QString AboutTemplate = QStringLiteral("この雛形について");

// "[banner]": a link to the maker's page around its banner image.
inline const QString &MakerPage = MakerAddresses::ProductPage;
inline const QString Banner = QStringLiteral("<a href=\"") + MakerAddresses::ProductPage
                              + QStringLiteral("\"><img src=\"") + MakerAddresses::BannerImage
                              + QStringLiteral("\" alt=\"QLT@WIN\" width=\"88\" height=\"31\"></a>");

} // namespace HtmlTexts
