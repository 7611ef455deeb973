// TabStrip: the pages, tabs inserted and removed and the controls on each page moved in and out of
// sight.
#include "widgets/tabstrip.h"

#include "widgets/tabstripguard.h"

#include <QAbstractItemView>
#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>

#include <algorithm>

namespace ovra {

using tabstrip::floorDiv;
using tabstrip::reportAs;
using tabstrip::UpdatesSuspended;

QList<QWidget*> TabStrip::childControls() const {
    QList<QWidget*> children;
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!child->isWindow())
            children.append(child);
    }
    return children;
}

int TabStrip::pageOfChild(const QWidget* child) const {
    // A child's own place lies within the strip; children may hang over its left edge by
    // a little, so the pages are counted from that slack.
    constexpr int kSlack = 1000;
    return floorDiv(qint64(m_pageOffset) - kSlack - child->x(), m_pageOffset);
}

QList<QWidget*> TabStrip::pageControls(int tab) const {
    QList<QWidget*> controls = childControls();
    controls.removeIf([&](const QWidget* c) { return m_activeTab + pageOfChild(c) != tab; });
    return controls;
}

void TabStrip::moveChild(QWidget* child, int pages) const {
    child->move(child->x() + pages * m_pageOffset, child->y());
}

void TabStrip::computePageOffset() {
    m_pageOffset = width() > 10000 ? width() + 1000 : 10000;
}

void TabStrip::insertTab(int index, const QString& caption) {
    reportAs("InsertTab", [&] {
        if (index < -1 || index >= TabCount())
            throw TabStripError::fromNumber(taberror::SubscriptOutOfRange);
        if (TabCount() >= kMaxTabCount)
            throw TabStripError::fromNumber(taberror::InvalidArgument);
        {
            const UpdatesSuspended suspended(this);
            const int active = m_activeTab;
            for (QWidget* child : childControls()) {
                if (pageOfChild(child) + active > index)
                    moveChild(child, -1);
            }
            TabRecord record;
            record.caption = caption;
            m_tabs.insert(index + 1, record);
            // The page that was showing keeps showing, under its new number.
            if (active > index)
                setActiveInternal(active + 1);
            if (m_lastActiveTab > index)
                ++m_lastActiveTab;
            m_input->resetHover();
            rebuildAccessKeys();
            redraw();
        }
        emit tabInsert(index);
    });
}

void TabStrip::removeTab(int index) {
    reportAs("RemoveTab", [&] {
        checkIndex(index);
        const int count = TabCount();
        if (count == 1)
            return;
        {
            const UpdatesSuspended suspended(this);
            const int active = m_activeTab;
            for (QWidget* child : childControls()) {
                const int tab = pageOfChild(child) + active;
                if (tab == index)
                    moveChild(child, count); // onto a page left of tab 0, which never shows
                else if (tab > index)
                    moveChild(child, 1);
            }
            m_tabs.removeAt(index);
            setActiveInternal(active > index ? active - 1 : std::min(active, count - 2));
            if (m_lastActiveTab > index || m_lastActiveTab >= count - 1)
                m_lastActiveTab = std::max(m_lastActiveTab - 1, 0);
            m_input->resetHover();
            rebuildAccessKeys();
            redraw();
        }
        emit tabRemove(index);
    });
}

void TabStrip::addControl(QWidget* control, int left, int top, int width, int height, int tab) {
    reportAs("AddControl", [&] {
        if (!control || control == this || control->isAncestorOf(this))
            throw TabStripError::fromNumber(taberror::InvalidArgument);
        if (tab != -1)
            checkIndex(tab);
        if (tab != -1 && tab != m_activeTab)
            setActiveTab(tab);
        // When a handler refused the switch the control still goes onto its own page.
        const int pages = tab == -1 ? 0 : tab - m_activeTab;
        const QRect old = control->geometry();
        // A control that is already on one of the pages keeps its own place on the new one.
        const int ownX = control->parentWidget() == this
                             ? old.x() + pageOfChild(control) * m_pageOffset
                             : old.x();
        control->setParent(this);
        const int x = left != -1 ? left : ownX;
        const int y = top != -1 ? top : old.y();
        control->setGeometry(x - pages * m_pageOffset, y, width != -1 ? width : old.width(),
                             height != -1 ? height : old.height());
        control->show();
    });
}

bool TabStrip::focusNextPrevChild(bool next) {
    // Children of other pages are visible to Qt, only moved aside: let Tab pass over them.
    QWidget* const start = QApplication::focusWidget();
    for (int step = 0; step < 1000; ++step) {
        if (!QWidget::focusNextPrevChild(next))
            return false;
        QWidget* now = QApplication::focusWidget();
        QWidget* page = now;
        while (page && page->parentWidget() != this)
            page = page->parentWidget();
        if (!page || pageOfChild(page) == 0 || now == start)
            return true;
    }
    return true;
}

bool TabStrip::inputChildUsesWheel(QPoint point) const {
    for (const QWidget* w = childAt(point); w && w != this; w = w->parentWidget()) {
        if (qobject_cast<const QAbstractScrollArea*>(w) ||
            qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QAbstractSlider*>(w))
            return true;
        if (const auto* combo = qobject_cast<const QComboBox*>(w);
            combo && combo->view() && combo->view()->isVisible())
            return true;
    }
    return false;
}

} // namespace ovra
