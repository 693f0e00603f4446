#pragma once
// Qt Core implementations of the services (no widgets needed).

#include "core/common/services.h"

#include <QList>

class QtProcesses : public Processes
{
public:
    QtProcesses() = default;
    ~QtProcesses() override;
    QtProcesses(const QtProcesses &) = delete;
    QtProcesses &operator=(const QtProcesses &) = delete;

    bool startDetached(const QString &program, const QStringList &arguments,
                       const QString &workingFolder = QString()) override;
    Outcome startAndWait(const QString &program, const QStringList &arguments, int timeoutMs = -1) override;
    bool anotherInstanceRunning() override;

private:
    void reapLeftRunning();

    QList<qint64> m_leftRunning; // programs whose wait timed out
};

class QSettingsUserStore : public UserStore
{
public:
    std::optional<QString> value(const QString &key) override;
    void setValue(const QString &key, const QString &value) override;
};

class SystemClock : public Clock
{
public:
    QDate today() override { return QDate::currentDate(); }
    QDateTime now() override { return QDateTime::currentDateTime(); }
};
