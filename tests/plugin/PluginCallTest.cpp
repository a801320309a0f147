#include "CallDriver.h"
#include "CommandInfo.h"
#include "HostWindow.h"
#include "HostWindowStub.h"
#include "Stopwatch.h"
#include "MessageDispatcher.h"
#include "ModuleLifetime.h"
#include "ThreadStart.h"
#include "WindowSearch.h"

#include <comdef.h>
#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>

namespace {

int PostSevenAndReturn0(void*, CPluginCall* call) {
    call->SetResultInt(L"result", 7);
    return 0;
}

// Posts the "value" argument as "result".
int EchoValue(void*, CPluginCall* call) {
    call->SetResultString(L"result", call->GetArgument(L"value"));
    return 0;
}

int PostThenThrowComError(void*, CPluginCall* call) {
    call->SetResultString(L"result", L"partial");
    throw _com_error(E_FAIL);
}

int PostThenThrowOther(void*, CPluginCall* call) {
    call->SetResultString(L"result", L"partial");
    throw std::runtime_error("handler failed");
}

int PostResultTwice(void*, CPluginCall* call) {
    call->SetResultString(L"result", L"first");
    call->SetResultString(L"result", L"second");
    return 5;
}

int PostToOther(void*, CPluginCall* call) {
    call->SetResultString(L"other", L"lost");
    return 0;
}

class PluginCallTest : public testing::Test {
protected:
    void SetUp() override { SetHostWindow(m_host.HandleValue()); }
    void TearDown() override { SetHostWindow(0); }

    // The messages since the last call, once everything queued before has
    // reached the window: a marker queued now arrives after it.
    std::vector<CReceivedMessage> MessagesBeforeMarker() {
        const CPluginString marker(L"marker");
        SendAsyncMessage(TheMessageDispatcher(), m_host.Window(), marker, CPluginString(), nullptr);
        EXPECT_TRUE(PumpUntil(
            [&] {
                auto messages = m_host.Messages();
                return messages.size() > m_seen &&
                       ParseMessage(messages.back().text).key == L"marker";
            },
            10000));
        auto messages = m_host.Messages();
        std::vector<CReceivedMessage> fresh(messages.begin() + m_seen, messages.end() - 1);
        m_seen = messages.size();
        return fresh;
    }

    std::vector<CKeyValue> KeyValuesBeforeMarker() {
        std::vector<CKeyValue> pairs;
        for (const auto& message : MessagesBeforeMarker())
            pairs.push_back(ParseMessage(message.text));
        return pairs;
    }

    CHostWindowStub m_host;
    size_t m_seen = 0;
};

} // namespace

TEST_F(PluginCallTest, ValueThenCodeReachTheHostWindowByteForByte) {
    ASSERT_TRUE(RunAsyncCallToEnd(PostSevenAndReturn0, L"call-1", {{L"result", L"myVar"}}));
    const auto messages = MessagesBeforeMarker();
    ASSERT_EQ(2u, messages.size());
    EXPECT_EQ(L"B9A8638E9F624A5796B7BAFF89AD132C"
              L"0000000002"
              L"0000000005myVar"
              L"00000000017",
              messages[0].text);
    EXPECT_EQ(136u, messages[0].cbData);
    EXPECT_EQ(L"B9A8638E9F624A5796B7BAFF89AD132C"
              L"0000000002"
              L"0000000006call-1"
              L"00000000010",
              messages[1].text);
    EXPECT_EQ(138u, messages[1].cbData);
    for (const auto& message : messages)
        EXPECT_EQ(0u, message.dwData);
}

TEST_F(PluginCallTest, LengthsAndByteCountFollowTheUtf16UnitsOfKeyAndValue) {
    struct Case {
        const wchar_t* key;
        const wchar_t* value;
        DWORD cbData;
    } cases[] = {
        {L"r", L"", 2 * 63},
        {L"r", L"\U0001F600x", 2 * 66},
        {L"\U00010348key", L"v", 2 * 68},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(RunAsyncCallToEnd(EchoValue, L"", {{L"result", c.key}, {L"value", c.value}}));
        const auto messages = MessagesBeforeMarker();
        ASSERT_EQ(1u, messages.size()) << c.value;
        EXPECT_EQ(ExpectedMessage(c.key, c.value), messages[0].text);
        EXPECT_EQ(c.cbData, messages[0].cbData);
    }
}

TEST_F(PluginCallTest, AnEmptyKeyOrIdentifierSendsNothing) {
    ASSERT_TRUE(RunAsyncCallToEnd(PostSevenAndReturn0, L"", {{L"result", L""}}));
    EXPECT_TRUE(MessagesBeforeMarker().empty());
}

TEST_F(PluginCallTest, AHandlerExceptionBecomesTheCodeAfterItsPostedValues) {
    const struct {
        PluginCommandHandler handler;
        const wchar_t* code;
    } cases[] = {{PostThenThrowComError, L"-4"}, {PostThenThrowOther, L"-1"}};
    for (const auto& c : cases) {
        CHostWindowStub host;
        SetHostWindow(host.HandleValue());
        ASSERT_TRUE(RunAsyncCallToEnd(c.handler, L"id", {{L"result", L"out"}}));
        ASSERT_TRUE(host.WaitForCount(2, 10000));
        const auto messages = host.Messages();
        EXPECT_EQ((CKeyValue{L"out", L"partial"}), ParseMessage(messages[0].text));
        EXPECT_EQ((CKeyValue{L"id", c.code}), ParseMessage(messages[1].text));
    }
}

