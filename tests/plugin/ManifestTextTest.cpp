#include "ManifestText.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring Units(const CPluginString& s) {
    return std::wstring(s.GetBSTR(), s.GetLength());
}

enum EscapeKind { Xml, Percent, PercentOfC };

std::wstring Apply(EscapeKind escape, const std::wstring& text) {
    CPluginString input(text.c_str(), static_cast<int>(text.size()));
    switch (escape) {
    case Xml:
        return Units(XmlEscape(input.GetBSTR()));
    case Percent:
        return Units(PercentEncode(input.GetBSTR()));
    default:
        return Units(PercentEncode(CEscape(input).GetBSTR()));
    }
}

} // namespace

TEST(ManifestText, EscapesWriteEachUnitAsTheManifestExpects) {
    struct Case {
        EscapeKind escape;
        std::wstring text;
        std::wstring expected;
    };
    const Case cases[] = {
        {Xml, L"a&b", L"a&amp;b"},
        {Xml, L"\"'<>", L"&quot;&apos;&lt;&gt;"},
        {Xml, L"caf\u00E9", L"caf\u00C3\u00A9"},
        {Xml, L"\u20AC", L"\u00E2\u0082\u00AC"},
        {Xml, L"\U0001F600", L"\u00ED\u00A0\u00BD\u00ED\u00B8\u0080"},
        {Xml, std::wstring(L"ab\0cd", 5), L"ab"},
        {Percent, L"a/b.c'd-e_f", L"a%2fb%2ec%27d%2de%5ff"},
        {Percent, L"Caf\u00E9 09", L"Caf%c3%a9 09"},
        {Percent, L"The plugin raised a 'COM' exception.",
         L"The plugin raised a %27COM%27 exception%2e"},
        {Percent, L"\u20AC", L"%e2%82%ac"},
        {PercentOfC, L"a\tb", L"a%5ctb"},
        {PercentOfC, L"a\\tb", L"a%5ctb"},
        {PercentOfC, L"\a\b\n\v\f\r", L"%5ca%5cb%5cn%5cv%5cf%5cr"},
        {PercentOfC, L"", L""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, Apply(c.escape, c.text)) << c.escape << " " << c.text;
}

TEST(ManifestText, NullTextGivesTheEmptyText) {
    EXPECT_EQ(L"", Units(XmlEscape(nullptr)));
    EXPECT_EQ(L"", Units(PercentEncode(nullptr)));
}

TEST(ManifestText, CEscapeReadsPastZeroUnits) {
    CPluginString text(L"a\0\t", 3);
    EXPECT_EQ(std::wstring(L"a\0\\t", 4), Units(CEscape(text)));
}
