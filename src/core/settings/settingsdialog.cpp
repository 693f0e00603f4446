#include "core/settings/settingsdialog.h"

#include "core/common/version.h"
#include "core/settings/settingkeys.h"
#include "core/settings/settingsmodel.h"

#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace S = SettingKey;
namespace T = SettingsDialogTexts;

namespace {

// Whole points, half to even (10.5 gives 10, 11.5 gives 12).
int wholePoints(double size)
{
    const double rounded = std::nearbyint(size);
    if (!std::isfinite(rounded) || rounded < 1)
        return 1;
    return rounded > 4096 ? 4096 : int(rounded);
}

bool isUntitled(const QString &cardPath)
{
    return cardPath.isEmpty() || QFileInfo(cardPath).completeBaseName() == QStringLiteral("(無題)");
}

// The program of a command as the chooser's start: the text between the
// first two quotes, else the text before the first switch.
QString programOf(const QString &command)
{
    const QString text = command.trimmed();
    if (text.startsWith(QLatin1Char('"'))) {
        const qsizetype end = text.indexOf(QLatin1Char('"'), 1);
        return end < 0 ? text.mid(1) : text.mid(1, end - 1);
    }
    const qsizetype space = text.indexOf(QStringLiteral(" -"));
    return space < 0 ? text : text.left(space);
}

} // namespace

const std::array<std::uint32_t, 6> &SettingsDialogModel::defaultColours()
{
    static const std::array<std::uint32_t, 6> colours = {0x80000012u, 0x80000005u, 0xFFFFFFu,
                                                         0x555555u,   0xFFFFFFu,   0x555555u};
    return colours;
}

SettingsDialogModel::SettingsDialogModel(SettingsModel &settings, Dialogs &dialogs, SettingsDialogHost &host)
    : m_settings(settings), m_dialogs(dialogs), m_host(host)
{}

void SettingsDialogModel::fill()
{
    SettingsDialogValues &v = m_values;
    v.columns = {m_settings.text(S::Column1), m_settings.text(S::Column2), m_settings.text(S::Column3)};
    v.noSort = m_settings.isOn(S::NoSort);
    v.addDateInfo = m_settings.isOn(S::AddDateInfo);
    v.partHtmlTitleMode = m_settings.isOn(S::PartHTMLTitleMode);
    v.noWriteColumn2 = m_settings.isOn(S::NoWriteColumn2);
    v.noHtmlHeader = m_settings.isOn(S::NoHTMLHeader);
    v.autoSort = m_settings.isOn(S::AutoSort);

    v.fontNames = {m_settings.text(S::ListFont), m_settings.text(S::EditorFont)};
    v.fontSizes = {wholePoints(m_settings.number(S::ListFontSize)), wholePoints(m_settings.number(S::EditorFontSize))};
    for (int n = 0; n < 6; ++n)
        v.colours[n] = m_settings.colour(S::colour(n + 1));
    v.saveWindowSize = m_settings.isOn(S::SaveWindowSize);
    v.saveColumnWidth = m_settings.isOn(S::SaveColumnWidth);

    v.noFunctionBarClickEvent = m_settings.isOn(S::NoFunctionBarClickEvent);
    v.insertCardAtNextCard = m_settings.isOn(S::InsertCardAtNextCard);

    v.browserHina = {m_settings.text(S::BrowserHina0), m_settings.text(S::BrowserHina1)};
    const int mode = m_settings.integer(S::BrowserHinaMode);
    v.browserHinaMode = mode >= 0 && mode <= 2 ? mode : 0;
    v.extEditor = m_settings.text(S::ExtEditor);
    v.extEditorExt = m_settings.text(S::ExtEditorEXT);
}

bool SettingsDialogModel::perFileActive() const
{
    return m_settings.FileSettingsActive();
}

QString SettingsDialogModel::title() const
{
    return (perFileActive() ? T::PerFilePrefix : T::GeneralPrefix) + Version::ProductName + QStringLiteral(" Ver.")
           + Version::dotted();
}

