#pragma once

// A registry on the embedded engine for the export's tests, and receipt documents to store in it.

#include "DbConnection.h"
#include "DbTypes.h"
#include "TDateTime.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A registry file with auditexport.ini beside it in a temporary folder, which is the current
// directory while the fixture lives. It holds company "C1" (no region) and its branch "001".
class TRegistryFixture
{
public:
    TRegistryFixture();
    ~TRegistryFixture();

    QString Path(const QString& aName) const { return fDir.filePath(aName); }
    void Execute(const QString& aSql, const TDbParams& aParams = {});

    struct tStored
    {
        QString Xml;
        QString ReceiptNumber;   // as printed
        int Number = 1;
        TDateTime DateTime;
        QString Status = QStringLiteral("N");
        QString DocumentType = QStringLiteral("FR");
        QString SourceBilling = QStringLiteral("P");
        QString ManualDocumentNumber;
        QString FiscalId = QStringLiteral("ABCD1234-1");
        QString Hash = QStringLiteral("hash");
    };
    void AddReceipt(const tStored& aReceipt);

private:
    QTemporaryDir fDir;
    QString fPreviousDir;
    std::unique_ptr<TDbConnection> fConnection;
};

// Receipt documents: the elements of each part, joined.
struct tReceiptDoc
{
    QString Type = QStringLiteral("InvoiceSale");
    QString InvoiceNumber = QStringLiteral("FR 2024A/1");
    QString Date = QStringLiteral("2024-03-15T10:00:00");
    QString Total;
    QString CustomerTaxCode = QStringLiteral("999999990");
    QString CustomerName = QStringLiteral("CONSUMIDOR FINAL");
    QString Extra;   // further header elements
    QString Lines;
    QString Taxes;
    QString Payments;
    QString Xml() const;
};
QString SaleLine(const QString& aCode, const QString& aDescription, const QString& aQuantity, const QString& aAmount,
                 const QString& aTaxCode, const QString& aAttribute = QStringLiteral("product"));
QString TaxLine(const QString& aCode, const QString& aDescription, const QString& aRate);
QString PaymentLine(const QString& aType, const QString& aAmount);
