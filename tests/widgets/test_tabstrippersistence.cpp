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
        ASSERT_TRUE(original.setProperty(
            field.name, QVariant::fromValue(test::storedColour(0x00010203u * ++n))));
    // A palette entry, top bit set.
    original.setProperty("HoverColor", QVariant::fromValue(test::storedColour(0x8000000Du)));

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
        EXPECT_EQ(loaded.tabCaption(t), original.tabCaption(t)) << t;
        EXPECT_EQ(loaded.isTabEnabled(t), original.isTabEnabled(t)) << t;
        EXPECT_EQ(loaded.tabAccessKey(t), original.tabAccessKey(t)) << t;
    }
    EXPECT_EQ(loaded.accessKeys(), (QList<int>{'G', 'L'}));
    EXPECT_EQ(loaded.tabPicture(3).toImage().convertToFormat(QImage::Format_RGB32),
              picture.toImage().convertToFormat(QImage::Format_RGB32));
    EXPECT_TRUE(loaded.tabPicture(0).isNull());
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
    EXPECT_EQ(strip.tabCount(), 3);
    EXPECT_EQ(strip.activeTab(), 0);
    EXPECT_EQ(strip.tabCaption(0), QStringLiteral("Tab0")); // the written default
    EXPECT_EQ(strip.tabCaption(2), QStringLiteral("Tab2"));
    EXPECT_EQ(strip.outerBorderColor(), test::storedColour(0x80000015u));
    EXPECT_EQ(strip.backColor(), test::storedColour(0x8000000Fu));
    EXPECT_EQ(strip.disabledTabBackColor(), test::storedColour(0x80000010u));
    EXPECT_FALSE(strip.useMaskColor());
    EXPECT_EQ(strip.xRadius(), 0);
    EXPECT_TRUE(strip.tabPicture(0).isNull());

    QVariantMap out;
    strip.writeProperties(out);
    EXPECT_FALSE(out.contains("TabContCtrlCnt(0)"));

    strip.readProperties(QVariantMap{{"TabCount", 99999}});
    EXPECT_EQ(strip.tabCount(), TabStrip::kMaxTabCount);
}

TEST(TabPersistence, ColoursReadInEitherSignedness) {
    const struct {
        QVariant stored;
        quint32 expected;
    } cases[] = {
        {qint32(0x80000012), 0x80000012},
        {quint32(0x80000012), 0x80000012},
        {qint64(0x00FBFDFB), 0x00FBFDFB},
        {QStringLiteral("-2147483630"), 0x80000012},
    };
    for (const auto& c : cases) {
        TabStrip strip;
        strip.readProperties(QVariantMap{{"ForeColor", c.stored}});
        EXPECT_EQ(strip.foreColor(), test::storedColour(c.expected))
            << c.stored.toString().toStdString();
    }
}

// A palette whose roles all differ, so a colour read from the wrong role shows.
QPalette distinctPalette() {
    QPalette p;
    int n = 1;
    for (int role = 0; role < QPalette::NColorRoles; ++role) {
        if (role == QPalette::NoRole)
            continue;
        for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
            p.setColor(group, QPalette::ColorRole(role), QColor(n, 255 - n, (n * 7) % 256));
            ++n;
        }
    }
    return p;
}

TEST(TabPersistence, ColourNumbersStandForPaletteEntriesOrFixedColours) {
    const QPalette p = distinctPalette();
    const struct {
        quint32 stored;
        QColor drawn; // invalid: the palette entry below
        QPalette::ColorGroup group;
        QPalette::ColorRole role;
        quint32 written; // for the same colour set afresh
    } cases[] = {
        {0x00A76D50, QColor(0x50, 0x6D, 0xA7), {}, {}, 0x00A76D50},
        {0x00000000, QColor(0, 0, 0), {}, {}, 0x00000000},
        {0x8000000F, {}, QPalette::Active, QPalette::Button, 0x8000000F},
        {0x80000010, {}, QPalette::Active, QPalette::Dark, 0x80000010},
        {0x80000011, {}, QPalette::Disabled, QPalette::Text, 0x80000011},
        {0x80000012, {}, QPalette::Active, QPalette::ButtonText, 0x80000012},
        {0x80000014, {}, QPalette::Active, QPalette::Light, 0x80000014},
        {0x80000015, {}, QPalette::Active, QPalette::Shadow, 0x80000015},
        {0x80000016, {}, QPalette::Active, QPalette::Midlight, 0x80000016},
        {0x80000005, {}, QPalette::Active, QPalette::Base, 0x80000005},
        {0x80000018, {}, QPalette::Active, QPalette::ToolTipBase, 0x80000018},
        // Indices that share an entry: set afresh, the one that names it plainly.
        {0x80000002, {}, QPalette::Active, QPalette::Highlight, 0x8000000D},
        {0x80000000, {}, QPalette::Active, QPalette::Button, 0x8000000F},
        {0x8000001E, {}, QPalette::Active, QPalette::Window, 0x80000004},
        // Indices the system does not define draw black rather than garbage.
        {0x80000019, QColor(0, 0, 0), {}, {}, 0},
        {0x8000001F, QColor(0, 0, 0), {}, {}, 0},
        {0x80FFFFFF, QColor(0, 0, 0), {}, {}, 0},
        // Palette-relative colours keep their RGB.
        {0x02112233, QColor(0x33, 0x22, 0x11), {}, {}, 0x00112233},
    };
    for (const auto& c : cases) {
        const TabColor colour = TabStripPersistence::colourFromStored(c.stored);
        EXPECT_EQ(colour.followsPalette(), !c.drawn.isValid()) << std::hex << c.stored;
        const QColor want = c.drawn.isValid() ? c.drawn : p.color(c.group, c.role);
        EXPECT_EQ(colour.resolved(p), want) << std::hex << c.stored;
        // A bag read and written back keeps every number as it was.
        EXPECT_EQ(TabStripPersistence::storedFromColour(colour, p), c.stored)
            << std::hex << c.stored;
        EXPECT_EQ(TabStripPersistence::storedFromColour(colour.withoutStoredNumber(), p), c.written)
            << std::hex << c.stored;
    }
    // An entry no index names is written as the colour it draws with.
    const TabColor alternate(QPalette::Active, QPalette::AlternateBase);
    const QColor drawn = p.color(QPalette::Active, QPalette::AlternateBase);
    EXPECT_EQ(TabStripPersistence::storedFromColour(alternate, p),
              quint32(drawn.red() | drawn.green() << 8 | drawn.blue() << 16));
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
    EXPECT_FALSE(loaded.activeTabFont().bold());
    EXPECT_TRUE(loaded.inActiveTabFont().bold());
    EXPECT_EQ(loaded.tabStripBackColor(), TabColor(QColor(0x44, 0x55, 0x66)));
}

TEST(TabPersistence, LoadingRearrangesExistingChildren) {
    TabStrip strip;
    strip.resize(300, 200);
    auto* onZero = new QWidget(&strip);
    onZero->setGeometry(5, 40, 10, 10);
    strip.readProperties(QVariantMap{{"ActiveTab", 2}});
    EXPECT_EQ(strip.activeTab(), 2);
    EXPECT_FALSE(strip.rect().intersects(onZero->geometry()));
    strip.setActiveTab(0);
    EXPECT_EQ(onZero->x(), 5);
}

} // namespace
} // namespace ovra
