// The real BrindlecodeFlash.dll, loaded and driven as SWF Studio drives it.
#include "HostWindowStub.h"
#include "HostFixture.h"
#include "WindowSearch.h"

#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

namespace {

std::wstring ReadExpectedManifest() {
    std::wstring path = PluginPath();
    path.replace(path.find_last_of(L"\\/") + 1, std::wstring::npos, L"ExpectedManifest.xml");
    std::ifstream file(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    const std::string bytes = text.str();
    return std::wstring(bytes.begin(), bytes.end());
}

} // namespace

TEST_F(Host, PropertiesAnswerInAnyCaseButNotWithABlank) {
    int status = -1;
    EXPECT_EQ(L"BrindlecodeFlash", m_host.Get(L"pLuGiN_nAmE", &status));
    EXPECT_EQ(0, status);
    EXPECT_EQ(L"02.00.2", m_host.Get(L"Plugin_Version", &status));
    EXPECT_EQ(L"Brindlecode", m_host.Get(L"PLUGIN_AUTHOR", &status));
    EXPECT_EQ(L"03.01.0000", m_host.Get(L"min_studio_ver", &status));
    EXPECT_EQ(0, status);
    EXPECT_EQ(L"brcContactSupport,brcCheckUpdate,brcWhatIs,brcAbout",
              m_host.Get(L"Plugin_Commands", &status));
    EXPECT_EQ(L"BRC", m_host.Get(L"Plugin_Aliases", &status));
    EXPECT_EQ(L"", m_host.Get(L" Plugin_Name", &status));
    EXPECT_EQ(1, status);
    EXPECT_EQ(1, m_host.Set(L"Plugin_Name", L"x"));
}

TEST_F(Host, PluginWindowKeepsTheSigned32BitNumberSet) {
    int status = -1;
    EXPECT_EQ(L"0", m_host.Get(L"Plugin_Window", &status));
    EXPECT_EQ(0, status);
    EXPECT_EQ(0, m_host.Set(L"plugin_window", L"  -1234xyz"));
    EXPECT_EQ(L"-1234", m_host.Get(L"Plugin_Window", &status));
    EXPECT_EQ(-1234, status);
    CHostWindowStub window;
    EXPECT_EQ(0, m_host.Set(L"Plugin_Window", std::to_wstring(window.HandleValue())));
    EXPECT_EQ(std::to_wstring(window.HandleValue()), m_host.Get(L"Plugin_Window", &status));
    EXPECT_EQ(window.HandleValue(), status);
    m_host.Set(L"Plugin_Window", L"0");
}

TEST_F(Host, OneAliasAtATime) {
    EXPECT_EQ(0, m_host.OnLoad(L"BRC "));
    EXPECT_EQ(1, m_host.OnLoad(L"other"));
    EXPECT_EQ(1, m_host.OnUnload(L"other"));
    EXPECT_EQ(0, m_host.OnUnload(L"Brc"));
    EXPECT_EQ(1, m_host.OnUnload(kAlias));
    EXPECT_EQ(0, m_host.OnLoad(kAlias));
}

TEST_F(Host, CallTextsAreParsedAsTheHostWritesThem) {
    const std::wstring list = EncodeItems({L"", L"company_name", L"Acme One", L"information_query",
                                           L"companyname", L"result", L"answer"});
    struct Case {
        std::wstring text;
        int code;
        Items result;
    };
    const Case cases[] = {
        {L"  brc . brcWhatIs ,  " + list, 0, {L"answer", L"Acme One"}},
        {L"brc", -3, {L"old"}},
        {L"brc.brcWhatIs", 0, {}},
        {L"other.nothing," + list, -2, {L"old"}},
        {L"brc.nothing," + list, -3, {L"old"}},
        // The later company counts; a last name without a value is an empty
        // argument.
        {L"brc.brcWhatIs," + EncodeItems({L"", L"company_name", L"First", L"result", L"answer",
                                          L"company_name", L"Second", L"information_query"}),
         0,
         {L"answer", L"Error, WhatIs string unrecognized:"}},
    };
    for (const Case& c : cases) {
        Items result{L"old"};
        EXPECT_EQ(c.code, m_host.DispatchSync(c.text, &result)) << c.text;
        EXPECT_EQ(c.result, result) << c.text;
    }
}

TEST_F(Host, WhatIsAnswersThroughDispatchSyncAndDispatch) {
    Items result;
    EXPECT_EQ(0, m_host.DispatchSync(WhatIs(L"Acme Sync"), &result));
    EXPECT_EQ((Items{L"answer", L"Acme Sync"}), result);

    CHostWindowStub window;
    m_host.Set(L"Plugin_Window", std::to_wstring(window.HandleValue()));
    EXPECT_EQ(0, m_host.Dispatch(WhatIs(L"Acme Async", L"call-7")));
    ASSERT_TRUE(window.WaitForCount(2, 20000));
    std::vector<CReceivedMessage> messages = window.Messages();
    EXPECT_EQ((CKeyValue{L"answer", L"Acme Async"}), ParseMessage(messages[0].text));
    EXPECT_EQ((CKeyValue{L"call-7", L"0"}), ParseMessage(messages[1].text));
    m_host.Set(L"Plugin_Window", L"0");
}

TEST_F(Host, ACompanyNameOutsideAsciiReachesTheLibraryAndBack) {
    ASSERT_EQ(1252u, GetACP());
    Items result;
    EXPECT_EQ(0, m_host.DispatchSync(WhatIs(L"Caf\u00E9 Inc"), &result));
    EXPECT_EQ((Items{L"answer", L"Caf\u00E9 Inc"}), result);
}

TEST_F(Host, AnArgumentOfSeveralMegabytesRunsOnTheWorker) {
    const std::wstring query(4 * 1024 * 1024, L'q');
    Items result;
    EXPECT_EQ(0,
              m_host.DispatchSync(CallText(kAlias, L"brcWhatIs", L"",
                                           {{L"information_query", query}, {L"result", L"answer"}}),
                                  &result));
    ASSERT_EQ(2u, result.size());
    EXPECT_EQ(L"answer", result[0]);
}

TEST_F(Host, OverlappingCallsEachGetTheirOwnCompany) {
    const int threads = 8, calls = 200;
    std::atomic<int> wrong{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; ++t)
        workers.emplace_back([&, t] {
            for (int i = 0; i < calls; ++i) {
                const std::wstring company =
                    L"Company " + std::to_wstring(t) + L"-" + std::to_wstring(i);
                Items result;
                if (m_host.DispatchSync(WhatIs(company), &result) != 0 ||
                    result != Items{L"answer", company})
                    ++wrong;
            }
        });
    for (std::thread& worker : workers)
        worker.join();
    EXPECT_EQ(0, wrong.load());
}

TEST_F(Host, TheManifestIsTheExpectedDocument) {
    const std::wstring expected = ReadExpectedManifest();
    ASSERT_FALSE(expected.empty());
    int status = -1;
    EXPECT_EQ(expected, m_host.Get(L"Plugin_Manifest", &status));
    EXPECT_EQ(0, status);
}

TEST_F(Host, UnloadingWithCallsRunningEndsAndTheDllLoadsAgain) {
    CHostWindowStub window;
    m_host.Set(L"Plugin_Window", std::to_wstring(window.HandleValue()));
    for (int i = 0; i < 20; ++i)
        m_host.Dispatch(WhatIs(L"Acme " + std::to_wstring(i), L"id" + std::to_wstring(i)));
    m_host.Unload();
    ASSERT_TRUE(m_host.Load(PluginPath()));
    ASSERT_EQ(0, m_host.OnLoad(kAlias));
    Items result;
    EXPECT_EQ(0, m_host.DispatchSync(WhatIs(L"Acme Again"), &result));
    EXPECT_EQ((Items{L"answer", L"Acme Again"}), result);
}

namespace {

std::wstring CheckUpdate(const std::wstring& software, const std::wstring& options) {
    return CallText(kAlias, L"brcCheckUpdate", L"",
                    {{L"company_name", L"Check Flow Co"},
                     {L"software_name", software},
                     {L"current_version", L"1.0"},
                     {L"update_options", options},
                     {L"result", L"latest"}});
}

} // namespace

TEST_F(Host, CheckUpdateOfAProductNotListedAnswersTheCurrentVersion) {
    Items checked;
    int checkCode = -100;
    std::thread check([&] {
        checkCode = m_host.DispatchSync(CheckUpdate(L"Not Listed Anywhere", L""), &checked);
    });
    // The library tells the user whom to ask.
    const HWND box = WaitForProcessWindow("Contact Check Flow Co", 30000);
    EXPECT_NE(nullptr, box);
    if (box)
        PostMessageA(box, WM_COMMAND, IDOK, 0);
    // The check ends once its box is answered, or at once without one.
    check.join();
    EXPECT_EQ(0, checkCode);
    EXPECT_EQ((Items{L"latest", L"1.0"}), checked);
}

TEST_F(Host, WhatIsCompletesWhileACheckUpdateQuestionIsOnScreen) {
    Items checked;
    int checkCode = -100;
    std::thread check(
        [&] { checkCode = m_host.DispatchSync(CheckUpdate(L"Ask No", L"a"), &checked); });
    const HWND box = WaitForProcessWindow("Update?", 30000);
    EXPECT_NE(nullptr, box);
    Items result;
    EXPECT_EQ(0, m_host.DispatchSync(WhatIs(L"Acme Meanwhile"), &result));
    EXPECT_EQ((Items{L"answer", L"Acme Meanwhile"}), result);
    if (box)
        PostMessageA(box, WM_COMMAND, IDNO, 0);
    // The check ends once its question is answered, or at once without one.
    check.join();
    EXPECT_EQ(0, checkCode);
    EXPECT_EQ((Items{L"latest", L"2.0"}), checked);
}
