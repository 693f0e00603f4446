#pragma once
// Every address of the maker, Orvale SoftWares, in one place: the web pages
// the programs open, link or save as shortcuts, and the mail addresses.
// They are placeholders under the reserved domain below.

#include <QString>

namespace MakerAddresses {

inline const QString Domain = QStringLiteral("orvale-softwares.example");
inline const QString Site = QStringLiteral("http://www.") + Domain + QStringLiteral("/");

// The maker's home page, where new versions are published.
inline const QString HomePage = Site;
// The program's own page, linked by the "[banner]" of the HTML pages.
inline const QString ProductPage = Site + QStringLiteral("qltwin/");
inline const QString BannerImage = ProductPage + QStringLiteral("qlt.png");
// The manual on the web, for a program without its help pages.
inline const QString OnlineHelp = ProductPage + QStringLiteral("help/");
// The maker's notices to users.
inline const QString NoticesPage = ProductPage + QStringLiteral("notice.html");
// The author's personal home page with the sponsors' banners.
inline const QString PersonalPage = Site + QStringLiteral("~author/");
// The support message board, reading and posting.
inline const QString BoardRead = Site + QStringLiteral("bbs/");
inline const QString BoardPost = BoardRead + QStringLiteral("post.html");
// The support mailing list's settings page.
inline const QString ListSettingsPage = Site + QStringLiteral("ml/qltwin/");

// Mail addresses (without "mailto:").
inline const QString AuthorMail = QStringLiteral("qltwin@") + Domain;
inline const QString ListSubscribe = QStringLiteral("qltwin-subscribe@") + Domain;
inline const QString ListUnsubscribe = QStringLiteral("qltwin-unsubscribe@") + Domain;

} // namespace MakerAddresses
