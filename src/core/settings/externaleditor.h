#pragma once
// The default of the ExtEditor setting on this machine: a graphical text
// editor that is installed and whose process runs until its window is closed,
// since the card editor waits for that process to end before it takes the
// file back.
//
// The value has the form "<quoted program path>" <switches>: the card editor
// uses a setting that begins with a quoted, existing program unchanged as the
// command and appends the quoted file path.
//
// The rule, first match wins:
//  1. the editor of the running desktop (XDG_CURRENT_DESKTOP) when installed:
//     GNOME, Unity, Budgie: gedit -s, then gnome-text-editor --standalone;
//     KDE: kate -b, then kwrite; XFCE: mousepad --disable-server;
//     LXQt: featherpad --standalone; LXDE: leafpad;
//  2. any of them in the order gedit, gnome-text-editor, kate, kwrite,
//     mousepad, featherpad, leafpad, then geany -i;
//  3. a terminal editor (nano, else vi) in xterm -e, else in
//     x-terminal-emulator -e (Debian's terminal wrappers wait for the
//     command);
//  4. nothing found: empty (the card editor then starts nothing; the person
//     names an editor in the options dialog, and an empty value is filled in
//     again at the next load, so an editor installed later is picked up).
// The switches are the ones that keep each editor from handing the file to an
// already running instance and returning at once (gedit -s, kate -b, mousepad
// --disable-server, featherpad/gnome-text-editor --standalone, geany -i).
// Editors without such a switch (xed, pluma) are left out.

#include <QString>

#include <functional>

namespace ExternalEditor {

// Full path of an executable found on PATH, empty when none.
using Lookup = std::function<QString(const QString &name)>;

QString defaultCommand();
// desktop: the value of XDG_CURRENT_DESKTOP (":"-separated names).
QString defaultCommand(const Lookup &lookup, const QString &desktop);

} // namespace ExternalEditor
