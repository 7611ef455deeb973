// ClockWindow: composing each second's frame and painting it into the backing store.
#include "clock/clockwindow.h"

#include "base/memorytrim.h"
#include "clock/clockaccessible.h"
#include "clock/clockwindowhost.h"
#include "clock/monitors.h"
#include "clock/poolthreadpainter.h"
#include "clock/windowsystem.h"
#include "settings/clockmodel.h"

#include <QBackingStore>
#include <QLocale>
#include <QLoggingCategory>
#include <QPaintEngine>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <utility>

namespace ovra {

// One line per frame handed to the window: wall time in ms, the second it shows and
// the bytes of pixels painted. bench/measure-process.sh reads it.
Q_LOGGING_CATEGORY(lcPush, "ovra.clock.push", QtWarningMsg)

void ClockWindow::drawClock() {
    drawAt(m_clock.clockTimeNow());
}

void ClockWindow::drawAt(const QDateTime& clockTime) {
    if (m_prepareDue && m_surface.exists() && m_tools.exists()) {
        m_prepareDue = false;
        const qreal dpr = devicePixelRatioF();
        PoolThreadPainter::run(
            [&] { m_renderer.prepare(m_layout, m_tools, m_surface.fontFamily(), dpr); });
    }
    if (!m_surface.exists() || !m_renderer.prepared())
        return;
    m_clockTime = clockTime;
    m_isActive = isActiveWindow();
    const bool showScale = m_clock.settings().showScale;
    const FrameKey key{m_clockTime.toSecsSinceEpoch(), m_isActive, m_hotButton, showScale,
                       m_generation};
    // A hover, a key or the activation may ask again within the same second: a
    // frame that would put the same pixels on screen is neither drawn nor pushed.
    if (key == m_drawnKey)
        return;
    FaceFrame frame =
        m_composer.compose(m_clockTime, m_clock.settings(), m_clock.state().clockName, QLocale());
    FaceRenderer::settleTexts(frame);
    // When only the time moved on, the window still shows the last frame: the few
    // areas that differ are redrawn and pushed, a small part of the window.
    const bool partial = key.sameLook(m_drawnKey) && m_constantAlpha == 255;
    const QRegion area = partial ? m_renderer.changedArea(m_frame, frame) : QRegion();
    m_drawnKey = key;
    if (partial && area.isEmpty())
        return;
    // A normal second is drawn on this thread, in the paint that follows; a whole
    // frame, and a new minute whose ring layer is not ready, go to the pool.
    m_paintOnPool = m_paintOnPool || !partial || !m_renderer.ringLayerReady(frame);
    // The last second of a minute also draws the next minute's rings, once it is on
    // screen: the new minute then comes as fast as any other second.
    m_comingFrame.reset();
    if (m_clockTime.time().second() == 59) {
        FaceFrame coming = m_composer.compose(m_clockTime.addSecs(1), m_clock.settings(),
                                              m_clock.state().clockName, QLocale());
        if (FaceRenderer::ringsDiffer(frame, coming))
            m_comingFrame = std::move(coming);
    }
    const FaceFrame before = std::exchange(m_frame, frame);
    m_frameState = FaceState{m_isActive, m_hotButton, showScale};
    ++m_framesDrawn;
    if (partial) {
        m_pushedArea = area;
        if (!pushChange(before, area))
            update(area);
    } else {
        m_pushedArea = rect();
        pushFrame(255);
    }
}

namespace {

// Whether region holds every pixel of r; a region's rectangles never overlap.
bool covers(const QRegion& region, const QRect& r) {
    qint64 pixels = 0;
    for (const QRect& piece : region) {
        const QRect common = piece.intersected(r);
        pixels += qint64(common.width()) * common.height();
    }
    return pixels == qint64(r.width()) * r.height();
}

} // namespace

QImage* ClockWindow::backingStorePixels(QPaintEvent* event) {
    if (m_constantAlpha < 255 || !backingStore())
        return nullptr;
    // Only a paint into the window's own backing store, not one a grab or render
    // redirects elsewhere, may go straight into its pixels: asked as a painter on
    // the window would find its device, without starting one.
    QPaintDevice* device = backingStore()->paintDevice();
    QPoint offset;
    if (sharedPainter() || redirected(&offset) != device || !offset.isNull() ||
        device->devType() != QInternal::Image)
        return nullptr;
    // An opaque visual has no alpha to take the face's own.
    auto* pixels = static_cast<QImage*>(device);
    if (pixels->format() != QImage::Format_ARGB32_Premultiplied ||
        pixels->size() != m_surface.devicePixelSize() ||
        !QRect(QPoint(0, 0), pixels->deviceIndependentSize().toSize())
             .contains(event->region().boundingRect()))
        return nullptr;
    return pixels;
}

bool ClockWindow::pushChange(const FaceFrame& before, const QRegion& area) {
    // Repainted by the toolkit, the changed area is cleared and drawn whole, layer by
    // layer, over pixels that mostly stay. Where the backing store holds the frame
    // before this one, only the pixels that change are laid into it, and the area is
    // pushed from there.
    const qreal dpr = devicePixelRatioF();
    const int scale = int(dpr);
    // A new minute, whose rings move, is drawn as before.
    if (!m_backingHoldsFrame || m_paintOnPool || m_framesPainted != m_framesDrawn - 1 ||
        m_constantAlpha < 255 || !m_surface.exists() || scale != dpr ||
        FaceRenderer::ringsDiffer(before, m_frame) || m_frame.secondSweep >= 360)
        return false;
    QBackingStore* store = backingStore();
    QWindow* window = windowHandle();
    if (!store || !window || !window->isExposed())
        return false;
    const auto pixelsOf = [&]() -> QImage* {
        QPaintDevice* device = store->paintDevice();
        if (!device || device->devType() != QInternal::Image)
            return nullptr;
        auto* image = static_cast<QImage*>(device);
        if (image->format() != QImage::Format_ARGB32_Premultiplied ||
            image->size() != m_surface.devicePixelSize())
            return nullptr;
        return image;
    };
    QImage* pixels = pixelsOf();
    if (!pixels)
        return false;
    // Painting goes between the store's begin and end, which keep the server from
    // reading what is being written and mark it to be sent; the begin clears the
    // area, whose pixels are put back first.
    const auto surfaceRect = [&](const QRect& r) {
        return QRect(r.topLeft() * scale, r.size() * scale);
    };
    m_keptPixels.clear();
    {
        const SurfacePixels lines(*pixels);
        for (const QRect& r : area) {
            const QRect p = surfaceRect(r);
            for (int y = p.top(); y <= p.bottom(); ++y) {
                const QRgb* line = lines.line(y) + p.left();
                m_keptPixels.insert(m_keptPixels.end(), line, line + p.width());
            }
        }
    }
    store->beginPaint(area);
    pixels = pixelsOf();
    if (pixels) {
        const SurfacePixels lines(*pixels);
        const QRgb* kept = m_keptPixels.data();
        for (const QRect& r : area) {
            const QRect p = surfaceRect(r);
            for (int y = p.top(); y <= p.bottom(); ++y, kept += p.width())
                std::copy_n(kept, p.width(), lines.line(y) + p.left());
        }
    }
    const bool laid = pixels && m_renderer.drawChange(*pixels, before, m_frame, m_frameState,
                                                      m_buttonImage, area);
    store->endPaint();
    if (!laid)
        return false;
    store->flush(area, window);
    m_framesPainted = m_framesDrawn;
    if (m_comingFrame)
        QTimer::singleShot(0, this, &ClockWindow::prepareComingMinute);
    logPush(area);
    return true;
}

void ClockWindow::logPush(const QRegion& area) const {
    if (!lcPush().isDebugEnabled())
        return;
    qint64 pixels = 0;
    for (const QRect& r : area)
        pixels += qint64(r.width()) * r.height();
    const qreal dpr = devicePixelRatioF();
    qCDebug(lcPush).noquote() << QDateTime::currentMSecsSinceEpoch() << m_drawnKey.second
                              << qint64(pixels * dpr * dpr * 4);
}

void ClockWindow::paintEvent(QPaintEvent* event) {
    m_backingHoldsFrame = false;
    // The face is drawn where the window's pixels are: straight into the backing
    // store, which the toolkit then pushes, or else into the surface, copied over.
    QImage* const direct = backingStorePixels(event);
    if (direct)
        m_surface.releasePixels();
    QImage* const canvas = direct ? direct : &m_surface.image();
    const bool drawn =
        m_surface.exists() && !canvas->isNull() && m_renderer.prepared() && m_framesDrawn > 0;
    if (drawn) {
        // The toolkit asks for the areas the frame changed, or for the whole window
        // when it needs it (first shown, uncovered without a compositor).
        const QRegion area = covers(event->region(), rect()) ? QRegion() : event->region();
        const auto draw = [&] {
            m_renderer.drawFrame(*canvas, m_frame, m_frameState, m_buttonImage, area);
        };
        if (m_paintOnPool || area.isEmpty())
            PoolThreadPainter::run(draw);
        else
            draw();
        m_paintOnPool = false;
        m_framesPainted = m_framesDrawn;
        if (m_comingFrame)
            QTimer::singleShot(0, this, &ClockWindow::prepareComingMinute);
        // The kept second ring is made once the face is on screen, so that the
        // first frame does not wait for it.
        if (!m_renderer.secondStepsPrepared() && !m_secondStepsQueued) {
            m_secondStepsQueued = true;
            QTimer::singleShot(0, this, &ClockWindow::prepareSecondSteps);
        }
    }
    if (!direct) {
        QPainter p(this);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        if (!drawn || m_constantAlpha < 255) {
            p.fillRect(rect(), Qt::transparent);
            if (!drawn)
                return;
            p.setCompositionMode(QPainter::CompositionMode_SourceOver);
            p.setOpacity(m_constantAlpha / 255.0);
        }
        // One rectangle at a time: under a clip of several rectangles Qt blends span
        // by span and hands the spans of each to its thread pool, which costs more
        // than the copy; under one rectangle it copies the lines itself.
        for (const QRect& r : event->region()) {
            p.setClipRect(r);
            p.drawImage(0, 0, *canvas);
        }
    }
    // Drawn straight into the backing store, it holds this frame for the next one.
    m_backingHoldsFrame = direct && drawn;
    logPush(event->region());
}

void ClockWindow::prepareComingMinute() {
    if (!m_comingFrame)
        return;
    const FaceFrame coming = *std::exchange(m_comingFrame, std::nullopt);
    // Drawing runs deep on the pool's thread; the stack pages it leaves would stay
    // the idle clock's memory.
    PoolThreadPainter::run([&] {
        m_renderer.prepareRingLayer(coming);
        releaseUnusedStack();
    });
}

void ClockWindow::prepareSecondSteps() {
    m_secondStepsQueued = false;
    if (m_renderer.prepared() && !m_renderer.secondStepsPrepared()) {
        PoolThreadPainter::run([&] {
            m_renderer.prepareSecondSteps();
            releaseUnusedStack();
        });
        // The strokes' working memory goes back to the system, not to the heap's
        // free lists, where an idle clock would keep it.
        releaseFreedMemory();
    }
}

void ClockWindow::armSecondTimer() {
    if (m_unloading)
        return;
    // Read afresh each time, so a stepped clock is followed at once.
    const int msec = m_clock.nowUtc().time().msec();
    m_secondTimer.start(1000 - msec);
}

void ClockWindow::onSecondTimer() {
    const QDateTime now = m_clock.clockTimeNow();
    // Woken a little early, the second has not turned yet: the timer is armed for
    // the rest of it and nothing runs twice for one second.
    if (now.toSecsSinceEpoch() != m_tickedSecond) {
        m_tickedSecond = now.toSecsSinceEpoch();
        drawAt(now);
        m_clockTime = now;
        if (const qint64 minute = now.toSecsSinceEpoch() / 60; minute != m_shownMinute) {
            if (m_shownMinute != -1)
                ClockAccessible::minuteShown(this);
            m_shownMinute = minute;
        }
        emit secondTick();
    }
    armSecondTimer();
}

} // namespace ovra
