#pragma once
// The one narrow interface through which the core talks to the person. The
// widgets layer implements it with Qt dialogs (QtDialogs); tests use the
// recording fake (FakeDialogs), which answers from a queue and keeps every
// message with its icon and buttons.

#include <QString>

#include <cstdint>
#include <optional>

enum class MsgIcon { None, Information, Question, Warning, Error };
enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class MsgAnswer { Ok, Cancel, Yes, No };

struct MessageRequest {
    QString text;
    QString title; // empty: the program's own caption
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    std::optional<MsgAnswer> defaultButton; // none: the first button
    bool systemModal = false;
};

// A file chooser. filter uses the "description|pattern|description|pattern"
// form, patterns separated by ";".
struct FileRequest {
    QString title;
    QString filter;
    QString startPath;            // folder, or folder joined with a proposed name
    int filterIndex = 0;          // the filter chosen at the start, counted from 0
    bool promptOverwrite = false; // save only
    // The first filter lists programs: every executable file (and the
    // folders to walk through), whatever its name; its pattern is then "*".
    bool firstFilterExecutables = false;
};

// Fonts and colours without Qt Gui types, so the core stays Qt Core only.
struct FontChoice {
    QString family;
    double pointSize = 9;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class Dialogs
{
public:
    virtual ~Dialogs() = default;

    virtual MsgAnswer message(const MessageRequest &request) = 0;
    virtual std::optional<QString> openFile(const FileRequest &request) = 0;
    virtual std::optional<QString> saveFile(const FileRequest &request) = 0;
    virtual std::optional<QString> chooseFolder(const QString &prompt, const QString &startFolder) = 0;
    virtual std::optional<QString> inputBox(const QString &prompt, const QString &title,
                                            const QString &defaultText) = 0;
    // The installed fonts that can write Japanese; a family of initial that is
    // not installed presets its nearest installed substitute.
    virtual std::optional<FontChoice> chooseFont(const FontChoice &initial) = 0;
    // Colours are 0x00BBGGRR colour numbers.
    virtual std::optional<std::uint32_t> chooseColour(std::uint32_t initial) = 0;

    // Shorthand for the common case.
    MsgAnswer message(const QString &text, MsgIcon icon, MsgButtons buttons = MsgButtons::Ok,
                      const QString &title = QString(), std::optional<MsgAnswer> defaultButton = std::nullopt)
    {
        return message(MessageRequest{text, title, icon, buttons, defaultButton, false});
    }
};
