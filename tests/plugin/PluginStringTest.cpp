#include "PluginString.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <new>
#include <string>

namespace {

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

// Overwrites the first byte of the cached narrow copy. A later GetNarrow
// that still shows the mark proves the copy was kept; one that shows the
// text again proves it was dropped and made anew.
void MarkNarrowCopy(CPluginString& s) {
    const_cast<char*>(s.GetNarrow())[0] = '#';
}

bool NarrowCopyKept(CPluginString& s) {
    return s.GetNarrow()[0] == '#';
}

int FormatPasses(CPluginString& s, const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    int capacity = s.FormatV(format, args);
    va_end(args);
    return capacity;
}

} // namespace

TEST(PluginString, DefaultHoldsAZeroLengthBstr) {
    CPluginString s;
    EXPECT_EQ(0, s.GetLength());
    EXPECT_TRUE(s.IsEmpty());
    ASSERT_NE(nullptr, s.GetBSTR());
    EXPECT_EQ(0u, SysStringLen(s.GetBSTR()));
}

TEST(PluginString, DetachHandsOverTheBstrAndLeavesAnEmptyOne) {
    CPluginString s(L"abc");
    BSTR held = s.GetBSTR();
    BSTR first = s.Detach();
    EXPECT_EQ(held, first);
    EXPECT_EQ(3u, SysStringLen(first));
    EXPECT_TRUE(s.IsEmpty());
    BSTR second = s.Detach();
    EXPECT_NE(first, second);
    EXPECT_EQ(0u, SysStringLen(second));
    SysFreeString(first);
    SysFreeString(second);
}

TEST(PluginString, AttachOwnsTheGivenBstrWithoutCopying) {
    BSTR text = SysAllocString(L"host");
    CPluginString s("old");
    s.Attach(text);
    EXPECT_EQ(text, s.GetBSTR());
    EXPECT_STREQ("host", s.GetNarrow());
}

TEST(PluginString, NarrowTextConvertsFromTheAnsiCodePage) {
    CPluginString s("caf\xE9 \x80");
    EXPECT_EQ(L"caf\u00E9 \u20AC", Units(s));
    CPluginString wide(L"\u20AC5");
    EXPECT_STREQ("\x80"
                 "5",
                 wide.GetNarrow());
}

TEST(PluginString, NarrowConstructorKeepsTheGivenBytesAsTheNarrowCopy) {
    const char bytes[] = "ab\0cd";
    CPluginString s(bytes, 5);
    EXPECT_EQ(std::wstring(L"ab\0cd", 5), Units(s));
    // Made from the text, the copy would end at the zero unit.
    EXPECT_EQ(0, std::memcmp(bytes, s.GetNarrow(), 6));
}

TEST(PluginString, AssigningItsOwnNarrowCopyChangesNothing) {
    CPluginString s("name");
    const char* narrow = s.GetNarrow();
    s.Assign(narrow);
    EXPECT_EQ(narrow, s.GetNarrow());
    EXPECT_EQ(L"name", Units(s));
}

TEST(PluginString, CopiesTakeTheTextButNotTheNarrowCopy) {
    CPluginString s("text");
    MarkNarrowCopy(s);
    CPluginString copy(s);
    CPluginString assigned;
    assigned.Assign(s);
    EXPECT_STREQ("text", copy.GetNarrow());
    EXPECT_STREQ("text", assigned.GetNarrow());
    EXPECT_TRUE(NarrowCopyKept(s));
}

TEST(PluginString, ChangesThatLeaveTheTextAloneKeepTheNarrowCopy) {
    CPluginString s("name");
    MarkNarrowCopy(s);
    s.Trim();
    s.SetAt(0, L'n');
    s.Resize(4);
    s.Append(CPluginString());
    s.Append(static_cast<const wchar_t*>(nullptr));
    s.Append(L"");
    s.Append("");
    EXPECT_TRUE(NarrowCopyKept(s));
}

TEST(PluginString, EveryChangeOfTheTextDropsTheNarrowCopy) {
    auto dropped = [](void (*change)(CPluginString&)) {
        CPluginString s("ABC");
        MarkNarrowCopy(s);
        change(s);
        return !NarrowCopyKept(s);
    };
    // MakeUpper drops the copy even when no letter changes.
    EXPECT_TRUE(dropped([](CPluginString& s) { s.MakeUpper(); }));
    EXPECT_TRUE(dropped([](CPluginString& s) { s.MakeLower(); }));
    EXPECT_TRUE(dropped([](CPluginString& s) { s.SetAt(1, L'x'); }));
    EXPECT_TRUE(dropped([](CPluginString& s) { s.Resize(2); }));
    EXPECT_TRUE(dropped([](CPluginString& s) { s.Append(L"d"); }));
    EXPECT_TRUE(dropped([](CPluginString& s) { s.AppendChar(' '); }));
    EXPECT_TRUE(dropped([](CPluginString& s) { s.Format(L"%d", 5); }));
    EXPECT_TRUE(dropped([](CPluginString& s) { s.Assign(L"ABC"); }));
    EXPECT_TRUE(dropped([](CPluginString& s) {
        s.Assign(" ABC");
        MarkNarrowCopy(s);
        s.TrimLeft();
    }));
}

