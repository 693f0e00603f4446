// The readers of Internet shortcuts and saved web archives.

#include "core/common/win31j.h"
#include "core/html/webaddress.h"

#include "support/sandbox.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct AddressCase {
    const char *name;
    QByteArray bytes;
    QString expected;
};

class ShortcutFile : public ::testing::TestWithParam<AddressCase>
{
};

TEST_P(ShortcutFile, GivesTheUrlValue)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("link.url"));
    ASSERT_TRUE(Sandbox::writeBytes(path, GetParam().bytes));
    EXPECT_EQ(UrlOfShortcutFile(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ShortcutFile,
    ::testing::Values(AddressCase{"WindowsShortcut", "[InternetShortcut]\r\nURL=http://example.com/a?b=c&d=e\r\n",
                                  QStringLiteral("http://example.com/a?b=c&d=e")},
                      AddressCase{"LinuxLineEndsAndSpaces",
                                  "[InternetShortcut]\nIconIndex=0\n  url =  https://example.org/x  \n",
                                  QStringLiteral("https://example.org/x")},
                      AddressCase{"DesktopLink", "[Desktop Entry]\nType=Link\nName=例\nURL=https://例え.jp/\n",
                                  QStringLiteral("https://例え.jp/")},
                      AddressCase{"Win31JText", Win31J::encode(u"[InternetShortcut]\r\nURL=file:///C:/資料/a.htm\r\n"),
                                  QStringLiteral("file:///C:/資料/a.htm")},
                      AddressCase{"CommentedAndSectionLinesSkipped", "[URL=no]\r\n;URL=no\r\nURL=yes\r\nURL=second\r\n",
                                  QStringLiteral("yes")},
                      AddressCase{"NoUrlKey", "[InternetShortcut]\r\nIconFile=x\r\n", QString()},
                      AddressCase{"Empty", "", QString()}),
    [](const auto &caseInfo) { return std::string(caseInfo.param.name); });

TEST(ShortcutFileMissing, GivesEmptyText)
{
    QTemporaryDir folder;
    EXPECT_EQ(UrlOfShortcutFile(folder.filePath(QStringLiteral("none.url"))), QString());
    EXPECT_EQ(UrlOfShortcutFile(folder.path()), QString()); // a folder
}

class MhtFile : public ::testing::TestWithParam<AddressCase>
{
};

TEST_P(MhtFile, GivesTheFirstContentLocation)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("page.mht"));
    ASSERT_TRUE(Sandbox::writeBytes(path, GetParam().bytes));
    EXPECT_EQ(LocationOfMhtFile(path), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Files, MhtFile,
    ::testing::Values(
        AddressCase{"SpacesAfterTheColon",
                    "From: <Saved>\r\nContent-Type: multipart/related\r\nContent-Location:  file:///C:/x.htm\r\n\r\n",
                    QStringLiteral("file:///C:/x.htm")},
        AddressCase{"FirstOfSeveral", "Content-Location: http://a/\nContent-Location: http://b/\n",
                    QStringLiteral("http://a/")},
        AddressCase{"OnlyAtTheStartOfALine", "X-Content-Location: http://a/\r\n", QString()},
        AddressCase{"None", "Content-Type: text/html\r\n", QString()}),
    [](const auto &caseInfo) { return std::string(caseInfo.param.name); });

TEST(ShortcutText, ReadsACardsContent)
{
    EXPECT_EQ(UrlOfShortcutText(u"[InternetShortcut]\r\nURL = http://x/?q=1=2\r\n"), QStringLiteral("http://x/?q=1=2"));
    EXPECT_EQ(UrlOfShortcutText(u"no address here"), QString());
}

} // namespace
