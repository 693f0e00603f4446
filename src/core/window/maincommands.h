#pragma once
// The main window's command registry: a CommandRegistry holding every
// command of the main window's tables (mainwindowtables.h), none wired, with
// the initial check marks of the menu tree.
//
//     MainCommands commands;
//     commands.wire(Cmd::NewDocument, [&] { lifecycle.newDocument(); });

#include "core/window/commandregistry.h"

class MainCommands : public CommandRegistry
{
    Q_OBJECT
public:
    explicit MainCommands(QObject *parent = nullptr);
};
