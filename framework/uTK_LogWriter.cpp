#include "uTK_LogWriter.h"

#include "Exception.h"
#include "TDateTime.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <chrono>

namespace {
constexpr int kAttempts = 10;
constexpr auto kRetryPause = std::chrono::milliseconds(50);
constexpr auto kIdlePause = std::chrono::milliseconds(60);

void CheckPath(const QString& aPath)
{
    if (aPath.contains(QChar(0)))
        throw Exception(QStringLiteral("Invalid path: %1").arg(aPath));
}
}

QString JoinPath(const QString& aDirectory, const QString& aName)
{
    CheckPath(aDirectory);
    CheckPath(aName);
    if (aDirectory.isEmpty() || QDir::isAbsolutePath(aName))
        return QDir::toNativeSeparators(aName);
    QString dir = aDirectory;
    if (!dir.endsWith(u'/') && !dir.endsWith(QDir::separator()))
        dir += QDir::separator();
    return QDir::toNativeSeparators(dir + aName);
}

// --- tTK_LogThread

tTK_LogThread::tTK_LogThread(tTK_LogWriter* aWriter) : fWriter(aWriter), fThread([this] { Execute(); }) {}

tTK_LogThread::~tTK_LogThread()
{
    {
        std::lock_guard guard(fLock);
        fTerminated = true;
    }
    fWake.notify_one();
    fThread.join();
}

void tTK_LogThread::Enqueue(QString aLine)
{
    {
        std::lock_guard guard(fLock);
        fQueue.push_back(std::move(aLine));
    }
    fWake.notify_one();
}

int tTK_LogThread::QueueCount() const
{
    std::lock_guard guard(fLock);
    return int(fQueue.size());
}

void tTK_LogThread::Execute()
{
    for (;;) {
        QString line;
        {
            std::unique_lock guard(fLock);
            if (fQueue.empty()) {
                if (fTerminated)
                    return;
                fWake.wait_for(guard, kIdlePause);
                continue;
            }
            line = fQueue.front();   // peek: the line stays queued until its write was attempted
        }
        fWriter->WriteLine(line);
        std::lock_guard guard(fLock);
        fQueue.pop_front();
    }
}

// --- tTK_LogWriter

tTK_LogWriter::tTK_LogWriter(const QString& aFileName, const QString& aDirectory, int aMaxMessageLength,
                             bool aDaily)
    : fMaxMessageLength(aMaxMessageLength), fDaily(aDaily)
{
    fFileName = aDaily ? aFileName + u'_' + QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + ".log"
                       : aFileName + QStringLiteral(".log");
    SetDirectory(aDirectory);
    fThread = std::make_unique<tTK_LogThread>(this);
}

tTK_LogWriter::~tTK_LogWriter()
{
    fThread.reset();   // joins after the queue is drained
}

QString tTK_LogWriter::Directory() const
{
    std::lock_guard guard(fNameLock);
    return fDirectory;
}

QString tTK_LogWriter::FileName() const
{
    std::lock_guard guard(fNameLock);
    return fFileName;
}

void tTK_LogWriter::SetDirectory(const QString& aValue)
{
    QString fileName = JoinPath(aValue, QFileInfo(FileName()).fileName());
    if (!QDir().mkpath(aValue))
        throw Exception(QStringLiteral("Unable to create directory %1").arg(aValue));
    std::lock_guard guard(fNameLock);
    fDirectory = aValue;
    fFileName = fileName;
}

void tTK_LogWriter::SetFileName(const QString& aValue)
{
    CheckPath(aValue);
    QString fileName = JoinPath(Directory(), QFileInfo(aValue).fileName());
    std::lock_guard guard(fNameLock);
    fFileName = fileName;
}

void tTK_LogWriter::Write(tTK_MessageType aEntryType, const QString& aMessage)
{
    if (FileName().isEmpty())
        throw Exception(QStringLiteral("Log filename is empty "));
    QString message = fMaxMessageLength > 0 ? aMessage.left(fMaxMessageLength) : aMessage;
    QString line = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss:zzz"))
                   + (aEntryType == let_error ? QStringLiteral(" - ERROR - ") : QStringLiteral(" - "))
                   + message;
    fThread->Enqueue(std::move(line));
}

qint64 tTK_LogWriter::GetLogFileSize() const
{
    QFileInfo info(FileName());
    return info.exists() && info.isFile() ? info.size() : -1;
}

void tTK_LogWriter::RotateIfDue()
{
    if (!CheckLogfileSize() || GetLogFileSize() <= qint64(fMaxLogfileSize) * 1024)
        return;
    QString current = FileName();
    QFileInfo info(current);
    QString rotated = JoinPath(info.path(), info.completeBaseName() + u'_'
                                                + QDateTime::currentDateTime().toString(
                                                    QStringLiteral("yyyyMMddhhmmsszzz"))
                                                + QStringLiteral(".log"));
    QFile::rename(current, rotated);   // a failed move leaves the file where it is: writing goes on
}

void tTK_LogWriter::WriteLine(const QString& aLine)
{
    RotateIfDue();
    const QByteArray bytes = aLine.toUtf8() + "\r\n";
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        QFile file(FileName());
        if (file.open(QIODevice::WriteOnly | QIODevice::Append) && file.write(bytes) == bytes.size()
            && file.flush()) {
            break;
        }
        std::this_thread::sleep_for(kRetryPause);
    }
    ++fCounter;
}
