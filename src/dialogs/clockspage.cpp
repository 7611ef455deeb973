#include "dialogs/clockspage.h"

#include "base/clockname.h"
#include "base/textutil.h"
#include "dialogs/displaynameedit.h"
#include "dialogs/fieldlabel.h"
#include "dialogs/zonepicker.h"
#include "settings/clocklist.h"
#include "time/zonetable.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

namespace ovra {

ClocksPage::ClocksPage(const ConfigServices& services, QWidget* parent)
    : QWidget(parent), m_s(services) {
    auto* addGroup = new QGroupBox(tr(" Add Clock: "), this);
    m_zones = new ZonePicker(m_s.clock.timeSource(), addGroup);
    m_name = new DisplayNameEdit(addGroup);
    m_name->setObjectName(QStringLiteral("displayNameEdit"));
    m_name->setText(initialName());
    auto* manageGroup = new QGroupBox(tr(" Manage Clocks: "), this);

    const std::array<QString, 5> captions = {tr("A&dd"), tr("D&elete"), tr("&Run"), tr("&Stop"),
                                             tr("Re&fresh")};
    const std::array<const char*, 5> names = {"addClockButton", "deleteClockButton",
                                              "runClockButton", "stopClockButton",
                                              "refreshClocksButton"};
    for (size_t i = 0; i < captions.size(); ++i) {
        auto* button = new QPushButton(captions[i], i == Add ? addGroup : manageGroup);
        button->setObjectName(QLatin1String(names[i]));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, i] { clockCommand(int(i)); });
        m_buttons[i] = button;
    }

    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->addRow(fieldLabel(tr("Find a P&lace:"), m_zones->findField()), m_zones->findField());
    form->addRow(fieldLabel(tr("Select Time &Zone:"), m_zones->list()), m_zones->list());
    form->addRow(QString(), m_zones->nowLine());
    form->addRow(fieldLabel(tr("Display &Name:"), m_name), m_name);
    auto* addRow = new QHBoxLayout;
    addRow->addStretch(1);
    addRow->addWidget(m_buttons[Add]);
    auto* addLayout = new QVBoxLayout(addGroup);
    addLayout->addLayout(form);
    addLayout->addLayout(addRow);

    m_list = new QListWidget(manageGroup);
    m_list->setObjectName(QStringLiteral("clockList"));
    m_list->setAccessibleName(spokenCaption(manageGroup->title()));
    // A click or Space marks and unmarks an entry; several can be marked at once.
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);
    auto* buttonRow = new QHBoxLayout;
    buttonRow->addStretch(1);
    for (const Command c : {refresh, Stop, Run, Delete})
        buttonRow->addWidget(m_buttons[c]);
    auto* manageLayout = new QVBoxLayout(manageGroup);
    manageLayout->addWidget(m_list, 1);
    manageLayout->addLayout(buttonRow);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(addGroup);
    outer->addWidget(manageGroup, 1);

    connect(m_zones, &ZonePicker::chosen, this, &ClocksPage::nameAfterZone);
    // Enter in the name box adds the clock, as a user typing a name expects.
    connect(m_name, &QLineEdit::returnPressed, this, [this] { clockCommand(Add); });
    setTabOrder(m_zones->findField(), m_zones->list());
    setTabOrder(m_zones->list(), m_name);
    setTabOrder(m_name, m_buttons[Add]);
    setTabOrder(m_buttons[Add], m_list);
    setTabOrder(m_list, m_buttons[refresh]);
    setTabOrder(m_buttons[refresh], m_buttons[Stop]);
    setTabOrder(m_buttons[Stop], m_buttons[Run]);
    setTabOrder(m_buttons[Run], m_buttons[Delete]);
}

void ClocksPage::fill(bool, const ZoneChoice& zone) {
    m_zones->select(zone);
    refreshClockList();
}

QString ClocksPage::initialName() {
    //: The name box's text before a name is chosen; Add takes it as it stands.
    return tr("Add Clock");
}

QComboBox* ClocksPage::zoneBox() const {
    return m_zones->list();
}

QLineEdit* ClocksPage::zoneFindField() const {
    return m_zones->findField();
}

QLabel* ClocksPage::zoneNowLine() const {
    return m_zones->nowLine();
}

void ClocksPage::nameAfterZone(const ZoneChoice& zone) {
    // Only a name the user has not written: the initial text, or a city filled in here.
    const QString initial = initialName();
    const QString name = m_name->text();
    if (name != initial && (m_nameFromZone.isEmpty() || name != m_nameFromZone))
        return;
    // A place without a city takes the name back to where it started, so a UTC
    // clock is never called after the place chosen before it.
    const QString city = zone.zoneName.isEmpty() ? zoneCity(zone.row) : cityOfZone(zone.zoneName);
    m_name->setText(city.isEmpty() ? initial : city);
    m_nameFromZone = city;
}

