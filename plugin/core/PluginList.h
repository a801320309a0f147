#pragma once
// A doubly linked list of values held in its nodes: pointer-sized values
// (pointers it never frees, or integers) or CPluginString copies it owns.
// With AddTail and RemoveHead it is a first-in first-out queue. A locked
// instance's owner gives it a mutex with CreateLock.

#include "PluginMutex.h"
#include "PluginPosition.h"

#include <type_traits>
#include <utility>

template <class T> class CPluginList {
public:
    CPluginList() = default;
    ~CPluginList() { RemoveAll(); }
    CPluginList(const CPluginList&) = delete;
    CPluginList& operator=(const CPluginList&) = delete;

    bool CreateLock() { return m_mutex.Create(); }
    void Lock() const { m_mutex.Lock(); }
    void Unlock() const { m_mutex.Unlock(); }
    // Teardown only, when no other thread can reach the list any more.
    void Close() {
        m_mutex.CloseHeld();
        RemoveAll();
    }

    // The value is built in the new node from the arguments: a copy of a
    // value, or a string straight from its units.
    template <class... Args> POSITION AddTail(Args&&... args) {
        CNode* node = new CNode{T(std::forward<Args>(args)...), m_tail, nullptr};
        if (m_tail)
            m_tail->next = node;
        else
            m_head = node;
        m_tail = node;
        ++m_count;
        return reinterpret_cast<POSITION>(node);
    }
    template <class... Args> POSITION LockedAddTail(Args&&... args) {
        CPluginMutex::Hold hold(m_mutex);
        return AddTail(std::forward<Args>(args)...);
    }

    // On an empty list: a value-initialised T (0, null, empty string).
    T RemoveHead() {
        if (!m_head)
            return T();
        CNode* node = m_head;
        m_head = node->next;
        if (m_head)
            m_head->previous = nullptr;
        else
            m_tail = nullptr;
        return Unlinked(node);
    }
    T LockedRemoveHead() {
        CPluginMutex::Hold hold(m_mutex);
        return RemoveHead();
    }
    T RemoveTail() {
        if (!m_tail)
            return T();
        CNode* node = m_tail;
        m_tail = node->previous;
        if (m_tail)
            m_tail->next = nullptr;
        else
            m_head = nullptr;
        return Unlinked(node);
    }

    bool IsEmpty() const { return m_head == nullptr; }
    bool LockedIsEmpty() const {
        CPluginMutex::Hold hold(m_mutex);
        return IsEmpty();
    }
    int GetCount() const { return m_count; }

    POSITION GetHeadPosition() const { return reinterpret_cast<POSITION>(m_head); }
    // The value at the position; the position moves to the next node, null
    // after the last.
    const T& GetNext(POSITION& position) const {
        const CNode* node = reinterpret_cast<const CNode*>(position);
        position = reinterpret_cast<POSITION>(node->next);
        return node->value;
    }

    // Ascending as signed 32-bit integers; values move, nodes stay.
    void Sort() {
        static_assert(std::is_integral<T>::value, "only integer lists are sorted");
        for (CNode* a = m_head; a; a = a->next)
            for (CNode* b = a->next; b; b = b->next)
                if (static_cast<INT32>(a->value) > static_cast<INT32>(b->value))
                    std::swap(a->value, b->value);
    }

    void RemoveAll() {
        while (m_head) {
            CNode* next = m_head->next;
            delete m_head;
            m_head = next;
        }
        m_tail = nullptr;
        m_count = 0;
    }

private:
    struct CNode {
        T value;
        CNode* previous;
        CNode* next;
    };

    T Unlinked(CNode* node) {
        --m_count;
        T value(std::move(node->value));
        delete node;
        return value;
    }

    CNode* m_head = nullptr;
    CNode* m_tail = nullptr;
    int m_count = 0;
    mutable CPluginMutex m_mutex;
};
