#include "core/document/document.h"

#include "core/cards/cardstore.h"
#include "core/common/programfolder.h"
#include "core/common/tool.h"
#include "core/common/version.h"
#include "core/document/documenttexts.h"
#include "core/settings/settingkeys.h"

#include <QtGlobal>

#include <utility>

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

Document::Document(const Services &services, const Files &files, int recentLastIndex, QObject *parent)
    : QObject(parent), m_services(services), m_settings(files.generalSettings),
      m_recentFile(orProgramFile(files.recentList, RecentFiles::ListFileName)), m_recent(recentLastIndex, m_recentFile),
      m_guard(*services.dialogs, orProgramFile(files.openCheck, OpenGuard::ListFileName))
{
    Q_ASSERT(services.dialogs);
    m_lists[0] = std::make_unique<CardList>();
    m_lists[1] = std::make_unique<CardList>();
    followList(0);
    followList(1);
}

void Document::followList(int list)
{
    CardList &cards = *m_lists.at(list);
    CardStore *store = &cards.store();
    auto cardsChanged = [this, list] { noteListChange(list, CardsChanged); };
    connect(store, &QAbstractItemModel::modelReset, this, cardsChanged);
    connect(store, &QAbstractItemModel::rowsInserted, this, cardsChanged);
    connect(store, &QAbstractItemModel::rowsRemoved, this, cardsChanged);
    connect(store, &QAbstractItemModel::rowsMoved, this, cardsChanged);
    connect(store, &QAbstractItemModel::dataChanged, this, cardsChanged);
    connect(store, &QAbstractItemModel::layoutChanged, this, cardsChanged);
    auto selectionChanged = [this, list] { noteListChange(list, SelectionChanged); };
    connect(&cards.selectionModel(), &QItemSelectionModel::selectionChanged, this, selectionChanged);
    connect(&cards.selectionModel(), &QItemSelectionModel::currentChanged, this, selectionChanged);
}

void Document::noteListChange(int list, int change)
{
    m_pendingChanges[list] |= change;
    if (m_flushPosted)
        return;
    // A paste of a thousand cards is one change to the group list and the
    // preview, not a thousand: the changes are gathered until the command
    // that made them has returned to the event loop.
    m_flushPosted = true;
    QMetaObject::invokeMethod(this, &Document::flushListChanges, Qt::QueuedConnection);
}

void Document::flushListChanges()
{
    m_flushPosted = false;
    for (int list = 0; list < 2; ++list) {
        const int changes = std::exchange(m_pendingChanges[list], 0);
        if (changes)
            emit listChanged(list, changes);
    }
}

void Document::setExtractionActive(bool on)
{
    if (m_extractionActive == on)
        return;
    m_extractionActive = on;
    emit extractionChanged(on);
}

void Document::LeaveExtractionMode()
{
    if (!m_extractionActive)
        return;
    if (m_leaveExtraction)
        m_leaveExtraction();
    setExtractionActive(false);
}

void Document::ShowCard(int list, qsizetype row)
{
    if ((list == 0 || list == 1) && row >= 0 && row < lvData(list).store().count())
        emit cardShown(list, row);
}

void Document::RequestEdit(int list)
{
    if (list == 0 || list == 1)
        emit editRequested(list);
}

void Document::setTitleFrom(const QString &oldTitle)
{
    const QString now = title();
    if (now != oldTitle)
        emit titleChanged(now);
}

void Document::SetDocumentPath(const QString &path)
{
    if (path == m_path)
        return;
    const QString oldTitle = title();
    m_path = path;
    emit pathChanged(path);
    setTitleFrom(oldTitle);
}

void Document::SetModified(bool modified)
{
    if (modified == m_modified)
        return;
    const QString oldTitle = title();
    m_modified = modified;
    emit modifiedChanged(modified);
    setTitleFrom(oldTitle);
}

void Document::releaseCardsForExit()
{
    for (int list = 0; list < 2; ++list)
        lvData(list).store().releaseForExit();
}

void Document::ResetCardIcons()
{
    cards().setAllIcons(CardIcon::Saved);
}

void Document::ApplySettings()
{
    emit settingsApplied(ComputeAppliedSettings(m_settings));
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
    if (const std::optional<WindowState> state = m_window ? m_window->windowState() : std::nullopt) {
        if (m_settings.isOn(SettingKey::SaveWindowSize) && state->normalState) {
            m_settings.setInteger(SettingKey::WindowListSizeX, qRound(state->windowWidthTwips));
            m_settings.setInteger(SettingKey::WindowListSizeY, qRound(state->windowHeightTwips));
        }
        m_settings.setInteger(SettingKey::ListViewMode, state->listViewMode);
    }
    m_settings.saveOrLog();
}

void Document::StoreStateOnClose()
{
    if (const std::optional<WindowState> state = m_window ? m_window->windowState() : std::nullopt) {
        if (m_settings.isOn(SettingKey::SaveColumnWidth))
            for (int n = 0; n < 3; ++n)
                m_settings.setNumber(SettingKey::columnWidth(n + 1), state->columnWidthsTwips[n]);
        m_settings.setInteger(SettingKey::WindowListSizeX, qRound(state->windowWidthTwips));
        m_settings.setInteger(SettingKey::WindowListSizeY, qRound(state->windowHeightTwips));
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
    if (m_recentShown && captions == m_recentCaptions)
        return;
    m_recentShown = true;
    m_recentCaptions = captions;
    emit recentFilesChanged(captions);
}
