#include "dialogs/zonepicker.h"

#include "time/timesource.h"
#include "time/zonesearch.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QCompleter>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QStandardItemModel>

namespace ovra {

namespace {
constexpr int kRowRole = Qt::UserRole;
constexpr int kZoneRole = Qt::UserRole + 1;

QString utcText(int secondsEast) {
    return QStringLiteral("UTC") + utcOffsetText(secondsEast);
}

// A typed character that begins a search, as opposed to a key that works the list
// (Space opens it, arrows move in it) or a shortcut.
bool beginsSearch(const QKeyEvent* key) {
    if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const QString text = key->text();
    return !text.isEmpty() && text.front().isPrint() && !text.front().isSpace();
}
} // namespace

QString placeEntryText(const QByteArray& zoneName, const QDateTime& nowUtc) {
    const int standard = QTimeZone(zoneName).standardTimeOffset(nowUtc);
    const QString offset = standard == 0 ? QString() : utcOffsetText(standard);
    return QStringLiteral("(UTC%1) %2").arg(offset, cityOfZone(zoneName));
}

QString choiceText(const ZoneChoice& choice, const QDateTime& nowUtc) {
    if (!choice.zoneName.isEmpty())
        return placeEntryText(choice.zoneName, nowUtc);
    const ZoneEntry* row = zoneAt(choice.row);
    return row ? QString::fromUtf16(row->displayName) : QString();
}

QString zoneNowText(const QDateTime& utc, const QDateTime& clockTime, const QLocale& locale) {
    const int offset = int(utc.secsTo(clockTime));
    //: %1 is the offset from UTC ("+13:00"), %2 a weekday and %3 a time ("03:29").
    return ZonePicker::tr("Now UTC%1, %2 %3")
        .arg(utcOffsetText(offset),
             locale.dayName(clockTime.date().dayOfWeek(), QLocale::LongFormat),
             clockTime.time().toString(QStringLiteral("HH:mm")));
}

ZonePicker::ZonePicker(const TimeSource& time, QWidget* parent)
    : QObject(parent), m_time(time), m_find(new QLineEdit(parent)), m_list(new QComboBox(parent)),
      m_now(new QLabel(parent)), m_completer(new QCompleter(this)),
      m_matchModel(new QStandardItemModel(this)) {
    m_find->setObjectName(QStringLiteral("zoneFindField"));
    m_find->setPlaceholderText(tr("City, country or zone name"));
    m_find->setClearButtonEnabled(true);
    m_list->setObjectName(QStringLiteral("CombTimeZone"));
    m_list->setMaxVisibleItems(20);
    m_list->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_list->setMinimumContentsLength(30);
    m_now->setObjectName(QStringLiteral("zoneNowLine"));
    m_now->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);

    // The matches are ranked by the finder, so the completer shows them as they come.
    m_completer->setModel(m_matchModel);
    m_completer->setCompletionMode(QCompleter::UnfilteredPopupCompletion);
    m_completer->setMaxVisibleItems(12);
    m_completer->setWidget(m_find);
    connect(m_find, &QLineEdit::textEdited, this, &ZonePicker::search);
    connect(m_completer, qOverload<const QModelIndex&>(&QCompleter::activated), this,
            [this](const QModelIndex& index) { takeMatch(index.row()); });
    connect(m_list, &QComboBox::activated, this, [this] { emit chosen(current()); });
    connect(m_list, &QComboBox::currentIndexChanged, this, &ZonePicker::updateNowLine);
    m_find->installEventFilter(this);
    m_list->installEventFilter(this);
    // Seen before the completer's own filter, which takes Enter without a
    // highlighted match as nothing chosen.
    m_completer->popup()->installEventFilter(this);

    m_minute.setSingleShot(true);
    connect(&m_minute, &QTimer::timeout, this, &ZonePicker::updateNowLine);
}

ZonePicker::~ZonePicker() = default;

