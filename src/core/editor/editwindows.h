#pragma once
// The table of open editors, EditWindows: 101 slots numbered 0 to 100, each
// empty or holding one editor window. Slot 100 is never given out, so at most
// 100 editors are open; code that walks the table (hiding the windows around
// the external editor, closing them all before a document is replaced) walks
// all 101 slots.
//
// The table knows the editors through EditorWindow, which EditForm
// implements (and tests fake), so the opening rules run headless.

#include "core/document/documentwindow.h"

#include <QString>

#include <array>
#include <functional>

class Dialogs;

class EditorWindow
{
public:
    virtual ~EditorWindow() = default;
    // The key of the card being edited.
    virtual QString EditingKey() const = 0;
    // Shows it (if hidden), raises and activates it.
    virtual void bringToFront() = 0;
    virtual void setMostFront(bool on) = 0;
    // Shows it without blocking.
    virtual void showEditor() = 0;
    // CloseEditor: stores the size, frees the slot, goes away; unapplied
    // changes are dropped.
    virtual void closeEditor() = 0;
    // Hidden around the external editor and shown again afterwards.
    virtual void setShown(bool shown) = 0;
};

class EditWindows : public OpenEditors
{
public:
    static constexpr int SlotCount = 101;
    // The first slot never given out: "編集ウインドウは100以上開けません。"
    static constexpr int Limit = 100;

    EditorWindow *at(int slot) const;
    // The first empty slot from 0 upward; Limit when all usable ones are taken.
    int firstFreeSlot() const;
    int openCount() const override;
    // The open editor of the card with this key (exact comparison), or null.
    EditorWindow *findByKey(const QString &key) const;
    // Puts editor into an empty slot below Limit; false otherwise.
    bool put(int slot, EditorWindow *editor);
    // Empties the slot (the editor is not touched).
    void release(int slot);
    // Empties every slot holding editor.
    void release(EditorWindow *editor);

    // Each open editor, slot 0 to 100. fn may close the editor it is given.
    void forEach(const std::function<void(EditorWindow &)> &fn) const;

    // Makes the editor in a free slot: (slot, list index, key) -> editor, or
    // null when it cannot edit that card.
    using Factory = std::function<EditorWindow *(int slot, int listIndex, const QString &key)>;

    enum class OpenResult {
        NoCard,  // no key given: nothing happens
        Refused, // every usable slot is taken (the message was shown)
        Fronted, // the card's editor was open already and came to the front
        Opened,  // a new editor was made and shown
        NotMade, // the factory made none
    };
    // Opens an editor for the card with key in list listIndex: the slot test
    // first (so with 100 editors open even a card that has one gets the
    // message), then an open editor of the same card comes to the front,
    // else a new one is made in the free slot, made most-front when
    // mostFront, and shown.
    OpenResult open(Dialogs &dialogs, int listIndex, const QString &key, bool mostFront, const Factory &factory);

    // Closes every open editor (each frees its slot).
    void closeAll() override;

private:
    std::array<EditorWindow *, SlotCount> m_slots{};
};
