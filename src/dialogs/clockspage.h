#pragma once

#include "dialogs/configservices.h"

#include <QList>
#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace ovra {

class DisplayNameEdit;
class ZonePicker;
struct ZoneChoice;

// The clocks page: adds a clock in a chosen zone, and runs, stops, deletes or
// refreshes the clocks marked in the list. Entry i of the list is clock i of the
// clock list as last loaded; a command acts on the clocks marked, by name, in the
// list as it is then.
class ClocksPage : public QWidget {
    Q_OBJECT
public:
    // Button indexes, as the buttons are numbered.
    enum Command { Add = 0, Delete = 1, Run = 2, Stop = 3, refresh = 4 };

    ClocksPage(const ConfigServices& services, QWidget* parent = nullptr);

    // The zone list is filled on the first fill only; either way `zone` is
    // selected. Then the clock list is refreshed.
    void fill(bool refill, const ZoneChoice& zone);
    void refreshClockList();
    void clockCommand(int index);

    QComboBox* zoneBox() const;
    QLineEdit* zoneFindField() const;
    QLabel* zoneNowLine() const;
    DisplayNameEdit* nameEdit() const { return m_name; }
    QListWidget* clockList() const { return m_list; }
    QPushButton* clockButton(int index) const { return m_buttons.at(size_t(index)); }

private:
    void addClock();
    void deleteClocks();
    void runClocks();
    void stopClocks();
    // Reloads the clock list and returns the marked rows that name one of its
    // clocks, in ascending order.
    QList<int> reloadAndReadMarks();
    void waitAndRefresh();
    void nameAfterZone(const ZoneChoice& zone);
    static QString initialName();

    ConfigServices m_s;
    ZonePicker* m_zones;
    DisplayNameEdit* m_name;
    QListWidget* m_list;
    std::array<QPushButton*, 5> m_buttons{};
    QString m_nameFromZone;    // the city last filled in, so the next choice may replace it
    QStringList m_listedNames; // the clock of each entry of the list, as shown
};

} // namespace ovra
