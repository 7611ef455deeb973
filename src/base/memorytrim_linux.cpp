#include "base/memorytrim.h"

#include <cstdint>
#include <cstdio>

#include <malloc.h>
#include <pthread.h>
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

// Where the calling thread's stack mapping begins (its lowest address), or 0. The
// main thread's stack is the mapping /proc names; another thread's is the block
// the threads library gave it.
uintptr_t stackStart(uintptr_t depth) {
    if (gettid() != getpid()) {
        pthread_attr_t attr;
        if (pthread_getattr_np(pthread_self(), &attr) != 0)
            return 0;
        void* base = nullptr;
        size_t size = 0;
        const bool known = pthread_attr_getstack(&attr, &base, &size) == 0;
        pthread_attr_destroy(&attr);
        const auto start = reinterpret_cast<uintptr_t>(base);
        return known && start <= depth && depth < start + size ? start : 0;
    }
    std::FILE* maps = std::fopen("/proc/self/maps", "re");
    if (!maps)
        return 0;
    unsigned long long start = 0, end = 0;
    bool found = false;
    char line[512];
    while (!found && std::fgets(line, sizeof line, maps))
        found = std::sscanf(line, "%llx-%llx", &start, &end) == 2 && start <= depth && depth < end;
    std::fclose(maps);
    return found ? uintptr_t(start) : 0;
}

} // namespace

// The pages of the calling thread's stack below its current depth hold nothing
// any frame will read again, yet stay the process's memory once touched: start-up
// and drawing go far deeper (fonts, the store, the raster engine's buffers) than an
// idle loop ever does. The kernel hands fresh zero pages back if the stack grows
// there again.
void releaseUnusedStack() {
    volatile char marker = 0;
    const auto depth = reinterpret_cast<uintptr_t>(&marker);
    const auto page = uintptr_t(sysconf(_SC_PAGESIZE));
    const uintptr_t start = stackStart(depth);
    if (start == 0 || depth - start <= kStackKeptBelowCaller)
        return;
    const uintptr_t from = (start + page - 1) & ~(page - 1);
    const uintptr_t to = (depth - kStackKeptBelowCaller) & ~(page - 1);
    if (to > from)
        madvise(reinterpret_cast<void*>(from), to - from, MADV_DONTNEED);
}

void releaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
    releaseUnusedStack();
}

} // namespace ovra
