// The line classes: amounts, factories and the printer rule for their texts; the tax line factory.
#include "uTkReceipt.h"

QString kReceiptLine::ForPrinter(const QString& aDescription) const
{
    return (fOwner && fOwner->SupportSpecialChars()) ? aDescription : krptUtil::NormalizeText(aDescription);
}

std::unique_ptr<kReceiptLineProductSale> kReceiptLineProductSale::Build(
    kReceipt* aReceipt, const QString& aCode, const QString& aDescription, Currency aQuantity, const QString& aUOM,
    const QString& aDepartment, const QString& aTaxCode, Currency aPrice, Currency aAmount,
    const QString& aAdditionalInfo, const QString& aVoucherCode)
{
    auto line = std::make_unique<kReceiptLineProductSale>(aReceipt);
    line->fCode = aCode;
    line->fDescription = aDescription;
    line->fQuantity = aQuantity;
    line->fUOM = aUOM;
    line->fDepartment = aDepartment;
    line->fTaxCode = aTaxCode;
    line->fPrice = aPrice;
    line->fAmount = aAmount;
    line->fVoucherCode = aVoucherCode;
    line->SetAdditionalInfo(aAdditionalInfo);
    return line;
}

void kReceiptLineGiftCardSale::Assign(const QString& aCode, const QString& aDescription, const QString& aDepartment,
                                      const QString& aTaxCode, Currency aPrice, const QString& aAdditionalInfo)
{
    SetCode(aCode);
    SetDescription(aDescription);
    SetDepartment(aDepartment);
    SetTaxCode(aTaxCode);
    SetPrice(aPrice);
    SetAdditionalInfo(aAdditionalInfo);
}

std::unique_ptr<kReceiptLineGiftCardSale> kReceiptLineGiftCardSale::Build(kReceipt* aReceipt, const QString& aCode,
                                                                          const QString& aDescription,
                                                                          const QString& aDepartment,
                                                                          const QString& aTaxCode, Currency aPrice,
                                                                          const QString& aAdditionalInfo)
{
    auto line = std::make_unique<kReceiptLineGiftCardSale>(aReceipt);
    line->Assign(aCode, aDescription, aDepartment, aTaxCode, aPrice, aAdditionalInfo);
    return line;
}

std::unique_ptr<kReceiptLineGiftCardRedeem> kReceiptLineGiftCardRedeem::Build(
    kReceipt* aReceipt, const QString& aCode, const QString& aDescription, const QString& aDepartment,
    const QString& aTaxCode, Currency aPrice, const QString& aTaxMode, const QString& aAdditionalInfo)
{
    auto line = std::make_unique<kReceiptLineGiftCardRedeem>(aReceipt);
    line->Assign(aCode, aDescription, aDepartment, aTaxCode, aPrice, aAdditionalInfo);
    line->SetTaxMode(aTaxMode);
    return line;
}

std::unique_ptr<kReceiptTaxLine> kReceiptTaxLine::Build(kReceipt* aReceipt, tkReceiptTaxType aTaxType,
                                                        const QString& aTaxCode, const QString& aTaxDescription,
                                                        Currency aTaxRate, Currency aTaxableAmount,
                                                        Currency aTaxAmount, Currency aTotalAmount)
{
    auto tax = std::make_unique<kReceiptTaxLine>(aReceipt);
    tax->fTaxType = aTaxType;
    tax->fTaxCode = aTaxCode;
    tax->fTaxDescription = aTaxDescription;
    tax->fTaxRate = aTaxRate;
    tax->fTaxableAmount = aTaxableAmount;
    tax->fTaxAmount = aTaxAmount;
    tax->fTotalAmount = aTotalAmount;
    return tax;
}

void kReceiptLineDiscount::Assign(const QString& aDescription, Currency aAmount, const QString& aReasonCode,
                                  const QString& aReasonNote, const QString& aAdditionalInfo)
{
    fDescription = aDescription;
    fAmount = aAmount;
    fReasonCode = aReasonCode;
    fReasonNote = aReasonNote;
    SetAdditionalInfo(aAdditionalInfo);
}

QString kReceiptMessageTextLine::Value() const
{
    bool asStored = (Owner() && Owner()->SupportSpecialChars()) || (NFOwner() && NFOwner()->SupportSpecialChars());
    return asStored ? StoredValue() : krptUtil::NormalizeText(StoredValue());
}
