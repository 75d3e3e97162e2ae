#include "app/SingleInstanceGuard.h"

#include <windows.h>

// Creating the mutex and checking ERROR_ALREADY_EXISTS closes the gap in
// which two copies started together could both miss each other's open.
bool SingleInstanceGuard::Take()
{
    Release();
    ScopedKernelHandle existing(OpenMutexA(MUTEX_ALL_ACCESS, FALSE, kMutexName));
    if (existing)
        return false;
    SECURITY_ATTRIBUTES attributes{sizeof attributes, nullptr, TRUE};
    mutex_.Reset(CreateMutexA(&attributes, TRUE, kMutexName));
    if (mutex_ && GetLastError() == ERROR_ALREADY_EXISTS) {
        mutex_.Reset();
        return false;
    }
    return true;
}

void SingleInstanceGuard::Release()
{
    if (mutex_)
        ReleaseMutex(mutex_.Get());
    mutex_.Reset();
}
