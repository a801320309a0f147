#include "ResultList.h"

CResultList::CResultList(int collect) : m_collect(collect) {
    m_records.CreateLock();
}

CResultList::~CResultList() {
    ULONGLONG deadline =
        m_deliveryDeadline ? m_deliveryDeadline : GetTickCount64() + kFinalDeliveryMs;
    // Each record is taken under the lock and sent outside it: the window
    // procedure may ask for the number of pending messages. Once the time is
    // out, only the windows of this thread, which need none, still get theirs;
    // a record never handed over is freed.
    while (std::unique_ptr<CCopyDataMessage> record = TakeFirst()) {
        if (SendCopyDataMessageBefore(*record, deadline) != CopyDataSend::TimedOut)
            continue;
        // The window may be reading its struct and text now, or may get to it
        // later: they are left to the process.
        record.release();
        // The tick count may lag the wait that ran out: no other thread's
        // window is sent to from here on.
        deadline = 0;
    }
    m_records.Lock();
    while (!m_records.IsEmpty())
        delete m_records.RemoveHead();
    m_records.Close();
}

void CResultList::AddPair(const CPluginString& name, const CPluginString& value) {
    std::unique_ptr<CCopyDataMessage> pair(new CCopyDataMessage);
    pair->name = name;
    pair->value = value;
    Add(std::move(pair));
}

void CResultList::Add(std::unique_ptr<CCopyDataMessage> record) {
    if (!record)
        return;
    m_records.LockedAddTail(record.get());
    record.release();
}

std::unique_ptr<CCopyDataMessage> CResultList::TakeFirst() {
    return std::unique_ptr<CCopyDataMessage>(m_records.LockedRemoveHead());
}

int CResultList::LockedGetCount() const {
    m_records.Lock();
    const int count = m_records.GetCount();
    m_records.Unlock();
    return count;
}
