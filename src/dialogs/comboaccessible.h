#pragma once

#include <QAccessibleWidget>

class QComboBox;

namespace ovra {

// A choice list as a screen reader should meet it: named by its label, as every
// other field is, with the chosen entry as its value and description. Qt names a
// list by its chosen entry on this platform, so that "Clock Always On Top" would
// be announced as just "Yes" and the alarm's minute as "00".
class ComboAccessible final : public QAccessibleWidget {
public:
    explicit ComboAccessible(QComboBox* combo);

    // Makes the toolkit build this interface for every choice list of the process;
    // once, before the first list is asked for its interface.
    static void install();

    QString text(QAccessible::Text t) const override;
    QAccessible::State state() const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;

    QStringList actionNames() const override;
    void doAction(const QString& name) override;

private:
    QComboBox* combo() const;
};

} // namespace ovra
