#include "LibraryLock.h"

#include <windows.h>

#include <atomic>

namespace {

// A slim lock needs no initialisation at run time, so it is ready for a
// library call made by another module's static constructor.
SRWLOCK theLock = SRWLOCK_INIT;
// The thread that holds the lock (0: none) and how many levels it holds.
// Only the holder writes either; a thread reading the owner can see its own
// id only if it is the holder.
std::atomic<DWORD> theOwner{0};
int theDepth = 0;

bool HeldByThisThread() {
    return theOwner.load(std::memory_order_relaxed) == GetCurrentThreadId();
}

void Take(int depth) {
    // Waits while another thread is inside a library call. Calls that wait
    // for the user or a window let go first, so this waits only for work
    // that ends by itself (at the longest, an exchange with the service).
    AcquireSRWLockExclusive(&theLock);
    theOwner.store(GetCurrentThreadId(), std::memory_order_relaxed);
    theDepth = depth;
}

// Lets go of every level; returns how many there were.
int LetGo() {
    const int depth = theDepth;
    theDepth = 0;
    theOwner.store(0, std::memory_order_relaxed);
    ReleaseSRWLockExclusive(&theLock);
    return depth;
}

} // namespace

CLibraryLock::CLibraryLock() {
    if (HeldByThisThread())
        ++theDepth;
    else
        Take(1);
}

CLibraryLock::~CLibraryLock() {
    // A hold made while the thread had let go for a wait (a second library
    // call from a message loop inside the wait) ends before the wait does,
    // so the thread always holds the level this object took.
    if (theDepth > 1)
        --theDepth;
    else
        LetGo();
}

CLibraryUnlockForWait::CLibraryUnlockForWait() : m_depth(HeldByThisThread() ? LetGo() : 0) {}

CLibraryUnlockForWait::~CLibraryUnlockForWait() {
    if (m_depth > 0)
        Take(m_depth);
}

int LibraryLockDepth() {
    return HeldByThisThread() ? theDepth : 0;
}
