// What the readers accept, their defaults and their errors.
#include "ReceiptTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

QString ReadError(const QString& aXml)
{
    return ErrorOf([&] { ReadReceipt(aXml); });
}

TDateTime At(int aYear, int aMonth, int aDay, int aHour = 0, int aMinute = 0, int aSecond = 0, int aMSec = 0)
{
    return TDateTime::EncodeDateTime(aYear, aMonth, aDay, aHour, aMinute, aSecond, aMSec);
}

}

TEST(ReceiptReader, ReceiptAsRootOrUnderAnEnvelope)
{
    QString fixture = ReceiptFixture(u"full.xml"_s);
    const QString asRoot = ReadReceipt(fixture)->Serialize();
    fixture.remove(u"<?xml version=\"1.0\" encoding=\"utf-8\"?>"_s);
    EXPECT_EQ(ReadReceipt(u"<Envelope><Header/>"_s + fixture + u"</Envelope>"_s)->Serialize(), asRoot);

    for (const char* xml : {"<Other/>", "<Other><Inner><Receipt/></Inner></Other>", "<receipt/>"})
        EXPECT_EQ(ReadError(QString::fromLatin1(xml)), u"Receipt node not found"_s) << xml;
}

TEST(ReceiptReader, RequiredElements)
{
    struct Case { const char* xml; const char* message; };
    const Case cases[] = {
        {"<Receipt><Lines/><Taxes/><Payments/></Receipt>", "ReceiptType  is invalid"},
        {"<Receipt><Type>Sale</Type><Taxes/><Payments/></Receipt>", "Unable to find Lines node "},
        {"<Receipt><Type>Sale</Type><Lines/><Payments/></Receipt>", "Unable to find Taxes node "},
        {"<Receipt><Type>Sale</Type><Lines/><Taxes/></Receipt>", "Unable to find Payments node "},
        {"<Receipt><Type>Sales</Type><Lines/><Taxes/><Payments/></Receipt>", "ReceiptType sales is invalid"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadError(QString::fromLatin1(c.xml)), QString::fromLatin1(c.message)) << c.xml;

    const auto empty = ReadReceipt(ReceiptXml(QString()));
    EXPECT_EQ(empty->Lines().Count() + empty->Taxes().Count() + empty->PaymentLines().Count(), 0);
}

TEST(ReceiptReader, DefaultsOfMissingElements)
{
    const auto r = ReadReceipt(ReceiptXml(u"<DateTime>2024-05-06T07:08:09.010</DateTime>"_s));
    EXPECT_EQ(r->Layout(), u"DocumentLayout"_s);
    EXPECT_TRUE(r->DefaultLayout());
    EXPECT_EQ(r->BusinessDate(), At(2024, 5, 6, 7, 8, 9, 10));   // taken from DateTime, time included
    EXPECT_EQ(r->ReceiptDateTime(), At(2024, 5, 6, 7, 8, 9, 10));
    EXPECT_EQ(r->InvoiceDateTime(), TDateTime());
    EXPECT_TRUE(r->PrintReceipt());
    EXPECT_FALSE(r->ToBeInvoiced());
    EXPECT_EQ(r->OriginalReceipt().ReferenceType, rrt_OriginalReceipt);
    EXPECT_TRUE(r->OriginalReceipt().ReceiptNumber.isEmpty());
    EXPECT_TRUE(r->Headers().isEmpty());

    const auto emptyLayout = ReadReceipt(ReceiptXml(u"<Layout/><BusinessDate>2024-05-06T00:00:00</BusinessDate>"_s));
    EXPECT_EQ(emptyLayout->Layout(), u"DocumentLayout"_s);
    EXPECT_TRUE(emptyLayout->DefaultLayout());
    EXPECT_EQ(emptyLayout->BusinessDate(), At(2024, 5, 6));
    EXPECT_FALSE(ReadReceipt(ReceiptXml(u"<Layout>L</Layout>"_s))->DefaultLayout());

    const auto unknownReference = ReadReceipt(
        ReceiptXml(u"<References><OriginalReceipt><ReferenceType>Other</ReferenceType></OriginalReceipt></References>"_s));
    EXPECT_EQ(unknownReference->OriginalReceipt().ReferenceType, rrt_OriginalReceipt);
}

TEST(ReceiptReader, CustomerZipCodeFallsBackToTheOtherSpelling)
{
    struct Case { const char* elements; const char* zipCode; };
    const Case cases[] = {
        {"<CustomerZIPCode>1000-001</CustomerZIPCode><CustomerZipCode>2000-002</CustomerZipCode>", "1000-001"},
        {"<CustomerZIPCode/><CustomerZipCode>2000-002</CustomerZipCode>", "2000-002"},
        {"<CustomerZipCode>2000-002</CustomerZipCode>", "2000-002"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadReceipt(ReceiptXml(QString::fromLatin1(c.elements)))->CustomerZipCode(),
                  QString::fromLatin1(c.zipCode))
            << c.elements;
}

TEST(ReceiptReader, ValueErrorsNameTheElement)
{
    EXPECT_EQ(ReadError(ReceiptXml(u"<InvoiceDateTime/>"_s)),
              u"Error in processing node InvoiceDateTime as datetime.\r\nDateTime Format invalid: []"_s);
    EXPECT_EQ(ReadError(ReceiptXml(u"<TotalAmount>1.2.3</TotalAmount>"_s)),
              u"Error in processing node TotalAmount as currency.\r\n'1.2.3' is not a valid floating point value"_s);
    EXPECT_EQ(ReadError(ReceiptXml(u"<PrintReceipt>maybe</PrintReceipt>"_s)),
              u"Error in processing node PrintReceipt as boolean.\r\n'maybe' is not a valid boolean value"_s);
    // Without BusinessDate the business date is read from DateTime, under that name.
    EXPECT_EQ(ReadError(ReceiptXml(u"<DateTime>today</DateTime>"_s)),
              u"Error in processing node DateTime as datetime.\r\nDateTime Format invalid: [today]"_s);
}

TEST(ReceiptReader, LineElements)
{
    const auto r = ReadReceipt(ReceiptXml(u"<Lines><ProductSale><Amount>1</Amount></ProductSale>"
                                          "<PRODUCTRETURN><Attribute>PRODUCT</Attribute></PRODUCTRETURN>"
                                          "<giftcardredeem><Price>2</Price><FreeOfCharge>True</FreeOfCharge>"
                                          "</giftcardredeem></Lines>"_s));
    ASSERT_EQ(r->Lines().Count(), 3);
    const auto* sale = dynamic_cast<const kReceiptLineProductSale*>(r->Lines()[0]);
    ASSERT_NE(sale, nullptr);
    EXPECT_EQ(sale->LineType(), rlt_ProductSale);
    EXPECT_EQ(sale->Attribute(), rla_Service);   // no Attribute
    EXPECT_EQ(sale->Amount(), Currency(1));
    const auto* back = dynamic_cast<const kReceiptLineProductReturn*>(r->Lines()[1]);
    ASSERT_NE(back, nullptr);
    EXPECT_EQ(back->Attribute(), rla_Product);
    const auto* redeem = dynamic_cast<const kReceiptLineGiftCardRedeem*>(r->Lines()[2]);
    ASSERT_NE(redeem, nullptr);
    EXPECT_FALSE(redeem->FreeOfCharge());   // not read for redemptions
    EXPECT_EQ(redeem->Owner(), r.get());

    EXPECT_EQ(ReadError(ReceiptXml(u"<Lines><Sale/></Lines>"_s)), u"LineType sale is invalid"_s);
    EXPECT_EQ(ReadError(ReceiptXml(u"<Lines>stray<productsale/></Lines>"_s)), u"LineType #text is invalid"_s);
    EXPECT_EQ(ReadError(ReceiptXml(u"<Lines><text><Description><b/></Description></text></Lines>"_s)),
              u"Error in processing node Description as string.\r\n"
              "Element \"Description\" does not contain a single text node"_s);
}

TEST(ReceiptReader, TaxesAndPaymentsTakeOnlyTheirElements)
{
    const auto r = ReadReceipt(ReceiptXml(u"<Taxes><Note/><Tax><Type>vat</Type><Code>A</Code><Rate>23</Rate></Tax></Taxes>"
                                          "<Payments><Pay><Type>cash</Type></Pay><Payment><Type>CHANGE</Type>"
                                          "<Amount>1</Amount></Payment></Payments>"_s));
    ASSERT_EQ(r->Taxes().Count(), 1);
    EXPECT_EQ(r->Taxes()[0]->TaxRate(), Currency(23));
    EXPECT_EQ(r->Taxes()[0]->Owner(), r.get());
    ASSERT_EQ(r->PaymentLines().Count(), 1);
    EXPECT_EQ(r->PaymentLines()[0]->PaymentType(), Rpt_Change);

    EXPECT_EQ(ReadError(ReceiptXml(u"<Taxes><Tax><Code>A</Code></Tax></Taxes>"_s)), u"TaxType  is invalid"_s);
    EXPECT_EQ(ReadError(ReceiptXml(u"<Payments><Payment/></Payments>"_s)), u"PaymentType  is invalid"_s);
}

TEST(ReceiptReader, MessageLinesOfAReceipt)
{
    struct Case { const char* barcode; int32_t minVersion; bool hri; };
    const Case cases[] = {
        {"<QRCodeMinVersion>0</QRCodeMinVersion>", 1, true},
        {"<QRCodeMinVersion>1</QRCodeMinVersion>", 1, true},
        {"<QRCodeMinVersion>-7</QRCodeMinVersion>", 1, true},
        {"", 1, true},
        {"<QRCodeMinVersion>5</QRCodeMinVersion><HRI>0</HRI>", 5, false},
    };
    for (const Case& c : cases) {
        const auto r = ReadReceipt(ReceiptXml(
            u"<TrailerMessages><Barcode><Type>upca</Type>%1</Barcode></TrailerMessages>"_s.arg(QLatin1String(c.barcode))));
        ASSERT_EQ(r->TrailerMessages().Count(), 1) << c.barcode;
        const auto* barcode = dynamic_cast<const kReceiptMessageBarcodeLine*>(r->TrailerMessages()[0]);
        ASSERT_NE(barcode, nullptr);
        EXPECT_EQ(barcode->QRCOdeMinVersion(), c.minVersion) << c.barcode;
        EXPECT_EQ(barcode->HRI(), c.hri) << c.barcode;
        EXPECT_EQ(barcode->BarcodeType(), bt_UPCA);
        EXPECT_EQ(barcode->Owner(), r.get());
    }

    // Effects, the image's name and source are not part of a receipt's message lines.
    const auto r = ReadReceipt(ReceiptXml(
        u"<LeaderLines><Logo/><Text><Value>Ol\u00E1</Value><Size>2</Size><Alignment>RIGHT</Alignment>"
        "<Effects>bold</Effects></Text><Image><Alignment>left</Alignment><Value>x.bmp</Value>"
        "<Source>filesystem</Source></Image></LeaderLines>"_s));
    ASSERT_EQ(r->LeaderLines().Count(), 2);
    const auto* text = dynamic_cast<const kReceiptMessageTextLine*>(r->LeaderLines()[0]);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->Value(), u"Ol\u00E1"_s);
    EXPECT_EQ(text->Size(), 2);
    EXPECT_EQ(text->Alignment(), la_right);
    EXPECT_TRUE(text->Effects().IsEmpty());
    EXPECT_EQ(text->Section(), rs_lead);
    const auto* image = dynamic_cast<const kReceiptMessageImageLine*>(r->LeaderLines()[1]);
    ASSERT_NE(image, nullptr);
    EXPECT_EQ(image->Alignment(), la_left);
    EXPECT_EQ(image->Value(), QString());
    EXPECT_EQ(image->Source(), is_Resource);

    EXPECT_EQ(ReadError(ReceiptXml(u"<TrailerMessages><Text><Value>x</Value></Text></TrailerMessages>"_s)),
              u"Alignment  is invalid"_s);
    EXPECT_EQ(ReadError(ReceiptXml(u"<TrailerMessages><Barcode><Type>ean</Type></Barcode></TrailerMessages>"_s)),
              u"BarcodeType ean is invalid"_s);
}

TEST(ReceiptReader, HeadersUnderAnyName)
{
    const auto r = ReadReceipt(ReceiptXml(u"<Headers><HeaderLine>One</HeaderLine><Line>Two</Line><X/></Headers>"_s));
    EXPECT_EQ(r->Headers(), QStringList({u"One"_s, u"Two"_s, QString()}));
}

TEST(ReceiptReader, NonFiscalReceipt)
{
    kNFReceipt nf;
    nf.SetSupportSpecialChars(true);
    nf.Deserialize(*ParseDocument(ReceiptFixture(u"nfreceipt.xml"_s)));
    EXPECT_EQ(nf.Layout(), u"NFLayout"_s);
    EXPECT_FALSE(nf.DefaultLayout());
    EXPECT_EQ(nf.StoreCode(), u"S01"_s);
    EXPECT_EQ(nf.TillCode(), u"T02"_s);
    EXPECT_EQ(nf.ReceiptNumber(), u"NF-9"_s);
    EXPECT_EQ(nf.ReceiptDateTime(), At(2024, 3, 15, 9, 30, 0, 250));
    EXPECT_EQ(nf.CountryCode(), u"PT"_s);
    EXPECT_EQ(nf.CompanyCode(), u"C01"_s);
    EXPECT_EQ(nf.CompanyTaxCode(), u"PT500000000"_s);
    EXPECT_EQ(nf.OperatorCode(), u"OP7"_s);

    ASSERT_EQ(nf.HeaderLines().Count(), 2);
    const auto* title = dynamic_cast<const kReceiptMessageTextLine*>(nf.HeaderLines()[0]);
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->NFOwner(), &nf);
    EXPECT_EQ(title->Owner(), nullptr);
    EXPECT_EQ(title->Value(), u"Promo\u00E7\u00E3o TOTALE"_s);
    EXPECT_EQ(title->Section(), rs_lead);
    EXPECT_EQ(title->Effects(), (tkReceiptMessageLineEffectSet{le_bold, le_doublewidth}));
    const auto* logo = dynamic_cast<const kReceiptMessageImageLine*>(nf.HeaderLines()[1]);
    ASSERT_NE(logo, nullptr);
    EXPECT_EQ(logo->Value(), u"logo.bmp"_s);
    EXPECT_EQ(logo->Source(), is_Resource);

    ASSERT_EQ(nf.Lines().Count(), 2);   // the Note is skipped
    const auto* body = dynamic_cast<const kReceiptMessageTextLine*>(nf.Lines()[0]);
    ASSERT_NE(body, nullptr);
    EXPECT_EQ(body->Section(), rs_body);
    EXPECT_EQ(body->Alignment(), la_left);
    const auto* qr = dynamic_cast<const kReceiptMessageBarcodeLine*>(nf.Lines()[1]);
    ASSERT_NE(qr, nullptr);
    EXPECT_EQ(qr->Section(), rs_body);
    EXPECT_EQ(qr->BarcodeType(), bt_QRCODE);
    EXPECT_EQ(qr->QRCOdeMinVersion(), 4);
    EXPECT_TRUE(qr->HRI());

    ASSERT_EQ(nf.FooterLines().Count(), 1);
    const auto* footer = dynamic_cast<const kReceiptMessageImageLine*>(nf.FooterLines()[0]);
    ASSERT_NE(footer, nullptr);
    EXPECT_EQ(footer->Section(), rs_trail);
    EXPECT_EQ(footer->Value(), u"/srv/img/footer.png"_s);
    EXPECT_EQ(footer->Source(), is_FileSystem);   // no Source given
    EXPECT_EQ(footer->Alignment(), la_right);
}

