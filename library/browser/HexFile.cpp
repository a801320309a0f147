#include "HexFile.h"

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <share.h>

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using FileHandle = std::unique_ptr<std::FILE, FileCloser>;

void WriteLine(std::FILE* stream, const char* text) {
    std::fputs(text, stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

int DigitValue(char digit) {
    if (digit >= '0' && digit <= '9')
        return digit - '0';
    if (digit >= 'a' && digit <= 'f')
        return digit - 'a' + 10;
    if (digit >= 'A' && digit <= 'F')
        return digit - 'A' + 10;
    WriteLine(stderr, "Invalid input data");
    return 1;
}

} // namespace

CString HexToBytes(const char* text, unsigned count) {
    std::string bytes(count, '\0');
    // strnlen stops at the limit: a short text is never read past its end.
    const size_t wanted = 2 * static_cast<size_t>(count);
    const size_t length = text ? strnlen(text, wanted) : 0;
    if (length < wanted)
        WriteLine(stderr, "Bad Hex string length.");
    const size_t available = length / 2;
    for (size_t i = 0; i < available; ++i) {
        const int high = DigitValue(text[2 * i]);
        const int low = DigitValue(text[2 * i + 1]);
        bytes[i] = static_cast<char>(high * 16 + low);
    }
    return CString(bytes);
}

void WriteHexFile(const char* fileName, const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    const CString bytes = HexToBytes(text, static_cast<unsigned>(length / 2));
    // Opened as fopen_s opens a file: nobody else may open it meanwhile.
    FileHandle file(fileName ? _fsopen(fileName, "wb", _SH_DENYRW) : nullptr);
    if (!file) {
        WriteLine(stdout, "ERROR");
        return;
    }
    std::fwrite(bytes.GetString(), 1, static_cast<size_t>(bytes.GetLength()), file.get());
}
