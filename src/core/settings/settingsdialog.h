#pragma once
// The rules of the options dialog (SettingForm): what it shows of the active
// settings store, the pickers it opens, and how it saves as general or as
// per-file settings, switching the store between the general file and the
// card file's own, or throws the per-file settings away. The dialog only
// shows the values held here and forwards the person's actions.
//
//     SettingsDialogModel model(document.settings(), dialogs, host);
//     model.fill();                        // on opening
//     model.values().columns[0] = "件名";  // the controls write here
//     if (model.save(SettingsDialogModel::GeneralButton))
//         dialog.accept();
//
// The dialog edits a copy: the store changes only when a save button is used
// or the per-file settings are discarded.

#include "core/common/dialogs.h"

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

class SettingsModel;

// The texts of the dialog and its messages.
namespace SettingsDialogTexts {

inline const QString TabData = QStringLiteral("データ");
inline const QString TabDisplay = QStringLiteral("表示");
inline const QString TabOperation = QStringLiteral("操作");
inline const QString TabOther = QStringLiteral("その他");

inline const QString GeneralPrefix = QStringLiteral("(全般設定) ");
inline const QString PerFilePrefix = QStringLiteral("(個別設定) ");

inline const QString SaveGeneral = QStringLiteral("全般設定\nとして保存");
inline const QString SavePerFile = QStringLiteral("個別設定\nとして保存");
inline const QString KillPerFile = QStringLiteral("個別設定を破棄する");
inline const QString Cancel = QStringLiteral("Cancel");

inline const QString UntitledPerFile =
    QStringLiteral("個別設定をするためには、先にカードファイルを保存する必要があります。");
inline const QString AskPerFile = QStringLiteral("個別設定を規定しますか？");
inline const QString AskDiscard = QStringLiteral("個別設定が失われますが、よろしいですか？");
inline const QString Discarded = QStringLiteral("個別設定を破棄しました。");
inline const QString DiscardFailed = QStringLiteral("個別設定を削除できません。ファイルを確認してください。");
inline const QString AskRestoreColours = QStringLiteral("カラー設定が破棄されます。\r\nよろしいですか？");
inline const QString SaveFailed = QStringLiteral("設定を保存できません。ファイルを確認してください。");

inline const QString ExtEditorTitle = QStringLiteral("外部エディタの指定");
// Programs are the executable files here, whatever their names.
inline const QString ExtEditorFilter = QStringLiteral("外部アプリケーション (実行可能ファイル)|*|その他 (*.*)|*.*");
inline const QString BrowserHinaTitle = QStringLiteral("雛形(ブラウザボタン用)の指定");
inline const QString BrowserHinaFilter =
    QStringLiteral("雛形ファイル (Hina*.qlw)|Hina*.qlw|QLW形式 (*.qlw)|*.qlw|その他 (*.*)|*.*");

// What an empty ExtEditor stands for.
inline const QString EditorWhenEmpty = QStringLiteral("空欄のときは次のエディタを使います: %1");
inline const QString NoEditorFound = QStringLiteral("空欄のときに使えるエディタが見つかりません");

} // namespace SettingsDialogTexts

// The values the dialog shows and edits. Switches are the check boxes.
struct SettingsDialogValues {
    // "データ"
    std::array<QString, 3> columns;
    bool noSort = false;
    bool addDateInfo = false;
    bool partHtmlTitleMode = false;
    bool noWriteColumn2 = false;
    bool noHtmlHeader = false;
    bool autoSort = false;
    // "表示": Color1 .. Color6 (colour numbers, system references included);
    // fonts: 0 the card lists, 1 the editor, sizes in whole points.
    std::array<std::uint32_t, 6> colours{};
    std::array<QString, 2> fontNames;
    std::array<int, 2> fontSizes{9, 9};
    bool saveWindowSize = false;
    bool saveColumnWidth = false;
    // "操作"
    bool noFunctionBarClickEvent = false;
    bool insertCardAtNextCard = false;
    // "その他"
    std::array<QString, 2> browserHina;
    int browserHinaMode = 0; // 0 "単純HTML", 1 "階層型HTML", 2 "簡易階層型HTML"
    QString extEditor;
    QString extEditorExt;
};

// What the dialog needs from the document and its window.
class SettingsDialogHost
{
public:
    virtual ~SettingsDialogHost() = default;
    // The open card file ("…/(無題).qlw" while untitled).
    virtual QString cardFilePath() const = 0;
    // The main window takes the active store's values.
    virtual void applySettings() = 0;
    // The main card list's column widths in twips; none without a window.
    virtual std::optional<std::array<double, 3>> columnWidthsTwips() const = 0;
    // The window's outer width and height in twips while it is in its normal
    // state; none otherwise (minimised, maximised, no window).
    virtual std::optional<std::array<double, 2>> normalWindowSizeTwips() const = 0;
};

class SettingsDialogModel
{
public:
    enum SaveButton { GeneralButton = 0, PerFileButton = 1 };

    // The six colours the restore button sets.
    static const std::array<std::uint32_t, 6> &defaultColours();
    // Save button colours: the one of the active kind, and the other.
    static constexpr std::uint32_t ActiveButtonColour = 0xC0FFC0;
    static constexpr std::uint32_t OtherButtonColour = 0x808080;

    SettingsDialogModel(SettingsModel &settings, Dialogs &dialogs, SettingsDialogHost &host);

    // Reads every value from the active store.
    void fill();
    SettingsDialogValues &values() { return m_values; }
    const SettingsDialogValues &values() const { return m_values; }

    // --- What follows the active file
    bool perFileActive() const;
    // "(全般設定) QLT@WIN Ver.1.8.1" or "(個別設定) …".
    QString title() const;
    // The button of the active kind is the default one and light green.
    SaveButton defaultButton() const { return perFileActive() ? PerFileButton : GeneralButton; }
    std::uint32_t saveButtonColour(SaveButton button) const
    {
        return button == defaultButton() ? ActiveButtonColour : OtherButtonColour;
    }

    // "ＭＳ Ｐゴシック　9pt" for font n (0 lists, 1 editor).
    QString fontLabel(int n) const;
    static QString fontLabel(const QString &name, int size);

    // --- Pickers; each is true when it changed a value.
    bool chooseFont(int n);
    bool chooseColour(int n);
    bool restoreColours();
    bool chooseExternalEditor();
    bool chooseBrowserTemplate(int n);
    // Leaving the extension box: a leading "." is dropped (".txt" → "txt").
    void finishExtension();
    static QString cleanExtension(const QString &text);
    // The editor an empty ExtEditor stands for, as a sentence.
    QString emptyEditorNote() const;

    // --- Saving and discarding
    // True when the settings were saved and the dialog closes; false keeps
    // it open (untitled card file, a declined question).
    bool save(SaveButton button);
    // Throws the per-file settings away: the general file is loaded and
    // applied, the dialog refilled, the card's settings file deleted. True
    // on success and when there was nothing to discard.
    bool discardPerFile();

private:
    bool discard(bool refill);
    void writeValues();

    SettingsModel &m_settings;
    Dialogs &m_dialogs;
    SettingsDialogHost &m_host;
    SettingsDialogValues m_values;
};
