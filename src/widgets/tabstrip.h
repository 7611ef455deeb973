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
// (k - ActiveTab) * PageOffset() pixels left of its own place, and a switch from tab a
// to tab b moves every child by (b - a) * PageOffset(). Children therefore keep their
// place on their own page; put them in with addControl (or parent them while their tab
// is active) and give the strip itself no layout.
//
// Colours are OLE colours (see tabcolors.h). Members that take a tab index throw
// TabStripError (number 9 for an index out of range) with the source "TabStrip." and
// the member's name.
class TabStrip : public QWidget, private TabStripInputHost {
    Q_OBJECT
    Q_PROPERTY(int TabCount READ TabCount WRITE setTabCount)
    Q_PROPERTY(int ActiveTab READ ActiveTab WRITE setActiveTab)
    Q_PROPERTY(int TabStyle READ TabStyle WRITE setTabStyle)
    Q_PROPERTY(int TabTheme READ TabTheme WRITE setTabTheme)
    Q_PROPERTY(bool UseThemeDetection READ UseThemeDetection WRITE setUseThemeDetection)
    Q_PROPERTY(
        uint ActiveTabBackStartColor READ ActiveTabBackStartColor WRITE setActiveTabBackStartColor)
    Q_PROPERTY(uint ActiveTabBackEndColor READ ActiveTabBackEndColor WRITE setActiveTabBackEndColor)
    Q_PROPERTY(uint InActiveTabBackStartColor READ InActiveTabBackStartColor WRITE
                   setInActiveTabBackStartColor)
    Q_PROPERTY(
        uint InActiveTabBackEndColor READ InActiveTabBackEndColor WRITE setInActiveTabBackEndColor)
    Q_PROPERTY(uint ActiveTabForeColor READ ActiveTabForeColor WRITE setActiveTabForeColor)
    Q_PROPERTY(uint InActiveTabForeColor READ InActiveTabForeColor WRITE setInActiveTabForeColor)
    Q_PROPERTY(QFont ActiveTabFont READ ActiveTabFont WRITE setActiveTabFont)
    Q_PROPERTY(QFont InActiveTabFont READ InActiveTabFont WRITE setInActiveTabFont)
    Q_PROPERTY(int ActiveTabHeight READ ActiveTabHeight WRITE setActiveTabHeight)
    Q_PROPERTY(int InActiveTabHeight READ InActiveTabHeight WRITE setInActiveTabHeight)
    Q_PROPERTY(uint DisabledTabBackColor READ DisabledTabBackColor WRITE setDisabledTabBackColor)
    Q_PROPERTY(uint DisabledTabForeColor READ DisabledTabForeColor WRITE setDisabledTabForeColor)
    Q_PROPERTY(uint OuterBorderColor READ OuterBorderColor WRITE setOuterBorderColor)
    Q_PROPERTY(
        uint TopLeftInnerBorderColor READ TopLeftInnerBorderColor WRITE setTopLeftInnerBorderColor)
    Q_PROPERTY(uint BottomRightInnerBorderColor READ BottomRightInnerBorderColor WRITE
                   setBottomRightInnerBorderColor)
    Q_PROPERTY(uint TabStripBackColor READ TabStripBackColor WRITE setTabStripBackColor)
    Q_PROPERTY(uint BackColor READ BackColor WRITE setBackColor)
    Q_PROPERTY(uint ForeColor READ ForeColor WRITE setForeColor)
    Q_PROPERTY(uint HoverColor READ HoverColor WRITE setHoverColor)
    Q_PROPERTY(uint FocusedColor READ FocusedColor WRITE setFocusedColor)
    Q_PROPERTY(bool UseFocusedColor READ UseFocusedColor WRITE setUseFocusedColor)
    Q_PROPERTY(bool ShowFocusRect READ ShowFocusRect WRITE setShowFocusRect)
    Q_PROPERTY(bool UseMouseWheelScroll READ UseMouseWheelScroll WRITE setUseMouseWheelScroll)
    Q_PROPERTY(bool UseControlBox READ UseControlBox WRITE setUseControlBox)
    Q_PROPERTY(int PictureAlign READ PictureAlign WRITE setPictureAlign)
    Q_PROPERTY(int PictureSize READ PictureSize WRITE setPictureSize)
    Q_PROPERTY(uint PictureMaskColor READ PictureMaskColor WRITE setPictureMaskColor)
    Q_PROPERTY(bool UseMaskColor READ UseMaskColor WRITE setUseMaskColor)
    Q_PROPERTY(int XRadius READ XRadius WRITE setXRadius)
    Q_PROPERTY(int YRadius READ YRadius WRITE setYRadius)
    Q_PROPERTY(bool Enabled READ isEnabled WRITE setEnabled)
    Q_PROPERTY(int LastActiveTab READ LastActiveTab)
    Q_PROPERTY(int ScaleWidth READ ScaleWidth)
    Q_PROPERTY(int ScaleHeight READ ScaleHeight)
    Q_PROPERTY(QString Version READ Version CONSTANT)

public:
    static constexpr int kMaxTabCount = 1000;

