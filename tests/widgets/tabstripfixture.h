#pragma once

#include "widgets/uctabstrip.h"

#include <QStringList>
#include <QTest>
#include <QWidget>

namespace ovra::test {

// A form holding one strip, shown and active so that shortcuts and focus work.
class StripForm {
public:
    explicit StripForm(int tabs = 3, QSize size = QSize(300, 200)) {
        m_form.resize(size.width() + 20, size.height() + 20);
        strip = new ucTabStrip(&m_form);
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

    ucTabStrip* strip;

private:
    QWidget m_form;
};

// Records the strip's events as short texts, in the order they come.
class EventLog {
public:
    explicit EventLog(ucTabStrip* strip) {
        QObject::connect(strip, &ucTabStrip::BeforeTabSwitch, strip, [this](int tab, bool* cancel) {
            entries << QStringLiteral("Before(%1)").arg(tab);
            if (cancelNext)
                *cancel = true;
        });
        QObject::connect(strip, &ucTabStrip::TabSwitch, strip,
                         [this](int last) { entries << QStringLiteral("Switch(%1)").arg(last); });
        QObject::connect(strip, &ucTabStrip::MouseScrollUp, strip,
                         [this] { entries << QStringLiteral("ScrollUp"); });
        QObject::connect(strip, &ucTabStrip::MouseScrollDown, strip,
                         [this] { entries << QStringLiteral("ScrollDown"); });
        QObject::connect(strip, &ucTabStrip::TabInsert, strip,
                         [this](int i) { entries << QStringLiteral("Insert(%1)").arg(i); });
        QObject::connect(strip, &ucTabStrip::TabRemove, strip,
                         [this](int i) { entries << QStringLiteral("Remove(%1)").arg(i); });
        QObject::connect(strip, &ucTabStrip::MouseDown, strip,
                         [this](Qt::MouseButton, Qt::KeyboardModifiers, float, float) {
                             entries << QStringLiteral("MouseDown");
                         });
        QObject::connect(strip, &ucTabStrip::Click, strip,
                         [this] { entries << QStringLiteral("Click"); });
        QObject::connect(strip, &ucTabStrip::KeyDown, strip, [this](int, Qt::KeyboardModifiers) {
            entries << QStringLiteral("KeyDown");
        });
        QObject::connect(strip, &ucTabStrip::ControlBoxEnter, strip,
                         [this] { entries << QStringLiteral("BoxEnter"); });
        QObject::connect(strip, &ucTabStrip::ControlBoxExit, strip,
                         [this] { entries << QStringLiteral("BoxExit"); });
        QObject::connect(strip, &ucTabStrip::ControlBoxMouseDown, strip, [this](float x, float y) {
            entries << QStringLiteral("BoxDown(%1,%2)").arg(x).arg(y);
        });
        QObject::connect(strip, &ucTabStrip::Status, strip,
                         [this](const QString& text) { entries << text; });
    }

    // The entries that contain `part` (for tests that look at one kind only).
    QStringList only(const QString& part) const { return entries.filter(part); }

    QStringList entries;
    bool cancelNext = false;
};

// The centre of a tab, in the strip's coordinates.
inline QPoint tabCentre(const ucTabStrip& strip, int tab) {
    return strip.TabRect(tab).center();
}

} // namespace ovra::test
