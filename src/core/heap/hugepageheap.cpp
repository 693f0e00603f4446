#include "core/heap/hugepageheap.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <unistd.h>

namespace HugePageHeap {
namespace {

constexpr char kTunable[] = "glibc.malloc.hugetlb=1";
// Set only between the restart and the first lines of the restarted main.
constexpr char kRestarted[] = "QLT_HEAP_RESTARTED";
constexpr char kCallerTunables[] = "QLT_HEAP_CALLER_TUNABLES";

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__) || defined(__SANITIZE_MEMORY__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer) || __has_feature(memory_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

void restoreCallerEnvironment()
{
    const char *caller = std::getenv(kCallerTunables);
    if (caller && *caller)
        setenv("GLIBC_TUNABLES", caller, 1);
    else
        unsetenv("GLIBC_TUNABLES");
    unsetenv(kCallerTunables);
    unsetenv(kRestarted);
}

} // namespace

const char *TunablesWith(const char *current, char *buffer, unsigned long size)
{
    const int n = current && *current ? std::snprintf(buffer, size, "%s:%s", current, kTunable)
                                      : std::snprintf(buffer, size, "%s", kTunable);
    return n > 0 && static_cast<unsigned long>(n) < size ? buffer : nullptr;
}

void Use(char **argv)
{
    if (std::getenv(kRestarted)) {
        restoreCallerEnvironment();
        return;
    }
    if (kSanitized || std::getenv("QLT_NO_HUGE_PAGES"))
        return;
    const char *current = std::getenv("GLIBC_TUNABLES");
    if (current && std::strstr(current, "glibc.malloc.hugetlb"))
        return;
    const char *preload = std::getenv("LD_PRELOAD");
    if (preload && std::strstr(preload, "vgpreload"))
        return;
    char buffer[4096];
    const char *tunables = TunablesWith(current, buffer, sizeof buffer);
    if (!tunables)
        return;
    setenv(kCallerTunables, current ? current : "", 1);
    setenv(kRestarted, "1", 1);
    setenv("GLIBC_TUNABLES", tunables, 1);
    execv("/proc/self/exe", argv);
    // Not restarted: go on with the usual heap.
    restoreCallerEnvironment();
}

} // namespace HugePageHeap
