// Stored receipts turned into SAF-T invoices, customers, products and tax entries.
#include "ExportFixture.h"
#include "Exception.h"
#include "TestSupport.h"

namespace {
Currency Money(const char* aText) { return Currency::Parse(QString::fromLatin1(aText)); }

}

TEST_F(ExportTest, SaleWithCashPaymentAndItsDiscountedVariant)
{
    tReceiptDoc sale = SimpleSale("12.30", "2");
    sale.Payments = PaymentLine("cash", "20.00");
    Store(sale);
    tReceiptDoc discounted = SimpleSale("15.00", "2");
    discounted.InvoiceNumber = "FR 2024A/2";
    discounted.Total = "12.30";
    discounted.Lines += "<discountamount><Amount>2.7</Amount><Description>Promo</Description></discountamount>";
    Store(discounted);

    const kInvoiceList& invoices = Export();
    ASSERT_EQ(invoices.Count(), 2);
    for (int i = 0; i < 2; ++i) {
        const kInvoice& invoice = *invoices.Items(i);
        const kInvoiceLine& line = *invoice.Lines().Items(0);
        EXPECT_EQ(line.TaxBase(), Money("10"));
        EXPECT_EQ(line.UnitPrice(), Money("5"));
        EXPECT_EQ(line.CreditAmount(), Money("10"));
        EXPECT_EQ(line.DebitAmount(), Currency());
        EXPECT_EQ(line.SettlementAmount(), i == 0 ? Currency() : Money("2.1951"));   // 2.70 x 100 / 123
        EXPECT_EQ(invoice.TaxPayable(), Money("2.3"));
        EXPECT_EQ(invoice.NetTotal(), Money("10"));
        EXPECT_EQ(invoice.GrossTotal(), Money("12.3"));
    }
    const kInvoice& first = *invoices.Items(0);
    ASSERT_EQ(first.Payments().Count(), 1);   // 20.00 tendered, 12.30 paid
    EXPECT_EQ(first.Payments().Items(0)->PaymentAmount(), Money("12.3"));
    EXPECT_EQ(first.Payments().Items(0)->PaymentMechanismToString(), "NU");
}

TEST_F(ExportTest, CreditNotesDebitTheirLines)
{
    for (const char* amount : {"12.30", "-12.30"}) {
        tReceiptDoc refund = SimpleSale(amount);
        refund.Type = "Refund";
        refund.InvoiceNumber = QStringLiteral("NC 2024A/%1").arg(fNextNumber);
        Store(refund, TDateTime::EncodeDateTime(2024, 3, 15, 10, 0, 0, 0), "N", "NC");
    }
    const kInvoiceList& invoices = Export();
    ASSERT_EQ(invoices.Count(), 2);
    const kInvoiceLine& positive = *invoices.Items(0)->Lines().Items(0);
    EXPECT_EQ(positive.DebitAmount(), Money("10"));
    EXPECT_EQ(positive.CreditAmount(), Currency());
    EXPECT_EQ(positive.SettlementAmount(), Currency());
    const kInvoiceLine& negative = *invoices.Items(1)->Lines().Items(0);
    EXPECT_EQ(negative.CreditAmount(), Money("10"));
    EXPECT_EQ(negative.DebitAmount(), Currency());
}

TEST_F(ExportTest, ExemptLinesCarryTheirReasonAndRatesGetTheirCodes)
{
    tReceiptDoc doc;
    doc.Total = "5";
    struct Rate { const char* code; const char* rate; const char* ptCode; };
    const Rate rates[] = {{"2300", "23", "NOR"}, {"1300", "13", "INT"}, {"0600", "6", "RED"},
                          {"M07", "0", "ISE"},   {"0500", "5", "NOR"}};
    for (const Rate& r : rates) {
        doc.Lines += SaleLine(r.code, QStringLiteral("Artigo %1").arg(r.code), "1", "1", r.code);
        doc.Taxes += TaxLine(r.code, r.rate == QString("0") ? "Isento artigo 9.º do CIVA" : "IVA", r.rate);
    }
    doc.Payments = PaymentLine("cash", "5");
    Store(doc);
    const kInvoiceList& invoices = Export();
    for (const Rate& r : rates) {
        const kTaxTableEntry* entry = fController->TaxTable().GetByCode(r.code);
        ASSERT_NE(entry, nullptr) << r.code;
        EXPECT_EQ(entry->TaxPTCodeTostring(), r.ptCode) << r.code;
    }
    const kInvoiceLine& exempt = *invoices.Items(0)->Lines().Items(3);
    EXPECT_EQ(exempt.TaxExemptionReason(), QString::fromUtf8("Isento artigo 9.º do CIVA"));
    EXPECT_EQ(exempt.TaxExemptionCode(), "M07");
    EXPECT_EQ(exempt.TaxBase(), Money("1"));
    const kInvoiceLine& taxed = *invoices.Items(0)->Lines().Items(0);
    EXPECT_TRUE(taxed.TaxExemptionReason().isEmpty() && taxed.TaxExemptionCode().isEmpty());
    EXPECT_EQ(taxed.TaxCountryRegion(), "PT");
}

