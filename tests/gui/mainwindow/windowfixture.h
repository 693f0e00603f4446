#pragma once
// A main window over the sample cards, with recording fakes for the person,
// the shell and the per-user values, shown on the offscreen platform.

#include "samplecards.h"

#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/mainform.h"

#include "support/fakedialogs.h"
#include "support/fakeservices.h"

#include <QApplication>
#include <QList>
#include <QPair>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>

class WindowTest : public ::testing::Test
{
protected:
    WindowTest()
    {
        window = std::make_unique<MainForm>(Services{&dialogs, &shell, nullptr, &clipboard, &userStore, &clock});
        cards = SampleCards::makeModel(window.get());
        extraction = SampleCards::makeModel({0, 1}, window.get());
        window->setCardModels(cards, extraction);
        window->setSettingWriter([this](const QString &key, const QVariant &value) { stored.append({key, value}); });
    }

    // The values of a first start.
    static AppliedSettings firstStartSettings()
    {
        AppliedSettings s;
        s.columnCaptions = {QString::fromUtf8("題名"), QString::fromUtf8("備考"), QString::fromUtf8("内容")};
        s.columnWidthsTwips = {6999.875, 3000.189, 1440};
        s.listFontName = QString::fromUtf8("ＭＳ Ｐゴシック");
        s.listFontSize = 9;
        s.mainList = {0x80000012u, 0x80000005u};
        s.extractList = {0x00FFFFFFu, 0x00555555u};
        s.applyWindowSize = true;
        s.windowWidthTwips = 9480;
        s.windowHeightTwips = 6315;
        s.viewMode = 3;
        s.previewFontName = QString::fromUtf8("ＭＳ Ｐゴシック");
        s.previewFontSize = 9;
        s.preview = {0x00FFFFFFu, 0x00555555u};
        s.previewMode = 0;
        s.treeVisible = true;
        s.regularExpression = false;
        return s;
    }

    void showWindow(QSize size = QSize(800, 560))
    {
        window->resize(size);
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

    FakeDialogs dialogs;
    FakeShell shell;
    FakeClipboard clipboard;
    FakeUserStore userStore;
    FakeClock clock;
    std::unique_ptr<MainForm> window;
    QStandardItemModel *cards = nullptr;
    QStandardItemModel *extraction = nullptr;
    QList<QPair<QString, QVariant>> stored;
};
