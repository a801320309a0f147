#pragma once
// An owned solid brush, deleted with DeleteObject.

#include "UniqueHandle.h"

struct CBrushTraits {
    using Type = HBRUSH;
    static Type Empty() { return nullptr; }
    static bool IsValid(Type handle) { return handle != nullptr; }
    static void Close(Type handle) { ::DeleteObject(handle); }
};
using CBrushHandle = CUniqueHandle<CBrushTraits>;
