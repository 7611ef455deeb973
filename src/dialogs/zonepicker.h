#pragma once

#include "time/zonetable.h"

#include <QDateTime>
#include <QObject>
#include <QTimer>

#include <memory>

class QComboBox;
class QCompleter;
class QLabel;
class QLineEdit;
class QLocale;
class QStandardItemModel;
class QWidget;

namespace ovra {

class TimeSource;
class ZoneFinder;

// How a place that no row carries is listed: as the rows are, by its standard
// offset and its city ("(UTC+12:45) Chatham").
QString placeEntryText(const QByteArray& zoneName, const QDateTime& nowUtc);

// A choice as the list shows it: the row's text, or the place's entry.
QString choiceText(const ZoneChoice& choice, const QDateTime& nowUtc);

// "Now UTC+13:00, Wednesday 03:29": where a clock showing clockTime stands against
// utc, in the locale's words.
QString zoneNowText(const QDateTime& utc, const QDateTime& clockTime, const QLocale& locale);

// The Add Clock zone choice: a find field, the zone list and a line with the chosen
// place's time now. The list holds the 97 rows of the table at their own indices
// and, below a separator, the places found by typing that no row carries (with
// the row that keeps their offsets best). Typing in the find field offers every
// place the system's zone database knows; Up, Down and Enter choose one, and a
// single match is taken by Enter alone. Typing on the list itself goes to the find
// field, since every entry begins with "(UTC".
class ZonePicker : public QObject {
    Q_OBJECT
public:
    ZonePicker(const TimeSource& time, QWidget* parent);
    ~ZonePicker() override;

    QLineEdit* findField() const { return m_find; }
    QComboBox* list() const { return m_list; }
    QLabel* nowLine() const { return m_now; }

    // Fills the rows on the first call; then selects the choice, adding an entry
    // for a zone no row carries.
    void select(const ZoneChoice& choice);
    ZoneChoice current() const;

signals:
    // The user chose a place, from the list or by finding it.
    void chosen(const ZoneChoice& choice);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& text);
    void takeMatch(int index);
    void updateNowLine();

    const TimeSource& m_time;
    QLineEdit* m_find;
    QComboBox* m_list;
    QLabel* m_now;
    QCompleter* m_completer;
    QStandardItemModel* m_matchModel;
    // Reading the whole zone database takes a moment: built on the first search.
    std::unique_ptr<ZoneFinder> m_finder;
    QList<ZoneChoice> m_matches;
    QTimer m_minute; // keeps the time line current while the page is open
};

} // namespace ovra
