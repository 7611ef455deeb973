#include "shell/placeholderfrontend.h"

#include "shell/clockapp.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QVBoxLayout>

namespace ovra {

PlaceholderFrontEnd::PlaceholderFrontEnd(ClockApp& app) : m_app(app), m_label(new QLabel(this)) {
    auto* layout = new QVBoxLayout(this);
    m_label->setAlignment(Qt::AlignCenter);
    layout->addWidget(m_label);
    connect(&m_timer, &QTimer::timeout, this, &PlaceholderFrontEnd::tick);
}

void PlaceholderFrontEnd::loadClockWindow() {
    setWindowTitle(QStringLiteral("Ovra Clock {%1}").arg(m_app.state().ClockName));
    resize(246, 246);
    applyZOrder();
    tick();
    m_timer.start(1000);
}

void PlaceholderFrontEnd::processPendingEvents() {
    QCoreApplication::processEvents();
}

void PlaceholderFrontEnd::applyZOrder() {
    setWindowFlag(Qt::WindowStaysOnTopHint, m_app.settings().AlwaysOnTop == 1);
}

void PlaceholderFrontEnd::tick() {
    const QDateTime t = m_app.clockTimeNow();
    m_label->setText(QStringLiteral("%1\n%2\n%3")
                         .arg(m_app.state().ClockName, t.time().toString(u"HH:mm:ss"),
                              t.date().toString(Qt::ISODate)));
}

void PlaceholderFrontEnd::closeEvent(QCloseEvent* event) {
    m_timer.stop();
    m_app.ShutdownClock(true);
    event->accept();
}

} // namespace ovra
