#pragma once
// One card being edited: what an editor window holds and decides. The window
// (EditForm) only shows the boxes and forwards what the person does; the
// session keeps the key of the card, the list it came from, its slot in the
// table of open editors, the texts of the four boxes and the ChangeCard flag,
// and runs loading, apply, commit with their recovery, the window-size
// settings, MenuEditOpen, the external editor and most-front.
//
// The session never holds the list item: it finds the card by key when it
// applies, so the card may be sorted, moved to the extraction list or deleted
// meanwhile.
//
//     EditSession session(context, listIndex, key, slot);
//     if (!session.load()) return;          // no such card
//     ... boxes from session.group(), title(), remarks(), content()
//     session.setTracking(true);             // the window is visible
//     session.setContent(text);              // the person typed
//     session.applyAndClose();               // MenuGo

#include "core/editor/editortitle.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QStringList>

#include <functional>

class EditorContext;

// The text boxes txtEdit(0..2); the edit commands work on the last focused.
enum class EditBox { Title = 0, Remarks = 1, Content = 2 };

class EditSession : public QObject
{
    Q_OBJECT
public:
    EditSession(EditorContext &context, int listIndex, const QString &key, int slot, QObject *parent = nullptr);

    EditorContext &context() const { return m_context; }

    // Reads the card with EditingKey from list Index: the title field split
    // into group and title box, remarks and content; the group choices from
    // the main card list. ChangeCard false. False when the list holds no card
    // with the key (nothing is loaded).
    [[nodiscard]] bool load();

    QString EditingKey() const { return m_key; }
    // The list the card is read from and written to (0 main, 1 extraction);
    // it becomes the active list when the card is put together.
    int Index() const { return m_index; }
    int ArrayIndex() const { return m_slot; }

    bool ChangeCard() const { return m_changeCard; }
    // Also rewrites the window title.
    void setChangeCard(bool changed);
    QString windowTitle() const;

    // --- The boxes
    QString group() const { return m_group; }
    QString title() const { return m_title; }
    QString remarks() const { return m_remarks; }
    QString content() const;
    QString text(EditBox box) const;
    QStringList groupChoices() const { return m_groupChoices; }
    // Selected in the title box after loading.
    EditorTitle::Selection titleSelection() const { return EditorTitle::initialSelection(m_title); }
    // The title field the boxes make now.
    QString titleField() const { return EditorTitle::rebuild(m_group, m_title); }

    // Changes count only while tracking is on (the window is visible), so
    // filling the boxes while loading changes nothing.
    void setTracking(bool on) { m_tracking = on; }
    bool tracking() const { return m_tracking; }

    // The person changed a box (a text equal to the held one is no change).
    void setGroup(const QString &text);
    void setText(EditBox box, const QString &text);
    void setTitle(const QString &text) { setText(EditBox::Title, text); }
    void setRemarks(const QString &text) { setText(EditBox::Remarks, text); }
    void setContent(const QString &text) { setText(EditBox::Content, text); }
    // A pick in the group box counts even when its text stays.
    void groupPicked();

    // The content box may be large: instead of handing over its whole text
    // at every keystroke, the window tells that it changed and the session
    // fetches the text from source when it needs it.
    void setContentSource(std::function<QString()> source) { m_contentSource = std::move(source); }
    void contentEdited();

    // The focus leaves a box: the title and remarks lose every line break
    // (boxReplaced tells the window); the content keeps them.
    void leaveBox(EditBox box);

    // --- Applying
    enum class Applied {
        Unchanged, // nothing to put together (ChangeCard false)
        Written,   // the card found by key took the boxes' texts
        Recovered, // the card was gone: it was added again
        Refused,   // the group holds "＠": told, nothing written, stay open
    };
    // MenuGo: put the card together when changed (the group list and the
    // preview follow the card list). The window closes afterwards unless Refused (after
    // Recovered it stores its size whatever SaveWindowSize says).
    Applied applyAndClose();
    // CommitEdit: the same, the window stays open and ChangeCard becomes
    // false; save: then the card file is saved ("上書き保存(&4)").
    Applied commit(bool save);

    // Esc: discards (closes) only while there is nothing to lose.
    bool escapeDiscards() const { return !m_changeCard; }

    // --- Window size (WindowEditSizeX/Y, twips; the outer size in pixels here)
    QSize storedWindowSize() const;
    // Stored when SaveWindowSize is 1, or always.
    void storeWindowSize(const QSize &outerPixels, bool always);

    // --- MenuEditOpen: item 0 opens the selection through the shell, item 1
    // extracts by it in the main window; without a selection it says
    // "範囲選択しておく必要があります。".
    void openSelection(int item, const QString &selectedText);

    // --- MenuEditEditor: the content through the external editor. True when
    // it came back changed (the content box took it, ChangeCard is true).
    bool runExternalEditor();

    // --- Most-front of this editor
    bool mostFront() const { return m_mostFront; }
    void setMostFront(bool on);
    // The menu entry: no notice.
    void toggleMostFrontFromMenu() { setMostFront(!m_mostFront); }
    // The toolbar button: the once-only notice first.
    void toggleMostFrontFromButton();

    // --- The main window's browse mode
    bool browseMode() const;
    void toggleBrowseMode();

signals:
    void windowTitleChanged(const QString &title);
    void changeCardChanged(bool changed);
    // The session changed a box's text itself (line breaks, external editor).
    void boxReplaced(EditBox box, const QString &text);
    // The group box should take the focus (after the "＠" refusal).
    void groupFocusRequested();
    void mostFrontChanged(bool on);

private:
    void noteChange();
    Applied putTogether();
    QString &field(EditBox box);

    EditorContext &m_context;
    QString m_key;
    int m_index;
    int m_slot;
    bool m_changeCard = false;
    bool m_tracking = false;
    bool m_mostFront = false;
    QString m_group;
    QString m_title;
    QString m_remarks;
    mutable QString m_content;
    mutable bool m_contentStale = false;
    std::function<QString()> m_contentSource;
    QStringList m_groupChoices;
};
