#include "settings/clockmodel.h"

#include "time/clocktime.h"

namespace ovra {

ClockModel::ClockModel(Services services, PathRoots roots, QObject* parent)
    : QObject(parent), m_services(services), m_roots(std::move(roots)) {}

void ClockModel::setClockName(const QString& name) {
    m_state.clockName = name;
    m_paths = AppPaths::build(name, m_roots);
}

QDateTime ClockModel::clockTimeAt(const QDateTime& utc) const {
    return clockTime(utc, m_services.time.systemZone(), clockTimeInput(m_state));
}

} // namespace ovra
