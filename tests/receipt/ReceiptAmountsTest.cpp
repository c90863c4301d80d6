// Line amounts, sums, tax lookups and the spreading of discounts over the item lines.
#include "ReceiptTestSupport.h"

#include <gtest/gtest.h>
#include <vector>

using namespace Qt::StringLiterals;

namespace {

// One line of a spreading case: its kind, amount and the expected net amounts (unchecked when null).
//   P product sale, F free-of-charge product sale, R product return, V voucher sale, C collected amount,
//   D discount amount, d discount percentage, M markup amount, m markup percentage,
//   S discount amount on subtotal, s discount percentage on subtotal,
//   U markup amount on subtotal, u markup percentage on subtotal, T subtotal, X text.
struct Line
{
    char kind;
    const char* amount;
    const char* net;
    const char* netNoSubTotalDiscounts = nullptr;
    const char* totalNoSubTotalDiscounts = nullptr;
};

QString LineXml(const Line& aLine)
{
    const QString amount = QString::fromLatin1(aLine.amount);
    auto element = [&](const char* aName, const QString& aChildren) {
        return u"<%1>%2</%1>"_s.arg(QLatin1String(aName), aChildren);
    };
    const QString amountChild = u"<Amount>%1</Amount>"_s.arg(amount);
    switch (aLine.kind) {
    case 'P': return element("productsale", amountChild);
    case 'F': return element("productsale", amountChild + u"<FreeOfCharge>True</FreeOfCharge>"_s);
    case 'R': return element("productreturn", amountChild);
    case 'V': return element("vouchersale", u"<Price>%1</Price>"_s.arg(amount));
    case 'C': return element("collectamount", amountChild);
    case 'D': return element("discountamount", amountChild);
    case 'd': return element("discountpercentage", amountChild);
    case 'M': return element("markupamount", amountChild);
    case 'm': return element("markuppercentage", amountChild);
    case 'S': return element("discountamountonsubtotal", amountChild);
    case 's': return element("discountpercentageonsubtotal", amountChild);
    case 'U': return element("markupamountonsubtotal", amountChild);
    case 'u': return element("markuppercentageonsubtotal", amountChild);
    case 'T': return element("subtotal", amountChild);
    default: return element("text", QString());
    }
}

struct SpreadCase
{
    const char* name;
    const char* totalAmount;
    std::vector<Line> lines;
};

std::unique_ptr<kReceipt> SpreadReceipt(const SpreadCase& aCase)
{
    QString lines;
    for (const Line& line : aCase.lines)
        lines += LineXml(line);
    auto r = ReadReceipt(ReceiptXml(u"<TotalAmount>%1</TotalAmount><Lines>%2</Lines>"_s.arg(
        QLatin1String(aCase.totalAmount), lines)));
    r->CalcLinesNetAmount();
    return r;
}

const SpreadCase kSpreadCases[] = {
    {"single subtotal discount", "9", {{'P', "10", "9", "10", "0"}, {'S', "1", "-1", "-1"}}},
    {"last item line absorbs a total left at 0", "0", {{'P', "10", "0", "10"}, {'S', "1", "-1"}}},
    {"cumulative cents split", "9", {{'P', "3.33", "3"}, {'P', "6.67", "6"}, {'S', "1", "-1"}}},
    {"thirds without drift", "2", {{'P', "1", "0.67"}, {'P', "1", "0.66"}, {'P', "1", "0.67"}, {'s', "1", "-1"}}},
    {"line-level discount", "4.5", {{'P', "5", "4.5", "4.5", "-0.5"}, {'D', "0.5", "-0.5"}}},
    {"line-level markup", "5.5", {{'P', "5", "5.5", "5.5", "0.5"}, {'M', "0.5", "0.5"}}},
    {"line-level percentages", "20.2",
     {{'P', "20", "18", "18", "-2"}, {'d', "2", "-2"}, {'P', "2", "2.2", "2.2", "0.2"}, {'m', "0.2", "0.2"}}},
    {"free of charge takes no share", "9", {{'P', "10", "9"}, {'F', "5", "0"}, {'S', "1", "-1"}}},
    {"last item line absorbs a difference", "10.01", {{'P', "5", "5"}, {'P', "5", "5.01"}}},
    {"subtotal markup over a collected amount", "11", {{'P', "4", "4.4"}, {'C', "6", "6.6"}, {'u', "1", "1"}}},
    {"vouchers share like products", "22", {{'V', "10", "11"}, {'P', "10", "11"}, {'U', "2", "2"}}},
    {"subtotal and text lines take no share", "9",
     {{'P', "10", "9"}, {'T', "10", "0"}, {'X', "", "0"}, {'S', "1", "-1"}}},
    {"returns take a negative base", "9", {{'R', "5", "-4.5"}, {'P', "15", "13.5"}, {'S', "1", "-1"}}},
    {"subtotal discount before the first item only counts", "9", {{'S', "1", "-1"}, {'P', "10", "10"}}},
    {"ratio over the running total with earlier discounts", "7.2",
     {{'P', "10", "7.2", "8", "-2"}, {'D', "2", "-2"}, {'S', "0.8", "-0.8"}}},
    {"second subtotal discount works on current net amounts", "8.1",
     {{'P', "10", "8.1", "10"}, {'S', "1", "-1"}, {'S', "0.9", "-0.9"}}},
    // The line-level discount before any item lowers T to 10 but not the base 11: shares total
    // -1.10 and the last receiver gives 0.10 back so that exactly the discount is spread.
    {"last receiver corrects the spread to the discount", "9",
     {{'D', "1", "-1"}, {'P', "11", "10", "11"}, {'S', "1", "-1"}}},
};

}

