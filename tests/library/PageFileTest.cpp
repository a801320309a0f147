#include "PageFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string ReadFileBytes(const CString& path) {
    std::ifstream file(path.GetString(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

std::string ForwardSlashes(std::string text) {
    for (char& c : text)
        if (c == '\\')
            c = '/';
    return text;
}

} // namespace

TEST(WritePageFile, AddressIsFileSchemeWithForwardSlashesAndNoEncoding) {
    const CString address = WritePageFile("x", "page file address test.htm", ParamMap());
    EXPECT_EQ("file://" + ForwardSlashes(GetModuleDirectory().str()) + "page file address test.htm",
              address.str());
    EXPECT_EQ(0, address.Find("file://"));
    EXPECT_EQ(':', address[8]);
}

TEST(WritePageFile, WritesTheFilledTemplateInTextMode) {
    ParamMap values;
    values["p_software"] = "Tool";
    values["n_about"] = "one\ntwo";
    WritePageFile("<p>#p_software#</p>\n<p>#n_about#</p>", "page file text mode test.htm", values);
    EXPECT_EQ("<p>Tool</p>\r\n<p>one\r\ntwo</p>",
              ReadFileBytes(GetModuleDirectory() + "page file text mode test.htm"));
}

TEST(WritePageFile, RewritesAnOlderLongerFile) {
    const CString name = "page file rewrite test.htm";
    WritePageFile("a much longer first page", name, ParamMap());
    WritePageFile("short", name, ParamMap());
    EXPECT_EQ("short", ReadFileBytes(GetModuleDirectory() + name));
}

TEST(WritePageFile, UnwritableFileStillGivesItsAddress) {
    const CString address = WritePageFile("x", "no such folder\\page.htm", ParamMap());
    EXPECT_EQ("file://" + ForwardSlashes(GetModuleDirectory().str()) + "no such folder/page.htm",
              address.str());
}
