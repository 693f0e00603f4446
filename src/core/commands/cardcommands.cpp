#include "core/commands/cardcommands.h"

#include "core/cards/cardlist.h"
#include "core/cards/cardmessages.h"
#include "core/cards/titlefield.h"
#include "core/cards/transfertext.h"
#include "core/commands/cardcommandtexts.h"
#include "core/commands/cardlistedits.h"
#include "core/common/atomicfile.h"
#include "core/common/dialogs.h"
#include "core/common/tool.h"
#include "core/common/win31j.h"
#include "core/document/document.h"
#include "core/search/extraction.h"
#include "core/settings/settingkeys.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"

using namespace CardCommandTexts;

namespace {

const QString CrLf = QStringLiteral("\r\n");

std::optional<QString> withoutDatePrefix(const QString &title)
{
    QString rest;
    if (SplitDatePrefix(title, &rest))
        return rest;
    return std::nullopt;
}

} // namespace

CardCommands::CardCommands(Document &document, MainCommands &commands, Extraction &extraction, QObject *parent)
    : QObject(parent), m_document(document), m_commands(commands), m_extraction(extraction)
{}

void CardCommands::wire()
{
    MainCommands &c = m_commands;
    c.wire(Cmd::NewCard, [this] { newCard(); });
    c.wire(Cmd::DeleteCard, [this] { deleteCards(); });
    c.wire(Cmd::Cut, [this] { cut(); });
    c.wire(Cmd::Copy, [this] { copy(); });
    c.wire(Cmd::CopyContentOnly, [this] { copyContentOnly(); });
    c.wire(Cmd::Paste, [this] { paste(); });
    c.wire(Cmd::CutDateInfo, [this] { cutDateInfo(); });
    c.wire(Cmd::RenewDate, [this] { renewDate(); });
    c.wire(Cmd::OpenRemarksUrl, [this] { openRemarksUrl(); });
    c.wire(Cmd::CopyContentToFile, [this] { copyContentToFile(); });
    c.wire(Cmd::RenameCard, [this] { rename(); });
    c.wire(Cmd::Print, [this] { print(); });
    // Wiring enables; extraction mode keeps paste disabled.
    c.setEnabled(Cmd::Paste, !m_document.extractionActive());
}

// ---------------------------------------------------------------- helpers

CardList &CardCommands::currentList()
{
    return m_document.activeList();
}

int CardCommands::currentListIndex() const
{
    return m_document.ActiveListIndex();
}

qsizetype CardCommands::makeFirstSelectedCurrent(CardList &list)
{
    const qsizetype first = list.firstSelectedRow();
    if (first >= 0)
        list.setCurrentRow(first);
    return first;
}

bool CardCommands::insertCardAtNextCard()
{
    return m_document.settings().integer(SettingKey::InsertCardAtNextCard) != 0;
}

bool CardCommands::addDateInfo()
{
    return m_document.settings().isOn(SettingKey::AddDateInfo);
}

DateStamp CardCommands::dateStamp()
{
    DateStamp stamp;
    stamp.addDateInfo = addDateInfo();
    stamp.clock = &CardFile::ClockOf(m_document.writeOptions());
    stamp.documentExtension = Tool::ExtensionOf(m_document.DocumentPath());
    return stamp;
}

QDate CardCommands::today()
{
    return CardFile::ClockOf(m_document.writeOptions()).today();
}

qsizetype CardCommands::insertPosition(const CardList &list)
{
    const qsizetype current = list.currentRow();
    if (current < 0)
        return list.store().count();
    return insertCardAtNextCard() ? current + 1 : current;
}

// ---------------------------------------------------------------- new, delete

qsizetype CardCommands::newCard()
{
    m_document.SetModified(true);
    const int listIndex = currentListIndex();
    CardList &list = m_document.lvData(listIndex);
    const bool extraction = listIndex == 1;

    Card card;
    // A card made in the extraction list joins the main card list later
    // under the same key.
    card.key = NewCardKey(list.store(), extraction ? &m_document.lvData(0).store() : nullptr);
    if (extraction)
        m_extraction.markNewCard(card.key);
    card.title = StampDate(NewCardTitle, dateStamp());
    card.icon = CardIcon::Changed;
    const qsizetype row = insertPosition(list);
    list.store().insert(row, std::move(card));

    list.ClearSelection();
    list.setCurrentRow(row);
    list.setSelected(row);
    m_document.ShowCard(listIndex, row);
    m_document.RequestEdit(listIndex);
    return row;
}

