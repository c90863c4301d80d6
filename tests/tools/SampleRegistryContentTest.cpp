// What a small sample registry holds: receipts that read back as stored and hold together, columns in
// the forms the audit file wants, credit notes that find their sales, and every kind of document.
#include "SampleRegistryTestSupport.h"

#include "Cp1252.h"
#include "IniFile.h"
#include "uTK_Base.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <map>

namespace {

class SampleRegistryContent : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        fDir = new QTemporaryDir;
        tkSampleRegistryOptions options;
        options.FileName = fDir->filePath(QStringLiteral("registry.db"));
        options.Seed = 20240607;
        options.ReceiptCount = 400;
        fSummary = new tkSampleRegistrySummary(MakeSampleRegistry(options));
        fConnection = OpenRegistry(options.FileName).release();
        fReceipts = new std::vector<tkStoredReceipt>(ReadReceipts(*fConnection));
    }

    static void TearDownTestSuite()
    {
        delete fReceipts;
        delete fConnection;
        delete fSummary;
        delete fDir;
    }

    static const std::vector<tkStoredReceipt>& Receipts() { return *fReceipts; }
    static TDbConnection& Connection() { return *fConnection; }

    static QTemporaryDir* fDir;
    static tkSampleRegistrySummary* fSummary;
    static TDbConnection* fConnection;
    static std::vector<tkStoredReceipt>* fReceipts;
};

QTemporaryDir* SampleRegistryContent::fDir = nullptr;
tkSampleRegistrySummary* SampleRegistryContent::fSummary = nullptr;
TDbConnection* SampleRegistryContent::fConnection = nullptr;
std::vector<tkStoredReceipt>* SampleRegistryContent::fReceipts = nullptr;

std::vector<const kReceiptLineProductSale*> ProductLines(const kReceipt& aReceipt)
{
    std::vector<const kReceiptLineProductSale*> lines;
    for (const auto& line : aReceipt.Lines())
        if (const auto* product = dynamic_cast<const kReceiptLineProductSale*>(line.get()))
            lines.push_back(product);
    return lines;
}

// A nine-digit Portuguese tax number with its modulo-11 check digit right.
bool IsTaxNumber(const QString& aText)
{
    if (!QRegularExpression(QStringLiteral("^[0-9]{9}$")).match(aText).hasMatch())
        return false;
    int sum = 0;
    for (int i = 0; i < 8; ++i)
        sum += aText[i].digitValue() * (9 - i);
    const int check = 11 - sum % 11;
    return aText[8].digitValue() == (check >= 10 ? 0 : check);
}

bool IsLineAdjustment(tkReceiptLineType aType)
{
    return aType == rlt_DiscountAmount || aType == rlt_DiscountPercentage || aType == rlt_MarkupAmount
           || aType == rlt_MarkupPercentage;
}

bool Matches(const char* aPattern, const QString& aText)
{
    return QRegularExpression(QStringLiteral("^(?:%1)$").arg(QString::fromUtf8(aPattern))).match(aText).hasMatch();
}

TEST_F(SampleRegistryContent, EveryReceiptReadsBackAsItWasStored)
{
    ASSERT_EQ(Receipts().size(), 400u);
    EXPECT_EQ(fSummary->Receipts, 400);
    for (const tkStoredReceipt& r : Receipts()) {
        SCOPED_TRACE(r.ReceiptNumber.toStdString());
        pugi::xml_document document;
        krptUtil::ParseXml(r.Xml, document);
        kReceipt reread;
        reread.Deserialize(document);
        EXPECT_EQ(reread.Serialize(), r.Xml);
        // The columns say what the receipt says.
        EXPECT_EQ(r.Receipt->InvoiceNumber(), r.ReceiptNumber);
        EXPECT_EQ(r.Receipt->ReceiptNumber(), QString::number(r.Number));
        EXPECT_EQ(r.Receipt->ReceiptDateTime(), r.ReceiptDateTime);
        EXPECT_EQ(r.Receipt->BusinessDate(), r.ReceiptDateTime.DatePart());
        EXPECT_EQ(r.Receipt->ReceiptType(), r.DocumentType == u"NC" ? rt_Refund : rt_Sale);
    }
}

