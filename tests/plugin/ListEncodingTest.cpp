#include "ListEncoding.h"
#include "PageEndText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

// The text ends where readable memory ends, so reading past it faults.
std::vector<std::wstring> Decode(const std::wstring& text, int start = 0) {
    CPageEndText bstr(text);
    CPluginList<CPluginString> items;
    DecodeList(bstr.Get(), start, items);
    std::vector<std::wstring> result;
    for (POSITION position = items.GetHeadPosition(); position;)
        result.push_back(Units(items.GetNext(position)));
    EXPECT_EQ(static_cast<int>(result.size()), items.GetCount());
    return result;
}

using Items = std::vector<std::wstring>;

} // namespace

TEST(EncodeList, WritesCountThenLengthAndTextOfEachItem) {
    CPluginString out;
    EncodeList(out, L"id", L"", L"x", nullptr);
    EXPECT_EQ(L"0000000003"
              L"0000000002id"
              L"0000000000"
              L"0000000001x",
              Units(out));
}

TEST(EncodeList, TheFirstItemIsAlwaysWritten) {
    CPluginString out;
    EncodeList(out, L"", nullptr);
    EXPECT_EQ(L"0000000001"
              L"0000000000",
              Units(out));
    EncodeList(out, static_cast<const wchar_t*>(nullptr), nullptr);
    EXPECT_EQ(L"0000000001"
              L"0000000000",
              Units(out));
}

TEST(EncodeList, LengthsCountUtf16Units) {
    CPluginString out;
    EncodeList(out, L"\U0001F600", nullptr);
    EXPECT_EQ(L"0000000001"
              L"0000000002\U0001F600",
              Units(out));
}

TEST(EncodeList, AnEmptyListIsTheCountFieldAlone) {
    CPluginList<CPluginString> items;
    CPluginString out(L"old");
    EncodeList(out, items);
    EXPECT_EQ(L"0000000000", Units(out));
}

TEST(DecodeList, AStartAtTheEndOfTheTextGivesNoItems) {
    std::wstring text = L"alias.cmd,";
    EXPECT_EQ(Items{}, Decode(text, static_cast<int>(text.size())));
    EXPECT_EQ(Items{}, Decode(text, 99));
    EXPECT_EQ(Items{}, Decode(L"0000000001"
                              L"0000000001a",
                              -1));
}

TEST(DecodeList, StartsAtTheGivenPosition) {
    EXPECT_EQ((Items{L"id", L"x"}), Decode(L"a.b,"
                                           L"0000000002"
                                           L"0000000002id"
                                           L"0000000001x",
                                           4));
}

TEST(DecodeList, AShortCountFieldAtTheEndGivesTheCountOfItsDigits) {
    EXPECT_EQ((Items{L"", L""}), Decode(L"00002"));
    EXPECT_EQ((Items{L""}), Decode(L"xy1", 2));
}

TEST(DecodeList, MissingItemsAreEmpty) {
    EXPECT_EQ((Items{L"a", L""}), Decode(L"0000000002"
                                         L"0000000001a"));
}

TEST(DecodeList, ALengthPastTheEndKeepsTheRestOfTheTextAndLaterItemsAreEmpty) {
    EXPECT_EQ((Items{L"abc", L"", L""}), Decode(L"0000000003"
                                                L"0000000009abc"));
}

TEST(DecodeList, ALengthFieldCutByTheEndGivesAnEmptyItem) {
    EXPECT_EQ((Items{L"a", L"", L""}), Decode(L"0000000003"
                                              L"0000000001a"
                                              L"00000"));
}

TEST(DecodeList, ItemsThatLookLikeHeadersAreText) {
    EXPECT_EQ((Items{L"0000000001a", L"1234567890"}), Decode(L"0000000002"
                                                             L"00000000110000000001a"
                                                             L"00000000101234567890"));
}

TEST(DecodeList, CountFieldsReadAsAtolReadsThem) {
    Items two{L"a", L"b"};
    std::wstring items = L"0000000001a0000000001b";
    EXPECT_EQ(two, Decode(L"+000000002" + items));
    EXPECT_EQ(two, Decode(L"  2xxxxxxx" + items));
    EXPECT_EQ(Items{}, Decode(L"          " + items));
    EXPECT_EQ(Items{}, Decode(L"abcdefghij" + items));
    EXPECT_EQ(Items{}, Decode(L"-000000002" + items));
}

TEST(DecodeList, ANegativeLengthIsAnEmptyItemAndDecodingGoesOn) {
    EXPECT_EQ((Items{L"", L"x"}), Decode(L"0000000002"
                                         L"-000000005"
                                         L"0000000001x"));
}

TEST(DecodeList, AHugeCountMakesNoMoreItemsThanTheTextCouldHold) {
    // 21 units hold at most two items; two more empty ones may follow.
    EXPECT_EQ((Items{L"a", L"", L"", L""}), Decode(L"2147483647"
                                                   L"0000000001a"));
    EXPECT_EQ((Items{L"a", L"", L"", L""}), Decode(L"9999999999"
                                                   L"0000000001a"));
}

TEST(DecodeList, NonAsciiFieldsAreReadInTheAnsiCodePage) {
    // U+00A0 is byte A0 in code page 1252, which atol does not skip.
    EXPECT_EQ(Items{}, Decode(L"\u00A0000000002"
                              L"0000000001a0000000001b"));
    EXPECT_EQ((Items{L"\u00E9"}), Decode(L"0000000001"
                                         L"0000000001\u00E9"));
}

TEST(DecodeList, ReplacesWhatTheListHeld) {
    CPluginList<CPluginString> items;
    items.AddTail(CPluginString(L"stale"));
    CPluginString text(L"0000000000");
    DecodeList(text.GetBSTR(), 0, items);
    EXPECT_TRUE(items.IsEmpty());
    DecodeList(nullptr, 0, items);
    EXPECT_TRUE(items.IsEmpty());
}

TEST(EncodeResultList, KeepsTheFirstValueOfEachNameInOrder) {
    CResultList results(1);
    results.AddPair(CPluginString(L"A"), CPluginString(L"1"));
    results.AddPair(CPluginString(L"B"), CPluginString(L"2"));
    results.AddPair(CPluginString(L"A"), CPluginString(L"3"));
    results.AddPair(CPluginString(L"a"), CPluginString(L""));
    CPluginString out;
    EncodeResultList(results, out);
    EXPECT_EQ(L"0000000006"
              L"0000000001A0000000001"
              L"1"
              L"0000000001B0000000001"
              L"2"
              L"0000000001a0000000000",
              Units(out));
    EXPECT_TRUE(results.IsEmpty());
}

TEST(EncodeResultList, NoPairsGiveTheEmptyList) {
    CResultList results(1);
    CPluginString out(L"old");
    EncodeResultList(results, out);
    EXPECT_EQ(L"0000000000", Units(out));
}
