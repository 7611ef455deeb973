#pragma once

#include "widgets/tabcolors.h"
#include "widgets/tabrecord.h"
#include "widgets/tabstriperror.h"
#include "widgets/tabstripinput.h"

#include <QFont>
#include <QList>
#include <QMap>
#include <QPixmap>
#include <QVariantMap>
#include <QWidget>

#include <memory>
#include <optional>

class QShortcut;

namespace ovra {

class TabStripWindowWatcher;
struct TabPaintState;
struct TabStripAmbient;
struct TabStripProperties;

// An owner-drawn row of tabs that is also the container of its pages.
//
// Every child widget of the strip belongs to one tab. Children of inactive tabs are kept
// out of sight by moving them whole page offsets to the left: a child of tab k stands
// (k - activeTab()) * pageOffset() pixels left of its own place, and a switch from tab a
// to tab b moves every child by (b - a) * PageOffset(). Children therefore keep their
// place on their own page; put them in with addControl (or parent them while their tab
// is active) and give the strip itself no layout.
//
// Colours are TabColors (see tabcolors.h): fixed, or following the strip's palette.
// Members that take a tab index throw TabStripError (number 9 for an index out of
// range) with the source "TabStrip." and the member's name.
class TabStrip : public QWidget, private TabStripInputHost {
    Q_OBJECT
    Q_PROPERTY(int TabCount READ tabCount WRITE setTabCount)
    Q_PROPERTY(int ActiveTab READ activeTab WRITE setActiveTab)
    Q_PROPERTY(int TabStyle READ tabStyle WRITE setTabStyle)
    Q_PROPERTY(int TabTheme READ tabTheme WRITE setTabTheme)
    Q_PROPERTY(bool UseThemeDetection READ useThemeDetection WRITE setUseThemeDetection)
    Q_PROPERTY(ovra::TabColor ActiveTabBackStartColor READ activeTabBackStartColor WRITE
                   setActiveTabBackStartColor)
    Q_PROPERTY(ovra::TabColor ActiveTabBackEndColor READ activeTabBackEndColor WRITE
                   setActiveTabBackEndColor)
    Q_PROPERTY(ovra::TabColor InActiveTabBackStartColor READ inActiveTabBackStartColor WRITE
                   setInActiveTabBackStartColor)
    Q_PROPERTY(ovra::TabColor InActiveTabBackEndColor READ inActiveTabBackEndColor WRITE
                   setInActiveTabBackEndColor)
    Q_PROPERTY(
        ovra::TabColor ActiveTabForeColor READ activeTabForeColor WRITE setActiveTabForeColor)
    Q_PROPERTY(
        ovra::TabColor InActiveTabForeColor READ inActiveTabForeColor WRITE setInActiveTabForeColor)
    Q_PROPERTY(QFont ActiveTabFont READ activeTabFont WRITE setActiveTabFont)
    Q_PROPERTY(QFont InActiveTabFont READ inActiveTabFont WRITE setInActiveTabFont)
    Q_PROPERTY(int ActiveTabHeight READ activeTabHeight WRITE setActiveTabHeight)
    Q_PROPERTY(int InActiveTabHeight READ inActiveTabHeight WRITE setInActiveTabHeight)
    Q_PROPERTY(
        ovra::TabColor DisabledTabBackColor READ disabledTabBackColor WRITE setDisabledTabBackColor)
    Q_PROPERTY(
        ovra::TabColor DisabledTabForeColor READ disabledTabForeColor WRITE setDisabledTabForeColor)
    Q_PROPERTY(ovra::TabColor OuterBorderColor READ outerBorderColor WRITE setOuterBorderColor)
    Q_PROPERTY(ovra::TabColor TopLeftInnerBorderColor READ topLeftInnerBorderColor WRITE
                   setTopLeftInnerBorderColor)
    Q_PROPERTY(ovra::TabColor BottomRightInnerBorderColor READ bottomRightInnerBorderColor WRITE
                   setBottomRightInnerBorderColor)
    Q_PROPERTY(ovra::TabColor TabStripBackColor READ tabStripBackColor WRITE setTabStripBackColor)
    Q_PROPERTY(ovra::TabColor BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(ovra::TabColor ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(ovra::TabColor HoverColor READ hoverColor WRITE setHoverColor)
    Q_PROPERTY(ovra::TabColor FocusedColor READ focusedColor WRITE setFocusedColor)
    Q_PROPERTY(bool UseFocusedColor READ useFocusedColor WRITE setUseFocusedColor)
    Q_PROPERTY(bool ShowFocusRect READ showFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(bool UseMouseWheelScroll READ useMouseWheelScroll WRITE setUseMouseWheelScroll)
    Q_PROPERTY(bool UseControlBox READ useControlBox WRITE setUseControlBox)
    Q_PROPERTY(int PictureAlign READ pictureAlign WRITE setPictureAlign)
    Q_PROPERTY(int PictureSize READ pictureSize WRITE setPictureSize)
    Q_PROPERTY(ovra::TabColor PictureMaskColor READ pictureMaskColor WRITE setPictureMaskColor)
    Q_PROPERTY(bool UseMaskColor READ useMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(int XRadius READ xRadius WRITE setXRadius)
    Q_PROPERTY(int YRadius READ yRadius WRITE setYRadius)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(int LastActiveTab READ lastActiveTab)
    Q_PROPERTY(int ScaleWidth READ scaleWidth)
    Q_PROPERTY(int ScaleHeight READ scaleHeight)
    Q_PROPERTY(QString Version READ version CONSTANT)

public:
    static constexpr int kMaxTabCount = 1000;

    explicit TabStrip(QWidget* parent = nullptr);
    ~TabStrip() override;

    int tabCount() const { return int(m_tabs.size()); }
    void setTabCount(int count);
    int activeTab() const { return m_activeTab; }
    void setActiveTab(int tab);
    int lastActiveTab() const { return m_lastActiveTab; }
    int tabStyle() const { return m_tabStyle; }
    void setTabStyle(int style);
    int tabTheme() const { return m_tabTheme; }
    void setTabTheme(int theme);
    bool useThemeDetection() const { return m_useThemeDetection; }
    void setUseThemeDetection(bool on);

    QString tabCaption(int index) const;
    void setTabCaption(int index, const QString& caption);
    bool isTabEnabled(int index) const;
    void setTabEnabled(int index, bool enabled);
    int tabAccessKey(int index) const;
    QPixmap tabPicture(int index) const;
    void setTabPicture(int index, const QPixmap& picture);
    QRect tabRect(int index) const;

    TabColor activeTabBackStartColor() const { return m_colors.activeTabBackStart; }
    void setActiveTabBackStartColor(const TabColor& c) {
        setColor(&TabColors::activeTabBackStart, c);
    }
    TabColor activeTabBackEndColor() const { return m_colors.activeTabBackEnd; }
    void setActiveTabBackEndColor(const TabColor& c) { setColor(&TabColors::activeTabBackEnd, c); }
    TabColor inActiveTabBackStartColor() const { return m_colors.inactiveTabBackStart; }
    void setInActiveTabBackStartColor(const TabColor& c) {
        setColor(&TabColors::inactiveTabBackStart, c);
    }
    TabColor inActiveTabBackEndColor() const { return m_colors.inactiveTabBackEnd; }
    void setInActiveTabBackEndColor(const TabColor& c) {
        setColor(&TabColors::inactiveTabBackEnd, c);
    }
    TabColor activeTabForeColor() const { return m_colors.activeTabFore; }
    void setActiveTabForeColor(const TabColor& c) { setColor(&TabColors::activeTabFore, c); }
    TabColor inActiveTabForeColor() const { return m_colors.inactiveTabFore; }
    void setInActiveTabForeColor(const TabColor& c) { setColor(&TabColors::inactiveTabFore, c); }
    TabColor disabledTabBackColor() const { return m_colors.disabledTabBack; }
    void setDisabledTabBackColor(const TabColor& c) { setColor(&TabColors::disabledTabBack, c); }
    TabColor disabledTabForeColor() const { return m_colors.disabledTabFore; }
    void setDisabledTabForeColor(const TabColor& c) { setColor(&TabColors::disabledTabFore, c); }
    TabColor outerBorderColor() const { return m_colors.outerBorder; }
    void setOuterBorderColor(const TabColor& c) { setColor(&TabColors::outerBorder, c); }
    TabColor topLeftInnerBorderColor() const { return m_colors.topLeftInnerBorder; }
    void setTopLeftInnerBorderColor(const TabColor& c) {
        setColor(&TabColors::topLeftInnerBorder, c);
    }
    TabColor bottomRightInnerBorderColor() const { return m_colors.bottomRightInnerBorder; }
    void setBottomRightInnerBorderColor(const TabColor& c) {
        setColor(&TabColors::bottomRightInnerBorder, c);
    }
    TabColor tabStripBackColor() const { return m_colors.tabStripBack; }
    void setTabStripBackColor(const TabColor& c) { setColor(&TabColors::tabStripBack, c); }
    TabColor backColor() const { return m_colors.back; }
    void setBackColor(const TabColor& c) { setColor(&TabColors::back, c); }
    TabColor foreColor() const { return m_colors.fore; }
    void setForeColor(const TabColor& c) { setColor(&TabColors::fore, c); }
    TabColor hoverColor() const { return m_colors.hover; }
    void setHoverColor(const TabColor& c) { setColor(&TabColors::hover, c); }
    TabColor focusedColor() const { return m_colors.focused; }
    void setFocusedColor(const TabColor& c) { setColor(&TabColors::focused, c); }
    TabColor pictureMaskColor() const { return m_colors.pictureMask; }
    void setPictureMaskColor(const TabColor& c) { setColor(&TabColors::pictureMask, c); }
    const TabColors& colors() const { return m_colors; }

    // Until set, the fonts follow the strip's own font (the container's): bold for the
    // active tab.
    QFont activeTabFont() const;
    void setActiveTabFont(const QFont& font);
    QFont inActiveTabFont() const;
    void setInActiveTabFont(const QFont& font);

    int activeTabHeight() const { return m_activeTabHeight; }
    void setActiveTabHeight(int height);
    int inActiveTabHeight() const { return m_inactiveTabHeight; }
    void setInActiveTabHeight(int height);
    bool useFocusedColor() const { return m_useFocusedColor; }
    void setUseFocusedColor(bool on);
    bool showFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool on);
    bool useMouseWheelScroll() const { return m_useMouseWheelScroll; }
    void setUseMouseWheelScroll(bool on) { m_useMouseWheelScroll = on; }
    bool useControlBox() const { return m_useControlBox; }
    void setUseControlBox(bool on);
    // 0 draws a tab's picture before its caption, 1 after it.
    int pictureAlign() const { return m_pictureAlign; }
    void setPictureAlign(int align);
    // 0 keeps each picture's own size; 1, 2 and 3 draw pictures 16, 24 or 32 pixels
    // square. Pictures never grow beyond the tab.
    int pictureSize() const { return m_pictureSize; }
    void setPictureSize(int size);
    bool useMaskColor() const { return m_useMaskColor; }
    void setUseMaskColor(bool on);
    int xRadius() const { return m_xRadius; }
    void setXRadius(int radius);
    int yRadius() const { return m_yRadius; }
    void setYRadius(int radius);

    int scaleWidth() const { return width(); }
    int scaleHeight() const { return height(); }
    static QString version(bool withDate = false);

    // The distance between two pages, in pixels.
    int pageOffset() const { return m_pageOffset; }
    // The tab under the pointer's highlight, or the active tab when none is shown.
    int hoveredTab() const;
    bool isHoverShown() const;
    // The access keys of all captions, in ascending order.
    QList<int> accessKeys() const;
    // The container's background: the palette's button colour, or the container's own
    // colour when it has one that differs.
    TabColor ambientBackColor() const;

    // Adds a tab after tab `index` (-1 puts it first); tabs after it move one place
    // right with their pages.
    void insertTab(int index, const QString& caption);
    // Removes a tab and parks its page's children out of reach; the last tab stays.
    void removeTab(int index);
    // Makes `control` a child on `tab` (-1: the active tab); each of left, top, width
    // and height that is not -1 is applied, in coordinates of that tab's page.
    void addControl(QWidget* control, int left = -1, int top = -1, int width = -1, int height = -1,
                    int tab = -1);
    void refresh();
    // Clears the drawing to the page colour until the next redraw.
    void cls();
    void resetColorsToDefault();
    void resetAllColors();
    void copyTabImagesFromImageList(const QList<QPixmap>& images);
    void removeTabImages(int tabIndex, bool removeAll = false);
    // The chosen file, or an empty text when the user cancels. `filter` is either a Qt
    // name filter list or "Text|*.a;*.b|..." pairs.
    static QString showFileOpenDialog(QWidget* owner, const QString& initialFolder,
                                      const QString& filter);
    void showHideFocus();

    // The property bag: each property under its own name, per-tab values as
    // "TabCaption(0)"; only values that differ from their written default are stored.
    void readProperties(const QVariantMap& bag);
    void writeProperties(QVariantMap& bag) const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    // Their order is part of the interface: it fixes the events' numbering.
    void beforeTabSwitch(int newTab, bool* cancel);
    void tabSwitch(int lastActiveTab);
    void click();
    void doubleClick();
    void controlBoxEnter();
    void controlBoxExit();
    // Positions of the control box events are relative to the box, the others to the
    // strip.
    void controlBoxHover(QPointF position);
    void controlBoxMouseDown(QPointF position);
    void controlBoxMouseUp(QPointF position);
    void keyDown(int key, Qt::KeyboardModifiers modifiers);
    void keyUp(int key, Qt::KeyboardModifiers modifiers);
    void keyPress(QChar character);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers, QPointF position);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, QPointF position);
    void mouseHover(int tab, QPointF position);
    void mouseScrollUp();
    void mouseScrollDown();
    void tabInsert(int index);
    void tabRemove(int index);
    void afterCompleteInit();
    void mouseEnter();
    void mouseLeave();
    void status(const QString& text);

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // TabStripInputHost: the input rules see the strip only through these.
    const QList<TabRecord>& inputTabs() const override { return m_tabs; }
    int inputActiveTab() const override { return m_activeTab; }
    int inputRowHeight() const override;
    bool inputThemedHover() const override { return hasThemedHighlights(); }
    bool inputUseControlBox() const override { return m_useControlBox; }
    bool inputUseMouseWheelScroll() const override { return m_useMouseWheelScroll; }
    bool inputHasFocus() const override { return hasFocus(); }
    bool inputContains(QPoint point) const override { return rect().contains(point); }
    bool inputChildUsesWheel(QPoint point) const override;
    QPoint inputPointer() const override;
    bool inputBusy() const override { return m_busy; }
    void setInputBusy(bool busy) override { m_busy = busy; }
    void layOutTabs() override { updateTabRects(); }
    void selectTab(int tab) override { setActiveTab(tab); }
    void repaintTabs() override { update(); }
    void onMouseDown(const QMouseEvent& event) override;
    void onMouseUp(const QMouseEvent& event) override;
    void onMouseMove(const QMouseEvent& event) override;
    void onMouseHover(int tab, QPointF position) override;
    void onMouseEnter() override;
    void onMouseLeave() override;
    void onClick() override;
    void onDblClick() override;
    void onControlBoxEnter() override;
    void onControlBoxExit() override;
    void onControlBoxHover(QPointF position) override;
    void onControlBoxMouseDown(QPointF position) override;
    void onControlBoxMouseUp(QPointF position) override;
    void onMouseScrollUp() override;
    void onMouseScrollDown() override;
    void onKeyDown(const QKeyEvent& event) override;
    void onKeyUp(const QKeyEvent& event) override;
    void onKeyPress(QChar character) override;

    // Only these two themes draw a highlight under the pointer.
    bool hasThemedHighlights() const { return m_tabTheme == 1 || m_tabTheme == 4; }
    void setColor(TabColor TabColors::*member, const TabColor& value);
    void redraw();
    void raiseCompleteInit();
    void updateTabRects() const;
    QList<int> tabContentWidths() const;
    TabPaintState paintState() const;
    void rebuildAccessKeys();
    void setCountInternal(int count);
    void setActiveInternal(int tab);
    QList<QWidget*> childControls() const;
    // How many pages right of the active one a child stands (negative: left of it).
    int pageOfChild(const QWidget* child) const;

public:
    // The controls placed on the page of a tab, in the order they were added.
    QList<QWidget*> pageControls(int tab) const;

private:
    void moveChild(QWidget* child, int pages) const;
    void computePageOffset();
    void checkIndex(int index) const;
    QFont defaultActiveTabFont() const;
    TabStripAmbient persistenceAmbient() const;
    TabStripProperties persistentProperties() const;
    void applyPersistentProperties(const TabStripProperties& p);

    mutable QList<TabRecord> m_tabs;
    int m_activeTab = 0;
    int m_lastActiveTab = 0;
    int m_tabStyle = 0;
    int m_tabTheme = 0;
    bool m_useThemeDetection = false;
    TabColors m_colors;
    std::optional<QFont> m_activeTabFont;
    std::optional<QFont> m_inactiveTabFont;
    int m_activeTabHeight = 20;
    int m_inactiveTabHeight = 18;
    bool m_useFocusedColor = true;
    bool m_showFocusRect = true;
    bool m_useMouseWheelScroll = true;
    bool m_useControlBox = false;
    int m_pictureAlign = 0;
    int m_pictureSize = 0;
    bool m_useMaskColor = true;
    int m_xRadius = 10;
    int m_yRadius = 10;

    int m_pageOffset = 10000;
    bool m_busy = false; // keeps refresh and key handling from re-entering
    bool m_initRaised = false;
    bool m_cleared = false;
    QMap<int, QShortcut*> m_accessKeys;
    std::unique_ptr<TabStripInput> m_input;
    TabStripWindowWatcher* m_watcher;
};

} // namespace ovra
