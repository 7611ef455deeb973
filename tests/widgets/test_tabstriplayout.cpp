#include "widgets/tabstrip.h"
#include "widgets/tabstriplayout.h"

#include <gtest/gtest.h>

namespace ovra {
namespace {

TEST(TabLayout, TabbedDialogSharesTheWidthWithoutGapsOrOverlap) {
    for (int width : {300, 301, 7, 1000}) {
        for (int count : {1, 3, 7}) {
            TabLayoutInput in;
            in.width = width;
            in.style = 0;
            in.activeTab = count - 1;
            in.contentWidths.fill(0, count);
            const QList<QRect> rects = TabStripLayout::tabRects(in);
            ASSERT_EQ(rects.size(), count);
            EXPECT_EQ(rects.first().left(), 0);
            EXPECT_EQ(rects.last().right(), width - 1);
            for (int i = 1; i < count; ++i)
                EXPECT_EQ(rects[i].left(), rects[i - 1].right() + 1) << width << "/" << count;
            for (int i = 0; i < count; ++i)
                EXPECT_LE(std::abs(rects[i].width() - width / count), 1);
        }
    }
}

TEST(TabLayout, HeightsShareTheBottomRow) {
    TabLayoutInput in;
    in.width = 300;
    in.activeTab = 1;
    in.activeHeight = 22;
    in.inactiveHeight = 20;
    in.contentWidths = {40, 50, 60};
    for (int style : {0, 1}) {
        in.style = style;
        const QList<QRect> rects = TabStripLayout::tabRects(in);
        for (int i = 0; i < 3; ++i) {
            EXPECT_EQ(rects[i].bottom(), 21) << style;
            EXPECT_EQ(rects[i].height(), i == 1 ? 22 : 20) << style;
        }
    }
}

TEST(TabLayout, PropertyPagesFollowTheContentAndWidenTheActiveTab) {
    TabLayoutInput in;
    in.width = 300;
    in.style = 1;
    in.activeTab = 1;
    in.contentWidths = {40, 50, 60};
    const QList<QRect> rects = TabStripLayout::tabRects(in);
    EXPECT_EQ(rects[0], QRect(QPoint(2, 2), QPoint(41, 19)));
    EXPECT_EQ(rects[1], QRect(QPoint(40, 0), QPoint(93, 19))); // 2 pixels wider on each side
    EXPECT_EQ(rects[2], QRect(QPoint(92, 2), QPoint(151, 19)));
}

TEST(TabLayout, PicturesFitTheirSizeClassAndTheTab) {
    const struct {
        QSize natural;
        int sizeClass, room;
        QSize expected;
    } cases[] = {
        {{16, 16}, 0, 30, {16, 16}}, {{48, 24}, 0, 12, {24, 12}}, {{10, 10}, 1, 30, {16, 16}},
        {{10, 10}, 2, 30, {24, 24}}, {{10, 10}, 3, 20, {20, 20}}, {{}, 1, 30, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(TabStripLayout::pictureSize(c.natural, c.sizeClass, c.room), c.expected)
            << c.sizeClass << " " << c.room;
}

TEST(TabLayout, SizeHintFollowsTheCaptionsNotTheCurrentWidth) {
    for (int style : {0, 1}) {
        TabStrip strip;
        strip.setTabStyle(style);
        strip.resize(300, 100);
        const QSize hint = strip.sizeHint();
        strip.resize(900, 100);
        EXPECT_EQ(strip.sizeHint(), hint) << style;
        strip.setTabCaption(0, QString(80, u'W'));
        EXPECT_GT(strip.sizeHint().width(), hint.width()) << style;
    }
}

} // namespace
} // namespace ovra
