// A receipt written and read back keeps its values, except for what the XML form does not carry.
#include "ReceiptTestSupport.h"

#include <QMap>
#include <gtest/gtest.h>
#include <typeinfo>

using namespace Qt::StringLiterals;

namespace {

// Every field of a receipt and of everything it owns, one "path=value" entry each.
class Dump
{
public:
    explicit Dump(const kReceipt& r)
    {
        Add(u"Layout"_s, r.Layout());
        Add(u"DefaultLayout"_s, r.DefaultLayout());
        Add(u"BusinessDate"_s, r.BusinessDate());
        Add(u"ReceiptNumber"_s, r.ReceiptNumber());
        Add(u"ReceiptDateTime"_s, r.ReceiptDateTime());
        Add(u"ReceiptZReportNumber"_s, r.ReceiptZReportNumber());
        Add(u"DeviceSerialNumber"_s, r.DeviceSerialNumber());
        Add(u"ReceiptType"_s, r.ReceiptType());
        Add(u"ReceiptTypeDescription"_s, r.ReceiptTypeDescription());
        Add(u"ReceiptSubtype"_s, r.ReceiptSubtype());
        Add(u"InvoiceNumber"_s, r.InvoiceNumber());
        Add(u"InvoiceDateTime"_s, r.InvoiceDateTime());
        Add(u"ExternalReference"_s, r.ExternalReference());
        const tkOriginalReceipt& o = r.OriginalReceipt();
        Add(u"Original.ReceiptDateTime"_s, o.ReceiptDateTime);
        Add(u"Original.ReceiptNumber"_s, o.ReceiptNumber);
        Add(u"Original.DeviceSerialNumber"_s, o.DeviceSerialNumber);
        Add(u"Original.ServerSerialNumber"_s, o.ServerSerialNumber);
        Add(u"Original.EJNumber"_s, o.EJNumber);
        Add(u"Original.EJClosingNumber"_s, o.EJClosingNumber);
        Add(u"Original.ExcludeFPCheck"_s, o.ExcludeFPCheck);
        Add(u"Original.ReferenceType"_s, o.ReferenceType);
        Add(u"Original.ExternalReference"_s, o.ExternalReference);
        Add(u"Original.InvoiceNumber"_s, o.InvoiceNumber);
        Add(u"Original.InvoiceDateTime"_s, o.InvoiceDateTime);
        Add(u"CountryCode"_s, r.CountryCode());
        Add(u"FiscalAreaCode"_s, r.FiscalAreaCode());
        Add(u"CompanyCode"_s, r.CompanyCode());
        Add(u"CompanyTaxCode"_s, r.CompanyTaxCode());
        Add(u"StoreCode"_s, r.StoreCode());
        Add(u"StoreAddress"_s, r.StoreAddress());
        Add(u"StoreZipCode"_s, r.StoreZipCode());
        Add(u"StoreCity"_s, r.StoreCity());
        Add(u"TillCode"_s, r.TillCode());
        Add(u"OperatorCode"_s, r.OperatorCode());
        Add(u"ReceiptBarcode"_s, r.ReceiptBarcode());
        Add(u"CurrencyCode"_s, r.CurrencyCode());
        Add(u"TotalAmount"_s, r.TotalAmount());
        Add(u"TipAmount"_s, r.TipAmount());
        Add(u"CustomerCode"_s, r.CustomerCode());
        Add(u"CustomerCard"_s, r.CustomerCard());
        Add(u"CustomerBusinessName"_s, r.CustomerBusinessName());
        Add(u"CustomerName"_s, r.CustomerName());
        Add(u"CustomerSurname"_s, r.CustomerSurname());
        Add(u"CustomerAddress"_s, r.CustomerAddress());
        Add(u"CustomerZipCode"_s, r.CustomerZipCode());
        Add(u"CustomerCity"_s, r.CustomerCity());
        Add(u"CustomerProvince"_s, r.CustomerProvince());
        Add(u"CustomerCountry"_s, r.CustomerCountry());
        Add(u"CustomerCountryDescription"_s, r.CustomerCountryDescription());
        Add(u"CustomerDateOfBirth"_s, r.CustomerDateOfBirth());
        Add(u"CustomerTaxCode"_s, r.CustomerTaxCode());
        Add(u"CustomerFiscalCode"_s, r.CustomerFiscalCode());
        Add(u"CustomerIdNumber"_s, r.CustomerIdNumber());
        Add(u"LotteryIdCode"_s, r.LotteryIdCode());
        Add(u"ToBeInvoiced"_s, r.ToBeInvoiced());
        Add(u"SendByEmail"_s, r.SendByEmail());
        Add(u"EmailReference"_s, r.EmailReference());
        Add(u"EmailRecipients"_s, r.EmailRecipients());
        Add(u"PrintReceipt"_s, r.PrintReceipt());
        for (int i = 0; i < r.Headers().size(); ++i)
            Add(u"Headers[%1]"_s.arg(i), r.Headers()[i]);
        for (int i = 0; i < r.Lines().Count(); ++i)
            AddLine(u"Lines[%1]."_s.arg(i), *r.Lines()[i]);
        for (int i = 0; i < r.Taxes().Count(); ++i)
            AddTax(u"Taxes[%1]."_s.arg(i), *r.Taxes()[i]);
        for (int i = 0; i < r.PaymentLines().Count(); ++i)
            AddPayment(u"Payments[%1]."_s.arg(i), *r.PaymentLines()[i]);
        for (int i = 0; i < r.TrailerMessages().Count(); ++i)
            AddMessage(u"Trailer[%1]."_s.arg(i), *r.TrailerMessages()[i]);
        for (int i = 0; i < r.LeaderLines().Count(); ++i)
            AddMessage(u"Leader[%1]."_s.arg(i), *r.LeaderLines()[i]);
    }

