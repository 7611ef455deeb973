#include "widgets/tabstrippersistence.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <array>
#include <limits>

namespace ovra {

namespace {

// Colours are stored as OLE colours: 0x00BBGGRR (red in the lowest byte), or a
// system colour index with the top bit set (0x800000nn). The indices stand for
// palette entries; several indices share one entry, and the bag gets the first index
// of an entry that no other index names more plainly.
constexpr quint32 kSystemColourBit = 0x80000000u;
constexpr int kSystemColourCount = 31;
constexpr QPalette::ColorRole kUndefined = QPalette::NoRole;

struct SystemColour {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
    bool alias; // another index names the same entry and is written instead
};

// clang-format off
constexpr std::array<SystemColour, kSystemColourCount> kSystemColours{{
    {QPalette::Active, QPalette::Button, true},             // 0 scroll bar
    {QPalette::Active, QPalette::Dark, true},               // 1 desktop
    {QPalette::Active, QPalette::Highlight, true},          // 2 active caption
    {QPalette::Inactive, QPalette::Highlight, false},       // 3 inactive caption
    {QPalette::Active, QPalette::Window, false},            // 4 menu
    {QPalette::Active, QPalette::Base, false},              // 5 window
    {QPalette::Active, QPalette::Shadow, true},             // 6 window frame
    {QPalette::Active, QPalette::WindowText, false},        // 7 menu text
    {QPalette::Active, QPalette::Text, false},              // 8 window text
    {QPalette::Active, QPalette::HighlightedText, true},    // 9 caption text
    {QPalette::Active, QPalette::Button, true},             // 10 active border
    {QPalette::Active, QPalette::Button, true},             // 11 inactive border
    {QPalette::Active, QPalette::Mid, false},               // 12 application workspace
    {QPalette::Active, QPalette::Highlight, false},         // 13 highlight
    {QPalette::Active, QPalette::HighlightedText, false},   // 14 highlight text
    {QPalette::Active, QPalette::Button, false},            // 15 button face
    {QPalette::Active, QPalette::Dark, false},              // 16 button shadow
    {QPalette::Disabled, QPalette::Text, false},            // 17 grey text
    {QPalette::Active, QPalette::ButtonText, false},        // 18 button text
    {QPalette::Inactive, QPalette::HighlightedText, false}, // 19 inactive caption text
    {QPalette::Active, QPalette::Light, false},             // 20 button highlight
    {QPalette::Active, QPalette::Shadow, false},            // 21 3-D dark shadow
    {QPalette::Active, QPalette::Midlight, false},          // 22 3-D light
    {QPalette::Active, QPalette::ToolTipText, false},       // 23 tooltip text
    {QPalette::Active, QPalette::ToolTipBase, false},       // 24 tooltip background
    {QPalette::Active, kUndefined, true},                   // 25 not defined
    {QPalette::Active, QPalette::Link, false},              // 26 hot-tracked item
    {QPalette::Active, QPalette::Highlight, true},          // 27 active caption gradient
    {QPalette::Inactive, QPalette::Highlight, true},        // 28 inactive caption gradient
    {QPalette::Active, QPalette::Highlight, true},          // 29 menu highlight
    {QPalette::Active, QPalette::Window, true},             // 30 menu bar
}};
// clang-format on

const char* const kPerTabNames[] = {"TabCaption", "TabEnabled", "TabAccessKey", "TabPicture",
                                    "TabContCtrlCnt"};

const char* const kScalarNames[] = {
    "TabCount",          "ActiveTab",       "TabStyle",        "TabTheme",
    "UseThemeDetection", "ActiveTabFont",   "InActiveTabFont", "ActiveTabHeight",
    "InActiveTabHeight", "UseFocusedColor", "ShowFocusRect",   "UseMouseWheelScroll",
    "UseControlBox",     "PictureAlign",    "PictureSize",     "UseMaskColor",
    "XRadius",           "YRadius",         "Enabled"};

class BagReader {
public:
    explicit BagReader(const QVariantMap& bag) : m_bag(bag) {}

    int integer(const QString& key, int fallback) const {
        const QVariant v = m_bag.value(key);
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!v.isValid() || !ok || n < std::numeric_limits<int>::min() ||
            n > std::numeric_limits<int>::max())
            return fallback;
        return int(n);
    }

    TabColor color(const QString& key, const TabColor& fallback) const {
        const QVariant v = m_bag.value(key);
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!v.isValid() || !ok || n < std::numeric_limits<int>::min() ||
            n > std::numeric_limits<quint32>::max())
            return fallback;
        return TabStripPersistence::colourFromStored(quint32(quint64(n) & 0xFFFFFFFFu));
    }

