#pragma once

#include "shell/clockhosts.h"

#include <QLabel>
#include <QTimer>
#include <QWidget>

namespace ovra {

class ClockApp;

// A plain framed window that shows the clock's name and time; it stands in for the
// face window until that lands, and keeps the start-up and shutdown paths real.
class PlaceholderFrontEnd final : public QWidget, public ClockWindowHost {
    Q_OBJECT
public:
    explicit PlaceholderFrontEnd(ClockApp& app);

    void computeLayout() override {}
    void checkMonitor() override {}
    void loadClockWindow() override;
    void createDrawTools() override {}
    void deleteDrawTools() override {}
    void loadButtonImage() override {}
    void releaseImages() override {}
    void deleteGraphic() override {}
    void iniForm() override {}
    void processPendingEvents() override;
    void showClockWindow() override { show(); }
    void applyZOrder() override;
    void closeWindows() override { close(); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void tick();

    ClockApp& m_app;
    QLabel* m_label;
    QTimer m_timer;
};

} // namespace ovra
