#include "dialogs/alarmspage.h"

#include "alarms/alarmfile.h"
#include "alarms/alarmtable.h"
#include "base/messagesink.h"
#include "base/textutil.h"
#include "dialogs/alarmeditortexts.h"
#include "dialogs/fieldlabel.h"
#include "dialogs/filechooser.h"
#include "settings/clocksettings.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFocusEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStandardPaths>
#include <QVBoxLayout>

#include <algorithm>

namespace ovra {

namespace {
const char* const kFileTitle =
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Select a file to be executed by Ovra Clock");
const char* const kTipLabel =
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "&Tip (256 characters maximum) :");
const char* const kParameterLabel =
    QT_TRANSLATE_NOOP("ovra::AlarmsPage", "Parame&ter (256 characters maximum) :");

// Where the sound chooser opens: on the current sound, in its folder; else in the
// user's music folder, else at home.
struct ChooserStart {
    QString folder;
    QString name;
};
ChooserStart soundChooserStart(const QString& currentSound) {
    const QFileInfo current(currentSound.trimmed());
    if (current.isAbsolute() && current.dir().exists())
        return {current.absolutePath(), current.isFile() ? current.fileName() : QString()};
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    if (!music.isEmpty() && QDir(music).exists())
        return {music, {}};
    return {QDir::homePath(), {}};
}

QComboBox* choiceList(const QStringList& entries, const char* name, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->setObjectName(QLatin1String(name));
    list->addItems(entries);
    return list;
}

// The tip box gives up the height of the day rows, so the page, and the settings
// dialog sized to its largest page, stays as tall as it was and still fits beside
// a clock.
class TipBox final : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;
    int shorterBy = 0;
    QSize sizeHint() const override {
        QSize hint = QPlainTextEdit::sizeHint();
        hint.setHeight(std::max(hint.height() - shorterBy, 3 * fontMetrics().lineSpacing()));
        return hint;
    }
};

QStringList texts(const auto& array) {
    QStringList out;
    for (const char* text : array)
        out << QCoreApplication::translate("ovra::AlarmsPage", text);
    return out;
}
} // namespace

