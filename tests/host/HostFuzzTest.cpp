// Random and mutated call texts through Dispatch and DispatchSync: no fault,
// no hang, and every code one of the table's or the handler's. The only
// command the texts name is brcWhatIs, which opens no window; random edits
// of it cannot come near the names of the commands that do.
#include "HostFixture.h"
#include "HostWindowStub.h"
#include "WindowSearch.h"

#include <random>
#include <set>

namespace {

const unsigned kSeed = 20261209;
// Under Wine each text that reaches a worker costs milliseconds, and the test
// runs beside the rest of the suite: 4,000 texts stay well under a minute
// even on a loaded machine.
const int kTexts = 4000;

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

    std::wstring Base() {
        static const std::wstring kBases[] = {
            CallText(kAlias, L"brcWhatIs", L"fuzz",
                     {{L"company_name", L"Acme"},
                      {L"information_query", L"companyname"},
                      {L"result", L"answer"}}),
            CallText(kAlias, L"brcWhatIs", L"fuzz", {{L"result", L"answer"}}),
            CallText(L"other", L"brcWhatIs", L"fuzz", {}),
            CallText(kAlias, L"nothing", L"fuzz", {{L"result", L"answer"}}),
        };
        return kBases[Pick(4)];
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

} // namespace

TEST_F(Host, RandomAndMutatedCallTextsGiveOnlyKnownCodes) {
    CHostWindowStub window;
    m_host.Set(L"Plugin_Window", std::to_wstring(window.HandleValue()));
    CallTextFuzzer fuzzer(kSeed);
    int unknown = 0;
    for (int n = 0; n < kTexts; ++n) {
        const std::wstring text = fuzzer.Next();
        const int code = n % 4 == 0 ? m_host.Dispatch(text) : m_host.DispatchSync(text);
        if (!IsKnownCode(code) || (n % 4 == 0 && code != 0 && code != -6)) {
            ++unknown;
            ADD_FAILURE() << "text " << n << " of seed " << kSeed << " gave " << code;
        }
        if (unknown > 10)
            break;
    }
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
