// The codes of the receipt XML for every enumeration of the model.
#include "uTkReceipt.h"

#include "Exception.h"
#include "uTK_Base.h"

#include <optional>

namespace {

template <class E>
struct Code
{
    E Value;
    const char16_t* Text;   // as written; read in any letter case
};

// aLowered (already lower case) equals the ASCII code aText in lower case.
bool EqualsLowered(QStringView aLowered, const char16_t* aText)
{
    qsizetype i = 0;
    for (; aText[i]; ++i) {
        char16_t c = aText[i];
        if (c >= u'A' && c <= u'Z')
            c = char16_t(c - u'A' + u'a');
        if (i >= aLowered.size() || aLowered[i] != c)
            return false;
    }
    return i == aLowered.size();
}

// Codes written as the empty text are never read back.
template <class E, size_t N>
std::optional<E> Find(const Code<E> (&aTable)[N], QStringView aLowered)
{
    for (const Code<E>& code : aTable)
        if (*code.Text && EqualsLowered(aLowered, code.Text))
            return code.Value;
    return std::nullopt;
}

template <class E, size_t N>
E Decode(const Code<E> (&aTable)[N], const QString& aText, const char16_t* aMessage)
{
    const QString lowered = aText.toLower();
    if (std::optional<E> value = Find(aTable, lowered))
        return *value;
    throw Exception(FormatText(QString::fromUtf16(aMessage), {lowered}));
}

template <class E, size_t N>
QString Encode(const Code<E> (&aTable)[N], E aValue)
{
    for (const Code<E>& code : aTable)
        if (code.Value == aValue)
            return QString::fromUtf16(code.Text);
    return {};
}

const Code<tkReceiptType> kReceiptTypes[] = {
    {rt_Sale, u"Sale"},
    {rt_Refund, u"Refund"},
    {rt_Void, u"Void"},
    {rt_InvoiceSale, u"InvoiceSale"},
    {rt_InvoiceSaleFromReceipt, u"InvoiceSaleFromReceipt"},
};

const Code<tkReceiptLineType> kLineTypes[] = {
    {rlt_ProductSale, u"productsale"},
    {rlt_ProductReturn, u"productreturn"},
    {rlt_WeightedProductSale, u"weightedproductsale"},
    {rlt_VoucherSale, u"vouchersale"},
    {rlt_VoucherRedeem, u"voucherredeem"},
    {rlt_GiftCardSale, u"giftcardsale"},
    {rlt_GiftCardRedeem, u"giftcardredeem"},
    {rlt_SubTotal, u"subtotal"},
    {rlt_Text, u"text"},
    {rlt_DiscountAmount, u"discountamount"},
    {rlt_DiscountPercentage, u"discountpercentage"},
    {rlt_DiscountAmountOnSubtotal, u"discountamountonsubtotal"},
    {rlt_DiscountPercentageOnSubTotal, u"discountpercentageonsubtotal"},
    {rlt_MarkupAmount, u"markupamount"},
    {rlt_MarkupPercentage, u"markuppercentage"},
    {rlt_MarkupAmountOnSubtotal, u"markupamountonsubtotal"},
    {rlt_MarkupPercentageOnSubTotal, u"markuppercentageonsubtotal"},
    {rlt_CollectAmount, u"collectamount"},
};

const Code<tkReceiptPaymentType> kPaymentTypes[] = {
    {rpt_Cash, u"cash"},
    {rpt_Cheque, u"cheque"},
    {rpt_CreditCard, u"creditcard"},
    {rpt_DebitCard, u"debitcard"},
    {rpt_Credit, u"credit"},
    {rpt_CreditOnProducts, u"creditonproducts"},
    {rpt_CreditOnServices, u"creditonservices"},
    {Rpt_GiftCard, u"giftcard"},
    {Rpt_Voucher, u"voucher"},
    {Rpt_MealVoucher, u"mealvoucher"},
    {Rpt_NHSCard, u"nhscard"},
    {Rpt_Change, u"change"},
};

const Code<tkReceiptReferenceType> kReferenceTypes[] = {
    {rrt_OriginalReceipt, u"OriginalReceipt"},
    {rrt_EFTReceipt, u"EFTReceipt"},
    {rrt_NotAvailable, u"NotAvailable"},
    {rrt_Empties, u"Empties"},
};

const Code<tkReceiptTaxType> kTaxTypes[] = {
    {tt_VAT, u"VAT"},
    {tt_SalesTax, u"SalesTax"},
};

const Code<tkReceiptMessageLineAlignment> kAlignments[] = {
    {la_none, u""},
    {la_right, u"right"},
    {la_center, u"center"},
    {la_left, u"left"},
};

const Code<tkReceiptMessageBarcodeType> kBarcodeTypes[] = {
    {bt_EAN13, u"ean13"},
    {bt_EAN8, u"ean8"},
    {bt_CODE39, u"code39"},
    {bt_CODE128, u"code128"},
    {bt_QRCODE, u"qrcode"},
    {bt_UPCA, u"upca"},
    {bt_UPCE, u"upce"},
    {bt_Interleaved2Of5, u"interleaved2of5"},
};

const Code<tkReceiptMessageLineEffect> kEffects[] = {
    {le_bold, u"bold"},
    {le_italic, u"italic"},
    {le_underline, u"underline"},
    {le_doubleheight, u"doubleheight"},
    {le_doublewidth, u"doublewidth"},
    {le_doublesize, u"doublesize"},
    {le_invertcolors, u"invertcolors"},
    {le_condensed, u"condensed"},
};

const Code<tkReceiptMessageImageSource> kImageSources[] = {
    {is_Resource, u"resource"},
    {is_FileSystem, u"filesystem"},
};

const Code<tkEJReportType> kEJReportTypes[] = {
    {ejrt_ZReport, u"zreport"},
    {ejrt_FiscalReceipt, u"fiscalreceipt"},
    {ejrt_NonFiscalReceipt, u"nonfiscalreceipt"},
    {ejrt_Invoice, u"invoice"},
    {ejrt_CreditNote, u"creditnote"},
};

const Code<tkEJReportDestination> kEJReportDestinations[] = {
    {rd_Printer, u"printer"},
    {rd_Memory, u"memory"},
};

const Code<tkEJFilesRequestType> kEJRequestTypes[] = {
    {ej_xml, u"xml"},
};

}

