#pragma once

// The receipt model: one registered sales document as the point-of-sale side records it, with its
// lines, tax summary, payments and print-only messages; its XML form (the exchange format of the
// whole system) through kReceipt::Serialize and the two Deserialize; and krptUtil, the codes and
// node readers shared by the writer and the readers.
//
// Amounts on lines are tax-inclusive magnitudes: returns, redemptions and discounts are stored
// positive and GetAmount applies the sign.

#include "Currency.h"
#include "TDateTime.h"

#include <QString>
#include <QStringList>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <pugixml.hpp>
#include <type_traits>
#include <vector>

class kNFReceipt;
class kReceipt;
class kReceiptXml;

enum tkReceiptType : uint8_t { rt_Sale, rt_Refund, rt_Void, rt_InvoiceSale, rt_InvoiceSaleFromReceipt };

enum tkReceiptLineType : uint8_t {
    rlt_ProductSale,
    rlt_ProductReturn,
    rlt_WeightedProductSale,
    rlt_VoucherSale,
    rlt_VoucherRedeem,
    rlt_GiftCardSale,
    rlt_GiftCardRedeem,
    rlt_SubTotal,
    rlt_Text,
    rlt_DiscountAmount,
    rlt_DiscountPercentage,
    rlt_DiscountAmountOnSubtotal,
    rlt_DiscountPercentageOnSubTotal,
    rlt_MarkupAmount,
    rlt_MarkupPercentage,
    rlt_MarkupAmountOnSubtotal,
    rlt_MarkupPercentageOnSubTotal,
    rlt_CollectAmount
};

enum tkReceiptPaymentType : uint8_t {
    rpt_Cash,
    rpt_Cheque,
    rpt_CreditCard,
    rpt_DebitCard,
    rpt_Credit,
    rpt_CreditOnProducts,
    rpt_CreditOnServices,
    Rpt_GiftCard,
    Rpt_Voucher,
    Rpt_MealVoucher,
    Rpt_NHSCard,
    Rpt_Change
};

enum tkReceiptReferenceType : uint8_t { rrt_OriginalReceipt, rrt_EFTReceipt, rrt_NotAvailable, rrt_Empties };
enum tkReceiptTaxType : uint8_t { tt_VAT, tt_SalesTax };
enum tkReceiptSection : uint8_t { rs_lead, rs_body, rs_trail };
enum tkReceiptMessageLineAlignment : uint8_t { la_none, la_right, la_center, la_left };
enum tkReceiptMessageBarcodeType : uint8_t {
    bt_EAN13,
    bt_EAN8,
    bt_CODE39,
    bt_CODE128,
    bt_QRCODE,
    bt_UPCA,
    bt_UPCE,
    bt_Interleaved2Of5
};
enum tkReceiptMessageLineEffect : uint8_t {
    le_bold,
    le_italic,
    le_underline,
    le_doubleheight,
    le_doublewidth,
    le_doublesize,
    le_invertcolors,
    le_condensed
};
enum tkReceiptMessageImageSource : uint8_t { is_Resource, is_FileSystem };
enum tkReceiptLineAttribute : uint8_t { rla_Product, rla_Service };
// Requests for reports of the fiscal device's electronic journal; only decoded here.
enum tkEJReportType : uint8_t { ejrt_ZReport, ejrt_FiscalReceipt, ejrt_NonFiscalReceipt, ejrt_CreditNote, ejrt_Invoice };
enum tkEJReportDestination : uint8_t { rd_Printer, rd_Memory };
enum tkEJFilesRequestType : uint8_t { ej_xml };

// A set of print effects in one byte, bit n standing for the effect of ordinal n.
class tkReceiptMessageLineEffectSet
{
public:
    constexpr tkReceiptMessageLineEffectSet() = default;
    constexpr tkReceiptMessageLineEffectSet(std::initializer_list<tkReceiptMessageLineEffect> aEffects)
    {
        for (tkReceiptMessageLineEffect e : aEffects)
            Include(e);
    }
    constexpr bool Contains(tkReceiptMessageLineEffect aEffect) const { return fBits & Bit(aEffect); }
    constexpr void Include(tkReceiptMessageLineEffect aEffect) { fBits = uint8_t(fBits | Bit(aEffect)); }
    constexpr bool IsEmpty() const { return fBits == 0; }
    constexpr bool operator==(const tkReceiptMessageLineEffectSet&) const = default;

private:
    static constexpr uint8_t Bit(tkReceiptMessageLineEffect aEffect) { return uint8_t(1u << aEffect); }
    uint8_t fBits = 0;
};

// The earlier document that a refund, void or invoice refers to. ExternalReference is held but
// not part of the XML form.
struct tkOriginalReceipt
{
    TDateTime ReceiptDateTime;
    QString ReceiptNumber;
    QString DeviceSerialNumber;
    QString ServerSerialNumber;
    QString EJNumber;
    QString EJClosingNumber;
    bool ExcludeFPCheck = false;
    tkReceiptReferenceType ReferenceType = rrt_OriginalReceipt;
    QString ExternalReference;
    QString InvoiceNumber;
    TDateTime InvoiceDateTime;
};

// An ordered list that owns its items; items keep insertion order.
template <class T>
class kOwningList
{
public:
    template <class U>
    U* Add(std::unique_ptr<U> aItem)
    {
        U* item = aItem.get();
        fItems.push_back(std::move(aItem));
        return item;
    }
    int Count() const { return int(fItems.size()); }
    T* operator[](int aIndex) const { return fItems.at(size_t(aIndex)).get(); }
    void Clear() { fItems.clear(); }
    auto begin() const { return fItems.begin(); }
    auto end() const { return fItems.end(); }

private:
    std::vector<std::unique_ptr<T>> fItems;
};

// --- Lines of the document body.

// The base of all lines. The line type is fixed by the class, so that a line's type always tells
// its fields; the net amounts are written only by kReceipt::CalcLinesNetAmount.
class kReceiptLine
{
public:
    virtual ~kReceiptLine() = default;
    kReceiptLine(const kReceiptLine&) = delete;
    kReceiptLine& operator=(const kReceiptLine&) = delete;

