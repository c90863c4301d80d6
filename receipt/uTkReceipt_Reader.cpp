// The receipt and non-fiscal receipt read from parsed XML documents.
#include "uTkReceipt_Xml.h"

#include "Exception.h"

#include <algorithm>
#include <cstring>

namespace {

using U = krptUtil;

// A missing or empty layout falls back to the default one.
QString ReadLayout(pugi::xml_node aParent, bool& aDefaultLayout)
{
    const QString layout = U::GetNodeValueAsString(aParent, "Layout");
    aDefaultLayout = layout.isEmpty();
    return aDefaultLayout ? QStringLiteral("DocumentLayout") : layout;
}

// Required list containers; the message keeps its trailing space.
pugi::xml_node RequiredList(pugi::xml_node aReceipt, const char* aName)
{
    const pugi::xml_node node = aReceipt.child(aName);
    if (!node)
        throw Exception(QStringLiteral("Unable to find %1 node ").arg(QString::fromLatin1(aName)));
    return node;
}

}

void kReceipt::Deserialize(const pugi::xml_document& aXmlDocument)
{
    kReceiptXml::Read(*this, aXmlDocument);
}

void kNFReceipt::Deserialize(const pugi::xml_document& aXmlDocument)
{
    kReceiptXml::Read(*this, aXmlDocument);
}

