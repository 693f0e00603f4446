#pragma once
// The preview pane picPreView with its three boxes txtPreView(0 to 2): the
// title field, the remarks and the content of the selected card, stacked top
// to bottom. The boxes are read-only: a card is changed in its editor.

#include <QFrame>

class QLineEdit;
class QPlainTextEdit;

class PreviewPane : public QFrame
{
    Q_OBJECT
public:
    explicit PreviewPane(QWidget *parent = nullptr);

    void showCard(const QString &title, const QString &remarks, const QString &content);
    void clear();
    QString title() const;
    QString remarks() const;
    QString content() const;

    void setPreviewFont(const QFont &font);
    void setColours(const QColor &text, const QColor &background);

    // Height of a one-line box, and the pane's inner margin.
    int lineHeight() const;
    static constexpr int Margin = 1;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void layoutBoxes();

    QLineEdit *m_title;
    QLineEdit *m_remarks;
    QPlainTextEdit *m_content;
};
