#include "widgets/tabstrippersistence.h"

#include "widgets/tabstripinput.h"
#include "widgets/uctabstrip.h"

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

void TabStripPersistence::read(ucTabStrip& s, const QVariantMap& bag) {
    const BagReader in(bag);
    s.setCountInternal(in.integer(QStringLiteral("TabCount"), 3));
    for (int i = 0; i < s.TabCount(); ++i) {
        TabRecord& tab = s.m_tabs[i];
        tab.caption = in.text(tabKey("TabCaption", i), writtenCaptionDefault(i));
        tab.enabled = in.boolean(tabKey("TabEnabled", i), true);
        tab.accessKey = in.integer(tabKey("TabAccessKey", i), 0);
        tab.picture = in.picture(tabKey("TabPicture", i));
    }
    int active = in.integer(QStringLiteral("ActiveTab"), 0);
    if (active < 0 || active >= s.TabCount())
        active = 0;
    s.setActiveInternal(active);
    s.m_lastActiveTab = std::min(s.m_lastActiveTab, s.TabCount() - 1);
    s.m_tabStyle = std::clamp(in.integer(QStringLiteral("TabStyle"), 0), 0, 1);
    s.m_tabTheme = std::clamp(in.integer(QStringLiteral("TabTheme"), 0), 0, kThemeCount - 1);
    s.m_useThemeDetection = in.boolean(QStringLiteral("UseThemeDetection"), false);

    const TabColors defaults;
    for (const TabColorField& field : kTabColorFields) {
        const OleColor fallback = field.member == &TabColors::TabStripBackColor
                                      ? s.ambientBackColor()
                                      : defaults.*field.member;
        s.m_colors.*field.member = in.color(QLatin1String(field.name), fallback);
    }
    s.m_activeTabFont = in.font(QStringLiteral("ActiveTabFont"));
    s.m_inactiveTabFont = in.font(QStringLiteral("InActiveTabFont"));
    s.m_activeTabHeight = std::clamp(in.integer(QStringLiteral("ActiveTabHeight"), 20), 1, 500);
    s.m_inactiveTabHeight = std::clamp(in.integer(QStringLiteral("InActiveTabHeight"), 18), 1, 500);
    s.m_useFocusedColor = in.boolean(QStringLiteral("UseFocusedColor"), true);
    s.m_showFocusRect = in.boolean(QStringLiteral("ShowFocusRect"), true);
    s.m_useMouseWheelScroll = in.boolean(QStringLiteral("UseMouseWheelScroll"), true);
    s.m_useControlBox = in.boolean(QStringLiteral("UseControlBox"), false);
    s.m_pictureAlign = std::clamp(in.integer(QStringLiteral("PictureAlign"), 0), 0, 1);
    s.m_pictureSize = std::clamp(in.integer(QStringLiteral("PictureSize"), 0), 0, 3);
    s.m_useMaskColor = in.boolean(QStringLiteral("UseMaskColor"), true);
    s.m_xRadius = std::clamp(in.integer(QStringLiteral("XRadius"), 10), 0, 500);
    s.m_yRadius = std::clamp(in.integer(QStringLiteral("YRadius"), 10), 0, 500);
    s.setEnabled(in.boolean(QStringLiteral("Enabled"), true));

    s.computePageOffset();
    s.rebuildAccessKeys();
    s.m_input->resetHover();
    s.redraw();
}

void TabStripPersistence::write(const ucTabStrip& s, QVariantMap& bag) {
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

    putInt(QStringLiteral("TabCount"), s.TabCount(), 3);
    putInt(QStringLiteral("ActiveTab"), s.m_activeTab, 0);
    for (int i = 0; i < s.TabCount(); ++i) {
        const TabRecord& tab = s.m_tabs[i];
        if (tab.caption != writtenCaptionDefault(i))
            bag.insert(tabKey("TabCaption", i), tab.caption);
        putBool(tabKey("TabEnabled", i), tab.enabled, true);
        putInt(tabKey("TabAccessKey", i), tab.accessKey, 0);
        if (!tab.picture.isNull())
            bag.insert(tabKey("TabPicture", i), pngData(tab.picture));
    }
    putInt(QStringLiteral("TabStyle"), s.m_tabStyle, 0);
    putInt(QStringLiteral("TabTheme"), s.m_tabTheme, 0);
    putBool(QStringLiteral("UseThemeDetection"), s.m_useThemeDetection, false);

    const TabColors defaults;
    for (const TabColorField& field : kTabColorFields) {
        const OleColor fallback = field.member == &TabColors::TabStripBackColor
                                      ? s.ambientBackColor()
                                      : defaults.*field.member;
        const OleColor value = s.m_colors.*field.member;
        if (value != fallback)
            bag.insert(QLatin1String(field.name), qint32(value));
    }
    if (s.ActiveTabFont() != s.defaultActiveTabFont())
        bag.insert(QStringLiteral("ActiveTabFont"), s.ActiveTabFont().toString());
    if (s.InActiveTabFont() != s.font())
        bag.insert(QStringLiteral("InActiveTabFont"), s.InActiveTabFont().toString());
    putInt(QStringLiteral("ActiveTabHeight"), s.m_activeTabHeight, 20);
    putInt(QStringLiteral("InActiveTabHeight"), s.m_inactiveTabHeight, 18);
    putBool(QStringLiteral("UseFocusedColor"), s.m_useFocusedColor, true);
    putBool(QStringLiteral("ShowFocusRect"), s.m_showFocusRect, true);
    putBool(QStringLiteral("UseMouseWheelScroll"), s.m_useMouseWheelScroll, true);
    putBool(QStringLiteral("UseControlBox"), s.m_useControlBox, false);
    putInt(QStringLiteral("PictureAlign"), s.m_pictureAlign, 0);
    putInt(QStringLiteral("PictureSize"), s.m_pictureSize, 0);
    putBool(QStringLiteral("UseMaskColor"), s.m_useMaskColor, true);
    putInt(QStringLiteral("XRadius"), s.m_xRadius, 10);
    putInt(QStringLiteral("YRadius"), s.m_yRadius, 10);
    putBool(QStringLiteral("Enabled"), s.isEnabled(), true);
}

} // namespace ovra