    bool boolean(const QString& key, bool fallback) const {
        const QVariant v = m_bag.value(key);
        if (!v.isValid())
            return fallback;
        if (v.typeId() == QMetaType::Bool)
            return v.toBool();
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (ok)
            return n != 0;
        const QString text = v.toString().trimmed();
        if (text.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return false;
        return fallback;
    }

    QString text(const QString& key, const QString& fallback) const {
        const QVariant v = m_bag.value(key);
        return v.canConvert<QString>() && v.isValid() ? v.toString() : fallback;
    }

    std::optional<QFont> font(const QString& key) const {
        const QVariant v = m_bag.value(key);
        if (v.typeId() == QMetaType::QFont)
            return v.value<QFont>();
        QFont f;
        if (v.typeId() == QMetaType::QString && f.fromString(v.toString()))
            return f;
        return std::nullopt;
    }

    QPixmap picture(const QString& key) const {
        const QVariant v = m_bag.value(key);
        if (v.typeId() == QMetaType::QPixmap)
            return v.value<QPixmap>();
        if (v.typeId() == QMetaType::QImage)
            return QPixmap::fromImage(v.value<QImage>());
        QPixmap pixmap;
        if (v.typeId() == QMetaType::QByteArray)
            pixmap.loadFromData(v.toByteArray());
        return pixmap;
    }

private:
    const QVariantMap& m_bag;
};

QByteArray pngData(const QPixmap& pixmap) {
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    pixmap.save(&buffer, "PNG");
    return data;
}

} // namespace

namespace {

TabColor colourOfNumber(quint32 stored) {
    if ((stored & 0xFF000000u) == kSystemColourBit) {
        const quint32 index = stored & 0x00FFFFFFu;
        // An index the system does not define draws black, as a failed lookup did.
        if (index >= kSystemColours.size() || kSystemColours[index].role == kUndefined)
            return QColor(0, 0, 0);
        return TabColor(kSystemColours[index].group, kSystemColours[index].role);
    }
    // Palette-relative and palette-index colours carry their RGB in the low bytes too.
    return QColor(int(stored & 0xFF), int((stored >> 8) & 0xFF), int((stored >> 16) & 0xFF));
}

} // namespace

TabColor TabStripPersistence::colourFromStored(quint32 stored) {
    return colourOfNumber(stored).withStoredNumber(stored);
}

quint32 TabStripPersistence::storedFromColour(const TabColor& colour, const QPalette& palette) {
    if (const std::optional<quint32> stored = colour.storedNumber())
        return *stored;
    if (colour.followsPalette()) {
        for (size_t i = 0; i < kSystemColours.size(); ++i) {
            const SystemColour& s = kSystemColours[i];
            if (!s.alias && s.group == colour.group() && s.role == colour.role())
                return kSystemColourBit | quint32(i);
        }
    }
    // A palette entry no index names is stored as the colour it draws with.
    const QColor c = colour.resolved(palette);
    return quint32(c.red()) | (quint32(c.green()) << 8) | (quint32(c.blue()) << 16);
}

QString TabStripPersistence::tabKey(const char* name, int index) {
    return QLatin1String(name) + u'(' + QString::number(index) + u')';
}

QString TabStripPersistence::writtenCaptionDefault(int index) {
    return QStringLiteral("Tab") + QString::number(index);
}

TabStripProperties TabStripPersistence::read(const QVariantMap& bag,
                                             const TabStripAmbient& ambient) {
    const BagReader in(bag);
    TabStripProperties p;
    const int count = std::clamp(in.integer(QStringLiteral("TabCount"), 3), 1, ambient.maxTabCount);
    p.tabs.reserve(count);
    for (int i = 0; i < count; ++i) {
        TabRecord tab;
        tab.caption = in.text(tabKey("TabCaption", i), writtenCaptionDefault(i));
        tab.enabled = in.boolean(tabKey("TabEnabled", i), true);
        tab.accessKey = in.integer(tabKey("TabAccessKey", i), 0);
        tab.picture = in.picture(tabKey("TabPicture", i));
        p.tabs.append(tab);
    }
    p.activeTab = in.integer(QStringLiteral("ActiveTab"), 0);
    if (p.activeTab < 0 || p.activeTab >= count)
        p.activeTab = 0;
    p.tabStyle = std::clamp(in.integer(QStringLiteral("TabStyle"), 0), 0, 1);
    p.tabTheme = std::clamp(in.integer(QStringLiteral("TabTheme"), 0), 0, kThemeCount - 1);
    p.useThemeDetection = in.boolean(QStringLiteral("UseThemeDetection"), false);

    const TabColors defaults;
    for (const TabColorField& field : kTabColorFields) {
        const TabColor& fallback = field.member == &TabColors::tabStripBack
                                       ? ambient.tabStripBackColor
                                       : defaults.*field.member;
        p.colors.*field.member = in.color(QLatin1String(field.name), fallback);
    }
    p.activeTabFont = in.font(QStringLiteral("ActiveTabFont"));
    p.inactiveTabFont = in.font(QStringLiteral("InActiveTabFont"));
    p.activeTabHeight = std::clamp(in.integer(QStringLiteral("ActiveTabHeight"), 20), 1, 500);
    p.inactiveTabHeight = std::clamp(in.integer(QStringLiteral("InActiveTabHeight"), 18), 1, 500);
    p.useFocusedColor = in.boolean(QStringLiteral("UseFocusedColor"), true);
    p.showFocusRect = in.boolean(QStringLiteral("ShowFocusRect"), true);
    p.useMouseWheelScroll = in.boolean(QStringLiteral("UseMouseWheelScroll"), true);
    p.useControlBox = in.boolean(QStringLiteral("UseControlBox"), false);
    p.pictureAlign = std::clamp(in.integer(QStringLiteral("PictureAlign"), 0), 0, 1);
    p.pictureSize = std::clamp(in.integer(QStringLiteral("PictureSize"), 0), 0, 3);
    p.useMaskColor = in.boolean(QStringLiteral("UseMaskColor"), true);
    p.xRadius = std::clamp(in.integer(QStringLiteral("XRadius"), 10), 0, 500);
    p.yRadius = std::clamp(in.integer(QStringLiteral("YRadius"), 10), 0, 500);
    p.enabled = in.boolean(QStringLiteral("Enabled"), true);
    return p;
}

