#include "gui/common/qtdialogs.h"

#include "core/common/tool.h"
#include "gui/common/qtcolours.h"

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSpacerItem>
#include <QStyle>

#include <algorithm>

namespace QtDialogConversions {

QStringList nameFilters(const QString &filter)
{
    QStringList out;
    if (filter.isEmpty())
        return out;
    static const QRegularExpression ownList(QStringLiteral("\\s*\\(([^()]*\\*[^()]*)\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QStringList patterns;
        if (i + 1 < parts.size()) {
            for (const QString &raw : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                const QString pattern = raw.trimmed();
                if (pattern.isEmpty())
                    continue;
                patterns.append(pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
            }
        }
        if (patterns.isEmpty())
            patterns.append(QStringLiteral("*"));
        QString description = parts.at(i);
        description.remove(ownList);
        description = description.trimmed();
        const QString list = patterns.join(QLatin1Char(' '));
        out.append(description.isEmpty() ? list : description + QStringLiteral(" (") + list + QLatin1Char(')'));
    }
    return out;
}

QString typeNameFor(const QString &filter, const QString &fileName)
{
    static const QRegularExpression ownList(QStringLiteral("\\s*\\(([^()]*\\*[^()]*)\\)\\s*$"));
    const QStringList parts = filter.split(QLatin1Char('|'));
    QString type;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        for (const QString &raw : parts.at(i + 1).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
            const QString pattern = raw.trimmed();
            if (pattern.isEmpty() || pattern == QLatin1String("*") || pattern == QLatin1String("*.*"))
                continue;
            const QRegularExpression match(QRegularExpression::wildcardToRegularExpression(pattern),
                                           QRegularExpression::CaseInsensitiveOption);
            if (match.match(fileName).hasMatch()) {
                type = parts.at(i);
                type.remove(ownList);
                type = type.trimmed();
                break;
            }
        }
    }
    return type;
}

StartPlace startPlace(const QString &startPath)
{
    if (startPath.isEmpty())
        return {};
    if (QFileInfo(startPath).isDir())
        return {startPath, QString()};
    return {Tool::ParentFolderOf(startPath), Tool::FileNameOf(startPath)};
}

QFont toQFont(const FontChoice &choice)
{
    QFont font;
    if (!choice.family.isEmpty())
        font.setFamily(choice.family);
    if (choice.pointSize > 0)
        font.setPointSizeF(choice.pointSize);
    font.setBold(choice.bold);
    font.setItalic(choice.italic);
    font.setUnderline(choice.underline);
    font.setStrikeOut(choice.strikeOut);
    return font;
}

FontChoice fromQFont(const QFont &font)
{
    FontChoice choice;
    choice.family = font.family();
    if (font.pointSizeF() > 0)
        choice.pointSize = font.pointSizeF();
    choice.bold = font.bold();
    choice.italic = font.italic();
    choice.underline = font.underline();
    choice.strikeOut = font.strikeOut();
    return choice;
}

QString captionOr(const QString &title)
{
    return title.isEmpty() ? QGuiApplication::applicationDisplayName() : title;
}

void setProgramName(const QString &name)
{
    QCoreApplication::setApplicationName(name);
}

} // namespace QtDialogConversions

using namespace QtDialogConversions;

namespace {

QMessageBox::Icon qtIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::Information: return QMessageBox::Information;
    case MsgIcon::Question: return QMessageBox::Question;
    case MsgIcon::Warning: return QMessageBox::Warning;
    case MsgIcon::Error: return QMessageBox::Critical;
    case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

QList<MsgAnswer> answersOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return {MsgAnswer::Ok};
    case MsgButtons::OkCancel: return {MsgAnswer::Ok, MsgAnswer::Cancel};
    case MsgButtons::YesNo: return {MsgAnswer::Yes, MsgAnswer::No};
    case MsgButtons::YesNoCancel: return {MsgAnswer::Yes, MsgAnswer::No, MsgAnswer::Cancel};
    }
    return {MsgAnswer::Ok};
}

// The button captions of a Japanese desktop, whatever the locale.
QString captionOf(MsgAnswer answer)
{
    switch (answer) {
    case MsgAnswer::Ok: return QStringLiteral("OK");
    case MsgAnswer::Cancel: return QStringLiteral("キャンセル");
    case MsgAnswer::Yes: return QStringLiteral("はい(&Y)");
    case MsgAnswer::No: return QStringLiteral("いいえ(&N)");
    }
    return QString();
}

QMessageBox::ButtonRole roleOf(MsgAnswer answer)
{
    switch (answer) {
    case MsgAnswer::Ok: return QMessageBox::AcceptRole;
    case MsgAnswer::Cancel: return QMessageBox::RejectRole;
    case MsgAnswer::Yes: return QMessageBox::YesRole;
    case MsgAnswer::No: return QMessageBox::NoRole;
    }
    return QMessageBox::AcceptRole;
}

// Escape and the close button give the refusing answer.
MsgAnswer escapeOf(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok: return MsgAnswer::Ok;
    case MsgButtons::YesNo: return MsgAnswer::No;
    case MsgButtons::OkCancel:
    case MsgButtons::YesNoCancel: return MsgAnswer::Cancel;
    }
    return MsgAnswer::Ok;
}

