#include "app/testtime.h"

#include <gtest/gtest.h>

using namespace ovra;

namespace {

struct Reading {
    const char* value;
    const char* start; // ISO 8601 in UTC, or nullptr when refused
    int rate;
};

class TestTimeReading : public ::testing::TestWithParam<Reading> {};

TEST_P(TestTimeReading, TakesAnInstantAndARateOrNothing) {
    const Reading r = GetParam();
    QString problem;
    const std::optional<TestTime> t = parseTestTime(r.value, &problem);
    if (!r.start) {
        EXPECT_FALSE(t.has_value());
        EXPECT_FALSE(problem.isEmpty());
        return;
    }
    ASSERT_TRUE(t.has_value()) << qPrintable(problem);
    EXPECT_EQ(t->start.toUTC().toString(Qt::ISODate), QString::fromLatin1(r.start));
    EXPECT_EQ(t->rate, r.rate);
}

INSTANTIATE_TEST_SUITE_P(
    Values, TestTimeReading,
    ::testing::Values(Reading{"2026-01-14T09:59:00Z", "2026-01-14T09:59:00Z", 1},
                      Reading{" 2026-01-14T09:59:00+01:00  x20 ", "2026-01-14T08:59:00Z", 20},
                      Reading{"2026-01-14T09:59:00.500Z x100", "2026-01-14T09:59:00Z", 100},
                      Reading{"", nullptr, 0}, Reading{"tomorrow", nullptr, 0},
                      Reading{"2026-01-14T25:00:00Z", nullptr, 0},
                      Reading{"2026-01-14T09:59:00Z 20", nullptr, 0},
                      Reading{"2026-01-14T09:59:00Z x0", nullptr, 0},
                      Reading{"2026-01-14T09:59:00Z x101", nullptr, 0},
                      Reading{"2026-01-14T09:59:00Z x2.5", nullptr, 0},
                      Reading{"2026-01-14T09:59:00Z x2 x3", nullptr, 0}));

struct ScopedVariable {
    explicit ScopedVariable(const QByteArray& value) { qputenv(kTestTimeVariable, value); }
    ~ScopedVariable() { qunsetenv(kTestTimeVariable); }
};

const QDateTime kRealNow(QDate(2026, 7, 1), QTime(3, 0), Qt::UTC);

TEST(ProcessTime, RunsFromTheInstantGivenAtItsRate) {
    FixedTimeSource real(kRealNow, QTimeZone(QByteArray("Asia/Tokyo")));
    const ScopedVariable hook("2026-01-14T09:59:00Z x20");
    QStringList warnings;
    const ProcessTime time(real, [&](const QString& w) { warnings << w; });

    EXPECT_EQ(time.source().nowUtc(), QDateTime(QDate(2026, 1, 14), QTime(9, 59), Qt::UTC));
    real.advanceSeconds(3);
    EXPECT_EQ(time.source().nowUtc(), QDateTime(QDate(2026, 1, 14), QTime(10, 0), Qt::UTC));
    EXPECT_EQ(time.source().systemZone(), real.systemZone());
    EXPECT_EQ(time.secondMs(), 50);
    EXPECT_TRUE(warnings.isEmpty());
}

TEST(ProcessTime, IsTheRealTimeWithoutTheHookOrWithAMalformedOne) {
    FixedTimeSource real(kRealNow, QTimeZone(QByteArray("Asia/Tokyo")));
    for (const char* value : {static_cast<const char*>(nullptr), "", "09:59:00 x20"}) {
        std::optional<ScopedVariable> hook;
        if (value)
            hook.emplace(value);
        QStringList warnings;
        const ProcessTime time(real, [&](const QString& w) { warnings << w; });
        EXPECT_EQ(&time.source(), &real);
        EXPECT_EQ(time.secondMs(), 1000);
        const bool malformed = value && *value;
        EXPECT_EQ(warnings.size(), malformed ? 1 : 0);
        if (malformed) {
            EXPECT_TRUE(warnings.value(0).startsWith(u"OVRA_TEST_TIME is ignored"))
                << qPrintable(warnings.value(0));
        }
    }
}

} // namespace
