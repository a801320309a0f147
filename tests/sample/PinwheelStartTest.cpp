// What Pinwheel shows and stores when it starts, for each state of its two
// registry values.
#include "PinwheelDriver.h"

#include <gtest/gtest.h>

namespace {

class PinwheelStart : public testing::Test {
protected:
    void SetUp() override { DeleteSampleKey(); }
    void TearDown() override { DeleteSampleKey(); }
};

TEST_F(PinwheelStart, FirstRunShowsTheDefaultsAndStoresBothNamesBeforeAnyClick) {
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    EXPECT_EQ("Me Inc", pinwheel.Text(kCompany));
    EXPECT_EQ("Merry Marmots", pinwheel.Text(kSoftware));
    EXPECT_EQ("1.0", pinwheel.Text(kVersion));
    EXPECT_EQ("companyname", pinwheel.Text(kWhatIsKey));
    EXPECT_EQ("a", pinwheel.Text(kOptions));
    EXPECT_EQ("http://www.google.com/", pinwheel.Text(kURL));
    EXPECT_EQ("Click button to test", pinwheel.Text(kResult));

    EXPECT_EQ(static_cast<DWORD>(REG_SZ), ReadSampleValue("cn").type);
    EXPECT_EQ("Me Inc", StoredText("cn"));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), ReadSampleValue("sn").type);
    EXPECT_EQ("Merry Marmots", StoredText("sn"));
}

struct StoredStart {
    const char* name;
    const char* value;
    DWORD type;
    std::string bytes;
    int edit;
    std::string shown;
    // What the value holds once the dialog is up; the system stores a NUL
    // after text written without one.
    DWORD typeAfter;
    std::string bytesAfter;
};

class PinwheelStoredValue : public testing::TestWithParam<StoredStart> {
protected:
    void SetUp() override { DeleteSampleKey(); }
    void TearDown() override { DeleteSampleKey(); }
};

TEST_P(PinwheelStoredValue, ShowsInItsEditAndIsStoredAgainOnlyWhenItDiffers) {
    const StoredStart& c = GetParam();
    StoreSampleValue(c.name, c.type, c.bytes);
    CPinwheel pinwheel;
    ASSERT_NE(nullptr, pinwheel.Dialog());
    EXPECT_EQ(c.shown, pinwheel.Text(c.edit));
    const StoredValue after = ReadSampleValue(c.name);
    EXPECT_EQ(c.typeAfter, after.type);
    EXPECT_EQ(c.bytesAfter, after.bytes);
}

const std::string kLong(3000, 'L');

void PrintTo(const StoredStart& c, std::ostream* out) {
    *out << c.name << " " << c.value;
}

INSTANTIATE_TEST_SUITE_P(
    Values, PinwheelStoredValue,
    testing::Values(
        // Not text: the default shows and replaces it.
        StoredStart{"cn", "dword", REG_DWORD, std::string("\x07\0\0\0", 4), kCompany, "Me Inc",
                    REG_SZ, std::string("Me Inc\0", 7)},
        // Empty text, stored with its NUL: the edit is empty and, the held
        // value being empty too, nothing is written.
        StoredStart{"cn", "empty", REG_SZ, std::string("\0", 1), kCompany, "", REG_SZ,
                    std::string("\0", 1)},
        // Longer than the read buffer's first size: read whole.
        StoredStart{"cn", "long", REG_SZ, kLong, kCompany, kLong, REG_SZ, kLong + '\0'},
        // A stored NUL is not part of the name; the first take-over writes
        // the name back without it.
        StoredStart{"sn", "terminated", REG_SZ, std::string("Marmots\0", 8), kSoftware, "Marmots",
                    REG_SZ, std::string("Marmots\0", 8)},
        // Several strings: the first one shows and is written back alone.
        StoredStart{"sn", "multi", REG_MULTI_SZ, std::string("First\0Second\0\0", 14), kSoftware,
                    "First", REG_SZ, std::string("First\0", 6)}),
    [](const testing::TestParamInfo<StoredStart>& info) { return std::string(info.param.value); });

} // namespace
