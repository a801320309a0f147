// Event dispatch without a control: sinks whose call descriptions are given
// by the test, or missing because the sink never connected.
#include <gtest/gtest.h>

#include <windows.h>
#include <exdisp.h>

#include "CWTLDispEventHelper.h"

namespace {

VARIANT Integer(LONG value) {
    VARIANT v;
    VariantInit(&v);
    v.vt = VT_I4;
    v.lVal = value;
    return v;
}

// Describes every event as taking `paramCount` 4-byte integers.
template <class T> class FixedInfoSink : public CWTLDispEventHelper<T, IWebBrowser2> {
public:
    HRESULT STDMETHODCALLTYPE GetEventFuncInfo(const IID&, DISPID, LCID,
                                               EventFuncInfo& info) override {
        info = EventFuncInfo();
        info.paramCount = paramCount;
        for (int i = 0; i < paramCount && i < kMaxEventParams; ++i)
            info.paramTypes[i] = VT_I4;
        return S_OK;
    }
    HRESULT Fire(DISPID dispid, VARIANT* args, UINT count) {
        DISPPARAMS params{args, nullptr, count, 0};
        return static_cast<IDispatch*>(this)->Invoke(dispid, IID_NULL, 0, DISPATCH_METHOD, &params,
                                                     nullptr, nullptr, nullptr);
    }
    int paramCount = 2;
};

class PairOwner : public FixedInfoSink<PairOwner> {
public:
    BEGIN_SINK_MAP(PairOwner)
    SINK_ENTRY(0, 1, OnPair)
    SINK_ENTRY(0, 2, OnNine)
    END_SINK_MAP()

    virtual void __stdcall OnPair(LONG first, LONG second) {
        calls.push_back(first);
        calls.push_back(second);
    }
    void __stdcall OnNine(LONG, LONG, LONG, LONG, LONG, LONG, LONG, LONG, LONG) {
        calls.push_back(9);
    }
    std::vector<LONG> calls;
};

class OverridingOwner : public PairOwner {
public:
    void __stdcall OnPair(LONG first, LONG second) override {
        calls.push_back(-first);
        calls.push_back(-second);
    }
};

// Never connected: its type information holder has nothing to load.
class UnconnectedOwner : public CWTLDispEventHelper<UnconnectedOwner, IWebBrowser2> {
public:
    BEGIN_SINK_MAP(UnconnectedOwner)
    SINK_ENTRY(0, 259, OnDocumentComplete)
    END_SINK_MAP()
    void __stdcall OnDocumentComplete(IDispatch*, VARIANT*) { ++calls; }
    int calls = 0;
};

} // namespace

TEST(EventDispatch, PositionalArgumentsAreReversedIntoDeclarationOrder) {
    PairOwner owner;
    VARIANT args[2] = {Integer(20), Integer(10)}; // last-first
    EXPECT_EQ(owner.Fire(1, args, 2), S_OK);
    EXPECT_EQ(owner.calls, (std::vector<LONG>{10, 20}));
}

TEST(EventDispatch, VirtualHandlerReachesTheOverride) {
    OverridingOwner owner;
    VARIANT args[2] = {Integer(20), Integer(10)};
    EXPECT_EQ(owner.Fire(1, args, 2), S_OK);
    EXPECT_EQ(owner.calls, (std::vector<LONG>{-10, -20}));
}

TEST(EventDispatch, MoreThanEightParametersFails) {
    PairOwner owner;
    owner.paramCount = 9;
    VARIANT args[9];
    for (LONG i = 0; i < 9; ++i)
        args[i] = Integer(i);
    EXPECT_EQ(owner.Fire(2, args, 9), E_FAIL);
    EXPECT_TRUE(owner.calls.empty());
}

TEST(EventDispatch, SinkThatNeverConnectedAcceptsEventsAndCallsNothing) {
    UnconnectedOwner owner;
    VARIANT args[2] = {Integer(0), Integer(0)};
    DISPPARAMS params{args, nullptr, 2, 0};
    EXPECT_EQ(static_cast<IDispatch*>(&owner)->Invoke(259, IID_NULL, 0, DISPATCH_METHOD, &params,
                                                      nullptr, nullptr, nullptr),
              S_OK);
    EXPECT_EQ(owner.calls, 0);
    EXPECT_TRUE(IsEqualGUID(UnconnectedOwner::TypeInfoHolder().GetIds().libid, GUID_NULL));
}
