#pragma once

#include <QMetaType>
#include <QString>
#include <QStringView>
#include <compare>
#include <cstdint>
#include <optional>

// Money: a signed 64-bit count of ten-thousandths.
// Sums, differences and comparisons are exact; every product or quotient goes through a 128-bit
// intermediate and is rounded once to four decimals, halves to even. Decimal text converts exactly.
class Currency
{
public:
    static constexpr int64_t Scale = 10000;

    constexpr Currency() = default;
    constexpr Currency(int aUnits) : fRaw(int64_t(aUnits) * Scale) {}

    static constexpr Currency FromRaw(int64_t aRaw) { Currency c; c.fRaw = aRaw; return c; }
    static constexpr Currency FromInt(int64_t aUnits) { return FromRaw(aUnits * Scale); }
    // Nearest value, halves to even (the rounding of a double stored into money).
    static Currency FromDouble(double aValue);

    // Decimal text with an optional sign, "." as decimal point and an optional exponent;
    // digits past the fourth decimal are rounded once, halves to even.
    static std::optional<Currency> TryParse(QStringView aText);
    // As TryParse; raises "'<text>' is not a valid floating point value" on bad text.
    static Currency Parse(QStringView aText);

    constexpr int64_t Raw() const { return fRaw; }
    double ToDouble() const { return double(fRaw) / Scale; }
    // Shortest decimal text with "." as decimal point: 12.5, 3, -0.01.
    QString ToString() const;
    // Fixed text with exactly aDecimals decimals (0 to 4), halves away from zero.
    QString ToFixed(int aDecimals) const;

    // Integer part toward zero, and rounding to whole units with halves to even.
    int64_t Trunc() const { return fRaw / Scale; }

    constexpr Currency operator-() const { return FromRaw(-fRaw); }
    constexpr Currency operator+(Currency b) const { return FromRaw(fRaw + b.fRaw); }
    constexpr Currency operator-(Currency b) const { return FromRaw(fRaw - b.fRaw); }
    Currency& operator+=(Currency b) { fRaw += b.fRaw; return *this; }
    Currency& operator-=(Currency b) { fRaw -= b.fRaw; return *this; }

    Currency operator*(Currency b) const;
    Currency operator/(Currency b) const;   // raises "Division by zero" for b == 0
    Currency operator*(int64_t b) const { return FromRaw(fRaw * b); }

    // a * b / c with one rounding at the end (halves to even); c must not be 0.
    static Currency MulDiv(Currency a, Currency b, Currency c);

    constexpr auto operator<=>(const Currency&) const = default;
    constexpr bool operator==(const Currency&) const = default;

private:
    int64_t fRaw = 0;
};

Q_DECLARE_METATYPE(Currency)

// Rounds numerator / denominator to the nearest integer, halves to even.
int64_t RoundHalfEven(__int128 aNumerator, __int128 aDenominator);