// What the export relies on to write lines the audit file accepts.
TEST_F(SampleRegistryContent, EveryReceiptHoldsTogether)
{
    const Currency cent = Currency::FromRaw(100);
    for (const tkStoredReceipt& r : Receipts()) {
        SCOPED_TRACE(r.ReceiptNumber.toStdString());
        const kReceipt& receipt = *r.Receipt;
        const Currency offBy = receipt.TotalAmount() - receipt.GetCalculatedAmount();
        EXPECT_LE(offBy, cent);
        EXPECT_GE(offBy, -cent);
        EXPECT_GT(receipt.TotalAmount(), Currency());
        EXPECT_FALSE(receipt.CustomerTaxCode().isEmpty());

        const auto products = ProductLines(receipt);
        ASSERT_FALSE(products.empty());
        if (offBy != Currency()) {
            EXPECT_FALSE(products.back()->FreeOfCharge());
            EXPECT_GT(products.back()->NetAmount(), Currency());
        }
        std::map<QString, Currency> netByTax;
        for (const kReceiptLineProductSale* line : products) {
            EXPECT_GE(line->Description().size(), 2);
            EXPECT_GT(line->Quantity(), Currency());
            EXPECT_GE(line->NetAmount(), Currency()) << line->Description().toStdString();
            ASSERT_NE(receipt.Taxes().GetByTaxCode(line->TaxCode()), nullptr) << line->TaxCode().toStdString();
            netByTax[line->TaxCode()] += line->NetAmount();
        }
        ASSERT_EQ(size_t(receipt.Taxes().Count()), netByTax.size());
        for (const auto& tax : receipt.Taxes()) {
            EXPECT_EQ(tax->TotalAmount(), netByTax[tax->TaxCode()]);
            EXPECT_EQ(tax->TaxableAmount() + tax->TaxAmount(), tax->TotalAmount());
            if (tax->TaxRate() == Currency()) {
                // Written as the line's exemption code and reason.
                EXPECT_TRUE(Matches("M[0-9]{2}", tax->TaxCode()));
                EXPECT_GE(tax->TaxDescription().size(), 6);
                EXPECT_LE(tax->TaxDescription().size(), 60);
            }
        }
        // Paid in full; change is given back from what was paid.
        Currency paid, change;
        for (const auto& payment : receipt.PaymentLines())
            (payment->PaymentType() == Rpt_Change ? change : paid) += payment->Amount();
        EXPECT_EQ(paid - change, receipt.TotalAmount());

        // A discount after a free line would take its net amount below nothing.
        const kReceiptLine* previous = nullptr;
        for (const auto& line : receipt.Lines()) {
            const auto* item = dynamic_cast<const kReceiptLineProductSale*>(previous);
            if (item && item->FreeOfCharge()) {
                EXPECT_FALSE(IsLineAdjustment(line->LineType()));
            }
            previous = line.get();
        }
        if (r.DocumentType == u"NC") {
            for (const auto& line : receipt.Lines())
                EXPECT_EQ(line->LineType(), rlt_ProductSale);
        }
    }
}

TEST_F(SampleRegistryContent, ColumnsHaveTheFormsOfTheAuditFile)
{
    QSet<QString> invoiceNumbers, times;
    auto series = Query(Connection(), QStringLiteral("select * from Series"));
    QHash<QString, QString> validationCodes;
    for (; !series->Eof(); series->Next())
        validationCodes.insert(series->FieldByName(QStringLiteral("Serie_Code")).AsString(),
                               series->FieldByName(QStringLiteral("Serie_Validation_Code")).AsString());
    for (const tkStoredReceipt& r : Receipts()) {
        SCOPED_TRACE(r.ReceiptNumber.toStdString());
        EXPECT_TRUE(Matches("(FR|NC) [^/^ ]+/[0-9]+", r.ReceiptNumber));
        EXPECT_TRUE(r.ReceiptNumber.startsWith(r.DocumentType + u' '));
        EXPECT_FALSE(invoiceNumbers.contains(r.ReceiptNumber));
        invoiceNumbers.insert(r.ReceiptNumber);
        EXPECT_FALSE(times.contains(r.ReceiptDateTimeText));
        times.insert(r.ReceiptDateTimeText);
        EXPECT_TRUE(Matches("[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\\.000", r.ReceiptDateTimeText));
        EXPECT_TRUE(validationCodes.contains(r.Serie));
        EXPECT_EQ(r.FiscalId, validationCodes.value(r.Serie) + u'-' + QString::number(r.Number));
        EXPECT_TRUE(Matches("[BCDFGHJKLMNPQRSTVWXZ2-9]{8}-[0-9]+", r.FiscalId));
        EXPECT_TRUE(Matches("[A-Za-z0-9+/]{170}(==|[A-Za-z0-9+/]=)", r.Hash));
        EXPECT_TRUE(r.Status == u"N" || r.Status == u"A");
        // The manual numbers in the two forms the audit file's hash control takes.
        if (r.SourceBilling == u"M")
            EXPECT_TRUE(Matches("[^ ]+/[0-9]+", r.ManualDocumentNumber)) << r.ManualDocumentNumber.toStdString();
        else if (r.SourceBilling == u"D")
            EXPECT_TRUE(Matches("[^ ]+ [^/^ ]+/[0-9]+", r.ManualDocumentNumber))
                << r.ManualDocumentNumber.toStdString();
        else
            EXPECT_EQ(r.SourceBilling, QStringLiteral("P"));
        QString taxCode = r.Receipt->CustomerTaxCode();
        if (taxCode.startsWith(QLatin1String("PT")))
            taxCode.remove(0, 2);
        EXPECT_TRUE(IsTaxNumber(taxCode)) << taxCode.toStdString();
    }
}

