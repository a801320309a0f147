#pragma once
// The chained hash map shared by CPluginMap, CPluginEntryMap and
// CPluginIntMap: 17 buckets, nodes taken from blocks and recycled through a
// free list, and an optional mutex for the locked forms. The three maps
// expose the parts of it that they use.

#include "PluginMutex.h"
#include "PluginPosition.h"
#include "PluginString.h"

#include <new>

// Keys hash by h * 33 + unit over the units up to the first zero unit, and
// are equal when Compare finds them so (exact, case-sensitive).
struct CPluginStringKeyTraits {
    static UINT Hash(const CPluginString& key) {
        UINT hash = 0;
        for (const wchar_t* unit = key.GetBSTR(); *unit; ++unit)
            hash = hash * 33 + *unit;
        return hash;
    }
    static bool Equal(const CPluginString& a, const CPluginString& b) { return a.Compare(b) == 0; }
};

// Keys that differ only in their low four bits share a bucket.
struct CPluginIntKeyTraits {
    static UINT Hash(int key) { return static_cast<UINT>(key) >> 4; }
    static bool Equal(int a, int b) { return a == b; }
};

template <class TKey, class TValue, class TTraits> class CPluginHashTable {
public:
    enum { kBucketCount = 17 };

    explicit CPluginHashTable(int blockSize) : m_blockSize(blockSize > 0 ? blockSize : 1) {}
    ~CPluginHashTable() { RemoveAll(); }
    CPluginHashTable(const CPluginHashTable&) = delete;
    CPluginHashTable& operator=(const CPluginHashTable&) = delete;

    // The owner of a locked instance calls this right after construction.
    bool CreateLock() { return m_mutex.Create(); }
    void Lock() const { m_mutex.Lock(); }
    void Unlock() const { m_mutex.Unlock(); }
    // Teardown only, when no other thread can reach the map any more.
    void Close() {
        m_mutex.CloseHeld();
        RemoveAll();
    }

    bool Lookup(const TKey& key, TValue& value) const {
        const CAssoc* node = Find(key, BucketOf(key));
        if (!node)
            return false;
        value = node->value;
        return true;
    }
    bool LockedLookup(const TKey& key, TValue& value) const {
        CPluginMutex::Hold hold(m_mutex);
        return Lookup(key, value);
    }

    // Finds the key or inserts it with a fresh value; the slot may be written.
    TValue& operator[](const TKey& key) {
        UINT bucket = BucketOf(key);
        if (CAssoc* node = Find(key, bucket))
            return node->value;
        return Insert(key, bucket)->value;
    }
    void SetAt(const TKey& key, const TValue& value) { (*this)[key] = value; }
    void LockedSetAt(const TKey& key, const TValue& value) {
        CPluginMutex::Hold hold(m_mutex);
        SetAt(key, value);
    }

    bool RemoveKey(const TKey& key);
    bool LockedRemoveKey(const TKey& key) {
        CPluginMutex::Hold hold(m_mutex);
        return RemoveKey(key);
    }

    int GetCount() const { return m_count; }
    int LockedGetCount() const {
        CPluginMutex::Hold hold(m_mutex);
        return m_count;
    }

    POSITION GetStartPosition() const { return m_count ? BEFORE_START_POSITION : nullptr; }
    // Reports the entry at the position and moves on: bucket 0 to 16, newest
    // first within a bucket. A position whose entry has been removed since
    // ends the walk (false, position null) instead of reading freed memory.
    bool GetNextAssoc(POSITION& position, TKey& key, TValue& value) const;

    void RemoveAll();

    // Inspection of the storage state.
    bool HasHashTable() const { return m_table != nullptr; }
    UINT GetHashTableSize() const { return m_bucketCount; }
    int GetBlockCount() const;

private:
    struct CAssoc {
        CAssoc* next;
        UINT bucket;
        TKey key;
        TValue value;
    };
    // A free slot is linked through the same first word that a node uses as
    // its chain link.
    union CSlot {
        CSlot* nextFree;
        CAssoc assoc;
        CSlot() : nextFree(nullptr) {}
        ~CSlot() {}
    };
    struct CBlock {
        CBlock* previous;
        CSlot* Slots() { return reinterpret_cast<CSlot*>(this + 1); }
    };
    static_assert(alignof(CSlot) <= alignof(CBlock), "slots follow the block link");

    UINT BucketOf(const TKey& key) const { return TTraits::Hash(key) % m_bucketCount; }
    CAssoc* Find(const TKey& key, UINT bucket) const;
    CAssoc* FirstFrom(UINT bucket) const;
    bool IsLinked(const CAssoc* node) const;
    void InitHashTable(UINT size, bool allocate);
    CAssoc* Insert(const TKey& key, UINT bucket);
    void AddBlock();
    void FreeAssoc(CAssoc* node);

    CAssoc** m_table = nullptr;
    UINT m_bucketCount = kBucketCount;
    int m_count = 0;
    CSlot* m_free = nullptr;
    CBlock* m_blocks = nullptr;
    int m_blockSize;
    mutable CPluginMutex m_mutex;
};

