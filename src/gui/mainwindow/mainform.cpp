#include "gui/mainwindow/mainform.h"

#include "core/common/version.h"
#include "core/window/commandids.h"
#include "core/window/fontfamilies.h"
#include "core/window/helpcommands.h"
#include "core/window/keymap.h"
#include "core/window/maincommands.h"
#include "core/window/mainlayout.h"
#include "core/window/mainwindowtables.h"
#include "gui/common/qtcolours.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/topmost.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/functionbar.h"
#include "gui/mainwindow/mainicons.h"
#include "gui/mainwindow/previewpane.h"
#include "gui/mainwindow/searchbar.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFontDatabase>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>

namespace {

// The group list's designed width; the layout rules keep it within half the
// client width.
constexpr int TreeWidth = 140;
constexpr int GroupKeyRole = Qt::UserRole + 1;

QFont fontFor(const FontChoice &choice)
{
    FontChoice resolved = choice;
    resolved.family = FontFamilies::resolve(choice.family, QFontDatabase::families());
    return QtDialogConversions::toQFont(resolved);
}

} // namespace

MainForm::MainForm(const Services &services, QWidget *parent)
    : QMainWindow(parent), m_commands(std::make_unique<MainCommands>()), m_services(services)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(Version::ProductName + QStringLiteral(" Ver.") + Version::dotted());
    setWindowIcon(MainIcons::listIcon(1));

    m_controller = std::make_unique<MainViewController>(*m_commands, m_services);
    HelpCommands::wire(*m_commands, m_services);
    wireWindowCommands();

    buildMenus();
    buildClientArea();
    followCommands();
    followViewState();

    resize(WindowTwips::toPixels(9480), WindowTwips::toPixels(6315));
    setGroups({});
    qApp->installEventFilter(this);
}

MainForm::~MainForm()
{
    qApp->removeEventFilter(this);
}

// ---------------------------------------------------------------- building

void MainForm::buildMenus()
{
    const QList<MenuEntry> &tree = MainWindowTables::menuTree();
    QMenu *top = nullptr;
    QMenu *sub = nullptr;
    for (int i = 0; i < tree.size(); ++i) {
        const MenuEntry &e = tree.at(i);
        const bool opensSub = e.level == 1 && i + 1 < tree.size() && tree.at(i + 1).level == 2;
        if (e.level == 0) {
            top = menuBar()->addMenu(e.caption);
            top->setObjectName(e.name);
            top->menuAction()->setObjectName(e.name);
            top->menuAction()->setVisible(!e.hidden);
            m_menus.insert(e.name, top);
            m_menuActions.insert(e.name, top->menuAction());
            sub = nullptr;
            continue;
        }
        QMenu *holder = e.level == 2 ? sub : top;
        if (!holder)
            continue;
        if (e.isSeparator()) {
            holder->addSeparator();
            continue;
        }
        if (opensSub) {
            sub = holder->addMenu(e.caption);
            sub->setObjectName(e.name);
            sub->menuAction()->setObjectName(e.name);
            sub->menuAction()->setVisible(!e.hidden);
            m_menus.insert(e.name, sub);
            m_menuActions.insert(e.name, sub->menuAction());
            continue;
        }
        QAction *action = holder->addAction(e.displayCaption());
        action->setObjectName(e.objectName());
        if (!e.shortcut.isEmpty())
            action->setShortcut(QKeySequence(e.shortcut, QKeySequence::PortableText));
        action->setCheckable(e.checkable);
        action->setVisible(!e.hidden);
        m_menuActions.insert(e.objectName(), action);
        if (e.command.isEmpty()) {
            action->setEnabled(false);
            continue;
        }
        m_actionsByCommand.insert(e.command, action);
        m_menuCommand.insert(action, e.command);
        syncAction(action, e.command);
        const QString command = e.command;
        connect(action, &QAction::triggered, this, [this, action, command] { runFromAction(action, command); });
    }
}

