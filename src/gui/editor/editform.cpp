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
#include "gui/common/qtcolours.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/topmost.h"
#include "gui/mainwindow/functionbar.h"

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
    : QMainWindow(parent), m_context(context), m_session(context, listIndex, key, slot)
{
    setObjectName(QStringLiteral("EditForm"));
    // An editor never ends the program by closing; the main window does.
    setAttribute(Qt::WA_QuitOnClose, false);
    m_caretStyle = new CaretStyle;
    m_caretStyle->setParent(this);

    buildClient();
    buildMenus();
    buildToolbar();
    buildFunctionBar();

    connect(&m_session, &EditSession::windowTitleChanged, this, &QWidget::setWindowTitle);
    connect(&m_session, &EditSession::boxReplaced, this, &EditForm::replaceBox);
    connect(&m_session, &EditSession::groupFocusRequested, this, [this] { m_group->setFocus(); });
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
    QMenu *current = nullptr;
    for (const EditorMenuEntry &e : EditorTables::menus()) {
        if (e.menu.isEmpty()) {
            current = menuBar()->addMenu(e.caption);
            current->setObjectName(e.name);
            current->menuAction()->setObjectName(e.name);
            m_menus.insert(e.name, current);
            continue;
        }
        if (!current)
            continue;
        if (e.isSeparator()) {
            current->addSeparator();
            continue;
        }
        QAction *action = current->addAction(e.caption);
        action->setObjectName(e.objectName());
        action->setCheckable(e.checkable);
        m_menuActions.insert(e.objectName(), action);
        const QString command = e.command;
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    }
    m_editMenu = m_menus.value(QStringLiteral("MenuEdit"));
    // The browse mode is the main window's: its check is read when the menu opens.
    if (QMenu *disp = m_menus.value(QStringLiteral("MenuDisp")))
        connect(disp, &QMenu::aboutToShow, this, [this] {
            if (QAction *a = menuAction(QStringLiteral("MenuDispViewMode")))
                a->setChecked(m_session.browseMode());
        });
}

void EditForm::buildToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("tbToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const EditorToolbarButton &b : EditorTables::toolbar()) {
        auto *action = new QAction(b.caption, m_toolbar);
        action->setObjectName(b.key);
        action->setToolTip(b.tooltip);
        action->setCheckable(b.twoState);
        m_toolbar->addAction(action);
        if (QWidget *button = m_toolbar->widgetForAction(action))
            button->setObjectName(b.key);
        m_toolbarActions.insert(b.key, action);
        const QString command = b.command;
        connect(action, &QAction::triggered, this, [this, command] { run(command); });
    }

    // The search strip, right of the last button.
    m_toolbar->addSeparator();
    m_search = new QLineEdit(m_toolbar);
    m_search->setObjectName(QStringLiteral("txtSearch"));
    m_search->setMinimumWidth(120);
    m_search->setMaximumWidth(220);
    m_search->installEventFilter(this);
    m_toolbar->addWidget(m_search);
    for (const EditorSearchButton &b : EditorTables::searchButtons()) {
        auto *button = new QToolButton(m_toolbar);
        button->setObjectName(b.objectName());
        button->setText(b.caption);
        button->setAutoRaise(true);
        const QString command = b.command;
        connect(button, &QToolButton::clicked, this, [this, command] { run(command); });
        m_toolbar->addWidget(button);
        m_searchButtons[b.index] = button;
    }
}