    explicit TabStrip(QWidget* parent = nullptr);
    ~TabStrip() override;

    int TabCount() const { return int(m_tabs.size()); }
    void setTabCount(int count);
    int ActiveTab() const { return m_activeTab; }
    void setActiveTab(int tab);
    int LastActiveTab() const { return m_lastActiveTab; }
    int TabStyle() const { return m_tabStyle; }
    void setTabStyle(int style);
    int TabTheme() const { return m_tabTheme; }
    void setTabTheme(int theme);
    bool UseThemeDetection() const { return m_useThemeDetection; }
    void setUseThemeDetection(bool on);

    QString TabCaption(int index) const;
    void setTabCaption(int index, const QString& caption);
    bool TabEnabled(int index) const;
    void setTabEnabled(int index, bool enabled);
    int TabAccessKey(int index) const;
    QPixmap TabPicture(int index) const;
    void setTabPicture(int index, const QPixmap& picture);
    QRect TabRect(int index) const;

    OleColor ActiveTabBackStartColor() const { return m_colors.ActiveTabBackStartColor; }
    void setActiveTabBackStartColor(OleColor c) {
        setColor(&TabColors::ActiveTabBackStartColor, c);
    }
    OleColor ActiveTabBackEndColor() const { return m_colors.ActiveTabBackEndColor; }
    void setActiveTabBackEndColor(OleColor c) { setColor(&TabColors::ActiveTabBackEndColor, c); }
    OleColor InActiveTabBackStartColor() const { return m_colors.InActiveTabBackStartColor; }
    void setInActiveTabBackStartColor(OleColor c) {
        setColor(&TabColors::InActiveTabBackStartColor, c);
    }
    OleColor InActiveTabBackEndColor() const { return m_colors.InActiveTabBackEndColor; }
    void setInActiveTabBackEndColor(OleColor c) {
        setColor(&TabColors::InActiveTabBackEndColor, c);
    }
    OleColor ActiveTabForeColor() const { return m_colors.ActiveTabForeColor; }
    void setActiveTabForeColor(OleColor c) { setColor(&TabColors::ActiveTabForeColor, c); }
    OleColor InActiveTabForeColor() const { return m_colors.InActiveTabForeColor; }
    void setInActiveTabForeColor(OleColor c) { setColor(&TabColors::InActiveTabForeColor, c); }
    OleColor DisabledTabBackColor() const { return m_colors.DisabledTabBackColor; }
    void setDisabledTabBackColor(OleColor c) { setColor(&TabColors::DisabledTabBackColor, c); }
    OleColor DisabledTabForeColor() const { return m_colors.DisabledTabForeColor; }
    void setDisabledTabForeColor(OleColor c) { setColor(&TabColors::DisabledTabForeColor, c); }
    OleColor OuterBorderColor() const { return m_colors.OuterBorderColor; }
    void setOuterBorderColor(OleColor c) { setColor(&TabColors::OuterBorderColor, c); }
    OleColor TopLeftInnerBorderColor() const { return m_colors.TopLeftInnerBorderColor; }
    void setTopLeftInnerBorderColor(OleColor c) {
        setColor(&TabColors::TopLeftInnerBorderColor, c);
    }
    OleColor BottomRightInnerBorderColor() const { return m_colors.BottomRightInnerBorderColor; }
    void setBottomRightInnerBorderColor(OleColor c) {
        setColor(&TabColors::BottomRightInnerBorderColor, c);
    }
    OleColor TabStripBackColor() const { return m_colors.TabStripBackColor; }
    void setTabStripBackColor(OleColor c) { setColor(&TabColors::TabStripBackColor, c); }
    OleColor BackColor() const { return m_colors.BackColor; }
    void setBackColor(OleColor c) { setColor(&TabColors::BackColor, c); }
    OleColor ForeColor() const { return m_colors.ForeColor; }
    void setForeColor(OleColor c) { setColor(&TabColors::ForeColor, c); }
    OleColor HoverColor() const { return m_colors.HoverColor; }
    void setHoverColor(OleColor c) { setColor(&TabColors::HoverColor, c); }
    OleColor FocusedColor() const { return m_colors.FocusedColor; }
    void setFocusedColor(OleColor c) { setColor(&TabColors::FocusedColor, c); }
    OleColor PictureMaskColor() const { return m_colors.PictureMaskColor; }
    void setPictureMaskColor(OleColor c) { setColor(&TabColors::PictureMaskColor, c); }
    const TabColors& colors() const { return m_colors; }