    kReceipt* Owner() const { return fOwner; }
    tkReceiptLineType LineType() const { return fLineType; }
    const QString& AdditionalInfo() const { return fAdditionalInfo; }
    Currency NetAmount() const { return fNetAmount; }
    Currency NetAmountNoSubTotalDiscounts() const { return fNetAmountNoSubTotalDiscounts; }
    Currency TotalNoSubTotalDiscounts() const { return fTotalNoSubTotalDiscounts; }

    // The line's signed contribution to the document's total.
    virtual Currency GetAmount() const = 0;

protected:
    kReceiptLine(kReceipt* aOwner, tkReceiptLineType aLineType) : fOwner(aOwner), fLineType(aLineType) {}
    void SetAdditionalInfo(const QString& aValue) { fAdditionalInfo = aValue; }
    // A description as stored when the owner supports special characters, normalised otherwise.
    QString ForPrinter(const QString& aDescription) const;

private:
    friend class kReceipt;
    kReceipt* fOwner;
    tkReceiptLineType fLineType;
    QString fAdditionalInfo;
    Currency fNetAmount;
    Currency fNetAmountNoSubTotalDiscounts;
    Currency fTotalNoSubTotalDiscounts;
};

class kReceiptLineProductSale : public kReceiptLine
{
public:
    explicit kReceiptLineProductSale(kReceipt* aOwner) : kReceiptLineProductSale(aOwner, rlt_ProductSale) {}
    // A new product sale owned by aReceipt, not yet added to its lines.
    static std::unique_ptr<kReceiptLineProductSale> Build(kReceipt* aReceipt, const QString& aCode,
                                                          const QString& aDescription, Currency aQuantity,
                                                          const QString& aUOM, const QString& aDepartment,
                                                          const QString& aTaxCode, Currency aPrice,
                                                          Currency aAmount, const QString& aAdditionalInfo,
                                                          const QString& aVoucherCode);

    const QString& Code() const { return fCode; }
    void SetCode(const QString& aValue) { fCode = aValue; }
    QString Description() const { return ForPrinter(fDescription); }
    void SetDescription(const QString& aValue) { fDescription = aValue; }
    Currency Quantity() const { return fQuantity; }
    void SetQuantity(Currency aValue) { fQuantity = aValue; }
    const QString& UOM() const { return fUOM; }
    void SetUOM(const QString& aValue) { fUOM = aValue; }
    const QString& Department() const { return fDepartment; }
    void SetDepartment(const QString& aValue) { fDepartment = aValue; }
    const QString& TaxCode() const { return fTaxCode; }
    void SetTaxCode(const QString& aValue) { fTaxCode = aValue; }
    Currency Price() const { return fPrice; }
    void SetPrice(Currency aValue) { fPrice = aValue; }
    Currency Amount() const { return fAmount; }
    void SetAmount(Currency aValue) { fAmount = aValue; }
    bool FreeOfCharge() const { return fFreeOfCharge; }
    void SetFreeOfCharge(bool aValue) { fFreeOfCharge = aValue; }
    tkReceiptLineAttribute Attribute() const { return fAttribute; }
    void SetAttribute(tkReceiptLineAttribute aValue) { fAttribute = aValue; }
    const QString& VoucherCode() const { return fVoucherCode; }
    void SetVoucherCode(const QString& aValue) { fVoucherCode = aValue; }

    Currency GetAmount() const override { return fFreeOfCharge ? Currency() : fAmount; }

protected:
    kReceiptLineProductSale(kReceipt* aOwner, tkReceiptLineType aLineType) : kReceiptLine(aOwner, aLineType) {}

private:
    friend class kReceiptXml;
    QString fCode;
    QString fDescription;
    Currency fQuantity;
    QString fUOM;
    QString fDepartment;
    QString fTaxCode;
    Currency fPrice;
    Currency fAmount;
    bool fFreeOfCharge = false;
    tkReceiptLineAttribute fAttribute = rla_Product;
    QString fVoucherCode;
};

class kReceiptLineProductReturn : public kReceiptLineProductSale
{
public:
    explicit kReceiptLineProductReturn(kReceipt* aOwner) : kReceiptLineProductSale(aOwner, rlt_ProductReturn) {}
    Currency GetAmount() const override { return -kReceiptLineProductSale::GetAmount(); }
};

class kReceiptLineWeightedProductSale : public kReceiptLineProductSale
{
public:
    explicit kReceiptLineWeightedProductSale(kReceipt* aOwner)
        : kReceiptLineProductSale(aOwner, rlt_WeightedProductSale)
    {
    }
    Currency Tare() const { return fTare; }

private:
    friend class kReceiptXml;
    Currency fTare;
};

class kReceiptLineCollectAmount : public kReceiptLine
{
public:
    explicit kReceiptLineCollectAmount(kReceipt* aOwner) : kReceiptLine(aOwner, rlt_CollectAmount) {}
    QString Description() const { return ForPrinter(fDescription); }
    const QString& Department() const { return fDepartment; }
    const QString& TaxCode() const { return fTaxCode; }
    Currency Amount() const { return fAmount; }
    Currency GetAmount() const override { return fAmount; }

private:
    friend class kReceiptXml;
    QString fDescription;
    QString fDepartment;
    QString fTaxCode;
    Currency fAmount;
};

