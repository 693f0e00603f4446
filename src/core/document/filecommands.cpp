#include "core/document/filecommands.h"

#include "core/cards/cardformats.h"
#include "core/cards/cardmessages.h"
#include "core/cards/cardstore.h"
#include "core/cards/titlefield.h"
#include "core/common/atomicfile.h"
#include "core/common/dialogs.h"
#include "core/common/programfolder.h"
#include "core/common/tool.h"
#include "core/document/document.h"
#include "core/document/documenttexts.h"
#include "core/document/documentwriter.h"
#include "core/settings/settingkeys.h"

#include <QFileInfo>

#include <cerrno>

namespace {

// "ファイルが開けません", and why on a second line where the person can do
// something about it.
QString cannotOpenText(const ReadResult &read)
{
    QString reason;
    if (read.tooLarge)
        reason = DocumentTexts::TooLargeForMemory;
    else if (read.code == AtomicFile::NotRegularFile)
        reason = DocumentTexts::NotRegularFile;
    else if (read.code == EACCES || read.code == EPERM)
        reason = DocumentTexts::NoReadPermission;
    return reason.isEmpty() ? DocumentTexts::CannotOpen : DocumentTexts::CannotOpen + QStringLiteral("\r\n") + reason;
}

bool samePath(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    const QString canonical = QFileInfo(a).canonicalFilePath();
    return !canonical.isEmpty() && canonical == QFileInfo(b).canonicalFilePath();
}

} // namespace

FileCommands::FileCommands(Document &document) : m_document(document) {}

OpenOutcome FileCommands::OpenDocument(const QString &path)
{
    if (path.isEmpty())
        return OpenOutcome::Unsupported; // nothing to open; nothing changes
    Document &doc = m_document;
    Dialogs &dialogs = doc.dialogs();
    const bool exists = QFileInfo::exists(path);
    const CardFormat format = CardFormatOfPath(path);
    const bool unsupported = exists && !CanReadFormat(format);
    // Removing the entry of an unreadable file must not take away the entry
    // of another window that has the same path open: only an entry this
    // open made is removed again.
    const bool listedBefore = unsupported && doc.guard().listedSlots().contains(path);

    if (doc.guard().CheckAndRegisterOpenFile(path))
        return OpenOutcome::Declined;
    doc.LeaveExtractionMode();
    doc.StoreStateBeforeReplacing();

    OpenOutcome outcome = OpenOutcome::NewFile;
    ReadResult read;
    if (!exists) {
        doc.announceCardsReplacing();
        doc.cards().clear();
        doc.SetDocumentPath(path);
        dialogs.message(DocumentTexts::NewFile, MsgIcon::Information);
    } else if (unsupported) {
        dialogs.message(DocumentTexts::UnsupportedFile, MsgIcon::Error);
        if (!listedBefore)
            doc.guard().UnregisterOpenFile(path);
        return OpenOutcome::Unsupported;
    } else {
        doc.announceCardsReplacing();
        doc.cards().clear();
        // The path names the file before it is read, so that a failed read
        // leaves an empty document that a later save writes under that name.
        doc.SetDocumentPath(path);
        read = ReadCardFile(path, format, doc.cards());
        outcome = read.ok ? OpenOutcome::Opened : OpenOutcome::ReadFailed;
    }

    doc.settings().SelectSettingsFile(path);
    doc.ApplySettings();

    m_strayTextPath.clear();
    if (outcome == OpenOutcome::ReadFailed) {
        dialogs.message(cannotOpenText(read), MsgIcon::Error);
        return outcome;
    }
    afterOpen(path);
    // Shown once the file is in the window: the warnings are about what a
    // save would do to the bytes that were no character and to the text
    // outside the cards.
    CardMessages::ShowInvalidBytesWarning(dialogs, read.decode);
    if (read.strayLines > 0) {
        m_strayTextPath = path;
        const QString &warning = read.cardCount == 0 ? DocumentTexts::NoCardWarning : DocumentTexts::StrayTextWarning;
        dialogs.message(warning.arg(read.strayLines), MsgIcon::Warning);
    }
    return outcome;
}

void FileCommands::afterOpen(const QString &path)
{
    Document &doc = m_document;
    doc.SetModified(false);
    doc.SetDocumentPath(path);
    const QString extension = Tool::ExtensionOf(path).toLower();
    if (!doc.settings().isOn(SettingKey::AddDateInfo) && extension != QLatin1String("qlw")
        && extension != QLatin1String("csv"))
        StripDatePrefixes(doc.cards());
    doc.AddRecentFile(path);
    doc.announceOpened(path);
    autoOpenCards();
    showFirstCard();
}

