#include "tabstripfixture.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMetaMethod>
#include <QSpinBox>
#include <QSpontaneKeyEvent>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace ovra {
namespace {

using test::EventLog;
using test::StripWindow;

TEST(TabSelection, OutOfRangeSelectsTabZeroAndSameTabDoesNothing) {
    const struct {
        int start, set, expected;
        const char* events;
    } cases[] = {
        {2, -1, 0, "Before(0) Switch(2)"},
        {2, 3, 0, "Before(0) Switch(2)"}, // TabCount itself is out of range
        {2, 1000, 0, "Before(0) Switch(2)"},
        {0, 2, 2, "Before(2) Switch(0)"},
        {1, 1, 1, ""},
        {0, -1, 0, ""}, // becomes 0, which is already active
    };
    for (const auto& c : cases) {
        TabStrip strip;
        strip.setActiveTab(c.start);
        EventLog log(&strip);
        strip.setActiveTab(c.set);
        EXPECT_EQ(strip.ActiveTab(), c.expected) << c.start << "->" << c.set;
        EXPECT_EQ(log.entries.join(u' '), QString::fromLatin1(c.events))
            << c.start << "->" << c.set;
        if (c.expected != c.start) {
            EXPECT_EQ(strip.LastActiveTab(), c.start);
        }
    }
}

TEST(TabSelection, CancelInBeforeTabSwitchKeepsTheTab) {
    TabStrip strip;
    auto* child = new QWidget(&strip);
    child->setGeometry(5, 30, 20, 20);
    EventLog log(&strip);
    log.cancelNext = true;
    strip.setActiveTab(2);
    EXPECT_EQ(strip.ActiveTab(), 0);
    EXPECT_EQ(strip.LastActiveTab(), 0);
    EXPECT_EQ(log.entries, QStringList{QStringLiteral("Before(2)")});
    EXPECT_EQ(child->x(), 5);
}

TEST(TabSelection, HandlerThatSwitchesItselfIsNotUndone) {
    TabStrip strip;
    auto* child = new QWidget(&strip);
    child->setGeometry(5, 30, 20, 20); // on tab 0
    bool once = true;
    QObject::connect(&strip, &TabStrip::beforeTabSwitch, &strip, [&](int, bool*) {
        if (std::exchange(once, false))
            strip.setActiveTab(1);
    });
    strip.setActiveTab(2);
    EXPECT_EQ(strip.ActiveTab(), 2);
    EXPECT_EQ(child->x(), 5 + 2 * strip.PageOffset()); // two pages to the right, not three
}

struct KeyCase {
    const char* name;
    int tabs;
    std::set<int> disabled;
    int start;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    int expected;
};

TEST(TabKeyboard, ArrowsAndCtrlPageKeysWrapButNeverSkip) {
    const Qt::KeyboardModifiers none = Qt::NoModifier, ctrl = Qt::ControlModifier;
    const KeyCase cases[] = {
        {"right moves on", 3, {}, 0, Qt::Key_Right, none, 1},
        {"right on the last wraps", 3, {}, 2, Qt::Key_Right, none, 0},
        {"right on the last, tab 0 disabled", 3, {0}, 2, Qt::Key_Right, none, 2},
        {"right onto a disabled tab", 3, {1}, 0, Qt::Key_Right, none, 0},
        {"left moves back", 3, {}, 2, Qt::Key_Left, none, 1},
        {"left on tab 0 wraps", 3, {}, 0, Qt::Key_Left, none, 2},
        {"left on tab 0, last disabled", 3, {2}, 0, Qt::Key_Left, none, 0},
        {"ctrl+page down", 4, {}, 1, Qt::Key_PageDown, ctrl, 2},
        {"ctrl+page down wraps", 4, {}, 3, Qt::Key_PageDown, ctrl, 0},
        {"ctrl+page up wraps", 4, {}, 0, Qt::Key_PageUp, ctrl, 3},
        {"page down without ctrl", 4, {}, 1, Qt::Key_PageDown, none, 1},
        {"single tab right", 1, {}, 0, Qt::Key_Right, none, 0},
        {"single tab left", 1, {}, 0, Qt::Key_Left, none, 0},
        {"single tab ctrl+page up", 1, {}, 0, Qt::Key_PageUp, ctrl, 0},
    };
    for (const KeyCase& c : cases) {
        StripWindow form(c.tabs);
        ASSERT_TRUE(form.show());
        for (int tab : c.disabled)
            form.strip->setTabEnabled(tab, false);
        form.strip->setActiveTab(c.start);
        EventLog log(form.strip);
        QTest::keyClick(form.strip, c.key, c.mods);
        EXPECT_EQ(form.strip->ActiveTab(), c.expected) << c.name;
        if (c.expected == c.start) {
            EXPECT_TRUE(log.only(QStringLiteral("Switch")).isEmpty()) << c.name;
        }
        EXPECT_EQ(log.entries.last(), QStringLiteral("KeyDown")) << c.name; // after the switch
    }
}

TEST(TabKeyboard, CtrlPageDownReachesTheStripFromAPageControl) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    auto* edit = new QLineEdit;
    form.strip->addControl(edit, 10, 40, 100, 22, 0);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_PageDown, Qt::ControlModifier);
    EXPECT_EQ(form.strip->ActiveTab(), 1);
    // Arrows stay with the control that has the focus.
    form.strip->setActiveTab(0);
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Right);
    EXPECT_EQ(form.strip->ActiveTab(), 0);
}

