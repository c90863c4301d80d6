// The documents of a sample registry: each plan becomes a receipt as the till records it, numbered
// in its series, with the columns the fiscal side adds.
#include "uSampleRegistry_Internal.h"

#include "Exception.h"
#include "uTK_Base.h"
#include "uTkReceipt.h"

#include <algorithm>
#include <optional>
#include <type_traits>

namespace {

const QString kInvoice = QStringLiteral("FR");
const QString kCreditNote = QStringLiteral("NC");
// The characters of a series validation code: capital consonants and the digits 2 to 9.
const QString kValidationAlphabet = QStringLiteral("BCDFGHJKLMNPQRSTVWXZ23456789");
constexpr int kRecentSales = 200;

Currency Cents(int64_t aCents)
{
    return Currency::FromRaw(aCents * (Currency::Scale / 100));
}

// aWhen moved on by aSeconds, counted on the calendar rather than in floating days.
TDateTime Later(TDateTime aWhen, int64_t aSeconds)
{
    int h, m, s, ms;
    aWhen.DecodeTime(h, m, s, ms);
    const int64_t total = h * 3600 + m * 60 + s + aSeconds;
    const int64_t rest = total % 86400;
    const QDate date = aWhen.Date().addDays(total / 86400);
    return TDateTime::EncodeDateTime(date.year(), date.month(), date.day(), int(rest / 3600), int(rest / 60 % 60),
                                     int(rest % 60), ms);
}

tkSampleTaxId TaxOf(const QString& aCode)
{
    for (tkSampleTaxId tax : {tx_Normal, tx_Intermediate, tx_Reduced, tx_Exempt})
        if (kSampleCatalogue::Tax(tax).Code == aCode)
            return tax;
    throw Exception(QStringLiteral("No sample tax %1").arg(aCode));
}

std::vector<kReceiptLineProductSale*> ProductLines(const kReceipt& aReceipt)
{
    std::vector<kReceiptLineProductSale*> lines;
    for (const auto& line : aReceipt.Lines())
        if (auto* product = dynamic_cast<kReceiptLineProductSale*>(line.get()))
            lines.push_back(product);
    return lines;
}

std::unique_ptr<kReceiptLineProductSale> ProductLine(kReceipt& aReceipt, int aArticle, const QString& aDescription,
                                                     Currency aQuantity, Currency aAmount, bool aWeighted)
{
    const tkSampleArticle& article = kSampleCatalogue::Article(aArticle);
    std::unique_ptr<kReceiptLineProductSale> line;
    if (aWeighted)
        line = std::make_unique<kReceiptLineWeightedProductSale>(&aReceipt);
    else
        line = std::make_unique<kReceiptLineProductSale>(&aReceipt);
    line->SetCode(article.Code);
    line->SetDescription(aDescription);
    line->SetQuantity(aQuantity);
    line->SetUOM(article.Weighted ? QStringLiteral("kg") : QStringLiteral("un"));
    line->SetDepartment(article.Department);
    line->SetTaxCode(kSampleCatalogue::Tax(article.Tax).Code);
    line->SetPrice(article.Price);
    line->SetAmount(aAmount);
    line->SetAttribute(article.Service ? rla_Service : rla_Product);
    return line;
}

// A discount or markup line of class TLine; one given as a percentage shows it in its description.
template <class TLine>
void AddAdjustLine(kReceipt& aReceipt, const QString& aDescription, Currency aPercentage, Currency aAmount,
                   const QString& aReason)
{
    const QString none;
    if constexpr (std::is_base_of_v<kReceiptLineDiscountPercentage, TLine>)
        aReceipt.Lines().Add(kReceiptLineDiscountPercentage::Build<TLine>(
            &aReceipt, aDescription + u' ' + aPercentage.ToString() + u'%', aPercentage, aAmount, aReason, none, none));
    else
        aReceipt.Lines().Add(
            kReceiptLineDiscountAmount::Build<TLine>(&aReceipt, aDescription, aAmount, aReason, none, none));
}

// A discount or markup of a few percent of aBase, after the line or the subtotal it applies to; none
// when it would come to less than a cent.
void AddAdjust(kReceipt& aReceipt, tkSampleRandom& aRandom, tkSampleAdjust aAdjust, Currency aBase, bool aOnSubtotal)
{
    const Currency percentage(5 * int(1 + aRandom.Below(aOnSubtotal ? 2 : 6)));
    const Currency amount = RoundCurr2(Currency::MulDiv(aBase, percentage, Currency(100)));
    if (aAdjust == adj_None || amount < Cents(1))
        return;
    const QString discount = aOnSubtotal ? QStringLiteral("Desconto total") : QStringLiteral("Desconto");
    const QString markup = aOnSubtotal ? QStringLiteral("Taxa de serviço") : QStringLiteral("Acréscimo");
    const QString discountReason = aOnSubtotal ? QStringLiteral("03") : QStringLiteral("01");
    const QString markupReason = aOnSubtotal ? QStringLiteral("11") : QStringLiteral("10");
    kReceipt& r = aReceipt;
    switch (aAdjust) {
    case adj_DiscountAmount:
        return aOnSubtotal ? AddAdjustLine<kReceiptLineDiscountAmountOnSubTotal>(r, discount, percentage, amount,
                                                                                 discountReason)
                           : AddAdjustLine<kReceiptLineDiscountAmount>(r, discount, percentage, amount, discountReason);
    case adj_DiscountPercentage:
        return aOnSubtotal
                   ? AddAdjustLine<kReceiptLineDiscountPercentageOnSubTotal>(r, discount, percentage, amount,
                                                                             discountReason)
                   : AddAdjustLine<kReceiptLineDiscountPercentage>(r, discount, percentage, amount, discountReason);
    case adj_MarkupAmount:
        return aOnSubtotal
                   ? AddAdjustLine<kReceiptLineMarkupAmountOnSubTotal>(r, markup, percentage, amount, markupReason)
                   : AddAdjustLine<kReceiptLineMarkupAmount>(r, markup, percentage, amount, markupReason);
    case adj_MarkupPercentage:
        return aOnSubtotal
                   ? AddAdjustLine<kReceiptLineMarkupPercentageOnSubTotal>(r, markup, percentage, amount, markupReason)
                   : AddAdjustLine<kReceiptLineMarkupPercentage>(r, markup, percentage, amount, markupReason);
    case adj_None: return;
    }
}

void AddText(kReceipt& aReceipt, tkSampleRandom& aRandom)
{
    static const QStringList texts = {QStringLiteral("Promoção válida até ao fim do mês"),
                                      QStringLiteral("Cartão cliente n.º 4432"),
                                      QStringLiteral("Artigo com garantia de 2 anos")};
    auto line = std::make_unique<kReceiptLineText>(&aReceipt);
    line->SetDescription(texts[aRandom.Below(texts.size())]);
    aReceipt.Lines().Add(std::move(line));
}

void AddSaleLines(kReceipt& aReceipt, tkSampleRandom& aRandom, const tkSamplePlan& aPlan)
{
    for (const tkSampleItem& item : aPlan.Items) {
        const tkSampleArticle& article = kSampleCatalogue::Article(item.Article);
        const Currency amount = RoundCurr2(article.Price * item.Quantity);
        auto line =
            ProductLine(aReceipt, item.Article, item.Alternate ? article.AlternateDescription : article.Description,
                        item.Quantity, amount, article.Weighted);
        line->SetFreeOfCharge(item.Free);
        aReceipt.Lines().Add(std::move(line));
        AddAdjust(aReceipt, aRandom, item.Adjust, amount, false);
        if (item.TextAfter)
            AddText(aReceipt, aRandom);
    }
    if (aPlan.Subtotal) {
        auto subtotal = std::make_unique<kReceiptLineSubtotal>(&aReceipt);
        const Currency running = aReceipt.GetCalculatedAmount();
        subtotal->SetAmount(running);
        aReceipt.Lines().Add(std::move(subtotal));
        AddAdjust(aReceipt, aRandom, aPlan.SubtotalAdjust, running, true);
    }
}

// The total of the lines, or now and then a cent off it as a till's rounding leaves it; the last line
// takes up the cent only when it is paid and worth more than a cent, so no net amount turns negative.
void SetTotal(kReceipt& aReceipt, int aCentOff)
{
    aReceipt.SetTotalAmount(aReceipt.GetCalculatedAmount());
    aReceipt.CalcLinesNetAmount();
    const auto lines = ProductLines(aReceipt);
    if (aCentOff == 0 || lines.empty() || lines.back()->FreeOfCharge() || lines.back()->NetAmount() <= Cents(1))
        return;
    aReceipt.SetTotalAmount(aReceipt.TotalAmount() + Cents(aCentOff));
    aReceipt.CalcLinesNetAmount();
}

// One tax line per tax code of the lines, in the order of first use, over their net amounts.
void AddTaxes(kReceipt& aReceipt)
{
    std::vector<std::pair<tkSampleTaxId, Currency>> totals;
    for (const kReceiptLineProductSale* line : ProductLines(aReceipt)) {
        const tkSampleTaxId tax = TaxOf(line->TaxCode());
        auto found = std::find_if(totals.begin(), totals.end(), [&](const auto& t) { return t.first == tax; });
        if (found == totals.end())
            found = totals.insert(totals.end(), {tax, Currency()});
        found->second += line->NetAmount();
    }
    for (const auto& [taxId, total] : totals) {
        const tkSampleTax& tax = kSampleCatalogue::Tax(taxId);
        const Currency taxable = RoundCurr2(Currency::MulDiv(total, Currency(100), Currency(100) + tax.Rate));
        aReceipt.Taxes().Add(kReceiptTaxLine::Build(&aReceipt, tt_VAT, tax.Code, tax.Description, tax.Rate, taxable,
                                                    total - taxable, total));
    }
}

void AddPayment(kReceipt& aReceipt, tkReceiptPaymentType aType, Currency aAmount)
{
    static const QHash<tkReceiptPaymentType, QString> descriptions = {
        {rpt_Cash, QStringLiteral("Numerário")},
        {rpt_Cheque, QStringLiteral("Cheque")},
        {rpt_CreditCard, QStringLiteral("Cartão de crédito")},
        {rpt_DebitCard, QStringLiteral("Cartão de débito")},
        {rpt_Credit, QStringLiteral("Crédito em conta")},
        {rpt_CreditOnProducts, QStringLiteral("Crédito em artigos")},
        {rpt_CreditOnServices, QStringLiteral("Crédito em serviços")},
        {Rpt_GiftCard, QStringLiteral("Cartão oferta")},
        {Rpt_Voucher, QStringLiteral("Vale de compras")},
        {Rpt_MealVoucher, QStringLiteral("Vale refeição")},
        {Rpt_NHSCard, QStringLiteral("Cartão SNS")},
        {Rpt_Change, QStringLiteral("Troco")},
    };
    if (aAmount <= Currency())
        return;
    auto payment = std::make_unique<kReceiptPaymentLine>(&aReceipt);
    payment->SetPaymentType(aType);
    payment->SetDescription(descriptions.value(aType));
    payment->SetAmount(aAmount);
    payment->SetCurrency(QStringLiteral("EUR"));
    payment->SetQuantity(Currency(1));
    payment->SetUnitPrice(aAmount);
    aReceipt.PaymentLines().Add(std::move(payment));
}

// A first part paid one way and the rest another.
void AddSplitPayment(kReceipt& aReceipt, tkReceiptPaymentType aFirst, Currency aPart, tkReceiptPaymentType aRest)
{
    const Currency part = std::min(aPart, aReceipt.TotalAmount());
    AddPayment(aReceipt, aFirst, part);
    AddPayment(aReceipt, aRest, aReceipt.TotalAmount() - part);
}

void AddPayments(kReceipt& aReceipt, tkSamplePayment aPayment)
{
    const Currency total = aReceipt.TotalAmount();
    const Currency half = RoundCurr2(Currency::MulDiv(total, Currency(1), Currency(2)));
    switch (aPayment) {
    case pay_Cash: AddPayment(aReceipt, rpt_Cash, total); break;
    case pay_CashWithChange: {
        Currency tendered((total.Trunc() / 10 + 1) * 10);
        for (int note : {5, 10, 20, 50})
            if (Currency(note) > total) {
                tendered = Currency(note);
                break;
            }
        AddPayment(aReceipt, rpt_Cash, tendered);
        AddPayment(aReceipt, Rpt_Change, tendered - total);
        break;
    }
    case pay_Cheque: AddPayment(aReceipt, rpt_Cheque, total); break;
    case pay_CreditCard: AddPayment(aReceipt, rpt_CreditCard, total); break;
    case pay_DebitCard: AddPayment(aReceipt, rpt_DebitCard, total); break;
    case pay_AccountCredit: AddSplitPayment(aReceipt, rpt_Credit, half, rpt_Cash); break;
    case pay_CreditOnProducts: AddSplitPayment(aReceipt, rpt_CreditOnProducts, half, rpt_Cash); break;
    case pay_CreditOnServices: AddSplitPayment(aReceipt, rpt_CreditOnServices, half, rpt_Cash); break;
    case pay_GiftCard: AddSplitPayment(aReceipt, Rpt_GiftCard, Currency(25), rpt_DebitCard); break;
    case pay_Voucher: AddSplitPayment(aReceipt, Rpt_Voucher, Currency(5), rpt_Cash); break;
    case pay_MealVoucher: AddSplitPayment(aReceipt, Rpt_MealVoucher, Cents(760), rpt_Cash); break;
    case pay_NHSCard:
        AddSplitPayment(aReceipt, Rpt_NHSCard, RoundCurr2(Currency::MulDiv(total, Currency(40), Currency(100))),
                        rpt_Cash);
        break;
    }
}

// The receipt's header as the till writes it: store, till, numbers, times and company.
void FillHeader(kReceipt& aReceipt, const tkSampleBranch& aBranch, const QString& aTillCode,
                const QString& aOperatorCode, const tkSampleDocument& aDocument, QChar aSource)
{
    const tkSampleCompany& company = kSampleCatalogue::Companies()[size_t(aBranch.Company)];
    const TDateTime when = aDocument.ReceiptDateTime;
    aReceipt.SetSupportSpecialChars(true);
    aReceipt.SetLayout(QStringLiteral("DocumentLayout"));   // what a reader takes an empty layout for
    aReceipt.SetBusinessDate(when.DatePart());
    const bool refund = aDocument.DocumentType == kCreditNote;
    aReceipt.SetReceiptType(refund ? rt_Refund : rt_Sale);
    aReceipt.SetReceiptTypeDescription(refund ? QStringLiteral("Nota de crédito") : QStringLiteral("Fatura-recibo"));
    if (aSource != u'P')
        aReceipt.SetReceiptSubtype(aSource);
    aReceipt.SetStoreCode(aBranch.Code);
    aReceipt.SetStoreAddress(aBranch.Address.AddressDetail);
    aReceipt.SetStoreZipCode(aBranch.Address.PostalCode);
    aReceipt.SetStoreCity(aBranch.Address.City);
    aReceipt.SetTillCode(aTillCode);
    aReceipt.SetReceiptNumber(QString::number(aDocument.Number));
    aReceipt.SetReceiptDateTime(when);
    aReceipt.SetReceiptZReportNumber(QString::number(when.Date().dayOfYear()));
    aReceipt.SetDeviceSerialNumber(QStringLiteral("FPT") + aBranch.Code + aTillCode);
    aReceipt.SetInvoiceNumber(aDocument.ReceiptNumber);
    aReceipt.SetInvoiceDateTime(when);
    aReceipt.SetCountryCode(QStringLiteral("PT"));
    aReceipt.SetFiscalAreaCode(QStringLiteral("PT"));
    aReceipt.SetCompanyCode(company.Code);
    aReceipt.SetCompanyTaxCode(company.VATId);
    aReceipt.SetOperatorCode(aOperatorCode);
    aReceipt.SetCurrencyCode(QStringLiteral("EUR"));
    aReceipt.SetPrintReceipt(true);
    aReceipt.Headers() = QStringList{company.Name, QStringLiteral("Contribuinte n.º ") + company.VATId};
}

void SetCustomer(kReceipt& aReceipt, int aCustomer)
{
    const tkSampleCustomer& c = kSampleCatalogue::Customers()[size_t(aCustomer)];
    aReceipt.SetCustomerCode(c.Code);
    aReceipt.SetCustomerBusinessName(c.Name);
    aReceipt.SetCustomerAddress(c.Address);
    aReceipt.SetCustomerZipCode(c.ZipCode);
    aReceipt.SetCustomerCity(c.City);
    aReceipt.SetCustomerCountry(c.Country);
    aReceipt.SetCustomerTaxCode(c.TaxCode);
}

}

