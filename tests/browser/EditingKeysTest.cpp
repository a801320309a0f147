// The browser window's message filter: editing keys reach the control.
#include <gtest/gtest.h>

#include "BrowserPartsFakes.h"
#include "EditingKeys.h"

namespace {

MSG CharMessage(WPARAM character) {
    MSG message{};
    message.message = WM_CHAR;
    message.wParam = character;
    return message;
}

class EditingKeys : public testing::Test {
protected:
    void SetUp() override { m_browser = MakeFakeBrowser(&m_state); }
    void TearDown() override {
        m_browser->Release();
        EXPECT_EQ(m_state.liveReferences, 0);
    }

    BOOL Press(WPARAM character) {
        MSG message = CharMessage(character);
        return HandleBrowserKey(&message, m_browser);
    }

    FakeBrowserState m_state;
    IWebBrowser2* m_browser = nullptr;
};

} // namespace

TEST_F(EditingKeys, TableKeysRunTheirCommandsWithoutPrompting) {
    // Ctrl+A, C, F, P, S, V, X, Z; Ctrl+P previews rather than prints.
    for (WPARAM character : {1, 3, 6, 16, 19, 22, 24, 26})
        EXPECT_FALSE(Press(character));
    EXPECT_EQ(m_state.execCommands, (std::vector<long>{17, 12, 32, 7, 4, 13, 11, 15}));
    EXPECT_EQ(m_state.execOptions, std::vector<long>(8, 2));
    EXPECT_FALSE(m_state.execGotArguments);
    EXPECT_TRUE(m_state.translated.empty());
}

TEST_F(EditingKeys, OtherCharacterGoesToTranslateAccelerator) {
    EXPECT_FALSE(Press(2)); // Ctrl+B
    ASSERT_EQ(m_state.translated.size(), 1u);
    EXPECT_EQ(m_state.translated[0].message, static_cast<UINT>(WM_CHAR));
    EXPECT_EQ(m_state.translated[0].wParam, 2u);
    EXPECT_TRUE(m_state.execCommands.empty());
}

TEST_F(EditingKeys, OnlyCharacterMessagesAreLookedAt) {
    MSG message = CharMessage(3);
    message.message = WM_KEYDOWN;
    EXPECT_FALSE(HandleBrowserKey(&message, m_browser));
    EXPECT_TRUE(m_state.execCommands.empty());
    EXPECT_TRUE(m_state.translated.empty());
}

TEST_F(EditingKeys, ControlWithoutActiveObjectTranslatesNothing) {
    m_state.offersActiveObject = false;
    EXPECT_FALSE(Press(2));
    EXPECT_TRUE(m_state.translated.empty());
}

TEST(EditingKeysWithoutControl, NothingHappens) {
    MSG message = CharMessage(3);
    EXPECT_FALSE(HandleBrowserKey(&message, nullptr));
}