    QMap<QString, QString> fEntries;

private:
    void Add(const QString& aKey, const QString& aValue) { fEntries.insert(aKey, aValue); }
    void Add(const QString& aKey, bool aValue) { Add(aKey, QString::number(aValue)); }
    void Add(const QString& aKey, int aValue) { Add(aKey, QString::number(aValue)); }
    void Add(const QString& aKey, Currency aValue) { Add(aKey, aValue.ToString()); }
    void Add(const QString& aKey, TDateTime aValue) { Add(aKey, aValue.Format(u"yyyy-MM-ddThh:mm:ss.zzz"_s)); }

    void AddLine(const QString& p, const kReceiptLine& aLine)
    {
        Add(p + u"Class"_s, QString::fromLatin1(typeid(aLine).name()));
        Add(p + u"LineType"_s, int(aLine.LineType()));
        Add(p + u"AdditionalInfo"_s, aLine.AdditionalInfo());
        if (auto* s = dynamic_cast<const kReceiptLineProductSale*>(&aLine)) {
            Add(p + u"Code"_s, s->Code());
            Add(p + u"Description"_s, s->Description());
            Add(p + u"Quantity"_s, s->Quantity());
            Add(p + u"UOM"_s, s->UOM());
            Add(p + u"Department"_s, s->Department());
            Add(p + u"TaxCode"_s, s->TaxCode());
            Add(p + u"Price"_s, s->Price());
            Add(p + u"Amount"_s, s->Amount());
            Add(p + u"FreeOfCharge"_s, s->FreeOfCharge());
            Add(p + u"Attribute"_s, int(s->Attribute()));
            Add(p + u"VoucherCode"_s, s->VoucherCode());
        }
        if (auto* w = dynamic_cast<const kReceiptLineWeightedProductSale*>(&aLine))
            Add(p + u"Tare"_s, w->Tare());
        if (auto* c = dynamic_cast<const kReceiptLineCollectAmount*>(&aLine)) {
            Add(p + u"Description"_s, c->Description());
            Add(p + u"Department"_s, c->Department());
            Add(p + u"TaxCode"_s, c->TaxCode());
            Add(p + u"Amount"_s, c->Amount());
        }
        if (auto* c = dynamic_cast<const kReceiptLineCard*>(&aLine)) {
            Add(p + u"Code"_s, c->Code());
            Add(p + u"Description"_s, c->Description());
            Add(p + u"Price"_s, c->Price());
            Add(p + u"Department"_s, c->Department());
            Add(p + u"TaxCode"_s, c->TaxCode());
            Add(p + u"FreeOfCharge"_s, c->FreeOfCharge());
        }
        if (auto* g = dynamic_cast<const kReceiptLineGiftCardSale*>(&aLine))
            Add(p + u"TaxMode"_s, g->TaxMode());
        if (auto* t = dynamic_cast<const kReceiptLineSubtotal*>(&aLine))
            Add(p + u"Amount"_s, t->Amount());
        if (auto* t = dynamic_cast<const kReceiptLineText*>(&aLine))
            Add(p + u"Description"_s, t->Description());
        if (auto* d = dynamic_cast<const kReceiptLineDiscount*>(&aLine)) {
            Add(p + u"Description"_s, d->Description());
            Add(p + u"Amount"_s, d->Amount());
            Add(p + u"ReasonCode"_s, d->ReasonCode());
            Add(p + u"ReasonNote"_s, d->ReasonNote());
        }
        if (auto* d = dynamic_cast<const kReceiptLineDiscountPercentage*>(&aLine))
            Add(p + u"Percentage"_s, d->Percentage());
    }

