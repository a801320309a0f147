#pragma once
// Text keys to command entries held in the nodes themselves; the map owns
// the entries and copies them in and out whole.

#include "CommandEntry.h"
#include "PluginHashTable.h"

extern template class CPluginHashTable<CPluginString, CCommandEntry, CPluginStringKeyTraits>;

class CPluginEntryMap
    : private CPluginHashTable<CPluginString, CCommandEntry, CPluginStringKeyTraits> {
    using Base = CPluginHashTable<CPluginString, CCommandEntry, CPluginStringKeyTraits>;

public:
    explicit CPluginEntryMap(int blockSize = 10) : Base(blockSize) {}

    static UINT HashKey(const CPluginString& key) { return CPluginStringKeyTraits::Hash(key); }

    using Base::Close;
    using Base::CreateLock;
    using Base::GetBlockCount;
    using Base::GetCount;
    using Base::GetHashTableSize;
    using Base::GetNextAssoc;
    using Base::GetStartPosition;
    using Base::HasHashTable;
    using Base::Lock;
    using Base::LockedGetCount;
    using Base::LockedLookup;
    using Base::LockedSetAt;
    using Base::Lookup;
    using Base::operator[];
    using Base::RemoveAll;
    using Base::RemoveKey;
    using Base::SetAt;
    using Base::Unlock;
};