void MainForm::buildToolbar()
{
    m_toolbar = new QToolBar(m_client);
    m_toolbar->setObjectName(QStringLiteral("tbToolbar"));
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(20, 20));
    // Captions are not shown: icons and tooltips only.
    m_toolbar->setToolButtonStyle(Qt::ToolButtonIconOnly);

    for (const ToolbarButton &b : MainWindowTables::toolbar()) {
        if (b.separatorBefore)
            m_toolbar->addSeparator();
        auto *action = new QAction(MainIcons::icon(b.icon), QString(), m_toolbar);
        action->setObjectName(b.key);
        action->setToolTip(b.tooltip);
        action->setCheckable(b.twoState);
        m_toolbar->addAction(action);
        m_toolbarActions.insert(b.key, action);
        m_actionsByCommand.insert(b.command, action);
        syncAction(action, b.command);
        const QString command = b.command;
        connect(action, &QAction::triggered, this, [this, action, command] { runFromAction(action, command); });

        auto *button = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(action));
        if (button)
            button->setObjectName(b.key);
        if (b.dropDown.isEmpty() || !button)
            continue;
        auto *dropDown = new QMenu(button);
        dropDown->setObjectName(b.key + QStringLiteral("_menu"));
        for (const ToolbarDropDownEntry &d : b.dropDown) {
            QAction *entry = dropDown->addAction(d.caption);
            entry->setObjectName(d.key);
            m_toolbarActions.insert(d.key, entry);
            m_actionsByCommand.insert(d.command, entry);
            syncAction(entry, d.command);
            const QString entryCommand = d.command;
            connect(entry, &QAction::triggered, this,
                    [this, entry, entryCommand] { runFromAction(entry, entryCommand); });
        }
        button->setMenu(dropDown);
        button->setPopupMode(QToolButton::MenuButtonPopup);
    }
}

void MainForm::buildClientArea()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    buildToolbar();
    m_searchBar = new SearchBar(*m_commands, m_client);

    m_tree = new QTreeWidget(m_client);
    m_tree->setObjectName(QStringLiteral("tvTree"));
    m_tree->setColumnCount(1);
    m_tree->setHeaderLabels({MainWindowTables::groupListCaption()});
    m_tree->setRootIsDecorated(false);
    m_tree->setItemsExpandable(false);
    m_tree->setUniformRowHeights(true);
    m_tree->setIconSize(QSize(16, 16));
    connect(m_tree, &QTreeWidget::itemClicked, this, [this](QTreeWidgetItem *item) {
        if (item)
            emit groupClicked(item->data(0, GroupKeyRole).toString(), item->text(0));
    });

    for (int i = 0; i < 2; ++i) {
        auto *list = new CardListView(m_client);
        list->setObjectName(MainWindowTables::controlObjectName(QStringLiteral("lvData"), i));
        m_lists[i] = list;
        connect(list, &CardListView::cardSelectionChanged, this, [this, i] {
            if (i == currentListIndex())
                refreshPreview();
        });
        connect(list, &CardListView::cardDoubleClicked, this, [this] { m_commands->trigger(Cmd::EditCard); });
        connect(list, &CardListView::contextMenuAt, this, [this](const QPoint &globalPos) {
            if (QMenu *edit = menu(QStringLiteral("MenuEdit")))
                edit->popup(globalPos);
        });
        // The other list takes over the column widths when this one loses the focus.
        connect(list, &CardListView::focusLeft, this,
                [this, i] { m_lists[1 - i]->setColumnWidths(m_lists[i]->columnWidths()); });
    }
    m_lists[1]->hide();

    m_preview = new PreviewPane(m_client);
    m_preview->hide();

    m_functionBar = new FunctionBar(m_client);
    m_functionBar->setObjectName(QStringLiteral("sbStatusBar"));
    connect(m_functionBar, &FunctionBar::panelClicked, this, [this](const QString &text) {
        const QString command = MainWindowTables::functionBarCommand(text, m_functionBarClicksOff);
        if (!command.isEmpty())
            m_commands->trigger(command);
    });
}

void MainForm::wireWindowCommands()
{
    m_commands->wire(Cmd::Quit, [this] { close(); });
    m_commands->wire(Cmd::BrowserMenu, [this] {
        QMenu *browser = menu(QStringLiteral("MenuDispBrowserF"));
        QToolButton *button = toolbarButton(QStringLiteral("tbBrowser"));
        if (browser && button)
            browser->popup(button->mapToGlobal(QPoint(0, button->height())));
    });
}

