#include "Currency.h"

#include "Exception.h"

#include <cmath>

namespace {
// The rounded quotient in full width, so that callers can range-check it before narrowing.
__int128 RoundHalfEvenWide(__int128 n, __int128 d)
{
    if (d < 0) { n = -n; d = -d; }
    __int128 q = n / d;
    __int128 r = n % d;
    if (r != 0) {
        __int128 twice = (r < 0 ? -r : r) * 2;
        bool up = twice > d || (twice == d && (q % 2) != 0);
        if (up)
            q += (n < 0) ? -1 : 1;
    }
    return q;
}
}

int64_t RoundHalfEven(__int128 n, __int128 d)
{
    return int64_t(RoundHalfEvenWide(n, d));
}

Currency Currency::FromDouble(double aValue)
{
    return FromRaw(int64_t(std::nearbyint(aValue * Scale)));
}

std::optional<Currency> Currency::TryParse(QStringView aText)
{
    QStringView t = aText.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
        negative = t[i] == u'-';
        ++i;
    }
    __int128 digits = 0;   // all significant digits read, as one integer
    int decimals = 0;      // how many of them stand after the point
    bool anyDigit = false, point = false;
    for (; i < t.size(); ++i) {
        QChar c = t[i];
        if (c.isDigit() && c.unicode() < 128) {
            anyDigit = true;
            if (digits < (__int128(1) << 100)) {
                digits = digits * 10 + (c.unicode() - u'0');
                if (point) ++decimals;
            } else if (!point) {
                return std::nullopt;   // far beyond the range of money
            }
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!anyDigit)
        return std::nullopt;
    int exponent = 0;
    if (i < t.size() && (t[i] == u'e' || t[i] == u'E')) {
        ++i;
        bool expNegative = false;
        if (i < t.size() && (t[i] == u'-' || t[i] == u'+')) {
            expNegative = t[i] == u'-';
            ++i;
        }
        bool expDigit = false;
        for (; i < t.size() && t[i].isDigit() && t[i].unicode() < 128; ++i) {
            expDigit = true;
            exponent = exponent * 10 + (t[i].unicode() - u'0');
            if (exponent > 60) return std::nullopt;
        }
        if (!expDigit) return std::nullopt;
        if (expNegative) exponent = -exponent;
    }
    if (i != t.size())
        return std::nullopt;

    int shift = 4 - decimals + exponent;   // power of ten that turns digits into ten-thousandths
    __int128 raw;
    if (shift >= 0) {
        if (shift > 30) return digits == 0 ? std::optional<Currency>(Currency()) : std::nullopt;
        raw = digits;
        for (int k = 0; k < shift; ++k) {
            raw *= 10;
            if (raw > __int128(INT64_MAX)) return std::nullopt;
        }
    } else {
        if (-shift > 36) return Currency();
        __int128 div = 1;
        for (int k = 0; k < -shift; ++k) div *= 10;
        raw = RoundHalfEvenWide(digits, div);
    }
    if (raw > __int128(INT64_MAX)) return std::nullopt;
    return FromRaw(negative ? -int64_t(raw) : int64_t(raw));
}

Currency Currency::Parse(QStringView aText)
{
    if (auto c = TryParse(aText))
        return *c;
    throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(aText));
}

QString Currency::ToString() const
{
    uint64_t a = fRaw < 0 ? uint64_t(0) - uint64_t(fRaw) : uint64_t(fRaw);
    QString s = QString::number(a / Scale);
    uint64_t frac = a % Scale;
    if (frac != 0) {
        QString f = QString::number(frac).rightJustified(4, u'0');
        while (f.endsWith(u'0')) f.chop(1);
        s += u'.' + f;
    }
    return fRaw < 0 ? u'-' + s : s;
}

QString Currency::ToFixed(int aDecimals) const
{
    int drop = 4 - aDecimals;
    uint64_t a = fRaw < 0 ? uint64_t(0) - uint64_t(fRaw) : uint64_t(fRaw);
    uint64_t div = 1;
    for (int k = 0; k < drop; ++k) div *= 10;
    uint64_t scaled = (a + div / 2) / div;   // halves away from zero
    uint64_t unitDiv = 1;
    for (int k = 0; k < aDecimals; ++k) unitDiv *= 10;
    QString s = QString::number(scaled / unitDiv);
    if (aDecimals > 0)
        s += u'.' + QString::number(scaled % unitDiv).rightJustified(aDecimals, u'0');
    return (fRaw < 0 && scaled != 0) ? u'-' + s : s;
}

Currency Currency::operator*(Currency b) const
{
    return FromRaw(RoundHalfEven(__int128(fRaw) * b.fRaw, Scale));
}

Currency Currency::operator/(Currency b) const
{
    if (b.fRaw == 0)
        throw Exception(QStringLiteral("Division by zero"));
    return FromRaw(RoundHalfEven(__int128(fRaw) * Scale, b.fRaw));
}

Currency Currency::MulDiv(Currency a, Currency b, Currency c)
{
    if (c.fRaw == 0)
        throw Exception(QStringLiteral("Division by zero"));
    return FromRaw(RoundHalfEven(__int128(a.fRaw) * b.fRaw, c.fRaw));
}
