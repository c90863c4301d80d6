// Loading the registry's receipts into the SAF-T model.
#include "uSAFTPT_Controller.h"

#include "Exception.h"
#include "uSAFTPT_Settings.h"
#include "uTK_Base.h"
#include "uTK_Mercalto.h"
#include "uTkReceipt.h"

#include <array>

namespace {
const QString kConsumerTaxId = QStringLiteral("999999990");
const QString kConsumerName = QStringLiteral("CONSUMIDOR FINAL");
const QString kUnknown = QStringLiteral("Desconhecido");
const QString kGeneric = QStringLiteral("Generic");

// Why the last connection attempt failed, kept past the failed controller.
QString& LastConnectionError()
{
    static QString error;
    return error;
}

// Blanks and control characters off both ends.
QString TrimControls(const QString& aText)
{
    qsizetype from = 0, to = aText.size();
    while (from < to && aText[from].unicode() <= u' ')
        ++from;
    while (to > from && aText[to - 1].unicode() <= u' ')
        --to;
    return aText.mid(from, to - from);
}

// Digits only, within the range of a 32-bit number: safe to put into SQL as it is.
bool IsPlainNumber(const QString& aText)
{
    if (aText.isEmpty() || aText.size() > 10)
        return false;
    for (QChar c : aText)
        if (c < u'0' || c > u'9')
            return false;
    return aText.toLongLong() <= INT32_MAX;
}

tkInvoice_PaymentMechanism MechanismOf(tkReceiptPaymentType aType)
{
    switch (aType) {
    case rpt_Cheque: return pm_ChequeBancario;
    case rpt_CreditCard:
    case rpt_DebitCard: return pm_CartaoCredito;
    case Rpt_GiftCard:
    case Rpt_Voucher: return pm_DineroEletronico;
    case Rpt_MealVoucher:
    case Rpt_NHSCard: return pm_TitulusDeCompensacao;
    default: return pm_Numerario;   // cash and change
    }
}

bool IsCredit(tkReceiptPaymentType aType)
{
    return aType == rpt_Credit || aType == rpt_CreditOnProducts || aType == rpt_CreditOnServices;
}

constexpr std::array<uint32_t, 256> kCrcTable = [] {
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k)
            c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}();

std::unique_ptr<kBranch> ReadBranch(const tTK_MercaltoDataset& aRow)
{
    auto text = [&](const char* aField) { return aRow.FieldByName(QLatin1String(aField)).AsString(); };
    auto branch = std::make_unique<kBranch>();
    branch->SetId(text("Id"));
    branch->SetCode(text("Branch_Code"));
    branch->SetName(text("Branch_Name"));
    kAddress& address = branch->Address();
    address.AddressDetail = text("Branch_AddressDetail");
    address.City = text("Branch_City");
    address.PostalCode = text("Branch_PostalCode");
    address.Region = text("Branch_Region");
    address.Country = text("Branch_Country");
    branch->SetCompany(text("Branch_Company"));
    branch->SetInvoiceDocumentType(text("InvoiceDocumentType"));
    branch->SetCreditNoteDocumentType(text("CreditNoteDocumentType"));
    branch->SetInvoiceSerieTemplate(text("InvoiceSerieTemplate"));
    branch->SetCreditNoteSerieTemplate(text("CreditNoteSerieTemplate"));
    branch->SetTaxCountryRegion(text("TaxCountryRegion"));
    return branch;
}

std::unique_ptr<kCompany> ReadCompany(const tTK_MercaltoDataset& aRow)
{
    auto text = [&](const char* aField) { return aRow.FieldByName(QLatin1String(aField)).AsString(); };
    auto company = std::make_unique<kCompany>();
    company->SetId(text("Id"));
    company->SetVATId(text("Company_VATId"));
    company->SetTaxRegistrationNumber(text("Company_TaxRegistrationNumber"));
    company->SetName(text("Company_Name"));
    company->SetBusinessName(text("Company_BusinessName"));
    kAddress& address = company->Address();
    address.AddressDetail = text("Company_AddressDetail");
    address.City = text("Company_City");
    address.PostalCode = text("Company_PostalCode");
    address.Region = text("Company_Region");
    address.Country = text("Company_Country");
    return company;
}
}

