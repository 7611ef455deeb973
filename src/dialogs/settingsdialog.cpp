#include "dialogs/settingsdialog.h"

#include "base/clockname.h"
#include "dialogs/alarmspage.h"
#include "dialogs/appearancepage.h"
#include "dialogs/clockspage.h"
#include "dialogs/comboaccessible.h"
#include "dialogs/generalpage.h"
#include "dialogs/zonepicker.h"
#include "settings/autorun.h"
#include "settings/settingsstore.h"
#include "time/clocktime.h"
#include "time/zonetable.h"
#include "widgets/tabstrip.h"
#include "widgets/tabstripaccessible.h"
#include "widgets/tabstriplayout.h"

#include <QComboBox>

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>
#include <optional>
#include <span>

#include <algorithm>

namespace ovra {

namespace {
// Space between the page area's border and a page.
constexpr int kPageMargin = 8;
} // namespace

QString captionForClock(const QString& caption, const QString& clockName) {
    //: A window's title and the clock it belongs to; the dash the language's titles use.
    return SettingsDialog::tr("%1 - %2").arg(caption, shownClockName(clockName));
}

SettingsDialog::SettingsDialog(const ConfigServices& services, QWidget* owner)
    : QDialog(owner), m_s(services) {
    setWindowTitle(captionForClock(tr(kCaption), m_s.app.state().clockName));
    setObjectName(QStringLiteral("FrmConfig"));
    setModal(false);
    // The dialog belongs to the clock window when it has an owner, but must never
    // take the clock window's looks (frameless, transparent) with it. It is an
    // ordinary window, not a dialog, to the window manager: some (openbox) minimise
    // the window a dialog belongs to along with it, the clock, and others (mutter)
    // do not minimise a dialog at all.
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    TabStripAccessible::install();
    ComboAccessible::install();
    m_tabs = new TabStrip(this);
    m_tabs->setObjectName(QStringLiteral("TabConfig"));
    buildTabStrip();

    ClockSettings& settings = m_s.app.settings();
    m_general = new GeneralPage;
    m_appearance = new AppearancePage(m_s.colours, settings);
    m_clocks = new ClocksPage(m_s);
    m_alarms = new AlarmsPage(
        {m_s.app.alarms(), settings, m_s.app.messages(), m_s.files, m_s.app.paths().alarmFilePath});
    m_pages = {m_general, m_appearance, m_clocks, m_alarms};
    for (size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setObjectName(QStringLiteral("PicConfig%1").arg(i));
    placePages();

    const std::array<QString, 3> captions = {tr("&OK"), tr("Abo&ut"), tr("&Apply")};
    for (size_t i = 0; i < captions.size(); ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QStringLiteral("CmdConfig%1").arg(i));
        // Enter must not close the dialog from a text box by surprise.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { dialogCommand(int(i)); });
        m_buttons[i] = button;
    }
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    for (const Command c : {About, Apply, OK})
        buttonRow->addWidget(m_buttons[c]);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(buttonRow);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Tab order: the strip, the page in front, then the buttons left to right.
    setTabOrder(m_buttons[About], m_buttons[Apply]);
    setTabOrder(m_buttons[Apply], m_buttons[OK]);

    connect(m_tabs, &TabStrip::tabSwitch, this, [this] {
        // A tab's access key, pressed from a field of the page that goes, leads into
        // the page that comes; arrows and clicks on the strip leave the keyboard there.
        const bool fromStrip = m_tabs->hasFocus();
        showPage(m_tabs->ActiveTab());
        if (!fromStrip)
            focusPage();
    });
    const std::pair<QKeySequence, int> pageKeys[] = {
        {QKeySequence(Qt::CTRL | Qt::Key_Tab), 1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageDown), 1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab), -1},
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab), -1},
        {QKeySequence(Qt::CTRL | Qt::Key_PageUp), -1},
    };
    for (const auto& [keys, step] : pageKeys) {
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, step = step] { stepPage(step); });
    }
    connect(m_general, &GeneralPage::opacityChosen, this,
            [this](int index) { m_s.app.settings().BackgroundOpacity = index; });
    connect(m_general, &GeneralPage::resetRequested, this, [this] { resetPage(1); });
    connect(m_general->timeStandardBox(), &QComboBox::currentIndexChanged, this,
            &SettingsDialog::updateZoneLine);
    connect(m_appearance, &AppearancePage::resetRequested, this, [this] { resetPage(0); });

    if (settings.AlwaysOnTop == 1)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    iniData(false);
    m_tabs->setFocus(Qt::OtherFocusReason);
    // The record changes without telling anyone (the clock's menu and keys write it
    // in place): a look once a second is enough for a dialog a person reads.
    m_followTimer.setInterval(1000);
    connect(&m_followTimer, &QTimer::timeout, this, &SettingsDialog::followRecord);
    m_followTimer.start();
}

