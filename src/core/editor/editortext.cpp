#include "core/editor/editortext.h"

#include "core/cards/transfertext.h"
#include "core/common/dialogs.h"
#include "core/common/tool.h"
#include "core/common/win31j.h"
#include "core/editor/editortexts.h"

#include <QFile>

#include <algorithm>
#include <cmath>

namespace EditorText {

std::optional<Range> findForward(QStringView text, QStringView needle, qsizetype selectionStart, bool hasSelection)
{
    if (needle.isEmpty())
        return std::nullopt;
    const qsizetype from = std::clamp<qsizetype>(selectionStart + (hasSelection ? 1 : 0), 0, text.size());
    const qsizetype at = text.indexOf(needle, from, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    return Range{at, needle.size()};
}

std::optional<Range> findBackward(QStringView text, QStringView needle, qsizetype position)
{
    if (needle.isEmpty() || position <= 0)
        return std::nullopt;
    const QStringView before = text.left(std::min(position, text.size()));
    const qsizetype at = before.lastIndexOf(needle, Qt::CaseInsensitive);
    if (at < 0)
        return std::nullopt;
    return Range{at, needle.size()};
}

QString toCardLineEnds(QStringView boxText)
{
    QString out;
    out.reserve(boxText.size() + boxText.size() / 16);
    for (qsizetype i = 0; i < boxText.size(); ++i) {
        const QChar c = boxText[i];
        if (c == QChar::ParagraphSeparator || c == QLatin1Char('\n')) {
            out += QLatin1String("\r\n");
        } else if (c == QLatin1Char('\r')) {
            // Already a CR LF pair (or a lone CR): one line end either way.
            out += QLatin1String("\r\n");
            if (i + 1 < boxText.size() && boxText[i + 1] == QLatin1Char('\n'))
                ++i;
        } else {
            out += c;
        }
    }
    return out;
}

QSize caretSize(double fontSize, double twipsPerPixelY)
{
    // nearbyint rounds in the default mode, to nearest with ties to even.
    const double exact = fontSize * twipsPerPixelY / 10.0;
    const int height = std::isfinite(exact) ? int(std::clamp(std::nearbyint(exact), 1.0, 1000.0)) : 1;
    return QSize(std::max(3, height / 4), height);
}

std::optional<QString> droppedText(const QStringList &files, const std::optional<QString> &text, Dialogs &dialogs)
{
    QString dropped;
    if (!files.isEmpty()) {
        const QString &path = files.last();
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            dialogs.message(EditorTexts::DropError + QStringLiteral("\r\n\r\n")
                                + EditorTexts::DropFileUnreadable.arg(path),
                            MsgIcon::Warning);
            return std::nullopt;
        }
        dropped = Tool::WithCrLf(Win31J::decode(file.readAll()));
    } else if (text) {
        dropped = Tool::WithCrLf(*text);
    } else {
        return std::nullopt;
    }
    if (!HasNoFieldMark(dropped))
        return std::nullopt;
    return dropped;
}

} // namespace EditorText
