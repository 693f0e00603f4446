// The window's own commands on a recording view: view and preview modes, the
// tree, browse mode, most-front with its once-only notice, Esc and the
// settings values they store.

#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mostfront.h"
#include "core/window/viewcontroller.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"

#include <QList>
#include <QPair>

#include <gtest/gtest.h>

namespace {

// What the window is told, recorded from the controller's signals.
class RecordingView
{
public:
    QStringList calls;
    QList<ListViewMode> modes;
    QList<bool> topmost;

    void follow(MainViewController &c)
    {
        QObject *r = &m_receiver;
        QObject::connect(&c, &MainViewController::listViewModeChanged, r, [this](ListViewMode mode) {
            modes.append(mode);
            calls << QStringLiteral("mode %1").arg(int(mode));
        });
        // A new preview mode lays the client area out again and shows the
        // preview; the tree likewise.
        QObject::connect(&c, &MainViewController::previewModeChanged, r,
                         [this] { calls << QStringLiteral("relayout") << QStringLiteral("preview"); });
        QObject::connect(&c, &MainViewController::treeVisibleChanged, r,
                         [this] { calls << QStringLiteral("relayout"); });
        QObject::connect(&c, &MainViewController::mostFrontChanged, r, [this](bool on) {
            topmost.append(on);
            calls << QStringLiteral("topmost %1").arg(on);
        });
        QObject::connect(&c, &MainViewController::extractionModeChanged, r,
                         [this](bool shown) { calls << QStringLiteral("extraction %1").arg(shown); });
        QObject::connect(&c, &MainViewController::refreshRequested, r, [this](int list, bool reflow) {
            calls << QStringLiteral("refresh %1 %2").arg(list).arg(reflow);
        });
        QObject::connect(&c, &MainViewController::clearSelectionRequested, r,
                         [this](int list) { calls << QStringLiteral("clear %1").arg(list); });
        QObject::connect(&c, &MainViewController::selectAllRequested, r,
                         [this](int list) { calls << QStringLiteral("selectAll %1").arg(list); });
        QObject::connect(&c, &MainViewController::invertSelectionRequested, r,
                         [this](int list) { calls << QStringLiteral("invert %1").arg(list); });
        QObject::connect(&c, &MainViewController::searchBoxFocusRequested, r,
                         [this] { calls << QStringLiteral("focusSearch"); });
        QObject::connect(&c, &MainViewController::listFocusRequested, r,
                         [this](int list) { calls << QStringLiteral("focusList %1").arg(list); });
        QObject::connect(&c, &MainViewController::editMenuRequested, r,
                         [this](int list) { calls << QStringLiteral("editMenu %1").arg(list); });
    }

private:
    QObject m_receiver;
};

class ViewControllerTest : public ::testing::Test
{
protected:
    ViewControllerTest() : controller(commands, Services{&dialogs, nullptr, nullptr, nullptr, &userStore, nullptr})
    {
        view.follow(controller);
        controller.setSettingWriter([this](const QString &key, const QVariant &value) { stored.append({key, value}); });
    }

    MainCommands commands;
    RecordingView view;
    FakeDialogs dialogs;
    FakeUserStore userStore;
    QList<QPair<QString, QVariant>> stored;
    MainViewController controller;
};

} // namespace

TEST_F(ViewControllerTest, TheWindowsOwnCommandsAreWired)
{
    for (const QString &id :
         {QString(Cmd::ViewLargeIcons), QString(Cmd::ViewNextMode), QString(Cmd::PreviewNext), QString(Cmd::Preview11),
          QString(Cmd::ToggleTree), QString(Cmd::BrowseMode), QString(Cmd::MostFront), QString(Cmd::MostFrontButton),
          QString(Cmd::Refresh), QString(Cmd::Escape), QString(Cmd::SelectAll), QString(Cmd::Regex)})
        EXPECT_TRUE(commands.isEnabled(id)) << id.toStdString();
    // Commands of other parts of the program stay disabled.
    for (const QString &id : {QString(Cmd::NewDocument), QString(Cmd::EditCard), QString(Cmd::Paste),
                              QString(Cmd::Sort), QString(Cmd::EndExtraction), QString(Cmd::Settings)})
        EXPECT_FALSE(commands.isEnabled(id)) << id.toStdString();
}

