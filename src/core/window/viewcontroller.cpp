#include "core/window/viewcontroller.h"

#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mostfront.h"

MainViewController::MainViewController(MainCommands &commands, MainView &view, const Services &services)
    : m_commands(commands), m_view(view), m_services(services)
{
    wire();
}

void MainViewController::wire()
{
    MainCommands &c = m_commands;
    c.wire(Cmd::ViewLargeIcons, [this] { setListViewMode(ListViewMode::LargeIcons); });
    c.wire(Cmd::ViewSmallIcons, [this] { setListViewMode(ListViewMode::SmallIcons); });
    c.wire(Cmd::ViewList, [this] { setListViewMode(ListViewMode::List); });
    c.wire(Cmd::ViewDetails, [this] { setListViewMode(ListViewMode::Details); });
    c.wire(Cmd::ViewNextMode, [this] { stepListViewMode(); });

    c.wire(Cmd::PreviewNext, [this] { stepPreviewMode(); });
    // The drop-down entries set the mode without storing it.
    c.wire(Cmd::PreviewNone, [this] { setPreviewMode(PreviewMode::None, false); });
    c.wire(Cmd::Preview12, [this] { setPreviewMode(PreviewMode::OneToTwo, false); });
    c.wire(Cmd::Preview11, [this] { setPreviewMode(PreviewMode::OneToOne, false); });
    c.wire(Cmd::Preview21, [this] { setPreviewMode(PreviewMode::TwoToOne, false); });

    c.wire(Cmd::ToggleTree, [this] { toggleTree(); });
    c.wire(Cmd::BrowseMode, [this] { toggleBrowseMode(); });
    c.wire(Cmd::MostFront, [this] { toggleMostFrontFromMenu(); });
    c.wire(Cmd::MostFrontButton, [this] { toggleMostFrontFromButton(); });
    c.wire(Cmd::Regex, [this] { toggleRegularExpression(); });

    c.wire(Cmd::Refresh, [this] { refresh(); });
    c.wire(Cmd::Escape, [this] { escape(); });
    c.wire(Cmd::SelectAll, [this] { m_view.selectAll(currentListIndex()); });
    c.wire(Cmd::InvertSelection, [this] { m_view.invertSelection(currentListIndex()); });
    c.wire(Cmd::FocusSearch, [this] { m_view.focusSearchBox(); });
    c.wire(Cmd::SearchBoxToList, [this] { m_view.focusList(currentListIndex()); });
    c.wire(Cmd::EditMenuPopup, [this] { m_view.showEditMenuAtList(currentListIndex()); });
}

void MainViewController::store(const QString &key, const QVariant &value)
{
    if (m_writer)
        m_writer(key, value);
}

void MainViewController::setListViewMode(ListViewMode mode)
{
    m_listViewMode = mode;
    m_view.showListViewMode(mode);
    refresh();
}

void MainViewController::stepListViewMode()
{
    setListViewMode(ViewModes::next(m_listViewMode));
}

void MainViewController::setPreviewMode(PreviewMode mode, bool storeIt)
{
    m_previewMode = mode;
    if (storeIt)
        store(QStringLiteral("PreView"), int(mode));
    m_view.relayout();
    m_view.refreshPreview();
}

void MainViewController::stepPreviewMode()
{
    setPreviewMode(ViewModes::next(m_previewMode), true);
}

bool MainViewController::treeVisible() const
{
    return m_commands.isChecked(Cmd::ToggleTree);
}

void MainViewController::setTreeVisible(bool visible, bool storeIt)
{
    m_commands.setChecked(Cmd::ToggleTree, visible);
    if (storeIt)
        store(QStringLiteral("TreeViewVisible"), visible);
    m_view.relayout();
}

void MainViewController::toggleTree()
{
    setTreeVisible(!treeVisible(), true);
}

bool MainViewController::browseMode() const
{
    return m_commands.isChecked(Cmd::BrowseMode);
}

void MainViewController::toggleBrowseMode()
{
    m_commands.setChecked(Cmd::BrowseMode, !browseMode());
}

bool MainViewController::mostFront() const
{
    return m_commands.isChecked(Cmd::MostFront);
}

void MainViewController::setMostFront(bool on)
{
    m_commands.setChecked(Cmd::MostFront, on);
    m_commands.setChecked(Cmd::MostFrontButton, on);
    m_view.setTopmost(on);
}

void MainViewController::toggleMostFrontFromMenu()
{
    setMostFront(!mostFront());
}

void MainViewController::toggleMostFrontFromButton()
{
    // The button's new pressed state decides; the notice comes before the switch.
    const bool on = !m_commands.isChecked(Cmd::MostFrontButton);
    if (m_services.userStore && m_services.dialogs)
        MostFrontNotice::showOnce(*m_services.userStore, *m_services.dialogs);
    setMostFront(on);
}

bool MainViewController::regularExpression() const
{
    return m_commands.isChecked(Cmd::Regex);
}

void MainViewController::toggleRegularExpression()
{
    const bool on = !regularExpression();
    m_commands.setChecked(Cmd::Regex, on);
    store(QStringLiteral("SeikiHyougen"), on ? 1 : 0);
}

void MainViewController::setExtractionMode(bool on)
{
    if (m_extraction == on)
        return;
    m_extraction = on;
    m_view.showExtractionList(on);
}

void MainViewController::refresh()
{
    const int list = currentListIndex();
    m_view.refreshList(list, m_listViewMode == ListViewMode::List);
    if (m_sortRefresher)
        m_sortRefresher(list);
}

void MainViewController::escape()
{
    if (m_extraction)
        m_commands.trigger(Cmd::EndExtraction);
    else
        m_view.clearSelection(0);
}

void MainViewController::apply(int listViewMode, int previewMode, bool treeVisible, bool regularExpression)
{
    setListViewMode(ViewModes::listViewModeFrom(listViewMode));
    setPreviewMode(ViewModes::previewModeFrom(previewMode), false);
    setTreeVisible(treeVisible, false);
    m_commands.setChecked(Cmd::Regex, regularExpression);
}
