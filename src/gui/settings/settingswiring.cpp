#include "gui/settings/settingswiring.h"

#include "core/document/document.h"
#include "core/window/commandids.h"
#include "core/window/commandregistry.h"
#include "gui/settings/settingform.h"

QString DocumentSettingsHost::cardFilePath() const
{
    return m_document.DocumentPath();
}

void DocumentSettingsHost::applySettings()
{
    m_document.ApplySettings();
}

std::optional<std::array<double, 3>> DocumentSettingsHost::columnWidthsTwips() const
{
    const DocumentWindow *window = m_document.window();
    if (const std::optional<WindowState> state = window ? window->windowState() : std::nullopt)
        return state->columnWidthsTwips;
    return std::nullopt;
}

std::optional<std::array<double, 2>> DocumentSettingsHost::normalWindowSizeTwips() const
{
    const DocumentWindow *window = m_document.window();
    if (const std::optional<WindowState> state = window ? window->windowState() : std::nullopt)
        if (state->normalState)
            return std::array<double, 2>{state->windowWidthTwips, state->windowHeightTwips};
    return std::nullopt;
}

namespace SettingsWiring {

void openDialog(Document &document, QWidget *parent)
{
    DocumentSettingsHost host(document);
    SettingsDialogModel model(document.settings(), document.dialogs(), host);
    model.fill();
    SettingForm form(model, parent);
    form.exec();
}

void wire(CommandRegistry &commands, Document &document, QWidget *parent)
{
    commands.wire(Cmd::Settings, [&document, parent] { openDialog(document, parent); });
}

} // namespace SettingsWiring
