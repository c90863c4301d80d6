// The codes of the receipt XML, both ways, and the printer text.
#include "ReceiptTestSupport.h"

#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Every value of an enumeration: its written code, and that the code reads back in any letter case.
template <class E>
void ExpectCodes(QString (*aEncode)(E), E (*aDecode)(const QString&), std::initializer_list<const char*> aTexts)
{
    int ordinal = 0;
    for (const char* text : aTexts) {
        const E value = E(ordinal++);
        EXPECT_EQ(aEncode(value), QString::fromLatin1(text)) << "ordinal " << int(value);
        if (*text) {
            EXPECT_EQ(aDecode(QString::fromLatin1(text).toUpper()), value) << text;
            EXPECT_EQ(aDecode(QString::fromLatin1(text).toLower()), value) << text;
        }
    }
}

}

TEST(ReceiptCodes, EveryValueHasItsCodeAndReadsBackInAnyCase)
{
    using U = krptUtil;
    ExpectCodes(U::EncodeReceiptType, U::DecodeReceiptType,
                {"Sale", "Refund", "Void", "InvoiceSale", "InvoiceSaleFromReceipt"});
    ExpectCodes(U::EncodeLineType, U::DecodeLineType,
                {"productsale", "productreturn", "weightedproductsale", "vouchersale", "voucherredeem",
                 "giftcardsale", "giftcardredeem", "subtotal", "text", "discountamount", "discountpercentage",
                 "discountamountonsubtotal", "discountpercentageonsubtotal", "markupamount", "markuppercentage",
                 "markupamountonsubtotal", "markuppercentageonsubtotal", "collectamount"});
    ExpectCodes(U::EncodePaymentType, U::DecodePaymentType,
                {"cash", "cheque", "creditcard", "debitcard", "credit", "creditonproducts", "creditonservices",
                 "giftcard", "voucher", "mealvoucher", "nhscard", "change"});
    ExpectCodes(U::EncodeReferenceType, U::DecodeReferenceType,
                {"OriginalReceipt", "EFTReceipt", "NotAvailable", "Empties"});
    ExpectCodes(U::EncodeTaxType, U::DecodeTaxType, {"VAT", "SalesTax"});
    ExpectCodes(U::EncodeAlignment, U::DecodeAlignment, {"", "right", "center", "left"});
    ExpectCodes(U::EncodeBarcodeType, U::DecodeBarcodeType,
                {"ean13", "ean8", "code39", "code128", "qrcode", "upca", "upce", "interleaved2of5"});
    ExpectCodes(U::EncodeEffect, U::DecodeEffect,
                {"bold", "italic", "underline", "doubleheight", "doublewidth", "doublesize", "invertcolors",
                 "condensed"});
    ExpectCodes(U::EncodeImageSource, U::DecodeImageSource, {"resource", "filesystem"});
}

TEST(ReceiptCodes, DecodersWithoutEncoder)
{
    using U = krptUtil;
    EXPECT_EQ(U::DecodeLineAttribute(u"PRODUCT"_s), rla_Product);
    for (const char* text : {"0", "", "service", "products"})
        EXPECT_EQ(U::DecodeLineAttribute(QString::fromLatin1(text)), rla_Service) << text;
    EXPECT_EQ(U::DecodeEJReportType(u"ZReport"_s), ejrt_ZReport);
    EXPECT_EQ(U::DecodeEJReportType(u"nonfiscalreceipt"_s), ejrt_NonFiscalReceipt);
    EXPECT_EQ(U::DecodeEJReportType(u"invoice"_s), ejrt_Invoice);
    EXPECT_EQ(U::DecodeEJReportType(u"CreditNote"_s), ejrt_CreditNote);
    EXPECT_EQ(U::DecodeEJReportDestination(u"Memory"_s), rd_Memory);
    EXPECT_EQ(U::DecodeEJRequestType(u"XML"_s), ej_xml);
}

