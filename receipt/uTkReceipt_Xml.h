#pragma once

// Inside the receipt module: the XML form of the model. The reader fills fields that are read only
// to everyone else, and the writer writes texts as stored rather than as printers get them, so both
// are friends of the model classes.

#include "uTkReceipt.h"

class kReceiptXml
{
public:
    kReceiptXml() = delete;

    static QString Write(const kReceipt& aReceipt);
    static void Read(kReceipt& aReceipt, const pugi::xml_document& aXmlDocument);
    static void Read(kNFReceipt& aReceipt, const pugi::xml_document& aXmlDocument);

    // The DOM's value of a node: a text node's text; for an element, empty without content and its
    // one text or CDATA child otherwise. Raises for an element of any other content.
    static QString NodeValue(pugi::xml_node aNode);
    // The DOM's name of a node: the element name, or "#text" / "#cdata-section".
    static QString NodeName(pugi::xml_node aNode);

private:
    static void WriteLine(pugi::xml_node aLines, const kReceiptLine& aLine);
    static void WriteMessageLines(pugi::xml_node aParent, const kReceiptMessageLines& aLines);
    static std::unique_ptr<kReceiptLine> ReadLine(kReceipt& aReceipt, pugi::xml_node aNode);
    static void ReadOriginalReceipt(pugi::xml_node aNode, tkOriginalReceipt& aOriginal);
    static void ReadTaxes(kReceipt& aReceipt, pugi::xml_node aTaxes);
    static void ReadPayments(kReceipt& aReceipt, pugi::xml_node aPayments);
    // Barcode, Text and Image children of aParent become lines of aOwner in aLines. A non-fiscal
    // receipt also reads text effects and the image's name and source.
    template <class TOwner>
    static void ReadMessageLines(pugi::xml_node aParent, TOwner* aOwner, kReceiptMessageLines& aLines,
                                 tkReceiptSection aSection, bool aNonFiscal);
};
