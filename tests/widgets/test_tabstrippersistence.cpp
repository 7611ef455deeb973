#include "tabstripfixture.h"
#include "widgets/tabstrippersistence.h"

#include <QMetaProperty>
#include <gtest/gtest.h>

namespace ovra {
namespace {

QSet<QString> keysOf(const QVariantMap& bag) {
    const QStringList keys = bag.keys();
    return QSet<QString>(keys.begin(), keys.end());
}

TEST(TabPersistence, NewStripWritesOnlyWhatDiffersFromTheWrittenDefaults) {
    TabStrip strip;
    QVariantMap bag;
    strip.writeProperties(bag);
    // Captions are written because "Tab 0" differs from the written default "Tab0"; the
    // disabled colours because theme 0's set differs from the column of defaults.
    EXPECT_EQ(keysOf(bag), (QSet<QString>{"TabCaption(0)", "TabCaption(1)", "TabCaption(2)",
                                          "DisabledTabBackColor", "DisabledTabForeColor"}));
    EXPECT_EQ(bag.value("TabCaption(1)").toString(), QStringLiteral("Tab 1"));
    EXPECT_EQ(bag.value("DisabledTabForeColor").toLongLong(), qint32(0x80000015));

    strip.setTabCaption(1, QStringLiteral("Tab1"));
    strip.setXRadius(4);
    strip.setXRadius(10);
    bag.clear();
    strip.writeProperties(bag);
    EXPECT_FALSE(bag.contains("TabCaption(1)"));
    EXPECT_FALSE(bag.contains("XRadius"));
}

TEST(TabPersistence, EveryPropertySurvivesTheRoundTrip) {
    QWidget container;
    TabStrip original(&container);
    original.resize(400, 300);
    original.setTabCount(4);
    original.setActiveTab(2);
    original.setTabCaption(0, QStringLiteral("&General"));
    original.setTabCaption(3, QStringLiteral("Save && &Load"));
    original.setTabEnabled(1, false);
    QPixmap picture(8, 6);
    picture.fill(QColor(200, 10, 30));
    original.setTabPicture(3, picture);
    const struct {
        const char* name;
        QVariant value;
    } changes[] = {
        {"TabStyle", 1},
        {"TabTheme", 3},
        {"ActiveTabHeight", 26},
        {"InActiveTabHeight", 21},
        {"UseFocusedColor", false},
        {"ShowFocusRect", false},
        {"UseMouseWheelScroll", false},
        {"UseControlBox", true},
        {"PictureAlign", 1},
        {"PictureSize", 2},
        {"UseMaskColor", false},
        {"XRadius", 3},
        {"YRadius", 4},
        {"Enabled", false},
        {"ActiveTabFont", QFont(QStringLiteral("Serif"), 13, QFont::Bold)},
        {"InActiveTabFont", QFont(QStringLiteral("Serif"), 11)},
    };
    for (const auto& c : changes)
        ASSERT_TRUE(original.setProperty(c.name, c.value)) << c.name;
    uint n = 0;
    for (const TabColorField& field : kTabColorFields)
        ASSERT_TRUE(original.setProperty(field.name, 0x00010203u * ++n));
    original.setProperty("HoverColor", 0x8000000Du); // a system colour, top bit set

    QVariantMap bag;
    original.writeProperties(bag);
    for (const auto& c : changes)
        EXPECT_TRUE(bag.contains(c.name)) << c.name;

    QWidget otherContainer;
    TabStrip loaded(&otherContainer);
    loaded.resize(400, 300);
    loaded.readProperties(bag);
    const QMetaObject& meta = TabStrip::staticMetaObject;
    for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
        const QMetaProperty property = meta.property(i);
        if (!property.isWritable())
            continue;
        EXPECT_EQ(loaded.property(property.name()), original.property(property.name()))
            << property.name();
    }
    for (int t = 0; t < 4; ++t) {
        EXPECT_EQ(loaded.TabCaption(t), original.TabCaption(t)) << t;
        EXPECT_EQ(loaded.TabEnabled(t), original.TabEnabled(t)) << t;
        EXPECT_EQ(loaded.TabAccessKey(t), original.TabAccessKey(t)) << t;
    }
    EXPECT_EQ(loaded.AccessKeys(), (QList<int>{'G', 'L'}));
    EXPECT_EQ(loaded.TabPicture(3).toImage().convertToFormat(QImage::Format_RGB32),
              picture.toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(loaded.TabPicture(0).isNull());
}

TEST(TabPersistence, MissingAndUnreadableValuesLoadTheirWrittenDefaults) {
    QVariantMap bag{
        {"TabCount", QStringLiteral("lots")},
        {"ActiveTab", 7},
        {"TabContCtrlCnt(0)", 5},
        {"TabContCtrlCnt(1)", QStringLiteral("junk")},
        {"OuterBorderColor", QStringLiteral("red")},
        {"BackColor", qint64(1) << 40},
        {"UseMaskColor", QStringLiteral("False")},
        {"XRadius", -50},
        {"TabPicture(0)", QByteArray("not a picture")},
    };
    TabStrip strip;
    strip.readProperties(bag);
    EXPECT_EQ(strip.TabCount(), 3);
    EXPECT_EQ(strip.ActiveTab(), 0);
    EXPECT_EQ(strip.TabCaption(0), QStringLiteral("Tab0")); // the written default
    EXPECT_EQ(strip.TabCaption(2), QStringLiteral("Tab2"));
    EXPECT_EQ(strip.OuterBorderColor(), 0x80000015u);
    EXPECT_EQ(strip.BackColor(), 0x8000000Fu);
    EXPECT_EQ(strip.DisabledTabBackColor(), 0x80000010u);
    EXPECT_FALSE(strip.UseMaskColor());
    EXPECT_EQ(strip.XRadius(), 0);
    EXPECT_TRUE(strip.TabPicture(0).isNull());

    QVariantMap out;
    strip.writeProperties(out);
    EXPECT_FALSE(out.contains("TabContCtrlCnt(0)"));

    strip.readProperties(QVariantMap{{"TabCount", 99999}});
    EXPECT_EQ(strip.TabCount(), TabStrip::kMaxTabCount);
}

TEST(TabPersistence, ColoursReadInEitherSignedness) {
    const struct {
        QVariant stored;
        OleColor expected;
    } cases[] = {
        {qint32(0x80000012), 0x80000012},
        {quint32(0x80000012), 0x80000012},
        {qint64(0x00FBFDFB), 0x00FBFDFB},
        {QStringLiteral("-2147483630"), 0x80000012},
    };
    for (const auto& c : cases) {
        TabStrip strip;
        strip.readProperties(QVariantMap{{"ForeColor", c.stored}});
        EXPECT_EQ(strip.ForeColor(), c.expected) << c.stored.toString().toStdString();
    }
}

TEST(TabPersistence, ReusedBagLosesValuesThatWentBackToDefault) {
    QVariantMap bag{{"XRadius", 3}, {"TabCaption(7)", QStringLiteral("old")}, {"Other", 1}};
    TabStrip strip;
    strip.writeProperties(bag);
    EXPECT_FALSE(bag.contains("XRadius"));
    EXPECT_FALSE(bag.contains("TabCaption(7)"));
    EXPECT_EQ(bag.value("Other"), QVariant(1));
}

// The defaults that follow the strip's font and its container are not constants: a font
// the user chose must be stored even when it equals the other font's default, and a
// strip loaded into another container takes that container's colour.
TEST(TabPersistence, DefaultsThatFollowTheFontAndContainerAreKeptApart) {
    QWidget container;
    QPalette palette = container.palette();
    palette.setColor(QPalette::Window, QColor(0x11, 0x22, 0x33));
    container.setPalette(palette);
    TabStrip strip(&container);
    QVariantMap bag;
    strip.writeProperties(bag);
    EXPECT_FALSE(bag.contains("TabStripBackColor"));
    EXPECT_FALSE(bag.contains("ActiveTabFont"));
    EXPECT_FALSE(bag.contains("InActiveTabFont"));

    QFont bold = strip.font();
    bold.setBold(true);
    QFont plain = strip.font();
    plain.setBold(false);
    strip.setActiveTabFont(plain);
    strip.setInActiveTabFont(bold);
    strip.writeProperties(bag);
    EXPECT_TRUE(bag.contains("ActiveTabFont"));
    EXPECT_TRUE(bag.contains("InActiveTabFont"));

    QWidget other;
    palette.setColor(QPalette::Window, QColor(0x44, 0x55, 0x66));
    other.setPalette(palette);
    TabStrip loaded(&other);
    loaded.readProperties(bag);
    EXPECT_FALSE(loaded.ActiveTabFont().bold());
    EXPECT_TRUE(loaded.InActiveTabFont().bold());
    EXPECT_EQ(loaded.TabStripBackColor(), 0x00665544u);
}

TEST(TabPersistence, LoadingRearrangesExistingChildren) {
    TabStrip strip;
    strip.resize(300, 200);
    auto* onZero = new QWidget(&strip);
    onZero->setGeometry(5, 40, 10, 10);
    strip.readProperties(QVariantMap{{"ActiveTab", 2}});
    EXPECT_EQ(strip.ActiveTab(), 2);
    EXPECT_FALSE(strip.rect().intersects(onZero->geometry()));
    strip.setActiveTab(0);
    EXPECT_EQ(onZero->x(), 5);
}

} // namespace
} // namespace ovra
