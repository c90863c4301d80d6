#include "Exception.h"
#include "TestSupport.h"
#include "uTK_LogWriter.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>

namespace {
QStringList LinesOf(const QString& aFileName)
{
    QString text = QString::fromUtf8(ReadFileBytes(aFileName));
    QStringList lines = text.split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}
}

TEST(LogWriter, WritesFormattedLinesToTheNamedFile)
{
    QTemporaryDir tmp;
    const QString dir = tmp.filePath("App/LogFiles");
    {
        tTK_LogWriter daily("auditexport", dir, 0, true);
        EXPECT_EQ(daily.FileName(),
                  dir + "/auditexport_" + QDate::currentDate().toString("yyyyMMdd") + ".log");
    }
    QString fileName;
    {
        tTK_LogWriter writer("auditexport", dir, 10, false);
        fileName = writer.FileName();
        EXPECT_EQ(fileName, dir + "/auditexport.log");
        EXPECT_TRUE(QDir(dir).exists());
        writer.Write(let_info, "hello");
        writer.Write(let_error, QString::fromUtf8("0123456789abcdefghijklmno"));
        writer.Write(let_info, QString::fromUtf8("ação\nsegunda"));
    }
    const QStringList lines = LinesOf(fileName);
    ASSERT_EQ(lines.size(), 3);
    QRegularExpression stamp("^\\d{4}-\\d{2}-\\d{2} \\d{2}:\\d{2}:\\d{2}:\\d{3}( - ERROR - | - )(.*)$",
                             QRegularExpression::DotMatchesEverythingOption);
    auto m0 = stamp.match(lines[0]), m1 = stamp.match(lines[1]), m2 = stamp.match(lines[2]);
    ASSERT_TRUE(m0.hasMatch() && m1.hasMatch() && m2.hasMatch());
    EXPECT_EQ(m0.captured(1), " - ");
    EXPECT_EQ(m0.captured(2), "hello");
    EXPECT_EQ(m1.captured(1), " - ERROR - ");
    EXPECT_EQ(m1.captured(2), "0123456789");
    EXPECT_EQ(m2.captured(2), QString::fromUtf8("ação\nsegun"));   // cut to 10, line break kept
}

TEST(LogWriter, MovesTheFileAsideOncePastItsSizeLimit)
{
    QTemporaryDir tmp;
    const QString name = tmp.filePath("prog.log");
    {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(2049, 'x'));
    }
    {
        tTK_LogWriter writer("prog", tmp.path(), 0, false);
        writer.SetMaxLogFileSize(2);   // 2048 bytes: the file is one byte past it
        writer.Write(let_info, "first after rotation");
        writer.Write(let_info, "second");
    }
    QStringList rotated = QDir(tmp.path()).entryList({"prog_*.log"});
    ASSERT_EQ(rotated.size(), 1);
    EXPECT_TRUE(QRegularExpression("^prog_\\d{17}\\.log$").match(rotated[0]).hasMatch()) << rotated[0].toStdString();
    EXPECT_EQ(QFileInfo(tmp.filePath(rotated[0])).size(), 2049);
    const QStringList lines = LinesOf(name);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_TRUE(lines[0].endsWith(" - first after rotation"));
}

TEST(LogWriter, RetriesALineItCannotWriteThenDropsItWithoutStopping)
{
    QTemporaryDir tmp;
    auto writer = std::make_unique<tTK_LogWriter>("blocked", tmp.path(), 0, false);
    // A directory where the file should be: every attempt fails, whoever runs the test.
    ASSERT_TRUE(QDir().mkpath(writer->FileName()));
    QElapsedTimer clock;
    clock.start();
    writer->Write(let_info, "lost");
    EXPECT_NO_THROW(writer.reset());
    EXPECT_GE(clock.elapsed(), 450);   // ten attempts 50 ms apart before the line is given up
    EXPECT_EQ(QDir(tmp.path()).entryList(QDir::Files).size(), 0);
}

TEST(LogWriter, EveryLineQueuedBeforeDestructionReachesTheFile)
{
    QTemporaryDir tmp;
    QString fileName;
    {
        tTK_LogWriter writer("busy", tmp.path(), 0, false);
        fileName = writer.FileName();
        std::thread other([&] {
            for (int i = 0; i < 300; ++i)
                writer.Write(let_info, QStringLiteral("other %1").arg(i));
        });
        for (int i = 0; i < 300; ++i)
            writer.Write(let_error, QStringLiteral("main %1").arg(i));
        other.join();
    }
    const QStringList lines = LinesOf(fileName);
    EXPECT_EQ(lines.size(), 600);
    EXPECT_TRUE(lines.filter(" - other 299").size() == 1 && lines.filter(" - ERROR - main 299").size() == 1);
}