kSampleDocuments::kSampleDocuments(tkSampleRandom& aRandom, int aFirstYear, int aLastYear)
    : fRandom(aRandom), fFirstYear(aFirstYear)
{
    QSet<QString> validationCodes;
    for (const tkSampleBranch& branch : kSampleCatalogue::Branches())
        for (const QString& type : {kInvoice, kCreditNote})
            for (int year = aFirstYear; year <= aLastYear; ++year) {
                tkSampleSeries series;
                series.Id = fRandom.Guid();
                series.Name = QString::number(year) + branch.SeriesSuffix;
                series.Code = type + series.Name;
                do
                    series.ValidationCode = fRandom.Letters(kValidationAlphabet, 8);
                while (validationCodes.contains(series.ValidationCode));
                validationCodes.insert(series.ValidationCode);
                // A year's series are closed when the year is over.
                series.Closed = year < aLastYear;
                fSeries.push_back(series);
            }
}

tkSampleSeries& kSampleDocuments::SeriesOf(int aBranch, const QString& aDocumentType, int aYear)
{
    const size_t years = fSeries.size() / kSampleCatalogue::Branches().size() / 2;
    const size_t type = aDocumentType == kInvoice ? 0 : 1;
    return fSeries[(size_t(aBranch) * 2 + type) * years + size_t(aYear - fFirstYear)];
}