void MainForm::syncAction(QAction *action, const QString &command)
{
    action->setEnabled(m_commands->isEnabled(command));
    if (action->isCheckable())
        action->setChecked(m_commands->isChecked(command));
    if (m_menuCommand.contains(action)) {
        if (const std::optional<bool> visible = m_commands->visibleOverride(command))
            action->setVisible(*visible);
        if (const std::optional<QString> text = m_commands->textOverride(command))
            action->setText(*text);
    }
}

void MainForm::followCommands()
{
    auto resync = [this](const QString &id) {
        for (auto it = m_actionsByCommand.constFind(id); it != m_actionsByCommand.constEnd() && it.key() == id; ++it)
            syncAction(it.value(), id);
    };
    connect(m_commands.get(), &MainCommands::enabledChanged, this, resync);
    connect(m_commands.get(), &MainCommands::checkedChanged, this, resync);
    connect(m_commands.get(), &MainCommands::visibleChanged, this, resync);
    connect(m_commands.get(), &MainCommands::textChanged, this, resync);
}

void MainForm::followViewState()
{
    MainViewController *state = m_controller.get();
    connect(state, &MainViewController::listViewModeChanged, this, &MainForm::showListViewMode);
    connect(state, &MainViewController::previewModeChanged, this, [this] {
        relayout();
        refreshPreview();
    });
    connect(state, &MainViewController::treeVisibleChanged, this, &MainForm::relayout);
    connect(state, &MainViewController::mostFrontChanged, this, [this](bool on) { Topmost::apply(*this, on); });
    connect(state, &MainViewController::extractionModeChanged, this, &MainForm::showExtractionList);
    auto onList = [this](int index, auto &&fn) {
        if (CardListView *list = cardList(index))
            fn(*list);
    };
    connect(state, &MainViewController::refreshRequested, this, [onList](int index, bool reflow) {
        onList(index, [reflow](CardListView &list) { list.refresh(reflow); });
    });
    connect(state, &MainViewController::clearSelectionRequested, this,
            [onList](int index) { onList(index, [](CardListView &list) { list.clearSelectionAndCurrent(); }); });
    connect(state, &MainViewController::selectAllRequested, this,
            [onList](int index) { onList(index, [](CardListView &list) { list.selectAllCards(); }); });
    connect(state, &MainViewController::invertSelectionRequested, this,
            [onList](int index) { onList(index, [](CardListView &list) { list.invertSelection(); }); });
    connect(state, &MainViewController::listFocusRequested, this, [onList](int index) {
        onList(index, [](CardListView &list) { list.activeView()->setFocus(Qt::OtherFocusReason); });
    });
    connect(state, &MainViewController::searchBoxFocusRequested, this, &MainForm::focusKeyword);
    connect(state, &MainViewController::editMenuRequested, this, &MainForm::showEditMenuAtList);
}

void MainForm::runFromAction(QAction *action, const QString &command)
{
    m_commands->trigger(command);
    // A checkable action shows the command's state, not what the click toggled.
    if (action)
        syncAction(action, command);
}

// ---------------------------------------------------------------- cards

void MainForm::setCardModels(QAbstractItemModel *mainList, QAbstractItemModel *extractionList,
                             QItemSelectionModel *mainSelection, QItemSelectionModel *extractionSelection)
{
    m_lists[0]->setCardModel(mainList, mainSelection);
    m_lists[1]->setCardModel(extractionList, extractionSelection);
    for (int i = 0; i < 2; ++i)
        followModel(i);
    refreshPreview();
}

