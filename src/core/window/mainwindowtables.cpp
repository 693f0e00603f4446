#include "core/window/mainwindowtables.h"

#include "core/search/searchtexts.h"
#include "core/window/commandids.h"
#include "core/window/keymap.h"

QString Cmd::recentFile(int n)
{
    return QStringLiteral("RecentFile%1").arg(n);
}

namespace {

QList<MenuEntry> buildMenuTree()
{
    MenuBuilder b;
    b.menu(QStringLiteral("MenuFile"), QStringLiteral("ファイル(&F)"))
        .item(QStringLiteral("MenuFileOpenNewWindow"), QStringLiteral("新しいウインドウ(&1)"), Cmd::NewWindow)
        .separator()
        .item(QStringLiteral("MenuNewDocument"), QStringLiteral("新規作成(&2)"), Cmd::NewDocument,
              QStringLiteral("Ctrl+N"))
        .item(QStringLiteral("MenuOpenFile"), QStringLiteral("開く(&3)..."), Cmd::OpenDocument,
              QStringLiteral("Ctrl+O"))
        .item(QStringLiteral("MenuOverRideWrite"), QStringLiteral("上書き保存(&4)"), Cmd::SaveDocument,
              QStringLiteral("Ctrl+S"))
        .item(QStringLiteral("MenuSaveAs"), QStringLiteral("名前を付けて保存(&5)..."), Cmd::SaveDocumentAs)
        .item(QStringLiteral("MenuReload"), QStringLiteral("再読込(&6)"), Cmd::Reload)
        .item(QStringLiteral("MenuFileHTMLWiz"), QStringLiteral("HTMLウイザード(&7)"), Cmd::HtmlWizard)
        .item(QStringLiteral("MenuFileHTMLWizAgain"), QStringLiteral("HTMLウイザード再実行"), Cmd::HtmlWizardAgain,
              QStringLiteral("Ctrl+M"))
        .sub(QStringLiteral("MenuFileETC"), QStringLiteral("外部形式で出力"))
        .indexed(QStringLiteral("MenuPartHTML"), 0, QStringLiteral("全カードを階層型HTML(&H)"), Cmd::PartHtmlAll)
        .indexed(QStringLiteral("MenuPartHTML"), 1, QStringLiteral("選択カードを階層型HTML(&K)"), Cmd::PartHtmlSelected)
        .indexed(QStringLiteral("MenuPartHTML"), 2, QStringLiteral("HTMLヘルプ形式(&C)"), Cmd::PartHtmlHelp)
        .endSub()
        .separator()
        .item(QStringLiteral("MenuPrint"), QStringLiteral("印刷(&8)"), Cmd::Print)
        .item(QStringLiteral("MenuQuitMe"), QStringLiteral("終了(&0)"), Cmd::Quit, QStringLiteral("Ctrl+W"))
        .separator()
        .item(QStringLiteral("MenuFileRecentTitle"), QStringLiteral("最近使ったファイル"), QString())
        .hidden();
    for (int n = 0; n < Cmd::RecentFileCount; ++n)
        b.indexed(QStringLiteral("MenuFileRecent"), n, QStringLiteral("RecentFile"), Cmd::recentFile(n)).hidden();

    b.menu(QStringLiteral("MenuEdit"), QStringLiteral("編集(&E)"))
        .item(QStringLiteral("MenuEditItem"), QStringLiteral("カードの編集(&E)..."), Cmd::EditCard,
              QStringLiteral("Ctrl+E"))
        .separator()
        .item(QStringLiteral("MenuMakeNewItem"), QStringLiteral("新規カード作成(&N)..."), Cmd::NewCard)
        .shown(QStringLiteral("Shift+Ctrl+A"))
        .item(QStringLiteral("MenuDeleteItem"), QStringLiteral("カードの削除(&D)"), Cmd::DeleteCard)
        .shown(QStringLiteral("Del"))
        .separator()
        .item(QStringLiteral("MenuEditCut"), QStringLiteral("切り取り(&T)"), Cmd::Cut)
        .shown(QStringLiteral("Ctrl+X"))
        .item(QStringLiteral("MenuEditCopy"), QStringLiteral("コピー(&C)"), Cmd::Copy)
        .shown(QStringLiteral("Ctrl+C"))
        .item(QStringLiteral("MenuEditCopyOnlyText"), QStringLiteral("コピー(項目3のみ)(&G)"), Cmd::CopyContentOnly,
              QStringLiteral("Ctrl+G"))
        .item(QStringLiteral("MenuEditPaste"), QStringLiteral("ペースト(&P)"), Cmd::Paste)
        .shown(QStringLiteral("Ctrl+V"))
        .item(QStringLiteral("MenuEditSelectAll"), QStringLiteral("すべて選択(&A)"), Cmd::SelectAll)
        .shown(QStringLiteral("Ctrl+A"))
        .item(QStringLiteral("MenuEditRevSelect"), QStringLiteral("選択の反転(&R)"), Cmd::InvertSelection)
        .separator()
        .item(QStringLiteral("MenuCutDateInfo"), QStringLiteral("日付情報の削除(&Y)"), Cmd::CutDateInfo)
        .hidden()
        .item(QStringLiteral("MenuEditToday"), QStringLiteral("日付を削除(又は今日に)(&Y)"), Cmd::RenewDate)
        .item(QStringLiteral("MenuEditChangeGroup"), QStringLiteral("グループを変更(&O)"), Cmd::ChangeGroup)
        .sub(QStringLiteral("MenuDispBrowserF"), QStringLiteral("ブラウザで表示(&B)"))
        .indexed(QStringLiteral("MenuDispBrowser"), 0, QStringLiteral("&1 選択カードのみ"), Cmd::BrowserSelected,
                 QStringLiteral("Ctrl+B"))
        .indexed(QStringLiteral("MenuDispBrowser"), 1, QStringLiteral("&2 すべてのカード"), Cmd::BrowserAll)
        .item(QStringLiteral("MenuDispMHT"), QStringLiteral("&3 ホームページ(HTML,mht,URL)"), Cmd::BrowserHomePage,
              QStringLiteral("Ctrl+D"))
        .separator()
        .item(QStringLiteral("MenuEditOpenURL"), QStringLiteral("&4 項目2をURLとして開く"), Cmd::OpenRemarksUrl,
              QStringLiteral("Ctrl+U"))
        .endSub()
        .item(QStringLiteral("MenuEditCopyToFile"), QStringLiteral("ファイルに出力(&F)"), Cmd::CopyContentToFile);

    b.menu(QStringLiteral("MenuDisp"), QStringLiteral("表示(&V)"))
        .indexed(QStringLiteral("MenuDispChange"), 0, QStringLiteral("大きいアイコン(&G)"), Cmd::ViewLargeIcons)
        .indexed(QStringLiteral("MenuDispChange"), 1, QStringLiteral("小さいアイコン(&M)"), Cmd::ViewSmallIcons)
        .indexed(QStringLiteral("MenuDispChange"), 2, QStringLiteral("一覧(&L)"), Cmd::ViewList)
        .indexed(QStringLiteral("MenuDispChange"), 3, QStringLiteral("詳細(&D)"), Cmd::ViewDetails)
        .indexed(QStringLiteral("MenuDispChange"), 4, QStringLiteral("表示モード順次切替(&M)"), Cmd::ViewNextMode,
                 QStringLiteral("F4"))
        .item(QStringLiteral("MenuDispPreview"), QStringLiteral("プレビュー表示域切替(&P)"), Cmd::PreviewNext,
              QStringLiteral("Ctrl+F4"))
        .item(QStringLiteral("MenuDispTree"), QStringLiteral("グループツリー表示(&T)"), Cmd::ToggleTree)
        .checkable(true)
        .separator()
        .item(QStringLiteral("MenuDispSetMostFront"), QStringLiteral("最前面表示(&S)"), Cmd::MostFront)
        .checkable()
        .item(QStringLiteral("MenuDispViewMode"), QStringLiteral("閲覧モード(&V)"), Cmd::BrowseMode)
        .checkable()
        .separator()
        .item(QStringLiteral("MenuDispSort"), QStringLiteral("ソート状態へ(&S)"), Cmd::Sort)
        .item(QStringLiteral("MenuDispCancelSort"), QStringLiteral("ソートの中止(&C)"), Cmd::CancelSort)
        .separator()
        .item(QStringLiteral("MenuDispRefresh"), QStringLiteral("最新状態に更新(&R)"), Cmd::Refresh);

    b.menu(QStringLiteral("MenuOption"), QStringLiteral("オプション(&O)"))
        .item(QStringLiteral("MenuSettingBase"), QStringLiteral("基本設定(&B)..."), Cmd::Settings);

    b.menu(QStringLiteral("MenuHelp"), QStringLiteral("ヘルプ(&H)"))
        .item(QStringLiteral("MenuDispHelpWeb"), QStringLiteral("オンラインヘルプ(&H)"), Cmd::HelpOnline,
              QStringLiteral("F1"))
        .item(QStringLiteral("MenuDispHelp"), QStringLiteral("旧ヘルプ"), Cmd::HelpOld)
        .item(QStringLiteral("MenuHelpKoshin"), QStringLiteral("更新風鐸とは...(&F)"), Cmd::HelpKoshin)
        .hidden()
        .separator()
        .item(QStringLiteral("MenuHelpWeb"), QStringLiteral("ホームページ表示(&W)"), Cmd::HelpHomePage)
        .item(QStringLiteral("MenuHelpBBS"), QStringLiteral("サポート掲示板を表示(&K)"), Cmd::HelpBoard)
        .item(QStringLiteral("MenuHelpMail"), QStringLiteral("作者にメール送信(&M)"), Cmd::HelpMail)
        .separator()
        .item(QStringLiteral("MenuVerInfo"), QStringLiteral("このソフトについて...(&A)"), Cmd::About);

    b.menu(QStringLiteral("MenuBrowse"), QStringLiteral("ブラウザボタン用"), true)
        .indexed(QStringLiteral("MenuBrowserOpen"), 0, QStringLiteral("選択カードのみ"), Cmd::BrowserSelected)
        .indexed(QStringLiteral("MenuBrowserOpen"), 1, QStringLiteral("すべてのカード"), Cmd::BrowserAll);
    return b.take();
}

QList<ToolbarButton> buildToolbar()
{
    auto button = [](const QString &key, const QString &tooltip, const QString &command, const QString &icon,
                     bool separatorBefore = false) {
        ToolbarButton b;
        b.key = key;
        b.tooltip = tooltip;
        b.command = command;
        b.icon = icon;
        b.separatorBefore = separatorBefore;
        return b;
    };
    QList<ToolbarButton> t;
    t << button(QStringLiteral("tbNewDocument"), QStringLiteral("新規に「ファイル」を作成します"), Cmd::NewDocument,
                QStringLiteral("newdocument.svg"));

    ToolbarButton load = button(QStringLiteral("tbLoadDocument"), QStringLiteral("ファイルを読み込みます"),
                                Cmd::OpenDocument, QStringLiteral("opendocument.svg"));
    load.dropDown = {{QStringLiteral("tbLoadQLW"), QStringLiteral("QLW形式"), Cmd::LoadQlw},
                     {QStringLiteral("tbLoadCSV"), QStringLiteral("CSV形式"), Cmd::LoadCsv},
                     {QStringLiteral("tbLoadDBFS"), QStringLiteral("DBFS形式"), Cmd::LoadDbfs, true}};
    t << load;

    ToolbarButton save = button(QStringLiteral("tbSaveDocument"), QStringLiteral("ファイルを上書き保存します"),
                                Cmd::SaveDocument, QStringLiteral("savedocument.svg"));
    save.dropDown = {{QStringLiteral("tbSaveQLW"), QStringLiteral("QLW形式"), Cmd::SaveQlw},
                     {QStringLiteral("tbSaveCSV"), QStringLiteral("CSV形式"), Cmd::SaveCsv},
                     {QStringLiteral("tbSaveDBFS"), QStringLiteral("DBFS形式"), Cmd::SaveDbfs, true},
                     {QStringLiteral("tbSaveHTML"), QStringLiteral("HTML形式"), Cmd::SaveHtml}};
    t << save;

    ToolbarButton browser = button(QStringLiteral("tbBrowser"), QStringLiteral("ブラウザでカードを表示します"),
                                   Cmd::BrowserMenu, QStringLiteral("browser.svg"), true);
    browser.popupMenu = QStringLiteral("MenuDispBrowserF");
    t << browser;
    t << button(QStringLiteral("tbHTMLWiz"), QStringLiteral("HTMLウイザードを呼び出します"), Cmd::HtmlWizard,
                QStringLiteral("htmlwizard.svg"));
    t << button(QStringLiteral("tbNewCard"), QStringLiteral("新規カードを作成します"), Cmd::NewCard,
                QStringLiteral("newcard.svg"), true);
    t << button(QStringLiteral("tbCut"), QStringLiteral("切り取り"), Cmd::Cut, QStringLiteral("cut.svg"), true);
    t << button(QStringLiteral("tbCopy"), QStringLiteral("コピー"), Cmd::Copy, QStringLiteral("copy.svg"));
    t << button(QStringLiteral("tbPaste"), QStringLiteral("ペースト"), Cmd::Paste, QStringLiteral("paste.svg"));

    ToolbarButton viewMode = button(QStringLiteral("tbViewMode"), QStringLiteral("閲覧モードのON/OFF"), Cmd::BrowseMode,
                                    QStringLiteral("browsemode.svg"), true);
    viewMode.twoState = true;
    t << viewMode;

    ToolbarButton listMode = button(QStringLiteral("tbListMode"), QStringLiteral("リストの表示形式を変更します"),
                                    Cmd::ViewNextMode, QStringLiteral("listmode.svg"));
    listMode.dropDown = {{QStringLiteral("tbLargeIcon"), QStringLiteral("大きいアイコン"), Cmd::ViewLargeIcons},
                         {QStringLiteral("tbSmallIcon"), QStringLiteral("小さいアイコン"), Cmd::ViewSmallIcons},
                         {QStringLiteral("tbList"), QStringLiteral("一覧"), Cmd::ViewList},
                         {QStringLiteral("tbDes"), QStringLiteral("詳細"), Cmd::ViewDetails}};
    t << listMode;

    ToolbarButton mostFront = button(QStringLiteral("tbSetMostFront"), QStringLiteral("最前面表示にします"),
                                     Cmd::MostFrontButton, QStringLiteral("mostfront.svg"));
    mostFront.twoState = true;
    t << mostFront;

    ToolbarButton preview =
        button(QStringLiteral("tbPreView"), QStringLiteral("プレビューウインドウの表示域を切り替えます"),
               Cmd::PreviewNext, QStringLiteral("preview.svg"));
    preview.dropDown = {{QStringLiteral("tbPVNone"), QStringLiteral("なし"), Cmd::PreviewNone},
                        {QStringLiteral("tbPV12"), QStringLiteral("1:2"), Cmd::Preview12},
                        {QStringLiteral("tbPV11"), QStringLiteral("1:1"), Cmd::Preview11},
                        {QStringLiteral("tbPV21"), QStringLiteral("2:1"), Cmd::Preview21}};
    t << preview;
    return t;
}

QList<FunctionBarPanel> buildFunctionBar()
{
    return {
        {QStringLiteral("ヘルプ"), QStringLiteral("ヘルプを表示します"), Cmd::HelpOnline},
        {QStringLiteral("ｶｰﾄﾞ作成"), QStringLiteral("選択位置に新規にカードを作成します"), Cmd::NewCard},
        {QStringLiteral("編集"), QStringLiteral("選択しているカードを編集します"), Cmd::EditCard},
        {QStringLiteral("表示ﾓｰﾄﾞ"), QStringLiteral("カードの表示方法を変更します(4種類)"), Cmd::ViewNextMode},
        {QStringLiteral("更新"), QStringLiteral("ソートなどを正しく反映します。"), Cmd::Refresh},
        {QStringLiteral("検索"), QStringLiteral("先頭からカードを検索します"), Cmd::SearchTopPrompt},
        {QStringLiteral("抽出"), QStringLiteral("キーワードを含むカードを抽出します"), Cmd::ExtractPrompt},
        {QStringLiteral("CUT"), QStringLiteral("選択中のカードを切り取ります"), Cmd::Cut},
        {QStringLiteral("COPY"), QStringLiteral("選択中のカードをコピーします"), Cmd::Copy},
        {QStringLiteral("PASTE"), QStringLiteral("選択中のカードをペーストします"), Cmd::Paste},
        {QStringLiteral("解除"), QStringLiteral("抽出状態を解除します"), Cmd::EndExtraction},
    };
}

QList<SearchBarControl> buildSearchBar()
{
    return {
        {QStringLiteral("btnSearch"), 0, QStringLiteral("◆"), QStringLiteral("先頭を検索"), Cmd::SearchTop},
        {QStringLiteral("btnSearch"), 1, QStringLiteral("▲"), QStringLiteral("上方向に検索"), Cmd::SearchUp},
        {QStringLiteral("btnSearch"), 2, QStringLiteral("▼"), QStringLiteral("下方向に検索"), Cmd::SearchDown},
        {QStringLiteral("btnSearchOnlyItem"), -1, QStringLiteral("§"),
         QStringLiteral("キーワードを含むカードを抽出する"), Cmd::Extract},
        {QStringLiteral("btnSearchOnlyItemQuit"), -1, QStringLiteral("×"), QStringLiteral("抽出状態を解除する"),
         Cmd::EndExtraction},
        {QStringLiteral("chkSeiki"), -1, QString(), QStringLiteral("正規表現を使用する場合はチェックします"),
         Cmd::Regex, true},
    };
}

} // namespace

