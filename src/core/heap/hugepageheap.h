#pragma once
// A heap that grows in huge pages. A million cards are four million small
// strings; on a virtual machine every first touch of a 4 KiB page traps to
// the hypervisor, and those faults cost more than reading and decoding the
// whole file. glibc's malloc backs its heap with transparent huge pages when
// its tunable glibc.malloc.hugetlb=1 is set, and tunables are only read when
// a process starts: so a program that may hold a large card file restarts
// itself once, first thing in main(), with the tunable added.

namespace HugePageHeap {

// Restarts the program (the same executable and arguments) with the tunable
// set, and returns only when no restart is needed or it failed: in the
// restarted process, where the environment is put back as the caller had it
// so that programs started from here do not inherit the setting; when the
// caller already chose the tunable; when QLT_NO_HUGE_PAGES is set; under a
// sanitizer or valgrind, which bring their own allocators.
// Call it before anything else in main(), with main's argv.
void Use(char **argv);

// GLIBC_TUNABLES for the restart: the caller's value (nullptr when unset)
// with the heap tunable added.
const char *TunablesWith(const char *current, char *buffer, unsigned long size);

} // namespace HugePageHeap
