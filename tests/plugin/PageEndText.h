#pragma once
// A text laid out as a BSTR by hand whose last unit is the last readable one:
// the page after it cannot be read, so a decoder that reads one unit past the
// text's length faults at once instead of picking up whatever follows. There
// is no terminating zero unit either.

#include <windows.h>
#include <oleauto.h>

#include <string>

class CPageEndText {
public:
    explicit CPageEndText(const std::wstring& units);
    ~CPageEndText();
    CPageEndText(const CPageEndText&) = delete;
    CPageEndText& operator=(const CPageEndText&) = delete;

    // Valid while this object lives; never to be freed with SysFreeString.
    BSTR Get() const { return m_text; }

private:
    void* m_base = nullptr;
    BSTR m_text = nullptr;
};
