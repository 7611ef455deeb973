#pragma once

// What the tab strip's files share inside the strip: failures reported as the
// member's own, and redrawing held back while pages are rearranged.
#include "widgets/tabstriperror.h"

#include <QWidget>

#include <new>

namespace ovra::tabstrip {

// Runs a member's body and reports any failure as that member's.
template <typename Fn> decltype(auto) reportAs(const char* member, Fn&& body) {
    try {
        return body();
    } catch (const TabStripError& e) {
        throw e.raisedBy(QLatin1String(member));
    } catch (const std::bad_alloc&) {
        throw TabStripError::fromNumber(taberror::OutOfMemory).raisedBy(QLatin1String(member));
    }
}

// Redrawing is suspended while pages are rearranged, so the intermediate states never
// reach the screen.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget* widget) : m_widget(widget), m_was(widget->updatesEnabled()) {
        m_widget->setUpdatesEnabled(false);
    }
    ~UpdatesSuspended() { m_widget->setUpdatesEnabled(m_was); }

private:
    QWidget* m_widget;
    bool m_was;
};

// Division rounding towards minus infinity, as page offsets count.
inline int floorDiv(qint64 a, qint64 b) {
    qint64 q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0)))
        --q;
    return int(q);
}

} // namespace ovra::tabstrip
