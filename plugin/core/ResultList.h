#pragma once
// A first-in first-out list of owned records under its own mutex. With the
// collect flag set it gathers the name/value pairs of one synchronous call;
// every operation takes the lock for itself alone.

#include "CopyDataMessage.h"
#include "PluginList.h"

#include <memory>

class CResultList {
public:
    explicit CResultList(int collect);
    // Frees the records still held.
    ~CResultList();
    CResultList(const CResultList&) = delete;
    CResultList& operator=(const CResultList&) = delete;

    int IsCollecting() const { return m_collect; }

    void AddPair(const CPluginString& name, const CPluginString& value);
    // The oldest record, or null when the list is empty.
    std::unique_ptr<CCopyDataMessage> TakeFirst();
    bool IsEmpty() const { return m_records.LockedIsEmpty(); }

private:
    CPluginList<CCopyDataMessage*> m_records;
    int m_collect;
};
