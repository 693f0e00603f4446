#include "core/editor/externaledit.h"

#include "core/common/dialogs.h"
#include "core/common/inimente.h"
#include "core/common/tool.h"
#include "core/common/win31j.h"
#include "core/editor/editortexts.h"
#include "core/editor/externaleditcommand.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"

#include <QFile>
#include <QFileInfo>

namespace WaitShell {

int run(Processes &processes, const QString &commandLine, ExternalEditWindows *windows, QString *reason)
{
    QStringList arguments = ExternalEditCommand::splitCommandLine(commandLine);
    if (arguments.isEmpty() || arguments.first().isEmpty()) {
        if (reason)
            *reason = EditorTexts::ProgramNotStarted.arg(commandLine);
        return NotStarted;
    }
    const QString program = arguments.takeFirst();
    // A program file that exists but cannot run is told apart here: the
    // process service reports it only as a failure.
    const QFileInfo info(program);
    if (info.exists() && (!info.isFile() || !info.isExecutable())) {
        if (reason)
            *reason = EditorTexts::ProgramNotExecutable.arg(program);
        return NotStarted;
    }

    if (windows)
        windows->beginWait();
    const Processes::Outcome outcome = processes.startAndWait(program, arguments, -1);
    if (windows)
        windows->endWait();

    switch (outcome.result) {
    case Processes::WaitResult::Finished:
    case Processes::WaitResult::Crashed: // it ran: whatever it saved is taken back
        return Ended;
    case Processes::WaitResult::TimedOut: return Abandoned;
    case Processes::WaitResult::Failed: break;
    }
    if (reason)
        *reason = EditorTexts::ProgramNotStarted.arg(program);
    return NotStarted;
}

} // namespace WaitShell

namespace {

const QByteArray kLineEnd = QByteArrayLiteral("\r\n");

} // namespace

ExternalEdit::ExternalEdit(SettingsModel &settings, const Services &services, ExternalEditWindows *windows)
    : m_settings(settings), m_services(services), m_windows(windows)
{}

QString ExternalEdit::extensionFrom(const QString &setting)
{
    QString ext = setting.trimmed();
    while (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (ext.isEmpty() || ext.contains(QLatin1Char('/')) || ext.contains(QChar(0)))
        return QStringLiteral("txt");
    return ext;
}

void ExternalEdit::showError(const QString &reason)
{
    m_services.dialogs->message(EditorTexts::ExternalEditorError + QStringLiteral("\r\n\r\n") + reason, MsgIcon::Error);
}

std::optional<QString> ExternalEdit::run(const QString &content)
{
    m_report = Report{};
    Dialogs &dialogs = *m_services.dialogs;

    // ExtEditor as stored, without a default.
    const QString setting = iniMente::textOf(m_settings.iniData().GetiniValue(SettingKey::ExtEditor));
    const std::optional<ExternalEditCommand::Command> command = ExternalEditCommand::build(setting);
    if (!command) {
        // Said, so that the button does not seem to do nothing, with where
        // an editor is named.
        const QString why = setting.trimmed().isEmpty() ? EditorTexts::NoExternalEditor
                                                        : EditorTexts::ExternalEditorNotFound.arg(setting);
        dialogs.message(why + QStringLiteral("\r\n") + EditorTexts::ChooseExternalEditor, MsgIcon::Warning);
        return std::nullopt;
    }

    // Characters the file cannot hold would come back as "?" once the
    // program saves: asked before anything is written.
    const QString text = content + QString::fromLatin1(kLineEnd);
    Win31J::EncodeStats encodeStats;
    const QByteArray written = Win31J::encode(text, &encodeStats);
    if (encodeStats.unmappableCount > 0
        && dialogs.message(
               EditorTexts::UnmappableQuestion(encodeStats.unmappableCount, encodeStats.firstUnmappableIndex),
               MsgIcon::Warning, MsgButtons::YesNo, QString(), MsgAnswer::No)
               != MsgAnswer::Yes)
        return std::nullopt;

    // A new file of its own (created exclusively), written through its handle:
    // the name is ours from the moment it exists.
    Tool::TempFile temp =
        Tool::MakeTempFile(QStringLiteral("Temp"), extensionFrom(m_settings.text(SettingKey::ExtEditorEXT)));
    if (!temp.ok()) {
        dialogs.message(EditorTexts::TempFileFailed, MsgIcon::Error);
        return std::nullopt;
    }
    m_report.tempFile = temp.path;
    const bool writtenWhole = temp.file->write(written) == written.size() && temp.file->flush();
    temp.file->close();
    temp.file.reset();
    if (!writtenWhole) {
        Tool::RemoveFile(m_report.tempFile, true);
        dialogs.message(EditorTexts::TempFileFailed, MsgIcon::Error);
        return std::nullopt;
    }

    if (m_windows)
        m_windows->hideAll();
    QString reason;
    m_report.started = true;
    m_report.status =
        WaitShell::run(*m_services.processes, ExternalEditCommand::withFile(command->commandLine, m_report.tempFile),
                       m_windows, &reason);
    if (m_windows)
        m_windows->showAll();
    // Told once the windows are back, so the message has them behind it.
    if (m_report.status < 0)
        showError(reason.isEmpty() ? EditorTexts::WaitFailed : reason);

    std::optional<QString> edited;
    QFile back(m_report.tempFile);
    if (back.open(QIODevice::ReadOnly)) {
        const QByteArray bytes = back.readAll();
        back.close();
        if (bytes != written) {
            Win31J::DecodeStats stats;
            // Editors here save LF line ends; the card's are CR LF.
            edited = Tool::WithCrLf(Win31J::decodeForeign(bytes, &stats));
            m_report.changed = true;
            if (stats.invalidCount > 0)
                dialogs.message(EditorTexts::UnreadableBytes(stats.invalidCount, stats.firstInvalidOffset),
                                MsgIcon::Warning);
        }
    }
    Tool::RemoveFile(m_report.tempFile, true);
    return edited;
}