void kReceiptXml::Read(kReceipt& r, const pugi::xml_document& aXmlDocument)
{
    const pugi::xml_node root = aXmlDocument.document_element();
    const pugi::xml_node x = std::strcmp(root.name(), "Receipt") == 0 ? root : root.child("Receipt");
    if (!x)
        throw Exception(QStringLiteral("Receipt node not found"));

    bool defaultLayout = false;
    r.SetLayout(ReadLayout(x, defaultLayout));
    r.SetDefaultLayout(defaultLayout);
    r.SetBusinessDate(U::GetNodeValueAsDateTime(x, U::HasNode(x, "BusinessDate") ? "BusinessDate" : "DateTime"));
    r.SetReceiptType(U::DecodeReceiptType(U::GetNodeValueAsString(x, "Type")));
    r.SetReceiptSubtype(U::GetNodeValueAsString(x, "SubType"));
    r.SetReceiptTypeDescription(U::GetNodeValueAsString(x, "ReceiptTypeDescription"));
    r.SetExternalReference(U::GetNodeValueAsString(x, "ExternalReference"));
    r.SetStoreCode(U::GetNodeValueAsString(x, "StoreCode"));
    r.SetStoreAddress(U::GetNodeValueAsString(x, "StoreAddress"));
    r.SetStoreZipCode(U::GetNodeValueAsString(x, "StoreZipCode"));
    r.SetStoreCity(U::GetNodeValueAsString(x, "StoreCity"));
    r.SetTillCode(U::GetNodeValueAsString(x, "TillCode"));
    r.SetReceiptNumber(U::GetNodeValueAsString(x, "Number"));
    r.SetReceiptDateTime(U::GetNodeValueAsDateTime(x, "DateTime"));
    r.SetReceiptZReportNumber(U::GetNodeValueAsString(x, "ZReportNumber"));
    r.SetDeviceSerialNumber(U::GetNodeValueAsString(x, "DeviceSerialNumber"));
    r.SetInvoiceNumber(U::GetNodeValueAsString(x, "InvoiceNumber"));
    r.SetInvoiceDateTime(U::GetNodeValueAsDateTime(x, "InvoiceDateTime"));
    r.SetTotalAmount(U::GetNodeValueAsCurrency(x, "TotalAmount"));
    r.SetTipAmount(U::GetNodeValueAsCurrency(x, "TipAmount"));
    r.SetCountryCode(U::GetNodeValueAsString(x, "CountryCode"));
    r.SetFiscalAreaCode(U::GetNodeValueAsString(x, "FiscalAreaCode"));
    r.SetCompanyCode(U::GetNodeValueAsString(x, "CompanyCode"));
    r.SetCompanyTaxCode(U::GetNodeValueAsString(x, "CompanyTaxCode"));
    r.SetOperatorCode(U::GetNodeValueAsString(x, "OperatorCode"));
    r.SetReceiptBarcode(U::GetNodeValueAsString(x, "ReceiptBarcode"));
    r.SetCurrencyCode(U::GetNodeValueAsString(x, "CurrencyCode"));
    r.SetCustomerCode(U::GetNodeValueAsString(x, "CustomerCode"));
    r.SetCustomerCard(U::GetNodeValueAsString(x, "CustomerCard"));
    r.SetCustomerBusinessName(U::GetNodeValueAsString(x, "CustomerBusinessName"));
    r.SetCustomerName(U::GetNodeValueAsString(x, "CustomerName"));
    r.SetCustomerSurname(U::GetNodeValueAsString(x, "CustomerSurname"));
    r.SetCustomerAddress(U::GetNodeValueAsString(x, "CustomerAddress"));
    QString zipCode = U::GetNodeValueAsString(x, "CustomerZIPCode");
    r.SetCustomerZipCode(zipCode.isEmpty() ? U::GetNodeValueAsString(x, "CustomerZipCode") : zipCode);
    r.SetCustomerCity(U::GetNodeValueAsString(x, "CustomerCity"));
    r.SetCustomerProvince(U::GetNodeValueAsString(x, "CustomerProvince"));
    r.SetCustomerCountry(U::GetNodeValueAsString(x, "CustomerCountry"));
    r.SetCustomerCountryDescription(U::GetNodeValueAsString(x, "CustomerCountryDescription"));
    r.SetCustomerTaxCode(U::GetNodeValueAsString(x, "CustomerTaxCode"));
    r.SetCustomerFiscalCode(U::GetNodeValueAsString(x, "CustomerFiscalCode"));
    r.SetCustomerIdNumber(U::GetNodeValueAsString(x, "CustomerIdNumber"));
    r.SetCustomerDateOfBirth(U::GetNodeValueAsDateTime(x, "CustomerDateOfBirth"));
    r.SetLotteryIdCode(U::GetNodeValueAsString(x, "LotteryIdCode"));
    r.SetToBeInvoiced(U::GetNodeValueAsBoolean(x, "ToBeInvoiced", false));
    r.SetSendByEmail(U::GetNodeValueAsBoolean(x, "SendByEmail", false));
    r.SetEmailReference(U::GetNodeValueAsString(x, "EmailReference"));
    r.SetEmailRecipients(U::GetNodeValueAsString(x, "EmailRecipients"));
    r.SetPrintReceipt(U::GetNodeValueAsBoolean(x, "PrintReceipt", true));

    if (const pugi::xml_node original = x.child("References").child("OriginalReceipt"))
        ReadOriginalReceipt(original, r.OriginalReceipt());
    for (const pugi::xml_node header : x.child("Headers").children())
        r.Headers() << NodeValue(header);
    for (const pugi::xml_node line : RequiredList(x, "Lines").children())
        r.Lines().Add(ReadLine(r, line));
    ReadTaxes(r, RequiredList(x, "Taxes"));
    ReadPayments(r, RequiredList(x, "Payments"));
    ReadMessageLines(x.child("TrailerMessages"), &r, r.TrailerMessages(), rs_lead, false);
    ReadMessageLines(x.child("LeaderLines"), &r, r.LeaderLines(), rs_lead, false);
}

