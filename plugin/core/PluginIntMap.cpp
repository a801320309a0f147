#include "PluginIntMap.h"

template class CPluginHashTable<int, void*, CPluginIntKeyTraits>;
