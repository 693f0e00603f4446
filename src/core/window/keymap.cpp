#include "core/window/keymap.h"

#include "core/window/commandids.h"
#include "core/window/mainwindowtables.h"

namespace KeyMap {

KeyTable makeTable()
{
    auto window = [](const QString &keys, const QString &command) { return KeyTable::window(keys, command); };
    auto control = [](KeyScope scope, const QString &keys, const QString &command,
                      KeyCondition condition = KeyCondition::Always) {
        return KeyTable::control(scope, keys, command, condition);
    };
    const QList<KeyBinding> b = {
        window(QStringLiteral("Ctrl+Enter"), Cmd::ExtractAndSelect),
        window(QStringLiteral("Alt+Enter"), Cmd::EditCard),
        window(QStringLiteral("Shift+Enter"), Cmd::EditCard),
        window(QStringLiteral("Esc"), Cmd::Escape),
        window(QStringLiteral("Ctrl+A"), Cmd::SelectAll),
        window(QStringLiteral("Ctrl+Shift+A"), Cmd::NewCard),
        window(QStringLiteral("Ctrl+F"), Cmd::FocusSearch),
        window(QStringLiteral("F2"), Cmd::RenameCard),
        window(QStringLiteral("Shift+F2"), Cmd::NewCard),
        window(QStringLiteral("Ctrl+F2"), Cmd::NewCard),
        window(QStringLiteral("F3"), Cmd::EditCard),
        window(QStringLiteral("F5"), Cmd::Refresh),
        window(QStringLiteral("F6"), Cmd::SearchDownPrompt),
        window(QStringLiteral("F7"), Cmd::ExtractPrompt),
        window(QStringLiteral("F8"), Cmd::Cut),
        window(QStringLiteral("F9"), Cmd::Copy),
        window(QStringLiteral("F10"), Cmd::Paste),
        window(QStringLiteral("F12"), Cmd::EndExtraction),

        control(KeyScope::CardList, QStringLiteral("Del"), Cmd::DeleteCard),
        control(KeyScope::CardList, QStringLiteral("Ctrl+X"), Cmd::Cut),
        control(KeyScope::CardList, QStringLiteral("Ctrl+C"), Cmd::Copy),
        control(KeyScope::CardList, QStringLiteral("Ctrl+V"), Cmd::Paste),
        control(KeyScope::CardList, QStringLiteral("Shift+Ins"), Cmd::Paste),
        control(KeyScope::CardList, QStringLiteral("Enter"), Cmd::SearchDown),
        control(KeyScope::CardList, QStringLiteral("Menu"), Cmd::EditMenuPopup),
        control(KeyScope::CardList, QStringLiteral("Space"), Cmd::BrowseSpace, KeyCondition::BrowseMode),

        control(KeyScope::SearchBox, QStringLiteral("Enter"), Cmd::SearchTop),
        control(KeyScope::SearchBox, QStringLiteral("Up"), Cmd::SearchBoxToList, KeyCondition::KeywordEmpty),
        control(KeyScope::SearchBox, QStringLiteral("Down"), Cmd::SearchBoxToList, KeyCondition::KeywordEmpty),
    };
    return KeyTable(QStringLiteral("MainForm"), b, MainWindowTables::menuTree());
}

const KeyTable &table()
{
    return MainWindowTables::tables().keys;
}

const QList<KeyBinding> &bindings()
{
    return table().bindings();
}

const KeyBinding *lookup(QKeyCombination key, KeyScope focus, const KeyContext &context)
{
    return table().lookup(key, focus, context);
}

QString commandFor(QKeyCombination key, KeyScope focus, const KeyContext &context)
{
    return table().commandFor(key, focus, context);
}

} // namespace KeyMap
