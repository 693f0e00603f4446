#include "gui/mainwindow/windowadapter.h"

#include "core/document/document.h"
#include "core/settings/settingkeys.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/mainform.h"

#include <QAbstractItemView>

WindowAdapter::WindowAdapter(MainForm &window, Document &document) : m_window(window), m_document(document) {}

void WindowAdapter::showTitle(const QString &title)
{
    m_window.setWindowTitle(title);
}

void WindowAdapter::setReloadEnabled(bool enabled)
{
    m_window.commands().setEnabled(Cmd::Reload, enabled);
}

void WindowAdapter::showRecentFiles(const QStringList &captions)
{
    MainCommands &commands = m_window.commands();
    for (int n = 0; n < captions.size() && n < Cmd::RecentFileCount; ++n) {
        commands.setText(Cmd::recentFile(n), captions.at(n));
        commands.setVisible(Cmd::recentFile(n), true);
    }
}

void WindowAdapter::forgetHtmlOutputFolder()
{
    if (onForgetHtmlOutputFolder)
        onForgetHtmlOutputFolder();
}

void WindowAdapter::applySettings(const AppliedSettings &values)
{
    m_window.setFunctionBarClicksOff(m_document.settings().isOn(SettingKey::NoFunctionBarClickEvent));
    m_window.applySettings(values);
    if (onSettingsApplied)
        onSettingsApplied(values);
}

std::optional<WindowState> WindowAdapter::windowState()
{
    const MainWindowStoredState stored = m_window.storedState();
    WindowState state;
    state.columnWidthsTwips = stored.columnWidthsTwips;
    state.normalWidthTwips = stored.windowWidthTwips;
    state.normalHeightTwips = stored.windowHeightTwips;
    state.normalState = m_window.windowState() == Qt::WindowNoState;
    state.listViewMode = stored.listViewMode;
    return state;
}

void WindowAdapter::cancelSort()
{
    if (onCancelSort)
        onCancelSort();
}

void WindowAdapter::refreshPreview()
{
    m_window.refreshPreview();
}

void WindowAdapter::focusSearchBox()
{
    m_window.focusKeyword();
}

void WindowAdapter::rebuildGroupList()
{
    if (onRebuildGroupList)
        onRebuildGroupList();
}

void WindowAdapter::ensureCardVisible(int listIndex, qsizetype row)
{
    CardListView *list = m_window.cardList(listIndex);
    QAbstractItemView *view = list ? list->activeView() : nullptr;
    if (!view || !view->model() || row < 0 || row >= view->model()->rowCount())
        return;
    view->scrollTo(view->model()->index(int(row), 0));
}

void WindowAdapter::editSelectedCards()
{
    if (onEditSelectedCards)
        onEditSelectedCards();
}

int WindowAdapter::openEditorCount()
{
    return onOpenEditorCount ? onOpenEditorCount() : 0;
}

void WindowAdapter::closeAllEditors()
{
    if (onCloseAllEditors)
        onCloseAllEditors();
}

void WindowAdapter::loadHidden()
{
    // MainForm is built hidden by its constructor; nothing more to load.
}

void WindowAdapter::show()
{
    m_window.show();
}
