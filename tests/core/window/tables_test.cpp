// The window's tables: the menu tree's structure and its exceptional
// entries, the toolbar, the function bar and the search bar with their exact
// texts, and the commands they name.

#include "core/window/commandids.h"
#include "core/window/keymap.h"
#include "core/window/mainwindowtables.h"

#include <QSet>

#include <gtest/gtest.h>

using namespace MainWindowTables;

namespace {

QString q(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

} // namespace

TEST(MenuTree, TopMenusInOrderWithTheirCaptions)
{
    QStringList names, captions;
    for (const MenuEntry &e : menuTree()) {
        if (e.level == 0) {
            names << e.name;
            captions << e.caption;
        }
    }
    EXPECT_EQ(names, (QStringList{"MenuFile", "MenuEdit", "MenuDisp", "MenuOption", "MenuHelp", "MenuBrowse"}));
    EXPECT_EQ(captions, (QStringList{q("ファイル(&F)"), q("編集(&E)"), q("表示(&V)"), q("オプション(&O)"),
                                     q("ヘルプ(&H)"), q("ブラウザボタン用")}));
}

TEST(MenuTree, EveryEntryHasAUniqueNameAnExistingParentAndTheRightLevel)
{
    QSet<QString> seen;
    QSet<QString> menus; // entries that hold others
    const QList<MenuEntry> &tree = menuTree();
    for (int i = 0; i < tree.size(); ++i) {
        const MenuEntry &e = tree.at(i);
        if (e.isSeparator()) {
            EXPECT_GE(e.level, 1) << i;
            EXPECT_TRUE(e.command.isEmpty()) << i;
            continue;
        }
        EXPECT_FALSE(e.name.isEmpty()) << i;
        EXPECT_FALSE(seen.contains(e.objectName())) << e.objectName().toStdString();
        seen.insert(e.objectName());
        if (e.level == 0) {
            EXPECT_TRUE(e.parent.isEmpty());
            menus.insert(e.name);
        } else {
            EXPECT_TRUE(menus.contains(e.parent)) << e.objectName().toStdString() << " in " << e.parent.toStdString();
        }
        const bool holdsOthers = i + 1 < tree.size() && tree.at(i + 1).level > e.level;
        if (holdsOthers)
            menus.insert(e.name);
        // An entry runs a command exactly when it holds nothing (the recent
        // files' title excepted).
        if (e.name != QLatin1String("MenuFileRecentTitle")) {
            EXPECT_EQ(e.command.isEmpty(), e.level == 0 || holdsOthers) << e.objectName().toStdString();
        }
    }
}

TEST(MenuTree, SubMenusHoldTheirEntries)
{
    auto childrenOf = [](const QString &parent) {
        QStringList names;
        for (const MenuEntry &e : menuTree()) {
            if (e.parent == parent)
                names << (e.isSeparator() ? QStringLiteral("-") : e.objectName());
        }
        return names;
    };
    EXPECT_EQ(childrenOf("MenuFileETC"), (QStringList{"MenuPartHTML_0", "MenuPartHTML_1", "MenuPartHTML_2"}));
    EXPECT_EQ(childrenOf("MenuDispBrowserF"),
              (QStringList{"MenuDispBrowser_0", "MenuDispBrowser_1", "MenuDispMHT", "-", "MenuEditOpenURL"}));
    EXPECT_EQ(childrenOf("MenuBrowse"), (QStringList{"MenuBrowserOpen_0", "MenuBrowserOpen_1"}));
    EXPECT_EQ(childrenOf("MenuOption"), (QStringList{"MenuSettingBase"}));
    const QStringList disp = childrenOf("MenuDisp");
    EXPECT_EQ(disp.mid(0, 8),
              (QStringList{"MenuDispChange_0", "MenuDispChange_1", "MenuDispChange_2", "MenuDispChange_3",
                           "MenuDispChange_4", "MenuDispPreview", "MenuDispTree", "-"}));
}

TEST(MenuTree, HiddenEntriesAreExactlyTheOnesNothingShowsAtStart)
{
    QStringList hidden;
    for (const MenuEntry &e : menuTree()) {
        if (e.hidden && e.name != QLatin1String("MenuFileRecent"))
            hidden << e.objectName();
    }
    EXPECT_EQ(hidden, (QStringList{"MenuFileRecentTitle", "MenuCutDateInfo", "MenuHelpKoshin", "MenuBrowse"}));
}

TEST(MenuTree, FiftyOneHiddenRecentFileEntriesEndTheFileMenu)
{
    int count = 0;
    for (const MenuEntry &e : menuTree()) {
        if (e.name != QLatin1String("MenuFileRecent"))
            continue;
        EXPECT_EQ(e.index, count);
        EXPECT_EQ(e.caption, QStringLiteral("RecentFile"));
        EXPECT_TRUE(e.hidden);
        EXPECT_EQ(e.parent, QStringLiteral("MenuFile"));
        EXPECT_EQ(e.command, Cmd::recentFile(count));
        ++count;
    }
    EXPECT_EQ(count, 51);
    EXPECT_EQ(Cmd::recentFile(50), QStringLiteral("RecentFile50"));
}

TEST(MenuTree, OnlyTheTreeEntryStartsChecked)
{
    QStringList checkable, checked;
    for (const MenuEntry &e : menuTree()) {
        if (e.checkable)
            checkable << e.name;
        if (e.checked)
            checked << e.name;
    }
    EXPECT_EQ(checkable, (QStringList{"MenuDispTree", "MenuDispSetMostFront", "MenuDispViewMode"}));
    EXPECT_EQ(checked, (QStringList{"MenuDispTree"}));
}

TEST(MenuTree, ShortcutKeysOfTheMenus)
{
    QStringList withKeys;
    for (const MenuEntry &e : menuTree()) {
        if (!e.shortcut.isEmpty()) {
            withKeys << e.objectName() + QLatin1Char('=') + e.shortcut;
            EXPECT_NE(KeyMap::parse(e.shortcut).key(), Qt::Key_unknown) << e.shortcut.toStdString();
        }
    }
    EXPECT_EQ(withKeys, (QStringList{"MenuNewDocument=Ctrl+N", "MenuOpenFile=Ctrl+O", "MenuOverRideWrite=Ctrl+S",
                                     "MenuFileHTMLWizAgain=Ctrl+M", "MenuQuitMe=Ctrl+W", "MenuEditItem=Ctrl+E",
                                     "MenuEditCopyOnlyText=Ctrl+G", "MenuDispBrowser_0=Ctrl+B", "MenuDispMHT=Ctrl+D",
                                     "MenuEditOpenURL=Ctrl+U", "MenuDispChange_4=F4", "MenuDispPreview=Ctrl+F4",
                                     "MenuDispHelpWeb=F1"}));
}

TEST(MenuTree, DisplayOnlyKeyTextsFollowATab)
{
    struct Case {
        const char *name;
        const char *shown;
    };
    const Case cases[] = {
        {"MenuDeleteItem", "カードの削除(&D)\tDel"},
        {"MenuEditCopy", "コピー(&C)\tCtrl+C"},
        {"MenuEditCut", "切り取り(&T)\tCtrl+X"},
        {"MenuEditPaste", "ペースト(&P)\tCtrl+V"},
        {"MenuMakeNewItem", "新規カード作成(&N)...\tShift+Ctrl+A"},
        {"MenuEditSelectAll", "すべて選択(&A)\tCtrl+A"},
    };
    int withText = 0;
    for (const MenuEntry &e : menuTree())
        withText += e.shortcutText.isEmpty() ? 0 : 1;
    EXPECT_EQ(withText, int(std::size(cases)));
    for (const Case &c : cases) {
        const MenuEntry *e = findMenuEntry(QLatin1String(c.name));
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->displayCaption(), q(c.shown));
        EXPECT_TRUE(e->shortcut.isEmpty()) << c.name; // shown only; the keys act elsewhere
    }
}

