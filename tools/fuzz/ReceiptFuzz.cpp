// libFuzzer target for the receipt readers. Any text must end in a receipt or in an Exception; a
// receipt that was read must be written in a form that reads back, and writing and reading again
// must then change nothing.
#include "Exception.h"
#include "uTkReceipt.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

QString WrittenAndReadBack(const QString& aXml)
{
    pugi::xml_document document;
    krptUtil::ParseXml(aXml, document);
    kReceipt receipt;
    receipt.Deserialize(document);   // an Exception here escapes: the writer's text must read
    return receipt.Serialize();
}

void ReadFiscal(const pugi::xml_document& aDocument)
{
    kReceipt receipt;
    try {
        receipt.Deserialize(aDocument);
    } catch (const Exception&) {
        return;
    }
    // The first writing may normalise (whitespace-only texts, line ends); after that it is stable.
    const QString second = WrittenAndReadBack(receipt.Serialize());
    if (WrittenAndReadBack(second) != second)
        std::abort();
}

void ReadNonFiscal(const pugi::xml_document& aDocument)
{
    kNFReceipt receipt;
    try {
        receipt.Deserialize(aDocument);
    } catch (const Exception&) {
        return;
    }
    for (const kReceiptMessageLines* lines : {&receipt.HeaderLines(), &receipt.Lines(), &receipt.FooterLines()})
        for (const auto& line : *lines)
            (void)line->Value();
}

}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* aData, size_t aSize)
{
    pugi::xml_document document;
    try {
        krptUtil::ParseXml(QString::fromUtf8(reinterpret_cast<const char*>(aData), qsizetype(aSize)), document);
    } catch (const Exception&) {
        return 0;
    }
    ReadFiscal(document);
    ReadNonFiscal(document);
    return 0;
}
