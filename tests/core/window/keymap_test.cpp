// The keyboard map: parsing, which command a key runs where, and the order
// in which the window and its controls see keys.

#include "core/window/commandids.h"
#include "core/window/keymap.h"

#include <QHash>

#include <gtest/gtest.h>

namespace {

QKeyCombination key(Qt::KeyboardModifiers modifiers, Qt::Key k)
{
    return QKeyCombination(modifiers, k);
}

QString windowCommand(QKeyCombination k)
{
    return KeyMap::commandFor(k, KeyScope::Window, KeyContext{});
}

} // namespace

TEST(KeyMapParse, ModifiersAndNames)
{
    EXPECT_EQ(KeyMap::parse("Ctrl+N"), key(Qt::ControlModifier, Qt::Key_N));
    EXPECT_EQ(KeyMap::parse("Ctrl+Shift+A"), key(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_A));
    EXPECT_EQ(KeyMap::parse("Shift+Ctrl+A"), key(Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_A));
    EXPECT_EQ(KeyMap::parse("F12"), key(Qt::NoModifier, Qt::Key_F12));
    EXPECT_EQ(KeyMap::parse("Ctrl+F4"), key(Qt::ControlModifier, Qt::Key_F4));
    EXPECT_EQ(KeyMap::parse("Alt+Enter"), key(Qt::AltModifier, Qt::Key_Enter));
    EXPECT_EQ(KeyMap::parse("Esc"), key(Qt::NoModifier, Qt::Key_Escape));
    EXPECT_EQ(KeyMap::parse("Shift+Ins"), key(Qt::ShiftModifier, Qt::Key_Insert));
    EXPECT_EQ(KeyMap::parse("Del"), key(Qt::NoModifier, Qt::Key_Delete));
    EXPECT_EQ(KeyMap::parse("Menu"), key(Qt::NoModifier, Qt::Key_Menu));
    EXPECT_EQ(KeyMap::parse("Hyper+A").key(), Qt::Key_unknown);
    EXPECT_EQ(KeyMap::parse("Ctrl+Nonsense").key(), Qt::Key_unknown);
    EXPECT_EQ(KeyMap::parse("F0").key(), Qt::Key_unknown);
}

TEST(KeyMapWindow, EveryKeyOfTheWindowRunsItsCommand)
{
    struct Case {
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        QString command;
    };
    const Case cases[] = {
        {Qt::ControlModifier, Qt::Key_Return, Cmd::ExtractAndSelect},
        {Qt::AltModifier, Qt::Key_Return, Cmd::EditCard},
        {Qt::ShiftModifier, Qt::Key_Return, Cmd::EditCard},
        {Qt::NoModifier, Qt::Key_Escape, Cmd::Escape},
        {Qt::ControlModifier, Qt::Key_A, Cmd::SelectAll},
        {Qt::ControlModifier | Qt::ShiftModifier, Qt::Key_A, Cmd::NewCard},
        {Qt::ControlModifier, Qt::Key_F, Cmd::FocusSearch},
        {Qt::NoModifier, Qt::Key_F2, Cmd::RenameCard},
        {Qt::ShiftModifier, Qt::Key_F2, Cmd::NewCard},
        {Qt::ControlModifier, Qt::Key_F2, Cmd::NewCard},
        {Qt::NoModifier, Qt::Key_F3, Cmd::EditCard},
        {Qt::NoModifier, Qt::Key_F5, Cmd::Refresh},
        {Qt::NoModifier, Qt::Key_F6, Cmd::SearchDownPrompt},
        {Qt::NoModifier, Qt::Key_F7, Cmd::ExtractPrompt},
        {Qt::NoModifier, Qt::Key_F8, Cmd::Cut},
        {Qt::NoModifier, Qt::Key_F9, Cmd::Copy},
        {Qt::NoModifier, Qt::Key_F10, Cmd::Paste},
        {Qt::NoModifier, Qt::Key_F12, Cmd::EndExtraction},
        // The menus' shortcut keys act as window keys.
        {Qt::ControlModifier, Qt::Key_N, Cmd::NewDocument},
        {Qt::ControlModifier, Qt::Key_O, Cmd::OpenDocument},
        {Qt::ControlModifier, Qt::Key_S, Cmd::SaveDocument},
        {Qt::ControlModifier, Qt::Key_M, Cmd::HtmlWizardAgain},
        {Qt::ControlModifier, Qt::Key_W, Cmd::Quit},
        {Qt::ControlModifier, Qt::Key_E, Cmd::EditCard},
        {Qt::ControlModifier, Qt::Key_G, Cmd::CopyContentOnly},
        {Qt::ControlModifier, Qt::Key_B, Cmd::BrowserSelected},
        {Qt::ControlModifier, Qt::Key_D, Cmd::BrowserHomePage},
        {Qt::ControlModifier, Qt::Key_U, Cmd::OpenRemarksUrl},
        {Qt::NoModifier, Qt::Key_F4, Cmd::ViewNextMode},
        {Qt::ControlModifier, Qt::Key_F4, Cmd::PreviewNext},
        {Qt::NoModifier, Qt::Key_F1, Cmd::HelpOnline},
    };
    for (const Case &c : cases) {
        for (KeyScope focus : {KeyScope::Window, KeyScope::CardList, KeyScope::SearchBox})
            EXPECT_EQ(KeyMap::commandFor(key(c.modifiers, c.key), focus, KeyContext{}), c.command)
                << c.command.toStdString();
    }
}

