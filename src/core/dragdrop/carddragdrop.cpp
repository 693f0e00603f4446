#include "core/dragdrop/carddragdrop.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardmessages.h"
#include "core/cards/titlefield.h"
#include "core/cards/transfertext.h"
#include "core/common/atomicfile.h"
#include "core/common/dialogs.h"
#include "core/common/programfolder.h"
#include "core/common/tool.h"
#include "core/common/win31j.h"
#include "core/document/document.h"
#include "core/document/filecommands.h"
#include "core/dragdrop/dragdroptexts.h"
#include "core/html/webaddress.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace DragDropTexts;

namespace {

const QString CrLf = QStringLiteral("\r\n");
const QString DragExtension = QStringLiteral(".qlt");
constexpr qsizetype DragNameLength = 70;

// The extensions a drop opens as card files.
bool isCardFileExtension(const QString &extension)
{
    static const QStringList openable{QStringLiteral("stk"), QStringLiteral("qlt"), QStringLiteral("csv"),
                                      QStringLiteral("qlw")};
    return openable.contains(extension);
}

DateStamp dateStampOf(Document &document)
{
    DateStamp stamp;
    stamp.addDateInfo = document.settings().isOn(SettingKey::AddDateInfo);
    stamp.clock = &CardFile::ClockOf(document.writeOptions());
    stamp.documentExtension = Tool::ExtensionOf(document.DocumentPath());
    return stamp;
}

} // namespace

CardDragDrop::CardDragDrop(Document &document, FileCommands &files) : m_document(document), m_files(files) {}

CardDragDrop::~CardDragDrop()
{
    removeDragFile();
}

// ---------------------------------------------------------------- drag

QString CardDragDrop::beginDrag()
{
    endDrag();
    removeDragFile();
    const CardList &list = m_document.activeList();
    if (!list.hasSelection())
        return QString();
    const QDate today = CardFile::ClockOf(m_document.writeOptions()).today();
    m_dragText = SelectedCardsToText(list, today);
    qsizetype row = list.currentRow();
    if (row < 0)
        row = list.firstSelectedRow();
    m_dragTitle = list.store().at(row).title;
    m_dragging = true;
    return m_dragText;
}

QString CardDragDrop::DragFileName(const QString &title)
{
    QString name = Tool::CleanFileName(title.isEmpty() ? UntitledDragFile : title, false) + DragExtension;
    if (name.size() > DragNameLength) {
        qsizetype length = DragNameLength;
        // Never half a character beyond the basic plane.
        if (name.at(length - 1).isHighSurrogate())
            --length;
        name.truncate(length);
    }
    return name;
}

QString CardDragDrop::dragFile()
{
    if (m_dragText.isEmpty())
        return QString();
    if (!m_dragFile.isEmpty())
        return m_dragFile;
    // A folder of its own: the name the person sees is the card's title,
    // whatever files of that name the temporary folder already holds.
    QTemporaryDir folder(QDir(QDir::tempPath()).filePath(QStringLiteral("QLTWIN-XXXXXX")));
    if (!folder.isValid())
        return QString();
    folder.setAutoRemove(false);
    const QString path = QDir(folder.path()).filePath(DragFileName(m_dragTitle));
    if (!AtomicFile::write(path, Win31J::encode(QString(m_dragText + CrLf)))) {
        QDir().rmdir(folder.path());
        return QString();
    }
    m_dragFolder = folder.path();
    m_dragFile = path;
    return m_dragFile;
}

void CardDragDrop::endDrag()
{
    m_dragging = false;
}

void CardDragDrop::removeDragFile()
{
    m_dragText.clear();
    m_dragTitle.clear();
    if (!m_dragFile.isEmpty())
        (void)Tool::RemoveFile(m_dragFile, true);
    if (!m_dragFolder.isEmpty())
        QDir().rmdir(m_dragFolder);
    m_dragFile.clear();
    m_dragFolder.clear();
}

// ---------------------------------------------------------------- drop

bool CardDragDrop::accepts(const DropData &data) const
{
    if (m_dragging || m_document.extractionActive())
        return false;
    return data.text.has_value() || data.hasFileList;
}

void CardDragDrop::dragOver(qsizetype row)
{
    CardList &list = m_document.lvData(0);
    const qsizetype target = row >= 0 && row < list.store().count() ? row : -1;
    // The pointer moved within the same card: nothing to announce.
    if (list.currentRow() == target
        && (target < 0 ? !list.hasSelection() : list.isSelected(target) && list.selectedRows().size() == 1))
        return;
    list.ClearSelection();
    if (target >= 0) {
        list.setCurrentRow(row);
        list.setSelected(row);
    } else {
        list.clearCurrent();
    }
}