SettingsDialog::~SettingsDialog() = default;

void SettingsDialog::buildTabStrip() {
    TabStrip& t = *m_tabs;
    t.setTabCount(4);
    t.setTabStyle(1);
    t.setTabTheme(1);
    t.setXRadius(3);
    t.setYRadius(3);
    t.setActiveTabHeight(22);
    t.setInActiveTabHeight(20);
    QFont inactive(QStringLiteral("Arial"));
    inactive.setPointSizeF(font().pointSizeF());
    QFont active = inactive;
    active.setBold(true);
    t.setActiveTabFont(active);
    t.setInActiveTabFont(inactive);
    t.setShowFocusRect(false);
    t.setActiveTabBackStartColor(0x00FBFDFB);
    t.setActiveTabBackEndColor(0x00FBFDFB);
    t.setInActiveTabBackStartColor(0x00FFFFFF);
    t.setInActiveTabBackEndColor(0x00EAF0F0);
    t.setBackColor(0x00FBFDFB);
    t.setOuterBorderColor(0x009B9C91);
    t.setDisabledTabForeColor(0x00A0A0A0);
    t.setDisabledTabBackColor(0x8000000F);
    t.setForeColor(0x80000012);
    t.setPictureMaskColor(0x00FF00FF);
    t.setTabCaption(1, tr("A&ppearance"));
    t.setTabCaption(2, tr("&Clocks"));
    t.setTabCaption(3, tr("Alar&ms"));
}

void SettingsDialog::placePages() {
    // All pages share one rectangle, as large as the largest page needs.
    QSize pageSize(0, 0);
    for (QWidget* page : m_pages)
        pageSize = pageSize.expandedTo(page->sizeHint());
    const int row =
        TabStripLayout::rowHeight(m_tabs->ActiveTabHeight(), m_tabs->InActiveTabHeight());
    m_tabs->setFixedSize(pageSize.width() + 2 * kPageMargin,
                         row + pageSize.height() + 2 * kPageMargin);
    const QRect area = TabStripLayout::pageRect(m_tabs->size(), row);
    const int left = area.left() + kPageMargin;
    const int top = area.top() + kPageMargin;
    for (size_t i = 0; i < m_pages.size(); ++i)
        m_tabs->addControl(m_pages[i], left, top, pageSize.width(), pageSize.height(), int(i));
    m_tabs->setActiveTab(0);
    showPage(0);
}