void ZonePicker::select(const ZoneChoice& choice) {
    if (m_list->count() == 0) {
        const auto table = zoneTable();
        for (int i = 0; i < int(table.size()); ++i) {
            m_list->addItem(QString::fromUtf16(table[i].displayName));
            m_list->setItemData(i, i, kRowRole);
        }
    }
    if (choice.zoneName.isEmpty()) {
        if (choice.row >= 0 && choice.row < kZoneCount)
            m_list->setCurrentIndex(choice.row);
        return;
    }
    if (const int known = m_list->findData(choice.zoneName, kZoneRole); known >= 0) {
        m_list->setCurrentIndex(known);
        return;
    }
    const QTimeZone zone(choice.zoneName);
    if (!zone.isValid() || !zoneAt(choice.row))
        return;
    if (m_list->count() == kZoneCount)
        m_list->insertSeparator(kZoneCount);
    m_list->addItem(placeEntryText(choice.zoneName, m_time.nowUtc()));
    const int index = m_list->count() - 1;
    m_list->setItemData(index, choice.row, kRowRole);
    m_list->setItemData(index, choice.zoneName, kZoneRole);
    m_list->setCurrentIndex(index);
}

ZoneChoice ZonePicker::current() const {
    const QVariant row = m_list->currentData(kRowRole);
    if (!row.isValid())
        return {};
    return {row.toInt(), m_list->currentData(kZoneRole).toByteArray()};
}

void ZonePicker::search(const QString& text) {
    if (!m_finder)
        m_finder = std::make_unique<ZoneFinder>(m_time.nowUtc());
    m_matches = m_finder->find(text);
    m_matchModel->clear();
    const QDateTime utc = m_time.nowUtc();
    for (const ZoneChoice& match : m_matches) {
        const QTimeZone zone = zoneOfChoice(match);
        const int offset =
            zone.isValid() ? zone.offsetFromUtc(utc) : zoneAt(match.row)->offsetMinutes * 60;
        //: A place found by typing: %1 is the place, %2 its offset from UTC now.
        m_matchModel->appendRow(
            new QStandardItem(tr("%1 (now %2)").arg(m_finder->describe(match), utcText(offset))));
    }
    if (m_matches.isEmpty())
        m_completer->popup()->hide();
    else
        m_completer->complete();
}

void ZonePicker::takeMatch(int index) {
    if (index < 0 || index >= m_matches.size())
        return;
    const ZoneChoice choice = m_matches.at(index);
    m_completer->popup()->hide();
    select(choice);
    emit chosen(current());
}

void ZonePicker::updateNowLine() {
    const ZoneChoice choice = current();
    const ZoneEntry* row = zoneAt(choice.row);
    if (!row) {
        m_now->clear();
        return;
    }
    // A new clock follows its place's rules where the system knows them.
    const QDateTime utc = m_time.nowUtc().toUTC();
    const QTimeZone zone = zoneOfChoice(choice);
    const int offset = zone.isValid() ? zone.offsetFromUtc(utc) : row->offsetMinutes * 60;
    const QDateTime shown = QDateTime::fromSecsSinceEpoch(utc.toSecsSinceEpoch() + offset, Qt::UTC);
    m_now->setText(zoneNowText(QDateTime::fromSecsSinceEpoch(utc.toSecsSinceEpoch(), Qt::UTC),
                               shown, QLocale()));
    const int intoMinute = utc.time().second() * 1000 + utc.time().msec();
    m_minute.start(60 * 1000 - intoMinute + 50);
}

bool ZonePicker::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress)
        return QObject::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    const bool enter = key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter;
    if (watched == m_find && enter) {
        // Enter alone takes the best match; it never reaches the dialog's buttons.
        takeMatch(0);
        return true;
    }
    if (watched == m_completer->popup() && enter &&
        !m_completer->popup()->currentIndex().isValid()) {
        takeMatch(0);
        return true;
    }
    if (watched == m_find && key->key() == Qt::Key_Down && !m_matches.isEmpty() &&
        !m_completer->popup()->isVisible()) {
        m_completer->complete();
        return true;
    }
    if (watched == m_list && beginsSearch(key)) {
        m_find->setFocus(Qt::ShortcutFocusReason);
        m_find->setText(key->text());
        search(key->text());
        return true;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace ovra