qsizetype CardDragDrop::drop(const DropData &data, qsizetype row)
{
    if (!accepts(data))
        return 0;
    // Decided once: the first card file opened here makes the document named.
    const bool emptyDocument = m_document.IsUntitled() && !m_document.IsModified();
    CardList &list = m_document.lvData(0);
    const qsizetype count = list.store().count();
    m_position = row >= 0 && row < count ? row : count;
    m_firstInserted = -1;
    m_inserted = 0;
    list.ClearSelection();

    // The cards of another window come as text and, when asked, as a file
    // of the same text: the text is taken, so no file is made. A file list
    // from elsewhere wins over the text a file manager sends beside it (the
    // paths).
    QStringList paths;
    if (!data.cardsFromProgram && data.hasFileList && data.files)
        paths = data.files();
    if (!paths.isEmpty()) {
        // From the last to the first: each file's cards go in at the same
        // place, so they end up in the order of the list.
        for (qsizetype i = paths.size() - 1; i >= 0; --i) {
            if (dropFile(paths.at(i), emptyDocument) == Step::Stop)
                break;
        }
    } else if (data.text) {
        dropText(*data.text);
    }

    if (m_inserted > 0) {
        CardList &target = m_document.lvData(0);
        target.setCurrentRow(m_firstInserted);
        m_document.ShowCard(0, m_firstInserted);
    }
    return m_inserted;
}

void CardDragDrop::dropText(const QString &text)
{
    const QString lines = Tool::WithCrLf(text);
    const qsizetype end = lines.indexOf(CrLf);
    insertText(lines, end < 0 ? lines : lines.left(end), std::nullopt);
}

void CardDragDrop::insertText(const QString &text, const std::optional<QString> &title,
                              const std::optional<QString> &remarks)
{
    if (!HasNoFieldMark(text)) {
        CardMessages::ShowBinaryTransferText(m_document.dialogs());
        return;
    }
    CardList &list = m_document.lvData(0);
    InsertOptions options;
    options.position = m_position;
    options.select = true;
    options.title = title;
    options.remarks = remarks;
    options.stamp = dateStampOf(m_document);
    const qsizetype inserted = InsertCardsFromText(text, list, options);
    if (inserted == 0)
        return;
    // Earlier files of the list go in before these.
    m_firstInserted = m_position;
    m_inserted += inserted;
    m_document.SetModified(true);
}

CardDragDrop::Step CardDragDrop::dropFile(const QString &path, bool emptyDocument)
{
    QString extension = Tool::ExtensionOf(path).toLower();
    if (extension == QLatin1String("txt")) {
        const MsgAnswer answer =
            m_document.dialogs().message(path + OpenTextFileQuestion, MsgIcon::Question, MsgButtons::YesNo);
        if (answer == MsgAnswer::Yes)
            return openCardFile(path, emptyDocument);
    } else if (isCardFileExtension(extension)) {
        return openCardFile(path, emptyDocument);
    }

    QFile file(path);
    if (QFileInfo(path).isDir() || !file.open(QIODevice::ReadOnly)) {
        showError(path + CrLf + CannotRead);
        return Step::Stop;
    }
    const QByteArray bytes = file.readAll();
    file.close();
    if (bytes.contains('\0')) {
        m_document.dialogs().message(path + CrLf + BinaryFileRefused, MsgIcon::Warning);
        return Step::Next;
    }
    const QString text = Tool::WithCrLf(Win31J::decodeForeign(bytes));
    const QString name = Tool::FileNameOf(path);
    const QString base = Tool::BaseNameOf(path);
    if (extension == QLatin1String("mht"))
        insertText(text, base, LocationOfMhtFile(path));
    else if (extension == QLatin1String("url"))
        insertText(text, base, UrlOfShortcutFile(path));
    else
        insertText(text, base, name);
    return Step::Next;
}

CardDragDrop::Step CardDragDrop::openCardFile(const QString &path, bool emptyDocument)
{
    if (emptyDocument) {
        // The file lifecycle asks about the cards dropped so far, if any.
        if (DocumentReplaced(m_files.ReplaceDocument(path))) {
            // Those went with the old document; the rest go to the end.
            m_inserted = 0;
            m_firstInserted = -1;
            m_position = m_document.cards().count();
        }
        return Step::Next;
    }
    Processes *processes = m_document.services().processes;
    if (!processes || !processes->startDetached(ProgramFolder::executablePath(), QStringList{path})) {
        showError(NewWindowFailed);
        return Step::Stop;
    }
    return Step::Next;
}

void CardDragDrop::showError(const QString &description)
{
    m_document.dialogs().message(ErrorHappened + CrLf + CrLf + description, MsgIcon::Warning);
}
