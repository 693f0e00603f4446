#include "core/window/viewcontroller.h"

#include "core/document/document.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mostfront.h"

MainViewController::MainViewController(MainCommands &commands, const Services &services, QObject *parent)
    : QObject(parent), m_commands(commands), m_services(services), m_treeVisible(commands.isChecked(Cmd::ToggleTree)),
      m_browseMode(commands.isChecked(Cmd::BrowseMode)), m_mostFront(commands.isChecked(Cmd::MostFront)),
      m_regularExpression(commands.isChecked(Cmd::Regex))
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
    c.wire(Cmd::SelectAll, [this] { emit selectAllRequested(currentListIndex()); });
    c.wire(Cmd::InvertSelection, [this] { emit invertSelectionRequested(currentListIndex()); });
    c.wire(Cmd::FocusSearch, [this] { emit searchBoxFocusRequested(); });
    c.wire(Cmd::SearchBoxToList, [this] { emit listFocusRequested(currentListIndex()); });
    c.wire(Cmd::EditMenuPopup, [this] { emit editMenuRequested(currentListIndex()); });
}

void MainViewController::follow(Document &document)
{
    if (m_document)
        m_document->disconnect(this);
    m_document = &document;
    connect(&document, &Document::extractionChanged, this, &MainViewController::extractionModeChanged);
    if (document.extractionActive() != m_extraction)
        emit extractionModeChanged(document.extractionActive());
}

void MainViewController::store(const QString &key, const QVariant &value)
{
    if (m_writer)
        m_writer(key, value);
}

void MainViewController::setListViewMode(ListViewMode mode)
{
    if (mode != m_listViewMode) {
        m_listViewMode = mode;
        emit listViewModeChanged(mode);
    }
    refresh();
}

void MainViewController::stepListViewMode()
{
    setListViewMode(ViewModes::next(m_listViewMode));
}

void MainViewController::setPreviewMode(PreviewMode mode, bool storeIt)
{
    if (storeIt)
        store(QStringLiteral("PreView"), int(mode));
    if (mode == m_previewMode)
        return;
    m_previewMode = mode;
    emit previewModeChanged(mode);
}

void MainViewController::stepPreviewMode()
{
    setPreviewMode(ViewModes::next(m_previewMode), true);
}

void MainViewController::setTreeVisible(bool visible, bool storeIt)
{
    if (storeIt)
        store(QStringLiteral("TreeViewVisible"), visible);
    if (visible == m_treeVisible)
        return;
    m_treeVisible = visible;
    m_commands.setChecked(Cmd::ToggleTree, visible);
    emit treeVisibleChanged(visible);
}

void MainViewController::toggleTree()
{
    setTreeVisible(!m_treeVisible, true);
}

void MainViewController::toggleBrowseMode()
{
    m_browseMode = !m_browseMode;
    m_commands.setChecked(Cmd::BrowseMode, m_browseMode);
    emit browseModeChanged(m_browseMode);
}

void MainViewController::setMostFront(bool on)
{
    if (on == m_mostFront)
        return;
    m_mostFront = on;
    m_commands.setChecked(Cmd::MostFront, on);
    m_commands.setChecked(Cmd::MostFrontButton, on);
    emit mostFrontChanged(on);
}

void MainViewController::toggleMostFrontFromMenu()
{
    setMostFront(!m_mostFront);
}

void MainViewController::toggleMostFrontFromButton()
{
    // The notice comes before the switch.
    if (m_services.userStore && m_services.dialogs)
        MostFrontNotice::showOnce(*m_services.userStore, *m_services.dialogs);
    setMostFront(!m_mostFront);
}

void MainViewController::setRegularExpression(bool on)
{
    if (on == m_regularExpression)
        return;
    m_regularExpression = on;
    m_commands.setChecked(Cmd::Regex, on);
    emit regularExpressionChanged(on);
}

void MainViewController::toggleRegularExpression()
{
    setRegularExpression(!m_regularExpression);
    store(QStringLiteral("SeikiHyougen"), m_regularExpression ? 1 : 0);
}

bool MainViewController::extractionMode() const
{
    return m_document ? m_document->extractionActive() : m_extraction;
}

void MainViewController::setExtractionMode(bool on)
{
    if (m_document) {
        m_document->setExtractionActive(on);
        return;
    }
    if (m_extraction == on)
        return;
    m_extraction = on;
    emit extractionModeChanged(on);
}

void MainViewController::refresh()
{
    emit refreshRequested(currentListIndex(), m_listViewMode == ListViewMode::List);
}

void MainViewController::escape()
{
    if (extractionMode())
        m_commands.trigger(Cmd::EndExtraction);
    else
        emit clearSelectionRequested(0);
}

void MainViewController::apply(int listViewMode, int previewMode, bool treeVisible, bool regularExpression)
{
    setListViewMode(ViewModes::listViewModeFrom(listViewMode));
    setPreviewMode(ViewModes::previewModeFrom(previewMode), false);
    setTreeVisible(treeVisible, false);
    setRegularExpression(regularExpression);
}
