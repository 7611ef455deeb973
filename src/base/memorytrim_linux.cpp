#include "base/memorytrim.h"

#include <malloc.h>

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

void releaseFreedMemory() {
#ifdef __GLIBC__
    malloc_trim(0);
#endif
}

} // namespace ovra