QString kSampleDocuments::ManualNumber(QChar aSource, const QString& aDocumentType, int aYear)
{
    // Books of hand-written documents are numbered MAN2024/15; documents keyed in again keep the
    // number of the document they stand for, such as FR REC2024/7.
    const QString book = aSource == u'M' ? QStringLiteral("MAN") + QString::number(aYear)
                                         : aDocumentType + QStringLiteral(" REC") + QString::number(aYear);
    return book + u'/' + QString::number(++fManualNumbers[book]);
}

void kSampleDocuments::AddRefund(kReceipt& aReceipt, const tkOriginal& aOriginal)
{
    std::vector<const tkRefundable*> lines;
    for (const tkRefundable& line : aOriginal.Lines)
        if (fRandom.Chance(600))
            lines.push_back(&line);
    if (lines.empty())
        lines.push_back(&aOriginal.Lines.front());
    for (const tkRefundable* line : lines)
        aReceipt.Lines().Add(
            ProductLine(aReceipt, line->Article, line->Description, line->Quantity, line->Amount, false));
    tkOriginalReceipt& o = aReceipt.OriginalReceipt();
    o.ReceiptDateTime = aOriginal.When;
    o.ReceiptNumber = QString::number(aOriginal.Number);
    o.DeviceSerialNumber = aOriginal.DeviceSerial;
    o.ReferenceType = rrt_OriginalReceipt;
    o.InvoiceNumber = aOriginal.InvoiceNumber;
    o.InvoiceDateTime = aOriginal.When;
}

