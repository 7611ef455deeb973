#include "widgets/tabstripaccessible.h"

#include "widgets/tabrecord.h"
#include "widgets/tabstrip.h"

#include <QAccessibleActionInterface>
#include <QApplication>
#include <QPointer>

namespace ovra {

namespace {

// One tab. It keeps only its index: the strip may renumber, and the list drops its
// tabs' interfaces when the count changes.
class TabAccessible final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    TabAccessible(TabStrip* strip, int index) : m_strip(strip), m_index(index) {}

    bool isValid() const override { return m_strip && m_index < m_strip->tabCount(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent() ? parent()->window() : nullptr; }
    QAccessibleInterface* parent() const override {
        return QAccessible::queryAccessibleInterface(m_strip.data());
    }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }

    QString text(QAccessible::Text t) const override {
        if (!isValid())
            return {};
        const CaptionParts parts = parseCaption(m_strip->tabCaption(m_index));
        switch (t) {
        case QAccessible::Name:
            return parts.text;
        case QAccessible::Accelerator:
            return parts.accessKey ? QKeySequence(Qt::ALT | Qt::Key(parts.accessKey))
                                         .toString(QKeySequence::NativeText)
                                   : QString();
        default:
            return {};
        }
    }
    void setText(QAccessible::Text, const QString&) override {}

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        const bool enabled = m_strip->isEnabled() && m_strip->isTabEnabled(m_index);
        const bool active = m_strip->activeTab() == m_index;
        s.disabled = !enabled;
        s.selectable = enabled;
        s.focusable = enabled;
        s.selected = active;
        s.focused = active && m_strip->hasFocus();
        s.invisible = !m_strip->isVisible();
        return s;
    }

    QRect rect() const override {
        if (!isValid())
            return {};
        const QRect r = m_strip->tabRect(m_index);
        return QRect(m_strip->mapToGlobal(r.topLeft()), r.size());
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this)
                                                    : nullptr;
    }

    QStringList actionNames() const override { return {pressAction()}; }
    QStringList keyBindingsForAction(const QString&) const override {
        const QString key = text(QAccessible::Accelerator);
        return key.isEmpty() ? QStringList() : QStringList{key};
    }
    void doAction(const QString& name) override {
        // Pressing selects the tab as a click does: a disabled tab stays unselected.
        if (name == pressAction() && isValid() && m_strip->isEnabled() &&
            m_strip->isTabEnabled(m_index))
            m_strip->setActiveTab(m_index);
    }

private:
    QPointer<TabStrip> m_strip;
    int m_index;
};

QAccessibleInterface* tabStripFactory(const QString& className, QObject* object) {
    if (className == QLatin1String(TabStrip::staticMetaObject.className()) && object &&
        object->isWidgetType())
        return new TabStripAccessible(static_cast<TabStrip*>(object));
    return nullptr;
}

} // namespace

TabStripAccessible::TabStripAccessible(TabStrip* strip)
    : QAccessibleWidget(strip, QAccessible::PageTabList) {}

TabStripAccessible::~TabStripAccessible() {
    for (const QAccessible::Id id : std::as_const(m_tabs))
        QAccessible::deleteAccessibleInterface(id);
}

void TabStripAccessible::install() {
    static const bool installed = (QAccessible::installFactory(&tabStripFactory), true);
    Q_UNUSED(installed);
}

TabStrip* TabStripAccessible::strip() const {
    return static_cast<TabStrip*>(widget());
}

QString TabStripAccessible::text(QAccessible::Text t) const {
    QString s = QAccessibleWidget::text(t);
    // Without a name of its own the list is named by the page in front.
    if (t == QAccessible::Name && s.isEmpty())
        s = parseCaption(strip()->tabCaption(strip()->activeTab())).text;
    return s;
}

QList<QWidget*> TabStripAccessible::shownControls() const {
    QList<QWidget*> controls = strip()->pageControls(strip()->activeTab());
    controls.removeIf([](const QWidget* c) { return c->isHidden(); });
    return controls;
}

int TabStripAccessible::childCount() const {
    return strip()->tabCount() + int(shownControls().size());
}

QAccessibleInterface* TabStripAccessible::child(int index) const {
    if (index < 0 || index >= childCount())
        return nullptr;
    if (const int tabs = strip()->tabCount(); index >= tabs)
        return QAccessible::queryAccessibleInterface(shownControls().at(index - tabs));
    if (const auto it = m_tabs.constFind(index); it != m_tabs.cend())
        return QAccessible::accessibleInterface(*it);
    QAccessibleInterface* tab = new TabAccessible(strip(), index);
    m_tabs.insert(index, QAccessible::registerAccessibleInterface(tab));
    return tab;
}

int TabStripAccessible::indexOfChild(const QAccessibleInterface* child) const {
    if (child && child->object()) {
        const qsizetype control = shownControls().indexOf(child->object());
        return control < 0 ? -1 : strip()->tabCount() + int(control);
    }
    const QAccessible::Id id = QAccessible::uniqueId(const_cast<QAccessibleInterface*>(child));
    for (auto it = m_tabs.cbegin(); it != m_tabs.cend(); ++it)
        if (it.value() == id)
            return it.key();
    return -1;
}

QAccessibleInterface* TabStripAccessible::childAt(int x, int y) const {
    const QPoint p = strip()->mapFromGlobal(QPoint(x, y));
    for (int i = 0; i < strip()->tabCount(); ++i)
        if (strip()->tabRect(i).contains(p))
            return child(i);
    for (QWidget* control : shownControls())
        if (control->geometry().contains(p))
            return QAccessible::queryAccessibleInterface(control);
    return nullptr;
}

QAccessibleInterface* TabStripAccessible::focusChild() const {
    if (strip()->hasFocus())
        return child(strip()->activeTab());
    QWidget* focus = QApplication::focusWidget();
    for (QWidget* control : shownControls())
        if (focus && (control == focus || control->isAncestorOf(focus)))
            return QAccessible::queryAccessibleInterface(focus);
    return nullptr;
}

} // namespace ovra
