#pragma once
// A window's keyboard table: every key with the command it runs and where it
// acts. Window keys are seen before any control (also while a box or a list
// has the focus); a control's keys act only while that control has the focus,
// only when no window key claims the same key, and only while their
// condition holds. A window's menu shortcut keys are window keys too.
//
// Keys are written in QKeySequence's portable text ("Ctrl+Enter", "Shift+F2",
// "Del") and parsed here without Qt Gui, so a table is usable headless.
//
//     KeyTable keys(QStringLiteral("EditForm"), {
//         KeyTable::window(QStringLiteral("Ctrl+S"), EditorCmd::Commit),
//         KeyTable::control(KeyScope::SearchBox, QStringLiteral("Enter"), EditorCmd::SearchForward),
//     });
//     keys.commandFor(event->keyCombination(), KeyScope::SearchBox, context);

#include <QKeyCombination>
#include <QList>
#include <QString>

struct MenuEntry;

// Where a key acts: the whole window, or the control (or kind of control)
// holding the focus.
enum class KeyScope {
    Window,     // the window itself: every key, before its controls
    CardList,   // a card list of the main window (lvData)
    SearchBox,  // a search box (txtSearch)
    TitleBox,   // the editor's title box (txtEdit 0)
    RemarksBox, // the editor's remarks box (txtEdit 1)
    ContentBox, // the editor's content box (txtEdit 2)
    GroupBox,   // the editor's group box (cmbGroup)
};

enum class KeyCondition {
    Always,
    KeywordEmpty, // only while the search box is empty
    BrowseMode,   // only while browse mode is on
};

struct KeyBinding {
    QString keys; // "Ctrl+Enter"
    KeyScope scope = KeyScope::Window;
    KeyCondition condition = KeyCondition::Always;
    QString command;
    bool fromMenu = false; // a menu shortcut key (from the menu tree)
    QString window;        // the window's object name, set by the table

    QKeyCombination combination() const;
    // The control the key acts in: the window's name for window keys,
    // "lvData", "txtSearch", "txtEdit_0" ... for the controls.
    QString control() const;
};

// What the conditions of the keys read.
struct KeyContext {
    bool keywordEmpty = true;
    bool browseMode = false;
};

class KeyTable
{
public:
    KeyTable() = default;
    // window: the object name of the window (window keys name it as their
    // control); then the keys; then the menus, whose shortcut keys are added
    // as window keys.
    KeyTable(const QString &window, QList<KeyBinding> bindings, const QList<MenuEntry> &menus = {});

    static KeyBinding window(const QString &keys, const QString &command);
    static KeyBinding control(KeyScope scope, const QString &keys, const QString &command,
                              KeyCondition condition = KeyCondition::Always);

    const QString &windowName() const { return m_window; }
    const QList<KeyBinding> &bindings() const { return m_bindings; }

    // The binding a key press runs when the focus is in the given scope: a
    // window key first, then a key of the focused control whose condition
    // holds. Null when none applies.
    const KeyBinding *lookup(QKeyCombination key, KeyScope focus, const KeyContext &context) const;
    // The command for a key, or an empty id.
    QString commandFor(QKeyCombination key, KeyScope focus, const KeyContext &context) const;

    // "Ctrl+Shift+A" to a key combination; an unknown key name gives Qt::Key_unknown.
    static QKeyCombination parse(const QString &keys);
    // Keypad Enter counts as Enter; the keypad modifier is dropped.
    static QKeyCombination normalised(QKeyCombination key);
    static bool holds(KeyCondition condition, const KeyContext &context);

private:
    QString m_window;
    QList<KeyBinding> m_bindings;
};