    // Until set, the fonts follow the strip's own font (the container's): bold for the
    // active tab.
    QFont ActiveTabFont() const;
    void setActiveTabFont(const QFont& font);
    QFont InActiveTabFont() const;
    void setInActiveTabFont(const QFont& font);

    int ActiveTabHeight() const { return m_activeTabHeight; }
    void setActiveTabHeight(int height);
    int InActiveTabHeight() const { return m_inactiveTabHeight; }
    void setInActiveTabHeight(int height);
    bool UseFocusedColor() const { return m_useFocusedColor; }
    void setUseFocusedColor(bool on);
    bool ShowFocusRect() const { return m_showFocusRect; }
    void setShowFocusRect(bool on);
    bool UseMouseWheelScroll() const { return m_useMouseWheelScroll; }
    void setUseMouseWheelScroll(bool on) { m_useMouseWheelScroll = on; }
    bool UseControlBox() const { return m_useControlBox; }
    void setUseControlBox(bool on);
    // 0 draws a tab's picture before its caption, 1 after it.
    int PictureAlign() const { return m_pictureAlign; }
    void setPictureAlign(int align);
    // 0 keeps each picture's own size; 1, 2 and 3 draw pictures 16, 24 or 32 pixels
    // square. Pictures never grow beyond the tab.
    int PictureSize() const { return m_pictureSize; }
    void setPictureSize(int size);
    bool UseMaskColor() const { return m_useMaskColor; }
    void setUseMaskColor(bool on);
    int XRadius() const { return m_xRadius; }
    void setXRadius(int radius);
    int YRadius() const { return m_yRadius; }
    void setYRadius(int radius);

    int ScaleWidth() const { return width(); }
    int ScaleHeight() const { return height(); }
    static QString Version(bool withDate = false);

    // The distance between two pages, in pixels.
    int PageOffset() const { return m_pageOffset; }
    // The tab under the pointer's highlight, or the active tab when none is shown.
    int HoveredTab() const;
    bool isHoverShown() const;
    // The access keys of all captions, in ascending order.
    QList<int> AccessKeys() const;
    // The RGB value a colour property draws with.
    QColor translateColor(OleColor color) const;
    // The container's background: the system button face, or the container's own
    // colour when it has one that differs.
    OleColor ambientBackColor() const;

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
    // Coordinates of the control box events are relative to the box.
    void controlBoxHover(float x, float y);
    void controlBoxMouseDown(float x, float y);
    void controlBoxMouseUp(float x, float y);
    void keyDown(int key, Qt::KeyboardModifiers shift);
    void keyUp(int key, Qt::KeyboardModifiers shift);
    void keyPress(int charCode);
    void mouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);
    void mouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x, float y);
    void mouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y);
    void mouseHover(int tab, float x, float y);
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
    void onMouseDown(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x,
                     float y) override;
    void onMouseUp(Qt::MouseButton button, Qt::KeyboardModifiers shift, float x, float y) override;
    void onMouseMove(Qt::MouseButtons buttons, Qt::KeyboardModifiers shift, float x,
                     float y) override;
    void onMouseHover(int tab, float x, float y) override;
    void onMouseEnter() override;
    void onMouseLeave() override;
    void onClick() override;
    void onDblClick() override;
    void onControlBoxEnter() override;
    void onControlBoxExit() override;
    void onControlBoxHover(float x, float y) override;
    void onControlBoxMouseDown(float x, float y) override;
    void onControlBoxMouseUp(float x, float y) override;
    void onMouseScrollUp() override;
    void onMouseScrollDown() override;
    void onKeyDown(int key, Qt::KeyboardModifiers shift) override;
    void onKeyUp(int key, Qt::KeyboardModifiers shift) override;
    void onKeyPress(int charCode) override;

    // Only these two themes draw a highlight under the pointer.
    bool hasThemedHighlights() const { return m_tabTheme == 1 || m_tabTheme == 4; }
    void setColor(OleColor TabColors::*member, OleColor value);
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