template <class TKey, class TValue, class TTraits>
typename CPluginHashTable<TKey, TValue, TTraits>::CAssoc*
CPluginHashTable<TKey, TValue, TTraits>::Find(const TKey& key, UINT bucket) const {
    if (!m_table)
        return nullptr;
    for (CAssoc* node = m_table[bucket]; node; node = node->next)
        if (TTraits::Equal(node->key, key))
            return node;
    return nullptr;
}

template <class TKey, class TValue, class TTraits>
typename CPluginHashTable<TKey, TValue, TTraits>::CAssoc*
CPluginHashTable<TKey, TValue, TTraits>::FirstFrom(UINT bucket) const {
    if (!m_table)
        return nullptr;
    for (; bucket < m_bucketCount; ++bucket)
        if (m_table[bucket])
            return m_table[bucket];
    return nullptr;
}

template <class TKey, class TValue, class TTraits>
bool CPluginHashTable<TKey, TValue, TTraits>::IsLinked(const CAssoc* node) const {
    for (const CAssoc* linked = FirstFrom(0); linked;
         linked = linked->next ? linked->next : FirstFrom(linked->bucket + 1))
        if (linked == node)
            return true;
    return false;
}

template <class TKey, class TValue, class TTraits>
void CPluginHashTable<TKey, TValue, TTraits>::InitHashTable(UINT size, bool allocate) {
    delete[] m_table;
    m_table = nullptr;
    if (allocate)
        m_table = new CAssoc*[size]();
    m_bucketCount = size;
}

template <class TKey, class TValue, class TTraits>
void CPluginHashTable<TKey, TValue, TTraits>::AddBlock() {
    void* memory = ::operator new(sizeof(CBlock) + sizeof(CSlot) * m_blockSize);
    CBlock* block = static_cast<CBlock*>(memory);
    block->previous = m_blocks;
    m_blocks = block;
    CSlot* slots = block->Slots();
    // Pushed last to first, so the block's nodes are handed out first to last.
    for (int i = m_blockSize - 1; i >= 0; --i) {
        CSlot* slot = new (&slots[i]) CSlot();
        slot->nextFree = m_free;
        m_free = slot;
    }
}

template <class TKey, class TValue, class TTraits>
typename CPluginHashTable<TKey, TValue, TTraits>::CAssoc*
CPluginHashTable<TKey, TValue, TTraits>::Insert(const TKey& key, UINT bucket) {
    if (!m_table)
        InitHashTable(m_bucketCount, true);
    if (!m_free)
        AddBlock();
    CSlot* slot = m_free;
    CSlot* nextFree = slot->nextFree;
    // Built before the slot leaves the free list: a failed key copy leaves
    // the map as it was.
    CAssoc* node = new (&slot->assoc) CAssoc{m_table[bucket], bucket, key, TValue()};
    m_free = nextFree;
    ++m_count;
    m_table[bucket] = node;
    return node;
}

template <class TKey, class TValue, class TTraits>
void CPluginHashTable<TKey, TValue, TTraits>::FreeAssoc(CAssoc* node) {
    node->~CAssoc();
    CSlot* slot = reinterpret_cast<CSlot*>(node);
    slot->nextFree = m_free;
    m_free = slot;
    // The last entry takes the table and every block with it.
    if (--m_count == 0)
        RemoveAll();
}

template <class TKey, class TValue, class TTraits>
bool CPluginHashTable<TKey, TValue, TTraits>::RemoveKey(const TKey& key) {
    if (!m_table)
        return false;
    for (CAssoc** link = &m_table[BucketOf(key)]; *link; link = &(*link)->next) {
        if (TTraits::Equal((*link)->key, key)) {
            CAssoc* node = *link;
            *link = node->next;
            FreeAssoc(node);
            return true;
        }
    }
    return false;
}

template <class TKey, class TValue, class TTraits>
bool CPluginHashTable<TKey, TValue, TTraits>::GetNextAssoc(POSITION& position, TKey& key,
                                                           TValue& value) const {
    CAssoc* node = nullptr;
    if (position == BEFORE_START_POSITION)
        node = FirstFrom(0);
    else if (position && IsLinked(reinterpret_cast<CAssoc*>(position)))
        node = reinterpret_cast<CAssoc*>(position);
    if (!node) {
        position = nullptr;
        return false;
    }
    key = node->key;
    value = node->value;
    CAssoc* next = node->next ? node->next : FirstFrom(node->bucket + 1);
    position = reinterpret_cast<POSITION>(next);
    return true;
}

template <class TKey, class TValue, class TTraits>
void CPluginHashTable<TKey, TValue, TTraits>::RemoveAll() {
    if (m_table) {
        for (UINT bucket = 0; bucket < m_bucketCount; ++bucket) {
            for (CAssoc* node = m_table[bucket]; node;) {
                CAssoc* next = node->next;
                node->~CAssoc();
                node = next;
            }
        }
    }
    InitHashTable(m_bucketCount, false);
    while (m_blocks) {
        CBlock* previous = m_blocks->previous;
        ::operator delete(m_blocks);
        m_blocks = previous;
    }
    m_count = 0;
    m_free = nullptr;
}

template <class TKey, class TValue, class TTraits>
int CPluginHashTable<TKey, TValue, TTraits>::GetBlockCount() const {
    int blocks = 0;
    for (const CBlock* block = m_blocks; block; block = block->previous)
        ++blocks;
    return blocks;
}
