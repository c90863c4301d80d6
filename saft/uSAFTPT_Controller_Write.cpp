// Building the audit file's document from the model.
#include "uSAFTPT_Controller.h"

#include "Exception.h"
#include "uTK_Base.h"

namespace {
const char* const kNamespace = "urn:OECD:StandardAuditFile-Tax:PT_1.04_01";
const char* const kSchemaInstance = "http://www.w3.org/2001/XMLSchema-instance";

// Appends an element as the last child, with its text when there is any.
pugi::xml_node Add(pugi::xml_node aParent, const char* aName, const QString& aText = {})
{
    pugi::xml_node node = aParent.append_child(aName);
    if (!aText.isEmpty())
        node.append_child(pugi::node_pcdata).set_value(aText.toUtf8().constData());
    return node;
}

void AddAddress(pugi::xml_node aParent, const char* aName, const kAddress& aAddress)
{
    pugi::xml_node node = Add(aParent, aName);
    Add(node, "AddressDetail", aAddress.AddressDetail);
    Add(node, "City", aAddress.City);
    Add(node, "PostalCode", aAddress.PostalCode);
    if (!aAddress.Region.isEmpty())
        Add(node, "Region", aAddress.Region);
    Add(node, "Country", aAddress.Country);
}

QString TaxDescription(tkTaxTable_TaxPTCode aCode)
{
    switch (aCode) {
    case tc_Reduzida: return QStringLiteral("Taxa Reduzida");
    case tc_Intermedia: return QStringLiteral("Taxa Intermedia");
    case tc_Normal: return QStringLiteral("Taxa Normal");
    case tc_Isenta: return QStringLiteral("Isenta");
    case tc_Outros: return QStringLiteral("Outros");
    }
    throw Exception(QStringLiteral("Unable to decode TaxCode to string"));
}

void DefaultToUnknown(QString& aValue)
{
    if (aValue.isEmpty())
        aValue = QStringLiteral("Desconhecido");
}
}

tkProgressCounter::tkProgressCounter(int aCount, std::function<void(int)> aReport)
    : fCount(aCount), fReport(std::move(aReport))
{
}

void tkProgressCounter::Next()
{
    ++fDone;
    int percent = int(RoundHalfEven(__int128(fDone) * 100, fCount));
    if (percent != fLastPercent) {
        fLastPercent = percent;
        fReport(percent);
    }
}

void kSAFTPTController::Progress(tkProgressPhase aPhase, int aPercent, const QString& aMessage) const
{
    if (fOnProgress)
        fOnProgress(aPhase, aPercent, aMessage);
}

QString kSAFTPTController::FormatAmount(int aDecimals, Currency aValue)
{
    return aValue.ToFixed(aDecimals);
}

QString kSAFTPTController::FormatSaftDate(TDateTime aValue)
{
    return aValue.Format(QStringLiteral("yyyy-MM-dd"));
}

QString kSAFTPTController::FormatSaftDateTime(TDateTime aValue)
{
    return aValue.Format(QStringLiteral("yyyy-MM-ddThh:mm:ss"));
}

QString kSAFTPTController::FormatFlag(bool aValue)
{
    return aValue ? QStringLiteral("1") : QStringLiteral("0");
}

bool kSAFTPTController::Process(kBranch* aBranch, TDateTime aFromDate, TDateTime aToDate)
{
    Progress(pp_Processing, 0, QStringLiteral("Process is Starting..."));
    Progress(pp_Processing, 0,
             QStringLiteral("Selected date range is %1 to %2").arg(ShortDateText(aFromDate), ShortDateText(aToDate)));
    if (!aBranch)
        throw Exception(QStringLiteral("You must select a store"));
    fCurrentBranch = aBranch;
    fCurrentPeriodStart = aFromDate;
    fCurrentPeriodEnd = aToDate;
    LoadData();

    fXml = std::make_unique<pugi::xml_document>();
    pugi::xml_node audit = fXml->append_child("AuditFile");
    audit.append_attribute("xmlns").set_value(kNamespace);
    audit.append_attribute("xmlns:xsi").set_value(kSchemaInstance);
    bool ok = ProcessHeader(audit);
    pugi::xml_node master = Add(audit, "MasterFiles");
    ok = ok && ProcessCustomers(master);
    ok = ok && ProcessProducts(master);
    ok = ok && ProcessTaxTable(master);
    pugi::xml_node source = Add(audit, "SourceDocuments");
    ok = ok && ProcessSalesInvoices(source);
    Progress(pp_Processing, 100, QStringLiteral("Process Complete"));
    return ok;
}

