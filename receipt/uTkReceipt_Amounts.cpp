// Sums, tax lookups and the spreading of discounts over the item lines.
#include "uTkReceipt.h"

#include "uTK_Base.h"

namespace {

bool IsItemLine(const kReceiptLine& aLine)
{
    return aLine.LineType() <= rlt_GiftCardRedeem || aLine.LineType() == rlt_CollectAmount;
}

bool IsLineDiscount(const kReceiptLine& aLine)
{
    switch (aLine.LineType()) {
    case rlt_DiscountAmount: case rlt_DiscountPercentage: case rlt_MarkupAmount: case rlt_MarkupPercentage:
        return true;
    default:
        return false;
    }
}

bool IsSubtotalDiscount(const kReceiptLine& aLine)
{
    switch (aLine.LineType()) {
    case rlt_DiscountAmountOnSubtotal: case rlt_DiscountPercentageOnSubTotal: case rlt_MarkupAmountOnSubtotal:
    case rlt_MarkupPercentageOnSubTotal:
        return true;
    default:
        return false;
    }
}

// The exact sum of aValue over the items of aList.
template <class TList, class F>
Currency SumOf(const TList& aList, F aValue)
{
    Currency sum;
    for (const auto& item : aList)
        sum += aValue(*item);
    return sum;
}

}

kReceiptTaxLine* kReceiptTaxLines::GetByTaxCode(const QString& aCode) const
{
    for (const auto& tax : *this)
        if (tax->TaxCode() == aCode)
            return tax.get();
    return nullptr;
}

Currency kReceiptTaxLines::GetTaxableAmountByTaxRate(Currency aTaxRate) const
{
    return SumOf(*this, [aTaxRate](const kReceiptTaxLine& aTax) {
        return aTax.TaxRate() == aTaxRate ? aTax.TaxableAmount() : Currency();
    });
}

Currency kReceiptTaxLines::GetTaxAmountByTaxRate(Currency aTaxRate) const
{
    return SumOf(*this, [aTaxRate](const kReceiptTaxLine& aTax) {
        return aTax.TaxRate() == aTaxRate ? aTax.TaxAmount() : Currency();
    });
}

Currency kReceiptTaxLines::Amount() const
{
    return SumOf(*this, [](const kReceiptTaxLine& aTax) { return aTax.TaxAmount(); });
}

Currency kReceiptPaymentLines::TotalAmount() const
{
    return SumOf(*this, [](const kReceiptPaymentLine& aPayment) {
        return aPayment.PaymentType() == Rpt_Change ? Currency() : aPayment.Amount();
    });
}

Currency kReceipt::GetCalculatedAmount() const
{
    return SumOf(fLines, [](const kReceiptLine& aLine) { return aLine.GetAmount(); });
}

Currency kReceipt::TotalTaxableAmount() const
{
    return SumOf(fTaxes, [](const kReceiptTaxLine& aTax) { return aTax.TaxableAmount(); });
}

Currency kReceipt::TotalTaxAmount() const
{
    return fTaxes.Amount();
}

Currency kReceipt::TotalQuantity() const
{
    return SumOf(fLines, [](const kReceiptLine& aLine) {
        const auto* product = dynamic_cast<const kReceiptLineProductSale*>(&aLine);
        return product ? product->Quantity() : Currency();
    });
}

Currency kReceipt::GetTaxRate(const QString& aTaxCode) const
{
    const kReceiptTaxLine* tax = fTaxes.GetByTaxCode(aTaxCode);
    return tax ? tax->TaxRate() : Currency();
}

Currency kReceipt::GetNetAmount(Currency aAmount, const QString& aTaxCode) const
{
    for (const auto& tax : fTaxes)
        if (tax->TaxCode() == aTaxCode && tax->TaxType() == tt_VAT)
            return Currency::MulDiv(aAmount, Currency(100), Currency(100) + tax->TaxRate());
    return aAmount;
}

void kReceipt::CalcLinesNetAmount()
{
    for (const auto& line : fLines) {
        line->fNetAmount = line->GetAmount();
        line->fNetAmountNoSubTotalDiscounts = line->fNetAmount;
        // Reset as well, so that a second call gives the same result instead of doubling it.
        line->fTotalNoSubTotalDiscounts = Currency();
    }

    Currency total;                 // running total of the lines before the current one
    kReceiptLine* lastItem = nullptr;
    for (auto x = fLines.begin(); x != fLines.end(); ++x) {
        kReceiptLine& line = **x;
        const Currency amount = line.GetAmount();
        if (lastItem && IsLineDiscount(line)) {
            lastItem->fNetAmount += amount;
            lastItem->fTotalNoSubTotalDiscounts += amount;
            lastItem->fNetAmountNoSubTotalDiscounts += amount;
        } else if (lastItem && IsSubtotalDiscount(line) && total != Currency()) {
            // Each receiver gets the difference of the cumulative shares rounded to cents, so
            // rounding never drifts; the last one takes what is left.
            const Currency ratio = amount / total;
            Currency base, spread;
            kReceiptLine* receiver = nullptr;
            for (auto y = fLines.begin(); y != x; ++y) {
                kReceiptLine& item = **y;
                if (!IsItemLine(item) || item.fNetAmount == Currency())
                    continue;
                base += item.fNetAmount;
                const Currency delta = RoundCurr2(base * ratio) - spread;
                item.fNetAmount += delta;
                spread += delta;
                receiver = &item;
            }
            if (receiver && spread != amount)
                receiver->fNetAmount += amount - spread;
        }
        total += amount;
        if (IsItemLine(line))
            lastItem = &line;
    }
    if (lastItem && total != fTotalAmount)
        lastItem->fNetAmount += fTotalAmount - total;
}
