// Against the real registry of the build's Wine prefix. Each test works under
// a company key of its own and removes it again: tests run in parallel, and a
// shared parent key deleted by one test would vanish under another's write.
#include "RegistryStore.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

namespace {

const char kCompanyPrefix[] = "BRC Registry Test ";

class RegistryStore : public testing::Test {
protected:
    void SetUp() override {
        m_company = CString(kCompanyPrefix) +
                    testing::UnitTest::GetInstance()->current_test_info()->name();
        m_path = GetRegistryKeyPath(m_company, "store");
        Delete(HKEY_CURRENT_USER);
        Delete(HKEY_LOCAL_MACHINE);
    }
    void TearDown() override {
        Delete(HKEY_CURRENT_USER);
        Delete(HKEY_LOCAL_MACHINE);
    }

    void Delete(HKEY root) { RegDeleteTreeA(root, GetRegistryKeyPath(m_company, "")); }

    // Stores a value directly, past the store and its cache.
    void Store(HKEY root, const char* name, DWORD type, const void* data, DWORD size) {
        HKEY key = nullptr;
        ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(root, m_path, 0, nullptr, 0, KEY_ALL_ACCESS,
                                                 nullptr, &key, nullptr));
        EXPECT_EQ(ERROR_SUCCESS,
                  RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data), size));
        RegCloseKey(key);
    }
    void StoreText(HKEY root, const char* name, const std::string& text) {
        Store(root, name, REG_SZ, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    // The value as the registry holds it, or "<absent>".
    std::string Stored(HKEY root, const char* name) {
        char data[100] = {};
        DWORD size = sizeof data - 1;
        if (RegGetValueA(root, m_path, name, RRF_RT_REG_SZ, nullptr, data, &size) != ERROR_SUCCESS)
            return "<absent>";
        return data;
    }

    CString CacheKey(const char* prefix, const char* name) {
        return CString(prefix) + m_path + name;
    }

    CString m_company;
    CString m_path;
};

} // namespace

TEST_F(RegistryStore, ReadsAValueLongerThanTheBufferAndGrowsIt) {
    ASSERT_EQ(2000u, theRegistryReadBuffer.size());
    // 4999 characters and the zero byte: a value of 5000 bytes.
    const std::string text(4999, 'v');
    StoreText(HKEY_CURRENT_USER, "long", text);
    CString out;
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "long", out));
    EXPECT_EQ(text, out.str());
    EXPECT_EQ(5100u, theRegistryReadBuffer.size());
    EXPECT_STREQ(text.c_str(), theRegistryCache[CacheKey("user/", "long")]);
}

TEST_F(RegistryStore, GrownBufferOffersItsSizeLessOneByte) {
    StoreText(HKEY_CURRENT_USER, "long", std::string(4999, 'v'));
    CString out;
    ASSERT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "long", out));
    ASSERT_EQ(5100u, theRegistryReadBuffer.size());

    // 5098 characters and the zero byte fill the 5099 bytes offered.
    StoreText(HKEY_CURRENT_USER, "fits", std::string(5098, 'f'));
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "fits", out));
    EXPECT_EQ(5098, out.GetLength());
    EXPECT_EQ(5100u, theRegistryReadBuffer.size());

    StoreText(HKEY_CURRENT_USER, "grows", std::string(5099, 'g'));
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "grows", out));
    EXPECT_EQ(5099, out.GetLength());
    EXPECT_EQ(5200u, theRegistryReadBuffer.size());
}

TEST_F(RegistryStore, ValueFillingTheFirstBufferExactlyIsReadWhole) {
    // 2000 bytes with the zero byte: the end marker written after the data
    // would land past a 2000-byte buffer, so the buffer must grow first.
    const std::string text(1999, 'e');
    StoreText(HKEY_CURRENT_USER, "edge", text);
    CString out;
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "edge", out));
    EXPECT_EQ(text, out.str());
    EXPECT_EQ(2100u, theRegistryReadBuffer.size());
}

TEST_F(RegistryStore, TextWrittenWithoutItsZeroByteReadsWhole) {
    ASSERT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "bare", "no end"));
    theRegistryCache.clear();
    CString out;
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "bare", out));
    EXPECT_STREQ("no end", out);
}

TEST_F(RegistryStore, DwordValueReadsAsEmptyTextAndIsNotCached) {
    const DWORD number = 42;
    Store(HKEY_CURRENT_USER, "number", REG_DWORD, &number, sizeof number);
    CString out = "old";
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "number", out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(0u, theRegistryCache.count(CacheKey("user/", "number")));
}

TEST_F(RegistryStore, MultiStringReadsAsItsFirstString) {
    static const char kStrings[] = "first\0second\0";
    Store(HKEY_CURRENT_USER, "multi", REG_MULTI_SZ, kStrings, sizeof kStrings);
    CString out;
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "multi", out));
    EXPECT_STREQ("first", out);
}