void ClocksPage::refreshClockList() {
    m_s.clocks.loadClockList();
    m_list->clear();
    m_listedNames.clear();
    //: %1 is a clock's name.
    const QString running = tr("%1 -- Running");
    //: %1 is a clock's name.
    const QString stopped = tr("%1 -- Stopped");
    for (const ClockEntry& entry : m_s.clocks.entries()) {
        m_list->addItem((entry.running() ? running : stopped).arg(shownClockName(entry.name)));
        m_listedNames << entry.name;
    }
}

void ClocksPage::clockCommand(int index) {
    switch (index) {
    case Add:
        addClock();
        break;
    case Delete:
        deleteClocks();
        break;
    case Run:
        runClocks();
        break;
    case Stop:
        stopClocks();
        break;
    case refresh:
        refreshClockList();
        break;
    default:
        break;
    }
}

QList<int> ClocksPage::reloadAndReadMarks() {
    QStringList marked;
    for (int row = 0; row < m_list->count() && row < m_listedNames.size(); ++row) {
        if (m_list->item(row)->isSelected())
            marked << m_listedNames.at(row);
    }
    // A mark belongs to the clock it was put on. The list may have changed since it
    // was shown (a clock deleted from a terminal): a mark must never pass to the
    // clock that took its row, and one whose clock is gone marks nothing.
    m_s.clocks.loadClockList();
    QList<int> rows;
    const QList<ClockEntry>& entries = m_s.clocks.entries();
    for (int i = 0; i < int(entries.size()); ++i)
        if (marked.contains(entries.at(i).name))
            rows << i;
    return rows;
}

void ClocksPage::waitAndRefresh() {
    const QPointer<ClocksPage> alive(this);
    if (m_s.wait)
        m_s.wait(kClockListSettleMs);
    if (alive)
        refreshClockList();
}

// Every step below may run events (a message box, the wait for another clock to
// close) during which this clock can be closed and the dialog deleted: each checks
// that the page is still there before it goes on.
void ClocksPage::addClock() {
    const QPointer<ClocksPage> alive(this);
    const ZoneChoice zone = m_zones->current();
    const bool added = m_s.clocks.addClock(m_name->text(), zone.row, zone.zoneName);
    if (!alive)
        return;
    if (added) {
        waitAndRefresh();
    } else {
        // Nothing was started, so there is nothing to wait for.
        refreshClockList();
    }
}

void ClocksPage::deleteClocks() {
    const QList<int> marked = reloadAndReadMarks();
    // The list must not change under the loop: copy the names first.
    QStringList names;
    for (const int row : marked)
        names << m_s.clocks.entries().at(row).name;
    const QPointer<ClocksPage> alive(this);
    const ConfigServices services = m_s; // outlives the page
    bool ownMarked = false;
    for (const QString& name : names) {
        if (cleanString(name) == services.clock.state().clockName) {
            ownMarked = true;
            continue;
        }
        services.clocks.deleteClock(name);
    }
    if (!ownMarked) {
        if (alive)
            waitAndRefresh();
        return;
    }
    const QString own = services.clock.state().clockName;
    if (own == kDefaultClockName) {
        services.clock.messages().showMessage(clockmessages::DeleteDefault, kErrorTitle,
                                              MessageIcon::Warning);
        if (alive)
            waitAndRefresh();
        return;
    }
    // The clock goes without storing its settings once more, then its data. The
    // shutdown closes this dialog; nothing of the page is used from here on.
    services.shutdownClock(false);
    services.clocks.removeClockData(own);
    if (services.closeOwnClock)
        services.closeOwnClock();
}

void ClocksPage::runClocks() {
    const QList<int> marked = reloadAndReadMarks();
    QStringList names;
    for (const int row : marked)
        names << cleanString(m_s.clocks.entries().at(row).name);
    const QPointer<ClocksPage> alive(this);
    for (const QString& name : names) {
        m_s.clocks.startClockProcess(name);
        if (!alive)
            return;
    }
    waitAndRefresh();
}

void ClocksPage::stopClocks() {
    const QList<int> marked = reloadAndReadMarks();
    QList<ClockEntry> targets;
    for (const int row : marked)
        targets << m_s.clocks.entries().at(row);
    const QPointer<ClocksPage> alive(this);
    const ConfigServices services = m_s;
    bool ownMarked = false;
    for (const ClockEntry& entry : targets) {
        if (cleanString(entry.name) == services.clock.state().clockName) {
            ownMarked = true;
            continue;
        }
        if (entry.running())
            services.clocks.closeClockWindow(entry.name);
    }
    if (!ownMarked) {
        if (alive)
            waitAndRefresh();
        return;
    }
    services.shutdownClock(true);
    if (services.closeOwnClock)
        services.closeOwnClock();
}

} // namespace ovra
