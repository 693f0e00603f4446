#pragma once
// iniMente: the system's own store for INI-style files. The whole file is held
// as an ordered list of (name, value) entries; sections are not interpreted
// and every non-key line is kept verbatim in its place. Files are Windows-31J
// text; lines end at CR or CR LF on reading and with CR LF on writing.
//
// Two programs use it with two slightly different behaviours (saving and
// reading with a default); the build is chosen when the store is made.
//
// Entries are never removed: a deleted key keeps its slot with the value
// "*DEL*" and is left out when the store is written.

#include <QList>
#include <QString>
#include <QVariant>

#include <utility>

class QIODevice;

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

    // Remembers Filename. A missing file: false, entries untouched. Otherwise
    // the store is replaced by the file's lines; false when the file could not
    // be read to its end (the complete lines read before the failure stay).
    [[nodiscard]] bool iniLoader(const QString &Filename);
    // The same parse from an open device, for readers that already hold one;
    // the remembered file name is not changed.
    [[nodiscard]] bool iniLoaderFromDevice(QIODevice &Source);

    void SetiniFilename(const QString &FilenameofINI);
    QString GetiniFilename() const;

    // Remembers Filename and replaces the file atomically with the store. An
    // empty store writes nothing (an existing file stays) and succeeds.
    [[nodiscard]] bool iniSaver(const QString &Filename);
    [[nodiscard]] bool iniSaverSameFilename();

    // First entry whose name matches without regard to letter case; else
    // Default (the QltWin build then also stores a non-empty Default).
    QVariant GetiniValue(const QString &ItemName, const QVariant &Default = QVariant());
    bool SetiniValue(const QString &ItemName, const QVariant &ItemValue);
    bool DeliniValue(const QString &ItemName);

    // Numbered families: GroupName + "0", GroupName + "1", ... up to the first
    // missing or empty member.
    bool DeliniGroup(const QString &GroupName);
    int SearchinGroup(const QString &GroupName, const QVariant &SearchItem, bool NoCheckCase);
    // Next (name, value) whose name starts with GroupName (letter case
    // ignored); an empty GroupName continues the previous scan. Two empty
    // texts when nothing more matches.
    std::pair<QString, QString> GetiniGroup2(const QString &GroupName);

    // Sets ItemValue only when the key is missing or its value is empty.
    QVariant MakeiniItem(const QString &ItemName, const QVariant &ItemValue);

    // Every entry that is not deleted, one line each with CR LF, without the
    // "[General]" header.
    QString iniSavertoVariable() const;

    // The text a value is written as: booleans as True/False, numbers in
    // their shortest decimal form, anything else as its string.
    static QString textOf(const QVariant &value);

    // Inspection for callers and tests: the entries in list order.
    int lastIndex() const { return int(m_names.size()) - 1; }
    QString nameAt(int index) const { return m_names.at(index); }
    QVariant valueAt(int index) const { return m_values.at(index); }
    Build build() const { return m_build; }

    // Characters of the last save that Windows-31J could not hold (written as "?").
    qsizetype lastSaveUnmappable() const { return m_lastSaveUnmappable; }
    // Byte sequences of the last load that were no Windows-31J character.
    qsizetype lastLoadInvalid() const { return m_lastLoadInvalid; }

private:
    bool iniParser(const QString &Filename);
    void reset();
    void parseLine(const QString &line);
    int indexOf(const QString &ItemName) const;
    QString render(bool withHeader, bool dropHeaderLines) const;

    Build m_build;
    QList<QString> m_names;
    QList<QVariant> m_values;
    QString m_fileName;
    QString m_groupPrefix;
    int m_groupPosition = 0;
    qsizetype m_lastSaveUnmappable = 0;
    qsizetype m_lastLoadInvalid = 0;
};
