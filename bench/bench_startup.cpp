// Start-up to the first frame on screen: starts the real clock again and again on a
// private X server with a compositor, and times from the start of the process
// until the composited screen shows the dial's centre.
//
//   bench_startup path/to/ovra-clock [runs]
#include "settings/settingsstore.h"
#include "settings/sqlitestorebackend.h"
#include "support/desktop.h"
#include "support/testenv.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <xcb/xcb.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace ovra;

namespace {

// The window goes to (100, 100). The probe is inside the dial, just below the top
// of the text disc, where the face is plain dark at any time.
constexpr int kLeft = 100, kTop = 100;
constexpr int kProbeX = kLeft + 123, kProbeY = kTop + 79;

uint32_t screenPixel(xcb_connection_t* c, xcb_window_t root, int x, int y) {
    xcb_get_image_reply_t* reply = xcb_get_image_reply(
        c, xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, root, int16_t(x), int16_t(y), 1, 1, ~0u),
        nullptr);
    if (!reply)
        return 0;
    uint32_t pixel = 0;
    const uint8_t* data = xcb_get_image_data(reply);
    std::copy(data, data + std::min(4, xcb_get_image_data_length(reply)),
              reinterpret_cast<uint8_t*>(&pixel));
    std::free(reply);
    return pixel & 0xFFFFFF;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_startup path/to/ovra-clock [runs]\n");
        return 2;
    }
    const QString clock = QString::fromLocal8Bit(argv[1]);
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;

    test::TestHome home;
    {
        SqliteStoreBackend backend(home.storePath());
        KeyStore store(backend);
        ClockState state;
        state.clockName = QStringLiteral("Default");
        state.settings = defaultSettings();
        state.settings.Left = kLeft * 15;
        state.settings.Top = kTop * 15;
        writeClockSettings(store, state);
    }
    test::PrivateDesktop desktop;
    if (!desktop.ok()) {
        std::fprintf(stderr, "no private desktop: %s\n", qPrintable(desktop.error()));
        return 1;
    }
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (!c || xcb_connection_has_error(c)) {
        std::fprintf(stderr, "cannot reach the private X server\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    // The desktop as the compositor shows it, once it has stopped changing.
    const auto settledDesktop = [&] {
        uint32_t last = screenPixel(c, root, kProbeX, kProbeY);
        for (int stable = 0, tries = 0; stable < 20 && tries < 500; ++tries) {
            QThread::msleep(10);
            const uint32_t now = screenPixel(c, root, kProbeX, kProbeY);
            stable = now == last ? stable + 1 : 0;
            last = now;
        }
        return last;
    };

    // Run 0 warms the caches and makes the compositor paint the desktop, which it
    // does only once something changes on it; it is not counted.
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) {
        const uint32_t background = settledDesktop();
        QProcess p;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("QT_QPA_PLATFORM"));
        p.setProcessEnvironment(env);
        QElapsedTimer t;
        t.start();
        p.start(clock, {});
        bool shown = false;
        while (t.elapsed() < 5000) {
            if (screenPixel(c, root, kProbeX, kProbeY) != background) {
                shown = true;
                break;
            }
            QThread::usleep(500);
        }
        const double ms = t.nsecsElapsed() / 1e6;
        p.terminate();
        if (!p.waitForFinished(5000)) {
            p.kill();
            p.waitForFinished(3000);
        }
        if (!shown) {
            std::fprintf(stderr, "run %d: no frame within 5 s\n", i);
            continue;
        }
        if (i == 0)
            continue;
        times.push_back(ms);
        std::printf("run %2d: %.1f ms\n", i, ms);
    }
    xcb_disconnect(c);
    if (times.empty())
        return 1;
    std::vector<double> sorted = times;
    std::sort(sorted.begin(), sorted.end());
    std::printf("start-up to the first frame on screen over %zu runs: median %.1f ms, "
                "min %.1f ms, max %.1f ms\n",
                sorted.size(), sorted[sorted.size() / 2], sorted.front(), sorted.back());
    return 0;
}
