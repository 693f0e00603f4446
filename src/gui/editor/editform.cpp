#include "gui/editor/editform.h"

#include "core/document/document.h"
#include "core/editor/editorcontext.h"
#include "core/editor/editorlayout.h"
#include "core/editor/editortables.h"
#include "core/editor/editortext.h"
#include "core/editor/editortexts.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"
#include "core/window/fontfamilies.h"
#include "gui/common/actionbuilder.h"
#include "gui/common/functionbar.h"
#include "gui/common/qtcolours.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/topmost.h"
#include "gui/common/windowgeometry.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QStatusBar>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

// The width of the text cursor of the single-line boxes, which have no
// setting of their own for it.
class CaretStyle : public QProxyStyle
{
public:
    int width = 1;
    int pixelMetric(PixelMetric metric, const QStyleOption *option, const QWidget *widget) const override
    {
        if (metric == PM_TextCursorWidth)
            return width;
        return QProxyStyle::pixelMetric(metric, option, widget);
    }
};

namespace {

// The client area: lays its children out whenever it is resized.
class EditorClient : public QWidget
{
public:
    std::function<void()> onResize;
    using QWidget::QWidget;

protected:
    void resizeEvent(QResizeEvent *event) override
    {
        QWidget::resizeEvent(event);
        if (onResize)
            onResize();
    }
};

QFont editorFont(const QString &family, double size)
{
    FontChoice choice;
    choice.family = FontFamilies::resolve(family, QFontDatabase::families());
    choice.pointSize = size > 0 ? size : 9;
    return QtDialogConversions::toQFont(choice);
}

void setBoxColours(QWidget *box, const QColor &text, const QColor &back)
{
    QPalette palette = box->palette();
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::Base, back);
    box->setPalette(palette);
}

} // namespace

EditForm::EditForm(EditorContext &context, int listIndex, const QString &key, int slot, QWidget *parent)
    : QMainWindow(parent), m_context(context), m_session(context, listIndex, key, slot),
      m_commands(EditorTables::tables())
{
    setObjectName(QStringLiteral("EditForm"));
    // An editor never ends the program by closing; the main window does.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_caretStyle = new CaretStyle;
    m_caretStyle->setParent(this);
    m_actions = new ActionBuilder(m_commands, this);
    m_geometry = new WindowGeometry(*this);

    wireCommands();
    buildClient();
    buildMenus();
    buildToolbar();
    buildFunctionBar();

    connect(&m_session, &EditSession::windowTitleChanged, this, &QWidget::setWindowTitle);
    connect(&m_session, &EditSession::boxReplaced, this, &EditForm::replaceBox);
    connect(&m_session, &EditSession::groupFocusRequested, this, [this] { m_group->setFocus(); });
    // The most-front state shows in the menu's check mark and the toolbar button alike.
    connect(&m_session, &EditSession::mostFrontChanged, this, &EditForm::syncMostFront);
    m_session.setContentSource([this] { return EditorText::toCardLineEnds(m_content->document()->toRawText()); });
}

EditForm::~EditForm()
{
    // Deleted without closing (a test, the end of the program): the slot
    // must not point here any more.
    m_context.windows().release(static_cast<EditorWindow *>(this));
}

// ---------------------------------------------------------------- building

