// Reading typed values from child elements, and building elements.
#include "ReceiptTestSupport.h"

#include "uTK_Base.h"

#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// The element <P> holding the given children.
struct Parent
{
    explicit Parent(const QString& aChildren) : fDocument(ParseDocument(u"<P>"_s + aChildren + u"</P>"_s)) {}
    pugi::xml_node Node() const { return fDocument->document_element(); }
    std::unique_ptr<pugi::xml_document> fDocument;
};

}

TEST(ReceiptNodes, MissingAndEmptyElements)
{
    using U = krptUtil;
    const Parent p(u"<E/><S>  padded  </S><C><![CDATA[<raw>]]></C>"_s);
    EXPECT_EQ(U::GetNodeValueAsString(p.Node(), "Missing"), QString());
    EXPECT_EQ(U::GetNodeValueAsString(p.Node(), "E"), QString());
    EXPECT_EQ(U::GetNodeValueAsString(p.Node(), "S"), u"  padded  "_s);
    EXPECT_EQ(U::GetNodeValueAsString(p.Node(), "C"), u"<raw>"_s);
    EXPECT_EQ(U::GetNodeValueAsCurrency(p.Node(), "Missing"), Currency());
    EXPECT_EQ(U::GetNodeValueAsCurrency(p.Node(), "E"), Currency());
    EXPECT_EQ(U::GetNodeValueAsInteger(p.Node(), "Missing"), 0);
    EXPECT_EQ(U::GetNodeValueAsInteger(p.Node(), "E"), 0);
    EXPECT_EQ(U::GetNodeValueAsDateTime(p.Node(), "Missing"), TDateTime());
    EXPECT_EQ(U::TryGetNodeValueAsDateTime(p.Node(), "E"), TDateTime());
    EXPECT_TRUE(U::GetNodeValueAsBoolean(p.Node(), "Missing", true));
    EXPECT_FALSE(U::GetNodeValueAsBoolean(p.Node(), "Missing", false));
    EXPECT_TRUE(U::HasNode(p.Node(), "E"));
    EXPECT_FALSE(U::HasNode(p.Node(), "e"));
}

TEST(ReceiptNodes, TheFirstChildOfTheExactNameCounts)
{
    const Parent p(u"<v>lower</v><V>first</V><V>second</V>"_s);
    EXPECT_EQ(krptUtil::GetNodeValueAsString(p.Node(), "V"), u"first"_s);
}

TEST(ReceiptNodes, MoneyIsReadExactly)
{
    struct Case { const char* text; const char* value; };
    const Case cases[] = {
        {"0", "0"}, {"12.345", "12.345"}, {"1.23456", "1.2346"}, {"1.23445", "1.2344"}, {"0.1", "0.1"},
        {"-4.5", "-4.5"}, {"922337203685477.5807", "922337203685477.5807"},
    };
    for (const Case& c : cases) {
        const Parent p(u"<M>%1</M>"_s.arg(QLatin1String(c.text)));
        EXPECT_EQ(krptUtil::GetNodeValueAsCurrency(p.Node(), "M"), Money(c.value)) << c.text;
    }
}

TEST(ReceiptNodes, FlagsAndIntegers)
{
    for (const char* text : {"true", "TRUE", "True", "1", "-1", "0.5"})
        EXPECT_TRUE(krptUtil::GetNodeValueAsBoolean(Parent(u"<F>%1</F>"_s.arg(QLatin1String(text))).Node(), "F", false))
            << text;
    for (const char* text : {"false", "FALSE", "0", "0.00", "-0"})
        EXPECT_FALSE(krptUtil::GetNodeValueAsBoolean(Parent(u"<F>%1</F>"_s.arg(QLatin1String(text))).Node(), "F", true))
            << text;
    EXPECT_EQ(krptUtil::GetNodeValueAsInteger(Parent(u"<I>-42</I>"_s).Node(), "I"), -42);
    EXPECT_EQ(krptUtil::GetNodeValueAsInteger(Parent(u"<I>2147483647</I>"_s).Node(), "I"), 2147483647);
}

TEST(ReceiptNodes, DateTimesWithAndWithoutMilliseconds)
{
    const Parent p(u"<A>2024-03-15T18:45:12</A><B>2024-03-15T18:45:12.345</B>"_s);
    EXPECT_EQ(krptUtil::GetNodeValueAsDateTime(p.Node(), "A"), TDateTime::EncodeDateTime(2024, 3, 15, 18, 45, 12, 0));
    EXPECT_EQ(krptUtil::GetNodeValueAsDateTime(p.Node(), "B"), TDateTime::EncodeDateTime(2024, 3, 15, 18, 45, 12, 345));
}

