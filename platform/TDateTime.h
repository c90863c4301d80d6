#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QTime>

// A point in time as the day count since 1899-12-30 00:00, the fraction being the time of day.
// 0 stands for a date not given. Encoding and decoding are exact to the millisecond.
class TDateTime
{
public:
    static constexpr qint64 MSecsPerDay = 86400000;

    constexpr TDateTime() = default;
    constexpr explicit TDateTime(double aValue) : fValue(aValue) {}

    // Raise "Invalid argument to date encode" / "... time encode" for impossible parts.
    static TDateTime EncodeDate(int aYear, int aMonth, int aDay);
    static TDateTime EncodeTime(int aHour, int aMinute, int aSecond, int aMSec);
    static TDateTime EncodeDateTime(int aYear, int aMonth, int aDay, int aHour, int aMinute, int aSecond,
                                    int aMSec);
    static bool TryEncodeDateTime(int aYear, int aMonth, int aDay, int aHour, int aMinute, int aSecond,
                                  int aMSec, TDateTime& aResult);
    static TDateTime FromQDate(const QDate& aDate);
    static TDateTime FromQDateTime(const QDateTime& aDateTime);   // local wall-clock parts
    static TDateTime Now();
    static TDateTime Today();

    constexpr double Value() const { return fValue; }
    constexpr bool IsZero() const { return fValue == 0; }

    void DecodeDate(int& aYear, int& aMonth, int& aDay) const;
    void DecodeTime(int& aHour, int& aMinute, int& aSecond, int& aMSec) const;
    QDate Date() const;
    QTime Time() const;
    QDateTime ToQDateTime() const;
    TDateTime DatePart() const;   // the same day at 00:00

    // Qt date-time pattern over the decoded parts (yyyy, MM, dd, hh, mm, ss, zzz ...).
    QString Format(const QString& aQtPattern) const;

    constexpr bool operator==(const TDateTime& b) const { return fValue == b.fValue; }
    constexpr auto operator<=>(const TDateTime& b) const { return fValue <=> b.fValue; }

private:
    qint64 TotalMSecs() const;   // rounded to the millisecond
    double fValue = 0;
};
