#include "PluginString.h"

#include <cstring>
#include <cwchar>
#include <new>
#include <utility>

namespace {

// The containers and callers assume allocation succeeds; a null BSTR must
// never be stored, so a refusal becomes the usual allocation failure.
BSTR AllocText(const wchar_t* units, int count) {
    BSTR text = SysAllocStringLen(units, static_cast<UINT>(count));
    if (!text)
        throw std::bad_alloc();
    return text;
}

BSTR WidenBytes(const char* bytes, int count) {
    if (count <= 0)
        return AllocText(nullptr, 0);
    int units = MultiByteToWideChar(CP_ACP, 0, bytes, count, nullptr, 0);
    BSTR text = AllocText(nullptr, units);
    if (units > 0)
        MultiByteToWideChar(CP_ACP, 0, bytes, count, text, units);
    text[units] = 0;
    return text;
}

int MeasureWide(const wchar_t* text, int length) {
    if (!text)
        return 0;
    return length < 0 ? static_cast<int>(std::wcslen(text)) : length;
}

} // namespace

CPluginString::CPluginString() : m_text(AllocText(nullptr, 0)) {}

CPluginString::CPluginString(const CPluginString& other)
    : m_text(AllocText(other.m_text, other.GetLength())) {}

CPluginString::CPluginString(const char* text, int length) : m_text(nullptr) {
    if (!text)
        text = "";
    if (length < 0)
        length = lstrlenA(text);
    m_narrow.reset(new char[length + 1]);
    std::memcpy(m_narrow.get(), text, static_cast<size_t>(length));
    m_narrow[length] = 0;
    m_text = WidenBytes(text, length);
}

CPluginString::CPluginString(const wchar_t* text, int length)
    : m_text(AllocText(text ? text : L"", MeasureWide(text, length))) {}

CPluginString::CPluginString(wchar_t unit, int count)
    : m_text(AllocText(nullptr, count > 0 ? count : 0)) {
    for (int i = 0; i < count; ++i)
        m_text[i] = unit;
}

CPluginString::CPluginString(wchar_t unit) : CPluginString(unit, 1) {}

CPluginString::~CPluginString() {
    SysFreeString(m_text);
}

void CPluginString::Swap(CPluginString& other) noexcept {
    std::swap(m_text, other.m_text);
    std::swap(m_narrow, other.m_narrow);
}

void CPluginString::ReplaceText(BSTR text) {
    SysFreeString(m_text);
    m_text = text;
    DropNarrow();
}

CPluginString& CPluginString::Assign(const CPluginString& other) {
    if (other.m_text != m_text)
        ReplaceText(AllocText(other.m_text, other.GetLength()));
    return *this;
}

CPluginString& CPluginString::Assign(const char* text, int length) {
    if (text && text == m_narrow.get())
        return *this;
    CPluginString fresh(text, length);
    Swap(fresh);
    return *this;
}

CPluginString& CPluginString::Assign(const wchar_t* text, int length) {
    CPluginString fresh(text, length);
    Swap(fresh);
    return *this;
}

void CPluginString::Attach(BSTR text) {
    if (text == m_text)
        return;
    ReplaceText(text ? text : AllocText(nullptr, 0));
}

BSTR CPluginString::Detach() {
    BSTR empty = AllocText(nullptr, 0);
    BSTR text = m_text;
    m_text = empty;
    DropNarrow();
    return text;
}

wchar_t CPluginString::GetAt(int index) const {
    return index >= 0 && index < GetLength() ? m_text[index] : L'\0';
}

