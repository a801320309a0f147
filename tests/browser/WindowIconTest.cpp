// Hexadecimal text to bytes and files, and the window icon it carries.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "HexFile.h"
#include "StreamCapture.h"
#include "WindowIcon.h"

namespace {

std::string BytesOf(const CString& text) {
    return text.str();
}

std::string ReadFile(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A fresh current directory for files written by name alone, so tests
// running side by side do not share "brc.ico".
class TemporaryCurrentDirectory {
public:
    TemporaryCurrentDirectory() {
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        GetCurrentDirectoryA(MAX_PATH, m_previous);
        m_path = std::string(temp) + "brc-icon-" + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_path.c_str(), nullptr);
        SetCurrentDirectoryA(m_path.c_str());
    }
    ~TemporaryCurrentDirectory() {
        SetCurrentDirectoryA(m_previous);
        for (const char* name : {"brc.ico", "five.bin"})
            DeleteFileA((m_path + "\\" + name).c_str());
        RemoveDirectoryA(m_path.c_str());
    }

private:
    char m_previous[MAX_PATH] = {};
    std::string m_path;
};

// Memory whose next page cannot be read: text placed at its very end shows
// any read past the text as a crash.
class TextBeforeGuardPage {
public:
    explicit TextBeforeGuardPage(const char* text) {
        SYSTEM_INFO info;
        GetSystemInfo(&info);
        const SIZE_T page = info.dwPageSize;
        m_base = static_cast<char*>(
            VirtualAlloc(nullptr, 2 * page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE));
        DWORD old = 0;
        VirtualProtect(m_base + page, page, PAGE_NOACCESS, &old);
        const size_t size = std::strlen(text) + 1;
        m_text = m_base + page - size;
        std::memcpy(m_text, text, size);
    }
    ~TextBeforeGuardPage() { VirtualFree(m_base, 0, MEM_RELEASE); }
    const char* Text() const { return m_text; }

private:
    char* m_base = nullptr;
    char* m_text = nullptr;
};

struct IconEntry {
    int width, height, colours, bits;
    unsigned size, offset;
};

IconEntry EntryAt(const std::string& file, int index) {
    const unsigned char* p = reinterpret_cast<const unsigned char*>(file.data()) + 6 + 16 * index;
    auto dword = [](const unsigned char* q) {
        return unsigned(q[0] | q[1] << 8 | q[2] << 16 | q[3] << 24);
    };
    return {p[0], p[1], p[2], p[6] | p[7] << 8, dword(p + 8), dword(p + 12)};
}

} // namespace

TEST(HexToBytes, DigitsOfEitherCaseGiveTheirBytes) {
    StreamCapture errors(2);
    EXPECT_EQ(BytesOf(HexToBytes("0aFf", 2)), std::string("\x0a\xff", 2));
    EXPECT_EQ(errors.Finish(), "");
}

TEST(HexToBytes, NonHexDigitCountsAsOneAndIsReportedOnce) {
    StreamCapture errors(2);
    EXPECT_EQ(BytesOf(HexToBytes("g0", 1)), std::string("\x10", 1));
    EXPECT_EQ(errors.Finish(), "Invalid input data\n");
}

TEST(HexToBytes, ShortTextIsReportedAndNotReadPastItsEnd) {
    TextBeforeGuardPage guarded("0a1");
    StreamCapture errors(2);
    EXPECT_EQ(BytesOf(HexToBytes(guarded.Text(), 4)), std::string("\x0a\0\0\0", 4));
    EXPECT_EQ(errors.Finish(), "Bad Hex string length.\n");
}

TEST(WriteHexFile, OddLastDigitIsIgnored) {
    TemporaryCurrentDirectory directory;
    WriteHexFile("five.bin", "0a1b2");
    EXPECT_EQ(ReadFile("five.bin"), std::string("\x0a\x1b", 2));
}

TEST(WriteHexFile, FileThatCannotBeOpenedWritesErrorToStandardOutput) {
    StreamCapture output(1);
    WriteHexFile("Z:\\no-such-directory-for-brc\\x.bin", "0a");
    EXPECT_EQ(output.Finish(), "ERROR\n");
}

TEST(WindowIconHex, IsLowerCaseHexOfAnElevenThousandByteIcon) {
    const std::string text = theWindowIconHex;
    EXPECT_EQ(text.size(), 23628u);
    EXPECT_EQ(text.find_first_not_of("0123456789abcdef"), std::string::npos);
    StreamCapture errors(2);
    const std::string file = BytesOf(HexToBytes(theWindowIconHex, 11814));
    EXPECT_EQ(errors.Finish(), "");
    ASSERT_EQ(file.size(), 11814u);
    EXPECT_EQ(file.substr(0, 6), std::string("\0\0\1\0\4\0", 6));
}

TEST(WindowIconHex, HoldsTheFourImagesInOrderBackToBack) {
    const std::string file = BytesOf(HexToBytes(theWindowIconHex, 11814));
    ASSERT_EQ(file.size(), 11814u);
    // Header, XOR rows and AND rows each padded to 4 bytes; 16 colours of
    // palette for the 4-bit image.
    const IconEntry expected[4] = {
        {48, 48, 0, 24, 40 + 48 * 144 + 48 * 8, 70},
        {16, 16, 0, 24, 40 + 16 * 48 + 16 * 4, 7406},
        {32, 32, 0, 24, 40 + 32 * 96 + 32 * 4, 8278},
        {16, 16, 16, 4, 40 + 64 + 16 * 8 + 16 * 4, 11518},
    };
    for (int i = 0; i < 4; ++i) {
        const IconEntry entry = EntryAt(file, i);
        EXPECT_EQ(entry.width, expected[i].width) << i;
        EXPECT_EQ(entry.height, expected[i].height) << i;
        EXPECT_EQ(entry.colours, expected[i].colours) << i;
        EXPECT_EQ(entry.bits, expected[i].bits) << i;
        EXPECT_EQ(entry.size, expected[i].size) << i;
        EXPECT_EQ(entry.offset, expected[i].offset) << i;
    }
    EXPECT_EQ(expected[3].offset + expected[3].size, 11814u);
}

TEST(WriteIconFile, WritesBrcIcoAndLoadsIts32By32Image) {
    TemporaryCurrentDirectory directory;
    HICON icon = WriteIconFile(theWindowIconHex);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(ReadFile("brc.ico").size(), 11814u);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
}
