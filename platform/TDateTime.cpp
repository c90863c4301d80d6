#include "TDateTime.h"

#include "Exception.h"

#include <cmath>
#include <cstdlib>

namespace {
const QDate kEpoch(1899, 12, 30);
}

TDateTime TDateTime::EncodeDate(int aYear, int aMonth, int aDay)
{
    QDate d(aYear, aMonth, aDay);
    if (!d.isValid() || aYear < 1 || aYear > 9999)
        throw Exception(QStringLiteral("Invalid argument to date encode"));
    return TDateTime(double(kEpoch.daysTo(d)));
}

TDateTime TDateTime::EncodeTime(int aHour, int aMinute, int aSecond, int aMSec)
{
    if (aHour < 0 || aHour > 23 || aMinute < 0 || aMinute > 59 || aSecond < 0 || aSecond > 59 || aMSec < 0
        || aMSec > 999)
        throw Exception(QStringLiteral("Invalid argument to time encode"));
    qint64 ms = ((qint64(aHour) * 60 + aMinute) * 60 + aSecond) * 1000 + aMSec;
    return TDateTime(double(ms) / MSecsPerDay);
}

bool TDateTime::TryEncodeDateTime(int aYear, int aMonth, int aDay, int aHour, int aMinute, int aSecond,
                                  int aMSec, TDateTime& aResult)
{
    try {
        aResult = EncodeDateTime(aYear, aMonth, aDay, aHour, aMinute, aSecond, aMSec);
        return true;
    } catch (const Exception&) {
        return false;
    }
}

TDateTime TDateTime::EncodeDateTime(int aYear, int aMonth, int aDay, int aHour, int aMinute, int aSecond,
                                    int aMSec)
{
    double date = EncodeDate(aYear, aMonth, aDay).fValue;
    double time = EncodeTime(aHour, aMinute, aSecond, aMSec).fValue;
    // Before the epoch the fraction counts forward from the day too, as the sign of the day says.
    return TDateTime(date >= 0 ? date + time : date - time);
}

TDateTime TDateTime::FromQDate(const QDate& aDate)
{
    return EncodeDate(aDate.year(), aDate.month(), aDate.day());
}

TDateTime TDateTime::FromQDateTime(const QDateTime& aDateTime)
{
    QDate d = aDateTime.date();
    QTime t = aDateTime.time();
    return EncodeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
}

TDateTime TDateTime::Now()
{
    return FromQDateTime(QDateTime::currentDateTime());
}

TDateTime TDateTime::Today()
{
    return FromQDate(QDate::currentDate());
}

qint64 TDateTime::TotalMSecs() const
{
    return qint64(std::llround(fValue * MSecsPerDay));
}

void TDateTime::DecodeDate(int& aYear, int& aMonth, int& aDay) const
{
    QDate d = Date();
    aYear = d.year();
    aMonth = d.month();
    aDay = d.day();
}

void TDateTime::DecodeTime(int& aHour, int& aMinute, int& aSecond, int& aMSec) const
{
    qint64 ms = std::llabs(TotalMSecs()) % MSecsPerDay;
    aMSec = int(ms % 1000);
    ms /= 1000;
    aSecond = int(ms % 60);
    ms /= 60;
    aMinute = int(ms % 60);
    aHour = int(ms / 60);
}

QDate TDateTime::Date() const
{
    return kEpoch.addDays(TotalMSecs() / MSecsPerDay);
}

QTime TDateTime::Time() const
{
    int h, n, s, z;
    DecodeTime(h, n, s, z);
    return QTime(h, n, s, z);
}

QDateTime TDateTime::ToQDateTime() const
{
    return QDateTime(Date(), Time());
}

TDateTime TDateTime::DatePart() const
{
    return TDateTime(double(TotalMSecs() / MSecsPerDay));
}

QString TDateTime::Format(const QString& aQtPattern) const
{
    // UTC has no daylight-saving gaps: the parts come out exactly as they are stored.
    return QDateTime(Date(), Time(), Qt::UTC).toString(aQtPattern);
}