void MainForm::followModel(int i)
{
    // A change to the shown card (an editor applied it, a card was removed)
    // shows in the preview.
    for (const QMetaObject::Connection &c : std::as_const(m_modelConnections[i]))
        disconnect(c);
    m_modelConnections[i].clear();
    QAbstractItemModel *shown = m_lists[i]->viewModel();
    if (!shown)
        return;
    auto refreshIfCurrent = [this, i] {
        if (i == currentListIndex())
            refreshPreview();
    };
    m_modelConnections[i] << connect(shown, &QAbstractItemModel::modelReset, this, refreshIfCurrent);
    m_modelConnections[i] << connect(shown, &QAbstractItemModel::layoutChanged, this, refreshIfCurrent);
    m_modelConnections[i] << connect(shown, &QAbstractItemModel::dataChanged, this, refreshIfCurrent);
}

CardListView *MainForm::cardList(int index) const
{
    return (index == 0 || index == 1) ? m_lists[index] : nullptr;
}

int MainForm::currentListIndex() const
{
    return m_controller->currentListIndex();
}

void MainForm::setExtractionMode(bool on)
{
    m_controller->setExtractionMode(on);
}

bool MainForm::extractionMode() const
{
    return m_controller->extractionMode();
}

void MainForm::showCard(int list, qsizetype row)
{
    CardListView *view = cardList(list);
    QAbstractItemView *shown = view ? view->activeView() : nullptr;
    if (!shown || !shown->model() || row < 0 || row >= shown->model()->rowCount())
        return;
    shown->scrollTo(shown->model()->index(int(row), 0));
}

// ---------------------------------------------------------------- settings

void MainForm::applySettings(const AppliedSettings &s)
{
    const QFont listFont = fontFor(FontChoice{s.listFontName, s.listFontSize});
    std::array<int, 3> widths{};
    for (int i = 0; i < 3; ++i)
        widths[i] = std::max(0, WindowTwips::toPixels(s.columnWidthsTwips[i]));
    const QPalette palette = QApplication::palette();
    const AppliedSettings::ListColours colours[2] = {s.mainList, s.extractList};
    for (int i = 0; i < 2; ++i) {
        m_lists[i]->setColumnCaptions(s.columnCaptions);
        m_lists[i]->setListFont(listFont);
        m_lists[i]->setColours(QtColours::toQColor(colours[i].text, palette),
                               QtColours::toQColor(colours[i].back, palette));
        m_lists[i]->setColumnWidths(widths);
    }
    if (s.applyWindowSize)
        setOuterSize(QSize(WindowTwips::toPixels(s.windowWidthTwips), WindowTwips::toPixels(s.windowHeightTwips)));
    m_preview->setPreviewFont(fontFor(FontChoice{s.previewFontName, s.previewFontSize}));
    m_preview->setColours(QtColours::toQColor(s.preview.text, palette), QtColours::toQColor(s.preview.back, palette));
    m_controller->apply(s.viewMode, s.previewMode, s.treeVisible, s.regularExpression);
}

WindowState MainForm::storedState() const
{
    WindowState state;
    const std::array<int, 3> widths = m_lists[0]->columnWidths();
    for (int i = 0; i < 3; ++i)
        state.columnWidthsTwips[i] = WindowTwips::fromPixels(widths[i]);
    // The size of the normal state, also while minimised or maximised.
    const QSize inner = (isMinimized() || isMaximized() || isFullScreen()) ? normalGeometry().size() : size();
    const QSize outer = inner + frameExtra();
    state.windowWidthTwips = WindowTwips::fromPixels(outer.width());
    state.windowHeightTwips = WindowTwips::fromPixels(outer.height());
    state.normalState = windowState() == Qt::WindowNoState;
    state.listViewMode = int(m_controller->listViewMode());
    return state;
}

void MainForm::setSettingWriter(MainViewController::SettingWriter writer)
{
    m_controller->setSettingWriter(std::move(writer));
}

void MainForm::setOuterSize(const QSize &outer)
{
    const QSize frame = frameExtra();
    const QSize inner = outer - frame;
    if (inner.width() <= 0 || inner.height() <= 0)
        return;
    resize(inner);
    // The frame is known only once the window is on screen: until then the
    // outer size is kept, so that what is stored on close (outer size) is what
    // was applied, and the window does not grow by its frame every session.
    m_pendingOuterSize = frame.isNull() ? outer : QSize();
    m_pendingInnerSize = inner;
}

