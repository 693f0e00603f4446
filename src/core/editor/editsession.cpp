#include "core/editor/editsession.h"

#include "core/cards/card.h"
#include "core/cards/cardlist.h"
#include "core/common/dialogs.h"
#include "core/document/document.h"
#include "core/editor/editorcontext.h"
#include "core/editor/editortexts.h"
#include "core/editor/externaledit.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"
#include "core/window/mainlayout.h"
#include "core/window/mostfront.h"
#include "core/window/viewcontroller.h"

#include <cmath>

EditSession::EditSession(EditorContext &context, int listIndex, const QString &key, int slot, QObject *parent)
    : QObject(parent), m_context(context), m_key(key), m_index(listIndex == 1 ? 1 : 0), m_slot(slot)
{}

bool EditSession::load()
{
    Document &doc = m_context.document();
    const CardStore &store = doc.lvData(m_index).store();
    const Card *card = store.cardWithKey(m_key);
    if (!card)
        return false;
    const EditorTitleParts parts = EditorTitle::split(card->title);
    m_group = parts.group;
    m_title = parts.title;
    m_remarks = card->remarks;
    m_content = card->content;
    m_contentStale = false;
    // The groups of the main card list, whichever list the card came from.
    m_groupChoices = EditorTitle::groupChoices(doc.lvData(0).store());
    m_tracking = false;
    setChangeCard(false);
    return true;
}

void EditSession::setChangeCard(bool changed)
{
    m_changeCard = changed;
    emit changeCardChanged(changed);
    emit windowTitleChanged(windowTitle());
}

QString EditSession::windowTitle() const
{
    return EditorTitle::windowTitle(m_title, m_changeCard);
}

QString EditSession::content() const
{
    if (m_contentStale && m_contentSource) {
        m_content = m_contentSource();
        m_contentStale = false;
    }
    return m_content;
}

QString EditSession::text(EditBox box) const
{
    switch (box) {
    case EditBox::Title: return m_title;
    case EditBox::Remarks: return m_remarks;
    case EditBox::Content: return content();
    }
    return QString();
}

QString &EditSession::field(EditBox box)
{
    switch (box) {
    case EditBox::Title: return m_title;
    case EditBox::Remarks: return m_remarks;
    case EditBox::Content: break;
    }
    m_contentStale = false;
    return m_content;
}

void EditSession::noteChange()
{
    if (m_tracking && !m_changeCard)
        setChangeCard(true);
}

void EditSession::setGroup(const QString &text)
{
    if (text == m_group)
        return;
    m_group = text;
    noteChange();
}

void EditSession::groupPicked()
{
    noteChange();
}

void EditSession::contentEdited()
{
    m_contentStale = true;
    noteChange();
}

void EditSession::setText(EditBox box, const QString &text)
{
    QString &held = field(box);
    if (text == held)
        return;
    held = text;
    if (box == EditBox::Title)
        emit windowTitleChanged(windowTitle());
    noteChange();
}

void EditSession::leaveBox(EditBox box)
{
    if (box == EditBox::Content)
        return;
    const QString cleaned = EditorTitle::removeLineBreaks(text(box));
    if (cleaned == text(box))
        return;
    setText(box, cleaned);
    emit boxReplaced(box, cleaned);
}

EditSession::Applied EditSession::putTogether()
{
    if (!m_changeCard)
        return Applied::Unchanged;
    // Line breaks leave title and remarks however the command came (a key
    // while the focus is still in the title box, say): a title field with a
    // line end would break the record layout of the text formats.
    leaveBox(EditBox::Title);
    leaveBox(EditBox::Remarks);
    Document &doc = m_context.document();
    if (EditorTitle::groupRefused(m_group)) {
        doc.dialogs().message(EditorTexts::GroupMarkRefused, MsgIcon::Information);
        emit groupFocusRequested();
        return Applied::Refused;
    }

    // Written to the list shown now: a card opened from the main list while
    // an extraction later began is edited in its extraction copy, which the
    // end of the extraction writes back to the main list.
    m_index = doc.ActiveListIndex();
    CardStore &store = doc.lvData(m_index).store();
    const Card card{m_key, titleField(), m_remarks, content(), CardIcon::Changed};
    const qsizetype row = store.indexOfKey(m_key);
    if (row >= 0) {
        store.setFields(row, card);
        doc.SetModified(true);
        return Applied::Written;
    }

    // The card was deleted meanwhile: it comes back at the end of the list so
    // that no edit is lost, with its group (the title field the boxes make).
    store.append(card);
    // In an extraction, a copy the main list does not hold would be dropped
    // when the extraction ends; the main list takes it as well.
    if (m_index == 1 && !doc.lvData(0).store().containsKey(m_key))
        doc.lvData(0).store().append(card);
    doc.SetModified(true);
    return Applied::Recovered;
}

EditSession::Applied EditSession::applyAndClose()
{
    return putTogether();
}

EditSession::Applied EditSession::commit(bool save)
{
    const Applied applied = putTogether();
    if (applied == Applied::Refused)
        return applied;
    setChangeCard(false);
    if (save)
        m_context.requestSave();
    return applied;
}

QSize EditSession::storedWindowSize() const
{
    SettingsModel &settings = m_context.document().settings();
    return QSize(WindowTwips::toPixels(settings.number(SettingKey::WindowEditSizeX)),
                 WindowTwips::toPixels(settings.number(SettingKey::WindowEditSizeY)));
}

void EditSession::storeWindowSize(const QSize &outerPixels, bool always)
{
    SettingsModel &settings = m_context.document().settings();
    if (!always && !settings.isOn(SettingKey::SaveWindowSize))
        return;
    if (outerPixels.width() <= 0 || outerPixels.height() <= 0)
        return;
    settings.setInteger(SettingKey::WindowEditSizeX, int(std::lround(WindowTwips::fromPixels(outerPixels.width()))));
    settings.setInteger(SettingKey::WindowEditSizeY, int(std::lround(WindowTwips::fromPixels(outerPixels.height()))));
}

void EditSession::openSelection(int item, const QString &selectedText)
{
    Document &doc = m_context.document();
    if (selectedText.isEmpty()) {
        doc.dialogs().message(EditorTexts::NeedSelection, MsgIcon::Information);
        return;
    }
    if (item == 0) {
        if (Shell *shell = doc.services().shell)
            shell->open(selectedText);
    } else if (item == 1) {
        m_context.requestExtraction(selectedText);
    }
}

bool EditSession::runExternalEditor()
{
    Document &doc = m_context.document();
    if (!doc.services().processes)
        return false;
    ExternalEdit edit(doc.settings(), doc.services(), m_context.programWindows);
    const std::optional<QString> edited = edit.run(content());
    if (!edited)
        return false;
    m_content = *edited;
    emit boxReplaced(EditBox::Content, m_content);
    setChangeCard(true);
    return true;
}

void EditSession::setMostFront(bool on)
{
    m_mostFront = on;
    emit mostFrontChanged(on);
}

void EditSession::toggleMostFrontFromButton()
{
    const Services &services = m_context.document().services();
    if (services.userStore && services.dialogs)
        MostFrontNotice::showOnce(*services.userStore, *services.dialogs);
    setMostFront(!m_mostFront);
}

bool EditSession::browseMode() const
{
    const MainViewController *viewState = m_context.viewState();
    return viewState && viewState->browseMode();
}

void EditSession::toggleBrowseMode()
{
    if (MainViewController *viewState = m_context.viewState())
        viewState->toggleBrowseMode();
}