    void AddTax(const QString& p, const kReceiptTaxLine& t)
    {
        Add(p + u"TaxType"_s, int(t.TaxType()));
        Add(p + u"TaxCode"_s, t.TaxCode());
        Add(p + u"TaxDescription"_s, t.TaxDescription());
        Add(p + u"TaxRate"_s, t.TaxRate());
        Add(p + u"TaxableAmount"_s, t.TaxableAmount());
        Add(p + u"TaxAmount"_s, t.TaxAmount());
        Add(p + u"TotalAmount"_s, t.TotalAmount());
    }

    void AddPayment(const QString& p, const kReceiptPaymentLine& l)
    {
        Add(p + u"PaymentType"_s, int(l.PaymentType()));
        Add(p + u"Description"_s, l.Description());
        Add(p + u"Amount"_s, l.Amount());
        Add(p + u"Currency"_s, l.Currency());
        Add(p + u"Quantity"_s, l.Quantity());
        Add(p + u"UnitPrice"_s, l.UnitPrice());
    }

    void AddMessage(const QString& p, const kReceiptMessageLine& m)
    {
        Add(p + u"Class"_s, QString::fromLatin1(typeid(m).name()));
        Add(p + u"Alignment"_s, int(m.Alignment()));
        Add(p + u"Value"_s, m.Value());
        if (auto* t = dynamic_cast<const kReceiptMessageTextLine*>(&m)) {
            Add(p + u"Section"_s, int(t->Section()));
            Add(p + u"Size"_s, t->Size());
            Add(p + u"Effects"_s, krptUtil::EncodeEffects(t->Effects()));
        }
        if (auto* b = dynamic_cast<const kReceiptMessageBarcodeLine*>(&m)) {
            Add(p + u"Section"_s, int(b->Section()));
            Add(p + u"BarcodeType"_s, int(b->BarcodeType()));
            Add(p + u"HRI"_s, b->HRI());
            Add(p + u"QRCodeMinVersion"_s, b->QRCOdeMinVersion());
        }
        if (auto* i = dynamic_cast<const kReceiptMessageImageLine*>(&m)) {
            Add(p + u"Section"_s, int(i->Section()));
            Add(p + u"Source"_s, int(i->Source()));
        }
    }
};

std::string Text(const QMap<QString, QString>& aEntries)
{
    QString text;
    for (auto e = aEntries.begin(); e != aEntries.end(); ++e)
        text += e.key() + u'=' + e.value() + u'\n';
    return text.toStdString();
}

}

