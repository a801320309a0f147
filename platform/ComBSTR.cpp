#include "ComBSTR.h"

CComBSTR::CComBSTR(const char* text) {
    if (!text)
        return;
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (length <= 0)
        return;
    // length counts the terminator, which SysAllocStringLen adds itself.
    m_str = ::SysAllocStringLen(nullptr, static_cast<UINT>(length - 1));
    if (m_str)
        ::MultiByteToWideChar(CP_ACP, 0, text, -1, m_str, length);
}

std::string CComBSTR::ToAnsi() const {
    const int wideLength = static_cast<int>(Length());
    if (wideLength == 0)
        return std::string();
    const int length =
        ::WideCharToMultiByte(CP_ACP, 0, m_str, wideLength, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_ACP, 0, m_str, wideLength, &text[0], length, nullptr, nullptr);
    return text;
}
