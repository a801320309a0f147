#pragma once
// One lock for all of the support library's state.
//
// The library keeps its product record, remembered names and the texts it
// returns in process-wide values without locks of their own. The sample
// calls it from one thread, but the plug-in runs each command on a worker
// thread of its own, so two commands can reach the library at once. Every
// public function holds this lock for its whole call.
//
// The lock is re-entrant: a thread that holds it may take it again, and it
// is free for other threads only once every level has been let go. So a
// caller may hold it around a library call and the copy of the text that
// call returns, and the function takes it once more inside:
//
//     CString answer;
//     {
//         CLibraryLock hold; // waits while another thread is in the library
//         answer = WhatIs(company, software, question);
//     } // from here on another call may replace the text WhatIs returned
//
// A returned text is only safe to read while the hold that spans the call
// lasts: the next call of any thread may replace it. Hold it for the call
// and the copy only: reporting the result (a message to another window, a
// wait for another thread) under the hold could wait for a thread that is
// itself waiting for the lock.
//
// Calls that wait for the user (CheckUpdate's message boxes) or for a
// browser window's outcome (ContactSupport, ShowContactSupport) let go of
// every level the thread holds while they wait and take the same levels back
// before they go on, so one command never waits for another's window or
// question. For a caller this means: a hold around such a call does not keep
// other threads out for the whole call; library state the caller read before
// the call may have changed when it returns. What the call returns is still
// its own and stays readable until the caller's hold ends.
//
// The lock belongs to the module that links the library: the plug-in DLL and
// the sample program each have their own, as they have their own state.

// Holds the lock for the life of the object.
class CLibraryLock {
public:
    CLibraryLock();
    ~CLibraryLock();
    CLibraryLock(const CLibraryLock&) = delete;
    CLibraryLock& operator=(const CLibraryLock&) = delete;
};

// Lets go of every level the calling thread holds, for a wait that can last,
// and takes them all back when it goes. Does nothing on a thread that does
// not hold the lock. Nothing read from library state before it may be used
// after it: copy what the code after the wait needs first.
class CLibraryUnlockForWait {
public:
    CLibraryUnlockForWait();
    ~CLibraryUnlockForWait();
    CLibraryUnlockForWait(const CLibraryUnlockForWait&) = delete;
    CLibraryUnlockForWait& operator=(const CLibraryUnlockForWait&) = delete;

private:
    int m_depth;
};

// How many levels of the lock the calling thread holds (0: none).
int LibraryLockDepth();
