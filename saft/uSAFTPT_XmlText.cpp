#include "uSAFTPT_XmlText.h"

#include <cstring>

namespace {

void AppendEscaped(QByteArray& aOut, const char* aUtf8)
{
    for (const char* p = aUtf8; *p;) {
        size_t plain = std::strcspn(p, "&<>\"");
        aOut.append(p, qsizetype(plain));
        p += plain;
        switch (*p) {
        case '&': aOut += "&amp;"; break;
        case '<': aOut += "&lt;"; break;
        case '>': aOut += "&gt;"; break;
        case '"': aOut += "&quot;"; break;
        default: return;   // the end of the text
        }
        ++p;
    }
}

bool HoldsOnlyText(const pugi::xml_node& aNode)
{
    for (const pugi::xml_node& child : aNode.children())
        if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata)
            return false;
    return true;
}

void WriteElement(const pugi::xml_node& aNode, int aDepth, QByteArray& aLine,
                  const std::function<void(const QByteArray&)>& aEmit)
{
    aLine.fill(' ', aDepth * 2);
    aLine += '<';
    aLine += aNode.name();
    for (const pugi::xml_attribute& a : aNode.attributes()) {
        aLine += ' ';
        aLine += a.name();
        aLine += "=\"";
        AppendEscaped(aLine, a.value());
        aLine += '"';
    }
    if (!aNode.first_child()) {
        aLine += "/>";
        aEmit(aLine);
        return;
    }
    aLine += '>';
    if (HoldsOnlyText(aNode)) {
        for (const pugi::xml_node& child : aNode.children())
            AppendEscaped(aLine, child.value());
    } else {
        aEmit(aLine);
        for (const pugi::xml_node& child : aNode.children())
            if (child.type() == pugi::node_element)
                WriteElement(child, aDepth + 1, aLine, aEmit);
        aLine.fill(' ', aDepth * 2);
    }
    aLine += "</";
    aLine += aNode.name();
    aLine += '>';
    aEmit(aLine);
}

}

void WriteIndentedXml(const pugi::xml_document& aDocument, const std::function<void(const QByteArray&)>& aLine)
{
    aLine(QByteArrayLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?>"));
    QByteArray line;
    for (const pugi::xml_node& child : aDocument.children())
        if (child.type() == pugi::node_element)
            WriteElement(child, 0, line, aLine);
}

QString ExpandEmptyElements(const QString& aText)
{
    if (!aText.contains(QLatin1String("/>")))
        return aText;
    QString result;
    result.reserve(aText.size());
    qsizetype start = 0;
    while (start <= aText.size()) {
        qsizetype end = aText.indexOf(u'\n', start);
        if (end < 0)
            end = aText.size();
        QStringView line = QStringView(aText).mid(start, end - start);
        qsizetype close = line.lastIndexOf(QLatin1String("/>"));
        qsizetype open = close < 0 ? -1 : line.left(close).indexOf(u'<');
        if (open < 0) {
            result += line;
        } else {
            QStringView name = line.mid(open + 1, close - open - 1);
            result += line.left(open);
            result += u'<';
            result += name;
            result += QLatin1String("></");
            result += name;
            result += u'>';
            result += line.mid(close + 2);
        }
        if (end < aText.size())
            result += u'\n';
        start = end + 1;
    }
    return result;
}
