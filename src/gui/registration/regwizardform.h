#pragma once
// frmRegWiz: the information wizard's window. It shows RegWizard's state
// and forwards the clicks; what the steps, boxes and finish mean lives in
// the core.

#include "core/registration/regwizard.h"

#include <QWidget>

#include <array>
#include <functional>

class PageSource;
class QCheckBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QStackedWidget;
class QTextBrowser;
class Shell;

class RegWizardForm : public QWidget
{
    Q_OBJECT
public:
    // onFinish runs on "次へ(&N) >>" of the last step with the boxes as set;
    // the window then closes without the cancel notice.
    RegWizardForm(RegWizard &wizard, PageSource &pages, Shell &shell,
                  std::function<void(const RegistrationChoices &)> onFinish, QWidget *parent = nullptr);

    QPushButton *nextButton() const { return m_next; }
    QPushButton *backButton() const { return m_back; }
    QPushButton *cancelButton() const { return m_cancel; }
    QCheckBox *extensionBox(int i) const { return m_ext.at(size_t(i)); }
    QCheckBox *favoriteBox() const { return m_favorite; }
    QTextBrowser *browser() const { return m_browser; }
    QPlainTextEdit *regInfo() const { return m_text; }
    // The picWiz frame shown.
    int visibleFrame() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void ShowStep();
    void clearBrowser();
    void onNext();
    void onBack();
    void onCancel();
    void storeBoxes();

    RegWizard &m_wizard;
    PageSource &m_pages;
    Shell &m_shell;
    std::function<void(const RegistrationChoices &)> m_onFinish;
    bool m_ending = false;

    QStackedWidget *m_frames;
    QPlainTextEdit *m_text;
    QLabel *m_comment;
    QTextBrowser *m_browser;
    std::array<QCheckBox *, 4> m_ext{};
    QCheckBox *m_favorite;
    QPushButton *m_next;
    QPushButton *m_back;
    QPushButton *m_cancel;
};
