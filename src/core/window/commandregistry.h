#pragma once
// The command registry of a window. Every trigger (menu entry, toolbar
// button or drop-down entry, function-bar panel, search-strip button, key)
// names a command id of the window's tables; the window forwards the trigger
// here and the registry runs the handler its owner wired.
//
// A command has a handler, an enabled flag and a check state, and may
// override the visibility and caption of the menu entries that run it (the
// recent-file list shows its entries this way). A command without a handler is
// disabled, whatever its flag says: the window shows it greyed until its owner
// wires it. The signals carry every change so the window can follow.
//
//     CommandRegistry commands(MainWindowTables::tables());
//     commands.wire(Cmd::NewDocument, [&] { lifecycle.newDocument(); });
//     commands.setEnabled(Cmd::Reload, !untitled);
//     commands.setVisible(Cmd::recentFile(0), true);
//     commands.setText(Cmd::recentFile(0), "&A memo.qlw\t/data/memo.qlw");

#include "core/window/keytable.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

struct WindowTables;

class CommandRegistry : public QObject
{
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    explicit CommandRegistry(QObject *parent = nullptr);
    // Defines every command of the window's tables, none wired, with the
    // initial check marks of the menu tree.
    explicit CommandRegistry(const WindowTables &tables, QObject *parent = nullptr);

    void define(const WindowTables &tables);
    // A further command (triggers of other windows or later menus).
    void define(const QString &id);
    bool isDefined(const QString &id) const;
    QStringList ids() const;

    // Gives the command its handler and enables it (unknown ids are defined).
    void wire(const QString &id, Handler handler);
    void unwire(const QString &id);
    bool isWired(const QString &id) const;
    // Ids of the defined commands without a handler, in definition order.
    QStringList unwiredIds() const;

    // Runs the handler; false (and nothing runs) when the command is unknown,
    // not wired or disabled.
    bool trigger(const QString &id);

    // Enabled = wired and the flag set.
    bool isEnabled(const QString &id) const;
    void setEnabled(const QString &id, bool enabled);

    bool isChecked(const QString &id) const;
    void setChecked(const QString &id, bool checked);

    // The binding a key press runs in the window (see KeyTable::lookup), if
    // the window claims the key: a window key always does; a control's key is
    // left to the control while its command cannot run. Null: the key is not
    // the window's.
    const KeyBinding *claimKey(const KeyTable &keys, QKeyCombination key, KeyScope focus,
                               const KeyContext &context) const;

    // Overrides of the menu entries running the command; none = as the table says.
    std::optional<bool> visibleOverride(const QString &id) const;
    void setVisible(const QString &id, bool visible);
    std::optional<QString> textOverride(const QString &id) const;
    void setText(const QString &id, const QString &text);

signals:
    void enabledChanged(const QString &id, bool enabled);
    void checkedChanged(const QString &id, bool checked);
    void visibleChanged(const QString &id, bool visible);
    void textChanged(const QString &id, const QString &text);
    // After a handler ran.
    void triggered(const QString &id);

private:
    struct Command {
        Handler handler;
        bool enabledFlag = true;
        bool checked = false;
        std::optional<bool> visible;
        std::optional<QString> text;
    };
    Command *find(const QString &id);
    const Command *find(const QString &id) const;
    static bool effective(const Command &c) { return c.handler && c.enabledFlag; }

    QHash<QString, Command> m_commands;
    QStringList m_order;
};
