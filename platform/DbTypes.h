#pragma once

#include <QString>
#include <QVariant>
#include <cstdint>
#include <vector>

// Declared type of a statement parameter. It matters only for a null value, which the database
// must still receive with a type.
enum TFieldType : uint8_t {
    ftUnknown,
    ftString,
    ftSmallint,
    ftInteger,
    ftWord,
    ftBoolean,
    ftFloat,
    ftCurrency,
    ftBCD,
    ftDate,
    ftTime,
    ftDateTime,
    ftWideString,
    ftLargeint,
    ftMemo,
    ftWideMemo
};

// One named parameter of a statement: the name as written after the colon in the SQL text, its
// value, and the type a null value is sent with.
struct TDbParam
{
    QString name;
    QVariant value;
    TFieldType dataType = ftUnknown;
};

using TDbParams = std::vector<TDbParam>;
