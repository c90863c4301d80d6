#include "Cp1252.h"
#include "IniFile.h"
#include "StringTable.h"

#include <gtest/gtest.h>

TEST(Cp1252, RoundTripsAndMarksWhatItCannotHold)
{
    const QString text = QString::fromUtf8("Olá € “x” Œ ç");
    QByteArray bytes = Cp1252::Encode(text);
    EXPECT_EQ(bytes, QByteArray("Ol\xE1 \x80 \x93x\x94 \x8C \xE7"));
    EXPECT_EQ(Cp1252::Decode(bytes), text);
    EXPECT_EQ(Cp1252::Encode(QString::fromUtf8("a\u4E2Db😀c")), QByteArray("a?b?c"));
    EXPECT_FALSE(Cp1252::CanEncode(QString::fromUtf8("\u4E2D")));
    // From UTF-8 directly, the same bytes; a broken sequence is one "?".
    for (const char* utf8 : {"Olá € “x” Œ ç", "a\u4E2Db😀c", "", "plain &amp; ascii"})
        EXPECT_EQ(Cp1252::EncodeUtf8(QByteArray(utf8)), Cp1252::Encode(QString::fromUtf8(utf8))) << utf8;
    EXPECT_EQ(Cp1252::EncodeUtf8(QByteArray("a\xC3""b\xE2\x82")), QByteArray("a?b?"));
    EXPECT_TRUE(Cp1252::CanEncode(text));
}

TEST(IniFile, SectionsAndKeysIgnoreCaseAndFirstOccurrenceWins)
{
    TIniFile ini = TIniFile::FromText(
        "; comment\n[Main]\nDataSource = srv1\nDBName=reg\ndatasource=srv2\n[main]\nLogin=sa\n[Other]\nx=1\n");
    EXPECT_EQ(ini.ReadString("MAIN", "datasource"), "srv1");
    EXPECT_EQ(ini.ReadString("main", "LOGIN"), "sa");
    EXPECT_EQ(ini.ReadString("main", "missing", "def"), "def");
    EXPECT_EQ(ini.ReadSections(), (QStringList{"Main", "Other"}));
    EXPECT_TRUE(ini.ValueExists("other", "X"));
    EXPECT_FALSE(ini.SectionExists("none"));
}

TEST(StringTable, ReadsNumberedLinesWithGaps)
{
    TStringTable t = TStringTable::FromText("10000 $VERSION=1.00\r\n\n# note\n10005 $TEXT=a=b\n10005 dup\n");
    EXPECT_EQ(t.Find(10000).value_or("-"), "$VERSION=1.00");
    EXPECT_EQ(t.Find(10005).value_or("-"), "$TEXT=a=b");
    EXPECT_FALSE(t.Find(10001).has_value());
}