TEST(ReceiptNodes, ConversionErrorsNameTheNodeAndTheCause)
{
    using U = krptUtil;
    struct Case { const char* children; std::function<void(pugi::xml_node)> read; const char* message; };
    const Case cases[] = {
        {"<M>abc</M>", [](auto n) { U::GetNodeValueAsCurrency(n, "M"); },
         "Error in processing node M as currency.\r\n'abc' is not a valid floating point value"},
        {"<M>1,5</M>", [](auto n) { U::GetNodeValueAsCurrency(n, "M"); },
         "Error in processing node M as currency.\r\n'1,5' is not a valid floating point value"},
        {"<M>99999999999999999999.99999</M>", [](auto n) { U::GetNodeValueAsCurrency(n, "M"); },
         "Error in processing node M as currency.\r\n'99999999999999999999.99999' is not a valid floating point value"},
        {"<F/>", [](auto n) { U::GetNodeValueAsBoolean(n, "F", true); },
         "Error in processing node F as boolean.\r\n'' is not a valid boolean value"},
        {"<F>yes</F>", [](auto n) { U::GetNodeValueAsBoolean(n, "F", true); },
         "Error in processing node F as boolean.\r\n'yes' is not a valid boolean value"},
        {"<I>1.5</I>", [](auto n) { U::GetNodeValueAsInteger(n, "I"); },
         "Error in processing node I as integer.\r\n'1.5' is not a valid integer value"},
        {"<I>2147483648</I>", [](auto n) { U::GetNodeValueAsInteger(n, "I"); },
         "Error in processing node I as integer.\r\n'2147483648' is not a valid integer value"},
        {"<D>2024-03-15</D>", [](auto n) { U::GetNodeValueAsDateTime(n, "D"); },
         "Error in processing node D as datetime.\r\nDateTime Format invalid: [2024-03-15]"},
        {"<D/>", [](auto n) { U::GetNodeValueAsDateTime(n, "D"); },
         "Error in processing node D as datetime.\r\nDateTime Format invalid: []"},
        {"<D>2024-02-30T00:00:00</D>", [](auto n) { U::GetNodeValueAsDateTime(n, "D"); },
         "Error in processing node D as datetime.\r\nDateTime Format invalid: [2024-02-30T00:00:00]"},
        {"<S>a<b/>c</S>", [](auto n) { U::GetNodeValueAsString(n, "S"); },
         "Error in processing node S as string.\r\nElement \"S\" does not contain a single text node"},
        {"<M><x>1</x></M>", [](auto n) { U::GetNodeValueAsCurrency(n, "M"); },
         "Error in processing node M as currency.\r\nElement \"M\" does not contain a single text node"},
    };
    for (const Case& c : cases) {
        const Parent p(QString::fromLatin1(c.children));
        EXPECT_EQ(ErrorOf([&] { c.read(p.Node()); }), QString::fromLatin1(c.message)) << c.children;
    }
    EXPECT_EQ(U::TryGetNodeValueAsDateTime(Parent(u"<D>garbage</D>"_s).Node(), "D"), TDateTime());
}

TEST(ReceiptNodes, AttributesAndAddedNodes)
{
    pugi::xml_document document;
    pugi::xml_node root = document.append_child("Root");
    root.append_attribute("version") = "2";
    EXPECT_EQ(krptUtil::GetAttributeValueAsString(root, "version"), u"2"_s);
    EXPECT_EQ(krptUtil::GetAttributeValueAsString(root, "missing"), QString());

    pugi::xml_node added = krptUtil::AddNode(root, "Name", u"Caf\u00E9 & <Bar>"_s);
    krptUtil::AddNode(root, "Empty", QString());
    EXPECT_EQ(added, root.first_child());
    EXPECT_EQ(krptUtil::GetNodeValueAsString(root, "Name"), u"Caf\u00E9 & <Bar>"_s);
    EXPECT_FALSE(root.child("Empty").first_child());
    EXPECT_EQ(root.last_child(), root.child("Empty"));
}

TEST(ReceiptNodes, ParsingDropsWhitespaceBetweenElementsAndReportsBadText)
{
    const auto document = ParseDocument(u"<?xml version=\"1.0\"?>\n<A>\n  <B> x </B>\n  <C>\n  </C>\n</A>"_s);
    const pugi::xml_node a = document->document_element();
    EXPECT_EQ(a.first_child(), a.child("B"));
    EXPECT_EQ(krptUtil::GetNodeValueAsString(a, "B"), u" x "_s);
    EXPECT_FALSE(a.child("C").first_child());

    pugi::xml_document bad;
    EXPECT_EQ(ErrorOf([&] { krptUtil::ParseXml(u"<A><B></A>"_s, bad); }),
              u"Invalid XML document: Start-end tags mismatch at offset 8"_s);
    EXPECT_EQ(ErrorOf([&] { krptUtil::ParseXml(QString(), bad); }),
              u"Invalid XML document: No document element found at offset 0"_s);
}