void kReceiptXml::ReadOriginalReceipt(pugi::xml_node aNode, tkOriginalReceipt& aOriginal)
{
    aOriginal.ReceiptDateTime = U::GetNodeValueAsDateTime(aNode, "ReceiptDateTime");
    aOriginal.ReceiptNumber = U::GetNodeValueAsString(aNode, "ReceiptNumber");
    aOriginal.DeviceSerialNumber = U::GetNodeValueAsString(aNode, "DeviceSerialNumber");
    aOriginal.ServerSerialNumber = U::GetNodeValueAsString(aNode, "ServerSerialNumber");
    aOriginal.EJNumber = U::GetNodeValueAsString(aNode, "EJNumber");
    aOriginal.EJClosingNumber = U::GetNodeValueAsString(aNode, "EJClosingNumber");
    aOriginal.ExcludeFPCheck = U::GetNodeValueAsBoolean(aNode, "ExcludeFPCheck", false);
    aOriginal.ReferenceType = U::DecodeReferenceType(U::GetNodeValueAsString(aNode, "ReferenceType"));
    aOriginal.InvoiceNumber = U::GetNodeValueAsString(aNode, "InvoiceNumber");
    aOriginal.InvoiceDateTime = U::GetNodeValueAsDateTime(aNode, "InvoiceDateTime");
}

std::unique_ptr<kReceiptLine> kReceiptXml::ReadLine(kReceipt& aReceipt, pugi::xml_node n)
{
    // Vouchers and gift cards carry the same children; redemptions do not read FreeOfCharge.
    auto readCard = [n](auto aCard, bool aWithFreeOfCharge) {
        aCard->fCode = U::GetNodeValueAsString(n, "Code");
        aCard->fDescription = U::GetNodeValueAsString(n, "Description");
        aCard->fDepartment = U::GetNodeValueAsString(n, "Department");
        aCard->fTaxCode = U::GetNodeValueAsString(n, "TaxCode");
        aCard->fPrice = U::GetNodeValueAsCurrency(n, "Price");
        if (aWithFreeOfCharge)
            aCard->fFreeOfCharge = U::GetNodeValueAsBoolean(n, "FreeOfCharge", false);
        return aCard;
    };
    auto readAmount = [n](auto aDiscount) {
        aDiscount->fAmount = U::GetNodeValueAsCurrency(n, "Amount");
        aDiscount->fDescription = U::GetNodeValueAsString(n, "Description");
        return aDiscount;
    };
    auto readPercentage = [n, readAmount](auto aDiscount) {
        aDiscount->fPercentage = U::GetNodeValueAsCurrency(n, "Percentage");
        return readAmount(std::move(aDiscount));
    };

    kReceipt* owner = &aReceipt;
    const tkReceiptLineType type = U::DecodeLineType(NodeName(n));
    switch (type) {
    case rlt_ProductSale:
    case rlt_ProductReturn:
    case rlt_WeightedProductSale: {
        std::unique_ptr<kReceiptLineProductSale> p;
        if (type == rlt_ProductSale)
            p = std::make_unique<kReceiptLineProductSale>(owner);
        else if (type == rlt_ProductReturn)
            p = std::make_unique<kReceiptLineProductReturn>(owner);
        else
            p = std::make_unique<kReceiptLineWeightedProductSale>(owner);
        p->fCode = U::GetNodeValueAsString(n, "Code");
        p->fDescription = U::GetNodeValueAsString(n, "Description");
        p->fQuantity = U::GetNodeValueAsCurrency(n, "Quantity");
        p->fUOM = U::GetNodeValueAsString(n, "UOM");
        p->fDepartment = U::GetNodeValueAsString(n, "Department");
        p->fTaxCode = U::GetNodeValueAsString(n, "TaxCode");
        p->fPrice = U::GetNodeValueAsCurrency(n, "Price");
        p->fAmount = U::GetNodeValueAsCurrency(n, "Amount");
        if (type == rlt_WeightedProductSale)
            static_cast<kReceiptLineWeightedProductSale&>(*p).fTare = U::GetNodeValueAsCurrency(n, "Tare");
        p->fFreeOfCharge = U::GetNodeValueAsBoolean(n, "FreeOfCharge", false);
        p->fAttribute = U::DecodeLineAttribute(U::GetNodeValueAsString(n, "Attribute"));
        return p;
    }
    case rlt_VoucherSale:
        return readCard(std::make_unique<kReceiptLineVoucherSale>(owner), true);
    case rlt_VoucherRedeem:
        return readCard(std::make_unique<kReceiptLineVoucherRedeem>(owner), false);
    case rlt_GiftCardSale:
        return readCard(std::make_unique<kReceiptLineGiftCardSale>(owner), true);
    case rlt_GiftCardRedeem:
        return readCard(std::make_unique<kReceiptLineGiftCardRedeem>(owner), false);
    case rlt_SubTotal: {
        auto subtotal = std::make_unique<kReceiptLineSubtotal>(owner);
        subtotal->SetAmount(U::GetNodeValueAsCurrency(n, "Amount"));
        return subtotal;
    }
    case rlt_Text: {
        auto text = std::make_unique<kReceiptLineText>(owner);
        text->fDescription = U::GetNodeValueAsString(n, "Description");
        return text;
    }
    case rlt_DiscountAmount:
        return readAmount(std::make_unique<kReceiptLineDiscountAmount>(owner));
    case rlt_DiscountAmountOnSubtotal:
        return readAmount(std::make_unique<kReceiptLineDiscountAmountOnSubTotal>(owner));
    case rlt_MarkupAmount:
        return readAmount(std::make_unique<kReceiptLineMarkupAmount>(owner));
    case rlt_MarkupAmountOnSubtotal:
        return readAmount(std::make_unique<kReceiptLineMarkupAmountOnSubTotal>(owner));
    case rlt_DiscountPercentage:
        return readPercentage(std::make_unique<kReceiptLineDiscountPercentage>(owner));
    case rlt_DiscountPercentageOnSubTotal:
        return readPercentage(std::make_unique<kReceiptLineDiscountPercentageOnSubTotal>(owner));
    case rlt_MarkupPercentage:
        return readPercentage(std::make_unique<kReceiptLineMarkupPercentage>(owner));
    case rlt_MarkupPercentageOnSubTotal:
        return readPercentage(std::make_unique<kReceiptLineMarkupPercentageOnSubTotal>(owner));
    case rlt_CollectAmount: {
        auto collect = std::make_unique<kReceiptLineCollectAmount>(owner);
        collect->fDescription = U::GetNodeValueAsString(n, "Description");
        collect->fDepartment = U::GetNodeValueAsString(n, "Department");
        collect->fTaxCode = U::GetNodeValueAsString(n, "TaxCode");
        collect->fAmount = U::GetNodeValueAsCurrency(n, "Amount");
        return collect;
    }
    }
    return nullptr;   // not reached: the decoder knows no other type
}

