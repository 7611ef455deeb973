#pragma once

#include <cstdio>
#include <cstdlib>

// Stops the run at the first property that does not hold, naming its file and line.
#define CHECK(condition) ((condition) ? void() : ovra::fuzz::failedAt(__FILE__, __LINE__))

namespace ovra::fuzz {

[[noreturn]] inline void failedAt(const char* file, int line) {
    std::fprintf(stderr, "%s:%d: a property does not hold\n", file, line);
    std::abort();
}

} // namespace ovra::fuzz
