#include "widgets/tabstripinput.h"

#include "widgets/tabstriplayout.h"
#include "widgets/uctabstrip.h"

#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstdlib>

namespace ovra {

namespace {
class BusyScope {
public:
    explicit BusyScope(bool& flag) : m_flag(flag) { m_flag = true; }
    ~BusyScope() { m_flag = false; }

private:
    bool& m_flag;
};
} // namespace

TabStripInput::TabStripInput(ucTabStrip& strip) : m_strip(strip) {
    m_hoverWatch.setInterval(kHoverWatchMs);
    QObject::connect(&m_hoverWatch, &QTimer::timeout, &m_hoverWatch, [this] { watchHover(); });
}

bool TabStripInput::themedHover() const {
    return m_strip.m_tabTheme == 1 || m_strip.m_tabTheme == 4;
}

// ---- mouse ---------------------------------------------------------------------------

void TabStripInput::mousePress(QMouseEvent* event) {
    if (m_strip.m_busy)
        return;
    const QPointF pos = event->position();
    m_strip.updateTabRects();
    const bool left = event->button() == Qt::LeftButton;
    if (left) {
        const int box = controlBoxAt(pos);
        if (box >= 0) {
            const QPointF p = boxPoint(box, pos);
            emit m_strip.ControlBoxMouseDown(float(p.x()), float(p.y()));
        }
    }
    emit m_strip.MouseDown(event->button(), event->modifiers(), float(pos.x()), float(pos.y()));
    if (!left)
        return;
    m_leftPressed = true;
    if (themedHover() && m_hoverShown)
        resetHover();
    selectAt(pos);
}

void TabStripInput::selectAt(QPointF pos) {
    const int row =
        TabStripLayout::rowHeight(m_strip.m_activeTabHeight, m_strip.m_inactiveTabHeight);
    if (pos.y() > row)
        return;
    const QPoint point = pos.toPoint();
    for (int i = 0; i < m_strip.TabCount(); ++i) {
        const TabRecord& tab = m_strip.m_tabs[i];
        if (tab.enabled && tab.rect.contains(point)) {
            if (i != m_strip.m_activeTab)
                m_strip.setActiveTab(i);
            break;
        }
    }
}

void TabStripInput::mouseRelease(QMouseEvent* event) {
    const QPointF pos = event->position();
    m_strip.updateTabRects();
    const bool left = event->button() == Qt::LeftButton;
    if (left) {
        const int box = controlBoxAt(pos);
        if (box >= 0) {
            const QPointF p = boxPoint(box, pos);
            emit m_strip.ControlBoxMouseUp(float(p.x()), float(p.y()));
        }
    }
    emit m_strip.MouseUp(event->button(), event->modifiers(), float(pos.x()), float(pos.y()));
    if (left && m_leftPressed) {
        m_leftPressed = false;
        if (m_strip.rect().contains(pos.toPoint()))
            emit m_strip.Click();
    }
}

void TabStripInput::mouseDoubleClick(QMouseEvent* event) {
    // The pair's first press has normally selected the tab already; the double click
    // alone arrives when something else took that press.
    if (event->button() != Qt::LeftButton || m_strip.m_busy)
        return;
    m_strip.updateTabRects();
    selectAt(event->position());
    emit m_strip.DblClick();
}

void TabStripInput::mouseMove(QMouseEvent* event) {
    const QPointF pos = event->position();
    emit m_strip.MouseMove(event->buttons(), event->modifiers(), float(pos.x()), float(pos.y()));
    m_strip.updateTabRects();
    if (themedHover())
        trackHover(pos);
    trackControlBox(pos);
}

void TabStripInput::enter() {
    emit m_strip.MouseEnter();
}

void TabStripInput::leave() {
    if (m_hotBoxTab >= 0) {
        m_hotBoxTab = -1;
        emit m_strip.ControlBoxExit();
        m_strip.update();
    }
    emit m_strip.MouseLeave();
}

// ---- hover highlight and control box -----------------------------------------------

void TabStripInput::trackHover(QPointF pos) {
    const int row =
        TabStripLayout::rowHeight(m_strip.m_activeTabHeight, m_strip.m_inactiveTabHeight);
    const int active = m_strip.m_activeTab;
    if (!m_hoverShown && pos.y() >= 0 && pos.y() <= row) {
        const int x = pos.toPoint().x();
        for (int i = 0; i < m_strip.TabCount(); ++i) {
            const TabRecord& tab = m_strip.m_tabs[i];
            if (i != active && tab.enabled && x >= tab.rect.left() && x <= tab.rect.right()) {
                showHover(i);
                break;
            }
        }
    }
    const QPoint point = pos.toPoint();
    int over = -1;
    if (m_strip.m_tabs[active].rect.contains(point))
        over = active;
    else if (m_hoverShown && m_strip.m_tabs[m_hoveredTab].rect.contains(point))
        over = m_hoveredTab;
    if (over >= 0)
        emit m_strip.MouseHover(over, float(pos.x()), float(pos.y()));
}

void TabStripInput::showHover(int tab) {
    m_hoveredTab = tab;
    m_hoverShown = true;
    m_hoverWatch.start();
    m_strip.update();
}

void TabStripInput::watchHover() {
    if (!m_hoverShown || m_hoveredTab >= m_strip.TabCount()) {
        resetHover();
        return;
    }
    m_strip.updateTabRects();
    const QPoint pointer = m_strip.mapFromGlobal(QCursor::pos());
    if (!m_strip.m_tabs[m_hoveredTab].rect.contains(pointer))
        resetHover();
}

void TabStripInput::resetHover() {
    m_hoverWatch.stop();
    const bool changed = m_hoverShown || m_hoveredTab != m_strip.m_activeTab;
    m_hoverShown = false;
    m_hoveredTab = m_strip.m_activeTab;
    if (m_hotBoxTab >= 0) {
        m_hotBoxTab = -1;
        emit m_strip.ControlBoxExit();
    }
    if (changed)
        m_strip.update();
}

int TabStripInput::controlBoxAt(QPointF pos) const {
    if (!m_strip.m_useControlBox)
        return -1;
    const QPoint point = pos.toPoint();
    const int active = m_strip.m_activeTab;
    if (TabStripLayout::controlBoxRect(m_strip.m_tabs[active].rect).contains(point))
        return active;
    if (m_hoverShown && m_hoveredTab < m_strip.TabCount() &&
        TabStripLayout::controlBoxRect(m_strip.m_tabs[m_hoveredTab].rect).contains(point))
        return m_hoveredTab;
    return -1;
}

QPointF TabStripInput::boxPoint(int tab, QPointF pos) const {
    return pos - QPointF(TabStripLayout::controlBoxRect(m_strip.m_tabs[tab].rect).topLeft());
}

void TabStripInput::trackControlBox(QPointF pos) {
    const int box = controlBoxAt(pos);
    if (box != m_hotBoxTab) {
        if (m_hotBoxTab >= 0)
            emit m_strip.ControlBoxExit();
        m_hotBoxTab = box;
        if (box >= 0)
            emit m_strip.ControlBoxEnter();
        m_strip.update();
    }
    if (box >= 0) {
        const QPointF p = boxPoint(box, pos);
        emit m_strip.ControlBoxHover(float(p.x()), float(p.y()));
    }
}

// ---- wheel -----------------------------------------------------------------------------

void TabStripInput::wheel(QWheelEvent* event) {
    // A turn over one of the page's controls belongs to that control, even when it
    // has nothing to scroll.
    if (m_strip.childAt(event->position().toPoint()) || !m_strip.m_useMouseWheelScroll ||
        !m_strip.m_tabs[m_strip.m_activeTab].enabled) {
        event->ignore();
        return;
    }
    event->accept();
    const int delta = event->angleDelta().y();
    if (delta == 0)
        return;
    if ((delta > 0) != (m_wheelTurn > 0))
        m_wheelTurn = 0;
    m_wheelTurn += delta;
    while (std::abs(m_wheelTurn) >= kWheelNotch) {
        const bool towardUser = m_wheelTurn < 0;
        m_wheelTurn += towardUser ? kWheelNotch : -kWheelNotch;
        const int active = m_strip.m_activeTab;
        // At either end the active tab stays; a disabled neighbour is not selected
        // either, as with the keyboard.
        if (towardUser) {
            emit m_strip.MouseScrollUp();
            if (active + 1 < m_strip.TabCount() && m_strip.m_tabs[active + 1].enabled)
                m_strip.setActiveTab(active + 1);
        } else {
            emit m_strip.MouseScrollDown();
            if (active > 0 && m_strip.m_tabs[active - 1].enabled)
                m_strip.setActiveTab(active - 1);
        }
    }
}

// ---- keyboard --------------------------------------------------------------------------

bool TabStripInput::selectNext() {
    const int count = m_strip.TabCount();
    const int active = m_strip.m_activeTab;
    const int target = active + 1 < count ? active + 1 : 0;
    if (target == active || !m_strip.m_tabs[target].enabled)
        return false;
    m_strip.setActiveTab(target);
    return true;
}

bool TabStripInput::selectPrevious() {
    const int count = m_strip.TabCount();
    const int active = m_strip.m_activeTab;
    if (active == 0 && count <= 1)
        return false;
    const int target = active > 0 ? active - 1 : count - 1;
    if (!m_strip.m_tabs[target].enabled)
        return false;
    m_strip.setActiveTab(target);
    return true;
}

bool TabStripInput::selectByAccessKey(int code) {
    code = QChar(char16_t(code)).toUpper().unicode();
    for (int i = 0; i < m_strip.TabCount(); ++i) {
        const TabRecord& tab = m_strip.m_tabs[i];
        if (tab.accessKey == code && i != m_strip.m_activeTab && tab.enabled) {
            m_strip.setActiveTab(i);
            return true;
        }
    }
    return false;
}

void TabStripInput::accessKey(int code) {
    if (m_strip.m_busy)
        return;
    const BusyScope busy(m_strip.m_busy);
    selectByAccessKey(code);
}

void TabStripInput::keyPress(QKeyEvent* event) {
    if (m_strip.m_busy) {
        event->ignore();
        return;
    }
    const BusyScope busy(m_strip.m_busy);
    // Arrows belong to the strip only while it has the focus; Ctrl+Page Up/Down also
    // reach it from the controls on its pages.
    const bool own = m_strip.hasFocus();
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers();
    const bool ctrl = mods.testFlag(Qt::ControlModifier);
    bool handled = true;
    if ((key == Qt::Key_Right && own) || (key == Qt::Key_PageDown && ctrl))
        selectNext();
    else if ((key == Qt::Key_Left && own) || (key == Qt::Key_PageUp && ctrl))
        selectPrevious();
    else if (own && !(mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) &&
             !event->text().isEmpty())
        handled = selectByAccessKey(event->text().at(0).unicode());
    else
        handled = false;

    if (own) {
        emit m_strip.KeyDown(key, mods);
        if (!event->text().isEmpty())
            emit m_strip.KeyPress(event->text().at(0).unicode());
    }
    // Keys the strip has no use for (Escape, Return) go on to the dialog.
    event->setAccepted(handled);
}

void TabStripInput::keyRelease(QKeyEvent* event) {
    if (m_strip.hasFocus())
        emit m_strip.KeyUp(event->key(), event->modifiers());
    event->ignore();
}

} // namespace ovra
