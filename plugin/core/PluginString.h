#pragma once
// The plug-in's text. The UTF-16 units live in a BSTR, so text goes to the
// host (Detach) and comes from it (Attach) without a copy. A narrow copy in
// the ANSI code page is made the first time one is asked for and kept until
// the text changes.
//
// The length is the BSTR's length and may count zero units inside the text;
// comparison, hashing, TrimRight, GetNarrow and appending wide text read the
// text only up to its first zero unit.

#include <windows.h>
#include <oleauto.h>

#include <cstdarg>
#include <memory>

class CPluginString {
public:
    CPluginString();
    CPluginString(const CPluginString& other);
    // A null text counts as "", a negative length measures up to the
    // terminator. The bytes given become the narrow copy as they stand.
    CPluginString(const char* text, int length = -1);
    // A negative length runs up to the first zero unit; otherwise exactly
    // that many units are taken, zero units included.
    CPluginString(const wchar_t* text, int length = -1);
    CPluginString(wchar_t unit, int count);
    explicit CPluginString(wchar_t unit);
    ~CPluginString();

    CPluginString& operator=(const CPluginString& other) { return Assign(other); }

    CPluginString& Assign(const CPluginString& other);
    CPluginString& Assign(const char* text, int length = -1);
    CPluginString& Assign(const wchar_t* text, int length = -1);
    void Attach(BSTR text);
    // The caller owns the returned BSTR; the string is left empty.
    BSTR Detach();

    int GetLength() const { return static_cast<int>(SysStringLen(m_text)); }
    bool IsEmpty() const { return GetLength() == 0; }
    wchar_t GetAt(int index) const;
    // Never null. Owned by the string, valid until its next change.
    BSTR GetBSTR() const { return m_text; }
    // Filling the cache makes this a change as far as sharing goes.
    const char* GetNarrow();

    CPluginString& MakeUpper();
    CPluginString& MakeLower();
    CPluginString& TrimLeft();
    CPluginString& TrimRight();
    CPluginString& Trim();
    void SetAt(int index, wchar_t unit);
    CPluginString& Append(const CPluginString& other);
    CPluginString& Append(const wchar_t* text);
    CPluginString& Append(const char* text);
    CPluginString& AppendChar(wchar_t unit);
    CPluginString& AppendChar(char c);
    // Added units are zero until the caller writes them.
    void Resize(int length);
    void Empty() { Resize(0); }

    // The Microsoft runtime's rules: "%s" takes a wide string.
    void Format(const wchar_t* format, ...);
    // Returns the capacity of the pass that held the output (100, 200, ...),
    // or 0 when the format is null or the formatter fails for another reason
    // than size; the string is then empty.
    int FormatV(const wchar_t* format, va_list args);

    // -1, 0 or 1 by unsigned code unit.
    int Compare(const CPluginString& other) const { return Compare(other.m_text); }
    int Compare(const wchar_t* other) const;
    // Folds A-Z only; the sign of the result is what counts.
    int CompareNoCase(const CPluginString& other) const { return CompareNoCase(other.m_text); }
    int CompareNoCase(const wchar_t* other) const;

    CPluginString Mid(int start, int count) const;
    CPluginString Mid(int start) const { return Mid(start, GetLength() - start); }
    CPluginString Left(int count) const;
    CPluginString Right(int count) const;

    static CPluginString Concat(const CPluginString& first, const CPluginString& second);
    static CPluginString Concat(const CPluginString& first, const char* second);
    static CPluginString Concat(const char* first, const CPluginString& second);
    static CPluginString Concat(const CPluginString& first, const wchar_t* second);

private:
    static bool IsWhiteSpace(wchar_t unit);
    void Swap(CPluginString& other) noexcept;
    void ReplaceText(BSTR text);
    void DropNarrow() { m_narrow.reset(); }
    void AppendUnits(const wchar_t* units, int count);

    BSTR m_text;
    std::unique_ptr<char[]> m_narrow;
};