kSAFTPTController::kSAFTPTController()
    : fCustomers(std::make_unique<kCustomerList>()), fTaxTable(std::make_unique<kTaxTable>()),
      fProducts(std::make_unique<kProductList>()), fSalesInvoices(std::make_unique<kInvoiceList>())
{
    if (!InitConnection())
        throw Exception(QStringLiteral("Unable to Init Controller"));
}

kSAFTPTController::~kSAFTPTController()
{
    if (MercaltoProxy == fProxy.get())
        MercaltoProxy = nullptr;
}

QString kSAFTPTController::ConnectionError()
{
    return LastConnectionError();
}

bool kSAFTPTController::InitConnection()
{
    fProxy = std::make_unique<tTK_MercaltoProxy>();
    MercaltoProxy = fProxy.get();
    fProxy->SetApplicationName(QStringLiteral("SAFT-PT Generator"));
    bool connected = ReadIniSettings() ? fProxy->Connect() : fProxy->Init(false);
    LastConnectionError() = connected ? QString() : fProxy->ConnectionError();
    return connected;
}

bool kSAFTPTController::ReadIniSettings()
{
    tkAuditExportSettings ini;
    if (!ini.Exists())
        return false;
    fProxy->SetDataSource(ini.Value(QStringLiteral("DataSource")));
    fProxy->SetDbName(ini.Value(QStringLiteral("DBName")));
    fProxy->SetDBUserName(ini.Value(QStringLiteral("DBUserName")));
    fProxy->SetDBUserPwd(ini.Value(QStringLiteral("DbUserPwd")));
    return true;
}

std::unique_ptr<kBranchList> kSAFTPTController::LoadBranches()
{
    auto branches = std::make_unique<kBranchList>();
    auto rows = fProxy->CreateDataset(QStringLiteral("select * from BranchRecord order by Branch_Code"));
    for (; !rows->Eof(); rows->Next())
        branches->Add(ReadBranch(*rows));
    return branches;
}

std::unique_ptr<kCompany> kSAFTPTController::GetCompanyById(const QString& aCompanyId)
{
    auto rows = fProxy->CreateDataset(QStringLiteral("select * from CompanyRecord where Id=") + SqlStr(aCompanyId));
    return rows->Eof() ? nullptr : ReadCompany(*rows);
}

bool kSAFTPTController::LoadData()
{
    fCustomers->Clear();
    fProducts->Clear();
    auto consumer = std::make_unique<kCustomer>();
    consumer->SetCustomerId(kConsumerTaxId);
    consumer->SetAccountId(kUnknown);
    consumer->SetCustomerTaxId(kConsumerTaxId);
    consumer->SetCompanyName(QStringLiteral("Consumidor Final"));
    kAddress& address = consumer->BillingAddress();
    address.AddressDetail = address.City = address.PostalCode = address.Country = kUnknown;
    fCustomers->Add(std::move(consumer));

    const TDateTime start = fCurrentPeriodStart.DatePart();
    const TDateTime end(fCurrentPeriodEnd.DatePart().Value() + TDateTime::EncodeTime(23, 59, 59, 999).Value());
    fSalesInvoices->Clear();
    auto rows = fProxy->CreateDataset(QStringLiteral("select * from Receipts where ReceiptDateTime between ")
                                      + SqlDateTime(start) + QStringLiteral(" and ") + SqlDateTime(end));
    tkProgressCounter progress(rows->RecordCount(), [this](int aPercent) {
        Progress(pp_Loading, aPercent, QStringLiteral("Loading Receipts"));
    });
    for (; !rows->Eof(); rows->Next()) {
        progress.Next();
        auto field = [&](const char* aName) { return rows->FieldByName(QLatin1String(aName)); };
        LoadReceipt(field("Receipt").AsString(), field("Hash").AsString(), field("Serie").AsString(),
                    field("Number").AsInteger(), field("Status").AsString(),
                    field("SystemEntryDateTime").AsDateTime(), field("LastReceiptStatusOperator").AsString(),
                    field("LastStatusDateTime").AsDateTime(), field("DocumentType").AsString(),
                    field("SourceBilling").AsString(), field("ManualDocumentNumber").AsString(),
                    field("FiscalId").AsString());
    }
    return true;
}

