#pragma once
// Qt Core implementations of the services (no widgets needed).

#include "core/common/services.h"

class QtProcesses : public Processes
{
public:
    bool startDetached(const QString &program, const QStringList &arguments,
                       const QString &workingFolder = QString()) override;
    Outcome startAndWait(const QString &program, const QStringList &arguments, int timeoutMs = -1) override;
    bool anotherInstanceRunning() override;
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
