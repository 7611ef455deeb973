#include "dialogs/alphadialog.h"
#include "dialogs/colourpicker.h"
#include "dialogs/colourrow.h"
#include "dialogs/colourvalue.h"
#include "dialogs/numericreading.h"
#include "modalanswer.h"

#include <QColorDialog>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSettings>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace ovra {
namespace {

constexpr int32_t v(uint32_t bits) {
    return int32_t(bits);
}

// Answers both dialogs from a script and remembers how it was asked.
class ScriptedPicker final : public ColourPicker {
public:
    std::optional<int32_t> colour; // nullopt: the user cancels
    std::function<int(int)> alpha = [](int start) {
        return start;
    };
    std::vector<int32_t> initials;
    std::vector<int> alphaStarts;

    std::optional<int32_t> pickColour(QWidget*, int32_t initialDisplay) override {
        initials.push_back(initialDisplay);
        return colour;
    }
    int pickAlpha(QWidget*, int startAlpha) override {
        alphaStarts.push_back(startAlpha);
        return alpha(startAlpha);
    }
};

QColor baseOf(const ColourRow& row) {
    return row.textBox()->palette().color(QPalette::Base);
}

TEST(ColourRow, ShowsTheValueAsTextAndBackground) {
    ScriptedPicker picker;
    ColourRow row(picker);
    const struct {
        uint32_t value;
        const char* text;
        QColor box, ink;
    } cases[] = {
        {0xFFDB5C1Cu, "&HFFDB5C1C", QColor(0xDB, 0x5C, 0x1C), Qt::white},
        {0xFFFFC90Eu, "&HFFFFC90E", QColor(0xFF, 0xC9, 0x0E), Qt::black},
        {0x00000000u, "&H0", QColor(0, 0, 0), Qt::white},
    };
    for (const auto& c : cases) {
        row.setValue(v(c.value));
        EXPECT_EQ(row.text(), QString::fromLatin1(c.text));
        EXPECT_EQ(baseOf(row), c.box) << c.text;
        EXPECT_EQ(row.textBox()->palette().color(QPalette::Text), c.ink) << c.text;
    }
}

TEST(ColourRow, TypedTextShowsInTheBoxOnceItReadsAsANumber) {
    ScriptedPicker picker;
    ColourRow row(picker);
    row.setValue(defaults::MinuteCircleColor);
    row.textBox()->setFocus();
    row.textBox()->selectAll();
    QTest::keyClicks(row.textBox(), QStringLiteral("&HFF00FF00"));
    EXPECT_EQ(row.boxColour(), 0x00FF00);
    EXPECT_EQ(row.readValue(), v(0xFF00FF00u));

    // Too big to store: the box keeps the last colour that could be stored.
    QTest::keyClicks(row.textBox(), QStringLiteral("1"));
    EXPECT_EQ(row.readValue(), std::nullopt);
    EXPECT_EQ(row.boxColour(), 0x00FF00);
}

struct Choice {
    const char* name;
    uint32_t shown;              // row value before the choice
    std::optional<int32_t> pick; // display colour chosen, nullopt = cancel
    int alphaAnswer;             // -1: keep what the alpha dialog starts with
    int expectedStart;           // -1: the alpha dialog must not open
    const char* expectedText;
};

void PrintTo(const Choice& c, std::ostream* os) {
    *os << c.name;
}

class ColourRowChoice : public ::testing::TestWithParam<Choice> {};

TEST_P(ColourRowChoice, FollowsTheAlphaStartRule) {
    const Choice& c = GetParam();
    ScriptedPicker picker;
    picker.colour = c.pick;
    if (c.alphaAnswer >= 0)
        picker.alpha = [&c](int) {
            return c.alphaAnswer;
        };
    ColourRow row(picker);
    row.setValue(v(c.shown));
    row.show();
    QSignalSpy chosen(&row, &ColourRow::colourChosen);

    QTest::mouseClick(row.chooseButton(), Qt::LeftButton);

    ASSERT_EQ(picker.initials.size(), 1u);
    EXPECT_EQ(picker.initials[0], colorTransfer(v(c.shown)) & 0xFFFFFF);
    if (c.expectedStart < 0) {
        EXPECT_TRUE(picker.alphaStarts.empty());
        EXPECT_EQ(chosen.count(), 0);
    } else {
        ASSERT_EQ(picker.alphaStarts.size(), 1u);
        EXPECT_EQ(picker.alphaStarts[0], c.expectedStart);
        ASSERT_EQ(chosen.count(), 1);
        EXPECT_EQ(chosen.at(0).at(0).toInt(), readNumber(row.text()).value());
        EXPECT_EQ(row.boxColour(), *c.pick);
    }
    EXPECT_EQ(row.text(), QString::fromLatin1(c.expectedText));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ColourRowChoice,
    ::testing::Values(
        Choice{"CancelChangesNothing", 0x77777777u, std::nullopt, -1, -1, "&H77777777"},
        Choice{"NewColourStartsOpaqueEvenFromATranslucentOne", 0x77777777u, 0x000000FF, -1, 255,
               "&HFFFF0000"},
        Choice{"KeptColourStartsAtItsOwnAlpha", 0x77777777u, 0x00777777, -1, 0x77, "&H77777777"},
        Choice{"TransparentGreenReadsBackUnchanged", 0xFF71A713u, 0x0000C000, 0, 255, "&H0C000"},
        Choice{"TransparentBlack", 0xFFFFFFFFu, 0x00000000, 0, 255, "&H0"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ColourRow, KeptColourTakesTheAlphaOfTheAppliedValueNotOfTheText) {
    ScriptedPicker picker;
    ColourRow row(picker);
    int32_t applied = v(0x33102030u);
    row.setAppliedValueSource([&applied] { return applied; });
    row.setValue(applied);
    row.setText(QStringLiteral("&HEE405060")); // typed, not applied yet
    picker.colour = 0x00605040;                // the colour the box now shows
    row.chooseColour();
    ASSERT_EQ(picker.alphaStarts.size(), 1u);
    EXPECT_EQ(picker.alphaStarts[0], 0x33);
    EXPECT_EQ(row.text(), QStringLiteral("&H33405060"));
}

// The real dialogs, answered the way a user would.
TEST(DialogColourPicker, ColourDialogThenAlphaDialog) {
    bool onTop = true;
    DialogColourPicker picker([&onTop] { return onTop; });
    ColourRow row(picker);
    row.setValue(defaults::ClockScaleColor);
    bool alphaOnTop = false;
    QColor preset;

    test::ModalAnswer<QColorDialog> colour([&](QColorDialog* d) {
        preset = d->currentColor();
        d->setCurrentColor(QColor(0x10, 0x20, 0x30));
        d->accept();
    });
    test::ModalAnswer<AlphaDialog> alpha([&](AlphaDialog* d) {
        alphaOnTop = d->windowFlags().testFlag(Qt::WindowStaysOnTopHint);
        d->valueBar()->setValue(0x40);
        QTest::mouseClick(d->okButton(), Qt::LeftButton);
    });
    row.chooseColour();

    EXPECT_TRUE(colour.found());
    EXPECT_TRUE(alpha.found());
    EXPECT_EQ(preset, QColor(0x77, 0x77, 0x77));
    EXPECT_TRUE(alphaOnTop);
    EXPECT_EQ(row.text(), QStringLiteral("&H40102030"));
    EXPECT_EQ(row.boxColour(), 0x302010);
}

TEST(DialogColourPicker, CancelledColourDialogShowsNoAlphaDialog) {
    DialogColourPicker picker;
    ColourRow row(picker);
    row.setValue(defaults::SecondCircleColor);
    test::ModalAnswer<QColorDialog> colour([](QColorDialog* d) {
        d->setCurrentColor(Qt::red);
        d->reject();
    });
    test::ModalAnswer<AlphaDialog> alpha([](AlphaDialog* d) { d->reject(); }, 300);
    row.chooseColour();
    EXPECT_TRUE(colour.found());
    EXPECT_FALSE(alpha.found());
    EXPECT_EQ(row.text(), QStringLiteral("&HFF71A713"));
}

// A custom colour the user adds is neither written to Qt's settings file nor shown
// by the next dialog, which starts from the initial colour alone.
TEST(DialogColourPicker, CustomColoursAreNeitherStoredNorKept) {
    const QString configFile =
        qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/QtProject.conf");
    DialogColourPicker picker;
    QList<QRgb> tables[2];
    for (const int32_t initial : {0x302010, 0x0000FF}) {
        QList<QRgb>& table = tables[initial == 0x0000FF];
        test::ModalAnswer<QColorDialog> colour([&](QColorDialog* d) {
            for (int i = 0; i < QColorDialog::customCount(); ++i)
                table << QColorDialog::customColor(i).rgb();
            d->setCurrentColor(QColor(0x55, 0x66, 0x77));
            for (QPushButton* b : d->findChildren<QPushButton*>())
                if (b->text().contains(QStringLiteral("Custom")))
                    b->click();
            d->accept();
        });
        ASSERT_TRUE(picker.pickColour(nullptr, initial).has_value());
        ASSERT_TRUE(colour.found());
    }
    for (const auto& table : tables)
        ASSERT_EQ(table.size(), 16);
    EXPECT_EQ(tables[0][0], qRgb(0x10, 0x20, 0x30));
    EXPECT_EQ(tables[1][0], qRgb(0xFF, 0, 0)) << "the first dialog's custom colour came back";
    for (int i = 1; i < 16; ++i)
        EXPECT_EQ(tables[1][i], qRgb(0, 0, 0)) << i;
    EXPECT_FALSE(QFile::exists(configFile));
    EXPECT_FALSE(
        QFile::exists(QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName()));
}

} // namespace
} // namespace ovra
