// The commands' conversions between host and library texts, under the UTF-8
// ANSI code page that current Windows offers as a system setting: there a
// character takes up to three bytes, and a surrogate pair four.
#include "AnsiText.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// U+4E2D U+6587 U+516C U+53F8 U+1F600: more bytes than two per unit.
const wchar_t kCompany[] = L"\u4E2D\u6587\u516C\u53F8\U0001F600";
const char kCompanyUtf8[] = "\xE4\xB8\xAD\xE6\x96\x87\xE5\x85\xAC\xE5\x8F\xB8\xF0\x9F\x98\x80";

} // namespace

TEST(AnsiText, ChineseAndASurrogatePairBecomeTheirWholeUtf8Bytes) {
    EXPECT_EQ(kCompanyUtf8, ToLibraryText(kCompany, CP_UTF8));
}

TEST(AnsiText, Utf8BytesComeBackAsTheSameUnits) {
    const std::unique_ptr<wchar_t[]> wide = FromLibraryText(kCompanyUtf8, CP_UTF8);
    ASSERT_NE(nullptr, wide);
    EXPECT_STREQ(kCompany, wide.get());
}

TEST(AnsiText, ARoundTripThroughUtf8KeepsTheText) {
    const std::wstring text = std::wstring(kCompany) + L"\u00E9" + kCompany;
    const std::unique_ptr<wchar_t[]> back =
        FromLibraryText(ToLibraryText(text.c_str(), CP_UTF8).c_str(), CP_UTF8);
    ASSERT_NE(nullptr, back);
    EXPECT_EQ(text, back.get());
}
