#pragma once

#include "dialogs/configservices.h"

#include <QObject>
#include <QPointer>

class QWidget;

namespace ovra {

class ClockWindowList;
class AboutDialog;
class SettingsDialog;
class LinkOpener;

// The settings dialog and the about box of a clock process: at most one of each,
// opened on the clock window's request and registered with its window list, so
// that the shutdown closes them after the notice and before the clock window.
class ClockDialogs : public QObject {
    Q_OBJECT
public:
    // services.showAbout is filled in here; an empty services.wait sleeps.
    ClockDialogs(ConfigServices services, LinkOpener& links, ClockWindowList& windows,
                 QWidget* clockWindow);
    ~ClockDialogs() override;

    SettingsDialog* settingsDialog() const;
    AboutDialog* aboutBox() const;

public slots:
    // owned: the dialog belongs to the clock window (its settings button) rather than
    // standing on its own (the Page Up key). A dialog already open is brought forward.
    void openSettings(bool owned);
    void openAbout();

private:
    void placeBesideClock(QWidget* window);
    static void bringForward(QWidget* window);

    ConfigServices m_services;
    LinkOpener& m_links;
    ClockWindowList& m_windows;
    QPointer<QWidget> m_clockWindow;
    QPointer<SettingsDialog> m_config;
    QPointer<AboutDialog> m_about;
};

} // namespace ovra
