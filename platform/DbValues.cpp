#include "DbValues.h"

#include "Cp1252.h"
#include "Exception.h"

#include <QDate>
#include <QDateTime>
#include <QTime>
#include <cmath>

namespace {

bool IsType(const QVariant& aValue, QMetaType aType) { return aValue.metaType() == aType; }

template <typename T>
bool Holds(const QVariant& aValue) { return IsType(aValue, QMetaType::fromType<T>()); }

bool IsIntegral(const QVariant& aValue)
{
    switch (aValue.metaType().id()) {
    case QMetaType::Bool:
    case QMetaType::Char:
    case QMetaType::SChar:
    case QMetaType::UChar:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
        return true;
    default:
        return false;
    }
}

bool IsFloating(const QVariant& aValue)
{
    const int id = aValue.metaType().id();
    return id == QMetaType::Double || id == QMetaType::Float;
}

// Reads a run of exactly aCount digits at aPos.
bool Digits(QStringView aText, qsizetype aPos, int aCount, int& aValue)
{
    if (aPos + aCount > aText.size())
        return false;
    aValue = 0;
    for (int i = 0; i < aCount; ++i) {
        QChar c = aText[aPos + i];
        if (c < u'0' || c > u'9')
            return false;
        aValue = aValue * 10 + (c.unicode() - u'0');
    }
    return true;
}

}

namespace DbValues {

bool IsNull(const QVariant& aValue)
{
    return !aValue.isValid() || aValue.isNull();
}

QVariant TypedNull(TFieldType aType)
{
    switch (aType) {
    case ftSmallint:
    case ftWord:
    case ftInteger:
        return QVariant(QMetaType::fromType<int>());
    case ftLargeint:
        return QVariant(QMetaType::fromType<qlonglong>());
    case ftBoolean:
        return QVariant(QMetaType::fromType<bool>());
    case ftFloat:
    case ftCurrency:
    case ftBCD:
        return QVariant(QMetaType::fromType<double>());
    case ftDate:
    case ftTime:
    case ftDateTime:
        return QVariant(QMetaType::fromType<QDateTime>());
    case ftUnknown:
    case ftString:
    case ftWideString:
    case ftMemo:
    case ftWideMemo:
        break;
    }
    // A null of no declared type travels as null text, which every server converts to any type.
    return QVariant(QMetaType::fromType<QString>());
}

QString ToString(const QVariant& aValue)
{
    if (IsNull(aValue))
        return {};
    if (Holds<QString>(aValue))
        return aValue.toString();
    if (Holds<Currency>(aValue))
        return aValue.value<Currency>().ToString();
    if (Holds<TDateTime>(aValue) || Holds<QDateTime>(aValue) || Holds<QDate>(aValue))
        return IsoDateTime(ToDateTime(aValue));
    if (Holds<QByteArray>(aValue))
        return Cp1252::Decode(aValue.toByteArray());
    if (Holds<bool>(aValue))
        return aValue.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    if (IsFloating(aValue))
        return QString::number(aValue.toDouble(), 'g', 15);
    return aValue.toString();
}

qint64 ToLargeInt(const QVariant& aValue)
{
    if (IsNull(aValue))
        return 0;
    if (IsIntegral(aValue))
        return aValue.toLongLong();
    if (Holds<Currency>(aValue))
        return RoundHalfEven(aValue.value<Currency>().Raw(), Currency::Scale);
    if (IsFloating(aValue))
        return std::llround(aValue.toDouble());
    const QString text = ToString(aValue).trimmed();
    bool ok = false;
    qint64 value = text.toLongLong(&ok);
    if (ok)
        return value;
    if (auto money = Currency::TryParse(text))
        return RoundHalfEven(money->Raw(), Currency::Scale);
    throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(text));
}

Currency ToCurrency(const QVariant& aValue)
{
    if (IsNull(aValue))
        return {};
    if (Holds<Currency>(aValue))
        return aValue.value<Currency>();
    if (IsIntegral(aValue))
        return Currency::FromInt(aValue.toLongLong());
    if (IsFloating(aValue))
        return Currency::FromDouble(aValue.toDouble());
    return Currency::Parse(ToString(aValue).trimmed());
}