namespace MainWindowTables {

const WindowTables &tables()
{
    static const WindowTables table{QStringLiteral("MainForm"), menuTree(), toolbar(), functionBar(), searchBar(),
                                    KeyMap::makeTable()};
    return table;
}

const QList<MenuEntry> &menuTree()
{
    static const QList<MenuEntry> table = buildMenuTree();
    return table;
}

const QList<ToolbarButton> &toolbar()
{
    static const QList<ToolbarButton> table = buildToolbar();
    return table;
}

const QList<FunctionBarPanel> &functionBar()
{
    static const QList<FunctionBarPanel> table = buildFunctionBar();
    return table;
}

const QList<SearchBarControl> &searchBar()
{
    static const QList<SearchBarControl> table = buildSearchBar();
    return table;
}

QString searchBoxTooltip()
{
    return QStringLiteral("検索キーワードを入力します(Enterで検索・Ctrl+Enterで抽出)");
}

QString groupListCaption()
{
    return QStringLiteral("グループ名");
}

QString allGroupsText()
{
    return SearchTexts::AllGroups;
}

QString allGroupsKey()
{
    return SearchTexts::AllGroupsKey;
}

const MenuEntry *findMenuEntry(const QString &name, int index)
{
    return tables().findMenuEntry(name, index);
}

QString functionBarCommand(const QString &panelText, bool clicksSwitchedOff)
{
    if (clicksSwitchedOff)
        return QString();
    return tables().functionBarCommand(panelText);
}

QStringList allCommandIds()
{
    return tables().commandIds();
}

const QStringList &windowCommandIds()
{
    static const QStringList ids = {
        Cmd::ViewLargeIcons,  Cmd::ViewSmallIcons, Cmd::ViewList,    Cmd::ViewDetails,
        Cmd::ViewNextMode,    Cmd::PreviewNext,    Cmd::PreviewNone, Cmd::Preview12,
        Cmd::Preview11,       Cmd::Preview21,      Cmd::ToggleTree,  Cmd::MostFront,
        Cmd::MostFrontButton, Cmd::BrowseMode,     Cmd::Refresh,     Cmd::SelectAll,
        Cmd::InvertSelection, Cmd::Escape,         Cmd::FocusSearch, Cmd::SearchBoxToList,
        Cmd::Regex,           Cmd::BrowserMenu,    Cmd::Quit,        Cmd::EditMenuPopup,
        Cmd::HelpOnline,      Cmd::HelpOld,        Cmd::HelpKoshin,  Cmd::HelpHomePage,
        Cmd::HelpBoard,       Cmd::HelpMail,
    };
    return ids;
}

const QStringList &disabledCommandIds()
{
    static const QStringList ids = {
        Cmd::LoadDbfs,
        Cmd::SaveDbfs,
    };
    return ids;
}

QString controlObjectName(const QString &name, int index)
{
    return WindowTables::objectName(name, index);
}

} // namespace MainWindowTables