TEST(ReceiptAmounts, CalcLinesNetAmountSpreadsDiscounts)
{
    for (const SpreadCase& c : kSpreadCases) {
        const auto r = SpreadReceipt(c);
        ASSERT_EQ(r->Lines().Count(), int(c.lines.size())) << c.name;
        for (int i = 0; i < r->Lines().Count(); ++i) {
            const Line& expected = c.lines[size_t(i)];
            const kReceiptLine* line = r->Lines()[i];
            EXPECT_EQ(line->NetAmount(), Money(expected.net)) << c.name << ", line " << i;
            if (expected.netNoSubTotalDiscounts) {
                EXPECT_EQ(line->NetAmountNoSubTotalDiscounts(), Money(expected.netNoSubTotalDiscounts))
                    << c.name << ", line " << i;
            }
            if (expected.totalNoSubTotalDiscounts) {
                EXPECT_EQ(line->TotalNoSubTotalDiscounts(), Money(expected.totalNoSubTotalDiscounts))
                    << c.name << ", line " << i;
            }
        }
    }
}

TEST(ReceiptAmounts, CalcLinesNetAmountTwiceGivesTheSameResult)
{
    const auto r = SpreadReceipt(kSpreadCases[4]);   // line-level discount
    r->CalcLinesNetAmount();
    EXPECT_EQ(r->Lines()[0]->NetAmount(), Money("4.5"));
    EXPECT_EQ(r->Lines()[0]->TotalNoSubTotalDiscounts(), Money("-0.5"));
}

TEST(ReceiptAmounts, EveryLineKindSignsItsAmount)
{
    const auto r = ReadReceipt(ReceiptFixture(u"full.xml"_s));
    // In fixture order: sale, return, weighted, voucher sale (free), voucher redeem, gift card sale,
    // gift card redeem, subtotal, text, four discounts, four markups, collected amount, free product.
    const char* expected[] = {"3",   "-9",    "4.58", "0",    "-5",   "25",  "-7.5", "0",    "0",    "-0.5",
                              "-0.46", "-1", "-1.2", "0.25", "0.08", "0.3", "0.41", "3.99", "0"};
    ASSERT_EQ(r->Lines().Count(), int(std::size(expected)));
    for (int i = 0; i < r->Lines().Count(); ++i)
        EXPECT_EQ(r->Lines()[i]->GetAmount(), Money(expected[i])) << "line " << i;
    EXPECT_EQ(r->GetCalculatedAmount(), Money("12.95"));
    EXPECT_EQ(r->TotalQuantity(), Money("5.355"));   // the free product and the return count
}

TEST(ReceiptAmounts, TaxAndPaymentSums)
{
    const auto r = ReadReceipt(ReceiptFixture(u"full.xml"_s));
    EXPECT_EQ(r->TotalTaxableAmount(), Money("19.92"));
    EXPECT_EQ(r->TotalTaxAmount(), Money("1.95"));
    EXPECT_EQ(r->Taxes().Amount(), Money("1.95"));
    EXPECT_EQ(r->Taxes().GetTaxableAmountByTaxRate(Currency(23)), Money("5.6"));
    EXPECT_EQ(r->Taxes().GetTaxAmountByTaxRate(Currency(6)), Money("0.26"));
    EXPECT_EQ(r->Taxes().GetTaxAmountByTaxRate(Money("6.0001")), Currency());
    EXPECT_EQ(r->PaymentLines().TotalAmount(), Money("14.45"));   // without the change of 1.5

    kReceipt changeOnly;
    auto change = std::make_unique<kReceiptPaymentLine>(&changeOnly);
    change->SetPaymentType(Rpt_Change);
    change->SetAmount(Currency(5));
    changeOnly.PaymentLines().Add(std::move(change));
    EXPECT_EQ(changeOnly.PaymentLines().TotalAmount(), Currency());
}

