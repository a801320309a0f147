#include "WindowStorage.h"

#include <mutex>

namespace {

// One lock for every shared size: they are touched when a window opens, after
// each of its top-level loads and when it is destroyed.
std::mutex& SharedSizeLock() {
    static std::mutex lock;
    return lock;
}

} // namespace

WindowSize ReadSharedWindowSize(const WindowSize& shared) {
    std::lock_guard<std::mutex> hold(SharedSizeLock());
    return shared;
}

void WriteSharedWindowSize(WindowSize& shared, const WindowSize& size, bool width, bool height) {
    std::lock_guard<std::mutex> hold(SharedSizeLock());
    if (width)
        shared.width = size.width;
    if (height)
        shared.height = size.height;
}

void CWindowStorage::ShareSize(WindowSize& shared, bool width, bool height) {
    const WindowSize start = ReadSharedWindowSize(shared);
    if (width)
        m_size.width = start.width;
    if (height)
        m_size.height = start.height;
    m_sharedSize = &shared;
    m_sharesWidth = width;
    m_sharesHeight = height;
}

void CWindowStorage::SizeWritten() {
    if (m_sharedSize)
        WriteSharedWindowSize(*m_sharedSize, m_size, m_sharesWidth, m_sharesHeight);
}