// What vouchers and gift cards have in common: a coded card of a price, sold or redeemed, charged
// or given free.
class kReceiptLineCard : public kReceiptLine
{
public:
    const QString& Code() const { return fCode; }
    QString Description() const { return ForPrinter(fDescription); }
    Currency Price() const { return fPrice; }
    const QString& Department() const { return fDepartment; }
    const QString& TaxCode() const { return fTaxCode; }
    bool FreeOfCharge() const { return fFreeOfCharge; }
    void SetFreeOfCharge(bool aValue) { fFreeOfCharge = aValue; }
    Currency GetAmount() const override { return fFreeOfCharge ? Currency() : fPrice; }

protected:
    using kReceiptLine::kReceiptLine;
    void SetCode(const QString& aValue) { fCode = aValue; }
    void SetDescription(const QString& aValue) { fDescription = aValue; }
    void SetPrice(Currency aValue) { fPrice = aValue; }
    void SetDepartment(const QString& aValue) { fDepartment = aValue; }
    void SetTaxCode(const QString& aValue) { fTaxCode = aValue; }

private:
    friend class kReceiptXml;
    QString fCode;
    QString fDescription;
    Currency fPrice;
    QString fDepartment;
    QString fTaxCode;
    bool fFreeOfCharge = false;
};

// Only the reader fills a voucher line; FreeOfCharge is its one writable property.
class kReceiptLineVoucherSale : public kReceiptLineCard
{
public:
    explicit kReceiptLineVoucherSale(kReceipt* aOwner) : kReceiptLineCard(aOwner, rlt_VoucherSale) {}

protected:
    using kReceiptLineCard::kReceiptLineCard;
};

class kReceiptLineVoucherRedeem : public kReceiptLineVoucherSale
{
public:
    explicit kReceiptLineVoucherRedeem(kReceipt* aOwner) : kReceiptLineVoucherSale(aOwner, rlt_VoucherRedeem) {}
    Currency GetAmount() const override { return -kReceiptLineCard::GetAmount(); }
};

class kReceiptLineGiftCardSale : public kReceiptLineCard
{
public:
    explicit kReceiptLineGiftCardSale(kReceipt* aOwner) : kReceiptLineCard(aOwner, rlt_GiftCardSale) {}
    // A new gift card sale owned by aReceipt, not yet added to its lines.
    static std::unique_ptr<kReceiptLineGiftCardSale> Build(kReceipt* aReceipt, const QString& aCode,
                                                           const QString& aDescription,
                                                           const QString& aDepartment, const QString& aTaxCode,
                                                           Currency aPrice, const QString& aAdditionalInfo);

    using kReceiptLineCard::SetCode;
    using kReceiptLineCard::SetDescription;
    using kReceiptLineCard::SetPrice;
    using kReceiptLineCard::SetDepartment;
    using kReceiptLineCard::SetTaxCode;
    const QString& TaxMode() const { return fTaxMode; }
    void SetTaxMode(const QString& aValue) { fTaxMode = aValue; }

protected:
    using kReceiptLineCard::kReceiptLineCard;
    void Assign(const QString& aCode, const QString& aDescription, const QString& aDepartment,
                const QString& aTaxCode, Currency aPrice, const QString& aAdditionalInfo);

private:
    QString fTaxMode;
};

class kReceiptLineGiftCardRedeem : public kReceiptLineGiftCardSale
{
public:
    explicit kReceiptLineGiftCardRedeem(kReceipt* aOwner) : kReceiptLineGiftCardSale(aOwner, rlt_GiftCardRedeem) {}
    // A new gift card redemption owned by aReceipt, not yet added to its lines.
    static std::unique_ptr<kReceiptLineGiftCardRedeem> Build(kReceipt* aReceipt, const QString& aCode,
                                                             const QString& aDescription,
                                                             const QString& aDepartment, const QString& aTaxCode,
                                                             Currency aPrice, const QString& aTaxMode,
                                                             const QString& aAdditionalInfo);
    Currency GetAmount() const override { return -kReceiptLineCard::GetAmount(); }
};

class kReceiptLineSubtotal : public kReceiptLine
{
public:
    explicit kReceiptLineSubtotal(kReceipt* aOwner) : kReceiptLine(aOwner, rlt_SubTotal) {}
    Currency Amount() const { return fAmount; }
    void SetAmount(Currency aValue) { fAmount = aValue; }
    Currency GetAmount() const override { return Currency(); }

private:
    Currency fAmount;
};

class kReceiptLineText : public kReceiptLine
{
public:
    explicit kReceiptLineText(kReceipt* aOwner) : kReceiptLine(aOwner, rlt_Text) {}
    QString Description() const { return ForPrinter(fDescription); }
    void SetDescription(const QString& aValue) { fDescription = aValue; }
    Currency GetAmount() const override { return Currency(); }

private:
    friend class kReceiptXml;
    QString fDescription;
};

// What discounts and markups have in common. A markup counts as a discount of the opposite sign;
// the producer has worked out Amount, and only Amount counts.
class kReceiptLineDiscount : public kReceiptLine
{
public:
    QString Description() const { return ForPrinter(fDescription); }
    Currency Amount() const { return fAmount; }
    const QString& ReasonCode() const { return fReasonCode; }
    const QString& ReasonNote() const { return fReasonNote; }
    Currency GetAmount() const override { return -fAmount; }

protected:
    using kReceiptLine::kReceiptLine;
    // The values given to a Build factory.
    void Assign(const QString& aDescription, Currency aAmount, const QString& aReasonCode, const QString& aReasonNote,
                const QString& aAdditionalInfo);

private:
    friend class kReceiptXml;
    QString fDescription;
    Currency fAmount;
    QString fReasonCode;
    QString fReasonNote;
};

// A discount of an amount on the item line before it; markups and subtotal discounts derive from it.
class kReceiptLineDiscountAmount : public kReceiptLineDiscount
{
public:
    explicit kReceiptLineDiscountAmount(kReceipt* aOwner) : kReceiptLineDiscount(aOwner, rlt_DiscountAmount) {}
    // A new line of class TLine (this class or one derived from it, such as a markup) owned by
    // aReceipt, not yet added to its lines.
    template <class TLine = kReceiptLineDiscountAmount>
    static std::unique_ptr<TLine> Build(kReceipt* aReceipt, const QString& aDescription, Currency aAmount,
                                        const QString& aReasonCode, const QString& aReasonNote,
                                        const QString& aAdditionalInfo)
    {
        static_assert(std::is_base_of_v<kReceiptLineDiscountAmount, TLine>);
        auto line = std::make_unique<TLine>(aReceipt);
        line->Assign(aDescription, aAmount, aReasonCode, aReasonNote, aAdditionalInfo);
        return line;
    }

protected:
    using kReceiptLineDiscount::kReceiptLineDiscount;
};

