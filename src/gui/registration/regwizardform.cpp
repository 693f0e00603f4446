#include "gui/registration/regwizardform.h"

#include "core/common/services.h"
#include "core/common/tool.h"
#include "gui/registration/pagefetcher.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStackedWidget>
#include <QSvgRenderer>
#include <QTextBrowser>
#include <QVBoxLayout>

namespace {

// picLeftPic: the strip on the left, the program's cards on a blue ground.
QPixmap leftPicture(QSize size)
{
    QPixmap pixmap(size);
    QPainter p(&pixmap);
    QLinearGradient ground(0, 0, 0, size.height());
    ground.setColorAt(0, QColor(0x2f, 0x6f, 0xb3));
    ground.setColorAt(1, QColor(0x12, 0x2c, 0x4a));
    p.fillRect(pixmap.rect(), ground);
    QSvgRenderer icon(QStringLiteral(":/registration/icons/qltwin.svg"));
    const int side = size.width() - 24;
    icon.render(&p, QRectF(12, 24, side, side));
    p.setPen(Qt::white);
    QFont font = p.font();
    font.setBold(true);
    font.setPointSize(13);
    p.setFont(font);
    p.drawText(QRect(0, side + 36, size.width(), 30), Qt::AlignHCenter, QStringLiteral("QLT@WIN"));
    font.setBold(false);
    font.setPointSize(9);
    p.setFont(font);
    p.drawText(QRect(0, side + 64, size.width(), 40), Qt::AlignHCenter | Qt::TextWordWrap,
               QStringLiteral("サポート情報"));
    return pixmap;
}

QLabel *wrappedLabel(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

} // namespace

RegWizardForm::RegWizardForm(RegWizard &wizard, PageSource &pages, Shell &shell,
                             std::function<void(const RegistrationChoices &)> onFinish, QWidget *parent)
    : QWidget(parent), m_wizard(wizard), m_pages(pages), m_shell(shell), m_onFinish(std::move(onFinish))
{
    setObjectName(QStringLiteral("frmRegWiz"));
    setWindowTitle(RegWizardTexts::Caption);

    auto *picture = new QLabel;
    picture->setObjectName(QStringLiteral("picLeftPic"));
    picture->setPixmap(leftPicture(QSize(120, 340)));
    picture->setAlignment(Qt::AlignTop);

    m_frames = new QStackedWidget;

    // picWiz(0): the release notes.
    m_text = new QPlainTextEdit;
    m_text->setObjectName(QStringLiteral("txtText"));
    m_text->setReadOnly(true);
    auto *frame0 = new QWidget;
    auto *l0 = new QVBoxLayout(frame0);
    l0->setContentsMargins(0, 0, 0, 0);
    l0->addWidget(m_text);

    // picWiz(1): the embedded browser under its comment.
    m_comment = wrappedLabel(QString());
    m_comment->setObjectName(QStringLiteral("txtComment"));
    m_browser = new QTextBrowser;
    m_browser->setObjectName(QStringLiteral("IE"));
    m_browser->setOpenLinks(false);
    connect(m_browser, &QTextBrowser::anchorClicked, this,
            [this](const QUrl &url) { Tool::OpenWithShell(m_shell, url.toString()); });
    auto *frame1 = new QWidget;
    auto *l1 = new QVBoxLayout(frame1);
    l1->setContentsMargins(0, 0, 0, 0);
    l1->addWidget(m_comment);
    l1->addWidget(m_browser, 1);

    // picWiz(2): the mailing list.
    auto *frame2 = new QWidget;
    auto *l2 = new QVBoxLayout(frame2);
    l2->addWidget(wrappedLabel(RegWizardTexts::MailingListText));
    const QString mailCaptions[] = {RegWizardTexts::MailingListStart, RegWizardTexts::MailingListStop,
                                    RegWizardTexts::MailingListChange};
    for (int i = 0; i < 3; ++i) {
        auto *button = new QPushButton(mailCaptions[i]);
        button->setObjectName(QStringLiteral("btnMailingList%1").arg(i));
        connect(button, &QPushButton::clicked, this, [this, i] { m_wizard.mailingList(i); });
        auto *row = new QHBoxLayout;
        row->addWidget(button);
        row->addStretch();
        l2->addLayout(row);
    }
    l2->addStretch();

    // picWiz(3): the file types and the favourites.
    auto *frame3 = new QWidget;
    auto *l3 = new QVBoxLayout(frame3);
    l3->addWidget(wrappedLabel(RegWizardTexts::FileTypesText));
    auto *boxes = new QHBoxLayout;
    for (int i = 0; i < 4; ++i) {
        m_ext[size_t(i)] = new QCheckBox(RegWizardTexts::ExtensionBoxes[size_t(i)]);
        m_ext[size_t(i)]->setObjectName(QStringLiteral("chkEXT%1").arg(i));
        boxes->addWidget(m_ext[size_t(i)]);
    }
    boxes->addStretch();
    l3->addLayout(boxes);
    l3->addSpacing(12);
    l3->addWidget(wrappedLabel(RegWizardTexts::FavoritesText));
    m_favorite = new QCheckBox(RegWizardTexts::FavoriteBox);
    m_favorite->setObjectName(QStringLiteral("chkFavorite"));
    l3->addWidget(m_favorite);
    l3->addStretch();

    for (QWidget *frame : {frame0, frame1, frame2, frame3})
        m_frames->addWidget(frame);
    for (int i = 0; i < 4; ++i)
        m_frames->widget(i)->setObjectName(QStringLiteral("picWiz%1").arg(i));

    // picButtonBar.
    m_back = new QPushButton(RegWizardTexts::Back);
    m_back->setObjectName(QStringLiteral("btnPreNext1"));
    m_next = new QPushButton(RegWizardTexts::Next);
    m_next->setObjectName(QStringLiteral("btnPreNext0"));
    m_next->setDefault(true);
    m_cancel = new QPushButton(RegWizardTexts::Cancel);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    connect(m_next, &QPushButton::clicked, this, &RegWizardForm::onNext);
    connect(m_back, &QPushButton::clicked, this, &RegWizardForm::onBack);
    connect(m_cancel, &QPushButton::clicked, this, &RegWizardForm::onCancel);
    auto *buttonBar = new QWidget;
    buttonBar->setObjectName(QStringLiteral("picButtonBar"));
    auto *bar = new QHBoxLayout(buttonBar);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->addStretch();
    bar->addWidget(m_back);
    bar->addWidget(m_next);
    bar->addSpacing(12);
    bar->addWidget(m_cancel);

    auto *right = new QVBoxLayout;
    right->addWidget(m_frames, 1);
    right->addWidget(buttonBar);
    auto *top = new QHBoxLayout(this);
    top->addWidget(picture);
    top->addLayout(right, 1);

    // 8640 x 5400 twips; Japanese text needs a little more at today's fonts.
    resize(640, 400);

    const RegistrationChoices &choices = m_wizard.choices();
    for (size_t i = 0; i < m_ext.size(); ++i)
        m_ext[i]->setChecked(choices.extensions[i]);
    m_favorite->setChecked(choices.favorites);
    ShowStep();
}

int RegWizardForm::visibleFrame() const
{
    return m_frames->currentIndex();
}

void RegWizardForm::clearBrowser()
{
    m_pages.cancel();
    m_browser->clear();
}

void RegWizardForm::ShowStep()
{
    clearBrowser();
    m_frames->setCurrentIndex(m_wizard.frame());
    switch (m_wizard.page()) {
    case RegWizard::Page::RegInfo: m_text->setPlainText(RegWizard::regInfoText()); break;
    case RegWizard::Page::Browser: {
        m_comment->setText(m_wizard.comment());
        m_browser->setHtml(QStringLiteral("<p>読み込み中...</p>"));
        QPointer<QTextBrowser> browser = m_browser;
        m_pages.fetch(m_wizard.browserAddress(), [browser](const QString &html) {
            if (browser)
                browser->setHtml(html);
        });
        break;
    }
    case RegWizard::Page::MailingList:
    case RegWizard::Page::FileTypes: break;
    }
}

void RegWizardForm::storeBoxes()
{
    RegistrationChoices &choices = m_wizard.choices();
    for (size_t i = 0; i < m_ext.size(); ++i)
        choices.extensions[i] = m_ext[i]->isChecked();
    choices.favorites = m_favorite->isChecked();
}

void RegWizardForm::onNext()
{
    clearBrowser();
    storeBoxes();
    if (m_wizard.next()) {
        m_ending = true;
        if (m_onFinish)
            m_onFinish(m_wizard.choices());
        close();
        return;
    }
    ShowStep();
}

void RegWizardForm::onBack()
{
    clearBrowser();
    storeBoxes();
    m_wizard.back();
    ShowStep();
}

void RegWizardForm::onCancel()
{
    close();
}

void RegWizardForm::closeEvent(QCloseEvent *event)
{
    if (!m_ending) {
        m_ending = true;
        m_pages.cancel();
        m_wizard.cancel();
    }
    event->accept();
}
