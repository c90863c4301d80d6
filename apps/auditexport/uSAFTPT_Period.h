#pragma once

// The export period as the user states it (a year, a range of months, or two dates), its checks and
// the file name proposed for it.

#include "TDateTime.h"

#include <QDate>
#include <QString>

enum class tkPeriodPage { ByYear, ByMonth, CustomRange };

struct tkPeriodInput
{
    tkPeriodPage Page = tkPeriodPage::CustomRange;
    QString Year;        // by year and by month
    QString FromMonth;   // by month, "1" to "12"
    QString ToMonth;
    QDate FromDate;      // custom range
    QDate ToDate;
};

// Works out the first and last day. Returns the message of the first invalid input ("Please enter a
// valid year", ... "\"From Date\" cannot be greater than \"To Date\""), or an empty text.
QString ResolvePeriod(const tkPeriodInput& aInput, TDateTime& aStart, TDateTime& aEnd);

// "SAFT-PT_<store>_<yyyymmdd>_<yyyymmdd>.xml"
QString ProposedFileName(const QString& aBranchCode, TDateTime aStart, TDateTime aEnd);

// The messages of the checks.
namespace tkPeriodMessages {
inline const QString NoStore = QStringLiteral("You must select a store");
inline const QString InvalidYear = QStringLiteral("Please enter a valid year");
inline const QString InvalidFromMonth = QStringLiteral("Please enter a valid starting month");
inline const QString InvalidToMonth = QStringLiteral("Please enter a valid ending month");
inline const QString StartAfterEnd = QStringLiteral("\"From Date\" cannot be greater than \"To Date\"");
}