QString SettingsDialogModel::fontLabel(const QString &name, int size)
{
    return name + QStringLiteral("　") + QString::number(size) + QStringLiteral("pt");
}

QString SettingsDialogModel::fontLabel(int n) const
{
    return fontLabel(m_values.fontNames.at(n), m_values.fontSizes.at(n));
}

bool SettingsDialogModel::chooseFont(int n)
{
    FontChoice initial;
    initial.family = m_values.fontNames.at(n);
    initial.pointSize = m_values.fontSizes.at(n);
    const std::optional<FontChoice> chosen = m_dialogs.chooseFont(initial);
    if (!chosen || chosen->family.isEmpty())
        return false;
    m_values.fontNames.at(n) = chosen->family;
    m_values.fontSizes.at(n) = wholePoints(chosen->pointSize);
    return true;
}

bool SettingsDialogModel::chooseColour(int n)
{
    const std::optional<std::uint32_t> chosen = m_dialogs.chooseColour(m_values.colours.at(n));
    if (!chosen)
        return false;
    m_values.colours.at(n) = *chosen;
    return true;
}

bool SettingsDialogModel::restoreColours()
{
    if (m_dialogs.message(T::AskRestoreColours, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    m_values.colours = defaultColours();
    return true;
}

bool SettingsDialogModel::chooseExternalEditor()
{
    FileRequest request;
    request.title = T::ExtEditorTitle;
    request.filter = T::ExtEditorFilter;
    request.firstFilterExecutables = true;
    const QString program = programOf(m_values.extEditor);
    request.startPath = program.isEmpty() || !QFileInfo(program).isAbsolute() ? QStringLiteral("/usr/bin") : program;
    const std::optional<QString> chosen = m_dialogs.openFile(request);
    if (!chosen || chosen->isEmpty())
        return false;
    // Quoted, so that switches typed after it stay apart from a path with
    // spaces or " -" in it.
    m_values.extEditor = QLatin1Char('"') + *chosen + QLatin1Char('"');
    return true;
}

bool SettingsDialogModel::chooseBrowserTemplate(int n)
{
    FileRequest request;
    request.title = T::BrowserHinaTitle;
    request.filter = T::BrowserHinaFilter;
    request.startPath = m_values.browserHina.at(n);
    const std::optional<QString> chosen = m_dialogs.openFile(request);
    if (!chosen || chosen->isEmpty())
        return false;
    m_values.browserHina.at(n) = *chosen;
    return true;
}

QString SettingsDialogModel::cleanExtension(const QString &text)
{
    return text.startsWith(QLatin1Char('.')) ? text.mid(1) : text;
}

void SettingsDialogModel::finishExtension()
{
    m_values.extEditorExt = cleanExtension(m_values.extEditorExt);
}

QString SettingsDialogModel::emptyEditorNote() const
{
    const QString command = m_settings.defaultText(S::ExtEditor);
    return command.isEmpty() ? T::NoEditorFound : T::EditorWhenEmpty.arg(command);
}

// ---------------------------------------------------------------- saving

void SettingsDialogModel::writeValues()
{
    const SettingsDialogValues &v = m_values;
    m_settings.setText(S::Column1, v.columns[0]);
    m_settings.setText(S::Column2, v.columns[1]);
    m_settings.setText(S::Column3, v.columns[2]);
    m_settings.setSwitch(S::AutoSort, v.autoSort);
    m_settings.setSwitch(S::NoSort, v.noSort);
    m_settings.setSwitch(S::AddDateInfo, v.addDateInfo);
    m_settings.setSwitch(S::PartHTMLTitleMode, v.partHtmlTitleMode);
    m_settings.setSwitch(S::NoWriteColumn2, v.noWriteColumn2);
    m_settings.setSwitch(S::NoHTMLHeader, v.noHtmlHeader);
    m_settings.setText(S::ListFont, v.fontNames[0]);
    m_settings.setInteger(S::ListFontSize, v.fontSizes[0]);
    m_settings.setText(S::EditorFont, v.fontNames[1]);
    m_settings.setInteger(S::EditorFontSize, v.fontSizes[1]);
    m_settings.setSwitch(S::NoFunctionBarClickEvent, v.noFunctionBarClickEvent);
    m_settings.setSwitch(S::InsertCardAtNextCard, v.insertCardAtNextCard);
    for (int n = 0; n < 6; ++n)
        m_settings.setColour(S::colour(n + 1), v.colours[n]);
    m_settings.setSwitch(S::SaveColumnWidth, v.saveColumnWidth);
    m_settings.setSwitch(S::SaveWindowSize, v.saveWindowSize);

    if (v.saveColumnWidth)
        if (const auto widths = m_host.columnWidthsTwips())
            for (int n = 0; n < 3; ++n)
                m_settings.setNumber(S::columnWidth(n + 1), (*widths)[n]);
    if (v.saveWindowSize)
        if (const auto size = m_host.normalWindowSizeTwips()) {
            m_settings.setInteger(S::WindowListSizeX, int(std::lround((*size)[0])));
            m_settings.setInteger(S::WindowListSizeY, int(std::lround((*size)[1])));
        }

    // An empty editor stands for the desktop's editor, which the next load
    // would write in anyway: written now, so the round trip finds it at once.
    const QString editor = v.extEditor.trimmed().isEmpty() ? m_settings.defaultText(S::ExtEditor) : v.extEditor;
    m_settings.setText(S::ExtEditor, editor);
    m_settings.setText(S::ExtEditorEXT, cleanExtension(v.extEditorExt));
    m_settings.setText(S::BrowserHina0, v.browserHina[0]);
    m_settings.setText(S::BrowserHina1, v.browserHina[1]);
    m_settings.setInteger(S::BrowserHinaMode, v.browserHinaMode);
}

bool SettingsDialogModel::save(SaveButton button)
{
    const QString cardPath = m_host.cardFilePath();
    if (button == PerFileButton && isUntitled(cardPath)) {
        m_dialogs.message(T::UntitledPerFile, MsgIcon::Information);
        return false;
    }
    if (button == GeneralButton && perFileActive()) {
        // The dialog keeps what the person typed: it is what goes into the
        // general file.
        if (!discard(false))
            return false;
    }
    if (button == PerFileButton && !perFileActive()) {
        if (m_dialogs.message(T::AskPerFile, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
            return false;
        bool saved = m_settings.save();
        // A missing per-file file leaves the general values in the store:
        // the new per-file settings start as their copy.
        m_settings.loadKeepingValues(SettingsModel::perFileSettingsPath(cardPath));
        if (!saved)
            m_dialogs.message(T::SaveFailed + QStringLiteral("\r\n") + m_settings.generalSettingsFile(),
                              MsgIcon::Warning);
    }

    writeValues();
    bool saved = m_settings.save();
    m_host.applySettings();
    saved = m_settings.save() && saved;
    if (!saved)
        m_dialogs.message(T::SaveFailed + QStringLiteral("\r\n") + m_settings.fileName(), MsgIcon::Warning);
    return true;
}

bool SettingsDialogModel::discardPerFile()
{
    return discard(true);
}

bool SettingsDialogModel::discard(bool refill)
{
    if (!perFileActive())
        return true;
    if (m_dialogs.message(T::AskDiscard, MsgIcon::Question, MsgButtons::YesNo) != MsgAnswer::Yes)
        return false;
    const QString perFile = m_settings.fileName();
    m_settings.loadGeneralSettings();
    m_host.applySettings();
    if (refill)
        fill();
    if (QFileInfo::exists(perFile) && !QFile::remove(perFile)) {
        m_dialogs.message(T::DiscardFailed, MsgIcon::Error);
        return false;
    }
    m_dialogs.message(T::Discarded, MsgIcon::Information);
    return true;
}
