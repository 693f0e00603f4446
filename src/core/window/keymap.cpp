#include "core/window/keymap.h"

#include "core/window/commandids.h"
#include "core/window/mainwindowtables.h"

#include <QHash>

QKeyCombination KeyBinding::combination() const
{
    return KeyMap::parse(keys);
}

QString KeyBinding::control() const
{
    switch (scope) {
    case KeyScope::Window: return QStringLiteral("MainForm");
    case KeyScope::CardList: return QStringLiteral("lvData");
    case KeyScope::SearchBox: return QStringLiteral("txtSearch");
    }
    return QString();
}

namespace {

QList<KeyBinding> buildBindings()
{
    auto window = [](const QString &keys, const QString &command) {
        return KeyBinding{keys, KeyScope::Window, KeyCondition::Always, command, false};
    };
    auto control = [](KeyScope scope, const QString &keys, const QString &command,
                      KeyCondition condition = KeyCondition::Always) {
        return KeyBinding{keys, scope, condition, command, false};
    };
    QList<KeyBinding> b = {
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
    for (const MenuEntry &e : MainWindowTables::menuTree()) {
        if (!e.shortcut.isEmpty())
            b.append(KeyBinding{e.shortcut, KeyScope::Window, KeyCondition::Always, e.command, true});
    }
    return b;
}

const QHash<QString, Qt::Key> &namedKeys()
{
    static const QHash<QString, Qt::Key> keys = {
        {QStringLiteral("enter"), Qt::Key_Enter},
        {QStringLiteral("return"), Qt::Key_Return},
        {QStringLiteral("esc"), Qt::Key_Escape},
        {QStringLiteral("escape"), Qt::Key_Escape},
        {QStringLiteral("del"), Qt::Key_Delete},
        {QStringLiteral("delete"), Qt::Key_Delete},
        {QStringLiteral("ins"), Qt::Key_Insert},
        {QStringLiteral("insert"), Qt::Key_Insert},
        {QStringLiteral("space"), Qt::Key_Space},
        {QStringLiteral("tab"), Qt::Key_Tab},
        {QStringLiteral("backspace"), Qt::Key_Backspace},
        {QStringLiteral("up"), Qt::Key_Up},
        {QStringLiteral("down"), Qt::Key_Down},
        {QStringLiteral("left"), Qt::Key_Left},
        {QStringLiteral("right"), Qt::Key_Right},
        {QStringLiteral("home"), Qt::Key_Home},
        {QStringLiteral("end"), Qt::Key_End},
        {QStringLiteral("pgup"), Qt::Key_PageUp},
        {QStringLiteral("pgdown"), Qt::Key_PageDown},
        {QStringLiteral("menu"), Qt::Key_Menu},
    };
    return keys;
}

bool holds(KeyCondition condition, const KeyContext &context)
{
    switch (condition) {
    case KeyCondition::Always: return true;
    case KeyCondition::KeywordEmpty: return context.keywordEmpty;
    case KeyCondition::BrowseMode: return context.browseMode;
    }
    return false;
}

} // namespace

namespace KeyMap {

const QList<KeyBinding> &bindings()
{
    static const QList<KeyBinding> table = buildBindings();
    return table;
}

QKeyCombination parse(const QString &keys)
{
    const QStringList parts = keys.split(QLatin1Char('+'));
    Qt::KeyboardModifiers modifiers;
    for (int i = 0; i + 1 < parts.size(); ++i) {
        const QString m = parts.at(i).trimmed().toLower();
        if (m == QLatin1String("ctrl"))
            modifiers |= Qt::ControlModifier;
        else if (m == QLatin1String("shift"))
            modifiers |= Qt::ShiftModifier;
        else if (m == QLatin1String("alt"))
            modifiers |= Qt::AltModifier;
        else if (m == QLatin1String("meta"))
            modifiers |= Qt::MetaModifier;
        else
            return QKeyCombination(Qt::Key_unknown);
    }
    const QString name = parts.isEmpty() ? QString() : parts.last().trimmed();
    Qt::Key key = Qt::Key_unknown;
    if (name.size() == 1 && name.at(0).isLetterOrNumber() && name.at(0).unicode() < 128) {
        key = Qt::Key(name.at(0).toUpper().unicode());
    } else if (name.size() >= 2 && (name.at(0) == QLatin1Char('F') || name.at(0) == QLatin1Char('f'))) {
        bool ok = false;
        const int n = name.mid(1).toInt(&ok);
        if (ok && n >= 1 && n <= 35)
            key = Qt::Key(Qt::Key_F1 + n - 1);
    }
    if (key == Qt::Key_unknown)
        key = namedKeys().value(name.toLower(), Qt::Key_unknown);
    if (key == Qt::Key_unknown)
        return QKeyCombination(Qt::Key_unknown);
    return QKeyCombination(modifiers, key);
}

QKeyCombination normalised(QKeyCombination key)
{
    Qt::Key k = key.key();
    if (k == Qt::Key_Enter)
        k = Qt::Key_Return;
    return QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, k);
}

const KeyBinding *lookup(QKeyCombination key, KeyScope focus, const KeyContext &context)
{
    const QKeyCombination wanted = normalised(key);
    const KeyBinding *found = nullptr;
    for (const KeyBinding &b : bindings()) {
        if (normalised(b.combination()) != wanted || !holds(b.condition, context))
            continue;
        if (b.scope == KeyScope::Window)
            return &b;
        if (b.scope == focus && !found)
            found = &b;
    }
    return found;
}

QString commandFor(QKeyCombination key, KeyScope focus, const KeyContext &context)
{
    const KeyBinding *b = lookup(key, focus, context);
    return b ? b->command : QString();
}

} // namespace KeyMap
