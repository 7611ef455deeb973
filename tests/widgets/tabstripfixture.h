#pragma once

#include "widgets/tabstrip.h"

#include <QStringList>
#include <QTest>
#include <QWidget>

namespace ovra::test {

// A form holding one strip, shown and active so that shortcuts and focus work.
class StripWindow {
public:
    explicit StripWindow(int tabs = 3, QSize size = QSize(300, 200)) {
        m_form.resize(size.width() + 20, size.height() + 20);
        strip = new TabStrip(&m_form);
        strip->setGeometry(10, 10, size.width(), size.height());
        strip->setTabCount(tabs);
    }

    bool show() {
        m_form.show();
        m_form.activateWindow();
        if (!QTest::qWaitForWindowActive(&m_form))
            return false;
        strip->setFocus();
        return strip->hasFocus();
    }

    QWidget* form() { return &m_form; }

    TabStrip* strip;

private:
    QWidget m_form;
};

// Records the strip's events as short texts, in the order they come.
class EventLog {
public:
    explicit EventLog(TabStrip* strip) {
        QObject::connect(strip, &TabStrip::beforeTabSwitch, strip, [this](int tab, bool* cancel) {
            entries << QStringLiteral("Before(%1)").arg(tab);
            if (cancelNext)
                *cancel = true;
        });
        QObject::connect(strip, &TabStrip::tabSwitch, strip,
                         [this](int last) { entries << QStringLiteral("Switch(%1)").arg(last); });
        QObject::connect(strip, &TabStrip::mouseScrollUp, strip,
                         [this] { entries << QStringLiteral("ScrollUp"); });
        QObject::connect(strip, &TabStrip::mouseScrollDown, strip,
                         [this] { entries << QStringLiteral("ScrollDown"); });
        QObject::connect(strip, &TabStrip::tabInsert, strip,
                         [this](int i) { entries << QStringLiteral("Insert(%1)").arg(i); });
        QObject::connect(strip, &TabStrip::tabRemove, strip,
                         [this](int i) { entries << QStringLiteral("Remove(%1)").arg(i); });
        QObject::connect(strip, &TabStrip::mouseDown, strip,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, float, float) {
                             entries << QStringLiteral("MouseDown");
                         });
        QObject::connect(strip, &TabStrip::click, strip,
                         [this] { entries << QStringLiteral("Click"); });
        QObject::connect(strip, &TabStrip::keyDown, strip, [this](int, Qt::KeyboardModifiers) {
            entries << QStringLiteral("KeyDown");
        });
        QObject::connect(strip, &TabStrip::controlBoxEnter, strip,
                         [this] { entries << QStringLiteral("BoxEnter"); });
        QObject::connect(strip, &TabStrip::controlBoxExit, strip,
                         [this] { entries << QStringLiteral("BoxExit"); });
        QObject::connect(strip, &TabStrip::controlBoxMouseDown, strip, [this](float x, float y) {
            entries << QStringLiteral("BoxDown(%1,%2)").arg(x).arg(y);
        });
        QObject::connect(strip, &TabStrip::status, strip,
                         [this](const QString& text) { entries << text; });
    }

    // The entries that contain `part` (for tests that look at one kind only).
    QStringList only(const QString& part) const { return entries.filter(part); }

    QStringList entries;
    bool cancelNext = false;
};

// The centre of a tab, in the strip's coordinates.
inline QPoint tabCentre(const TabStrip& strip, int tab) {
    return strip.TabRect(tab).center();
}

} // namespace ovra::test
