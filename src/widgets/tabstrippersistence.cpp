#include "widgets/tabstrippersistence.h"

#include <QBuffer>
#include <QImage>

#include <algorithm>
#include <limits>

namespace ovra {

namespace {

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

    OleColor color(const QString& key, OleColor fallback) const {
        const QVariant v = m_bag.value(key);
        bool ok = false;
        const qlonglong n = v.toLongLong(&ok);
        if (!v.isValid() || !ok || n < std::numeric_limits<int>::min() ||
            n > std::numeric_limits<quint32>::max())
            return fallback;
        return OleColor(quint64(n) & 0xFFFFFFFFu);
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
        const OleColor fallback = field.member == &TabColors::TabStripBackColor
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
        const OleColor fallback = field.member == &TabColors::TabStripBackColor
                                      ? ambient.tabStripBackColor
                                      : defaults.*field.member;
        const OleColor value = p.colors.*field.member;
        if (value != fallback)
            bag.insert(QLatin1String(field.name), qint32(value));
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
