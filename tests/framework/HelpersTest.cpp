#include "Exception.h"
#include "TestSupport.h"
#include "uTK_Base.h"

#include <QTemporaryDir>
#include <QTextStream>
#include <gtest/gtest.h>

TEST(Helpers, FindSwitchMatchesWholeParametersOnly)
{
    TCommandLineScope args({"/env:Test", "/BATCH=yes", "/ENVIRONMENT=x", "/Loc", "/u:Mario"});
    EXPECT_EQ(FindSwitch("/ENV", false), "Test");
    EXPECT_EQ(FindSwitch("/env", true), "/env:Test");
    EXPECT_EQ(GetSwitchValue("/batch"), "yes");
    EXPECT_EQ(GetSwitchValue("/LOC"), "");
    EXPECT_EQ(FindSwitch("/LOC", true), "/Loc");
    EXPECT_EQ(FindSwitch("/ENVIRON", true), "");
    EXPECT_EQ(GetSwitchValue("/U"), "Mario");
    TCommandLineScope bare({"/ENV", "/ENVIRONMENT=x"});
    EXPECT_EQ(GetSwitchValue("/ENV"), "");
    TCommandLineScope longer({"/ENVIRONMENT=x"});
    EXPECT_EQ(FindSwitch("/ENV", true), "");
}

TEST(Helpers, EnvironmentNameComesFromTheSwitchOrTheFirstOwnSection)
{
    QTemporaryDir tmp;
    const QString ini = tmp.filePath("mer.ini");
    {
        QFile f(ini);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Velmora]\r\nx=1\r\n  [PARAMETRI GENERALI]  \r\n[tessaron]\r\n [Shop1] \r\n[Shop2]\r\n");
    }
    {
        TCommandLineScope args({"/ENV=Prod|x"});
        EXPECT_EQ(GetEnvironmentName(ini), "Prod");
        EXPECT_EQ(GetEnvironmentName(tmp.filePath("missing.ini")), "Prod");   // the file is not read
    }
    TCommandLineScope none({});
    EXPECT_EQ(GetEnvironmentName(ini), "Shop1");
    EXPECT_THROW(GetEnvironmentName(tmp.filePath("missing.ini")), Exception);
}

TEST(Helpers, GetTokenCountsFieldsFromOne)
{
    struct Case { const char* text; int index; bool toEnd; const char* result; };
    const Case cases[] = {
        {"a=b=c", 2, false, "b"}, {"a=b=c", 2, true, "b=c"}, {"a=b=c", 3, false, "c"},
        {"a=b=c", 4, false, ""},  {"abc", 1, false, "abc"},  {"abc", 2, false, ""},
        {"=x", 1, false, ""},     {"a==c", 3, true, "c"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetToken(c.text, c.index, u'=', c.toEnd), c.result) << c.text << " " << c.index;
}

TEST(Helpers, FormatZeroPaddedKeepsTheLastDigits)
{
    EXPECT_EQ(FormatZeroPadded(5.0, 8, 0, "", false), "00000005");
    EXPECT_EQ(FormatZeroPadded(6.0, 4, 2, "", false), "0600");
    EXPECT_EQ(FormatZeroPadded(23.0, 4, 2, "", false), "2300");
    EXPECT_EQ(FormatZeroPadded(123456789.0, 8, 0, "", false), "23456789");
    EXPECT_EQ(FormatZeroPadded(12.5, 6, 2, ",", false), "012,50");
    EXPECT_EQ(FormatZeroPadded(7.0, 5, 0, "", true), "+0007");
    EXPECT_EQ(FormatZeroPadded(Currency::Parse(u"13.5"), 4, 2, "", false), "1350");
    EXPECT_EQ(FormatZeroPadded(Currency(6), 4, 2, "", false), "0600");
}

TEST(Helpers, GTINCheckDigit)
{
    EXPECT_EQ(GTINCheckDigit("400638133393"), "1");
    EXPECT_EQ(GTINCheckDigit("000000000000"), "0");
    EXPECT_EQ(GTINCheckDigit("590123412345"), "7");
    EXPECT_EQ(GTINCheckDigit("9638507"), "4");
    struct Bad { const char* input; const char* message; };
    const Bad bad[] = {
        {"", "To calculate a GTIN Check Digit input string must be numeric []"},
        {"12a", "To calculate a GTIN Check Digit input string must be numeric [12a]"},
        {"12.5", "'12.5' is not a valid integer value"},
        {"123456789012345", "'123456789012345' is not a valid integer value"},
    };
    for (const Bad& b : bad) {
        try {
            GTINCheckDigit(b.input);
            ADD_FAILURE() << b.input;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), b.message);
        }
    }
}

