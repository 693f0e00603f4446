#pragma once
// The information wizard frmRegWiz as data and rules: its five steps, what
// each shows, the buttons, the check boxes kept across steps, cancelling,
// and the finish (favourites, file types, QLTWIN started again). The form
// in the widgets layer only shows this state and forwards the clicks.

#include <QString>
#include <QStringList>

#include <array>

class Dialogs;
class Processes;
class Shell;
class UserStore;
struct XdgFolders;

namespace RegWizardTexts {
inline const QString Caption = QStringLiteral("QLT@WIN Infomation Wizard - QLT@WINサポート情報");
inline const QString Next = QStringLiteral("次へ(&N) >>");
inline const QString Back = QStringLiteral("<< 戻る(&B)");
inline const QString Cancel = QStringLiteral("キャンセル(&C)");
inline const QString CancelMessage = QStringLiteral("このウイザードは、スタートメニューからいつでも呼び出せます。");
extern const QString MailingListText;
inline const QString MailingListStart = QStringLiteral("配信を開始(&S)");
inline const QString MailingListStop = QStringLiteral("配信を停止(&T)");
inline const QString MailingListChange = QStringLiteral("配信方法変更(&H)");
extern const QString PersonalPageComment;
extern const QString NoticesComment;
extern const QString FileTypesText;
extern const QString FavoritesText;
inline const QString FavoriteBox = QStringLiteral("お気に入りにQLT＠WIN関連のホームページを追加(&F)");
// The check boxes of the file types, in chkEXT order.
inline const std::array<QString, 4> ExtensionBoxes{QStringLiteral("QLW(&S)"), QStringLiteral("QLT(&B)"),
                                                   QStringLiteral("STK/MyNote(&K)"), QStringLiteral("CSV(&C)")};
inline const std::array<QString, 4> Extensions{QStringLiteral("qlw"), QStringLiteral("qlt"), QStringLiteral("stk"),
                                               QStringLiteral("csv")};
inline const QString RegInfoFile = QStringLiteral("RegInfo.txt");

// The page shown in place of a maker's page that cannot be reached.
QString unreachablePage(const QString &address);
} // namespace RegWizardTexts

// What the person chose on the file-type page. Every run starts like this.
struct RegistrationChoices {
    std::array<bool, 4> extensions{true, true, false, false};
    bool favorites = true;
    QStringList tickedExtensions() const;
};

class RegWizard
{
public:
    static constexpr int LastStep = 4;
    enum class Page { RegInfo, MailingList, Browser, FileTypes };

    RegWizard(Dialogs &dialogs, Shell &shell);

    int step() const { return m_step; }
    Page page() const;
    // The frame picWiz(n) of the step: 0, 2, 1, 3, 1.
    int frame() const;
    // Browser steps (2 and 4): the page to show and the comment above it.
    QString browserAddress() const;
    QString comment() const;

    // "次へ(&N) >>": true on the last step, where the caller finishes the
    // wizard; otherwise the next step.
    bool next();
    // "<< 戻る(&B)": the step before, never below 0.
    void back();

    RegistrationChoices &choices() { return m_choices; }
    const RegistrationChoices &choices() const { return m_choices; }

    // btnMailingList(0..2): subscribe and unsubscribe mails, the settings page.
    void mailingList(int index);
    // "キャンセル(&C)" or the close box: the notice; nothing is registered.
    void cancel();

    // The text of step 0: "RegInfo.txt" in the program folder, else the one
    // delivered with an installed program; empty when there is none.
    static QString regInfoText();

private:
    Dialogs &m_dialogs;
    Shell &m_shell;
    int m_step = 0;
    RegistrationChoices m_choices;
};

// The finishing step. Reads QLTWIN's path ("Path", else "QLTWIN" beside
// wizardFolder), adds the favourites when chosen, registers the ticked
// types with the desktop, then starts QLTWIN with the wizard's own
// arguments. Failures are silent; QLTWIN is started in any case. Returns
// whether QLTWIN could be started.
struct FinishServices {
    UserStore &userStore;
    Processes &processes;
    const XdgFolders &folders;
    QString wizardFolder;
};
bool FinishWizard(const RegistrationChoices &choices, const QStringList &arguments, const FinishServices &services);
