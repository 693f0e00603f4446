// EditForm's event handling: the keys of the window and of its boxes, focus
// changes, clicks on the item labels and the function bar, drops.
#include "core/document/document.h"
#include "core/editor/editorcontext.h"
#include "core/editor/editortables.h"
#include "core/editor/editortext.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"
#include "gui/editor/editform.h"

#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTextCursor>

namespace {

bool isEnter(int key)
{
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

} // namespace

bool EditForm::eventFilter(QObject *watched, QEvent *event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
        if (handleKey(watched, static_cast<QKeyEvent *>(event)))
            return true;
        break;
    case QEvent::FocusIn: {
        const int index = boxIndexOf(watched);
        if (index >= 0) {
            m_nowSelected = index;
            showWideCaret(index);
        }
        break;
    }
    case QEvent::FocusOut: {
        // Leaving the title or remarks box removes its line breaks; a menu or
        // another window taking the focus for a moment is no leaving.
        const int index = boxIndexOf(watched);
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if ((index == 0 || index == 1) && reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            m_session.leaveBox(index == 0 ? EditBox::Title : EditBox::Remarks);
        break;
    }
    case QEvent::MouseButtonPress: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        for (int i = 0; i < 3; ++i) {
            if (watched != m_labels[i])
                continue;
            // A click on an item label selects its box's whole text.
            focusBox(i, true);
            if (mouse->button() == Qt::RightButton)
                popUpEditMenu(mouse->globalPosition().toPoint());
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease: {
        auto *mouse = static_cast<QMouseEvent *>(event);
        auto *label = qobject_cast<QLabel *>(watched);
        if (label && m_panels.contains(label) && mouse->button() == Qt::LeftButton
            && label->rect().contains(mouse->position().toPoint())) {
            if (!m_context.document().settings().isOn(SettingKey::NoFunctionBarClickEvent)) {
                const QString command = EditorTables::functionBarCommand(label->text());
                if (!command.isEmpty())
                    run(command);
            }
            return true;
        }
        break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
        if (boxIndexOf(watched) >= 0 && handleDrop(event))
            return true;
        break;
    default: break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void EditForm::keyPressEvent(QKeyEvent *event)
{
    if (handleKey(this, event))
        return;
    QMainWindow::keyPressEvent(event);
}

bool EditForm::handleKey(QObject *watched, QKeyEvent *event)
{
    const Qt::KeyboardModifiers mods =
        event->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
    const int key = event->key();

    // Keys of the whole window.
    if (key == Qt::Key_Escape && mods == Qt::NoModifier) {
        if (m_session.escapeDiscards())
            discard();
        return true;
    }
    if ((isEnter(key) && (mods == Qt::ShiftModifier || mods == Qt::AltModifier))
        || (key == Qt::Key_W && mods == Qt::ControlModifier)) {
        applyAndClose();
        return true;
    }
    if (key == Qt::Key_S && mods == Qt::ControlModifier) {
        commitEdit(false);
        return true;
    }
    if (key == Qt::Key_S && (mods == Qt::AltModifier || mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
        commitEdit(true);
        return true;
    }
    if ((mods == Qt::ControlModifier || mods == Qt::AltModifier) && key >= Qt::Key_1 && key <= Qt::Key_3) {
        focusBox(key - Qt::Key_1);
        return true;
    }
    if (key == Qt::Key_F3 && (mods == Qt::NoModifier || mods == Qt::ShiftModifier)) {
        searchContent(mods == Qt::NoModifier);
        return true;
    }

    if (watched == m_search) {
        if (isEnter(key) && (mods == Qt::NoModifier || mods == Qt::ControlModifier)) {
            searchContent(mods == Qt::NoModifier);
            return true;
        }
        return false;
    }

    const int box = boxIndexOf(watched);
    const bool inGroup = watched == m_group || watched == m_group->lineEdit();
    if (box < 0 && !inGroup)
        return false;

    if (key == Qt::Key_F && mods == Qt::ControlModifier) {
        m_search->selectAll();
        m_search->setFocus(Qt::ShortcutFocusReason);
        return true;
    }
    if (key == Qt::Key_Menu) {
        popUpEditMenu(m_title->mapToGlobal(QPoint(0, 0)));
        return true;
    }
    if (mods == Qt::NoModifier) {
        if (key == Qt::Key_Up && box == 1) {
            focusBox(0);
            return true;
        }
        if (key == Qt::Key_Up && box == 0) {
            m_group->setFocus(Qt::OtherFocusReason);
            return true;
        }
        if (key == Qt::Key_Down && (box == 0 || box == 1)) {
            focusBox(box + 1);
            return true;
        }
        if (key == Qt::Key_PageDown && (box == 0 || box == 1)) {
            pageContent(true);
            return true;
        }
    }
    return handleBrowseKey(event);
}

bool EditForm::handleBrowseKey(QKeyEvent *event)
{
    // In browse mode typed characters are swallowed; Space and z page.
    if (!m_session.browseMode() || (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    const QString text = event->text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return false;
    if (event->key() == Qt::Key_Space)
        pageContent(true);
    else if (event->key() == Qt::Key_Z)
        pageContent(false);
    return true;
}

bool EditForm::handleDrop(QEvent *event)
{
    auto *drop = static_cast<QDropEvent *>(event);
    const QMimeData *mime = drop->mimeData();
    if (!mime || (!mime->hasUrls() && !mime->hasText()))
        return false;
    if (event->type() != QEvent::Drop) {
        drop->acceptProposedAction();
        return true;
    }
    QStringList files;
    for (const QUrl &url : mime->urls())
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    std::optional<QString> text;
    if (mime->hasText())
        text = mime->text();
    drop->acceptProposedAction();
    // Whatever box it lands on, the text goes in at the content box's caret.
    const std::optional<QString> dropped =
        EditorText::droppedText(files, files.isEmpty() ? text : std::nullopt, m_context.document().dialogs());
    if (dropped) {
        m_content->setFocus(Qt::OtherFocusReason);
        QTextCursor cursor = m_content->textCursor();
        cursor.insertText(*dropped);
        m_content->setTextCursor(cursor);
        m_content->ensureCursorVisible();
    }
    return true;
}