TEST(TabKeyboard, EscapeGoesOnToTheDialog) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(form.strip, &escape);
    EXPECT_FALSE(escape.isAccepted());
}

TEST(TabAccessKeys, AltKeySelectsTheFirstEnabledOtherTab) {
    const struct {
        const char* name;
        std::vector<const char*> captions;
        std::set<int> disabled;
        int start;
        Qt::Key key;
        int expected;
    } cases[] = {
        {"literal ampersand", {"&File", "Save && &Load", "&Options"}, {}, 0, Qt::Key_L, 1},
        {"no such key", {"&File", "Save && &Load", "&Options"}, {}, 0, Qt::Key_S, 0},
        {"disabled target", {"&File", "Save && &Load", "&Options"}, {1}, 0, Qt::Key_L, 0},
        {"shared key skips the active tab", {"&Alpha", "&Beta", "&Apple"}, {}, 0, Qt::Key_A, 2},
        {"shared key, first in order", {"&Alpha", "&Beta", "&Apple"}, {}, 1, Qt::Key_A, 0},
        {"active tab's own key", {"&Alpha", "&Beta", "&Apple"}, {}, 1, Qt::Key_B, 1},
        {"single tab", {"&Only"}, {}, 0, Qt::Key_O, 0},
    };
    for (const auto& c : cases) {
        StripWindow form(int(c.captions.size()));
        ASSERT_TRUE(form.show());
        for (size_t i = 0; i < c.captions.size(); ++i)
            form.strip->setTabCaption(int(i), QString::fromLatin1(c.captions[i]));
        for (int tab : c.disabled)
            form.strip->setTabEnabled(tab, false);
        form.strip->setActiveTab(c.start);
        QTest::keyClick(form.strip, c.key, Qt::AltModifier);
        EXPECT_EQ(form.strip->ActiveTab(), c.expected) << c.name << " (Alt)";
        // Typed alone while the strip has the focus, lower case counting as upper case.
        form.strip->setActiveTab(c.start);
        QTest::keyClick(form.strip, char(QChar(c.key).toLower().unicode()));
        EXPECT_EQ(form.strip->ActiveTab(), c.expected) << c.name << " (typed)";
    }
}

TEST(TabAccessKeys, KeySetFollowsEveryCaption) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    TabStrip& s = *form.strip;
    s.setTabCaption(0, QStringLiteral("&Alpha"));
    s.setTabCaption(1, QStringLiteral("Beta"));
    s.setTabCaption(2, QStringLiteral("&Apple"));
    EXPECT_EQ(s.AccessKeys(), QList<int>{'A'});
    EXPECT_EQ(s.TabAccessKey(0), 'A');
    EXPECT_EQ(s.TabAccessKey(1), 0);
    // Tab 0 gives up the key it shares with tab 2: tab 2 must keep answering to it.
    s.setTabCaption(0, QStringLiteral("&Zeta"));
    EXPECT_EQ(s.AccessKeys(), (QList<int>{'A', 'Z'}));
    QTest::keyClick(&s, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(s.ActiveTab(), 2);
    QTest::keyClick(&s, Qt::Key_Z, Qt::AltModifier);
    EXPECT_EQ(s.ActiveTab(), 0);
}