void kReceiptXml::ReadTaxes(kReceipt& aReceipt, pugi::xml_node aTaxes)
{
    for (const pugi::xml_node n : aTaxes.children("Tax")) {
        auto tax = std::make_unique<kReceiptTaxLine>(&aReceipt);
        tax->fTaxType = U::DecodeTaxType(U::GetNodeValueAsString(n, "Type"));
        tax->fTaxCode = U::GetNodeValueAsString(n, "Code");
        tax->fTaxDescription = U::GetNodeValueAsString(n, "Description");
        tax->fTaxRate = U::GetNodeValueAsCurrency(n, "Rate");
        tax->fTaxableAmount = U::GetNodeValueAsCurrency(n, "TaxableAmount");
        tax->fTaxAmount = U::GetNodeValueAsCurrency(n, "TaxAmount");
        tax->fTotalAmount = U::GetNodeValueAsCurrency(n, "TotalAmount");
        aReceipt.Taxes().Add(std::move(tax));
    }
}

void kReceiptXml::ReadPayments(kReceipt& aReceipt, pugi::xml_node aPayments)
{
    for (const pugi::xml_node n : aPayments.children("Payment")) {
        auto payment = std::make_unique<kReceiptPaymentLine>(&aReceipt);
        payment->SetPaymentType(U::DecodePaymentType(U::GetNodeValueAsString(n, "Type")));
        payment->SetDescription(U::GetNodeValueAsString(n, "Description"));
        payment->SetAmount(U::GetNodeValueAsCurrency(n, "Amount"));
        payment->SetCurrency(U::GetNodeValueAsString(n, "Currency"));
        payment->SetQuantity(U::GetNodeValueAsCurrency(n, "Quantity"));
        payment->SetUnitPrice(U::GetNodeValueAsCurrency(n, "UnitPrice"));
        aReceipt.PaymentLines().Add(std::move(payment));
    }
}

