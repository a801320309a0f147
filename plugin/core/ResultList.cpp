#include "ResultList.h"

CResultList::CResultList(int collect) : m_collect(collect) {
    m_records.CreateLock();
}

CResultList::~CResultList() {
    m_records.Lock();
    while (!m_records.IsEmpty())
        delete m_records.RemoveHead();
    m_records.Close();
}

void CResultList::AddPair(const CPluginString& name, const CPluginString& value) {
    std::unique_ptr<CCopyDataMessage> pair(new CCopyDataMessage);
    pair->name = name;
    pair->value = value;
    m_records.LockedAddTail(pair.get());
    pair.release();
}

std::unique_ptr<CCopyDataMessage> CResultList::TakeFirst() {
    return std::unique_ptr<CCopyDataMessage>(m_records.LockedRemoveHead());
}