bool MainForm::event(QEvent *event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Move:
    case QEvent::Resize:
        // Someone else sized the window meanwhile: that size stands.
        if (m_pendingOuterSize.isValid() && size() != m_pendingInnerSize)
            m_pendingOuterSize = QSize();
        if (m_pendingOuterSize.isValid() && !frameExtra().isNull()) {
            const QSize outer = m_pendingOuterSize;
            m_pendingOuterSize = QSize();
            if (!isMaximized() && !isFullScreen() && !isMinimized())
                setOuterSize(outer);
        }
        break;
    default: break;
    }
    return QMainWindow::event(event);
}

QSize MainForm::frameExtra() const
{
    if (!isVisible())
        return QSize(0, 0);
    return frameGeometry().size() - geometry().size();
}

// ---------------------------------------------------------------- search bar

QString MainForm::keyword() const
{
    return m_searchBar->keyword();
}

void MainForm::setKeyword(const QString &keyword)
{
    m_searchBar->setKeyword(keyword);
}

QStringList MainForm::searchHistory() const
{
    return m_searchBar->history();
}

void MainForm::setSearchHistory(const QStringList &entries)
{
    m_searchBar->setHistory(entries);
}

void MainForm::focusKeyword()
{
    m_searchBar->focusKeyword();
}

// ---------------------------------------------------------------- groups

void MainForm::setGroups(const QStringList &names)
{
    setGroups(names, {});
}

void MainForm::setGroups(const QStringList &names, const QStringList &keys)
{
    m_tree->clear();
    auto *all = new QTreeWidgetItem(m_tree, {MainWindowTables::allGroupsText()});
    all->setData(0, GroupKeyRole, MainWindowTables::allGroupsKey());
    all->setIcon(0, MainIcons::listIcon(3));
    const QIcon groupIcon = MainIcons::listIcon(4);
    int n = 0;
    for (const QString &name : names) {
        auto *item = new QTreeWidgetItem(m_tree, {name});
        const QString key = n < keys.size() ? keys.at(n) : QStringLiteral("Group%1").arg(n + 1);
        ++n;
        item->setData(0, GroupKeyRole, key);
        item->setIcon(0, groupIcon);
    }
}

QStringList MainForm::groupKeys() const
{
    QStringList keys;
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i)
        keys.append(m_tree->topLevelItem(i)->data(0, GroupKeyRole).toString());
    return keys;
}

// ---------------------------------------------------------------- preview

void MainForm::refreshPreview()
{
    if (m_controller->previewMode() == PreviewMode::None)
        return;
    CardListView *list = currentList();
    // The card's own texts, line breaks included (the list shows them on one line).
    QAbstractItemModel *model = list->cardModel();
    int row = -1;
    const int current = list->currentRow();
    const QList<int> selected = list->selectedRows();
    if (current >= 0 && selected.contains(current))
        row = current;
    else if (!selected.isEmpty())
        row = selected.first();
    if (row < 0 || !model) {
        m_preview->clear();
        return;
    }
    auto text = [&](int column) { return model->index(row, column).data(Qt::DisplayRole).toString(); };
    m_preview->showCard(text(0), text(1), text(2));
}

// ---------------------------------------------------------------- controls

QAction *MainForm::menuAction(const QString &name, int index) const
{
    return m_menuActions.value(MainWindowTables::controlObjectName(name, index));
}

QMenu *MainForm::menu(const QString &name) const
{
    return m_menus.value(name);
}

QToolButton *MainForm::toolbarButton(const QString &key) const
{
    QAction *action = m_toolbarActions.value(key);
    return action ? qobject_cast<QToolButton *>(m_toolbar->widgetForAction(action)) : nullptr;
}

QAction *MainForm::toolbarAction(const QString &key) const
{
    return m_toolbarActions.value(key);
}

// ---------------------------------------------------------------- following the view state

void MainForm::showListViewMode(ListViewMode mode)
{
    m_lists[0]->setMode(mode);
    m_lists[1]->setMode(mode);
}

void MainForm::relayout()
{
    clientResized();
}

