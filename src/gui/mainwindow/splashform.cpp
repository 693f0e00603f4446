#include "gui/mainwindow/splashform.h"

#include "core/common/services.h"
#include "core/common/tool.h"
#include "core/common/version.h"
#include "core/window/helpcommands.h"

#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QVBoxLayout>

namespace {

// The background tile: pale paper with a faint card outline, drawn here so
// the window needs no picture file.
QPixmap makeTile()
{
    QPixmap tile(48, 48);
    tile.fill(QColor(0xf4, 0xf0, 0xe4));
    QPainter p(&tile);
    p.setPen(QColor(0xe4, 0xdc, 0xc8));
    p.drawRect(6, 10, 36, 26);
    p.drawLine(10, 18, 38, 18);
    p.drawLine(10, 24, 38, 24);
    p.drawLine(10, 30, 30, 30);
    return tile;
}

// Corner ellipse of 200 x 200 pixels.
constexpr int CornerDiameter = 200;

} // namespace

SplashForm::SplashForm(Shell &shell, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_shell(shell), m_tile(makeTile())
{
    setObjectName(QStringLiteral("SplashForm"));
    setModal(true);
    setFixedSize(420, 300);

    auto *title = new QLabel(Version::ProductName, this);
    QFont big = title->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    title->setFont(big);
    title->setAlignment(Qt::AlignCenter);

    m_version = new QLabel(versionText(), this);
    m_version->setObjectName(QStringLiteral("lblVersion"));
    m_version->setAlignment(Qt::AlignCenter);

    auto *maker = new QLabel(QStringLiteral("Orvale SoftWares"), this);
    maker->setAlignment(Qt::AlignCenter);

    const HelpCommands::Links links = HelpCommands::defaultLinks();
    QLabel *home = makeLink(QStringLiteral("ホームページ"), links.homePage);
    QLabel *board = makeLink(QStringLiteral("サポート掲示板"), links.supportBoard);

    m_ok = new QLabel(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("lblOK"));
    m_ok->setAlignment(Qt::AlignCenter);
    m_ok->setFixedSize(80, 26);
    m_ok->setFrameShape(QFrame::NoFrame);
    m_ok->setCursor(Qt::PointingHandCursor);
    m_ok->installEventFilter(this);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 36, 40, 30);
    layout->addWidget(title);
    layout->addWidget(m_version);
    layout->addWidget(maker);
    layout->addStretch();
    layout->addWidget(home, 0, Qt::AlignCenter);
    layout->addWidget(board, 0, Qt::AlignCenter);
    layout->addSpacing(8);
    layout->addWidget(m_ok, 0, Qt::AlignCenter);
}

QString SplashForm::versionText()
{
    return QStringLiteral(" Ver.") + Version::dotted();
}

QLabel *SplashForm::makeLink(const QString &text, const QString &target)
{
    auto *label = new QLabel(text, this);
    label->setCursor(Qt::PointingHandCursor);
    label->setStyleSheet(QStringLiteral("color: #1a4f9c; text-decoration: underline;"));
    label->setProperty("target", target);
    label->installEventFilter(this);
    return label;
}

bool SplashForm::eventFilter(QObject *watched, QEvent *event)
{
    auto *label = qobject_cast<QLabel *>(watched);
    if (!label)
        return QDialog::eventFilter(watched, event);
    if (label == m_ok) {
        // A single border while the button is down; a click closes.
        if (event->type() == QEvent::MouseButtonPress) {
            m_ok->setFrameShape(QFrame::Box);
            return true;
        }
        if (event->type() == QEvent::MouseButtonRelease) {
            m_ok->setFrameShape(QFrame::NoFrame);
            if (m_ok->rect().contains(static_cast<QMouseEvent *>(event)->position().toPoint()))
                accept();
            return true;
        }
        return false;
    }
    const QString target = label->property("target").toString();
    if (!target.isEmpty() && event->type() == QEvent::MouseButtonRelease) {
        Tool::ShellOpen(m_shell, target);
        accept();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void SplashForm::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.drawTiledPixmap(rect(), m_tile);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x9c, 0x8c, 0x6c), 2));
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), CornerDiameter / 2.0, CornerDiameter / 2.0);
}

void SplashForm::resizeEvent(QResizeEvent *event)
{
    QPainterPath path;
    path.addRoundedRect(QRectF(rect()), CornerDiameter / 2.0, CornerDiameter / 2.0);
    setMask(QRegion(path.toFillPolygon().toPolygon()));
    QDialog::resizeEvent(event);
}

void SplashForm::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragOffset = event->globalPosition().toPoint() - frameGeometry().topLeft();
    }
}

void SplashForm::mouseMoveEvent(QMouseEvent *event)
{
    if (m_dragging)
        move(event->globalPosition().toPoint() - m_dragOffset);
}

void SplashForm::mouseReleaseEvent(QMouseEvent *)
{
    m_dragging = false;
}
