#pragma once

#include "Dataset.h"
#include "DbConnection.h"
#include "Exception.h"
#include "TestSupport.h"
#include "uSampleRegistry.h"
#include "uTkReceipt.h"

#include <QString>
#include <memory>
#include <vector>

// One row of Receipts with its receipt read back.
struct tkStoredReceipt
{
    int Id = 0;
    QString ReceiptDateTimeText;   // as stored
    TDateTime ReceiptDateTime;
    QString ReceiptNumber;
    QString Serie;
    int Number = 0;
    QString Status;
    QString LastReceiptStatusOperator;
    QString DocumentType;
    QString SourceBilling;
    QString ManualDocumentNumber;
    QString FiscalId;
    QString Hash;
    QString Xml;
    std::unique_ptr<kReceipt> Receipt;   // read as the export reads it, net amounts spread
};

// A connection to the registry file aFileName.
std::unique_ptr<TDbConnection> OpenRegistry(const QString& aFileName);
std::unique_ptr<TDataset> Query(TDbConnection& aConnection, const QString& aSql);
// Every row of Receipts in the order written; raises what reading a receipt raises.
std::vector<tkStoredReceipt> ReadReceipts(TDbConnection& aConnection);