const char* CPluginString::GetNarrow() {
    if (!m_narrow) {
        int bytes = WideCharToMultiByte(CP_ACP, 0, m_text, -1, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            bytes = 1;
        std::unique_ptr<char[]> narrow(new char[bytes]);
        if (WideCharToMultiByte(CP_ACP, 0, m_text, -1, narrow.get(), bytes, nullptr, nullptr) <= 0)
            narrow[0] = 0;
        narrow[bytes - 1] = 0;
        m_narrow = std::move(narrow);
    }
    return m_narrow.get();
}

CPluginString& CPluginString::MakeUpper() {
    for (int i = 0, n = GetLength(); i < n; ++i)
        if (m_text[i] >= L'a' && m_text[i] <= L'z')
            m_text[i] = static_cast<wchar_t>(m_text[i] - (L'a' - L'A'));
    DropNarrow();
    return *this;
}

CPluginString& CPluginString::MakeLower() {
    for (int i = 0, n = GetLength(); i < n; ++i)
        if (m_text[i] >= L'A' && m_text[i] <= L'Z')
            m_text[i] = static_cast<wchar_t>(m_text[i] + (L'a' - L'A'));
    DropNarrow();
    return *this;
}

// The runtime's table below U+0100 (U+0085 is not white space there), the
// system's character typing above it.
bool CPluginString::IsWhiteSpace(wchar_t unit) {
    if (unit < 0x100)
        return (unit >= 0x09 && unit <= 0x0D) || unit == 0x20 || unit == 0xA0;
    WORD type = 0;
    return GetStringTypeW(CT_CTYPE1, &unit, 1, &type) && (type & C1_SPACE);
}

CPluginString& CPluginString::TrimLeft() {
    int length = GetLength();
    int skipped = 0;
    while (skipped < length && IsWhiteSpace(m_text[skipped]))
        ++skipped;
    if (skipped > 0)
        ReplaceText(AllocText(m_text + skipped, length - skipped));
    return *this;
}

CPluginString& CPluginString::TrimRight() {
    int runStart = -1;
    int i = 0;
    for (; m_text[i]; ++i) {
        if (!IsWhiteSpace(m_text[i]))
            runStart = -1;
        else if (runStart < 0)
            runStart = i;
    }
    if (runStart >= 0)
        Resize(runStart);
    return *this;
}

CPluginString& CPluginString::Trim() {
    return TrimLeft().TrimRight();
}

void CPluginString::SetAt(int index, wchar_t unit) {
    if (index < 0)
        return;
    if (index >= GetLength())
        Resize(index + 1);
    if (m_text[index] == unit)
        return;
    DropNarrow();
    m_text[index] = unit;
}

void CPluginString::Resize(int length) {
    if (length < 0)
        length = 0;
    int old = GetLength();
    if (length == old)
        return;
    BSTR text = AllocText(nullptr, length);
    int kept = old < length ? old : length;
    std::memcpy(text, m_text, static_cast<size_t>(kept) * sizeof(wchar_t));
    for (int i = kept; i <= length; ++i)
        text[i] = 0;
    ReplaceText(text);
}

// A fresh buffer is filled before the old one is freed, so the units may
// come from this string itself.
void CPluginString::AppendUnits(const wchar_t* units, int count) {
    if (count <= 0)
        return;
    int old = GetLength();
    BSTR text = AllocText(nullptr, old + count);
    std::memcpy(text, m_text, static_cast<size_t>(old) * sizeof(wchar_t));
    std::memcpy(text + old, units, static_cast<size_t>(count) * sizeof(wchar_t));
    text[old + count] = 0;
    ReplaceText(text);
}

CPluginString& CPluginString::Append(const CPluginString& other) {
    AppendUnits(other.m_text, other.GetLength());
    return *this;
}

CPluginString& CPluginString::Append(const wchar_t* text) {
    if (text)
        AppendUnits(text, static_cast<int>(std::wcslen(text)));
    return *this;
}

CPluginString& CPluginString::Append(const char* text) {
    if (text && *text) {
        CPluginString wide(text);
        Append(wide.m_text);
    }
    return *this;
}

CPluginString& CPluginString::AppendChar(wchar_t unit) {
    SetAt(GetLength(), unit);
    return *this;
}

CPluginString& CPluginString::AppendChar(char c) {
    return AppendChar(static_cast<wchar_t>(static_cast<unsigned char>(c)));
}

int CPluginString::Compare(const wchar_t* other) const {
    if (!other)
        return IsEmpty() ? 0 : 1;
    for (int i = 0;; ++i) {
        unsigned a = m_text[i], b = static_cast<unsigned short>(other[i]);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
}

int CPluginString::CompareNoCase(const wchar_t* other) const {
    if (!other)
        return IsEmpty() ? 0 : 1;
    auto fold = [](wchar_t unit) -> int {
        return unit >= L'A' && unit <= L'Z' ? unit + (L'a' - L'A') : unit;
    };
    for (int i = 0;; ++i) {
        int a = fold(m_text[i]), b = fold(other[i]);
        if (a != b || a == 0)
            return a - b;
    }
}

CPluginString CPluginString::Mid(int start, int count) const {
    int length = GetLength();
    if (start < 0)
        start = 0;
    if (count < 0)
        count = 0;
    if (static_cast<long long>(start) + count > length)
        count = length - start;
    if (start > length) {
        start = length;
        count = 0;
    }
    if (start == 0 && count == length)
        return *this;
    return CPluginString(m_text + start, count);
}

CPluginString CPluginString::Left(int count) const {
    if (count < 0)
        count = 0;
    return count >= GetLength() ? *this : CPluginString(m_text, count);
}

CPluginString CPluginString::Right(int count) const {
    int length = GetLength();
    if (count < 0)
        count = 0;
    return count >= length ? *this : CPluginString(m_text + length - count, count);
}

CPluginString CPluginString::Concat(const CPluginString& first, const CPluginString& second) {
    CPluginString result(first);
    result.Append(second);
    return result;
}

CPluginString CPluginString::Concat(const CPluginString& first, const char* second) {
    CPluginString result(first);
    result.Append(second);
    return result;
}

CPluginString CPluginString::Concat(const char* first, const CPluginString& second) {
    CPluginString result(first);
    result.Append(second);
    return result;
}

CPluginString CPluginString::Concat(const CPluginString& first, const wchar_t* second) {
    CPluginString result(first);
    result.Append(second);
    return result;
}

void CPluginString::Format(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    FormatV(format, args);
    va_end(args);
}

// _vsnwprintf is msvcrt's own formatter (mingw-w64 leaves this name bound to
// the DLL even in C99 mode): "%s" in a wide format takes a wide string there,
// as the formats of the manifest expect. It reports -1 when the output does
// not fit and writes no terminator when it fits exactly.
int CPluginString::FormatV(const wchar_t* format, va_list args) {
    if (!format) {
        ReplaceText(AllocText(nullptr, 0));
        return 0;
    }
    int needed = -2;
    for (int capacity = 100;; capacity += 100) {
        std::unique_ptr<wchar_t[]> buffer(new wchar_t[capacity + 1]);
        buffer[capacity] = 0;
        va_list pass;
        va_copy(pass, args);
        int written = _vsnwprintf(buffer.get(), static_cast<size_t>(capacity), format, pass);
        va_end(pass);
        if (written >= 0) {
            ReplaceText(AllocText(buffer.get(), static_cast<int>(std::wcslen(buffer.get()))));
            return capacity;
        }
        // A format the formatter rejects would otherwise grow the buffer
        // forever: ask once how long the output is, and give up when it
        // cannot say or when a buffer of that size was already refused.
        if (needed == -2) {
            va_copy(pass, args);
            needed = _vscwprintf(format, pass);
            va_end(pass);
        }
        if (needed < 0 || capacity >= needed) {
            ReplaceText(AllocText(nullptr, 0));
            return 0;
        }
    }
}
