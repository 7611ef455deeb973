#include "dialogs/alphadialog.h"
#include "modalanswer.h"

#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace ovra {
namespace {

QString labelAt(const AlphaDialog& d) {
    return d.valueLabel()->text();
}

TEST(AlphaDialog, OpensAtTheColourAlpha) {
    const struct {
        int start, shown;
    } cases[] = {{255, 255}, {0, 0}, {119, 119}, {300, 255}, {-4, 0}};
    for (const auto& c : cases) {
        AlphaDialog d(c.start, false, nullptr);
        EXPECT_EQ(d.valueBar()->value(), c.shown) << c.start;
        EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: %1").arg(c.shown));
    }
    AlphaDialog top(10, true, nullptr);
    EXPECT_EQ(top.windowTitle(), QStringLiteral("Set Color Alpha Value"));
    EXPECT_TRUE(top.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(top.valueBar()->maximum(), 255);
    // A screen reader names the bar by its label; its value is the number.
    EXPECT_EQ(QAccessible::queryAccessibleInterface(top.valueBar())->text(QAccessible::Name),
              QStringLiteral("Alpha Value"));
}

TEST(AlphaDialog, EndLabelsSitUnderTheirEndsOfTheBar) {
    AlphaDialog d(10, false, nullptr);
    d.show();
    auto* transparent = d.findChild<QLabel*>(QStringLiteral("transparentLabel"));
    auto* opaque = d.findChild<QLabel*>(QStringLiteral("opaqueLabel"));
    ASSERT_TRUE(transparent && opaque);
    EXPECT_EQ(transparent->text(), QStringLiteral("Transparent"));
    EXPECT_EQ(opaque->text(), QStringLiteral("Opaque"));
    const QRect bar = d.valueBar()->geometry();
    EXPECT_LE(transparent->geometry().left(), bar.left() + 4);
    EXPECT_GE(opaque->geometry().right(), bar.right() - 4);
    EXPECT_GT(transparent->geometry().top(), bar.top());
}

TEST(AlphaDialog, LabelFollowsEveryWayTheBarMoves) {
    AlphaDialog d(100, false, nullptr);
    d.show();
    QScrollBar* bar = d.valueBar();
    bar->setSliderDown(true); // dragging the thumb
    bar->setSliderPosition(37);
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 37"));
    bar->setSliderDown(false);
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // a click on the track
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 53"));
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Left); // Left means more transparent
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 52"));
    EXPECT_EQ(d.colourAlpha(), 100); // moving the bar alone is not a result
}

TEST(AlphaDialog, OnlyOkTakesTheBarValue) {
    const struct {
        const char* name;
        std::function<void(AlphaDialog*)> close;
        int expected;
    } cases[] = {
        {"ok", [](AlphaDialog* d) { QTest::mouseClick(d->okButton(), Qt::LeftButton); }, 0},
        {"return", [](AlphaDialog* d) { QTest::keyClick(d, Qt::Key_Return); }, 0},
        {"close box", [](AlphaDialog* d) { d->close(); }, 200},
        {"escape", [](AlphaDialog* d) { QTest::keyClick(d, Qt::Key_Escape); }, 200},
    };
    for (const auto& c : cases) {
        test::ModalAnswer<AlphaDialog> answer([&c](AlphaDialog* d) {
            d->valueBar()->triggerAction(QAbstractSlider::SliderToMinimum);
            c.close(d);
        });
        EXPECT_EQ(AlphaDialog::ask(nullptr, 200, false), c.expected) << c.name;
        EXPECT_TRUE(answer.found()) << c.name;
    }
}

} // namespace
} // namespace ovra
