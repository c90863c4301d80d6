#pragma once

#include "Currency.h"
#include "DbTypes.h"
#include "TDateTime.h"

#include <QString>
#include <QStringView>
#include <QVariant>
#include <optional>

// Conversions between the values a database hands out and the system's value types. A null reads
// as empty text, 0, or the zero date; text that does not convert raises an Exception naming it.
namespace DbValues {

// Null is a value that was never given (invalid) or a typed null.
bool IsNull(const QVariant& aValue);
// The null a parameter of the declared type is sent with.
QVariant TypedNull(TFieldType aType);

QString ToString(const QVariant& aValue);
qint64 ToLargeInt(const QVariant& aValue);
Currency ToCurrency(const QVariant& aValue);
double ToFloat(const QVariant& aValue);
TDateTime ToDateTime(const QVariant& aValue);
bool ToBoolean(const QVariant& aValue);

// The text form of date-times in the embedded database: yyyy-mm-ddThh:nn:ss.zzz, which sorts and
// compares like the time it stands for.
QString IsoDateTime(TDateTime aValue);
// Reads yyyy-mm-dd, optionally followed by "T" or a blank and hh:nn[:ss[.zzz]].
std::optional<TDateTime> ParseIsoDateTime(QStringView aText);

}
