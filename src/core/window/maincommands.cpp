#include "core/window/maincommands.h"

#include "core/window/mainwindowtables.h"

MainCommands::MainCommands(QObject *parent) : CommandRegistry(MainWindowTables::tables(), parent) {}
