#include "core/document/startup.h"

#include "core/common/dialogs.h"
#include "core/common/lockedinifile.h"
#include "core/common/programfolder.h"
#include "core/common/services.h"
#include "core/common/tool.h"
#include "core/document/commandline.h"
#include "core/document/document.h"
#include "core/document/documenttexts.h"
#include "core/document/filecommands.h"
#include "core/settings/uservalues.h"

#include <QDir>
#include <QFileInfo>

namespace {
const QString kWizardName = QStringLiteral("QLTReg");
}

Startup::Startup(FileCommands &files, StartupWindow &window) : m_files(files), m_window(window) {}

QString Startup::wizardPath()
{
    const QString inProgramFolder = ProgramFolder::file(kWizardName);
    if (QFileInfo(inProgramFolder).isFile())
        return inProgramFolder;
    const QString besideProgram =
        Tool::JoinPath(QFileInfo(ProgramFolder::executablePath()).absolutePath(), kWizardName);
    if (QFileInfo(besideProgram).isFile())
        return besideProgram;
    return inProgramFolder;
}

Startup::Result Startup::run(const QStringList &arguments, const QString &currentFolder)
{
    Document &doc = m_files.document();
    UserStore &userStore = *doc.services().userStore;
    const QString here = currentFolder.isEmpty() ? QDir::currentPath() : currentFolder;

    m_window.loadHidden();
    doc.setRecentLastIndex(UserValues::ReadMaxOfRecentFile(userStore) - 1);
    UserValues::PublishPath(userStore);
    if (UserValues::UpdateExeVer(userStore)) {
        handOverToWizard(arguments);
        return Result::Exit;
    }
    clearStaleOpenList();
    showFirstRunNotice();
    doc.SetDocumentPath(Tool::JoinPath(here, DocumentTexts::Untitled));

    const QString path = CommandLine::CardFilePath(CommandLine::Join(arguments), here);
    // Only a declined open ends the process: the guard's question was
    // answered No. (A card file that is itself named "(無題)" opens fine.)
    if (!path.isEmpty() && m_files.OpenDocument(path) == OpenOutcome::Declined)
        return Result::Exit;

    if (!doc.settings().hasFile())
        loadGeneralSettings();
    doc.LoadRecentFiles();
    m_window.show();
    return Result::Run;
}

bool Startup::handOverToWizard(const QStringList &arguments)
{
    Dialogs &dialogs = m_files.document().dialogs();
    dialogs.message(DocumentTexts::Welcome, MsgIcon::Information);
    // The wizard starts QLTWIN again with the same command line when it ends.
    const QString wizard = wizardPath();
    Processes *processes = m_files.document().services().processes;
    if (processes && processes->startDetached(wizard, arguments))
        return true;
    // The version is recorded already, so the next start goes on normally;
    // this one still ends, as it would have for the wizard.
    dialogs.message(DocumentTexts::WizardFailed.arg(wizard), MsgIcon::Error);
    return false;
}

void Startup::clearStaleOpenList()
{
    // Entries left by windows that ended abnormally; while another QLTWIN
    // runs, its entries are live and stay. Errors are ignored.
    Processes *processes = m_files.document().services().processes;
    if (processes && !processes->anotherInstanceRunning())
        (void)LockedIniFile::remove(m_files.document().guard().listFile());
}

void Startup::showFirstRunNotice()
{
    Document &doc = m_files.document();
    if (QFileInfo::exists(doc.settings().generalSettingsFile()))
        return;
    MessageRequest notice;
    notice.text = DocumentTexts::FirstRunNotice;
    notice.title = ProgramFolder::executableBaseName();
    notice.icon = MsgIcon::Information;
    notice.buttons = MsgButtons::Ok;
    notice.systemModal = true;
    doc.dialogs().message(notice);
}

void Startup::loadGeneralSettings()
{
    SettingsModel &settings = m_files.document().settings();
    settings.loadGeneralSettings(); // the fill-in runs there
    settings.saveOrLog();
    m_files.document().ApplySettings();
}