bool kSAFTPTController::LoadReceipt(const QString& aXML, const QString& aHash, const QString&, int,
                                    const QString& aStatus, TDateTime aSystemEntryDateTime,
                                    const QString& aLastReceiptStatusOperator, TDateTime aLastStatusDateTime,
                                    const QString& aDocumentType, const QString& aSourceBilling,
                                    const QString& aManualDocumentNumber, const QString& aFiscalId)
{
    // 1. The stored document.
    pugi::xml_document xml;
    const QByteArray utf8 = aXML.toUtf8();
    pugi::xml_parse_result parsed = xml.load_buffer(utf8.constData(), size_t(utf8.size()));
    if (!parsed)
        throw Exception(QStringLiteral("Receipt XML not valid (%1 at offset %2)")
                            .arg(QString::fromLatin1(parsed.description()))
                            .arg(parsed.offset));
    kReceipt receipt;
    receipt.SetSupportSpecialChars(true);
    receipt.Deserialize(xml);
    receipt.CalcLinesNetAmount();

    // 2. The document a credit note refers to.
    QString refNo;
    TDateTime refDate;
    const tkOriginalReceipt& original = receipt.OriginalReceipt();
    if (!original.ReceiptNumber.isEmpty()) {
        if (!IsPlainNumber(original.ReceiptNumber))
            throw Exception(QStringLiteral("Document %1 refers to the receipt number \"%2\", which is not a plain "
                                           "number")
                                .arg(receipt.InvoiceNumber(), original.ReceiptNumber));
        GetInvoice(original.DeviceSerialNumber, original.ReceiptNumber, original.ReceiptDateTime, refNo, refDate);
    }

    // 3. The invoice header.
    auto invoice = std::make_unique<kInvoice>();
    invoice->SetATCUD(aFiscalId);
    invoice->SetInvoiceStatusDate(aLastStatusDateTime);
    invoice->SetHash(aHash);
    invoice->SetSystemEntryDate(aSystemEntryDateTime);
    if (aStatus == u"N")
        invoice->SetDocumentStatus(ds_Normal);
    else if (aStatus == u"A")
        invoice->SetDocumentStatus(ds_Anulado);
    else
        throw Exception(QStringLiteral("Status [%1] not yet managed").arg(aStatus));
    invoice->SetStatusSourceId(aLastReceiptStatusOperator.isEmpty() ? kGeneric : aLastReceiptStatusOperator);
    const bool manual = aSourceBilling == u"M" || aSourceBilling == u"D";
    invoice->SetSourceBilling(manual ? sb_Manual : sb_Produzido);
    invoice->SetHashControl(manual ? QStringLiteral("1-") + aDocumentType + aSourceBilling + u' ' + aManualDocumentNumber
                                   : QStringLiteral("1"));
    invoice->SetInvoiceDate(receipt.BusinessDate());
    if (aDocumentType == u"FR")
        invoice->SetInvoiceType(it_FaturaRecibo);
    else if (aDocumentType == u"NC")
        invoice->SetInvoiceType(it_NotaDeCredito);
    else
        throw Exception(QStringLiteral("InvoiceType [%1] not yet managed").arg(aDocumentType));
    invoice->SetInvoiceNo(receipt.InvoiceNumber());
    invoice->SetSourceId(receipt.OperatorCode().isEmpty() ? kGeneric : receipt.OperatorCode());

    // 4. The customer's key: the tax number without a country prefix; a named customer without a tax
    // number gets a customer of the document's own.
    QString customerId;
    QString taxCode = receipt.CustomerTaxCode();
    if (!taxCode.isEmpty()) {
        if (taxCode.size() >= 2 && taxCode[0] > u'9' && taxCode[1] > u'9')
            taxCode.remove(0, 2);
        customerId = taxCode;
        const bool consumerName = TrimControls(receipt.CustomerBusinessName()) == kConsumerName;
        if (taxCode.isEmpty() && !consumerName)
            taxCode = kConsumerTaxId;
        if (taxCode == kConsumerTaxId && !consumerName)
            customerId = QString(receipt.InvoiceNumber()).remove(u' ').remove(u'/');
        receipt.SetCustomerTaxCode(taxCode);
    }
    invoice->SetCustomerId(customerId);

    // 5. The customer.
    if (!fCustomers->GetByCode(customerId)) {
        auto customer = std::make_unique<kCustomer>();
        customer->SetCustomerId(customerId);
        customer->SetAccountId(kUnknown);
        customer->SetCustomerTaxId(receipt.CustomerTaxCode());
        customer->SetCompanyName(receipt.CustomerBusinessName());
        kAddress& billing = customer->BillingAddress();
        billing.AddressDetail = receipt.CustomerAddress();
        billing.City = receipt.CustomerCity();
        billing.PostalCode = receipt.CustomerZipCode();
        billing.Country = receipt.CustomerCountry();
        fCustomers->Add(std::move(customer));
    }

    // 6. The lines of products sold or returned.
    const bool creditType = invoice->InvoiceType() == it_NotaDeCredito || invoice->InvoiceType() == it_TalaoDeDevolucao;
    const Currency hundred(100);
    int n = 0;
    Currency taxPayable;
    for (const auto& receiptLine : receipt.Lines()) {
        const auto* sale = dynamic_cast<const kReceiptLineProductSale*>(receiptLine.get());
        if (!sale)
            continue;
        ++n;
        const kReceiptTaxLine* taxLine = receipt.Taxes().GetByTaxCode(sale->TaxCode());
        if (!taxLine)
            throw Exception(QStringLiteral("Document %1: tax code [%2] of line %3 has no tax line")
                                .arg(receipt.InvoiceNumber(), sale->TaxCode())
                                .arg(n));
        const kTaxTableEntry* entry =
            GetTaxTableEntry(taxLine->TaxCode(), taxLine->TaxRate(), taxLine->TaxDescription());
        const Currency rateBase = hundred + entry->TaxPercentage();

        auto line = std::make_unique<kInvoiceLine>();
        line->SetLineNumber(n);
        if (!refNo.isEmpty()) {
            line->SetReferenceInvoiceNumber(refNo);
            line->SetReferenceInvoiceDate(refDate);
        }
        const QString description = sale->Description();
        const QString hash = TextCrc32Hex(description);
        line->SetProductDescription(description);
        line->SetProductNumberCode(sale->Code().isEmpty() ? hash : sale->Code());
        line->SetProductCode(sale->Code().isEmpty() ? hash : sale->Code() + u'_' + hash);
        line->SetQuantity(sale->Quantity());
        line->SetUnitOfMeasure(QStringLiteral("Unidades"));
        line->SetNetAmountVATIncluded(sale->NetAmount());
        const Currency taxBase = Currency::MulDiv(sale->NetAmount(), hundred, rateBase);
        line->SetTaxBase(taxBase);
        // A line without quantity has no unit price to speak of.
        line->SetUnitPrice(sale->Quantity() == Currency() ? Currency() : taxBase / sale->Quantity());
        if (!creditType && sale->Amount() != sale->NetAmount())
            line->SetSettlementAmount(Currency::MulDiv(sale->Amount() - sale->NetAmount(), hundred, rateBase));
        line->SetTaxPointDate(invoice->InvoiceDate());
        line->SetDescription(description);
        if (taxBase > Currency()) {
            line->SetDebitAmount(creditType ? taxBase : Currency());
            line->SetCreditAmount(creditType ? Currency() : taxBase);
        } else {
            line->SetCreditAmount(-taxBase);
        }
        line->SetTaxType(tt_IVA);
        line->SetTaxCountryRegion(CurrentTaxCountryRegion());
        line->SetTaxCode(entry->TaxCode());
        line->SetTaxPTCode(entry->TaxPTCode());
        line->SetTaxPercentage(entry->TaxPercentage());
        if (entry->TaxPercentage() == Currency()) {
            line->SetTaxExemptionReason(taxLine->TaxDescription());
            line->SetTaxExemptionCode(entry->TaxCode());
        }
        taxPayable += sale->NetAmount() - taxBase;

        if (!fProducts->GetByCode(line->ProductCode())) {
            auto product = std::make_unique<kProduct>();
            product->SetProductType(sale->Attribute() == rla_Service ? pt_Servicos : pt_Produtos);
            product->SetProductCode(line->ProductCode());
            product->SetProductDescription(line->ProductDescription());
            product->SetProductNumberCode(line->ProductNumberCode());
            fProducts->Add(std::move(product));
        }
        invoice->Lines().Add(std::move(line));
    }
    invoice->SetTaxPayable(taxPayable);

    // 7. Payments, never more than the document's total.
    Currency paid;
    for (const auto& paymentLine : receipt.PaymentLines()) {
        if (IsCredit(paymentLine->PaymentType()))
            continue;
        if (paid + paymentLine->Amount() > receipt.TotalAmount())
            paymentLine->SetAmount(receipt.TotalAmount() - paid);
        auto payment = std::make_unique<kInvoicePayment>();
        payment->SetPaymentMechanism(MechanismOf(paymentLine->PaymentType()));
        payment->SetPaymentAmount(paymentLine->Amount());
        payment->SetPaymentDate(invoice->InvoiceDate());
        paid += paymentLine->Amount();
        invoice->Payments().Add(std::move(payment));
    }

    // 8. Totals.
    invoice->SetNetTotal(receipt.TotalAmount() - taxPayable);
    invoice->SetGrossTotal(receipt.TotalAmount());
    fSalesInvoices->Add(std::move(invoice));
    return true;
}

