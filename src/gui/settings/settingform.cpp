#include "gui/settings/settingform.h"

#include "core/window/fontfamilies.h"
#include "core/window/windowtables.h"
#include "gui/common/qtcolours.h"
#include "gui/common/qtdialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace T = SettingsDialogTexts;

namespace {

QString nameOf(const QString &name, int index)
{
    return WindowTables::objectName(name, index);
}

QString cssColour(std::uint32_t number)
{
    return QtColours::toQColor(number).name();
}

} // namespace

SettingForm::SettingForm(SettingsDialogModel &model, QWidget *parent) : QDialog(parent), m_model(model)
{
    setObjectName(QStringLiteral("SettingForm"));
    setModal(true);
    m_tabs = new QTabWidget(this);
    m_tabs->setObjectName(QStringLiteral("ssTab"));
    buildDataTab();
    buildDisplayTab();
    buildOperationTab();
    buildOtherTab();
    m_tabs->setCurrentIndex(0);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    buildButtons();
    showValues();
    m_columns[0]->setFocus();
}

// ---------------------------------------------------------------- tabs

QCheckBox *SettingForm::addCheck(QWidget *tab, const QString &name, const QString &caption,
                                 bool SettingsDialogValues::*field)
{
    auto *box = new QCheckBox(caption, tab);
    box->setObjectName(name);
    connect(box, &QCheckBox::toggled, this, [this, field](bool on) { m_model.values().*field = on; });
    m_checks.append({box, field});
    tab->layout()->addWidget(box);
    return box;
}

void SettingForm::buildDataTab()
{
    auto *tab = new QWidget(m_tabs);
    auto *layout = new QVBoxLayout(tab);
    auto *names = new QGridLayout;
    const QStringList captions = {QStringLiteral("項目1名称"), QStringLiteral("項目2名称"),
                                  QStringLiteral("項目3名称")};
    for (int n = 0; n < 3; ++n) {
        auto *edit = new QLineEdit(tab);
        edit->setObjectName(nameOf(QStringLiteral("txtColumn"), n));
        auto *label = new QLabel(captions[n], tab);
        label->setBuddy(edit);
        names->addWidget(label, n, 0);
        names->addWidget(edit, n, 1);
        connect(edit, &QLineEdit::textEdited, this,
                [this, n](const QString &text) { m_model.values().columns[n] = text; });
        m_columns[n] = edit;
    }
    layout->addLayout(names);
    addCheck(tab, QStringLiteral("chkNoSort"), QStringLiteral("データをソートを禁止する"),
             &SettingsDialogValues::noSort);
    addCheck(tab, QStringLiteral("chkAddDateInfo"), QStringLiteral("項目1に日付情報を付加する"),
             &SettingsDialogValues::addDateInfo);
    addCheck(tab, QStringLiteral("chkPartHTMLTitleMode"), QStringLiteral("階層HTMLのファイル名を連番にする"),
             &SettingsDialogValues::partHtmlTitleMode);
    addCheck(tab, QStringLiteral("chkNoWriteColumn2"), QStringLiteral("HTML出力時「項目2」を出力しない"),
             &SettingsDialogValues::noWriteColumn2);
    addCheck(tab, QStringLiteral("chkNoHTMLHeader"), QStringLiteral("階層型HTMLファイル出力時に生データを出力"),
             &SettingsDialogValues::noHtmlHeader);
    addCheck(tab, QStringLiteral("chkAutoSort"), QStringLiteral("ソートを記憶する(ロード時に自動ソート)"),
             &SettingsDialogValues::autoSort);
    layout->addStretch();
    m_tabs->addTab(tab, T::TabData);
}