TEST_F(ViewControllerTest, AModeChangeGoesToBothListsAndEndsWithARefresh)
{
    commands.trigger(Cmd::ViewSmallIcons);
    EXPECT_EQ(controller.listViewMode(), ListViewMode::SmallIcons);
    EXPECT_EQ(view.calls, (QStringList{"mode 1", "refresh 0 0"}));
    view.calls.clear();
    commands.trigger(Cmd::ViewList);
    // In list mode the refresh re-flows the columns.
    EXPECT_EQ(view.calls, (QStringList{"mode 2", "refresh 0 1"}));
}

TEST_F(ViewControllerTest, StepsThroughTheModesAndWrapsFromDetails)
{
    EXPECT_EQ(controller.listViewMode(), ListViewMode::Details);
    const ListViewMode expected[] = {ListViewMode::LargeIcons, ListViewMode::SmallIcons, ListViewMode::List,
                                     ListViewMode::Details, ListViewMode::LargeIcons};
    for (ListViewMode m : expected) {
        commands.trigger(Cmd::ViewNextMode);
        EXPECT_EQ(controller.listViewMode(), m);
    }
    EXPECT_EQ(view.modes, QList<ListViewMode>(std::begin(expected), std::end(expected)));
    // The view mode is stored on close, not when it changes.
    EXPECT_TRUE(stored.isEmpty());
}

TEST_F(ViewControllerTest, TheMenuStepsThePreviewModeAndStoresIt)
{
    commands.trigger(Cmd::PreviewNext);
    commands.trigger(Cmd::PreviewNext);
    commands.trigger(Cmd::PreviewNext);
    commands.trigger(Cmd::PreviewNext);
    EXPECT_EQ(controller.previewMode(), PreviewMode::None);
    const QList<QPair<QString, QVariant>> expected = {{"PreView", 1}, {"PreView", 2}, {"PreView", 3}, {"PreView", 0}};
    EXPECT_EQ(stored, expected);
    EXPECT_EQ(view.calls.count(QStringLiteral("relayout")), 4);
}

TEST_F(ViewControllerTest, TheDropDownSetsThePreviewModeWithoutStoringIt)
{
    commands.trigger(Cmd::Preview11);
    EXPECT_EQ(controller.previewMode(), PreviewMode::OneToOne);
    EXPECT_EQ(view.calls, (QStringList{"relayout", "preview"}));
    commands.trigger(Cmd::Preview21);
    commands.trigger(Cmd::PreviewNone);
    EXPECT_TRUE(stored.isEmpty());
    // The menu then steps on from the mode the drop-down set.
    commands.trigger(Cmd::Preview12);
    commands.trigger(Cmd::PreviewNext);
    EXPECT_EQ(controller.previewMode(), PreviewMode::OneToOne);
    EXPECT_EQ(stored, (QList<QPair<QString, QVariant>>{{"PreView", 2}}));
}

TEST_F(ViewControllerTest, TheTreeToggleInvertsTheCheckAndStoresABoolean)
{
    EXPECT_TRUE(controller.treeVisible());
    commands.trigger(Cmd::ToggleTree);
    EXPECT_FALSE(controller.treeVisible());
    EXPECT_FALSE(commands.isChecked(Cmd::ToggleTree));
    commands.trigger(Cmd::ToggleTree);
    EXPECT_TRUE(controller.treeVisible());
    ASSERT_EQ(stored.size(), 2);
    EXPECT_EQ(stored[0].first, QStringLiteral("TreeViewVisible"));
    EXPECT_EQ(stored[0].second.typeId(), QMetaType::Bool);
    EXPECT_FALSE(stored[0].second.toBool());
    EXPECT_TRUE(stored[1].second.toBool());
    EXPECT_EQ(view.calls, (QStringList{"relayout", "relayout"}));
}