TEST(ReceiptRoundTrip, WrittenAndReadBackKeepsTheValuesTheFormCarries)
{
    // Every line, message, payment and tax kind, from the fixture ...
    auto r = ReadReceipt(ReceiptFixture(u"full.xml"_s));
    // ... and values the XML form does not carry.
    r->SetReceiptDateTime(TDateTime::EncodeDateTime(2024, 3, 15, 18, 45, 12, 123));
    r->SetDefaultLayout(true);
    r->OriginalReceipt().ExternalReference = u"EXT-OR"_s;
    static_cast<kReceiptLineVoucherRedeem*>(r->Lines()[4])->SetFreeOfCharge(true);
    r->Lines().Add(kReceiptLineProductSale::Build(r.get(), u"9"_s, u"Extra"_s, Currency(1), u"UN"_s, u"D9"_s,
                                                  u"A"_s, Currency(2), Currency(2), u"info"_s, u"VC"_s));
    r->Lines().Add(kReceiptLineDiscountAmount::Build(r.get(), u"Promo"_s, Money("0.1"), u"R1"_s, u"Note"_s,
                                                     u"info"_s));
    auto redeem = kReceiptLineGiftCardRedeem::Build(r.get(), u"G9"_s, u"Card"_s, u"D4"_s, u"C"_s, Currency(3),
                                                    u"TM"_s, u"info"_s);
    redeem->SetFreeOfCharge(true);
    r->Lines().Add(std::move(redeem));
    auto* barcode = static_cast<kReceiptMessageBarcodeLine*>(r->TrailerMessages()[0]);
    barcode->SetAlignment(la_center);
    barcode->SetQRCOdeMinVersion(0);
    auto* text = static_cast<kReceiptMessageTextLine*>(r->TrailerMessages()[1]);
    text->SetSection(rs_trail);
    text->SetEffects({le_bold, le_italic});
    auto* image = static_cast<kReceiptMessageImageLine*>(r->TrailerMessages()[2]);
    image->SetValue(u"logo.bmp"_s);
    image->SetSource(is_FileSystem);
    r->TrailerMessages().Add(std::make_unique<kReceiptMessageLine>(r.get()));

    kReceipt back;
    back.Deserialize(*ParseDocument(r->Serialize()));
    EXPECT_FALSE(back.SupportSpecialChars());   // not written
    back.SetSupportSpecialChars(true);

    QMap<QString, QString> expected = Dump(*r).fEntries;
    expected[u"ReceiptDateTime"_s] = u"2024-03-15T18:45:12.000"_s;
    expected[u"DefaultLayout"_s] = u"0"_s;
    expected[u"Original.ExternalReference"_s] = QString();
    expected[u"Lines[4].FreeOfCharge"_s] = u"0"_s;
    expected[u"Lines[19].AdditionalInfo"_s] = QString();
    expected[u"Lines[19].VoucherCode"_s] = QString();
    expected[u"Lines[20].AdditionalInfo"_s] = QString();
    expected[u"Lines[20].ReasonCode"_s] = QString();
    expected[u"Lines[20].ReasonNote"_s] = QString();
    expected[u"Lines[21].AdditionalInfo"_s] = QString();
    expected[u"Lines[21].TaxMode"_s] = QString();
    expected[u"Lines[21].FreeOfCharge"_s] = u"0"_s;
    expected[u"Trailer[0].Alignment"_s] = u"0"_s;
    expected[u"Trailer[0].QRCodeMinVersion"_s] = u"1"_s;
    expected[u"Trailer[1].Section"_s] = u"0"_s;
    expected[u"Trailer[1].Effects"_s] = QString();
    expected[u"Trailer[2].Value"_s] = QString();
    expected[u"Trailer[2].Source"_s] = u"0"_s;
    expected.removeIf([](auto aEntry) { return aEntry.key().startsWith(u"Trailer[4]."_s); });

    EXPECT_EQ(Text(Dump(back).fEntries), Text(expected));
}

TEST(ReceiptRoundTrip, EmptyLayoutReadsBackAsTheDefault)
{
    kReceipt r;
    kReceipt back;
    back.Deserialize(*ParseDocument(r.Serialize()));
    EXPECT_EQ(back.Layout(), u"DocumentLayout"_s);
    EXPECT_TRUE(back.DefaultLayout());
}

TEST(ReceiptRoundTrip, MessageLinesWithoutAlignmentCannotBeReadBack)
{
    for (bool image : {false, true}) {
        kReceipt r;
        if (image)
            r.LeaderLines().Add(std::make_unique<kReceiptMessageImageLine>(&r));
        else
            r.LeaderLines().Add(std::make_unique<kReceiptMessageTextLine>(&r));
        EXPECT_EQ(ErrorOf([&] { kReceipt().Deserialize(*ParseDocument(r.Serialize())); }), u"Alignment  is invalid"_s);
    }
}
