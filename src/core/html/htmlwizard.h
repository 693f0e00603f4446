#pragma once
// The HTML output wizard as data: its four pages, the captions and labels
// each page shows, the template and style-sheet lookups, the eight options,
// the destination, the values it remembers, and the run it starts. The form
// (gui/html) only shows this state and forwards the person's clicks; every
// question goes through Dialogs.
//
//     HtmlWizard wizard({settings, dialogs, &shell, list, documentPath});
//     wizard.load();
//     wizard.setMode(HtmlMode::Cards);
//     wizard.next(); wizard.next();
//     wizard.setRootPath("/srv/www/memo");
//     wizard.next(); // writes the pages, stores the choices, asks to close
//
// What it remembers: HTMLMode, HinagataFileName and StyleSheet in the active
// settings store at the end of every run that collected cards; RootPath and
// ReverseNumber there too while per-file settings are active; and, for
// documents on the general settings, one process-wide root path that is
// forgotten whenever another document takes the window.

#include "core/html/htmloptions.h"
#include "core/html/htmlrun.h"
#include "core/html/htmltemplate.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>

class CardList;
class Dialogs;
class SettingsModel;
class Shell;

// The check boxes chkOption(0 to 7) in their order on page 1.
enum class WizardOption { Renban, OnlySelected, UseItem2, NoBR, FakeTab, EscapeTag, CutDateInfo, ReverseNumber };
inline constexpr int WizardOptionCount = 8;

namespace HtmlWizardTexts {

inline const QString Caption = QStringLiteral("HTML出力 ウイザード");
inline const QString Back = QStringLiteral("< 戻る(&B)");
inline const QString Next = QStringLiteral("次へ(&N) >");
inline const QString Finish = QStringLiteral("完了(&F)");
inline const QString Cancel = QStringLiteral("キャンセル");

struct ModeText {
    QString caption;
    QString description;
};
// optHTMLMode(0 to 4) and the description beside each.
const std::array<ModeText, 5> &modes();

inline const QString TemplateLabel = QStringLiteral("雛形ファイル");
inline const QString TemplateInstruction = QStringLiteral(
    "　雛形ファイルを指定してください。これを切り替えることで、生成されるHTMLの印象が大きく変わります。\r\n"
    "　詳しくは、ヘルプを参照してください。");
inline const QString Browse = QStringLiteral("参照(&R)...");
inline const QString StyleSheetLabel = QStringLiteral("スタイルシート番号");
inline const QString StyleSheetTip = QStringLiteral("雛形に収録されたスタイルシートから使用するものを選択します。");
inline const QString Details = QStringLiteral("詳細(&H)");
inline const QString DetailsTip = QStringLiteral("この雛形について詳細情報を表示します。");
inline const QString Unify = QStringLiteral("統一(&Q)");
inline const QString UnifyTip = QStringLiteral("ここで指定した雛形ファイルをブラウザボタン用にも設定します。");

struct OptionText {
    QString caption;
    QString tip;
};
// chkOption(0 to 7).
const std::array<OptionText, WizardOptionCount> &options();

inline const QString WaitNotice =
    QStringLiteral("　大きなデータになると、生成に数分かかることがあります。しばらくお待ちください(完了すると、QLT@"
                   "WINの通常画面に戻ります)。");
inline const QString SaveFileLabel = QStringLiteral("保存ファイル名");
inline const QString SaveFileDetail = QStringLiteral("　HTMLのファイル名を指定してください。");
inline const QString SaveFolderLabel = QStringLiteral("保存先");
inline const QString SaveFolderDetail =
    QStringLiteral("　データを生成するフォルダ(ルートフォルダ)を指定してください。");
inline const QString AutoOpen = QStringLiteral("生成後にファイルを開く(&A)");
inline const QString Writing = QStringLiteral("　HTMLファイルを作成、出力しています。");

inline const QString TemplateDialogTitle = QStringLiteral("雛形ファイルを開く");
inline const QString TemplateFilter =
    QStringLiteral("雛形ファイル(Hina*.qlw)|Hina*.qlw|QLWファイル(*.qlw)|*.qlw|その他 (*.*)|*.*");
inline const QString SaveDialogTitle = QStringLiteral("HTMLファイルの保存");
inline const QString SaveFilter =
    QStringLiteral("HTMLファイル(*.html;*.htm)|*.html;*.htm|XMLファイル(*.xml)|*.xml|その他 (*.*)|*.*");
inline const QString FolderPrompt = QStringLiteral("保存先にするルートフォルダを指定してください。");

inline const QString UnifyGeneralQuestion =
    QStringLiteral("このファイルは全般設定を利用しているため、全般設定を利用する全てのファイルに影響が出ます。\r\n"
                   "続行しますか？");
inline QString unified(const QString &path)
{
    return QStringLiteral("ブラウザボタンなどの雛形を ") + path + QStringLiteral(" に統一しました。");
}
inline const QString NoSelection = QStringLiteral("カードが1つも選択されていません。");
inline QString styleSheetFound(const QString &title)
{
    return title + QStringLiteral(" を使用します。");
}
inline QString styleSheetMissing(const QString &templateName, const QString &entry)
{
    return templateName + QStringLiteral(" には ") + entry + QStringLiteral(" は存在しません。");
}
// The progress line of page 3: pages written of pages to write, and the
// card whose page is being written.
QString progress(qsizetype done, qsizetype total, const QString &card);
// After a cancel: how many pages are done (written or unchanged) of how many.
QString cancelled(qsizetype done, qsizetype total);

inline const QString DefaultTemplate = QStringLiteral("HinaDefault.qlw");

} // namespace HtmlWizardTexts

