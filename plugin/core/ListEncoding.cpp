#include "ListEncoding.h"

#include "PluginMap.h"

#include <climits>
#include <cwchar>
#include <new>

namespace {

const int kFieldWidth = 10;

// Sizes beyond what a BSTR can hold are an allocation failure, never a
// wrapped length.
int CheckedLength(long long units) {
    if (units > INT_MAX / 2)
        throw std::bad_alloc();
    return static_cast<int>(units);
}

// "%010d" of a non-negative number, without a formatter call per field.
wchar_t* PutNumber(wchar_t* at, int value) {
    for (int i = kFieldWidth - 1; i >= 0; --i) {
        at[i] = static_cast<wchar_t>(L'0' + value % 10);
        value /= 10;
    }
    return at + kFieldWidth;
}

wchar_t* PutItem(wchar_t* at, const wchar_t* units, int count) {
    at = PutNumber(at, count);
    if (count > 0)
        std::wmemcpy(at, units, static_cast<size_t>(count));
    return at + count;
}

// Sizes the out text for the given number of units and hands back where
// writing starts.
wchar_t* Prepare(CPluginString& out, long long units) {
    out.Empty();
    out.Resize(CheckedLength(units));
    return out.GetBSTR();
}

int WideLength(const wchar_t* text) {
    return text ? static_cast<int>(std::wcslen(text)) : 0;
}

bool IsAtolSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// As atol reads: leading white space, an optional sign, digits up to the
// first other character; beyond the range of long it gives the limit.
int ReadNumber(const char* text) {
    while (IsAtolSpace(*text))
        ++text;
    bool negative = *text == '-';
    if (*text == '-' || *text == '+')
        ++text;
    long long value = 0;
    for (; *text >= '0' && *text <= '9'; ++text)
        if (value <= INT_MAX)
            value = value * 10 + (*text - '0');
    if (negative)
        value = -value;
    if (value > INT_MAX)
        return INT_MAX;
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

// The number in the field at the position: ten units, or what remains
// before the end of the text. The field is read in the ANSI code page;
// ASCII units are the same there, so only other units go through the
// conversion.
int ReadField(const wchar_t* text, long long at, long long length) {
    int count =
        at < length ? static_cast<int>(length - at < kFieldWidth ? length - at : kFieldWidth) : 0;
    char narrow[kFieldWidth + 1];
    for (int i = 0; i < count; ++i) {
        wchar_t unit = text[at + i];
        if (unit >= 0x80) {
            CPluginString field(text + at, count);
            return ReadNumber(field.GetNarrow());
        }
        narrow[i] = static_cast<char>(unit);
    }
    narrow[count] = 0;
    return ReadNumber(narrow);
}

} // namespace

void EncodeList(CPluginString& out, const wchar_t* first, ...) {
    va_list args;
    va_start(args, first);
    va_list sizing;
    va_copy(sizing, args);
    long long units = 2 * kFieldWidth + WideLength(first);
    int count = 1;
    while (const wchar_t* item = va_arg(sizing, const wchar_t*)) {
        units += kFieldWidth + WideLength(item);
        ++count;
    }
    va_end(sizing);

    wchar_t* at = PutNumber(Prepare(out, units), count);
    at = PutItem(at, first, WideLength(first));
    while (const wchar_t* item = va_arg(args, const wchar_t*))
        at = PutItem(at, item, WideLength(item));
    va_end(args);
}

void EncodeList(CPluginString& out, const CPluginList<CPluginString>& items) {
    long long units = kFieldWidth;
    for (POSITION position = items.GetHeadPosition(); position;)
        units += kFieldWidth + items.GetNext(position).GetLength();

    wchar_t* at = PutNumber(Prepare(out, units), items.GetCount());
    for (POSITION position = items.GetHeadPosition(); position;) {
        const CPluginString& item = items.GetNext(position);
        at = PutItem(at, item.GetBSTR(), item.GetLength());
    }
}

// Items the count promises but the text lacks come out empty, so a caller
// that pairs items still sees the count it was given. A count near the 32-bit
// limit must not exhaust memory, though: no more items are made than the text
// could hold (each takes at least its ten-unit length field) plus two, which
// keeps the cost linear in the text's length. A negative length reads as an
// empty item and never moves the position backwards.
void DecodeList(BSTR text, int start, CPluginList<CPluginString>& items) {
    items.RemoveAll();
    const long long length = SysStringLen(text);
    if (start < 0 || start >= length)
        return;
    const int count = ReadField(text, start, length);
    const long long most = (length - start) / kFieldWidth + 2;
    long long at = static_cast<long long>(start) + kFieldWidth;
    for (long long i = 0; i < count && i < most; ++i) {
        long long declared = ReadField(text, at, length);
        if (declared < 0)
            declared = 0;
        const long long first = at + kFieldWidth;
        const long long present = first < length ? length - first : 0;
        const int taken = static_cast<int>(declared < present ? declared : present);
        items.AddTail(taken > 0 ? text + first : static_cast<const wchar_t*>(nullptr), taken);
        at = first + declared;
    }
}

void EncodeResultList(CResultList& results, CPluginString& out) {
    CPluginMap seen(10);
    CPluginList<std::unique_ptr<CCopyDataMessage>> kept;
    long long units = kFieldWidth;
    while (!results.IsEmpty()) {
        std::unique_ptr<CCopyDataMessage> pair = results.TakeFirst();
        if (!pair)
            break;
        void* unused = nullptr;
        if (seen.Lookup(pair->name, unused))
            continue;
        seen.SetAt(pair->name, nullptr);
        units += 2 * kFieldWidth + pair->name.GetLength() + pair->value.GetLength();
        kept.AddTail(std::move(pair));
    }

    wchar_t* at = PutNumber(Prepare(out, units), 2 * kept.GetCount());
    for (POSITION position = kept.GetHeadPosition(); position;) {
        const CCopyDataMessage& pair = *kept.GetNext(position);
        at = PutItem(at, pair.name.GetBSTR(), pair.name.GetLength());
        at = PutItem(at, pair.value.GetBSTR(), pair.value.GetLength());
    }
}
