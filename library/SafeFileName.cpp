#include "SafeFileName.h"

#include <string>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// The name as Windows would create it: blanks around it and trailing dots
// dropped.
std::string Trimmed(const std::string& name) {
    size_t first = 0;
    while (first < name.size() && IsBlank(name[first]))
        ++first;
    size_t end = name.size();
    while (end > first && (IsBlank(name[end - 1]) || name[end - 1] == '.'))
        --end;
    return name.substr(first, end - first);
}

std::string Upper(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// Windows opens the device whatever extension follows the device name, and
// drops blanks between the two.
bool IsDeviceName(const std::string& name) {
    std::string base = Upper(name.substr(0, name.find('.')));
    while (!base.empty() && IsBlank(base.back()))
        base.pop_back();
    for (const char* device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"}) {
        if (base == device)
            return true;
    }
    // COM1 to COM9 and LPT1 to LPT9; also 0 and the superscript digits of
    // the Western code page, which some Windows versions take as well.
    if (base.size() != 4 || (base.compare(0, 3, "COM") != 0 && base.compare(0, 3, "LPT") != 0))
        return false;
    const unsigned char digit = static_cast<unsigned char>(base[3]);
    return (digit >= '0' && digit <= '9') || digit == 0xB9 || digit == 0xB2 || digit == 0xB3;
}

// The update folder's own files: downloaded, a stop marker would silently
// stop every later update, and the script and the download would overwrite
// each other. A download first lands beside its target under the name with
// ".part" appended, so such a name could be another download's partial file.
bool IsUpdateFolderName(const std::string& name) {
    const std::string upper = Upper(name);
    for (const char* own : {"NODOWNLOAD.TXT", "NOUPDATE.TXT", "UPDATE.BAT"}) {
        if (upper == own)
            return true;
    }
    const std::string partial = ".PART";
    return upper.size() >= partial.size() &&
           upper.compare(upper.size() - partial.size(), partial.size(), partial) == 0;
}

} // namespace

bool IsSafeUpdateFileName(const CString& name) {
    const std::string trimmed = Trimmed(name.str());
    if (trimmed.empty())
        return false;
    if (trimmed.find_first_of("\\/:") != std::string::npos)
        return false;
    if (trimmed.find("..") != std::string::npos)
        return false;
    return !IsDeviceName(trimmed) && !IsUpdateFolderName(trimmed);
}