// The export finds the sale a credit note names with Number= and ReceiptDateTime= its original's values.
TEST_F(SampleRegistryContent, CreditNotesReferToEarlierSales)
{
    int found = 0;
    for (const tkStoredReceipt& r : Receipts()) {
        if (r.DocumentType != u"NC")
            continue;
        SCOPED_TRACE(r.ReceiptNumber.toStdString());
        const tkOriginalReceipt& original = r.Receipt->OriginalReceipt();
        ASSERT_TRUE(Matches("[0-9]+", original.ReceiptNumber));
        auto rows =
            Query(Connection(), QStringLiteral("select * from Receipts where Number=") + original.ReceiptNumber
                                    + QStringLiteral(" and ReceiptDateTime=") + SqlDateTime(original.ReceiptDateTime));
        ASSERT_EQ(rows->RecordCount(), 1);
        EXPECT_EQ(rows->FieldByName(QStringLiteral("DocumentType")).AsString(), QStringLiteral("FR"));
        EXPECT_EQ(rows->FieldByName(QStringLiteral("Status")).AsString(), QStringLiteral("N"));
        EXPECT_LT(rows->FieldByName(QStringLiteral("Id")).AsInteger(), r.Id);
        EXPECT_EQ(rows->FieldByName(QStringLiteral("ReceiptNumber")).AsString(), original.InvoiceNumber);
        ++found;
    }
    EXPECT_GT(found, 0);
}

TEST_F(SampleRegistryContent, MasterDataIsOfPortugueseShops)
{
    const QRegularExpression postalCode(QStringLiteral("^[0-9]{4}-[0-9]{3}$"));
    auto companies = Query(Connection(), QStringLiteral("select * from CompanyRecord"));
    QSet<QString> companyIds;
    int withoutRegion = 0;
    for (; !companies->Eof(); companies->Next()) {
        auto text = [&](const char* aName) { return companies->FieldByName(QLatin1String(aName)).AsString(); };
        EXPECT_TRUE(IsTaxNumber(text("Company_VATId"))) << text("Company_VATId").toStdString();
        EXPECT_TRUE(IsTaxNumber(text("Company_TaxRegistrationNumber")));
        EXPECT_TRUE(postalCode.match(text("Company_PostalCode")).hasMatch());
        EXPECT_EQ(text("Company_Country"), QStringLiteral("PT"));
        withoutRegion += text("Company_Region").isEmpty();
        companyIds.insert(text("Id"));
    }
    EXPECT_GE(companyIds.size(), 2);
    EXPECT_EQ(withoutRegion, 1);

    auto branches = Query(Connection(), QStringLiteral("select * from BranchRecord order by Branch_Code"));
    QStringList codes;
    for (; !branches->Eof(); branches->Next()) {
        auto text = [&](const char* aName) { return branches->FieldByName(QLatin1String(aName)).AsString(); };
        EXPECT_TRUE(companyIds.contains(text("Branch_Company")));
        EXPECT_TRUE(postalCode.match(text("Branch_PostalCode")).hasMatch());
        EXPECT_EQ(text("TaxCountryRegion"), QStringLiteral("PT"));
        EXPECT_EQ(text("InvoiceDocumentType"), QStringLiteral("FR"));
        EXPECT_EQ(text("CreditNoteDocumentType"), QStringLiteral("NC"));
        codes << text("Branch_Code");
    }
    EXPECT_EQ(codes, fSummary->StoreCodes);
    EXPECT_GE(codes.size(), 2);

    // Each series remembers its last document.
    auto series = Query(Connection(), QStringLiteral("select s.Serie_LastNumber, s.Serie_LastHash, "
                                                     "(select max(Number) from Receipts r where r.Serie=s.Serie_Code) "
                                                     "as Used, (select Hash from Receipts r where r.Serie=s.Serie_Code "
                                                     "order by Number desc limit 1) as Hash from Series s"));
    for (; !series->Eof(); series->Next()) {
        EXPECT_EQ(series->FieldByName(QStringLiteral("Serie_LastNumber")).AsInteger(),
                  series->FieldByName(QStringLiteral("Used")).AsInteger());
        EXPECT_EQ(series->FieldByName(QStringLiteral("Serie_LastHash")).AsString(),
                  series->FieldByName(QStringLiteral("Hash")).AsString());
    }

    TIniFile ini(fSummary->IniFileName);
    EXPECT_EQ(ini.ReadString(QStringLiteral("auditexport"), QStringLiteral("DataSource")), QStringLiteral("sqlite"));
    EXPECT_EQ(ini.ReadString(QStringLiteral("auditexport"), QStringLiteral("DBName")), QStringLiteral("registry.db"));
}

