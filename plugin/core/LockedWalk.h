#pragma once
// A walk over a locked map that holds the map's lock for one step at a time:
// the count and the start position under one hold each, then every entry
// under a hold of its own, so no lock is held while the caller works on an
// entry. An entry removed meanwhile ends the walk early.

#include "PluginPosition.h"

// visit(key, value) is called outside the lock for each entry in map order.
template <class TMap, class TKey, class TValue, class TVisit>
void WalkLocked(TMap& map, TVisit visit) {
    if (map.LockedGetCount() == 0)
        return;
    map.Lock();
    POSITION position = map.GetStartPosition();
    map.Unlock();
    while (position) {
        TKey key{};
        TValue value{};
        map.Lock();
        const bool stepped = map.GetNextAssoc(position, key, value);
        map.Unlock();
        if (!stepped)
            break;
        visit(key, value);
    }
}
