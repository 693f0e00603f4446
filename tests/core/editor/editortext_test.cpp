// Search in the content box, the wide caret, drops, line ends and the layout.
#include "editorfixture.h"

#include "core/common/win31j.h"
#include "core/editor/editorlayout.h"
#include "core/editor/editortext.h"

#include <QDir>
#include <QTemporaryDir>

namespace {

using EditorText::Range;

TEST(ContentSearch, ForwardFindsTextAtTheCaretWithoutSelection)
{
    const QString text = QStringLiteral("Apple pie, apple tart");
    // The very start is searched too.
    EXPECT_EQ(EditorText::findForward(text, QStringLiteral("apple"), 0, false), (Range{0, 5}));
    // A selected hit is stepped over: the next one is found, ignoring case.
    EXPECT_EQ(EditorText::findForward(text, QStringLiteral("APPLE"), 0, true), (Range{11, 5}));
    EXPECT_EQ(EditorText::findForward(text, QStringLiteral("apple"), 11, true), std::nullopt);
    EXPECT_EQ(EditorText::findForward(text, QStringLiteral("pie"), 3, false), (Range{6, 3}));
}

TEST(ContentSearch, ForwardWithEmptyNeedleOrPastTheEndFindsNothing)
{
    EXPECT_EQ(EditorText::findForward(QStringLiteral("abc"), QString(), 0, false), std::nullopt);
    EXPECT_EQ(EditorText::findForward(QStringLiteral("abc"), QStringLiteral("c"), 3, false), std::nullopt);
    EXPECT_EQ(EditorText::findForward(QStringLiteral("abc"), QStringLiteral("c"), 99, true), std::nullopt);
}

TEST(ContentSearch, BackwardFindsTheLastHitWhollyBeforeTheCaret)
{
    const QString text = QString::fromUtf8("メモ abc メモ abc");
    EXPECT_EQ(EditorText::findBackward(text, QStringLiteral("ABC"), text.size()), (Range{10, 3}));
    // From the start of that hit, the one before it.
    EXPECT_EQ(EditorText::findBackward(text, QStringLiteral("abc"), 10), (Range{3, 3}));
    // A hit reaching over the caret does not count.
    EXPECT_EQ(EditorText::findBackward(text, QStringLiteral("abc"), 5), std::nullopt);
    // At the very start nothing is found.
    EXPECT_EQ(EditorText::findBackward(text, QString::fromUtf8("メモ"), 0), std::nullopt);
}

TEST(Caret, HeightRoundsHalfToEvenWidthIsAQuarterButAtLeastThree)
{
    EXPECT_EQ(EditorText::caretSize(9), QSize(3, 14));  // 13.5 -> 14
    EXPECT_EQ(EditorText::caretSize(11), QSize(4, 16)); // 16.5 -> 16
    EXPECT_EQ(EditorText::caretSize(12), QSize(4, 18));
    EXPECT_EQ(EditorText::caretSize(5), QSize(3, 8)); // 7.5 -> 8, width at least 3
    EXPECT_EQ(EditorText::caretSize(20), QSize(7, 30));
}

TEST(LineEnds, BoxTextTakesCrLf)
{
    EXPECT_EQ(EditorText::toCardLineEnds(QStringLiteral("a\nb")), QStringLiteral("a\r\nb"));
    EXPECT_EQ(EditorText::toCardLineEnds(QStringLiteral("a\u2029b\u2029")), QStringLiteral("a\r\nb\r\n"));
    EXPECT_EQ(EditorText::toCardLineEnds(QStringLiteral("a\r\nb\rc")), QStringLiteral("a\r\nb\r\nc"));
    EXPECT_EQ(EditorText::toCardLineEnds(QStringLiteral("a\u00A0b")), QStringLiteral("a\u00A0b"));
}

class Drops : public EditorTest
{
protected:
    QTemporaryDir dir;
    QString file(const QString &name, const QByteArray &bytes)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(Sandbox::writeBytes(path, bytes));
        return path;
    }
};

TEST_F(Drops, PlainTextIsUsedUnchanged)
{
    EXPECT_EQ(EditorText::droppedText({}, QStringLiteral("a\r\nb"), dialogs), QStringLiteral("a\r\nb"));
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Drops, TheLastFileIsReadAsWindows31J)
{
    const QString first = file(QStringLiteral("1.txt"), Win31J::encode(QString::fromUtf8("一")));
    const QString last = file(QStringLiteral("2.txt"), Win31J::encode(QString::fromUtf8("二番\r\n")));
    EXPECT_EQ(EditorText::droppedText({first, last}, QStringLiteral("ignored"), dialogs),
              QString::fromUtf8("二番\r\n"));
}

TEST_F(Drops, TextWithFieldMarkIsRefusedSilently)
{
    EXPECT_EQ(EditorText::droppedText({},
                                      QStringLiteral("a\x01"
                                                     "b"),
                                      dialogs),
              std::nullopt);
    const QString binary = file(QStringLiteral("b.qlw"), QByteArray("x\x01y", 3));
    EXPECT_EQ(EditorText::droppedText({binary}, std::nullopt, dialogs), std::nullopt);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(Drops, UnreadableFileIsReportedWithAWarning)
{
    const QString missing = dir.filePath(QStringLiteral("gone.txt"));
    EXPECT_EQ(EditorText::droppedText({missing}, std::nullopt, dialogs), std::nullopt);
    ASSERT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(dialogs.messages()[0].text, QString::fromUtf8("エラーが発生しました。\r\n\r\nファイル「") + missing
                                              + QString::fromUtf8("」を読み込めませんでした。"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Warning);
}

TEST(Layout, GroupTakesAQuarterOfTheRowTitleTheRest)
{
    EditorLayoutInput in;
    in.client = QSize(600, 400);
    in.labelWidth = 40;
    in.atMarkWidth = 16;
    in.rowHeight = 22;
    const EditorLayoutResult r = LayOutEditor(in);
    const int fieldsLeft = 4 + 40 + 4;
    const int rest = 600 - 4 - fieldsLeft;
    EXPECT_EQ(r.group, QRect(fieldsLeft, 4, rest / 4, 22));
    EXPECT_EQ(r.atMark.left(), r.group.right() + 1 + 4);
    EXPECT_EQ(r.title.right(), 600 - 4 - 1);
    EXPECT_EQ(r.title.left(), r.atMark.right() + 1 + 4);
    EXPECT_EQ(r.remarks, QRect(fieldsLeft, 30, rest, 22));
    EXPECT_EQ(r.content.top(), 56);
    EXPECT_EQ(r.content.bottom(), 400 - 4 - 1);
    for (const QRect &label : r.labels)
        EXPECT_EQ(label.width(), 40);
}

TEST(Layout, TinyClientSqueezesWithoutNegativeSizes)
{
    EditorLayoutInput in;
    in.client = QSize(10, 10);
    in.labelWidth = 40;
    in.atMarkWidth = 16;
    in.rowHeight = 22;
    const EditorLayoutResult r = LayOutEditor(in);
    for (const QRect &rect : {r.group, r.atMark, r.title, r.remarks, r.content}) {
        EXPECT_GE(rect.width(), 0);
        EXPECT_GE(rect.height(), 0);
    }
}

} // namespace
