// The files a sample registry is made of: the same seed gives the same bytes, an existing file is
// replaced only on request, unusable options leave nothing behind, and each year has its series.
#include "SampleRegistryTestSupport.h"


#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

namespace {

tkSampleRegistryOptions Options(const QTemporaryDir& aDir, int aReceipts)
{
    tkSampleRegistryOptions options;
    options.FileName = aDir.filePath(QStringLiteral("registry.db"));
    options.ReceiptCount = aReceipts;
    return options;
}

void WriteFile(const QString& aFileName, const QByteArray& aContent)
{
    QFile file(aFileName);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(aContent);
}

QStringList Files(const QTemporaryDir& aDir)
{
    return QDir(aDir.path()).entryList(QDir::Files, QDir::Name);
}

TEST(SampleRegistryFiles, TheSameSeedGivesTheSameFileByteForByte)
{
    QTemporaryDir first, second, other;
    tkSampleRegistryOptions options = Options(first, 300);
    MakeSampleRegistry(options);
    options.FileName = second.filePath(QStringLiteral("registry.db"));
    MakeSampleRegistry(options);
    options.FileName = other.filePath(QStringLiteral("registry.db"));
    options.Seed = 2;
    MakeSampleRegistry(options);

    const QByteArray bytes = ReadFileBytes(first.filePath(QStringLiteral("registry.db")));
    EXPECT_GT(bytes.size(), 100000);
    EXPECT_TRUE(bytes == ReadFileBytes(second.filePath(QStringLiteral("registry.db"))));
    EXPECT_FALSE(bytes == ReadFileBytes(other.filePath(QStringLiteral("registry.db"))));
}

TEST(SampleRegistryFiles, AnExistingFileIsReplacedOnlyOnRequest)
{
    QTemporaryDir dir;
    tkSampleRegistryOptions options = Options(dir, 20);
    const QString ini = dir.filePath(QStringLiteral("auditexport.ini"));

    WriteFile(options.FileName, "keep me");
    EXPECT_EQ(ErrorOf([&] { MakeSampleRegistry(options); }),
              QStringLiteral("\"%1\" exists already; it is replaced only when asked to (--overwrite)")
                  .arg(QDir::toNativeSeparators(options.FileName)));
    EXPECT_EQ(ReadFileBytes(options.FileName), QByteArray("keep me"));

    // The settings file is guarded the same way, and then no database is made either.
    QFile::remove(options.FileName);
    WriteFile(ini, "DataSource=SRV1\r\n");
    EXPECT_TRUE(ErrorOf([&] { MakeSampleRegistry(options); }).contains(QStringLiteral("exists already")));
    EXPECT_EQ(Files(dir), QStringList{QStringLiteral("auditexport.ini")});

    WriteFile(options.FileName, "replace me");
    options.Overwrite = true;
    const tkSampleRegistrySummary summary = MakeSampleRegistry(options);
    EXPECT_EQ(summary.FileName, QFileInfo(options.FileName).absoluteFilePath());
    EXPECT_EQ(summary.IniFileName, QFileInfo(ini).absoluteFilePath());
    EXPECT_EQ(ReadFileBytes(ini), QByteArray("[auditexport]\r\nDataSource=sqlite\r\nDBName=registry.db\r\n"));
    auto connection = OpenRegistry(options.FileName);
    EXPECT_EQ(Query(*connection, QStringLiteral("select count(*) as n from Receipts"))->FieldByName("n").AsInteger(),
              20);
    EXPECT_EQ(Files(dir), (QStringList{QStringLiteral("auditexport.ini"), QStringLiteral("registry.db")}));
}

TEST(SampleRegistryFiles, UnusableOptionsLeaveNothingBehind)
{
    struct Case
    {
        const char* name;
        std::function<void(tkSampleRegistryOptions&)> change;
        QString message;
    };
    QTemporaryDir dir;
    const std::vector<Case> cases = {
        {"no receipts", [](tkSampleRegistryOptions& o) { o.ReceiptCount = 0; },
         QStringLiteral("The number of receipts must be at least 1, not 0")},
        {"days the wrong way round",
         [](tkSampleRegistryOptions& o) {
             o.FirstDay = TDateTime::EncodeDate(2024, 1, 2);
             o.LastDay = TDateTime::EncodeDate(2024, 1, 1);
         },
         QStringLiteral("The last day (2024-01-01) comes before the first day (2024-01-02)")},
        {"more receipts than seconds",
         [](tkSampleRegistryOptions& o) {
             o.LastDay = o.FirstDay;
             o.ReceiptCount = 43201;
         },
         QStringLiteral("43201 receipts do not fit between 2024-01-01 and 2024-01-01: a day takes at most 43200")},
        {"no such folder",
         [&](tkSampleRegistryOptions& o) { o.FileName = dir.filePath(QStringLiteral("missing/registry.db")); },
         QStringLiteral("Folder \"%1\" not found")
             .arg(QDir::toNativeSeparators(dir.filePath(QStringLiteral("missing"))))},
        {"a folder in the way",
         [&](tkSampleRegistryOptions& o) {
             o.FileName = dir.path();
             o.Overwrite = true;
         },
         QStringLiteral("\"%1\" is not a file").arg(QDir::toNativeSeparators(dir.path()))},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tkSampleRegistryOptions options = Options(dir, 10);
        c.change(options);
        EXPECT_EQ(ErrorOf([&] { MakeSampleRegistry(options); }), c.message);
        EXPECT_TRUE(Files(dir).isEmpty()) << Files(dir).join(u' ').toStdString();
    }
}

TEST(SampleRegistryFiles, EachYearHasItsOwnSeriesAndTheOldYearsAreClosed)
{
    QTemporaryDir dir;
    tkSampleRegistryOptions options = Options(dir, 90);
    options.FirstDay = TDateTime::EncodeDate(2023, 12, 30);
    options.LastDay = TDateTime::EncodeDate(2024, 1, 2);
    options.WriteIniFile = false;
    const tkSampleRegistrySummary summary = MakeSampleRegistry(options);
    EXPECT_EQ(summary.Series, 12);   // three stores, two document types, two years
    EXPECT_TRUE(summary.IniFileName.isEmpty());

    auto connection = OpenRegistry(options.FileName);
    auto series = Query(*connection, QStringLiteral("select * from Series order by Serie_Code"));
    for (; !series->Eof(); series->Next()) {
        const QString code = series->FieldByName(QStringLiteral("Serie_Code")).AsString();
        EXPECT_EQ(series->FieldByName(QStringLiteral("Serie_Closed")).AsInteger(), code.contains(u"2023") ? 1 : 0)
            << code.toStdString();
        EXPECT_EQ(series->FieldByName(QStringLiteral("Id")).AsString().size(), 38);
    }
    // Numbering starts again in the new year's series.
    auto firsts = Query(*connection, QStringLiteral("select Serie, min(Number) as First, "
                                                    "min(ReceiptDateTime) as Earliest from Receipts group by Serie"));
    int seriesUsed = 0;
    for (; !firsts->Eof(); firsts->Next(), ++seriesUsed) {
        const QString serie = firsts->FieldByName(QStringLiteral("Serie")).AsString();
        EXPECT_EQ(firsts->FieldByName(QStringLiteral("First")).AsInteger(), 1) << serie.toStdString();
        EXPECT_EQ(firsts->FieldByName(QStringLiteral("Earliest")).AsDateTime().Date().year(), serie.mid(2, 4).toInt());
    }
    EXPECT_GE(seriesUsed, 6);
}

}
