#pragma once

namespace ovra {

// Keeps the per-clock autostart entry in line with the Autorun choice.
class AutorunHost {
public:
    virtual ~AutorunHost() = default;
    virtual int syncAutorunEntry(bool startAtLogin) = 0;
};

} // namespace ovra
