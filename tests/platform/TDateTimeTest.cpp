#include "Exception.h"
#include "TDateTime.h"

#include <gtest/gtest.h>
#include <ctime>

TEST(TDateTime, EncodesAndDecodesEveryMillisecondExactly)
{
    struct Case { int y, m, d, h, n, s, z; double days; };
    const Case cases[] = {
        {1899, 12, 30, 0, 0, 0, 0, 0.0},
        {1900, 1, 1, 0, 0, 0, 0, 2.0},
        {2023, 6, 18, 14, 3, 7, 45, 45095.0},
        {2024, 2, 29, 23, 59, 59, 999, 45351.0},
        {2024, 12, 31, 0, 0, 0, 1, 45657.0},
    };
    for (const Case& c : cases) {
        TDateTime t = TDateTime::EncodeDateTime(c.y, c.m, c.d, c.h, c.n, c.s, c.z);
        EXPECT_EQ(t.DatePart().Value(), c.days);
        int y, m, d, h, n, s, z;
        t.DecodeDate(y, m, d);
        t.DecodeTime(h, n, s, z);
        EXPECT_EQ((std::array{y, m, d, h, n, s, z}), (std::array{c.y, c.m, c.d, c.h, c.n, c.s, c.z}));
    }
    // Every millisecond of a day survives the double.
    TDateTime day = TDateTime::EncodeDate(2023, 6, 18);
    for (qint64 ms = 0; ms < TDateTime::MSecsPerDay; ms += 997) {
        TDateTime t(day.Value() + double(ms) / TDateTime::MSecsPerDay);
        int h, n, s, z;
        t.DecodeTime(h, n, s, z);
        ASSERT_EQ(((h * 60 + n) * 60 + s) * 1000 + z, ms);
        ASSERT_EQ(t.Date(), QDate(2023, 6, 18));
    }
}

TEST(TDateTime, RefusesImpossibleParts)
{
    EXPECT_THROW(TDateTime::EncodeDate(2023, 2, 29), Exception);
    EXPECT_THROW(TDateTime::EncodeTime(24, 0, 0, 0), Exception);
    TDateTime t;
    EXPECT_FALSE(TDateTime::TryEncodeDateTime(2023, 13, 1, 0, 0, 0, 0, t));
}

TEST(TDateTime, FormatsAnHourThatLocalTimeSkips)
{
    // 2024-03-31 01:30 does not exist on a Lisbon wall clock; the stored time is printed all the same.
    const QByteArray previous = qgetenv("TZ");
    qputenv("TZ", "Europe/Lisbon");
    tzset();
    const QString text = TDateTime::EncodeDateTime(2024, 3, 31, 1, 30, 0, 5).Format("yyyy-MM-ddThh:mm:ss.zzz");
    previous.isNull() ? qunsetenv("TZ") : qputenv("TZ", previous);
    tzset();
    EXPECT_EQ(text, "2024-03-31T01:30:00.005");
}
