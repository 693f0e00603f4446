#include "core/registration/desktopfiles.h"

#include "core/common/win31j.h"

#include <QXmlStreamWriter>

namespace DesktopFiles {

QString CardType::iconName() const
{
    QString name = mimeType;
    return name.replace(QLatin1Char('/'), QLatin1Char('-'));
}

const QList<CardType> &cardTypes()
{
    static const QList<CardType> types{
        {QStringLiteral("qlw"), QStringLiteral("application/x-qltwin-card"), true, QStringLiteral("QLT@WIN card file"),
         QStringLiteral("QLT@WINカードファイル"), QString(), QStringLiteral("x-office-document")},
        {QStringLiteral("qlt"), QStringLiteral("text/x-qltwin-card"), true, QStringLiteral("QLT@WIN text card file"),
         QStringLiteral("QLT@WINテキストカードファイル"), QStringLiteral("text/plain"),
         QStringLiteral("text-x-generic")},
        {QStringLiteral("stk"), QStringLiteral("text/x-mynote-card"), true, QStringLiteral("MyNote card file"),
         QStringLiteral("MyNoteカードファイル"), QStringLiteral("text/plain"), QStringLiteral("text-x-generic")},
        {QStringLiteral("csv"), QStringLiteral("text/csv"), false, QString(), QString(), QString(), QString()},
    };
    return types;
}

const CardType *typeOfExtension(const QString &extension)
{
    QString ext = extension.toLower();
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    for (const CardType &type : cardTypes())
        if (type.extension == ext)
            return &type;
    return nullptr;
}

QByteArray mimePackageXml()
{
    QByteArray out;
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.setAutoFormattingIndent(2);
    xml.writeStartDocument();
    xml.writeDefaultNamespace(QStringLiteral("http://www.freedesktop.org/standards/shared-mime-info"));
    xml.writeStartElement(QStringLiteral("mime-info"));
    for (const CardType &type : cardTypes()) {
        if (!type.ownType)
            continue;
        xml.writeStartElement(QStringLiteral("mime-type"));
        xml.writeAttribute(QStringLiteral("type"), type.mimeType);
        xml.writeTextElement(QStringLiteral("comment"), type.comment);
        xml.writeStartElement(QStringLiteral("comment"));
        xml.writeAttribute(QStringLiteral("xml:lang"), QStringLiteral("ja"));
        xml.writeCharacters(type.commentJa);
        xml.writeEndElement();
        if (!type.subClassOf.isEmpty()) {
            xml.writeEmptyElement(QStringLiteral("sub-class-of"));
            xml.writeAttribute(QStringLiteral("type"), type.subClassOf);
        }
        xml.writeEmptyElement(QStringLiteral("icon"));
        xml.writeAttribute(QStringLiteral("name"), type.iconName());
        xml.writeEmptyElement(QStringLiteral("generic-icon"));
        xml.writeAttribute(QStringLiteral("name"), type.genericIcon);
        // Globs match without regard to letter case: MEMO.QLW is a card file.
        xml.writeEmptyElement(QStringLiteral("glob"));
        xml.writeAttribute(QStringLiteral("pattern"), QStringLiteral("*.") + type.extension);
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndDocument();
    return out;
}

QString execArgument(const QString &program)
{
    QString arg = program;
    arg.replace(QLatin1Char('%'), QStringLiteral("%%"));
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    bool needsQuotes = arg.isEmpty();
    for (QChar c : arg)
        needsQuotes = needsQuotes || reserved.contains(c);
    if (!needsQuotes)
        return arg;
    QString quoted = QStringLiteral("\"");
    for (QChar c : arg) {
        if (c == QLatin1Char('"') || c == QLatin1Char('`') || c == QLatin1Char('$') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\');
        quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString escapeValue(const QString &value)
{
    QString out;
    for (QChar c : value) {
        switch (c.unicode()) {
        case '\\': out += QStringLiteral("\\\\"); break;
        case '\n': out += QStringLiteral("\\n"); break;
        case '\t': out += QStringLiteral("\\t"); break;
        case '\r': out += QStringLiteral("\\r"); break;
        default: out += c;
        }
    }
    return out;
}

QStringList allMimeTypes()
{
    QStringList out;
    for (const CardType &type : cardTypes())
        out.append(type.mimeType);
    return out;
}

QByteArray desktopEntry(const QString &program, const QStringList &mimeTypes)
{
    QString typeList;
    for (const QString &type : mimeTypes)
        typeList += type + QLatin1Char(';');
    const QString text = QStringLiteral("[Desktop Entry]\n"
                                        "Type=Application\n"
                                        "Version=1.4\n"
                                        "Name=QLT@WIN\n"
                                        "GenericName=Card File Manager\n"
                                        "GenericName[ja]=カードファイル管理\n"
                                        "Comment=Keep, search and publish notes as cards\n"
                                        "Comment[ja]=メモをカードにして整理・検索・HTML出力します\n"
                                        "TryExec=%4\n"
                                        "Exec=%1 %f\n"
                                        "Icon=%2\n"
                                        "Terminal=false\n"
                                        "Categories=Office;\n"
                                        "Keywords=card;note;memo;カード;メモ;\n"
                                        "Keywords[ja]=カード;メモ;card;note;\n"
                                        "MimeType=%3\n")
                             .arg(escapeValue(execArgument(program)), AppIconName, typeList, escapeValue(program));
    return text.toUtf8();
}

namespace {

// mimeapps.list as lines without their LF (a CR before it is kept as read).
QStringList splitLines(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool isSectionHeader(const QString &line)
{
    return line.trimmed().startsWith(QLatin1Char('['));
}

// The key of a "key=value" line, "" for comments and anything else.
QString keyOf(const QString &line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.startsWith(QLatin1Char('#')))
        return QString();
    const qsizetype eq = trimmed.indexOf(QLatin1Char('='));
    return eq < 0 ? QString() : trimmed.left(eq).trimmed();
}

QStringList valueList(const QString &line)
{
    const QString value = line.mid(line.indexOf(QLatin1Char('=')) + 1).trimmed();
    QStringList out;
    for (const QString &part : value.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        out.append(part.trimmed());
    return out;
}

// [begin, end) of the lines inside the section, begin at the header; -1 when
// the section is missing.
std::pair<qsizetype, qsizetype> sectionRange(const QStringList &lines, const QString &header)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        if (lines.at(i).trimmed() != header)
            continue;
        qsizetype end = i + 1;
        while (end < lines.size() && !isSectionHeader(lines.at(end)))
            ++end;
        return {i, end};
    }
    return {-1, -1};
}

} // namespace

QByteArray setDefaultApplications(const QByteArray &mimeappsList, const QStringList &mimeTypes,
                                  const QString &desktopId)
{
    QStringList lines = splitLines(mimeappsList);
    for (const QString &mimeType : mimeTypes) {
        auto [begin, end] = sectionRange(lines, DefaultApplicationsSection);
        if (begin < 0) {
            if (!lines.isEmpty() && !lines.last().trimmed().isEmpty())
                lines.append(QString());
            lines.append(DefaultApplicationsSection);
            begin = lines.size() - 1;
            end = lines.size();
        }
        qsizetype found = -1;
        for (qsizetype i = begin + 1; i < end && found < 0; ++i)
            if (keyOf(lines.at(i)) == mimeType)
                found = i;
        QStringList apps{desktopId};
        if (found >= 0) {
            for (const QString &app : valueList(lines.at(found)))
                if (app != desktopId && !apps.contains(app))
                    apps.append(app);
        }
        const QString line = mimeType + QLatin1Char('=') + apps.join(QLatin1Char(';')) + QLatin1Char(';');
        if (found >= 0) {
            lines[found] = line;
        } else {
            // After the section's last entry, before blank lines that part it
            // from the next section.
            qsizetype at = end;
            while (at > begin + 1 && lines.at(at - 1).trimmed().isEmpty())
                --at;
            lines.insert(at, line);
        }
    }
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
}

QStringList defaultApplications(const QByteArray &mimeappsList, const QString &mimeType)
{
    const QStringList lines = splitLines(mimeappsList);
    const auto [begin, end] = sectionRange(lines, DefaultApplicationsSection);
    for (qsizetype i = begin + 1; begin >= 0 && i < end; ++i)
        if (keyOf(lines.at(i)) == mimeType)
            return valueList(lines.at(i));
    return {};
}

QByteArray urlShortcut(const QString &address)
{
    return Win31J::encode(QStringLiteral("[InternetShortcut]\r\nURL=") + address + QStringLiteral("\r\n"));
}

} // namespace DesktopFiles
