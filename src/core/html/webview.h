#pragma once
// The web view of a card whose content is itself a web page: a saved MHT
// archive (its text holds "content-type:", letter case ignored) is written
// unchanged to "Temp.mht", an HTML document (it holds "<HTML>", letter case
// ignored, the closing bracket included) to "Temp.html", and either file is
// opened with the shell; an Internet shortcut (it holds "URL=" once spaces
// are removed, letter case ignored) opens its address. Any other content
// does nothing, and nothing is ever said.

#include <QString>
#include <QStringList>

class Shell;

namespace WebView {

enum class Kind { None, Mht, Html, Shortcut };

Kind KindOf(const QString &content);

// Opens content as its kind says, the files written into the first writable
// of folders. Returns the file or address handed to the shell, empty when
// nothing was.
QString Open(const QString &content, const QStringList &folders, Shell &shell);

} // namespace WebView
