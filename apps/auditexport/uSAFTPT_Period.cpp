#include "uSAFTPT_Period.h"

namespace {
// The text as a whole number within the range, 0 when it is none.
int NumberIn(const QString& aText, int aLow, int aHigh)
{
    bool ok = false;
    int n = aText.trimmed().toInt(&ok);
    return ok && n >= aLow && n <= aHigh ? n : 0;
}
}

QString ResolvePeriod(const tkPeriodInput& aInput, TDateTime& aStart, TDateTime& aEnd)
{
    QDate start, end;
    switch (aInput.Page) {
    case tkPeriodPage::ByYear: {
        int year = NumberIn(aInput.Year, 1, 9999);
        if (year == 0)
            return tkPeriodMessages::InvalidYear;
        start = QDate(year, 1, 1);
        end = QDate(year, 12, 31);
        break;
    }
    case tkPeriodPage::ByMonth: {
        int year = NumberIn(aInput.Year, 1, 9999);
        if (year == 0)
            return tkPeriodMessages::InvalidYear;
        int from = NumberIn(aInput.FromMonth, 1, 12);
        if (from == 0)
            return tkPeriodMessages::InvalidFromMonth;
        int to = NumberIn(aInput.ToMonth, 1, 12);
        if (to == 0)
            return tkPeriodMessages::InvalidToMonth;
        start = QDate(year, from, 1);
        end = QDate(year, to, 1);
        end = end.addDays(end.daysInMonth() - 1);
        break;
    }
    case tkPeriodPage::CustomRange:
        start = aInput.FromDate;
        end = aInput.ToDate;
        break;
    }
    if (start > end)
        return tkPeriodMessages::StartAfterEnd;
    aStart = TDateTime::FromQDate(start);
    aEnd = TDateTime::FromQDate(end);
    return {};
}

QString ProposedFileName(const QString& aBranchCode, TDateTime aStart, TDateTime aEnd)
{
    return QStringLiteral("SAFT-PT_%1_%2_%3.xml")
        .arg(aBranchCode, aStart.Format(QStringLiteral("yyyyMMdd")), aEnd.Format(QStringLiteral("yyyyMMdd")));
}