void CardCommands::removeSelected()
{
    m_document.SetModified(true);
    const int listIndex = currentListIndex();
    CardList &list = m_document.lvData(listIndex);
    const QList<qsizetype> rows = list.selectedRows();
    if (listIndex == 1) {
        // The extraction list holds copies: the originals leave the main card
        // list too, unless the card was made in this extraction.
        CardList &main = m_document.lvData(0);
        QList<qsizetype> mainRows;
        for (qsizetype row : rows) {
            const QString &key = list.store().at(row).key;
            if (m_extraction.isNewCard(key)) {
                m_extraction.unmarkNewCard(key);
                continue;
            }
            const qsizetype mainRow = main.store().indexOfKey(key);
            if (mainRow >= 0)
                mainRows.append(mainRow);
        }
        CardListEdits::RemoveRows(main, mainRows);
    }
    CardListEdits::RemoveRows(list, rows);
    if (list.currentRow() >= 0)
        m_document.ShowCard(listIndex, list.currentRow());
}

void CardCommands::deleteCards()
{
    CardList &list = currentList();
    if (makeFirstSelectedCurrent(list) < 0)
        return;
    if (m_document.dialogs().message(DeleteQuestion, MsgIcon::Question, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    removeSelected();
}

// ---------------------------------------------------------------- clipboard

void CardCommands::cut()
{
    CardList &list = currentList();
    if (makeFirstSelectedCurrent(list) < 0)
        return;
    Clipboard *clipboard = m_document.services().clipboard;
    // Without a clipboard the cards would be gone for good.
    if (!clipboard)
        return;
    clipboard->setText(SelectedCardsToText(list, today()));
    removeSelected();
}

void CardCommands::copy()
{
    CardList &list = currentList();
    if (makeFirstSelectedCurrent(list) < 0)
        return;
    if (Clipboard *clipboard = m_document.services().clipboard)
        clipboard->setText(SelectedCardsToText(list, today()));
}

void CardCommands::copyContentOnly()
{
    CardList &list = currentList();
    if (!list.hasSelection())
        return;
    qsizetype row = list.currentRow();
    if (row < 0)
        row = list.firstSelectedRow();
    if (row < 0)
        return;
    if (Clipboard *clipboard = m_document.services().clipboard)
        clipboard->setText(list.store().at(row).content);
}

qsizetype CardCommands::paste()
{
    if (m_document.extractionActive())
        return 0;
    const int listIndex = currentListIndex();
    CardList &list = m_document.lvData(listIndex);
    Clipboard *clipboard = m_document.services().clipboard;
    // The platform's text usually ends its lines with LF; cards split at CR LF.
    const QString text = Tool::WithCrLf(clipboard ? clipboard->text() : QString());

    PasteOptions options;
    options.insertCardAtNextCard = insertCardAtNextCard();
    options.stamp = dateStamp();
    options.setModified = [this](bool modified) { m_document.SetModified(modified); };
    const PasteResult result =
        PasteCardText(text, list, m_document.dialogs(), options, DefaultPasteTitle(text, options.stamp));
    if (result.refused)
        return 0;
    // The current card, or the pasted cards when there is none (they went to the end).
    qsizetype shown = list.currentRow();
    if (shown < 0)
        shown = list.firstSelectedRow();
    if (shown >= 0)
        m_document.ShowCard(listIndex, shown);
    return result.count;
}

// ---------------------------------------------------------------- dates

void CardCommands::cutDateInfo()
{
    if (m_document.dialogs().message(CutDateInfoQuestion, MsgIcon::Information, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    m_document.SetModified(true);
    CardStore &main = m_document.cards();
    CardListEdits::ChangeTitles(main, CardListEdits::AllRows(main), withoutDatePrefix);
    // The copies in the extraction list go back into the main card list
    // when extraction ends; they must not bring the prefixes back.
    if (m_document.extractionActive()) {
        CardStore &copies = m_document.lvData(1).store();
        CardListEdits::ChangeTitles(copies, CardListEdits::AllRows(copies), withoutDatePrefix);
    }
}

void CardCommands::renewDate()
{
    CardList &list = currentList();
    if (makeFirstSelectedCurrent(list) < 0)
        return;
    const bool renew = addDateInfo();
    if (m_document.dialogs().message(renew ? RenewDateQuestion : RemoveDateQuestion, MsgIcon::Question,
                                     MsgButtons::YesNo)
        == MsgAnswer::No)
        return;
    const DateStamp stamp = dateStamp();
    CardListEdits::ChangeTitles(list.store(), list.selectedRows(), [&](const QString &title) -> std::optional<QString> {
        // With AddDateInfo on, StampDate replaces the old prefix.
        if (renew)
            return StampDate(title, stamp);
        return withoutDatePrefix(title);
    });
    m_document.SetModified(true);
}

// ---------------------------------------------------------------- remarks, file

void CardCommands::openRemarksUrl()
{
    const Card *card = currentList().currentCard();
    if (!card || card->remarks.isEmpty())
        return;
    if (Shell *shell = m_document.services().shell)
        Tool::OpenWithShell(*shell, card->remarks);
}

QString CardCommands::contentFileName(const QString &title, const QString &remarks)
{
    QString name;
    if (!remarks.isEmpty()) {
        SplitDatePrefix(remarks, &name);
    } else {
        QString rest;
        SplitDatePrefix(title, &rest);
        if (!rest.isEmpty())
            name = rest + QStringLiteral(".txt");
    }
    name = Tool::CleanFileName(name, false);
    // "." and ".." name folders, not files.
    if (name.isEmpty() || name.count(QLatin1Char('.')) == name.size())
        return WriteContentFallbackName;
    return name;
}

bool CardCommands::copyContentToFile()
{
    CardList &list = currentList();
    const qsizetype row = makeFirstSelectedCurrent(list);
    if (row < 0)
        return false;
    // A copy: the card may change while the chooser is open.
    const Card card = list.store().at(row);
    Dialogs &dialogs = m_document.dialogs();

    FileRequest request;
    request.title = WriteContentTitle;
    request.filter = WriteContentFilter;
    request.startPath =
        Tool::JoinPath(Tool::ParentFolderOf(m_document.DocumentPath()), contentFileName(card.title, card.remarks));
    request.promptOverwrite = true;
    const std::optional<QString> path = dialogs.saveFile(request);
    if (!path || path->isEmpty())
        return false;

    Win31J::EncodeStats stats;
    const QByteArray bytes = Win31J::encode(card.content + CrLf, &stats);
    if (stats.unmappableCount > 0) {
        SaveCheck check;
        check.unmappableCount = stats.unmappableCount;
        check.firstUnmappableRow = row;
        if (!CardMessages::AskSaveWithUnmappable(dialogs, list.store(), check))
            return false;
    }
    if (!AtomicFile::write(*path, bytes)) {
        CardMessages::ShowCannotWrite(dialogs);
        return false;
    }
    return true;
}

// ---------------------------------------------------------------- rename, print

void CardCommands::rename()
{
    CardList &list = currentList();
    qsizetype row = list.currentRow();
    if (row < 0)
        row = list.firstSelectedRow();
    if (row < 0)
        return;
    emit renameRequested(currentListIndex(), row);
}

bool CardCommands::commitRename(int listIndex, qsizetype row, const QString &title)
{
    if (listIndex != 0 && listIndex != 1)
        return false;
    CardStore &store = m_document.lvData(listIndex).store();
    if (row < 0 || row >= store.count() || store.at(row).title == title)
        return false;
    CardListEdits::ChangeTitles(store, {row}, [&](const QString &) { return std::optional<QString>(title); });
    m_document.SetModified(true);
    return true;
}

void CardCommands::print()
{
    m_document.dialogs().message(PrintNotice, MsgIcon::Information);
}