TEST(PluginString, GetNarrowFollowsMakeUpper) {
    CPluginString s(L"brcAbout");
    EXPECT_STREQ("brcAbout", s.GetNarrow());
    s.MakeUpper();
    EXPECT_STREQ("BRCABOUT", s.GetNarrow());
}

TEST(PluginString, CaseChangesTouchAsciiLettersOnly) {
    CPluginString upper(L"brcAbout \u00E9[");
    upper.MakeUpper();
    EXPECT_EQ(L"BRCABOUT \u00E9[", Units(upper));
    CPluginString lower(L"BRC \u00C9@");
    lower.MakeLower();
    EXPECT_EQ(L"brc \u00C9@", Units(lower));
}

TEST(PluginString, TrimRemovesWhiteSpaceAtBothEnds) {
    CPluginString s(L"  \t name \r\n");
    EXPECT_EQ(L"name", Units(s.Trim()));
    CPluginString blank(L" \t\r\n\v\f ");
    EXPECT_EQ(L"", Units(blank.Trim()));
}

TEST(PluginString, TrimTakesNoBreakSpaceButNotNextLine) {
    CPluginString nbsp(L"\u00A0x");
    EXPECT_EQ(L"x", Units(nbsp.TrimLeft()));
    CPluginString nel(L"\u0085x\u0085");
    EXPECT_EQ(L"\u0085x\u0085", Units(nel.Trim()));
}

TEST(PluginString, TrimAsksTheSystemAboveU0100) {
    CPluginString s(L"\u3000\u2003name\u3000");
    EXPECT_EQ(L"name", Units(s.Trim()));
    CPluginString letters(L"\u0100x\u0101");
    EXPECT_EQ(L"\u0100x\u0101", Units(letters.Trim()));
}

TEST(PluginString, TrimRightEndsTheTextAtAWhiteRunBeforeTheFirstZeroUnit) {
    CPluginString s(L"ab \0cd", 6);
    s.TrimRight();
    EXPECT_EQ(L"ab", Units(s));
}

TEST(PluginString, CompareIsOrdinalByUnsignedUnit) {
    CPluginString abc(L"ABC");
    EXPECT_EQ(-1, abc.Compare(L"abc"));
    EXPECT_EQ(0, abc.Compare(CPluginString(L"ABC")));
    EXPECT_EQ(1, CPluginString(L"\uFFFF").Compare(L"a"));
    EXPECT_EQ(1, abc.Compare(L"AB"));
}

TEST(PluginString, CompareNoCaseFoldsOnlyAsciiLetters) {
    EXPECT_EQ(0, CPluginString(L"ABC").CompareNoCase(L"abc"));
    EXPECT_GT(CPluginString(L"a").CompareNoCase(L"["), 0);
    EXPECT_NE(0, CPluginString(L"\u00C9").CompareNoCase(L"\u00E9"));
}

TEST(PluginString, ComparingWithNullDependsOnEmptiness) {
    const wchar_t* none = nullptr;
    EXPECT_EQ(0, CPluginString().Compare(none));
    EXPECT_EQ(1, CPluginString(L"x").Compare(none));
    EXPECT_EQ(0, CPluginString().CompareNoCase(none));
    EXPECT_EQ(1, CPluginString(L"x").CompareNoCase(none));
}

TEST(PluginString, ComparisonStopsAtTheFirstZeroUnit) {
    CPluginString s(L"ab\0c", 4);
    EXPECT_EQ(0, s.Compare(L"ab"));
    EXPECT_EQ(0, s.CompareNoCase(L"AB"));
}

TEST(PluginString, FormatFollowsTheMicrosoftWidePrintfRules) {
    CPluginString s;
    s.Format(L"%010d", 42);
    EXPECT_EQ(L"0000000042", Units(s));
    s.Format(L"%d", -6);
    EXPECT_EQ(L"-6", Units(s));
    s.Format(L"<code id=\"%d\">%s</code>", -4, L"The plugin raised a 'COM' exception.");
    EXPECT_EQ(L"<code id=\"-4\">The plugin raised a 'COM' exception.</code>", Units(s));
}

