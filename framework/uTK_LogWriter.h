#pragma once

#include "uTK_Base_Defs.h"

#include <QString>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

class tTK_LogWriter;

// The writer's background thread: takes the queued lines one by one and appends each to the file.
// A line leaves the queue only after its write was attempted; on termination the queue is drained.
class tTK_LogThread
{
public:
    explicit tTK_LogThread(tTK_LogWriter* aWriter);
    ~tTK_LogThread();   // asks the thread to finish, waits until every queued line is handled

    void Enqueue(QString aLine);
    int QueueCount() const;
    tTK_LogWriter* Writer() const { return fWriter; }

private:
    void Execute();

    mutable std::mutex fLock;   // guards fQueue and fTerminated
    std::condition_variable fWake;
    std::deque<QString> fQueue;
    bool fTerminated = false;
    tTK_LogWriter* fWriter;
    std::thread fThread;   // last: starts once everything above is ready
};

// Appends time-stamped lines to a UTF-8 log file through its own thread. Callers only format and
// enqueue; file errors never reach them. The file moves aside once it grows past MaxLogFileSize KiB.
class tTK_LogWriter
{
public:
    tTK_LogWriter(const QString& aFileName, const QString& aDirectory, int aMaxMessageLength, bool aDaily);
    ~tTK_LogWriter();

    // Formats "<yyyy-mm-dd hh:mm:ss:zzz> - [ERROR - ]<message>" and queues it.
    // Raises "Log filename is empty " when there is no file name.
    void Write(tTK_MessageType aEntryType, const QString& aMessage);

    QString Directory() const;
    void SetDirectory(const QString& aValue);   // creates the directory
    QString FileName() const;
    void SetFileName(const QString& aValue);    // only the name part counts
    int MaxMessageLength() const { return fMaxMessageLength; }
    bool Daily() const { return fDaily; }
    int MaxLogFileSize() const { return fMaxLogfileSize; }
    void SetMaxLogFileSize(int aValue) { fMaxLogfileSize = aValue; }

    qint64 GetLogFileSize() const;   // -1 when the file cannot be examined
    bool CheckLogfileSize() const { return fCounter % 20 == 0; }

private:
    friend class tTK_LogThread;
    void WriteLine(const QString& aLine);   // on the log thread
    void RotateIfDue();

    mutable std::mutex fNameLock;   // the thread reads the file name while the owner may change it
    QString fDirectory;
    int fMaxMessageLength;
    QString fFileName;
    bool fDaily;
    std::atomic<int> fMaxLogfileSize{5000};
    int fCounter = 0;   // lines handled, touched by the log thread only
    std::unique_ptr<tTK_LogThread> fThread;
};

// Joins a directory and a name with the platform's separator; an absolute name stands as it is.
// Raises "Invalid path: <path>" for a path with characters no file system takes.
QString JoinPath(const QString& aDirectory, const QString& aName);
