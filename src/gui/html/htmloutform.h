#pragma once
// HTMLOutForm: the HTML output wizard's window. It shows HtmlWizard's state
// (pages, labels, the template's style sheets, the options, the destination)
// and forwards the clicks. While the pages are written, page 3 shows a
// progress bar; the window keeps repainting and "キャンセル" stops the run
// between two pages.

#include "core/html/htmlwizard.h"

#include <QDialog>
#include <QElapsedTimer>

#include <array>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QStackedWidget;

class HTMLOutForm : public QDialog
{
    Q_OBJECT
public:
    explicit HTMLOutForm(HtmlWizard &wizard, QWidget *parent = nullptr);

    // "HTMLウイザード再実行": presses "次へ" three times, repainting between.
    // False when the wizard is still open (it stopped on page 2 asking for
    // the destination) and waits for the person.
    bool runStraightThrough();
    // The wizard ended (written, nothing collected, or cancelled).
    bool ended() const { return m_ended; }

    QStackedWidget *frames() const { return m_frames; }
    QRadioButton *modeButton(int mode) const { return m_modes.at(size_t(mode)); }
    QLineEdit *templateBox() const { return m_template; }
    QLabel *templateName() const { return m_templateName; }
    QComboBox *styleSheetBox() const { return m_styleSheet; }
    QLabel *styleSheetName() const { return m_styleSheetName; }
    QPushButton *templateButton() const { return m_refTemplate; }
    QPushButton *detailsButton() const { return m_details; }
    QPushButton *unifyButton() const { return m_unify; }
    QCheckBox *optionBox(WizardOption which) const { return m_options.at(size_t(which)); }
    QLabel *saveMessage() const { return m_saveMessage; }
    QLabel *saveMessageDetail() const { return m_saveDetail; }
    QLineEdit *rootPathBox() const { return m_rootPath; }
    QPushButton *rootPathButton() const { return m_refRootPath; }
    QCheckBox *autoOpenBox() const { return m_autoOpen; }
    QPushButton *backButton() const { return m_back; }
    QPushButton *nextButton() const { return m_next; }
    QPushButton *cancelButton() const { return m_cancel; }
    QProgressBar *progressBar() const { return m_progress; }
    QLabel *progressText() const { return m_progressText; }

public slots:
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void refresh(); // the wizard's state into the controls
    void onNext();
    bool onProgress(qsizetype done, qsizetype total);
    void end();

    HtmlWizard &m_wizard;
    bool m_ended = false;
    bool m_cancelRequested = false;
    QString m_card;
    QElapsedTimer m_sincePump;

    QStackedWidget *m_frames;
    std::array<QRadioButton *, 5> m_modes{};
    QButtonGroup *m_modeGroup;
    QLabel *m_modeDescription;
    QLineEdit *m_template;
    QLabel *m_templateName;
    QPushButton *m_refTemplate;
    QComboBox *m_styleSheet;
    QLabel *m_styleSheetName;
    QPushButton *m_details;
    QPushButton *m_unify;
    std::array<QCheckBox *, WizardOptionCount> m_options{};
    QLabel *m_saveMessage;
    QLabel *m_saveDetail;
    QLineEdit *m_rootPath;
    QPushButton *m_refRootPath;
    QCheckBox *m_autoOpen;
    QProgressBar *m_progress;
    QLabel *m_progressText;
    QPushButton *m_back;
    QPushButton *m_next;
    QPushButton *m_cancel;
};
