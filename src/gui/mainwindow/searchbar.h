#pragma once
// The search bar picSearch: the keyword box txtSearch (an editable drop-down
// whose list is the search history), the search buttons btnSearch(0 to 2),
// the extraction buttons and the regular-expression box chkSeiki, made from
// the search-bar table by the window's ActionBuilder: each button runs its
// command through the registry and follows its enabled state; the check box
// follows the Regex command's check mark.

#include <QWidget>

class ActionBuilder;
class QCheckBox;
class QComboBox;
class QToolButton;

class SearchBar : public QWidget
{
    Q_OBJECT
public:
    SearchBar(ActionBuilder &actions, QWidget *parent = nullptr);

    QComboBox *keywordBox() const { return m_keyword; }
    QCheckBox *regexBox() const { return m_regex; }

    QString keyword() const;
    void setKeyword(const QString &keyword);
    // The drop-down list, most recent first.
    QStringList history() const;
    void setHistory(const QStringList &entries);
    // Focuses the keyword box with its whole text selected.
    void focusKeyword();
    void selectKeyword();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QComboBox *m_keyword;
    QCheckBox *m_regex = nullptr;
};
