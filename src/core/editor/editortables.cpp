#include "core/editor/editortables.h"

#include <algorithm>
#include <iterator>

namespace {

QList<MenuEntry> buildMenus()
{
    MenuBuilder b;
    b.menu(QStringLiteral("MenuFile"), QStringLiteral("ファイル(&F)"))
        .item(QStringLiteral("MenuGo"), QStringLiteral("反映(&R)"), EditorCmd::Go)
        .item(QStringLiteral("MenuCancel"), QStringLiteral("破棄(&C)"), EditorCmd::Cancel);

    b.menu(QStringLiteral("MenuEdit"), QStringLiteral("編集(&E)"))
        .item(QStringLiteral("MenuEditUndo"), QStringLiteral("元に戻す(&U)"), EditorCmd::Undo)
        .separator()
        .item(QStringLiteral("MenuEditCut"), QStringLiteral("切り取り(&T)"), EditorCmd::Cut)
        .item(QStringLiteral("MenuEditCopy"), QStringLiteral("コピー(&C)"), EditorCmd::Copy)
        .item(QStringLiteral("MenuEditPaste"), QStringLiteral("貼り付け(&P)"), EditorCmd::Paste)
        .item(QStringLiteral("MenuEditDel"), QStringLiteral("削除(&D)"), EditorCmd::Delete)
        .separator()
        .item(QStringLiteral("MenuEditAllSelect"), QStringLiteral("すべて選択(&A)"), EditorCmd::SelectAll)
        .item(QStringLiteral("MenuEditChangeGroup"), QStringLiteral("グループの変更(&G)"), EditorCmd::ChangeGroup)
        .separator()
        .indexed(QStringLiteral("MenuEditOpen"), 0, QStringLiteral("URLを開く(&O)"), EditorCmd::OpenUrl)
        .indexed(QStringLiteral("MenuEditOpen"), 1, QStringLiteral("選択範囲で抽出(&S)"), EditorCmd::ExtractSelection)
        .separator()
        .item(QStringLiteral("MenuEditEditor"), QStringLiteral("外部エディタ(&E)"), EditorCmd::ExternalEditor);

    b.menu(QStringLiteral("MenuDisp"), QStringLiteral("表示(&V)"))
        .item(QStringLiteral("MenuDispSetMostFront"), QStringLiteral("最前面表示(&S)"), EditorCmd::MostFront)
        .checkable()
        .item(QStringLiteral("MenuDispViewMode"), QStringLiteral("閲覧モード(&V)"), EditorCmd::BrowseMode)
        .checkable();
    return b.take();
}

QList<ToolbarButton> buildToolbar()
{
    auto button = [](const QString &key, const QString &caption, const QString &tooltip, const QString &command,
                     bool twoState = false) {
        ToolbarButton b;
        b.key = key;
        b.caption = caption;
        b.tooltip = tooltip;
        b.command = command;
        b.twoState = twoState;
        return b;
    };
    return {
        button(QStringLiteral("tbOK"), QStringLiteral("反映"), QStringLiteral("変更を反映します"), EditorCmd::Go),
        button(QStringLiteral("tbCancel"), QStringLiteral("破棄"), QStringLiteral("変更を破棄します"),
               EditorCmd::Cancel),
        button(QStringLiteral("tbEditor"), QStringLiteral("エディタ"), QStringLiteral("外部エディタを呼び出します"),
               EditorCmd::ExternalEditor),
        button(QStringLiteral("tbViewMode"), QStringLiteral("閲覧"), QStringLiteral("閲覧モードに切り替えます"),
               EditorCmd::BrowseMode),
        button(QStringLiteral("tbSetMostFront"), QStringLiteral("最前面"),
               QStringLiteral("ウインドウを最前面表示にします"), EditorCmd::MostFrontButton, true),
    };
}

QList<FunctionBarPanel> buildFunctionBar()
{
    return {
        {QStringLiteral("ヘルプ"), QStringLiteral("ヘルプを表示します"), QString()},
        {QStringLiteral("次検索"), QString(), EditorCmd::SearchForward},
        {QStringLiteral("反映"), QStringLiteral("カードに加えた変更を保存します"), EditorCmd::Go},
        {QStringLiteral("破棄"), QStringLiteral("カードに加えた変更を破棄します"), EditorCmd::Cancel},
    };
}

QList<SearchBarControl> buildSearchButtons()
{
    return {
        {QStringLiteral("btnSearchDown"), 0, QStringLiteral("▽"), QString(), EditorCmd::SearchForward},
        {QStringLiteral("btnSearchDown"), 1, QStringLiteral("△"), QString(), EditorCmd::SearchBackward},
    };
}

constexpr KeyScope Boxes[] = {KeyScope::TitleBox, KeyScope::RemarksBox, KeyScope::ContentBox, KeyScope::GroupBox};

bool isBox(KeyScope scope)
{
    return std::find(std::begin(Boxes), std::end(Boxes), scope) != std::end(Boxes);
}

QList<KeyBinding> buildKeys()
{
    auto window = [](const char *keys, const QString &command) {
        return KeyTable::window(QLatin1String(keys), command);
    };
    auto control = [](KeyScope scope, const char *keys, const QString &command,
                      KeyCondition condition = KeyCondition::Always) {
        return KeyTable::control(scope, QLatin1String(keys), command, condition);
    };
    QList<KeyBinding> k = {
        // The whole window, whichever control has the focus.
        window("Esc", EditorCmd::Escape),
        window("Shift+Enter", EditorCmd::Go),
        window("Alt+Enter", EditorCmd::Go),
        window("Ctrl+W", EditorCmd::Go),
        window("Ctrl+S", EditorCmd::Commit),
        window("Alt+S", EditorCmd::CommitAndSave),
        window("Ctrl+Shift+S", EditorCmd::CommitAndSave),
        window("Ctrl+1", EditorCmd::FocusTitle),
        window("Alt+1", EditorCmd::FocusTitle),
        window("Ctrl+2", EditorCmd::FocusRemarks),
        window("Alt+2", EditorCmd::FocusRemarks),
        window("Ctrl+3", EditorCmd::FocusContent),
        window("Alt+3", EditorCmd::FocusContent),
        window("F3", EditorCmd::SearchForward),
        window("Shift+F3", EditorCmd::SearchBackward),

        // The search box.
        control(KeyScope::SearchBox, "Enter", EditorCmd::SearchForward),
        control(KeyScope::SearchBox, "Ctrl+Enter", EditorCmd::SearchBackward),

        // Moving between the boxes.
        control(KeyScope::TitleBox, "Up", EditorCmd::ChangeGroup),
        control(KeyScope::TitleBox, "Down", EditorCmd::FocusRemarks),
        control(KeyScope::RemarksBox, "Up", EditorCmd::FocusTitle),
        control(KeyScope::RemarksBox, "Down", EditorCmd::FocusContent),
    };
    for (KeyScope scope : {KeyScope::TitleBox, KeyScope::RemarksBox})
        k.append(control(scope, "PgDown", EditorCmd::PageDown));
    for (KeyScope scope : Boxes) {
        k.append(control(scope, "Ctrl+F", EditorCmd::FocusSearch));
        k.append(control(scope, "Menu", EditorCmd::EditMenuPopup));
        // Browse mode: Space pages on, z pages back.
        k.append(control(scope, "Space", EditorCmd::PageDown, KeyCondition::BrowseMode));
        k.append(control(scope, "Shift+Space", EditorCmd::PageDown, KeyCondition::BrowseMode));
        k.append(control(scope, "Z", EditorCmd::PageUp, KeyCondition::BrowseMode));
        k.append(control(scope, "Shift+Z", EditorCmd::PageUp, KeyCondition::BrowseMode));
    }
    return k;
}

} // namespace

namespace EditorTables {

const WindowTables &tables()
{
    static const WindowTables table = [] {
        WindowTables t;
        t.window = QStringLiteral("EditForm");
        t.menus = buildMenus();
        t.toolbar = buildToolbar();
        t.functionBar = buildFunctionBar();
        t.searchBar = buildSearchButtons();
        t.keys = KeyTable(t.window, buildKeys(), t.menus);
        return t;
    }();
    return table;
}

const QList<MenuEntry> &menus()
{
    return tables().menus;
}

const QList<ToolbarButton> &toolbar()
{
    return tables().toolbar;
}

const QList<FunctionBarPanel> &functionBar()
{
    return tables().functionBar;
}

const QList<SearchBarControl> &searchButtons()
{
    return tables().searchBar;
}

const KeyTable &keys()
{
    return tables().keys;
}

QString functionBarCommand(const QString &panelText)
{
    return tables().functionBarCommand(panelText);
}

bool swallowsTyping(KeyScope focus, const KeyContext &context, const QString &text, Qt::KeyboardModifiers modifiers)
{
    if (!context.browseMode || !isBox(focus) || (modifiers & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    return !text.isEmpty() && text.at(0).isPrint();
}

} // namespace EditorTables