// A message box wraps its text at half the screen (at most 500 pixels),
// which cuts Japanese sentences anywhere ("しま/す"). Room for the longest
// line, up to most of the screen, keeps each sentence on its line.
void fitToTheSentence(QMessageBox &box, const QString &text)
{
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    const QFontMetrics metrics(box.font());
    int widest = 0;
    for (const QString &line : text.split(QRegularExpression(QStringLiteral("\r\n|\r|\n"))))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    const QScreen *screen = box.screen() ? box.screen() : QGuiApplication::primaryScreen();
    const int room = screen ? screen->availableGeometry().width() * 4 / 5 : 800;
    // The icon and the gaps beside the text.
    const int beside = box.style()->pixelMetric(QStyle::PM_MessageBoxIconSize) + 3 * grid->horizontalSpacing() + 24;
    const int width = std::min(widest + beside, room);
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

// The file dialog's list with the card types named after the filters (the
// desktop knows no type for .qlw and calls it "不明") and the dates written
// the Japanese way whatever the system's language.
class CardTypeNames : public QIdentityProxyModel
{
public:
    CardTypeNames(const QString &filter, QObject *parent) : QIdentityProxyModel(parent), m_filter(filter) {}

    QVariant data(const QModelIndex &index, int role) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (role == Qt::DisplayRole && files && index.isValid()) {
            const QModelIndex source = mapToSource(index);
            if (index.column() == TypeColumn && !files->isDir(source)) {
                const QString type = typeNameFor(m_filter, files->fileName(source));
                if (!type.isEmpty())
                    return type;
            }
            if (index.column() == DateColumn)
                return QLocale(QLocale::Japanese, QLocale::Japan)
                    .toString(files->lastModified(source), QStringLiteral("yyyy/MM/dd HH:mm"));
        }
        return QIdentityProxyModel::data(index, role);
    }

private:
    // The columns of QFileSystemModel.
    static constexpr int TypeColumn = 2;
    static constexpr int DateColumn = 3;
    QString m_filter;
};

// The chosen path of a file or folder dialog; none when cancelled.
std::optional<QString> runForOne(QFileDialog &dialog)
{
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.first().isEmpty())
        return std::nullopt;
    return chosen.first();
}

} // namespace

QtDialogs::QtDialogs(QWidget *owner) : m_owner(owner) {}

QWidget *QtDialogs::owner() const
{
    return m_owner ? m_owner.data() : QApplication::activeWindow();
}

MsgAnswer QtDialogs::message(const MessageRequest &request)
{
    QMessageBox box(owner());
    box.setWindowTitle(captionOr(request.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    box.setIcon(qtIcon(request.icon));

    const QList<MsgAnswer> answers = answersOf(request.buttons);
    const MsgAnswer preferred =
        request.defaultButton && answers.contains(*request.defaultButton) ? *request.defaultButton : answers.first();
    const MsgAnswer refusal = escapeOf(request.buttons);
    QList<QPair<QAbstractButton *, MsgAnswer>> buttons;
    for (MsgAnswer answer : answers) {
        QPushButton *button = box.addButton(captionOf(answer), roleOf(answer));
        buttons.append({button, answer});
        if (answer == preferred)
            box.setDefaultButton(button);
        if (answer == refusal)
            box.setEscapeButton(button);
    }
    fitToTheSentence(box, request.text);
    if (request.systemModal) {
        box.setWindowModality(Qt::ApplicationModal);
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
    }
    box.exec();
    for (const auto &[button, answer] : buttons)
        if (box.clickedButton() == button)
            return answer;
    return refusal;
}

std::optional<QString> QtDialogs::chooseFile(const FileRequest &request, bool save)
{
    const QString fallback = save ? QStringLiteral("名前を付けて保存") : QStringLiteral("ファイルを開く");
    QFileDialog dialog(owner(), request.title.isEmpty() ? fallback : request.title);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = nameFilters(request.filter);
    if (!filters.isEmpty())
        dialog.setNameFilters(filters);
    if (request.filterIndex > 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters.at(request.filterIndex));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setProxyModel(new CardTypeNames(request.filter, &dialog));
    const StartPlace place = startPlace(request.startPath);
    if (!place.folder.isEmpty())
        dialog.setDirectory(place.folder);
    if (!place.fileName.isEmpty())
        dialog.selectFile(place.fileName);
    if (save)
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.promptOverwrite);
    return runForOne(dialog);
}

std::optional<QString> QtDialogs::openFile(const FileRequest &request)
{
    return chooseFile(request, false);
}

std::optional<QString> QtDialogs::saveFile(const FileRequest &request)
{
    return chooseFile(request, true);
}

std::optional<QString> QtDialogs::chooseFolder(const QString &prompt, const QString &startFolder)
{
    QFileDialog dialog(owner(), captionOr(prompt));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (!startFolder.isEmpty()) {
        if (QFileInfo(startFolder).isDir()) {
            dialog.setDirectory(startFolder);
        } else {
            const StartPlace place = startPlace(startFolder);
            if (!place.folder.isEmpty())
                dialog.setDirectory(place.folder);
        }
    }
    return runForOne(dialog);
}

std::optional<QString> QtDialogs::inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog dialog(owner());
    dialog.setWindowTitle(captionOr(title));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setTextValue(defaultText);
    dialog.setOkButtonText(captionOf(MsgAnswer::Ok));
    dialog.setCancelButtonText(captionOf(MsgAnswer::Cancel));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.textValue();
}

std::optional<FontChoice> QtDialogs::chooseFont(const FontChoice &initial)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, toQFont(initial), owner());
    if (!ok)
        return std::nullopt;
    return fromQFont(font);
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t initial)
{
    const QColor colour = QColorDialog::getColor(QtColours::toQColor(initial), owner());
    if (!colour.isValid())
        return std::nullopt;
    return QtColours::fromQColor(colour);
}
