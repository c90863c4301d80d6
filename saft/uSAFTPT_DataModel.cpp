#include "uSAFTPT_DataModel.h"

#include "Exception.h"

#include <array>

namespace {
// The code of an enumerator, or the conversion's error for a value outside the enumeration.
template <size_t N>
QString CodeOf(const std::array<const char*, N>& aCodes, unsigned aValue, const char* aWhat)
{
    if (aValue >= N)
        throw Exception(QStringLiteral("Unable to decode %1 to string").arg(QLatin1String(aWhat)));
    return QString::fromLatin1(aCodes[aValue]);
}

constexpr std::array kTaxTypes{"IVA", "IS", "NS"};
}

QString kProduct::ProductTypeToString() const
{
    static constexpr std::array codes{"P", "S", "O", "E", "I"};
    return CodeOf(codes, fProductType, "ProductType");
}

QString kTaxTableEntry::TaxPTCodeTostring(tkTaxTable_TaxPTCode aCode)
{
    static constexpr std::array codes{"RED", "INT", "NOR", "ISE", "OUT"};
    return CodeOf(codes, aCode, "TaxCode");
}

QString kTaxTableEntry::TaxTypeTostring() const
{
    return CodeOf(kTaxTypes, fTaxType, "TaxType");
}

QString kInvoiceLine::TaxTypeTostring() const
{
    return CodeOf(kTaxTypes, fTaxType, "TaxType");
}

QString kInvoicePayment::PaymentMechanismToString() const
{
    static constexpr std::array codes{"CC", "CD", "CH", "CI", "CO", "CS", "DE",
                                      "LC", "MB", "NU", "OU", "PR", "TB", "TR"};
    return CodeOf(codes, fPaymentMechanism, "PaymentMechanism");
}

QString kInvoice::DocumentStatusToString() const
{
    static constexpr std::array codes{"N", "S", "A", "R", "F"};
    return CodeOf(codes, fDocumentStatus, "DocumentStatus");
}

QString kInvoice::InvoiceTypeToString() const
{
    static constexpr std::array codes{"FT", "FS", "FR", "ND", "NC", "VD", "TV", "TD", "AA", "DA"};
    return CodeOf(codes, fInvoiceType, "InvoiceType");
}

QString kInvoice::SourceBillingToString() const
{
    static constexpr std::array codes{"P", "I", "M"};
    return CodeOf(codes, fSourceBilling, "SourceBilling");
}

namespace {
template <typename Amount>
Currency SumOfCountedLines(const kInvoiceList& aInvoices, Amount aAmount)
{
    Currency total;
    for (const auto& invoice : aInvoices) {
        if (invoice->DocumentStatus() == ds_Anulado || invoice->DocumentStatus() == ds_Faturado)
            continue;
        for (const auto& line : invoice->Lines())
            total += aAmount(*line);
    }
    return total;
}
}

Currency kInvoiceList::GetTotalDebit() const
{
    return SumOfCountedLines(*this, [](const kInvoiceLine& l) { return l.DebitAmount(); });
}

Currency kInvoiceList::GetTotalCredit() const
{
    return SumOfCountedLines(*this, [](const kInvoiceLine& l) { return l.CreditAmount(); });
}
