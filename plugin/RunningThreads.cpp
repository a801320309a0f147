#include "RunningThreads.h"

namespace {

// Thread ids are 32-bit values; the map keys them as int.
int KeyOf(DWORD threadId) {
    return static_cast<int>(threadId);
}

} // namespace

CRunningThreads::CRunningThreads() : m_map(10) {
    m_map.CreateLock();
}

CRunningThreads::~CRunningThreads() {
    m_map.Close();
}

void CRunningThreads::Insert(DWORD threadId, HANDLE thread) {
    m_map.LockedSetAt(KeyOf(threadId), thread);
}

bool CRunningThreads::Remove(DWORD threadId) {
    return m_map.LockedRemoveKey(KeyOf(threadId));
}

bool CRunningThreads::TakeFirst(DWORD& threadId, HANDLE& thread) {
    m_map.Lock();
    int key = 0;
    void* value = nullptr;
    POSITION position = m_map.GetStartPosition();
    const bool found = position && m_map.GetNextAssoc(position, key, value);
    if (found)
        m_map.RemoveKey(key);
    m_map.Unlock();
    threadId = static_cast<DWORD>(key);
    thread = static_cast<HANDLE>(value);
    return found;
}

int CRunningThreads::GetCount() const {
    return m_map.LockedGetCount();
}
