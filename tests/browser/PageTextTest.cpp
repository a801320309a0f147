// The page text the browser window hands out: the body's outer HTML.
#include <gtest/gtest.h>

#include "BrowserPartsFakes.h"
#include "PageText.h"

namespace {

CString PageTextOf(FakeBrowserState& state) {
    IWebBrowser2* browser = MakeFakeBrowser(&state);
    CString text = GetPageText(browser);
    browser->Release();
    return text;
}

} // namespace

TEST(GetPageText, BodyHtmlComesBackAsAnsiText) {
    FakeBrowserState state;
    state.document = FakeBrowserState::Document::WithBody;
    state.bodyHtml = L"<body>caf\u00e9 thanks</body>";
    EXPECT_EQ(PageTextOf(state), "<body>caf\xe9 thanks</body>");
    EXPECT_EQ(state.liveReferences, 0);
}

TEST(GetPageText, MissingDocumentOrBodyGivesEmptyText) {
    for (auto document :
         {FakeBrowserState::Document::None, FakeBrowserState::Document::PlainDispatch,
          FakeBrowserState::Document::WithoutBody}) {
        FakeBrowserState state;
        state.document = document;
        state.bodyHtml = L"<body>x</body>";
        EXPECT_EQ(PageTextOf(state), "");
        EXPECT_EQ(state.liveReferences, 0);
    }
    EXPECT_EQ(GetPageText(nullptr), "");
}
