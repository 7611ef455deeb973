#pragma once

#include <functional>

namespace ovra {

// Tells when the computer has woken from sleep, so alarms whose minutes passed
// meanwhile are looked at at once rather than at the next tick.
class ResumeWatch {
public:
    virtual ~ResumeWatch() = default;
    virtual void onResume(std::function<void()> fn) = 0;
};

} // namespace ovra
