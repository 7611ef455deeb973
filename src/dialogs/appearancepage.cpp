#include "dialogs/appearancepage.h"

#include "dialogs/colourrow.h"
#include "dialogs/colourvalue.h"
#include "dialogs/fieldlabel.h"
#include "dialogs/numericreading.h"
#include "dialogs/resetpagelayout.h"
#include "dialogs/sizefield.h"
#include "settings/clocksettings.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace ovra {

namespace {
struct SizeRow {
    const char* label;
    const char* name;
    int32_t ClockSettings::*member;
    int32_t minimum;
    int32_t maximum;
    const char16_t* defaultText;
    int maxLength;
};

// Top to bottom; the order is also the order apply reads them in.
constexpr std::array<SizeRow, 4> kSizeRows = {{
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "&Hour Circle Width(10 ~ 50):"), "TxtHourCircle",
     &ClockSettings::HourCircleWidth, limits::MinWidth, limits::MaxWidth, u"18", 2},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "Minute Circle &Width(10 ~ 50):"), "TxtMinuteCircle",
     &ClockSettings::MinuteCircleWidth, limits::MinWidth, limits::MaxWidth, u"18", 2},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "S&econd Circle Width(10 ~ 50):"), "TxtSecondCircle",
     &ClockSettings::SecondCircleWidth, limits::MinWidth, limits::MaxWidth, u"18", 2},
    {QT_TRANSLATE_NOOP("ovra::AppearancePage", "Clock Ra&dius(48 ~ 128):"), "TxtClockRadius",
     &ClockSettings::ClockRadius, limits::MinRadius, limits::MaxRadius, u"48", 3},
}};

// The colour an apply stores for a row's text: the number it reads as, the applied
// value when it is out of range, and the record's own default in place of 0.
int32_t colourApplyStores(const ClockSettings& applied, int32_t ClockSettings::*member,
                          QStringView text) {
    ClockSettings s = applied;
    readNumberInto(text, s.*member);
    normalizeSettings(s);
    return s.*member;
}
} // namespace

AppearancePage::AppearancePage(ColourPicker& picker, const ClockSettings& applied, QWidget* parent)
    : QWidget(parent) {
    auto* group = new QGroupBox(tr(" Appearance: "), this);
    auto* form = new QFormLayout;
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);

    for (size_t i = 0; i < kSizeRows.size(); ++i) {
        const SizeRow& row = kSizeRows[i];
        auto* field = new SizeField(row.minimum, row.maximum, QString::fromUtf16(row.defaultText),
                                    row.maxLength, group);
        field->setObjectName(QLatin1String(row.name));
        // Room for the longest text the field takes and a little more.
        field->setMaximumWidth(field->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 16);
        form->addRow(fieldLabel(tr(row.label), field), field);
        m_sizes[i] = field;
    }
    for (size_t i = 0; i < kColourFields.size(); ++i) {
        const ColourField& field = kColourFields[i];
        auto* row = new ColourRow(picker, group);
        row->textBox()->setObjectName(QLatin1String(field.textBoxName));
        const auto member = field.member;
        row->setAppliedValueSource([&applied, member] { return applied.*member; });
        row->setStoredValueReading([&applied, member](QStringView text) {
            return colourApplyStores(applied, member, text);
        });
        form->addRow(fieldLabel(tr(field.label), row->textBox()), row);
        m_colours[i] = row;
    }

    m_reset = layOutPageWithReset(this, group, form, QStringLiteral("CmdReset0"));

    connect(m_reset, &QPushButton::clicked, this, &AppearancePage::resetRequested);
}

void AppearancePage::fill(const ClockSettings& s) {
    for (size_t i = 0; i < kSizeRows.size(); ++i)
        m_sizes[i]->setText(QString::number(s.*kSizeRows[i].member));
    for (size_t i = 0; i < kColourFields.size(); ++i)
        m_colours[i]->setValue(s.*kColourFields[i].member);
}

void AppearancePage::readInto(ClockSettings& s) const {
    for (size_t i = 0; i < kColourFields.size(); ++i) {
        const auto member = kColourFields[i].member;
        s.*member = colourApplyStores(s, member, m_colours[i]->text());
    }
    for (size_t i = 0; i < kSizeRows.size(); ++i)
        readNumberInto(m_sizes[i]->text(), s.*kSizeRows[i].member);
}

} // namespace ovra
