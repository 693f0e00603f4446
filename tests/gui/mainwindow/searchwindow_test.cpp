// Search, extraction, the group list and sorting in a real MainForm over a
// document, offscreen: keys, buttons, the group list's clicks, header clicks
// and GroupChangeForm.
#include "core/document/document.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "gui/common/functionbar.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/groupchangeform.h"
#include "gui/mainwindow/mainform.h"
#include "gui/mainwindow/searchwiring.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"
#include "support/sandbox.h"
#include "support/searchtestutil.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <QHeaderView>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

class SearchWindowTest : public ::testing::Test, public FakeSystem
{
protected:
    SearchWindowTest()
    {
        document.settings().loadGeneralSettings();
        document.cards().reset({
            makeCard("K0", "2001/05/06：旅行＠京都", "寺", "金閣"),
            makeCard("K1", "仕事＠会議", "本社", "予算の見直し"),
            makeCard("K2", "メモ", "", "買い物"),
            makeCard("K3", "旅行＠奈良", "", "鹿"),
            makeCard("K4", "仕事＠報告", "支社", "予算"),
        });
        window = std::make_unique<MainForm>(services);
        window->setSettingWriter(
            [this](const QString &key, const QVariant &value) { document.iniData().SetiniValue(key, value); });
        wiring = SearchWiring::wire(*window, document);
    }

    void show()
    {
        window->resize(800, 560);
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        QApplication::processEvents();
    }
    template<typename T>
    T *child(const char *name) const
    {
        return window->findChild<T *>(QLatin1String(name));
    }
    QComboBox *box() const { return child<QComboBox>("txtSearch"); }
    void type(const QString &keyword)
    {
        box()->setFocus();
        box()->setEditText(keyword);
    }
    QStringList header(int list) const
    {
        QStringList out;
        QAbstractItemModel *model = window->cardList(list)->detailsView()->model();
        for (int c = 0; c < 3; ++c)
            out.append(model->headerData(c, Qt::Horizontal).toString());
        return out;
    }
    void clickHeader(int list, int column)
    {
        QHeaderView *h = window->cardList(list)->detailsView()->header();
        const QPoint at(h->sectionViewportPosition(column) + h->sectionSize(column) / 2, h->height() / 2);
        QTest::mouseClick(h->viewport(), Qt::LeftButton, {}, at);
    }
    void clickGroup(const QString &text)
    {
        QTreeWidget *tree = window->groupList();
        const QList<QTreeWidgetItem *> items = tree->findItems(text, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << text.toStdString();
        tree->scrollToItem(items.first());
        const QRect r = tree->visualItemRect(items.first());
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, r.center());
    }
    QStringList groupTexts() const
    {
        QStringList out;
        for (int i = 0; i < window->groupList()->topLevelItemCount(); ++i)
            out.append(window->groupList()->topLevelItem(i)->text(0));
        return out;
    }

    ScopedProgramFolder folder;
    Services services{&dialogs, &shell, nullptr, nullptr, &userStore, &clock};
    Document document{services};
    std::unique_ptr<MainForm> window;
    SearchWiring *wiring = nullptr;
};

TEST_F(SearchWindowTest, TheWindowShowsTheDocumentsCardsAndGroups)
{
    EXPECT_EQ(window->cardList(0)->cardModel(), &document.cards());
    EXPECT_EQ(window->cardList(0)->selectionModel(), &document.lvData(0).selectionModel());
    EXPECT_EQ(groupTexts(), QStringList({"全て", "旅行", "仕事"}));
    EXPECT_EQ(window->groupKeys().first(), QStringLiteral("Root"));
    EXPECT_EQ(window->groupKeys().mid(1),
              QStringList({wiring->commands().groups()[1].key, wiring->commands().groups()[2].key}));
}

TEST_F(SearchWindowTest, EnterInTheSearchBoxSearchesFromTheTopAndFocusesTheList)
{
    show();
    type(QStringLiteral("予算"));
    QTest::keyClick(box(), Qt::Key_Return);
    EXPECT_EQ(window->cardList(0)->selectedRows(), QList<int>({1}));
    EXPECT_EQ(window->cardList(0)->currentRow(), 1);
    EXPECT_TRUE(window->cardList(0)->activeView()->hasFocus());
    EXPECT_EQ(window->searchHistory(), QStringList({"予算"}));
    // Enter in the list searches downward.
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_Return);
    EXPECT_EQ(window->cardList(0)->currentRow(), 4);
    // The upward button.
    child<QToolButton>("btnSearch_1")->click();
    EXPECT_EQ(window->cardList(0)->currentRow(), 1);
}