void turnWheel(TabStrip& strip, int delta, QPoint at = QPoint(5, 5)) {
    QWheelEvent event(at, strip.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&strip, &event);
}

TEST(TabWheel, TurnsSelectNeighboursAndStopAtTheEnds) {
    const struct {
        const char* name;
        int start;
        std::set<int> disabled;
        std::vector<int> deltas;
        int expected;
        const char* events;
    } cases[] = {
        {"toward the user: next", 1, {}, {-120}, 2, "ScrollUp Before(2) Switch(1)"},
        {"away: previous", 1, {}, {120}, 0, "ScrollDown Before(0) Switch(1)"},
        {"last tab stays", 3, {}, {-120}, 3, "ScrollUp"},
        {"tab 0 stays", 0, {}, {120}, 0, "ScrollDown"},
        {"two notches",
         0,
         {},
         {-240},
         2,
         "ScrollUp Before(1) Switch(0) ScrollUp Before(2) Switch(1)"},
        {"fine wheel adds up", 0, {}, {-40, -40, -40}, 1, "ScrollUp Before(1) Switch(0)"},
        {"fine wheel short of a notch", 0, {}, {-40, -40}, 0, ""},
        {"direction change starts over", 0, {}, {-80, 40, -80}, 0, ""},
        {"active tab disabled", 1, {1}, {-120}, 1, ""},
        {"disabled neighbour", 1, {2}, {-120}, 1, "ScrollUp"},
    };
    for (const auto& c : cases) {
        TabStrip strip;
        strip.resize(300, 200);
        strip.setTabCount(4);
        strip.setActiveTab(c.start);
        for (int tab : c.disabled)
            strip.setTabEnabled(tab, false);
        EventLog log(&strip);
        for (int delta : c.deltas)
            turnWheel(strip, delta);
        EXPECT_EQ(strip.ActiveTab(), c.expected) << c.name;
        EXPECT_EQ(log.entries.join(u' '), QString::fromLatin1(c.events)) << c.name;
    }
}

// A turn as the desktop delivers it: to the widget under the pointer, and on to its
// parents while none takes it.
void turnWheelOver(QWidget& target, int delta, QPoint at = QPoint(5, 5)) {
    QWheelEvent event(at, target.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    // As QTest delivers input: straight to notify, which keeps it spontaneous.
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(&target, &event);
}

TEST(TabWheel, TurnsOverPagesSwitchUnlessTheControlUsesTheWheel) {
    const struct {
        const char* name;
        std::function<QWidget*(QWidget*)> make;
        bool switches;
    } cases[] = {
        {"page", [](QWidget* page) { return page; }, true},
        {"label", [](QWidget* page) { return new QLabel(QStringLiteral("Radius"), page); }, true},
        {"text box", [](QWidget* page) { return new QLineEdit(page); }, true},
        {"list",
         [](QWidget* page) {
             auto* list = new QListWidget(page);
             list->addItems({QStringLiteral("a"), QStringLiteral("b")});
             return list->viewport();
         },
         false},
        {"spin box", [](QWidget* page) { return new QSpinBox(page); }, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StripWindow form(3);
        TabStrip& s = *form.strip;
        auto* page = new QWidget(&s);
        page->setGeometry(10, 40, 250, 150);
        QWidget* target = c.make(page);
        if (target != page)
            target->setGeometry(10, 10, 120, 60);
        form.form()->show();
        turnWheelOver(*target, -120);
        EXPECT_EQ(s.ActiveTab(), c.switches ? 1 : 0);
        s.setUseMouseWheelScroll(false);
        turnWheelOver(*target, -120);
        EXPECT_EQ(s.ActiveTab(), c.switches ? 1 : 0) << "switched off";
    }
    // Over the tab row and the margins, as before.
    TabStrip strip;
    strip.resize(300, 200);
    strip.setUseMouseWheelScroll(false);
    turnWheel(strip, -120);
    EXPECT_EQ(strip.ActiveTab(), 0);
    strip.setUseMouseWheelScroll(true);
    turnWheel(strip, -120);
    EXPECT_EQ(strip.ActiveTab(), 1);
}

TEST(TabMouse, LeftClickInATabSelectsItIfEnabled) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    TabStrip& s = *form.strip;
    EventLog log(&s);
    QTest::mouseClick(&s, Qt::LeftButton, {}, test::tabCentre(s, 2));
    EXPECT_EQ(s.ActiveTab(), 2);
    EXPECT_EQ(log.entries.join(u' '), QStringLiteral("MouseDown Before(2) Switch(0) Click"));

    const struct {
        const char* name;
        Qt::MouseButton button;
        QPoint at;
        bool disableTarget;
    } misses[] = {
        {"right button", Qt::RightButton, test::tabCentre(s, 1), false},
        {"disabled tab", Qt::LeftButton, test::tabCentre(s, 1), true},
        {"below the tab row", Qt::LeftButton, QPoint(test::tabCentre(s, 1).x(), 100), false},
    };
    for (const auto& m : misses) {
        s.setTabEnabled(1, !m.disableTarget);
        QTest::mouseClick(&s, m.button, {}, m.at);
        EXPECT_EQ(s.ActiveTab(), 2) << m.name;
    }
    // Edges count as inside.
    s.setTabEnabled(1, true);
    const QRect r = s.TabRect(1);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(r.left(), r.top()));
    EXPECT_EQ(s.ActiveTab(), 1);
    QTest::mouseClick(&s, Qt::LeftButton, {}, QPoint(s.TabRect(0).right(), s.TabRect(0).bottom()));
    EXPECT_EQ(s.ActiveTab(), 0);
}

