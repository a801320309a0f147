// The dialog's two remembered names in the registry.
#include "TestKorvelDlg.h"

#include "UniqueHandle.h"

namespace {

bool IsText(DWORD type) {
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Room offered to a query: the buffer less the terminating NUL we add.
DWORD Room() {
    return static_cast<DWORD>(theRegReadBuffer.size() - 1);
}

} // namespace

void CTestKorvelDlg::ReadRegString(HKEY root, const char* subkey, const char* name,
                                   CString& value) {
    CRegistryKey key;
    if (::RegOpenKeyExA(root, subkey, 0, KEY_READ, key.Receive()) != ERROR_SUCCESS)
        return;
    DWORD type = 0;
    DWORD length = Room();
    LONG status = ::RegQueryValueExA(key, name, nullptr, &type,
                                     reinterpret_cast<BYTE*>(theRegReadBuffer.data()), &length);
    if (status == ERROR_MORE_DATA) {
        theRegReadBuffer.resize(static_cast<size_t>(length) + 100 + 1);
        length = Room();
        status = ::RegQueryValueExA(key, name, nullptr, &type,
                                    reinterpret_cast<BYTE*>(theRegReadBuffer.data()), &length);
    }
    if (status != ERROR_SUCCESS || !IsText(type))
        return;
    // Stored with or without a terminating NUL, it reads the same; a
    // multi-string value gives its first string.
    theRegReadBuffer[length] = '\0';
    value = theRegReadBuffer.data();
}

void CTestKorvelDlg::WriteRegString(HKEY root, const char* subkey, const char* name,
                                    const CString& text) {
    CRegistryKey key;
    if (::RegOpenKeyExA(root, subkey, 0, KEY_WRITE, key.Receive()) != ERROR_SUCCESS &&
        ::RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                          nullptr, key.Receive(), nullptr) != ERROR_SUCCESS)
        return;
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.GetString()),
                     static_cast<DWORD>(text.GetLength()));
}