AlarmsPage::AlarmsPage(Services services, QWidget* parent)
    : QWidget(parent), m_s(std::move(services)) {
    auto* addGroup = new QGroupBox(tr(" Add Alarm: "), this);
    auto* manageGroup = new QGroupBox(tr(" Manage Alarms: "), this);

    m_hour = choiceList(hourEntries(), "CombHour", addGroup);
    m_minute = choiceList(minuteEntries(), "CombMinute", addGroup);
    m_action = choiceList(texts(kAlarmActionTexts), "CombAction", addGroup);
    m_labNote = new QLabel(tr(kTipLabel), addGroup);
    m_labNote->setObjectName(QStringLiteral("LabNote"));
    auto* tipBox = new TipBox(addGroup);
    m_note = tipBox;
    m_note->setObjectName(QStringLiteral("TxtNote"));
    m_note->setTabChangesFocus(true);
    m_param = new QLineEdit(addGroup);
    m_param->setObjectName(QStringLiteral("TxtParam"));
    m_param->setMaxLength(kMaxEntryText);
    m_sound = new QLineEdit(shownSoundText(kDefaultAlarmSoundText), addGroup);
    m_sound->setObjectName(QStringLiteral("TxtSound"));
    m_sound->setMaxLength(kMaxEntryText);
    m_playTime = choiceList(texts(kPlayTimeTexts), "CombPlaytime", addGroup);
    const QLocale locale;
    for (int day = 1; day <= 7; ++day) {
        auto* box = new QCheckBox(locale.dayName(day, QLocale::ShortFormat), addGroup);
        box->setObjectName(QStringLiteral("CheckDay%1").arg(day));
        box->setChecked(true);
        m_days[size_t(day - 1)] = box;
    }
    m_list = new QListWidget(manageGroup);
    m_list->setObjectName(QStringLiteral("ListAlarm"));
    m_list->setAccessibleName(spokenCaption(manageGroup->title()));
    m_list->setSelectionMode(QAbstractItemView::MultiSelection);

    struct ButtonDef {
        QString caption;
        QString hint;
        QWidget* parent;
    };
    const std::array<ButtonDef, 6> defs = {{
        {tr("A&dd"), {}, addGroup},
        {tr("&Browse"), tr(kFileTitle), addGroup},
        {tr("D&elete"), {}, manageGroup},
        {tr("E&nable"), {}, manageGroup},
        {tr("Disab&le"), {}, manageGroup},
        {QStringLiteral("..."), tr("Select a sound file"), addGroup},
    }};
    for (size_t i = 0; i < defs.size(); ++i) {
        auto* button = new QPushButton(defs[i].caption, defs[i].parent);
        button->setObjectName(QStringLiteral("CmdAlarm%1").arg(i));
        button->setAutoDefault(false);
        if (!defs[i].hint.isEmpty())
            button->setToolTip(defs[i].hint);
        if (defs[i].caption == QStringLiteral("..."))
            button->setAccessibleName(defs[i].hint);
        connect(button, &QPushButton::clicked, this, [this, i] { alarmCommand(int(i)); });
        m_buttons[i] = button;
    }
    m_buttons[ChooseSound]->setMaximumWidth(m_buttons[ChooseSound]->sizeHint().height() + 8);

    auto* grid = new QGridLayout(addGroup);
    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(m_hour);
    const QString hourText = tr("(H:)");
    const QString minuteText = tr("(M:)");
    timeRow->addWidget(new QLabel(hourText, addGroup));
    timeRow->addWidget(m_minute);
    timeRow->addWidget(new QLabel(minuteText, addGroup));
    timeRow->addStretch(1);
    QLabel* timeLabel = fieldLabel(tr("Ala&rm Time:"), m_hour);
    grid->addWidget(timeLabel, 0, 0);
    // The two lists take the row's label with their own mark, "Alarm Time (H)".
    const QString timeName = spokenCaption(timeLabel->text());
    m_hour->setAccessibleName(timeName + u' ' + QString(hourText).remove(u':'));
    m_minute->setAccessibleName(timeName + u' ' + QString(minuteText).remove(u':'));
    grid->addLayout(timeRow, 0, 1);
    // Two rows of days keep the page as narrow as the time and sound rows.
    auto* dayRow = new QGridLayout;
    dayRow->setHorizontalSpacing(8);
    dayRow->setVerticalSpacing(0);
    const std::array<int, 7> week = weekOrder(locale);
    for (int i = 0; i < 7; ++i)
        dayRow->addWidget(m_days[size_t(week[size_t(i)] - 1)], i / 4, i % 4);
    dayRow->setColumnStretch(4, 1);
    grid->addWidget(new QLabel(tr("Days:"), addGroup), 1, 0, Qt::AlignTop);
    grid->addLayout(dayRow, 1, 1);
    grid->addWidget(fieldLabel(tr("Act&ion:"), m_action), 2, 0);
    grid->addWidget(m_action, 2, 1);
    grid->addWidget(m_labNote, 3, 0, 1, 2);
    // The tip box and the target row share one place; the action shows one of them.
    auto* paramRow = new QHBoxLayout;
    paramRow->addWidget(m_param, 1);
    paramRow->addWidget(m_buttons[Browse]);
    grid->addWidget(m_note, 4, 0, 1, 2);
    grid->addLayout(paramRow, 4, 0, 1, 2, Qt::AlignTop);
    auto* soundRow = new QHBoxLayout;
    soundRow->setSpacing(2);
    soundRow->addWidget(m_sound, 1);
    soundRow->addWidget(m_buttons[ChooseSound]);
    grid->addWidget(fieldLabel(tr("&Sound:"), m_sound), 5, 0);
    grid->addLayout(soundRow, 5, 1);
    grid->addWidget(fieldLabel(tr("Pla&ytime:"), m_playTime), 6, 0);
    auto* playRow = new QHBoxLayout;
    playRow->addWidget(m_playTime);
    playRow->addStretch(1);
    playRow->addWidget(m_buttons[Add]);
    grid->addLayout(playRow, 6, 1);
    grid->setRowStretch(4, 1);
    tipBox->shorterBy = dayRow->sizeHint().height() + std::max(grid->verticalSpacing(), 0);

    auto* manageLayout = new QVBoxLayout(manageGroup);
    manageLayout->addWidget(m_list, 1);
    auto* manageButtons = new QHBoxLayout;
    manageButtons->addStretch(1);
    for (const Command c : {Disable, Enable, Delete})
        manageButtons->addWidget(m_buttons[c]);
    manageLayout->addLayout(manageButtons);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(addGroup, 3);
    outer->addWidget(manageGroup, 2);

    setTabOrder(m_hour, m_minute);
    QWidget* previous = m_minute;
    for (const int day : weekOrder(locale)) {
        setTabOrder(previous, m_days[size_t(day - 1)]);
        previous = m_days[size_t(day - 1)];
    }
    setTabOrder(previous, m_action);
    setTabOrder(m_action, m_note);
    setTabOrder(m_note, m_param);
    setTabOrder(m_param, m_buttons[Browse]);
    setTabOrder(m_buttons[Browse], m_sound);
    setTabOrder(m_sound, m_buttons[ChooseSound]);
    setTabOrder(m_buttons[ChooseSound], m_playTime);
    setTabOrder(m_playTime, m_buttons[Add]);
    setTabOrder(m_buttons[Add], m_list);
    setTabOrder(m_list, m_buttons[Disable]);
    setTabOrder(m_buttons[Disable], m_buttons[Enable]);
    setTabOrder(m_buttons[Enable], m_buttons[Delete]);

    connect(m_action, &QComboBox::currentIndexChanged, this, [this] { actionChosen(); });
    connect(m_note, &QPlainTextEdit::textChanged, this, &AlarmsPage::limitNote);
    connect(m_list, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { alarmChosen(m_list->row(item)); });
    // Moving through the list with the keyboard shows each alarm as a click does.
    connect(m_list, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_refreshing)
            alarmChosen(row);
    });
    m_sound->installEventFilter(this);
    actionChosen();
}

