#include "clock/clockaccessible.h"

#include "clock/clocklayout.h"
#include "clock/clockwindow.h"
#include "clock/hotbutton.h"

#include <QAccessibleActionInterface>
#include <QCoreApplication>
#include <QPointer>

namespace ovra {

namespace {

// The strip's buttons, top to bottom, as the hot-button states number them.
constexpr std::array<int32_t, 3> kStripButtons = {hotbutton::Close, hotbutton::Settings,
                                                  hotbutton::Grip};

QString buttonName(int32_t button) {
    switch (button) {
    case hotbutton::Close:
        return QCoreApplication::translate("ovra::ClockAccessible", "Close");
    case hotbutton::Settings:
        return QCoreApplication::translate("ovra::ClockAccessible", "Settings");
    default:
        return QCoreApplication::translate("ovra::ClockAccessible", "Move");
    }
}

// One button of the strip. It is there for a screen reader whether or not the
// pointer has made the strip show.
class StripButtonAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    StripButtonAccessible(ClockWindow* clock, int32_t button) : m_clock(clock), m_button(button) {}

    bool isValid() const override { return !m_clock.isNull(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_clock.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::Button; }
    QString text(QAccessible::Text t) const override {
        return t == QAccessible::Name ? buttonName(m_button) : QString();
    }
    void setText(QAccessible::Text, const QString&) override {}
    QAccessible::State state() const override {
        QAccessible::State s;
        s.invalid = !isValid();
        s.invisible = isValid() && !m_clock->isVisible();
        s.hotTracked = isValid() && m_clock->hotButton() == m_button;
        return s;
    }
    QRect rect() const override {
        if (!isValid())
            return {};
        // The strip's cells stand in the right-hand margin, the first level with
        // the dial's top edge.
        const int row = int(std::find(kStripButtons.begin(), kStripButtons.end(), m_button) -
                            kStripButtons.begin());
        const QRect local(m_clock->width() - kFaceMargin, kFaceMargin * (1 + row), kFaceMargin,
                          kFaceMargin);
        return QRect(m_clock->mapToGlobal(local.topLeft()), local.size());
    }
    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    // The grip pressed hands the window to the window manager's move by the arrow
    // keys; where no window manager offers one, there is nothing to press.
    QStringList actionNames() const override {
        return pressable() ? QStringList{pressAction()} : QStringList();
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }
    void doAction(const QString& name) override {
        if (name != pressAction() || !pressable())
            return;
        // Not within the reader's call: closing takes the window, and this
        // interface, away.
        QPointer<ClockWindow> clock = m_clock;
        const int32_t button = m_button;
        QMetaObject::invokeMethod(
            m_clock.data(),
            [clock, button] {
                if (clock)
                    clock->pressStripButton(button);
            },
            Qt::QueuedConnection);
    }

private:
    bool pressable() const {
        return isValid() && (m_button != hotbutton::Grip || m_clock->canMoveByKeyboard());
    }

    QPointer<ClockWindow> m_clock;
    int32_t m_button;
};

QAccessibleInterface* clockFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(ClockWindow::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new ClockAccessible(static_cast<ClockWindow*>(object));
    return nullptr;
}

} // namespace

QString accessibleClockName(const QString& clockName) {
    return QStringLiteral("Ovra Clock – %1").arg(clockName);
}

QString spokenClockTime(const QDateTime& clockTime, bool twentyFourHour, const QLocale& locale) {
    const QString time = locale.toString(
        clockTime.time(), twentyFourHour ? QStringLiteral("HH:mm") : QStringLiteral("h:mm AP"));
    //: The clock's time and date as a screen reader speaks them: %1 the time, %2 the date.
    return QCoreApplication::translate("ovra::ClockAccessible", "%1, %2")
        .arg(time, locale.toString(clockTime.date(), QLocale::LongFormat));
}

ClockAccessible::ClockAccessible(ClockWindow* clock)
    : QAccessibleWidget(clock, QAccessible::Window) {}

ClockAccessible::~ClockAccessible() {
    for (const QAccessible::Id id : m_buttons)
        if (id)
            QAccessible::deleteAccessibleInterface(id);
}

void ClockAccessible::install() {
    static const bool installed = (QAccessible::installFactory(&clockFactory), true);
    Q_UNUSED(installed);
}

ClockWindow* ClockAccessible::clock() const {
    return static_cast<ClockWindow*>(widget());
}

QString ClockAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        return accessibleClockName(clock()->clockName());
    case QAccessible::Description:
        return clock()->clockTime().isValid()
                   ? spokenClockTime(clock()->clockTime(), clock()->twentyFourHour())
                   : QString();
    default:
        return QAccessibleWidget::text(t);
    }
}

int ClockAccessible::childCount() const {
    return int(kStripButtons.size());
}

QAccessibleInterface* ClockAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    QAccessible::Id& id = m_buttons[size_t(index)];
    if (!id)
        id = QAccessible::registerAccessibleInterface(
            new StripButtonAccessible(clock(), kStripButtons[size_t(index)]));
    return QAccessible::accessibleInterface(id);
}

int ClockAccessible::indexOfChild(const QAccessibleInterface* child) const {
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (size_t i = 0; i < m_buttons.size(); ++i)
        if (m_buttons[i] && m_buttons[i] == id)
            return int(i);
    return -1;
}

QAccessibleInterface* ClockAccessible::childAt(int x, int y) const {
    for (int i = 0; i < childCount(); ++i)
        if (child(i)->rect().contains(x, y))
            return child(i);
    return nullptr;
}

void ClockAccessible::minuteShown(ClockWindow* clock) {
    if (!QAccessible::isActive() || !clock->hasFocus())
        return;
    QAccessibleEvent event(clock, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}

} // namespace ovra
