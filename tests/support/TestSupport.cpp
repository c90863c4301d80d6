#include "TestSupport.h"

#include "Environment.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

struct TRecordingPresenter::Recorder : TMessagePresenter
{
    std::vector<Message> fMessages;
    void Show(Kind aKind, const QString& aText) override { fMessages.emplace_back(aKind, aText); }
};

TRecordingPresenter::TRecordingPresenter()
{
    auto recorder = std::make_unique<Recorder>();
    fRecorder = recorder.get();
    fPrevious = TMessagePresenter::Install(std::move(recorder));
}

TRecordingPresenter::~TRecordingPresenter()
{
    TMessagePresenter::Install(std::move(fPrevious));
}

const std::vector<TRecordingPresenter::Message>& TRecordingPresenter::Messages() const
{
    return fRecorder->fMessages;
}

TCommandLineScope::TCommandLineScope(const QStringList& aParameters)
{
    Environment::SetCommandLine(aParameters);
}

TCommandLineScope::~TCommandLineScope()
{
    Environment::SetCommandLine({});
}

QString SharedDir()
{
    QString dir = qEnvironmentVariable("SAFT_SHARED_DIR");
    return (!dir.isEmpty() && QDir(dir).exists()) ? QDir(dir).absolutePath() : QString();
}

QByteArray ReadFileBytes(const QString& aFileName)
{
    QFile f(aFileName);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