// A discount given as a percentage; Percentage is informative only.
class kReceiptLineDiscountPercentage : public kReceiptLineDiscount
{
public:
    explicit kReceiptLineDiscountPercentage(kReceipt* aOwner) : kReceiptLineDiscount(aOwner, rlt_DiscountPercentage)
    {
    }
    // A new line of class TLine (this class or one derived from it) owned by aReceipt, not yet added
    // to its lines.
    template <class TLine = kReceiptLineDiscountPercentage>
    static std::unique_ptr<TLine> Build(kReceipt* aReceipt, const QString& aDescription, Currency aPercentage,
                                        Currency aAmount, const QString& aReasonCode, const QString& aReasonNote,
                                        const QString& aAdditionalInfo)
    {
        static_assert(std::is_base_of_v<kReceiptLineDiscountPercentage, TLine>);
        auto line = std::make_unique<TLine>(aReceipt);
        line->Assign(aDescription, aAmount, aReasonCode, aReasonNote, aAdditionalInfo);
        static_cast<kReceiptLineDiscountPercentage&>(*line).fPercentage = aPercentage;
        return line;
    }

    Currency Percentage() const { return fPercentage; }

protected:
    using kReceiptLineDiscount::kReceiptLineDiscount;

private:
    friend class kReceiptXml;
    Currency fPercentage;
};

class kReceiptLineDiscountAmountOnSubTotal : public kReceiptLineDiscountAmount
{
public:
    explicit kReceiptLineDiscountAmountOnSubTotal(kReceipt* aOwner)
        : kReceiptLineDiscountAmount(aOwner, rlt_DiscountAmountOnSubtotal)
    {
    }

protected:
    using kReceiptLineDiscountAmount::kReceiptLineDiscountAmount;
};

class kReceiptLineDiscountPercentageOnSubTotal : public kReceiptLineDiscountPercentage
{
public:
    explicit kReceiptLineDiscountPercentageOnSubTotal(kReceipt* aOwner)
        : kReceiptLineDiscountPercentage(aOwner, rlt_DiscountPercentageOnSubTotal)
    {
    }

protected:
    using kReceiptLineDiscountPercentage::kReceiptLineDiscountPercentage;
};

class kReceiptLineMarkupAmount : public kReceiptLineDiscountAmount
{
public:
    explicit kReceiptLineMarkupAmount(kReceipt* aOwner) : kReceiptLineDiscountAmount(aOwner, rlt_MarkupAmount) {}
    Currency GetAmount() const override { return Amount(); }
};

class kReceiptLineMarkupPercentage : public kReceiptLineDiscountPercentage
{
public:
    explicit kReceiptLineMarkupPercentage(kReceipt* aOwner)
        : kReceiptLineDiscountPercentage(aOwner, rlt_MarkupPercentage)
    {
    }
    Currency GetAmount() const override { return Amount(); }
};

class kReceiptLineMarkupAmountOnSubTotal : public kReceiptLineDiscountAmountOnSubTotal
{
public:
    explicit kReceiptLineMarkupAmountOnSubTotal(kReceipt* aOwner)
        : kReceiptLineDiscountAmountOnSubTotal(aOwner, rlt_MarkupAmountOnSubtotal)
    {
    }
    Currency GetAmount() const override { return Amount(); }
};

class kReceiptLineMarkupPercentageOnSubTotal : public kReceiptLineDiscountPercentageOnSubTotal
{
public:
    explicit kReceiptLineMarkupPercentageOnSubTotal(kReceipt* aOwner)
        : kReceiptLineDiscountPercentageOnSubTotal(aOwner, rlt_MarkupPercentageOnSubTotal)
    {
    }
    Currency GetAmount() const override { return Amount(); }
};

// --- Tax summary and payments.

class kReceiptTaxLine
{
public:
    explicit kReceiptTaxLine(kReceipt* aOwner) : fOwner(aOwner) {}
    // A new tax line owned by aReceipt, not yet added to its taxes: what a till writes when it
    // records a document.
    static std::unique_ptr<kReceiptTaxLine> Build(kReceipt* aReceipt, tkReceiptTaxType aTaxType,
                                                  const QString& aTaxCode, const QString& aTaxDescription,
                                                  Currency aTaxRate, Currency aTaxableAmount, Currency aTaxAmount,
                                                  Currency aTotalAmount);
    kReceipt* Owner() const { return fOwner; }
    tkReceiptTaxType TaxType() const { return fTaxType; }
    const QString& TaxCode() const { return fTaxCode; }
    const QString& TaxDescription() const { return fTaxDescription; }
    Currency TaxRate() const { return fTaxRate; }   // a percentage such as 23
    Currency TaxableAmount() const { return fTaxableAmount; }
    Currency TaxAmount() const { return fTaxAmount; }
    Currency TotalAmount() const { return fTotalAmount; }

private:
    friend class kReceiptXml;
    kReceipt* fOwner;
    tkReceiptTaxType fTaxType = tt_VAT;
    QString fTaxCode;
    QString fTaxDescription;
    Currency fTaxRate;
    Currency fTaxableAmount;
    Currency fTaxAmount;
    Currency fTotalAmount;
};

