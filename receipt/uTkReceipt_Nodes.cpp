// Reading values of child elements, building elements, printer text and parsing stored receipts.
#include "uTkReceipt_Xml.h"

#include "Exception.h"
#include "uTK_Base.h"

#include <optional>

namespace {

// A conversion error of a node helper, named after the node and the kind of value.
[[noreturn]] void Fail(const char* aNodeName, const char* aKind, const Exception& aCause)
{
    throw Exception(QStringLiteral("Error in processing node %1 as %2.\r\n")
                        .arg(QString::fromUtf8(aNodeName), QString::fromLatin1(aKind))
                    + aCause.Message());
}

// An optional sign, digits with an optional decimal point; nullopt for anything else.
std::optional<bool> NonZeroDecimal(QStringView aText)
{
    qsizetype i = (!aText.isEmpty() && (aText[0] == u'-' || aText[0] == u'+')) ? 1 : 0;
    bool digit = false, nonZero = false, point = false;
    for (; i < aText.size(); ++i) {
        const QChar c = aText[i];
        if (c >= u'0' && c <= u'9') {
            digit = true;
            nonZero = nonZero || c != u'0';
        } else if (c == u'.' && !point) {
            point = true;
        } else {
            return std::nullopt;
        }
    }
    return digit ? std::optional<bool>(nonZero) : std::nullopt;
}

bool ToBoolean(const QString& aText)
{
    const QString text = aText.trimmed();
    if (text.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (text.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    if (std::optional<bool> number = NonZeroDecimal(text))
        return *number;
    throw Exception(QStringLiteral("'%1' is not a valid boolean value").arg(aText));
}

int32_t ToInteger(const QString& aText)
{
    bool ok = false;
    const int value = aText.toInt(&ok, 10);
    if (!ok)
        throw Exception(QStringLiteral("'%1' is not a valid integer value").arg(aText));
    return value;
}

// The value of the named child converted by aConvert; aMissing when there is no such child.
// Errors of the value or its conversion name the node.
template <class T, class F>
T ReadChild(pugi::xml_node aParentNode, const char* aNodeName, const char* aKind, T aMissing, F aConvert)
{
    const pugi::xml_node node = aParentNode.child(aNodeName);
    if (!node)
        return aMissing;
    try {
        return aConvert(kReceiptXml::NodeValue(node));
    } catch (const Exception& e) {
        Fail(aNodeName, aKind, e);
    }
}

}

QString kReceiptXml::NodeValue(pugi::xml_node aNode)
{
    if (aNode.type() != pugi::node_element)
        return QString::fromUtf8(aNode.value());
    const pugi::xml_node text = aNode.first_child();
    if (!text)
        return {};
    if ((text.type() != pugi::node_pcdata && text.type() != pugi::node_cdata) || text.next_sibling())
        throw Exception(QStringLiteral("Element \"%1\" does not contain a single text node").arg(NodeName(aNode)));
    return QString::fromUtf8(text.value());
}

QString kReceiptXml::NodeName(pugi::xml_node aNode)
{
    switch (aNode.type()) {
    case pugi::node_pcdata:
        return QStringLiteral("#text");
    case pugi::node_cdata:
        return QStringLiteral("#cdata-section");
    default:
        return QString::fromUtf8(aNode.name());
    }
}

QString krptUtil::GetNodeValueAsString(pugi::xml_node aParentNode, const char* aNodeName)
{
    return ReadChild(aParentNode, aNodeName, "string", QString(), [](const QString& aText) { return aText; });
}

bool krptUtil::GetNodeValueAsBoolean(pugi::xml_node aParentNode, const char* aNodeName, bool aDefaultValue)
{
    return ReadChild(aParentNode, aNodeName, "boolean", aDefaultValue, ToBoolean);
}

Currency krptUtil::GetNodeValueAsCurrency(pugi::xml_node aParentNode, const char* aNodeName)
{
    return ReadChild(aParentNode, aNodeName, "currency", Currency(), [](const QString& aText) {
        return aText.isEmpty() ? Currency() : Currency::Parse(aText);
    });
}

TDateTime krptUtil::GetNodeValueAsDateTime(pugi::xml_node aParentNode, const char* aNodeName)
{
    return ReadChild(aParentNode, aNodeName, "datetime", TDateTime(), XmlToDateTime);
}

TDateTime krptUtil::TryGetNodeValueAsDateTime(pugi::xml_node aParentNode, const char* aNodeName)
{
    try {
        return GetNodeValueAsDateTime(aParentNode, aNodeName);
    } catch (const Exception&) {
        return TDateTime();
    }
}

int32_t krptUtil::GetNodeValueAsInteger(pugi::xml_node aParentNode, const char* aNodeName)
{
    return ReadChild(aParentNode, aNodeName, "integer", int32_t(0), [](const QString& aText) {
        return aText.isEmpty() ? 0 : ToInteger(aText);
    });
}

QString krptUtil::GetAttributeValueAsString(pugi::xml_node aNode, const char* aAttrName)
{
    return QString::fromUtf8(aNode.attribute(aAttrName).value());
}

bool krptUtil::HasNode(pugi::xml_node aParentNode, const char* aNodeName)
{
    return bool(aParentNode.child(aNodeName));
}

pugi::xml_node krptUtil::AddNode(pugi::xml_node aParentNode, const char* aNodeName, const QString& aNodeValue)
{
    pugi::xml_node node = aParentNode.append_child(aNodeName);
    if (!aNodeValue.isEmpty())
        node.text().set(aNodeValue.toUtf8().constData());
    return node;
}

QString krptUtil::NormalizeText(const QString& aText)
{
    QString text = aText;
    for (QChar& c : text) {
        switch (c.unicode()) {
        case 0x00C0: c = u'A'; break;   // À
        case 0x00D9: c = u'U'; break;   // Ù
        case 0x00C8: case 0x00C9: c = u'E'; break;   // È É
        case 0x00D2: case 0x00D6: c = u'O'; break;   // Ò Ö
        case 0x00C7: c = u'C'; break;   // Ç
        case 0x00CC: case 0x00CF: c = u'I'; break;   // Ì Ï
        case 0x20AC: c = u'E'; break;   // euro sign
        default: break;
        }
    }
    text.replace(QStringLiteral("TOTALE"), QStringLiteral("TOT."));
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() > 0x7F)
            c = u' ';
    return text;
}

void krptUtil::ParseXml(const QString& aXml, pugi::xml_document& aXmlDocument)
{
    const QByteArray utf8 = aXml.toUtf8();
    const pugi::xml_parse_result result =
        aXmlDocument.load_buffer(utf8.constData(), size_t(utf8.size()), pugi::parse_default, pugi::encoding_utf8);
    if (!result)
        throw Exception(QStringLiteral("Invalid XML document: %1 at offset %2")
                            .arg(QString::fromUtf8(result.description()))
                            .arg(result.offset));
}