void SettingsDialog::showPage(int index) {
    for (size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setVisible(int(i) == index);
    if (index >= 0 && index < int(m_pages.size()))
        m_pages[size_t(index)]->raise();
}

void SettingsDialog::stepPage(int step) {
    const int count = m_tabs->TabCount();
    for (int i = 1; i < count; ++i) {
        const int tab = ((m_tabs->ActiveTab() + step * i) % count + count) % count;
        if (m_tabs->TabEnabled(tab)) {
            m_tabs->setActiveTab(tab); // the switch shows the page, as for a click
            return;
        }
    }
}

void SettingsDialog::focusPage() {
    const int index = m_tabs->ActiveTab();
    if (index < 0 || index >= int(m_pages.size()))
        return;
    QWidget* page = m_pages[size_t(index)];
    // The page's controls in the order Tab visits them.
    for (QWidget* w = page->nextInFocusChain(); w && w != page; w = w->nextInFocusChain()) {
        if (!page->isAncestorOf(w))
            continue;
        if (w->isVisibleTo(page) && w->isEnabled() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void SettingsDialog::iniData(bool refill) {
    if (!refill) {
        m_tabs->setTabCaption(0, tr("&General"));
        m_tabs->setActiveTab(0);
        showPage(0);
    }
    const ClockSettings& s = m_s.app.settings();
    m_appearance->fill(s);
    m_general->fill(s, m_s.autorun.getAutorunChoice());
    m_clocks->fill(refill, clockZone());
    m_alarms->fill();
    updateZoneLine();
    m_shownFrom = s;
    m_shown = pageValues();
    m_storedFrom = storedSettings().value_or(s);
}

namespace {
// The fields each page shows; the rest of the record is not the dialog's to change.
using Field = int32_t ClockSettings::*;
constexpr Field kGeneralFields[] = {&ClockSettings::AlwaysOnTop,       &ClockSettings::DisplayScale,
                                    &ClockSettings::BackgroundOpacity, &ClockSettings::HourMode,
                                    &ClockSettings::TimeStandard,      &ClockSettings::Autorun};
constexpr Field kAppearanceFields[] = {
    &ClockSettings::HourCircleWidth,     &ClockSettings::MinuteCircleWidth,
    &ClockSettings::SecondCircleWidth,   &ClockSettings::ClockRadius,
    &ClockSettings::AM24HourCircleColor, &ClockSettings::PMHourCircleColor,
    &ClockSettings::MinuteCircleColor,   &ClockSettings::SecondCircleColor,
    &ClockSettings::TimeFontColor,       &ClockSettings::DateFontColor,
    &ClockSettings::ClockScaleColor};
} // namespace

ClockSettings SettingsDialog::pageValues() const {
    ClockSettings values = m_s.app.settings();
    m_general->readInto(values);
    m_appearance->readInto(values);
    return values;
}

std::optional<ClockSettings> SettingsDialog::storedSettings() const {
    ClockState stored = m_s.app.state();
    int rc = status::Success;
    readClockSettings(m_s.app.store(), stored, &rc);
    if (rc != status::Success)
        return std::nullopt;
    normalizeSettings(stored.settings);
    return stored.settings;
}

void SettingsDialog::takeStoredChanges() {
    const std::optional<ClockSettings> stored = storedSettings();
    if (!stored)
        return;
    // Another process wrote this clock's settings since the dialog last looked: the
    // record takes what it changed, so that the pages show it and Apply keeps it.
    ClockSettings& record = m_s.app.settings();
    for (const std::span<const Field> fields :
         {std::span<const Field>(kGeneralFields), std::span<const Field>(kAppearanceFields)})
        for (const Field f : fields)
            if (f != &ClockSettings::Autorun && (*stored).*f != m_storedFrom.*f)
                record.*f = (*stored).*f;
    m_storedFrom = *stored;
}

void SettingsDialog::followRecord() {
    takeStoredChanges();
    const ClockSettings& record = m_s.app.settings();
    ClockSettings shown = pageValues();
    QList<Field> followed;
    // The autostart choice shows the entry on disk, not the record.
    const auto follow = [&](std::span<const Field> fields) {
        bool refill = false;
        for (const Field f : fields) {
            if (f == &ClockSettings::Autorun || record.*f == m_shownFrom.*f)
                continue;
            if (shown.*f == m_shown.*f) {
                shown.*f = record.*f;
                refill = true;
            }
            followed << f;
        }
        return refill;
    };
    if (follow(kGeneralFields)) {
        m_general->fill(shown, shown.Autorun);
        updateZoneLine();
    }
    if (follow(kAppearanceFields))
        m_appearance->fill(shown);
    const ClockSettings now = pageValues();
    for (const Field f : followed) {
        m_shownFrom.*f = record.*f;
        if (shown.*f == record.*f)
            m_shown.*f = now.*f;
    }
}

void SettingsDialog::updateZoneLine() {
    ClockState state = m_s.app.state();
    if (const int standard = m_general->timeStandardBox()->currentIndex(); standard >= 0)
        state.settings.TimeStandard = standard;
    const TimeSource& time = m_s.app.timeSource();
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(time.nowUtc().toSecsSinceEpoch(), Qt::UTC);
    //: %1 is a zone as the zone list shows it.
    m_general->zoneLine()->setText(
        tr("Time zone: %1").arg(choiceText(clockZone(), utc)) + u'\n' +
        zoneNowText(utc, clockTime(utc, time.systemZone(), clockTimeInput(state)), QLocale()));
}

ZoneChoice SettingsDialog::clockZone() const {
    const ClockState& state = m_s.app.state();
    const ZoneChoice stored{state.settings.TimeZoneIndex, state.settings.TimeZoneName};
    if (!state.isDefaultClock())
        return stored;
    // The Default clock's row stands for the computer's zone; where no row keeps
    // that zone's time, its name goes with it, so Add makes a clock that does.
    const TimeSource& time = m_s.app.timeSource();
    const ZoneChoice computer = computerZoneChoice(time.systemZone(), time.nowUtc());
    return computer.row == stored.row ? computer : ZoneChoice{stored.row, {}};
}

void SettingsDialog::applyConfig() {
    takeStoredChanges();
    ClockSettings& s = m_s.app.settings();
    const ClockSettings edited = pageValues();
    // Only what the user changed here goes over the record: "Always on Top" ticked
    // in the clock's menu while the dialog was open stays ticked.
    for (const std::span<const Field> fields :
         {std::span<const Field>(kGeneralFields), std::span<const Field>(kAppearanceFields)})
        for (const Field f : fields)
            if (edited.*f != m_shown.*f || m_shown.*f != m_shownFrom.*f)
                s.*f = edited.*f;
    // Not stored: the pages keep what the user set, and so does the record they
    // are compared with, so that Apply tries the same changes again.
    if (!m_s.app.applyClockSettings())
        return;
    m_s.autorun.syncAutorunEntry(m_s.app.settings().Autorun);
    writeClockSettings(m_s.app.store(), m_s.app.state());
    // The fields now show what was stored, not the text that was typed.
    m_general->fill(m_s.app.settings(), m_s.autorun.getAutorunChoice());
    m_appearance->fill(m_s.app.settings());
    m_shownFrom = m_s.app.settings();
    m_shown = pageValues();
    m_storedFrom = storedSettings().value_or(m_shownFrom);
}

void SettingsDialog::dialogCommand(int index) {
    switch (index) {
    case OK:
        applyConfig();
        close();
        break;
    case About:
        if (m_s.showAbout)
            m_s.showAbout();
        break;
    case Apply:
        applyConfig();
        break;
    default:
        break;
    }
}

void SettingsDialog::resetPage(int index) {
    ClockSettings& s = m_s.app.settings();
    const bool appearance = index != 1;
    restoreDefaults(s, appearance);
    iniData(true);
    m_s.app.applyClockSettings();
    if (!appearance) {
        m_s.autorun.syncAutorunEntry(m_s.app.settings().Autorun);
        // The list shows the autostart entry, which the line above has just changed:
        // left as filled it would say "No" and the next apply would remove the entry.
        m_general->selectAutorun(m_s.autorun.getAutorunChoice());
    }
    writeClockSettings(m_s.app.store(), m_s.app.state());
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_focusGiven) {
        m_focusGiven = true;
        m_tabs->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace ovra
