#include "SampleRegistryTestSupport.h"

#include "DbConnectionSettings.h"

std::unique_ptr<TDbConnection> OpenRegistry(const QString& aFileName)
{
    auto connection = std::make_unique<TDbConnection>();
    connection->SetConnectionString(QStringLiteral("Data Source=sqlite;Initial Catalog=")
                                    + TDbConnectionSettings::QuoteValue(aFileName));
    connection->Open();
    return connection;
}

std::unique_ptr<TDataset> Query(TDbConnection& aConnection, const QString& aSql)
{
    auto rows = std::make_unique<TDataset>(aConnection);
    rows->SetSQL(aSql);
    rows->Open();
    return rows;
}

std::vector<tkStoredReceipt> ReadReceipts(TDbConnection& aConnection)
{
    std::vector<tkStoredReceipt> receipts;
    auto rows = Query(aConnection, QStringLiteral("select r.*, cast(r.ReceiptDateTime as text) as StoredTime "
                                                  "from Receipts r order by Id"));
    for (; !rows->Eof(); rows->Next()) {
        auto text = [&](const char* aName) { return rows->FieldByName(QLatin1String(aName)).AsString(); };
        tkStoredReceipt r;
        r.Id = rows->FieldByName(QStringLiteral("Id")).AsInteger();
        r.ReceiptDateTimeText = text("StoredTime");
        r.ReceiptDateTime = rows->FieldByName(QStringLiteral("ReceiptDateTime")).AsDateTime();
        r.ReceiptNumber = text("ReceiptNumber");
        r.Serie = text("Serie");
        r.Number = rows->FieldByName(QStringLiteral("Number")).AsInteger();
        r.Status = text("Status");
        r.LastReceiptStatusOperator = text("LastReceiptStatusOperator");
        r.DocumentType = text("DocumentType");
        r.SourceBilling = text("SourceBilling");
        r.ManualDocumentNumber = text("ManualDocumentNumber");
        r.FiscalId = text("FiscalId");
        r.Hash = text("Hash");
        r.Xml = text("Receipt");
        pugi::xml_document document;
        krptUtil::ParseXml(r.Xml, document);
        r.Receipt = std::make_unique<kReceipt>();
        r.Receipt->SetSupportSpecialChars(true);
        r.Receipt->Deserialize(document);
        r.Receipt->CalcLinesNetAmount();
        receipts.push_back(std::move(r));
    }
    return receipts;
}
