#pragma once

#include <QString>

#include <stdexcept>

namespace ovra {

// Error numbers the tab strip reports; callers that know the classic numbering can
// test them directly.
namespace taberror {
inline constexpr int InvalidArgument = 5;
inline constexpr int OutOfMemory = 7;
inline constexpr int SubscriptOutOfRange = 9;
} // namespace taberror

// A failed call on the tab strip. The source names the member that failed, as
// "TabStrip.insertTab"; a member that fails because a member it called failed keeps
// the number and description and puts its own name in the source.
class TabStripError : public std::runtime_error {
public:
    TabStripError(int number, const QString& description, const QString& source = {});

    // A standard error by number (5, 7 or 9) with its usual description.
    static TabStripError fromNumber(int number, const QString& source = {});

    int number() const { return m_number; }
    QString description() const { return m_description; }
    QString source() const { return m_source; }

    // The same error reported by another member of the strip.
    TabStripError raisedBy(const QString& member) const;

private:
    int m_number;
    QString m_description;
    QString m_source;
};

} // namespace ovra
