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
    setWindowTitle(captionForClock(tr(kCaption), m_s.clock.state().clockName));
    setObjectName(QStringLiteral("settingsDialog"));
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
    m_tabs->setObjectName(QStringLiteral("pageTabs"));
    buildTabStrip();

    ClockSettings& settings = m_s.clock.settings();
    m_general = new GeneralPage;
    m_appearance = new AppearancePage(m_s.colours, settings);
    m_clocks = new ClocksPage(m_s);
    m_alarms = new AlarmsPage(
        {m_s.alarms, settings, m_s.clock.messages(), m_s.files, m_s.clock.paths().alarmFilePath});
    m_pages = {m_general, m_appearance, m_clocks, m_alarms};
    for (size_t i = 0; i < m_pages.size(); ++i)
        m_pages[i]->setObjectName(QStringLiteral("page%1").arg(i));
    placePages();

    const std::array<QString, 3> captions = {tr("&OK"), tr("Abo&ut"), tr("&Apply")};
    const std::array<const char*, 3> names = {"okButton", "aboutButton", "applyButton"};
    for (size_t i = 0; i < captions.size(); ++i) {
        auto* button = new QPushButton(captions[i], this);
        button->setObjectName(QLatin1String(names[i]));
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
        showPage(m_tabs->activeTab());
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
            [this](int index) { m_s.clock.settings().opacityStep = index; });
    connect(m_general, &GeneralPage::resetRequested, this, [this] { resetPage(1); });
    connect(m_general->timeStandardBox(), &QComboBox::currentIndexChanged, this,
            &SettingsDialog::updateZoneLine);
    connect(m_appearance, &AppearancePage::resetRequested, this, [this] { resetPage(0); });

    if (settings.alwaysOnTop)
        setWindowFlag(Qt::WindowStaysOnTopHint, true);
    iniData(false);
    m_tabs->setFocus(Qt::OtherFocusReason);
    // The record changes without telling anyone (the clock's menu and keys write it
    // in place): a look once a second is enough for a dialog a person reads.
    m_followTimer.setInterval(1000);
    connect(&m_followTimer, &QTimer::timeout, this, &SettingsDialog::followRecord);
    m_followTimer.start();
    // The clock's menu and keys change the record in this process: shown at once.
    // Another process's changes reach the store, which the timer looks at.
    connect(&m_s.clock, &ClockModel::settingsChanged, this, [this] {
        if (!m_applying)
            followRecord();
    });
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
    const QColor page(0xFB, 0xFD, 0xFB);
    t.setActiveTabBackStartColor(page);
    t.setActiveTabBackEndColor(page);
    t.setInActiveTabBackStartColor(QColor(0xFF, 0xFF, 0xFF));
    t.setInActiveTabBackEndColor(QColor(0xF0, 0xF0, 0xEA));
    t.setBackColor(page);
    t.setOuterBorderColor(QColor(0x91, 0x9C, 0x9B));
    t.setDisabledTabForeColor(QColor(0xA0, 0xA0, 0xA0));
    t.setDisabledTabBackColor(tabpalette::button);
    t.setForeColor(tabpalette::buttonText);
    t.setPictureMaskColor(QColor(0xFF, 0x00, 0xFF));
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
        TabStripLayout::rowHeight(m_tabs->activeTabHeight(), m_tabs->inActiveTabHeight());
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
    const int count = m_tabs->tabCount();
    for (int i = 1; i < count; ++i) {
        const int tab = ((m_tabs->activeTab() + step * i) % count + count) % count;
        if (m_tabs->isTabEnabled(tab)) {
            m_tabs->setActiveTab(tab); // the switch shows the page, as for a click
            return;
        }
    }
}

void SettingsDialog::focusPage() {
    const int index = m_tabs->activeTab();
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
    const ClockSettings& s = m_s.clock.settings();
    m_appearance->fill(s);
    m_general->fill(s, m_s.autorun.getAutorunChoice() == 0);
    m_clocks->fill(refill, clockZone());
    m_alarms->fill();
    updateZoneLine();
    m_shownFrom = s;
    m_shown = pageValues();
    m_storedFrom = storedSettings().value_or(s);
}

namespace {
// A field a page shows: whether two records agree on it, and carrying it over.
struct PageField {
    bool (*same)(const ClockSettings& a, const ClockSettings& b);
    void (*copy)(const ClockSettings& from, ClockSettings& to);
    // The autostart list shows the entry on disk, not the record.
    bool showsTheEntry = false;
};
template <auto Member> constexpr PageField field(bool showsTheEntry = false) {
    return {[](const ClockSettings& a, const ClockSettings& b) { return a.*Member == b.*Member; },
            [](const ClockSettings& from, ClockSettings& to) { to.*Member = from.*Member; },
            showsTheEntry};
}
using S = ClockSettings;
// The fields each page shows; the rest of the record is not the dialog's to change.
constexpr PageField kGeneralFields[] = {field<&S::alwaysOnTop>(),  field<&S::showScale>(),
                                        field<&S::opacityStep>(),  field<&S::hourMode>(),
                                        field<&S::timeStandard>(), field<&S::startAtLogin>(true)};
constexpr PageField kAppearanceFields[] = {
    field<&S::hourRingWidth>(), field<&S::minuteRingWidth>(), field<&S::secondRingWidth>(),
    field<&S::radius>(),        field<&S::amHourColor>(),     field<&S::pmHourColor>(),
    field<&S::minuteColor>(),   field<&S::secondColor>(),     field<&S::timeTextColor>(),
    field<&S::dateTextColor>(), field<&S::scaleColor>()};
} // namespace