TEST(MenuTree, CaptionsWithUnusualCharactersStandAsWritten)
{
    struct Case {
        const char *name;
        int index;
        const char *caption;
    };
    const Case cases[] = {
        {"MenuOpenFile", -1, "開く(&3)..."},
        {"MenuFileHTMLWizAgain", -1, "HTMLウイザード再実行"},
        {"MenuEditCopyOnlyText", -1, "コピー(項目3のみ)(&G)"},
        {"MenuEditToday", -1, "日付を削除(又は今日に)(&Y)"},
        {"MenuDispMHT", -1, "&3 ホームページ(HTML,mht,URL)"},
        {"MenuEditOpenURL", -1, "&4 項目2をURLとして開く"},
        {"MenuDispChange", 4, "表示モード順次切替(&M)"},
        {"MenuHelpKoshin", -1, "更新風鐸とは...(&F)"},
        {"MenuQuitMe", -1, "終了(&0)"},
        {"MenuBrowserOpen", 1, "すべてのカード"},
    };
    for (const Case &c : cases) {
        const MenuEntry *e = findMenuEntry(QLatin1String(c.name), c.index);
        ASSERT_NE(e, nullptr) << c.name;
        EXPECT_EQ(e->caption, q(c.caption)) << c.name;
    }
    EXPECT_EQ(findMenuEntry("MenuDispChange", 5), nullptr);
    EXPECT_EQ(findMenuEntry("MenuDispChange"), nullptr);
}

