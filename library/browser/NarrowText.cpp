#include "NarrowText.h"

#include <windows.h>

#include <string>

CString NarrowFromBstr(BSTR text) {
    const int length = static_cast<int>(SysStringLen(text));
    if (length == 0)
        return CString();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return CString();
    std::string narrow(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, length, &narrow[0], size, nullptr, nullptr);
    return CString(narrow);
}
