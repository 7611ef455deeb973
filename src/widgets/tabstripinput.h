#pragma once

#include "widgets/tabrecord.h"

#include <QList>
#include <QPoint>
#include <QPointF>
#include <QTimer>

class QKeyEvent;
class QMouseEvent;
class QWheelEvent;

namespace ovra {

// What the input rules need from the control they serve. Keeping it this narrow lets
// the rules live below the control instead of reaching into its members.
class TabStripInputHost {
public:
    // ---- state
    virtual const QList<TabRecord>& inputTabs() const = 0;
    virtual int inputActiveTab() const = 0;
    virtual int inputRowHeight() const = 0;
    // Only some themes draw a hover highlight; the others never show one.
    virtual bool inputThemedHover() const = 0;
    virtual bool inputUseControlBox() const = 0;
    virtual bool inputUseMouseWheelScroll() const = 0;
    virtual bool inputHasFocus() const = 0;
    virtual bool inputContains(QPoint point) const = 0;
    // Whether the child control at point (the control's coordinates) takes the wheel
    // for itself, as a list, a spin box or an open drop-down list does.
    virtual bool inputChildUsesWheel(QPoint point) const = 0;
    virtual QPoint inputPointer() const = 0;
    // Shared with the control's own refresh, so neither re-enters the other.
    virtual bool inputBusy() const = 0;
    virtual void setInputBusy(bool busy) = 0;

    // ---- actions
    // Brings the rectangles in inputTabs() up to date with the current layout.
    virtual void layOutTabs() = 0;
    virtual void selectTab(int tab) = 0;
    virtual void repaintTabs() = 0;

    // ---- notifications; positions of the control box ones are relative to the box
    virtual void onMouseDown(const QMouseEvent& event) = 0;
    virtual void onMouseUp(const QMouseEvent& event) = 0;
    virtual void onMouseMove(const QMouseEvent& event) = 0;
    virtual void onMouseHover(int tab, QPointF position) = 0;
    virtual void onMouseEnter() = 0;
    virtual void onMouseLeave() = 0;
    virtual void onClick() = 0;
    virtual void onDblClick() = 0;
    virtual void onControlBoxEnter() = 0;
    virtual void onControlBoxExit() = 0;
    virtual void onControlBoxHover(QPointF position) = 0;
    virtual void onControlBoxMouseDown(QPointF position) = 0;
    virtual void onControlBoxMouseUp(QPointF position) = 0;
    virtual void onMouseScrollUp() = 0;
    virtual void onMouseScrollDown() = 0;
    virtual void onKeyDown(const QKeyEvent& event) = 0;
    virtual void onKeyUp(const QKeyEvent& event) = 0;
    // The first character a key press types.
    virtual void onKeyPress(QChar character) = 0;

protected:
    ~TabStripInputHost() = default;
};

// The strip's mouse, wheel and keyboard rules, its hover highlight and its control box.
class TabStripInput {
public:
    // How often the hover highlight checks whether the pointer has left its tab.
    static constexpr int kHoverWatchMs = 10;
    // One notch of a wheel; finer wheels add up to a notch before a tab changes.
    static constexpr int kWheelNotch = 120;

    explicit TabStripInput(TabStripInputHost& host);

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
    int tabCount() const;
    const TabRecord& record(int index) const;

    TabStripInputHost& m_host;
    int m_hoveredTab = 0;
    bool m_hoverShown = false;
    int m_hotBoxTab = -1;
    bool m_leftPressed = false;
    int m_wheelTurn = 0;
    QTimer m_hoverWatch;
};

} // namespace ovra
