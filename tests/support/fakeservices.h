#pragma once
// Fakes of the system services: every call is recorded, answers are scripted.

#include "core/common/services.h"
#include "support/fakedialogs.h"

#include <QHash>
#include <QList>
#include <QStringList>

#include <functional>

class FakeShell : public Shell
{
public:
    QStringList opened;
    bool answer = true;
    bool open(const QString &target) override
    {
        opened.append(target);
        return answer;
    }
};

class FakeProcesses : public Processes
{
public:
    struct Call {
        QString program;
        QStringList arguments;
        bool waited = false;
    };
    QList<Call> calls;
    bool startSucceeds = true;
    bool otherInstance = false;
    Outcome waitOutcome{WaitResult::Finished, 0};
    // Runs while a waited-for program "runs" (to change files, say).
    std::function<void(const Call &)> onWait;

    bool startDetached(const QString &program, const QStringList &arguments, const QString & = QString()) override
    {
        calls.append({program, arguments, false});
        return startSucceeds;
    }
    Outcome startAndWait(const QString &program, const QStringList &arguments, int = -1) override
    {
        calls.append({program, arguments, true});
        if (!startSucceeds)
            return {WaitResult::Failed, -1};
        if (onWait)
            onWait(calls.last());
        return waitOutcome;
    }
    bool anotherInstanceRunning() override { return otherInstance; }
};

class FakeClipboard : public Clipboard
{
public:
    QString content;
    int writes = 0;
    QString text() override { return content; }
    void setText(const QString &text) override
    {
        content = text;
        ++writes;
    }
};

class FakeUserStore : public UserStore
{
public:
    QHash<QString, QString> values;
    std::optional<QString> value(const QString &key) override
    {
        auto it = values.constFind(key);
        if (it == values.constEnd())
            return std::nullopt;
        return *it;
    }
    void setValue(const QString &key, const QString &value) override { values.insert(key, value); }
};

class FakeClock : public Clock
{
public:
    QDateTime current{QDate(2001, 5, 3), QTime(14, 5, 9)};
    QDate today() override { return current.date(); }
    QDateTime now() override { return current; }
};

// Every seam as a recording fake, and the Services that point at them: the
// one way a test builds the program's surroundings. A test that wants a
// service missing (a document without a clipboard, say) clears its pointer
// in the copy services() returns.
struct FakeSystem {
    FakeDialogs dialogs;
    FakeShell shell;
    FakeProcesses processes;
    FakeClipboard clipboard;
    FakeUserStore userStore;
    FakeClock clock;
    Services services() { return Services{&dialogs, &shell, &processes, &clipboard, &userStore, &clock}; }
};
