#pragma once
// Recording fake of the dialogs interface. Answers come from queues filled by
// the test; every request is kept so tests can assert the exact texts.

#include "core/common/dialogs.h"

#include <QList>
#include <QQueue>
#include <QString>
#include <QStringList>

#include <optional>

class FakeDialogs : public Dialogs
{
public:
    using Dialogs::message;

    // Every request, in order. kind is "message", "openFile", "saveFile",
    // "chooseFolder", "inputBox", "chooseFont" or "chooseColour".
    struct Record {
        QString kind;
        MessageRequest message;
        FileRequest file;
        QString prompt;
        QString title;
        QString defaultText;
        FontChoice font; // chooseFont: the preset font
    };

    QList<Record> records;

    // Queued answers. An empty queue answers with the default button (or the
    // first button), and cancels every chooser.
    QQueue<MsgAnswer> answers;
    QQueue<std::optional<QString>> files; // open and save choosers
    QQueue<std::optional<QString>> folders;
    QQueue<std::optional<QString>> inputs;
    QQueue<std::optional<FontChoice>> fonts;
    QQueue<std::optional<std::uint32_t>> colours;

    MsgAnswer message(const MessageRequest &request) override;
    std::optional<QString> openFile(const FileRequest &request) override;
    std::optional<QString> saveFile(const FileRequest &request) override;
    std::optional<QString> chooseFolder(const QString &prompt, const QString &startFolder) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;

    // The messages only, in order. The list lives as long as the fake, so a
    // reference into it stays valid while the test goes on.
    const QList<MessageRequest> &messages() const { return m_messages; }
    // The texts of the messages only, in order.
    QStringList messageTexts() const;
    void clear()
    {
        records.clear();
        m_messages.clear();
    }

private:
    QList<MessageRequest> m_messages;
};
