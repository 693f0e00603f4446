#include "core/document/openguard.h"

#include "core/common/dialogs.h"
#include "core/common/lockedinifile.h"
#include "core/common/programfolder.h"

namespace {

QString slotKey(int slot)
{
    return OpenGuard::SlotKey + QString::number(slot);
}

// The path in a slot; empty for a free slot. A slot marked deleted in memory
// is free as well.
QString slotValue(iniMente &store, int slot)
{
    const QVariant value = store.GetiniValue(slotKey(slot));
    if (!value.isValid())
        return QString();
    const QString text = value.toString();
    return text == iniMente::DelMarker ? QString() : text;
}

int findSlot(iniMente &store, const QString &path)
{
    for (int slot = 0; slot < OpenGuard::SlotCount; ++slot)
        if (slotValue(store, slot) == path) // exact: letter case counts
            return slot;
    return -1;
}

// Puts path into the first free slot; false when all are taken.
bool putIntoFreeSlot(iniMente &store, const QString &path)
{
    for (int slot = 0; slot < OpenGuard::SlotCount; ++slot) {
        if (slotValue(store, slot).isEmpty()) {
            store.SetiniValue(slotKey(slot), path);
            return true;
        }
    }
    return false;
}

} // namespace

OpenGuard::OpenGuard(Dialogs &dialogs, const QString &listFile)
    : m_store(iniMente::Build::QltWin), m_dialogs(dialogs),
      m_listFile(listFile.isEmpty() ? ProgramFolder::file(ListFileName) : listFile)
{}

bool OpenGuard::isListable(const QString &path)
{
    return LockedIniFile::isStorableValue(path);
}

bool OpenGuard::CheckAndRegisterOpenFile(const QString &path)
{
    if (path.isEmpty() || !isListable(path))
        return false;

    // The guard only advises: a list that cannot be read or written leaves
    // the file unguarded and the open goes on, here and below.
    bool listed = false;
    (void)LockedIniFile::update(m_store, m_listFile, [&](iniMente &store) {
        listed = findSlot(store, path) >= 0;
        return !listed && putIntoFreeSlot(store, path);
    });
    if (!listed)
        return false;

    // Asked after the lock is released: the person may take their time.
    // A forced open registers nothing new; the path is listed already.
    const MsgAnswer answer = m_dialogs.message(InUseMessage, MsgIcon::Error, MsgButtons::YesNo);
    return answer != MsgAnswer::Yes;
}

void OpenGuard::UnregisterOpenFile(const QString &path)
{
    if (path.isEmpty() || !isListable(path))
        return;
    (void)LockedIniFile::update(m_store, m_listFile, [&](iniMente &store) {
        const int slot = findSlot(store, path);
        if (slot < 0)
            return false;
        store.DeliniValue(slotKey(slot));
        return true;
    });
}

void OpenGuard::RegisterOpenFile(const QString &path)
{
    if (path.isEmpty() || !isListable(path))
        return;
    (void)LockedIniFile::update(m_store, m_listFile, [&](iniMente &store) { return putIntoFreeSlot(store, path); });
}

QStringList OpenGuard::listedSlots()
{
    (void)LockedIniFile::reload(m_store, m_listFile);
    QStringList out;
    for (int slot = 0; slot < SlotCount; ++slot)
        out.append(slotValue(m_store, slot));
    return out;
}
