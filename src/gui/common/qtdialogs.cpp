#include "gui/common/qtdialogs.h"

#include "core/common/tool.h"
#include "core/window/fontfamilies.h"
#include "gui/common/qtcolours.h"

#include <QApplication>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDoubleValidator>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIdentityProxyModel>
#include <QInputDialog>
#include <QLabel>
#include <QListWidget>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSortFilterProxyModel>
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

QStringList japaneseFamilies()
{
    QStringList families;
    for (const QString &family : QFontDatabase::families(QFontDatabase::Japanese))
        if (!QFontDatabase::isPrivateFamily(family))
            families.append(family);
    return families;
}

QString presetFamily(const QString &family, const QStringList &japanese)
{
    if (japanese.contains(family, Qt::CaseInsensitive))
        return family;
    const QString substitute = FontFamilies::resolve(family, japanese);
    if (japanese.contains(substitute, Qt::CaseInsensitive))
        return substitute;
    return japanese.isEmpty() ? family : japanese.first();
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

// Programs in the file dialog: while the first filter is chosen only the
// executable files (and the folders) are listed, whatever their names.
class ProgramFiles : public QSortFilterProxyModel
{
public:
    using QSortFilterProxyModel::QSortFilterProxyModel;

    void setProgramsOnly(bool on)
    {
        if (on == m_programsOnly)
            return;
        m_programsOnly = on;
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override
    {
        const auto *files = qobject_cast<const QFileSystemModel *>(sourceModel());
        if (!m_programsOnly || !files)
            return true;
        const QModelIndex index = files->index(row, 0, parent);
        return files->isDir(index) || files->fileInfo(index).isExecutable();
    }

private:
    bool m_programsOnly = true;
};

// The installed families that hold Japanese glyphs, with a size box and a
// sample: the fonts a card list or an editor can show its text in.
class JapaneseFontDialog : public QDialog
{
public:
    JapaneseFontDialog(const FontChoice &initial, QWidget *parent) : QDialog(parent), m_choice(initial)
    {
        setObjectName(QStringLiteral("JapaneseFontDialog"));
        setWindowTitle(QStringLiteral("フォントの指定"));
        m_families = new QListWidget(this);
        m_families->setObjectName(QStringLiteral("lstFontFamily"));
        const QStringList families = QtDialogConversions::japaneseFamilies();
        m_families->addItems(families);
        m_size = new QComboBox(this);
        m_size->setObjectName(QStringLiteral("cmbFontSize"));
        m_size->setEditable(true);
        m_size->setValidator(new QDoubleValidator(1, 999, 1, m_size));
        for (const char *size :
             {"8", "9", "10", "10.5", "11", "12", "14", "16", "18", "20", "22", "24", "26", "28", "36", "48", "72"})
            m_size->addItem(QString::fromLatin1(size));
        m_size->setCurrentText(QString::number(initial.pointSize > 0 ? initial.pointSize : 9));
        m_sample = new QLabel(QStringLiteral("あいうアイウ亜唖 AaBbYyZz 0123"), this);
        m_sample->setObjectName(QStringLiteral("lblFontSample"));
        m_sample->setFrameShape(QFrame::StyledPanel);
        m_sample->setMinimumHeight(60);
        auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("キャンセル"));

        auto *grid = new QGridLayout(this);
        auto *familyLabel = new QLabel(QStringLiteral("フォント名(&F):"), this);
        familyLabel->setBuddy(m_families);
        auto *sizeLabel = new QLabel(QStringLiteral("サイズ(&S):"), this);
        sizeLabel->setBuddy(m_size);
        grid->addWidget(familyLabel, 0, 0);
        grid->addWidget(sizeLabel, 0, 1);
        grid->addWidget(m_families, 1, 0);
        grid->addWidget(m_size, 1, 1, Qt::AlignTop);
        grid->addWidget(m_sample, 2, 0, 1, 2);
        grid->addWidget(buttons, 3, 0, 1, 2);

        const QString preset = QtDialogConversions::presetFamily(initial.family, families);
        const QList<QListWidgetItem *> found = m_families->findItems(preset, Qt::MatchFixedString);
        m_families->setCurrentRow(found.isEmpty() ? 0 : m_families->row(found.first()));
        connect(m_families, &QListWidget::currentTextChanged, this, &JapaneseFontDialog::showSample);
        connect(m_size, &QComboBox::currentTextChanged, this, &JapaneseFontDialog::showSample);
        connect(m_families, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        buttons->button(QDialogButtonBox::Ok)->setEnabled(m_families->count() > 0);
        showSample();
        resize(420, 360);
    }

    FontChoice choice() const { return m_choice; }

private:
    void showSample()
    {
        if (const QListWidgetItem *item = m_families->currentItem())
            m_choice.family = item->text();
        bool ok = false;
        const double size = QLocale::c().toDouble(m_size->currentText(), &ok);
        if (ok && size > 0)
            m_choice.pointSize = size;
        m_sample->setFont(QtDialogConversions::toQFont(m_choice));
    }

    FontChoice m_choice;
    QListWidget *m_families;
    QComboBox *m_size;
    QLabel *m_sample;
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
    if (request.firstFilterExecutables && !filters.isEmpty()) {
        auto *programs = new ProgramFiles(&dialog);
        dialog.setProxyModel(programs);
        QObject::connect(
            &dialog, &QFileDialog::filterSelected, programs,
            [programs, first = filters.first()](const QString &chosen) { programs->setProgramsOnly(chosen == first); });
    } else {
        dialog.setProxyModel(new CardTypeNames(request.filter, &dialog));
    }
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
    JapaneseFontDialog dialog(initial, owner());
    if (dialog.exec() != QDialog::Accepted || dialog.choice().family.isEmpty())
        return std::nullopt;
    return dialog.choice();
}

std::optional<std::uint32_t> QtDialogs::chooseColour(std::uint32_t initial)
{
    const QColor colour = QColorDialog::getColor(QtColours::toQColor(initial), owner());
    if (!colour.isValid())
        return std::nullopt;
    return QtColours::fromQColor(colour);
}