void TabStripPersistence::write(const TabStripProperties& p, const TabStripAmbient& ambient,
                                QVariantMap& bag) {
    // A reused bag must not keep values that have since gone back to their defaults.
    for (auto it = bag.begin(); it != bag.end();) {
        const QString& key = it.key();
        const bool ours =
            std::any_of(std::begin(kScalarNames), std::end(kScalarNames),
                        [&](const char* n) { return key == QLatin1String(n); }) ||
            std::any_of(std::begin(kPerTabNames), std::end(kPerTabNames),
                        [&](const char* n) { return key.startsWith(QLatin1String(n) + u'('); }) ||
            std::any_of(kTabColorFields.begin(), kTabColorFields.end(),
                        [&](const TabColorField& f) { return key == QLatin1String(f.name); });
        it = ours ? bag.erase(it) : std::next(it);
    }

    auto putInt = [&](const QString& key, int value, int fallback) {
        if (value != fallback)
            bag.insert(key, value);
    };
    auto putBool = [&](const QString& key, bool value, bool fallback) {
        if (value != fallback)
            bag.insert(key, value);
    };

    putInt(QStringLiteral("TabCount"), int(p.tabs.size()), 3);
    putInt(QStringLiteral("ActiveTab"), p.activeTab, 0);
    for (int i = 0; i < int(p.tabs.size()); ++i) {
        const TabRecord& tab = p.tabs[i];
        if (tab.caption != writtenCaptionDefault(i))
            bag.insert(tabKey("TabCaption", i), tab.caption);
        putBool(tabKey("TabEnabled", i), tab.enabled, true);
        putInt(tabKey("TabAccessKey", i), tab.accessKey, 0);
        if (!tab.picture.isNull())
            bag.insert(tabKey("TabPicture", i), pngData(tab.picture));
    }
    putInt(QStringLiteral("TabStyle"), p.tabStyle, 0);
    putInt(QStringLiteral("TabTheme"), p.tabTheme, 0);
    putBool(QStringLiteral("UseThemeDetection"), p.useThemeDetection, false);

    const TabColors defaults;
    for (const TabColorField& field : kTabColorFields) {
        const TabColor& fallback = field.member == &TabColors::tabStripBack
                                       ? ambient.tabStripBackColor
                                       : defaults.*field.member;
        const TabColor& value = p.colors.*field.member;
        if (value != fallback)
            bag.insert(QLatin1String(field.name), qint32(storedFromColour(value, ambient.palette)));
    }
    const QFont activeFont = p.activeTabFont.value_or(ambient.activeTabFont);
    if (activeFont != ambient.activeTabFont)
        bag.insert(QStringLiteral("ActiveTabFont"), activeFont.toString());
    const QFont inactiveFont = p.inactiveTabFont.value_or(ambient.inactiveTabFont);
    if (inactiveFont != ambient.inactiveTabFont)
        bag.insert(QStringLiteral("InActiveTabFont"), inactiveFont.toString());
    putInt(QStringLiteral("ActiveTabHeight"), p.activeTabHeight, 20);
    putInt(QStringLiteral("InActiveTabHeight"), p.inactiveTabHeight, 18);
    putBool(QStringLiteral("UseFocusedColor"), p.useFocusedColor, true);
    putBool(QStringLiteral("ShowFocusRect"), p.showFocusRect, true);
    putBool(QStringLiteral("UseMouseWheelScroll"), p.useMouseWheelScroll, true);
    putBool(QStringLiteral("UseControlBox"), p.useControlBox, false);
    putInt(QStringLiteral("PictureAlign"), p.pictureAlign, 0);
    putInt(QStringLiteral("PictureSize"), p.pictureSize, 0);
    putBool(QStringLiteral("UseMaskColor"), p.useMaskColor, true);
    putInt(QStringLiteral("XRadius"), p.xRadius, 10);
    putInt(QStringLiteral("YRadius"), p.yRadius, 10);
    putBool(QStringLiteral("Enabled"), p.enabled, true);
}

} // namespace ovra