// The kinds of the receipts, counted from what was stored.
std::map<std::string, int> CountKinds(const std::vector<tkStoredReceipt>& aReceipts)
{
    std::map<std::string, int> kinds;
    std::map<QString, QSet<QString>> descriptionsByCode;
    for (const tkStoredReceipt& r : aReceipts) {
        const kReceipt& receipt = *r.Receipt;
        ++kinds["document " + r.DocumentType.toStdString()];
        ++kinds["status " + r.Status.toStdString()];
        ++kinds["source " + r.SourceBilling.toStdString()];
        const QString taxCode = receipt.CustomerTaxCode();
        const bool consumerName = receipt.CustomerBusinessName() == u"CONSUMIDOR FINAL";
        if (taxCode == u"999999990")
            ++kinds[consumerName ? "customer final consumer" : "customer named without tax number"];
        else
            ++kinds[taxCode.startsWith(QLatin1String("PT")) ? "customer tax number with PT" : "customer tax number"];
        const Currency offBy = receipt.TotalAmount() - receipt.GetCalculatedAmount();
        if (offBy != Currency())
            ++kinds[offBy < Currency() ? "total a cent below the lines" : "total a cent above the lines"];
        for (const auto& line : receipt.Lines()) {
            ++kinds["line " + krptUtil::EncodeLineType(line->LineType()).toStdString()];
            if (const auto* p = dynamic_cast<const kReceiptLineProductSale*>(line.get())) {
                if (p->Code().isEmpty())
                    ++kinds["product without code"];
                else
                    descriptionsByCode[p->Code()].insert(p->Description());
                if (p->FreeOfCharge())
                    ++kinds["free of charge"];
                if (p->Attribute() == rla_Service)
                    ++kinds["service"];
            }
        }
        for (const auto& tax : receipt.Taxes())
            ++kinds["tax rate " + tax->TaxRate().ToString().toStdString()];
        for (const auto& payment : receipt.PaymentLines())
            ++kinds["payment " + krptUtil::EncodePaymentType(payment->PaymentType()).toStdString()];
        for (const char* special : {"&amp;", "&lt;", "é", "ç"})
            if (r.Xml.contains(QString::fromUtf8(special)))
                ++kinds[std::string("text with ") + special];
        if (!Cp1252::CanEncode(r.Xml))
            ++kinds["text outside windows-1252"];
    }
    for (const auto& [code, descriptions] : descriptionsByCode)
        if (descriptions.size() > 1)
            ++kinds["one code, two descriptions"];
    return kinds;
}

TEST_F(SampleRegistryContent, EveryKindIsPresent)
{
    const std::map<std::string, int> kinds = CountKinds(Receipts());
    std::vector<std::string> expected = {
        "document FR", "document NC", "status N", "status A", "source P", "source M", "source D",
        "customer final consumer", "customer tax number", "customer tax number with PT",
        "customer named without tax number", "total a cent below the lines", "total a cent above the lines",
        "product without code", "free of charge", "service", "one code, two descriptions", "tax rate 23",
        "tax rate 13", "tax rate 6", "tax rate 0", "text with &amp;", "text with &lt;", "text with é", "text with ç",
        "text outside windows-1252"};
    for (tkReceiptLineType type :
         {rlt_ProductSale, rlt_WeightedProductSale, rlt_SubTotal, rlt_Text, rlt_DiscountAmount, rlt_DiscountPercentage,
          rlt_DiscountAmountOnSubtotal, rlt_DiscountPercentageOnSubTotal, rlt_MarkupAmount, rlt_MarkupPercentage,
          rlt_MarkupAmountOnSubtotal, rlt_MarkupPercentageOnSubTotal})
        expected.push_back("line " + krptUtil::EncodeLineType(type).toStdString());
    for (int type = rpt_Cash; type <= Rpt_Change; ++type)
        expected.push_back("payment " + krptUtil::EncodePaymentType(tkReceiptPaymentType(type)).toStdString());
    for (const std::string& kind : expected)
        EXPECT_GT(kinds.count(kind) ? kinds.at(kind) : 0, 0) << kind;

    // Lines the export has no sound form for stay out.
    for (tkReceiptLineType type : {rlt_ProductReturn, rlt_VoucherSale, rlt_VoucherRedeem, rlt_GiftCardSale,
                                   rlt_GiftCardRedeem, rlt_CollectAmount})
        EXPECT_EQ(kinds.count("line " + krptUtil::EncodeLineType(type).toStdString()), 0u);
    // Most documents are everyday sales to the final consumer.
    EXPECT_GT(kinds.at("customer final consumer"), 240);
    EXPECT_GT(kinds.at("document FR"), 340);
}

}