TEST(TabMouse, DoubleClickAndPointerEnterLeave) {
    StripWindow form(3);
    ASSERT_TRUE(form.show());
    TabStrip& s = *form.strip;
    QStringList events;
    QObject::connect(&s, &TabStrip::doubleClick, &s, [&] { events << QStringLiteral("DblClick"); });
    QObject::connect(&s, &TabStrip::mouseEnter, &s, [&] { events << QStringLiteral("Enter"); });
    QObject::connect(&s, &TabStrip::mouseLeave, &s, [&] { events << QStringLiteral("Leave"); });
    for (QPoint at : {QPoint(5000, 5000), s.mapToGlobal(QPoint(150, 100)),
                      form.form()->mapToGlobal(QPoint(2, 2))}) {
        QCursor::setPos(at);
        QCoreApplication::processEvents();
    }
    // A double click that arrives without its first press still selects its tab.
    QTest::mouseDClick(&s, Qt::LeftButton, {}, test::tabCentre(s, 1));
    QTest::mouseRelease(&s, Qt::LeftButton, {}, test::tabCentre(s, 1));
    EXPECT_EQ(events, (QStringList{"Enter", "Leave", "DblClick"}));
    EXPECT_EQ(s.ActiveTab(), 1);
}

TEST(TabEvents, SignalsKeepTheirNumberingOrder) {
    const char* order[] = {
        "BeforeTabSwitch",   "TabSwitch",       "Click",           "DblClick",
        "ControlBoxEnter",   "ControlBoxExit",  "ControlBoxHover", "ControlBoxMouseDown",
        "ControlBoxMouseUp", "KeyDown",         "KeyUp",           "KeyPress",
        "MouseDown",         "MouseMove",       "MouseUp",         "MouseHover",
        "MouseScrollUp",     "MouseScrollDown", "TabInsert",       "TabRemove",
        "AfterCompleteInit", "MouseEnter",      "MouseLeave",      "Status"};
    const QMetaObject& meta = TabStrip::staticMetaObject;
    std::vector<QByteArray> signalNames;
    for (int i = meta.methodOffset(); i < meta.methodCount(); ++i) {
        if (meta.method(i).methodType() == QMetaMethod::Signal)
            signalNames.push_back(meta.method(i).name());
    }
    ASSERT_EQ(signalNames.size(), std::size(order));
    for (size_t i = 0; i < signalNames.size(); ++i)
        EXPECT_EQ(signalNames[i], QByteArray(order[i])) << i;
}

TEST(TabEvents, AfterCompleteInitComesOnce) {
    StripWindow form(3);
    int count = 0;
    QObject::connect(form.strip, &TabStrip::afterCompleteInit, form.strip, [&] { ++count; });
    ASSERT_TRUE(form.show());
    form.strip->refresh();
    form.strip->refresh();
    EXPECT_EQ(count, 1);
}

} // namespace
} // namespace ovra