TEST_F(SearchWindowTest, CtrlEnterExtractsAndEscEndsTheExtraction)
{
    show();
    type(QStringLiteral("旅行"));
    QTest::keyClick(box(), Qt::Key_Return, Qt::ControlModifier);
    EXPECT_TRUE(window->extractionMode());
    EXPECT_TRUE(window->cardList(1)->isVisible());
    EXPECT_FALSE(window->cardList(0)->isVisible());
    EXPECT_EQ(window->cardList(1)->cardModel()->rowCount(), 2);
    EXPECT_TRUE(box()->currentText().isEmpty());
    EXPECT_EQ(window->searchHistory(), QStringList({"旅行"}));
    EXPECT_FALSE(window->menuAction(QStringLiteral("MenuEditPaste"))->isEnabled());
    EXPECT_FALSE(window->toolbarAction(QStringLiteral("tbPaste"))->isEnabled());

    window->cardList(1)->selectOnly(1);
    window->cardList(1)->activeView()->setFocus();
    QTest::keyClick(window->cardList(1)->activeView(), Qt::Key_Escape);
    EXPECT_FALSE(window->extractionMode());
    EXPECT_FALSE(document.extractionActive());
    EXPECT_TRUE(window->cardList(0)->isVisible());
    EXPECT_FALSE(window->cardList(1)->isVisible());
    EXPECT_EQ(window->cardList(0)->selectedRows(), QList<int>({3}));
    EXPECT_TRUE(window->menuAction(QStringLiteral("MenuEditPaste"))->isEnabled()
                == window->commands().isWired(Cmd::Paste));
}

TEST_F(SearchWindowTest, TheExtractionButtonsAndF12)
{
    show();
    type(QStringLiteral("仕事"));
    child<QToolButton>("btnSearchOnlyItem")->click();
    EXPECT_TRUE(window->extractionMode());
    type(QStringLiteral("支社"));
    child<QToolButton>("btnSearchOnlyItem")->click();
    EXPECT_EQ(window->cardList(1)->cardModel()->rowCount(), 1);
    QTest::keyClick(window->cardList(1)->activeView(), Qt::Key_F12);
    EXPECT_FALSE(window->extractionMode());
    child<QToolButton>("btnSearchOnlyItemQuit")->click(); // nothing to end
    EXPECT_FALSE(window->extractionMode());
}

TEST_F(SearchWindowTest, F7AsksForTheKeywordAndExtracts)
{
    show();
    dialogs.inputs.enqueue(QStringLiteral("奈良"));
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_F7);
    ASSERT_FALSE(dialogs.records.isEmpty());
    EXPECT_EQ(dialogs.records.last().prompt, QStringLiteral("抽出キーワードを指定してください。"));
    EXPECT_TRUE(window->extractionMode());
    EXPECT_EQ(window->cardList(1)->cardModel()->rowCount(), 1);

    dialogs.inputs.enqueue(QStringLiteral("鹿"));
    QTest::keyClick(window->cardList(1)->activeView(), Qt::Key_F6);
    EXPECT_EQ(dialogs.records.last().prompt, QStringLiteral("検索キーワードを指定してください。"));
    EXPECT_EQ(window->cardList(1)->currentRow(), 0);
}

TEST_F(SearchWindowTest, TheFunctionBarsPromptedExtractionAndItsEnd)
{
    show();
    window->setFunctionBarClicksOff(false);
    FunctionBar *bar = window->functionBar();
    dialogs.inputs.enqueue(QStringLiteral("仕事"));
    QTest::mouseClick(bar->panel(QStringLiteral("抽出")), Qt::LeftButton);
    EXPECT_TRUE(window->extractionMode());
    EXPECT_EQ(window->cardList(1)->cardModel()->rowCount(), 2);
    dialogs.inputs.enqueue(QStringLiteral("報告"));
    QTest::mouseClick(bar->panel(QStringLiteral("検索")), Qt::LeftButton);
    EXPECT_EQ(window->cardList(1)->currentRow(), 1);
    QTest::mouseClick(bar->panel(QStringLiteral("解除")), Qt::LeftButton);
    EXPECT_FALSE(window->extractionMode());
    EXPECT_EQ(window->cardList(0)->selectedRows(), QList<int>({4}));
}

TEST_F(SearchWindowTest, GroupClicksExtractAndAllCardsEnds)
{
    show();
    auto *regex = child<QCheckBox>("chkSeiki");
    ASSERT_FALSE(regex->isChecked());
    clickGroup(QStringLiteral("仕事"));
    EXPECT_TRUE(window->extractionMode());
    EXPECT_EQ(keysOf(document.lvData(1).store()), QStringList({"K1", "K4"}));
    EXPECT_FALSE(regex->isChecked());
    EXPECT_EQ(document.iniData().GetiniValue(QStringLiteral("SeikiHyougen")).toString(), QStringLiteral("0"));
    EXPECT_TRUE(box()->currentText().isEmpty());
    EXPECT_EQ(window->searchHistory().size(), 1);

    clickGroup(QStringLiteral("全て"));
    EXPECT_FALSE(window->extractionMode());
}