bool kSAFTPTController::ProcessHeader(pugi::xml_node aNode)
{
    std::unique_ptr<kCompany> company = GetCompanyById(fCurrentBranch->Company());
    if (!company)
        throw Exception(QStringLiteral("Company not found"));
    pugi::xml_node header = Add(aNode, "Header");
    Add(header, "AuditFileVersion", QStringLiteral("1.04_01"));
    Add(header, "CompanyID", company->VATId());
    Add(header, "TaxRegistrationNumber", company->TaxRegistrationNumber());
    Add(header, "TaxAccountingBasis", QStringLiteral("F"));
    Add(header, "CompanyName", company->Name());
    Add(header, "BusinessName", company->BusinessName());
    AddAddress(header, "CompanyAddress", company->Address());
    Add(header, "FiscalYear", QString::number(fCurrentPeriodEnd.Date().year()));
    Add(header, "StartDate", FormatSaftDate(fCurrentPeriodStart));
    Add(header, "EndDate", FormatSaftDate(fCurrentPeriodEnd));
    Add(header, "CurrencyCode", QStringLiteral("EUR"));
    Add(header, "DateCreated", FormatSaftDate(TDateTime::Today()));
    Add(header, "TaxEntity", QStringLiteral("Global"));
    Add(header, "ProductCompanyTaxID", QStringLiteral("508124373"));
    Add(header, "SoftwareCertificateNumber", QStringLiteral("6083"));
    Add(header, "ProductID", QStringLiteral("Tillary VKD/Norvane srl"));
    Add(header, "ProductVersion", QStringLiteral("1.1"));
    return true;
}

bool kSAFTPTController::ProcessCustomers(pugi::xml_node aMasterNode)
{
    tkProgressCounter progress(fCustomers->Count(), [this](int aPercent) {
        Progress(pp_Processing, aPercent, QStringLiteral("Processing Customers"));
    });
    for (const auto& customer : *fCustomers) {
        progress.Next();
        QString id = customer->CustomerId(), name = customer->CompanyName();
        DefaultToUnknown(id);
        DefaultToUnknown(name);
        customer->SetCustomerId(id);
        customer->SetCompanyName(name);
        kAddress& address = customer->BillingAddress();
        DefaultToUnknown(address.AddressDetail);
        DefaultToUnknown(address.City);
        DefaultToUnknown(address.PostalCode);
        DefaultToUnknown(address.Country);

        pugi::xml_node node = Add(aMasterNode, "Customer");
        Add(node, "CustomerID", customer->CustomerId());
        Add(node, "AccountID", customer->AccountId());
        Add(node, "CustomerTaxID", customer->CustomerTaxId());
        Add(node, "CompanyName", customer->CompanyName());
        AddAddress(node, "BillingAddress", address);
        Add(node, "SelfBillingIndicator", FormatFlag(customer->SelfBillingIndicator()));
    }
    return true;
}

bool kSAFTPTController::ProcessProducts(pugi::xml_node aMasterNode)
{
    tkProgressCounter progress(fProducts->Count(), [this](int aPercent) {
        Progress(pp_Processing, aPercent, QStringLiteral("Processing Products"));
    });
    for (const auto& product : *fProducts) {
        progress.Next();
        pugi::xml_node node = Add(aMasterNode, "Product");
        Add(node, "ProductType", product->ProductTypeToString());
        Add(node, "ProductCode", product->ProductCode());
        Add(node, "ProductDescription", product->ProductDescription());
        Add(node, "ProductNumberCode", product->ProductNumberCode());
    }
    return true;
}

bool kSAFTPTController::ProcessTaxTable(pugi::xml_node aMasterNode)
{
    pugi::xml_node table = Add(aMasterNode, "TaxTable");
    for (const auto& entry : *fTaxTable) {
        pugi::xml_node node = Add(table, "TaxTableEntry");
        Add(node, "TaxType", entry->TaxTypeTostring());
        Add(node, "TaxCountryRegion", entry->TaxCountryRegion());
        Add(node, "TaxCode", entry->TaxPTCodeTostring());
        Add(node, "Description", TaxDescription(entry->TaxPTCode()));
        Add(node, "TaxPercentage", FormatAmount(2, entry->TaxPercentage()));
        if (entry->TaxAmount() != Currency())
            Add(node, "TaxAmount", FormatAmount(4, entry->TaxAmount()));
    }
    return true;
}

