#pragma once
// An iteration position of the plug-in's maps and lists: an opaque node
// pointer, null when there is no further entry.

#include <cstdint>

struct CPluginPositionTag;
using POSITION = CPluginPositionTag*;

// A map walk starts here when the map is not empty.
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(~static_cast<std::uintptr_t>(0)))
