#include "base/memorytrim.h"

#include <cstdint>
#include <cstdio>

#include <malloc.h>
#include <sys/mman.h>
#include <unistd.h>

namespace ovra {

namespace {
// glibc's own starting point; the surface and layers of a default clock are larger.
constexpr int kOwnPagesFrom = 128 * 1024;
} // namespace

void tuneAllocatorForLongRun() {
#ifdef __GLIBC__
    // A fixed threshold also stops glibc from raising it after the first large
    // buffer is freed, which would put every later layer into the heap.
    mallopt(M_MMAP_THRESHOLD, kOwnPagesFrom);
    mallopt(M_ARENA_MAX, 1);
#endif
}

namespace {

// Below this much under the caller's frame the stack is left alone: a signal
// handler or the next call may be using it.
constexpr uintptr_t kStackKeptBelowCaller = 16 * 1024;

// The pages of the calling thread's stack below its current depth hold nothing
// any frame will read again, yet stay the process's memory once touched: start-up
// went far deeper (fonts, the store, the first frames) than an idle loop ever does.
// The kernel hands fresh zero pages back if the stack grows there again.
void releaseUnusedStack() {
    volatile char marker = 0;
    const auto depth = reinterpret_cast<uintptr_t>(&marker);
    const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
    // The stack's own mapping, and nothing beside it, is what may be dropped.
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps)
        return;
    unsigned long long start = 0, end = 0;
    bool found = false;
    char line[512];
    while (!found && std::fgets(line, sizeof line, maps))
        found = std::sscanf(line, "%llx-%llx", &start, &end) == 2 && start <= depth && depth < end;
    std::fclose(maps);
    if (!found || depth - start <= kStackKeptBelowCaller)
        return;
    const uintptr_t from = (uintptr_t(start) + page - 1) & ~(page - 1);
    const uintptr_t to = (depth - kStackKeptBelowCaller) & ~(page - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

} // namespace

void releaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    releaseUnusedStack();
}

} // namespace ovra
