// The COM of the host's threads: an unload gives back only the
// initialisation its load made, and only on the thread that made it.
#include "HostFixture.h"

#include <objbase.h>

#include <thread>

namespace {

class HostCom : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_host.Load(PluginPath())); }

    // On a thread of its own, so that no test inherits another's apartment.
    template <class Work> static void OnNewThread(Work work) { std::thread(work).join(); }

    // The host's own entry into the multithreaded apartment; the second
    // one tells whether the first still holds (S_FALSE) or is gone (S_OK).
    static HRESULT EnterMta() { return CoInitializeEx(nullptr, COINIT_MULTITHREADED); }
    static void Leave(HRESULT entered) {
        if (SUCCEEDED(entered))
            CoUninitialize();
    }

    // Runs the work on a new thread inside the host's own multithreaded
    // apartment; S_FALSE when that apartment is still there afterwards.
    template <class Work> static HRESULT MtaAfter(Work work) {
        HRESULT first = E_FAIL, again = E_FAIL;
        OnNewThread([&] {
            first = EnterMta();
            work();
            again = EnterMta();
            Leave(again);
            Leave(first);
        });
        EXPECT_EQ(S_OK, first);
        return again;
    }

    CPluginHost m_host;
};

} // namespace

TEST_F(HostCom, ALoadAndUnloadOnAThreadInTheMultithreadedApartmentLeaveItThere) {
    EXPECT_EQ(S_FALSE, MtaAfter([&] {
                  EXPECT_EQ(0, m_host.OnLoad(kAlias));
                  EXPECT_EQ(0, m_host.OnUnload(kAlias));
              }));
}

TEST_F(HostCom, AnUnloadOnAnotherThreadLeavesThatThreadsComAlone) {
    OnNewThread([&] { EXPECT_EQ(0, m_host.OnLoad(kAlias)); });
    EXPECT_EQ(S_FALSE, MtaAfter([&] { EXPECT_EQ(0, m_host.OnUnload(kAlias)); }));
}

TEST_F(HostCom, ALoadAndUnloadOnOneThreadGiveBackTheApartmentTheLoadEntered) {
    HRESULT after = E_FAIL;
    OnNewThread([&] {
        EXPECT_EQ(0, m_host.OnLoad(kAlias));
        EXPECT_EQ(0, m_host.OnUnload(kAlias));
        // Still in the load's single-threaded apartment this would be
        // RPC_E_CHANGED_MODE.
        after = EnterMta();
        Leave(after);
    });
    EXPECT_EQ(S_OK, after);
}