void SettingForm::buildDisplayTab()
{
    auto *tab = new QWidget(m_tabs);
    auto *layout = new QVBoxLayout(tab);

    auto *colours = new QGridLayout;
    const QStringList captions = {QStringLiteral("一覧画面の文字色"), QStringLiteral("一覧画面の背景色"),
                                  QStringLiteral("絞込画面の文字色"), QStringLiteral("絞込画面の背景色"),
                                  QStringLiteral("編集画面の文字色"), QStringLiteral("編集画面の背景色")};
    for (int n = 0; n < 6; ++n) {
        auto *box = new QPushButton(tab);
        box->setObjectName(nameOf(QStringLiteral("PicColorInfo"), n));
        box->setFixedSize(48, 20);
        box->setAutoDefault(false);
        box->setToolTip(captions[n]);
        auto *label = new QLabel(captions[n], tab);
        label->setBuddy(box);
        colours->addWidget(box, n / 2, (n % 2) * 2);
        colours->addWidget(label, n / 2, (n % 2) * 2 + 1);
        connect(box, &QPushButton::clicked, this, [this, n] {
            if (m_model.chooseColour(n))
                showColours();
        });
        m_colours[n] = box;
    }
    colours->setColumnStretch(1, 1);
    colours->setColumnStretch(3, 1);
    layout->addLayout(colours);
    auto *restore = new QPushButton(QStringLiteral("カラー設定を初期状態に(&C)"), tab);
    restore->setObjectName(QStringLiteral("btnRestoreColor"));
    restore->setAutoDefault(false);
    connect(restore, &QPushButton::clicked, this, [this] {
        if (m_model.restoreColours())
            showColours();
    });
    layout->addWidget(restore, 0, Qt::AlignLeft);

    const QStringList fontCaptions = {QStringLiteral("一覧画面のフォント"), QStringLiteral("編集画面のフォント")};
    for (int n = 0; n < 2; ++n) {
        auto *group = new QGroupBox(fontCaptions[n], tab);
        auto *row = new QHBoxLayout(group);
        auto *label = new QLabel(group);
        label->setObjectName(nameOf(QStringLiteral("lblFontInfo"), n));
        label->setFrameShape(QFrame::StyledPanel);
        label->setMinimumWidth(220);
        auto *change = new QPushButton(QStringLiteral("変更..."), group);
        change->setObjectName(nameOf(QStringLiteral("btnChangeFont"), n));
        change->setAutoDefault(false);
        row->addWidget(label, 1);
        row->addWidget(change);
        connect(change, &QPushButton::clicked, this, [this, n] {
            if (m_model.chooseFont(n))
                showFonts();
        });
        m_fontLabels[n] = label;
        layout->addWidget(group);
    }
    addCheck(tab, QStringLiteral("chkSaveWindowSize"), QStringLiteral("起動時にウインドウサイズを復元する"),
             &SettingsDialogValues::saveWindowSize);
    addCheck(tab, QStringLiteral("chkSaveColumnWidth"), QStringLiteral("終了時に一覧画面の項目幅を保存する"),
             &SettingsDialogValues::saveColumnWidth);
    layout->addStretch();
    m_tabs->addTab(tab, T::TabDisplay);
}

void SettingForm::buildOperationTab()
{
    auto *tab = new QWidget(m_tabs);
    auto *layout = new QVBoxLayout(tab);
    addCheck(tab, QStringLiteral("chkNoFunctionBarClickEvent"),
             QStringLiteral("ファンクションキー表示をクリックしても、反応しないようにする"),
             &SettingsDialogValues::noFunctionBarClickEvent);
    addCheck(tab, QStringLiteral("chkInsertCardAtNextCard"),
             QStringLiteral("新規カード作成時、カーソルの次の行に項目を挿入"),
             &SettingsDialogValues::insertCardAtNextCard);
    layout->addStretch();
    m_tabs->addTab(tab, T::TabOperation);
}