// Inside this class the money type is spelled ::Currency, since the property Currency (the currency
// code of the payment) takes the plain name.
class kReceiptPaymentLine
{
public:
    explicit kReceiptPaymentLine(kReceipt* aOwner) : fOwner(aOwner) {}
    kReceipt* Owner() const { return fOwner; }
    tkReceiptPaymentType PaymentType() const { return fPaymentType; }
    void SetPaymentType(tkReceiptPaymentType aValue) { fPaymentType = aValue; }
    const QString& Description() const { return fDescription; }
    void SetDescription(const QString& aValue) { fDescription = aValue; }
    ::Currency Amount() const { return fAmount; }
    void SetAmount(::Currency aValue) { fAmount = aValue; }
    const QString& Currency() const { return fCurrency; }
    void SetCurrency(const QString& aValue) { fCurrency = aValue; }
    ::Currency Quantity() const { return fQuantity; }
    void SetQuantity(::Currency aValue) { fQuantity = aValue; }
    ::Currency UnitPrice() const { return fUnitPrice; }
    void SetUnitPrice(::Currency aValue) { fUnitPrice = aValue; }

private:
    kReceipt* fOwner;
    tkReceiptPaymentType fPaymentType = rpt_Cash;
    QString fDescription;
    ::Currency fAmount;
    QString fCurrency;
    ::Currency fQuantity;
    ::Currency fUnitPrice;
};

// --- Print-only message lines, before and after the document body or in a non-fiscal receipt.

// A message line has one owner: a receipt or a non-fiscal receipt; the other stays empty.
class kReceiptMessageLine
{
public:
    explicit kReceiptMessageLine(kReceipt* aOwner) : fOwner(aOwner) {}
    explicit kReceiptMessageLine(kNFReceipt* aOwner) : fNFOwner(aOwner) {}
    virtual ~kReceiptMessageLine() = default;
    kReceiptMessageLine(const kReceiptMessageLine&) = delete;
    kReceiptMessageLine& operator=(const kReceiptMessageLine&) = delete;

    kReceipt* Owner() const { return fOwner; }
    kNFReceipt* NFOwner() const { return fNFOwner; }
    tkReceiptMessageLineAlignment Alignment() const { return fAlignment; }
    void SetAlignment(tkReceiptMessageLineAlignment aValue) { fAlignment = aValue; }
    virtual QString Value() const { return fValue; }
    void SetValue(const QString& aValue) { fValue = aValue; }

protected:
    const QString& StoredValue() const { return fValue; }

private:
    friend class kReceiptXml;
    kReceipt* fOwner = nullptr;
    kNFReceipt* fNFOwner = nullptr;
    tkReceiptMessageLineAlignment fAlignment = la_none;
    QString fValue;
};

class kReceiptMessageTextLine : public kReceiptMessageLine
{
public:
    using kReceiptMessageLine::kReceiptMessageLine;
    // As stored when the owner supports special characters, normalised otherwise.
    QString Value() const override;
    tkReceiptSection Section() const { return fSection; }
    void SetSection(tkReceiptSection aValue) { fSection = aValue; }
    int32_t Size() const { return fSize; }
    void SetSize(int32_t aValue) { fSize = aValue; }
    tkReceiptMessageLineEffectSet Effects() const { return fEffects; }
    void SetEffects(tkReceiptMessageLineEffectSet aValue) { fEffects = aValue; }

private:
    tkReceiptSection fSection = rs_lead;
    int32_t fSize = 0;
    tkReceiptMessageLineEffectSet fEffects;
};

// Value holds the data to encode.
class kReceiptMessageBarcodeLine : public kReceiptMessageLine
{
public:
    using kReceiptMessageLine::kReceiptMessageLine;
    tkReceiptSection Section() const { return fSection; }
    tkReceiptMessageBarcodeType BarcodeType() const { return fBarcodeType; }
    void SetBarcodeType(tkReceiptMessageBarcodeType aValue) { fBarcodeType = aValue; }
    bool HRI() const { return fHRI; }   // print the human-readable text under the code
    void SetHRI(bool aValue) { fHRI = aValue; }
    int32_t QRCOdeMinVersion() const { return fQRCodeMinVersion; }
    void SetQRCOdeMinVersion(int32_t aValue) { fQRCodeMinVersion = aValue; }

private:
    friend class kReceiptXml;
    tkReceiptSection fSection = rs_lead;
    tkReceiptMessageBarcodeType fBarcodeType = bt_EAN13;
    bool fHRI = false;
    int32_t fQRCodeMinVersion = 0;
};

// Value holds the image's name: a resource name or a file path according to Source.
class kReceiptMessageImageLine : public kReceiptMessageLine
{
public:
    using kReceiptMessageLine::kReceiptMessageLine;
    tkReceiptSection Section() const { return fSection; }
    tkReceiptMessageImageSource Source() const { return fSource; }
    void SetSource(tkReceiptMessageImageSource aValue) { fSource = aValue; }

private:
    friend class kReceiptXml;
    tkReceiptSection fSection = rs_lead;
    tkReceiptMessageImageSource fSource = is_Resource;
};

// --- The owning lists.

class kReceiptLines : public kOwningList<kReceiptLine>
{
};

class kReceiptTaxLines : public kOwningList<kReceiptTaxLine>
{
public:
    // The first tax line with exactly this code (case-sensitive); nullptr when there is none.
    kReceiptTaxLine* GetByTaxCode(const QString& aCode) const;
    // Sums over the tax lines whose rate equals aTaxRate exactly.
    Currency GetTaxableAmountByTaxRate(Currency aTaxRate) const;
    Currency GetTaxAmountByTaxRate(Currency aTaxRate) const;
    Currency Amount() const;   // sum of the tax amounts
};

class kReceiptPaymentLines : public kOwningList<kReceiptPaymentLine>
{
public:
    Currency TotalAmount() const;   // what was paid: change lines are left out
};

class kReceiptMessageLines : public kOwningList<kReceiptMessageLine>
{
};

// --- The documents.

// One fiscal sales document. It owns its lists, and they own their lines, which keep a plain
// reference to the receipt: a receipt is neither copied nor moved.
class kReceipt
{
public:
    kReceipt() = default;
    kReceipt(const kReceipt&) = delete;
    kReceipt& operator=(const kReceipt&) = delete;

    // The receipt XML document: declaration and Receipt element, no whitespace between elements.
    QString Serialize() const;
    // Reads a parsed receipt XML document (root Receipt, or Receipt under the root) into this newly
    // created receipt. On failure the receipt holds what was read so far and is to be discarded.
    void Deserialize(const pugi::xml_document& aXmlDocument);

