#pragma once
// Small services through which the core reaches the system. Each has a Qt
// implementation (qtservices.h for the Core ones, the widgets layer for the
// clipboard and the shell) and a fake in tests/support.

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <optional>

// The shell's "open" on a file, web address or mail link.
class Shell
{
public:
    virtual ~Shell() = default;
    virtual bool open(const QString &target) = 0;
};

// Starting programs.
class Processes
{
public:
    virtual ~Processes() = default;

    enum class WaitResult {
        Finished, // ended normally; exitCode is its exit status
        Crashed,  // started, then ended abnormally (a signal)
        Failed,   // could not be started
        TimedOut, // still running when the wait ran out (it is left running)
    };
    struct Outcome {
        WaitResult result = WaitResult::Failed;
        int exitCode = -1;
    };

    // Starts and forgets; false when the program could not be started.
    virtual bool startDetached(const QString &program, const QStringList &arguments,
                               const QString &workingFolder = QString()) = 0;
    // Starts and waits, pumping events meanwhile; timeoutMs < 0 waits for ever.
    virtual Outcome startAndWait(const QString &program, const QStringList &arguments, int timeoutMs = -1) = 0;
    // Whether another process of this program is running on the same program
    // folder (given the same QLT_HOME, or none).
    virtual bool anotherInstanceRunning() = 0;
};

// Plain-text clipboard.
class Clipboard
{
public:
    virtual ~Clipboard() = default;
    virtual QString text() = 0;
    virtual void setText(const QString &text) = 0;
};

// The per-user application settings store: application "Orvale SoftWares",
// section "QLT@WIN", string values.
class UserStore
{
public:
    virtual ~UserStore() = default;
    virtual std::optional<QString> value(const QString &key) = 0;
    virtual void setValue(const QString &key, const QString &value) = 0;
};

class Clock
{
public:
    virtual ~Clock() = default;
    virtual QDate today() = 0;
    virtual QDateTime now() = 0;
};

// Everything the core needs from outside, handed to it in one piece.
struct Services {
    class Dialogs *dialogs = nullptr;
    Shell *shell = nullptr;
    Processes *processes = nullptr;
    Clipboard *clipboard = nullptr;
    UserStore *userStore = nullptr;
    Clock *clock = nullptr;
};
