#include "core/editor/editortables.h"

namespace {

QString indexed(const QString &name, int index)
{
    return index < 0 ? name : name + QLatin1Char('_') + QString::number(index);
}

EditorMenuEntry menu(const QString &name, const QString &caption)
{
    return EditorMenuEntry{QString(), name, -1, caption, QString(), false};
}

EditorMenuEntry item(const QString &menu, const QString &name, const QString &caption, QLatin1String command,
                     int index = -1, bool checkable = false)
{
    return EditorMenuEntry{menu, name, index, caption, QString(command), checkable};
}

EditorMenuEntry separator(const QString &menu)
{
    return EditorMenuEntry{menu, QString(), -1, QStringLiteral("-"), QString(), false};
}

} // namespace

QString EditorMenuEntry::objectName() const
{
    return indexed(name, index);
}

QString EditorSearchButton::objectName() const
{
    return indexed(QStringLiteral("btnSearchDown"), index);
}

namespace EditorTables {

const QList<EditorMenuEntry> &menus()
{
    static const QString file = QStringLiteral("MenuFile");
    static const QString edit = QStringLiteral("MenuEdit");
    static const QString disp = QStringLiteral("MenuDisp");
    static const QList<EditorMenuEntry> table{
        menu(file, QStringLiteral("ファイル(&F)")),
        item(file, QStringLiteral("MenuGo"), QStringLiteral("反映(&R)"), EditorCmd::Go),
        item(file, QStringLiteral("MenuCancel"), QStringLiteral("破棄(&C)"), EditorCmd::Cancel),

        menu(edit, QStringLiteral("編集(&E)")),
        item(edit, QStringLiteral("MenuEditUndo"), QStringLiteral("元に戻す(&U)"), EditorCmd::Undo),
        separator(edit),
        item(edit, QStringLiteral("MenuEditCut"), QStringLiteral("切り取り(&T)"), EditorCmd::Cut),
        item(edit, QStringLiteral("MenuEditCopy"), QStringLiteral("コピー(&C)"), EditorCmd::Copy),
        item(edit, QStringLiteral("MenuEditPaste"), QStringLiteral("貼り付け(&P)"), EditorCmd::Paste),
        item(edit, QStringLiteral("MenuEditDel"), QStringLiteral("削除(&D)"), EditorCmd::Delete),
        separator(edit),
        item(edit, QStringLiteral("MenuEditAllSelect"), QStringLiteral("すべて選択(&A)"), EditorCmd::SelectAll),
        item(edit, QStringLiteral("MenuEditChangeGroup"), QStringLiteral("グループの変更(&G)"), EditorCmd::ChangeGroup),
        separator(edit),
        item(edit, QStringLiteral("MenuEditOpen"), QStringLiteral("URLを開く(&O)"), EditorCmd::OpenUrl, 0),
        item(edit, QStringLiteral("MenuEditOpen"), QStringLiteral("選択範囲で抽出(&S)"), EditorCmd::ExtractSelection,
             1),
        separator(edit),
        item(edit, QStringLiteral("MenuEditEditor"), QStringLiteral("外部エディタ(&E)"), EditorCmd::ExternalEditor),

        menu(disp, QStringLiteral("表示(&V)")),
        item(disp, QStringLiteral("MenuDispSetMostFront"), QStringLiteral("最前面表示(&S)"), EditorCmd::MostFront, -1,
             true),
        item(disp, QStringLiteral("MenuDispViewMode"), QStringLiteral("閲覧モード(&V)"), EditorCmd::BrowseMode, -1,
             true),
    };
    return table;
}

const QList<EditorToolbarButton> &toolbar()
{
    static const QList<EditorToolbarButton> table{
        {QStringLiteral("tbOK"), QStringLiteral("反映"), QStringLiteral("変更を反映します"), QString(EditorCmd::Go),
         false},
        {QStringLiteral("tbCancel"), QStringLiteral("破棄"), QStringLiteral("変更を破棄します"),
         QString(EditorCmd::Cancel), false},
        {QStringLiteral("tbEditor"), QStringLiteral("エディタ"), QStringLiteral("外部エディタを呼び出します"),
         QString(EditorCmd::ExternalEditor), false},
        {QStringLiteral("tbViewMode"), QStringLiteral("閲覧"), QStringLiteral("閲覧モードに切り替えます"),
         QString(EditorCmd::BrowseMode), false},
        {QStringLiteral("tbSetMostFront"), QStringLiteral("最前面"), QStringLiteral("ウインドウを最前面表示にします"),
         QString(EditorCmd::MostFrontButton), true},
    };
    return table;
}

const QList<EditorFunctionPanel> &functionBar()
{
    static const QList<EditorFunctionPanel> table{
        {QStringLiteral("ヘルプ"), QStringLiteral("ヘルプを表示します"), QString()},
        {QStringLiteral("次検索"), QString(), QString(EditorCmd::SearchForward)},
        {QStringLiteral("反映"), QStringLiteral("カードに加えた変更を保存します"), QString(EditorCmd::Go)},
        {QStringLiteral("破棄"), QStringLiteral("カードに加えた変更を破棄します"), QString(EditorCmd::Cancel)},
    };
    return table;
}

const QList<EditorSearchButton> &searchButtons()
{
    static const QList<EditorSearchButton> table{
        {0, QStringLiteral("▽"), QString(EditorCmd::SearchForward)},
        {1, QStringLiteral("△"), QString(EditorCmd::SearchBackward)},
    };
    return table;
}

QString functionBarCommand(const QString &panelText)
{
    for (const EditorFunctionPanel &panel : functionBar())
        if (panel.text == panelText)
            return panel.command;
    return QString();
}

} // namespace EditorTables
