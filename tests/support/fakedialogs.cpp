#include "fakedialogs.h"

namespace {

MsgAnswer firstButton(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
    case MsgButtons::OkCancel: return MsgAnswer::Ok;
    case MsgButtons::YesNo:
    case MsgButtons::YesNoCancel: return MsgAnswer::Yes;
    }
    return MsgAnswer::Ok;
}

template<typename T>
std::optional<T> take(QQueue<std::optional<T>> &queue)
{
    return queue.isEmpty() ? std::nullopt : queue.dequeue();
}

} // namespace

MsgAnswer FakeDialogs::message(const MessageRequest &request)
{
    Record r;
    r.kind = QStringLiteral("message");
    r.message = request;
    records.append(r);
    m_messages.append(request);
    if (!answers.isEmpty())
        return answers.dequeue();
    return request.defaultButton.value_or(firstButton(request.buttons));
}

std::optional<QString> FakeDialogs::openFile(const FileRequest &request)
{
    Record r;
    r.kind = QStringLiteral("openFile");
    r.file = request;
    records.append(r);
    return take(files);
}

std::optional<QString> FakeDialogs::saveFile(const FileRequest &request)
{
    Record r;
    r.kind = QStringLiteral("saveFile");
    r.file = request;
    records.append(r);
    return take(files);
}

std::optional<QString> FakeDialogs::chooseFolder(const QString &prompt, const QString &startFolder)
{
    Record r;
    r.kind = QStringLiteral("chooseFolder");
    r.prompt = prompt;
    r.defaultText = startFolder;
    records.append(r);
    return take(folders);
}

std::optional<QString> FakeDialogs::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    Record r;
    r.kind = QStringLiteral("inputBox");
    r.prompt = prompt;
    r.title = title;
    r.defaultText = defaultText;
    records.append(r);
    return take(inputs);
}

std::optional<FontChoice> FakeDialogs::chooseFont(const FontChoice &initial)
{
    Record r;
    r.kind = QStringLiteral("chooseFont");
    r.defaultText = initial.family;
    r.font = initial;
    records.append(r);
    return take(fonts);
}

std::optional<std::uint32_t> FakeDialogs::chooseColour(std::uint32_t initial)
{
    Record r;
    r.kind = QStringLiteral("chooseColour");
    r.defaultText = QString::number(initial);
    records.append(r);
    return take(colours);
}

QStringList FakeDialogs::messageTexts() const
{
    QStringList out;
    for (const MessageRequest &m : messages())
        out.append(m.text);
    return out;
}