    Currency GetCalculatedAmount() const;   // sum of the lines' amounts
    Currency GetTaxRate(const QString& aTaxCode) const;   // 0 when no tax line has the code
    // aAmount without the VAT of the tax code's VAT line; unchanged when there is none.
    Currency GetNetAmount(Currency aAmount, const QString& aTaxCode) const;
    // Spreads line-level and subtotal discounts over the item lines into their net amounts; the last
    // item line absorbs what differs from TotalAmount.
    void CalcLinesNetAmount();
    Currency TotalTaxableAmount() const;
    Currency TotalTaxAmount() const;
    Currency TotalQuantity() const;   // product lines of every kind, returns counted positive

    bool SupportSpecialChars() const { return fSupportSpecialChars; }
    void SetSupportSpecialChars(bool aValue) { fSupportSpecialChars = aValue; }
    const QString& Layout() const { return fLayout; }
    void SetLayout(const QString& aValue) { fLayout = aValue; }
    bool DefaultLayout() const { return fDefaultLayout; }
    void SetDefaultLayout(bool aValue) { fDefaultLayout = aValue; }
    TDateTime BusinessDate() const { return fBusinessDate; }
    void SetBusinessDate(TDateTime aValue) { fBusinessDate = aValue; }
    const QString& ReceiptNumber() const { return fReceiptNumber; }
    void SetReceiptNumber(const QString& aValue) { fReceiptNumber = aValue; }
    TDateTime ReceiptDateTime() const { return fReceiptDateTime; }
    void SetReceiptDateTime(TDateTime aValue) { fReceiptDateTime = aValue; }
    const QString& ReceiptZReportNumber() const { return fReceiptZReportNumber; }
    void SetReceiptZReportNumber(const QString& aValue) { fReceiptZReportNumber = aValue; }
    const QString& DeviceSerialNumber() const { return fDeviceSerialNumber; }
    void SetDeviceSerialNumber(const QString& aValue) { fDeviceSerialNumber = aValue; }
    tkReceiptType ReceiptType() const { return fReceiptType; }
    void SetReceiptType(tkReceiptType aValue) { fReceiptType = aValue; }
    const QString& ReceiptTypeDescription() const { return fReceiptTypeDescription; }
    void SetReceiptTypeDescription(const QString& aValue) { fReceiptTypeDescription = aValue; }
    const QString& ReceiptSubtype() const { return fReceiptSubType; }
    void SetReceiptSubtype(const QString& aValue) { fReceiptSubType = aValue; }
    const QString& InvoiceNumber() const { return fInvoiceNumber; }
    void SetInvoiceNumber(const QString& aValue) { fInvoiceNumber = aValue; }
    TDateTime InvoiceDateTime() const { return fInvoiceDateTime; }
    void SetInvoiceDateTime(TDateTime aValue) { fInvoiceDateTime = aValue; }
    const QString& ExternalReference() const { return fExternalReference; }
    void SetExternalReference(const QString& aValue) { fExternalReference = aValue; }
    const tkOriginalReceipt& OriginalReceipt() const { return fOriginalReceipt; }
    tkOriginalReceipt& OriginalReceipt() { return fOriginalReceipt; }
    void SetOriginalReceipt(const tkOriginalReceipt& aValue) { fOriginalReceipt = aValue; }
    const QString& CountryCode() const { return fCountryCode; }
    void SetCountryCode(const QString& aValue) { fCountryCode = aValue; }
    const QString& FiscalAreaCode() const { return fFiscalAreaCode; }
    void SetFiscalAreaCode(const QString& aValue) { fFiscalAreaCode = aValue; }
    const QString& CompanyCode() const { return fCompanyCode; }
    void SetCompanyCode(const QString& aValue) { fCompanyCode = aValue; }
    const QString& CompanyTaxCode() const { return fCompanyTaxCode; }
    void SetCompanyTaxCode(const QString& aValue) { fCompanyTaxCode = aValue; }
    const QString& StoreCode() const { return fStoreCode; }
    void SetStoreCode(const QString& aValue) { fStoreCode = aValue; }
    const QString& StoreAddress() const { return fStoreAddress; }
    void SetStoreAddress(const QString& aValue) { fStoreAddress = aValue; }
    const QString& StoreZipCode() const { return fStoreZipCode; }
    void SetStoreZipCode(const QString& aValue) { fStoreZipCode = aValue; }
    const QString& StoreCity() const { return fStoreCity; }
    void SetStoreCity(const QString& aValue) { fStoreCity = aValue; }
    const QString& TillCode() const { return fTillCode; }
    void SetTillCode(const QString& aValue) { fTillCode = aValue; }
    const QString& OperatorCode() const { return fOperatorCode; }
    void SetOperatorCode(const QString& aValue) { fOperatorCode = aValue; }
    const QString& ReceiptBarcode() const { return fReceiptBarcode; }
    void SetReceiptBarcode(const QString& aValue) { fReceiptBarcode = aValue; }
    const QString& CurrencyCode() const { return fCurrencyCode; }
    void SetCurrencyCode(const QString& aValue) { fCurrencyCode = aValue; }
    Currency TotalAmount() const { return fTotalAmount; }
    void SetTotalAmount(Currency aValue) { fTotalAmount = aValue; }
    Currency TipAmount() const { return fTipAmount; }
    void SetTipAmount(Currency aValue) { fTipAmount = aValue; }
    const QString& CustomerCode() const { return fCustomerCode; }
    void SetCustomerCode(const QString& aValue) { fCustomerCode = aValue; }
    const QString& CustomerCard() const { return fCustomerCard; }
    void SetCustomerCard(const QString& aValue) { fCustomerCard = aValue; }
    const QString& CustomerBusinessName() const { return fCustomerBusinessName; }
    void SetCustomerBusinessName(const QString& aValue) { fCustomerBusinessName = aValue; }
    const QString& CustomerName() const { return fCustomerName; }
    void SetCustomerName(const QString& aValue) { fCustomerName = aValue; }
    const QString& CustomerSurname() const { return fCustomerSurname; }
    void SetCustomerSurname(const QString& aValue) { fCustomerSurname = aValue; }
    const QString& CustomerAddress() const { return fCustomerAddress; }
    void SetCustomerAddress(const QString& aValue) { fCustomerAddress = aValue; }
    const QString& CustomerZipCode() const { return fCustomerZipCode; }
    void SetCustomerZipCode(const QString& aValue) { fCustomerZipCode = aValue; }
    const QString& CustomerCity() const { return fCustomerCity; }
    void SetCustomerCity(const QString& aValue) { fCustomerCity = aValue; }
    const QString& CustomerProvince() const { return fCustomerProvince; }
    void SetCustomerProvince(const QString& aValue) { fCustomerProvince = aValue; }
    const QString& CustomerCountry() const { return fCustomerCountry; }
    void SetCustomerCountry(const QString& aValue) { fCustomerCountry = aValue; }
    const QString& CustomerCountryDescription() const { return fCustomerCountryDescription; }
    void SetCustomerCountryDescription(const QString& aValue) { fCustomerCountryDescription = aValue; }
    TDateTime CustomerDateOfBirth() const { return fCustomerDateOfBirth; }
    void SetCustomerDateOfBirth(TDateTime aValue) { fCustomerDateOfBirth = aValue; }
    const QString& CustomerTaxCode() const { return fCustomerTaxCode; }
    void SetCustomerTaxCode(const QString& aValue) { fCustomerTaxCode = aValue; }
    const QString& CustomerFiscalCode() const { return fCustomerFiscalCode; }
    void SetCustomerFiscalCode(const QString& aValue) { fCustomerFiscalCode = aValue; }
    const QString& CustomerIdNumber() const { return fCustomerIdNumber; }
    void SetCustomerIdNumber(const QString& aValue) { fCustomerIdNumber = aValue; }
    const QString& LotteryIdCode() const { return fLotteryIdCode; }
    void SetLotteryIdCode(const QString& aValue) { fLotteryIdCode = aValue; }
    kReceiptMessageLines& LeaderLines() { return fLeaderLines; }
    const kReceiptMessageLines& LeaderLines() const { return fLeaderLines; }
    kReceiptLines& Lines() { return fLines; }
    const kReceiptLines& Lines() const { return fLines; }
    kReceiptPaymentLines& PaymentLines() { return fPayments; }
    const kReceiptPaymentLines& PaymentLines() const { return fPayments; }
    kReceiptTaxLines& Taxes() { return fTaxes; }
    const kReceiptTaxLines& Taxes() const { return fTaxes; }
    kReceiptMessageLines& TrailerMessages() { return fTrailerMessages; }
    const kReceiptMessageLines& TrailerMessages() const { return fTrailerMessages; }
    bool ToBeInvoiced() const { return fToBeInvoiced; }
    void SetToBeInvoiced(bool aValue) { fToBeInvoiced = aValue; }
    bool SendByEmail() const { return fSendByEmail; }
    void SetSendByEmail(bool aValue) { fSendByEmail = aValue; }
    const QString& EmailReference() const { return fEmailReference; }
    void SetEmailReference(const QString& aValue) { fEmailReference = aValue; }
    const QString& EmailRecipients() const { return fEmailRecipients; }
    void SetEmailRecipients(const QString& aValue) { fEmailRecipients = aValue; }
    bool PrintReceipt() const { return fPrintReceipt; }
    void SetPrintReceipt(bool aValue) { fPrintReceipt = aValue; }
    QStringList& Headers() { return fHeaders; }
    const QStringList& Headers() const { return fHeaders; }

private:
    bool fSupportSpecialChars = false;
    QString fLayout;
    bool fDefaultLayout = false;
    TDateTime fBusinessDate;
    QString fReceiptNumber;
    TDateTime fReceiptDateTime;
    QString fReceiptZReportNumber;
    QString fDeviceSerialNumber;
    tkReceiptType fReceiptType = rt_Sale;
    QString fReceiptTypeDescription;
    QString fReceiptSubType;
    QString fInvoiceNumber;
    TDateTime fInvoiceDateTime;
    QString fExternalReference;
    tkOriginalReceipt fOriginalReceipt;
    QString fCountryCode;
    QString fFiscalAreaCode;
    QString fCompanyCode;
    QString fCompanyTaxCode;
    QString fStoreCode;
    QString fStoreAddress;
    QString fStoreZipCode;
    QString fStoreCity;
    QString fTillCode;
    QString fOperatorCode;
    QString fReceiptBarcode;
    QString fCurrencyCode;
    Currency fTotalAmount;
    Currency fTipAmount;
    QString fCustomerCode;
    QString fCustomerCard;
    QString fCustomerBusinessName;
    QString fCustomerName;
    QString fCustomerSurname;
    QString fCustomerAddress;
    QString fCustomerZipCode;
    QString fCustomerCity;
    QString fCustomerProvince;
    QString fCustomerCountry;
    QString fCustomerCountryDescription;
    TDateTime fCustomerDateOfBirth;
    QString fCustomerTaxCode;
    QString fCustomerFiscalCode;
    QString fCustomerIdNumber;
    QString fLotteryIdCode;
    kReceiptMessageLines fLeaderLines;
    kReceiptLines fLines;
    kReceiptPaymentLines fPayments;
    kReceiptTaxLines fTaxes;
    kReceiptMessageLines fTrailerMessages;
    bool fToBeInvoiced = false;
    bool fSendByEmail = false;
    QString fEmailReference;
    QString fEmailRecipients;
    bool fPrintReceipt = false;
    QStringList fHeaders;
};

