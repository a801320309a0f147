#pragma once
// A first-in first-out list of owned records under its own mutex. With the
// collect flag set it gathers the name/value pairs of one synchronous call;
// with it clear it is the queue of messages waiting for the host. Every
// operation takes the lock for itself alone.

#include "CopyDataMessage.h"
#include "PluginList.h"

#include <memory>

class CResultList {
public:
    explicit CResultList(int collect);
    // Sends the records still held, oldest first, then frees the list: a
    // message queued before the module stopped still reaches its window, one
    // of another thread within the final delivery's time.
    ~CResultList();
    CResultList(const CResultList&) = delete;
    CResultList& operator=(const CResultList&) = delete;

    int IsCollecting() const { return m_collect; }

    void AddPair(const CPluginString& name, const CPluginString& value);
    // Appends a whole record; a null one is ignored.
    void Add(std::unique_ptr<CCopyDataMessage> record);
    // The oldest record, or null when the list is empty.
    std::unique_ptr<CCopyDataMessage> TakeFirst();
    bool IsEmpty() const { return m_records.LockedIsEmpty(); }
    int LockedGetCount() const;

    // How long the final delivery may wait, in all, for windows of other
    // threads: it runs while the module unloads, under the loader's lock.
    static const DWORD kFinalDeliveryMs = 5000;
    // Ends the final delivery's waits at that time (GetTickCount64) instead:
    // its time is then the rest of a larger budget.
    void SetDeliveryDeadline(ULONGLONG deadline) { m_deliveryDeadline = deadline; }

private:
    CPluginList<CCopyDataMessage*> m_records;
    int m_collect;
    ULONGLONG m_deliveryDeadline = 0;
};
