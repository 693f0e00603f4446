#include "gui/html/htmloutform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace {

namespace T = HtmlWizardTexts;

// The window and its frames, from twips at 15 twips a pixel.
constexpr int WindowWidth = 8145 / 15;
constexpr int WindowHeight = 5730 / 15;
constexpr int PictureWidth = 2100 / 15;

// How long the run may go without letting the window repaint and the
// cancel button be pressed.
constexpr int PumpIntervalMs = 40;

// Check box and label captions keep their line ends; "\r\n" shows as one.
QString shown(QString text)
{
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QLabel *wrapped(const QString &text, QWidget *parent)
{
    auto *label = new QLabel(shown(text), parent);
    label->setWordWrap(true);
    return label;
}

} // namespace

HTMLOutForm::HTMLOutForm(HtmlWizard &wizard, QWidget *parent) : QDialog(parent), m_wizard(wizard)
{
    setObjectName(QStringLiteral("HTMLOutForm"));
    setWindowTitle(T::Caption);
    setMinimumSize(WindowWidth, WindowHeight);

    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("picWiz"));
    picture->setFixedWidth(PictureWidth);
    picture->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    picture->setPixmap(QIcon(QStringLiteral(":/icons/htmlwizard.svg")).pixmap(96, 96));

    m_frames = new QStackedWidget(this);

    // Page 0: the modes.
    auto *page0 = new QWidget(m_frames);
    page0->setObjectName(QStringLiteral("frmWizWindow_0"));
    auto *modes = new QVBoxLayout(page0);
    m_modeGroup = new QButtonGroup(this);
    for (int i = 0; i < 5; ++i) {
        auto *button = new QRadioButton(T::modes().at(size_t(i)).caption, page0);
        button->setObjectName(QStringLiteral("optHTMLMode_%1").arg(i));
        m_modeGroup->addButton(button, i);
        modes->addWidget(button);
        m_modes.at(size_t(i)) = button;
    }
    m_modeDescription = wrapped(QString(), page0);
    m_modeDescription->setObjectName(QStringLiteral("lblModeDescription"));
    m_modeDescription->setFrameShape(QFrame::StyledPanel);
    m_modeDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_modeDescription->setMinimumHeight(80);
    modes->addWidget(m_modeDescription, 1);
    m_frames->addWidget(page0);

    // Page 1: template, style sheet, options.
    auto *page1 = new QWidget(m_frames);
    page1->setObjectName(QStringLiteral("frmWizWindow_1"));
    auto *grid = new QGridLayout(page1);
    grid->setVerticalSpacing(3);
    grid->addWidget(new QLabel(T::TemplateLabel, page1), 0, 0, 1, 3);
    auto *instruction = wrapped(T::TemplateInstruction, page1);
    grid->addWidget(instruction, 1, 0, 1, 3);
    m_template = new QLineEdit(page1);
    m_template->setObjectName(QStringLiteral("txtHinagataFileName"));
    grid->addWidget(m_template, 2, 0, 1, 2);
    m_refTemplate = new QPushButton(T::Browse, page1);
    m_refTemplate->setObjectName(QStringLiteral("btnRefHinagata"));
    grid->addWidget(m_refTemplate, 2, 2);
    m_templateName = new QLabel(page1);
    m_templateName->setObjectName(QStringLiteral("lblHinagataFileName"));
    grid->addWidget(m_templateName, 3, 0, 1, 3);
    grid->addWidget(new QLabel(T::StyleSheetLabel, page1), 4, 0);
    m_styleSheet = new QComboBox(page1);
    m_styleSheet->setObjectName(QStringLiteral("txtStyleSheet"));
    m_styleSheet->setToolTip(T::StyleSheetTip);
    grid->addWidget(m_styleSheet, 4, 1);
    auto *buttons = new QHBoxLayout;
    m_details = new QPushButton(T::Details, page1);
    m_details->setObjectName(QStringLiteral("btnHelp"));
    m_details->setToolTip(T::DetailsTip);
    m_unify = new QPushButton(T::Unify, page1);
    m_unify->setObjectName(QStringLiteral("btnSetAllHina"));
    m_unify->setToolTip(T::UnifyTip);
    buttons->addWidget(m_details);
    buttons->addWidget(m_unify);
    grid->addLayout(buttons, 4, 2);
    m_styleSheetName = new QLabel(page1);
    m_styleSheetName->setObjectName(QStringLiteral("lblStyleSheetName"));
    grid->addWidget(m_styleSheetName, 5, 0, 1, 3);
    for (int i = 0; i < WizardOptionCount; ++i) {
        const T::OptionText &text = T::options().at(size_t(i));
        auto *box = new QCheckBox(shown(text.caption), page1);
        box->setObjectName(QStringLiteral("chkOption_%1").arg(i));
        box->setToolTip(text.tip);
        grid->addWidget(box, 6 + i, 0, 1, 3);
        m_options.at(size_t(i)) = box;
    }
    grid->setRowStretch(6 + WizardOptionCount, 1);
    grid->setColumnStretch(1, 1);
    m_frames->addWidget(page1);

    // Page 2: the destination.
    auto *page2 = new QWidget(m_frames);
    page2->setObjectName(QStringLiteral("frmWizWindow_2"));
    auto *dest = new QGridLayout(page2);
    dest->addWidget(wrapped(T::WaitNotice, page2), 0, 0, 1, 2);
    m_saveMessage = new QLabel(page2);
    m_saveMessage->setObjectName(QStringLiteral("lblSaveMessage"));
    dest->addWidget(m_saveMessage, 1, 0, 1, 2);
    m_saveDetail = wrapped(QString(), page2);
    m_saveDetail->setObjectName(QStringLiteral("lblSaveMessageDetail"));
    dest->addWidget(m_saveDetail, 2, 0, 1, 2);
    m_rootPath = new QLineEdit(page2);
    m_rootPath->setObjectName(QStringLiteral("txtRootPath"));
    dest->addWidget(m_rootPath, 3, 0);
    m_refRootPath = new QPushButton(T::Browse, page2);
    m_refRootPath->setObjectName(QStringLiteral("btnRefRootPath"));
    dest->addWidget(m_refRootPath, 3, 1);
    m_autoOpen = new QCheckBox(T::AutoOpen, page2);
    m_autoOpen->setObjectName(QStringLiteral("chkAutoOpen"));
    dest->addWidget(m_autoOpen, 4, 0, 1, 2);
    dest->setRowStretch(5, 1);
    dest->setColumnStretch(0, 1);
    m_frames->addWidget(page2);

    // Page 3: writing.
    auto *page3 = new QWidget(m_frames);
    page3->setObjectName(QStringLiteral("frmWizWindow_3"));
    auto *writing = new QVBoxLayout(page3);
    writing->addWidget(wrapped(T::Writing, page3));
    m_progress = new QProgressBar(page3);
    m_progress->setObjectName(QStringLiteral("pbHTMLOut"));
    m_progress->setRange(0, 0);
    writing->addWidget(m_progress);
    m_progressText = new QLabel(page3);
    m_progressText->setObjectName(QStringLiteral("lblProgress"));
    m_progressText->setTextFormat(Qt::PlainText);
    writing->addWidget(m_progressText);
    writing->addStretch(1);
    m_frames->addWidget(page3);

    m_back = new QPushButton(T::Back, this);
    m_back->setObjectName(QStringLiteral("btnMove_0"));
    m_next = new QPushButton(T::Next, this);
    m_next->setObjectName(QStringLiteral("btnMove_1"));
    m_next->setDefault(true);
    m_cancel = new QPushButton(T::Cancel, this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));

    auto *top = new QHBoxLayout;
    top->addWidget(picture);
    top->addWidget(m_frames, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_back);
    bottom->addWidget(m_next);
    bottom->addSpacing(12);
    bottom->addWidget(m_cancel);
    auto *outer = new QVBoxLayout(this);
    outer->addLayout(top, 1);
    outer->addLayout(bottom);

    connect(m_modeGroup, &QButtonGroup::idClicked, this, [this](int id) { m_wizard.setMode(HtmlMode(id)); });
    connect(m_template, &QLineEdit::textEdited, this, [this](const QString &text) { m_wizard.setTemplatePath(text); });
    connect(m_refTemplate, &QPushButton::clicked, this, [this] { m_wizard.chooseTemplate(); });
    connect(m_styleSheet, &QComboBox::textActivated, this,
            [this](const QString &text) { m_wizard.setStyleSheet(text); });
    connect(m_details, &QPushButton::clicked, this, [this] { m_wizard.showDescription(); });
    connect(m_unify, &QPushButton::clicked, this, [this] { m_wizard.unifyBrowserTemplates(); });
    for (int i = 0; i < WizardOptionCount; ++i) {
        connect(m_options.at(size_t(i)), &QCheckBox::clicked, this,
                [this, i](bool on) { m_wizard.setOption(WizardOption(i), on); });
    }
    connect(m_rootPath, &QLineEdit::textEdited, this, [this](const QString &text) { m_wizard.setRootPath(text); });
    connect(m_refRootPath, &QPushButton::clicked, this, [this] { m_wizard.chooseDestination(); });
    connect(m_autoOpen, &QCheckBox::clicked, this, [this](bool on) { m_wizard.setAutoOpen(on); });
    connect(m_back, &QPushButton::clicked, this, [this] { m_wizard.back(); });
    connect(m_next, &QPushButton::clicked, this, &HTMLOutForm::onNext);
    connect(m_cancel, &QPushButton::clicked, this, &HTMLOutForm::reject);

    m_wizard.setProgress([this](qsizetype done, qsizetype total) { return onProgress(done, total); });
    m_wizard.setCardObserver([this](const QString &card) { m_card = card; });
    connect(&m_wizard, &HtmlWizard::changed, this, &HTMLOutForm::refresh);
    refresh();
    resize(WindowWidth, WindowHeight);
}

