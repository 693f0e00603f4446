#include "core/common/atomicfile.h"

#include <QSaveFile>

namespace AtomicFile {

bool write(const QString &path, QByteArrayView data, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    // QSaveFile (Qt 6.4) commits even after failed writes, so a full disk
    // would replace the old file by a truncated one: check every step and
    // cancel instead.
    qsizetype done = 0;
    while (done < data.size()) {
        const qint64 n = file.write(data.data() + done, data.size() - done);
        if (n <= 0)
            break;
        done += n;
    }
    if (done != data.size() || !file.flush() || file.error() != QFileDevice::NoError) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace AtomicFile
