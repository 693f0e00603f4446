#pragma once
// Runs the built qltcard as a whole process, as a script would.

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <gtest/gtest.h>

struct QltcardRun {
    int status = -1; // the exit status; -1 when it crashed or hung
    QByteArray out;
    QString err;
};

inline QltcardRun runQltcard(const QStringList &arguments)
{
    QProcess p;
    p.start(QStringLiteral(QLT_BIN_DIR "/qltcard"), arguments);
    EXPECT_TRUE(p.waitForFinished(60000));
    QltcardRun r;
    r.status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    r.out = p.readAllStandardOutput();
    r.err = QString::fromUtf8(p.readAllStandardError());
    return r;
}