void AlarmsPage::fill() {
    m_hour->setCurrentIndex(0);
    m_minute->setCurrentIndex(0);
    m_action->setCurrentIndex(0);
    m_playTime->setCurrentIndex(0);
    setDays(kEveryDay);
    actionChosen();
    refreshAlarmList();
}

void AlarmsPage::alarmCommand(int index) {
    const QPointer<AlarmsPage> alive(this);
    // The alarm a change concerns, which the keyboard and a screen reader go to.
    int concerned = -1;
    const QList<int> marked = markedRecords();
    switch (index) {
    case Add: {
        const int before = m_s.table.alarmCount();
        addAlarm();
        if (m_s.table.alarmCount() > before)
            concerned = before;
        break;
    }
    case Browse: {
        const QString chosen = fileDialog(m_s.files, m_s.messages, window(), false, tr(kFileTitle),
                                          QStringLiteral("*.*|*.*"));
        if (!alive) // the dialog went with the clock while the chooser was open
            return;
        m_param->setText(chosen);
        break;
    }
    case Delete:
        deleteAlarm();
        // The one that took the first deleted one's place, or the last one left.
        if (!marked.isEmpty())
            concerned = std::min(marked.front(), m_s.table.alarmCount() - 1);
        break;
    case Enable:
    case Disable:
        setAlarm(index == Enable);
        if (!marked.isEmpty())
            concerned = marked.front();
        break;
    case ChooseSound: {
        // Only WAV files play; "All files" is there for one whose name says otherwise.
        const QString filter = tr("WAV sounds") + QStringLiteral("|*.wav;*.WAV|") +
                               tr("All files") + QStringLiteral("|*");
        const ChooserStart start = soundChooserStart(storedSoundText(m_sound->text()));
        const QString chosen =
            fileDialog(m_s.files, m_s.messages, window(), false, tr("Select a sound file"), filter,
                       start.name, {}, start.folder);
        if (!alive)
            return;
        m_sound->setText(chosen);
        if (m_sound->text().trimmed().isEmpty())
            m_sound->setText(shownSoundText(kDefaultAlarmSoundText));
        break;
    }
    default:
        return;
    }
    // A message box (the alarm file could not be saved) may have outlived the page.
    if (!alive)
        return;
    refreshAlarmList();
    if (const int row = int(m_rowRecords.indexOf(concerned)); concerned >= 0 && row >= 0) {
        m_list->setFocus(Qt::OtherFocusReason);
        // The entry becomes the current one without being marked, so it is announced
        // and shown in the editor, and a second Delete does not take it by surprise.
        m_list->setCurrentRow(row, QItemSelectionModel::NoUpdate);
    }
}

void AlarmsPage::actionChosen() {
    const bool execute = m_action->currentIndex() == alarmaction::Execute;
    m_labNote->setText(execute ? tr(kParameterLabel) : tr(kTipLabel));
    labelField(m_labNote, execute ? static_cast<QWidget*>(m_param) : m_note);
    m_buttons[Browse]->setVisible(execute);
    m_note->setVisible(!execute);
    m_param->setVisible(execute);
}

void AlarmsPage::addAlarm() {
    const int hour = m_hour->currentIndex();
    const int minute = m_minute->currentIndex();
    if (hour < 0 || minute < 0 || m_action->currentIndex() < 0 || m_playTime->currentIndex() < 0)
        return;
    const uint8_t days = checkedDays();
    if (days == 0) {
        m_s.messages.showMessage(tr("Please check at least one day for the alarm."), kPlainTitle,
                                 MessageIcon::Warning);
        return;
    }
    const double time = alarmTimeOf(hour, minute);
    // The same minute of the same day cannot hold two alarms, whatever their state
    // or action: only the first would ever fire. A Monday and a Tuesday alarm at
    // one time never meet.
    const int second = hour * 3600 + minute * 60;
    for (int i = 0; i < m_s.table.alarmCount(); ++i) {
        const AlarmRecord& other = m_s.table.at(i);
        if (alarmSecondOfDay(other.AlarmTime) == second &&
            weekdaysOverlap(alarmWeekdays(other), days)) {
            m_s.messages.showMessage(tr("Alarm is already exists. Please check and reset."),
                                     kPlainTitle, MessageIcon::Warning);
            return;
        }
    }
    if (m_s.table.isFull()) {
        m_s.messages.showMessage(
            tr("This clock already has %1 alarms, as many as it can keep. Delete an "
               "alarm before adding another.")
                .arg(AlarmTable::kCapacity),
            kPlainTitle, MessageIcon::Warning);
        return;
    }
    AlarmRecord alarm;
    alarm.Action = m_action->currentIndex();
    alarm.Note =
        fitAlarmText(alarm.Action < alarmaction::Execute ? m_note->toPlainText() : m_param->text());
    alarm.status = 1;
    alarm.SoundFile = fitAlarmText(storedSoundText(m_sound->text()));
    alarm.AlarmTime = time;
    alarm.PlayTime = m_playTime->currentIndex();
    setAlarmWeekdays(alarm, days);
    if (m_s.table.add(alarm))
        save();
}

