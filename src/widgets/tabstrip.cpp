#include "widgets/tabstrip.h"

#include "widgets/filefilter.h"
#include "widgets/tabstripguard.h"
#include "widgets/tabstripinput.h"
#include "widgets/tabstriplayout.h"
#include "widgets/tabstrippainter.h"
#include "widgets/tabstrippersistence.h"
#include "widgets/tabstripwindowwatcher.h"

#include <QAccessible>
#include <QFileDialog>
#include <QPointer>
#include <QShortcut>

#include <algorithm>

namespace ovra {

using tabstrip::floorDiv;
using tabstrip::reportAs;
using tabstrip::UpdatesSuspended;

namespace {

// Tells assistive technology that the selection moved to `tab`, and the focus with
// it while the strip has the keyboard.
void announceTabSelected(TabStrip* strip, int tab) {
    if (!QAccessible::isActive())
        return;
    if (strip->hasFocus()) {
        QAccessibleEvent focus(strip, QAccessible::Focus);
        focus.setChild(tab);
        QAccessible::updateAccessibility(&focus);
    }
    // Reaches the reader as the new tab's selected state.
    QAccessibleEvent selection(strip, QAccessible::Selection);
    selection.setChild(tab);
    QAccessible::updateAccessibility(&selection);
    QAccessibleEvent name(strip, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&name);
}

// A caption or an enabled flag changed.
void announceTabChanged(TabStrip* strip, int tab) {
    if (!QAccessible::isActive())
        return;
    QAccessibleEvent name(strip, QAccessible::NameChanged);
    name.setChild(tab);
    QAccessible::updateAccessibility(&name);
    QAccessible::State changed;
    changed.disabled = true;
    changed.selectable = true;
    QAccessibleStateChangeEvent state(strip, changed);
    state.setChild(tab);
    QAccessible::updateAccessibility(&state);
}

} // namespace

TabStrip::TabStrip(QWidget* parent)
    : QWidget(parent),
      m_input(std::make_unique<TabStripInput>(static_cast<TabStripInputHost&>(*this))),
      m_watcher(new TabStripWindowWatcher(this)) {
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    connect(m_watcher, &TabStripWindowWatcher::status, this, &TabStrip::status);
    setCountInternal(3);
    applyThemeColors(m_tabTheme, m_colors, ambientBackColor(), palette());
    computePageOffset();
    m_watcher->watch(window());
}

TabStrip::~TabStrip() = default;

// ---- tabs and selection ----------------------------------------------------------

void TabStrip::setTabCount(int count) {
    reportAs("TabCount", [&] {
        setCountInternal(count);
        m_input->resetHover();
        rebuildAccessKeys();
        redraw();
    });
}

void TabStrip::setCountInternal(int count) {
    count = std::clamp(count, 1, kMaxTabCount);
    while (m_tabs.size() < count)
        m_tabs.append(TabRecord::numbered(int(m_tabs.size())));
    if (m_tabs.size() > count)
        m_tabs.resize(count);
    if (m_activeTab >= count)
        setActiveInternal(count - 1);
    m_lastActiveTab = std::min(m_lastActiveTab, count - 1);
}

void TabStrip::setActiveTab(int tab) {
    reportAs("ActiveTab", [&] {
        if (tab < 0 || tab >= TabCount())
            tab = 0;
        if (tab == m_activeTab)
            return;
        bool cancel = false;
        const QPointer<TabStrip> self(this);
        emit beforeTabSwitch(tab, &cancel);
        if (!self || cancel)
            return;
        // The handler may have switched or removed tabs itself.
        if (tab >= TabCount())
            tab = 0;
        if (tab == m_activeTab)
            return;
        m_lastActiveTab = m_activeTab;
        setActiveInternal(tab);
        m_input->resetHover();
        redraw();
        announceTabSelected(this, tab);
        emit tabSwitch(m_lastActiveTab);
    });
}

void TabStrip::setActiveInternal(int tab) {
    const int pages = tab - m_activeTab;
    if (pages != 0) {
        for (QWidget* child : childControls())
            moveChild(child, pages);
    }
    m_activeTab = tab;
}

void TabStrip::checkIndex(int index) const {
    if (index < 0 || index >= TabCount())
        throw TabStripError::fromNumber(taberror::SubscriptOutOfRange);
}

QString TabStrip::TabCaption(int index) const {
    return reportAs("TabCaption", [&] {
        checkIndex(index);
        return m_tabs[index].caption;
    });
}

void TabStrip::setTabCaption(int index, const QString& caption) {
    reportAs("TabCaption", [&] {
        checkIndex(index);
        m_tabs[index].caption = caption;
        m_tabs[index].accessKey = parseCaption(caption).accessKey;
        rebuildAccessKeys();
        redraw();
        announceTabChanged(this, index);
    });
}

bool TabStrip::TabEnabled(int index) const {
    return reportAs("TabEnabled", [&] {
        checkIndex(index);
        return m_tabs[index].enabled;
    });
}

void TabStrip::setTabEnabled(int index, bool enabled) {
    reportAs("TabEnabled", [&] {
        checkIndex(index);
        m_tabs[index].enabled = enabled;
        if (!enabled && HoveredTab() == index)
            m_input->resetHover();
        redraw();
        announceTabChanged(this, index);
    });
}

int TabStrip::TabAccessKey(int index) const {
    return reportAs("TabAccessKey", [&] {
        checkIndex(index);
        return m_tabs[index].accessKey;
    });
}

QPixmap TabStrip::TabPicture(int index) const {
    return reportAs("TabPicture", [&] {
        checkIndex(index);
        return m_tabs[index].picture;
    });
}

void TabStrip::setTabPicture(int index, const QPixmap& picture) {
    reportAs("TabPicture", [&] {
        checkIndex(index);
        m_tabs[index].picture = picture;
        redraw();
    });
}

QRect TabStrip::TabRect(int index) const {
    return reportAs("TabRect", [&] {
        checkIndex(index);
        updateTabRects();
        return m_tabs[index].rect;
    });
}

int TabStrip::HoveredTab() const {
    return m_input->hoveredTab() >= 0 ? m_input->hoveredTab() : m_activeTab;
}

bool TabStrip::isHoverShown() const {
    return m_input->hoverShown();
}

QList<int> TabStrip::AccessKeys() const {
    return m_accessKeys.keys();
}

void TabStrip::rebuildAccessKeys() {
    // Rebuilt from every caption rather than edited key by key, so that two tabs that
    // share a key keep it when one of them changes its caption.
    QMap<int, QShortcut*> keep;
    for (TabRecord& tab : m_tabs) {
        tab.accessKey = parseCaption(tab.caption).accessKey;
        const int code = tab.accessKey;
        if (code == 0 || keep.contains(code))
            continue;
        QShortcut* shortcut = m_accessKeys.take(code);
        if (!shortcut) {
            const QKeySequence sequence =
                QKeySequence::mnemonic(QStringLiteral("&") + QString(QChar(char16_t(code))));
            shortcut = new QShortcut(sequence, this);
            shortcut->setContext(Qt::WindowShortcut);
            connect(shortcut, &QShortcut::activated, this,
                    [this, code] { m_input->accessKey(code); });
        }
        keep.insert(code, shortcut);
    }
    qDeleteAll(m_accessKeys);
    m_accessKeys = keep;
}

// ---- pages and their children ----------------------------------------------------

// ---- methods -----------------------------------------------------------------------

QString TabStrip::Version(bool withDate) {
    const QString version = QStringLiteral("1.0.85");
    return withDate ? version + QStringLiteral(" (12/16/2011 11:10:59 PM )") : version;
}

void TabStrip::refresh() {
    if (m_busy)
        return;
    m_busy = true;
    raiseCompleteInit();
    if (m_useThemeDetection)
        m_tabTheme = detectedTheme();
    redraw();
    m_busy = false;
}

void TabStrip::raiseCompleteInit() {
    if (m_initRaised)
        return;
    m_initRaised = true;
    emit afterCompleteInit();
}

void TabStrip::cls() {
    m_cleared = true;
    update();
}

void TabStrip::redraw() {
    m_cleared = false;
    updateGeometry();
    update();
}

void TabStrip::showHideFocus() {
    redraw();
}

void TabStrip::copyTabImagesFromImageList(const QList<QPixmap>& images) {
    reportAs("CopyTabImagesFromImageList", [&] {
        const qsizetype n = std::min<qsizetype>(images.size(), m_tabs.size());
        for (qsizetype i = 0; i < n; ++i)
            m_tabs[i].picture = images[i];
        redraw();
    });
}

void TabStrip::removeTabImages(int tabIndex, bool removeAll) {
    reportAs("RemoveTabImages", [&] {
        if (removeAll) {
            for (TabRecord& tab : m_tabs)
                tab.picture = QPixmap();
        } else {
            checkIndex(tabIndex);
            m_tabs[tabIndex].picture = QPixmap();
        }
        redraw();
    });
}

QString TabStrip::showFileOpenDialog(QWidget* owner, const QString& initialFolder,
                                     const QString& filter) {
    return QFileDialog::getOpenFileName(owner, QString(), initialFolder, toQtFileFilter(filter));
}

void TabStrip::readProperties(const QVariantMap& bag) {
    reportAs("ReadProperties", [&] {
        applyPersistentProperties(TabStripPersistence::read(bag, persistenceAmbient()));
    });
}

void TabStrip::writeProperties(QVariantMap& bag) const {
    reportAs("WriteProperties", [&] {
        TabStripPersistence::write(persistentProperties(), persistenceAmbient(), bag);
    });
}

QSize TabStrip::sizeHint() const {
    // Room for every tab at its content's width, whatever the layout.
    int tabs = 2 * (TabStripLayout::kPagesIndent + TabStripLayout::kActiveOverlap);
    for (int width : tabContentWidths())
        tabs += width;
    const int row = TabStripLayout::rowHeight(m_activeTabHeight, m_inactiveTabHeight);
    return QSize(std::max(tabs, 240), row + 160);
}

QSize TabStrip::minimumSizeHint() const {
    return QSize(40, TabStripLayout::rowHeight(m_activeTabHeight, m_inactiveTabHeight) + 8);
}

} // namespace ovra
