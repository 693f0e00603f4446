#pragma once
// EditForm: the window in which one card is edited. It shows the group box,
// the title, remarks and content boxes with their labels, the menus, the
// toolbar with its search strip and the function bar, all built from the
// editor's tables (editortables.h) by the ActionBuilder, runs every trigger
// and key through its command registry, and forwards what the person does to
// its EditSession, which holds the card's key and decides. Up to 100 are open at once, each in
// its slot of the table of open editors (EditWindows).
//
//     auto *editor = new EditForm(context, listIndex, key, slot);
//     if (!editor->load()) { delete editor; return; }
//     context.windows().put(slot, editor);
//     editor->showEditor();
//
// The window deletes itself when it closes (CloseEditor); it frees its slot
// first.

#include "core/editor/editsession.h"
#include "core/editor/editwindows.h"
#include "core/window/commandregistry.h"

#include <QMainWindow>
#include <QPointer>

#include <array>

class ActionBuilder;
class EditorContext;
class FunctionBar;
class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QStatusBar;
class QToolBar;
class QToolButton;
class WindowGeometry;

class EditForm : public QMainWindow, public EditorWindow
{
    Q_OBJECT
public:
    EditForm(EditorContext &context, int listIndex, const QString &key, int slot, QWidget *parent = nullptr);
    ~EditForm() override;

    // Loading: the card into the boxes, the settings into the controls, the
    // window size. False when the list holds no card with the key.
    bool load();

    EditSession &session() { return m_session; }
    int Index() const { return m_session.Index(); }
    int ArrayIndex() const { return m_session.ArrayIndex(); }
    bool ChangeCard() const { return m_session.ChangeCard(); }
    // Which box last had the focus: 0 title, 1 remarks, 2 content.
    int NowSelectedText() const { return m_nowSelected; }
    int LongestLabel() const { return m_longestLabel; }

    // EditorWindow
    QString EditingKey() const override { return m_session.EditingKey(); }
    void bringToFront() override;
    void setMostFront(bool on) override;
    void showEditor() override;
    void closeEditor() override;
    void setShown(bool shown) override;

    // The commands (menus, toolbar, function bar and keys run these).
    CommandRegistry &commands() { return m_commands; }
    void run(const QString &command) { m_commands.trigger(command); }
    // MenuGo: apply and close.
    void applyAndClose();
    // CommitEdit: apply without closing; save: then the card file is saved.
    void commitEdit(bool save);
    // MenuCancel: close without applying.
    void discard() { closeEditor(); }
    // btnSearchDown: search the content box.
    void searchContent(bool forward);
    void runExternalEditor();

    // --- Controls by their system names
    QLineEdit *titleBox() const { return m_title; }
    QLineEdit *remarksBox() const { return m_remarks; }
    QPlainTextEdit *contentBox() const { return m_content; }
    QWidget *textBox(int index) const;
    QLabel *itemLabel(int index) const { return m_labels.at(index); }
    QComboBox *groupBox() const { return m_group; }
    QLabel *atMarkLabel() const { return m_atMark; }
    QLineEdit *searchBox() const { return m_search; }
    QToolButton *searchButton(int index) const;
    QAction *menuAction(const QString &name, int index = -1) const;
    QMenu *menu(const QString &name) const;
    QToolBar *toolbar() const { return m_toolbar; }
    QAction *toolbarAction(const QString &key) const;
    QStatusBar *functionBar() const;
    QLabel *functionPanel(const QString &text) const;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildMenus();
    void buildToolbar();
    void buildClient();
    void buildFunctionBar();
    void wireCommands();
    void applySettings();
    void layOut();
    void finishClose();

    bool handleKey(QObject *watched, QKeyEvent *event);
    KeyScope scopeOf(QObject *watched) const;
    bool handleDrop(QEvent *event);
    int boxIndexOf(QObject *watched) const;
    void focusBox(int index, bool selectAll = false);
    void pageContent(bool down);
    void popUpEditMenu(const QPoint &globalPos);
    // The box an edit command works on: the focused one of this window, else
    // the one that last had the focus.
    QWidget *editTarget() const;
    QString selectedTextOf(int index) const;
    void replaceBox(EditBox box, const QString &text);
    void showWideCaret(int index);
    void syncMostFront(bool on);
    void applyTopmost(bool on);

    EditorContext &m_context;
    EditSession m_session;
    CommandRegistry m_commands;
    bool m_loading = false;
    bool m_closed = false;
    int m_nowSelected = 0;
    int m_longestLabel = 0;
    double m_fontSize = 9;

    QWidget *m_client = nullptr;
    QComboBox *m_group = nullptr;
    QLabel *m_atMark = nullptr;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_remarks = nullptr;
    QPlainTextEdit *m_content = nullptr;
    std::array<QLabel *, 3> m_labels{};
    QLineEdit *m_search = nullptr;
    std::array<QToolButton *, 2> m_searchButtons{};
    QToolBar *m_toolbar = nullptr;
    FunctionBar *m_functionBar = nullptr;
    QMenu *m_editMenu = nullptr;
    ActionBuilder *m_actions = nullptr;
    WindowGeometry *m_geometry = nullptr;
    class CaretStyle *m_caretStyle = nullptr;
};
