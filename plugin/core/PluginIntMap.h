#pragma once
// 32-bit integer keys to pointers. The bucket is (key >> 4) mod 17, with the
// key taken as unsigned. The map never frees the pointers it holds.

#include "PluginHashTable.h"

extern template class CPluginHashTable<int, void*, CPluginIntKeyTraits>;

class CPluginIntMap : private CPluginHashTable<int, void*, CPluginIntKeyTraits> {
    using Base = CPluginHashTable<int, void*, CPluginIntKeyTraits>;

public:
    explicit CPluginIntMap(int blockSize = 10) : Base(blockSize) {}

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
    using Base::LockedRemoveKey;
    using Base::LockedSetAt;
    using Base::operator[];
    using Base::RemoveAll;
    using Base::RemoveKey;
    using Base::SetAt;
    using Base::Unlock;
};