TEST_F(ViewControllerTest, BrowseModeIsTheCheckMarkSharedByMenuAndButton)
{
    commands.trigger(Cmd::BrowseMode);
    EXPECT_TRUE(controller.browseMode());
    EXPECT_TRUE(commands.isChecked(Cmd::BrowseMode));
    commands.trigger(Cmd::BrowseMode);
    EXPECT_FALSE(controller.browseMode());
    EXPECT_TRUE(stored.isEmpty());
}

TEST_F(ViewControllerTest, TheButtonShowsTheMostFrontNoticeOncePerUser)
{
    commands.trigger(Cmd::MostFrontButton);
    ASSERT_EQ(dialogs.messages().size(), 1);
    const MessageRequest notice = dialogs.messages().first();
    EXPECT_EQ(notice.text,
              QString::fromUtf8("　最前面の設定は、バグのため、簡単に狂ってしまいます。これは仕様とします。\r\n"
                                "　狂った場合は、再度設定し直してください。\r\n"
                                "　なお、このメッセージは二度と表示されません。"));
    EXPECT_EQ(notice.icon, MsgIcon::Information);
    EXPECT_EQ(notice.buttons, MsgButtons::Ok);
    EXPECT_EQ(userStore.values.value(QStringLiteral("MostFront")), QStringLiteral("1"));
    EXPECT_TRUE(controller.mostFront());
    EXPECT_TRUE(commands.isChecked(Cmd::MostFrontButton));
    EXPECT_EQ(view.topmost, QList<bool>{true});

    // Switching off and on again: no second notice.
    commands.trigger(Cmd::MostFrontButton);
    commands.trigger(Cmd::MostFrontButton);
    EXPECT_EQ(dialogs.messages().size(), 1);
    EXPECT_EQ(view.topmost, (QList<bool>{true, false, true}));
}

TEST(MostFrontButton, TheNoticeComesBeforeTheSwitch)
{
    // Dialogs that note what the window had been told when the notice shows.
    struct WatchingDialogs : FakeDialogs {
        RecordingView *view = nullptr;
        qsizetype topmostCallsAtNotice = -1;
        using FakeDialogs::message;
        MsgAnswer message(const MessageRequest &request) override
        {
            topmostCallsAtNotice = view->topmost.size();
            return FakeDialogs::message(request);
        }
    };
    MainCommands commands;
    RecordingView view;
    WatchingDialogs dialogs;
    dialogs.view = &view;
    FakeUserStore store;
    MainViewController controller(commands, Services{&dialogs, nullptr, nullptr, nullptr, &store, nullptr});
    view.follow(controller);
    commands.trigger(Cmd::MostFrontButton);
    EXPECT_EQ(dialogs.topmostCallsAtNotice, 0);
    EXPECT_EQ(view.topmost, QList<bool>{true});
}

TEST_F(ViewControllerTest, AStoredNoticeFlagOfOneSuppressesIt)
{
    userStore.values.insert(QStringLiteral("MostFront"), QStringLiteral("1"));
    commands.trigger(Cmd::MostFrontButton);
    EXPECT_TRUE(dialogs.messages().isEmpty());
    EXPECT_TRUE(controller.mostFront());
}

TEST_F(ViewControllerTest, AStoredZeroStillShowsTheNotice)
{
    userStore.values.insert(QStringLiteral("MostFront"), QStringLiteral("0"));
    commands.trigger(Cmd::MostFrontButton);
    EXPECT_EQ(dialogs.messages().size(), 1);
}

TEST_F(ViewControllerTest, TheMenuTogglesMostFrontWithoutANotice)
{
    commands.trigger(Cmd::MostFront);
    EXPECT_TRUE(dialogs.records.isEmpty());
    EXPECT_FALSE(userStore.values.contains(QStringLiteral("MostFront")));
    EXPECT_TRUE(commands.isChecked(Cmd::MostFront));
    EXPECT_TRUE(commands.isChecked(Cmd::MostFrontButton));
    // The button then switches off from the state the menu set.
    commands.trigger(Cmd::MostFrontButton);
    EXPECT_FALSE(commands.isChecked(Cmd::MostFront));
    EXPECT_FALSE(commands.isChecked(Cmd::MostFrontButton));
    EXPECT_EQ(view.topmost, (QList<bool>{true, false}));
}

