#include "widgets/tabstripinput.h"

#include "widgets/tabstriplayout.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include <cstdlib>

namespace ovra {

namespace {
class BusyScope {
public:
    explicit BusyScope(TabStripInputHost& host) : m_host(host) { m_host.setInputBusy(true); }
    ~BusyScope() { m_host.setInputBusy(false); }

private:
    TabStripInputHost& m_host;
};
} // namespace

TabStripInput::TabStripInput(TabStripInputHost& host) : m_host(host) {
    m_hoverWatch.setInterval(kHoverWatchMs);
    QObject::connect(&m_hoverWatch, &QTimer::timeout, &m_hoverWatch, [this] { watchHover(); });
}

bool TabStripInput::themedHover() const {
    return m_host.inputThemedHover();
}

int TabStripInput::tabCount() const {
    return int(m_host.inputTabs().size());
}

const TabRecord& TabStripInput::record(int index) const {
    return m_host.inputTabs()[index];
}

// ---- mouse ---------------------------------------------------------------------------

void TabStripInput::mousePress(QMouseEvent* event) {
    if (m_host.inputBusy())
        return;
    const QPointF pos = event->position();
    m_host.layOutTabs();
    const bool left = event->button() == Qt::LeftButton;
    if (left) {
        const int box = controlBoxAt(pos);
        if (box >= 0)
            m_host.onControlBoxMouseDown(boxPoint(box, pos));
    }
    m_host.onMouseDown(*event);
    if (!left)
        return;
    m_leftPressed = true;
    if (themedHover() && m_hoverShown)
        resetHover();
    selectAt(pos);
}

void TabStripInput::selectAt(QPointF pos) {
    const int row = m_host.inputRowHeight();
    if (pos.y() > row)
        return;
    const QPoint point = pos.toPoint();
    for (int i = 0; i < tabCount(); ++i) {
        const TabRecord& tab = record(i);
        if (tab.enabled && tab.rect.contains(point)) {
            if (i != m_host.inputActiveTab())
                m_host.selectTab(i);
            break;
        }
    }
}

void TabStripInput::mouseRelease(QMouseEvent* event) {
    const QPointF pos = event->position();
    m_host.layOutTabs();
    const bool left = event->button() == Qt::LeftButton;
    if (left) {
        const int box = controlBoxAt(pos);
        if (box >= 0)
            m_host.onControlBoxMouseUp(boxPoint(box, pos));
    }
    m_host.onMouseUp(*event);
    if (left && m_leftPressed) {
        m_leftPressed = false;
        if (m_host.inputContains(pos.toPoint()))
            m_host.onClick();
    }
}

void TabStripInput::mouseDoubleClick(QMouseEvent* event) {
    // The pair's first press has normally selected the tab already; the double click
    // alone arrives when something else took that press.
    if (event->button() != Qt::LeftButton || m_host.inputBusy())
        return;
    m_host.layOutTabs();
    selectAt(event->position());
    m_host.onDblClick();
}

void TabStripInput::mouseMove(QMouseEvent* event) {
    const QPointF pos = event->position();
    m_host.onMouseMove(*event);
    m_host.layOutTabs();
    if (themedHover())
        trackHover(pos);
    trackControlBox(pos);
}

void TabStripInput::enter() {
    m_host.onMouseEnter();
}

void TabStripInput::leave() {
    if (m_hotBoxTab >= 0) {
        m_hotBoxTab = -1;
        m_host.onControlBoxExit();
        m_host.repaintTabs();
    }
    m_host.onMouseLeave();
}

// ---- hover highlight and control box -----------------------------------------------

void TabStripInput::trackHover(QPointF pos) {
    const int row = m_host.inputRowHeight();
    const int active = m_host.inputActiveTab();
    if (!m_hoverShown && pos.y() >= 0 && pos.y() <= row) {
        const int x = pos.toPoint().x();
        for (int i = 0; i < tabCount(); ++i) {
            const TabRecord& tab = record(i);
            if (i != active && tab.enabled && x >= tab.rect.left() && x <= tab.rect.right()) {
                showHover(i);
                break;
            }
        }
    }
    const QPoint point = pos.toPoint();
    int over = -1;
    if (record(active).rect.contains(point))
        over = active;
    else if (m_hoverShown && record(m_hoveredTab).rect.contains(point))
        over = m_hoveredTab;
    if (over >= 0)
        m_host.onMouseHover(over, pos);
}

void TabStripInput::showHover(int tab) {
    m_hoveredTab = tab;
    m_hoverShown = true;
    m_hoverWatch.start();
    m_host.repaintTabs();
}

void TabStripInput::watchHover() {
    if (!m_hoverShown || m_hoveredTab >= tabCount()) {
        resetHover();
        return;
    }
    m_host.layOutTabs();
    const QPoint pointer = m_host.inputPointer();
    if (!record(m_hoveredTab).rect.contains(pointer))
        resetHover();
}

void TabStripInput::resetHover() {
    m_hoverWatch.stop();
    const bool changed = m_hoverShown || m_hoveredTab != m_host.inputActiveTab();
    m_hoverShown = false;
    m_hoveredTab = m_host.inputActiveTab();
    if (m_hotBoxTab >= 0) {
        m_hotBoxTab = -1;
        m_host.onControlBoxExit();
    }
    if (changed)
        m_host.repaintTabs();
}

int TabStripInput::controlBoxAt(QPointF pos) const {
    if (!m_host.inputUseControlBox())
        return -1;
    const QPoint point = pos.toPoint();
    const int active = m_host.inputActiveTab();
    if (TabStripLayout::controlBoxRect(record(active).rect).contains(point))
        return active;
    if (m_hoverShown && m_hoveredTab < tabCount() &&
        TabStripLayout::controlBoxRect(record(m_hoveredTab).rect).contains(point))
        return m_hoveredTab;
    return -1;
}

QPointF TabStripInput::boxPoint(int tab, QPointF pos) const {
    return pos - QPointF(TabStripLayout::controlBoxRect(record(tab).rect).topLeft());
}

void TabStripInput::trackControlBox(QPointF pos) {
    const int box = controlBoxAt(pos);
    if (box != m_hotBoxTab) {
        if (m_hotBoxTab >= 0)
            m_host.onControlBoxExit();
        m_hotBoxTab = box;
        if (box >= 0)
            m_host.onControlBoxEnter();
        m_host.repaintTabs();
    }
    if (box >= 0)
        m_host.onControlBoxHover(boxPoint(box, pos));
}

// ---- wheel -----------------------------------------------------------------------------

void TabStripInput::wheel(QWheelEvent* event) {
    // A turn reaches the control over its own area and, passed on by Qt, over any
    // child that did not take it. One over a control that scrolls or steps with the
    // wheel belongs to that control, even when it has nothing left to scroll.
    if (m_host.inputChildUsesWheel(event->position().toPoint()) ||
        !m_host.inputUseMouseWheelScroll() || !record(m_host.inputActiveTab()).enabled) {
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
        const int active = m_host.inputActiveTab();
        // At either end the active tab stays; a disabled neighbour is not selected
        // either, as with the keyboard.
        if (towardUser) {
            m_host.onMouseScrollUp();
            if (active + 1 < tabCount() && record(active + 1).enabled)
                m_host.selectTab(active + 1);
        } else {
            m_host.onMouseScrollDown();
            if (active > 0 && record(active - 1).enabled)
                m_host.selectTab(active - 1);
        }
    }
}

// ---- keyboard --------------------------------------------------------------------------

bool TabStripInput::selectNext() {
    const int count = tabCount();
    const int active = m_host.inputActiveTab();
    const int target = active + 1 < count ? active + 1 : 0;
    if (target == active || !record(target).enabled)
        return false;
    m_host.selectTab(target);
    return true;
}

bool TabStripInput::selectPrevious() {
    const int count = tabCount();
    const int active = m_host.inputActiveTab();
    if (active == 0 && count <= 1)
        return false;
    const int target = active > 0 ? active - 1 : count - 1;
    if (!record(target).enabled)
        return false;
    m_host.selectTab(target);
    return true;
}

bool TabStripInput::selectByAccessKey(int code) {
    code = QChar(char16_t(code)).toUpper().unicode();
    for (int i = 0; i < tabCount(); ++i) {
        const TabRecord& tab = record(i);
        if (tab.accessKey == code && i != m_host.inputActiveTab() && tab.enabled) {
            m_host.selectTab(i);
            return true;
        }
    }
    return false;
}

void TabStripInput::accessKey(int code) {
    if (m_host.inputBusy())
        return;
    const BusyScope busy(m_host);
    selectByAccessKey(code);
}

void TabStripInput::keyPress(QKeyEvent* event) {
    if (m_host.inputBusy()) {
        event->ignore();
        return;
    }
    const BusyScope busy(m_host);
    // Arrows belong to the strip only while it has the focus; Ctrl+Page Up/Down also
    // reach it from the controls on its pages.
    const bool own = m_host.inputHasFocus();
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
        m_host.onKeyDown(*event);
        if (!event->text().isEmpty())
            m_host.onKeyPress(event->text().at(0));
    }
    // Keys the strip has no use for (Escape, Return) go on to the dialog.
    event->setAccepted(handled);
}

void TabStripInput::keyRelease(QKeyEvent* event) {
    if (m_host.inputHasFocus())
        m_host.onKeyUp(*event);
    event->ignore();
}

} // namespace ovra
