#include "ReceiptTestSupport.h"

#include "TestSupport.h"

QString ReceiptFixture(const QString& aName)
{
    const QString dir = qEnvironmentVariable("SAFT_SOURCE_DIR") + QStringLiteral("/tests/fixtures/receipt/");
    const QByteArray bytes = ReadFileBytes(dir + aName);
    if (bytes.isEmpty())
        throw Exception(QStringLiteral("Missing fixture ") + dir + aName);
    return QString::fromUtf8(bytes);
}

std::unique_ptr<pugi::xml_document> ParseDocument(const QString& aXml)
{
    auto document = std::make_unique<pugi::xml_document>();
    krptUtil::ParseXml(aXml, *document);
    return document;
}

std::unique_ptr<kReceipt> ReadReceipt(const QString& aXml)
{
    auto receipt = std::make_unique<kReceipt>();
    receipt->SetSupportSpecialChars(true);
    receipt->Deserialize(*ParseDocument(aXml));
    return receipt;
}

QString ReceiptXml(const QString& aBody)
{
    QString body = QStringLiteral("<Type>Sale</Type>") + aBody;
    for (const char* list : {"Lines", "Taxes", "Payments"})
        if (!aBody.contains(QStringLiteral("<%1").arg(QLatin1String(list))))
            body += QStringLiteral("<%1/>").arg(QLatin1String(list));
    return QStringLiteral("<Receipt>") + body + QStringLiteral("</Receipt>");
}
