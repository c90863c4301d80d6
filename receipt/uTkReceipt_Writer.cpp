// The receipt XML document written from a receipt: every element, in order, also when empty.
#include "uTkReceipt_Xml.h"

#include "uTK_Base.h"

#include <sstream>

namespace {

void Put(pugi::xml_node aParent, const char* aName, const QString& aValue) { krptUtil::AddNode(aParent, aName, aValue); }
void Put(pugi::xml_node aParent, const char* aName, Currency aValue) { Put(aParent, aName, XmlCurr(aValue)); }
void Put(pugi::xml_node aParent, const char* aName, TDateTime aValue) { Put(aParent, aName, XmlDateTime(false, aValue)); }
void Put(pugi::xml_node aParent, const char* aName, bool aValue) { Put(aParent, aName, XmlBool(aValue)); }
void Put(pugi::xml_node aParent, const char* aName, int32_t aValue) { Put(aParent, aName, QString::number(aValue)); }
void Put(pugi::xml_node aParent, const char* aName, const char* aValue) = delete;   // would read as a flag

template <class T>
const T& As(const kReceiptLine& aLine)
{
    return dynamic_cast<const T&>(aLine);
}

}

QString kReceipt::Serialize() const
{
    return kReceiptXml::Write(*this);
}

QString kReceiptXml::Write(const kReceipt& r)
{
    pugi::xml_document document;
    pugi::xml_node declaration = document.append_child(pugi::node_declaration);
    declaration.append_attribute("version") = "1.0";
    declaration.append_attribute("encoding") = "utf-8";
    pugi::xml_node receipt = document.append_child("Receipt");

    Put(receipt, "Layout", r.Layout());
    Put(receipt, "BusinessDate", r.BusinessDate());
    Put(receipt, "Type", krptUtil::EncodeReceiptType(r.ReceiptType()));
    Put(receipt, "SubType", r.ReceiptSubtype());
    Put(receipt, "ReceiptTypeDescription", r.ReceiptTypeDescription());
    Put(receipt, "ExternalReference", r.ExternalReference());
    Put(receipt, "StoreCode", r.StoreCode());
    Put(receipt, "StoreAddress", r.StoreAddress());
    Put(receipt, "StoreZipCode", r.StoreZipCode());
    Put(receipt, "StoreCity", r.StoreCity());
    Put(receipt, "TillCode", r.TillCode());
    Put(receipt, "Number", r.ReceiptNumber());
    Put(receipt, "DateTime", r.ReceiptDateTime());
    Put(receipt, "ZReportNumber", r.ReceiptZReportNumber());
    Put(receipt, "DeviceSerialNumber", r.DeviceSerialNumber());
    Put(receipt, "InvoiceNumber", r.InvoiceNumber());
    Put(receipt, "InvoiceDateTime", r.InvoiceDateTime());
    Put(receipt, "TotalAmount", r.TotalAmount());
    Put(receipt, "TipAmount", r.TipAmount());
    Put(receipt, "CountryCode", r.CountryCode());
    Put(receipt, "FiscalAreaCode", r.FiscalAreaCode());
    Put(receipt, "CompanyCode", r.CompanyCode());
    Put(receipt, "CompanyTaxCode", r.CompanyTaxCode());
    Put(receipt, "OperatorCode", r.OperatorCode());
    Put(receipt, "ReceiptBarcode", r.ReceiptBarcode());
    Put(receipt, "CurrencyCode", r.CurrencyCode());
    Put(receipt, "CustomerCode", r.CustomerCode());
    Put(receipt, "CustomerCard", r.CustomerCard());
    Put(receipt, "CustomerBusinessName", r.CustomerBusinessName());
    Put(receipt, "CustomerName", r.CustomerName());
    Put(receipt, "CustomerSurname", r.CustomerSurname());
    Put(receipt, "CustomerAddress", r.CustomerAddress());
    Put(receipt, "CustomerZIPCode", r.CustomerZipCode());
    Put(receipt, "CustomerCity", r.CustomerCity());
    Put(receipt, "CustomerProvince", r.CustomerProvince());
    Put(receipt, "CustomerCountry", r.CustomerCountry());
    Put(receipt, "CustomerCountryDescription", r.CustomerCountryDescription());
    Put(receipt, "CustomerTaxCode", r.CustomerTaxCode());
    Put(receipt, "CustomerFiscalCode", r.CustomerFiscalCode());
    Put(receipt, "CustomerIdNumber", r.CustomerIdNumber());
    Put(receipt, "CustomerDateOfBirth", r.CustomerDateOfBirth());
    Put(receipt, "LotteryIdCode", r.LotteryIdCode());
    Put(receipt, "ToBeInvoiced", r.ToBeInvoiced());
    Put(receipt, "SendByEmail", r.SendByEmail());
    Put(receipt, "EmailReference", r.EmailReference());
    Put(receipt, "EmailRecipients", r.EmailRecipients());
    Put(receipt, "PrintReceipt", r.PrintReceipt());

    const tkOriginalReceipt& o = r.OriginalReceipt();
    pugi::xml_node original = receipt.append_child("References").append_child("OriginalReceipt");
    Put(original, "ReceiptDateTime", o.ReceiptDateTime);
    Put(original, "ReceiptNumber", o.ReceiptNumber);
    Put(original, "DeviceSerialNumber", o.DeviceSerialNumber);
    Put(original, "ServerSerialNumber", o.ServerSerialNumber);
    Put(original, "EJNumber", o.EJNumber);
    Put(original, "EJClosingNumber", o.EJClosingNumber);
    Put(original, "ExcludeFPCheck", o.ExcludeFPCheck);
    Put(original, "ReferenceType", krptUtil::EncodeReferenceType(o.ReferenceType));
    Put(original, "InvoiceNumber", o.InvoiceNumber);
    Put(original, "InvoiceDateTime", o.InvoiceDateTime);

    pugi::xml_node headers = receipt.append_child("Headers");
    for (const QString& header : r.Headers())
        Put(headers, "HeaderLine", header);

    pugi::xml_node lines = receipt.append_child("Lines");
    for (const auto& line : r.Lines())
        WriteLine(lines, *line);

    pugi::xml_node taxes = receipt.append_child("Taxes");
    for (const auto& tax : r.Taxes()) {
        pugi::xml_node node = taxes.append_child("Tax");
        Put(node, "Type", krptUtil::EncodeTaxType(tax->fTaxType));
        Put(node, "Code", tax->fTaxCode);
        Put(node, "Description", tax->fTaxDescription);
        Put(node, "Rate", tax->fTaxRate);
        Put(node, "TaxableAmount", tax->fTaxableAmount);
        Put(node, "TaxAmount", tax->fTaxAmount);
        Put(node, "TotalAmount", tax->fTotalAmount);
    }

    pugi::xml_node payments = receipt.append_child("Payments");
    for (const auto& payment : r.PaymentLines()) {
        pugi::xml_node node = payments.append_child("Payment");
        Put(node, "Type", krptUtil::EncodePaymentType(payment->PaymentType()));
        Put(node, "Description", payment->Description());
        Put(node, "Amount", payment->Amount());
        Put(node, "Currency", payment->Currency());
        Put(node, "Quantity", payment->Quantity());
        Put(node, "UnitPrice", payment->UnitPrice());
    }

    WriteMessageLines(receipt.append_child("TrailerMessages"), r.TrailerMessages());
    WriteMessageLines(receipt.append_child("LeaderLines"), r.LeaderLines());

    std::ostringstream text;
    document.save(text, "", pugi::format_raw, pugi::encoding_utf8);
    const std::string utf8 = text.str();
    return QString::fromUtf8(utf8.data(), qsizetype(utf8.size()));
}