TEST_F(PluginCallTest, ASynchronousCallKeepsTheFirstOfTwoValuesOfOneParameter) {
    std::wstring encoded;
    EXPECT_EQ(5, RunSyncCall(PostResultTwice, {{L"result", L"myVar"}}, &encoded));
    EXPECT_EQ(L"0000000002"
              L"0000000005myVar"
              L"0000000005first",
              encoded);
    EXPECT_TRUE(MessagesBeforeMarker().empty());
}

TEST_F(PluginCallTest, AValueForAParameterTheHostDidNotPassGoesNowhere) {
    std::wstring encoded;
    EXPECT_EQ(0, RunSyncCall(PostToOther, {{L"result", L"myVar"}}, &encoded));
    EXPECT_EQ(L"0000000000", encoded);
    ASSERT_TRUE(RunAsyncCallToEnd(PostToOther, L"", {{L"result", L"myVar"}}));
    EXPECT_TRUE(MessagesBeforeMarker().empty());
}

TEST(GetArgument, FindsTheArgumentInAnyCaseAndWithBlanksAround) {
    CPluginCall call(MakeCallData(L"", {{L" Company_Name ", L"Acme"}}), nullptr);
    for (const wchar_t* name : {L"company_name", L"COMPANY_NAME", L"  Company_Name\t"}) {
        int missing = -1;
        const wchar_t* text = call.GetArgument(name, &missing);
        ASSERT_NE(nullptr, text) << name;
        EXPECT_STREQ(L"Acme", text);
        EXPECT_EQ(0, missing);
    }
    int missing = -1;
    EXPECT_EQ(nullptr, call.GetArgument(L"software_name", &missing));
    EXPECT_EQ(1, missing);
}

// Only an IN parameter declared with a has-default flag of exactly 1 falls
// back to its default; an argument the host passed always wins.
TEST(GetArgument, FallsBackToTheDefaultOfAnInParameterOnly) {
    CCommandInfo info(L"command", L"");
    const struct {
        const wchar_t* name;
        int kind;
        int hasDefault;
    } parameters[] = {{L"InDefault", kParameterIn, 1},
                      {L"OutDefault", kParameterOut, 1},
                      {L"InFlagTwo", kParameterIn, 2},
                      {L"Passed", kParameterIn, 1}};
    for (const auto& p : parameters)
        info.AddParameter(
            new CParameterInfo(&info, p.name, L"", 0, p.kind, p.hasDefault, L"fallback", L""));
    std::unique_ptr<CCallData> data = MakeCallData(L"", {{L"passed", L"given"}});
    data->description = &info;
    CPluginCall call(std::move(data), nullptr);

    const struct {
        const wchar_t* name;
        const wchar_t* text;
        int missing;
    } cases[] = {{L"indefault", L"fallback", 0},
                 {L"outdefault", nullptr, 1},
                 {L"inflagtwo", nullptr, 1},
                 {L"passed", L"given", 0}};
    for (const auto& c : cases) {
        int missing = -1;
        const wchar_t* text = call.GetArgument(c.name, &missing);
        if (c.text)
            EXPECT_STREQ(c.text, text) << c.name;
        else
            EXPECT_EQ(nullptr, text) << c.name;
        EXPECT_EQ(c.missing, missing) << c.name;
    }
}

namespace {

std::atomic<int> theFailuresLeft{0};

HANDLE WINAPI FailingCreateThread(LPSECURITY_ATTRIBUTES security, SIZE_T stack,
                                  LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                                  LPDWORD id) {
    if (theFailuresLeft.fetch_sub(1) > 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return CreateThread(security, stack, start, parameter, flags, id);
}

class ThreadCreationFailure : public PluginCallTest {
protected:
    void SetUp() override {
        PluginCallTest::SetUp();
        SetCreateThreadFunction(FailingCreateThread);
    }
    void TearDown() override {
        SetCreateThreadFunction(nullptr);
        PluginCallTest::TearDown();
    }
};

} // namespace

TEST_F(ThreadCreationFailure, NineFailuresDelayTheCommandByAbout100Ms) {
    theFailuresLeft = 9;
    const CStopwatch stopwatch;
    EXPECT_EQ(1, StartAsyncCall(PostSevenAndReturn0, L"id", {{L"result", L"out"}}));
    const long long elapsed = stopwatch.ElapsedMs();
    EXPECT_GE(elapsed, 100);
    EXPECT_LT(elapsed, 3000);
    ASSERT_TRUE(m_host.WaitForCount(2, 10000));
    EXPECT_EQ((CKeyValue{L"id", L"0"}), ParseMessage(m_host.Messages()[1].text));
}

TEST_F(ThreadCreationFailure, TenFailuresReportMinus6AndReleaseTheCaller) {
    theFailuresLeft = 10;
    EXPECT_EQ(-6, RunSyncCall(PostSevenAndReturn0, {{L"result", L"out"}}, nullptr));
    theFailuresLeft = 10;
    EXPECT_EQ(0, StartAsyncCall(PostSevenAndReturn0, L"id", {{L"result", L"out"}}));
    const auto pairs = KeyValuesBeforeMarker();
    ASSERT_EQ(1u, pairs.size());
    EXPECT_EQ((CKeyValue{L"id", L"-6"}), pairs[0]);
}