void EditForm::buildClient()
{
    auto *client = new EditorClient(this);
    client->setObjectName(QStringLiteral("EditClient"));
    client->onResize = [this] { layOut(); };
    m_client = client;
    setCentralWidget(client);

    for (int i = 0; i < 3; ++i) {
        auto *label = new QLabel(client);
        label->setObjectName(QStringLiteral("lblEdit_%1").arg(i));
        label->installEventFilter(this);
        m_labels[i] = label;
    }
    m_group = new QComboBox(client);
    m_group->setObjectName(QStringLiteral("cmbGroup"));
    m_group->setEditable(true);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->setCompleter(nullptr);
    m_group->setMaxVisibleItems(25);
    m_group->installEventFilter(this);
    m_group->lineEdit()->installEventFilter(this);
    m_atMark = new QLabel(EditorTexts::AtMark, client);
    m_atMark->setObjectName(QStringLiteral("lblAtMark"));
    m_atMark->setAlignment(Qt::AlignCenter);

    m_title = new QLineEdit(client);
    m_title->setObjectName(QStringLiteral("txtEdit_0"));
    m_remarks = new QLineEdit(client);
    m_remarks->setObjectName(QStringLiteral("txtEdit_1"));
    m_content = new QPlainTextEdit(client);
    m_content->setObjectName(QStringLiteral("txtEdit_2"));
    m_content->setTabChangesFocus(false);
    for (QLineEdit *box : {m_title, m_remarks}) {
        box->setStyle(m_caretStyle);
        box->installEventFilter(this);
        box->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(box, &QWidget::customContextMenuRequested, this,
                [this, box](const QPoint &pos) { popUpEditMenu(box->mapToGlobal(pos)); });
    }
    m_content->installEventFilter(this);
    m_content->viewport()->installEventFilter(this);
    m_content->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_content, &QWidget::customContextMenuRequested, this,
            [this](const QPoint &pos) { popUpEditMenu(m_content->viewport()->mapToGlobal(pos)); });

    connect(m_title, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_loading)
            m_session.setTitle(text);
    });
    connect(m_remarks, &QLineEdit::textChanged, this, [this](const QString &text) {
        if (!m_loading)
            m_session.setRemarks(text);
    });
    connect(m_content, &QPlainTextEdit::textChanged, this, [this] {
        if (!m_loading)
            m_session.contentEdited();
    });
    connect(m_group, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (!m_loading)
            m_session.setGroup(text);
    });
    connect(m_group, &QComboBox::activated, this, [this] {
        if (m_loading)
            return;
        m_session.setGroup(m_group->currentText());
        m_session.groupPicked();
    });
}

void EditForm::buildMenus()
{
    m_actions->buildMenus(menuBar(), EditorTables::menus());
    m_editMenu = m_actions->menu(QStringLiteral("MenuEdit"));
    // The browse mode is the main window's: its check is read when the menu opens.
    if (QMenu *disp = m_actions->menu(QStringLiteral("MenuDisp")))
        connect(disp, &QMenu::aboutToShow, this,
                [this] { m_commands.setChecked(EditorCmd::BrowseMode, m_session.browseMode()); });
}

void EditForm::buildToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("tbToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    m_actions->buildToolbar(m_toolbar, EditorTables::toolbar());

    // The search strip, right of the last button.
    m_toolbar->addSeparator();
    m_search = new QLineEdit(m_toolbar);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setMinimumWidth(120);
    m_search->setMaximumWidth(220);
    m_search->installEventFilter(this);
    m_toolbar->addWidget(m_search);
    for (const SearchBarControl &c : EditorTables::searchButtons()) {
        auto *button = static_cast<QToolButton *>(m_actions->makeButton(c, m_toolbar));
        button->setAutoRaise(true);
        m_toolbar->addWidget(button);
        m_searchButtons[c.index] = button;
    }
}

void EditForm::buildFunctionBar()
{
    m_functionBar = m_actions->makeFunctionBar(EditorTables::functionBar(), this, [this] {
        return !m_context.document().settings().isOn(SettingKey::NoFunctionBarClickEvent);
    });
    m_functionBar->setSizeGripEnabled(true);
    setStatusBar(m_functionBar);
}

