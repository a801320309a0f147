#include "PluginMap.h"

template class CPluginHashTable<CPluginString, void*, CPluginStringKeyTraits>;
