// qltcard's executable: restarts into the huge-page heap while nothing but
// the C library is loaded, then loads the program (qltcard.so, with Qt) and
// runs it. Started through a link or from any folder, it finds the module
// from its own file. Plain C library calls only: no other library is loaded
// before the restart.
#include "core/heap/hugepageheap.h"

#include <climits>
#include <cstdio>
#include <cstring>
#include <dlfcn.h>
#include <unistd.h>

namespace {

constexpr int FileError = 2; // the exit status of a file that cannot be read

// The folder of this executable, or "." when the system does not say.
void ownFolder(char *folder, size_t size)
{
    const ssize_t n = ::readlink("/proc/self/exe", folder, size - 1);
    folder[n > 0 ? n : 0] = '\0';
    char *slash = std::strrchr(folder, '/');
    if (slash)
        *slash = '\0';
    else
        std::snprintf(folder, size, ".");
}

} // namespace

int main(int argc, char **argv)
{
    HugePageHeap::Use(argv);
    char folder[PATH_MAX];
    ownFolder(folder, sizeof folder);
    const char *const places[] = {"", "/" QLTCARD_INSTALLED_MODULE_DIR};
    char tried[2 * PATH_MAX + 8] = "";
    for (const char *place : places) {
        char path[PATH_MAX + 64];
        if (std::snprintf(path, sizeof path, "%s%s/qltcard.so", folder, place) >= int(sizeof path))
            continue;
        if (::access(path, F_OK) != 0) {
            const size_t used = std::strlen(tried);
            std::snprintf(tried + used, sizeof tried - used, "%s%s", used ? ", " : "", path);
            continue;
        }
        void *module = ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
        if (!module) {
            std::fprintf(stderr, "qltcard: cannot load %s: %s\n", path, ::dlerror());
            return FileError;
        }
        using Main = int (*)(int, char **);
        const auto run = reinterpret_cast<Main>(::dlsym(module, "QltcardMain"));
        if (!run) {
            std::fprintf(stderr, "qltcard: %s is no qltcard program\n", path);
            return FileError;
        }
        return run(argc, argv);
    }
    std::fprintf(stderr, "qltcard: the program is missing (looked for %s)\n", tried);
    return FileError;
}
