#include "Exception.h"
#include "TestSupport.h"
#include "uSAFTPT_DataModel.h"

#include <gtest/gtest.h>

namespace {
kInvoice* AddInvoice(kInvoiceList& aList, tkInvoice_DocumentStatus aStatus,
                     std::initializer_list<std::pair<const char*, const char*>> aDebitCredit)
{
    auto* invoice = aList.Add(std::make_unique<kInvoice>());
    invoice->SetDocumentStatus(aStatus);
    for (auto [debit, credit] : aDebitCredit) {
        auto* line = invoice->Lines().Add(std::make_unique<kInvoiceLine>());
        line->SetDebitAmount(Currency::Parse(QString::fromLatin1(debit)));
        line->SetCreditAmount(Currency::Parse(QString::fromLatin1(credit)));
    }
    return invoice;
}
}

TEST(DataModel, TotalsSkipCancelledAndInvoicedDocuments)
{
    kInvoiceList invoices;
    EXPECT_EQ(invoices.GetTotalCredit(), Currency());
    AddInvoice(invoices, ds_Normal, {{"0", "10.00"}, {"0", "5.50"}});
    AddInvoice(invoices, ds_Anulado, {{"0", "99.00"}});
    AddInvoice(invoices, ds_Faturado, {{"7", "0"}});
    AddInvoice(invoices, ds_Resumo, {{"1.25", "0"}});
    EXPECT_EQ(invoices.GetTotalCredit().ToString(), "15.5");
    EXPECT_EQ(invoices.GetTotalDebit().ToString(), "1.25");
}

TEST(DataModel, LookupsAreCaseSensitiveAndTheFirstKeyWins)
{
    kCustomerList customers;
    auto first = std::make_unique<kCustomer>();
    first->SetCustomerId("PT123");
    first->SetCompanyName("first");
    auto second = std::make_unique<kCustomer>();
    second->SetCustomerId("PT123");
    second->SetCompanyName("second");
    customers.Add(std::move(first));
    customers.Add(std::move(second));
    ASSERT_NE(customers.GetByCode("PT123"), nullptr);
    EXPECT_EQ(customers.GetByCode("PT123")->CompanyName(), "first");
    EXPECT_EQ(customers.GetByCode("pt123"), nullptr);
    EXPECT_EQ(customers.Count(), 2);
    customers.Clear();
    EXPECT_EQ(customers.GetByCode("PT123"), nullptr);
}

TEST(DataModel, CodesAndTheirErrors)
{
    kInvoice invoice;
    EXPECT_EQ(invoice.InvoiceTypeToString(), "FT");
    EXPECT_EQ(invoice.DocumentStatusToString(), "N");
    EXPECT_EQ(invoice.SourceBillingToString(), "P");
    EXPECT_EQ(invoice.Lines().Count() + invoice.Payments().Count(), 0);
    invoice.SetInvoiceType(it_DevolucaoDeAtivos);
    EXPECT_EQ(invoice.InvoiceTypeToString(), "DA");
    invoice.SetInvoiceType(it_NotaDeCredito);
    EXPECT_EQ(invoice.InvoiceTypeToString(), "NC");

    kInvoicePayment payment;
    payment.SetPaymentMechanism(TransferenciaBancaria);
    EXPECT_EQ(payment.PaymentMechanismToString(), "TB");
    payment.SetPaymentMechanism(pmCartaoDebito);
    EXPECT_EQ(payment.PaymentMechanismToString(), "CD");

    kTaxTableEntry tax;
    tax.SetTaxPTCode(tc_Isenta);
    tax.SetTaxType(tt_NaoSujeicao);
    EXPECT_EQ(tax.TaxPTCodeTostring(), "ISE");
    EXPECT_EQ(tax.TaxTypeTostring(), "NS");

    kProduct product;
    product.SetProductType(pt_Servicos);
    EXPECT_EQ(product.ProductTypeToString(), "S");

    tax.SetTaxPTCode(tkTaxTable_TaxPTCode(5));
    tax.SetTaxType(tkTaxTable_TaxType(3));
    product.SetProductType(tkProduct_ProductType(5));
    invoice.SetInvoiceType(tkInvoice_InvoiceType(10));
    invoice.SetDocumentStatus(tkInvoice_DocumentStatus(5));
    invoice.SetSourceBilling(tkInvoice_SourceBilling(3));
    payment.SetPaymentMechanism(tkInvoice_PaymentMechanism(14));
    EXPECT_EQ(ErrorOf([&] { tax.TaxPTCodeTostring(); }), "Unable to decode TaxCode to string");
    EXPECT_EQ(ErrorOf([&] { tax.TaxTypeTostring(); }), "Unable to decode TaxType to string");
    EXPECT_EQ(ErrorOf([&] { product.ProductTypeToString(); }), "Unable to decode ProductType to string");
    EXPECT_EQ(ErrorOf([&] { invoice.InvoiceTypeToString(); }), "Unable to decode InvoiceType to string");
    EXPECT_EQ(ErrorOf([&] { invoice.DocumentStatusToString(); }), "Unable to decode DocumentStatus to string");
    EXPECT_EQ(ErrorOf([&] { invoice.SourceBillingToString(); }), "Unable to decode SourceBilling to string");
    EXPECT_EQ(ErrorOf([&] { payment.PaymentMechanismToString(); }), "Unable to decode PaymentMechanism to string");
}
