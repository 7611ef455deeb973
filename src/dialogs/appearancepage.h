#pragma once

#include <QWidget>

#include <array>

class QPushButton;

namespace ovra {

class ColourPicker;
class ColourRow;
class SizeField;
struct ClockSettings;

// The appearance page: the four size fields, the seven colour rows and the page's
// "Restore Default Settings". The texts are the only carriers of an edit until
// apply reads them back.
class AppearancePage : public QWidget {
    Q_OBJECT
public:
    // applied is the record the clock runs with; a colour row starts its alpha
    // dialog from the applied colour when the user keeps the colour shown.
    AppearancePage(ColourPicker& picker, const ClockSettings& applied, QWidget* parent = nullptr);

    void fill(const ClockSettings& settings);
    // Colours, then sizes, by numeric reading. A number too large to read leaves its
    // field as it was; nothing is range-checked here.
    void readInto(ClockSettings& settings) const;

    SizeField* hourWidthField() const { return m_sizes[0]; }
    SizeField* minuteWidthField() const { return m_sizes[1]; }
    SizeField* secondWidthField() const { return m_sizes[2]; }
    SizeField* radiusField() const { return m_sizes[3]; }
    const std::array<SizeField*, 4>& sizeFields() const { return m_sizes; }
    // Row index as in the colour table, 0 the AM/24-hour ring.
    ColourRow* colourRow(int index) const { return m_colours.at(size_t(index)); }
    QPushButton* resetButton() const { return m_reset; }

signals:
    void resetRequested();

private:
    std::array<SizeField*, 4> m_sizes{};
    std::array<ColourRow*, 7> m_colours{};
    QPushButton* m_reset;
};

} // namespace ovra
