#pragma once
// The addresses of the maker that QLTReg shows, opens or saves as a
// shortcut (core/common/makeraddresses.h names them all).

#include "core/common/makeraddresses.h"

#include <QString>

namespace MakerLinks {

inline const QString &HomePage = MakerAddresses::HomePage;
inline const QString &PersonalPage = MakerAddresses::PersonalPage;
inline const QString &NoticesPage = MakerAddresses::NoticesPage;
inline const QString &BoardRead = MakerAddresses::BoardRead;
inline const QString &BoardPost = MakerAddresses::BoardPost;
inline const QString &ListSubscribe = MakerAddresses::ListSubscribe;
inline const QString &ListUnsubscribe = MakerAddresses::ListUnsubscribe;
inline const QString &ListSettingsPage = MakerAddresses::ListSettingsPage;

// "mailto:" + address, with the query the list expects when the saved
// shortcut is used; the wizard's buttons send the bare mailto: link.
QString mailto(const QString &address);
QString mailtoWithQuery(const QString &address);

} // namespace MakerLinks