TEST(MostFrontNotice, ShownOnceThroughTheUserStore)
{
    FakeDialogs dialogs;
    FakeUserStore store;
    EXPECT_TRUE(MostFrontNotice::showOnce(store, dialogs));
    EXPECT_FALSE(MostFrontNotice::showOnce(store, dialogs));
    EXPECT_EQ(dialogs.messageTexts(), QStringList{MostFrontNotice::text()});
    // A value written by hand as 1.0 counts as shown; rubbish as not shown.
    FakeUserStore typed;
    typed.values.insert(QStringLiteral("MostFront"), QStringLiteral("1.0"));
    EXPECT_FALSE(MostFrontNotice::showOnce(typed, dialogs));
    typed.values.insert(QStringLiteral("MostFront"), QStringLiteral("abc"));
    EXPECT_TRUE(MostFrontNotice::showOnce(typed, dialogs));
}

TEST_F(ViewControllerTest, EscClearsTheMainListOutsideExtraction)
{
    commands.trigger(Cmd::Escape);
    EXPECT_EQ(view.calls, QStringList{"clear 0"});
}

TEST_F(ViewControllerTest, EscEndsExtractionInExtractionMode)
{
    int ended = 0;
    commands.wire(Cmd::EndExtraction, [&] {
        ++ended;
        controller.setExtractionMode(false);
    });
    controller.setExtractionMode(true);
    EXPECT_EQ(controller.currentListIndex(), 1);
    view.calls.clear();
    commands.trigger(Cmd::Escape);
    EXPECT_EQ(ended, 1);
    EXPECT_EQ(controller.currentListIndex(), 0);
    EXPECT_EQ(view.calls, QStringList{"extraction 0"});
}

TEST_F(ViewControllerTest, ListCommandsWorkOnTheCurrentList)
{
    controller.setExtractionMode(true);
    view.calls.clear();
    commands.trigger(Cmd::SelectAll);
    commands.trigger(Cmd::InvertSelection);
    commands.trigger(Cmd::Refresh);
    commands.trigger(Cmd::SearchBoxToList);
    commands.trigger(Cmd::EditMenuPopup);
    commands.trigger(Cmd::FocusSearch);
    EXPECT_EQ(view.calls,
              (QStringList{"selectAll 1", "invert 1", "refresh 1 0", "focusList 1", "editMenu 1", "focusSearch"}));
}

TEST_F(ViewControllerTest, RefreshReappliesTheSortOfTheCurrentList)
{
    QList<int> sorted;
    QObject::connect(&controller, &MainViewController::refreshRequested, [&](int list) { sorted.append(list); });
    commands.trigger(Cmd::Refresh);
    commands.trigger(Cmd::ViewLargeIcons); // a mode change ends with a refresh
    EXPECT_EQ(sorted, (QList<int>{0, 0}));
}

TEST_F(ViewControllerTest, TheRegularExpressionBoxStoresZeroOrOneOnEveryClick)
{
    commands.trigger(Cmd::Regex);
    commands.trigger(Cmd::Regex);
    EXPECT_EQ(stored, (QList<QPair<QString, QVariant>>{{"SeikiHyougen", 1}, {"SeikiHyougen", 0}}));
    EXPECT_FALSE(controller.regularExpression());
}

TEST_F(ViewControllerTest, ApplyingSettingsStoresNothing)
{
    controller.apply(1, 3, false, true);
    EXPECT_EQ(controller.listViewMode(), ListViewMode::SmallIcons);
    EXPECT_EQ(controller.previewMode(), PreviewMode::TwoToOne);
    EXPECT_FALSE(controller.treeVisible());
    EXPECT_TRUE(controller.regularExpression());
    EXPECT_TRUE(stored.isEmpty());
    EXPECT_EQ(view.modes, QList<ListViewMode>{ListViewMode::SmallIcons});
    // Out-of-range values read as the defaults.
    controller.apply(9, -2, true, false);
    EXPECT_EQ(controller.listViewMode(), ListViewMode::Details);
    EXPECT_EQ(controller.previewMode(), PreviewMode::None);
}
