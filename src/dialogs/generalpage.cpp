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

void GeneralPage::fill(const ClockSettings& s, int32_t autorunChoice) {
    selectIndex(m_timeFormat, s.HourMode);
    selectIndex(m_displayScale, s.DisplayScale);
    selectIndex(m_onTop, s.AlwaysOnTop);
    selectIndex(m_opacity, s.BackgroundOpacity);
    selectAutorun(autorunChoice);
    selectIndex(m_dst, s.TimeStandard);
}

void GeneralPage::selectAutorun(int32_t autorunChoice) {
    selectIndex(m_autorun, autorunChoice);
}

void GeneralPage::readInto(ClockSettings& s) const {
    s.HourMode = m_timeFormat->currentIndex();
    s.AlwaysOnTop = m_onTop->currentIndex();
    s.BackgroundOpacity = m_opacity->currentIndex();
    s.DisplayScale = m_displayScale->currentIndex();
    s.Autorun = m_autorun->currentIndex();
    s.TimeStandard = m_dst->currentIndex();
}

} // namespace ovra
