// EditForm's event handling: the keys of the window and of its boxes (run
// from the editor's key table), focus changes, clicks on the item labels,
// drops.
#include "core/document/document.h"
#include "core/editor/editorcontext.h"
#include "core/editor/editortables.h"
#include "core/editor/editortext.h"
#include "gui/common/actionbuilder.h"
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

KeyScope EditForm::scopeOf(QObject *watched) const
{
    switch (boxIndexOf(watched)) {
    case 0: return KeyScope::TitleBox;
    case 1: return KeyScope::RemarksBox;
    case 2: return KeyScope::ContentBox;
    default: break;
    }
    if (watched == m_group || watched == m_group->lineEdit())
        return KeyScope::GroupBox;
    if (watched == m_search)
        return KeyScope::SearchBox;
    return KeyScope::Window;
}

bool EditForm::handleKey(QObject *watched, QKeyEvent *event)
{
    KeyContext context;
    context.browseMode = m_session.browseMode();
    const KeyScope scope = scopeOf(watched);
    if (m_actions->runKey(EditorTables::keys(), event, scope, context))
        return true;
    return EditorTables::swallowsTyping(scope, context, event->text(), event->modifiers());
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
