#include "DbEngine.h"

TDbMemoryCursor::TDbMemoryCursor(QStringList aFieldNames, std::vector<QVariant> aCells)
    : fFieldNames(std::move(aFieldNames)),
      fCells(std::move(aCells)),
      fRowCount(fFieldNames.isEmpty() ? 0 : int(fCells.size() / fFieldNames.size()))
{
}

bool TDbMemoryCursor::Next()
{
    if (fRow < fRowCount)
        ++fRow;
    return fRow < fRowCount;
}

QVariant TDbMemoryCursor::Value(int aIndex) const
{
    return fCells[size_t(fRow) * size_t(fFieldNames.size()) + size_t(aIndex)];
}
