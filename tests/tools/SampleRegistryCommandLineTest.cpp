// The command line of make-sample-registry.
#include "SampleRegistryTestSupport.h"

#include <gtest/gtest.h>

namespace {

QStringList Args(const char* aLine)
{
    return QString::fromUtf8(aLine).split(u' ', Qt::SkipEmptyParts);
}

TEST(SampleRegistryCommandLine, OptionsInBothSpellings)
{
    const tkSampleRegistryOptions defaults;
    tkSampleRegistryCommand command = ParseSampleRegistryCommandLine({});
    EXPECT_FALSE(command.Help);
    EXPECT_EQ(command.Options.FileName, defaults.FileName);
    EXPECT_EQ(command.Options.ReceiptCount, 10000);
    EXPECT_EQ(command.Options.Seed, 1u);
    EXPECT_EQ(command.Options.FirstDay, TDateTime::EncodeDate(2024, 1, 1));
    EXPECT_EQ(command.Options.LastDay, TDateTime::EncodeDate(2024, 12, 31));
    EXPECT_FALSE(command.Options.Overwrite);
    EXPECT_TRUE(command.Options.WriteIniFile);

    command = ParseSampleRegistryCommandLine(
        Args("-o shop.db -n 5 -s 18446744073709551615 --from 2023-03-01 --to 2023-03-31 --overwrite --no-ini"));
    EXPECT_EQ(command.Options.FileName, QStringLiteral("shop.db"));
    EXPECT_EQ(command.Options.ReceiptCount, 5);
    EXPECT_EQ(command.Options.Seed, UINT64_MAX);
    EXPECT_EQ(command.Options.FirstDay, TDateTime::EncodeDate(2023, 3, 1));
    EXPECT_EQ(command.Options.LastDay, TDateTime::EncodeDate(2023, 3, 31));
    EXPECT_TRUE(command.Options.Overwrite);
    EXPECT_FALSE(command.Options.WriteIniFile);

    command = ParseSampleRegistryCommandLine(Args("--output=a=b.db --count=7 --seed=0 --help"));
    EXPECT_EQ(command.Options.FileName, QStringLiteral("a=b.db"));
    EXPECT_EQ(command.Options.ReceiptCount, 7);
    EXPECT_EQ(command.Options.Seed, 0u);
    EXPECT_TRUE(command.Help);
    EXPECT_TRUE(ParseSampleRegistryCommandLine({QStringLiteral("-h")}).Help);
}

TEST(SampleRegistryCommandLine, AWrongArgumentIsNamed)
{
    const struct
    {
        const char* line;
        const char* message;
    } cases[] = {
        {"--count", "--count wants a value"},
        {"-n 0", "-n wants a whole number of at least 1, not \"0\""},
        {"-n 12x", "-n wants a whole number of at least 1, not \"12x\""},
        {"--seed=-1", "--seed wants a whole number from 0 up, not \"-1\""},
        {"--from 2024-13-01", "--from wants a day from 2000 on as yyyy-mm-dd, not \"2024-13-01\""},
        {"--to 31/12/2024", "--to wants a day from 2000 on as yyyy-mm-dd, not \"31/12/2024\""},
        {"--overwrite=yes", "--overwrite takes no value"},
        {"registry.db", "Unknown argument \"registry.db\""},
        {"--force", "Unknown argument \"--force\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ErrorOf([&] { ParseSampleRegistryCommandLine(Args(c.line)); }), QString::fromUtf8(c.message))
            << c.line;
}

}
