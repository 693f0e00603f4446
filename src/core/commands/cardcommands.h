#pragma once
// The card commands of the Edit menu on the current list of the process's
// document (the main card list, or the extraction list while extraction mode
// is on): new card, delete, cut, copy, copy content only, paste, the date
// commands, remarks as an address, content to a file, rename in place and
// the print notice. Everything runs headless: the window follows the
// document's signals (the card lists, the shown card, the edit request) and
// renameRequested, the clipboard and the shell are the document's services,
// the person is asked through its Dialogs.
//
// The commands (wire()):
//     NewCard            MenuMakeNewItem, tbNewCard, Ctrl+Shift+A, Shift/Ctrl+F2, "ｶｰﾄﾞ作成"
//     DeleteCard         MenuDeleteItem, Del in a card list
//     Cut                MenuEditCut, tbCut, F8, Ctrl+X in a card list, "CUT"
//     Copy               MenuEditCopy, tbCopy, F9, Ctrl+C in a card list, "COPY"
//     CopyContentOnly    MenuEditCopyOnlyText (Ctrl+G)
//     Paste              MenuEditPaste, tbPaste, F10, Ctrl+V / Shift+Ins in a card list, "PASTE"
//     CutDateInfo        MenuCutDateInfo (hidden)
//     RenewDate          MenuEditToday
//     OpenRemarksUrl     MenuEditOpenURL (Ctrl+U)
//     CopyContentToFile  MenuEditCopyToFile
//     RenameCard         F2
//     Print              MenuPrint
// Select all and invert selection are the window's own (MainViewController);
// editing a card and Space in browse mode are the editor's (EditorCommands).
// Paste is disabled in extraction mode by the search commands; the handler
// refuses there too.

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

class CardList;
class Document;
class Extraction;
class MainCommands;
struct DateStamp;

class CardCommands : public QObject
{
    Q_OBJECT
public:
    // document, commands and extraction (the new-card marks) outlive this.
    CardCommands(Document &document, MainCommands &commands, Extraction &extraction, QObject *parent = nullptr);

    // Gives the commands above their handlers.
    void wire();

    // Where a new card goes in list: after the last card with no current
    // card; at the current card's row when InsertCardAtNextCard is 0, else
    // right after it.
    qsizetype insertPosition(const CardList &list);

    // "新規カード作成(&N)...": a card titled "新規データ" (stamped), icon 2, at
    // insertPosition; selected alone, current, shown, then edited. In
    // extraction mode it carries the new-card mark. Returns its row.
    qsizetype newCard();
    // "カードの削除(&D)": asks, then removes the selected cards (and, in
    // extraction mode, the unmarked ones from the main card list too).
    void deleteCards();
    // Copy, then the delete without the question.
    void cut();
    // The transfer text of the selected cards onto the clipboard.
    void copy();
    // The content of the current card alone onto the clipboard.
    void copyContentOnly();
    // The clipboard text into the current list (nothing in extraction mode).
    // Returns how many cards were inserted.
    qsizetype paste();

    // "日付情報の削除(&Y)": every date prefix of the main card list, after the question.
    void cutDateInfo();
    // "日付を削除(又は今日に)(&Y)": the date prefix of the selected cards removed,
    // or renewed with today's when AddDateInfo is on, after the question.
    void renewDate();
    // "&4 項目2をURLとして開く": the current card's remarks to the shell.
    void openRemarksUrl();
    // "ファイルに出力(&F)": the current card's content to a chosen file.
    // False when nothing was written (no card, cancelled, declined, failed).
    bool copyContentToFile();
    // The proposed file name for the content of card title/remarks: the
    // remarks, else the title + ".txt"; without a date prefix; cleaned of
    // characters file names cannot hold; "QLTデータ.txt" when no name is left.
    static QString contentFileName(const QString &title, const QString &remarks);

    // F2: the edit in place of the current card's title field.
    void rename();
    // The edit in place ended with title for the card at row of lvData(list):
    // the title field changes, icon 2, the flag, the group list and the
    // preview. An unchanged title changes nothing. False when nothing changed.
    bool commitRename(int list, qsizetype row, const QString &title);

    // "印刷(&8)": the notice that printing goes through the browser view.
    void print();

signals:
    // Starts the edit in place of the title field of the card at row of
    // lvData(list); the edit ends in commitRename.
    void renameRequested(int list, qsizetype row);

private:
    CardList &currentList();
    int currentListIndex() const;
    // The first selected card becomes current; its row, -1 when none is selected.
    qsizetype makeFirstSelectedCurrent(CardList &list);
    DateStamp dateStamp();
    QDate today();
    bool insertCardAtNextCard();
    bool addDateInfo();
    // Removes the selected cards of the current list (and in extraction mode
    // the unmarked ones from the main card list).
    void removeSelected();

    Document &m_document;
    MainCommands &m_commands;
    Extraction &m_extraction;
};
