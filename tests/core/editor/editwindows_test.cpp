// The table of open editors and the rules of opening one.
#include "core/editor/editwindows.h"

#include "support/fakedialogs.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

class FakeEditor : public EditorWindow
{
public:
    FakeEditor(EditWindows &owner, int slotIndex, int listIndex, QString cardKey)
        : table(owner), slot(slotIndex), list(listIndex), key(std::move(cardKey))
    {}
    EditWindows &table;
    int slot;
    int list;
    QString key;
    int fronted = 0;
    int shown = 0;
    bool mostFront = false;
    bool closed = false;
    bool visible = true;

    QString EditingKey() const override { return key; }
    void bringToFront() override { ++fronted; }
    void setMostFront(bool on) override { mostFront = on; }
    void showEditor() override { ++shown; }
    void closeEditor() override
    {
        closed = true;
        table.release(slot);
    }
    void setShown(bool on) override { visible = on; }
};

class OpeningEditors : public ::testing::Test
{
protected:
    EditWindows table;
    FakeDialogs dialogs;
    std::vector<std::unique_ptr<FakeEditor>> made;

    EditWindows::Factory factory()
    {
        return [this](int slot, int list, const QString &key) -> EditorWindow * {
            made.push_back(std::make_unique<FakeEditor>(table, slot, list, key));
            return made.back().get();
        };
    }
    EditWindows::OpenResult open(const QString &key, int list = 0, bool mostFront = false)
    {
        return table.open(dialogs, list, key, mostFront, factory());
    }
};

TEST_F(OpeningEditors, NewEditorTakesTheFirstFreeSlotAndIsShown)
{
    EXPECT_EQ(open(QStringLiteral("A"), 1), EditWindows::OpenResult::Opened);
    EXPECT_EQ(open(QStringLiteral("B")), EditWindows::OpenResult::Opened);
    ASSERT_EQ(made.size(), 2u);
    EXPECT_EQ(made[0]->slot, 0);
    EXPECT_EQ(made[0]->list, 1);
    EXPECT_EQ(made[1]->slot, 1);
    EXPECT_EQ(made[0]->shown, 1);
    EXPECT_FALSE(made[0]->mostFront);
    EXPECT_EQ(table.openCount(), 2);

    made[0]->closeEditor();
    EXPECT_EQ(table.firstFreeSlot(), 0);
    EXPECT_EQ(open(QStringLiteral("C")), EditWindows::OpenResult::Opened);
    EXPECT_EQ(made[2]->slot, 0);
}

TEST_F(OpeningEditors, SameCardTwiceBringsTheOpenEditorForward)
{
    open(QStringLiteral("A"));
    EXPECT_EQ(open(QStringLiteral("A")), EditWindows::OpenResult::Fronted);
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0]->fronted, 1);
    EXPECT_EQ(table.openCount(), 1);
    // Keys compare exactly.
    EXPECT_EQ(open(QStringLiteral("a")), EditWindows::OpenResult::Opened);
}

TEST_F(OpeningEditors, MostFrontMainWindowMakesTheNewEditorMostFront)
{
    open(QStringLiteral("A"), 0, true);
    EXPECT_TRUE(made[0]->mostFront);
}

TEST_F(OpeningEditors, HundredEditorsAreTheLimitAndSlot100IsNeverUsed)
{
    for (int n = 0; n < 100; ++n)
        ASSERT_EQ(open(QStringLiteral("K%1").arg(n)), EditWindows::OpenResult::Opened);
    EXPECT_EQ(table.openCount(), 100);
    EXPECT_EQ(table.at(100), nullptr);
    EXPECT_EQ(table.firstFreeSlot(), EditWindows::Limit);

    EXPECT_EQ(open(QStringLiteral("new")), EditWindows::OpenResult::Refused);
    // The slot test comes first: even a card with an open editor gets the message.
    EXPECT_EQ(open(QStringLiteral("K5")), EditWindows::OpenResult::Refused);
    EXPECT_EQ(made.size(), 100u);
    EXPECT_EQ(made[5]->fronted, 0);
    ASSERT_EQ(dialogs.messages().size(), 2);
    EXPECT_EQ(dialogs.messages()[0].text, QString::fromUtf8("編集ウインドウは100以上開けません。"));
    EXPECT_EQ(dialogs.messages()[0].icon, MsgIcon::Error);
    EXPECT_EQ(dialogs.messages()[0].buttons, MsgButtons::Ok);

    EXPECT_FALSE(table.put(100, made[0].get()));
}

TEST_F(OpeningEditors, NoKeyOrNoEditorOpensNothing)
{
    EXPECT_EQ(open(QString()), EditWindows::OpenResult::NoCard);
    EXPECT_EQ(table.open(dialogs, 0, QStringLiteral("A"), false, [](int, int, const QString &) { return nullptr; }),
              EditWindows::OpenResult::NotMade);
    EXPECT_EQ(table.openCount(), 0);
    EXPECT_TRUE(dialogs.messages().isEmpty());
}

TEST_F(OpeningEditors, CloseAllClosesEverySlot)
{
    for (const char *key : {"A", "B", "C"})
        open(QString::fromLatin1(key));
    made[1]->closeEditor();
    table.closeAll();
    EXPECT_EQ(table.openCount(), 0);
    for (const auto &editor : made)
        EXPECT_TRUE(editor->closed);
}

} // namespace