TEST_F(RegistryStore, ExpandStringIsNotExpanded) {
    static const char kText[] = "%WINDIR%\\x";
    Store(HKEY_CURRENT_USER, "expand", REG_EXPAND_SZ, kText, sizeof kText);
    CString out;
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "expand", out));
    EXPECT_STREQ("%WINDIR%\\x", out);
}

TEST_F(RegistryStore, MissingKeyOrValueReadsNothing) {
    CString out = "old";
    EXPECT_EQ(0, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "none", out));
    EXPECT_STREQ("", out);
    StoreText(HKEY_CURRENT_USER, "other", "x");
    out = "old";
    EXPECT_EQ(0, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "none", out));
    EXPECT_STREQ("", out);
    EXPECT_EQ(2000u, theRegistryReadBuffer.size());
    EXPECT_EQ(0u, theRegistryCache.count(CacheKey("user/", "none")));
}

TEST_F(RegistryStore, WriteCreatesTheKeyAndStoresText) {
    EXPECT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "name", "Me Inc"));
    EXPECT_EQ("Me Inc", Stored(HKEY_CURRENT_USER, "name"));
    EXPECT_STREQ("Me Inc", theRegistryCache[CacheKey("user/", "name")]);
    CString out;
    EXPECT_EQ(1, ReadRegistryValue(HKEY_CURRENT_USER, m_path, "name", out));
    EXPECT_STREQ("Me Inc", out);
}

TEST_F(RegistryStore, WritingTheCachedTextAgainTouchesNothing) {
    ASSERT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "name", "same"));
    StoreText(HKEY_CURRENT_USER, "name", "changed behind the cache");
    EXPECT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "name", "same"));
    EXPECT_EQ("changed behind the cache", Stored(HKEY_CURRENT_USER, "name"));
    EXPECT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "name", "new"));
    EXPECT_EQ("new", Stored(HKEY_CURRENT_USER, "name"));
}

TEST_F(RegistryStore, EmptyTextForAnUntouchedValueWritesNothing) {
    EXPECT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "empty", ""));
    EXPECT_EQ("<absent>", Stored(HKEY_CURRENT_USER, "empty"));
}

TEST_F(RegistryStore, TwoHivesKeepTwoCacheEntries) {
    EXPECT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "where", "user text"));
    EXPECT_EQ(1, WriteRegistryValue(HKEY_LOCAL_MACHINE, m_path, "where", "machine text"));
    EXPECT_EQ("user text", Stored(HKEY_CURRENT_USER, "where"));
    EXPECT_EQ("machine text", Stored(HKEY_LOCAL_MACHINE, "where"));
    EXPECT_STREQ("user text", theRegistryCache[CacheKey("user/", "where")]);
    EXPECT_STREQ("machine text", theRegistryCache[CacheKey("machine/", "where")]);

    CString out;
    EXPECT_EQ(1, ReadRegistryValue(HKEY_LOCAL_MACHINE, m_path, "where", out));
    EXPECT_STREQ("machine text", out);
}

TEST_F(RegistryStore, CacheKeyJoinsHivePathAndName) {
    ASSERT_EQ(1, WriteRegistryValue(HKEY_CURRENT_USER, m_path, "joined", "x"));
    EXPECT_EQ(1u, theRegistryCache.count("user/Software\\Brindlecode\\"
                                         "brcregistrytestcachekeyjoinshivepathandname\\"
                                         "storejoined"));
}

// The read buffer and the cache are shared by the whole process: reads on
// several threads, of values that keep growing the buffer, each get their
// own value's text.
TEST_F(RegistryStore, ReadsOnFourThreadsEachGetTheirOwnValue) {
    const int kValues = 400;
    const int kThreads = 4;
    const int kReadsPerThread = 1200;
    std::vector<std::string> texts;
    for (int i = 0; i < kValues; ++i) {
        texts.push_back("value " + std::to_string(i) + " " + std::string(40 + 25 * i, 'x'));
        StoreText(HKEY_CURRENT_USER, ("v" + std::to_string(i)).c_str(), texts.back());
    }
    std::atomic<int> wrong{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int read = 0; read < kReadsPerThread; ++read) {
                // Each thread walks the values upwards from its own start.
                const int i = (read + t * 100) % kValues;
                CString out;
                if (ReadRegistryValue(HKEY_CURRENT_USER, m_path, "v" + CString(std::to_string(i)),
                                      out) != 1 ||
                    out.str() != texts[static_cast<size_t>(i)])
                    ++wrong;
            }
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(0, wrong.load());
    for (int i = 0; i < kValues; ++i) {
        const CString name = "v" + CString(std::to_string(i));
        EXPECT_EQ(texts[static_cast<size_t>(i)], theRegistryCache[CacheKey("user/", name)].str());
    }
}
