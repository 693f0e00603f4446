#include "gui/mainwindow/mainform.h"

#include "core/common/version.h"
#include "core/window/commandids.h"
#include "core/window/fontfamilies.h"
#include "core/window/helpcommands.h"
#include "core/window/keymap.h"
#include "core/window/maincommands.h"
#include "core/window/mainlayout.h"
#include "core/window/mainwindowtables.h"
#include "gui/common/actionbuilder.h"
#include "gui/common/functionbar.h"
#include "gui/common/qtcolours.h"
#include "gui/common/qtdialogs.h"
#include "gui/common/topmost.h"
#include "gui/common/windowgeometry.h"
#include "gui/mainwindow/cardlistview.h"
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

    m_actions = new ActionBuilder(*m_commands, this);
    m_geometry = new WindowGeometry(*this);
    buildMenus();
    buildClientArea();
    followViewState();

    resize(WindowTwips::toPixels(9480), WindowTwips::toPixels(6315));
    setGroups({});
    qApp->installEventFilter(this);
}

MainForm::~MainForm()
{
    qApp->removeEventFilter(this);
    // The lists outlive this body; the focus they lose while they go must
    // not reach a window that is no longer a MainForm.
    for (CardListView *list : m_lists)
        disconnect(list, nullptr, this, nullptr);
}

// ---------------------------------------------------------------- building

void MainForm::buildMenus()
{
    m_actions->buildMenus(menuBar(), MainWindowTables::menuTree());
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

    m_actions->buildToolbar(m_toolbar, MainWindowTables::toolbar(), &MainIcons::icon);
}

void MainForm::buildClientArea()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    buildToolbar();
    m_searchBar = new SearchBar(*m_actions, m_client);

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

    m_functionBar = m_actions->makeFunctionBar(MainWindowTables::functionBar(), m_client,
                                               [this] { return !m_functionBarClicksOff; });
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
        m_geometry->restoreOuterSize(
            QSize(WindowTwips::toPixels(s.windowWidthTwips), WindowTwips::toPixels(s.windowHeightTwips)));
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
    const QSize outer = m_geometry->outerNormalSize();
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
    return m_actions->menuAction(name, index);
}

QMenu *MainForm::menu(const QString &name) const
{
    return m_actions->menu(name);
}

QToolButton *MainForm::toolbarButton(const QString &key) const
{
    return m_actions->toolbarButton(key);
}

QAction *MainForm::toolbarAction(const QString &key) const
{
    return m_actions->toolbarAction(key);
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

    // The buttons must stand in their places before the search bar follows
    // them; it goes beside them, or on a row of its own when the window is
    // too narrow for it there. They are measured at the width they need, as
    // a narrow toolbar hides its last buttons.
    m_toolbar->setGeometry(0, 0, std::max(in.clientWidth, m_toolbar->sizeHint().width()), in.toolbarHeight);
    if (m_toolbar->layout())
        m_toolbar->layout()->activate();
    QRect last;
    const QList<QAction *> actions = m_toolbar->actions();
    if (!actions.isEmpty()) {
        if (QWidget *w = m_toolbar->widgetForAction(actions.last()))
            last = w->geometry();
    }
    const QSize wanted = m_searchBar->sizeHint();
    in.searchRowHeight = MainLayoutRules::searchBarRowHeight(last.left() + last.width(), wanted.width(),
                                                             wanted.height(), in.clientWidth);

    const MainLayout layout = MainLayoutRules::compute(in);
    if (!layout.laidOut)
        return;

    m_toolbar->setGeometry(layout.toolbar);
    if (m_toolbar->layout())
        m_toolbar->layout()->activate();
    m_functionBar->setGeometry(layout.statusBar);
    m_searchBar->setGeometry(
        in.searchRowHeight > 0
            ? MainLayoutRules::searchBarOnOwnRow(layout.toolbar, in.searchRowHeight)
            : MainLayoutRules::searchBar(layout.toolbar, last.left(), last.width(), wanted.width(), wanted.height()));
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
    // A title being edited in place keeps its keys (Enter, Esc, F2 ...),
    // also those the editor passes on to the list (the line edit ignores
    // Enter) while it still has the focus.
    for (QWidget *start : {receiver, QApplication::focusWidget()}) {
        for (QWidget *w = start ? start->parentWidget() : nullptr; w; w = w->parentWidget()) {
            if (qobject_cast<QAbstractItemView *>(w))
                return false;
        }
    }
    KeyContext context;
    context.keywordEmpty = keyword().isEmpty();
    context.browseMode = m_controller->browseMode();
    // Window keys are always the window's; a control's key is left to the
    // control while its command cannot run.
    return m_actions->runKey(KeyMap::table(), event, scopeOf(receiver), context, overrideOnly);
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
