#include "core/html/webview.h"

#include "core/common/atomicfile.h"
#include "core/common/tool.h"
#include "core/html/browserpreview.h"
#include "core/html/htmltext.h"
#include "core/html/webaddress.h"

#include <QFileInfo>

namespace WebView {

Kind KindOf(const QString &content)
{
    if (content.contains(QLatin1String("content-type:"), Qt::CaseInsensitive))
        return Kind::Mht;
    if (content.contains(QLatin1String("<HTML>"), Qt::CaseInsensitive))
        return Kind::Html;
    QString bare = content;
    bare.remove(QLatin1Char(' '));
    if (bare.contains(QLatin1String("URL="), Qt::CaseInsensitive))
        return Kind::Shortcut;
    return Kind::None;
}

QString Open(const QString &content, const QStringList &folders, Shell &shell)
{
    const Kind kind = KindOf(content);
    if (kind == Kind::None)
        return {};
    if (kind == Kind::Shortcut) {
        const QString address = UrlOfShortcutText(content);
        if (address.isEmpty())
            return {};
        Tool::ShellOpen(shell, address);
        return address;
    }
    const QString folder = PreviewFiles::WritableFolder(folders);
    if (folder.isEmpty())
        return {};
    const QString path = Tool::JoinPath(folder, kind == Kind::Mht ? PreviewFiles::Mht : PreviewFiles::Page);
    // Written as it stands, no line end added, in the encoding the page
    // declares; a file that cannot be written leaves the old one to open.
    const QByteArray bytes = HtmlText::Encoded(content, HtmlText::DeclaredEncoding(content));
    (void)AtomicFile::write(path, bytes);
    if (!Tool::OpenWithShell(shell, path))
        return {};
    return path;
}

} // namespace WebView
