#pragma once

#include "RegistryFixture.h"
#include "uSAFTPT_Controller.h"

#include <gtest/gtest.h>
#include <memory>

// A registry and a controller connected to it; Export runs the whole export of branch 001.
class ExportTest : public ::testing::Test
{
protected:
    TRegistryFixture fRegistry;
    std::unique_ptr<kSAFTPTController> fController = std::make_unique<kSAFTPTController>();
    std::unique_ptr<kBranchList> fBranches = fController->LoadBranches();

    int fNextNumber = 1;

    // Stores a receipt issued at aWhen with the next number of its series.
    void Store(const tReceiptDoc& aDoc, TDateTime aWhen = TDateTime::EncodeDateTime(2024, 3, 15, 10, 0, 0, 0),
               const QString& aStatus = QStringLiteral("N"), const QString& aType = QStringLiteral("FR"))
    {
        TRegistryFixture::tStored stored;
        stored.Xml = aDoc.Xml();
        stored.ReceiptNumber = aDoc.InvoiceNumber;
        stored.Number = fNextNumber++;
        stored.DateTime = aWhen;
        stored.Status = aStatus;
        stored.DocumentType = aType;
        fRegistry.AddReceipt(stored);
    }

    const kInvoiceList& Export(TDateTime aFrom = TDateTime::EncodeDate(2024, 1, 1),
                               TDateTime aTo = TDateTime::EncodeDate(2024, 12, 31))
    {
        fController->Process(fBranches->Items(0), aFrom, aTo);
        return fController->SalesInvoices();
    }
};

// A one-line sale at 23 % paid in cash.
inline tReceiptDoc SimpleSale(const QString& aAmount, const QString& aQuantity = QStringLiteral("1"))
{
    tReceiptDoc doc;
    doc.Total = aAmount;
    doc.Lines = SaleLine(QStringLiteral("P1"), QStringLiteral("Pão"), aQuantity, aAmount, QStringLiteral("2300"));
    doc.Taxes = TaxLine(QStringLiteral("2300"), QStringLiteral("IVA 23"), QStringLiteral("23"));
    doc.Payments = PaymentLine(QStringLiteral("cash"), aAmount);
    return doc;
}
