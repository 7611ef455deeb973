// One whole frame of the face (clear, dial, rings, three texts, scale, highlight,
// strip) into the drawing surface, drawn straightforwardly and from the prepared
// layers, and the partial frame of a normal second (with the second ring kept or
// stroked), at the default (246) and the largest (598) size.
//
// The second argument says where the frame is drawn: 0 on the calling thread, where
// Qt hands large fills to its thread pool, 1 on a pool thread, where they run
// inline (as the clock draws whole frames; it draws the partial frame of a normal
// second on its own thread). Times are per frame; "CPU" is the whole process,
// worker threads included.
//
//   bench_face [benchmark options]
#include "clock/drawingsurface.h"
#include "clock/facerenderer.h"
#include "clock/poolthreadpainter.h"

#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <memory>

using namespace ovra;

namespace {

ClockSettings sized(int side) {
    ClockSettings s = defaultSettings();
    if (side == 598) {
        s.ClockRadius = 128;
        s.HourCircleWidth = s.MinuteCircleWidth = s.SecondCircleWidth = 50;
    }
    return s;
}

struct Face {
    explicit Face(int side) : settings(sized(side)), layout(calcClockLayout(settings)) {
        tools.createDrawTools(settings);
        surface.createSurface(QSize(layout.windowSize(), layout.windowSize()));
        renderer.prepare(layout, tools, surface.fontFamily());
        button = QImage(QStringLiteral(":/CUSTOM/CLOSE"))
                     .convertToFormat(QImage::Format_ARGB32_Premultiplied);
    }
    FaceFrame frameAt(int minute, int second) const {
        const QDateTime t(QDate(2026, 5, 17), QTime(15, minute, second), Qt::UTC);
        return composeFaceFrame(t, settings, QStringLiteral("Default"), QLocale::c());
    }
    ClockSettings settings;
    ClockLayout layout;
    DrawTools tools;
    DrawingSurface surface;
    FaceRenderer renderer;
    QImage button;
};

template <typename Draw> void drawOn(const benchmark::State& state, const Draw& draw) {
    if (state.range(1) != 0)
        PoolThreadPainter::run(draw);
    else
        draw();
}

// The active window with the strip shown: every element of the face is drawn.
const FaceState kState{true, hotbutton::Face, true};

int maxDifference(const QImage& a, const QImage& b) {
    int worst = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            worst = std::max({worst, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                              std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return worst;
}

// Each frame is the next second, as the clock draws them; minute and hour stay.
// The first frame of the layered kind also draws the scale and highlight overlay.
void BM_FrameStraightforward(benchmark::State& state) {
    Face face(int(state.range(0)));
    int second = 0;
    for (auto _ : state) {
        FaceFrame f = face.frameAt(25, 1 + second++ % 58);
        drawOn(state, [&] {
            face.renderer.drawFrameDirect(face.surface.image(), f, kState, face.button);
        });
        benchmark::DoNotOptimize(face.surface.image().constBits());
    }
}

void BM_FrameLayered(benchmark::State& state) {
    Face face(int(state.range(0)));
    int second = 0;
    for (auto _ : state) {
        FaceFrame f = face.frameAt(25, 1 + second++ % 58);
        drawOn(state,
               [&] { face.renderer.drawFrame(face.surface.image(), f, kState, face.button); });
        benchmark::DoNotOptimize(face.surface.image().constBits());
    }
    // The same frame both ways, for the record.
    Face direct(int(state.range(0)));
    FaceFrame a = face.frameAt(25, 7), b = a;
    face.renderer.drawFrame(face.surface.image(), a, kState, face.button);
    direct.renderer.drawFrameDirect(direct.surface.image(), b, kState, direct.button);
    state.counters["maxdiff"] = maxDifference(face.surface.image(), direct.surface.image());
}

// What the clock draws in a normal second: only the areas that differ from the
// second before, on the surface that holds that second. The seconds run through
// the whole minute, so the second ring's area grows and shrinks as in use. Kept:
// with the second ring kept for each second, as the clock has it from its second
// frame on; else stroked, as before that.
template <bool kept> void BM_FramePartial(benchmark::State& state) {
    Face face(int(state.range(0)));
    if (kept)
        face.renderer.prepareSecondSteps();
    FaceFrame frames[60];
    for (int s = 0; s < 60; ++s) {
        frames[s] = face.frameAt(25, s);
        FaceRenderer::settleTexts(frames[s]);
    }
    FaceFrame first = frames[0];
    face.renderer.drawFrame(face.surface.image(), first, kState, face.button);
    int second = 0;
    qint64 pixels = 0, frameCount = 0;
    for (auto _ : state) {
        const int next = (second + 1) % 60;
        FaceFrame f = frames[next];
        const QRegion area = face.renderer.changedArea(frames[second], f);
        drawOn(state, [&] {
            face.renderer.drawFrame(face.surface.image(), f, kState, face.button, area);
        });
        benchmark::DoNotOptimize(face.surface.image().constBits());
        for (const QRect& r : area)
            pixels += qint64(r.width()) * r.height();
        ++frameCount;
        second = next;
    }
    const int side = int(state.range(0));
    state.counters["pushed%"] = 100.0 * double(pixels) / double(frameCount * side * side);
}

// Once a minute the minute and hour ring layer is redrawn as well.
void BM_FrameLayeredNewMinute(benchmark::State& state) {
    Face face(int(state.range(0)));
    int minute = 0;
    for (auto _ : state) {
        FaceFrame f = face.frameAt(minute++ % 60, 7);
        drawOn(state,
               [&] { face.renderer.drawFrame(face.surface.image(), f, kState, face.button); });
        benchmark::DoNotOptimize(face.surface.image().constBits());
    }
}

// Keeping the second ring for every second, once after the first frame and after
// each re-apply.
void BM_PrepareSecondSteps(benchmark::State& state) {
    Face face(int(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        face.renderer.prepare(face.layout, face.tools, face.surface.fontFamily());
        state.ResumeTiming();
        drawOn(state, [&] { face.renderer.prepareSecondSteps(); });
    }
}

// What a re-apply of the settings costs: tools and every prepared layer.
void BM_PrepareLayers(benchmark::State& state) {
    Face face(int(state.range(0)));
    for (auto _ : state) {
        face.tools.createDrawTools(face.settings);
        drawOn(state,
               [&] { face.renderer.prepare(face.layout, face.tools, face.surface.fontFamily()); });
    }
}

} // namespace

#define FACE_BENCHMARK(name)                                                                       \
    BENCHMARK(name)                                                                                \
        ->ArgNames({"side", "pool"})                                                               \
        ->ArgsProduct({{246, 598}, {0, 1}})                                                        \
        ->MeasureProcessCPUTime()                                                                  \
        ->UseRealTime()                                                                            \
        ->Unit(benchmark::kMicrosecond)

FACE_BENCHMARK(BM_FrameStraightforward);
FACE_BENCHMARK(BM_FrameLayered);
FACE_BENCHMARK(BM_FrameLayeredNewMinute);
FACE_BENCHMARK(BM_FramePartial<true>);
FACE_BENCHMARK(BM_FramePartial<false>);
FACE_BENCHMARK(BM_PrepareSecondSteps);
FACE_BENCHMARK(BM_PrepareLayers);

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
