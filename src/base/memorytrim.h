#pragma once

namespace ovra {

// A clock runs for days with a few window-sized buffers and little else. Buffers of
// that size get pages of their own, which go back to the system as soon as they
// are freed, and every thread allocates from the one heap, so a drawing thread
// does not keep a second heap of freed pages alive. Called before anything is
// allocated in earnest.
void tuneAllocatorForLongRun();

// Hands back to the system the pages that start-up used and freed: the heap's and
// those of the calling thread's stack below where it stands.
void releaseFreedMemory();

// Hands back the pages of the calling thread's stack below where it stands (keeping
// a little under the caller). Drawing runs deep on a thread (the raster engine's
// buffers live on the stack) and those pages would stay the process's for good.
void releaseUnusedStack();

} // namespace ovra