TEST_F(ExportTest, CustomerKeys)
{
    struct Case { const char* taxCode; const char* name; const char* invoiceNo; const char* customerId; };
    const Case cases[] = {
        {"PT123456789", "Ana Lda", "FR A/1", "123456789"},
        {"999999990", "CONSUMIDOR FINAL", "FR A/2", "999999990"},
        {"999999990", " CONSUMIDOR FINAL\t", "FR A/3", "999999990"},
        {"999999990", "Rui Costa", "FR A/17", "FRA17"},
        {"PT", "Rui Costa", "FR A/18", "FRA18"},
    };
    for (const Case& c : cases) {
        tReceiptDoc doc = SimpleSale("1");
        doc.CustomerTaxCode = c.taxCode;
        doc.CustomerName = c.name;
        doc.InvoiceNumber = c.invoiceNo;
        Store(doc);
    }
    const kInvoiceList& invoices = Export();
    for (int i = 0; i < invoices.Count(); ++i)
        EXPECT_EQ(invoices.Items(i)->CustomerId(), cases[i].customerId) << cases[i].invoiceNo;
    // The generic consumer, one customer with a tax number and one per document without one.
    const kCustomerList& customers = fController->Customers();
    EXPECT_EQ(customers.Count(), 4);
    EXPECT_EQ(customers.GetByCode("999999990")->CompanyName(), "Consumidor Final");
    EXPECT_EQ(customers.GetByCode("FRA17")->CustomerTaxId(), "999999990");
    EXPECT_EQ(customers.GetByCode("FRA17")->CompanyName(), "Rui Costa");
    EXPECT_EQ(customers.GetByCode("123456789")->BillingAddress().PostalCode, "1000-001");
}

TEST_F(ExportTest, UnmanagedStatusesAndTypesEndTheExport)
{
    Store(SimpleSale("1"), TDateTime::EncodeDateTime(2024, 3, 15, 10, 0, 0, 0), "C");
    EXPECT_EQ(ErrorOf([&] { Export(); }), "Status [C] not yet managed");
    fRegistry.Execute("update Receipts set Status = 'A', DocumentType = 'FT'");
    EXPECT_EQ(ErrorOf([&] { Export(); }), "InvoiceType [FT] not yet managed");
    fRegistry.Execute("update Receipts set DocumentType = 'FR', Receipt = '<Receipt><Lines>'");
    EXPECT_TRUE(ErrorOf([&] { Export(); }).startsWith("Receipt XML not valid"));
}

TEST_F(ExportTest, ThePeriodTakesItsFirstAndLastMillisecond)
{
    auto at = [](int aDay, int aHour, int aMinute, int aSecond, int aMSec) {
        return TDateTime::EncodeDateTime(2024, 3, aDay, aHour, aMinute, aSecond, aMSec);
    };
    const TDateTime times[] = {at(9, 23, 59, 59, 999), at(10, 0, 0, 0, 0), at(20, 23, 59, 59, 999),
                               at(21, 0, 0, 0, 0)};
    for (TDateTime t : times) {
        tReceiptDoc doc = SimpleSale("1");
        doc.InvoiceNumber = QStringLiteral("FR A/%1").arg(fNextNumber);
        Store(doc, t);
    }
    const kInvoiceList& invoices = Export(TDateTime::EncodeDate(2024, 3, 10), TDateTime::EncodeDate(2024, 3, 20));
    QStringList numbers;
    for (const auto& invoice : invoices)
        numbers << invoice->InvoiceNo();
    numbers.sort();
    EXPECT_EQ(numbers, (QStringList{"FR A/2", "FR A/3"}));
}