TEST(ReceiptAmounts, LookupsByTaxCode)
{
    const auto r = ReadReceipt(ReceiptXml(u"<Taxes>"
                                          "<Tax><Type>SalesTax</Type><Code>X</Code><Rate>10</Rate></Tax>"
                                          "<Tax><Type>VAT</Type><Code>X</Code><Rate>23</Rate></Tax>"
                                          "<Tax><Type>VAT</Type><Code>X</Code><Rate>6</Rate></Tax>"
                                          "<Tax><Type>VAT</Type><Code>R</Code><Rate>6</Rate></Tax>"
                                          "</Taxes>"_s));
    EXPECT_EQ(r->GetTaxRate(u"X"_s), Currency(10));   // the first line, whatever its type
    EXPECT_EQ(r->GetTaxRate(u"x"_s), Currency());
    EXPECT_EQ(r->Taxes().GetByTaxCode(u"X"_s), r->Taxes()[0]);
    EXPECT_EQ(r->Taxes().GetByTaxCode(u"Z"_s), nullptr);
    EXPECT_EQ(r->GetNetAmount(Money("12.3"), u"X"_s), Currency(10));   // the first VAT line: 23 %
    EXPECT_EQ(r->GetNetAmount(Currency(1), u"R"_s), Money("0.9434"));  // 100 / 106, rounded once
    EXPECT_EQ(r->GetNetAmount(Money("12.3"), u"Z"_s), Money("12.3"));

    const auto salesTaxOnly =
        ReadReceipt(ReceiptXml(u"<Taxes><Tax><Type>SalesTax</Type><Code>S</Code><Rate>23</Rate></Tax></Taxes>"_s));
    EXPECT_EQ(salesTaxOnly->GetNetAmount(Money("12.3"), u"S"_s), Money("12.3"));
}

TEST(ReceiptAmounts, TextsForPrintersUnlessSpecialCharactersAreSupported)
{
    const QString special = u"TOTALE \u20AC caf\u00E9"_s;
    const QString plain = u"TOT. E caf "_s;
    kReceipt r;
    auto product = kReceiptLineProductSale::Build(&r, u"1"_s, special, Currency(1), {}, {}, {}, Currency(1),
                                                  Currency(1), {}, {});
    auto discount = kReceiptLineDiscountAmount::Build<kReceiptLineMarkupAmountOnSubTotal>(&r, special, Currency(1),
                                                                                          {}, {}, {});
    kReceiptMessageTextLine text(&r);
    kReceiptMessageBarcodeLine barcode(&r);
    kReceiptMessageImageLine image(&r);
    text.SetValue(special);
    barcode.SetValue(special);
    image.SetValue(special);

    EXPECT_EQ(product->Description(), plain);
    EXPECT_EQ(discount->Description(), plain);
    EXPECT_EQ(text.Value(), plain);
    EXPECT_EQ(barcode.Value(), special);
    EXPECT_EQ(image.Value(), special);

    r.SetSupportSpecialChars(true);
    EXPECT_EQ(product->Description(), special);
    EXPECT_EQ(discount->Description(), special);
    EXPECT_EQ(text.Value(), special);

    kNFReceipt nf;
    kReceiptMessageTextLine nfText(&nf);
    nfText.SetValue(special);
    EXPECT_EQ(nfText.Value(), plain);
    nf.SetSupportSpecialChars(true);
    EXPECT_EQ(nfText.Value(), special);
}

TEST(ReceiptAmounts, FactoriesFillTheNamedFieldsOnly)
{
    kReceipt r;
    auto product = kReceiptLineProductSale::Build(&r, u"C"_s, u"D"_s, Currency(2), u"UN"_s, u"Dep"_s, u"A"_s,
                                                  Money("1.5"), Currency(3), u"info"_s, u"VC"_s);
    EXPECT_EQ(product->Owner(), &r);
    EXPECT_EQ(product->LineType(), rlt_ProductSale);
    EXPECT_EQ(product->AdditionalInfo(), u"info"_s);
    EXPECT_EQ(product->VoucherCode(), u"VC"_s);
    EXPECT_EQ(product->Attribute(), rla_Product);
    EXPECT_FALSE(product->FreeOfCharge());
    EXPECT_EQ(r.Lines().Count(), 0);   // the caller adds it

    auto redeem = kReceiptLineGiftCardRedeem::Build(&r, u"G"_s, u"D"_s, u"Dep"_s, u"A"_s, Money("7.5"), u"mode"_s,
                                                    u"info"_s);
    EXPECT_EQ(redeem->LineType(), rlt_GiftCardRedeem);
    EXPECT_EQ(redeem->TaxMode(), u"mode"_s);
    EXPECT_EQ(redeem->GetAmount(), Money("-7.5"));

    auto markup = kReceiptLineDiscountPercentage::Build<kReceiptLineMarkupPercentage>(
        &r, u"D"_s, Currency(10), Currency(2), u"RC"_s, u"RN"_s, u"info"_s);
    EXPECT_EQ(markup->LineType(), rlt_MarkupPercentage);
    EXPECT_EQ(markup->ReasonNote(), u"RN"_s);
    EXPECT_EQ(markup->GetAmount(), Currency(2));
}
