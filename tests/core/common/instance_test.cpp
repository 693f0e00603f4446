// One test case only: ctest runs each case of an executable as a process of
// its own, and two of them at once would be "another instance".
#include "core/common/qtservices.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

TEST(QtProcessesInstance, SeesASecondProcessOfThisExecutable)
{
    QtProcesses processes;
    EXPECT_FALSE(processes.anotherInstanceRunning());

    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        // Runs this very executable; stays until the parent ends it.
        close(ready[0]);
        (void)!write(ready[1], "x", 1);
        for (;;)
            pause();
    }
    close(ready[1]);
    char c;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    close(ready[0]);

    EXPECT_TRUE(processes.anotherInstanceRunning());

    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_FALSE(processes.anotherInstanceRunning());
}
