// A second program for the drag and drop check under Xvfb.
//     qlt_dragsource FILE...      a window titled "QLT drag source" that,
//         pressed and dragged, offers the files as a file manager does, a
//         text/uri-list with the paths as plain text beside it. Exits 0 when
//         the drag was taken, 1 when refused.
//     qlt_dragsource --receive DIR    a window titled "QLT drop target" that
//         takes one drop as a text editor and a file manager would: the
//         plain text into DIR/dropped.txt (UTF-8), each local file of the
//         file list copied into DIR. Exits 0 after the drop.
#include <QApplication>
#include <QDir>
#include <QDrag>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QUrl>

#include <memory>

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

class DropTarget : public QLabel
{
public:
    explicit DropTarget(const QString &folder) : QLabel(QStringLiteral("drop target")), m_folder(folder)
    {
        setWindowTitle(QStringLiteral("QLT drop target"));
        setAlignment(Qt::AlignCenter);
        setAcceptDrops(true);
    }

protected:
    void dragEnterEvent(QDragEnterEvent *event) override { event->acceptProposedAction(); }
    void dragMoveEvent(QDragMoveEvent *event) override { event->acceptProposedAction(); }
    void dropEvent(QDropEvent *event) override
    {
        const QMimeData *offer = event->mimeData();
        QDir folder(m_folder);
        if (offer->hasText()) {
            QFile text(folder.filePath(QStringLiteral("dropped.txt")));
            if (text.open(QIODevice::WriteOnly))
                text.write(offer->text().toUtf8());
        }
        for (const QUrl &url : offer->urls()) {
            if (url.isLocalFile())
                QFile::copy(url.toLocalFile(), folder.filePath(QFileInfo(url.toLocalFile()).fileName()));
        }
        event->acceptProposedAction();
        QTimer::singleShot(0, qApp, [] { QApplication::exit(0); });
    }

private:
    QString m_folder;
};

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const QStringList arguments = app.arguments().mid(1);
    std::unique_ptr<QWidget> window;
    if (arguments.size() == 2 && arguments.first() == QLatin1String("--receive"))
        window = std::make_unique<DropTarget>(arguments.at(1));
    else
        window = std::make_unique<DragSource>(arguments);
    window->resize(200, 120);
    window->move(0, 0);
    window->show();
    return app.exec();
}
