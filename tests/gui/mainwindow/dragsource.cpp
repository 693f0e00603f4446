// A second program for the drag and drop check under Xvfb: a window titled
// "QLT drag source" that, pressed and dragged, offers the files of its
// command line as a file manager does, a text/uri-list with the paths as
// plain text beside it. Exits 0 when the drag was taken, 1 when refused.
#include <QApplication>
#include <QDrag>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

namespace {

class DragSource : public QLabel
{
public:
    explicit DragSource(const QStringList &paths) : QLabel(QStringLiteral("drag source")), m_paths(paths)
    {
        setWindowTitle(QStringLiteral("QLT drag source"));
        setAlignment(Qt::AlignCenter);
    }

protected:
    void mousePressEvent(QMouseEvent *) override { m_pressed = true; }
    void mouseMoveEvent(QMouseEvent *) override
    {
        if (!m_pressed)
            return;
        m_pressed = false;
        auto *offer = new QMimeData;
        QList<QUrl> urls;
        for (const QString &path : m_paths)
            urls.append(QUrl::fromLocalFile(path));
        offer->setUrls(urls);
        offer->setText(m_paths.join(QLatin1Char('\n')));
        auto *drag = new QDrag(this);
        drag->setMimeData(offer);
        const Qt::DropAction done = drag->exec(Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, Qt::CopyAction);
        // The target asks for the data after the drop: stay a while to serve it.
        QTimer::singleShot(3000, qApp, [done] { QApplication::exit(done == Qt::IgnoreAction ? 1 : 0); });
    }

private:
    QStringList m_paths;
    bool m_pressed = false;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    DragSource source(app.arguments().mid(1));
    source.resize(200, 120);
    source.move(0, 0);
    source.show();
    return app.exec();
}
