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
};

} // namespace ovra