TEST_F(ExportTest, ProductKeysComeFromTheCodeAndTheDescriptionsChecksum)
{
    EXPECT_EQ(kSAFTPTController::TextCrc32Hex("123456789"), "CBF43926");
    EXPECT_EQ(kSAFTPTController::TextCrc32Hex(""), "00000000");
    EXPECT_EQ(kSAFTPTController::TextCrc32Hex(QString::fromUtf8("é")), kSAFTPTController::TextCrc32Hex("?"));

    tReceiptDoc doc;
    doc.Total = "3";
    doc.Lines = SaleLine("A1", "Caneta azul", "1", "1", "2300") + SaleLine("A1", "Caneta", "1", "1", "2300")
                + SaleLine("", "Serviço", "1", "1", "2300", "service");
    doc.Taxes = TaxLine("2300", "IVA", "23");
    doc.Payments = PaymentLine("cash", "3");
    Store(doc);
    Export();
    const kProductList& products = fController->Products();
    ASSERT_EQ(products.Count(), 3);
    const QString blue = "A1_" + kSAFTPTController::TextCrc32Hex("Caneta azul");
    ASSERT_NE(products.GetByCode(blue), nullptr);
    EXPECT_EQ(products.GetByCode(blue)->ProductNumberCode(), "A1");
    EXPECT_NE(products.GetByCode("A1_" + kSAFTPTController::TextCrc32Hex("Caneta")), nullptr);
    const QString service = kSAFTPTController::TextCrc32Hex(QString::fromUtf8("Serviço"));
    ASSERT_NE(products.GetByCode(service), nullptr);
    EXPECT_EQ(products.GetByCode(service)->ProductNumberCode(), service);
    EXPECT_EQ(products.GetByCode(service)->ProductTypeToString(), "S");
}

TEST_F(ExportTest, HandWrittenAndRecoveredDocumentsNameTheirManualNumber)
{
    TRegistryFixture::tStored stored;
    stored.Xml = SimpleSale("1").Xml();
    stored.ReceiptNumber = "FR 2024A/1";
    stored.SourceBilling = "D";
    stored.ManualDocumentNumber = "123";
    stored.DateTime = TDateTime::EncodeDate(2024, 3, 15);
    fRegistry.AddReceipt(stored);
    const kInvoice& invoice = *Export().Items(0);
    EXPECT_EQ(invoice.SourceBillingToString(), "M");
    EXPECT_EQ(invoice.HashControl(), "1-FRD 123");
    EXPECT_EQ(invoice.StatusSourceId(), "Generic");
    EXPECT_EQ(invoice.SourceId(), "OP1");
}

TEST_F(ExportTest, ACreditNoteRefersToItsStoredOriginal)
{
    tReceiptDoc original = SimpleSale("1");
    original.InvoiceNumber = "FR 2024A/7";
    Store(original, TDateTime::EncodeDateTime(2024, 3, 1, 9, 30, 0, 250));
    tReceiptDoc refund = SimpleSale("1");
    refund.Type = "Refund";
    refund.InvoiceNumber = "NC 2024A/1";
    refund.Extra = "<References><OriginalReceipt><ReceiptDateTime>2024-03-01T09:30:00.250</ReceiptDateTime>"
                   "<ReceiptNumber>1</ReceiptNumber></OriginalReceipt></References>";
    Store(refund, TDateTime::EncodeDate(2024, 3, 15), "N", "NC");
    const kInvoiceList& invoices = Export();
    ASSERT_EQ(invoices.Count(), 2);
    const kInvoiceLine& line = *invoices.Items(1)->Lines().Items(0);
    EXPECT_EQ(line.ReferenceInvoiceNumber(), "FR 2024A/7");

    // A reference that is not a plain number never reaches the database.
    fRegistry.Execute("update Receipts set Receipt = replace(Receipt, '<ReceiptNumber>1<', "
                      "'<ReceiptNumber>1 or 1=1<')");
    EXPECT_EQ(ErrorOf([&] { Export(); }),
              "Document NC 2024A/1 refers to the receipt number \"1 or 1=1\", which is not a plain number");
    QString number;
    TDateTime date;
    EXPECT_THROW(fController->GetInvoice("", "99999999999", TDateTime(), number, date), Exception);
    EXPECT_FALSE(fController->GetInvoice("", "42", TDateTime(), number, date));
}

TEST_F(ExportTest, LinesTheFileCannotCarryAreReportedOrMadeSafe)
{
    tReceiptDoc noTax = SimpleSale("1");
    noTax.Taxes = TaxLine("1300", "IVA 13", "13");
    Store(noTax);
    EXPECT_EQ(ErrorOf([&] { Export(); }), "Document FR 2024A/1: tax code [2300] of line 1 has no tax line");
    fRegistry.Execute("delete from Receipts");
    Store(SimpleSale("0", "0"));
    const kInvoiceLine& line = *Export().Items(0)->Lines().Items(0);
    EXPECT_EQ(line.UnitPrice(), Currency());
}

TEST_F(ExportTest, ACompanyIdWithAQuoteIsQuoted)
{
    fRegistry.Execute("insert into CompanyRecord (Id, Company_Name) values ('O''Brien', 'Quoted')");
    std::unique_ptr<kCompany> company = fController->GetCompanyById("O'Brien");
    ASSERT_NE(company, nullptr);
    EXPECT_EQ(company->Name(), "Quoted");
    EXPECT_EQ(fController->GetCompanyById("x' or '1'='1"), nullptr);
}
