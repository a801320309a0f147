// The host's BSTR when an allocation inside Get or DispatchSync fails: the
// export leaves it as it was or replaces it, and never frees it without a
// replacement, which the host would then free a second time. Each
// allocation of the call is made to fail in turn, one per run.
#include "HostFixture.h"

#include <objbase.h>

#include <atomic>
#include <functional>

namespace {

// BSTRs come from the process's task allocator, and a spy on it sees each
// allocation and free. On the thread that arms it, the one allocation
// after the allowed number fails.
thread_local int theAllowed = -1; // not armed
thread_local bool theFailureMade = false;
thread_local void* theLastBlock = nullptr;
std::atomic<void*> theWatchedBlock{nullptr};
std::atomic<bool> theWatchedBlockFreed{false};

class CAllocationSpy : public IMallocSpy {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        *object = iid == __uuidof(IUnknown) || iid == __uuidof(IMallocSpy) ? this : nullptr;
        return *object ? S_OK : E_NOINTERFACE;
    }
    // Static: it stays registered for the rest of the process.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    SIZE_T STDMETHODCALLTYPE PreAlloc(SIZE_T size) override {
        if (theAllowed < 0)
            return size;
        if (theAllowed == 0) {
            theAllowed = -1;
            theFailureMade = true;
            return 0; // the allocation fails
        }
        --theAllowed;
        return size;
    }
    void* STDMETHODCALLTYPE PostAlloc(void* block) override { return theLastBlock = block; }
    void* STDMETHODCALLTYPE PreFree(void* block, BOOL) override {
        if (block && block == theWatchedBlock)
            theWatchedBlockFreed = true;
        return block;
    }
    void STDMETHODCALLTYPE PostFree(BOOL) override {}
    SIZE_T STDMETHODCALLTYPE PreRealloc(void* block, SIZE_T size, void** passed, BOOL) override {
        *passed = block;
        return size;
    }
    void* STDMETHODCALLTYPE PostRealloc(void* block, BOOL) override { return block; }
    void* STDMETHODCALLTYPE PreGetSize(void* block, BOOL) override { return block; }
    SIZE_T STDMETHODCALLTYPE PostGetSize(SIZE_T size, BOOL) override { return size; }
    void* STDMETHODCALLTYPE PreDidAlloc(void* block, BOOL) override { return block; }
    int STDMETHODCALLTYPE PostDidAlloc(void*, BOOL, int actual) override { return actual; }
    void STDMETHODCALLTYPE PreHeapMinimize() override {}
    void STDMETHODCALLTYPE PostHeapMinimize() override {}
};

// Without the cache a freed BSTR goes back to the allocator at once and a
// new one comes from it, so the spy sees both. The switch is exported by
// oleaut32 but not declared by its header.
bool BstrCacheTurnedOff() {
    using Switch = void(WINAPI*)();
    const Switch turnOff = reinterpret_cast<Switch>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("oleaut32.dll"), "SetOaNoCache")));
    if (turnOff)
        turnOff();
    return turnOff != nullptr;
}

bool SpyRegistered() {
    static CAllocationSpy spy;
    static const bool registered = BstrCacheTurnedOff() && SUCCEEDED(CoRegisterMallocSpy(&spy));
    return registered;
}

using Export = std::function<void(BSTR*)>;

// Runs the export with its first, second, ... allocation failing, until a
// run needs no more than it was allowed.
void FailEachAllocationInTurn(const Export& call, const std::wstring& expected) {
    ASSERT_TRUE(SpyRegistered());
    for (int allowed = 0; allowed < 500; ++allowed) {
        BSTR value = SysAllocString(L"The host's own text, longer than the answers");
        const BSTR hostText = value;
        theWatchedBlock = theLastBlock;
        theWatchedBlockFreed = false;
        theFailureMade = false;
        theAllowed = allowed;
        call(&value);
        theAllowed = -1;
        if (value == hostText && theWatchedBlockFreed) {
            ADD_FAILURE() << "allocation " << allowed << " failed: the host's text was freed "
                          << "and not replaced";
            return;
        }
        if (value != hostText) {
            EXPECT_EQ(expected, std::wstring(value, SysStringLen(value))) << allowed;
        }
        SysFreeString(value);
        if (!theFailureMade)
            return;
    }
    ADD_FAILURE() << "the call still allocates after 500 allocations";
}

} // namespace

TEST_F(Host, GetWithAFailingAllocationLeavesTheHostsTextOrReplacesIt) {
    const CPluginHost::GetFunction get = m_host.RawGet();
    FailEachAllocationInTurn([&](BSTR* value) { get(L"Min_Studio_Ver", value); }, L"03.01.0000");
}

TEST_F(Host, DispatchSyncWithAFailingAllocationLeavesTheHostsTextOrReplacesIt) {
    const CPluginHost::DispatchSyncFunction dispatchSync = m_host.RawDispatchSync();
    const std::wstring text = WhatIs(L"Acme Short");
    const BSTR call = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    FailEachAllocationInTurn([&](BSTR* result) { dispatchSync(call, result); },
                             EncodeItems({L"answer", L"Acme Short"}));
    SysFreeString(call);
}