TEST(PluginString, FormatGrowsByHundredsUntilTheOutputFits) {
    CPluginString s;
    std::wstring exactly100(100, L'x');
    EXPECT_EQ(100, FormatPasses(s, L"%s", exactly100.c_str()));
    EXPECT_EQ(exactly100, Units(s));
    std::wstring long250(250, L'y');
    EXPECT_EQ(300, FormatPasses(s, L"%s", long250.c_str()));
    EXPECT_EQ(long250, Units(s));
    EXPECT_EQ(200, FormatPasses(s, L"%s%d", std::wstring(199, L'z').c_str(), 7));
    EXPECT_EQ(200, s.GetLength());
}

TEST(PluginString, FormatWithoutFormatGivesEmptyText) {
    CPluginString s(L"old");
    EXPECT_EQ(0, FormatPasses(s, nullptr));
    EXPECT_TRUE(s.IsEmpty());
}

TEST(PluginString, MidLeftAndRightClamp) {
    CPluginString s(L"abcdef");
    EXPECT_EQ(L"cdef", Units(s.Mid(2, 10)));
    EXPECT_EQ(L"", Units(s.Mid(8, 2)));
    EXPECT_EQ(L"ab", Units(s.Mid(-3, 2)));
    EXPECT_EQ(L"abcdef", Units(s.Mid(-3)));
    EXPECT_EQ(L"ef", Units(s.Mid(4)));
    EXPECT_EQ(L"", Units(s.Mid(2, -1)));
    EXPECT_EQ(L"", Units(s.Left(-1)));
    EXPECT_EQ(L"abcdef", Units(s.Left(99)));
    EXPECT_EQ(L"def", Units(s.Right(3)));
    EXPECT_EQ(L"abcdef", Units(s.Right(6)));
    EXPECT_EQ(L"", Units(s.Right(-2)));
}

TEST(PluginString, SetAtPastTheEndGrowsWithZeroUnits) {
    CPluginString s(L"ab");
    s.SetAt(5, L'x');
    EXPECT_EQ(6, s.GetLength());
    EXPECT_EQ(std::wstring(L"ab\0\0\0x", 6), Units(s));
    EXPECT_STREQ("ab", s.GetNarrow());
    s.SetAt(-1, L'y');
    EXPECT_EQ(6, s.GetLength());
}

TEST(PluginString, SetAtAnIndexNoStringCanReachFailsAndChangesNothing) {
    for (int index : {INT_MAX - 1, INT_MAX}) {
        CPluginString s(L"abc");
        EXPECT_THROW(s.SetAt(index, L'x'), std::bad_alloc) << index;
        EXPECT_EQ(3u, SysStringLen(s.GetBSTR())) << index;
        EXPECT_EQ(L"abc", Units(s)) << index;
    }
}

TEST(PluginString, GetAtOutsideTheTextGivesZero) {
    CPluginString s(L"ab");
    EXPECT_EQ(L'b', s.GetAt(1));
    EXPECT_EQ(L'\0', s.GetAt(2));
    EXPECT_EQ(L'\0', s.GetAt(-1));
}

TEST(PluginString, AppendingAStringToItselfDoublesIt) {
    CPluginString s(L"a\0b", 3);
    s.Append(s);
    EXPECT_EQ(std::wstring(L"a\0ba\0b", 6), Units(s));
}

TEST(PluginString, AppendingWideTextStopsAtItsZeroUnit) {
    CPluginString s(L"x");
    s.Append(L"ab\0cd");
    s.AppendChar(' ');
    s.Append("\xE9");
    EXPECT_EQ(L"xab \u00E9", Units(s));
}

TEST(PluginString, WideConstructorTakesExactlyTheGivenUnits) {
    EXPECT_EQ(std::wstring(L"a\0b", 3), Units(CPluginString(L"a\0bc", 3)));
    EXPECT_EQ(L"a", Units(CPluginString(L"a\0bc")));
    EXPECT_EQ(L"", Units(CPluginString(static_cast<const wchar_t*>(nullptr))));
    EXPECT_EQ(L"", Units(CPluginString(static_cast<const char*>(nullptr))));
    EXPECT_EQ(L"---", Units(CPluginString(L'-', 3)));
    EXPECT_EQ(L"-", Units(CPluginString(L'-')));
}

TEST(PluginString, ConcatJoinsNarrowAndWideText) {
    CPluginString name(L"name");
    EXPECT_EQ(L"name\u00E9", Units(CPluginString::Concat(name, "\xE9")));
    EXPECT_EQ(L"\u00E9name", Units(CPluginString::Concat("\xE9", name)));
    EXPECT_EQ(L"namename", Units(CPluginString::Concat(name, name)));
    EXPECT_EQ(L"name=", Units(CPluginString::Concat(name, L"=")));
}