double ToFloat(const QVariant& aValue)
{
    if (IsNull(aValue))
        return 0;
    if (Holds<Currency>(aValue))
        return aValue.value<Currency>().ToDouble();
    if (Holds<TDateTime>(aValue))
        return aValue.value<TDateTime>().Value();
    if (IsIntegral(aValue) || IsFloating(aValue))
        return aValue.toDouble();
    const QString text = ToString(aValue).trimmed();
    bool ok = false;
    double value = text.toDouble(&ok);
    if (!ok)
        throw Exception(QStringLiteral("'%1' is not a valid floating point value").arg(text));
    return value;
}

TDateTime ToDateTime(const QVariant& aValue)
{
    if (IsNull(aValue))
        return {};
    if (Holds<TDateTime>(aValue))
        return aValue.value<TDateTime>();
    if (Holds<QDateTime>(aValue))
        return TDateTime::FromQDateTime(aValue.toDateTime());
    if (Holds<QDate>(aValue))
        return TDateTime::FromQDate(aValue.toDate());
    if (Holds<QTime>(aValue)) {
        QTime t = aValue.toTime();
        return TDateTime::EncodeTime(t.hour(), t.minute(), t.second(), t.msec());
    }
    if (IsIntegral(aValue) || IsFloating(aValue))
        return TDateTime(aValue.toDouble());
    const QString text = ToString(aValue).trimmed();
    if (auto value = ParseIsoDateTime(text))
        return *value;
    throw Exception(QStringLiteral("'%1' is not a valid date and time").arg(text));
}

bool ToBoolean(const QVariant& aValue)
{
    if (IsNull(aValue))
        return false;
    if (Holds<QString>(aValue)) {
        const QString text = aValue.toString().trimmed();
        if (text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (text.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    return ToLargeInt(aValue) != 0;
}

QString IsoDateTime(TDateTime aValue)
{
    int y, m, d, h, n, s, z;
    aValue.DecodeDate(y, m, d);
    aValue.DecodeTime(h, n, s, z);
    return QStringLiteral("%1-%2-%3T%4:%5:%6.%7")
        .arg(y, 4, 10, QLatin1Char('0'))
        .arg(m, 2, 10, QLatin1Char('0'))
        .arg(d, 2, 10, QLatin1Char('0'))
        .arg(h, 2, 10, QLatin1Char('0'))
        .arg(n, 2, 10, QLatin1Char('0'))
        .arg(s, 2, 10, QLatin1Char('0'))
        .arg(z, 3, 10, QLatin1Char('0'));
}

std::optional<TDateTime> ParseIsoDateTime(QStringView aText)
{
    int y = 0, m = 0, d = 0, h = 0, n = 0, s = 0, z = 0;
    if (!Digits(aText, 0, 4, y) || aText.size() < 10 || aText[4] != u'-' || !Digits(aText, 5, 2, m)
        || aText[7] != u'-' || !Digits(aText, 8, 2, d))
        return std::nullopt;
    qsizetype pos = 10;
    if (pos < aText.size()) {
        if ((aText[pos] != u'T' && aText[pos] != u' ') || !Digits(aText, pos + 1, 2, h)
            || pos + 3 >= aText.size() || aText[pos + 3] != u':' || !Digits(aText, pos + 4, 2, n))
            return std::nullopt;
        pos += 6;
        if (pos < aText.size()) {
            if (aText[pos] != u':' || !Digits(aText, pos + 1, 2, s))
                return std::nullopt;
            pos += 3;
        }
        if (pos < aText.size()) {
            // Fractions beyond milliseconds are cut, as the date-time keeps milliseconds only.
            if (aText[pos] != u'.' || pos + 1 >= aText.size())
                return std::nullopt;
            QStringView fraction = aText.mid(pos + 1);
            for (QChar c : fraction)
                if (c < u'0' || c > u'9')
                    return std::nullopt;
            QString ms = fraction.left(3).toString().leftJustified(3, u'0');
            z = ms.toInt();
        }
    }
    TDateTime result;
    if (!TDateTime::TryEncodeDateTime(y, m, d, h, n, s, z, result))
        return std::nullopt;
    return result;
}

}
