// Seeding the per-user program folder of an installed program from the
// delivered data.
#include "core/common/programfolder.h"

#include "support/sandbox.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

TEST(ProgramFolderTest, SeedCopiesWhatIsMissingAndKeepsThePersonsFiles)
{
    QTemporaryDir delivered;
    QTemporaryDir folder;
    QDir().mkpath(delivered.filePath(QStringLiteral("雛形")));
    Sandbox::writeBytes(delivered.filePath(QStringLiteral("sample.qlw")), "delivered sample");
    Sandbox::writeBytes(delivered.filePath(QStringLiteral("HinaDefault.qlw")), "delivered template");
    Sandbox::writeBytes(delivered.filePath(QStringLiteral("雛形/Hina1.qlw")), "template 1");
    Sandbox::writeBytes(delivered.filePath(QStringLiteral("RegInfo.txt")), "notes");
    Sandbox::writeBytes(folder.filePath(QStringLiteral("HinaDefault.qlw")), "my own template");

    EXPECT_EQ(ProgramFolder::seed(delivered.path(), folder.path()), 2);
    EXPECT_EQ(Sandbox::readBytes(folder.filePath(QStringLiteral("sample.qlw"))), "delivered sample");
    EXPECT_EQ(Sandbox::readBytes(folder.filePath(QStringLiteral("雛形/Hina1.qlw"))), "template 1");
    EXPECT_EQ(Sandbox::readBytes(folder.filePath(QStringLiteral("HinaDefault.qlw"))), "my own template");
    // The release notes stay with the installed version.
    EXPECT_FALSE(QFileInfo::exists(folder.filePath(QStringLiteral("RegInfo.txt"))));
    // A second start copies nothing again.
    EXPECT_EQ(ProgramFolder::seed(delivered.path(), folder.path()), 0);
    EXPECT_EQ(ProgramFolder::seed(delivered.filePath(QStringLiteral("missing")), folder.path()), 0);
}

TEST(ProgramFolderTest, ABuildTreeIsNoInstalledProgram)
{
    EXPECT_EQ(ProgramFolder::installedDataFolder(), QString());
}

} // namespace
