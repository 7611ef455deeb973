#pragma once

#include <functional>

namespace ovra {

// Runs drawing code on a thread of Qt's global thread pool and waits for it.
//
// From any other thread, Qt 6.4's raster engine splits every large fill into
// slices for that pool and waits for them; for a face of a few hundred pixels the
// hand-offs cost more CPU than the fills (measured: a 246-pixel frame takes 160 us
// of CPU that way and 90 us drawn on a pool thread, where fills run inline). The
// caller blocks for the frame's duration, well under a millisecond.
class PoolThreadPainter {
public:
    static void run(const std::function<void()>& draw);

    // Every large fill waits for the pool, from any thread, and a pool that cannot
    // start a thread (a process or memory limit) never runs what it is given: the
    // window would hang for good. So one pool thread is started at once and kept
    // for the life of the process, and the pool never asks for another. False when
    // no thread can start: nothing could be drawn then.
    static bool keepOnePoolThread();
};

} // namespace ovra
