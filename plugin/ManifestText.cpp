#include "ManifestText.h"

namespace {

// The bytes of one UTF-16 unit taken by itself: halves of a surrogate pair
// each become three bytes of their own.
int Utf8Bytes(unsigned unit, unsigned bytes[3]) {
    if (unit < 0x80) {
        bytes[0] = unit;
        return 1;
    }
    if (unit < 0x800) {
        bytes[0] = 0xC0 + (unit >> 6);
        bytes[1] = 0x80 + (unit & 63);
        return 2;
    }
    bytes[0] = 0xE0 + (unit >> 12);
    bytes[1] = 0x80 + ((unit >> 6) & 63);
    bytes[2] = 0x80 + (unit & 63);
    return 3;
}

const wchar_t* XmlEntity(wchar_t unit) {
    switch (unit) {
    case L'"':
        return L"&quot;";
    case L'&':
        return L"&amp;";
    case L'\'':
        return L"&apos;";
    case L'<':
        return L"&lt;";
    case L'>':
        return L"&gt;";
    default:
        return nullptr;
    }
}

bool KeptByPercentEncode(wchar_t unit) {
    return (unit >= L'A' && unit <= L'Z') || (unit >= L'a' && unit <= L'z') ||
           (unit >= L'0' && unit <= L'9') || unit == L' ';
}

} // namespace

CPluginString XmlEscape(const wchar_t* text) {
    CPluginString out;
    for (; text && *text; ++text) {
        if (const wchar_t* entity = XmlEntity(*text)) {
            out.Append(entity);
            continue;
        }
        unsigned bytes[3];
        int count = Utf8Bytes(*text, bytes);
        for (int i = 0; i < count; ++i)
            out.AppendChar(static_cast<wchar_t>(bytes[i]));
    }
    return out;
}

CPluginString PercentEncode(const wchar_t* text) {
    static const wchar_t digits[] = L"0123456789abcdef";
    CPluginString out;
    for (; text && *text; ++text) {
        if (KeptByPercentEncode(*text)) {
            out.AppendChar(*text);
            continue;
        }
        unsigned bytes[3];
        int count = Utf8Bytes(*text, bytes);
        for (int i = 0; i < count; ++i) {
            wchar_t encoded[] = {L'%', digits[bytes[i] >> 4], digits[bytes[i] & 15], 0};
            out.Append(encoded);
        }
    }
    return out;
}

CPluginString CEscape(const CPluginString& text) {
    static const wchar_t letters[] = L"abtnvfr";
    CPluginString out;
    for (int i = 0, n = text.GetLength(); i < n; ++i) {
        wchar_t unit = text.GetAt(i);
        if (unit >= 7 && unit <= 13) {
            out.AppendChar(L'\\');
            out.AppendChar(letters[unit - 7]);
        } else {
            out.AppendChar(unit);
        }
    }
    return out;
}