ClockSettings SettingsDialog::pageValues() const {
    ClockSettings values = m_s.clock.settings();
    m_general->readInto(values);
    m_appearance->readInto(values);
    return values;
}

std::optional<ClockSettings> SettingsDialog::storedSettings() const {
    ClockState stored = m_s.clock.state();
    StoreError rc = StoreError::None;
    readClockSettings(m_s.clock.store(), stored, &rc);
    if (rc != StoreError::None)
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
    ClockSettings& record = m_s.clock.settings();
    for (const std::span<const PageField> fields : {std::span<const PageField>(kGeneralFields),
                                                    std::span<const PageField>(kAppearanceFields)})
        for (const PageField& f : fields)
            if (!f.showsTheEntry && !f.same(*stored, m_storedFrom))
                f.copy(*stored, record);
    m_storedFrom = *stored;
}

void SettingsDialog::followRecord() {
    takeStoredChanges();
    const ClockSettings& record = m_s.clock.settings();
    ClockSettings shown = pageValues();
    QList<const PageField*> followed;
    const auto follow = [&](std::span<const PageField> fields) {
        bool refill = false;
        for (const PageField& f : fields) {
            if (f.showsTheEntry || f.same(record, m_shownFrom))
                continue;
            if (f.same(shown, m_shown)) {
                f.copy(record, shown);
                refill = true;
            }
            followed << &f;
        }
        return refill;
    };
    if (follow(kGeneralFields)) {
        m_general->fill(shown, shown.startAtLogin);
        updateZoneLine();
    }
    if (follow(kAppearanceFields))
        m_appearance->fill(shown);
    const ClockSettings now = pageValues();
    for (const PageField* f : followed) {
        f->copy(record, m_shownFrom);
        if (f->same(shown, record))
            f->copy(now, m_shown);
    }
}

void SettingsDialog::updateZoneLine() {
    ClockState state = m_s.clock.state();
    if (const int standard = m_general->timeStandardBox()->currentIndex(); standard >= 0)
        state.settings.timeStandard = TimeStandard(standard);
    const TimeSource& time = m_s.clock.timeSource();
    const QDateTime utc = QDateTime::fromSecsSinceEpoch(time.nowUtc().toSecsSinceEpoch(), Qt::UTC);
    //: %1 is a zone as the zone list shows it.
    m_general->zoneLine()->setText(
        tr("Time zone: %1").arg(choiceText(clockZone(), utc)) + u'\n' +
        zoneNowText(utc, clockTime(utc, time.systemZone(), clockTimeInput(state)), QLocale()));
}

ZoneChoice SettingsDialog::clockZone() const {
    const ClockState& state = m_s.clock.state();
    const ZoneChoice stored{state.settings.timeZoneRow, state.settings.timeZoneName};
    if (!state.isDefaultClock())
        return stored;
    // The Default clock's row stands for the computer's zone; where no row keeps
    // that zone's time, its name goes with it, so Add makes a clock that does.
    const TimeSource& time = m_s.clock.timeSource();
    const ZoneChoice computer = computerZoneChoice(time.systemZone(), time.nowUtc());
    return computer.row == stored.row ? computer : ZoneChoice{stored.row, {}};
}

void SettingsDialog::applyConfig() {
    takeStoredChanges();
    ClockSettings& s = m_s.clock.settings();
    const ClockSettings edited = pageValues();
    // Only what the user changed here goes over the record: "Always on Top" ticked
    // in the clock's menu while the dialog was open stays ticked.
    for (const std::span<const PageField> fields : {std::span<const PageField>(kGeneralFields),
                                                    std::span<const PageField>(kAppearanceFields)})
        for (const PageField& f : fields)
            if (!f.same(edited, m_shown) || !f.same(m_shown, m_shownFrom))
                f.copy(edited, s);
    // Not stored: the pages keep what the user set, and so does the record they
    // are compared with, so that Apply tries the same changes again.
    m_applying = true;
    const bool stored = m_s.applySettings();
    m_applying = false;
    if (!stored)
        return;
    m_s.autorun.syncAutorunEntry(m_s.clock.settings().startAtLogin);
    writeClockSettings(m_s.clock.store(), m_s.clock.state());
    // The fields now show what was stored, not the text that was typed.
    m_general->fill(m_s.clock.settings(), m_s.autorun.getAutorunChoice() == 0);
    m_appearance->fill(m_s.clock.settings());
    m_shownFrom = m_s.clock.settings();
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
    ClockSettings& s = m_s.clock.settings();
    const bool appearance = index != 1;
    restoreDefaults(s, appearance);
    iniData(true);
    m_applying = true;
    m_s.applySettings();
    m_applying = false;
    if (!appearance) {
        m_s.autorun.syncAutorunEntry(m_s.clock.settings().startAtLogin);
        // The list shows the autostart entry, which the line above has just changed:
        // left as filled it would say "No" and the next apply would remove the entry.
        m_general->selectAutorun(m_s.autorun.getAutorunChoice() == 0);
    }
    writeClockSettings(m_s.clock.store(), m_s.clock.state());
}

void SettingsDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_focusGiven) {
        m_focusGiven = true;
        m_tabs->setFocus(Qt::OtherFocusReason);
    }
}

} // namespace ovra
