#include "gui/mainwindow/groupchangeform.h"

#include "core/search/searchtexts.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

GroupChangeForm::GroupChangeForm(QWidget *parent)
    : QDialog(parent), m_group(new QComboBox(this)), m_ok(new QPushButton(SearchTexts::Ok, this)),
      m_cancel(new QPushButton(SearchTexts::Cancel, this))
{
    setObjectName(QStringLiteral("GroupChangeForm"));
    setWindowTitle(SearchTexts::GroupChangeCaption);
    setModal(true);
    m_group->setObjectName(QStringLiteral("cmbGroup"));
    m_group->setEditable(true);
    m_group->setInsertPolicy(QComboBox::NoInsert);
    m_group->setMinimumContentsLength(24);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setDefault(true);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_group);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, [this] {
        m_confirmed = true;
        accept();
    });
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void GroupChangeForm::load(const QStringList &groups, const QString &text)
{
    m_confirmed = false;
    m_group->clear();
    m_group->addItems(groups);
    m_group->setEditText(text);
    m_group->lineEdit()->selectAll();
}

QString GroupChangeForm::groupText() const
{
    return m_group->currentText();
}

std::optional<QString> GroupChangeForm::ask(const QStringList &groups, const QString &text)
{
    load(groups, text);
    m_group->setFocus(Qt::OtherFocusReason);
    exec();
    if (!m_confirmed)
        return std::nullopt;
    return groupText();
}