tkReceiptType krptUtil::DecodeReceiptType(const QString& aText)
{
    return Decode(kReceiptTypes, aText, u"ReceiptType %s is invalid");
}

QString krptUtil::EncodeReceiptType(tkReceiptType aValue)
{
    return Encode(kReceiptTypes, aValue);
}

tkReceiptLineType krptUtil::DecodeLineType(const QString& aText)
{
    return Decode(kLineTypes, aText, u"LineType %s is invalid");
}

QString krptUtil::EncodeLineType(tkReceiptLineType aValue)
{
    return Encode(kLineTypes, aValue);
}

tkReceiptPaymentType krptUtil::DecodePaymentType(const QString& aText)
{
    return Decode(kPaymentTypes, aText, u"PaymentType %s is invalid");
}

QString krptUtil::EncodePaymentType(tkReceiptPaymentType aValue)
{
    return Encode(kPaymentTypes, aValue);
}

tkReceiptReferenceType krptUtil::DecodeReferenceType(const QString& aText)
{
    return Find(kReferenceTypes, aText.toLower()).value_or(rrt_OriginalReceipt);
}

QString krptUtil::EncodeReferenceType(tkReceiptReferenceType aValue)
{
    return Encode(kReferenceTypes, aValue);
}

tkReceiptTaxType krptUtil::DecodeTaxType(const QString& aText)
{
    return Decode(kTaxTypes, aText, u"TaxType %s is invalid");
}

QString krptUtil::EncodeTaxType(tkReceiptTaxType aValue)
{
    return Encode(kTaxTypes, aValue);
}

tkReceiptMessageLineAlignment krptUtil::DecodeAlignment(const QString& aText)
{
    return Decode(kAlignments, aText, u"Alignment %s is invalid");
}

QString krptUtil::EncodeAlignment(tkReceiptMessageLineAlignment aValue)
{
    return Encode(kAlignments, aValue);
}

tkReceiptMessageBarcodeType krptUtil::DecodeBarcodeType(const QString& aText)
{
    return Decode(kBarcodeTypes, aText, u"BarcodeType %s is invalid");
}

QString krptUtil::EncodeBarcodeType(tkReceiptMessageBarcodeType aValue)
{
    return Encode(kBarcodeTypes, aValue);
}

tkReceiptMessageLineEffect krptUtil::DecodeEffect(const QString& aText)
{
    return Decode(kEffects, aText, u"Effect %s is invalid");
}

QString krptUtil::EncodeEffect(tkReceiptMessageLineEffect aValue)
{
    return Encode(kEffects, aValue);
}

tkReceiptMessageLineEffectSet krptUtil::DecodeEffects(const QString& aText)
{
    tkReceiptMessageLineEffectSet effects;
    for (int field = 1;; ++field) {
        const QString effect = GetToken(aText, field, u',');
        if (effect.isEmpty())
            return effects;
        effects.Include(DecodeEffect(effect));
    }
}

QString krptUtil::EncodeEffects(tkReceiptMessageLineEffectSet aValue)
{
    QStringList texts;
    for (const Code<tkReceiptMessageLineEffect>& code : kEffects)
        if (aValue.Contains(code.Value))
            texts << QString::fromUtf16(code.Text);
    return texts.join(u',');
}

tkReceiptMessageImageSource krptUtil::DecodeImageSource(const QString& aText)
{
    return aText.isEmpty() ? is_FileSystem : Decode(kImageSources, aText, u"Image Source %s is invalid");
}

QString krptUtil::EncodeImageSource(tkReceiptMessageImageSource aValue)
{
    return Encode(kImageSources, aValue);
}

tkReceiptLineAttribute krptUtil::DecodeLineAttribute(const QString& aText)
{
    return aText.toLower() == u"product" ? rla_Product : rla_Service;
}

tkEJReportType krptUtil::DecodeEJReportType(const QString& aText)
{
    return Decode(kEJReportTypes, aText, u"ReportType %s is invalid");
}

tkEJReportDestination krptUtil::DecodeEJReportDestination(const QString& aText)
{
    return Decode(kEJReportDestinations, aText, u"ReportDestination %s is invalid");
}

tkEJFilesRequestType krptUtil::DecodeEJRequestType(const QString& aText)
{
    return Decode(kEJRequestTypes, aText, u"ReferenceType %s is invalid");
}