void MainForm::clientResized()
{
    if (!m_client)
        return;
    MainLayoutInput in;
    in.clientWidth = m_client->width();
    in.clientHeight = m_client->height();
    in.toolbarHeight = m_toolbar->sizeHint().height();
    in.statusBarHeight = m_functionBar->sizeHint().height();
    in.treeVisible = m_controller->treeVisible();
    in.treeWidth = TreeWidth;
    in.previewMode = m_controller->previewMode();
    in.previewLineHeight = m_preview->lineHeight();
    in.previewMargin = PreviewPane::Margin;
    const MainLayout layout = MainLayoutRules::compute(in);
    if (!layout.laidOut)
        return;

    m_toolbar->setGeometry(layout.toolbar);
    // The buttons must stand in their places before the search bar follows them.
    if (m_toolbar->layout())
        m_toolbar->layout()->activate();
    m_functionBar->setGeometry(layout.statusBar);
    // The search bar starts where the last toolbar button ends.
    QRect last;
    const QList<QAction *> actions = m_toolbar->actions();
    if (!actions.isEmpty()) {
        if (QWidget *w = m_toolbar->widgetForAction(actions.last()))
            last = w->geometry();
    }
    const QSize wanted = m_searchBar->sizeHint();
    m_searchBar->setGeometry(
        MainLayoutRules::searchBar(layout.toolbar, last.left(), last.width(), wanted.width(), wanted.height()));
    m_searchBar->raise();

    m_tree->setVisible(layout.treeShown);
    if (layout.treeShown)
        m_tree->setGeometry(layout.tree);
    m_lists[0]->setGeometry(layout.lists);
    m_lists[1]->setGeometry(layout.lists);
    m_preview->setVisible(layout.previewShown);
    if (layout.previewShown)
        m_preview->setGeometry(layout.preview);
}

void MainForm::showExtractionList(bool shown)
{
    m_lists[1]->setVisible(shown);
    m_lists[0]->setVisible(!shown);
    refreshPreview();
}

void MainForm::showEditMenuAtList(int listIndex)
{
    CardListView *list = cardList(listIndex);
    QMenu *edit = menu(QStringLiteral("MenuEdit"));
    if (list && edit)
        edit->popup(list->mapToGlobal(QPoint(0, 0)));
}

// ---------------------------------------------------------------- events

void MainForm::closeEvent(QCloseEvent *event)
{
    if (m_closeGuard && !m_closeGuard()) {
        event->ignore();
        return;
    }
    emit closing();
    event->accept();
}

KeyScope MainForm::scopeOf(QWidget *widget) const
{
    for (QWidget *w = widget; w && w != this; w = w->parentWidget()) {
        if (w == m_lists[0] || w == m_lists[1])
            return KeyScope::CardList;
        if (w == m_searchBar->keywordBox())
            return KeyScope::SearchBox;
    }
    return KeyScope::Window;
}

bool MainForm::handleKey(QWidget *receiver, QKeyEvent *event, bool overrideOnly)
{
    if (receiver->window() != this || qobject_cast<QMenuBar *>(receiver))
        return false;
    // A title being edited in place keeps its keys (Enter, Esc, F2 ...).
    for (QWidget *w = receiver->parentWidget(); w; w = w->parentWidget()) {
        if (qobject_cast<QAbstractItemView *>(w))
            return false;
    }
    KeyContext context;
    context.keywordEmpty = keyword().isEmpty();
    context.browseMode = m_controller->browseMode();
    const KeyBinding *binding = KeyMap::lookup(event->keyCombination(), scopeOf(receiver), context);
    if (!binding)
        return false;
    // Window keys are always the window's; a control's key is left to the
    // control while its command cannot run.
    if (binding->scope != KeyScope::Window && !m_commands->isEnabled(binding->command))
        return false;
    event->accept();
    if (!overrideOnly)
        m_commands->trigger(binding->command);
    return true;
}

bool MainForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::Resize:
        if (watched == m_client)
            clientResized();
        break;
    case QEvent::ShortcutOverride:
    case QEvent::KeyPress:
        if (watched->isWidgetType()
            && handleKey(static_cast<QWidget *>(watched), static_cast<QKeyEvent *>(event),
                         event->type() == QEvent::ShortcutOverride))
            return true;
        break;
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}
