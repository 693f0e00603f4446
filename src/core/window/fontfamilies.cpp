#include "core/window/fontfamilies.h"

namespace FontFamilies {

namespace {

bool isInstalled(const QString &family, const QStringList &installed)
{
    return installed.contains(family, Qt::CaseInsensitive);
}

// Width-folded, lower-case, without spaces: "ＭＳ Ｐゴシック" and "MS PGothic"
// both become "msp" + the design word.
QString key(const QString &family)
{
    QString k = family.normalized(QString::NormalizationForm_KC).toLower();
    k.remove(QLatin1Char(' '));
    return k;
}

} // namespace

QStringList substitutesFor(const QString &family)
{
    const QString k = key(family);
    const QStringList pGothic = {QStringLiteral("IPAPGothic"), QStringLiteral("IPAexGothic"),
                                 QStringLiteral("Noto Sans CJK JP"), QStringLiteral("IPAGothic")};
    const QStringList gothic = {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                                QStringLiteral("IPAPGothic")};
    const QStringList pMincho = {QStringLiteral("IPAPMincho"), QStringLiteral("IPAexMincho"),
                                 QStringLiteral("Noto Serif CJK JP"), QStringLiteral("IPAMincho")};
    const QStringList mincho = {QStringLiteral("IPAMincho"), QStringLiteral("IPAPMincho")};

    if (k == QStringLiteral("mspゴシック") || k == QStringLiteral("mspgothic") || k == QStringLiteral("msuigothic")
        || k == QStringLiteral("メイリオ") || k == QStringLiteral("meiryo") || k == QStringLiteral("meiryoui"))
        return pGothic;
    if (k == QStringLiteral("msゴシック") || k == QStringLiteral("msgothic"))
        return gothic;
    if (k == QStringLiteral("msp明朝") || k == QStringLiteral("mspmincho"))
        return pMincho;
    if (k == QStringLiteral("ms明朝") || k == QStringLiteral("msmincho"))
        return mincho;
    return {};
}

QString resolve(const QString &family, const QStringList &installed)
{
    if (family.isEmpty() || isInstalled(family, installed))
        return family;
    for (const QString &s : substitutesFor(family)) {
        if (isInstalled(s, installed))
            return s;
    }
    return family;
}

} // namespace FontFamilies