void HTMLOutForm::refresh()
{
    const int page = m_wizard.page();
    const bool arrived = page != m_frames->currentIndex();
    m_frames->setCurrentIndex(page);
    const int mode = int(m_wizard.mode());
    m_modes.at(size_t(mode))->setChecked(true);
    m_modeDescription->setText(shown(T::modes().at(size_t(mode)).description));

    if (m_template->text() != m_wizard.templatePath())
        m_template->setText(m_wizard.templatePath());
    m_templateName->setText(m_wizard.templateName());
    {
        const QSignalBlocker blocker(m_styleSheet);
        const QStringList entries = m_wizard.styleSheetEntries();
        QStringList items;
        for (int i = 0; i < m_styleSheet->count(); ++i)
            items << m_styleSheet->itemText(i);
        if (items != entries) {
            m_styleSheet->clear();
            m_styleSheet->addItems(entries);
        }
        // A remembered entry the template does not hold still shows.
        int index = m_styleSheet->findText(m_wizard.styleSheet());
        if (index < 0 && !m_wizard.styleSheet().isEmpty()) {
            m_styleSheet->addItem(m_wizard.styleSheet());
            index = m_styleSheet->count() - 1;
        }
        m_styleSheet->setCurrentIndex(index);
    }
    m_styleSheetName->setText(m_wizard.styleSheetLabel());
    for (int i = 0; i < WizardOptionCount; ++i)
        m_options.at(size_t(i))->setChecked(m_wizard.option(WizardOption(i)));

    m_saveMessage->setText(m_wizard.saveMessage());
    m_saveDetail->setText(shown(m_wizard.saveMessageDetail()));
    if (m_rootPath->text() != m_wizard.rootPath())
        m_rootPath->setText(m_wizard.rootPath());
    m_autoOpen->setChecked(m_wizard.autoOpen());

    m_back->setEnabled(m_wizard.backEnabled());
    m_next->setEnabled(m_wizard.nextEnabled());
    m_next->setText(m_wizard.nextCaption());
    // The destination is what page 2 asks for: typing goes there.
    if (arrived && page == 2)
        m_rootPath->setFocus();
    if (page == HtmlWizard::WritingPage && m_wizard.running()) {
        m_cancelRequested = false;
        m_card.clear();
        m_progress->setRange(0, 0);
        m_progressText->clear();
        m_sincePump.invalidate();
        // The writing page shows before the first page is written.
        if (isVisible())
            repaint();
    }
}