template <class TOwner>
void kReceiptXml::ReadMessageLines(pugi::xml_node aParent, TOwner* aOwner, kReceiptMessageLines& aLines,
                                   tkReceiptSection aSection, bool aNonFiscal)
{
    for (const pugi::xml_node n : aParent.children()) {
        const char* name = n.type() == pugi::node_element ? n.name() : "";
        if (std::strcmp(name, "Barcode") == 0) {
            auto barcode = std::make_unique<kReceiptMessageBarcodeLine>(aOwner);
            barcode->fSection = aSection;
            barcode->SetValue(U::GetNodeValueAsString(n, "Value"));
            barcode->SetBarcodeType(U::DecodeBarcodeType(U::GetNodeValueAsString(n, "Type")));
            barcode->SetHRI(U::GetNodeValueAsBoolean(n, "HRI", true));
            barcode->SetQRCOdeMinVersion(std::max(1, U::GetNodeValueAsInteger(n, "QRCodeMinVersion")));
            aLines.Add(std::move(barcode));
        } else if (std::strcmp(name, "Text") == 0) {
            auto text = std::make_unique<kReceiptMessageTextLine>(aOwner);
            text->SetSection(aSection);
            text->SetValue(U::GetNodeValueAsString(n, "Value"));
            text->SetSize(U::GetNodeValueAsInteger(n, "Size"));
            text->SetAlignment(U::DecodeAlignment(U::GetNodeValueAsString(n, "Alignment")));
            if (aNonFiscal)
                text->SetEffects(U::DecodeEffects(U::GetNodeValueAsString(n, "Effects")));
            aLines.Add(std::move(text));
        } else if (std::strcmp(name, "Image") == 0) {
            auto image = std::make_unique<kReceiptMessageImageLine>(aOwner);
            image->fSection = aSection;
            image->SetAlignment(U::DecodeAlignment(U::GetNodeValueAsString(n, "Alignment")));
            if (aNonFiscal) {
                image->SetValue(U::GetNodeValueAsString(n, "Value"));
                image->SetSource(U::DecodeImageSource(U::GetNodeValueAsString(n, "Source")));
            }
            aLines.Add(std::move(image));
        }
    }
}

void kReceiptXml::Read(kNFReceipt& r, const pugi::xml_document& aXmlDocument)
{
    const pugi::xml_node x = aXmlDocument.document_element().child("NFReceipt");
    if (!x)
        throw Exception(QStringLiteral("NFReceipt node not found"));

    r.fLayout = ReadLayout(x, r.fDefaultLayout);
    r.fStoreCode = U::GetNodeValueAsString(x, "StoreCode");
    r.fTillCode = U::GetNodeValueAsString(x, "TillCode");
    r.fReceiptNumber = U::GetNodeValueAsString(x, "Number");
    r.fReceiptDateTime = U::GetNodeValueAsDateTime(x, "DateTime");
    r.fCountryCode = U::GetNodeValueAsString(x, "CountryCode");
    r.fCompanyCode = U::GetNodeValueAsString(x, "CompanyCode");
    r.fCompanyTaxCode = U::GetNodeValueAsString(x, "CompanyTaxCode");
    r.fOperatorCode = U::GetNodeValueAsString(x, "OperatorCode");
    ReadMessageLines(x.child("Header").child("Lines"), &r, r.fHeaderLines, rs_lead, true);
    ReadMessageLines(x.child("Lines"), &r, r.fLines, rs_body, true);
    ReadMessageLines(x.child("Footer").child("Lines"), &r, r.fFooterLines, rs_trail, true);
}
