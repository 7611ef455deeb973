#pragma once

#include <QList>
#include <QWidget>

#include <array>
#include <cstdint>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;

namespace ovra {

class AlarmTable;
class FileChooser;
class MessageSink;
struct ClockSettings;

// The alarms page: lists the clock's alarms and adds, deletes, enables and disables
// them. There is no editing in place: clicking an alarm copies it into the entry
// fields, from which a changed copy can be added. The process's alarm table is
// changed in place and every change is written to the alarm file at once.
class AlarmsPage : public QWidget {
    Q_OBJECT
public:
    struct Services {
        AlarmTable& table;
        const ClockSettings& settings; // 12/24Hour decides how times are listed
        MessageSink& messages;
        FileChooser& files;
        QString alarmFilePath;
    };

    // Button indexes, as the buttons are numbered.
    enum Command { Add = 0, Browse = 1, Delete = 2, Enable = 3, Disable = 4, ChooseSound = 5 };

    // The longest text the note, target and sound boxes take; the record keeps one
    // character less.
    static constexpr int kMaxEntryText = 256;

    explicit AlarmsPage(Services services, QWidget* parent = nullptr);

    // The entry lists back to their first entries, then the alarm list anew.
    void fill();

    void addAlarm();
    void deleteAlarm();
    void setAlarm(bool IsEnable);
    void refreshAlarmList();
    void alarmCommand(int index);
    void actionChosen();
    void alarmChosen(int row);
    void soundEditFinished();

    // The record that list row shows, or -1.
    int recordOfRow(int row) const;
    QList<int> markedRecords() const;

    QComboBox* hourBox() const { return m_hour; }
    QComboBox* minuteBox() const { return m_minute; }
    QComboBox* actionBox() const { return m_action; }
    QComboBox* playTimeBox() const { return m_playTime; }
    QLabel* noteLabel() const { return m_labNote; }
    QPlainTextEdit* noteEdit() const { return m_note; }
    QLineEdit* targetEdit() const { return m_param; }
    QLineEdit* soundEdit() const { return m_sound; }
    QListWidget* alarmList() const { return m_list; }
    QPushButton* alarmButton(int index) const { return m_buttons.at(size_t(index)); }
    // The box of a day of the week, 1 Monday to 7 Sunday.
    QCheckBox* checkDay(int dayOfWeek) const { return m_days.at(size_t(dayOfWeek - 1)); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void save();
    void limitNote();
    void setDays(uint8_t days);
    uint8_t checkedDays() const;

    Services m_s;
    QComboBox* m_hour;
    QComboBox* m_minute;
    QComboBox* m_action;
    QComboBox* m_playTime;
    QLabel* m_labNote;
    QPlainTextEdit* m_note;
    QLineEdit* m_param;
    QLineEdit* m_sound;
    QListWidget* m_list;
    std::array<QPushButton*, 6> m_buttons{};
    std::array<QCheckBox*, 7> m_days{}; // by day of week, Monday first
    // List row -> record index. Only enabled and disabled records are listed, so a
    // damaged file's odd record must not shift the marks onto its neighbours.
    QList<int> m_rowRecords;
    bool m_refreshing = false;
};

} // namespace ovra
