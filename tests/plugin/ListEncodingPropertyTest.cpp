// Random and mutated lists, from a fixed seed so every run sees the same
// texts.
#include "ListEncoding.h"
#include "PageEndText.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <random>
#include <string>
#include <vector>

namespace {

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

// Never produced by the generator: it marks memory before the start
// position, which a decoder reading before it would pick up.
const wchar_t kGuard = L'\uFDD0';

// Guard units before the start position; the text itself ends at an
// unreadable page, so a read past its end faults.
class CGuardedText {
public:
    CGuardedText(const std::wstring& prefix, const std::wstring& text)
        : m_text(std::wstring(prefix.size(), kGuard) + text) {}
    BSTR Get() const { return m_text.Get(); }

private:
    CPageEndText m_text;
};

std::wstring RandomItem(std::mt19937& random) {
    static const std::wstring pieces[] = {L"0",  L"9",      L"0000000001", L"+", L"-",
                                          L" ",  L"\u00E9", L"\U0001F600", L"a", L"Z",
                                          L"\t", L"\u4E2D", L"\xD800",     L"x", L"\0"};
    std::wstring item;
    int parts = std::uniform_int_distribution<int>(0, 8)(random);
    for (int i = 0; i < parts; ++i) {
        const std::wstring& piece = pieces[random() % (sizeof(pieces) / sizeof(pieces[0]))];
        item += piece.empty() ? std::wstring(1, L'\0') : piece;
    }
    return item;
}

std::vector<std::wstring> RandomItems(std::mt19937& random) {
    std::vector<std::wstring> items(std::uniform_int_distribution<int>(0, 12)(random));
    for (std::wstring& item : items)
        item = RandomItem(random);
    return items;
}

std::wstring Encode(const std::vector<std::wstring>& items) {
    CPluginList<CPluginString> list;
    for (const std::wstring& item : items)
        list.AddTail(item.c_str(), static_cast<int>(item.size()));
    CPluginString out;
    EncodeList(out, list);
    return Units(out);
}

std::vector<std::wstring> Decode(BSTR text, int start) {
    CPluginList<CPluginString> list;
    DecodeList(text, start, list);
    std::vector<std::wstring> items;
    for (POSITION position = list.GetHeadPosition(); position;)
        items.push_back(Units(list.GetNext(position)));
    return items;
}

std::wstring Field(long long value) {
    wchar_t text[32];
    swprintf(text, 32, L"%010lld", value);
    return text;
}

// One of the ways a host or a fault could spoil a list.
std::wstring Mutate(std::wstring text, std::mt19937& random) {
    auto at = [&](size_t limit) { return limit ? random() % limit : 0; };
    switch (random() % 7) {
    case 0: // cut anywhere
        text.resize(at(text.size() + 1));
        break;
    case 1: { // overwrite a field-sized stretch with another number
        static const long long numbers[] = {
            0, 1, 9, -1, -99999999, 999999999, 2147483647, 9999999999LL, 1000, -2147483647};
        std::wstring field = Field(numbers[random() % 10]).substr(0, 10);
        size_t where = at(text.size());
        text.replace(where, std::min<size_t>(field.size(), text.size() - where), field);
        break;
    }
    case 2: // a huge count
        text.replace(0, std::min<size_t>(10, text.size()),
                     random() % 2 ? L"2147483647" : L"9999999999");
        break;
    case 3: // a stray unit anywhere
        if (!text.empty())
            text[at(text.size())] = L"+- 9\u00A0\uFF15x"[random() % 7];
        break;
    case 4: // units removed from the middle
        if (!text.empty()) {
            size_t where = at(text.size());
            text.erase(where, at(12));
        }
        break;
    case 5: // pure noise
        text.assign(at(40), L'7');
        for (wchar_t& unit : text)
            unit = L"0123456789 -+a"[random() % 14];
        break;
    default: // two lists run together
        text += Encode(RandomItems(random));
        break;
    }
    return text;
}

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

} // namespace

TEST(ListRoundTrip, AnyItemsEncodeAndDecodeToThemselves) {
    std::vector<std::vector<std::wstring>> cases = {
        {},
        {L""},
        {L"", L"", L""},
        {L"0000000005", L"1234567890", L"-1"},
        {L"0000000002", L"0000000001a", L"0000000000"},
        {L"\U0001F600", L"a\U00010348b", L"\xDBFF"},
        {std::wstring(L"zero\0inside", 11), std::wstring(1, L'\0')},
        {std::wstring(100000, L'L'), L"after"},
    };
    for (const auto& items : cases) {
        std::wstring text = Encode(items);
        CPluginString bstr(text.c_str(), static_cast<int>(text.size()));
        EXPECT_TRUE(items == Decode(bstr.GetBSTR(), 0)) << items.size() << " items";
    }
    std::mt19937 random(20240611);
    for (int round = 0; round < 2000; ++round) {
        std::vector<std::wstring> items = RandomItems(random);
        std::wstring text = Encode(items);
        CPluginString bstr(text.c_str(), static_cast<int>(text.size()));
        ASSERT_EQ(items, Decode(bstr.GetBSTR(), 0)) << "round " << round;
    }
}

TEST(ListDecodeProperty, MutatedTextsDecodeToItemsFromInsideTheText) {
    std::mt19937 random(8);
    LARGE_INTEGER begin, end;
    double slowest = 0;
    for (int round = 0; round < 6000; ++round) {
        std::wstring text = Encode(RandomItems(random));
        for (int times = 1 + random() % 3; times > 0; --times)
            text = Mutate(text, random);
        std::wstring prefix(random() % 4, L'x');
        CGuardedText guarded(prefix, text);
        int start = static_cast<int>(prefix.size());

        QueryPerformanceCounter(&begin);
        std::vector<std::wstring> items = Decode(guarded.Get(), start);
        QueryPerformanceCounter(&end);
        slowest = std::max(slowest, Seconds(begin, end));

        // Every item with text takes its ten-unit length field after the
        // count field, and those items' units are disjoint stretches after
        // their fields. Missing items come out empty, but never more items
        // than the text could hold plus two.
        size_t room = text.size() > 10 ? text.size() - 10 : 0;
        size_t units = 0;
        size_t filled = 0;
        for (const std::wstring& item : items) {
            ASSERT_EQ(std::wstring::npos, item.find(kGuard)) << "round " << round;
            if (item.empty())
                continue;
            ASSERT_NE(std::wstring::npos, text.find(item, 10)) << "round " << round;
            units += item.size();
            ++filled;
        }
        ASSERT_LE(items.size(), text.size() / 10 + 2) << "round " << round;
        ASSERT_LE(units + 10 * filled, room + 9) << "round " << round;
    }
    EXPECT_LT(slowest, 0.25);
}
