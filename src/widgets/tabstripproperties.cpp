// TabStrip: appearance properties, themes, the property bag and drawing.
#include "widgets/tabstrip.h"

#include "widgets/tabstriplayout.h"
#include "widgets/tabstrippainter.h"
#include "widgets/tabstrippersistence.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>

namespace ovra {

namespace {
constexpr int kMaxTabHeight = 500;
constexpr int kMaxRadius = 500;
} // namespace

void TabStrip::setColor(OleColor TabColors::*member, OleColor value) {
    if (m_colors.*member == value)
        return;
    m_colors.*member = value;
    redraw();
}

void TabStrip::setTabStyle(int style) {
    m_tabStyle = std::clamp(style, 0, 1);
    redraw();
}

void TabStrip::setTabTheme(int theme) {
    m_tabTheme = std::clamp(theme, 0, kThemeCount - 1);
    if (!hasThemedHighlights())
        m_input->resetHover();
    resetColorsToDefault();
    redraw();
}

void TabStrip::setUseThemeDetection(bool on) {
    m_useThemeDetection = on;
    if (on)
        setTabTheme(detectedTheme());
}

void TabStrip::resetColorsToDefault() {
    applyThemeColors(m_tabTheme, m_colors, ambientBackColor(), palette());
    if (m_tabTheme == 4) {
        m_pictureSize = 0;
        m_useFocusedColor = true;
        m_useMaskColor = true;
        m_useThemeDetection = false;
    }
    update();
}

void TabStrip::resetAllColors() {
    resetColorsToDefault();
    redraw();
}

QColor TabStrip::translateColor(OleColor color) const {
    return translateOleColor(color, palette());
}

OleColor TabStrip::ambientBackColor() const {
    const QWidget* container = parentWidget();
    if (!container)
        return syscolor::ButtonFace;
    const QColor back = container->palette().color(QPalette::Window);
    if (back.rgb() == translateOleColor(syscolor::ButtonFace, palette()).rgb())
        return syscolor::ButtonFace;
    return oleColorFromRgb(back);
}

QFont TabStrip::defaultActiveTabFont() const {
    QFont bold = font();
    bold.setBold(true);
    return bold;
}

QFont TabStrip::ActiveTabFont() const {
    return m_activeTabFont.value_or(defaultActiveTabFont());
}

void TabStrip::setActiveTabFont(const QFont& font) {
    m_activeTabFont = font;
    redraw();
}

QFont TabStrip::InActiveTabFont() const {
    return m_inactiveTabFont.value_or(font());
}

void TabStrip::setInActiveTabFont(const QFont& font) {
    m_inactiveTabFont = font;
    redraw();
}

void TabStrip::setActiveTabHeight(int height) {
    m_activeTabHeight = std::clamp(height, 1, kMaxTabHeight);
    redraw();
}

void TabStrip::setInActiveTabHeight(int height) {
    m_inactiveTabHeight = std::clamp(height, 1, kMaxTabHeight);
    redraw();
}

void TabStrip::setUseFocusedColor(bool on) {
    m_useFocusedColor = on;
    redraw();
}

void TabStrip::setShowFocusRect(bool on) {
    m_showFocusRect = on;
    redraw();
}

void TabStrip::setUseControlBox(bool on) {
    m_useControlBox = on;
    if (!on)
        m_input->resetHover();
    redraw();
}

void TabStrip::setPictureAlign(int align) {
    m_pictureAlign = std::clamp(align, 0, 1);
    redraw();
}

void TabStrip::setPictureSize(int size) {
    m_pictureSize = std::clamp(size, 0, 3);
    redraw();
}

void TabStrip::setUseMaskColor(bool on) {
    m_useMaskColor = on;
    redraw();
}

void TabStrip::setXRadius(int radius) {
    m_xRadius = std::clamp(radius, 0, kMaxRadius);
    redraw();
}

void TabStrip::setYRadius(int radius) {
    m_yRadius = std::clamp(radius, 0, kMaxRadius);
    redraw();
}

// ---- property bag ------------------------------------------------------------------------

TabStripAmbient TabStrip::persistenceAmbient() const {
    return {ambientBackColor(), defaultActiveTabFont(), font(), kMaxTabCount};
}

TabStripProperties TabStrip::persistentProperties() const {
    TabStripProperties p;
    p.tabs = m_tabs;
    p.activeTab = m_activeTab;
    p.tabStyle = m_tabStyle;
    p.tabTheme = m_tabTheme;
    p.useThemeDetection = m_useThemeDetection;
    p.colors = m_colors;
    p.activeTabFont = m_activeTabFont;
    p.inactiveTabFont = m_inactiveTabFont;
    p.activeTabHeight = m_activeTabHeight;
    p.inactiveTabHeight = m_inactiveTabHeight;
    p.useFocusedColor = m_useFocusedColor;
    p.showFocusRect = m_showFocusRect;
    p.useMouseWheelScroll = m_useMouseWheelScroll;
    p.useControlBox = m_useControlBox;
    p.pictureAlign = m_pictureAlign;
    p.pictureSize = m_pictureSize;
    p.useMaskColor = m_useMaskColor;
    p.xRadius = m_xRadius;
    p.yRadius = m_yRadius;
    p.enabled = isEnabled();
    return p;
}

void TabStrip::applyPersistentProperties(const TabStripProperties& p) {
    // The tab count goes first: it may move the active page, and the children must end
    // up under the active tab that was read.
    setCountInternal(int(p.tabs.size()));
    for (int i = 0; i < TabCount(); ++i) {
        TabRecord& tab = m_tabs[i];
        tab.caption = p.tabs[i].caption;
        tab.enabled = p.tabs[i].enabled;
        tab.accessKey = p.tabs[i].accessKey;
        tab.picture = p.tabs[i].picture;
    }
    setActiveInternal(p.activeTab);
    m_lastActiveTab = std::min(m_lastActiveTab, TabCount() - 1);
    m_tabStyle = p.tabStyle;
    m_tabTheme = p.tabTheme;
    m_useThemeDetection = p.useThemeDetection;
    m_colors = p.colors;
    m_activeTabFont = p.activeTabFont;
    m_inactiveTabFont = p.inactiveTabFont;
    m_activeTabHeight = p.activeTabHeight;
    m_inactiveTabHeight = p.inactiveTabHeight;
    m_useFocusedColor = p.useFocusedColor;
    m_showFocusRect = p.showFocusRect;
    m_useMouseWheelScroll = p.useMouseWheelScroll;
    m_useControlBox = p.useControlBox;
    m_pictureAlign = p.pictureAlign;
    m_pictureSize = p.pictureSize;
    m_useMaskColor = p.useMaskColor;
    m_xRadius = p.xRadius;
    m_yRadius = p.yRadius;
    setEnabled(p.enabled);

    computePageOffset();
    rebuildAccessKeys();
    m_input->resetHover();
    redraw();
}

// ---- layout and drawing ------------------------------------------------------------

QList<int> TabStrip::tabContentWidths() const {
    // Widths take the wider of the two fonts, so a switch never reflows the row.
    const QFontMetrics active(ActiveTabFont());
    const QFontMetrics inactive(InActiveTabFont());
    const int pictureRoom = m_inactiveTabHeight - 3;
    QList<int> widths;
    widths.reserve(m_tabs.size());
    for (const TabRecord& tab : m_tabs) {
        const QString text = parseCaption(tab.caption).text;
        const int captionWidth =
            std::max(active.horizontalAdvance(text), inactive.horizontalAdvance(text));
        const QSize picture =
            tab.picture.isNull()
                ? QSize()
                : TabStripLayout::pictureSize(tab.picture.deviceIndependentSize().toSize(),
                                              m_pictureSize, pictureRoom);
        widths.append(TabStripLayout::contentWidth(captionWidth, picture.width(), m_useControlBox));
    }
    return widths;
}

void TabStrip::updateTabRects() const {
    TabLayoutInput in;
    in.width = width();
    in.style = m_tabStyle;
    in.activeTab = m_activeTab;
    in.activeHeight = m_activeTabHeight;
    in.inactiveHeight = m_inactiveTabHeight;
    if (m_tabStyle == 1)
        in.contentWidths = tabContentWidths();
    else
        in.contentWidths.fill(0, m_tabs.size());
    const QList<QRect> rects = TabStripLayout::tabRects(in);
    for (qsizetype i = 0; i < m_tabs.size(); ++i)
        m_tabs[i].rect = rects[i];
}

TabPaintState TabStrip::paintState() const {
    updateTabRects();
    TabPaintState s;
    s.size = size();
    s.devicePixelRatio = devicePixelRatioF();
    s.style = m_tabStyle;
    s.rowHeight = TabStripLayout::rowHeight(m_activeTabHeight, m_inactiveTabHeight);
    s.activeTab = m_activeTab;
    for (const TabRecord& tab : m_tabs) {
        const CaptionParts parts = parseCaption(tab.caption);
        s.tabs.append({tab.rect, parts.text, mnemonicMarkup(parts), tab.enabled, tab.picture});
    }
    const TabColors& c = m_colors;
    s.stripBack = translateColor(c.TabStripBackColor);
    s.pageBack = translateColor(c.BackColor);
    s.outerBorder = translateColor(c.OuterBorderColor);
    s.innerTopLeft = translateColor(c.TopLeftInnerBorderColor);
    s.innerBottomRight = translateColor(c.BottomRightInnerBorderColor);
    s.activeStart = translateColor(c.ActiveTabBackStartColor);
    s.activeEnd = translateColor(c.ActiveTabBackEndColor);
    s.inactiveStart = translateColor(c.InActiveTabBackStartColor);
    s.inactiveEnd = translateColor(c.InActiveTabBackEndColor);
    s.activeFore = translateColor(c.ActiveTabForeColor);
    s.inactiveFore = translateColor(c.InActiveTabForeColor);
    s.disabledBack = translateColor(c.DisabledTabBackColor);
    s.disabledFore = translateColor(c.DisabledTabForeColor);
    s.hover = translateColor(c.HoverColor);
    s.focused = translateColor(c.FocusedColor);
    s.pictureMask = translateColor(c.PictureMaskColor);
    s.activeFont = ActiveTabFont();
    s.inactiveFont = InActiveTabFont();
    s.xRadius = m_xRadius;
    s.yRadius = m_yRadius;
    s.pictureAlign = m_pictureAlign;
    s.pictureSize = m_pictureSize;
    s.useMaskColor = m_useMaskColor;
    s.hasFocus = hasFocus();
    s.showFocusRect = m_showFocusRect;
    s.useFocusedColor = m_useFocusedColor;
    s.themedHighlights = hasThemedHighlights();
    s.hoverTab = m_input->hoverShown() ? m_input->hoveredTab() : -1;
    s.controlBox = m_useControlBox;
    s.hotControlBoxTab = m_input->hotControlBoxTab();
    s.cleared = m_cleared;
    return s;
}

void TabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(QPoint(0, 0), TabStripPainter::render(paintState()));
}

} // namespace ovra
