// The receipt XML document as written.
#include "ReceiptTestSupport.h"

#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The fixture as the writer puts it: no whitespace between elements.
QString Compact(const QString& aXml)
{
    static const QRegularExpression kBetweenElements(u">\\s+<"_s);
    return QString(aXml).replace(kBetweenElements, u"><"_s).trimmed();
}

// The text of the first element named aName in a written document.
QString ElementXml(const QString& aXml, const QString& aName)
{
    const QRegularExpression element(u"<%1>.*?</%1>"_s.arg(aName));
    return element.match(aXml).captured();
}

}

TEST(ReceiptWriter, EmptyReceiptWritesEveryElement)
{
    const QString zero = u"1899-12-30T00:00:00"_s;
    const QString expected =
        u"<?xml version=\"1.0\" encoding=\"utf-8\"?><Receipt><Layout/><BusinessDate>%1</BusinessDate>"
        "<Type>Sale</Type><SubType/><ReceiptTypeDescription/><ExternalReference/><StoreCode/><StoreAddress/>"
        "<StoreZipCode/><StoreCity/><TillCode/><Number/><DateTime>%1</DateTime><ZReportNumber/>"
        "<DeviceSerialNumber/><InvoiceNumber/><InvoiceDateTime>%1</InvoiceDateTime><TotalAmount>0</TotalAmount>"
        "<TipAmount>0</TipAmount><CountryCode/><FiscalAreaCode/><CompanyCode/><CompanyTaxCode/><OperatorCode/>"
        "<ReceiptBarcode/><CurrencyCode/><CustomerCode/><CustomerCard/><CustomerBusinessName/><CustomerName/>"
        "<CustomerSurname/><CustomerAddress/><CustomerZIPCode/><CustomerCity/><CustomerProvince/>"
        "<CustomerCountry/><CustomerCountryDescription/><CustomerTaxCode/><CustomerFiscalCode/>"
        "<CustomerIdNumber/><CustomerDateOfBirth>%1</CustomerDateOfBirth><LotteryIdCode/>"
        "<ToBeInvoiced>False</ToBeInvoiced><SendByEmail>False</SendByEmail><EmailReference/><EmailRecipients/>"
        "<PrintReceipt>False</PrintReceipt><References><OriginalReceipt><ReceiptDateTime>%1</ReceiptDateTime>"
        "<ReceiptNumber/><DeviceSerialNumber/><ServerSerialNumber/><EJNumber/><EJClosingNumber/>"
        "<ExcludeFPCheck>False</ExcludeFPCheck><ReferenceType>OriginalReceipt</ReferenceType><InvoiceNumber/>"
        "<InvoiceDateTime>%1</InvoiceDateTime></OriginalReceipt></References><Headers/><Lines/><Taxes/>"
        "<Payments/><TrailerMessages/><LeaderLines/></Receipt>"_s.arg(zero);
    EXPECT_EQ(kReceipt().Serialize(), expected);
}

TEST(ReceiptWriter, ReadAndWrittenAgainGivesTheFixture)
{
    // Every element of every line, tax, payment and message kind, read and written back unchanged.
    const QString fixture = ReceiptFixture(u"full.xml"_s);
    EXPECT_EQ(ReadReceipt(fixture)->Serialize(), Compact(fixture));
}

TEST(ReceiptWriter, LineElements)
{
    kReceipt r;
    auto product = std::make_unique<kReceiptLineProductReturn>(&r);
    product->SetQuantity(Currency(2));
    product->SetPrice(Money("4.5"));
    product->SetAmount(Currency(9));
    product->SetAttribute(rla_Service);
    r.Lines().Add(std::move(product));
    r.Lines().Add(kReceiptLineDiscountAmount::Build<kReceiptLineMarkupAmountOnSubTotal>(&r, u"M"_s, Money("0.3"),
                                                                                       u"R"_s, u"N"_s, u"I"_s));
    const QString xml = r.Serialize();
    EXPECT_EQ(ElementXml(xml, u"Lines"_s),
              u"<Lines><productreturn><Code/><Description/><Quantity>2</Quantity><UOM/><Department/><TaxCode/>"
              "<Price>4.5</Price><Amount>9</Amount><FreeOfCharge>False</FreeOfCharge><Attribute>service</Attribute>"
              "</productreturn><markupamountonsubtotal><Amount>0.3</Amount><Description>M</Description>"
              "</markupamountonsubtotal></Lines>"_s);
}

TEST(ReceiptWriter, MessageLinesWriteTheirOwnChildren)
{
    kReceipt r;
    auto text = std::make_unique<kReceiptMessageTextLine>(&r);
    text->SetValue(u"TOTALE \u20AC"_s);   // as stored, although the receipt prints plain ASCII
    text->SetAlignment(la_center);
    text->SetEffects({le_bold});
    text->SetSection(rs_trail);
    text->SetSize(3);
    r.TrailerMessages().Add(std::move(text));
    auto image = std::make_unique<kReceiptMessageImageLine>(&r);
    image->SetValue(u"logo.bmp"_s);
    image->SetAlignment(la_left);
    r.TrailerMessages().Add(std::move(image));
    r.TrailerMessages().Add(std::make_unique<kReceiptMessageLine>(&r));
    auto barcode = std::make_unique<kReceiptMessageBarcodeLine>(&r);
    barcode->SetValue(u"A&B"_s);
    barcode->SetBarcodeType(bt_Interleaved2Of5);
    barcode->SetAlignment(la_right);
    barcode->SetQRCOdeMinVersion(-2);
    r.LeaderLines().Add(std::move(barcode));

    const QString xml = r.Serialize();
    EXPECT_EQ(ElementXml(xml, u"TrailerMessages"_s),
              u"<TrailerMessages><Text><Value>TOTALE \u20AC</Value><Size>3</Size><Alignment>center</Alignment></Text>"
              "<Image><Alignment>left</Alignment></Image></TrailerMessages>"_s);
    EXPECT_EQ(ElementXml(xml, u"LeaderLines"_s),
              u"<LeaderLines><Barcode><Value>A&amp;B</Value><Type>interleaved2of5</Type><HRI>False</HRI>"
              "<QRCodeMinVersion>-2</QRCodeMinVersion></Barcode></LeaderLines>"_s);
}

TEST(ReceiptWriter, ValuesAreEscapedAndDatesLoseMilliseconds)
{
    kReceipt r;
    r.SetCustomerBusinessName(u"Silva & Filhos <Lda>"_s);
    r.SetReceiptDateTime(TDateTime::EncodeDateTime(2024, 12, 31, 23, 59, 59, 999));
    r.SetTotalAmount(Money("-12.5"));
    r.Headers() << u"Linha \"1\""_s;
    const QString xml = r.Serialize();
    EXPECT_TRUE(xml.contains(u"<CustomerBusinessName>Silva &amp; Filhos &lt;Lda&gt;</CustomerBusinessName>"_s));
    EXPECT_TRUE(xml.contains(u"<DateTime>2024-12-31T23:59:59</DateTime>"_s));
    EXPECT_TRUE(xml.contains(u"<TotalAmount>-12.5</TotalAmount>"_s));
    EXPECT_TRUE(xml.contains(u"<Headers><HeaderLine>Linha \"1\"</HeaderLine></Headers>"_s));
}
