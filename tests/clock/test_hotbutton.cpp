#include "clock/hotbutton.h"

#include <gtest/gtest.h>

using namespace ovra;
using namespace ovra::hotbutton;

TEST(HitZones, StrictBordersOnTheDefaultWindow) {
    const int W = 246; // the strip column is x > 225
    const struct {
        int x, y;
        int32_t zone;
    } cases[] = {
        {235, 30, Close}, {235, 50, Settings}, {235, 70, Grip},     {226, 22, Close},
        {245, 41, Close}, {226, 43, Settings}, {245, 62, Settings}, {226, 64, Grip},
        {245, 83, Grip},  {225, 30, Face}, // x = W - 21 exactly
        {235, 21, Face},                   // the strip's top edge
        {235, 42, Face},                   // between close and settings
        {235, 63, Face},                   // between settings and grip
        {235, 84, Face},                   // the strip's bottom edge
        {235, 100, Face}, {123, 123, Face},    {0, 0, Face},
    };
    for (const auto& c : cases)
        EXPECT_EQ(hitZone(QPoint(c.x, c.y), W), c.zone) << c.x << "," << c.y;
    // The strip follows the window's right edge.
    EXPECT_EQ(hitZone(QPoint(590, 30), 598), Close);
    EXPECT_EQ(hitZone(QPoint(577, 30), 598), Face);
}

TEST(PointerWatch, HidesOutsideFallsBackOffTheBandKeepsOnIt) {
    // Window at (100, 50), 246 pixels.
    const struct {
        const char* what;
        QPoint pointer;
        int32_t before;
        int32_t after;
        bool keep;
    } cases[] = {
        {"far away", {10, 10}, Close, Hidden, false},
        {"on the left edge", {100, 150}, Face, Hidden, false},
        {"on the right edge", {346, 150}, Face, Hidden, false},
        {"on the bottom edge", {200, 296}, Face, Hidden, false},
        {"inside, off the band", {200, 150}, Close, Face, true},
        {"inside, off the band, strip hidden", {200, 150}, Hidden, Face, true},
        {"on the close cell", {335, 80}, Close, Close, true},
        {"on the band, state as the events set it", {335, 80}, Settings, Settings, true},
        {"band column below the strip", {335, 140}, Grip, Face, true},
        {"band's left border", {325, 80}, Close, Face, true},
        {"band's top border", {335, 71}, Close, Face, true},
    };
    for (const auto& c : cases) {
        const PointerWatchResult r = pointerWatch({c.pointer, {100, 50}, 246, c.before});
        EXPECT_EQ(r.hotButton, c.after) << c.what;
        EXPECT_EQ(r.keepWatching, c.keep) << c.what;
    }
}