void HTMLOutForm::onNext()
{
    switch (m_wizard.next()) {
    case HtmlWizard::Step::Moved:
    case HtmlWizard::Step::AskedDestination: return;
    case HtmlWizard::Step::Finished:
    case HtmlWizard::Step::NothingCollected:
    case HtmlWizard::Step::Cancelled: end(); return;
    }
}

bool HTMLOutForm::onProgress(qsizetype done, qsizetype total)
{
    if (!m_sincePump.isValid() || m_sincePump.elapsed() >= PumpIntervalMs || (total > 0 && done == total)) {
        // 0 of 0 while the cards are collected: the bar stays busy. It counts
        // in int; a run has far fewer pages than that.
        if (total > 0) {
            m_progress->setRange(0, int(total));
            m_progress->setValue(int(qMin(done, total)));
            m_progressText->setText(T::progress(done, total, m_card));
        }
        QCoreApplication::processEvents();
        m_sincePump.start();
    }
    return !m_cancelRequested;
}

bool HTMLOutForm::runStraightThrough()
{
    for (int press = 0; press < 3 && !m_ended; ++press) {
        if (isVisible())
            repaint();
        const int before = m_wizard.page();
        onNext();
        if (!m_ended && m_wizard.page() == before)
            return false; // stopped on page 2 with the destination chooser
    }
    return m_ended;
}

void HTMLOutForm::end()
{
    m_ended = true;
    accept();
}

void HTMLOutForm::reject()
{
    if (m_wizard.running()) {
        // The run stops between two pages and then ends the wizard.
        m_cancelRequested = true;
        m_cancel->setEnabled(false);
        return;
    }
    m_ended = true;
    QDialog::reject();
}

void HTMLOutForm::closeEvent(QCloseEvent *event)
{
    if (m_wizard.running()) {
        event->ignore();
        reject();
        return;
    }
    QDialog::closeEvent(event);
}