TEST(MenuTree, BrowserPopUpRunsTheSameCommandsAsTheEditMenu)
{
    EXPECT_EQ(findMenuEntry("MenuBrowserOpen", 0)->command, findMenuEntry("MenuDispBrowser", 0)->command);
    EXPECT_EQ(findMenuEntry("MenuBrowserOpen", 1)->command, findMenuEntry("MenuDispBrowser", 1)->command);
}

TEST(Toolbar, ButtonsTooltipsAndCommands)
{
    struct Case {
        const char *key;
        const char *tooltip;
        QString command;
    };
    const Case cases[] = {
        {"tbNewDocument", "新規に「ファイル」を作成します", Cmd::NewDocument},
        {"tbLoadDocument", "ファイルを読み込みます", Cmd::OpenDocument},
        {"tbSaveDocument", "ファイルを上書き保存します", Cmd::SaveDocument},
        {"tbBrowser", "ブラウザでカードを表示します", Cmd::BrowserMenu},
        {"tbHTMLWiz", "HTMLウイザードを呼び出します", Cmd::HtmlWizard},
        {"tbNewCard", "新規カードを作成します", Cmd::NewCard},
        {"tbCut", "切り取り", Cmd::Cut},
        {"tbCopy", "コピー", Cmd::Copy},
        {"tbPaste", "ペースト", Cmd::Paste},
        {"tbViewMode", "閲覧モードのON/OFF", Cmd::BrowseMode},
        {"tbListMode", "リストの表示形式を変更します", Cmd::ViewNextMode},
        {"tbSetMostFront", "最前面表示にします", Cmd::MostFrontButton},
        {"tbPreView", "プレビューウインドウの表示域を切り替えます", Cmd::PreviewNext},
    };
    const QList<ToolbarButton> &buttons = toolbar();
    ASSERT_EQ(buttons.size(), qsizetype(std::size(cases)));
    for (qsizetype i = 0; i < buttons.size(); ++i) {
        EXPECT_EQ(buttons[i].key, QLatin1String(cases[i].key));
        EXPECT_EQ(buttons[i].tooltip, q(cases[i].tooltip));
        EXPECT_EQ(buttons[i].command, cases[i].command) << cases[i].key;
        EXPECT_FALSE(buttons[i].icon.isEmpty());
        EXPECT_EQ(buttons[i].twoState,
                  buttons[i].key == QLatin1String("tbViewMode") || buttons[i].key == QLatin1String("tbSetMostFront"));
    }
    EXPECT_EQ(buttons[3].popupMenu, QStringLiteral("MenuDispBrowserF"));
}

TEST(Toolbar, DropDownEntries)
{
    auto entries = [](const char *key) {
        QStringList out;
        for (const ToolbarButton &b : toolbar()) {
            if (b.key == QLatin1String(key)) {
                for (const ToolbarDropDownEntry &d : b.dropDown)
                    out << d.key + QLatin1Char('=') + d.caption + QLatin1Char('>') + d.command
                               + (d.hidden ? QStringLiteral(" hidden") : QString());
            }
        }
        return out;
    };
    EXPECT_EQ(entries("tbLoadDocument"), (QStringList{q("tbLoadQLW=QLW形式>LoadQlw"), q("tbLoadCSV=CSV形式>LoadCsv"),
                                                      q("tbLoadDBFS=DBFS形式>LoadDbfs hidden")}));
    EXPECT_EQ(entries("tbSaveDocument"),
              (QStringList{q("tbSaveQLW=QLW形式>SaveQlw"), q("tbSaveCSV=CSV形式>SaveCsv"),
                           q("tbSaveDBFS=DBFS形式>SaveDbfs hidden"), q("tbSaveHTML=HTML形式>SaveHtml")}));
    EXPECT_EQ(entries("tbListMode"), (QStringList{q("tbLargeIcon=大きいアイコン>ViewLargeIcons"),
                                                  q("tbSmallIcon=小さいアイコン>ViewSmallIcons"),
                                                  q("tbList=一覧>ViewList"), q("tbDes=詳細>ViewDetails")}));
    EXPECT_EQ(entries("tbPreView"), (QStringList{q("tbPVNone=なし>PreviewNone"), q("tbPV12=1:2>Preview12"),
                                                 q("tbPV11=1:1>Preview11"), q("tbPV21=2:1>Preview21")}));
    // The list-mode entries run the same commands as the menu's view entries.
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(findMenuEntry("MenuDispChange", i)->command, toolbar()[10].dropDown[i].command);
}

