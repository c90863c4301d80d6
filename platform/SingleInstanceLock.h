#pragma once

#include <QString>
#include <memory>

class QLockFile;

// A named lock that one process at a time can hold, the stand-in for a named mutex.
// A lock left behind by a process that died counts as free.
class TSingleInstanceLock
{
public:
    explicit TSingleInstanceLock(const QString& aName);
    ~TSingleInstanceLock();

    bool TryAcquire();   // without waiting
    void Release();
    bool Held() const { return fHeld; }

private:
    std::unique_ptr<QLockFile> fLock;
    bool fHeld = false;
};
