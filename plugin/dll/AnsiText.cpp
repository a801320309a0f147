#include "AnsiText.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

// Above this a doubled byte count would no longer fit in an int.
const size_t kMostUnits = 0x3FFFFFFF;

} // namespace

std::string ToLibraryText(const wchar_t* text) {
    if (!text)
        return std::string();
    const size_t units = std::wcslen(text) + 1;
    if (units > kMostUnits)
        return std::string();
    // Two bytes per unit hold any ANSI code page's text, double-byte ones
    // included.
    const int bytes = static_cast<int>(2 * units);
    std::unique_ptr<char[]> buffer(new char[bytes]);
    if (WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, buffer.get(), bytes, nullptr, nullptr) == 0)
        return std::string();
    return std::string(buffer.get());
}

std::unique_ptr<wchar_t[]> FromLibraryText(const char* text) {
    if (!text)
        text = "";
    const size_t units = std::strlen(text) + 1;
    if (units > kMostUnits)
        return nullptr;
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[units]);
    buffer[0] = 0;
    if (MultiByteToWideChar(CP_THREAD_ACP, 0, text, -1, buffer.get(), static_cast<int>(units)) == 0)
        return nullptr;
    return buffer;
}
