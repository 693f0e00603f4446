// The freedesktop files and Internet shortcuts, byte for byte.
#include "core/common/win31j.h"
#include "core/registration/desktopfiles.h"
#include "core/registration/favorites.h"

#include "support/sandbox.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QString SourceData = QStringLiteral(QLT_SOURCE_DIR "/data/desktop/");

TEST(DesktopFilesTest, MimePackageNamesOneTypePerOwnFormat)
{
    const QByteArray expected = R"(<?xml version="1.0" encoding="UTF-8"?>
<mime-info xmlns="http://www.freedesktop.org/standards/shared-mime-info">
  <mime-type type="application/x-qltwin-card">
    <comment>QLT@WIN card file</comment>
    <comment xml:lang="ja">QLT@WINカードファイル</comment>
    <icon name="application-x-qltwin-card"/>
    <generic-icon name="x-office-document"/>
    <glob pattern="*.qlw"/>
  </mime-type>
  <mime-type type="text/x-qltwin-card">
    <comment>QLT@WIN text card file</comment>
    <comment xml:lang="ja">QLT@WINテキストカードファイル</comment>
    <sub-class-of type="text/plain"/>
    <icon name="text-x-qltwin-card"/>
    <generic-icon name="text-x-generic"/>
    <glob pattern="*.qlt"/>
  </mime-type>
  <mime-type type="text/x-mynote-card">
    <comment>MyNote card file</comment>
    <comment xml:lang="ja">MyNoteカードファイル</comment>
    <sub-class-of type="text/plain"/>
    <icon name="text-x-mynote-card"/>
    <generic-icon name="text-x-generic"/>
    <glob pattern="*.stk"/>
  </mime-type>
</mime-info>
)";
    EXPECT_EQ(DesktopFiles::mimePackageXml(), expected);
    // The installed package is the same file.
    EXPECT_EQ(Sandbox::readBytes(SourceData + QStringLiteral("qltwin.xml")), expected);
}

TEST(DesktopFilesTest, DesktopEntryStartsTheProgramOnOneFile)
{
    const QByteArray entry =
        DesktopFiles::desktopEntry(QStringLiteral("/opt/qlt/QLTWIN"), {QStringLiteral("application/x-qltwin-card")});
    EXPECT_EQ(entry, QByteArray("[Desktop Entry]\n"
                                "Type=Application\n"
                                "Version=1.4\n"
                                "Name=QLT@WIN\n"
                                "GenericName=Card File Manager\n"
                                "GenericName[ja]=カードファイル管理\n"
                                "Comment=Keep, search and publish notes as cards\n"
                                "Comment[ja]=メモをカードにして整理・検索・HTML出力します\n"
                                "TryExec=/opt/qlt/QLTWIN\n"
                                "Exec=/opt/qlt/QLTWIN %f\n"
                                "Icon=qltwin\n"
                                "Terminal=false\n"
                                "Categories=Office;\n"
                                "Keywords=card;note;memo;カード;メモ;\n"
                                "Keywords[ja]=カード;メモ;card;note;\n"
                                "MimeType=application/x-qltwin-card;\n"));
    // The installed entry starts QLTWIN from the PATH on every card type.
    EXPECT_EQ(Sandbox::readBytes(SourceData + QStringLiteral("QLTWIN.desktop")),
              DesktopFiles::desktopEntry(QStringLiteral("QLTWIN")));
    EXPECT_TRUE(DesktopFiles::desktopEntry(QStringLiteral("QLTWIN"))
                    .contains("MimeType=application/x-qltwin-card;text/x-qltwin-card;text/x-mynote-card;text/csv;\n"));
}

TEST(DesktopFilesTest, ExecArgumentQuotesWhatTheShellWouldSplit)
{
    struct Case {
        const char *program;
        const char *exec; // the value as written in the file
    };
    const Case cases[] = {
        {"/usr/bin/QLTWIN", "/usr/bin/QLTWIN"},
        {"/home/me/My Programs/QLTWIN", "\"/home/me/My Programs/QLTWIN\""},
        {"/home/me/プログラム/QLTWIN", "/home/me/プログラム/QLTWIN"},
        {"/opt/a\"b$c`d/QLTWIN", "\"/opt/a\\\\\"b\\\\$c\\\\`d/QLTWIN\""},
        {"/opt/back\\slash/QLTWIN", "\"/opt/back\\\\\\\\slash/QLTWIN\""},
        {"/opt/100%/QLTWIN", "/opt/100%%/QLTWIN"},
        {"/opt/a;b&c/QLTWIN", "\"/opt/a;b&c/QLTWIN\""},
    };
    for (const Case &c : cases) {
        const QString program = QString::fromUtf8(c.program);
        const QByteArray entry = DesktopFiles::desktopEntry(program);
        EXPECT_TRUE(entry.contains("\nExec=" + QByteArray(c.exec) + " %f\n")) << c.program << "\n" << entry.constData();
    }
}

