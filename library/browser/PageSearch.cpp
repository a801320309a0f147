#include "PageSearch.h"

int FindText(const CString& text, const char* wanted) {
    if (!wanted || !*wanted)
        return -1;
    return text.Find(wanted, 1);
}

bool HoldsText(const CString& text, const char* wanted) {
    return FindText(text, wanted) > 0;
}

const char* const theErrorPageTexts[4] = {
    "because you are offline",
    "The webpage is unavailable",
    "cannot display the webpage",
    "Navigation to the webpage was canceled",
};

bool HoldsErrorPageText(const CString& pageText) {
    for (const char* text : theErrorPageTexts) {
        if (HoldsText(pageText, text))
            return true;
    }
    return false;
}
