// The command registry: what runs, what is enabled, and what the window is
// told when that changes.

#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mainwindowtables.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

namespace {

struct Recorder {
    QList<QPair<QString, bool>> enabled;
    QList<QPair<QString, bool>> checked;
    QList<QPair<QString, bool>> visible;
    QList<QPair<QString, QString>> texts;
    QStringList triggered;
    explicit Recorder(MainCommands &c)
    {
        QObject::connect(&c, &MainCommands::enabledChanged, [this](const QString &id, bool on) {
            enabled.append({id, on});
        });
        QObject::connect(&c, &MainCommands::checkedChanged, [this](const QString &id, bool on) {
            checked.append({id, on});
        });
        QObject::connect(&c, &MainCommands::visibleChanged, [this](const QString &id, bool on) {
            visible.append({id, on});
        });
        QObject::connect(&c, &MainCommands::textChanged, [this](const QString &id, const QString &t) {
            texts.append({id, t});
        });
        QObject::connect(&c, &MainCommands::triggered, [this](const QString &id) { triggered.append(id); });
    }
};

} // namespace

TEST(MainCommands, EveryTableCommandIsDefinedAndDisabledUntilWired)
{
    MainCommands commands;
    EXPECT_EQ(commands.ids(), MainWindowTables::allCommandIds());
    for (const QString &id : commands.ids()) {
        EXPECT_FALSE(commands.isEnabled(id)) << id.toStdString();
        EXPECT_FALSE(commands.isWired(id));
    }
    EXPECT_EQ(commands.unwiredIds(), commands.ids());
}

TEST(MainCommands, TheTreeStartsChecked)
{
    MainCommands commands;
    EXPECT_TRUE(commands.isChecked(Cmd::ToggleTree));
    EXPECT_FALSE(commands.isChecked(Cmd::BrowseMode));
    EXPECT_FALSE(commands.isChecked(Cmd::MostFront));
}

TEST(MainCommands, WiringEnablesAndTriggerRunsOnlyWhileEnabled)
{
    MainCommands commands;
    Recorder rec(commands);
    int runs = 0;
    EXPECT_FALSE(commands.trigger(Cmd::NewDocument));
    commands.wire(Cmd::NewDocument, [&] { ++runs; });
    EXPECT_TRUE(commands.isEnabled(Cmd::NewDocument));
    EXPECT_TRUE(commands.trigger(Cmd::NewDocument));
    EXPECT_EQ(runs, 1);

    commands.setEnabled(Cmd::NewDocument, false);
    EXPECT_FALSE(commands.trigger(Cmd::NewDocument));
    EXPECT_EQ(runs, 1);
    commands.setEnabled(Cmd::NewDocument, true);
    EXPECT_TRUE(commands.trigger(Cmd::NewDocument));
    EXPECT_EQ(runs, 2);

    commands.unwire(Cmd::NewDocument);
    EXPECT_FALSE(commands.trigger(Cmd::NewDocument));
    EXPECT_EQ(runs, 2);

    const QList<QPair<QString, bool>> expected = {
        {Cmd::NewDocument, true}, {Cmd::NewDocument, false}, {Cmd::NewDocument, true}, {Cmd::NewDocument, false}};
    EXPECT_EQ(rec.enabled, expected);
    EXPECT_EQ(rec.triggered, (QStringList{Cmd::NewDocument, Cmd::NewDocument}));
}

TEST(MainCommands, DisablingAnUnwiredCommandIsRememberedForWhenItIsWired)
{
    MainCommands commands;
    Recorder rec(commands);
    commands.setEnabled(Cmd::Reload, false); // the document is untitled
    EXPECT_TRUE(rec.enabled.isEmpty());      // was and stays disabled
    commands.wire(Cmd::Reload, [] {});
    // Wiring enables: the owner wires first and then sets the state it wants.
    EXPECT_TRUE(commands.isEnabled(Cmd::Reload));
    commands.setEnabled(Cmd::Reload, false);
    EXPECT_FALSE(commands.isEnabled(Cmd::Reload));
    EXPECT_FALSE(commands.trigger(Cmd::Reload));
}

TEST(MainCommands, UnknownIdsRunNothing)
{
    MainCommands commands;
    EXPECT_FALSE(commands.trigger(QStringLiteral("NoSuchCommand")));
    EXPECT_FALSE(commands.isEnabled(QStringLiteral("NoSuchCommand")));
    commands.setChecked(QStringLiteral("NoSuchCommand"), true);
    EXPECT_FALSE(commands.isChecked(QStringLiteral("NoSuchCommand")));
    EXPECT_FALSE(commands.isDefined(QStringLiteral("NoSuchCommand")));
}

TEST(MainCommands, FurtherCommandsCanBeDefinedByWiring)
{
    MainCommands commands;
    bool ran = false;
    commands.wire(QStringLiteral("EditorApply"), [&] { ran = true; });
    EXPECT_TRUE(commands.isDefined(QStringLiteral("EditorApply")));
    EXPECT_TRUE(commands.trigger(QStringLiteral("EditorApply")));
    EXPECT_TRUE(ran);
}

TEST(MainCommands, CheckedVisibleAndTextChangesAreSignalledOnce)
{
    MainCommands commands;
    Recorder rec(commands);
    commands.setChecked(Cmd::BrowseMode, true);
    commands.setChecked(Cmd::BrowseMode, true);
    commands.setVisible(Cmd::recentFile(0), true);
    commands.setVisible(Cmd::recentFile(0), true);
    commands.setText(Cmd::recentFile(0), QStringLiteral("&A memo.qlw\t/data/memo.qlw"));
    commands.setText(Cmd::recentFile(0), QStringLiteral("&A memo.qlw\t/data/memo.qlw"));
    EXPECT_EQ(rec.checked, (QList<QPair<QString, bool>>{{Cmd::BrowseMode, true}}));
    EXPECT_EQ(rec.visible, (QList<QPair<QString, bool>>{{Cmd::recentFile(0), true}}));
    EXPECT_EQ(rec.texts.size(), 1);
    EXPECT_EQ(commands.visibleOverride(Cmd::recentFile(0)), std::optional<bool>(true));
    EXPECT_EQ(commands.visibleOverride(Cmd::recentFile(1)), std::nullopt);
    EXPECT_EQ(commands.textOverride(Cmd::recentFile(0)), QStringLiteral("&A memo.qlw\t/data/memo.qlw"));
}

TEST(MainCommands, AHandlerMayRewireItsOwnCommand)
{
    MainCommands commands;
    int first = 0, second = 0;
    commands.wire(Cmd::Refresh, [&] {
        ++first;
        commands.wire(Cmd::Refresh, [&] { ++second; });
    });
    EXPECT_TRUE(commands.trigger(Cmd::Refresh));
    EXPECT_TRUE(commands.trigger(Cmd::Refresh));
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 1);
}
