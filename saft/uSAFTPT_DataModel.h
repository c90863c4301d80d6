#pragma once

// The in-memory form of one SAF-T (PT) audit file: company and branch, customers, products, tax table
// and sales invoices. Enumerations convert to the standard's codes; lists own their items and find
// items by key through an index that returns the first item inserted under that key.

#include "Currency.h"
#include "TDateTime.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

// A read-write property: the field fName, the getter Name() and the setter SetName(value).
#define SAFT_PROPERTY(Type, Name)                                                                          \
public:                                                                                                    \
    const Type& Name() const { return f##Name; }                                                           \
    void Set##Name(const Type& aValue) { f##Name = aValue; }                                               \
                                                                                                           \
private:                                                                                                   \
    Type f##Name{};

enum tkTaxTable_TaxType : uint8_t { tt_IVA, tt_ImpostoDoSelo, tt_NaoSujeicao };
enum tkTaxTable_TaxPTCode : uint8_t { tc_Reduzida, tc_Intermedia, tc_Normal, tc_Isenta, tc_Outros };
enum tkProduct_ProductType : uint8_t {
    pt_Produtos, pt_Servicos, pt_Outros, pt_Impostos_Especiais, pt_Impostos_ParaFiscais
};
enum tkInvoice_DocumentStatus : uint8_t { ds_Normal, ds_Autofaturacao, ds_Anulado, ds_Resumo, ds_Faturado };
enum tkInvoice_SourceBilling : uint8_t { sb_Produzido, sb_Integrado, sb_Manual };
enum tkInvoice_InvoiceType : uint8_t {
    it_Fatura, it_FaturaSimplificada, it_FaturaRecibo, it_NotaDeDebito, it_NotaDeCredito, it_VendaADinero,
    it_TalaoDeVenda, it_TalaoDeDevolucao, it_AlienacaoDeAtivos, it_DevolucaoDeAtivos
};
enum tkInvoice_PaymentMechanism : uint8_t {
    pm_CartaoCredito, pmCartaoDebito, pm_ChequeBancario, pm_CreditoDocumentarioInternational, pm_CartaoOferta,
    pm_Compensacao, pm_DineroEletronico, pm_LetraComercial, pm_ReferenciaMultibanco, pm_Numerario, pm_Outros,
    pm_Permuta, TransferenciaBancaria, pm_TitulusDeCompensacao
};

class kAddress
{
public:
    QString AddressDetail;
    QString City;
    QString PostalCode;
    QString Region;
    QString Country;
};

class kCompany
{
    SAFT_PROPERTY(QString, Id)
    SAFT_PROPERTY(QString, VATId)
    SAFT_PROPERTY(QString, TaxRegistrationNumber)
    SAFT_PROPERTY(QString, Code)
    SAFT_PROPERTY(QString, Name)
    SAFT_PROPERTY(QString, BusinessName)
public:
    kAddress& Address() { return *fAddress; }
    const kAddress& Address() const { return *fAddress; }
private:
    std::unique_ptr<kAddress> fAddress = std::make_unique<kAddress>();
};

class kBranch
{
    SAFT_PROPERTY(QString, Id)
    SAFT_PROPERTY(QString, Code)
    SAFT_PROPERTY(QString, Name)
    SAFT_PROPERTY(QString, Company)
    SAFT_PROPERTY(QString, InvoiceDocumentType)
    SAFT_PROPERTY(QString, CreditNoteDocumentType)
    SAFT_PROPERTY(QString, InvoiceSerieTemplate)
    SAFT_PROPERTY(QString, CreditNoteSerieTemplate)
    SAFT_PROPERTY(QString, TaxCountryRegion)
public:
    kAddress& Address() { return *fAddress; }
    const kAddress& Address() const { return *fAddress; }
private:
    std::unique_ptr<kAddress> fAddress = std::make_unique<kAddress>();
};

class kCustomer
{
    SAFT_PROPERTY(QString, CustomerId)
    SAFT_PROPERTY(QString, AccountId)
    SAFT_PROPERTY(QString, CustomerTaxId)
    SAFT_PROPERTY(QString, CompanyName)
    SAFT_PROPERTY(bool, SelfBillingIndicator)
public:
    kAddress& BillingAddress() { return *fBillingAddress; }
    const kAddress& BillingAddress() const { return *fBillingAddress; }
    const QString& Key() const { return fCustomerId; }
private:
    std::unique_ptr<kAddress> fBillingAddress = std::make_unique<kAddress>();
};

class kProduct
{
    SAFT_PROPERTY(tkProduct_ProductType, ProductType)
    SAFT_PROPERTY(QString, ProductCode)
    SAFT_PROPERTY(QString, ProductDescription)
    SAFT_PROPERTY(QString, ProductNumberCode)
public:
    QString ProductTypeToString() const;   // raises "Unable to decode ProductType to string"
    const QString& Key() const { return fProductCode; }
};

class kTaxTableEntry
{
    SAFT_PROPERTY(QString, TaxCode)
    SAFT_PROPERTY(tkTaxTable_TaxType, TaxType)
    SAFT_PROPERTY(QString, TaxCountryRegion)
    SAFT_PROPERTY(tkTaxTable_TaxPTCode, TaxPTCode)
    SAFT_PROPERTY(QString, Description)
    SAFT_PROPERTY(Currency, TaxPercentage)
    SAFT_PROPERTY(Currency, TaxAmount)
public:
    QString TaxPTCodeTostring() const { return TaxPTCodeTostring(fTaxPTCode); }
    static QString TaxPTCodeTostring(tkTaxTable_TaxPTCode aCode);   // raises "Unable to decode TaxCode to string"
    QString TaxTypeTostring() const;     // raises "Unable to decode TaxType to string"
    const QString& Key() const { return fTaxCode; }
};

class kInvoiceLine
{
    SAFT_PROPERTY(int, LineNumber)
    SAFT_PROPERTY(QString, ReferenceInvoiceNumber)
    SAFT_PROPERTY(TDateTime, ReferenceInvoiceDate)
    SAFT_PROPERTY(QString, ProductCode)
    SAFT_PROPERTY(QString, ProductNumberCode)
    SAFT_PROPERTY(QString, ProductDescription)
    SAFT_PROPERTY(Currency, Quantity)
    SAFT_PROPERTY(QString, UnitOfMeasure)
    SAFT_PROPERTY(Currency, UnitPrice)
    SAFT_PROPERTY(Currency, NetAmountVATIncluded)   // the line's gross amount after discounts
    SAFT_PROPERTY(Currency, TaxBase)
    SAFT_PROPERTY(TDateTime, TaxPointDate)
    SAFT_PROPERTY(QString, Description)
    SAFT_PROPERTY(Currency, DebitAmount)
    SAFT_PROPERTY(Currency, CreditAmount)
    SAFT_PROPERTY(tkTaxTable_TaxType, TaxType)
    SAFT_PROPERTY(QString, TaxCountryRegion)
    SAFT_PROPERTY(QString, TaxCode)
    SAFT_PROPERTY(tkTaxTable_TaxPTCode, TaxPTCode)
    SAFT_PROPERTY(Currency, TaxPercentage)
    SAFT_PROPERTY(Currency, TaxAmount)
    SAFT_PROPERTY(QString, TaxExemptionReason)
    SAFT_PROPERTY(QString, TaxExemptionCode)
    SAFT_PROPERTY(Currency, SettlementAmount)
public:
    const QStringList& ProductSerialNumbers() const { return fProductSerialNumbers; }
    QString TaxTypeTostring() const;   // raises "Unable to decode TaxType to string"
private:
    QStringList fProductSerialNumbers;
};

class kInvoicePayment
{
    SAFT_PROPERTY(tkInvoice_PaymentMechanism, PaymentMechanism)
    SAFT_PROPERTY(Currency, PaymentAmount)
    SAFT_PROPERTY(TDateTime, PaymentDate)
public:
    QString PaymentMechanismToString() const;   // raises "Unable to decode PaymentMechanism to string"
};

// An ordered list that owns its items.
template <typename T>
class kOwnedList
{
public:
    T* Add(std::unique_ptr<T> aItem)
    {
        fItems.push_back(std::move(aItem));
        return fItems.back().get();
    }
    int Count() const { return int(fItems.size()); }
    T* Items(int aIndex) const { return fItems.at(size_t(aIndex)).get(); }
    void Clear() { fItems.clear(); }
    // Hands the items over: the list is empty afterwards.
    std::vector<std::unique_ptr<T>> Release() { return std::exchange(fItems, {}); }
    auto begin() const { return fItems.begin(); }
    auto end() const { return fItems.end(); }

private:
    std::vector<std::unique_ptr<T>> fItems;
};

// An owning list that finds items by their Key(), case-sensitive; the first item added under a key
// wins, as a scan in list order would find it. Keys are taken when an item is added.
template <typename T>
class kKeyedList : public kOwnedList<T>
{
public:
    T* Add(std::unique_ptr<T> aItem)
    {
        T* item = kOwnedList<T>::Add(std::move(aItem));
        if (!fIndex.contains(item->Key()))
            fIndex.insert(item->Key(), item);
        return item;
    }
    T* GetByCode(const QString& aCode) const { return fIndex.value(aCode, nullptr); }
    void Clear()
    {
        fIndex.clear();
        kOwnedList<T>::Clear();
    }

private:
    QHash<QString, T*> fIndex;
};

using kCustomerList = kKeyedList<kCustomer>;
using kProductList = kKeyedList<kProduct>;
using kTaxTable = kKeyedList<kTaxTableEntry>;
using kBranchList = kOwnedList<kBranch>;

class kInvoice
{
    SAFT_PROPERTY(QString, InvoiceNo)
    SAFT_PROPERTY(QString, ATCUD)
    SAFT_PROPERTY(tkInvoice_DocumentStatus, DocumentStatus)
    SAFT_PROPERTY(TDateTime, InvoiceStatusDate)
    SAFT_PROPERTY(QString, Reason)
    SAFT_PROPERTY(QString, StatusSourceId)
    SAFT_PROPERTY(tkInvoice_SourceBilling, SourceBilling)
    SAFT_PROPERTY(QString, Hash)
    SAFT_PROPERTY(QString, HashControl)
    SAFT_PROPERTY(TDateTime, InvoiceDate)
    SAFT_PROPERTY(tkInvoice_InvoiceType, InvoiceType)
    SAFT_PROPERTY(bool, SelfBillingIndicator)
    SAFT_PROPERTY(bool, CashVATSchemeIndicator)
    SAFT_PROPERTY(bool, ThirdPartiesBillingIndicator)
    SAFT_PROPERTY(QString, SourceId)
    SAFT_PROPERTY(TDateTime, SystemEntryDate)
    SAFT_PROPERTY(QString, CustomerId)
    SAFT_PROPERTY(Currency, TaxPayable)
    SAFT_PROPERTY(Currency, NetTotal)
    SAFT_PROPERTY(Currency, GrossTotal)
public:
    kOwnedList<kInvoiceLine>& Lines() { return fLines; }
    const kOwnedList<kInvoiceLine>& Lines() const { return fLines; }
    kOwnedList<kInvoicePayment>& Payments() { return fPayments; }
    const kOwnedList<kInvoicePayment>& Payments() const { return fPayments; }

    QString DocumentStatusToString() const;   // raises "Unable to decode DocumentStatus to string"
    QString InvoiceTypeToString() const;      // raises "Unable to decode InvoiceType to string"
    QString SourceBillingToString() const;    // raises "Unable to decode SourceBilling to string"

private:
    kOwnedList<kInvoiceLine> fLines;
    kOwnedList<kInvoicePayment> fPayments;
};

class kInvoiceList : public kOwnedList<kInvoice>
{
public:
    // Sums of the lines' debit or credit amounts over the invoices that are neither cancelled ("A")
    // nor invoiced ("F").
    Currency GetTotalDebit() const;
    Currency GetTotalCredit() const;
};
