// QLTReg's entry: the information wizard. Finishing it registers the
// chosen card formats with the desktop for this person, adds the
// favourites, and starts QLTWIN again with the command line QLTReg was
// given; cancelling does nothing of that.
#include "core/common/qtservices.h"
#include "core/registration/desktopregistration.h"
#include "core/registration/regwizard.h"
#include "gui/common/japaneseui.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/qtshell.h"
#include "gui/registration/pagefetcher.h"
#include "gui/registration/regwizardform.h"

#include <QApplication>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("QLTReg"));
    QApplication::setDesktopFileName(QStringLiteral("QLTReg"));
    JapaneseUi::install(app);

    QtDialogs dialogs;
    QtShell shell;
    QtProcesses processes;
    QSettingsUserStore userStore;
    const XdgFolders folders = XdgFolders::fromEnvironment();
    const QStringList arguments = app.arguments().mid(1);

    RegWizard wizard(dialogs, shell);
    NetworkPageSource pages;
    RegWizardForm form(wizard, pages, shell, [&](const RegistrationChoices &choices) {
        FinishWizard(choices, arguments,
                     FinishServices{userStore, processes, folders, QCoreApplication::applicationDirPath()});
    });
    form.show();
    return app.exec();
}
