#pragma once
// The options dialog over the process's document: the document answers the
// dialog's questions about the card file and the main window, and the menu
// item "基本設定(&B)..." opens the dialog on the active settings store.
//
//     SettingsWiring::wire(window.commands(), document, &window);

#include "core/settings/settingsdialog.h"

class CommandRegistry;
class Document;
class QWidget;

// The document's path, its ApplySettings and its window's state.
class DocumentSettingsHost : public SettingsDialogHost
{
public:
    explicit DocumentSettingsHost(Document &document) : m_document(document) {}

    QString cardFilePath() const override;
    void applySettings() override;
    std::optional<std::array<double, 3>> columnWidthsTwips() const override;
    std::optional<std::array<double, 2>> normalWindowSizeTwips() const override;

private:
    Document &m_document;
};

namespace SettingsWiring {

// Opens the dialog modally on document's settings, over parent.
void openDialog(Document &document, QWidget *parent);
// Wires Cmd::Settings to openDialog.
void wire(CommandRegistry &commands, Document &document, QWidget *parent);

} // namespace SettingsWiring
