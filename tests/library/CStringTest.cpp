#include "CString.h"

#include <gtest/gtest.h>

TEST(CString, HoldsZeroBytes) {
    CString text("a\0b", 3);
    text.Append("\0c", 2);
    EXPECT_EQ(5, text.GetLength());
    EXPECT_EQ('\0', text[3]);
    EXPECT_EQ('c', text[4]);
}

TEST(CString, ReplaceDoesNotRescanReplacements) {
    CString text("#a# #a#");
    EXPECT_EQ(2, text.Replace("#a#", "#a#x"));
    EXPECT_STREQ("#a#x #a#x", text);
    EXPECT_EQ(0, text.Replace("", "y"));
}

TEST(CString, MidLeftRightClampToTheText) {
    CString text("abcdef");
    EXPECT_STREQ("cd", text.Mid(2, 2));
    EXPECT_STREQ("ef", text.Mid(4, 99));
    EXPECT_STREQ("", text.Mid(10));
    EXPECT_STREQ("abc", text.Left(3));
    EXPECT_STREQ("abcdef", text.Left(-1) + text.Right(99));
    EXPECT_STREQ("f", text.Right(1));
}

TEST(CString, FindReturnsMinusOneWhenAbsent) {
    CString text("hello world");
    EXPECT_EQ(6, text.Find("world"));
    EXPECT_EQ(-1, text.Find("world", 7));
    EXPECT_EQ(4, text.Find('o'));
    EXPECT_EQ(-1, text.Find("x", 50));
}

TEST(CString, FormatGrowsToAnyLength) {
    CString text;
    text.Format("%s-%d", std::string(5000, 'x').c_str(), 42);
    EXPECT_EQ(5003, text.GetLength());
    EXPECT_STREQ("-42", text.Right(3));
}

TEST(CString, MakeLowerTouchesAsciiLettersOnly) {
    CString text("AbC\xC4");
    text.MakeLower();
    EXPECT_STREQ("abc\xC4", text);
}