TEST(ReceiptCodes, DefaultsOfTheLenientDecoders)
{
    for (const char* text : {"ORIGINAL", "originalreceipt", "", "eft"})
        EXPECT_EQ(krptUtil::DecodeReferenceType(QString::fromLatin1(text)), rrt_OriginalReceipt) << text;
    EXPECT_EQ(krptUtil::DecodeReferenceType(u"EMPTIES"_s), rrt_Empties);
    EXPECT_EQ(krptUtil::DecodeImageSource(QString()), is_FileSystem);
}

TEST(ReceiptCodes, UnknownCodesFailWithTheLoweredInput)
{
    using U = krptUtil;
    struct Case { std::function<void(const QString&)> decode; const char* input; const char* message; };
    const Case cases[] = {
        {U::DecodeReceiptType, "Sales", "ReceiptType sales is invalid"},
        {U::DecodeReceiptType, "", "ReceiptType  is invalid"},
        {U::DecodeLineType, "Sale", "LineType sale is invalid"},
        {U::DecodePaymentType, "CARD", "PaymentType card is invalid"},
        {U::DecodeTaxType, "IVA", "TaxType iva is invalid"},
        {U::DecodeAlignment, "", "Alignment  is invalid"},
        {U::DecodeAlignment, "Middle", "Alignment middle is invalid"},
        {U::DecodeBarcodeType, "EAN-13", "BarcodeType ean-13 is invalid"},
        {U::DecodeEffect, "Blink", "Effect blink is invalid"},
        {U::DecodeImageSource, "URL", "Image Source url is invalid"},
        {U::DecodeEJReportType, "X", "ReportType x is invalid"},
        {U::DecodeEJReportDestination, "Screen", "ReportDestination screen is invalid"},
        {U::DecodeEJRequestType, "Json", "ReferenceType json is invalid"},
        {U::DecodeReceiptType, "50% Sale", "ReceiptType 50% sale is invalid"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorOf([&] { c.decode(QString::fromLatin1(c.input)); }), QString::fromLatin1(c.message));
}

TEST(ReceiptCodes, EffectSets)
{
    using U = krptUtil;
    EXPECT_EQ(U::DecodeEffects(u"bold,underline"_s), (tkReceiptMessageLineEffectSet{le_bold, le_underline}));
    EXPECT_EQ(U::DecodeEffects(u"Italic,,condensed"_s), tkReceiptMessageLineEffectSet{le_italic});
    EXPECT_EQ(U::DecodeEffects(QString()), tkReceiptMessageLineEffectSet());
    EXPECT_EQ(ErrorOf([] { U::DecodeEffects(u"bold, underline"_s); }), u"Effect  underline is invalid"_s);

    EXPECT_EQ(U::EncodeEffects({le_underline, le_bold}), u"bold,underline"_s);
    EXPECT_EQ(U::EncodeEffects({}), QString());
    const tkReceiptMessageLineEffectSet all{le_condensed, le_invertcolors, le_doublesize, le_doublewidth,
                                            le_doubleheight, le_underline, le_italic, le_bold};
    EXPECT_EQ(U::DecodeEffects(U::EncodeEffects(all)), all);
}

TEST(ReceiptCodes, NormalizeTextKeepsPlainAsciiAndTheLength)
{
    struct Case { const char16_t* input; const char16_t* output; };
    const Case cases[] = {
        {u"TOTALE \u20AC", u"TOT. E"},
        {u"Fa\u00E7a \u00FAltimo", u"Fa a  ltimo"},   // small letters are not transliterated
        {u"\u00C0\u00D9\u00C8\u00C9\u00D2\u00D6\u00C7\u00CF\u00CC", u"AUEEOOCII"},
        {u"TOTAL\u00C8", u"TOT."},                     // accents go before TOTALE is shortened
        {u"totale", u"totale"},
        {u"a\tb\r\n\u007F\u0080", u"a b  \u007F "},
        {u"\U0001F600", u"  "},                         // two UTF-16 units, two spaces
    };
    for (const Case& c : cases)
        EXPECT_EQ(krptUtil::NormalizeText(QString::fromUtf16(c.input)), QString::fromUtf16(c.output));
}