void EditForm::wireCommands()
{
    CommandRegistry &c = m_commands;
    c.wire(EditorCmd::Go, [this] { applyAndClose(); });
    c.wire(EditorCmd::Cancel, [this] { discard(); });
    c.wire(EditorCmd::Commit, [this] { commitEdit(false); });
    c.wire(EditorCmd::CommitAndSave, [this] { commitEdit(true); });
    c.wire(EditorCmd::Escape, [this] {
        if (m_session.escapeDiscards())
            discard();
    });
    c.wire(EditorCmd::SearchForward, [this] { searchContent(true); });
    c.wire(EditorCmd::SearchBackward, [this] { searchContent(false); });
    c.wire(EditorCmd::ExternalEditor, [this] { runExternalEditor(); });
    c.wire(EditorCmd::MostFront, [this] { m_session.toggleMostFrontFromMenu(); });
    c.wire(EditorCmd::MostFrontButton, [this] { m_session.toggleMostFrontFromButton(); });
    c.wire(EditorCmd::BrowseMode, [this] {
        m_session.toggleBrowseMode();
        m_commands.setChecked(EditorCmd::BrowseMode, m_session.browseMode());
    });
    c.wire(EditorCmd::ChangeGroup, [this] { m_group->setFocus(Qt::OtherFocusReason); });
    c.wire(EditorCmd::OpenUrl, [this] { m_session.openSelection(0, selectedTextOf(m_nowSelected)); });
    c.wire(EditorCmd::ExtractSelection, [this] { m_session.openSelection(1, selectedTextOf(m_nowSelected)); });
    c.wire(EditorCmd::FocusTitle, [this] { focusBox(0); });
    c.wire(EditorCmd::FocusRemarks, [this] { focusBox(1); });
    c.wire(EditorCmd::FocusContent, [this] { focusBox(2); });
    c.wire(EditorCmd::FocusSearch, [this] {
        m_search->selectAll();
        m_search->setFocus(Qt::ShortcutFocusReason);
    });
    c.wire(EditorCmd::EditMenuPopup, [this] { popUpEditMenu(m_title->mapToGlobal(QPoint(0, 0))); });
    c.wire(EditorCmd::PageDown, [this] { pageContent(true); });
    c.wire(EditorCmd::PageUp, [this] { pageContent(false); });

    // The edit commands work on the focused box of this window, else on the
    // one that had the focus last.
    auto onBox = [this](auto line, auto plain) {
        return [this, line, plain] {
            QWidget *target = editTarget();
            if (auto *box = qobject_cast<QLineEdit *>(target))
                (box->*line)();
            else if (auto *text = qobject_cast<QPlainTextEdit *>(target))
                (text->*plain)();
        };
    };
    c.wire(EditorCmd::Undo, onBox(&QLineEdit::undo, &QPlainTextEdit::undo));
    c.wire(EditorCmd::Cut, onBox(&QLineEdit::cut, &QPlainTextEdit::cut));
    c.wire(EditorCmd::Copy, onBox(&QLineEdit::copy, &QPlainTextEdit::copy));
    c.wire(EditorCmd::Paste, onBox(&QLineEdit::paste, &QPlainTextEdit::paste));
    c.wire(EditorCmd::SelectAll, onBox(&QLineEdit::selectAll, &QPlainTextEdit::selectAll));
    c.wire(EditorCmd::Delete, [this] {
        QWidget *target = editTarget();
        auto *line = qobject_cast<QLineEdit *>(target);
        auto *plain = qobject_cast<QPlainTextEdit *>(target);
        if (line && line->hasSelectedText()) {
            line->del();
        } else if (plain && plain->textCursor().hasSelection()) {
            QTextCursor cursor = plain->textCursor();
            cursor.removeSelectedText();
            plain->setTextCursor(cursor);
        }
    });
}

// ---------------------------------------------------------------- loading

bool EditForm::load()
{
    if (!m_session.load())
        return false;
    m_loading = true;
    applySettings();

    m_group->clear();
    m_group->addItems(m_session.groupChoices());
    m_group->setEditText(m_session.group());
    m_title->setText(m_session.title());
    m_remarks->setText(m_session.remarks());
    m_content->setPlainText(m_session.content());
    m_content->moveCursor(QTextCursor::Start);
    const EditorTitle::Selection selection = m_session.titleSelection();
    m_title->setSelection(int(selection.start), int(selection.length));
    m_loading = false;

    m_session.setChangeCard(false);
    setWindowTitle(m_session.windowTitle());
    return true;
}

