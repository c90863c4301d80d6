#include "uSAFTPT_XmlText.h"

#include <algorithm>

namespace {

void AppendEscaped(QString& aOut, const char* aUtf8)
{
    const QString text = QString::fromUtf8(aUtf8);
    const bool plain = std::none_of(text.begin(), text.end(), [](QChar c) {
        return c == u'&' || c == u'<' || c == u'>' || c == u'"';
    });
    if (plain) {   // most values: one append
        aOut += text;
        return;
    }
    for (QChar c : text) {
        switch (c.unicode()) {
        case u'&': aOut += QLatin1String("&amp;"); break;
        case u'<': aOut += QLatin1String("&lt;"); break;
        case u'>': aOut += QLatin1String("&gt;"); break;
        case u'"': aOut += QLatin1String("&quot;"); break;
        default: aOut += c;
        }
    }
}

bool HoldsOnlyText(const pugi::xml_node& aNode)
{
    for (const pugi::xml_node& child : aNode.children())
        if (child.type() != pugi::node_pcdata && child.type() != pugi::node_cdata)
            return false;
    return true;
}

void WriteElement(const pugi::xml_node& aNode, int aDepth, QString& aLine,
                  const std::function<void(const QString&)>& aEmit)
{
    aLine.fill(u' ', aDepth * 2);
    aLine += u'<';
    aLine += QString::fromUtf8(aNode.name());
    for (const pugi::xml_attribute& a : aNode.attributes()) {
        aLine += u' ';
        aLine += QString::fromUtf8(a.name());
        aLine += QLatin1String("=\"");
        AppendEscaped(aLine, a.value());
        aLine += u'"';
    }
    if (!aNode.first_child()) {
        aLine += QLatin1String("/>");
        aEmit(aLine);
        return;
    }
    aLine += u'>';
    if (HoldsOnlyText(aNode)) {
        for (const pugi::xml_node& child : aNode.children())
            AppendEscaped(aLine, child.value());
    } else {
        aEmit(aLine);
        for (const pugi::xml_node& child : aNode.children())
            if (child.type() == pugi::node_element)
                WriteElement(child, aDepth + 1, aLine, aEmit);
        aLine.fill(u' ', aDepth * 2);
    }
    aLine += QLatin1String("</");
    aLine += QString::fromUtf8(aNode.name());
    aLine += u'>';
    aEmit(aLine);
}

}

void WriteIndentedXml(const pugi::xml_document& aDocument, const std::function<void(const QString&)>& aLine)
{
    aLine(QStringLiteral("<?xml version=\"1.0\" encoding=\"windows-1252\"?>"));
    QString line;
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