// A non-fiscal receipt: a print document of message lines in a header, a body and a footer.
class kNFReceipt
{
public:
    kNFReceipt() = default;
    kNFReceipt(const kNFReceipt&) = delete;
    kNFReceipt& operator=(const kNFReceipt&) = delete;

    // Reads the NFReceipt element under the root of a parsed document into this newly created
    // non-fiscal receipt.
    void Deserialize(const pugi::xml_document& aXmlDocument);

    bool SupportSpecialChars() const { return fSupportSpecialChars; }
    void SetSupportSpecialChars(bool aValue) { fSupportSpecialChars = aValue; }
    const QString& Layout() const { return fLayout; }
    void SetLayout(const QString& aValue) { fLayout = aValue; }
    bool DefaultLayout() const { return fDefaultLayout; }
    const QString& ReceiptNumber() const { return fReceiptNumber; }
    TDateTime ReceiptDateTime() const { return fReceiptDateTime; }
    const QString& CountryCode() const { return fCountryCode; }
    const QString& CompanyCode() const { return fCompanyCode; }
    const QString& CompanyTaxCode() const { return fCompanyTaxCode; }
    const QString& StoreCode() const { return fStoreCode; }
    const QString& TillCode() const { return fTillCode; }
    const QString& OperatorCode() const { return fOperatorCode; }
    const kReceiptMessageLines& HeaderLines() const { return fHeaderLines; }
    const kReceiptMessageLines& Lines() const { return fLines; }
    const kReceiptMessageLines& FooterLines() const { return fFooterLines; }

private:
    friend class kReceiptXml;
    bool fSupportSpecialChars = false;
    QString fLayout;
    bool fDefaultLayout = false;
    QString fReceiptNumber;
    TDateTime fReceiptDateTime;
    QString fCountryCode;
    QString fCompanyCode;
    QString fCompanyTaxCode;
    QString fStoreCode;
    QString fTillCode;
    QString fOperatorCode;
    kReceiptMessageLines fHeaderLines;
    kReceiptMessageLines fLines;
    kReceiptMessageLines fFooterLines;
};

