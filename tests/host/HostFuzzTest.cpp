// Random and mutated call texts through Dispatch and DispatchSync: no fault,
// no hang, and every code one of the table's or the handler's. The only
// command the texts name is brcWhatIs, which opens no window; random edits
// of it cannot come near the names of the commands that do.
#include "HostFixture.h"
#include "HostWindowStub.h"
#include "WindowSearch.h"

#include <functional>
#include <numeric>
#include <random>
#include <thread>
#include <vector>

namespace {

const unsigned kSeed = 20261209;
const int kTexts = 100000;
// Every text is parsed whole, its list included, before its alias is looked
// up; only a text that names the loaded alias and a command reaches a worker,
// at the cost of a thread's start (milliseconds under Wine). So one base text
// in kLoadedAliasOneIn names the loaded alias: all texts test the parse, a
// few thousand test the worker's side, and the run takes about a minute.
const size_t kLoadedAliasOneIn = 20;

class CallTextFuzzer {
public:
    explicit CallTextFuzzer(unsigned seed) : m_random(seed) {}

    std::wstring Next() { return Pick(4) == 0 ? Random() : Mutated(); }

private:
    size_t Pick(size_t count) {
        return std::uniform_int_distribution<size_t>(0, count - 1)(m_random);
    }

    wchar_t Character() {
        static const wchar_t kCommon[] = L"brcWhatIs., 0123456789 \t";
        switch (Pick(4)) {
        case 0:
            return static_cast<wchar_t>(Pick(0x10000));
        case 1:
            // Surrogates and the ends of the range.
            return static_cast<wchar_t>(0xD800 + Pick(0x800));
        default:
            return kCommon[Pick(sizeof(kCommon) / sizeof(kCommon[0]) - 1)];
        }
    }

    std::wstring Random() {
        std::wstring text(Pick(80), L' ');
        for (wchar_t& c : text)
            c = Character();
        return text;
    }

    // The calls the mutations start from, on the given alias.
    static std::vector<std::wstring> Bases(const std::wstring& alias) {
        return {
            CallText(alias, L"brcWhatIs", L"fuzz",
                     {{L"company_name", L"Acme"},
                      {L"information_query", L"companyname"},
                      {L"result", L"answer"}}),
            CallText(alias, L"brcWhatIs", L"fuzz", {{L"result", L"answer"}}),
            CallText(alias, L"brcWhatIs", L"fuzz", {}),
            CallText(alias, L"nothing", L"fuzz", {{L"result", L"answer"}}),
        };
    }

    std::wstring Base() {
        static const std::vector<std::wstring> kLoaded = Bases(kAlias);
        static const std::vector<std::wstring> kOther = Bases(L"other");
        const std::vector<std::wstring>& bases = Pick(kLoadedAliasOneIn) == 0 ? kLoaded : kOther;
        return bases[Pick(bases.size())];
    }

    std::wstring Mutated() {
        std::wstring text = Base();
        for (size_t edits = 1 + Pick(4); edits > 0 && !text.empty(); --edits) {
            const size_t at = Pick(text.size());
            switch (Pick(5)) {
            case 0:
                text[at] = Character();
                break;
            case 1:
                text.insert(at, 1, Character());
                break;
            case 2:
                text.erase(at, 1);
                break;
            case 3:
                text.resize(at);
                break;
            default:
                // A digit of a length field, where the list's reader looks.
                text[at] = static_cast<wchar_t>(L'0' + Pick(10));
                break;
            }
        }
        return text;
    }

    std::mt19937 m_random;
};

bool IsKnownCode(int code) {
    return code >= -6 && code <= 0;
}

// Fuzzes with its own seed; the number of texts that reached brcWhatIs's
// handler goes to *handled.
void FuzzFromOneThread(const CPluginHost& host, unsigned seed, int texts, int* handled) {
    CallTextFuzzer fuzzer(seed);
    int unknown = 0;
    for (int n = 0; n < texts && unknown <= 10; ++n) {
        const std::wstring text = fuzzer.Next();
        const bool synchronous = n % 4 != 0;
        const int code = synchronous ? host.DispatchSync(text) : host.Dispatch(text);
        // Only brcWhatIs's handler gives 0 to a synchronous call.
        if (synchronous && code == 0)
            ++*handled;
        if (!IsKnownCode(code) || (!synchronous && code != 0 && code != -6)) {
            ++unknown;
            ADD_FAILURE() << "text " << n << " of seed " << seed << " gave " << code;
        }
    }
}

} // namespace

TEST_F(Host, RandomAndMutatedCallTextsGiveOnlyKnownCodes) {
    CHostWindowStub window;
    m_host.Set(L"Plugin_Window", std::to_wstring(window.HandleValue()));
    // Each text waits for the system's answers several times; host threads
    // calling at once keep the run within its minute on a loaded machine.
    const int kThreads = 4;
    std::vector<int> handled(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back(FuzzFromOneThread, std::cref(m_host), kSeed + t, kTexts / kThreads,
                             &handled[t]);
    for (std::thread& thread : threads)
        thread.join();
    // The worker's side was tried too, not only the parse.
    EXPECT_GT(std::accumulate(handled.begin(), handled.end(), 0), kTexts / 100);
    EXPECT_TRUE(WaitUntil(
        [&] {
            int status = -1;
            m_host.Get(L"Plugin_Commands_Pending", &status);
            return status == 0;
        },
        60000));
    m_host.Set(L"Plugin_Window", L"0");
    // The code messages of the calls whose identifier was left whole.
    for (const CReceivedMessage& message : window.Messages()) {
        const CKeyValue pair = ParseMessage(message.text);
        EXPECT_FALSE(pair.key.empty()) << "a message that is not one";
        if (pair.key == L"fuzz") {
            EXPECT_TRUE(IsKnownCode(std::stoi(pair.value))) << pair.value;
        }
    }
}