void EditForm::buildFunctionBar()
{
    m_functionBar = statusBar();
    m_functionBar->setObjectName(QStringLiteral("sbStatusBar"));
    m_functionBar->setSizeGripEnabled(true);
    for (const EditorFunctionPanel &p : EditorTables::functionBar())
        m_panels.append(FunctionBar::addPanel(m_functionBar, p.text, p.tooltip, this));
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
    const QSize outer = m_session.storedWindowSize();
    if (outer.width() > 0 && outer.height() > 0) {
        resize(outer - frameExtra());
        m_pendingOuterSize = frameExtra().isNull() ? outer : QSize();
    }
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

QSize EditForm::frameExtra() const
{
    if (!isVisible())
        return QSize(0, 0);
    return frameGeometry().size() - geometry().size();
}

QSize EditForm::outerNormalSize() const
{
    const QSize inner = (isMinimized() || isMaximized() || isFullScreen()) ? normalGeometry().size() : size();
    return inner + frameExtra();
}

bool EditForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
        // From now on the person's changes count.
        m_session.setTracking(true);
        [[fallthrough]];
    case QEvent::Move:
    case QEvent::Resize:
        // The outer size applies once the frame is known.
        if (m_pendingOuterSize.isValid() && !frameExtra().isNull()) {
            const QSize outer = m_pendingOuterSize;
            m_pendingOuterSize = QSize();
            if (!isMaximized() && !isFullScreen() && !isMinimized())
                resize(outer - frameExtra());
        }
        break;
    default: break;
    }
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
    if (QAction *menu = menuAction(QStringLiteral("MenuDispSetMostFront")))
        menu->setChecked(on);
    if (QAction *button = toolbarAction(QStringLiteral("tbSetMostFront")))
        button->setChecked(on);
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
    const QSize outer = outerNormalSize();
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

void EditForm::run(const QString &command)
{
    if (command == EditorCmd::Go)
        applyAndClose();
    else if (command == EditorCmd::Cancel)
        discard();
    else if (command == EditorCmd::Commit)
        commitEdit(false);
    else if (command == EditorCmd::CommitAndSave)
        commitEdit(true);
    else if (command == EditorCmd::SearchForward)
        searchContent(true);
    else if (command == EditorCmd::SearchBackward)
        searchContent(false);
    else if (command == EditorCmd::ExternalEditor)
        runExternalEditor();
    else if (command == EditorCmd::MostFront)
        m_session.toggleMostFrontFromMenu();
    else if (command == EditorCmd::MostFrontButton)
        m_session.toggleMostFrontFromButton();
    else if (command == EditorCmd::BrowseMode) {
        m_session.toggleBrowseMode();
        if (QAction *a = menuAction(QStringLiteral("MenuDispViewMode")))
            a->setChecked(m_session.browseMode());
    } else if (command == EditorCmd::ChangeGroup)
        m_group->setFocus(Qt::OtherFocusReason);
    else if (command == EditorCmd::OpenUrl)
        m_session.openSelection(0, selectedTextOf(m_nowSelected));
    else if (command == EditorCmd::ExtractSelection)
        m_session.openSelection(1, selectedTextOf(m_nowSelected));
    else {
        QWidget *target = editTarget();
        auto *line = qobject_cast<QLineEdit *>(target);
        auto *plain = qobject_cast<QPlainTextEdit *>(target);
        if (!line && !plain)
            return;
        if (command == EditorCmd::Undo)
            line ? line->undo() : plain->undo();
        else if (command == EditorCmd::Cut)
            line ? line->cut() : plain->cut();
        else if (command == EditorCmd::Copy)
            line ? line->copy() : plain->copy();
        else if (command == EditorCmd::Paste)
            line ? line->paste() : plain->paste();
        else if (command == EditorCmd::SelectAll)
            line ? line->selectAll() : plain->selectAll();
        else if (command == EditorCmd::Delete) {
            if (line && line->hasSelectedText())
                line->del();
            else if (plain && plain->textCursor().hasSelection()) {
                QTextCursor cursor = plain->textCursor();
                cursor.removeSelectedText();
                plain->setTextCursor(cursor);
            }
        }
    }
}

void EditForm::applyAndClose()
{
    const EditSession::Applied applied = m_session.applyAndClose();
    if (applied == EditSession::Applied::Refused)
        return;
    if (applied == EditSession::Applied::Recovered) {
        const QSize outer = outerNormalSize();
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
    return m_menuActions.value(index < 0 ? name : name + QLatin1Char('_') + QString::number(index));
}

QMenu *EditForm::menu(const QString &name) const
{
    return m_menus.value(name);
}

QLabel *EditForm::functionPanel(const QString &text) const
{
    for (QLabel *label : m_panels)
        if (label->text() == text)
            return label;
    return nullptr;
}
