#include "Exception.h"
#include "TestSupport.h"
#include "uTK_Base.h"
#include "uTK_Base_VCL.h"

#include <QCoreApplication>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <gtest/gtest.h>

namespace {
// The global application object with its log in a folder of the test's own.
struct AppFixture
{
    explicit AppFixture(const QStringList& aParameters = {})
        : args(aParameters), app(std::make_unique<tTK_Application>())
    {
        app->ChangeLogDirectory(tmp.path());
    }
    // The log is complete once the application object is gone.
    QStringList CloseAndReadLog()
    {
        app.reset();
        return QString::fromUtf8(ReadFileBytes(tmp.filePath(GetExeBaseName() + ".log")))
            .split("\r\n", Qt::SkipEmptyParts);
    }
    QTemporaryDir tmp;
    TCommandLineScope args;
    std::unique_ptr<tTK_Application> app;
    QObject timers;   // owns the test's pending timers: none outlives the test
};
}

TEST(Application, LogsBesideTheExecutableByDefault)
{
    tTK_Application app;
    EXPECT_EQ(app.GetLogFileName(), GetExeDir() + "LogFiles/" + GetExeBaseName() + ".log");
    EXPECT_EQ(GetExeBaseName(), "framework_tests");
    EXPECT_EQ(TKApplication(), &app);
}

TEST(Application, RunModeSwitches)
{
    struct Case { QStringList args; bool batch, debug, test; };
    const Case cases[] = {
        {{"/batch"}, true, false, false},       {{"/BATCH:1", "/Test=1"}, true, false, true},
        {{"/BATCH=yes", "/DEBUG"}, true, true, false}, {{"/BATCHX", "/TESTING"}, false, false, false},
    };
    for (const Case& c : cases) {
        TCommandLineScope args(c.args);
        tTK_Application app;
        EXPECT_EQ(app.IsBatch(), c.batch) << c.args.join(' ').toStdString();
        EXPECT_EQ(app.IsDebug(), c.debug);
        EXPECT_EQ(app.IsTest(), c.test);
    }
}

TEST(Application, LogKeepsTheLastErrorAndRelativeLogDirectoriesGoBelowLogFiles)
{
    QStringList lines;
    {
        AppFixture f;
        f.app->Log(let_info, "started");
        f.app->Log(let_error, "failed once");
        f.app->Log(let_info, "later");
        EXPECT_EQ(f.app->LastError(), "failed once");
        f.app->ChangeLogFilename("/elsewhere/renamed.txt");
        EXPECT_EQ(f.app->GetLogFileName(), f.tmp.filePath("renamed.txt"));
        f.app->ChangeLogFilename(GetExeBaseName() + ".log");
        f.app->Log(let_info, "back");
        {
            tTK_Application other;
            other.ChangeLogDirectory("sub");
            EXPECT_EQ(other.GetLogDirectory(), GetExeDir() + "LogFiles/sub");
        }
        lines = f.CloseAndReadLog();
    }
    ASSERT_EQ(lines.size(), 4);
    EXPECT_TRUE(lines[1].endsWith(" - ERROR - failed once"));
    EXPECT_TRUE(lines[3].endsWith(" - back"));
}

TEST(Application, MessagesByLanguageThenDefaultThenIdentifier)
{
    AppFixture f;
    f.app->LoadMessages("it.Hello %s:Ciao %s:ignored\r\nHello %s.en:Hi %s\nit.Hello %s:second wins not\n");
    EXPECT_EQ(f.app->GetMessage("Hello %s", {"you"}), "Hello you");
    f.app->SetDefaultLanguage("en");
    EXPECT_EQ(f.app->GetMessage("Hello %s", {"you"}), "Hi you");
    f.app->SetLanguage("it");
    EXPECT_EQ(f.app->GetMessage("Hello %s", {"tu"}), "Ciao tu");
    EXPECT_EQ(f.app->GetMessage("a\\r\\nb"), "a\r\nb");
    EXPECT_THROW(f.app->GetMessage("%d", {"x"}), Exception);
}

TEST(Application, VersionTableWithGapsAndReleaseDates)
{
    tTK_ApplicationInfo info;
    info.Load(TStringTable::FromText("10000 $APPDESCRIPTION=Export\n"
                                     "10001 $AUTHOR=ignored before any version\n"
                                     "10002 $VERSION=1.00\n"
                                     "10013 $version=1.01\n"          // ten free numbers before it
                                     "10014 $RELEASEDATE=06/03/2023\n"
                                     "10015 $TEXT=a=b\n"
                                     "10016 $PTEXT=c\n"
                                     "10017 $OTHER=x\n"
                                     "10029 $VERSION=never read\n"));   // eleven free numbers
    EXPECT_EQ(info.Description(), "Export");
    EXPECT_EQ(info.Version(), "1.01");
    ASSERT_EQ(info.History().size(), 2u);
    EXPECT_TRUE(info.History()[0]->ReleaseDate().IsZero());
    EXPECT_EQ(info.History()[1]->ReleaseDate(), TDateTime::EncodeDate(2023, 3, 6));
    EXPECT_EQ(info.History()[1]->Text(), (QStringList{"a=b", "c"}));
    EXPECT_EQ(info.ReleaseDate(), TDateTime::EncodeDate(2023, 3, 6));

    tTK_ApplicationInfo defaults;
    defaults.Load(TStringTable::FromText("10000 $VERSION=2\n10001 $RELEASEDATE=xx/03/2023"));
    EXPECT_EQ(defaults.ReleaseDate(), TDateTime::EncodeDate(2023, 3, 1));
    tTK_ApplicationInfo impossible;
    EXPECT_THROW(impossible.Load(TStringTable::FromText("10000 $VERSION=2\n10001 $RELEASEDATE=31/02/2023")),
                 Exception);
}

