#pragma once
// iniMente: the system's own store for INI-style files. The whole file is held
// as an ordered list of (name, value) entries; sections are not interpreted
// and every non-key line is kept verbatim in its place. Files are Windows-31J
// text; lines end at CR or CR LF on reading and with CR LF on writing.
//
// Two programs use it with two slightly different behaviours (saving and
// reading with a default); the build is chosen when the store is made.

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

class iniMente
{
public:
    enum class Build {
        QltWin,    // writes "[General]" first; a read with a default adds the key
        QltLaunch, // writes no header; reads never add keys
    };

    static inline const QString RemMarker = QStringLiteral("*REM*");
    static inline const QString DelMarker = QStringLiteral("*DEL*");
    static inline const QString GeneralHeader = QStringLiteral("[General]");

    explicit iniMente(Build build = Build::QltWin);

    bool iniLoader(const QString &Filename);
    void SetiniFilename(const QString &FilenameofINI);
    QString GetiniFilename() const;
    bool iniSaver(const QString &Filename);
    void iniSaverSameFilename();
    QVariant GetiniValue(const QString &ItemName, const QVariant &Default = QVariant());
    bool SetiniValue(const QString &ItemName, const QVariant &ItemValue);
    bool DeliniValue(const QString &ItemName);
    bool DeliniGroup(const QString &GroupName);
    int SearchinGroup(const QString &GroupName, const QVariant &SearchItem, bool NoCheckCase);
    std::pair<QString, QString> GetiniGroup2(const QString &GroupName);
    QVariant MakeiniItem(const QString &ItemName, const QVariant &ItemValue);
    QString iniSavertoVariable() const;

    // Inspection for callers and tests: the entries in list order.
    int lastIndex() const { return int(m_names.size()) - 1; }
    QString nameAt(int index) const { return m_names.at(index); }
    QVariant valueAt(int index) const { return m_values.at(index); }
    Build build() const { return m_build; }

    // Characters of the last save that Windows-31J could not hold (written as "?").
    qsizetype lastSaveUnmappable() const { return m_lastSaveUnmappable; }

private:
    bool iniParser(const QString &Filename);
    int indexOf(const QString &ItemName) const;
    QByteArray render(bool withHeader, bool dropGeneralLines) const;

    Build m_build;
    QList<QString> m_names;
    QList<QVariant> m_values;
    QString m_fileName;
    QString m_groupPrefix;
    int m_groupPosition = 0;
    qsizetype m_lastSaveUnmappable = 0;
};