void kReceiptXml::WriteLine(pugi::xml_node aLines, const kReceiptLine& aLine)
{
    pugi::xml_node node = aLines.append_child(krptUtil::EncodeLineType(aLine.LineType()).toLatin1().constData());
    switch (aLine.LineType()) {
    case rlt_ProductSale:
    case rlt_ProductReturn:
    case rlt_WeightedProductSale: {
        const auto& p = As<kReceiptLineProductSale>(aLine);
        Put(node, "Code", p.fCode);
        Put(node, "Description", p.fDescription);
        Put(node, "Quantity", p.fQuantity);
        Put(node, "UOM", p.fUOM);
        Put(node, "Department", p.fDepartment);
        Put(node, "TaxCode", p.fTaxCode);
        Put(node, "Price", p.fPrice);
        Put(node, "Amount", p.fAmount);
        if (aLine.LineType() == rlt_WeightedProductSale)
            Put(node, "Tare", As<kReceiptLineWeightedProductSale>(aLine).fTare);
        Put(node, "FreeOfCharge", p.fFreeOfCharge);
        Put(node, "Attribute", p.fAttribute == rla_Product ? QStringLiteral("product") : QStringLiteral("service"));
        break;
    }
    case rlt_VoucherSale:
    case rlt_VoucherRedeem:
    case rlt_GiftCardSale:
    case rlt_GiftCardRedeem: {
        const auto& c = As<kReceiptLineCard>(aLine);
        Put(node, "Code", c.fCode);
        Put(node, "Description", c.fDescription);
        Put(node, "Department", c.fDepartment);
        Put(node, "TaxCode", c.fTaxCode);
        Put(node, "Price", c.fPrice);
        if (aLine.LineType() != rlt_VoucherRedeem)
            Put(node, "FreeOfCharge", c.fFreeOfCharge);
        break;
    }
    case rlt_SubTotal:
        Put(node, "Amount", As<kReceiptLineSubtotal>(aLine).Amount());
        break;
    case rlt_Text:
        Put(node, "Description", As<kReceiptLineText>(aLine).fDescription);
        break;
    case rlt_DiscountPercentage:
    case rlt_DiscountPercentageOnSubTotal:
    case rlt_MarkupPercentage:
    case rlt_MarkupPercentageOnSubTotal:
        Put(node, "Percentage", As<kReceiptLineDiscountPercentage>(aLine).fPercentage);
        [[fallthrough]];
    case rlt_DiscountAmount:
    case rlt_DiscountAmountOnSubtotal:
    case rlt_MarkupAmount:
    case rlt_MarkupAmountOnSubtotal: {
        const auto& d = As<kReceiptLineDiscount>(aLine);
        Put(node, "Amount", d.fAmount);
        Put(node, "Description", d.fDescription);
        break;
    }
    case rlt_CollectAmount: {
        const auto& c = As<kReceiptLineCollectAmount>(aLine);
        Put(node, "Description", c.fDescription);
        Put(node, "Department", c.fDepartment);
        Put(node, "TaxCode", c.fTaxCode);
        Put(node, "Amount", c.fAmount);
        break;
    }
    }
}

void kReceiptXml::WriteMessageLines(pugi::xml_node aParent, const kReceiptMessageLines& aLines)
{
    for (const auto& line : aLines) {
        if (const auto* barcode = dynamic_cast<const kReceiptMessageBarcodeLine*>(line.get())) {
            pugi::xml_node node = aParent.append_child("Barcode");
            Put(node, "Value", barcode->fValue);
            Put(node, "Type", krptUtil::EncodeBarcodeType(barcode->fBarcodeType));
            Put(node, "HRI", barcode->fHRI);
            Put(node, "QRCodeMinVersion", barcode->fQRCodeMinVersion);
        } else if (const auto* text = dynamic_cast<const kReceiptMessageTextLine*>(line.get())) {
            pugi::xml_node node = aParent.append_child("Text");
            Put(node, "Value", text->fValue);
            Put(node, "Size", text->Size());
            Put(node, "Alignment", krptUtil::EncodeAlignment(text->Alignment()));
        } else if (dynamic_cast<const kReceiptMessageImageLine*>(line.get())) {
            Put(aParent.append_child("Image"), "Alignment", krptUtil::EncodeAlignment(line->Alignment()));
        }
    }
}
