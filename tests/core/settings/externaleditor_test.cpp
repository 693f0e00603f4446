// The ExtEditor default: an installed editor that waits until it is closed.
#include "core/settings/externaleditor.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

ExternalEditor::Lookup installed(const QStringList &programs)
{
    return [programs](const QString &name) {
        return programs.contains(name) ? QStringLiteral("/usr/bin/") + name : QString();
    };
}

TEST(ExternalEditorDefault, TheDesktopsOwnEditorComesFirst)
{
    const QStringList all{QStringLiteral("gedit"), QStringLiteral("kate"), QStringLiteral("mousepad"),
                          QStringLiteral("featherpad")};
    EXPECT_EQ(ExternalEditor::defaultCommand(installed(all), QStringLiteral("KDE")),
              QStringLiteral("\"/usr/bin/kate\" -b"));
    EXPECT_EQ(ExternalEditor::defaultCommand(installed(all), QStringLiteral("XFCE")),
              QStringLiteral("\"/usr/bin/mousepad\" --disable-server"));
    EXPECT_EQ(ExternalEditor::defaultCommand(installed(all), QStringLiteral("ubuntu:GNOME")),
              QStringLiteral("\"/usr/bin/gedit\" -s"));
    EXPECT_EQ(ExternalEditor::defaultCommand(installed(all), QStringLiteral("LXQt")),
              QStringLiteral("\"/usr/bin/featherpad\" --standalone"));
}

TEST(ExternalEditorDefault, OtherwiseTheFirstInstalledInTheFixedOrder)
{
    EXPECT_EQ(
        ExternalEditor::defaultCommand(installed({QStringLiteral("mousepad"), QStringLiteral("kwrite")}), QString()),
        QStringLiteral("\"/usr/bin/kwrite\""));
    EXPECT_EQ(ExternalEditor::defaultCommand(installed({QStringLiteral("gnome-text-editor")}), QStringLiteral("KDE")),
              QStringLiteral("\"/usr/bin/gnome-text-editor\" --standalone"));
    EXPECT_EQ(ExternalEditor::defaultCommand(installed({QStringLiteral("geany")}), QString()),
              QStringLiteral("\"/usr/bin/geany\" -i"));
}

TEST(ExternalEditorDefault, TerminalEditorWhenNoGraphicalOneIsInstalled)
{
    EXPECT_EQ(ExternalEditor::defaultCommand(
                  installed({QStringLiteral("xterm"), QStringLiteral("nano"), QStringLiteral("vi")}), QString()),
              QStringLiteral("\"/usr/bin/xterm\" -e /usr/bin/nano"));
    EXPECT_EQ(ExternalEditor::defaultCommand(installed({QStringLiteral("x-terminal-emulator"), QStringLiteral("vi")}),
                                             QString()),
              QStringLiteral("\"/usr/bin/x-terminal-emulator\" -e /usr/bin/vi"));
}

TEST(ExternalEditorDefault, EmptyWhenNothingUsableIsInstalled)
{
    EXPECT_EQ(ExternalEditor::defaultCommand(installed({QStringLiteral("vi")}), QString()), QString());
    EXPECT_EQ(ExternalEditor::defaultCommand(installed({QStringLiteral("xterm")}), QString()), QString());
}

} // namespace
