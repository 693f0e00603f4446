// The launcher's pop-up: Esc starts nothing, a chosen entry starts QLTWIN.
#include "core/common/win31j.h"
#include "gui/launch/launchermenu.h"

#include "support/fakeservices.h"
#include "support/sandbox.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

class LauncherMenuTest : public ::testing::Test
{
protected:
    ScopedProgramFolder folder;
    FakeUserStore store;
    FakeProcesses processes;
    Launcher launcher{store, processes, folder.path()};

    void SetUp() override
    {
        Sandbox::writeBytes(folder.file(QStringLiteral("Recent.ini")),
                            Win31J::encode(QStringLiteral("[General]\r\nRecentFile0 = /data/メモ.qlw\r\n"
                                                          "RecentFile1 = /data/b.qlt\r\nRecentFile2 = \r\n")));
        ASSERT_FALSE(launcher.start({}));
    }

    // Runs f on the open pop-up once the menu's loop is running.
    void whenOpen(std::function<void(QMenu *)> f)
    {
        QTimer::singleShot(50, [f] {
            auto *popup = qobject_cast<QMenu *>(QApplication::activePopupWidget());
            ASSERT_NE(popup, nullptr);
            f(popup);
        });
        // A menu the test failed to reach must not hold the suite for ever.
        QTimer::singleShot(5000, [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        });
    }
};

TEST_F(LauncherMenuTest, ItemsAreInOrderWithTheRecentFilesShown)
{
    LauncherMenu menu(launcher);
    const QList<QAction *> actions = menu.menu().actions();
    ASSERT_EQ(actions.size(), 54);
    EXPECT_EQ(actions[0]->text(), QStringLiteral("●Quillery Launcher(&1)"));
    EXPECT_EQ(actions[1]->text(), QStringLiteral("キャンセル(&0)"));
    EXPECT_TRUE(actions[2]->isSeparator());
    EXPECT_EQ(actions[3]->objectName(), QStringLiteral("MenuFileRecent0"));
    EXPECT_EQ(actions[3]->text(), QStringLiteral("&A メモ.qlw\t/data/メモ.qlw"));
    EXPECT_TRUE(actions[4]->isVisible());
    EXPECT_FALSE(actions[5]->isVisible());
}

TEST_F(LauncherMenuTest, EscapeEndsWithoutStartingAnything)
{
    LauncherMenu menu(launcher);
    whenOpen([](QMenu *popup) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(popup, &esc);
    });
    EXPECT_FALSE(menu.popup(QPoint(100, 100)));
    EXPECT_TRUE(processes.calls.isEmpty());
}

TEST_F(LauncherMenuTest, ChoosingAnEntryStartsQltwinOnIt)
{
    LauncherMenu menu(launcher);
    QAction *second = menu.menu().actions().at(4);
    whenOpen([second](QMenu *popup) {
        popup->setActiveAction(second);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(popup, &enter);
    });
    EXPECT_TRUE(menu.popup(QPoint(100, 100)));
    ASSERT_EQ(processes.calls.size(), 1);
    EXPECT_EQ(processes.calls[0].program, folder.file(QStringLiteral("QLTWIN")));
    EXPECT_EQ(processes.calls[0].arguments, QStringList{QStringLiteral("/data/b.qlt")});
}

} // namespace
