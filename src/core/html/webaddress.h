#pragma once
// Addresses inside the files a browser leaves behind: an Internet shortcut
// (".url", also a desktop entry of type Link) and a saved web archive
// (".mht"). Both readers never fail: a file that cannot be read, or holds no
// address, gives empty text.

#include <QString>

// The value of the key "URL" (letter case ignored) of an Internet-shortcut
// file, without surrounding spaces.
QString UrlOfShortcutFile(const QString &path);

// The same from the shortcut's text (a card's content): every line that is
// not empty and begins with neither "[" nor ";" is a key, the text before its
// first "=", and a value, the text after it, both without surrounding spaces.
// The first "URL" wins; a query part after it keeps its own "=".
QString UrlOfShortcutText(QStringView text);

// The address an MHT file was saved from: the rest of its first line that
// begins with "Content-Location:", without surrounding spaces.
QString LocationOfMhtFile(const QString &path);
