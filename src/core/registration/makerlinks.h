#pragma once
// Every address of the maker that QLTReg shows, opens or saves as a
// shortcut, in one place.

#include <QString>

namespace MakerLinks {

// The maker's home page, where new versions are published.
inline const QString HomePage = QStringLiteral("http://www.orvale-softwares.example/");
// The author's personal home page with the sponsors' banners.
inline const QString PersonalPage = QStringLiteral("http://www.orvale-softwares.example/~author/");
// The maker's notices to users.
inline const QString NoticesPage = QStringLiteral("http://www.orvale-softwares.example/qltwin/notice.html");
// The support message board, reading and posting.
inline const QString BoardRead = QStringLiteral("http://www.orvale-softwares.example/bbs/");
inline const QString BoardPost = QStringLiteral("http://www.orvale-softwares.example/bbs/post.html");
// The support mailing list.
inline const QString ListSubscribe = QStringLiteral("qltwin-subscribe@orvale-softwares.example");
inline const QString ListUnsubscribe = QStringLiteral("qltwin-unsubscribe@orvale-softwares.example");
inline const QString ListSettingsPage = QStringLiteral("http://www.orvale-softwares.example/ml/qltwin/");

// "mailto:" + address, with the query the list expects when the saved
// shortcut is used; the wizard's buttons send the bare mailto: link.
QString mailto(const QString &address);
QString mailtoWithQuery(const QString &address);

} // namespace MakerLinks
