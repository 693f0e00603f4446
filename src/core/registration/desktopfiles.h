#pragma once
// The files that make the card formats known to a freedesktop desktop: the
// shared-mime-info package, the desktop entry of QLTWIN, the default
// applications in mimeapps.list, and Internet-shortcut files. Pure
// functions from data to bytes; DesktopRegistration puts them in place.
//
// The freedesktop files are UTF-8 with LF as the freedesktop standards require; the
// Internet-shortcut files are Windows-31J with CR LF like every other file
// of the system.

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace DesktopFiles {

inline const QString DesktopId = QStringLiteral("QLTWIN.desktop");
inline const QString MimePackageFile = QStringLiteral("qltwin.xml");
inline const QString AppIconName = QStringLiteral("qltwin");
inline const QString DefaultApplicationsSection = QStringLiteral("[Default Applications]");

// One card format the wizard offers, in the order of its check boxes.
struct CardType {
    QString extension;  // "qlw"
    QString mimeType;   // "application/x-qltwin-card"
    bool ownType;       // false: a type the desktop knows already (text/csv)
    QString comment;    // English description
    QString commentJa;  // Japanese description
    QString subClassOf; // "" or the parent type
    QString genericIcon;
    // The icon name a desktop derives from the type: "/" becomes "-".
    QString iconName() const;
};
const QList<CardType> &cardTypes();
// The type of an extension ("qlw" or ".QLW"); null when it is no card type.
const CardType *typeOfExtension(const QString &extension);

// The MIME package naming the formats QLTWIN owns (qlw, qlt, stk).
QByteArray mimePackageXml();

// program as one Exec argument: unchanged when it needs no quoting, else in
// double quotes with ", `, $ and \ escaped; "%" doubled either way.
QString execArgument(const QString &program);
// The value escaping of a desktop-entry string (\ \n \t \r).
QString escapeValue(const QString &value);

// Every card type, in check-box order.
QStringList allMimeTypes();

// QLTWIN's desktop entry, starting program on one file (%f) and naming
// mimeTypes as the types it opens. A desktop takes an application that is
// the only one naming a type as that type's default, so the entry a person
// registers names only the types they chose. TryExec makes a desktop pass
// over an entry whose program has gone (a removed build tree), so the
// installed entry of the same name is used again.
QByteArray desktopEntry(const QString &program, const QStringList &mimeTypes = allMimeTypes());

// mimeapps.list with desktopId made the first default application of each
// type, as "xdg-mime default" does: the "[Default Applications]" line of
// the type is rewritten (other applications stay after it as fallbacks) or
// added, the section made when missing; every other line stays as it was.
QByteArray setDefaultApplications(const QByteArray &mimeappsList, const QStringList &mimeTypes,
                                  const QString &desktopId = DesktopId);
// The applications listed first-to-last for type in "[Default Applications]".
QStringList defaultApplications(const QByteArray &mimeappsList, const QString &mimeType);

// An Internet-shortcut file: "[InternetShortcut]" and "URL=" + address, each
// line ended by CR LF, in Windows-31J.
QByteArray urlShortcut(const QString &address);

} // namespace DesktopFiles
