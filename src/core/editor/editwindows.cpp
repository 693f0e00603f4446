#include "core/editor/editwindows.h"

#include "core/common/dialogs.h"
#include "core/editor/editortexts.h"

EditorWindow *EditWindows::at(int slot) const
{
    return slot >= 0 && slot < SlotCount ? m_slots[slot] : nullptr;
}

int EditWindows::firstFreeSlot() const
{
    for (int slot = 0; slot < Limit; ++slot)
        if (!m_slots[slot])
            return slot;
    return Limit;
}

int EditWindows::openCount() const
{
    int n = 0;
    for (EditorWindow *editor : m_slots)
        n += editor ? 1 : 0;
    return n;
}

EditorWindow *EditWindows::findByKey(const QString &key) const
{
    for (EditorWindow *editor : m_slots)
        if (editor && editor->EditingKey() == key)
            return editor;
    return nullptr;
}

bool EditWindows::put(int slot, EditorWindow *editor)
{
    if (slot < 0 || slot >= Limit || m_slots[slot] || !editor)
        return false;
    m_slots[slot] = editor;
    return true;
}

void EditWindows::release(int slot)
{
    if (slot >= 0 && slot < SlotCount)
        m_slots[slot] = nullptr;
}

void EditWindows::release(EditorWindow *editor)
{
    for (EditorWindow *&held : m_slots)
        if (held == editor)
            held = nullptr;
}

void EditWindows::forEach(const std::function<void(EditorWindow &)> &fn) const
{
    for (int slot = 0; slot < SlotCount; ++slot)
        if (EditorWindow *editor = m_slots[slot])
            fn(*editor);
}

EditWindows::OpenResult EditWindows::open(Dialogs &dialogs, int listIndex, const QString &key, bool mostFront,
                                          const Factory &factory)
{
    if (key.isEmpty())
        return OpenResult::NoCard;
    const int slot = firstFreeSlot();
    if (slot == Limit) {
        dialogs.message(EditorTexts::TooManyEditors(Limit), MsgIcon::Error);
        return OpenResult::Refused;
    }
    if (EditorWindow *open = findByKey(key)) {
        open->bringToFront();
        return OpenResult::Fronted;
    }
    EditorWindow *editor = factory ? factory(slot, listIndex, key) : nullptr;
    if (!editor)
        return OpenResult::NotMade;
    m_slots[slot] = editor;
    if (mostFront)
        editor->setMostFront(true);
    editor->showEditor();
    return OpenResult::Opened;
}

void EditWindows::closeAll()
{
    for (int slot = 0; slot < SlotCount; ++slot)
        if (EditorWindow *editor = m_slots[slot]) {
            editor->closeEditor();
            m_slots[slot] = nullptr; // in case the editor did not free it
        }
}
