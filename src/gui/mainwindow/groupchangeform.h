#pragma once
// GroupChangeForm "グループの変更": the editable drop-down cmbGroup with the
// groups of the main card list, and the buttons "OK" (cmdOK) and
// "キャンセル" (cmdCancel). confirmed() is false until OK is pressed; both
// buttons (and Esc, and the close box) close the dialog.

#include <QDialog>

#include <optional>

class QComboBox;
class QPushButton;

class GroupChangeForm : public QDialog
{
    Q_OBJECT
public:
    explicit GroupChangeForm(QWidget *parent = nullptr);

    // Fills cmbGroup with groups (in order) and sets its text.
    void load(const QStringList &groups, const QString &text);
    QString groupText() const;
    bool confirmed() const { return m_confirmed; }

    QComboBox *groupBox() const { return m_group; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // Shows the dialog modally; the text of cmbGroup when OK was pressed.
    std::optional<QString> ask(const QStringList &groups, const QString &text);

private:
    QComboBox *m_group;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    bool m_confirmed = false;
};
