#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;

namespace ovra {

struct ClockSettings;

// The general page: six choice lists, each storing the index of its entry in one
// field of the settings record, and the page's "Restore Default Settings".
class GeneralPage : public QWidget {
    Q_OBJECT
public:
    explicit GeneralPage(QWidget* parent = nullptr);

    // Selects each list's entry from the record; the autorun list shows whether
    // the autostart entry starts the clock (entryStartsClock) rather than the
    // record's wish. A value outside a list's range leaves that list as it was.
    void fill(const ClockSettings& settings, bool entryStartsClock);
    void selectAutorun(bool entryStartsClock);
    // The lists' indices into the record; a list without a selection gives -1.
    void readInto(ClockSettings& settings) const;

    QComboBox* onTopBox() const { return m_onTop; }
    QComboBox* scaleBox() const { return m_displayScale; }
    QComboBox* opacityBox() const { return m_opacity; }
    QComboBox* autorunBox() const { return m_autorun; }
    QComboBox* timeFormatBox() const { return m_timeFormat; }
    QComboBox* timeStandardBox() const { return m_dst; }
    QPushButton* resetButton() const { return m_reset; }
    // The clock's zone and its time now under the chosen standard, which the
    // dialog keeps current.
    QLabel* zoneLine() const { return m_zone; }

signals:
    // The user chose an entry of the opacity list.
    void opacityChosen(int index);
    void resetRequested();

private:
    QComboBox* m_onTop;
    QComboBox* m_displayScale;
    QComboBox* m_opacity;
    QComboBox* m_autorun;
    QComboBox* m_timeFormat;
    QComboBox* m_dst;
    QLabel* m_zone;
    QPushButton* m_reset;
};

} // namespace ovra
