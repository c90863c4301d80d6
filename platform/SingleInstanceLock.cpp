#include "SingleInstanceLock.h"

#include <QDir>
#include <QLockFile>

TSingleInstanceLock::TSingleInstanceLock(const QString& aName)
    : fLock(std::make_unique<QLockFile>(QDir::temp().filePath(aName + QStringLiteral(".instance.lock"))))
{
    fLock->setStaleLockTime(0);   // only a dead owner makes the lock stale, never its age
}

TSingleInstanceLock::~TSingleInstanceLock()
{
    Release();
}

bool TSingleInstanceLock::TryAcquire()
{
    if (!fHeld)
        fHeld = fLock->tryLock(0);
    return fHeld;
}

void TSingleInstanceLock::Release()
{
    if (fHeld) {
        fLock->unlock();
        fHeld = false;
    }
}
