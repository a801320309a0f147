#pragma once
// The command threads now running: thread id to thread handle, under the
// map's own mutex. Whoever takes an entry out owns its handle and closes it,
// the worker itself or the module's stop, never both.

#include "PluginIntMap.h"

class CRunningThreads {
public:
    CRunningThreads();
    // Takes the mutex, closes it and frees the map.
    ~CRunningThreads();
    CRunningThreads(const CRunningThreads&) = delete;
    CRunningThreads& operator=(const CRunningThreads&) = delete;

    // May throw std::bad_alloc; the map is then unchanged.
    void Insert(DWORD threadId, HANDLE thread);
    // True when the entry was there: the caller now owns the handle.
    bool Remove(DWORD threadId);
    // Takes the first entry out; false when the map is empty.
    bool TakeFirst(DWORD& threadId, HANDLE& thread);
    int GetCount() const;

private:
    CPluginIntMap m_map;
};