void SettingForm::buildOtherTab()
{
    auto *tab = new QWidget(m_tabs);
    auto *layout = new QVBoxLayout(tab);

    const QStringList hinaCaptions = {QStringLiteral("ブラウザボタンの雛形(全カード)"),
                                      QStringLiteral("ブラウザボタンの雛形(選択カード)")};
    for (int n = 0; n < 2; ++n) {
        auto *group = new QGroupBox(hinaCaptions[n], tab);
        auto *row = new QHBoxLayout(group);
        auto *edit = new QLineEdit(group);
        edit->setObjectName(nameOf(QStringLiteral("txtBrowserHina"), n));
        auto *choose = new QPushButton(QStringLiteral("参照..."), group);
        choose->setObjectName(nameOf(QStringLiteral("btnRefBrowserHina"), n));
        choose->setAutoDefault(false);
        row->addWidget(edit, 1);
        row->addWidget(choose);
        connect(edit, &QLineEdit::textEdited, this,
                [this, n](const QString &text) { m_model.values().browserHina[n] = text; });
        connect(choose, &QPushButton::clicked, this, [this, n] {
            if (m_model.chooseBrowserTemplate(n))
                m_browserHina[n]->setText(m_model.values().browserHina[n]);
        });
        m_browserHina[n] = edit;
        layout->addWidget(group);
    }
    m_browserHinaMode = new QComboBox(tab);
    m_browserHinaMode->setObjectName(QStringLiteral("cmbBrowserHinaMode"));
    m_browserHinaMode->addItems(
        {QStringLiteral("単純HTML"), QStringLiteral("階層型HTML"), QStringLiteral("簡易階層型HTML")});
    connect(m_browserHinaMode, &QComboBox::activated, this,
            [this](int index) { m_model.values().browserHinaMode = index; });
    auto *modeRow = new QHBoxLayout;
    auto *modeLabel = new QLabel(QStringLiteral("ブラウザボタンの出力形式"), tab);
    modeLabel->setBuddy(m_browserHinaMode);
    modeRow->addWidget(modeLabel);
    modeRow->addWidget(m_browserHinaMode);
    modeRow->addStretch();
    layout->addLayout(modeRow);

    auto *editorGroup = new QGroupBox(QStringLiteral("外部エディタの指定"), tab);
    auto *editorLayout = new QGridLayout(editorGroup);
    m_extEditor = new QLineEdit(editorGroup);
    m_extEditor->setObjectName(QStringLiteral("txtExtEditor"));
    auto *chooseEditor = new QPushButton(QStringLiteral("参照..."), editorGroup);
    chooseEditor->setObjectName(QStringLiteral("btnExtEditor"));
    chooseEditor->setAutoDefault(false);
    m_extEditorNote = new QLabel(editorGroup);
    m_extEditorNote->setObjectName(QStringLiteral("lblExtEditorDefault"));
    m_extEditorNote->setWordWrap(true);
    m_extEditorNote->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_extEditorExt = new QLineEdit(editorGroup);
    m_extEditorExt->setObjectName(QStringLiteral("txtExtEditorEXT"));
    m_extEditorExt->setMaximumWidth(100);
    auto *extLabel = new QLabel(QStringLiteral("外部エディタに渡すファイルの拡張子"), editorGroup);
    extLabel->setBuddy(m_extEditorExt);
    editorLayout->addWidget(m_extEditor, 0, 0);
    editorLayout->addWidget(chooseEditor, 0, 1);
    editorLayout->addWidget(m_extEditorNote, 1, 0, 1, 2);
    auto *extRow = new QHBoxLayout;
    extRow->addWidget(extLabel);
    extRow->addWidget(m_extEditorExt);
    extRow->addStretch();
    editorLayout->addLayout(extRow, 2, 0, 1, 2);
    layout->addWidget(editorGroup);
    connect(m_extEditor, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_model.values().extEditor = text; });
    connect(chooseEditor, &QPushButton::clicked, this, [this] {
        if (m_model.chooseExternalEditor())
            m_extEditor->setText(m_model.values().extEditor);
    });
    connect(m_extEditorExt, &QLineEdit::textEdited, this,
            [this](const QString &text) { m_model.values().extEditorExt = text; });
    connect(m_extEditorExt, &QLineEdit::editingFinished, this, [this] {
        m_model.finishExtension();
        m_extEditorExt->setText(m_model.values().extEditorExt);
    });
    layout->addStretch();
    m_tabs->addTab(tab, T::TabOther);
}

