// The clock window's right-click menu and the strip's tooltips: other ways to what
// the strip and the keys already do.
#include "clock/clocklayout.h"
#include "clock/clockwindow.h"
#include "clock/clockwindowhost.h"
#include "settings/clockmodel.h"

#include <QContextMenuEvent>
#include <QHelpEvent>
#include <QMenu>
#include <QToolTip>

namespace ovra {

void ClockWindow::toggleAlwaysOnTop() {
    ClockSettings& s = m_clock.settings();
    s.alwaysOnTop = !s.alwaysOnTop;
    applyZOrder();
    emit m_clock.settingsChanged();
}

void ClockWindow::toggleScale() {
    ClockSettings& s = m_clock.settings();
    s.showScale = !s.showScale;
    drawClock();
    emit m_clock.settingsChanged();
}

QMenu* ClockWindow::createContextMenu() {
    auto* menu = new QMenu(this);
    menu->setObjectName(QStringLiteral("clockMenu"));
    const ClockSettings& s = m_clock.settings();
    menu->addAction(tr("&Settings…"), this, [this] { emit settingsRequested(true); });
    QAction* onTop = menu->addAction(tr("Always on &Top"), this, &ClockWindow::toggleAlwaysOnTop);
    onTop->setCheckable(true);
    onTop->setChecked(s.alwaysOnTop);
    QAction* scale = menu->addAction(tr("Show Sc&ale"), this, &ClockWindow::toggleScale);
    scale->setCheckable(true);
    scale->setChecked(s.showScale);
    menu->addSeparator();
    menu->addAction(tr("A&bout…"), this, &ClockWindow::aboutRequested);
    menu->addAction(tr("&Close"), this, [this] { emit shutdownRequested(true); });
    return menu;
}

void ClockWindow::contextMenuEvent(QContextMenuEvent* event) {
    if (m_unloading)
        return;
    QMenu* menu = createContextMenu();
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(event->globalPos());
    event->accept();
}

bool ClockWindow::showStripToolTip(QHelpEvent* event) {
    const int32_t zone = hitZone(event->pos(), windowSize());
    QString tip;
    switch (zone) {
    case hotbutton::Close:
        tip = tr("Close");
        break;
    case hotbutton::Settings:
        tip = tr("Settings");
        break;
    case hotbutton::Grip:
        tip = tr("Move");
        break;
    default:
        QToolTip::hideText();
        return false;
    }
    // The tip goes once the pointer leaves the button's cell.
    const QRect area(windowSize() - kFaceMargin, kFaceMargin * zone, kFaceMargin, kFaceMargin);
    QToolTip::showText(event->globalPos(), tip, this, area);
    return true;
}

} // namespace ovra
