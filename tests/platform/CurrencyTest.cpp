#include "Currency.h"
#include "Exception.h"

#include <gtest/gtest.h>

TEST(Currency, ParsesDecimalTextExactly)
{
    struct Case { const char* text; int64_t raw; };
    const Case cases[] = {
        {"0.1", 1000},       {"1.23456", 12346},  {"1.23455", 12346},  {"1.23445", 12344},
        {"-0.00005", 0},     {"-0.00015", -2},    {"12.5", 125000},    {"  3 ", 30000},
        {"+7", 70000},       {"1E3", 10000000},   {"2.5e-3", 25},      {".5", 5000},
        {"922337203685477.5807", INT64_MAX},
    };
    for (const Case& c : cases) {
        auto v = Currency::TryParse(QString::fromLatin1(c.text));
        ASSERT_TRUE(v.has_value()) << c.text;
        EXPECT_EQ(v->Raw(), c.raw) << c.text;
    }
    for (const char* bad : {"", "-", "1.2.3", "abc", "1e", "1,5", "922337203685477.5808", "12x",
                            "922337203685477.58075", "99999999999999999999.99999"})
        EXPECT_FALSE(Currency::TryParse(QString::fromLatin1(bad)).has_value()) << bad;
}

TEST(Currency, ParseNamesBadText)
{
    try {
        Currency::Parse(u"x1");
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "'x1' is not a valid floating point value");
    }
}

TEST(Currency, WritesShortestAndFixedText)
{
    struct Case { int64_t raw; const char* shortest; const char* fixed2; };
    const Case cases[] = {
        {125000, "12.5", "12.50"}, {30000, "3", "3.00"},    {-100, "-0.01", "-0.01"},
        {0, "0", "0.00"},          {12350, "1.235", "1.24"}, {-12350, "-1.235", "-1.24"},
        {-49, "-0.0049", "0.00"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Currency::FromRaw(c.raw).ToString(), QString::fromLatin1(c.shortest));
        EXPECT_EQ(Currency::FromRaw(c.raw).ToFixed(2), QString::fromLatin1(c.fixed2));
    }
}

TEST(Currency, ProductsAndQuotientsRoundOnceHalvesToEven)
{
    // 0.0001 * 0.5 = 0.00005 -> 0.0000 (even); 0.0003 * 0.5 = 0.00015 -> 0.0002
    EXPECT_EQ((Currency::FromRaw(1) * Currency::FromRaw(5000)).Raw(), 0);
    EXPECT_EQ((Currency::FromRaw(3) * Currency::FromRaw(5000)).Raw(), 2);
    EXPECT_EQ((Currency::FromRaw(-3) * Currency::FromRaw(5000)).Raw(), -2);
    EXPECT_EQ((Currency(10) / Currency(3)).Raw(), 33333);
    EXPECT_EQ((Currency(20) / Currency(3)).Raw(), 66667);
    // A product that overflows 64 bits before the division still comes out exact.
    EXPECT_EQ(Currency::MulDiv(Currency(900000000), Currency(900000), Currency(1000000)).Raw(),
              Currency(810000000).Raw());
    EXPECT_THROW(Currency(1) / Currency(), Exception);
}
