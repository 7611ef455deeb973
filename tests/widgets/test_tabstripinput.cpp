#include "widgets/tabstripinput.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringList>
#include <gtest/gtest.h>

#include <functional>

namespace ovra {
namespace {

// A host with three 50-pixel tabs in a 20-pixel row. Its rectangles stay empty until the
// rules ask for a layout, so a hit test that skips the layout finds no tab.
class FakeHost : public TabStripInputHost {
public:
    FakeHost() : tabs(3) {}

    const QList<TabRecord>& inputTabs() const override { return tabs; }
    int inputActiveTab() const override { return active; }
    int inputRowHeight() const override { return 20; }
    bool inputThemedHover() const override { return false; }
    bool inputUseControlBox() const override { return false; }
    bool inputUseMouseWheelScroll() const override { return true; }
    bool inputHasFocus() const override { return true; }
    bool inputContains(QPoint point) const override {
        return QRect(0, 0, 150, 100).contains(point);
    }
    bool inputChildUsesWheel(QPoint) const override { return false; }
    QPoint inputPointer() const override { return {}; }
    bool inputBusy() const override { return busy; }
    void setInputBusy(bool on) override { busy = on; }
    void layOutTabs() override {
        for (int i = 0; i < tabs.size(); ++i)
            tabs[i].rect = QRect(i * 50, 0, 50, 20);
    }
    void selectTab(int tab) override {
        log << QStringLiteral("select(%1)").arg(tab);
        active = tab;
        if (onSelect)
            onSelect();
    }
    void repaintTabs() override {}
    void onMouseDown(const QMouseEvent&) override { log << "MouseDown"; }
    void onMouseUp(const QMouseEvent&) override { log << "MouseUp"; }
    void onMouseMove(const QMouseEvent&) override {}
    void onMouseHover(int, QPointF) override {}
    void onMouseEnter() override {}
    void onMouseLeave() override {}
    void onClick() override { log << "Click"; }
    void onDblClick() override { log << "DblClick"; }
    void onControlBoxEnter() override {}
    void onControlBoxExit() override {}
    void onControlBoxHover(QPointF) override {}
    void onControlBoxMouseDown(QPointF) override {}
    void onControlBoxMouseUp(QPointF) override {}
    void onMouseScrollUp() override {}
    void onMouseScrollDown() override {}
    void onKeyDown(const QKeyEvent&) override { log << "KeyDown"; }
    void onKeyUp(const QKeyEvent&) override {}
    void onKeyPress(QChar) override {}

    QList<TabRecord> tabs;
    int active = 0;
    bool busy = false;
    QStringList log;
    std::function<void()> onSelect;
};

QMouseEvent mouse(QEvent::Type type, QPointF at) {
    return QMouseEvent(type, at, at, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
}

// Input that arrives while a selection is still being handled (from a handler of the
// switch) must not start a second one, and the strip must take input again afterwards.
TEST(TabInputRules, InputDuringASelectionIsIgnoredAndReleasedAfterwards) {
    const struct {
        const char* name;
        std::function<void(TabStripInput&)> nested;
    } cases[] = {
        {"right arrow",
         [](TabStripInput& in) {
             QKeyEvent key(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
             in.keyPress(&key);
             EXPECT_FALSE(key.isAccepted());
         }},
        {"access key",
         [](TabStripInput& in) {
             in.accessKey('C');
         }},
    };
    for (const auto& c : cases) {
        FakeHost host;
        host.tabs[2].accessKey = 'C';
        TabStripInput input(host);
        host.onSelect = [&] {
            c.nested(input);
        };
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        input.keyPress(&right);
        EXPECT_EQ(host.log.join(u' ').toStdString(), "select(1) KeyDown") << c.name;
        EXPECT_FALSE(host.busy) << c.name;

        host.onSelect = nullptr;
        input.accessKey('C');
        EXPECT_EQ(host.active, 2) << c.name;
    }
}

TEST(TabInputRules, PressesHitTheLaidOutTabs) {
    FakeHost host;
    TabStripInput input(host);
    QMouseEvent press = mouse(QEvent::MouseButtonPress, QPointF(75, 10));
    input.mousePress(&press);
    QMouseEvent release = mouse(QEvent::MouseButtonRelease, QPointF(75, 10));
    input.mouseRelease(&release);
    EXPECT_EQ(host.log.join(u' ').toStdString(), "MouseDown select(1) MouseUp Click");

    host.log.clear();
    host.tabs = QList<TabRecord>(3); // forget the layout again
    QMouseEvent twice = mouse(QEvent::MouseButtonDblClick, QPointF(125, 10));
    input.mouseDoubleClick(&twice);
    EXPECT_EQ(host.log.join(u' ').toStdString(), "select(2) DblClick");

    host.log.clear();
    host.busy = true;
    input.mousePress(&press);
    input.mouseDoubleClick(&twice);
    EXPECT_TRUE(host.log.isEmpty()) << host.log.join(u' ').toStdString();
}

} // namespace
} // namespace ovra
