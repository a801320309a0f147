#include "PluginEntryMap.h"

template class CPluginHashTable<CPluginString, CCommandEntry, CPluginStringKeyTraits>;
