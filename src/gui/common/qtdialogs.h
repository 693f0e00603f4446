#pragma once
// Dialogs on Qt widgets: message boxes, file and folder choosers, the input
// box, the font and colour pickers. The conversions between the core's plain
// forms and Qt's are free functions so they can be checked without a dialog.

#include "core/common/dialogs.h"

#include <QFont>
#include <QPointer>
#include <QString>
#include <QWidget>

class QtDialogs : public Dialogs
{
public:
    using Dialogs::message;

    // owner: the window the dialogs are modal to (none: the active window).
    explicit QtDialogs(QWidget *owner = nullptr);
    void setOwner(QWidget *owner) { m_owner = owner; }

    MsgAnswer message(const MessageRequest &request) override;
    std::optional<QString> openFile(const FileRequest &request) override;
    std::optional<QString> saveFile(const FileRequest &request) override;
    std::optional<QString> chooseFolder(const QString &prompt, const QString &startFolder) override;
    std::optional<QString> inputBox(const QString &prompt, const QString &title, const QString &defaultText) override;
    std::optional<FontChoice> chooseFont(const FontChoice &initial) override;
    std::optional<std::uint32_t> chooseColour(std::uint32_t initial) override;

private:
    QWidget *owner() const;
    std::optional<QString> chooseFile(const FileRequest &request, bool save);

    QPointer<QWidget> m_owner;
};

namespace QtDialogConversions {

// "description|pattern|description|pattern" (patterns separated by ";") to
// Qt's name filters, one per pair: "description (pattern pattern)". A
// description that already ends with its own "(*...)" list loses it, and
// "*.*" becomes "*" so that names without a dot match too.
QStringList nameFilters(const QString &filter);

// The type a file dialog shows for fileName: the description of the last
// filter that names a pattern matching it ("QLW形式" for memo.qlw), without
// its own "(*...)" list; filters for every file ("*", "*.*") name no type.
// Empty when none matches.
QString typeNameFor(const QString &filter, const QString &fileName);

// A start path naming an existing folder opens there; otherwise its folder
// part opens with its name part proposed.
struct StartPlace {
    QString folder;
    QString fileName;
};
StartPlace startPlace(const QString &startPath);

QFont toQFont(const FontChoice &choice);
FontChoice fromQFont(const QFont &font);

// The installed font families that can write Japanese, the fonts the font
// picker offers.
QStringList japaneseFamilies();
// The family the font picker starts on: family when it is one of japanese,
// else its installed substitute (FontFamilies), else the first of japanese.
QString presetFamily(const QString &family, const QStringList &japanese);

// The title of a window without its own: the program's name.
QString captionOr(const QString &title);

// Names the program (the caption of windows without a title of their own).
// The display name stays unset: Qt would add a set one to every window
// title ("memo.qlw - QLT@WIN Ver.1.0.0 — QLT@WIN"), and the titles are
// built whole by the document lifecycle and the editors.
void setProgramName(const QString &name);

} // namespace QtDialogConversions
