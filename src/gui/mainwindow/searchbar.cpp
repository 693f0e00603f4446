#include "gui/mainwindow/searchbar.h"

#include "core/window/mainwindowtables.h"
#include "gui/common/actionbuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTimer>
#include <QToolButton>

SearchBar::SearchBar(ActionBuilder &actions, QWidget *parent) : QWidget(parent), m_keyword(new QComboBox(this))
{
    setObjectName(QStringLiteral("picSearch"));
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(1);

    m_keyword->setObjectName(QStringLiteral("txtSearch"));
    m_keyword->setEditable(true);
    // The history is kept by the search itself, not by Enter in the box.
    m_keyword->setInsertPolicy(QComboBox::NoInsert);
    m_keyword->setToolTip(MainWindowTables::searchBoxTooltip());
    m_keyword->setMinimumContentsLength(16);
    m_keyword->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_keyword->lineEdit()->installEventFilter(this);
    layout->addWidget(m_keyword, 1);

    for (const SearchBarControl &c : MainWindowTables::searchBar()) {
        QAbstractButton *button = actions.makeButton(c, this);
        if (auto *regex = qobject_cast<QCheckBox *>(button)) {
            m_regex = regex;
            layout->addSpacing(2);
        }
        layout->addWidget(button);
    }
}

QString SearchBar::keyword() const
{
    return m_keyword->currentText();
}

void SearchBar::setKeyword(const QString &keyword)
{
    m_keyword->setEditText(keyword);
}

QStringList SearchBar::history() const
{
    QStringList entries;
    for (int i = 0; i < m_keyword->count(); ++i)
        entries.append(m_keyword->itemText(i));
    return entries;
}

void SearchBar::setHistory(const QStringList &entries)
{
    const QString text = keyword();
    m_keyword->clear();
    m_keyword->addItems(entries);
    m_keyword->setEditText(text);
}

void SearchBar::focusKeyword()
{
    m_keyword->setFocus(Qt::ShortcutFocusReason);
    selectKeyword();
}

void SearchBar::selectKeyword()
{
    m_keyword->lineEdit()->selectAll();
}

bool SearchBar::eventFilter(QObject *watched, QEvent *event)
{
    // On focus the whole keyword is selected (after the click has placed the caret).
    if (watched == m_keyword->lineEdit() && event->type() == QEvent::FocusIn)
        QTimer::singleShot(0, m_keyword->lineEdit(), &QLineEdit::selectAll);
    return QWidget::eventFilter(watched, event);
}