TEST(FunctionBar, PanelsTooltipsAndCommands)
{
    struct Case {
        const char *text;
        const char *tooltip;
        QString command;
    };
    const Case cases[] = {
        {"ヘルプ", "ヘルプを表示します", Cmd::HelpOnline},
        {"ｶｰﾄﾞ作成", "選択位置に新規にカードを作成します", Cmd::NewCard},
        {"編集", "選択しているカードを編集します", Cmd::EditCard},
        {"表示ﾓｰﾄﾞ", "カードの表示方法を変更します(4種類)", Cmd::ViewNextMode},
        {"更新", "ソートなどを正しく反映します。", Cmd::Refresh},
        {"検索", "先頭からカードを検索します", Cmd::SearchTopPrompt},
        {"抽出", "キーワードを含むカードを抽出します", Cmd::ExtractPrompt},
        {"CUT", "選択中のカードを切り取ります", Cmd::Cut},
        {"COPY", "選択中のカードをコピーします", Cmd::Copy},
        {"PASTE", "選択中のカードをペーストします", Cmd::Paste},
        {"解除", "抽出状態を解除します", Cmd::EndExtraction},
    };
    const QList<FunctionBarPanel> &panels = functionBar();
    ASSERT_EQ(panels.size(), qsizetype(std::size(cases)));
    for (qsizetype i = 0; i < panels.size(); ++i) {
        EXPECT_EQ(panels[i].text, q(cases[i].text));
        EXPECT_EQ(panels[i].tooltip, q(cases[i].tooltip));
        EXPECT_EQ(panels[i].command, cases[i].command) << cases[i].text;
        EXPECT_EQ(functionBarCommand(panels[i].text, false), cases[i].command);
    }
}

TEST(FunctionBar, ClicksDoNothingWhenSwitchedOffOrUnmatched)
{
    for (const FunctionBarPanel &p : functionBar())
        EXPECT_TRUE(functionBarCommand(p.text, true).isEmpty()) << p.text.toStdString();
    EXPECT_TRUE(functionBarCommand(q("存在しない"), false).isEmpty());
    EXPECT_TRUE(functionBarCommand(QString(), false).isEmpty());
    // The texts are matched exactly: full-width letters are another panel.
    EXPECT_TRUE(functionBarCommand(q("ＣＵＴ"), false).isEmpty());
    EXPECT_TRUE(functionBarCommand(q("cut"), false).isEmpty());
}

TEST(SearchBar, ControlsCaptionsAndTooltips)
{
    QStringList rows;
    for (const SearchBarControl &c : searchBar())
        rows << c.objectName() + QLatin1Char('|') + c.caption + QLatin1Char('|') + c.tooltip + QLatin1Char('|')
                    + c.command;
    EXPECT_EQ(rows, (QStringList{
                        q("btnSearch_0|◆|先頭を検索|SearchTop"),
                        q("btnSearch_1|▲|上方向に検索|SearchUp"),
                        q("btnSearch_2|▼|下方向に検索|SearchDown"),
                        q("btnSearchOnlyItem|§|キーワードを含むカードを抽出する|Extract"),
                        q("btnSearchOnlyItemQuit|×|抽出状態を解除する|EndExtraction"),
                        q("chkSeiki||正規表現を使用する場合はチェックします|Regex"),
                    }));
    EXPECT_EQ(searchBoxTooltip(), q("検索キーワードを入力します(Enterで検索・Ctrl+Enterで抽出)"));
    EXPECT_EQ(groupListCaption(), q("グループ名"));
    EXPECT_EQ(allGroupsText(), q("全て"));
    EXPECT_EQ(allGroupsKey(), QStringLiteral("Root"));
}

TEST(CommandIds, EveryIdOnceAndTheWindowsOwnAmongThem)
{
    const QStringList ids = allCommandIds();
    EXPECT_EQ(QSet<QString>(ids.begin(), ids.end()).size(), ids.size());
    for (const QString &id : windowCommandIds())
        EXPECT_TRUE(ids.contains(id)) << id.toStdString();
    // Commands named only by a key or a search-bar control are there too.
    for (const QString &id :
         {QString(Cmd::Escape), QString(Cmd::FocusSearch), QString(Cmd::RenameCard), QString(Cmd::SearchBoxToList),
          QString(Cmd::Regex), QString(Cmd::SearchUp), QString(Cmd::ExtractAndSelect), QString(Cmd::BrowseSpace)})
        EXPECT_TRUE(ids.contains(id)) << id.toStdString();
}

TEST(CommandIds, ControlObjectNames)
{
    EXPECT_EQ(controlObjectName("lvData", 1), QStringLiteral("lvData_1"));
    EXPECT_EQ(controlObjectName("MenuFile", -1), QStringLiteral("MenuFile"));
    EXPECT_EQ(controlObjectName("MenuFileRecent", 0), QStringLiteral("MenuFileRecent_0"));
}
