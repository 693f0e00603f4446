#pragma once
// The file-in-use guard: a list of the card files that QLTWIN windows have
// open, kept in "OpenCheck.ini" in the program folder and shared by every
// running QLTWIN process. Opening a card file registers it; closing removes
// it; opening a listed file asks whether to open it anyway. The guard only
// warns, it never keeps a file from being opened.
//
// Slots are the keys "File0" to "File50"; a slot is free when its key is
// missing or empty. Every operation reloads the file, changes it and saves it
// under the file's lock (LockedIniFile), so processes registering at the same
// moment never take the same slot or lose an entry. Paths are compared
// exactly, letter case included.

#include "core/common/inimente.h"

#include <QString>
#include <QStringList>

class Dialogs;

class OpenGuard
{
public:
    static constexpr int SlotCount = 51;
    static inline const QString ListFileName = QStringLiteral("OpenCheck.ini");
    static inline const QString SlotKey = QStringLiteral("File");
    static inline const QString InUseMessage =
        QStringLiteral("このファイルはすでに開かれている可能性があります。\n強行しますか？");

    // listFile: the shared list; empty means "OpenCheck.ini" in the program
    // folder.
    explicit OpenGuard(Dialogs &dialogs, const QString &listFile = QString());

    // True when the user chose not to open the file (it is listed and the
    // answer to the warning was No). Otherwise registers the path when it is
    // not listed yet (nothing when all 51 slots are taken) and returns false.
    [[nodiscard]] bool CheckAndRegisterOpenFile(const QString &path);
    // Removes the first entry equal to path; saves nothing when there is none.
    void UnregisterOpenFile(const QString &path);
    // Registers path in the first free slot without looking for it first.
    void RegisterOpenFile(const QString &path);

    // The listed paths by slot (free slots are empty texts), reloaded.
    QStringList listedSlots();
    QString listFile() const { return m_listFile; }

    // Whether a path can be kept in the list at all: the list is a
    // Windows-31J text of lines, so a path with a line break, a NUL or a
    // character Windows-31J cannot hold would be stored as another path and
    // never be found (or removed) again. Such files open unguarded.
    static bool isListable(const QString &path);

private:
    iniMente m_store;
    Dialogs &m_dialogs;
    QString m_listFile;
};
