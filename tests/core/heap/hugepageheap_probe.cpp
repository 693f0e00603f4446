// Calls HugePageHeap::Use as a program's main does, then prints what it
// sees: "tunables=<GLIBC_TUNABLES or (unset)>", and "started=<the
// GLIBC_TUNABLES this process was started with, or (unset)>" read from
// /proc/self/environ (glibc may shorten it there to its first tunable),
// "restarted=<1 when this process was started by the restart, else 0>", and
// "marks=<n>" for the restart's own variables still visible.
#include "core/heap/hugepageheap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

int main(int, char **argv)
{
    HugePageHeap::Use(argv);
    std::ifstream in("/proc/self/environ", std::ios::binary);
    const std::string environ((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string started = "(unset)";
    int restarted = 0;
    for (std::size_t at = 0; at < environ.size();) {
        const std::size_t end = environ.find('\0', at);
        const std::string entry = environ.substr(at, end - at);
        if (entry.rfind("GLIBC_TUNABLES=", 0) == 0)
            started = entry.substr(std::strlen("GLIBC_TUNABLES="));
        if (entry == "QLT_HEAP_RESTARTED=1")
            restarted = 1;
        at = end == std::string::npos ? environ.size() : end + 1;
    }
    const char *tunables = std::getenv("GLIBC_TUNABLES");
    const int marks = (std::getenv("QLT_HEAP_RESTARTED") ? 1 : 0) + (std::getenv("QLT_HEAP_CALLER_TUNABLES") ? 1 : 0);
    std::printf("tunables=%s\nstarted=%s\nrestarted=%d\nmarks=%d\n", tunables ? tunables : "(unset)", started.c_str(),
                restarted, marks);
    return 0;
}