bool kSAFTPTController::ProcessSalesInvoices(pugi::xml_node aSourceNode)
{
    pugi::xml_node sales = Add(aSourceNode, "SalesInvoices");
    Add(sales, "NumberOfEntries", QString::number(fSalesInvoices->Count()));
    Add(sales, "TotalDebit", FormatAmount(2, fSalesInvoices->GetTotalDebit()));
    Add(sales, "TotalCredit", FormatAmount(2, fSalesInvoices->GetTotalCredit()));
    tkProgressCounter progress(fSalesInvoices->Count(), [this](int aPercent) {
        Progress(pp_Processing, aPercent, QStringLiteral("Processing Sales Invoices"));
    });
    for (const auto& invoice : *fSalesInvoices) {
        progress.Next();
        pugi::xml_node node = Add(sales, "Invoice");
        Add(node, "InvoiceNo", invoice->InvoiceNo());
        Add(node, "ATCUD", invoice->ATCUD());
        pugi::xml_node status = Add(node, "DocumentStatus");
        Add(status, "InvoiceStatus", invoice->DocumentStatusToString());
        Add(status, "InvoiceStatusDate", FormatSaftDateTime(invoice->InvoiceStatusDate()));
        Add(status, "SourceID", invoice->StatusSourceId());
        Add(status, "SourceBilling", invoice->SourceBillingToString());
        Add(node, "Hash", invoice->Hash());
        Add(node, "HashControl", invoice->HashControl());
        Add(node, "InvoiceDate", FormatSaftDate(invoice->InvoiceDate()));
        Add(node, "InvoiceType", invoice->InvoiceTypeToString());
        pugi::xml_node regimes = Add(node, "SpecialRegimes");
        Add(regimes, "SelfBillingIndicator", FormatFlag(invoice->SelfBillingIndicator()));
        Add(regimes, "CashVATSchemeIndicator", FormatFlag(invoice->CashVATSchemeIndicator()));
        Add(regimes, "ThirdPartiesBillingIndicator", FormatFlag(invoice->ThirdPartiesBillingIndicator()));
        Add(node, "SourceID", invoice->SourceId());
        Add(node, "SystemEntryDate", FormatSaftDateTime(invoice->SystemEntryDate()));
        Add(node, "CustomerID", invoice->CustomerId());

        const bool creditNote = invoice->InvoiceType() == it_NotaDeCredito;
        for (const auto& line : invoice->Lines()) {
            pugi::xml_node l = Add(node, "Line");
            Add(l, "LineNumber", QString::number(line->LineNumber()));
            Add(l, "ProductCode", line->ProductCode());
            Add(l, "ProductDescription", line->ProductDescription());
            Add(l, "Quantity", FormatAmount(2, line->Quantity()));
            Add(l, "UnitOfMeasure", line->UnitOfMeasure());
            Add(l, "UnitPrice", FormatAmount(4, line->UnitPrice()));
            Add(l, "TaxPointDate", FormatSaftDate(line->TaxPointDate()));
            if (!line->ReferenceInvoiceNumber().isEmpty()) {
                pugi::xml_node refs = Add(l, "References");
                Add(refs, "Reference", line->ReferenceInvoiceNumber());
                Add(refs, "Reason", QStringLiteral("Mercadorias Devolvidas"));
            }
            Add(l, "Description", line->Description());
            const bool debit = line->DebitAmount() != Currency();
            const bool credit = line->CreditAmount() != Currency();
            // The file must carry one of the two amounts: a line worth nothing shows its zero on the
            // side its document type books it.
            if (debit || (!credit && creditNote))
                Add(l, "DebitAmount", FormatAmount(4, line->DebitAmount()));
            if (credit || (!debit && !creditNote))
                Add(l, "CreditAmount", FormatAmount(4, line->CreditAmount()));
            pugi::xml_node tax = Add(l, "Tax");
            Add(tax, "TaxType", line->TaxTypeTostring());
            Add(tax, "TaxCountryRegion", line->TaxCountryRegion());
            // A line of a model filled elsewhere may name no entry: its own code then.
            const kTaxTableEntry* entry = fTaxTable->GetByCode(line->TaxCode());
            Add(tax, "TaxCode", kTaxTableEntry::TaxPTCodeTostring(entry ? entry->TaxPTCode() : line->TaxPTCode()));
            Add(tax, "TaxPercentage", FormatAmount(2, line->TaxPercentage()));
            if (line->TaxAmount() != Currency())
                Add(tax, "TaxAmount", FormatAmount(4, line->TaxAmount()));
            if (!line->TaxExemptionReason().isEmpty())
                Add(l, "TaxExemptionReason", line->TaxExemptionReason());
            if (!line->TaxExemptionCode().isEmpty())
                Add(l, "TaxExemptionCode", line->TaxExemptionCode());
            // A markup makes the amount negative, which the file cannot hold: only discounts are written.
            if (line->SettlementAmount() > Currency())
                Add(l, "SettlementAmount", FormatAmount(4, line->SettlementAmount()));
        }

        pugi::xml_node totals = Add(node, "DocumentTotals");
        Add(totals, "TaxPayable", FormatAmount(4, invoice->TaxPayable()));
        Add(totals, "NetTotal", FormatAmount(4, invoice->NetTotal()));
        Add(totals, "GrossTotal", FormatAmount(2, invoice->GrossTotal()));
        if (invoice->InvoiceType() == it_FaturaRecibo) {
            for (const auto& payment : invoice->Payments()) {
                pugi::xml_node p = Add(totals, "Payment");
                Add(p, "PaymentMechanism", payment->PaymentMechanismToString());
                Add(p, "PaymentAmount", FormatAmount(2, payment->PaymentAmount()));
                Add(p, "PaymentDate", FormatSaftDate(payment->PaymentDate()));
            }
        }
    }
    return true;
}
