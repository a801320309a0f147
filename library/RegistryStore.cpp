#include "RegistryStore.h"

#include "LibraryLock.h"
#include "UniqueHandle.h"

ParamMap theRegistryCache;
std::vector<BYTE> theRegistryReadBuffer(2000);

namespace {

const DWORD kGrowthMargin = 100;

CString CacheKey(HKEY root, const CString& keyPath, const CString& valueName) {
    return CString(root == HKEY_CURRENT_USER ? "user/" : "machine/") + keyPath + valueName;
}

bool IsTextType(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Queries into the shared buffer, growing it once when the value does not
// fit. On success size holds the byte count of the data.
LONG QueryValue(HKEY key, const CString& valueName, DWORD& type, DWORD& size) {
    size = static_cast<DWORD>(theRegistryReadBuffer.size() - 1);
    LONG result =
        RegQueryValueExA(key, valueName, nullptr, &type, theRegistryReadBuffer.data(), &size);
    // Only a value too large for the buffer is worth a second query; a
    // missing value must not grow the buffer.
    if (result != ERROR_MORE_DATA)
        return result;
    if (size + kGrowthMargin > theRegistryReadBuffer.size())
        theRegistryReadBuffer.resize(size + kGrowthMargin);
    return RegQueryValueExA(key, valueName, nullptr, &type, theRegistryReadBuffer.data(), &size);
}

} // namespace

int ReadRegistryValue(HKEY root, CString keyPath, CString valueName, CString& out) {
    // The read buffer and the cache are the whole process's: a read on
    // another thread would write its value into the buffer under this one.
    CLibraryLock hold;
    out.Empty();
    const CString cacheKey = CacheKey(root, keyPath, valueName);
    CRegistryKey key;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return 0;
    DWORD type = 0;
    DWORD size = 0;
    if (QueryValue(key.Get(), valueName, type, size) != ERROR_SUCCESS)
        return 0;
    if (IsTextType(type)) {
        // The stored data need not end in a zero byte; the text ends at the
        // first one (a multi-string's first string).
        theRegistryReadBuffer[size] = 0;
        out = reinterpret_cast<const char*>(theRegistryReadBuffer.data());
        theRegistryCache[cacheKey] = out;
    }
    return 1;
}

int WriteRegistryValue(HKEY root, const char* keyPath, const char* valueName, const char* text) {
    CLibraryLock hold; // the cache is shared with every other thread's reads
    const CString value = text;
    const CString cacheKey = CacheKey(root, keyPath, valueName);
    const auto cached = theRegistryCache.find(cacheKey);
    if (value == (cached == theRegistryCache.end() ? CString() : cached->second))
        return 1;

    CRegistryKey key;
    if (RegOpenKeyExA(root, keyPath, 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS &&
        RegCreateKeyExA(root, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                        key.Receive(), nullptr) != ERROR_SUCCESS)
        return 0;
    if (RegSetValueExA(key.Get(), valueName, 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(value.GetString()),
                       static_cast<DWORD>(value.GetLength())) != ERROR_SUCCESS)
        return 0;
    theRegistryCache[cacheKey] = value;
    return 1;
}