void EditForm::applySettings()
{
    SettingsModel &settings = m_context.document().settings();
    const QString captions[3] = {settings.text(SettingKey::Column1), settings.text(SettingKey::Column2),
                                 settings.text(SettingKey::Column3)};
    m_fontSize = settings.number(SettingKey::EditorFontSize);
    const QFont font = editorFont(settings.text(SettingKey::EditorFont), m_fontSize);
    const QColor text = QtColours::toQColor(settings.colour(SettingKey::Color5));
    const QColor back = QtColours::toQColor(settings.colour(SettingKey::Color6));

    m_longestLabel = 0;
    for (int i = 0; i < 3; ++i) {
        m_labels[i]->setText(captions[i]);
        m_labels[i]->setFont(font);
        m_longestLabel = std::max(m_longestLabel, QFontMetrics(font).horizontalAdvance(captions[i]) + 4);
    }
    for (QWidget *box : {static_cast<QWidget *>(m_title), static_cast<QWidget *>(m_remarks),
                         static_cast<QWidget *>(m_content), static_cast<QWidget *>(m_group)}) {
        box->setFont(font);
        setBoxColours(box, text, back);
    }
    setBoxColours(m_group->lineEdit(), text, back);
    m_atMark->setFont(font);
    setBoxColours(m_search, text, back);

    // WindowEditSizeX/Y always, whatever SaveWindowSize says.
    m_geometry->restoreOuterSize(m_session.storedWindowSize());
    layOut();
}

void EditForm::layOut()
{
    if (!m_client)
        return;
    EditorLayoutInput in;
    in.client = m_client->size();
    in.labelWidth = m_longestLabel;
    in.atMarkWidth = m_atMark->sizeHint().width();
    in.rowHeight = std::max({m_title->sizeHint().height(), m_group->sizeHint().height(), 1});
    const EditorLayoutResult r = LayOutEditor(in);
    for (int i = 0; i < 3; ++i)
        m_labels[i]->setGeometry(r.labels[i]);
    m_group->setGeometry(r.group);
    m_atMark->setGeometry(r.atMark);
    m_title->setGeometry(r.title);
    m_remarks->setGeometry(r.remarks);
    m_content->setGeometry(r.content);
}

// ---------------------------------------------------------------- window

bool EditForm::event(QEvent *event)
{
    // From the first show on the person's changes count.
    if (event->type() == QEvent::Show)
        m_session.setTracking(true);
    return QMainWindow::event(event);
}

void EditForm::showEditor()
{
    show();
    raise();
    activateWindow();
    m_title->setFocus(Qt::OtherFocusReason);
    const EditorTitle::Selection selection = EditorTitle::initialSelection(m_title->text());
    m_title->setSelection(int(selection.start), int(selection.length));
}

void EditForm::bringToFront()
{
    if (isMinimized())
        showNormal();
    show();
    raise();
    activateWindow();
}

void EditForm::setShown(bool shown)
{
    setVisible(shown);
}

void EditForm::setMostFront(bool on)
{
    m_session.setMostFront(on);
}

void EditForm::syncMostFront(bool on)
{
    m_commands.setChecked(EditorCmd::MostFront, on);
    m_commands.setChecked(EditorCmd::MostFrontButton, on);
    applyTopmost(on);
}

void EditForm::applyTopmost(bool on)
{
    Topmost::apply(*this, on);
}

void EditForm::closeEditor()
{
    if (!m_closed)
        finishClose();
}

void EditForm::finishClose()
{
    m_closed = true;
    const QSize outer = m_geometry->outerNormalSize();
    hide();
    setWindowState(Qt::WindowNoState);
    m_session.storeWindowSize(outer, false);
    m_context.windows().release(static_cast<EditorWindow *>(this));
    deleteLater();
}

void EditForm::closeEvent(QCloseEvent *event)
{
    // The close box discards without asking.
    event->accept();
    if (!m_closed)
        finishClose();
}

// ---------------------------------------------------------------- commands

void EditForm::applyAndClose()
{
    const EditSession::Applied applied = m_session.applyAndClose();
    if (applied == EditSession::Applied::Refused)
        return;
    if (applied == EditSession::Applied::Recovered) {
        const QSize outer = m_geometry->outerNormalSize();
        hide();
        setWindowState(Qt::WindowNoState);
        m_session.storeWindowSize(outer, true);
    }
    closeEditor();
}

void EditForm::commitEdit(bool save)
{
    m_session.commit(save);
}

