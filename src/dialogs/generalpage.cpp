#include "dialogs/generalpage.h"

#include "base/platformtexts.h"
#include "dialogs/fieldlabel.h"
#include "dialogs/resetpagelayout.h"
#include "settings/clocksettings.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovra {

namespace {
QComboBox* choiceList(const QStringList& entries, QWidget* parent) {
    auto* list = new QComboBox(parent);
    list->addItems(entries);
    return list;
}

void selectIndex(QComboBox* list, int32_t index) {
    if (index >= 0 && index < list->count())
        list->setCurrentIndex(index);
}
} // namespace

GeneralPage::GeneralPage(QWidget* parent) : QWidget(parent) {
    auto* group = new QGroupBox(tr(" General: "), this);
    m_onTop = choiceList({tr("No"), tr("Yes")}, group);
    m_displayScale = choiceList({tr("Yes"), tr("No")}, group);
    m_opacity = choiceList({QStringLiteral("100%"), QStringLiteral("90%"), QStringLiteral("80%"),
                            QStringLiteral("70%"), QStringLiteral("60%"), QStringLiteral("50%")},
                           group);
    m_autorun = choiceList({tr("Yes"), tr("No")}, group);
    m_timeFormat = choiceList({tr("12 Hour"), tr("24 Hour")}, group);
    m_dst = choiceList(
        {tr("Standard Time"), tr("Daylight Saving Time"), tr("Automatic Daylight Saving")}, group);
    m_onTop->setObjectName(QStringLiteral("onTopCombo"));
    m_displayScale->setObjectName(QStringLiteral("scaleCombo"));
    m_opacity->setObjectName(QStringLiteral("opacityCombo"));
    m_autorun->setObjectName(QStringLiteral("autorunCombo"));
    m_timeFormat->setObjectName(QStringLiteral("timeFormatCombo"));
    m_dst->setObjectName(QStringLiteral("timeStandardCombo"));
    // Nothing is selected until the first fill, so a value outside a list's range
    // shows as an empty choice.
    for (QComboBox* list : {m_onTop, m_displayScale, m_opacity, m_autorun, m_timeFormat, m_dst})
        list->setCurrentIndex(-1);

    auto* form = new QFormLayout;
    form->addRow(fieldLabel(tr("Clock Always On &Top:"), m_onTop), m_onTop);
    form->addRow(fieldLabel(tr("Display Clock &Scale:"), m_displayScale), m_displayScale);
    form->addRow(fieldLabel(tr("Bac&kground Opacity:"), m_opacity), m_opacity);
    form->addRow(fieldLabel(tr(platformtext::StartAtLogin), m_autorun), m_autorun);
    form->addRow(fieldLabel(tr("Time &Format:"), m_timeFormat), m_timeFormat);
    form->addRow(fieldLabel(tr("Time Stan&dard:"), m_dst), m_dst);
    m_zone = new QLabel(group);
    m_zone->setObjectName(QStringLiteral("zoneLine"));
    m_zone->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    form->addRow(m_zone);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    m_reset = layOutPageWithReset(this, group, form, QStringLiteral("resetGeneralButton"));

    connect(m_opacity, &QComboBox::activated, this, &GeneralPage::opacityChosen);
    connect(m_reset, &QPushButton::clicked, this, &GeneralPage::resetRequested);
}

// Staying on top lists "No" before "Yes", the scale and the autostart "Yes" before
// "No"; the enumerations list their choices in their own order.
void GeneralPage::fill(const ClockSettings& s, bool entryStartsClock) {
    selectIndex(m_timeFormat, int32_t(s.hourMode));
    selectIndex(m_displayScale, s.showScale ? 0 : 1);
    selectIndex(m_onTop, s.alwaysOnTop ? 1 : 0);
    selectIndex(m_opacity, s.opacityStep);
    selectAutorun(entryStartsClock);
    selectIndex(m_dst, int32_t(s.timeStandard));
}

void GeneralPage::selectAutorun(bool entryStartsClock) {
    selectIndex(m_autorun, entryStartsClock ? 0 : 1);
}

void GeneralPage::readInto(ClockSettings& s) const {
    // A list showing nothing (a value it has no entry for) hands on -1, which the
    // store's validation turns into the default where it checks the field.
    s.hourMode = HourMode(m_timeFormat->currentIndex());
    s.alwaysOnTop = m_onTop->currentIndex() == 1;
    s.opacityStep = m_opacity->currentIndex();
    s.showScale = m_displayScale->currentIndex() == 0;
    s.startAtLogin = m_autorun->currentIndex() == 0;
    s.timeStandard = TimeStandard(m_dst->currentIndex());
}

} // namespace ovra