void SettingForm::buildButtons()
{
    auto *row = new QHBoxLayout;
    for (int n = 0; n < 2; ++n) {
        auto *button = new QPushButton(n == 0 ? T::SaveGeneral : T::SavePerFile, this);
        button->setObjectName(nameOf(QStringLiteral("btnSaveINI"), n));
        button->setMinimumHeight(44);
        connect(button, &QPushButton::clicked, this, [this, n] { saveAs(SettingsDialogModel::SaveButton(n)); });
        m_save[n] = button;
        row->addWidget(button);
    }
    m_kill = new QPushButton(T::KillPerFile, this);
    m_kill->setObjectName(QStringLiteral("btnKillDocumentINI"));
    m_kill->setAutoDefault(false);
    connect(m_kill, &QPushButton::clicked, this, [this] {
        m_model.discardPerFile();
        showValues();
    });
    row->addWidget(m_kill);
    row->addStretch();
    m_cancel = new QPushButton(T::Cancel, this);
    m_cancel->setObjectName(QStringLiteral("btnCancel"));
    m_cancel->setAutoDefault(false);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    row->addWidget(m_cancel);
    static_cast<QVBoxLayout *>(layout())->addLayout(row);
}

// ---------------------------------------------------------------- showing

QFont SettingForm::displayFont(const QString &family, int pointSize)
{
    const QString resolved = FontFamilies::resolve(family, QFontDatabase::families());
    QFont font;
    if (QFontDatabase::hasFamily(resolved)) {
        font.setFamily(resolved);
    } else {
        // Not installed and no known substitute: the stored name first, then
        // the first family that writes Japanese, so the label never falls
        // back to a font without the glyphs.
        const QStringList japanese = QtDialogConversions::japaneseFamilies();
        QStringList families = {family};
        if (!japanese.isEmpty())
            families.append(japanese.first());
        font.setFamilies(families);
    }
    font.setPointSize(std::max(1, pointSize));
    return font;
}

void SettingForm::showValues()
{
    const SettingsDialogValues &v = m_model.values();
    for (int n = 0; n < 3; ++n)
        m_columns[n]->setText(v.columns[n]);
    for (const auto &[box, field] : m_checks) {
        const QSignalBlocker quiet(box);
        box->setChecked(v.*field);
    }
    for (int n = 0; n < 2; ++n)
        m_browserHina[n]->setText(v.browserHina[n]);
    m_browserHinaMode->setCurrentIndex(v.browserHinaMode);
    m_extEditor->setText(v.extEditor);
    m_extEditorExt->setText(v.extEditorExt);
    m_extEditorNote->setText(m_model.emptyEditorNote());
    showFonts();
    showColours();
    showFileState();
}

void SettingForm::showFonts()
{
    const SettingsDialogValues &v = m_model.values();
    for (int n = 0; n < 2; ++n) {
        m_fontLabels[n]->setText(m_model.fontLabel(n));
        m_fontLabels[n]->setFont(displayFont(v.fontNames[n], v.fontSizes[n]));
    }
}

void SettingForm::showColours()
{
    for (int n = 0; n < 6; ++n)
        m_colours[n]->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; border: 1px solid #808080; }")
                                        .arg(cssColour(m_model.values().colours[n])));
}

void SettingForm::showFileState()
{
    setWindowTitle(m_model.title());
    for (int n = 0; n < 2; ++n) {
        const auto button = SettingsDialogModel::SaveButton(n);
        m_save[n]->setStyleSheet(QStringLiteral("QPushButton { background-color: %1; padding: 2px 12px; }")
                                     .arg(cssColour(m_model.saveButtonColour(button))));
        m_save[n]->setAutoDefault(button == m_model.defaultButton());
        m_save[n]->setDefault(button == m_model.defaultButton());
    }
}

void SettingForm::saveAs(SettingsDialogModel::SaveButton button)
{
    m_model.finishExtension();
    if (m_model.save(button)) {
        accept();
        return;
    }
    showValues();
}
