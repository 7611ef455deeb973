#include "dialogs/frmalpha.h"
#include "modalanswer.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace ovra {
namespace {

QString labelAt(const FrmAlpha& d) {
    return d.valueLabel()->text();
}

TEST(FrmAlpha, OpensAtTheColourAlpha) {
    const struct {
        int start;
        int shown;
    } cases[] = {{255, 255}, {0, 0}, {119, 119}, {300, 255}, {-4, 0}};
    for (const auto& c : cases) {
        FrmAlpha d(c.start, false, nullptr);
        EXPECT_EQ(d.valueBar()->value(), c.shown) << c.start;
        EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: %1").arg(c.shown));
        EXPECT_EQ(d.colourAlpha(), c.shown);
    }
    FrmAlpha full(255, false, nullptr);
    EXPECT_EQ(full.valueBar()->value(), full.valueBar()->maximum());
    FrmAlpha none(0, false, nullptr);
    EXPECT_EQ(none.valueBar()->value(), none.valueBar()->minimum());
    EXPECT_EQ(none.valueBar()->maximum(), 255);
}

TEST(FrmAlpha, CaptionEndLabelsAndTopmostChoice) {
    FrmAlpha plain(10, false, nullptr);
    FrmAlpha top(10, true, nullptr);
    EXPECT_EQ(plain.windowTitle(), QStringLiteral("Set Color Alpha Value"));
    EXPECT_FALSE(plain.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_TRUE(top.windowFlags().testFlag(Qt::WindowStaysOnTopHint));

    plain.show();
    auto* transparent = plain.findChild<QLabel*>(QStringLiteral("Label1"));
    auto* opaque = plain.findChild<QLabel*>(QStringLiteral("Label2"));
    ASSERT_TRUE(transparent && opaque);
    EXPECT_EQ(transparent->text(), QStringLiteral("Transparent"));
    EXPECT_EQ(opaque->text(), QStringLiteral("Opaque"));
    const QRect bar = plain.valueBar()->geometry();
    EXPECT_LE(transparent->geometry().left(), bar.left() + 4);
    EXPECT_GE(opaque->geometry().right(), bar.right() - 4);
    EXPECT_GT(transparent->geometry().top(), bar.top());
    EXPECT_EQ(plain.okButton()->text(), QStringLiteral("&OK"));
}

TEST(FrmAlpha, LabelFollowsEveryWayTheBarMoves) {
    FrmAlpha d(100, false, nullptr);
    d.show();
    QScrollBar* bar = d.valueBar();

    bar->setSliderDown(true); // dragging the thumb
    bar->setSliderPosition(37);
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 37"));
    bar->setSliderDown(false);

    bar->triggerAction(QAbstractSlider::SliderSingleStepAdd); // arrow
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 38"));
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd); // track
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 54"));

    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_Left);
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 53"));
    QTest::keyClick(bar, Qt::Key_Right);
    QTest::keyClick(bar, Qt::Key_Right);
    EXPECT_EQ(labelAt(d), QStringLiteral("Alpha Value: 55"));
    // Moving the bar alone does not change the result.
    EXPECT_EQ(d.colourAlpha(), 100);
}

TEST(FrmAlpha, OnlyOkTakesTheBarValue) {
    enum class Close { Ok, CloseBox, Escape };
    const struct {
        const char* name;
        Close how;
        int expected;
    } cases[] = {
        {"ok", Close::Ok, 0}, {"close box", Close::CloseBox, 200}, {"escape", Close::Escape, 200}};
    for (const auto& c : cases) {
        FrmAlpha d(200, false, nullptr);
        d.show();
        d.valueBar()->triggerAction(QAbstractSlider::SliderToMinimum);
        ASSERT_EQ(d.valueBar()->value(), 0);
        switch (c.how) {
        case Close::Ok:
            QTest::mouseClick(d.okButton(), Qt::LeftButton);
            break;
        case Close::CloseBox:
            d.close();
            break;
        case Close::Escape:
            QTest::keyClick(&d, Qt::Key_Escape);
            break;
        }
        EXPECT_FALSE(d.isVisible()) << c.name;
        EXPECT_EQ(d.colourAlpha(), c.expected) << c.name;
    }
}

TEST(FrmAlpha, AskRunsModalAndReturnsTheResult) {
    test::ModalAnswer<FrmAlpha> moved([](FrmAlpha* d) {
        d->valueBar()->setValue(90);
        QTest::keyClick(d, Qt::Key_Return); // the default button
    });
    EXPECT_EQ(FrmAlpha::ask(nullptr, 255, false), 90);
    EXPECT_TRUE(moved.found());

    test::ModalAnswer<FrmAlpha> closed([](FrmAlpha* d) {
        d->valueBar()->setValue(90);
        d->close();
    });
    EXPECT_EQ(FrmAlpha::ask(nullptr, 12, false), 12);
    EXPECT_TRUE(closed.found());
}

} // namespace
} // namespace ovra
