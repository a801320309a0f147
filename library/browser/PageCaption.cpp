#include "PageCaption.h"

#include <string>

#include "PageSearch.h"

namespace {

// The second server's pages are shown under the main site's name.
const char kSecondServerDomain[] = "brindlecode.net/";
const char kSiteDomain[] = "brindlecode.com/";
const char kSiteName[] = "BrindleCode.com/";

} // namespace

const char theFirstCaption[] = "BrindleCode.com/";

CString CaptionFromURL(CString text) {
    const int query = FindText(text, "?");
    if (query > 0)
        text = text.Left(query);
    text.MakeLower();
    text.Replace("http://", "");
    text.Replace("https://", "");
    text.Replace(kSecondServerDomain, kSiteName);
    text.Replace(kSiteDomain, kSiteName);
    if (text.Find("file://") >= 0) {
        const std::string::size_type lastSlash = text.str().rfind('/');
        text = text.Mid(static_cast<int>(lastSlash));
    }
    return text;
}