// --- Codes and XML helpers of the receipt documents. Stateless; never instantiated.
//
// Decoders compare the input turned to lower case with their codes and fail with their message
// ("ReceiptType %s is invalid" ...) carrying the lowered input; encoders give the written code.
// A node helper reads the first direct child element of that exact name; element names are ASCII.
class krptUtil
{
public:
    krptUtil() = delete;

    static tkReceiptType DecodeReceiptType(const QString& aText);
    static QString EncodeReceiptType(tkReceiptType aValue);
    static tkReceiptLineType DecodeLineType(const QString& aText);
    static QString EncodeLineType(tkReceiptLineType aValue);   // also the line's element name
    static tkReceiptPaymentType DecodePaymentType(const QString& aText);
    static QString EncodePaymentType(tkReceiptPaymentType aValue);
    static tkReceiptReferenceType DecodeReferenceType(const QString& aText);   // never fails
    static QString EncodeReferenceType(tkReceiptReferenceType aValue);
    static tkReceiptTaxType DecodeTaxType(const QString& aText);
    static QString EncodeTaxType(tkReceiptTaxType aValue);
    static tkReceiptMessageLineAlignment DecodeAlignment(const QString& aText);
    static QString EncodeAlignment(tkReceiptMessageLineAlignment aValue);   // la_none: empty
    static tkReceiptMessageBarcodeType DecodeBarcodeType(const QString& aText);
    static QString EncodeBarcodeType(tkReceiptMessageBarcodeType aValue);
    static tkReceiptMessageLineEffect DecodeEffect(const QString& aText);
    static QString EncodeEffect(tkReceiptMessageLineEffect aValue);
    // Effects separated by "," without spaces; reading stops at the first empty field.
    static tkReceiptMessageLineEffectSet DecodeEffects(const QString& aText);
    static QString EncodeEffects(tkReceiptMessageLineEffectSet aValue);
    static tkReceiptMessageImageSource DecodeImageSource(const QString& aText);   // empty: file system
    static QString EncodeImageSource(tkReceiptMessageImageSource aValue);
    static tkReceiptLineAttribute DecodeLineAttribute(const QString& aText);   // never fails
    static tkEJReportType DecodeEJReportType(const QString& aText);
    static tkEJReportDestination DecodeEJReportDestination(const QString& aText);
    static tkEJFilesRequestType DecodeEJRequestType(const QString& aText);

    // Missing child: empty, aDefaultValue, 0 or date 0. An empty element is an error for flags and
    // dates and 0 for money and integers. Conversion errors carry
    // "Error in processing node <name> as <kind>.\r\n" followed by the cause.
    static QString GetNodeValueAsString(pugi::xml_node aParentNode, const char* aNodeName);
    // A number is true when not zero; otherwise True or False in any letter case.
    static bool GetNodeValueAsBoolean(pugi::xml_node aParentNode, const char* aNodeName, bool aDefaultValue);
    // Plain decimal text with "." as separator, rounded once to four decimals, halves to even.
    static Currency GetNodeValueAsCurrency(pugi::xml_node aParentNode, const char* aNodeName);
    // yyyy-mm-ddThh:nn:ss with optional .zzz.
    static TDateTime GetNodeValueAsDateTime(pugi::xml_node aParentNode, const char* aNodeName);
    static TDateTime TryGetNodeValueAsDateTime(pugi::xml_node aParentNode, const char* aNodeName);   // 0 on error
    static int32_t GetNodeValueAsInteger(pugi::xml_node aParentNode, const char* aNodeName);
    static QString GetAttributeValueAsString(pugi::xml_node aNode, const char* aAttrName);
    static bool HasNode(pugi::xml_node aParentNode, const char* aNodeName);
    // Appends an element holding aNodeValue as its text (no text node when empty).
    static pugi::xml_node AddNode(pugi::xml_node aParentNode, const char* aNodeName, const QString& aNodeValue);

    // Plain ASCII for printers: a few capitals and the euro sign lose their accents, "TOTALE"
    // becomes "TOT.", and every other character outside U+0020..U+007F becomes a space.
    static QString NormalizeText(const QString& aText);

    // Parses a stored receipt text; whitespace-only text between elements is dropped. Raises
    // "Invalid XML document: <reason> at offset <n>" when the text is not well-formed.
    static void ParseXml(const QString& aXml, pugi::xml_document& aXmlDocument);
};