TEST(Application, SetupStoreNamesIgnoreCase)
{
    tTK_Setup setup;
    setup.SetValue("Port", 1);
    setup.SetValue("PORT", "second");
    setup.Define("Empty");
    EXPECT_EQ(setup.GetValue("port"), QVariant("second"));
    EXPECT_FALSE(setup.GetValue("empty").isValid());
    EXPECT_FALSE(setup.GetValue("never").isValid());
}

TEST(Application, StopwatchesNestAndRefuseAnUnbalancedStop)
{
    AppFixture f;
    f.app->StartTimer();
    f.app->StartTimer();
    EXPECT_EQ(f.app->GetTimerCount(), 2);
    EXPECT_GE(f.app->StopTimer(), 0);
    EXPECT_EQ(f.app->GetTimerCount(), 1);
    f.app->StopTimer();
    EXPECT_THROW(f.app->StopTimer(), Exception);
    EXPECT_THROW(f.app->GetTimerValue(), Exception);
}

TEST(Application, UnhandledErrorInBatchModeIsLoggedAndEndsTheProgram)
{
    for (bool terminate : {true, false}) {
        QStringList lines;
        int exitCode;
        {
            AppFixture f({"/BATCH"});
            f.app->SetTerminateOnExceptionIfBatch(terminate);
            TRecordingPresenter shown;
            QTimer::singleShot(0, &f.timers, [] { throw Exception("boom"); });
            QTimer::singleShot(0, &f.timers, [] { throw EAbort(); });
            QTimer::singleShot(300, &f.timers, [] { QCoreApplication::exit(7); });
            exitCode = QCoreApplication::exec();
            EXPECT_TRUE(shown.Messages().empty());
            lines = f.CloseAndReadLog();
        }
        EXPECT_EQ(exitCode, terminate ? 1 : 7);
        ASSERT_EQ(lines.size(), 1);
        EXPECT_TRUE(lines[0].endsWith(" - ERROR - boom"));
    }
}

TEST(Application, UnhandledErrorIsShownOutsideBatchMode)
{
    AppFixture f;
    TRecordingPresenter shown;
    QTimer::singleShot(0, &f.timers, [] { throw Exception("shown"); });
    QTimer::singleShot(50, &f.timers, [] { QCoreApplication::exit(3); });
    EXPECT_EQ(QCoreApplication::exec(), 3);
    ASSERT_EQ(shown.Messages().size(), 1u);
    EXPECT_EQ(shown.Messages()[0], TRecordingPresenter::Message(TMessagePresenter::Kind::Error, "shown"));
}

TEST(Application, SecondSingleInstanceIsRefused)
{
    AppFixture f;
    TRecordingPresenter shown;
    f.app->SetSingleInstance(true);
    EXPECT_TRUE(shown.Messages().empty());
    {
        tTK_Application second;
        second.SetSingleInstance(true);
        ASSERT_EQ(shown.Messages().size(), 1u);
        EXPECT_EQ(shown.Messages()[0].second, "Impossible to enter single instance mode.");
        QTimer::singleShot(2000, &f.timers, [] { QCoreApplication::exit(9); });
        EXPECT_EQ(QCoreApplication::exec(), 0);   // the refused start ends the main loop
    }
    f.app->SetSingleInstance(false);
    tTK_Application third;
    third.SetSingleInstance(true);
    EXPECT_EQ(shown.Messages().size(), 1u);
}

TEST(Application, UserMessagesInBatchModeOnlyLog)
{
    QStringList lines;
    {
        AppFixture f({"/batch"});
        TRecordingPresenter shown;
        ShowUserMessage(let_info, "just so you know");
        EXPECT_TRUE(shown.Messages().empty());
        lines = f.CloseAndReadLog();
    }
    ASSERT_EQ(lines.size(), 1);
    EXPECT_TRUE(lines[0].endsWith(" - ERROR - just so you know"));
}

TEST(Application, WaitWindowSpeaksTheApplicationsLanguage)
{
    AppFixture f;
    tTK_Wait& wait = f.app->Wait();
    wait.Start("Loading");
    EXPECT_TRUE(wait.Started());
    EXPECT_EQ(wait.Label()->text(), "Attendere prego ...\nLoading");
    EXPECT_EQ(wait.Form()->height(), 50);
    EXPECT_EQ(wait.Form()->width(), int(wait.Label()->width() * 1.3));
    {
        TRecordingPresenter shown;
        ShowUserMessage(let_info, "hidden meanwhile");
        EXPECT_TRUE(wait.Started());
        EXPECT_EQ(wait.Label()->text(), "Attendere prego ...");   // the extra text is not restored
    }
    f.app->SetLanguage("EN");
    wait.SetText({});
    EXPECT_EQ(wait.Label()->text(), "Wait please ...");
    wait.Stop();
    EXPECT_FALSE(wait.Started());
    EXPECT_FALSE(wait.Form()->isVisible());
}