TEST_F(SearchWindowTest, HeaderClicksSortBothListsAndMarkTheCaptions)
{
    show();
    clickHeader(0, 0);
    EXPECT_EQ(header(0), QStringList({"題名▽", "備考", "内容"}));
    EXPECT_NE(keysOf(document.cards()), QStringList({"K0", "K1", "K2", "K3", "K4"}));
    const QStringList ascending = keysOf(document.cards());
    clickHeader(0, 0);
    EXPECT_EQ(header(0), QStringList({"題名△", "備考", "内容"}));
    QStringList reversed = ascending;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(keysOf(document.cards()), reversed);

    type(QStringLiteral("＠"));
    child<QToolButton>("btnSearchOnlyItem")->click();
    EXPECT_EQ(header(1), QStringList({"題名△", "備考", "内容"}));
    clickHeader(1, 1);
    EXPECT_EQ(header(1), QStringList({"題名", "備考▽", "内容"}));
    EXPECT_EQ(header(0), QStringList({"題名△", "備考", "内容"}));
}

TEST_F(SearchWindowTest, SortMenuCancelAndRefresh)
{
    show();
    window->menuAction(QStringLiteral("MenuDispSort"))->trigger();
    EXPECT_EQ(header(0), QStringList({"題名▽", "備考", "内容"}));
    EXPECT_EQ(header(1), QStringList({"題名▽", "備考", "内容"}));
    const QStringList sorted = keysOf(document.cards());
    document.cards().setTitle(0, QStringLiteral("ん"));
    QTest::keyClick(window->cardList(0)->activeView(), Qt::Key_F5);
    EXPECT_NE(keysOf(document.cards()).first(), sorted.first());
    window->menuAction(QStringLiteral("MenuDispCancelSort"))->trigger();
    EXPECT_EQ(header(0), QStringList({"題名", "備考", "内容"}));
}

TEST_F(SearchWindowTest, TheSortOfTheAppliedSettingsFollowsTheirCaptions)
{
    AppliedSettings values;
    values.columnCaptions = {QStringLiteral("Title"), QStringLiteral("Note"), QStringLiteral("Body")};
    values.sort = AppliedSettings::SortAction::Restore;
    values.sortColumn = 2;
    values.sortStyle = 1;
    window->applySettings(values);
    wiring->commands().applySettings(values);
    EXPECT_EQ(header(0), QStringList({"Title", "Note", "Body△"}));
    EXPECT_EQ(header(1), QStringList({"Title", "Note", "Body△"}));
}

TEST_F(SearchWindowTest, GroupChangeThroughTheDialog)
{
    show();
    document.lvData(0).setSelected(2);
    QTimer::singleShot(0, [this] {
        auto *form = qobject_cast<GroupChangeForm *>(QApplication::activeModalWidget());
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->windowTitle(), QStringLiteral("グループの変更"));
        form->groupBox()->setEditText(QStringLiteral("日記"));
        form->okButton()->click();
    });
    window->commands().trigger(Cmd::ChangeGroup);
    QApplication::processEvents(); // the group list follows the changed cards
    EXPECT_EQ(document.cards().at(2).title, QStringLiteral("日記＠メモ"));
    EXPECT_EQ(groupTexts(), QStringList({"全て", "旅行", "仕事", "日記"}));
}

// ---------------------------------------------------------------- the dialog

TEST(GroupChangeFormTest, ControlsCaptionAndResult)
{
    GroupChangeForm form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("グループの変更"));
    EXPECT_EQ(form.groupBox()->objectName(), QStringLiteral("cmbGroup"));
    EXPECT_TRUE(form.groupBox()->isEditable());
    EXPECT_EQ(form.okButton()->objectName(), QStringLiteral("cmdOK"));
    EXPECT_EQ(form.okButton()->text(), QStringLiteral("OK"));
    EXPECT_EQ(form.cancelButton()->objectName(), QStringLiteral("cmdCancel"));
    EXPECT_EQ(form.cancelButton()->text(), QStringLiteral("キャンセル"));

    form.load({QStringLiteral("旅行"), QStringLiteral("仕事")}, QStringLiteral("typed"));
    EXPECT_FALSE(form.confirmed());
    EXPECT_EQ(form.groupBox()->count(), 2);
    EXPECT_EQ(form.groupBox()->itemText(1), QStringLiteral("仕事"));
    EXPECT_EQ(form.groupText(), QStringLiteral("typed"));
}

TEST(GroupChangeFormTest, OkConfirmsAndCancelDoesNot)
{
    GroupChangeForm form;
    QTimer::singleShot(0, [&] {
        form.groupBox()->setCurrentIndex(1);
        form.okButton()->click();
    });
    EXPECT_EQ(form.ask({QStringLiteral("旅行"), QStringLiteral("仕事")}, QString()), QStringLiteral("仕事"));
    EXPECT_TRUE(form.confirmed());
    EXPECT_FALSE(form.isVisible());

    QTimer::singleShot(0, [&] { form.cancelButton()->click(); });
    EXPECT_EQ(form.ask({QStringLiteral("旅行")}, QStringLiteral("x")), std::nullopt);
    EXPECT_FALSE(form.confirmed());

    QTimer::singleShot(0, [&] { QTest::keyClick(&form, Qt::Key_Escape); });
    EXPECT_EQ(form.ask({}, QStringLiteral("y")), std::nullopt);
}

} // namespace