TEST(KeyMapWindow, NoTwoWindowKeysShareACombination)
{
    QHash<int, QString> seen;
    for (const KeyBinding &b : KeyMap::bindings()) {
        if (b.scope != KeyScope::Window)
            continue;
        const int combined = KeyMap::normalised(b.combination()).toCombined();
        EXPECT_FALSE(seen.contains(combined))
            << b.keys.toStdString() << " also runs " << seen.value(combined).toStdString();
        seen.insert(combined, b.command);
    }
}

TEST(KeyMapWindow, KeypadEnterCountsAsEnter)
{
    EXPECT_EQ(windowCommand(key(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Enter)), Cmd::ExtractAndSelect);
    EXPECT_EQ(windowCommand(key(Qt::ShiftModifier, Qt::Key_Enter)), Cmd::EditCard);
}

TEST(KeyMapWindow, UnmappedKeysRunNothing)
{
    EXPECT_TRUE(windowCommand(key(Qt::NoModifier, Qt::Key_F11)).isEmpty());
    EXPECT_TRUE(windowCommand(key(Qt::NoModifier, Qt::Key_A)).isEmpty());
    EXPECT_TRUE(windowCommand(key(Qt::ControlModifier | Qt::AltModifier, Qt::Key_A)).isEmpty());
    // Plain Enter is no window key: it belongs to the focused control.
    EXPECT_TRUE(windowCommand(key(Qt::NoModifier, Qt::Key_Return)).isEmpty());
}

TEST(KeyMapControls, CardListKeysActOnlyInACardList)
{
    struct Case {
        Qt::KeyboardModifiers modifiers;
        Qt::Key key;
        QString command;
    };
    const Case cases[] = {
        {Qt::NoModifier, Qt::Key_Delete, Cmd::DeleteCard},  {Qt::ControlModifier, Qt::Key_X, Cmd::Cut},
        {Qt::ControlModifier, Qt::Key_C, Cmd::Copy},        {Qt::ControlModifier, Qt::Key_V, Cmd::Paste},
        {Qt::ShiftModifier, Qt::Key_Insert, Cmd::Paste},    {Qt::NoModifier, Qt::Key_Return, Cmd::SearchDown},
        {Qt::NoModifier, Qt::Key_Menu, Cmd::EditMenuPopup},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(KeyMap::commandFor(key(c.modifiers, c.key), KeyScope::CardList, KeyContext{}), c.command);
        EXPECT_TRUE(KeyMap::commandFor(key(c.modifiers, c.key), KeyScope::Window, KeyContext{}).isEmpty());
    }
    // Ctrl+C in the search box is the box's own copy.
    EXPECT_TRUE(KeyMap::commandFor(key(Qt::ControlModifier, Qt::Key_C), KeyScope::SearchBox, KeyContext{}).isEmpty());
}

TEST(KeyMapControls, SpaceOpensCardsOnlyInBrowseMode)
{
    const QKeyCombination space = key(Qt::NoModifier, Qt::Key_Space);
    EXPECT_TRUE(KeyMap::commandFor(space, KeyScope::CardList, KeyContext{true, false}).isEmpty());
    EXPECT_EQ(KeyMap::commandFor(space, KeyScope::CardList, KeyContext{true, true}), Cmd::BrowseSpace);
    EXPECT_TRUE(KeyMap::commandFor(space, KeyScope::SearchBox, KeyContext{true, true}).isEmpty());
}

TEST(KeyMapControls, SearchBoxKeys)
{
    const KeyContext empty{true, false};
    const KeyContext typed{false, false};
    EXPECT_EQ(KeyMap::commandFor(key(Qt::NoModifier, Qt::Key_Return), KeyScope::SearchBox, typed), Cmd::SearchTop);
    EXPECT_EQ(KeyMap::commandFor(key(Qt::KeypadModifier, Qt::Key_Enter), KeyScope::SearchBox, typed), Cmd::SearchTop);
    // Up and Down leave an empty box for the list, and browse the history otherwise.
    EXPECT_EQ(KeyMap::commandFor(key(Qt::NoModifier, Qt::Key_Up), KeyScope::SearchBox, empty), Cmd::SearchBoxToList);
    EXPECT_EQ(KeyMap::commandFor(key(Qt::NoModifier, Qt::Key_Down), KeyScope::SearchBox, empty), Cmd::SearchBoxToList);
    EXPECT_TRUE(KeyMap::commandFor(key(Qt::NoModifier, Qt::Key_Down), KeyScope::SearchBox, typed).isEmpty());
    // Ctrl+Enter in the box is the window's extraction, not the box's search.
    EXPECT_EQ(KeyMap::commandFor(key(Qt::ControlModifier, Qt::Key_Return), KeyScope::SearchBox, typed),
              Cmd::ExtractAndSelect);
}

TEST(KeyMapControls, EveryBindingNamesItsControl)
{
    for (const KeyBinding &b : KeyMap::bindings()) {
        EXPECT_FALSE(b.command.isEmpty()) << b.keys.toStdString();
        EXPECT_NE(b.combination().key(), Qt::Key_unknown) << b.keys.toStdString();
        EXPECT_TRUE(b.control() == QLatin1String("MainForm") || b.control() == QLatin1String("lvData")
                    || b.control() == QLatin1String("txtSearch"));
        if (b.fromMenu) {
            EXPECT_EQ(b.scope, KeyScope::Window);
        }
    }
}