TEST(DesktopFilesTest, DefaultApplicationsAreSetLikeXdgMimeDefault)
{
    using DesktopFiles::setDefaultApplications;
    // An empty list gains the section.
    EXPECT_EQ(setDefaultApplications({}, {QStringLiteral("application/x-qltwin-card")}),
              QByteArray("[Default Applications]\napplication/x-qltwin-card=QLTWIN.desktop;\n"));

    // Other sections, comments and types stay; an existing line of the type
    // gets QLTWIN first and keeps the others as fallbacks; a new line goes
    // after the section's last entry.
    const QByteArray before = "# mine\n"
                              "[Added Associations]\n"
                              "text/csv=libreoffice-calc.desktop;\n"
                              "\n"
                              "[Default Applications]\n"
                              "text/html=firefox.desktop;\n"
                              "text/csv=libreoffice-calc.desktop;QLTWIN.desktop;\n"
                              "\n"
                              "[Removed Associations]\n"
                              "text/plain=vim.desktop;\n";
    const QByteArray after = "# mine\n"
                             "[Added Associations]\n"
                             "text/csv=libreoffice-calc.desktop;\n"
                             "\n"
                             "[Default Applications]\n"
                             "text/html=firefox.desktop;\n"
                             "text/csv=QLTWIN.desktop;libreoffice-calc.desktop;\n"
                             "text/x-qltwin-card=QLTWIN.desktop;\n"
                             "\n"
                             "[Removed Associations]\n"
                             "text/plain=vim.desktop;\n";
    const QStringList types{QStringLiteral("text/csv"), QStringLiteral("text/x-qltwin-card")};
    EXPECT_EQ(setDefaultApplications(before, types), after);
    // Running it again changes nothing.
    EXPECT_EQ(setDefaultApplications(after, types), after);
    EXPECT_EQ(DesktopFiles::defaultApplications(after, QStringLiteral("text/csv")),
              (QStringList{QStringLiteral("QLTWIN.desktop"), QStringLiteral("libreoffice-calc.desktop")}));
    EXPECT_TRUE(DesktopFiles::defaultApplications(after, QStringLiteral("text/plain")).isEmpty());

    // A list without a final line end, and without the section.
    EXPECT_EQ(setDefaultApplications("[Added Associations]\nx/y=a.desktop;", {QStringLiteral("text/csv")}),
              QByteArray("[Added Associations]\nx/y=a.desktop;\n\n[Default Applications]\ntext/csv=QLTWIN.desktop;\n"));
}

TEST(DesktopFilesTest, InternetShortcutIsTwoWindows31JLines)
{
    EXPECT_EQ(DesktopFiles::urlShortcut(QStringLiteral("http://www.orvale-softwares.example/")),
              QByteArray("[InternetShortcut]\r\nURL=http://www.orvale-softwares.example/\r\n"));
    const QByteArray mail =
        DesktopFiles::urlShortcut(QStringLiteral("mailto:a@b.example?subject=このまま送信してください"));
    EXPECT_EQ(mail, QByteArray("[InternetShortcut]\r\nURL=mailto:a@b.example?subject=")
                        + Win31J::encode(QStringLiteral("このまま送信してください")) + QByteArray("\r\n"));
}

TEST(FavoritesTest, ShortcutsGoToTheirFoldersAndAreRewrittenTheSame)
{
    QTemporaryDir dir;
    const QString favorites = dir.filePath(QStringLiteral("Favorites"));
    for (int run = 0; run < 2; ++run)
        for (const Favorites::Shortcut &s : Favorites::shortcuts())
            ASSERT_TRUE(Favorites::AddFavorite(favorites, s.subFolder, s.title, s.address));

    QStringList top = QDir(favorites).entryList(QDir::Files);
    EXPECT_EQ(top, QStringList{QStringLiteral("QLT@WINのページ.url")});
    QStringList sub = QDir(favorites + QStringLiteral("/QLT@WIN")).entryList(QDir::Files, QDir::Name);
    EXPECT_EQ(sub.size(), 7);
    EXPECT_TRUE(sub.contains(QStringLiteral("掲示板を読む(e-groups).url")));
    EXPECT_EQ(
        Sandbox::readBytes(favorites + QStringLiteral("/QLT@WIN/メーリングリストに参加する.url")),
        Win31J::encode(QStringLiteral("[InternetShortcut]\r\nURL=mailto:qltwin-subscribe@orvale-softwares."
                                      "example?subject=このまま送信してください&body=このまま送信してください\r\n")));

    // A title holding "/" stays a file name in the folder.
    ASSERT_TRUE(Favorites::AddFavorite(favorites, QString(), QStringLiteral("../a/b"), QStringLiteral("http://x/")));
    EXPECT_TRUE(QFileInfo::exists(favorites + QStringLiteral("/..／a／b.url")));
}

} // namespace