TEST(ReceiptReader, NonFiscalReceiptDefaultsAndErrors)
{
    kNFReceipt nf;
    nf.Deserialize(*ParseDocument(u"<P><NFReceipt><Layout/></NFReceipt></P>"_s));
    EXPECT_EQ(nf.Layout(), u"DocumentLayout"_s);
    EXPECT_TRUE(nf.DefaultLayout());
    EXPECT_EQ(nf.HeaderLines().Count() + nf.Lines().Count() + nf.FooterLines().Count(), 0);

    auto error = [](const char* aXml) {
        return ErrorOf([&] { kNFReceipt().Deserialize(*ParseDocument(QString::fromLatin1(aXml))); });
    };
    EXPECT_EQ(error("<NFReceipt><Layout/></NFReceipt>"), u"NFReceipt node not found"_s);
    EXPECT_EQ(error("<P><X><NFReceipt/></X></P>"), u"NFReceipt node not found"_s);
    EXPECT_EQ(error("<P><NFReceipt><Lines><Text><Alignment>left</Alignment><Effects>bold, italic</Effects>"
                    "</Text></Lines></NFReceipt></P>"),
              u"Effect  italic is invalid"_s);
    EXPECT_EQ(error("<P><NFReceipt><Lines><Image><Alignment>left</Alignment><Source>web</Source></Image>"
                    "</Lines></NFReceipt></P>"),
              u"Image Source web is invalid"_s);
}
