// QLTReg's entry. The information wizard's pages arrive with their own
// subsystem; what the wizard always does at its end is already here: start
// QLTWIN again (found through the per-user value "Path") with the command
// line QLTReg was given.
#include "core/common/qtservices.h"
#include "core/common/version.h"

#include <QApplication>
#include <QFileInfo>
#include <QTextStream>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QSettingsUserStore userStore;
    QtProcesses processes;
    const QString qltwin = userStore.value(QStringLiteral("Path")).value_or(QString());
    if (qltwin.isEmpty() || !QFileInfo(qltwin).isExecutable()) {
        QTextStream(stderr) << "QLTReg: QLTWIN not found (per-user value \"Path\" is \"" << qltwin << "\")\n";
        return 1;
    }
    return processes.startDetached(qltwin, app.arguments().mid(1)) ? 0 : 1;
}