bool kSAFTPTController::GetInvoice(const QString&, const QString& aNumber, TDateTime aDateTime,
                                   QString& aInvoiceNumber, TDateTime& aInvoiceDate)
{
    if (!IsPlainNumber(aNumber))
        throw Exception(QStringLiteral("Receipt number \"%1\" is not a plain number").arg(aNumber));
    auto rows = fProxy->CreateDataset(QStringLiteral("select * from Receipts where Number=") + aNumber
                                      + QStringLiteral(" and ReceiptDateTime=") + SqlDateTime(aDateTime));
    if (rows->Eof())
        return false;
    aInvoiceNumber = rows->FieldByName(QStringLiteral("ReceiptNumber")).AsString();
    aInvoiceDate = rows->FieldByName(QStringLiteral("ReceiptDateTime")).AsDateTime();
    return true;
}

kTaxTableEntry* kSAFTPTController::GetTaxTableEntry(const QString& aCode, Currency aRate, const QString& aDescription)
{
    if (kTaxTableEntry* entry = fTaxTable->GetByCode(aCode))
        return entry;
    auto entry = std::make_unique<kTaxTableEntry>();
    entry->SetTaxCode(aCode);
    entry->SetTaxType(tt_IVA);
    entry->SetTaxCountryRegion(CurrentTaxCountryRegion());
    if (aRate == Currency(13))
        entry->SetTaxPTCode(tc_Intermedia);
    else if (aRate == Currency(6))
        entry->SetTaxPTCode(tc_Reduzida);
    else if (aRate == Currency())
        entry->SetTaxPTCode(tc_Isenta);
    else
        entry->SetTaxPTCode(tc_Normal);   // 23, and any rate the table does not know
    entry->SetDescription(aDescription);
    entry->SetTaxPercentage(aRate);
    return fTaxTable->Add(std::move(entry));
}

QString kSAFTPTController::CurrentTaxCountryRegion() const
{
    return fCurrentBranch ? fCurrentBranch->TaxCountryRegion() : QString();
}

QString kSAFTPTController::TextCrc32Hex(const QString& aText)
{
    if (aText.isEmpty())
        return QStringLiteral("00000000");
    uint32_t crc = 0xFFFFFFFFu;
    for (QChar c : aText) {
        uint8_t byte = c.unicode() < 128 ? uint8_t(c.unicode()) : uint8_t('?');
        crc = kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    }
    return QStringLiteral("%1").arg(crc ^ 0xFFFFFFFFu, 8, 16, QLatin1Char('0')).toUpper();
}
