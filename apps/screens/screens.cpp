// qlt_screens: renders the main window offscreen with the sample card file
// in every list view mode and preview mode, plus the menus, to PNG files, so
// the look can be checked without a display.
//
//     QT_QPA_PLATFORM=offscreen qlt_screens [output folder [card file]]
//     (defaults: screens, and sample.qlw beside the program)

#include "core/cards/cardformats.h"
#include "core/cards/cardstore.h"
#include "core/cards/titlefield.h"
#include "core/settings/settingsmodel.h"
#include "core/window/commandids.h"
#include "core/window/maincommands.h"
#include "core/window/mainwindowtables.h"
#include "gui/mainwindow/cardlistview.h"
#include "gui/mainwindow/mainform.h"
#include "gui/mainwindow/mainicons.h"

#include <QApplication>
#include <QDir>
#include <QItemSelectionModel>
#include <QMenu>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QToolButton>

namespace {

void settle()
{
    for (int i = 0; i < 5; ++i)
        QApplication::processEvents();
}

bool save(QWidget *widget, const QString &folder, const QString &name)
{
    settle();
    const QString path = folder + QLatin1Char('/') + name + QStringLiteral(".png");
    const bool ok = widget->grab().save(path);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << "\n";
    return ok;
}

// Every icon of the window at two sizes, with its file name.
bool saveIconSheet(const QString &folder)
{
    QStringList names;
    for (const ToolbarButton &b : MainWindowTables::toolbar())
        names.append(b.icon);
    names << QStringLiteral("card.svg") << QStringLiteral("cardchanged.svg") << QStringLiteral("allcards.svg")
          << QStringLiteral("group.svg");
    const int cell = 120;
    const int columns = 6;
    QImage sheet(columns * cell, int((names.size() + columns - 1) / columns) * cell, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int i = 0; i < names.size(); ++i) {
        const QPoint origin((i % columns) * cell, (i / columns) * cell);
        const QIcon icon = MainIcons::icon(names.at(i));
        painter.drawPixmap(origin + QPoint(10, 10), icon.pixmap(64, 64));
        painter.drawPixmap(origin + QPoint(84, 10), icon.pixmap(16, 16));
        painter.drawText(QRect(origin + QPoint(0, 80), QSize(cell, 30)), Qt::AlignCenter, names.at(i));
    }
    painter.end();
    const QString path = folder + QStringLiteral("/icons.png");
    const bool ok = sheet.save(path);
    QTextStream(stdout) << (ok ? "wrote " : "FAILED ") << path << "\n";
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screens");
    if (!QDir().mkpath(folder)) {
        QTextStream(stderr) << "cannot create " << folder << "\n";
        return 1;
    }

    const QString cardFile = argc > 2 ? QString::fromLocal8Bit(argv[2])
                                      : QCoreApplication::applicationDirPath() + QStringLiteral("/sample.qlw");
    CardStore cards;
    if (!ReadCardFile(cardFile, CardFormatOfPath(cardFile), cards).ok) {
        QTextStream(stderr) << "cannot read " << cardFile << "\n";
        return 1;
    }
    // The extraction list shows the cards of the first group, as a click on
    // it would.
    const QStringList groups = GroupsOf(cards);
    CardStore extraction;
    QList<Card> matching;
    for (const Card &card : cards.cards())
        if (!groups.isEmpty() && GroupOf(card.title) == groups.first())
            matching.append(card);
    extraction.reset(matching);

    // No services: nothing here asks the person or opens anything.
    MainForm window(Services{});
    window.setCardModels(&cards, &extraction);
    window.setGroups(groups);

    // The settings of a first start (every default), in a window roomier than
    // the first-start size so that every control shows.
    QTemporaryDir settingsFolder;
    SettingsModel model(settingsFolder.filePath(QStringLiteral("QLTWIN.ini")));
    model.loadGeneralSettings();
    AppliedSettings settings = ComputeAppliedSettings(model);
    settings.windowWidthTwips = 820 * 15;
    settings.windowHeightTwips = 560 * 15;
    window.applySettings(settings);
    window.show();
    window.cardList(0)->selectOnly(2);
    window.cardList(0)->selectionModel()->select(window.cardList(0)->viewModel()->index(4, 0),
                                                 QItemSelectionModel::Select | QItemSelectionModel::Rows);

    bool ok = true;
    const char *modes[] = {"0-large-icons", "1-small-icons", "2-list", "3-details"};
    const QString viewCommands[] = {Cmd::ViewLargeIcons, Cmd::ViewSmallIcons, Cmd::ViewList, Cmd::ViewDetails};
    for (int m = 0; m < 4; ++m) {
        window.commands().trigger(viewCommands[m]);
        ok &= save(&window, folder, QStringLiteral("view-%1").arg(QLatin1String(modes[m])));
    }

    const char *previews[] = {"0-none", "1-1to2", "2-1to1", "3-2to1"};
    const QString previewCommands[] = {Cmd::PreviewNone, Cmd::Preview12, Cmd::Preview11, Cmd::Preview21};
    for (int p = 1; p < 4; ++p) {
        window.commands().trigger(previewCommands[p]);
        ok &= save(&window, folder, QStringLiteral("preview-%1").arg(QLatin1String(previews[p])));
    }
    window.commands().trigger(Cmd::ViewLargeIcons);
    ok &= save(&window, folder, QStringLiteral("preview-2to1-large-icons"));
    window.commands().trigger(Cmd::ViewDetails);
    window.commands().trigger(Cmd::PreviewNone);

    window.commands().trigger(Cmd::ToggleTree);
    ok &= save(&window, folder, QStringLiteral("tree-hidden"));
    window.commands().trigger(Cmd::ToggleTree);

    window.setExtractionMode(true);
    window.cardList(1)->selectOnly(0);
    window.commands().trigger(Cmd::Preview11);
    ok &= save(&window, folder, QStringLiteral("extraction"));
    window.setExtractionMode(false);
    window.commands().trigger(Cmd::PreviewNone);

    for (const char *name : {"MenuFile", "MenuEdit", "MenuDisp", "MenuOption", "MenuHelp", "MenuDispBrowserF"}) {
        QMenu *menu = window.menu(QLatin1String(name));
        if (!menu)
            continue;
        menu->popup(window.mapToGlobal(QPoint(0, 0)));
        ok &= save(menu, folder, QStringLiteral("menu-%1").arg(QLatin1String(name)));
        menu->hide();
    }
    for (const char *key : {"tbLoadDocument", "tbListMode", "tbPreView"}) {
        QToolButton *button = window.toolbarButton(QLatin1String(key));
        if (!button || !button->menu())
            continue;
        button->menu()->popup(button->mapToGlobal(QPoint(0, button->height())));
        ok &= save(button->menu(), folder, QStringLiteral("dropdown-%1").arg(QLatin1String(key)));
        button->menu()->hide();
    }
    ok &= saveIconSheet(folder);
    return ok ? 0 : 1;
}
