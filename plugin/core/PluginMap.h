#pragma once
// Text keys to pointers. The map never frees the pointers it holds: their
// owners do.

#include "PluginHashTable.h"

extern template class CPluginHashTable<CPluginString, void*, CPluginStringKeyTraits>;

class CPluginMap : private CPluginHashTable<CPluginString, void*, CPluginStringKeyTraits> {
    using Base = CPluginHashTable<CPluginString, void*, CPluginStringKeyTraits>;

public:
    explicit CPluginMap(int blockSize = 10) : Base(blockSize) {}

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
    using Base::LockedRemoveKey;
    using Base::LockedSetAt;
    using Base::Lookup;
    using Base::operator[];
    using Base::RemoveAll;
    using Base::RemoveKey;
    using Base::SetAt;
    using Base::Unlock;
};
