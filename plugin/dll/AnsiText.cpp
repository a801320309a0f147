#include "AnsiText.h"

#include <windows.h>

#include <cstring>
#include <cwchar>

namespace {

// The conversions take the length as an int, terminator included; a longer
// text is refused rather than cut.
const size_t kMostUnits = 0x3FFFFFFF;

} // namespace

std::string ToLibraryText(const wchar_t* text, unsigned codePage) {
    if (!text)
        return std::string();
    const size_t units = std::wcslen(text) + 1;
    if (units > kMostUnits)
        return std::string();
    // Asked, not guessed: under UTF-8 one unit can take three bytes. A
    // result that would not fit an int is reported as a failure.
    const int length = static_cast<int>(units);
    const int bytes = WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return std::string();
    std::unique_ptr<char[]> buffer(new char[bytes]);
    if (WideCharToMultiByte(codePage, 0, text, length, buffer.get(), bytes, nullptr, nullptr) == 0)
        return std::string();
    return std::string(buffer.get());
}

std::unique_ptr<wchar_t[]> FromLibraryText(const char* text, unsigned codePage) {
    if (!text)
        text = "";
    const size_t bytes = std::strlen(text) + 1;
    if (bytes > kMostUnits)
        return nullptr;
    const int length = static_cast<int>(bytes);
    const int units = MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    if (units <= 0)
        return nullptr;
    std::unique_ptr<wchar_t[]> buffer(new wchar_t[units]);
    if (MultiByteToWideChar(codePage, 0, text, length, buffer.get(), units) == 0)
        return nullptr;
    return buffer;
}