void FileCommands::autoOpenCards()
{
    CardList &list = m_document.lvData(0);
    const CardStore &store = list.store();
    QList<qsizetype> rows;
    if (const QList<qsizetype> *noted = store.notedAutoOpenRows()) {
        rows = *noted;
    } else {
        ForEachCardTitlesAhead(store.cards(), [&rows](qsizetype row, const Card &card) {
            if (IsAutoOpenTitle(card.title))
                rows.append(row);
        });
    }
    for (const qsizetype row : std::as_const(rows)) {
        // Only this card is selected, so the edit command opens it alone and
        // never a second editor for a card opened before.
        list.ClearSelection();
        list.setSelected(row);
        list.setCurrentRow(row);
        m_document.ShowCard(0, row);
        m_document.RequestEdit(0);
    }
}

void FileCommands::showFirstCard()
{
    CardList &list = m_document.lvData(0);
    if (list.store().isEmpty())
        return;
    list.ClearSelection();
    list.setCurrentRow(0);
    list.setSelected(0);
    m_document.ShowCard(0, 0);
}

bool FileCommands::ConfirmClose()
{
    Document &doc = m_document;
    Dialogs &dialogs = doc.dialogs();
    m_changesDiscarded = false;
    if (OpenEditors *editors = doc.editors(); editors && editors->openCount() > 0) {
        if (dialogs.message(DocumentTexts::EditorsOpen, MsgIcon::Question, MsgButtons::YesNo, QString(), MsgAnswer::No)
            != MsgAnswer::Yes)
            return false;
        editors->closeAll();
    }
    if (doc.IsModified()) {
        switch (dialogs.message(DocumentTexts::SaveChanges, MsgIcon::Information, MsgButtons::YesNoCancel)) {
        case MsgAnswer::Yes: {
            doc.LeaveExtractionMode();
            const bool saved = doc.IsUntitled() ? SaveDocumentAs() : saveUnderDocumentPath();
            if (!saved) {
                doc.SetModified(true);
                return false;
            }
            doc.ResetCardIcons();
            break;
        }
        case MsgAnswer::No: m_changesDiscarded = true; break;
        default: doc.SetModified(true); return false;
        }
        doc.SetModified(false);
    }
    doc.guard().UnregisterOpenFile(doc.DocumentPath());
    return true;
}

OpenOutcome FileCommands::ReplaceDocument(const QString &path)
{
    if (!ConfirmClose())
        return OpenOutcome::Kept;
    const QString old = m_document.DocumentPath();
    const OpenOutcome outcome = OpenDocument(path);
    if (!DocumentReplaced(outcome))
        keepDocument(old);
    return outcome;
}

void FileCommands::keepDocument(const QString &path)
{
    registerAgain(path);
    // "No" to the save question let the changes go for a document that was
    // to be replaced; it stays, so its changes are unsaved again.
    if (m_changesDiscarded)
        m_document.SetModified(true);
    m_changesDiscarded = false;
}

bool FileCommands::mayOverwrite(const QString &path)
{
    if (m_strayTextPath.isEmpty() || !samePath(path, m_strayTextPath))
        return true;
    return m_document.dialogs().message(DocumentTexts::OverwriteStrayTextQuestion, MsgIcon::Warning, MsgButtons::YesNo,
                                        QString(), MsgAnswer::No)
           == MsgAnswer::Yes;
}

void FileCommands::registerAgain(const QString &path)
{
    // ConfirmClose took the document out of the guard's list; it stays in
    // the window after all, so another window must be warned again.
    if (!path.isEmpty() && !IsUntitledPath(path))
        m_document.guard().RegisterOpenFile(path);
}

bool FileCommands::Save()
{
    if (m_document.IsUntitled())
        return SaveAs();
    return saveUnderDocumentPath();
}

bool FileCommands::saveUnderDocumentPath()
{
    Document &doc = m_document;
    doc.LeaveExtractionMode();
    const QString path = doc.DocumentPath();
    if (!mayOverwrite(path))
        return false;
    const WriteOutcome written = WriteDocumentFile(doc, path);
    doc.AddRecentFile(path);
    switch (written) {
    case WriteOutcome::Written:
        m_strayTextPath.clear();
        doc.SetModified(false);
        doc.ResetCardIcons();
        return true;
    case WriteOutcome::Failed: return false; // the writer said why
    case WriteOutcome::NoFormat: CardMessages::ShowCannotWrite(doc.dialogs()); return false;
    case WriteOutcome::Html:
    case WriteOutcome::Declined:
        // A declined or refused save is not a failed one: the message that
        // stopped it already said why, a second one would only confuse.
        return false;
    }
    return false;
}

