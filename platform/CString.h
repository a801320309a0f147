#pragma once
// A narrow, byte-oriented text class with the small interface the library
// uses. It holds any bytes, zero bytes included: an HTTP body is kept whole.

#include <cstdarg>
#include <string>
#include <utility>

class CString {
public:
    CString() = default;
    CString(const char* text) : m_text(text ? text : "") {}
    CString(const char* bytes, int length) : m_text(bytes, length > 0 ? length : 0) {}
    CString(const std::string& text) : m_text(text) {}
    // Takes the bytes over without copying them: a body of many megabytes.
    CString(std::string&& text) : m_text(std::move(text)) {}

    // Zero-terminated view; with embedded zero bytes it ends at the first one.
    operator const char*() const { return m_text.c_str(); }
    const char* GetString() const { return m_text.c_str(); }
    const std::string& str() const { return m_text; }

    int GetLength() const { return static_cast<int>(m_text.size()); }
    bool IsEmpty() const { return m_text.empty(); }
    void Empty() { m_text.clear(); }
    char GetAt(int index) const { return m_text[static_cast<size_t>(index)]; }
    char operator[](int index) const { return GetAt(index); }

    // Appending reserves geometrically (std::string), so a long run of
    // appends costs amortised linear time.
    CString& Append(const char* bytes, int length);
    CString& operator+=(const CString& other);
    CString& operator+=(const char* text);
    CString& operator+=(char c);

    void Format(const char* format, ...);
    void FormatV(const char* format, va_list args);

    // Position of the first match at or after start, or -1.
    int Find(const char* sub, int start = 0) const;
    int Find(char c, int start = 0) const;
    // Replaces every occurrence left to right without re-scanning the
    // replacement; returns the number of replacements.
    int Replace(const char* oldText, const char* newText);

    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    CString& MakeLower();
    CString& MakeUpper();

    int Compare(const char* other) const;

private:
    std::string m_text;
};

CString operator+(const CString& a, const CString& b);
CString operator+(const CString& a, const char* b);
CString operator+(const char* a, const CString& b);
CString operator+(const CString& a, char b);

bool operator==(const CString& a, const CString& b);
bool operator==(const CString& a, const char* b);
bool operator==(const char* a, const CString& b);
bool operator!=(const CString& a, const CString& b);
bool operator!=(const CString& a, const char* b);
bool operator!=(const char* a, const CString& b);
// Unsigned byte order, the order the product record's keys are kept in.
bool operator<(const CString& a, const CString& b);
