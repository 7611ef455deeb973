#include "dialogs/comboaccessible.h"

#include <QAbstractItemView>
#include <QComboBox>

namespace ovra {

namespace {
QAccessibleInterface* comboFactory(const QString& className, QObject* object) {
    // Only lists that cannot be typed into: an editable one is a text field first.
    if (className == QLatin1String("QComboBox") && object && object->isWidgetType())
        if (auto* combo = qobject_cast<QComboBox*>(object); combo && !combo->isEditable())
            return new ComboAccessible(combo);
    return nullptr;
}
} // namespace

ComboAccessible::ComboAccessible(QComboBox* combo)
    : QAccessibleWidget(combo, QAccessible::ComboBox) {}

void ComboAccessible::install() {
    static const bool installed = (QAccessible::installFactory(&comboFactory), true);
    Q_UNUSED(installed);
}

QComboBox* ComboAccessible::combo() const {
    return static_cast<QComboBox*>(widget());
}

QString ComboAccessible::text(QAccessible::Text t) const {
    switch (t) {
    case QAccessible::Name:
        // A list without a label keeps what Qt would say: its chosen entry.
        return combo()->accessibleName().isEmpty() ? combo()->currentText()
                                                   : combo()->accessibleName();
    case QAccessible::Value:
        return combo()->currentText();
    case QAccessible::Description:
        return combo()->accessibleDescription().isEmpty() ? combo()->currentText()
                                                          : combo()->accessibleDescription();
    default:
        return QAccessibleWidget::text(t);
    }
}

QAccessible::State ComboAccessible::state() const {
    QAccessible::State s = QAccessibleWidget::state();
    const bool open = combo()->view() && combo()->view()->isVisible();
    s.expandable = true;
    s.expanded = open;
    s.collapsed = !open;
    return s;
}

// The entries, as the popup's list holds them, so a reader can list the choices.
int ComboAccessible::childCount() const {
    return combo()->view() ? 1 : 0;
}

QAccessibleInterface* ComboAccessible::child(int index) const {
    return index == 0 && combo()->view() ? QAccessible::queryAccessibleInterface(combo()->view())
                                         : nullptr;
}

int ComboAccessible::indexOfChild(const QAccessibleInterface* child) const {
    return child && combo()->view() && child->object() == combo()->view() ? 0 : -1;
}

QStringList ComboAccessible::actionNames() const {
    QStringList names{showMenuAction(), pressAction()};
    for (const QString& name : QAccessibleWidget::actionNames())
        if (!names.contains(name))
            names << name; // taking the focus
    return names;
}

void ComboAccessible::doAction(const QString& name) {
    if (name != showMenuAction() && name != pressAction()) {
        QAccessibleWidget::doAction(name);
    } else if (combo()->view() && combo()->view()->isVisible()) {
        combo()->hidePopup();
    } else {
        combo()->showPopup();
    }
}

} // namespace ovra