// The output folder remembered for documents on the general settings: one
// per process, forgotten when the document path is set.
namespace HtmlWizardMemory {
QString rootPath();
void setRootPath(const QString &path);
void forget();
} // namespace HtmlWizardMemory

class HtmlWizard : public QObject
{
    Q_OBJECT
public:
    struct Context {
        SettingsModel &settings;
        Dialogs &dialogs;
        Shell *shell = nullptr; // opens the result; none: nothing is opened
        const CardList &list;   // the current card list
        QString documentPath;   // the card file ("[filename]", the destination's start)
    };

    // What a press of "次へ" (or "完了") did.
    enum class Step {
        Moved,            // another page shows
        AskedDestination, // "完了" with no destination: back on page 2, the chooser was shown
        Finished,         // the run ended (written, failed pages told): close
        NothingCollected, // no card to write: the engine said so; close, nothing stored
        Cancelled,        // stopped between two pages: close, nothing stored
    };

    // The page labels, buttons and enabled states the form shows.
    static constexpr int PageCount = 4;
    static constexpr int WritingPage = 3;

    explicit HtmlWizard(const Context &context, QObject *parent = nullptr);

    // Whether the wizard commands may run on a list: only with a card in it.
    static bool CanRun(const CardList &list);

    // Form load: the remembered mode, template, style sheet and destination.
    void load();

    int page() const { return m_page; }
    HtmlMode mode() const { return m_mode; }
    void setMode(HtmlMode mode);

    QString templatePath() const { return m_templatePath; }
    // The template change: name label, options card, style-sheet list.
    void setTemplatePath(const QString &path);
    // lblHinagataFileName: the template's name without folder and extension.
    QString templateName() const;
    bool templateExists() const;

    QStringList styleSheetEntries() const { return m_styleSheets; }
    QString styleSheet() const { return m_styleSheet; }
    void setStyleSheet(const QString &entry);
    // lblStyleSheetName.
    QString styleSheetLabel() const { return m_styleSheetLabel; }

    bool option(WizardOption which) const;
    // Turning "選択中のデータのみ出力する" on with no card selected warns and
    // leaves it off.
    void setOption(WizardOption which, bool on);
    HtmlOptions options() const { return m_options; }

    QString rootPath() const { return m_rootPath; }
    void setRootPath(const QString &path);
    bool autoOpen() const { return m_autoOpen; }
    void setAutoOpen(bool on);

    // Button captions and page labels.
    QString nextCaption() const;
    bool backEnabled() const { return m_page > 0 && m_page < WritingPage; }
    bool nextEnabled() const { return m_page < WritingPage; }
    QString saveMessage() const;
    QString saveMessageDetail() const;
    bool running() const { return m_running; }

    // btnMove(0).
    void back();
    // btnMove(1): the next page; on page 2 "完了", the run.
    Step next();
    // Run with the progress shown: called after every page with the pages
    // done and to write (false stops the run between two pages), and with
    // the name of every card whose page is about to be written.
    void setProgress(PageSink::Progress progress) { m_progress = std::move(progress); }
    void setCardObserver(std::function<void(const QString &)> observer) { m_cardObserver = std::move(observer); }
    const HtmlRunResult &lastResult() const { return m_result; }

    // btnRefHinagata, btnRefRootPath, btnHelp, btnSetAllHina.
    void chooseTemplate();
    void chooseDestination();
    void showDescription();
    void unifyBrowserTemplates();

    // The run the current choices make.
    HtmlJob job() const;
    // What "生成後にファイルを開く" opens: the file in mode 0, else the root's index page.
    QString resultPath() const;

signals:
    // Any of the values above changed; the form shows them again.
    void changed();

private:
    Step finish();
    void store();
    void lookUpStyleSheet();
    void setPage(int page);

    Context m_ctx;
    int m_page = 0;
    HtmlMode m_mode = HtmlMode::Single;
    QString m_templatePath;
    HtmlTemplate m_template;
    QStringList m_styleSheets;
    QString m_styleSheet;
    QString m_styleSheetLabel;
    HtmlOptions m_options;
    QString m_rootPath;
    bool m_autoOpen = false;
    bool m_running = false;
    PageSink::Progress m_progress;
    std::function<void(const QString &)> m_cardObserver;
    HtmlRunResult m_result;
};