bool FileCommands::SaveDocumentAs(const DocumentTexts::FormatFilter *format)
{
    Document &doc = m_document;
    Dialogs &dialogs = doc.dialogs();
    const QString old = doc.DocumentPath();

    QString chosen;
    for (;;) {
        FileRequest request;
        request.title = DocumentTexts::SaveAsTitle;
        request.filter = DocumentTexts::SaveAsFilter;
        request.startPath = Tool::JoinPath(Tool::ParentFolderOf(old), Tool::BaseNameOf(old));
        if (format) {
            request.filterIndex = format->saveIndex;
            request.startPath += format->extension;
        }
        request.promptOverwrite = true;
        const std::optional<QString> answer = dialogs.saveFile(request);
        if (!answer || answer->isEmpty())
            return false;
        chosen = *answer;
        if (Tool::BaseNameOf(chosen) != DocumentTexts::Untitled)
            break;
        dialogs.message(DocumentTexts::NeedFileName, MsgIcon::Error);
    }

    if (!mayOverwrite(chosen))
        return false;
    switch (WriteDocumentFile(doc, chosen)) {
    case WriteOutcome::Written:
        if (samePath(chosen, m_strayTextPath))
            m_strayTextPath.clear();
        doc.SetDocumentPath(chosen);
        doc.AddRecentFile(chosen);
        doc.guard().UnregisterOpenFile(old);
        doc.guard().RegisterOpenFile(chosen);
        if (doc.settings().FileSettingsActive()) {
            // The per-file settings follow the card file to its new name.
            doc.settings().saveOrLog();
            doc.settings().setFileName(SettingsModel::perFileSettingsPath(chosen));
        }
        return true;
    case WriteOutcome::Failed:
        // The document takes the new name even though the write failed (a
        // save then retries there); the guard's entry moves with it, so
        // that no entry is left behind for the old name.
        doc.SetDocumentPath(chosen);
        doc.guard().UnregisterOpenFile(old);
        doc.guard().RegisterOpenFile(chosen);
        return false; // the writer said why
    case WriteOutcome::NoFormat: CardMessages::ShowCannotWrite(dialogs); return false;
    case WriteOutcome::Html:
    case WriteOutcome::Declined:
        // Nothing was tried, so the document keeps its name; the message
        // that stopped the save was shown already.
        return false;
    }
    return false;
}

bool FileCommands::SaveAs(const DocumentTexts::FormatFilter *format)
{
    if (!SaveDocumentAs(format))
        return false;
    m_document.SetModified(false);
    m_document.ResetCardIcons();
    return true;
}

void FileCommands::NewDocument()
{
    Document &doc = m_document;
    doc.LeaveExtractionMode();
    if (!ConfirmClose())
        return;
    // The old document's settings keep what changed in them while it was
    // open, as they do when another card file is opened.
    doc.StoreStateBeforeReplacing();
    doc.cards().clear();
    m_strayTextPath.clear();
    doc.SetDocumentPath(DocumentTexts::Untitled);
    doc.settings().loadGeneralSettings();
    doc.ApplySettings();
}

void FileCommands::OpenWithDialog(const DocumentTexts::FormatFilter *format)
{
    Document &doc = m_document;
    if (!ConfirmClose())
        return;
    const QString old = doc.DocumentPath();
    FileRequest request;
    request.title = DocumentTexts::OpenTitle;
    request.filter = DocumentTexts::OpenFilter;
    if (format)
        request.filterIndex = format->openIndex;
    if (!doc.IsUntitled())
        request.startPath = Tool::ParentFolderOf(old);
    const std::optional<QString> chosen = doc.dialogs().openFile(request);
    if (!chosen || chosen->isEmpty()) {
        keepDocument(old);
        return;
    }
    if (!DocumentReplaced(OpenDocument(*chosen)))
        keepDocument(old);
}

void FileCommands::Reload()
{
    // Reopens the file the window shows. (The first recent-file entry is
    // usually that file, but not after a failed read or when the path could
    // not be kept in the list.)
    if (m_document.reloadEnabled())
        ReplaceDocument(m_document.DocumentPath());
}

void FileCommands::OpenRecentFile(int index)
{
    if (index < 0 || index >= m_document.recentMenuVisibleCount())
        return;
    // Read before ConfirmClose: saving the current document there moves the
    // entries of the list, and the clicked entry must be the one opened.
    const QString path = m_document.recentFiles().entry(index);
    if (path.isEmpty())
        return;
    ReplaceDocument(path);
}

bool FileCommands::NewWindow()
{
    Processes *processes = m_document.services().processes;
    if (!processes || !processes->startDetached(ProgramFolder::executablePath(), QStringList())) {
        m_document.dialogs().message(DocumentTexts::NewWindowFailed, MsgIcon::Error);
        return false;
    }
    return true;
}

bool FileCommands::WindowClosing()
{
    if (!ConfirmClose())
        return false;
    m_document.StoreStateOnClose();
    return true;
}