void AlarmsPage::deleteAlarm() {
    m_s.table.removeMarked(markedRecords());
    save();
}

void AlarmsPage::setAlarm(bool IsEnable) {
    m_s.table.setStatus(markedRecords(), IsEnable ? 1 : 0);
    save();
}

void AlarmsPage::refreshAlarmList() {
    m_refreshing = true;
    m_list->clear();
    m_rowRecords.clear();
    for (int i = 0; i < m_s.table.alarmCount(); ++i) {
        if (const auto text = alarmEntryText(m_s.table.at(i), m_s.settings.HourMode)) {
            m_list->addItem(*text);
            m_rowRecords << i;
        }
    }
    m_list->clearSelection();
    m_list->setCurrentRow(-1, QItemSelectionModel::NoUpdate);
    m_refreshing = false;
}

int AlarmsPage::recordOfRow(int row) const {
    return row >= 0 && row < m_rowRecords.size() ? m_rowRecords.at(row) : -1;
}

QList<int> AlarmsPage::markedRecords() const {
    QList<int> records;
    for (int row = 0; row < m_list->count(); ++row) {
        if (m_list->item(row)->isSelected() && recordOfRow(row) >= 0)
            records << recordOfRow(row);
    }
    return records;
}

void AlarmsPage::alarmChosen(int row) {
    const int index = recordOfRow(row);
    if (m_s.table.alarmCount() == 0 || index < 0 || index >= m_s.table.alarmCount())
        return;
    const AlarmRecord& alarm = m_s.table.at(index);
    if (const auto second = alarmSecondOfDay(alarm.AlarmTime)) {
        m_hour->setCurrentIndex(*second / 3600);
        m_minute->setCurrentIndex(*second / 60 % 60);
    }
    // Codes a damaged file may hold have no entry; the lists then keep theirs.
    if (alarm.Action >= 0 && alarm.Action < m_action->count())
        m_action->setCurrentIndex(alarm.Action);
    actionChosen();
    if (alarm.PlayTime >= 0 && alarm.PlayTime < m_playTime->count())
        m_playTime->setCurrentIndex(alarm.PlayTime);
    if (alarm.Action > alarmaction::RebootNow)
        m_param->setText(cleanString(alarm.Note));
    else
        m_note->setPlainText(tipTextOf(alarm.Note));
    m_sound->setText(shownSoundText(cleanString(alarm.SoundFile)));
    setDays(alarmWeekdays(alarm));
}

void AlarmsPage::setDays(uint8_t days) {
    for (int i = 0; i < 7; ++i)
        m_days[size_t(i)]->setChecked(days == kEveryDay || (days & (1u << i)) != 0);
}

uint8_t AlarmsPage::checkedDays() const {
    uint8_t days = 0;
    for (int i = 0; i < 7; ++i) {
        if (m_days[size_t(i)]->isChecked())
            days |= uint8_t(1u << i);
    }
    return days;
}

void AlarmsPage::soundEditFinished() {
    if (!fileExists(m_sound->text()))
        m_sound->setText(shownSoundText(kDefaultAlarmSoundText));
}

bool AlarmsPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_sound && event->type() == QEvent::FocusOut) {
        const auto reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching to another program is not leaving the box.
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            soundEditFinished();
    }
    return QWidget::eventFilter(watched, event);
}

void AlarmsPage::save() {
    saveAlarmFile(m_s.table, m_s.alarmFilePath, m_s.messages);
}

void AlarmsPage::limitNote() {
    const QString text = m_note->toPlainText();
    if (text.size() <= kMaxEntryText)
        return;
    QTextCursor cursor = m_note->textCursor();
    const int position = std::min(cursor.position(), kMaxEntryText);
    m_note->setPlainText(text.left(kMaxEntryText));
    cursor = m_note->textCursor();
    cursor.setPosition(position);
    m_note->setTextCursor(cursor);
}

} // namespace ovra
