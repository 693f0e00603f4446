#pragma once
// SettingForm: the options dialog. Four tabs ("データ", "表示", "操作",
// "その他") show the values of a SettingsDialogModel; every edit goes into the
// model at once, every button runs a model action and the controls are shown
// again from the model. Controls keep their names as object names
// ("txtColumn_0", "chkNoSort", "PicColorInfo_3", "btnSaveINI_1", ...).
//
//     DocumentSettingsHost host(document);
//     SettingsDialogModel model(document.settings(), document.dialogs(), host);
//     model.fill();
//     SettingForm form(model, &window);
//     form.exec();

#include "core/settings/settingsdialog.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;

class SettingForm : public QDialog
{
    Q_OBJECT
public:
    explicit SettingForm(SettingsDialogModel &model, QWidget *parent = nullptr);

    QTabWidget *tabs() const { return m_tabs; }
    QPushButton *saveButton(int index) const { return m_save.at(index); }

    // The font a label shows a stored font in: the family when installed,
    // else its substitute or the nearest font with Japanese glyphs.
    static QFont displayFont(const QString &family, int pointSize);

private:
    void buildDataTab();
    void buildDisplayTab();
    void buildOperationTab();
    void buildOtherTab();
    void buildButtons();
    QCheckBox *addCheck(QWidget *tab, const QString &name, const QString &caption, bool SettingsDialogValues::*field);

    // The controls from the model.
    void showValues();
    void showFonts();
    void showColours();
    void showFileState();

    void saveAs(SettingsDialogModel::SaveButton button);

    SettingsDialogModel &m_model;
    QTabWidget *m_tabs = nullptr;
    std::array<QLineEdit *, 3> m_columns{};
    QList<std::pair<QCheckBox *, bool SettingsDialogValues::*>> m_checks;
    std::array<QPushButton *, 6> m_colours{};
    std::array<QLabel *, 2> m_fontLabels{};
    std::array<QLineEdit *, 2> m_browserHina{};
    QComboBox *m_browserHinaMode = nullptr;
    QLineEdit *m_extEditor = nullptr;
    QLineEdit *m_extEditorExt = nullptr;
    QLabel *m_extEditorNote = nullptr;
    std::array<QPushButton *, 2> m_save{};
    QPushButton *m_kill = nullptr;
    QPushButton *m_cancel = nullptr;
};
