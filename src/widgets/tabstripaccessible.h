#pragma once

#include <QAccessibleWidget>
#include <QMap>

namespace ovra {

class TabStrip;

// The tab strip as assistive technology sees it: a page-tab list whose children are
// the tabs, each named by its caption as shown, selected while active, and pressed
// to select it, followed by the controls of the page in front. Those of the other
// pages stand aside and are left out, so that a screen reader walks the page
// shown, from the strip into it, in the order Tab visits it.
class TabStripAccessible final : public QAccessibleWidget {
public:
    explicit TabStripAccessible(TabStrip* strip);
    ~TabStripAccessible() override;

    // Makes the toolkit build this interface for every tab strip; once per process,
    // before the first strip is asked for its interface.
    static void install();

    QString text(QAccessible::Text t) const override;
    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

private:
    TabStrip* strip() const;
    QList<QWidget*> shownControls() const;
    mutable QMap<int, QAccessible::Id> m_tabs;
};

} // namespace ovra
