#include "PageEndText.h"

#include <cstring>
#include <stdexcept>

CPageEndText::CPageEndText(const std::wstring& units) {
    SYSTEM_INFO system;
    GetSystemInfo(&system);
    const size_t page = system.dwPageSize;
    const size_t textBytes = units.size() * sizeof(wchar_t);
    const size_t readable = (sizeof(DWORD) + textBytes + page - 1) / page * page;
    m_base = VirtualAlloc(nullptr, readable + page, MEM_RESERVE | MEM_COMMIT, PAGE_READWRITE);
    if (!m_base)
        throw std::runtime_error("VirtualAlloc failed");
    char* end = static_cast<char*>(m_base) + readable;
    DWORD oldProtection = 0;
    if (!VirtualProtect(end, page, PAGE_NOACCESS, &oldProtection)) {
        VirtualFree(m_base, 0, MEM_RELEASE);
        throw std::runtime_error("VirtualProtect failed");
    }
    char* text = end - textBytes;
    const DWORD length = static_cast<DWORD>(textBytes);
    std::memcpy(text - sizeof(DWORD), &length, sizeof(DWORD));
    if (textBytes)
        std::memcpy(text, units.data(), textBytes);
    m_text = reinterpret_cast<BSTR>(text);
}

CPageEndText::~CPageEndText() {
    if (m_base)
        VirtualFree(m_base, 0, MEM_RELEASE);
}
