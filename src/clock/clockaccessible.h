#pragma once

#include <QAccessibleWidget>
#include <QDateTime>
#include <QLocale>

#include <array>

namespace ovra {

class ClockWindow;

// What a screen reader says of the clock window: its name, and the time and date
// shown, to the minute so that it does not change every second.
QString accessibleClockName(const QString& clockName);
QString spokenClockTime(const QDateTime& clockTime, bool twentyFourHour,
                        const QLocale& locale = QLocale());

// The clock window for assistive technology: a window named after the clock, the
// time and date shown as its description, and the strip's three buttons as
// children that can be pressed.
class ClockAccessible final : public QAccessibleWidget {
public:
    explicit ClockAccessible(ClockWindow* clock);
    ~ClockAccessible() override;

    // Makes the toolkit build this interface for every clock window; once per process.
    static void install();

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;

    // The minute shown has changed: a clock with the keyboard tells its reader the
    // new description; one without stays quiet.
    static void minuteShown(ClockWindow* clock);

private:
    ClockWindow* clock() const;
    mutable std::array<QAccessible::Id, 3> m_buttons{};
};

} // namespace ovra
