#pragma once

#include "dialogs/configservices.h"
#include "settings/clocksettings.h"
#include "time/zonetable.h"

#include <QTimer>

#include <optional>

#include <QDialog>

#include <array>

class QPushButton;

namespace ovra {

class AlarmsPage;
class AppearancePage;
class ClocksPage;
class GeneralPage;
class TabStrip;

// A dialog's caption followed by the name of the clock it belongs to, so that the
// windows of several clocks can be told apart: "Ovra Clock Configuration - Tokyo".
QString captionForClock(const QString& caption, const QString& clockName);

// "Ovra Clock Configuration" and the clock's name: the settings of the clock this process shows, on
// four pages in a tab strip (general choices, appearance, clocks, alarms) with "About", "Apply" and
// "OK" below them. It edits the process's settings record in place; "Apply" and "OK" store it and
// rebuild the clock. Modeless: the clock keeps running while it is open. Closing it any other way
// than "OK" applies nothing, except that an opacity choice reaches the record at once.
class SettingsDialog : public QDialog {
    Q_OBJECT
public:
    enum Page { General = 0, Appearance = 1, Clocks = 2, Alarms = 3 };
    // Button indexes, as the buttons are numbered (left to right: About, Apply, OK).
    enum Command { OK = 0, About = 1, Apply = 2 };

    static constexpr const char* kCaption = QT_TR_NOOP("Ovra Clock Configuration");

    // Loads the dialog: kept above other windows when the clock is, filled from the
    // record, with the focus on the tab strip.
    explicit SettingsDialog(const ConfigServices& services, QWidget* owner = nullptr);
    ~SettingsDialog() override;

    // Fills every page from the record and the lists. refill is false on the first
    // fill and true when a reset refills the dialog.
    void iniData(bool refill);
    // Reads every page back into the record, applies it to the clock and stores it.
    void applyConfig();
    void dialogCommand(int index);
    // 0: the appearance page's reset, 1: the general page's.
    void resetPage(int index);

    TabStrip* pageTabs() const { return m_tabs; }
    QWidget* pageAt(int index) const { return m_pages.at(size_t(index)); }
    GeneralPage* generalPage() const { return m_general; }
    AppearancePage* appearancePage() const { return m_appearance; }
    ClocksPage* clocksPage() const { return m_clocks; }
    AlarmsPage* alarmsPage() const { return m_alarms; }
    QPushButton* dialogButton(int index) const { return m_buttons.at(size_t(index)); }

protected:
    void showEvent(QShowEvent* event) override;

private:
    void buildTabStrip();
    void placePages();
    // Brings a page to the front; the others are hidden, so that neither the Tab key
    // nor their access keys reach controls that are out of sight.
    void showPage(int index);
    // Ctrl+Tab and Ctrl+Page Down (step 1), Ctrl+Shift+Tab and Ctrl+Page Up (-1):
    // the next or previous page that can be chosen, from anywhere in the dialog.
    void stepPage(int step);
    // The keyboard goes into the page in front, to its first control.
    void focusPage();
    // The General page's zone line, for the standard chosen there now.
    void updateZoneLine();
    // The zone of this clock, or for the Default clock the computer's.
    ZoneChoice clockZone() const;
    // The record as the pages show it now, typed changes included.
    ClockSettings pageValues() const;
    // Brings the pages in line with changes the clock's record took elsewhere (its
    // menu, its keys) since they were shown, wherever the user has not changed the
    // field here.
    void followRecord();
    // The clock's settings as the store holds them now; nothing when unreadable.
    std::optional<ClockSettings> storedSettings() const;
    // Gives the record what another process changed in the store since last time.
    void takeStoredChanges();

    ConfigServices m_s;
    TabStrip* m_tabs;
    GeneralPage* m_general;
    AppearancePage* m_appearance;
    ClocksPage* m_clocks;
    AlarmsPage* m_alarms;
    std::array<QWidget*, 4> m_pages{};
    std::array<QPushButton*, 3> m_buttons{};
    bool m_focusGiven = false;
    // The record as the pages were last filled from it, and what the pages then
    // showed: Apply takes over only the fields the user changed (or that a page
    // could not show), so what changed elsewhere is not undone.
    ClockSettings m_shownFrom;
    ClockSettings m_storedFrom; // the store, as last seen
    ClockSettings m_shown;
    QTimer m_followTimer;
    // OK, Apply or a reset is storing the record: the clock's own re-apply is not
    // a change to follow.
    bool m_applying = false;
};

} // namespace ovra
