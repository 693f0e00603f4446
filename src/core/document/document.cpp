#include "core/document/document.h"

#include "core/cards/cardstore.h"
#include "core/common/programfolder.h"
#include "core/common/tool.h"
#include "core/common/version.h"
#include "core/document/documenttexts.h"
#include "core/settings/settingkeys.h"

#include <QtGlobal>

QString DocumentTitle(const QString &path, bool modified)
{
    return Tool::FileNameOf(path)
           + (modified ? DocumentTexts::ModifiedMark + QStringLiteral(" - ") : QStringLiteral(" - "))
           + Version::ProductName + QStringLiteral(" Ver.") + Version::dotted();
}

bool IsUntitledPath(const QString &path)
{
    return Tool::BaseNameOf(path) == DocumentTexts::Untitled;
}

namespace {

QString orProgramFile(const QString &path, const QString &name)
{
    return path.isEmpty() ? ProgramFolder::file(name) : path;
}

} // namespace

Document::Document(const Services &services, const Files &files, int recentLastIndex)
    : m_services(services), m_settings(files.generalSettings),
      m_recentFile(orProgramFile(files.recentList, RecentFiles::ListFileName)), m_recent(recentLastIndex, m_recentFile),
      m_guard(*services.dialogs, orProgramFile(files.openCheck, OpenGuard::ListFileName))
{
    Q_ASSERT(services.dialogs);
    m_lists[0] = std::make_unique<CardList>();
    m_lists[1] = std::make_unique<CardList>();
}

void Document::setView(DocumentView *view)
{
    m_view = view ? view : &m_noView;
}

void Document::LeaveExtractionMode()
{
    if (!m_extractionActive)
        return;
    if (m_leaveExtraction)
        m_leaveExtraction();
    m_extractionActive = false;
}

void Document::SetDocumentPath(const QString &path)
{
    m_path = path;
    m_view->showTitle(title());
    m_view->setReloadEnabled(reloadEnabled());
    m_view->forgetHtmlOutputFolder();
}

void Document::SetModified(bool modified)
{
    m_modified = modified;
    m_view->showTitle(title());
}

void Document::ResetCardIcons()
{
    cards().setAllIcons(CardIcon::Saved);
}

void Document::ApplySettings()
{
    m_view->applySettings(ComputeAppliedSettings(m_settings));
}

WriteOptions Document::writeOptions()
{
    WriteOptions options;
    options.addDateInfo = m_settings.isOn(SettingKey::AddDateInfo);
    options.clock = m_services.clock;
    return options;
}

void Document::StoreStateBeforeReplacing()
{
    if (const std::optional<WindowState> state = m_view->windowState()) {
        if (m_settings.isOn(SettingKey::SaveWindowSize) && state->normalState) {
            m_settings.setInteger(SettingKey::WindowListSizeX, qRound(state->normalWidthTwips));
            m_settings.setInteger(SettingKey::WindowListSizeY, qRound(state->normalHeightTwips));
        }
        m_settings.setInteger(SettingKey::ListViewMode, state->listViewMode);
    }
    m_settings.saveOrLog();
}

void Document::StoreStateOnClose()
{
    if (const std::optional<WindowState> state = m_view->windowState()) {
        if (m_settings.isOn(SettingKey::SaveColumnWidth))
            for (int n = 0; n < 3; ++n)
                m_settings.setNumber(SettingKey::columnWidth(n + 1), state->columnWidthsTwips[n]);
        m_settings.setInteger(SettingKey::WindowListSizeX, qRound(state->normalWidthTwips));
        m_settings.setInteger(SettingKey::WindowListSizeY, qRound(state->normalHeightTwips));
        m_settings.setInteger(SettingKey::ListViewMode, state->listViewMode);
    }
    m_settings.saveOrLog();
}

void Document::setRecentLastIndex(int lastIndex)
{
    if (lastIndex != m_recent.lastIndex())
        m_recent = RecentFileList(lastIndex, m_recentFile);
}

void Document::LoadRecentFiles()
{
    m_recent.load();
    BuildRecentMenu();
}

void Document::AddRecentFile(const QString &path)
{
    // An unwritable "Recent.ini" is no reason to bother the person: the menu
    // still shows what the list holds.
    m_recent.AddRecentFile(path);
    BuildRecentMenu();
}

void Document::BuildRecentMenu()
{
    const QStringList captions = m_recent.menuCaptions();
    m_recentVisible = qMax(m_recentVisible, int(captions.size()));
    m_view->showRecentFiles(captions);
}
