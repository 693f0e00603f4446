// QLTLaunch's entry: with arguments, QLTWIN is started on them at once;
// without, the recent card files pop up at the mouse pointer.
#include "core/common/qtservices.h"
#include "core/launch/launcher.h"
#include "gui/common/japaneseui.h"
#include "gui/launch/launchermenu.h"

#include <QApplication>
#include <QCursor>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QLTLaunch"));
    JapaneseUi::install(app);

    QSettingsUserStore userStore;
    QtProcesses processes;
    Launcher launcher(userStore, processes, QCoreApplication::applicationDirPath());
    if (launcher.start(app.arguments().mid(1)))
        return 0;
    LauncherMenu menu(launcher);
    menu.popup(QCursor::pos());
    return 0;
}