TEST(Helpers, RoundCurr2HalvesAwayFromZero)
{
    struct Case { const char* in; const char* out; };
    const Case cases[] = {{"1.235", "1.24"},   {"-1.235", "-1.24"}, {"1.2349", "1.23"},
                          {"0.005", "0.01"},   {"-0.0049", "0"},    {"-0.0051", "-0.01"},
                          {"2.0050", "2.01"}, {"7", "7"}};
    for (const Case& c : cases)
        EXPECT_EQ(RoundCurr2(Currency::Parse(QString::fromLatin1(c.in))).ToString(), c.out) << c.in;
}

TEST(Helpers, SqlAndXmlLiterals)
{
    const TDateTime t = TDateTime::EncodeDateTime(2023, 6, 18, 14, 3, 7, 45);
    EXPECT_EQ(SqlStr("O'Neil"), "'O''Neil'");
    EXPECT_EQ(SqlStr(""), "''");
    EXPECT_EQ(SqlDate(t), "'20230618'");
    EXPECT_EQ(SqlDateTime(t), "'2023-06-18T14:03:07.045'");
    EXPECT_EQ(SqlCurr(Currency::Parse(u"-1234.50")), "-1234.5");
    EXPECT_EQ(SqlInt(-42), "-42");
    EXPECT_EQ(XmlDateTime(false, t), "2023-06-18T14:03:07");
    EXPECT_EQ(XmlDateTime(true, t), "2023-06-18T14:03:07.045");
    EXPECT_EQ(XmlCurr(Currency::Parse(u"12.50")), "12.5");
    EXPECT_EQ(XmlCurr(Currency::Parse(u"-0.01")), "-0.01");
    EXPECT_EQ(XmlBool(true), "True");
    EXPECT_EQ(XmlBool(false), "False");
}

TEST(Helpers, XmlToDateTimeReadsFixedPositions)
{
    struct Case { const char* text; const char* expected; };
    const Case cases[] = {
        {"2023-06-18T14:03:07.045", "2023-06-18 14:03:07.045"},
        {"2023-06-18T14:03:07", "2023-06-18 14:03:07.000"},
        {"2023/06/18 14.03.07", "2023-06-18 14:03:07.000"},   // separators are not examined
        {"2023-06-18T14:03:07.xyz", "2023-06-18 14:03:07.000"},
        {"2023-06-18T14:03:07.5", "2023-06-18 14:03:07.005"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(XmlToDateTime(c.text).Format("yyyy-MM-dd hh:mm:ss.zzz"), c.expected) << c.text;
    for (const char* bad : {"2023-02-29T10:00:00", "2023-06-18T24:00:00", "2023-06-18", "", "abcd-06-18T14:03:07"}) {
        try {
            XmlToDateTime(bad);
            ADD_FAILURE() << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Message(), QStringLiteral("DateTime Format invalid: [%1]").arg(bad));
        }
    }
}

TEST(Helpers, TimeOfDayAndNumericText)
{
    EXPECT_EQ(TimeOfDayMs(TDateTime::EncodeDateTime(2023, 1, 2, 0, 0, 0, 100))
                  - TimeOfDayMs(TDateTime::EncodeDateTime(2023, 1, 1, 23, 59, 59, 900)),
              -86399800);
    EXPECT_TRUE(IsNumeric("1E3"));
    EXPECT_TRUE(IsNumeric(" 12.5 "));
    EXPECT_FALSE(IsNumeric(""));
    EXPECT_FALSE(IsNumeric("12a"));
    EXPECT_EQ(VarNvl(QVariant(QMetaType(QMetaType::Int)), 5), QVariant(5));
    EXPECT_FALSE(VarNvl(QVariant(), 5).isValid());
    EXPECT_EQ(VarNvl(3, 5), QVariant(3));
}

TEST(Helpers, FormatTextFollowsTheClassLibraryFormatter)
{
    EXPECT_EQ(FormatText("Hello %s", {"you"}), "Hello you");
    EXPECT_EQ(FormatText("%d bytes, %5.2f%%, [%-4s] %x %.3d %2:s%5:s", {8, 12.345, "ab", 255, 7, "z"}),
              "8 bytes, 12.35%, [ab  ] FF 007 abz");
    EXPECT_THROW(FormatText("%d", {"text"}), Exception);
    try {
        FormatText("%s and %s", {"one"});
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "No argument for format '%s and %s'");
    }
}
