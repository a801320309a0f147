#pragma once
// Named text values in the registry, per company and product, under the key
// path GetRegistryKeyPath gives, in either hive. Reads and writes are
// remembered in a process-wide cache; a write of the text already cached is
// skipped. Both hold the library lock, so they may be called from any
// thread.

#include "ProductContext.h"

#include <windows.h>

#include <vector>

// Cache key: "user/" (HKEY_CURRENT_USER) or "machine/" (any other root), then
// the key path, then the value name, with no separator.
extern ParamMap theRegistryCache;

// The buffer every read uses: 2000 bytes at first, grown when a value does
// not fit, never shrunk. A query offers one byte less than its size, which
// leaves room for the zero byte that ends the text.
extern std::vector<BYTE> theRegistryReadBuffer;

// 1 when the key was opened and the value read, else 0. out is emptied first
// and receives the text (up to its first zero byte) of a REG_SZ,
// REG_EXPAND_SZ or REG_MULTI_SZ value; other types read as empty text.
int ReadRegistryValue(HKEY root, CString keyPath, CString valueName, CString& out);

// Stores text as REG_SZ, creating the key (and its parents) when needed.
// 1 when stored or already cached with this text, 0 on failure.
int WriteRegistryValue(HKEY root, const char* keyPath, const char* valueName, const char* text);
