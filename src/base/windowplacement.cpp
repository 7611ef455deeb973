#include "base/windowplacement.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>

#include <algorithm>

namespace ovra {

namespace {

// The gap left between a window and the one it opens beside.
constexpr int kGap = 8;
// How long after showing a window its frame may still arrive from the window
// manager. Frames come within a few hundred milliseconds on every window manager
// tried; past this the position is the user's.
constexpr int kFramingMs = 2000;

QPoint clampInto(QPoint p, const QSize& frame, const QRect& work) {
    if (!work.isValid())
        return p;
    // A window larger than the work area keeps its top-left corner visible.
    p.setX(std::max(work.left(), std::min(p.x(), work.right() + 1 - frame.width())));
    p.setY(std::max(work.top(), std::min(p.y(), work.bottom() + 1 - frame.height())));
    return p;
}

class FramePlacer final : public QObject {
public:
    FramePlacer(QWidget* window, std::function<QPoint(const QSize&)> where,
                std::function<QMargins()> extents)
        : QObject(window), m_window(window), m_where(std::move(where)),
          m_extents(std::move(extents)) {
        setObjectName(QString::fromLatin1(kName));
        window->installEventFilter(this);
    }

    static constexpr const char* kName = "ovra-frame-placer";

    // A window placed again (a notice refilled by a later alarm) keeps one placer.
    void replace(std::function<QPoint(const QSize&)> where, std::function<QMargins()> extents) {
        m_where = std::move(where);
        m_extents = std::move(extents);
        m_placedFor = QSize();
    }

    void apply() {
        if (!m_window)
            return;
        QSize frame = m_window->frameGeometry().size();
        // Until the window manager has framed the window, Qt knows no frame; the
        // window manager may have said already what it will be.
        if (frame == m_window->size() && m_extents)
            if (const QMargins margins = m_extents(); !margins.isNull())
                frame = m_window->size().grownBy(margins);
        if (frame == m_placedFor)
            return;
        m_placedFor = frame;
        m_window->move(m_where(frame)); // a top-level's position is its frame's
    }

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        switch (event->type()) {
        case QEvent::Show:
            m_shown.start();
            // The frame arrives with the window manager's reply, after the show.
            QTimer::singleShot(0, this, [this] { apply(); });
            QTimer::singleShot(250, this, [this] { settle(); });
            break;
        case QEvent::Move:
        case QEvent::Resize:
            if (m_shown.isValid() && !m_shown.hasExpired(kFramingMs))
                apply();
            break;
        default:
            break;
        }
        return false;
    }

private:
    void settle() {
        if (m_shown.isValid() && !m_shown.hasExpired(kFramingMs))
            apply();
    }

    QPointer<QWidget> m_window;
    std::function<QPoint(const QSize&)> m_where;
    std::function<QMargins()> m_extents;
    QElapsedTimer m_shown;
    QSize m_placedFor;
};

} // namespace

QPoint centredIn(const QRect& area, const QSize& frame) {
    return {area.left() + (area.width() - frame.width()) / 2,
            area.top() + (area.height() - frame.height()) / 2};
}

QPoint besideAnchor(const QRect& anchor, const QSize& frame, const QRect& work) {
    const int alignedTop = anchor.top();
    const int alignedLeft = anchor.left();
    const QPoint candidates[] = {
        {anchor.right() + 1 + kGap, alignedTop},             // right
        {anchor.left() - kGap - frame.width(), alignedTop},  // left
        {alignedLeft, anchor.bottom() + 1 + kGap},           // below
        {alignedLeft, anchor.top() - kGap - frame.height()}, // above
    };
    // The first side where the window fits whole once slid along that side.
    QPoint best;
    int leastCover = -1;
    for (const QPoint& c : candidates) {
        const QPoint p = clampInto(c, frame, work);
        const int cover = [&] {
            const QRect overlap = QRect(p, frame).intersected(anchor);
            return overlap.isEmpty() ? 0 : overlap.width() * overlap.height();
        }();
        if (cover == 0)
            return p;
        if (leastCover < 0 || cover < leastCover) {
            leastCover = cover;
            best = p;
        }
    }
    return best;
}

void placeByFrame(QWidget* window, std::function<QPoint(const QSize& frame)> where,
                  std::function<QMargins()> extents) {
    if (!window)
        return;
    auto* placer = static_cast<FramePlacer*>(window->findChild<QObject*>(
        QString::fromLatin1(FramePlacer::kName), Qt::FindDirectChildrenOnly));
    if (placer)
        placer->replace(std::move(where), std::move(extents));
    else
        placer = new FramePlacer(window, std::move(where), std::move(extents));
    placer->apply();
}

} // namespace ovra