void EditForm::searchContent(bool forward)
{
    m_content->setFocus(Qt::OtherFocusReason);
    const QString needle = m_search->text();
    if (needle.isEmpty())
        return;
    // Positions of the raw text are the cursor's: one character per line end.
    const QString text = m_content->document()->toRawText();
    QTextCursor cursor = m_content->textCursor();
    const std::optional<EditorText::Range> hit =
        forward ? EditorText::findForward(text, needle, cursor.selectionStart(), cursor.hasSelection())
                : EditorText::findBackward(text, needle, cursor.selectionStart());
    if (!hit)
        return;
    cursor.setPosition(int(hit->start));
    cursor.setPosition(int(hit->start + hit->length), QTextCursor::KeepAnchor);
    m_content->setTextCursor(cursor);
    m_content->ensureCursorVisible();
}

void EditForm::runExternalEditor()
{
    m_session.runExternalEditor();
    // The round trip brought the main window forward; this editor follows.
    bringToFront();
}

// ---------------------------------------------------------------- boxes

QWidget *EditForm::textBox(int index) const
{
    switch (index) {
    case 0: return m_title;
    case 1: return m_remarks;
    case 2: return m_content;
    default: return nullptr;
    }
}

int EditForm::boxIndexOf(QObject *watched) const
{
    if (watched == m_title)
        return 0;
    if (watched == m_remarks)
        return 1;
    if (watched == m_content || watched == m_content->viewport())
        return 2;
    return -1;
}

void EditForm::focusBox(int index, bool selectAll)
{
    QWidget *box = textBox(index);
    if (!box)
        return;
    box->setFocus(Qt::OtherFocusReason);
    if (!selectAll)
        return;
    if (auto *line = qobject_cast<QLineEdit *>(box))
        line->selectAll();
    else if (auto *plain = qobject_cast<QPlainTextEdit *>(box))
        plain->selectAll();
}

void EditForm::pageContent(bool down)
{
    m_content->setFocus(Qt::OtherFocusReason);
    QKeyEvent press(QEvent::KeyPress, down ? Qt::Key_PageDown : Qt::Key_PageUp, Qt::NoModifier);
    QCoreApplication::sendEvent(m_content, &press);
}

void EditForm::popUpEditMenu(const QPoint &globalPos)
{
    if (m_editMenu)
        m_editMenu->popup(globalPos);
}

QWidget *EditForm::editTarget() const
{
    QWidget *focus = QApplication::focusWidget();
    if (focus && focus->window() == this && (qobject_cast<QLineEdit *>(focus) || qobject_cast<QPlainTextEdit *>(focus)))
        return focus;
    return textBox(m_nowSelected);
}

QString EditForm::selectedTextOf(int index) const
{
    if (index == 0 || index == 1)
        return static_cast<QLineEdit *>(textBox(index))->selectedText();
    return EditorText::toCardLineEnds(m_content->textCursor().selectedText());
}

void EditForm::showWideCaret(int index)
{
    const QSize caret = EditorText::caretSize(m_fontSize);
    if (index == 2)
        m_content->setCursorWidth(caret.width());
    else
        m_caretStyle->width = caret.width();
}

void EditForm::replaceBox(EditBox box, const QString &text)
{
    const bool loading = m_loading;
    m_loading = true;
    switch (box) {
    case EditBox::Title:
        if (m_title->text() != text)
            m_title->setText(text);
        break;
    case EditBox::Remarks:
        if (m_remarks->text() != text)
            m_remarks->setText(text);
        break;
    case EditBox::Content: m_content->setPlainText(text); break;
    }
    m_loading = loading;
}

QToolButton *EditForm::searchButton(int index) const
{
    return index == 0 || index == 1 ? m_searchButtons[index] : nullptr;
}

QAction *EditForm::menuAction(const QString &name, int index) const
{
    return m_actions->menuAction(name, index);
}

QMenu *EditForm::menu(const QString &name) const
{
    return m_actions->menu(name);
}

QAction *EditForm::toolbarAction(const QString &key) const
{
    return m_actions->toolbarAction(key);
}

QStatusBar *EditForm::functionBar() const
{
    return m_functionBar;
}

QLabel *EditForm::functionPanel(const QString &text) const
{
    return m_functionBar->panel(text);
}
