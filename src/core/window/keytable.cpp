#include "core/window/keytable.h"

#include "core/window/windowtables.h"

#include <QHash>
#include <QStringList>

QKeyCombination KeyBinding::combination() const
{
    return KeyTable::parse(keys);
}

QString KeyBinding::control() const
{
    switch (scope) {
    case KeyScope::Window: return window;
    case KeyScope::CardList: return QStringLiteral("lvData");
    case KeyScope::SearchBox: return QStringLiteral("txtSearch");
    case KeyScope::TitleBox: return QStringLiteral("txtEdit_0");
    case KeyScope::RemarksBox: return QStringLiteral("txtEdit_1");
    case KeyScope::ContentBox: return QStringLiteral("txtEdit_2");
    case KeyScope::GroupBox: return QStringLiteral("cmbGroup");
    }
    return QString();
}

namespace {

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

} // namespace

KeyTable::KeyTable(const QString &window, QList<KeyBinding> bindings, const QList<MenuEntry> &menus)
    : m_window(window), m_bindings(std::move(bindings))
{
    for (const MenuEntry &e : menus) {
        if (!e.shortcut.isEmpty())
            m_bindings.append(KeyBinding{e.shortcut, KeyScope::Window, KeyCondition::Always, e.command, true, {}});
    }
    for (KeyBinding &b : m_bindings)
        b.window = m_window;
}

KeyBinding KeyTable::window(const QString &keys, const QString &command)
{
    return KeyBinding{keys, KeyScope::Window, KeyCondition::Always, command, false, {}};
}

KeyBinding KeyTable::control(KeyScope scope, const QString &keys, const QString &command, KeyCondition condition)
{
    return KeyBinding{keys, scope, condition, command, false, {}};
}

const KeyBinding *KeyTable::lookup(QKeyCombination key, KeyScope focus, const KeyContext &context) const
{
    const QKeyCombination wanted = normalised(key);
    const KeyBinding *found = nullptr;
    for (const KeyBinding &b : m_bindings) {
        if (normalised(b.combination()) != wanted || !holds(b.condition, context))
            continue;
        if (b.scope == KeyScope::Window)
            return &b;
        if (b.scope == focus && !found)
            found = &b;
    }
    return found;
}

QString KeyTable::commandFor(QKeyCombination key, KeyScope focus, const KeyContext &context) const
{
    const KeyBinding *b = lookup(key, focus, context);
    return b ? b->command : QString();
}

QKeyCombination KeyTable::parse(const QString &keys)
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

QKeyCombination KeyTable::normalised(QKeyCombination key)
{
    Qt::Key k = key.key();
    if (k == Qt::Key_Enter)
        k = Qt::Key_Return;
    return QKeyCombination(key.keyboardModifiers() & ~Qt::KeypadModifier, k);
}

bool KeyTable::holds(KeyCondition condition, const KeyContext &context)
{
    switch (condition) {
    case KeyCondition::Always: return true;
    case KeyCondition::KeywordEmpty: return context.keywordEmpty;
    case KeyCondition::BrowseMode: return context.browseMode;
    }
    return false;
}