void kSampleDocuments::Remember(const kReceipt& aReceipt, const tkSamplePlan& aPlan, int aBranch)
{
    tkOriginal sale;
    sale.Number = aReceipt.ReceiptNumber().toInt();
    sale.When = aReceipt.ReceiptDateTime();
    sale.InvoiceNumber = aReceipt.InvoiceNumber();
    sale.DeviceSerial = aReceipt.DeviceSerialNumber();
    sale.Branch = aBranch;
    sale.Customer = aPlan.Customer;
    // The product lines stand in the order of the planned items.
    const auto lines = ProductLines(aReceipt);
    for (size_t i = 0; i < lines.size(); ++i)
        if (!lines[i]->FreeOfCharge() && lines[i]->NetAmount() > Currency())
            sale.Lines.push_back(
                {aPlan.Items[i].Article, lines[i]->Description(), lines[i]->Quantity(), lines[i]->NetAmount()});
    if (sale.Lines.empty())
        return;
    fOriginals.push_back(std::move(sale));
    if (fOriginals.size() > kRecentSales)
        fOriginals.pop_front();
}

tkSampleDocument kSampleDocuments::Issue(const tkSamplePlan& aPlan, TDateTime aWhen)
{
    const bool refund = aPlan.Refund && !fOriginals.empty();
    std::optional<tkOriginal> original;
    if (refund) {
        auto picked = fOriginals.begin() + fRandom.Below(int64_t(fOriginals.size()));
        original = std::move(*picked);
        fOriginals.erase(picked);
    }
    // A credit note is issued where the sale was.
    const int branchIndex = refund ? original->Branch : aPlan.Branch;
    const tkSampleBranch& branch = kSampleCatalogue::Branches()[size_t(branchIndex)];
    const QString tillCode = QStringLiteral("%1").arg(aPlan.Till % branch.Tills + 1, 2, 10, QLatin1Char('0'));
    const QString operatorCode = branch.Operators[aPlan.Operator % branch.Operators.size()];
    const QString documentType = refund ? kCreditNote : kInvoice;
    const int year = aWhen.Date().year();

    tkSampleSeries& series = SeriesOf(branchIndex, documentType, year);
    const int number = ++series.LastNumber;
    tkSampleDocument doc;
    doc.ReceiptDateTime = aWhen;
    doc.ReceiptNumber = documentType + u' ' + series.Name + u'/' + QString::number(number);
    doc.Serie = series.Code;
    doc.Number = number;
    doc.DocumentType = documentType;
    doc.SourceBilling = aPlan.Source;
    doc.FiscalId = series.ValidationCode + u'-' + QString::number(number);
    doc.Hash = fRandom.Hash();

    kReceipt receipt;
    FillHeader(receipt, branch, tillCode, operatorCode, doc, aPlan.Source);
    SetCustomer(receipt, refund ? original->Customer : aPlan.Customer);
    if (refund) {
        AddRefund(receipt, *original);
        SetTotal(receipt, 0);
        AddTaxes(receipt);
        AddPayments(receipt,
                    aPlan.Payment == pay_DebitCard || aPlan.Payment == pay_CreditCard ? aPlan.Payment : pay_Cash);
    } else {
        AddSaleLines(receipt, fRandom, aPlan);
        SetTotal(receipt, aPlan.CentOff);
        AddTaxes(receipt);
        AddPayments(receipt, aPlan.Payment);
    }
    doc.Receipt = receipt.Serialize();

    if (aPlan.Source != u'P') {
        doc.ManualDocumentNumber = ManualNumber(aPlan.Source, documentType, year);
        // Documents written by hand reach the system a day or a few later.
        doc.SystemEntryDateTime = Later(aWhen, 86400 * (1 + fRandom.Below(3)) + fRandom.Below(3600));
    } else {
        doc.SystemEntryDateTime = aWhen;
    }
    if (aPlan.Cancelled && !refund) {
        doc.Status = QStringLiteral("A");
        doc.LastStatusDateTime = Later(doc.SystemEntryDateTime, 60 * (2 + fRandom.Below(30)));
        doc.LastReceiptStatusOperator = branch.Supervisor;
    } else {
        doc.Status = QStringLiteral("N");
        doc.LastStatusDateTime = doc.SystemEntryDateTime;
        if (fRandom.Chance(500))
            doc.LastReceiptStatusOperator = operatorCode;
    }

    series.LastDate = aWhen;
    series.LastHash = doc.Hash;
    series.LastBranchCode = branch.Code;
    series.LastTillCode = tillCode;
    if (!refund && doc.Status == u"N")
        Remember(receipt, aPlan, branchIndex);
    return doc;
}
