#pragma once

#include <QPointF>
#include <QTimer>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace ovra {

class ucTabStrip;

// The strip's mouse, wheel and keyboard rules, its hover highlight and its control box.
class TabStripInput {
public:
    // How often the hover highlight checks whether the pointer has left its tab.
    static constexpr int kHoverWatchMs = 10;
    // One notch of a wheel; finer wheels add up to a notch before a tab changes.
    static constexpr int kWheelNotch = 120;

    explicit TabStripInput(ucTabStrip& strip);

    void mousePress(QMouseEvent* event);
    void mouseRelease(QMouseEvent* event);
    void mouseDoubleClick(QMouseEvent* event);
    void mouseMove(QMouseEvent* event);
    void wheel(QWheelEvent* event);
    void keyPress(QKeyEvent* event);
    void keyRelease(QKeyEvent* event);
    void enter();
    void leave();
    // An access key typed with Alt (or alone while the strip has the focus).
    void accessKey(int code);

    int hoveredTab() const { return m_hoveredTab; }
    bool hoverShown() const { return m_hoverShown; }
    int hotControlBoxTab() const { return m_hotBoxTab; }
    bool hoverWatchRunning() const { return m_hoverWatch.isActive(); }
    // The hovered tab becomes the active tab and its highlight goes.
    void resetHover();

private:
    bool selectNext();
    bool selectPrevious();
    bool selectByAccessKey(int code);
    void selectAt(QPointF pos);
    void showHover(int tab);
    void watchHover();
    void trackHover(QPointF pos);
    void trackControlBox(QPointF pos);
    int controlBoxAt(QPointF pos) const;
    QPointF boxPoint(int tab, QPointF pos) const;
    bool themedHover() const;

    ucTabStrip& m_strip;
    int m_hoveredTab = 0;
    bool m_hoverShown = false;
    int m_hotBoxTab = -1;
    bool m_leftPressed = false;
    int m_wheelTurn = 0;
    QTimer m_hoverWatch;
};

} // namespace ovra
