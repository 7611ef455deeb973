#include "widgets/tabstriperror.h"

namespace ovra {

namespace {
QString describe(int number) {
    switch (number) {
    case taberror::InvalidArgument:
        return QStringLiteral("Invalid procedure call or argument");
    case taberror::OutOfMemory:
        return QStringLiteral("Out of memory");
    case taberror::SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}
} // namespace

TabStripError::TabStripError(int number, const QString& description, const QString& source)
    : std::runtime_error(
          (source.isEmpty() ? description : source + QStringLiteral(": ") + description)
              .toStdString()),
      m_number(number), m_description(description), m_source(source) {}

TabStripError TabStripError::fromNumber(int number, const QString& source) {
    return TabStripError(number, describe(number), source);
}

TabStripError TabStripError::raisedBy(const QString& member) const {
    // The source an error names keeps the text callers and messages have always shown.
    return TabStripError(m_number, m_description, QStringLiteral("ucTabStrip.") + member);
}

} // namespace ovra
